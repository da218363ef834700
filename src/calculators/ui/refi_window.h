// Refinance advisor window: the current loan, the possible new one, taxes
// and the years to the sale on the entry page, the verdict on the results
// page (both from the description). What is its own: the new loan amount
// follows the remaining balance.
#pragma once
#include "calculators/refinance.h"
#include "calculators/ui/kind_window.h"

namespace brevika {

class TcLoReFin : public KindWindow<RefiRecord> {
  Q_OBJECT
 public:
  TcLoReFin(RefiRecord* record, int slot, AppServices* services, QWidget* parent = nullptr);

 private:
  void RemBalExit();
  void NewPVExit();
  MoneyField* RemBal_;
  MoneyField* NewPV_;
  bool exiting_ = false;
};
template <>
struct KindWindowOf<RefiRecord> { using type = TcLoReFin; };

}  // namespace brevika
