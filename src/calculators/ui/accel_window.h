// Accelerated payment calculator window: the payments it takes, and the
// interest saved, when an extra amount is paid after a given period.
#pragma once
#include "calculators/accelerated.h"
#include "calculators/ui/calc_window.h"

namespace brevika {

class TcLoAccel : public RecordWindow<AccelRecord> {
  Q_OBJECT
 public:
  static constexpr int kHelpTopic = 32;
  TcLoAccel(AccelRecord* record, int slot, AppServices* services, QWidget* parent = nullptr);

 protected:
  Outcome Calculate() override { return CalcAccel(rec()); }
  // Reset behaves like Undo: the record goes back into the controls.
  void ResetRecord() override { ResetAccel(rec()); }
  std::vector<CalcRow> Rows() const override { return AccelRows(rec()); }
  int WindowHelpTopic() const override { return kHelpTopic; }
};

}  // namespace brevika
