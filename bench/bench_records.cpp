// Speed of the loan records at real size: a book of 2,000 loans of 361
// monthly rows (722,000 TRANS.DBF rows, 111 MB) in 100 accounts, each loan
// with its first 12 payments made (24,000 PAYMENTS.DBF rows), written
// straight as dBase III files the way another program would write them
// (no index files). Each case opens the folder as a command does.
//
// The book is left in <temp>/brevika-book-2000 for measuring the command
// line against it (`brevika-calc records --dir ...`); every case works on
// a copy of it.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "records/loan_records.h"
#include "tables/database.h"
#include "tables/dbf_format.h"

namespace {

using namespace brevika;
using namespace brevika::records;
namespace fs = std::filesystem;

constexpr int kLoans = 2000;
constexpr int kAccounts = 100;
constexpr int kPaymentsMade = 12;
const Date kOrg = MakeDate(1, 1, 2024), kFirst = MakeDate(1, 2, 2024);

// 30 years of monthly payments: 361 rows with row 0.
const Schedule& Monthly() {
  static const Schedule s = [] {
    ScheduleInputs in;
    in.PV = 250000;
    in.NumPmts = 360;
    in.Rate = 6.5f;
    in.OrgDate = kOrg;
    in.FrstPmtDate = kFirst;
    Schedule s;
    if (!s.Calculate(in).ok()) std::abort();
    return s;
  }();
  return s;
}

LoanTerms MonthlyTerms() {
  LoanTerms t;
  t.amount = 250000;
  t.term = 360;
  t.rate = 6.5f;
  t.origDate = kOrg;
  t.firstPmtDate = kFirst;
  return t;
}

// Writes one table of `count` rows; `fill` sets the fields of row i.
class DbfFile {
 public:
  DbfFile(const std::string& path, const tables::TableDef& def, std::uint32_t count) : def_(def) {
    out_ = std::fopen(path.c_str(), "wb");
    if (!out_) std::abort();
    const std::vector<char> h = tables::BuildHeader(def.fields, count, kOrg);
    std::fwrite(h.data(), 1, h.size(), out_);
    std::size_t length = 1;
    for (const tables::FieldDef& f : def.fields) {
      offsets_.push_back(length);
      length += static_cast<std::size_t>(f.length);
    }
    row_.assign(length, ' ');
  }
  ~DbfFile() {
    std::fputc(tables::kFileEnd, out_);
    std::fclose(out_);
  }
  char* Field(const char* name) {
    for (std::size_t i = 0; i < def_.fields.size(); ++i)
      if (def_.fields[i].name == name) return row_.data() + offsets_[i];
    std::abort();
  }
  const tables::FieldDef& Def(const char* name) const {
    for (const tables::FieldDef& f : def_.fields)
      if (f.name == name) return f;
    std::abort();
  }
  void Text(const char* name, const std::string& s) {
    char* p = Field(name);
    const std::size_t w = static_cast<std::size_t>(Def(name).length);
    std::memset(p, ' ', w);
    std::memcpy(p, s.data(), std::min(w, s.size()));
  }
  void Number(const char* name, double v) {
    const tables::FieldDef& d = Def(name);
    if (!tables::FormatNumber(v, d.length, d.decimals, Field(name))) std::abort();
  }
  void DateField(const char* name, Date d) { tables::FormatDate(d, Field(name)); }
  void Logical(const char* name, bool v) { *Field(name) = v ? 'T' : 'F'; }
  void Write() {
    std::fwrite(row_.data(), 1, row_.size(), out_);
    std::fill(row_.begin(), row_.end(), ' ');
  }

 private:
  const tables::TableDef& def_;
  std::FILE* out_ = nullptr;
  std::vector<std::size_t> offsets_;
  std::string row_;
};

std::string AccountNo(int a) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "ACCT%03d", a);
  return a == 0 ? std::string(kDefaultAccount) : std::string(buf);
}

void WriteBook(const std::string& folder) {
  fs::remove_all(folder);
  fs::create_directories(folder);
  {
    DbfFile t(folder + "/ACCNTS.DBF", AccountsTable(), kAccounts + 1);
    for (int a = 0; a <= kAccounts; ++a) {
      t.Text("ACCOUNTNO", AccountNo(a));
      if (a > 0) {
        t.Text("LASTNAME", "Borrower" + std::to_string(a));
        t.Text("FIRSTNAME", "Pat");
        t.Text("CITY", "Springfield");
      }
      t.DateField("RECORDDATE", kOrg);
      t.Write();
    }
  }
  {
    DbfFile loans(folder + "/LOANS.DBF", LoansTable(), kLoans);
    DbfFile xref(folder + "/XREF.DBF", XrefTable(), kLoans);
    for (int l = 1; l <= kLoans; ++l) {
      const std::string no = std::to_string(l);
      loans.Text("LOANNO", no);
      loans.Text("COLLATERIA", "House " + no);
      loans.Number("INITAMT", 250000);
      loans.Number("INITTERM", 360);
      loans.DateField("ORIGDATE", kOrg);
      loans.DateField("FRSTPMTDT", kFirst);
      loans.Number("PMTSPERYR", 2);
      loans.Number("CMPPERYR", 3);
      loans.Number("POINTS", 0);
      loans.Number("INITRATE", 6.5);
      loans.Number("AMORTMTHD", 3);
      loans.Number("RATEBASIS", 0);
      loans.Write();
      xref.Text("LOANNO", no);
      xref.Text("ACCOUNTNO", AccountNo(1 + (l - 1) % kAccounts));
      xref.Write();
    }
  }
  {
    DbfFile t(folder + "/SYSINFO.DBF", SysInfoTable(), 1);
    t.Number("LASTLOANNO", kLoans);
    t.Number("SAVECNTS", kLoans);
    t.Write();
  }
  const Schedule& s = Monthly();
  {
    DbfFile p(folder + "/PAYMENTS.DBF", PaymentsTable(), static_cast<std::uint32_t>(kLoans * kPaymentsMade));
    for (int l = 1; l <= kLoans; ++l) {
      for (int k = 1; k <= kPaymentsMade; ++k) {
        p.Text("LOANNO", std::to_string(l));
        p.DateField("PMTDATE", s.row(k).date);
        p.Number("AMOUNT", s.row(k).payment);
        p.Write();
      }
    }
  }
  DbfFile t(folder + "/TRANS.DBF", TransTable(), static_cast<std::uint32_t>(kLoans * (s.lastRow() + 1)));
  for (int l = 1; l <= kLoans; ++l) {
    for (int k = 0; k <= s.lastRow(); ++k) {
      const ScheduleRow& r = s.row(k);
      t.Text("LOANNO", std::to_string(l));
      t.Text("PMTNOYR", r.periodLabel);
      t.DateField("TRANSDATE", r.date);
      t.Number("PMT", r.payment);
      t.Number("INTEREST", r.interest);
      t.Number("PRINCIPAL", r.principal);
      t.Number("PRINBAL", r.balance);
      t.Number("TRANSNO", r.pmtNo);
      t.Number("RUNPMT", r.runPayment);
      t.Number("RUNPRIN", r.runPrincipal);
      t.Number("RUNINT", r.runInterest);
      t.Logical("ACTUAL", false);
      t.Logical("CALCULATED", true);
      t.Text("APPLIEDHOW", "PI");
      t.Write();
    }
  }
}

// The book as another program wrote it, made once per run.
const std::string& Book() {
  static const std::string folder = [] {
    const std::string f = (fs::temp_directory_path() / "brevika-book-2000").string();
    WriteBook(f);
    return f;
  }();
  return folder;
}

// A working copy of the book, opened once for changes so that whatever the
// program keeps beside the tables is in place, as after any earlier use.
std::string FreshCopy(const char* name) {
  const std::string work = (fs::temp_directory_path() / name).string();
  fs::remove_all(work);
  fs::copy(Book(), work);
  Outcome o;
  if (!LoanRecords::Open(work, o)) std::abort();
  return work;
}

std::unique_ptr<LoanRecords> OpenBook(const std::string& folder) {
  Outcome o;
  auto r = LoanRecords::Open(folder, o);
  if (!r) std::abort();
  return r;
}

// What `records` does: every account with its loans.
void BM_Book_Records(benchmark::State& state) {
  const std::string work = FreshCopy("brevika-bench-records");
  for (auto _ : state) {
    auto r = OpenBook(work);
    std::size_t n = 0;
    for (const Account& a : r->Accounts()) n += r->LoansOfAccount(a.accountNo).size();
    if (n != kLoans) state.SkipWithError("wrong loan count");
  }
  fs::remove_all(work);
}
BENCHMARK(BM_Book_Records)->Unit(benchmark::kMillisecond)->Iterations(15);

// Opening the loan information dialog: the tables and the accounts browse.
void BM_Book_OpenDialog(benchmark::State& state) {
  const std::string work = FreshCopy("brevika-bench-dialog");
  for (auto _ : state) {
    auto r = OpenBook(work);
    if (r->Accounts().size() != kAccounts + 1) state.SkipWithError("wrong account count");
  }
  fs::remove_all(work);
}
BENCHMARK(BM_Book_OpenDialog)->Unit(benchmark::kMillisecond)->Iterations(15);

// What `load --loan 1000` does.
void BM_Book_LoadOne(benchmark::State& state) {
  const std::string work = FreshCopy("brevika-bench-load");
  Schedule s;
  for (auto _ : state) {
    auto r = OpenBook(work);
    Loan loan;
    if (!r->LoadSchedule("1000", loan, s).ok() || s.lastRow() != 360) state.SkipWithError("load failed");
  }
  fs::remove_all(work);
}
BENCHMARK(BM_Book_LoadOne)->Unit(benchmark::kMillisecond)->Iterations(15);

// A new loan of 361 rows, synced to disk.
void BM_Book_SaveNew(benchmark::State& state) {
  const std::string work = FreshCopy("brevika-bench-new");
  for (auto _ : state) {
    auto r = OpenBook(work);
    Loan l;
    l.terms = MonthlyTerms();
    if (!r->SaveNewLoan(AccountNo(7), l, Monthly()).ok()) state.SkipWithError("save failed");
  }
  fs::remove_all(work);
}
BENCHMARK(BM_Book_SaveNew)->Unit(benchmark::kMillisecond)->Iterations(15);

// Replaces loan 1000's terms and 361 rows, synced to disk.
void BM_Book_Replace(benchmark::State& state) {
  const std::string work = FreshCopy("brevika-bench-replace");
  for (auto _ : state) {
    auto r = OpenBook(work);
    if (!r->SaveSchedule("1000", MonthlyTerms(), Monthly(), true).ok()) state.SkipWithError("save failed");
  }
  fs::remove_all(work);
}
BENCHMARK(BM_Book_Replace)->Unit(benchmark::kMillisecond)->Iterations(15);

// Records loan 1000's 13th payment, synced to disk: what `pay` does.
void BM_Book_RecordPayment(benchmark::State& state) {
  const std::string work = FreshCopy("brevika-bench-pay");
  Date day = Monthly().row(kPaymentsMade + 1).date;
  for (auto _ : state) {
    auto r = OpenBook(work);
    if (!r->AddPayments("1000", {{day++, 1580.17, "check"}}).ok()) state.SkipWithError("payment refused");
  }
  fs::remove_all(work);
}
BENCHMARK(BM_Book_RecordPayment)->Unit(benchmark::kMillisecond)->Iterations(15);

// Loan 1000's ledger as the ledger window and `ledger` read it: its terms,
// 361 saved rows and its payments, applied.
void BM_Book_Ledger(benchmark::State& state) {
  const std::string work = FreshCopy("brevika-bench-ledger");
  for (auto _ : state) {
    auto r = OpenBook(work);
    Loan loan;
    LedgerInputs in;
    Ledger l;
    if (!r->LoadLedgerInputs("1000", loan, in).ok() || !ComputeLedger(in, l).ok() ||
        l.rows.size() != kPaymentsMade)
      state.SkipWithError("ledger failed");
  }
  fs::remove_all(work);
}
BENCHMARK(BM_Book_Ledger)->Unit(benchmark::kMillisecond)->Iterations(15);

// Deletes loan 1000 (the middle of TRANS.DBF) with its rows, packing the tables.
void BM_Book_DeleteLoan(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    const std::string work = FreshCopy("brevika-bench-delete");
    state.ResumeTiming();
    auto r = OpenBook(work);
    if (!r->DeleteLoan("1000").ok()) state.SkipWithError("delete failed");
    r.reset();
    state.PauseTiming();
    fs::remove_all(work);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_Book_DeleteLoan)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

// ---- Payment ledger: 360 actual payments, and a 10,000-line statement.
#include <cstdio>
#include <vector>

#include "records/ledger.h"
#include "records/statement_import.h"

namespace ledger_bench {

using namespace brevika;
using namespace brevika::records;

// 100,000.00 at 7.5 % over 30 years, paid 360 times: on time, with 200.00
// extra every December and one payment ten days late each year.
LedgerInputs ThirtyYearsPaid() {
  ScheduleInputs in;
  in.PV = 100000;
  in.NumPmts = 360;
  in.Rate = 7.5f;
  in.OrgDate = MakeDate(1, 1, 2024);
  in.FrstPmtDate = MakeDate(1, 2, 2024);
  Schedule s;
  if (!s.Calculate(in).ok()) std::abort();
  LedgerInputs li;
  li.terms = {in.PV, in.Rate, in.RateBasis, in.OrgDate, in.FrstPmtDate, in.PYR, in.CmpPYR, in.AmortMthd};
  for (int k = 0; k <= s.lastRow(); ++k) li.scheduled.push_back(s.row(k));
  for (int k = 1; k <= s.lastRow(); ++k) {
    const ScheduleRow& r = s.row(k);
    li.payments.push_back({k % 12 == 6 ? r.date + 10 : r.date, r.payment + (k % 12 == 11 ? 200 : 0), ""});
  }
  return li;
}

// The ledger, its summary, a payoff quote and the years, as the ledger
// window shows them.
void BM_Ledger360Payments(benchmark::State& state) {
  const LedgerInputs in = ThirtyYearsPaid();
  const Date asOf = MakeDate(15, 6, 2040);
  for (auto _ : state) {
    Ledger l;
    LedgerSummary s;
    PayoffQuote q;
    if (!ComputeLedger(in, l).ok() || !SummarizeLedger(l, asOf, s).ok() || !QuotePayoff(l, asOf, q).ok())
      state.SkipWithError("ledger refused");
    benchmark::DoNotOptimize(PaidByYear(l));
  }
}
BENCHMARK(BM_Ledger360Payments)->Unit(benchmark::kMicrosecond);

void BM_ImportStatement10k(benchmark::State& state) {
  std::string text = "Date,Description,Amount\r\n";
  for (int k = 0; k < 10000; ++k) {
    char line[64];
    std::snprintf(line, sizeof line, "%02d/%02d/%d,Payment,\"$1,%03d.00\"\r\n", (k % 336) / 28 + 1,
                  k % 28 + 1, 2000 + k / 336, k % 1000);
    text += line;
  }
  LedgerTerms terms;
  terms.amount = 1e6;
  terms.rate = 5;
  terms.origination = MakeDate(1, 1, 2000);
  const std::vector<ActualPayment> recorded(100, ActualPayment{MakeDate(1, 1, 2000), 1000, ""});
  for (auto _ : state) {
    StatementImport im;
    if (!ImportStatement(text, {}, terms, recorded, im).ok()) state.SkipWithError("import refused");
    benchmark::DoNotOptimize(im);
  }
}
BENCHMARK(BM_ImportStatement10k)->Unit(benchmark::kMillisecond);

}  // namespace ledger_bench

BENCHMARK_MAIN();
