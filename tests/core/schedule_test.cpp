#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "amortization/schedule.h"
#include "calculators/remaining_balance.h"
#include "finance/items.h"
#include "finance/rates.h"

namespace brevika {
namespace {

Date D(int m, int d, int y) { return MakeDate(d, m, y); }

ScheduleInputs Loan(double pv, int n, float rate, Date org, Date first) {
  ScheduleInputs in;
  in.PV = pv;
  in.NumPmts = static_cast<std::uint16_t>(n);
  in.Rate = rate;
  in.OrgDate = org;
  in.FrstPmtDate = first;
  return in;
}

// True when the calculation ran; its remark, if any, goes to *notice.
bool Ran(Schedule& s, ScheduleInputs& in, std::optional<Message>* notice = nullptr,
         const ProgressFn& progress = {}) {
  const Outcome o = s.Calculate(in, progress);
  if (notice && !o.messages.empty()) *notice = o.messages.front();
  return !o.refused;
}

// The refusal of a calculation; empty when it ran.
std::optional<Message> Refusal(Schedule& s, ScheduleInputs& in) {
  const Outcome o = s.Calculate(in);
  if (!o.refused) return std::nullopt;
  return o.messages.back();
}

// Cents of a stored amount, for exact comparisons.
long long Cents(double v) { return std::llround(v * 100); }

#define EXPECT_ROW(row, pmt, prin, intr, bal)      \
  do {                                             \
    EXPECT_EQ(Cents((row).payment), Cents(pmt));   \
    EXPECT_EQ(Cents((row).principal), Cents(prin)); \
    EXPECT_EQ(Cents((row).interest), Cents(intr)); \
    EXPECT_EQ(Cents((row).balance), Cents(bal));   \
  } while (0)

const char kZero[] = "No zero values allowed.\r\n\nEnter Amount, Initial Period or Rate\n\n";
const char k2059[] =
    "Loan can't go beyond 2059\n\nReduce number of initial periods or \n\n"
    "increase frequency of payment period.\n\n";

TEST(ScheduleFirstPeriod, RegularMatchesTheLoanCalculator) {
  Schedule s;
  auto in = Loan(100000, 360, 7.5f, D(1, 1, 1997), D(2, 1, 1997));
  ASSERT_TRUE(Ran(s, in));
  EXPECT_EQ(s.firstPeriodKind(), FirstPeriodKind::Regular);
  EXPECT_ROW(s.row(0), 0, 0, 0, 100000);
  EXPECT_STREQ(s.row(0).periodLabel, "Init/01");
  EXPECT_EQ(s.row(0).days, 31);
  EXPECT_ROW(s.row(1), 699.21, 74.21, 625.00, 99925.79);
  EXPECT_EQ(s.row(1).payment, LevelPaymentArrears(360, 12, 12, 100000, 7.5f));
  EXPECT_ROW(s.row(2), 699.21, 74.67, 624.54, 99851.12);  // 99925.79 * 0.00625 = 624.536
  EXPECT_EQ(s.lastRow(), 360);
  EXPECT_STREQ(s.row(13).periodLabel, "  13/02");
  EXPECT_EQ(s.row(360).balance, 0.0);
}

TEST(ScheduleFirstPeriod, ShortPeriodInterestOnRowOne) {
  Schedule s;
  auto in = Loan(100000, 360, 7.5f, D(1, 22, 1997), D(2, 1, 1997));
  ASSERT_TRUE(Ran(s, in));
  EXPECT_EQ(s.firstPeriodKind(), FirstPeriodKind::Short);
  EXPECT_EQ(s.oddDays(), 10);
  EXPECT_EQ(s.row(0).interest, 0.0);
  EXPECT_ROW(s.row(1), 699.21, 490.88, 208.33, 99509.12);  // 625 * 10/30
  EXPECT_EQ(s.row(1).days, 30);

  in.RateBasis = kExact365;
  ASSERT_TRUE(Ran(s, in));
  EXPECT_EQ(Cents(s.row(1).interest), 20548);  // 100000 * 0.075 / 365 * 10
  EXPECT_EQ(s.row(1).days, 10);
}

TEST(ScheduleFirstPeriod, LongPeriodExact365) {
  Schedule s;
  auto in = Loan(100000, 360, 7.5f, D(3, 1, 1997), D(4, 15, 1997));
  in.RateBasis = kExact365;
  ASSERT_TRUE(Ran(s, in));
  EXPECT_EQ(s.firstPeriodKind(), FirstPeriodKind::Long);
  EXPECT_EQ(s.oddDays(), 14);
  EXPECT_ROW(s.row(0), 287.67, 0, 287.67, 100000);  // 14 days
  EXPECT_EQ(s.row(1).days, 31);
  EXPECT_ROW(s.row(1), 699.21, 62.22, 636.99, 99937.78);  // 31 days
  EXPECT_EQ(s.row(2).days, 30);
  EXPECT_EQ(Cents(s.row(2).interest), 61605);

  in.RateBasis = kOrdinary;
  ASSERT_TRUE(Ran(s, in));
  EXPECT_EQ(Cents(s.row(0).interest), 29167);  // 625 * 14/30
  EXPECT_EQ(Cents(s.row(1).interest), 62500);
}

TEST(ScheduleFirstPeriod, PaymentAtOriginationIsInAdvance) {
  Schedule s;
  auto in = Loan(100000, 360, 7.5f, D(1, 1, 1997), D(1, 1, 1997));
  ASSERT_TRUE(Ran(s, in));
  EXPECT_ROW(s.row(1), 694.87, 694.87, 0, 99305.13);
  EXPECT_EQ(Cents(s.row(2).interest), 62066);  // 99305.13 * 0.00625

  in.AmortMthd = static_cast<int>(AmortMethod::InterestOnly);
  ASSERT_TRUE(Ran(s, in));
  EXPECT_ROW(s.row(1), 0, 0, 0, 100000);
  EXPECT_ROW(s.row(2), 625, 0, 625, 100000);
  EXPECT_ROW(s.row(360), 100625, 100000, 625, 0);
}

TEST(ScheduleFirstPeriod, FirstPaymentBeforeOriginationIsReset) {
  Schedule s;
  auto in = Loan(100000, 360, 7.5f, D(3, 1, 1997), D(2, 1, 1997));
  std::optional<Message> notice;
  ASSERT_TRUE(Ran(s, in, &notice));
  ASSERT_TRUE(notice);
  EXPECT_EQ(notice->text,
            "First Payment Date must be\n\nequal to or after Origination Date.\n\n"
            "Resetting First Payment Date...\n");
  EXPECT_EQ(notice->box, BoxType::Information);
  EXPECT_EQ(in.FrstPmtDate, D(3, 1, 1997));
  EXPECT_EQ(s.row(1).date, D(3, 1, 1997));
  EXPECT_EQ(Cents(s.row(1).payment), 69487);
}

TEST(ScheduleMethods, SinglePaymentSettlesTheWholeBalance) {
  Schedule s;
  auto in = Loan(100000, 1, 7.5f, D(1, 1, 1997), D(2, 1, 1997));
  in.RateBasis = kExact365;  // 31 days of interest against a 30-day level payment
  ASSERT_TRUE(Ran(s, in));
  EXPECT_EQ(s.lastRow(), 1);
  EXPECT_ROW(s.row(1), 100636.99, 100000, 636.99, 0);
  EXPECT_EQ(Cents(s.row(1).runPayment), 10063699);
  EXPECT_EQ(Cents(s.row(1).runPrincipal), 10000000);
}

TEST(ScheduleMethods, InterestOnlyPaysTheAmountLast) {
  Schedule s;
  auto in = Loan(100000, 24, 7.5f, D(1, 1, 1997), D(2, 1, 1997));
  in.AmortMthd = static_cast<int>(AmortMethod::InterestOnly);
  ASSERT_TRUE(Ran(s, in));
  for (int k = 1; k < 24; ++k) EXPECT_ROW(s.row(k), 625, 0, 625, 100000);
  EXPECT_ROW(s.row(24), 100625, 100000, 625, 0);
}

TEST(ScheduleMethods, FixedPrincipalSettlesRoundingLast) {
  Schedule s;
  auto in = Loan(1000, 3, 12.0f, D(1, 1, 1997), D(2, 1, 1997));
  in.AmortMthd = static_cast<int>(AmortMethod::FixedPrincipal);
  ASSERT_TRUE(Ran(s, in));
  EXPECT_ROW(s.row(1), 343.33, 333.33, 10.00, 666.67);
  EXPECT_ROW(s.row(2), 340.00, 333.33, 6.67, 333.34);
  EXPECT_ROW(s.row(3), 336.67, 333.34, 3.33, 0);
}

TEST(ScheduleMethods, RuleOf78SplitsTheLevelPaymentsInterest) {
  Schedule s;
  auto in = Loan(10000, 12, 12.0f, D(1, 1, 1997), D(2, 1, 1997));
  in.AmortMthd = static_cast<int>(AmortMethod::RuleOf78);
  ASSERT_TRUE(Ran(s, in));
  EXPECT_EQ(Cents(s.totalInterest()), 66188);  // 12 * 888.49 - 10000
  EXPECT_ROW(s.row(1), 888.49, 786.66, 101.83, 9213.34);  // 12/78 of it
  EXPECT_EQ(Cents(s.row(2).interest), 9334);                  // 11/78
  EXPECT_EQ(Cents(s.row(11).interest), 1697);                 // 2/78

  // Points with payment 1 are not spread as interest: no balloon at the end.
  in.Points = 2;
  in.PointsPaidMthd = kWithFirstPayment;
  ASSERT_TRUE(Ran(s, in));
  EXPECT_ROW(s.row(1), 1088.49, 786.66, 301.83, 9213.34);
  EXPECT_EQ(Cents(s.row(2).interest), 9334);
  EXPECT_EQ(s.lastRow(), 12);
  EXPECT_NEAR(s.row(12).payment, 888.49, 0.10);

}

// Paid in advance, payment 1 falls on the day the loan starts and carries no
// interest; payments 2 to 12 share the whole interest by the digits 11 .. 1.
// 10,000 at 12 % over 12 months: payment 879.69 (the loan calculator's),
// total interest 12 x 879.69 - 10,000 = 556.28, sum of digits 66:
//   k   interest = 556.28 x (13 - k) / 66   balance
//   1     0.00                               9,120.31
//   2    92.71                               8,333.33
//   3    84.28                               7,537.92
//  11    16.86                                 871.26
//  12     8.43                                   0.00 (payment 879.69)
// The interest column sums to 556.28.
TEST(ScheduleMethods, RuleOf78InAdvanceSpreadsAllTheInterest) {
  Schedule s;
  auto in = Loan(10000, 12, 12.0f, D(1, 1, 2020), D(1, 1, 2020));
  in.AmortMthd = static_cast<int>(AmortMethod::RuleOf78);
  ASSERT_TRUE(Ran(s, in));
  EXPECT_EQ(Cents(s.totalInterest()), 55628);
  EXPECT_ROW(s.row(1), 879.69, 879.69, 0, 9120.31);
  EXPECT_ROW(s.row(2), 879.69, 786.98, 92.71, 8333.33);
  EXPECT_ROW(s.row(3), 879.69, 795.41, 84.28, 7537.92);
  EXPECT_ROW(s.row(11), 879.69, 862.83, 16.86, 871.26);
  EXPECT_EQ(s.lastRow(), 12);
  EXPECT_ROW(s.row(12), 879.69, 871.26, 8.43, 0);
  EXPECT_EQ(Cents(s.row(12).runInterest), 55628);
  EXPECT_EQ(Cents(s.row(12).runPrincipal), 1000000);

  // 30 years: the loan runs its full term.
  auto longer = Loan(100000, 360, 7.5f, D(1, 1, 1997), D(1, 1, 1997));
  longer.AmortMthd = static_cast<int>(AmortMethod::RuleOf78);
  ASSERT_TRUE(Ran(s, longer));
  EXPECT_EQ(s.lastRow(), 360);
  EXPECT_EQ(Cents(s.row(360).runInterest), 360 * 69487 - 10000000);
}

// The remaining balance calculator in advance walks the same rows as the
// schedule with the first payment on the origination date, for every method.
TEST(ScheduleMethods, InAdvanceTheRemainingBalanceIsTheScheduleBalance) {
  for (int method = 0; method <= 5; ++method) {
    Schedule s;
    auto in = Loan(10000, 12, 12.0f, D(1, 1, 2020), D(1, 1, 2020));
    in.AmortMthd = method;
    ASSERT_TRUE(Ran(s, in));
    for (int k = 1; k < 12; ++k) {
      RemBalRecord r = NewRemBalRecord();
      r.PV = 10000;
      r.NumPmts = 12;
      r.Rate = 12.0f;
      r.IncPer = static_cast<std::int16_t>(k);
      r.AmortMthd.Select(method);
      r.PmtMthd.Select(static_cast<int>(PaymentMethod::Advance));
      ASSERT_TRUE(CalcRemBal(r).ok());
      EXPECT_EQ(Cents(r.RemBal), Cents(s.row(k).balance)) << "method " << method << " after " << k;
    }
  }
}

TEST(SchedulePoints, TheThreeChoicesWithAnInterimPeriod) {
  Schedule s;
  // Long first period: 14 odd days, interim interest 625 * 14/30 = 291.67.
  auto in = Loan(100000, 360, 7.5f, D(3, 1, 1997), D(4, 15, 1997));
  in.Points = 2;
  ASSERT_TRUE(Ran(s, in));
  EXPECT_EQ(s.pointsAmount(), 2000.0);
  EXPECT_ROW(s.row(0), 2291.67, 0, 2291.67, 100000);
  EXPECT_ROW(s.row(1), 699.21, 74.21, 625.00, 99925.79);

  in.PointsPaidMthd = kWithFirstPayment;
  ASSERT_TRUE(Ran(s, in));
  EXPECT_ROW(s.row(0), 291.67, 0, 291.67, 100000);
  EXPECT_ROW(s.row(1), 2699.21, 74.21, 2625.00, 99925.79);
  EXPECT_EQ(Cents(s.row(1).runPayment), 299088);
  EXPECT_EQ(Cents(s.row(2).payment), 69921);

  in.PointsPaidMthd = kPointsAmortized;
  ASSERT_TRUE(Ran(s, in));
  EXPECT_ROW(s.row(0), 297.50, 0, 297.50, 102000);  // 637.50 * 14/30
  EXPECT_EQ(s.row(1).payment, LevelPaymentArrears(360, 12, 12, 102000, 7.5f));
  EXPECT_EQ(Cents(s.row(1).interest), 63750);

  in.AmortMthd = static_cast<int>(AmortMethod::USRule);  // interim interest still on the amount
  ASSERT_TRUE(Ran(s, in));
  EXPECT_ROW(s.row(0), 291.67, 0, 291.67, 102000);
  EXPECT_EQ(Cents(s.row(1).interest), 63750);
}

TEST(SchedulePoints, FirstPaymentAtOrigination) {
  Schedule s;
  auto in = Loan(100000, 360, 7.5f, D(1, 1, 1997), D(1, 1, 1997));
  in.Points = 2;
  ASSERT_TRUE(Ran(s, in));
  EXPECT_ROW(s.row(1), 2694.87, 694.87, 2000, 99305.13);
  EXPECT_EQ(Cents(s.row(2).payment), 69487);

  in.PointsPaidMthd = kPointsAmortized;  // joins the balance after the payment is set
  ASSERT_TRUE(Ran(s, in));
  EXPECT_ROW(s.row(0), 0, 0, 0, 102000);
  EXPECT_ROW(s.row(1), 694.87, 694.87, 0, 101305.13);
}

TEST(ScheduleDates, Day31DriftsAndYearLimit) {
  Schedule s;
  auto in = Loan(100000, 360, 7.5f, D(12, 31, 1996), D(1, 31, 1997));
  ASSERT_TRUE(Ran(s, in));
  EXPECT_EQ(s.firstPeriodKind(), FirstPeriodKind::Regular);
  EXPECT_EQ(s.row(2).date, D(3, 3, 1997));
  EXPECT_EQ(s.row(3).date, D(4, 3, 1997));

  const ScheduleRow before = s.row(5);
  auto late = Loan(100000, 360, 7.5f, D(1, 1, 2030), D(2, 1, 2030));
  auto refused = Refusal(s, late);
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->text, k2059);
  EXPECT_EQ(refused->box, BoxType::Information);
  EXPECT_EQ(s.row(5).date, before.date);  // previous schedule kept
  EXPECT_EQ(s.row(5).balance, before.balance);
  EXPECT_EQ(s.lastRow(), 360);
}

TEST(SchedulePeriods, AnnualPaymentsAreTheLastPeriodChoice) {
  // 100 000 at 10 % a year, ten annual payments: 100000 x 0.1 / (1 - 1.1^-10).
  Schedule s;
  auto in = Loan(100000, 10, 10.0f, D(1, 1, 2000), D(1, 1, 2001));
  in.PYR = 6;     // Annually
  in.CmpPYR = 7;  // Annually
  ASSERT_TRUE(Ran(s, in));
  EXPECT_ROW(s.row(1), 16274.54, 6274.54, 10000.00, 93725.46);
  EXPECT_EQ(s.row(2).date, D(1, 1, 2002));
  EXPECT_EQ(s.lastRow(), 10);
}

TEST(ScheduleRefusals, KeepThePreviousSchedule) {
  Schedule s(100);
  auto good = Loan(100000, 60, 7.5f, D(1, 1, 1997), D(2, 1, 1997));
  ASSERT_TRUE(Ran(s, good));
  const double bal = s.row(30).balance;

  auto zero = Loan(0, 60, 7.5f, D(1, 1, 1997), D(2, 1, 1997));
  ASSERT_TRUE(Refusal(s, zero));
  EXPECT_EQ(Refusal(s, zero)->text, kZero);
  auto many = Loan(100000, 101, 7.5f, D(1, 1, 1997), D(2, 1, 1997));
  ASSERT_TRUE(Refusal(s, many));
  auto nan = Loan(100000, 60, std::nanf(""), D(1, 1, 1997), D(2, 1, 1997));
  EXPECT_EQ(Refusal(s, nan), NonFiniteMessage());
  // Finite terms whose running interest overflows part way.
  auto huge = Loan(1e308, 100, 75.0f, D(1, 1, 1997), D(2, 1, 1997));
  huge.AmortMthd = static_cast<int>(AmortMethod::InterestOnly);
  EXPECT_EQ(Refusal(s, huge), NonFiniteMessage());

  EXPECT_EQ(s.lastRow(), 60);
  EXPECT_EQ(s.row(30).balance, bal);
  EXPECT_EQ(s.yearTabs().size(), 7u);  // All, 97 .. 02
}

TEST(ScheduleTotals, RunningTotalsRestartAfterRecalculation) {
  Schedule s;
  auto interim = Loan(100000, 360, 7.5f, D(3, 1, 1997), D(4, 15, 1997));
  interim.Points = 2;
  ASSERT_TRUE(Ran(s, interim));
  ASSERT_GT(s.row(0).runPayment, 0);
  auto advance = Loan(100000, 360, 7.5f, D(3, 1, 1997), D(3, 1, 1997));
  ASSERT_TRUE(Ran(s, advance));
  EXPECT_EQ(s.row(0).runPayment, 0.0);
  EXPECT_EQ(s.row(0).runInterest, 0.0);
  EXPECT_EQ(Cents(s.row(1).runPayment), 69487);
}

// Every method, first-period kind, rate basis and points choice: the schedule
// pays off exactly and its running totals are the sums of its rows.
TEST(ScheduleTotals, EveryCombinationBalancesToTheCent) {
  Schedule s;
  const Date org = D(1, 15, 1997);
  const Date firsts[] = {D(2, 15, 1997), D(2, 1, 1997), D(3, 1, 1997), org};
  int combos = 0;
  for (int method = 0; method <= 5; ++method)
    for (Date first : firsts)
      for (int basis = 0; basis <= 2; ++basis)
        for (int pts = 0; pts <= 2; ++pts)
          for (int n : {1, 2, 61, 360}) {
            auto in = Loan(250000, n, 6.75f, org, first);
            in.AmortMthd = method;
            in.RateBasis = basis;
            in.Points = 1.5f;
            in.PointsPaidMthd = pts;
            SCOPED_TRACE(testing::Message() << "method " << method << " first " << first - org
                                            << " basis " << basis << " points " << pts << " n " << n);
            ASSERT_TRUE(Ran(s, in));
            const int last = s.lastRow();
            ASSERT_GE(last, 1);
            ASSERT_LE(last, n);
            EXPECT_EQ(s.row(last).balance, 0.0);
            double pay = 0, prin = 0, intr = 0;
            for (int k = 0; k <= last; ++k) {
              const ScheduleRow& r = s.row(k);
              pay += r.payment;
              prin += r.principal;
              intr += r.interest;
              EXPECT_EQ(Cents(r.runPayment), Cents(pay)) << "row " << k;
              EXPECT_EQ(Cents(r.runPrincipal), Cents(prin)) << "row " << k;
              EXPECT_EQ(Cents(r.runInterest), Cents(intr)) << "row " << k;
              EXPECT_EQ(Cents(r.payment), Cents(r.principal + r.interest)) << "row " << k;
              if (k > 0 && k < last) {
                EXPECT_GT(r.balance, 0) << "row " << k;
              }
            }
            EXPECT_EQ(Cents(prin), Cents(s.row(0).balance));
            ++combos;
          }
  EXPECT_EQ(combos, 6 * 4 * 3 * 3 * 4);
}

TEST(ScheduleYears, TabsSelectTheirOwnCalendarYears) {
  Schedule s;
  auto in = Loan(100000, 360, 7.5f, D(1, 1, 1997), D(2, 1, 1997));
  ASSERT_TRUE(Ran(s, in));
  ASSERT_EQ(s.yearTabs().size(), 32u);
  EXPECT_EQ(s.yearTabs()[0].label, "All");
  EXPECT_EQ(s.yearTabs()[1].label, "97");
  EXPECT_EQ(s.yearTabs()[4].label, "00");
  EXPECT_EQ(s.SelectYear(0), std::make_pair(0, 360));
  EXPECT_EQ(s.SelectYear(1), std::make_pair(0, 11));
  EXPECT_EQ(s.SelectYear(2), std::make_pair(12, 23));
  EXPECT_EQ(s.SelectYear(31), std::make_pair(360, 360));
  YearTotals t = s.Totals(12, 23);
  EXPECT_EQ(Cents(t.payment), 12 * 69921);
  EXPECT_EQ(Cents(t.principal + t.interest), 12 * 69921);

  // First payment in 2050: weekly to December 2058, tabs "50" to "58".
  auto late = Loan(100000, 416, 7.5f, D(12, 24, 2050), D(12, 31, 2050));
  late.PYR = 0;
  ASSERT_TRUE(Ran(s, late));
  const auto& tabs = s.yearTabs();
  ASSERT_EQ(tabs.size(), 10u);
  int expectFirst = 0;
  for (int t = 1; t <= 9; ++t) {
    EXPECT_EQ(tabs[t].year, 2049 + t);
    EXPECT_EQ(tabs[t].label, std::to_string(49 + t));
    auto [a, b] = s.SelectYear(t);
    EXPECT_EQ(a, expectFirst) << tabs[t].label;
    ASSERT_LE(a, b) << tabs[t].label;
    for (int k = a; k <= b; ++k) EXPECT_EQ(YearOf(s.row(k).date), tabs[t].year);
    expectFirst = b + 1;
  }
  EXPECT_EQ(expectFirst, s.lastRow() + 1);
}

TEST(ScheduleYears, OneYearLoanAndLoadedRows) {
  Schedule s;
  auto in = Loan(12000, 6, 9.0f, D(1, 10, 1997), D(2, 10, 1997));
  ASSERT_TRUE(Ran(s, in));
  ASSERT_EQ(s.yearTabs().size(), 2u);
  EXPECT_EQ(s.SelectYear(1), s.SelectYear(0));

  // A loaded schedule rebuilds its tabs from the row dates.
  auto across = Loan(12000, 24, 9.0f, D(12, 10, 1997), D(1, 10, 1998));
  ASSERT_TRUE(Ran(s, across));
  Schedule loaded;
  EXPECT_FALSE(loaded.calculated());
  for (int k = 0; k <= s.lastRow(); ++k) loaded.mutableRow(k) = s.row(k);
  loaded.SetLoaded(s.lastRow());
  EXPECT_TRUE(loaded.calculated());
  ASSERT_EQ(loaded.yearTabs().size(), 4u);  // All, 97, 98, 99
  for (std::size_t t = 0; t < 4; ++t) {
    EXPECT_EQ(loaded.yearTabs()[t].label, s.yearTabs()[t].label);
    EXPECT_EQ(loaded.yearTabs()[t].year, s.yearTabs()[t].year);
  }
  EXPECT_EQ(loaded.SelectYear(2), std::make_pair(1, 12));
}

TEST(ScheduleLabels, PeriodLabelTexts) {
  EXPECT_EQ(PeriodLabel(0, 12), "Init/01");
  EXPECT_EQ(PeriodLabel(1, 12), "   1/01");
  EXPECT_EQ(PeriodLabel(12, 12), "  12/01");
  EXPECT_EQ(PeriodLabel(13, 12), "  13/02");
  EXPECT_EQ(PeriodLabel(1560, 52), "1560/30");
  EXPECT_EQ(PeriodLabel(458, 1), " 458/458");
}

TEST(ScheduleProgress, ReportsEachPercentOnce) {
  Schedule s;
  auto in = Loan(100000, 1560, 7.5f, D(1, 1, 2000), D(1, 8, 2000));
  in.PYR = 0;
  std::vector<int> seen;
  ASSERT_TRUE(Ran(s, in, nullptr, [&](int p) { seen.push_back(p); }));
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.front(), 0);  // 2 * 100 / 1560
  EXPECT_EQ(seen.back(), 100);
  EXPECT_EQ(seen.size(), 101u);
  for (std::size_t k = 1; k < seen.size(); ++k) EXPECT_EQ(seen[k], seen[k - 1] + 1);
}

}  // namespace
}  // namespace brevika
