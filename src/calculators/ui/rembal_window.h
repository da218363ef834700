// Remaining balance calculator window: the balance still owed after a
// given payment, and the first periodic payment.
#pragma once
#include "calculators/remaining_balance.h"
#include "calculators/ui/calc_window.h"

namespace brevika {

class TcLoRemBl : public RecordWindow<RemBalRecord> {
  Q_OBJECT
 public:
  static constexpr int kHelpTopic = 90;
  TcLoRemBl(RemBalRecord* record, int slot, AppServices* services, QWidget* parent = nullptr);

 protected:
  Outcome Calculate() override { return CalcRemBal(rec()); }
  void ResetRecord() override { ResetRemBal(rec()); }
  std::vector<CalcRow> Rows() const override { return RemBalRows(rec()); }
  int WindowHelpTopic() const override { return kHelpTopic; }
};

}  // namespace brevika
