// brevika-calc pay, ledger, payoff, import, interest-paid and
// `delete --payment`: the actual payments of a saved loan, through the same
// calls as the ledger window. Each command opens the tables of --dir; a
// refusal prints its message and leaves them unchanged.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>

#include "cli/cli.h"
#include "finance/rates.h"
#include "records/ledger.h"
#include "records/loan_ledger.h"
#include "records/loan_records.h"
#include "records/statement_import.h"

namespace brevika::cli {

using records::ActualPayment;
using records::Ledger;
using records::LedgerRow;
using records::LoanRecords;

namespace {

// Statements larger than this are refused unread.
constexpr std::uintmax_t kMaxStatementBytes = 64u << 20;

Json DateJson(Date d) { return d == kBadDate ? Json(nullptr) : Json(FormatIsoDate(d)); }
long long CentsOf(double v) { return std::llround(v * 100.0); }

std::string MoneyText(double v) { return FormatMoney(v, 2, UserLocale()); }

// A title, a blank line and aligned caption-value lines, as the
// calculators' texts are laid out.
std::string Block(const std::string& title, const std::vector<std::pair<std::string, std::string>>& lines) {
  std::string out = title + "\n\n";
  for (const auto& [caption, value] : lines) out += Format("%-26s %16s\n", {caption, value}, UserLocale());
  return out;
}

// Prints the outcome's messages and sets the exit code; true when it ran.
bool Ran(const Outcome& o, int& exitCode) {
  exitCode = Finish(o);
  return o.ok();
}

// A saved loan and its ledger, every recorded payment applied.
struct SavedLedger {
  records::Loan loan;
  records::LedgerInputs in;
  Ledger ledger;
};

// The loan's ledger; nothing after printing why it can't be made.
std::optional<SavedLedger> LoadLedger(LoanRecords& r, const std::string& loanNo, int& exitCode) {
  SavedLedger l;
  Outcome o = r.LoadLedgerInputs(loanNo, l.loan, l.in);
  if (o.ok()) o = records::ComputeLedger(l.in, l.ledger);
  if (o.ok()) return l;
  exitCode = Finish(o);
  return std::nullopt;
}

// The same from the records of `dir`, opened only to read.
std::optional<SavedLedger> ReadLedger(const std::string& dir, const std::string& loanNo, int& exitCode) {
  auto r = OpenRecords(dir, exitCode, true);
  if (!r) return std::nullopt;
  return LoadLedger(*r, loanNo, exitCode);
}

// The saved loan of that number; nothing after printing that there is none.
std::optional<records::Loan> FoundLoan(const LoanRecords& r, const std::string& loanNo, int& exitCode) {
  auto loan = r.FindLoan(loanNo);
  if (!loan) exitCode = Finish(Outcome::Refuse({records::kMsgLoanNotFound, BoxType::Error}));
  return loan;
}

Json RowJson(const LedgerRow& row) {
  Json j;
  j["Date"] = DateJson(row.date);
  j["Amount"] = MoneyJson(row.amount);
  j["Days"] = row.days;
  j["Interest"] = MoneyJson(row.interest);
  j["Principal"] = MoneyJson(row.principal);
  j["UnpaidInterest"] = MoneyJson(row.unpaidInterest);
  j["Balance"] = MoneyJson(row.balance);
  return j;
}

// ---- pay

void AddPayCommand(CLI::App& app, int& exitCode) {
  struct PayOptions {
    std::string dir, loan, date, amount, note;
    bool json = false;
  };
  auto o = std::make_shared<PayOptions>();
  CLI::App* sub = app.add_subcommand("pay", "record a payment of a saved loan and print how it was applied");
  AddDirOption(sub, o->dir, true);
  AddLoanOption(sub, o->loan);
  sub->add_option("--date", o->date, "the payment's date, MM/DD/YYYY")->type_name("DATE")->required();
  sub->add_option("--amount", o->amount, "the amount paid")->type_name("AMOUNT")->required();
  sub->add_option("--note", o->note, "a note kept with the payment (at most 60 characters)")
      ->type_name("TEXT")
      ->check(FitsField(records::kPaymentNoteWidth));
  sub->add_flag("--json", o->json, "print how it was applied as one JSON object");
  sub->callback([o, &exitCode] {
    const ActualPayment payment{DateArg("--date", o->date), MoneyArg("--amount", o->amount), o->note};
    auto r = OpenRecords(o->dir, exitCode);
    if (!r) return;
    if (!Ran(r->AddPayments(o->loan, {payment}), exitCode)) return;
    const auto l = LoadLedger(*r, o->loan, exitCode);
    if (!l) return;
    // The new payment is the last one recorded on its date.
    const std::vector<ActualPayment>& payments = l->in.payments;
    std::size_t index = payments.size();
    for (std::size_t k = 0; k < payments.size(); ++k)
      if (payments[k].date == payment.date) index = k;
    const LedgerRow* row = records::RowOfPayment(l->ledger, index);
    if (!row) return;
    if (o->json) {
      std::cout << RowJson(*row).dump() << "\n";
      return;
    }
    std::vector<std::pair<std::string, std::string>> lines = {
        {"Date:", DateText(row->date)},
        {"Amount:", MoneyText(row->amount)},
        {"Days:", std::to_string(row->days)},
        {"Interest:", MoneyText(row->interest)},
        {"Principal:", MoneyText(row->principal)},
        {"Unpaid Interest:", MoneyText(row->unpaidInterest)},
        {"Balance:", MoneyText(row->balance)}};
    if (CentsOf(row->overpaid) != 0) lines.push_back({"Overpaid:", MoneyText(row->overpaid)});
    std::cout << Block("Payment of Loan " + l->loan.loanNo, lines);
  });
}

// ---- ledger

// The summary, then the scheduled and actual payments side by side, as the
// printed ledger lays them out.
std::string LedgerText(const records::Loan& loan, const Ledger& l, const records::LedgerSummary& s) {
  const LocaleFormat& loc = UserLocale();
  std::string out = Block("Payment Ledger of Loan " + loan.loanNo,
                          {{"As Of:", DateText(s.asOf)},
                           {"Balance:", MoneyText(s.balance)},
                           {"Unpaid Interest:", MoneyText(s.unpaidInterest)},
                           {"Interest Charged Through:", records::SummaryDateText(s.paidThrough)},
                           {"Paid:", MoneyText(s.paid)},
                           {"Scheduled:", MoneyText(s.scheduled)},
                           {"Ahead or Behind:", records::AheadBehindText(s, loc)},
                           {"Next Payment Due:", records::SummaryDateText(s.nextDue)}});
  auto line = [&](const std::vector<std::string>& cells) {
    std::string text = Format("%-10s %5s %13s %13s %5s %12s %13s %11s %14s  %s",
                              {cells[0], cells[1], cells[2], cells[3], cells[4], cells[5], cells[6], cells[7],
                               cells[8], cells[9]},
                              loc);
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text + "\n";
  };
  out += "\n" + line({"Date", "#", "Scheduled", "Paid", "Days", "Interest", "Principal", "Unpaid Int",
                      "Balance", "Note"});
  auto amount = [&](double v) { return FormatNumber(v, 2, loc); };
  for (const records::LedgerLine& ll : records::LedgerLines(l)) {
    std::vector<std::string> cells(10);
    cells[0] = DateText(ll.date);
    if (ll.scheduledRow >= 0) {
      const ScheduleRow& r = l.scheduled[static_cast<std::size_t>(ll.scheduledRow)];
      cells[1] = std::to_string(r.pmtNo);
      cells[2] = amount(r.payment);
    }
    if (ll.ledgerRow >= 0) {
      const LedgerRow& r = l.rows[static_cast<std::size_t>(ll.ledgerRow)];
      cells[3] = amount(r.amount);
      cells[4] = std::to_string(r.days);
      cells[5] = amount(r.interest);
      cells[6] = amount(r.principal);
      cells[7] = amount(r.unpaidInterest);
      cells[8] = amount(r.balance);
      cells[9] = r.note;
    }
    out += line(cells);
  }
  return out;
}

void AddLedgerCommand(CLI::App& app, int& exitCode) {
  struct LedgerOptions {
    std::string dir, loan, asOf;
    bool json = false, csv = false;
  };
  auto o = std::make_shared<LedgerOptions>();
  CLI::App* sub = app.add_subcommand(
      "ledger", "a saved loan's payments beside its schedule: balance, ahead or behind, next due");
  AddDirOption(sub, o->dir, true);
  AddLoanOption(sub, o->loan);
  sub->add_option("--as-of", o->asOf, "the day the balance and ahead or behind are worked out for (default today)")
      ->type_name("DATE");
  CLI::Option* json = sub->add_flag("--json", o->json, "print the summary and the payments as one JSON object");
  CLI::Option* csv =
      sub->add_flag("--csv", o->csv, "print the scheduled and actual payments as CSV (the window's Export)");
  json->excludes(csv);
  sub->callback([o, sub, &exitCode] {
    const Date asOf = sub->count("--as-of") > 0 ? DateArg("--as-of", o->asOf) : TodayDate();
    const auto l = ReadLedger(o->dir, o->loan, exitCode);
    if (!l) return;
    if (o->csv) {
      const std::string out = records::LedgerCsv(l->ledger);
      std::fwrite(out.data(), 1, out.size(), stdout);
      return;
    }
    records::LedgerSummary s;
    if (!Ran(records::SummarizeLedger(l->ledger, asOf, s), exitCode)) return;
    if (!o->json) {
      std::cout << LedgerText(l->loan, l->ledger, s);
      return;
    }
    Json j;
    j["Balance"] = MoneyJson(s.balance);
    j["UnpaidInterest"] = MoneyJson(s.unpaidInterest);
    j["PaidThrough"] = DateJson(s.paidThrough);
    j["AheadPayments"] = s.aheadPayments;
    j["AheadAmount"] = MoneyJson(s.aheadAmount);
    j["NextDue"] = DateJson(s.nextDue);
    j["rows"] = Json::array();
    for (const LedgerRow& row : l->ledger.rows) {
      Json rj = RowJson(row);
      rj["Note"] = row.note;
      j["rows"].push_back(std::move(rj));
    }
    std::cout << j.dump() << "\n";
  });
}

// ---- payoff

void AddPayoffCommand(CLI::App& app, int& exitCode) {
  struct PayoffOptions {
    std::string dir, loan, date;
    bool json = false;
  };
  auto o = std::make_shared<PayoffOptions>();
  CLI::App* sub = app.add_subcommand(
      "payoff", "what pays a saved loan off on a day, with the per diem");
  AddDirOption(sub, o->dir, true);
  AddLoanOption(sub, o->loan);
  sub->add_option("--date", o->date, "the payoff date, MM/DD/YYYY")->type_name("DATE")->required();
  sub->add_flag("--json", o->json, "print the quote as one JSON object");
  sub->callback([o, &exitCode] {
    const Date date = DateArg("--date", o->date);
    const auto l = ReadLedger(o->dir, o->loan, exitCode);
    if (!l) return;
    records::PayoffQuote q;
    if (!Ran(records::QuotePayoff(l->ledger, date, q), exitCode)) return;
    if (o->json) {
      Json j;
      j["Date"] = DateJson(q.date);
      j["Balance"] = MoneyJson(q.balance);
      j["UnpaidInterest"] = MoneyJson(q.unpaidInterest);
      j["AccruedInterest"] = MoneyJson(q.accruedInterest);
      j["Payoff"] = MoneyJson(q.payoff);
      j["PerDiem"] = MoneyJson(q.perDiem);
      std::cout << j.dump() << "\n";
      return;
    }
    std::cout << Block("Payoff of Loan " + l->loan.loanNo,
                       {{"Payoff Date:", DateText(q.date)},
                        {"Interest Charged Through:", records::SummaryDateText(q.paidThrough)},
                        {"Days:", std::to_string(q.days)},
                        {"Balance:", MoneyText(q.balance)},
                        {"Unpaid Interest:", MoneyText(q.unpaidInterest)},
                        {"Accrued Interest:", MoneyText(q.accruedInterest)},
                        {"Payoff:", MoneyText(q.payoff)},
                        {"Per Diem:", MoneyText(q.perDiem)}});
  });
}

// ---- interest-paid

void AddInterestPaidCommand(CLI::App& app, int& exitCode) {
  struct YearOptions {
    std::string dir, loan, year;
    bool json = false;
  };
  auto o = std::make_shared<YearOptions>();
  CLI::App* sub = app.add_subcommand(
      "interest-paid", "interest and principal a saved loan's payments paid in a calendar year");
  AddDirOption(sub, o->dir, true);
  AddLoanOption(sub, o->loan);
  sub->add_option("--year", o->year, "the calendar year, 1600 to 3999")->type_name("YYYY")->required();
  sub->add_flag("--json", o->json, "print the year's figures as one JSON object");
  sub->callback([o, &exitCode] {
    const std::int16_t year = CountArg("--year", o->year);
    const auto l = ReadLedger(o->dir, o->loan, exitCode);
    if (!l) return;
    records::YearPaid y;
    if (!Ran(records::PaidInYear(l->ledger, year, y), exitCode)) return;
    if (o->json) {
      Json j;
      j["Year"] = y.year;
      j["Interest"] = MoneyJson(y.interest);
      j["Principal"] = MoneyJson(y.principal);
      j["Payments"] = y.payments;
      std::cout << j.dump() << "\n";
      return;
    }
    std::cout << Block("Paid in " + std::to_string(y.year) + ", Loan " + l->loan.loanNo,
                       {{"Payments:", std::to_string(y.payments)},
                        {"Interest:", MoneyText(y.interest)},
                        {"Principal:", MoneyText(y.principal)},
                        {"Total Paid:", MoneyText(y.amount)}});
  });
}

// ---- import

void AddImportCommand(CLI::App& app, int& exitCode) {
  struct ImportOptions {
    std::string dir, loan, file;
    records::StatementColumns columns;
  };
  auto o = std::make_shared<ImportOptions>();
  CLI::App* sub = app.add_subcommand(
      "import", "record the payments of a lender's CSV statement, all or none");
  AddDirOption(sub, o->dir, true);
  AddLoanOption(sub, o->loan);
  sub->add_option("file", o->file, "the statement, a CSV file with a header line")->type_name("FILE.csv")->required();
  sub->add_option("--date-column", o->columns.date,
                  "the date column, by its header or its number from 1 (default: the one named like a date)")
      ->type_name("C");
  sub->add_option("--amount-column", o->columns.amount,
                  "the amount column, by its header or its number from 1 (default: the one named like an amount)")
      ->type_name("C");
  sub->callback([o, &exitCode] {
    std::error_code ec;
    if (!std::filesystem::exists(o->file, ec)) throw BadArgument(Quoted(o->file) + " does not exist");
    if (!std::filesystem::is_regular_file(o->file, ec)) throw BadArgument(Quoted(o->file) + " is not a file");
    const std::uintmax_t size = std::filesystem::file_size(o->file, ec);
    if (ec || size > kMaxStatementBytes)
      throw BadArgument(Quoted(o->file) + " is larger than " + std::to_string(kMaxStatementBytes >> 20) + " MB");
    std::ifstream in(o->file, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in && !in.eof()) throw BadArgument(Quoted(o->file) + " can't be read");

    auto r = OpenRecords(o->dir, exitCode);
    if (!r) return;
    const auto loan = FoundLoan(*r, o->loan, exitCode);
    if (!loan) return;
    records::StatementImport im;
    const Outcome read = records::ImportStatement(text, o->columns, records::LedgerTermsOf(loan->terms),
                                                  r->Payments(loan->loanNo), im, UserLocale());
    if (!read.ok()) {
      exitCode = Finish(read);
      return;
    }
    if (!im.payments.empty()) {
      const Outcome added = r->AddPayments(loan->loanNo, im.payments);
      if (!added.ok()) {
        exitCode = Finish(added);
        return;
      }
    }
    std::string said = ShownText(read.FirstText());
    while (!said.empty() && said.back() == '\n') said.pop_back();
    std::cout << said << "\n";
  });
}

}  // namespace

int DeleteRecordedPayment(const std::string& dir, const std::string& loanNo, Date date,
                          std::optional<double> amount) {
  int exitCode = kExitOk;
  auto r = OpenRecords(dir, exitCode);
  if (!r) return exitCode;
  const auto loan = FoundLoan(*r, loanNo, exitCode);
  if (!loan) return exitCode;
  std::vector<ActualPayment> found;
  for (const ActualPayment& p : r->Payments(loan->loanNo))
    if (p.date == date && (!amount || CentsOf(p.amount) == CentsOf(*amount))) found.push_back(p);
  const std::string day = DateText(date);
  if (found.empty()) {
    const std::string what = amount ? "no payment of " + MoneyText(*amount) + " on " : "no payment on ";
    return Finish(Outcome::Refuse({"Loan " + loan->loanNo + " has " + what + day + ".\n\n", BoxType::Warning}));
  }
  const bool severalAmounts = std::any_of(found.begin(), found.end(), [&](const ActualPayment& p) {
    return CentsOf(p.amount) != CentsOf(found.front().amount);
  });
  if (severalAmounts)
    return Finish(Outcome::Refuse({"Loan " + loan->loanNo + " has " + std::to_string(found.size()) +
                                       " payments on " + day + ".\n\nGive --amount to pick one.\n\n",
                                   BoxType::Warning}));
  const Outcome deleted = r->DeletePayment(loan->loanNo, found.front());
  exitCode = Finish(deleted);
  if (deleted.ok()) std::cout << "Payment " << day << "  " << MoneyText(found.front().amount) << " deleted.\n";
  return exitCode;
}

void AddLedgerCommands(CLI::App& app, int& exitCode) {
  AddPayCommand(app, exitCode);
  AddLedgerCommand(app, exitCode);
  AddPayoffCommand(app, exitCode);
  AddImportCommand(app, exitCode);
  AddInterestPaidCommand(app, exitCode);
}

}  // namespace brevika::cli
