#include "calculators/ui/intdue_window.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QLocale>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

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

namespace {
QToolButton* SpinButton(Qt::ArrowType arrow, QWidget* parent) {
  auto* b = new QToolButton(parent);
  b->setArrowType(arrow);
  b->setAutoRepeat(true);
  // The date field keeps the focus, and with it the caret that picks the part.
  b->setFocusPolicy(Qt::NoFocus);
  b->setFixedSize(18, 12);
  return b;
}
}  // namespace

TcLoIntDu::TcLoIntDu(IntDueRecord* record, int slot, AppServices* services, QWidget* parent)
    : RecordWindow(record, [] { return NewIntDueRecord(TodayDate(), LocaleWeekdayNames()); },
                   CalcKind::InterestDue, slot, services, parent),
      names_(LocaleWeekdayNames()) {
  setObjectName(QStringLiteral("TcLoIntDu"));
  IntDueRecord& r = rec();
  AddMoney("PV", r.lPV, r.PV, 1);
  NumDays_ = AddCount("NumDays", r.lNumDays, r.NumDays, 39);
  AddRate("Rate", r.lRate, r.Rate, 9);
  QWidget* start = DateRow("StartDate", StartDate_, StartDay_, "StartDay", 52, "OvcSpinner1");
  AddRow("StartDate", r.lStartDate, StartDate_, 41, start);
  transfer().Day(StartDate_, &r.StartDate);
  transfer().Text(StartDay_, &r.StartDay);
  QWidget* end = DateRow("EndDate", EndDate_, EndDay_, "EndDay", 54, "OvcSpinner2");
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

QWidget* TcLoIntDu::DateRow(const char* name, DateField*& field, QLineEdit*& dayBox,
                            const char* dayName, int dayHelp, const char* spinName) {
  auto* cell = new QWidget(this);
  auto* row = new QHBoxLayout(cell);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(4);
  field = new DateField(cell);
  field->SetFourDigitYear(true);
  // A two-digit year is read in the century that starts at 1900.
  field->SetEpoch(1900);
  field->setFixedWidth(FieldWidth() * 3 / 5);

  auto* spin = new QWidget(cell);
  spin->setObjectName(QString::fromLatin1(spinName));
  spin->setToolTip(QString::fromLatin1(kSpinHint));
  auto* arrows = new QVBoxLayout(spin);
  arrows->setContentsMargins(0, 0, 0, 0);
  arrows->setSpacing(0);
  QToolButton* up = SpinButton(Qt::UpArrow, spin);
  QToolButton* down = SpinButton(Qt::DownArrow, spin);
  up->setObjectName(QString::fromLatin1(spinName) + QStringLiteral("Up"));
  down->setObjectName(QString::fromLatin1(spinName) + QStringLiteral("Down"));
  up->setToolTip(spin->toolTip());
  down->setToolTip(spin->toolTip());
  arrows->addWidget(up);
  arrows->addWidget(down);
  DateField* target = field;
  connect(up, &QToolButton::clicked, this, [this, target] { SpinDateField(target, 1); });
  connect(down, &QToolButton::clicked, this, [this, target] { SpinDateField(target, -1); });

  dayBox = new QLineEdit(cell);
  dayBox->setObjectName(QString::fromLatin1(dayName));
  dayBox->setReadOnly(true);
  dayBox->setFocusPolicy(Qt::NoFocus);
  dayBox->setMaxLength(12);
  SetHelpContext(dayBox, dayHelp);
  ShowAsResult(dayBox);
  QFont plain = dayBox->font();
  plain.setBold(false);
  dayBox->setFont(plain);

  row->addWidget(field);
  row->addWidget(spin);
  row->addWidget(dayBox, 1);
  cell->setFixedWidth(FieldWidth() + FieldWidth() / 2);
  (void)name;
  return cell;
}

void TcLoIntDu::SpinDateField(DateField* field, int delta) {
  // "mm/dd/yyyy": the caret in the month, the day or the year.
  const int pos = field->cursorPosition();
  const DatePart part = pos <= 2 ? DatePart::Month : pos <= 5 ? DatePart::Day : DatePart::Year;
  const Date moved = SpinDate(field->value(), part, delta);
  if (moved == kBadDate) return;
  field->setValue(moved);
  field->setCursorPosition(pos);
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
