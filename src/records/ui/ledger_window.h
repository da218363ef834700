// The "Payment Ledger" window of a saved loan: its actual payments beside
// its saved schedule (add, change, delete, import from a lender's
// statement), the balance and ahead or behind on an as-of day, the next
// payment due, a payoff quote for any day, what the payments paid in each
// calendar year, and a chart of the scheduled and the actual balance; its
// printout and CSV export. Built on the window base; the as-of and payoff
// days are moved by the transfer component. Every change opens the loan
// records for that change only, so the window holds no lock while it waits.
#pragma once
#include <QString>
#include <string>

#include "components/window_base.h"
#include "records/ledger.h"
#include "records/loan_records.h"

class QLabel;
class QLineEdit;
class QTabWidget;
class QTableView;

namespace brevika {

class DateField;
class LedgerChart;
class LedgerModel;
class PaidByYearModel;

class TLedger : public WindowBase {
  Q_OBJECT
 public:
  // Reads the loan's ledger from the tables of `folder`; when that is
  // refused, loaded() is false and loadOutcome() says why.
  TLedger(const std::string& folder, const std::string& loanNo, AppServices* services, QWidget* parent = nullptr);
  ~TLedger() override;

  bool loaded() const { return loaded_; }
  const Outcome& loadOutcome() const { return loadOutcome_; }
  const records::Ledger& ledger() const { return ledger_; }
  const records::LedgerSummary& summary() const { return summary_; }
  LedgerModel* model() const { return model_; }
  PaidByYearModel* yearsModel() const { return years_; }
  // The recorded payment of the selected grid line, null when it has none.
  const records::ActualPayment* selectedPayment() const;

  // Commands.
  void AddBTNClick();
  void EditBTNClick();
  void DeleteBTNClick();
  void ImportBTNClick();
  // Imports the statement in `path` through the preview dialog.
  void ImportFile(const QString& path);
  void ExportBTNClick();
  bool ExportTo(const QString& path);
  void PrintBTNClick();
  void HelpBTNClick();

  // Summary on the as-of day.
  DateField* AsOf;
  QLineEdit* Balance;
  QLineEdit* UnpaidInterest;
  QLineEdit* PaidThrough;
  QLineEdit* Paid;
  QLineEdit* Scheduled;
  QLineEdit* AheadBehind;
  QLineEdit* NextDue;
  // Pages.
  QTabWidget* Pages;
  QTableView* PaymentsGrid;
  DateField* PayoffDate;
  QLineEdit* PayoffThrough;
  QLineEdit* PayoffDays;
  QLineEdit* PayoffBalance;
  QLineEdit* PayoffUnpaid;
  QLineEdit* PayoffAccrued;
  QLineEdit* Payoff;
  QLineEdit* PerDiem;
  QTableView* YearsGrid;
  LedgerChart* Chart;
  // Buttons.
  QPushButton* AddBTN;
  QPushButton* EditBTN;
  QPushButton* DeleteBTN;
  QPushButton* ImportBTN;
  QPushButton* ExportBTN;
  QPushButton* PrintBTN;
  QPushButton* HelpBTN;
  QPushButton* CloseBTN;

  enum PageIndex { kPaymentsPage, kPayoffPage, kYearsPage, kChartPage };

 protected:
  void done(int result) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* BuildSummary();
  QWidget* BuildPaymentsPage();
  QWidget* BuildPayoffPage();
  QWidget* BuildYearsPage();
  QWidget* BuildButtons();
  // Reads the loan and its payments again; the grid selects `select` (an
  // index into the payments read) when it is given.
  bool Reload(const records::ActualPayment* select = nullptr);
  void ShowSummary();
  void ShowPayoff();
  // Blank figures while their day's field holds text that is no date.
  void ClearSummary();
  void ClearPayoff();
  void UpdateButtons();
  // Runs one change on the loan records opened for it; its outcome.
  Outcome Change(const std::function<Outcome(records::LoanRecords&)>& change);

  std::string folder_, loanNo_;
  bool loaded_ = false;
  Outcome loadOutcome_;
  records::Loan loan_;
  records::LedgerInputs inputs_;
  records::Ledger ledger_;
  records::LedgerSummary summary_;
  // The window's record: what the as-of and payoff fields show.
  struct Days {
    Date asOf = kBadDate;
    Date payoff = kBadDate;
  } days_;
  LedgerModel* model_;
  PaidByYearModel* years_;
  bool chartStale_ = true;
  QString exportPath_, importFolder_;
};

// Opens the ledger of `loanNo` modally over `parent`; a loan whose ledger
// can't be read shows why instead.
void ShowLedger(QWidget* parent, const std::string& folder, const std::string& loanNo, AppServices* services);

inline constexpr const char* kLedgerPreviewTitle = "Payment Ledger Preview";
inline constexpr const char* kLedgerSetupTitle = "Ledger Setup";

}  // namespace brevika
