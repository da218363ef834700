#include <gtest/gtest.h>

#include "amortization/apr.h"
#include "amortization/schedule.h"
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

// The APR of the loan's schedule; the test fails if either refuses.
double Apr(ScheduleInputs in) {
  Schedule s;
  const Outcome o = s.Calculate(in);
  EXPECT_FALSE(o.refused) << o.FirstText();
  const AprResult r = AnnualPercentageRate(s, in);
  EXPECT_FALSE(r.outcome.refused) << r.outcome.FirstText();
  return r.apr;
}

// The message with which the APR of the loan is refused; empty if it is not.
std::string AprRefusal(ScheduleInputs in) {
  Schedule s;
  if (s.Calculate(in).refused) return "schedule refused";
  const AprResult r = AnnualPercentageRate(s, in);
  return r.outcome.refused ? r.outcome.FirstText() : std::string();
}

TEST(Apr, UnitPeriodsCountBackFromThePayment) {
  // 3 March back one month is 3 February, two months would pass 31 January:
  // one month and 3 days, 33/30 of a month.
  UnitPeriods u = UnitPeriodsBetween(D(1, 31, 2001), D(3, 3, 2001), 12);
  EXPECT_EQ(u.whole, 1);
  EXPECT_DOUBLE_EQ(u.fraction, 3.0 / 30);
  // 31 March back one month lands on 28 February.
  u = UnitPeriodsBetween(D(2, 28, 2001), D(3, 31, 2001), 12);
  EXPECT_EQ(u.whole, 1);
  EXPECT_DOUBLE_EQ(u.fraction, 0.0);
  // Quarters are 90 days: 4 months and 15 days are 135 days, 1.5 quarters.
  u = UnitPeriodsBetween(D(1, 1, 2001), D(5, 16, 2001), 4);
  EXPECT_EQ(u.whole, 1);
  EXPECT_DOUBLE_EQ(u.fraction, 0.5);
  // Years: one, and 1 January to 2 July 2002 is 182 days of 365.
  u = UnitPeriodsBetween(D(1, 1, 2001), D(7, 2, 2002), 1);
  EXPECT_EQ(u.whole, 1);
  EXPECT_DOUBLE_EQ(u.fraction, 182.0 / 365);
  // Weeks are 7 days.
  u = UnitPeriodsBetween(D(1, 1, 2001), D(1, 11, 2001), 52);
  EXPECT_EQ(u.whole, 1);
  EXPECT_DOUBLE_EQ(u.fraction, 3.0 / 7);
}

TEST(Apr, WithoutPointsOrFeesItIsTheConvertedNominalRate) {
  // 360 payments of 699.21 and a last one of 705.60 at 7.5 % monthly.
  EXPECT_DOUBLE_EQ(Apr(Loan(100000, 360, 7.5f, D(1, 1, 1997), D(2, 1, 1997))), 7.5);
  // Monthly payments compounded semi-annually: 8 % is 12 ((1.04)^(1/6) - 1)
  // = 7.86984 % nominal monthly, as the loan calculator converts it.
  ScheduleInputs in = Loan(100000, 300, 8.0f, D(1, 1, 2001), D(2, 1, 2001));
  in.AmortMthd = 0;
  in.CmpPYR = kSemiAnnually;
  EXPECT_DOUBLE_EQ(Apr(in), RoundThroughText(ConvertNominalRate(12, 2, 8.0f), 4, 18));
  EXPECT_DOUBLE_EQ(Apr(in), 7.8698);
}

TEST(Apr, WorkedExamplesWithPointsAndFees) {
  // One payment of 1,010.00 a month after a 1,000.00 loan at 12 %. 2 points
  // at origination (20.00) leave 980.00 financed: 980 = 1010 / (1 + i),
  // i = 30 / 980 = 0.0306122, APR = 12 i = 36.7347 %.
  ScheduleInputs one = Loan(1000, 1, 12.0f, D(1, 1, 2001), D(2, 1, 2001));
  EXPECT_DOUBLE_EQ(Apr(one), 12.0);
  one.Points = 2;
  EXPECT_DOUBLE_EQ(Apr(one), 36.7347);
  // Other fees of 20.00 instead of the points: the same amount financed.
  one.Points = 0;
  one.OtherFees = 20;
  Schedule s;
  ASSERT_FALSE(s.Calculate(one).refused);
  const AprResult r = AnnualPercentageRate(s, one);
  EXPECT_DOUBLE_EQ(r.apr, 36.7347);
  EXPECT_DOUBLE_EQ(r.amountFinanced, 980.0);
  // Points paid with the payment are in the stream: 1000 = 1030 / (1 + i),
  // i = 0.03, APR 36 %. Amortized: the balance is 1,020.00 and the payment
  // 1020 x 1.01 = 1030.20, i = 0.0302, APR 36.24 %.
  one.OtherFees = 0;
  one.Points = 2;
  one.PointsPaidMthd = kWithFirstPayment;
  EXPECT_DOUBLE_EQ(Apr(one), 36.0);
  one.PointsPaidMthd = kPointsAmortized;
  EXPECT_DOUBLE_EQ(Apr(one), 36.24);

  // Two payments of 507.51 (1000 x 0.01 / (1 - 1.01^-2) = 507.512) on the
  // same loan with 1 point (10.00) at origination: 990 = 507.51 (v + v^2),
  // v = (-1 + sqrt(1 + 4 x 990 / 507.51)) / 2 = (-1 + sqrt(8.802802)) / 2
  // = 0.9834761, i = 1 / v - 1 = 0.0168016, APR 20.1622 %.
  ScheduleInputs two = Loan(1000, 2, 12.0f, D(1, 1, 2001), D(2, 1, 2001));
  two.Points = 1;
  EXPECT_DOUBLE_EQ(Apr(two), 20.1622);
}

TEST(Apr, OddFirstPeriodIsAFractionOfAUnitPeriod) {
  // Short: the one payment 15 days after the loan carries half a month's
  // interest, 1,005.00. 1000 = 1005 / (1 + 0.5 i): i = 0.01, APR 12 %
  // (a compound half period, 1.005 = (1 + i)^0.5, would give 12.03 %).
  EXPECT_DOUBLE_EQ(Apr(Loan(1000, 1, 12.0f, D(1, 1, 2001), D(1, 16, 2001))), 12.0);
  // Long: 15 odd days before a regular month; their interest, 5.00, is paid
  // at origination and the payment is 1,010.00 one month and 15 days on.
  // 995 = 1010 / ((1 + 0.5 i)(1 + i)): 0.5 i^2 + 1.5 i - 0.0150754 = 0,
  // i = -1.5 + sqrt(2.25 + 0.0301508) = 0.0100168, APR 12.0202 %.
  EXPECT_DOUBLE_EQ(Apr(Loan(1000, 1, 12.0f, D(1, 1, 2001), D(2, 16, 2001))), 12.0202);
}

TEST(Apr, PointsAtOriginationRaiseTheRate) {
  // 2 points on 100,000.00 at 7.5 % over 30 years: 98,000.00 financed for
  // 359 payments of 699.21 and one of 705.60. At APR 7.7076 % the monthly
  // rate j is 0.006423, v^360 = 0.0997702, 699.21 (1 - v^360) / j
  // = 97,999.33 and the last payment's extra 6.39 v^360 = 0.64: 97,999.97,
  // which is 98,000.00 within the fourth decimal of the APR.
  ScheduleInputs in = Loan(100000, 360, 7.5f, D(1, 1, 1997), D(2, 1, 1997));
  in.Points = 2;
  EXPECT_DOUBLE_EQ(Apr(in), 7.7076);
}

TEST(Apr, NoRateRefusesWithAMessage) {
  ScheduleInputs in = Loan(1000, 1, 12.0f, D(1, 1, 2001), D(2, 1, 2001));
  in.OtherFees = -1;
  EXPECT_EQ(AprRefusal(in), "Other Fees can't be negative.\n\n");
  EXPECT_EQ(CheckPrepaidCharges(in)->text, "Other Fees can't be negative.\n\n");
  const std::string nothing =
      "No APR exists:\n\nthe points and fees paid at origination\n\n"
      "are not less than the amount of the loan.\n\n";
  in.Points = 2;
  in.OtherFees = 980;
  EXPECT_EQ(CheckPrepaidCharges(in)->text, nothing);
  EXPECT_EQ(AprRefusal(in), nothing);
  // With the points in the payment, 980.00 of fees still leave 20.00.
  in.PointsPaidMthd = kWithFirstPayment;
  EXPECT_FALSE(CheckPrepaidCharges(in));
  // 20.00 financed for 1,030.00 a month later: i = 50.5, APR 60,600 %.
  EXPECT_EQ(AprRefusal(in), "No APR exists:\n\nthe rate would be above 1,000%.\n\n");
  // Interest of a long first period paid at origination counts too: a year
  // at 99.99 % compounded yearly: 364 odd days of a 360-day year cost
  // 1000 x 0.9999 x 364 / 360 = 1,011.01.
  ScheduleInputs annual = Loan(1000, 1, 99.99f, D(1, 2, 2001), D(1, 1, 2003));
  annual.PYR = kAnnually - 1;
  annual.CmpPYR = kAnnually;
  annual.OtherFees = 10;
  EXPECT_FALSE(CheckPrepaidCharges(annual));
  EXPECT_EQ(AprRefusal(annual), nothing);
  EXPECT_EQ(AnnualPercentageRate(Schedule(), annual).outcome.FirstText(),
            "No APR exists:\n\nthere is no schedule.\n\n");
}

TEST(Apr, TheScheduleGoesToTheTruthInLendingCalculatorAsSeries) {
  // 100,000.00 at 7.5 % over 30 years with 2 points at origination: one
  // advance of 98,000.00 on the origination date, 359 payments of 699.21
  // a month from 02/01/1997 and the last of 705.60 on 01/01/2027.
  ScheduleInputs in = Loan(100000, 360, 7.5f, D(1, 1, 1997), D(2, 1, 1997));
  in.Points = 2;
  Schedule s;
  ASSERT_FALSE(s.Calculate(in).refused);
  TilRecord til = NewTilRecord();
  til.Disclosed = 5;
  ASSERT_TRUE(TruthInLendingTermsOf(s, in, til).ok());
  ASSERT_EQ(til.Advances.size(), 1u);
  EXPECT_EQ(til.Advances[0].amount, 98000.00);
  EXPECT_EQ(til.Advances[0].date, D(1, 1, 1997));
  ASSERT_EQ(til.Payments.size(), 2u);
  EXPECT_EQ(til.Payments[0].count, 359);
  EXPECT_EQ(til.Payments[0].amount, 699.21);
  EXPECT_EQ(til.Payments[0].firstDate, D(2, 1, 1997));
  EXPECT_EQ(til.Payments[0].interval, PaymentInterval::Monthly);
  EXPECT_EQ(til.Payments[1].count, 1);
  EXPECT_EQ(til.Payments[1].amount, 705.60);
  EXPECT_EQ(til.Payments[1].firstDate, D(1, 1, 2027));
  EXPECT_EQ(til.Disclosed, 0);
  // A payment day of 31 steps to 3 March and stays on the 3rd: the first
  // payment is a series of its own.
  ScheduleInputs late = Loan(1000, 3, 12.0f, D(12, 31, 2000), D(1, 31, 2001));
  ASSERT_FALSE(s.Calculate(late).refused);
  ASSERT_TRUE(TruthInLendingTermsOf(s, late, til).ok());
  ASSERT_EQ(til.Payments.size(), 3u);
  EXPECT_EQ(til.Payments[0].firstDate, D(1, 31, 2001));
  EXPECT_EQ(til.Payments[1].firstDate, D(3, 3, 2001));
  EXPECT_EQ(til.Payments[1].count, 1);  // the last payment differs
  // Nothing financed: refused as the APR is, the record unchanged.
  late.OtherFees = 1000;
  EXPECT_EQ(TruthInLendingTermsOf(s, late, til).FirstText(),
            "No APR exists:\n\nthe points and fees paid at origination\n\n"
            "are not less than the amount of the loan.\n\n");
  EXPECT_EQ(til.Payments.size(), 3u);
}

}  // namespace
}  // namespace brevika
