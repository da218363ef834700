#include <gtest/gtest.h>

#include <cmath>

#include "amortization/schedule.h"
#include "amortization/schedule_chart_data.h"

namespace brevika {
namespace {

long long Cents(double v) { return std::llround(v * 100); }

TEST(ScheduleChartData, YearlyBarsBalanceLineAndAxes) {
  ScheduleInputs in;
  in.PV = 100000;
  in.NumPmts = 360;
  in.Rate = 7.5f;
  in.OrgDate = MakeDate(1, 1, 1997);
  in.FrstPmtDate = MakeDate(1, 2, 1997);
  Schedule s;
  ASSERT_FALSE(s.Calculate(in).refused);
  const ScheduleChartData d = BuildChartData(s);

  // 1997 holds row 0 and payments 1 to 11, 2027 the last payment alone.
  ASSERT_EQ(d.years.size(), 31u);
  EXPECT_EQ(d.years[0].year, 1997);
  EXPECT_EQ(Cents(d.years[0].principal), 84230);
  EXPECT_EQ(Cents(d.years[0].interest), 684901);
  EXPECT_EQ(d.years[30].year, 2027);
  EXPECT_EQ(Cents(d.years[30].principal + d.years[30].interest), 70560);
  // Every row a point: 1 January 1997 at -0.5, 1 February 31 days on.
  ASSERT_EQ(d.balance.size(), 361u);
  EXPECT_DOUBLE_EQ(d.balance[0].x, -0.5);
  EXPECT_DOUBLE_EQ(d.balance[0].balance, 100000);
  EXPECT_DOUBLE_EQ(d.balance[1].x, -0.5 + 31.0 / 365);
  EXPECT_DOUBLE_EQ(d.balance[360].x, 29.5);
  EXPECT_DOUBLE_EQ(d.balance[360].balance, 0);
  // 100,000 in 5 steps of 20,000; a year's 12 x 699.21 = 8,390.52 under
  // 10,000 in steps of 2,000; 31 years labelled every 4th.
  EXPECT_DOUBLE_EQ(d.balanceAxis.top, 100000);
  EXPECT_DOUBLE_EQ(d.balanceAxis.step, 20000);
  EXPECT_DOUBLE_EQ(d.yearAxis.top, 10000);
  EXPECT_DOUBLE_EQ(d.yearAxis.step, 2000);
  EXPECT_EQ(d.yearLabelStep, 4);
  // 730: steps of 100 would take 8, steps of 200 take 4 to 800.
  EXPECT_DOUBLE_EQ(RoundAxis(730, 5).top, 800);
  EXPECT_DOUBLE_EQ(RoundAxis(730, 5).step, 200);

  // 3,120 weekly payments, 3,121 rows: 1,600 points from the first row to
  // the last, in date order.
  Schedule weekly(4000);
  in.NumPmts = 3120;
  in.PYR = kWeekly - 1;
  in.OrgDate = MakeDate(1, 1, 1998);
  in.FrstPmtDate = MakeDate(8, 1, 1998);
  ASSERT_FALSE(weekly.Calculate(in).refused);
  ASSERT_EQ(weekly.lastRow(), 3120);
  const ScheduleChartData w = BuildChartData(weekly);
  ASSERT_EQ(w.balance.size(), kMaxChartPoints);
  EXPECT_DOUBLE_EQ(w.balance.front().x, -0.5);
  EXPECT_DOUBLE_EQ(w.balance.front().balance, 100000);
  EXPECT_DOUBLE_EQ(w.balance.back().balance, 0);
  EXPECT_EQ(w.balance.back().x, BuildChartData(weekly, 1 << 20).balance.back().x);
  for (std::size_t j = 1; j < w.balance.size(); ++j) ASSERT_LT(w.balance[j - 1].x, w.balance[j].x);
}

// With events the chart has both balances: the schedule's own line ends at
// its payoff, the line without events at payment 360 and is the plain
// schedule's line. A holiday of payments 1 to 24 raises the balance to
// about 116,000 (24 months of 625 and more joining it), so the axis goes to
// 150,000 in steps of 50,000 (steps of 20,000 would take 6).
TEST(ScheduleChartData, BothBalancesWithEvents) {
  ScheduleInputs in;
  in.PV = 100000;
  in.NumPmts = 360;
  in.Rate = 7.5f;
  in.OrgDate = MakeDate(1, 1, 1997);
  in.FrstPmtDate = MakeDate(1, 2, 1997);
  Schedule plain;
  ASSERT_FALSE(plain.Calculate(in).refused);
  const ScheduleChartData p = BuildChartData(plain);
  EXPECT_TRUE(p.baseBalance.empty());

  in.events = {ScheduleEvent{EventKind::Extra, 13, std::nullopt, 100, 0, EventHow::ShorterTerm}};
  Schedule s;
  ASSERT_FALSE(s.Calculate(in).refused);
  const ScheduleChartData d = BuildChartData(s);
  ASSERT_EQ(d.balance.size(), 253u);
  ASSERT_EQ(d.baseBalance.size(), 361u);
  for (std::size_t k = 0; k < 361; ++k) {
    EXPECT_EQ(d.baseBalance[k].x, p.balance[k].x);
    EXPECT_EQ(d.baseBalance[k].balance, p.balance[k].balance);
  }
  EXPECT_EQ(d.balance[252].x, p.balance[252].x);
  EXPECT_EQ(d.balance[252].balance, 0.0);
  EXPECT_DOUBLE_EQ(d.balanceAxis.top, 100000);

  in.events = {ScheduleEvent{EventKind::Holiday, 1, 24, 0, 0, EventHow::KeepTerm}};
  ASSERT_FALSE(s.Calculate(in).refused);
  const ScheduleChartData h = BuildChartData(s);
  EXPECT_GT(s.row(24).balance, 116000);
  EXPECT_LT(s.row(24).balance, 117000);
  EXPECT_DOUBLE_EQ(h.balanceAxis.top, 150000);
  EXPECT_DOUBLE_EQ(h.balanceAxis.step, 50000);
  EXPECT_EQ(h.baseBalance.size(), 361u);
}

}  // namespace
}  // namespace brevika
