// Interest due calculator window: interest, future value, APY and daily
// rate of an amount between two dates. What is its own: the day count and
// the two dates follow each other as either changes.
#pragma once
#include "calculators/interest_due.h"
#include "calculators/ui/kind_window.h"

class QLineEdit;

namespace brevika {

class TcLoIntDu : public KindWindow<IntDueRecord> {
  Q_OBJECT
 public:
  TcLoIntDu(IntDueRecord* record, int slot, AppServices* services, QWidget* parent = nullptr);

 private:
  void FieldChanged(IntDueField which, bool typing);

  CountField* NumDays_;
  DateField* StartDate_;
  DateField* EndDate_;
  QLineEdit* StartDay_;
  QLineEdit* EndDay_;
  WeekdayNames names_;
  bool adjusting_ = false;
};
template <>
struct KindWindowOf<IntDueRecord> { using type = TcLoIntDu; };

}  // namespace brevika
