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

}  // namespace brevika
