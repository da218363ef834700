// Speed of the loan records: a durable save and a load of a full schedule
// (1,561 rows), and opening a TRANS.DBF of 500,000 rows with its tag.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "records/loan_records.h"
#include "tables/database.h"

namespace {

using namespace brevika;
using namespace brevika::records;

std::string MakeFolder(const char* name) {
  const std::string path = (std::filesystem::temp_directory_path() / name).string();
  std::filesystem::remove_all(path);
  std::filesystem::create_directories(path);
  return path;
}

// 1,560 weekly payments: the largest schedule the row table holds.
const Schedule& FullSchedule() {
  static const Schedule s = [] {
    ScheduleInputs in;
    in.PV = 250000;
    in.NumPmts = kMaxPeriods;
    in.Rate = 6.5f;
    in.PYR = 0;  // weekly
    in.CmpPYR = 3;
    in.OrgDate = MakeDate(1, 1, 2024);
    in.FrstPmtDate = MakeDate(8, 1, 2024);
    Schedule s;
    if (!s.Calculate(in).ok()) std::abort();
    return s;
  }();
  return s;
}

LoanTerms FullTerms() {
  LoanTerms t;
  t.amount = 250000;
  t.term = kMaxPeriods;
  t.rate = 6.5f;
  t.pmtsPerYr = 0;
  t.origDate = MakeDate(1, 1, 2024);
  t.firstPmtDate = MakeDate(8, 1, 2024);
  return t;
}

// A book with some other loans around the one saved and loaded.
std::unique_ptr<LoanRecords> Book(const std::string& folder, std::string& loanNo) {
  Outcome o;
  auto r = LoanRecords::Open(folder, o);
  if (!r) std::abort();
  for (int i = 0; i < 3; ++i) {
    Loan l;
    if (!r->SaveNewLoan("DEFAULT", l, FullSchedule()).ok()) std::abort();
    if (i == 1) loanNo = l.loanNo;
  }
  return r;
}

// Replaces a loan's terms and all its rows, synced to disk.
void BM_SaveFullSchedule(benchmark::State& state) {
  const std::string folder = MakeFolder("brevika-bench-save");
  std::string loanNo;
  auto r = Book(folder, loanNo);
  const LoanTerms terms = FullTerms();
  for (auto _ : state) {
    if (!r->SaveSchedule(loanNo, terms, FullSchedule(), true).ok()) state.SkipWithError("save failed");
  }
  r.reset();
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_SaveFullSchedule)->Unit(benchmark::kMillisecond)->Iterations(40);

// A new loan with its cross-reference and all its rows, synced to disk.
void BM_SaveNewLoanFullSchedule(benchmark::State& state) {
  const std::string folder = MakeFolder("brevika-bench-new");
  std::string loanNo;
  auto r = Book(folder, loanNo);
  for (auto _ : state) {
    Loan l;
    if (!r->SaveNewLoan("DEFAULT", l, FullSchedule()).ok()) state.SkipWithError("save failed");
  }
  r.reset();
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_SaveNewLoanFullSchedule)->Unit(benchmark::kMillisecond)->Iterations(40);

void BM_LoadFullSchedule(benchmark::State& state) {
  const std::string folder = MakeFolder("brevika-bench-load");
  std::string loanNo;
  auto r = Book(folder, loanNo);
  Schedule s;
  Loan loan;
  for (auto _ : state) {
    if (!r->LoadSchedule(loanNo, loan, s).ok()) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(s.row(kMaxPeriods).balance);
  }
  r.reset();
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_LoadFullSchedule)->Unit(benchmark::kMillisecond);

// Opens the folder and TRANS.DBF with 500,000 rows (320 loans), tag built.
void BM_OpenTrans500k(benchmark::State& state) {
  const std::string folder = MakeFolder("brevika-bench-open");
  {
    Outcome o;
    auto db = tables::Database::Open(folder, o);
    tables::Table* t = db->Use(TransTable(), o);
    if (!t || !db->Begin().ok()) std::abort();
    const Schedule& s = FullSchedule();
    for (int i = 0; i < 500000; ++i) {
      const ScheduleRow& row = s.row(i % (kMaxPeriods + 1));
      t->AppendBlank();
      // Loans in a scattered order, so the tag has real sorting to do.
      t->ReplaceString("LOANNO", std::to_string((i / (kMaxPeriods + 1)) * 7919 % 1000 + 1));
      t->ReplaceString("PMTNOYR", row.periodLabel);
      t->ReplaceDate("TRANSDATE", row.date);
      t->ReplaceNumber("PMT", row.payment);
      t->ReplaceNumber("PRINBAL", row.balance);
      t->ReplaceNumber("TRANSNO", row.pmtNo);
      t->ReplaceLogical("CALCULATED", true);
    }
    if (!db->Commit().ok()) std::abort();
  }
  const auto bytes = std::filesystem::file_size(folder + "/TRANS.DBF");
  for (auto _ : state) {
    Outcome o;
    auto db = tables::Database::Open(folder, o);
    tables::Table* t = db ? db->Use(TransTable(), o) : nullptr;
    if (!t || t->RecCount() != 500000) state.SkipWithError("open failed");
    benchmark::DoNotOptimize(t);
  }
  state.counters["MB"] = static_cast<double>(bytes) / 1e6;
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_OpenTrans500k)->Unit(benchmark::kMillisecond)->Iterations(5);

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
