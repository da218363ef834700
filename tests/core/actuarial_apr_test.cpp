#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "finance/actuarial_apr.h"

namespace brevika {
namespace {

Date D(int m, int d, int y) { return MakeDate(d, m, y); }

constexpr UnitPeriod kMonth{UnitPeriodKind::Monthly};
constexpr UnitPeriod kQuarter{UnitPeriodKind::Quarterly};
constexpr UnitPeriod kHalfMonth{UnitPeriodKind::Semimonthly};

// APR of one advance repaid by `n` payments of `pmt`, payment k on dates(k).
template <class Dates>
ActuarialApr Solve(double advance, Date on, int n, double pmt, Dates dates, UnitPeriod unit) {
  ActuarialAprTerms t;
  t.advances.push_back({advance, on});
  for (int k = 0; k < n; ++k) t.payments.push_back({pmt, dates(k)});
  t.unit = unit;
  return SolveActuarialApr(t);
}

double Rounded2(long double apr) { return std::round(static_cast<double>(apr) * 100) / 100; }

TEST(ActuarialApr, TimeCountsBackFromEachDateInUnitPeriods) {
  // The regulation's examples: 02/10/1978 to 04/01/1978 monthly is one
  // month back to 03/01 and 19 days (10 February to 1 March 1978): t = 1,
  // f = 19/30.
  UnitPeriodSpan u = CountUnitPeriods(D(2, 10, 1978), D(4, 1, 1978), kMonth);
  EXPECT_EQ(u.whole, 1);
  EXPECT_DOUBLE_EQ(u.fraction, 19.0 / 30);
  // 05/23/1978 to 10/01/1978 quarterly: one quarter back to 07/01, then one
  // month to 06/01 (30 days) and 9 days to 05/23: t = 1, f = 39/90.
  u = CountUnitPeriods(D(5, 23, 1978), D(10, 1, 1978), kQuarter);
  EXPECT_EQ(u.whole, 1);
  EXPECT_DOUBLE_EQ(u.fraction, 39.0 / 90);
  // Half-months of a date on the 16th fall on the 1st and the 16th: from
  // 16 April 2025 back to 1 April and 16 March; 1 March would pass the start
  // of 5 March, so t = 2 and the 11 days from 5 to 16 March are f = 11/15.
  u = CountUnitPeriods(D(3, 5, 2025), D(4, 16, 2025), kHalfMonth);
  EXPECT_EQ(u.whole, 2);
  EXPECT_DOUBLE_EQ(u.fraction, 11.0 / 15);
  // Weeks of 7, 14 and 28 days: 45 days are 6 weeks and 3 days, 3 fortnights
  // and 3 days, one 4-week period and 17 days.
  u = CountUnitPeriods(D(1, 1, 2025), D(2, 15, 2025), {UnitPeriodKind::Weekly});
  EXPECT_EQ(u.whole, 6);
  EXPECT_DOUBLE_EQ(u.fraction, 3.0 / 7);
  u = CountUnitPeriods(D(1, 1, 2025), D(2, 15, 2025), {UnitPeriodKind::Biweekly});
  EXPECT_EQ(u.whole, 3);
  EXPECT_DOUBLE_EQ(u.fraction, 3.0 / 14);
  u = CountUnitPeriods(D(1, 1, 2025), D(2, 15, 2025), {UnitPeriodKind::FourWeekly});
  EXPECT_EQ(u.whole, 1);
  EXPECT_DOUBLE_EQ(u.fraction, 17.0 / 28);
  // A term of 255 days is one unit period of its own; 100 days of it are
  // 100/255.
  u = CountUnitPeriods(D(1, 3, 1978), D(9, 15, 1978), {UnitPeriodKind::Term, 255});
  EXPECT_EQ(u.whole, 1);
  EXPECT_DOUBLE_EQ(u.fraction, 0.0);
  u = CountUnitPeriods(D(1, 3, 1978), D(1, 3, 1978) + 100, {UnitPeriodKind::Term, 255});
  EXPECT_EQ(u.whole, 0);
  EXPECT_DOUBLE_EQ(u.fraction, 100.0 / 255);
  // A date on the start is no time.
  u = CountUnitPeriods(D(1, 3, 1978), D(1, 3, 1978), kMonth);
  EXPECT_EQ(u.whole, 0);
  EXPECT_DOUBLE_EQ(u.fraction, 0.0);
}

TEST(ActuarialApr, HalfMonthsAndMonthsKeepTheirDayWithinShortMonths) {
  // Day 10: the 10th and the 25th; day 31: the 16th and the month's last
  // day; day 15: the 15th and the 30th, 28 February in a common year.
  EXPECT_EQ(HalfMonthsAfter(D(1, 10, 2025), 1), D(1, 25, 2025));
  EXPECT_EQ(HalfMonthsAfter(D(1, 10, 2025), 2), D(2, 10, 2025));
  EXPECT_EQ(HalfMonthsAfter(D(1, 10, 2025), -1), D(12, 25, 2024));
  EXPECT_EQ(HalfMonthsAfter(D(1, 31, 2025), 1), D(2, 16, 2025));
  EXPECT_EQ(HalfMonthsAfter(D(1, 31, 2025), 2), D(2, 28, 2025));
  EXPECT_EQ(HalfMonthsAfter(D(1, 31, 2025), -3), D(12, 16, 2024));
  EXPECT_EQ(HalfMonthsAfter(D(2, 15, 2025), 1), D(2, 28, 2025));
  EXPECT_EQ(MonthsBefore(D(3, 31, 2024), 1), D(2, 29, 2024));
  EXPECT_EQ(MonthsBefore(D(1, 31, 2025), -13), D(2, 28, 2026));
  EXPECT_EQ(MonthsBefore(D(1, 15, 1600), 1), kBadDate);
}

TEST(ActuarialApr, TheRegulationsWorkedExamples) {
  // 5,000.00 advanced on 01/10/1978, 24 monthly payments of 230.00 from
  // 02/10/1978: 5000 = 230 (1 - v^24) / i; at i = 0.0080714, v^24 =
  // 0.8245347 and the payments are worth 5,000.00: APR 12 i = 9.69 %.
  ActuarialApr r = Solve(5000, D(1, 10, 1978), 24, 230,
                         [](int k) { return MonthsBefore(D(2, 10, 1978), -k); }, kMonth);
  ASSERT_EQ(r.failure, AprFailure::None);
  EXPECT_NEAR(static_cast<double>(r.rate), 0.0080714, 5e-8);
  EXPECT_EQ(Rounded2(r.apr), 9.69);
  // 10,000.00 advanced on 05/23/1978, 40 quarterly payments of 385.00 from
  // 10/01/1978: every payment is t + 39/90 quarters out, so 10000 (1 + 39
  // i / 90) = 385 (1 - v^40) / i; at i = 0.0224269 both are about 10,097.18
  // (v^40 = 0.4118218): APR 4 i = 8.97 %.
  r = Solve(10000, D(5, 23, 1978), 40, 385,
            [](int k) { return MonthsBefore(D(10, 1, 1978), -3 * k); }, kQuarter);
  ASSERT_EQ(r.failure, AprFailure::None);
  EXPECT_NEAR(static_cast<double>(r.rate), 0.0224269, 5e-8);
  EXPECT_EQ(Rounded2(r.apr), 8.97);
  // 1,000.00 on 01/03/1978 repaid by 1,080.00 on 09/15/1978, 255 days on:
  // one unit period of 255 days, i = 0.08, APR = 0.08 x 365 / 255
  // = 11.4510 %.
  r = Solve(1000, D(1, 3, 1978), 1, 1080, [](int) { return D(9, 15, 1978); },
            {UnitPeriodKind::Term, 255});
  ASSERT_EQ(r.failure, AprFailure::None);
  EXPECT_NEAR(static_cast<double>(r.rate), 0.08, 1e-12);
  EXPECT_NEAR(static_cast<double>(r.apr), 11.4510, 5e-5);
}

TEST(ActuarialApr, LaterAdvancesAreDiscountedLikePayments) {
  // 1,000.00 now and 1,000.00 one month later, repaid by 2,030.00 two
  // months on: 1000 + 1000 v = 2030 v^2. With x = 1 + i: 1000 x^2 + 1000 x
  // - 2030 = 0, x = (-1 + sqrt(1 + 8.12)) / 2 = 1.0099751, i = 0.0099751.
  ActuarialAprTerms t;
  t.advances = {{1000, D(1, 1, 2025)}, {1000, D(2, 1, 2025)}};
  t.payments = {{2030, D(3, 1, 2025)}};
  t.unit = kMonth;
  const ActuarialApr r = SolveActuarialApr(t);
  ASSERT_EQ(r.failure, AprFailure::None);
  EXPECT_NEAR(static_cast<double>(r.rate), (-1 + std::sqrt(9.12)) / 2 - 1, 1e-12);
}

TEST(ActuarialApr, TotalsCountToTheCent) {
  // Advances of 1,000.10 and 0.20 repaid by ten payments of 100.03: 1,000.30
  // against 1,000.30, no interest at all, so 0 % (in binary the payments
  // add up to a hair less than the advances).
  ActuarialAprTerms t;
  t.advances = {{1000.10, D(1, 1, 2026)}, {0.20, D(1, 1, 2026)}};
  for (int k = 0; k < 10; ++k) t.payments.push_back({100.03, MonthsBefore(D(2, 1, 2026), -k)});
  t.unit = kMonth;
  const ActuarialApr r = SolveActuarialApr(t);
  EXPECT_EQ(r.failure, AprFailure::None);
  EXPECT_EQ(r.apr, 0);
  // A cent short is not repaid.
  t.payments.back().amount = 100.02;
  EXPECT_EQ(SolveActuarialApr(t).failure, AprFailure::NotRepaid);
}

TEST(ActuarialApr, NoRateFailsAndTheSolveIsBounded) {
  auto monthly = [](int k) { return MonthsBefore(D(2, 1, 2025), -k); };
  // Payments that total exactly the advance: 0 %; less: no rate.
  ActuarialApr r = Solve(1200, D(1, 1, 2025), 12, 100, monthly, kMonth);
  EXPECT_EQ(r.failure, AprFailure::None);
  EXPECT_EQ(r.apr, 0);
  EXPECT_EQ(Solve(1200, D(1, 1, 2025), 12, 99.99, monthly, kMonth).failure, AprFailure::NotRepaid);
  // 100.00 repaid by 200.00 a month later is 100 % a month, 1,200 % a year.
  EXPECT_EQ(Solve(100, D(1, 1, 2025), 1, 200, monthly, kMonth).failure, AprFailure::TooHigh);
  // 100.00 repaid by 183.00 a month later is 83 % a month, 996 % a year.
  r = Solve(100, D(1, 1, 2025), 1, 183, monthly, kMonth);
  ASSERT_EQ(r.failure, AprFailure::None);
  EXPECT_NEAR(static_cast<double>(r.apr), 996.0, 1e-9);
  // A payment before the advance, a payment that is not a number, none.
  EXPECT_EQ(Solve(100, D(3, 1, 2025), 1, 120, monthly, kMonth).failure,
            AprFailure::PaymentBeforeAdvance);
  EXPECT_EQ(Solve(100, D(1, 1, 2025), 2, std::numeric_limits<double>::infinity(), monthly, kMonth)
                .failure,
            AprFailure::NotFinite);
  EXPECT_EQ(Solve(100, D(1, 1, 2025), 0, 120, monthly, kMonth).failure, AprFailure::NoPayment);
  ActuarialAprTerms none;
  none.payments = {{100, D(1, 1, 2025)}};
  EXPECT_EQ(SolveActuarialApr(none).failure, AprFailure::NoAdvance);
  // A thousand monthly payments solve well within the step limit.
  r = Solve(100000, D(1, 1, 1990), 1000, 800,
            [](int k) { return MonthsBefore(D(2, 1, 1990), -k); }, kMonth);
  ASSERT_EQ(r.failure, AprFailure::None);
  EXPECT_LT(r.steps, 30);
  EXPECT_TRUE(std::isfinite(static_cast<double>(r.apr)));
}

}  // namespace
}  // namespace brevika
