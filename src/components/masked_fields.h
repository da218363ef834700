// Masked entry fields: a line edit that accepts only what its picture
// allows, shows the formatted value while it does not have the focus and a
// plain, editable form while it has. Double click selects everything.
//
//   MoneyField  "$###,###,###.##"  double; locale money masks accepted
//   RateField   "##.####"          float (percent)
//   CountField  "ii,iii"           16-bit signed count
//   DateField   "mm/dd/yy"         day number (brevika::Date)
//
// A leading minus is accepted in money, rate and count fields.
#pragma once
#include <QLineEdit>
#include <QValidator>
#include <string>

#include "finance/format.h"
#include "finance/periods.h"

namespace brevika {

class MaskedField : public QLineEdit {
  Q_OBJECT
 public:
  explicit MaskedField(QWidget* parent = nullptr);
  // True while the plain (editable) form is shown.
  bool editing() const { return editing_; }
  // True while the value changes by a key the user typed (in valueChanged).
  bool typing() const { return typing_; }
  // Width the field needs to show `text` whole, in its font and style.
  int WidthToShow(const QString& text) const;

 signals:
  // The value changed, by typing or by setValue().
  void valueChanged();
  // The focus left the field (not for a context menu).
  void left();

 protected:
  virtual QString DisplayForm() const = 0;
  virtual QString EditForm() const = 0;
  // Takes the typed text as the new value; false leaves the value alone.
  virtual bool ParseEdit(const QString& text) = 0;
  // Shows the current value in the form that fits the focus state.
  void Refresh();

  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void BeginEdit();
  void EndEdit();
  bool editing_ = false;
  bool typing_ = false;
};

// Accepts an optional leading minus, digits, the locale's thousands
// separator and one decimal point ('.' or the locale's), within the digit
// counts of a picture.
class NumberValidator : public QValidator {
  Q_OBJECT
 public:
  NumberValidator(int intDigits, int decimals, bool allowNegative, QObject* parent = nullptr);
  void SetPicture(int intDigits, int decimals);
  void SetSeparators(const QString& decimal, const QString& thousands);
  // Inclusive bounds of the value; text beyond them is rejected.
  void SetRange(double minimum, double maximum);
  State validate(QString& input, int& pos) const override;
  // Plain number of an acceptable text; false for "", "-" and the like.
  bool Parse(const QString& text, double& value) const;

 private:
  int intDigits_, decimals_;
  bool allowNegative_;
  QString decimal_ = ".", thousands_ = ",";
  double min_ = -1e300, max_ = 1e300;
};

class NumberField : public MaskedField {
  Q_OBJECT
 public:
  // Locale separators and currency of display and input.
  void SetLocaleFormat(const LocaleFormat& format);
  const LocaleFormat& localeFormat() const { return format_; }

 protected:
  NumberField(int intDigits, int decimals, QWidget* parent);
  NumberValidator* numberValidator() const { return validator_; }
  // Plain text of a value with at most `decimals` places, trailing zeros cut.
  QString PlainNumber(double value, int decimals) const;
  LocaleFormat format_;

 private:
  NumberValidator* validator_;
};

class MoneyField : public NumberField {
  Q_OBJECT
 public:
  static constexpr const char* kDefaultMask = "$###,###,###.##";
  static constexpr int kIntegerDigits = 12;
  explicit MoneyField(QWidget* parent = nullptr);

  double value() const { return value_; }
  // A value that is not finite is refused (the field keeps its value).
  bool setValue(double v);

  // Picture: '#' digit, ',' thousands, '.' decimal point, '$' or 'c'
  // currency sign at the left, 'C' at the right. The digits after the point
  // are the decimals; the integer part takes up to 12 digits whatever the
  // grouping shows. An empty mask is ignored.
  void SetMask(const std::string& mask);
  const std::string& mask() const { return mask_; }
  // The widest text the field shows for amounts of up to `integerDigits`
  // digits: negative, all nines, in its mask's decimals and symbol side.
  QString WidestText(int integerDigits) const;

 protected:
  QString DisplayForm() const override;
  QString EditForm() const override;
  bool ParseEdit(const QString& text) override;

 private:
  std::string mask_;
  int decimals_ = 2;
  bool symbolBefore_ = true;
  double value_ = 0;
};

class RateField : public NumberField {
  Q_OBJECT
 public:
  explicit RateField(QWidget* parent = nullptr);
  float value() const { return value_; }
  bool setValue(float v);
  // Decimals shown and accepted ("##.####" has 4; a daily rate shows 6).
  void SetDecimals(int decimals);

 protected:
  QString DisplayForm() const override;
  QString EditForm() const override;
  bool ParseEdit(const QString& text) override;

 private:
  float value_ = 0;
  int decimals_ = 4;
};

class CountField : public NumberField {
  Q_OBJECT
 public:
  explicit CountField(QWidget* parent = nullptr);
  std::int16_t value() const { return value_; }
  void setValue(std::int16_t v);
  // Largest count the field accepts (at most 32767).
  void SetMaximum(int maximum);
  int maximum() const { return maximum_; }

 protected:
  QString DisplayForm() const override;
  QString EditForm() const override;
  bool ParseEdit(const QString& text) override;

 private:
  std::int16_t value_ = 0;
  int maximum_ = 32767;
};

// Accepts what has the shape of "mm/dd/yy" or "mm/dd/yyyy" (digits, at most
// two slashes, two digits of month and day, four of the year), whether or
// not it is a date; acceptable is a date of 01/01/1600 to 12/31/3999.
class DateValidator : public QValidator {
  Q_OBJECT
 public:
  explicit DateValidator(QObject* parent = nullptr) : QValidator(parent) {}
  void SetEpoch(int epoch) { epoch_ = epoch; }
  State validate(QString& input, int& pos) const override;
  // Day number of a complete text; kBadDate otherwise.
  Date Parse(const QString& text) const;

 private:
  int epoch_ = 1960;
};

class DateField : public MaskedField {
  Q_OBJECT
 public:
  explicit DateField(QWidget* parent = nullptr);
  // The date the field shows; kBadDate when it is empty or shows text that
  // is no date (typed "02/30/2026", or a date not yet complete).
  Date value() const { return value_; }
  // Text that is no date stays shown, also after the field is left.
  bool showsBadDate() const { return value_ == kBadDate && !badText_.isEmpty(); }
  // Dates outside 01/01/1600..12/31/3999 are refused; kBadDate empties.
  bool setValue(Date d);

  // "mm/dd/yyyy" instead of "mm/dd/yy".
  void SetFourDigitYear(bool on);
  bool fourDigitYear() const { return fourDigits_; }
  // Two-digit years fall in epoch .. epoch + 99 (default 1960 .. 2059).
  void SetEpoch(int epoch);
  int epoch() const { return epoch_; }

 protected:
  QString DisplayForm() const override;
  QString EditForm() const override;
  bool ParseEdit(const QString& text) override;

 private:
  DateValidator* validator_;
  Date value_ = kBadDate;
  QString badText_;  // what the field shows while it holds no date
  bool fourDigits_ = false;
  int epoch_ = 1960;
};

// Makes a field a display-only result: read-only, no focus, bold figures
// on the window's colour.
void ShowAsResult(QWidget* field);

// `base` in the monospaced face of entry fields and aligned figures.
QFont EntryFont(const QFont& base);
// Gives a field the look of an entry: EntryFont(base) and blue text.
void ShowAsEntry(QWidget* field, const QFont& base);

}  // namespace brevika
