// brevika-calc accounts add, records, load, delete and `schedule --save`:
// the loan records, through the same calls as the loan information dialog.
// Each command opens the tables of --dir (default: the folder the program
// keeps them in); a refusal prints its message and leaves them unchanged.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "amortization/amort_records.h"
#include "amortization/schedule.h"
#include "amortization/schedule_csv.h"
#include "cli/cli.h"
#include "finance/rates.h"
#include "records/loan_records.h"
#include "records/loan_tables.h"
#include "tables/dbf_format.h"

namespace brevika::cli {

using records::LoanRecords;

std::string DefaultFolder() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return records::TablesFolder(ec ? std::string() : exe.parent_path().string());
}

void AddDirOption(CLI::App* sub, std::string& dir, bool mustExist) {
  sub->add_option("--dir", dir, "folder of the loan tables (default " + DefaultFolder() + ")")
      ->type_name("DIR")
      ->check(CLI::Validator(
          [mustExist](std::string& s) {
            if (s.empty()) return std::string("the folder name is empty");
            std::error_code ec;
            if (mustExist && !std::filesystem::exists(s, ec)) return Quoted(s) + " does not exist";
            return std::string();
          },
          ""));
}

namespace {

int FieldWidth(const tables::TableDef& def, const char* name) {
  for (const tables::FieldDef& f : def.fields)
    if (f.name == name) return f.length;
  return 0;
}

}  // namespace

CLI::Validator FitsField(int width) {
  return CLI::Validator(
      [width](std::string& s) -> std::string {
        const std::string bytes = tables::Utf8ToCp1252(s);
        if (tables::Cp1252ToUtf8(bytes) != s) return Quoted(s) + " has characters the tables can't hold";
        if (bytes.size() > static_cast<std::size_t>(width))
          return Quoted(s) + " is longer than " + std::to_string(width) + " characters";
        return {};
      },
      "");
}

CLI::Validator LoanNumber() { return FitsField(FieldWidth(records::LoansTable(), "LOANNO")); }

void AddLoanOption(CLI::App* sub, std::string& loan) {
  sub->add_option("--loan", loan, "loan number")->type_name("N")->required()->check(LoanNumber());
}

std::unique_ptr<LoanRecords> OpenRecords(const std::string& dir, int& exitCode, bool readOnly) {
  Outcome opened;
  records::RecordsOptions options;
  options.readOnly = readOnly;
  auto r = LoanRecords::Open(dir.empty() ? DefaultFolder() : dir, opened, options);
  if (!r) exitCode = Finish(opened);
  return r;
}

namespace {

CLI::Validator AccountNumber() { return FitsField(FieldWidth(records::AccountsTable(), "ACCOUNTNO")); }

std::string ItemText(const ItemList& items, int index) {
  return index >= 0 && index < static_cast<int>(items.size()) ? items[static_cast<std::size_t>(index)]
                                                                : std::to_string(index);
}

// ---- accounts add

struct AccountOptions {
  std::string dir;
  records::Account account;
};

void AddAccountsCommand(CLI::App& app, int& exitCode) {
  auto o = std::make_shared<AccountOptions>();
  CLI::App* accounts = app.add_subcommand("accounts", "accounts of the loan records");
  accounts->require_subcommand(1, 1);
  CLI::App* sub = accounts->add_subcommand(
      "add", "add an account and print its number (made from the names unless --account-no is given)");
  AddDirOption(sub, o->dir);
  records::Account& a = o->account;
  const tables::TableDef& def = records::AccountsTable();
  const struct {
    const char* option;
    const char* field;
    std::string* value;
    const char* help;
  } texts[] = {
      {"--account-no", "ACCOUNTNO", &a.accountNo, "the account number, instead of one made from the names"},
      {"--last-name", "LASTNAME", &a.lastName, "last name"},
      {"--first-name", "FIRSTNAME", &a.firstName, "first name"},
      {"--address1", "ADDRESS1", &a.address1, "address, first line"},
      {"--address2", "ADDRESS2", &a.address2, "address, second line"},
      {"--city", "CITY", &a.city, "city"},
      {"--state", "STATE", &a.state, "state"},
      {"--zip", "ZIP", &a.zip, "zip"},
      {"--phone", "PHONE1", &a.phone1, "phone"},
  };
  for (const auto& t : texts) sub->add_option(t.option, *t.value, t.help)->check(FitsField(FieldWidth(def, t.field)));
  sub->footer("Without --account-no both names are needed.");

  sub->callback([o, sub, &exitCode] {
    auto r = OpenRecords(o->dir, exitCode);
    if (!r) return;
    records::Account a = o->account;
    const records::IdMode mode =
        sub->count("--account-no") ? records::IdMode::UserEntered : records::IdMode::Generate;
    const Outcome added = r->AddAccount(a, mode);
    exitCode = Finish(added);
    if (added.ok()) std::cout << a.accountNo << "\n";
  });
}

// ---- records

Json AccountJson(const records::Account& a, const std::vector<records::LoanSummary>& loans) {
  Json j;
  j["ACCOUNTNO"] = a.accountNo;
  j["LASTNAME"] = a.lastName;
  j["FIRSTNAME"] = a.firstName;
  j["MI"] = a.mi;
  j["BUSINESS"] = a.business;
  j["ADDRESS1"] = a.address1;
  j["ADDRESS2"] = a.address2;
  j["CITY"] = a.city;
  j["STATE"] = a.state;
  j["ZIP"] = a.zip;
  j["COUNTRY"] = a.country;
  j["PHONE1"] = a.phone1;
  j["PHONE2"] = a.phone2;
  j["PHONE2EXT"] = a.phone2Ext;
  j["COMMENT"] = a.comment;
  j["USERID"] = a.userId;
  j["RECORDDATE"] = DateText(a.recordDate);
  j["RECORDTIME"] = a.recordTime;
  j["loans"] = Json::array();
  for (const records::LoanSummary& l : loans) {
    Json lj;
    lj["LOANNO"] = l.loanNo;
    lj["COLLATERIA"] = l.collateral;
    lj["FRSTPMTDT"] = DateText(l.firstPmtDate);
    lj["INITAMT"] = MoneyJson(l.amount);
    lj["INITTERM"] = l.term;
    lj["INITRATE"] = DoubleJson(l.rate);
    j["loans"].push_back(std::move(lj));
  }
  return j;
}

// One line per account, then one per loan of it, as the dialog's browses
// show them: loan number, first payment, amount, term, rate, collateral.
std::string AccountText(const records::Account& a, const std::vector<records::LoanSummary>& loans) {
  std::string line = a.accountNo;
  std::string name = a.lastName;
  if (!a.firstName.empty()) name += (name.empty() ? "" : ", ") + a.firstName;
  for (const std::string& part : {name, a.business, a.city})
    if (!part.empty()) line += "  " + part;
  std::string out = line + "\n";
  for (const records::LoanSummary& l : loans) {
    const LocaleFormat& loc = UserLocale();
    std::string row = Format("  %-9s  %10s  %18s  %6s  %9s  %s",
                             {l.loanNo, DateText(l.firstPmtDate), FormatNumber(l.amount, 2, loc),
                              FormatNumber(l.term, 0, loc), RateText(l.rate, loc), l.collateral});
    while (!row.empty() && row.back() == ' ') row.pop_back();
    out += row + "\n";
  }
  return out;
}

void AddListCommand(CLI::App& app, int& exitCode) {
  struct ListOptions {
    std::string dir;
    bool json = false;
  };
  auto o = std::make_shared<ListOptions>();
  CLI::App* sub = app.add_subcommand("records", "list the accounts and their loans");
  AddDirOption(sub, o->dir, true);
  sub->add_flag("--json", o->json, "print them as one JSON object");
  sub->callback([o, &exitCode] {
    auto r = OpenRecords(o->dir, exitCode, true);
    if (!r) return;
    Json j;
    j["accounts"] = Json::array();
    std::string text;
    for (const records::Account& a : r->Accounts()) {
      const auto loans = r->LoansOfAccount(a.accountNo);
      if (o->json) j["accounts"].push_back(AccountJson(a, loans));
      else text += AccountText(a, loans);
    }
    if (o->json) std::cout << j.dump() << "\n";
    else std::cout << text;
  });
}

// ---- load

Json TermsJson(const records::LoanTerms& t) {
  Json j;
  j["PV"] = MoneyJson(t.amount);
  j["NumPmts"] = t.term;
  j["Rate"] = FloatJson(t.rate);
  j["Points"] = FloatJson(t.points);
  j["OrgDate"] = DateText(t.origDate);
  j["FrstPmtDate"] = DateText(t.firstPmtDate);
  j["PYR"] = ItemText(PaymentPeriodItems(), t.pmtsPerYr);
  j["CmpPYR"] = ItemText(CompoundingPeriodItems(), t.cmpPerYr);
  j["AmortMthd"] = ItemText(AmortizingMethodItems(), t.amortMthd);
  j["RateBasis"] = ItemText(InterestBasisItems(), t.rateBasis);
  return j;
}

Json RowsJson(const Schedule& s) {
  Json rows = Json::array();
  for (int k = 0; k <= s.lastRow(); ++k) {
    const ScheduleRow& r = s.row(k);
    Json j;
    j["PmtNo"] = r.pmtNo;
    j["PeriodLabel"] = std::string(r.periodLabel);
    j["Date"] = FormatIsoDate(r.date);
    j["Payment"] = MoneyJson(r.payment);
    j["Principal"] = MoneyJson(r.principal);
    j["Interest"] = MoneyJson(r.interest);
    j["Balance"] = MoneyJson(r.balance);
    j["RunPayment"] = MoneyJson(r.runPayment);
    j["RunPrincipal"] = MoneyJson(r.runPrincipal);
    j["RunInterest"] = MoneyJson(r.runInterest);
    rows.push_back(std::move(j));
  }
  return rows;
}

void AddLoadCommand(CLI::App& app, int& exitCode) {
  struct LoadOptions {
    std::string dir, loan;
    bool json = false;
    PdfOptions pdf;
  };
  auto o = std::make_shared<LoadOptions>();
  CLI::App* sub = app.add_subcommand("load", "print a saved schedule as CSV, the columns of 'schedule'");
  AddDirOption(sub, o->dir, true);
  AddLoanOption(sub, o->loan);
  CLI::Option* json = sub->add_flag("--json", o->json, "print the loan's terms and rows as one JSON object");
  AddPdfOptions(sub, o->pdf)->excludes(json);
  sub->callback([o, sub, &exitCode] {
    const ScheduleReportSetup setup = ReportSetupOf(sub, o->pdf);
    auto r = OpenRecords(o->dir, exitCode, true);
    if (!r) return;
    records::Loan loan;
    auto schedule = std::make_unique<Schedule>();
    const Outcome loaded = r->LoadSchedule(o->loan, loan, *schedule);
    exitCode = Finish(loaded);
    if (!loaded.ok()) return;
    ScheduleInputs in = ToScheduleInputs(AmortInputs{}, AmortChoices{});
    records::ApplyTerms(loan.terms, in);
    // The saved events applied again give the report its comparison.
    if (sub->count("--pdf") > 0) exitCode = std::max(exitCode, Finish(records::ReapplyEvents(in, *schedule)));
    if (sub->count("--pdf") > 0) {
      // The report of the loan's terms, with its account as the borrower.
      const auto account = r->FindAccount(r->AccountOfLoan(loan.loanNo));
      WritePdf(o->pdf, *schedule, ReportTermsWithApr(*schedule, in),
               account ? std::optional<Borrower>(records::BorrowerOf(*account)) : std::nullopt, setup);
      return;
    }
    if (o->json) {
      Json j;
      j["LOANNO"] = loan.loanNo;
      j["ACCOUNTNO"] = r->AccountOfLoan(loan.loanNo);
      j["terms"] = TermsJson(loan.terms);
      // Only a loan saved with events has them, in the --events form.
      if (!loan.terms.events.empty()) j["events"] = EventsJson(loan.terms.events);
      j["rows"] = RowsJson(*schedule);
      std::cout << j.dump() << "\n";
      return;
    }
    const std::string out = ScheduleCsv(*schedule, 0, schedule->lastRow());
    std::fwrite(out.data(), 1, out.size(), stdout);
  });
}

// ---- delete

void AddDeleteCommand(CLI::App& app, int& exitCode) {
  struct DeleteOptions {
    std::string dir, loan, account, payment, amount;
  };
  auto o = std::make_shared<DeleteOptions>();
  CLI::App* sub = app.add_subcommand(
      "delete", "delete a loan with its saved rows, or an account with all its loans, without asking");
  AddDirOption(sub, o->dir, true);
  CLI::Option* loan = sub->add_option("--loan", o->loan, "loan number")->type_name("N")->check(LoanNumber());
  CLI::Option* account =
      sub->add_option("--account", o->account, "account number")->type_name("A")->check(AccountNumber());
  loan->excludes(account);
  // One recorded payment of the loan instead of the loan.
  CLI::Option* payment =
      sub->add_option("--payment", o->payment, "with --loan: delete only the loan's payment of this date")
          ->type_name("DATE");
  CLI::Option* amount =
      sub->add_option("--amount", o->amount, "with --payment: its amount, when the loan has several that day")
          ->type_name("AMOUNT");
  payment->needs(loan);
  amount->needs(payment);
  sub->callback([o, sub, &exitCode] {
    const bool byLoan = sub->count("--loan") > 0;
    if (!byLoan && sub->count("--account") == 0) throw BadArgument("give --loan N or --account A");
    if (sub->count("--payment") > 0) {
      const Date date = DateArg("--payment", o->payment);
      const std::optional<double> cents =
          sub->count("--amount") > 0 ? std::optional<double>(MoneyArg("--amount", o->amount)) : std::nullopt;
      exitCode = DeleteRecordedPayment(o->dir, o->loan, date, cents);
      return;
    }
    auto r = OpenRecords(o->dir, exitCode);
    if (!r) return;
    // Both questions answered: yes, delete; no, don't stop.
    const Outcome deleted = byLoan ? r->DeleteLoan(o->loan) : r->DeleteAccount(o->account);
    exitCode = Finish(deleted);
    if (deleted.ok() && !byLoan) std::cout << records::AccountDeletedStatus(o->account) << "\n";
  });
}

}  // namespace

// ---- schedule --save

void AddSaveOptions(CLI::App* sub, SaveOptions& o) {
  CLI::Option* save = sub->add_flag("--save", o.save, "save the schedule into the loan records (prints the loan number)");
  CLI::Option* account =
      sub->add_option("--account", o.account, "with --save: the account of the loan")
          ->type_name("A")
          ->check(AccountNumber());
  CLI::Option* loan = sub->add_option("--loan", o.loan, "with --save: save into this loan instead of a new one")
                          ->type_name("N")
                          ->check(LoanNumber());
  CLI::Option* replace =
      sub->add_flag("--replace", o.replace, "with --loan: replace the loan's saved terms and rows");
  AddDirOption(sub, o.dir);
  CLI::Option* dir = sub->get_option("--dir");
  save->needs(account);
  account->needs(save);
  loan->needs(save);
  replace->needs(loan);
  dir->needs(save);
  if (CLI::Option* year = sub->get_option_no_throw("--year")) year->excludes(save);
}

int SaveToRecords(const SaveOptions& o, const ScheduleInputs& in, const Schedule& schedule) {
  int exitCode = kExitOk;
  auto r = OpenRecords(o.dir, exitCode);
  if (!r) return exitCode;
  const records::LoanTerms terms = records::TermsOf(in);

  const auto account = r->FindAccount(o.account);
  if (!account) return Finish(Outcome::Refuse({records::kMsgAccountNotFound, BoxType::Error}));
  records::Loan loan;
  Outcome saved;
  if (o.loan.empty()) {
    loan.terms = terms;
    saved = r->SaveNewLoan(account->accountNo, loan, schedule);
  } else {
    // Only a loan of the account, as the dialog offers only those.
    const auto found = r->FindLoan(o.loan);
    if (found && r->AccountOfLoan(found->loanNo) != account->accountNo)
      return Finish(Outcome::Refuse(
          {"Loan " + found->loanNo + " is not a loan of account " + account->accountNo + ".", BoxType::Error}));
    loan.loanNo = found ? found->loanNo : o.loan;
    saved = r->SaveSchedule(loan.loanNo, terms, schedule, o.replace);
  }
  exitCode = Finish(saved);
  if (saved.ok()) std::cout << loan.loanNo << "\n";
  return exitCode;
}

void AddRecordsCommands(CLI::App& app, int& exitCode) {
  AddAccountsCommand(app, exitCode);
  AddListCommand(app, exitCode);
  AddLoadCommand(app, exitCode);
  AddDeleteCommand(app, exitCode);
}

}  // namespace brevika::cli
