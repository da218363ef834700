#include "records/ui/loan_records_store.h"

#include <memory>
#include <new>

#include "components/busy_cursor.h"
#include "components/messages.h"
#include "records/loan_records.h"
#include "records/ui/ledger_window.h"
#include "records/ui/loan_info_dialog.h"

namespace brevika {

namespace {

constexpr const char* kMsgNoLoanDialog = "Low memory condition.\n\nCan't open loan dialog.";
constexpr const char* kMsgSaveNotOpen = "Save failed.\n\n";

// The loan information dialog, or null after the low-memory message.
std::unique_ptr<TLoanInfo> MakeLoanDialog(TLoanInfo::Mode mode, AppServices* services, QWidget* parent) {
  try {
    return std::make_unique<TLoanInfo>(LoanTablesFolderOf(services), mode, services, parent);
  } catch (const std::bad_alloc&) {
    ShowMessage(parent, Message{kMsgNoLoanDialog, BoxType::Error});
    return nullptr;
  }
}

void CentreOn(QWidget* dialog, const QWidget* over) {
  dialog->move(over->geometry().center() - QPoint(dialog->width() / 2, dialog->height() / 2));
}

std::optional<Borrower> BorrowerOfAccount(const records::LoanRecords& records, const std::string& accountNo) {
  const auto found = records.FindAccount(accountNo);
  return found ? std::optional<Borrower>(records::BorrowerOf(*found)) : std::nullopt;
}

}  // namespace

std::optional<ScheduleStore::Tie> LoanRecordsStore::Save(QWidget* window, const std::string& accountNo,
                                                         const ScheduleInputs& terms,
                                                         const Schedule* schedule) {
  if (!schedule) {
    ShowMessage(window, Message{records::kMsgNotCalculated, BoxType::Information});
    return std::nullopt;
  }
  const std::unique_ptr<TLoanInfo> dialog = MakeLoanDialog(TLoanInfo::SaveMode, services_, window);
  if (!dialog) return std::nullopt;
  if (!dialog->tablesOpen()) {
    ShowMessage(window, Message{kMsgSaveNotOpen, BoxType::Error});
    return std::nullopt;
  }
  records::LoanRecords& records = *dialog->records();
  // Another running copy holds the tables, or they may not be written.
  if (!records.writable()) {
    ShowMessages(window, records.WhyNotWritable());
    return std::nullopt;
  }
  CentreOn(dialog.get(), window);
  std::string account = accountNo;
  const std::string chosen = dialog->ChooseLoan(account);
  if (chosen.empty()) return std::nullopt;

  const records::LoanTerms loanTerms = records::TermsOf(terms);
  Outcome outcome;
  std::string saved = chosen;
  if (dialog->chosenLoanIsNew()) {
    // The new loan, its cross-reference row and the schedule rows go in one change.
    records::Loan loan = dialog->chosenLoan();
    loan.terms = loanTerms;
    {
      BusyCursor busy;
      outcome = records.SaveNewLoan(account, loan, *schedule);
    }
    saved = loan.loanNo;
  } else {
    bool replace = false;
    if (records.FindLoan(chosen) && records.TransactionCount(chosen) > 0) {
      if (!AskYesNo(window, Message{records::ReplaceLoanQuestion(chosen), BoxType::Warning})) {
        ShowMessage(window, Message{records::SaveCanceledText(chosen), BoxType::Information});
        return std::nullopt;
      }
      replace = true;
    }
    BusyCursor busy;
    outcome = records.SaveSchedule(chosen, loanTerms, *schedule, replace);
  }
  ShowMessages(window, outcome);
  if (!outcome.ok()) return std::nullopt;
  return Tie{account, saved, BorrowerOfAccount(records, account)};
}

ScheduleStore::Loaded LoanRecordsStore::Load(QWidget* window, const std::string& accountNo,
                                             const ScheduleInputs& current, Schedule& schedule) {
  Loaded loaded;
  const std::unique_ptr<TLoanInfo> dialog = MakeLoanDialog(TLoanInfo::LoadMode, services_, window);
  if (!dialog || !dialog->tablesOpen()) return loaded;
  records::LoanRecords& records = *dialog->records();
  CentreOn(dialog.get(), window);
  std::string account = accountNo;
  const std::string chosen = dialog->ChooseLoan(account);
  if (chosen.empty()) return loaded;
  loaded.chosen = true;

  records::Loan loan;
  {
    BusyCursor busy;
    loaded.outcome = records.LoadSchedule(chosen, loan, schedule);
  }
  const std::string refusal = loaded.outcome.ok() ? std::string() : loaded.outcome.FirstText();
  // Terms too long for the row table, or a loan without rows: the terms are
  // shown and no schedule is. Any other refusal changes nothing.
  loaded.termsOnly = refusal == records::kMsgTooManyPeriods || refusal == records::kMsgNoTransactions;
  if (loaded.outcome.ok() || loaded.termsOnly) {
    ScheduleInputs terms = current;
    records::ApplyTerms(loan.terms, terms);
    loaded.terms = terms;
  }
  // A loan saved with events: calculated again for the marks and the
  // comparison, or shown as saved with a remark.
  if (loaded.outcome.ok() && loaded.terms && !loaded.terms->events.empty()) {
    BusyCursor busy;
    for (Message& m : records::ReapplyEvents(*loaded.terms, schedule).messages) loaded.outcome.Say(std::move(m));
  }
  if (loaded.outcome.ok()) loaded.tie = Tie{account, loan.loanNo, BorrowerOfAccount(records, account)};
  return loaded;
}

void LoanRecordsStore::ShowPayments(QWidget* window, const Tie& tie) {
  if (tie.loanNo.empty()) return;
  ShowLedger(window, LoanTablesFolderOf(services_), tie.loanNo, services_);
}

bool LoanRecordsStore::StillSaved(const Tie& tie) {
  if (tie.loanNo.empty()) return false;
  Outcome opened;
  records::RecordsOptions options;
  options.readOnly = true;  // reading writes nothing in the folder
  const auto r = records::LoanRecords::Open(LoanTablesFolderOf(services_), opened, options);
  return !r || r->FindLoan(tie.loanNo).has_value();
}

}  // namespace brevika
