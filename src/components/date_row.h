// A date row: a date field with four-digit years, small arrows that move
// the month, the day or the year under the caret, and a display-only box
// with the weekday. The window binds the field and the box to its record.
#pragma once
#include <QWidget>

class QLineEdit;

namespace brevika {

class DateField;

class DateRow : public QWidget {
  Q_OBJECT
 public:
  static constexpr const char* kSpinHint = "Select M D or Y field\nclick to adjust.";

  // `spinName` names the arrows' panel (its arrows add "Up" and "Down"),
  // `dayName` the weekday box, whose help context is `dayHelp`. The row is
  // one and a half `fieldWidth` wide.
  DateRow(const char* dayName, int dayHelp, const char* spinName, int fieldWidth, QWidget* parent);

  DateField* field() const { return field_; }
  QLineEdit* dayBox() const { return dayBox_; }
  // Moves the part of the date that holds the caret ("mm/dd/yyyy") by
  // `delta`; a date outside 1600..3999 is not taken.
  void Spin(int delta);

 private:
  DateField* field_;
  QLineEdit* dayBox_;
};

}  // namespace brevika
