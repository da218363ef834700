// Truth in Lending window: the advances and the series of payments of a
// loan in two grids, a disclosed APR to check, and after Calc the
// disclosure box (annual percentage rate, finance charge, amount financed,
// total of payments), the unit period and whether the disclosed APR is
// accurate. The grids and the box are its own; the buttons, Copy, Print,
// Reset and Undo are every calculator's.
#pragma once
#include <QLineEdit>

#include "calculators/truth_in_lending.h"
#include "calculators/ui/entry_grid.h"
#include "calculators/ui/kind_window.h"

class QLabel;

namespace brevika {

class PercentField;

class TcLoTIL : public KindWindow<TilRecord> {
  Q_OBJECT
 public:
  TcLoTIL(TilRecord* record, int slot, AppServices* services, QWidget* parent = nullptr);

  EntryGrid* Advances;
  EntryGrid* Payments;
  PercentField* Disclosed;
  // The disclosure box and the lines under it (display only).
  QLineEdit* APR;
  MoneyField* FinanceCharge;
  MoneyField* AmountFinanced;
  MoneyField* TotalOfPayments;
  QLineEdit* UnitPeriod;
  QLineEdit* Verdict;

 protected:
  // The rows with the weekday names of the user's locale.
  std::string CopyTextOf(const std::string& caption, const LocaleFormat& loc) const override;
  std::vector<Page> PrintPagesOf(const std::string& caption, const std::string& fontName, int points,
                                 const LocaleFormat& loc) const override;

 private:
  QLabel* Caption(std::string& caption, const char* name, QWidget* buddy = nullptr);
  QWidget* DisclosureBox();
  WeekdayNames names_;
};
template <>
struct KindWindowOf<TilRecord> { using type = TcLoTIL; };

// A percentage of up to three integer digits and four decimals, held as a
// double: a disclosed APR may be anything up to 999 %.
class PercentField : public NumberField {
  Q_OBJECT
 public:
  explicit PercentField(QWidget* parent = nullptr);
  double value() const { return value_; }
  // A value that is not finite is refused (the field keeps its value).
  bool setValue(double v);

 protected:
  QString DisplayForm() const override;
  QString EditForm() const override;
  bool ParseEdit(const QString& text) override;

 private:
  double value_ = 0;
};

}  // namespace brevika
