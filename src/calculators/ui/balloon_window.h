// Balloon payment calculator window: the periodic payment of a loan that
// ends with a balloon.
#pragma once
#include "calculators/balloon.h"
#include "calculators/ui/calc_window.h"

namespace brevika {

class TcLoBallP : public RecordWindow<BalloonRecord> {
  Q_OBJECT
 public:
  static constexpr int kHelpTopic = 92;
  TcLoBallP(BalloonRecord* record, int slot, AppServices* services, QWidget* parent = nullptr);

 protected:
  Outcome Calculate() override { return CalcBalloon(rec()); }
  // Reset moves the record into the controls; Undo does nothing.
  void ResetRecord() override { ResetBalloon(rec()); }
  bool UndoMovesRecord() const override { return false; }
  std::vector<CalcRow> Rows() const override { return BalloonRows(rec()); }
  int WindowHelpTopic() const override { return kHelpTopic; }
};

}  // namespace brevika
