// Speed of the schedule engine on the largest schedule (1560 weekly payments),
// and how many heap allocations one calculation makes (the target is none).
// With 100 events that keep the loan's 1560 payments, the calculation is to
// stay under twice the time of the same schedule without events, whether
// the schedule without events is kept from the last calculation (the same
// terms) or waits to be built for new terms (it is built only when the
// comparison, the chart or the report asks for it). The "WithSavings" case
// asks for the comparison after every calculation, as the window does.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "amortization/schedule.h"
#include "finance/items.h"

namespace {
std::atomic<long long> g_allocations{0};
}  // namespace

// The counting operators pair malloc with free; GCC cannot see that through
// the replacement and warns of a mismatch.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

using namespace brevika;

ScheduleInputs Weekly(AmortMethod method, int basis, int pointsHow) {
  ScheduleInputs in;
  in.PV = 250000;
  in.NumPmts = kMaxPeriods;
  in.Rate = 6.75f;
  in.Points = 1.5f;
  in.OrgDate = MakeDate(20, 12, 1999);
  in.FrstPmtDate = MakeDate(3, 1, 2000);  // a long first period
  in.PYR = 0;                             // weekly
  in.AmortMthd = static_cast<int>(method);
  in.RateBasis = basis;
  in.PointsPaidMthd = pointsHow;
  return in;
}

// 100 events on the weekly schedule: 25 rate changes and 25 holidays of 3
// weeks that keep the term, 30 lump sums and 20 runs of 4 weekly extras.
// With the usual choices the extras shorten the term, and each later rate
// change spreads the balance over the payments left again, so the schedule
// still ends with payment 1560. `lower`: every extra lowers the payment
// instead, recomputing it after each of the 110 payments with an extra.
ScheduleInputs WithEvents(ScheduleInputs in, bool lower = false) {
  const EventHow extras = lower ? EventHow::LowerPayment : EventHow::ShorterTerm;
  for (int j = 0; j < 25; ++j) {
    const int at = 20 + 60 * j;  // 20 .. 1460
    in.events.push_back(ScheduleEvent{EventKind::Rate, at, std::nullopt, 0, j % 2 ? 6.75f : 7.25f, EventHow::KeepTerm});
    in.events.push_back(ScheduleEvent{EventKind::Holiday, at + 10, at + 12, 0, 0, EventHow::KeepTerm});
  }
  for (int j = 0; j < 30; ++j)
    in.events.push_back(ScheduleEvent{EventKind::Lump, 35 + 48 * j, std::nullopt, 1500, 0, extras});
  for (int j = 0; j < 20; ++j)
    in.events.push_back(ScheduleEvent{EventKind::Extra, 45 + 70 * j, 48 + 70 * j, 40, 0, extras});
  return in;
}

void Run(benchmark::State& state, ScheduleInputs terms, bool withProgress, bool newTerms = false,
         bool savings = false) {
  Schedule schedule;
  int lastPercent = 0;
  ProgressFn progress;
  if (withProgress) progress = [&](int p) { lastPercent = p; };
  // Allocations of one calculation on an already used schedule.
  ScheduleInputs warm = terms;
  schedule.Calculate(warm, progress);
  const long long before = g_allocations.load();
  warm = terms;
  schedule.Calculate(warm, progress);
  state.counters["allocs_per_calc"] = static_cast<double>(g_allocations.load() - before);
  ScheduleInputs in = terms;
  bool other = false;
  for (auto _ : state) {
    in = terms;  // no allocation: the events fit the list of the last round
    // New terms every round: the schedule without events is computed too.
    if (newTerms && (other = !other)) in.PV += 0.01;
    const Outcome outcome = schedule.Calculate(in, progress);
    if (outcome.refused) state.SkipWithError("calculation refused");
    benchmark::DoNotOptimize(schedule.row(schedule.lastRow()).runInterest);
    if (savings) benchmark::DoNotOptimize(SavingsOf(schedule).interestSaved);
  }
  state.counters["rows"] = schedule.lastRow() + 1;
  benchmark::DoNotOptimize(lastPercent);
}

void BM_ScheduleNormalOrdinary(benchmark::State& s) { Run(s, Weekly(AmortMethod::Normal, kOrdinary, kAtOrigination), false); }
void BM_ScheduleNormalProgress(benchmark::State& s) { Run(s, Weekly(AmortMethod::Normal, kOrdinary, kAtOrigination), true); }
void BM_ScheduleRuleOf78Exact365(benchmark::State& s) { Run(s, Weekly(AmortMethod::RuleOf78, kExact365, kWithFirstPayment), false); }
void BM_ScheduleFixedPrincipalExact360(benchmark::State& s) { Run(s, Weekly(AmortMethod::FixedPrincipal, kExact360, kPointsAmortized), false); }
void BM_ScheduleInterestOnly(benchmark::State& s) { Run(s, Weekly(AmortMethod::InterestOnly, kOrdinary, kAtOrigination), false); }

void BM_ScheduleNormalEvents(benchmark::State& s) { Run(s, WithEvents(Weekly(AmortMethod::Normal, kOrdinary, kAtOrigination)), false); }
void BM_ScheduleNormalEventsLowerPayment(benchmark::State& s) { Run(s, WithEvents(Weekly(AmortMethod::Normal, kOrdinary, kAtOrigination), true), false); }
void BM_ScheduleNormalEventsNewTerms(benchmark::State& s) { Run(s, WithEvents(Weekly(AmortMethod::Normal, kOrdinary, kAtOrigination)), false, true); }
void BM_ScheduleNormalEventsNewTermsWithSavings(benchmark::State& s) { Run(s, WithEvents(Weekly(AmortMethod::Normal, kOrdinary, kAtOrigination)), false, true, true); }
void BM_ScheduleFixedPrincipalEventsExact360(benchmark::State& s) { Run(s, WithEvents(Weekly(AmortMethod::FixedPrincipal, kExact360, kPointsAmortized)), false); }

void BM_ScheduleYearTotals(benchmark::State& state) {
  Schedule schedule;
  ScheduleInputs in = Weekly(AmortMethod::Normal, kOrdinary, kAtOrigination);
  schedule.Calculate(in);
  const int tabs = static_cast<int>(schedule.yearTabs().size());
  for (auto _ : state) {
    for (int t = 0; t < tabs; ++t) {
      auto [first, last] = schedule.SelectYear(t);
      benchmark::DoNotOptimize(schedule.Totals(first, last));
    }
  }
}

}  // namespace

BENCHMARK(BM_ScheduleNormalOrdinary)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_ScheduleNormalProgress)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_ScheduleRuleOf78Exact365)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_ScheduleFixedPrincipalExact360)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_ScheduleInterestOnly)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_ScheduleNormalEvents)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_ScheduleNormalEventsLowerPayment)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_ScheduleNormalEventsNewTerms)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_ScheduleNormalEventsNewTermsWithSavings)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_ScheduleFixedPrincipalEventsExact360)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_ScheduleYearTotals)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
