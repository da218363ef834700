// The transfer component: binds each label to its caption slot and each
// control to its field of a transfer record, and moves the values between
// them in both directions. It is the one place where a list control is
// filled from a ListEntry and read back; change signals stay blocked while
// it fills the controls.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "finance/items.h"
#include "finance/periods.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace brevika {

class MoneyField;
class RateField;
class CountField;
class DateField;

class Transfer {
 public:
  void Label(QLabel* label, std::string* caption);
  void Money(MoneyField* field, double* value);
  void Rate(RateField* field, float* value);
  void Count(CountField* field, std::int16_t* value);
  // An unsigned count: shown as the field's 16-bit value, read back as 0 or above.
  void Count(CountField* field, std::uint16_t* value);
  // A date. With `keepWhenEmpty` a field left without a date keeps the
  // record's date and shows it again. A record without a date leaves a
  // field that shows no date as it is.
  void Day(DateField* field, Date* value, bool keepWhenEmpty = false);
  void List(QComboBox* combo, ListEntry* entry);
  // A display-only text box (a weekday name).
  void Text(QLineEdit* box, std::string* text);
  // An editable text, read back without leading and trailing blanks.
  void Edit(QLineEdit* edit, std::string* text);
  // A memo, one record line per line.
  void Memo(QPlainTextEdit* memo, std::vector<std::string>* lines);
  // A control of the window's own making (a grid of rows): `toControl`
  // shows the record's values in it, `fromControl` reads them back. Its
  // signals are blocked while it is filled, as every control's.
  void Own(QWidget* control, std::function<void()> toControl, std::function<void()> fromControl);

  // Record into the controls (captions, values, list items and choices).
  void ToControls() const;
  // Controls into the record (captions stay: labels cannot be edited).
  void FromControls() const;

  // Every bound money field, in binding order (for the locale mask).
  std::vector<MoneyField*> moneyFields() const;
  // Every bound control in binding order (labels excluded).
  const std::vector<QWidget*>& controls() const { return controls_; }

 private:
  enum class Kind { Label, Money, Rate, Count, UCount, Day, KeptDay, List, Text, Edit, Memo, Own };
  struct Binding {
    Kind kind;
    QWidget* control;
    void* value;
    std::function<void()> toControl, fromControl;
  };
  void Bind(Kind kind, QWidget* control, void* value);
  std::vector<Binding> bindings_;
  std::vector<QWidget*> controls_;
};

// Fills a list with the entry's items (when they differ) and selects its
// index, with the list's signals blocked.
void ListToControl(const ListEntry& entry, QComboBox* combo);
void ControlToList(const QComboBox* combo, ListEntry& entry);

}  // namespace brevika
