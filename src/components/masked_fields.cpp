#include "components/masked_fields.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionFrame>
#include <cmath>
#include <limits>

#include "components/locale_info.h"
#include "finance/parse.h"

namespace brevika {

// ---------------------------------------------------------------------------
// MaskedField

MaskedField::MaskedField(QWidget* parent) : QLineEdit(parent) {
  connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
    typing_ = true;
    const bool changed = ParseEdit(text);
    if (changed) emit valueChanged();
    typing_ = false;
  });
}

int MaskedField::WidthToShow(const QString& text) const {
  ensurePolished();
  const QFontMetrics metrics(font());
  const QMargins inner = textMargins() + contentsMargins();
  // A line edit keeps 2 pixels either side of its text, and 1 for the caret.
  const int width = metrics.horizontalAdvance(text) + 2 * 2 + 1 + inner.left() + inner.right();
  QStyleOptionFrame option;
  initStyleOption(&option);
  return style()->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(width, metrics.height()), this).width();
}

void MaskedField::Refresh() {
  // A value set while the field does not have the focus (typed into without
  // it, then moved back from the record) shows formatted.
  if (editing_ && !hasFocus()) editing_ = false;
  setText(editing_ ? EditForm() : DisplayForm());
  if (!editing_) setCursorPosition(0);
}

void MaskedField::BeginEdit() {
  if (editing_ || isReadOnly()) return;
  editing_ = true;
  setText(EditForm());
}

void MaskedField::EndEdit() {
  if (!editing_) return;
  editing_ = false;
  setText(DisplayForm());
  setCursorPosition(0);
}

void MaskedField::focusInEvent(QFocusEvent* e) {
  BeginEdit();
  QLineEdit::focusInEvent(e);
  // Entered by keyboard or on opening the window: typing replaces the value.
  // A click keeps the caret where it landed.
  if (editing_ && e->reason() != Qt::MouseFocusReason && e->reason() != Qt::PopupFocusReason)
    selectAll();
}

void MaskedField::focusOutEvent(QFocusEvent* e) {
  QLineEdit::focusOutEvent(e);
  // A context menu takes the focus only for a moment: keep editing.
  if (e->reason() == Qt::PopupFocusReason) return;
  EndEdit();
  emit left();
}

void MaskedField::mouseDoubleClickEvent(QMouseEvent* e) {
  QLineEdit::mouseDoubleClickEvent(e);
  selectAll();
}

void MaskedField::keyPressEvent(QKeyEvent* e) {
  // Typing into a field that shows its formatted form (it was given keys
  // without the focus) replaces the value, as if the field had been entered.
  if (!editing_ && !isReadOnly()) {
    const QString t = e->text();
    const bool typing = (!t.isEmpty() && t.at(0).isPrint()) || e->key() == Qt::Key_Backspace ||
                        e->key() == Qt::Key_Delete;
    if (typing && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
      BeginEdit();
      selectAll();
    }
  }
  QLineEdit::keyPressEvent(e);
}

// ---------------------------------------------------------------------------
// NumberValidator

NumberValidator::NumberValidator(int intDigits, int decimals, bool allowNegative, QObject* parent)
    : QValidator(parent), intDigits_(intDigits), decimals_(decimals), allowNegative_(allowNegative) {}

void NumberValidator::SetPicture(int intDigits, int decimals) {
  intDigits_ = intDigits;
  decimals_ = decimals;
  emit changed();
}

void NumberValidator::SetSeparators(const QString& decimal, const QString& thousands) {
  decimal_ = decimal.isEmpty() ? QStringLiteral(".") : decimal;
  thousands_ = thousands;
  emit changed();
}

void NumberValidator::SetRange(double minimum, double maximum) {
  min_ = minimum;
  max_ = maximum;
  emit changed();
}

bool NumberValidator::Parse(const QString& text, double& value) const {
  const auto v = ParseNumberText(text.toStdString(), NumberPicture{intDigits_, decimals_, allowNegative_},
                                 decimal_.toStdString(), thousands_.toStdString());
  if (!v) return false;
  value = *v;
  return true;
}

QValidator::State NumberValidator::validate(QString& input, int&) const {
  if (input.isEmpty()) return Intermediate;
  const bool groupIsDecimal = thousands_ == "." || thousands_ == decimal_;
  int whole = 0, fraction = 0;
  bool point = false;
  for (qsizetype k = 0; k < input.size();) {
    const QChar c = input.at(k);
    if (k == 0 && c == '-') {
      if (!allowNegative_) return Invalid;
      ++k;
      continue;
    }
    if (c.isDigit() && c.unicode() < 128) {
      (point ? fraction : whole) += 1;
      ++k;
      continue;
    }
    if (c == '.' || input.mid(k, decimal_.size()) == decimal_) {
      if (point || decimals_ == 0) return Invalid;
      point = true;
      k += c == '.' ? 1 : decimal_.size();
      continue;
    }
    if (!point && !groupIsDecimal && !thousands_.isEmpty() &&
        input.mid(k, thousands_.size()) == thousands_) {
      k += thousands_.size();
      continue;
    }
    return Invalid;
  }
  if (whole > intDigits_ || fraction > decimals_) return Invalid;
  if (whole + fraction == 0) return Intermediate;
  double v = 0;
  if (!Parse(input, v)) return Intermediate;
  if (v > max_ || v < min_) return Invalid;
  return Acceptable;
}

// ---------------------------------------------------------------------------
// NumberField

NumberField::NumberField(int intDigits, int decimals, QWidget* parent)
    : MaskedField(parent), format_(CurrentLocaleInfo().format),
      validator_(new NumberValidator(intDigits, decimals, true, this)) {
  validator_->SetSeparators(QString::fromStdString(format_.decimal),
                            QString::fromStdString(format_.thousands));
  setValidator(validator_);
  setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void NumberField::SetLocaleFormat(const LocaleFormat& format) {
  format_ = format;
  validator_->SetSeparators(QString::fromStdString(format_.decimal),
                            QString::fromStdString(format_.thousands));
  Refresh();
}

QString NumberField::PlainNumber(double value, int decimals) const {
  // No grouping, the locale's decimal point, a plain minus.
  const LocaleFormat plain{std::string(), true, false, std::string(), format_.decimal,
                           std::string(1, '-')};
  QString s = QString::fromStdString(FormatNumber(value, decimals, plain));
  const QString dec = QString::fromStdString(format_.decimal);
  if (decimals > 0 && s.contains(dec)) {
    while (s.endsWith('0')) s.chop(1);
    if (s.endsWith(dec)) s.chop(dec.size());
  }
  if (s == "-0") s = "0";
  return s;
}

// ---------------------------------------------------------------------------
// MoneyField

MoneyField::MoneyField(QWidget* parent) : NumberField(kIntegerDigits, 2, parent) {
  SetMask(kDefaultMask);
}

void MoneyField::SetMask(const std::string& mask) {
  if (mask.empty()) return;
  mask_ = mask;
  // The mask gives the decimals and the side of the currency symbol; every
  // money field takes up to twelve integer digits, the most an amount keeps
  // its cents with.
  int fraction = 0;
  bool point = false, after = false;
  for (char c : mask) {
    if (c == '#' && point) ++fraction;
    else if (c == '.') point = true;
    else if (c == 'C') after = true;
  }
  decimals_ = fraction;
  symbolBefore_ = !after;
  numberValidator()->SetPicture(kIntegerDigits, fraction);
  Refresh();
}

QString MoneyField::DisplayForm() const {
  LocaleFormat f = format_;
  f.symbolBefore = symbolBefore_;
  return QString::fromStdString(FormatMoney(value_, decimals_, f));
}

QString MoneyField::WidestText(int integerDigits) const {
  LocaleFormat f = format_;
  f.symbolBefore = symbolBefore_;
  return QString::fromStdString(WidestAmountText(integerDigits, decimals_, f));
}

QString MoneyField::EditForm() const { return PlainNumber(value_, decimals_); }

bool MoneyField::ParseEdit(const QString& text) {
  double v = 0;
  if (!numberValidator()->Parse(text, v)) v = 0;  // "" or "-": zero, the unknown
  value_ = v;
  return true;
}

bool MoneyField::setValue(double v) {
  if (!std::isfinite(v)) return false;
  value_ = v;
  Refresh();
  emit valueChanged();
  return true;
}

// ---------------------------------------------------------------------------
// RateField

RateField::RateField(QWidget* parent) : NumberField(2, 4, parent) {
  Refresh();
}

QString RateField::DisplayForm() const {
  return QString::fromStdString(FormatNumber(value_, decimals_, format_));
}

QString RateField::EditForm() const { return PlainNumber(value_, decimals_); }

void RateField::SetDecimals(int decimals) {
  decimals_ = decimals;
  numberValidator()->SetPicture(2, decimals);
  Refresh();
}

bool RateField::ParseEdit(const QString& text) {
  double v = 0;
  if (!numberValidator()->Parse(text, v)) v = 0;
  value_ = static_cast<float>(v);
  return true;
}

bool RateField::setValue(float v) {
  if (!std::isfinite(v)) return false;
  value_ = v;
  Refresh();
  emit valueChanged();
  return true;
}

// ---------------------------------------------------------------------------
// CountField

CountField::CountField(QWidget* parent) : NumberField(5, 0, parent) {
  numberValidator()->SetRange(std::numeric_limits<std::int16_t>::min(), maximum_);
  Refresh();
}

void CountField::SetMaximum(int maximum) {
  maximum_ = std::min<int>(maximum, std::numeric_limits<std::int16_t>::max());
  numberValidator()->SetRange(std::numeric_limits<std::int16_t>::min(), maximum_);
}

QString CountField::DisplayForm() const {
  return QString::fromStdString(FormatNumber(value_, 0, format_));
}

QString CountField::EditForm() const { return QString::number(value_); }

bool CountField::ParseEdit(const QString& text) {
  double v = 0;
  if (!numberValidator()->Parse(text, v)) v = 0;
  v = std::clamp<double>(std::trunc(v), std::numeric_limits<std::int16_t>::min(), maximum_);
  value_ = static_cast<std::int16_t>(v);
  return true;
}

void CountField::setValue(std::int16_t v) {
  value_ = v;
  Refresh();
  emit valueChanged();
}

// ---------------------------------------------------------------------------
// DateValidator and DateField

namespace {
bool AllDigits(const QString& s) {
  for (QChar c : s)
    if (!(c.isDigit() && c.unicode() < 128)) return false;
  return true;
}
}  // namespace

QValidator::State DateValidator::validate(QString& input, int&) const {
  if (input.isEmpty()) return Intermediate;
  const QStringList parts = input.split('/');
  if (parts.size() > 3) return Invalid;
  for (const QString& p : parts)
    if (!AllDigits(p)) return Invalid;
  // Month 13 or 30 February are typed as they come: the field then shows
  // that it holds no date instead of dropping keys.
  if (parts[0].size() > 2) return Invalid;
  if (parts.size() > 1 && parts[1].size() > 2) return Invalid;
  if (parts.size() > 2 && parts[2].size() > 4) return Invalid;
  return Parse(input) != kBadDate ? Acceptable : Intermediate;
}

Date DateValidator::Parse(const QString& text) const {
  return ParseDateText(text.toStdString(), epoch_);
}

DateField::DateField(QWidget* parent) : MaskedField(parent), validator_(new DateValidator(this)) {
  setValidator(validator_);
  Refresh();
}

bool DateField::setValue(Date d) {
  if (d != kBadDate) {
    if (d < 0 || YearOf(d) > kMaxYear) return false;
  }
  value_ = d;
  badText_.clear();
  Refresh();
  emit valueChanged();
  return true;
}

void DateField::SetFourDigitYear(bool on) {
  fourDigits_ = on;
  Refresh();
}

void DateField::SetEpoch(int epoch) {
  epoch_ = epoch;
  validator_->SetEpoch(epoch);
  Refresh();
}

QString DateField::DisplayForm() const {
  if (value_ == kBadDate) return badText_;
  const int y = YearOf(value_);
  // A year outside the two-digit window is shown in full so that it reads back.
  const bool full = fourDigits_ || y < epoch_ || y > epoch_ + 99;
  return QString::fromStdString(FormatShortDate(value_, full));
}

QString DateField::EditForm() const { return DisplayForm(); }

bool DateField::ParseEdit(const QString& text) {
  const Date next = text.trimmed().isEmpty() ? kBadDate : validator_->Parse(text);
  badText_ = next == kBadDate ? text.trimmed() : QString();
  if (next == value_) return false;
  value_ = next;
  return true;
}

QFont EntryFont(const QFont& base) {
  QFont mono = base;
  mono.setFamilies({"Courier New", "Liberation Mono"});
  mono.setStyleHint(QFont::TypeWriter);
  return mono;
}

void ShowAsEntry(QWidget* f, const QFont& base) {
  f->setFont(EntryFont(base));
  QPalette blue;
  blue.setColor(QPalette::Text, Qt::blue);
  f->setPalette(blue);
}

void ShowAsResult(QWidget* f) {
  if (auto* edit = qobject_cast<QLineEdit*>(f)) edit->setReadOnly(true);
  f->setFocusPolicy(Qt::NoFocus);
  // A result, not an entry: the window's colour behind bold figures.
  QPalette pal = f->palette();
  pal.setColor(QPalette::Base, pal.color(QPalette::Window));
  f->setPalette(pal);
  QFont bold = f->font();
  bold.setBold(true);
  f->setFont(bold);
}

}  // namespace brevika
