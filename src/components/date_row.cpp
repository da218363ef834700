#include "components/date_row.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "components/help_keys.h"
#include "components/masked_fields.h"

namespace brevika {

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

DateRow::DateRow(const char* dayName, int dayHelp, const char* spinName, int fieldWidth,
                 QWidget* parent)
    : QWidget(parent) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(4);
  field_ = new DateField(this);
  field_->SetFourDigitYear(true);
  // A two-digit year is read in the century that starts at 1900.
  field_->SetEpoch(1900);
  field_->setFixedWidth(fieldWidth * 3 / 5);

  auto* spin = new QWidget(this);
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
  connect(up, &QToolButton::clicked, this, [this] { Spin(1); });
  connect(down, &QToolButton::clicked, this, [this] { Spin(-1); });

  dayBox_ = new QLineEdit(this);
  dayBox_->setObjectName(QString::fromLatin1(dayName));
  dayBox_->setReadOnly(true);
  dayBox_->setFocusPolicy(Qt::NoFocus);
  dayBox_->setMaxLength(12);
  SetHelpContext(dayBox_, dayHelp);
  ShowAsResult(dayBox_);
  QFont plain = dayBox_->font();
  plain.setBold(false);
  dayBox_->setFont(plain);

  row->addWidget(field_);
  row->addWidget(spin);
  row->addWidget(dayBox_, 1);
  setFixedWidth(fieldWidth + fieldWidth / 2);
}

void DateRow::Spin(int delta) {
  const int pos = field_->cursorPosition();
  const DatePart part = pos <= 2 ? DatePart::Month : pos <= 5 ? DatePart::Day : DatePart::Year;
  const Date moved = SpinDate(field_->value(), part, delta);
  if (moved == kBadDate) return;
  field_->setValue(moved);
  field_->setCursorPosition(pos);
}

}  // namespace brevika
