// Loan calculator window: amount, number of payments, annual rate and
// periodic payment; the one left at zero is solved for on Calc, and the
// total interest is shown.
#pragma once
#include "calculators/loan.h"
#include "calculators/ui/calc_window.h"

namespace brevika {

class TcLoLoan : public RecordWindow<LoanRecord> {
  Q_OBJECT
 public:
  static constexpr int kHelpTopic = 125;

  // `record` belongs to the application, lives for the whole run and is
  // shared by both loan windows; nullptr leaves the window without one.
  TcLoLoan(LoanRecord* record, int slot, AppServices* services, QWidget* parent = nullptr);

 protected:
  Outcome Calculate() override { return CalcLoan(rec()); }
  void ResetRecord() override { ResetLoan(rec()); }
  std::vector<CalcRow> Rows() const override { return LoanRows(rec()); }
  int WindowHelpTopic() const override { return kHelpTopic; }
};

}  // namespace brevika
