// Interest due calculator window: interest, future value, APY and daily
// rate of an amount between two dates. Days and dates stay consistent as
// either changes; spin buttons move the month, day or year under the caret.
#pragma once
#include "calculators/interest_due.h"
#include "calculators/ui/calc_window.h"

class QLineEdit;

namespace brevika {

class DateField;
class CountField;

// The locale's full weekday names, Sunday first.
WeekdayNames LocaleWeekdayNames();

class TcLoIntDu : public RecordWindow<IntDueRecord> {
  Q_OBJECT
 public:
  static constexpr int kHelpTopic = 7;
  TcLoIntDu(IntDueRecord* record, int slot, AppServices* services, QWidget* parent = nullptr);

 protected:
  Outcome Calculate() override { return CalcIntDue(rec()); }
  void ResetRecord() override;
  std::vector<CalcRow> Rows() const override { return IntDueRows(rec()); }
  int WindowHelpTopic() const override { return kHelpTopic; }

 private:
  void FieldChanged(IntDueField which, bool typing);

  CountField* NumDays_ = nullptr;
  DateField* StartDate_ = nullptr;
  DateField* EndDate_ = nullptr;
  QLineEdit* StartDay_ = nullptr;
  QLineEdit* EndDay_ = nullptr;
  WeekdayNames names_;
  bool adjusting_ = false;
};

}  // namespace brevika
