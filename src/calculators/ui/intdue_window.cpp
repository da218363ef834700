#include "calculators/ui/intdue_window.h"

#include <QLineEdit>
#include <QSignalBlocker>

#include "components/locale_info.h"

namespace brevika {

TcLoIntDu::TcLoIntDu(IntDueRecord* record, int slot, AppServices* services, QWidget* parent)
    : KindWindow(IntDueKind(), record, slot, services, parent), names_(LocaleWeekdayNames()) {
  setObjectName(QStringLiteral("TcLoIntDu"));
  BuildFields();
  NumDays_ = findChild<CountField*>(QStringLiteral("NumDays"));
  StartDate_ = findChild<DateField*>(QStringLiteral("StartDate"));
  EndDate_ = findChild<DateField*>(QStringLiteral("EndDate"));
  StartDay_ = findChild<QLineEdit*>(QStringLiteral("StartDay"));
  EndDay_ = findChild<QLineEdit*>(QStringLiteral("EndDay"));
  // A count or a date being typed ("-3" on the way to -30, "01/01/20" on
  // the way to 2026) moves nothing until the field is left; the weekday box
  // follows its date at once.
  const std::pair<MaskedField*, IntDueField> watched[] = {{NumDays_, IntDueField::NumDays},
                                                          {StartDate_, IntDueField::StartDate},
                                                          {EndDate_, IntDueField::EndDate}};
  for (const auto& [field, which] : watched) {
    MaskedField* f = field;
    const IntDueField w = which;
    connect(f, &MaskedField::valueChanged, this, [this, f, w] { ValueChanged(w, f); });
    connect(f, &MaskedField::left, this, [this, w] {
      if (pending_ == w) Apply(w);
    });
  }
  FinishRows();
}

void TcLoIntDu::ValueChanged(IntDueField which, const MaskedField* field) {
  if (adjusting_) return;
  if (which == IntDueField::StartDate) StartDay_->setText(QString::fromStdString(DayBoxText(StartDate_->value(), names_)));
  if (which == IntDueField::EndDate) EndDay_->setText(QString::fromStdString(DayBoxText(EndDate_->value(), names_)));
  // An edit of another field not yet applied goes first (a count typed,
  // then a date's arrows clicked with the count still focused).
  if (pending_ && *pending_ != which) Apply(*pending_);
  // Typed: applied when the field is left; moved by the arrows: at once.
  if (field->typing()) pending_ = which;
  else Apply(which);
}

void TcLoIntDu::Apply(IntDueField which) {
  pending_.reset();
  // The edit is worked out on what the controls show; the record stays as
  // it was until Calc, so Undo still discards it.
  IntDueRecord values = rec();
  values.NumDays = NumDays_->value();
  values.StartDate = StartDate_->value();
  values.EndDate = EndDate_->value();
  const Outcome outcome = IntDueFieldChanged(values, which, names_);
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

void TcLoIntDu::FinishEditing() {
  if (pending_) Apply(*pending_);
}

void TcLoIntDu::ControlsReloaded() { pending_.reset(); }

Outcome TcLoIntDu::Calculate() {
  if (StartDate_->showsBadDate() || EndDate_->showsBadDate())
    return Outcome::Refuse(Message{kMsgIntDueBadDates, BoxType::Warning});
  return KindWindow::Calculate();
}

}  // namespace brevika
