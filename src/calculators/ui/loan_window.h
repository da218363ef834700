// Loan calculator window: amount, number of payments, annual rate and
// periodic payment; the one left at zero is solved for on Calc, and the
// total interest is shown.
#pragma once
#include <vector>

#include "calculators/loan.h"
#include "calculators/ui/calc_window.h"

class QComboBox;
class QLabel;

namespace brevika {

class MoneyField;
class RateField;
class CountField;

class TcLoLoan : public CalcWindow {
  Q_OBJECT
 public:
  static constexpr const char* kCaptionBase = "Loan Calculator";
  static constexpr int kHelpTopic = 125;

  // `record` belongs to the application, lives for the whole run and is
  // shared by both loan windows; nullptr leaves the window without one.
  TcLoLoan(LoanRecord* record, int slot, AppServices* services, QWidget* parent = nullptr);

 protected:
  bool HasRecord() const override { return record_ != nullptr; }
  void ControlsToRecord() override;
  void RecordToControls() override;
  std::optional<Message> Calculate() override;
  void ResetRecord() override;
  std::vector<CalcRow> Rows() const override;
  int WindowHelpTopic() const override { return kHelpTopic; }

 private:
  LoanRecord* record_;

  MoneyField* PV;
  CountField* NumPmts;
  RateField* Rate;
  MoneyField* Pmt;
  QComboBox* PYR;
  QComboBox* CmpPYR;
  QComboBox* PmtMthd;
  QComboBox* AmortMthd;
  MoneyField* TotInt;
  // Labels in record order: the nine field labels, then the hint line.
  std::vector<QLabel*> labels_;
};

}  // namespace brevika
