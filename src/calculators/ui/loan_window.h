// Loan calculator window: amount, number of payments, annual rate and
// periodic payment; the one left at zero is solved for on Calc.
// Its rows and commands come from the kind's description.
#pragma once
#include "calculators/loan.h"
#include "calculators/ui/kind_window.h"

namespace brevika {

class TcLoLoan : public KindWindow<LoanRecord> {
  Q_OBJECT
 public:
  TcLoLoan(LoanRecord* record, int slot, AppServices* services, QWidget* parent = nullptr);
};
template <>
struct KindWindowOf<LoanRecord> { using type = TcLoLoan; };

}  // namespace brevika
