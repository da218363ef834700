// Speed of rounding to cents, of the loan calculator's solves, of the
// Truth in Lending APR and of comparing loan offers.
#include <benchmark/benchmark.h>

#include "amortization/compare.h"
#include "calculators/loan.h"
#include "calculators/truth_in_lending.h"
#include "finance/rates.h"

namespace {

using namespace brevika;

void BM_RoundToCents(benchmark::State& state) {
  double x = 1234.5678;
  for (auto _ : state) {
    benchmark::DoNotOptimize(RoundToCents(x));
    x += 0.0137;
  }
}
BENCHMARK(BM_RoundToCents);

LoanRecord Terms(double pv, int n, float rate, double pmt) {
  LoanRecord r = NewLoanRecord();
  r.PV = pv;
  r.NumPmts = static_cast<std::int16_t>(n);
  r.Rate = rate;
  r.Pmt = pmt;
  return r;
}

void Solve(benchmark::State& state, const LoanRecord& terms) {
  LoanRecord r = terms;
  for (auto _ : state) {
    r.PV = terms.PV;
    r.NumPmts = terms.NumPmts;
    r.Rate = terms.Rate;
    r.Pmt = terms.Pmt;
    benchmark::DoNotOptimize(CalcLoan(r));
    benchmark::DoNotOptimize(r.TotInt);
  }
}

void BM_SolvePayment(benchmark::State& s) { Solve(s, Terms(100000, 360, 7.5f, 0)); }
void BM_SolveAmount(benchmark::State& s) { Solve(s, Terms(0, 360, 7.5f, 699.21)); }
void BM_SolveTerm(benchmark::State& s) { Solve(s, Terms(100000, 0, 7.5f, 699.21)); }
void BM_SolveRate(benchmark::State& s) { Solve(s, Terms(100000, 360, 0, 699.21)); }
BENCHMARK(BM_SolvePayment);
BENCHMARK(BM_SolveAmount);
BENCHMARK(BM_SolveTerm);
BENCHMARK(BM_SolveRate);

}  // namespace

// The actuarial APR of a loan of 360 monthly payments, as the Truth in
// Lending calculator works it out (unit period, irregularity and the
// solve); it should stay under 50 microseconds.

namespace {

void BM_TruthInLending360(benchmark::State& state) {
  brevika::TilRecord terms = brevika::NewTilRecord();
  terms.Advances = {{98000.00, brevika::MakeDate(15, 1, 1997)}};
  terms.Payments = {{359, 699.21, brevika::MakeDate(1, 3, 1997)},
                    {1, 705.60, brevika::MakeDate(1, 2, 2027)}};
  for (auto _ : state) {
    brevika::TilRecord r = terms;
    benchmark::DoNotOptimize(brevika::CalcTil(r));
    benchmark::DoNotOptimize(r.APR);
  }
}
BENCHMARK(BM_TruthInLending360)->Unit(benchmark::kMicrosecond);

}  // namespace

// Comparing four 30-year monthly offers (each through its schedule, APR and
// costs, then the break-evens and the verdict): under 1 ms.

namespace {

void BM_CompareFourOffers(benchmark::State& state) {
  using namespace brevika;
  CompareInputs in;
  const float rates[] = {6.0f, 6.25f, 6.5f, 6.875f};
  const float points[] = {2.0f, 1.0f, 0.5f, 0.0f};
  for (int k = 0; k < 4; ++k) {
    LoanOffer o;
    o.amount = 300000;
    o.periods = 360;
    o.rate = rates[k];
    o.points = points[k];
    o.fees = 1500;
    in.offers.push_back(o);
  }
  in.horizonYears = 7;
  in.discountRate = 4;
  in.today = MakeDate(17, 3, 2025);
  for (auto _ : state) {
    CompareResults r;
    benchmark::DoNotOptimize(CompareLoanOffers(in, r));
    benchmark::DoNotOptimize(r.Cheapest);
  }
}
BENCHMARK(BM_CompareFourOffers)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
