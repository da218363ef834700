// "One Moment..." progress window shown over the schedule window while a
// schedule is calculated. Painted synchronously: the calculation runs on the
// user-interface thread and the event loop does not turn meanwhile.
#pragma once
#include <QElapsedTimer>
#include <QFrame>

class QLabel;
class QProgressBar;

namespace brevika {

class TMeterFrm : public QFrame {
  Q_OBJECT
 public:
  explicit TMeterFrm(QWidget* over);
  // Shows the window centred over `over` and paints it.
  void ShowCentred();
  // Sets the meter (0..100). It is repainted at most every kPaintInterval
  // milliseconds: a repaint costs far more than a row of the schedule.
  void SetPercent(int percent);
  int percent() const;
  QProgressBar* Meter;
  static constexpr int kPaintInterval = 40;

 private:
  QWidget* over_;
  QLabel* caption_;
  QElapsedTimer lastPaint_;
  int percent_ = 0;
};

}  // namespace brevika
