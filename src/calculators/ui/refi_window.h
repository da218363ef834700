// Refinance advisor window: the current loan, the possible new one, taxes
// and the years to the sale on the "DataEntry" page; the verdict in plain
// English on the "Results" page.
#pragma once
#include "calculators/refinance.h"
#include "calculators/ui/calc_window.h"

class QPlainTextEdit;
class QPushButton;
class QStackedWidget;

namespace brevika {

class MoneyField;

class TcLoReFin : public RecordWindow<RefiRecord> {
  Q_OBJECT
 public:
  static constexpr int kHelpTopic = 31;
  TcLoReFin(RefiRecord* record, int slot, AppServices* services, QWidget* parent = nullptr);

  // "&Data Entry": back to the entry page, nothing cleared.
  void BitBtn1Click();
  bool showingResults() const;

 protected:
  Outcome Calculate() override;
  void ResetRecord() override { ResetRefinance(rec()); }
  std::vector<CalcRow> Rows() const override { return {}; }
  std::string CopyTextOf(const std::string& caption, const LocaleFormat& loc) const override;
  std::vector<Page> PrintPagesOf(const std::string& caption, const std::string& fontName,
                                 int points, const LocaleFormat& loc) const override;
  int WindowHelpTopic() const override { return kHelpTopic; }

 private:
  QWidget* Panel(std::string* heading, const char* name, QWidget* parent);
  void RemBalExit();
  void NewPVExit();

  QStackedWidget* Notebook1;
  QPlainTextEdit* Memo1;
  QPushButton* BitBtn1;
  MoneyField* RemBal_ = nullptr;
  MoneyField* NewPV_ = nullptr;
  bool exiting_ = false;
};

}  // namespace brevika
