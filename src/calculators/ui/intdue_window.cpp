#include "calculators/ui/intdue_window.h"

#include <QLineEdit>
#include <QLocale>
#include <QSignalBlocker>

#include "components/date_row.h"
#include "components/masked_fields.h"

namespace brevika {

WeekdayNames LocaleWeekdayNames() {
  const QLocale locale;
  WeekdayNames names;
  // Qt numbers Monday 1 .. Sunday 7.
  for (int k = 0; k < 7; ++k)
    names[static_cast<std::size_t>(k)] = locale.dayName(k == 0 ? 7 : k, QLocale::LongFormat).toStdString();
  return names;
}

TcLoIntDu::TcLoIntDu(IntDueRecord* record, int slot, AppServices* services, QWidget* parent)
    : RecordWindow(record, [] { return NewIntDueRecord(TodayDate(), LocaleWeekdayNames()); },
                   CalcKind::InterestDue, slot, services, parent),
      names_(LocaleWeekdayNames()) {
  setObjectName(QStringLiteral("TcLoIntDu"));
  IntDueRecord& r = rec();
  AddMoney("PV", r.lPV, r.PV, 1);
  NumDays_ = AddCount("NumDays", r.lNumDays, r.NumDays, 39);
  AddRate("Rate", r.lRate, r.Rate, 9);
  auto* start = new DateRow("StartDay", 52, "OvcSpinner1", FieldWidth(), this);
  StartDate_ = start->field();
  StartDay_ = start->dayBox();
  AddRow("StartDate", r.lStartDate, StartDate_, 41, start);
  transfer().Day(StartDate_, &r.StartDate);
  transfer().Text(StartDay_, &r.StartDay);
  auto* end = new DateRow("EndDay", 54, "OvcSpinner2", FieldWidth(), this);
  EndDate_ = end->field();
  EndDay_ = end->dayBox();
  AddRow("EndDate", r.lEndDate, EndDate_, 43, end);
  transfer().Day(EndDate_, &r.EndDate);
  transfer().Text(EndDay_, &r.EndDay);
  AddList("CmpPYR", r.lCmpPYR, r.CmpPYR, 13);
  AddList("RateBasis", r.lRateBasis, r.RateBasis, 45);
  AddRule();
  AddResult("IntPaid", r.lIntPaid, r.IntPaid);
  AddResult("FV", r.lFV, r.FV);
  ShowAsResult(AddRate("APY", r.lAPY, r.APY, 0));
  RateField* daily = AddRate("DailyRate", r.lDailyRate, r.DailyRate, 0);
  daily->SetDecimals(6);
  ShowAsResult(daily);

  // Days and dates follow each other as the user types; a refusal waits
  // until the field is left, so a year being typed ("01/01/20" on the way
  // to 2026) does not interrupt.
  const std::pair<MaskedField*, IntDueField> watched[] = {{NumDays_, IntDueField::NumDays},
                                                          {StartDate_, IntDueField::StartDate},
                                                          {EndDate_, IntDueField::EndDate}};
  for (const auto& [field, which] : watched) {
    MaskedField* f = field;
    const IntDueField w = which;
    connect(f, &MaskedField::valueChanged, this, [this, f, w] { FieldChanged(w, f->hasFocus() || f->isModified()); });
    connect(f, &QLineEdit::editingFinished, this, [this, w] { FieldChanged(w, false); });
  }
  FinishRows();
}

void TcLoIntDu::FieldChanged(IntDueField which, bool typing) {
  if (adjusting_) return;
  // The edit is worked out on what the controls show; the record stays as
  // it was until Calc, so Undo still discards it.
  IntDueRecord values = rec();
  values.NumDays = NumDays_->value();
  values.StartDate = StartDate_->value();
  values.EndDate = EndDate_->value();
  const Outcome outcome = IntDueFieldChanged(values, which, names_);
  if (outcome.refused && typing) return;
  adjusting_ = true;
  {
    const QSignalBlocker b1(NumDays_), b2(StartDate_), b3(EndDate_);
    if (NumDays_->value() != values.NumDays) NumDays_->setValue(values.NumDays);
    if (StartDate_->value() != values.StartDate) StartDate_->setValue(values.StartDate);
    if (EndDate_->value() != values.EndDate) EndDate_->setValue(values.EndDate);
  }
  StartDay_->setText(QString::fromStdString(values.StartDay));
  EndDay_->setText(QString::fromStdString(values.EndDay));
  adjusting_ = false;
  ShowMessages(this, outcome);
}

void TcLoIntDu::ResetRecord() { ResetIntDue(rec(), TodayDate(), names_); }

}  // namespace brevika
