// Loan records: accounts, loans, their cross-reference, the counters,
// saved schedule rows with their what-if events, and actual payments, over
// the tables of one folder. Every change is
// one all-or-nothing change of the tables. The loan information dialog and
// the command line call this directly. No Qt.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "amortization/borrower.h"
#include "amortization/schedule.h"
#include "finance/outcome.h"
#include "finance/periods.h"
#include "records/ledger.h"
#include "records/loan_tables.h"
#include "tables/database.h"

namespace brevika::records {

inline constexpr const char* kDefaultAccount = "DEFAULT";

// One row of ACCNTS.DBF; texts are trimmed of trailing blanks.
struct Account {
  std::string accountNo, lastName, firstName, mi, business, address1, address2, city, state, zip,
      country, phone1, phone2, phone2Ext, comment, userId;
  Date recordDate = kBadDate;  // set when the row is written
  std::string recordTime;      // "HH:MM:SS", set when the row is written
  bool operator==(const Account&) const = default;
};

// The terms of a loan that a schedule save writes and a load reads.
struct LoanTerms {
  double amount = 0;          // INITAMT
  std::uint16_t term = 0;     // INITTERM, initial periods
  Date origDate = kBadDate;   // ORIGDATE
  Date firstPmtDate = kBadDate;  // FRSTPMTDT
  int pmtsPerYr = 2;          // PMTSPERYR: payment period list index (0 "Weekly")
  int cmpPerYr = 3;           // CMPPERYR: compounding period list index
  float points = 0;           // POINTS
  float rate = 0;             // INITRATE, percent a year
  int amortMthd = 3;          // AMORTMTHD
  int rateBasis = 0;          // RATEBASIS
  // The schedule's what-if events (EVENTS.DBF): written by the schedule
  // saves and read by LoadSchedule; FindLoan leaves them empty.
  std::vector<ScheduleEvent> events;
  bool operator==(const LoanTerms&) const = default;
};

// One row of LOANS.DBF.
struct Loan {
  std::string loanNo, collateral, propAddress, blockNo, lotNo, propState, propCity, propZip,
      propCountry;
  LoanTerms terms;
  bool operator==(const Loan&) const = default;
};

// A loan of an account as the loans browse shows it (looked up in LOANS.DBF).
struct LoanSummary {
  std::string loanNo, collateral;
  Date firstPmtDate = kBadDate;
  double amount = 0;
  int term = 0;
  double rate = 0;
  bool operator==(const LoanSummary&) const = default;
};

enum class AccountOrder { Number, LastName, Business };
enum class IdMode { Generate, UserEntered };

struct RecordsOptions {
  tables::FileSystem* fs = nullptr;        // the real file system when null
  std::function<Date()> today;             // local date when empty
  std::function<std::string()> timeText;   // local "HH:MM:SS" when empty
  // Only reading (the records and load commands, the dialog loading a
  // schedule): nothing is created or written in the folder, and a folder
  // without tables reads as a new book.
  bool readOnly = false;
};

class LoanRecords {
 public:
  // Opens (creating the folder and any missing table) the tables of a
  // folder; new tables get the "DEFAULT" account and the one SYSINFO.DBF
  // row. Null with "Table open failed" when that fails. When another copy
  // of the program holds the folder, the tables open read-only and every
  // change is refused.
  static std::unique_ptr<LoanRecords> Open(const std::string& folder, Outcome& outcome,
                                           RecordsOptions options = {});

  bool writable() const { return db_->writable(); }
  // The refusal every change gets when not writable: the tables are in
  // use by another copy, or the folder or a file may not be written.
  Outcome WhyNotWritable() const { return db_->WhyNotWritable(); }
  const std::string& folder() const { return db_->folder(); }
  tables::Database& database() { return *db_; }

  // Accounts.
  std::vector<Account> Accounts(AccountOrder order = AccountOrder::Number) const;
  std::optional<Account> FindAccount(std::string_view accountNo) const;
  // Incremental search: index in Accounts(Number) of the first account
  // number at or after `prefix`; -1 past the last.
  int SearchAccount(std::string_view prefix) const;
  // First 4 characters of the last name and 3 of the first, in upper case,
  // then the first free counter "001".."999". Empty when a name is blank
  // or every counter is taken.
  std::string GenerateAccountNumber(std::string_view lastName, std::string_view firstName) const;
  // Adds an account; with Generate its number is made from the names and
  // stored in `account.accountNo`.
  Outcome AddAccount(Account& account, IdMode mode);
  // Rewrites the fields of an existing account (found by its number).
  Outcome UpdateAccount(Account& account);
  // Deletes the account, its loans, their schedule rows, payments and
  // cross-reference rows.
  Outcome DeleteAccount(std::string_view accountNo);

  // Loans.
  std::vector<LoanSummary> LoansOfAccount(std::string_view accountNo) const;
  std::optional<Loan> FindLoan(std::string_view loanNo) const;
  // Account a loan belongs to, empty when none.
  std::string AccountOfLoan(std::string_view loanNo) const;
  // Number of saved schedule rows of a loan.
  int TransactionCount(std::string_view loanNo) const;
  // A new loan of an account, its number from the counter, with its
  // cross-reference row. `loan.loanNo` receives the number.
  Outcome NewLoan(std::string_view accountNo, Loan& loan);
  // Rewrites an existing loan's fields.
  Outcome UpdateLoan(const Loan& loan);
  // Deletes a loan with its schedule rows, events, payments and cross-reference
  // rows.
  Outcome DeleteLoan(std::string_view loanNo);

  // Saves the terms (with their events) and rows 0..lastRow of a schedule
  // into an existing loan. A loan that already has saved rows is refused
  // with the replace question unless `replace` is set; replacing leaves
  // none of the old rows, and the loan's events become those of `terms`
  // (none: its saved events go), and its payments stay (refused when one
  // would fall before the new origination date). A save without events and
  // a loan without saved events leave EVENTS.DBF alone, so a book without
  // it gets none.
  Outcome SaveSchedule(std::string_view loanNo, const LoanTerms& terms, const Schedule& schedule,
                       bool replace);
  // A new loan of an account with its terms and schedule rows, in one change.
  Outcome SaveNewLoan(std::string_view accountNo, Loan& loan, const Schedule& schedule);
  // Reads a loan's record and its events into `loan` and its rows into
  // `schedule` (year tabs rebuilt; the rows carry no events: see
  // ReapplyEvents). `loan` is filled whenever the loan exists, even when
  // the rows are refused; `schedule` changes only when the load succeeds.
  // Saved events that can't be read (an unknown kind, a refused list) are
  // left out with a remark.
  Outcome LoadSchedule(std::string_view loanNo, Loan& loan, Schedule& schedule);

  // Actual payments (PAYMENTS.DBF), each one a date, an amount and a note.
  //
  // A loan's payments in date order; those of one date in the order they
  // were recorded.
  std::vector<ActualPayment> Payments(std::string_view loanNo) const;
  // What the loan's ledger is computed from: the loan's terms, its saved
  // schedule rows (none when it has no saved schedule), its rate changes and
  // its payments. Refused when the loan is not found; `loan` and `in` change
  // only on success.
  Outcome LoadLedgerInputs(std::string_view loanNo, Loan& loan, LedgerInputs& in) const;
  // Records payments of a loan in one change (one, or a whole statement).
  // Each must pass CheckPayment against the loan's terms and have a note
  // that fits its field; one refusal records none.
  Outcome AddPayments(std::string_view loanNo, const std::vector<ActualPayment>& payments);
  // Rewrites the first recorded payment equal to `old` (date, amount to the
  // cent, note) as `now`, checked as AddPayments checks.
  Outcome ReplacePayment(std::string_view loanNo, const ActualPayment& old, const ActualPayment& now);
  // Deletes the first recorded payment equal to `which` and packs the table.
  Outcome DeletePayment(std::string_view loanNo, const ActualPayment& which);

  // The number the next new loan gets: the first after the counter that no
  // loan has. Empty when none is left.
  std::string PredictedLoanNumber() const;

  // Counters of SYSINFO.DBF.
  std::uint32_t LastLoanNumber() const;
  std::string LastAccountNumber() const;
  std::uint32_t SaveCount() const;

 private:
  LoanRecords() = default;
  Outcome EnsureFirstRows();
  std::string Stamp() const;
  Outcome WriteAccount(const Account& a);
  Outcome WriteLoan(const Loan& loan, bool termsOnly);
  Outcome WriteRows(const std::string& loanNo, const Schedule& schedule, bool replace);
  Outcome WriteEvents(const std::string& loanNo, const std::vector<ScheduleEvent>& events);
  Outcome ReadEvents(const std::string& loanNo, std::vector<ScheduleEvent>& events) const;
  Outcome NextLoanNumber(std::string& loanNo);
  std::uint64_t FreeLoanNumber() const;  // 0 when none is left
  Outcome AppendLoan(std::string_view accountNo, Loan& loan, const Schedule* schedule);
  Outcome DeleteLoanRows(const std::string& loanNo);
  // Record numbers of a loan's payments in PAYMENTS.DBF, in date order.
  std::vector<std::uint32_t> PaymentRows(const std::string& loanNo) const;
  ActualPayment ReadPayment(std::uint32_t row) const;
  // The loan's payments in date order.
  std::vector<ActualPayment> PaymentsOf(const std::string& loanNo) const;
  Outcome WritePayment(const std::string& loanNo, const ActualPayment& payment);
  // Refuses payments the loan's ledger could not take, with every one of
  // the loan's payments in `all`.
  Outcome CheckPayments(const LoanTerms& terms, const std::vector<ActualPayment>& changed,
                        const std::vector<ActualPayment>& all) const;
  // The loan's rate changes, for its ledger.
  std::vector<RateChange> RateChangesOfLoan(const std::string& loanNo, const std::vector<ScheduleRow>& scheduled,
                                            const LedgerTerms& terms) const;
  Outcome BumpSaveCount();
  Outcome PackAll();
  bool SeekLoan(const std::string& loanNo) const;
  bool SeekAccount(const std::string& accountNo) const;

  std::unique_ptr<tables::Database> db_;
  tables::Table* accounts_ = nullptr;
  tables::Table* loans_ = nullptr;
  tables::Table* xref_ = nullptr;
  tables::Table* sysInfo_ = nullptr;
  tables::Table* trans_ = nullptr;
  tables::Table* events_ = nullptr;  // may be absent from the folder: reads empty
  tables::Table* payments_ = nullptr;
  bool paymentsDeleted_ = false;  // a change deleted payments: PAYMENTS.DBF is packed
  std::function<Date()> today_;
  std::function<std::string()> timeText_;
};

// Terms of a schedule's inputs with their events, and back (how points are
// paid and other fees are neither saved nor loaded: ApplyTerms leaves them).
LoanTerms TermsOf(const ScheduleInputs& inputs);
void ApplyTerms(const LoanTerms& terms, ScheduleInputs& inputs);

// After LoadSchedule of a loan saved with events (`terms.events`): the
// loan's terms and events calculated again, so that the rows carry their
// marks and the schedule its comparison. How points are paid is not saved:
// `terms`' own choice is tried first, then the other two when the loan has
// points. The calculated schedule takes the place of the loaded rows only
// when its rows are the saved rows to the cent; otherwise (or when the
// engine refuses) the saved rows stay and the outcome carries a remark
// (kMsgEventsNotReapplied, not refused). Nothing to do without events.
Outcome ReapplyEvents(const ScheduleInputs& terms, Schedule& schedule);

// The borrower block of the printed schedule: the account's name, address
// and first telephone (the second when the first is blank).
Borrower BorrowerOf(const Account& account);

// User-facing texts.
inline constexpr const char* kMsgNamesRequired = "Both 'Last Name' & 'First Name' must be entered.";
inline constexpr const char* kMsgDefaultUndeletable = "\rThe DEFAULT account cannot be deleted.\r\r";
inline constexpr const char* kMsgSecondChance =
    "Lucky you!\r\rYou have one more chance.\r\rSTOP the PERMANENT\r\rdeletion of YOUR data?\r";
inline constexpr const char* kMsgCantDeleteHere =
    "\rCan't delete here.\r\rGoto Prior page to delete account.\r\rGoto Next page to delete loan.\r\r";
inline constexpr const char* kMsgDeleteFailed = "Delete failed.";
inline constexpr const char* kMsgPackFailed = "Pack failed.";
inline constexpr const char* kMsgNotCalculated = "Loan not calculated or\n\nthis loan already saved.\n";
inline constexpr const char* kMsgSaveFailed = "Save failed.\n\nPossible low free disk space.";
inline constexpr const char* kMsgLoanNotFoundOnSave = "Loan not found.\n\nLoan table NOT updated.";
inline constexpr const char* kMsgLoanNotFound = "Loan not found.";
inline constexpr const char* kMsgAccountNotFound = "Account not found.";
inline constexpr const char* kMsgTooManyPeriods =
    "Low memory condition.\n\nNot enough free memory to load this loan.";
inline constexpr const char* kMsgNoTransactions =
    "\rNo transaction records found for this loan.\r\rCanceling load.\r";
inline constexpr const char* kMsgAccountNumberRequired = "Enter an account number.";
inline constexpr const char* kMsgNoFreeAccountNumber =
    "No free account number is left for these names.";
inline constexpr const char* kMsgNoFreeLoanNumber = "No free loan number is left.";
inline constexpr const char* kMsgEventsNotReapplied =
    "The loan's events no longer give its saved rows.\n\n"
    "The saved rows are shown without the marks\n\n"
    "and the comparison of the events.\n\n";

std::string ReplaceLoanQuestion(std::string_view loanNo);
std::string SaveCanceledText(std::string_view loanNo);
std::string DeleteAccountQuestion(std::string_view accountNo);
std::string DeleteAccountCanceledText(std::string_view accountNo);
std::string DeleteLoanQuestion(std::string_view loanNo);
std::string DeleteLoanCanceledText(std::string_view loanNo);
std::string AccountDeletedStatus(std::string_view accountNo);  // " deleted." status line
std::string AccountExistsText(std::string_view accountNo);
std::string TooManyRowsText(std::string_view loanNo, int rows, int maxRows);
// Saved events of a loan that could not be read, and why.
std::string EventsUnreadableText(std::string_view loanNo, const std::string& why);
inline constexpr const char* kMsgPaymentNoteTooLong = "Payment Note can't be more than\n\n60 characters.\n\n";
inline constexpr const char* kMsgPaymentNoteChars =
    "Payment Note has characters\n\nthe loan records can't hold.\n\n";
inline constexpr const char* kMsgPaymentNotFound =
    "That payment is no longer recorded.\n\nIt may have been changed or deleted meanwhile.\n\n";
// "Loan 1 has a payment on 12/15/2023, before\n\nthe new Origination Date 01/01/2024.\n\n..."
std::string PaymentBeforeNewOriginationText(std::string_view loanNo, Date payment, Date origination);

}  // namespace brevika::records
