// The loan information dialog: picks or creates the account and the loan a
// schedule is saved into or loaded from, in four steps on a notebook
// (browse accounts, edit the account, browse its loans, edit the loan).
// It opens the tables of one folder for as long as it lives; the loan
// records' store (loan_records_store.h) then saves or loads through
// records(). Built on the window base (buttons, F1) with the account's and
// the loan's fields moved by the transfer component.
#pragma once
#include <memory>
#include <string>

#include "components/transfer.h"
#include "components/window_base.h"
#include "records/loan_records.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTableView;
class QToolButton;

namespace brevika {

class AccountsModel;
class AppServices;
class LoansModel;

class TLoanInfo : public WindowBase {
  Q_OBJECT
 public:
  enum Mode { LoadMode = 0, SaveMode = 1 };
  enum Page { kBrowseAccounts, kEditAccount, kBrowseLoans, kEditLoan, kPageCount };

  // Opens the tables of `folder`; a failure shows "Table open failed" and
  // leaves tablesOpen() false.
  TLoanInfo(const std::string& folder, Mode mode, AppServices* services, QWidget* parent = nullptr);
  ~TLoanInfo() override;

  bool tablesOpen() const { return records_ != nullptr; }
  records::LoanRecords* records() const { return records_.get(); }
  Mode mode() const { return mode_; }

  // Shows the dialog modally, starting at `accountNo` when it is listed.
  // Returns the chosen loan number when the dialog ended with Save or Get,
  // else an empty text; `accountNo` always receives the current account.
  std::string ChooseLoan(std::string& accountNo);

  // After Save: the loan was started with New and is not in the tables
  // yet; the caller writes it with its schedule (SaveNewLoan).
  bool chosenLoanIsNew() const { return newLoan_; }
  // The loan as the last page showed it (number, description, terms).
  const records::Loan& chosenLoan() const { return loan_; }
  const std::string& currentAccountNo() const { return currentAccountNo_; }

  int page() const;
  QString statusMessage() const;
  QString statusStep() const;

  // Commands.
  void NewBTNClick();
  void PriorBTNClick();
  void NextBTNClick();
  void CancelBTNClick();
  void HelpBTNClick();
  void NavFirstClick();
  void NavPriorClick();
  void NavNextClick();
  void NavLastClick();
  void NavDeleteClick();

  // Status header: messages and record position, and the step.
  QLabel* Status0;
  QLabel* Status1;
  QLabel* PageTitle;
  QLabel* StepText;
  QStackedWidget* Notebook;
  // Page 1.
  QLineEdit* Search;
  QComboBox* SortOrder;
  QTableView* AccountsGrid;
  // Page 2.
  QLineEdit* AccountNo;
  QRadioButton* AutoGenerate;
  QRadioButton* UserEnters;
  QLineEdit* LastName;
  QLineEdit* FirstName;
  QLineEdit* MI;
  QLineEdit* Business;
  QLineEdit* Address1;
  QLineEdit* Address2;
  QLineEdit* City;
  QLineEdit* State;
  QLineEdit* Zip;
  QLineEdit* Country;
  QLineEdit* Phone1;
  QLineEdit* Phone2;
  QLineEdit* Phone2Ext;
  QLineEdit* Comment;
  // Page 3.
  QLabel* LoansCaption;
  QTableView* LoansGrid;
  // Page 4.
  QLineEdit* LoanNo;
  QLineEdit* Collateral;
  QLineEdit* PropAddress;
  QLineEdit* PropCity;
  QLineEdit* PropState;
  QLineEdit* PropZip;
  QLineEdit* PropCountry;
  QLineEdit* BlockNo;
  QLineEdit* LotNo;
  QLabel* LoanTerms;
  // Navigator and buttons.
  QWidget* Navigator;
  QToolButton* NavFirst;
  QToolButton* NavPrior;
  QToolButton* NavNext;
  QToolButton* NavLast;
  QToolButton* NavDelete;
  QPushButton* NewBTN;
  QPushButton* PriorBTN;
  QPushButton* NextBTN;
  QPushButton* CancelBTN;
  QPushButton* HelpBTN;

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  QWidget* BuildAccountsPage();
  QWidget* BuildAccountPage();
  QWidget* BuildLoansPage();
  QWidget* BuildLoanPage();
  QWidget* BuildButtons();
  void FormShow();
  void EnterPage(int page);
  void ShowPosition();
  void SetStatus(const QString& text);

  // Page 1.
  void ReloadAccounts(const std::string& select);
  int CurrentAccountRow() const;
  void SelectAccountRow(int row);
  void SearchChange(const QString& text);
  void SortOrderChange(int index);
  // Page 2.
  void ShowAccount(const records::Account& a, bool isNew);
  records::Account AccountFromFields();
  void IdModeChange();
  void UpdateGeneratedNumber();
  bool PostAccount();
  // Page 3.
  void ReloadLoans(const std::string& select);
  int CurrentLoanRow() const;
  void SelectLoanRow(int row);
  // Page 4.
  void ShowLoan(const records::Loan& loan, bool isNew);
  records::Loan LoanFromFields();
  bool PostLoan();
  std::string PredictedLoanNumber() const;
  // Navigator.
  void MoveTo(int row);
  void DeleteAccount(std::string accountNo);
  void DeleteLoan(std::string loanNo);

  Mode mode_;
  std::unique_ptr<records::LoanRecords> records_;
  AccountsModel* accounts_;
  LoansModel* loans_;
  records::Account account_;   // as the account page loaded it
  bool newAccount_ = false;
  records::Loan loan_;         // as the loan page loaded it
  bool newLoan_ = false;
  std::string currentAccountNo_;
  std::string chosenLoanNo_;
  bool loanChosen_ = false;
  // The account and the loan as their pages' fields show them.
  records::Account fieldsAccount_;
  records::Loan fieldsLoan_;
  Transfer accountFields_, loanFields_;
};

// The folder of the loan record tables the services name, else the one
// the program keeps them in (TablesFolder of its directory).
std::string LoanTablesFolderOf(const AppServices* services);

// Hints of the dialog's buttons and status texts.
inline constexpr const char* kLoanInfoWatchStatus = " Watch this space for status messages.";
inline constexpr const char* kLoanInfoNoLoansStatus = " There are no loans for this account.";

}  // namespace brevika
