// "One Moment..." progress window shown over the schedule window while a
// schedule is calculated. Painted synchronously: the calculation runs on the
// user-interface thread and the event loop does not turn meanwhile.
#pragma once
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
  // Sets the meter (0..100); repaints only when the value changes.
  void SetPercent(int percent);
  int percent() const;
  QProgressBar* Meter;

 private:
  QWidget* over_;
  QLabel* caption_;
};

}  // namespace brevika
