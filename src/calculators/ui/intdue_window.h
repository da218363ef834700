// Interest due calculator window: interest, future value, APY and daily
// rate of an amount between two dates. What is its own: the day count and
// the two dates follow each other when one of them is left after an edit
// (or moved by its arrows), and each weekday box names its date's weekday.
#pragma once
#include <optional>

#include "calculators/interest_due.h"
#include "calculators/ui/kind_window.h"

class QLineEdit;

namespace brevika {

class TcLoIntDu : public KindWindow<IntDueRecord> {
  Q_OBJECT
 public:
  TcLoIntDu(IntDueRecord* record, int slot, AppServices* services, QWidget* parent = nullptr);

 protected:
  // Calc, Copy and Print take an edit not yet applied as if it was left.
  void FinishEditing() override;
  void ControlsReloaded() override;
  // A date field that shows text that is no date is refused, also when a
  // day count of 0 would need no dates.
  Outcome Calculate() override;

 private:
  void ValueChanged(IntDueField which, const MaskedField* field);
  // Keeps the count and the dates together after `which` changed.
  void Apply(IntDueField which);

  CountField* NumDays_;
  DateField* StartDate_;
  DateField* EndDate_;
  QLineEdit* StartDay_;
  QLineEdit* EndDay_;
  WeekdayNames names_;
  // The field typed into and not yet applied.
  std::optional<IntDueField> pending_;
  bool adjusting_ = false;
};
template <>
struct KindWindowOf<IntDueRecord> { using type = TcLoIntDu; };

}  // namespace brevika
