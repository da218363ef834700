#include <gtest/gtest.h>

#include <string>

#include "calculators/truth_in_lending.h"

namespace brevika {
namespace {

Date D(int m, int d, int y) { return MakeDate(d, m, y); }

using PI = PaymentInterval;

TilRecord Loan(std::vector<TilAdvance> advances, std::vector<TilPaymentSeries> payments,
               double disclosed = 0) {
  TilRecord r = NewTilRecord();
  r.Advances = std::move(advances);
  r.Payments = std::move(payments);
  r.Disclosed = disclosed;
  return r;
}

// The record after Calc; the test fails if Calc refuses.
TilRecord Calc(TilRecord r) {
  const Outcome o = CalcTil(r);
  EXPECT_FALSE(o.refused) << o.FirstText();
  return r;
}

std::vector<Date> Dates(Date first, PI interval, int n) {
  std::vector<Date> out;
  for (int k = 0; k < n; ++k) out.push_back(SeriesPaymentDate(first, interval, k));
  return out;
}

TEST(TruthInLending, SeriesDatesFollowTheirInterval) {
  // Semimonthly from a day up to the 15th: that day and 15 days later; from
  // the 16th: the 16th and the 1st.
  EXPECT_EQ(Dates(D(1, 10, 2025), PI::Semimonthly, 4),
            (std::vector<Date>{D(1, 10, 2025), D(1, 25, 2025), D(2, 10, 2025), D(2, 25, 2025)}));
  EXPECT_EQ(Dates(D(1, 16, 2025), PI::Semimonthly, 3),
            (std::vector<Date>{D(1, 16, 2025), D(2, 1, 2025), D(2, 16, 2025)}));
  // Monthly keeps the first date's day, the last day of a shorter month.
  EXPECT_EQ(Dates(D(1, 31, 2024), PI::Monthly, 4),
            (std::vector<Date>{D(1, 31, 2024), D(2, 29, 2024), D(3, 31, 2024), D(4, 30, 2024)}));
  EXPECT_EQ(Dates(D(8, 31, 2025), PI::Semiannually, 2),
            (std::vector<Date>{D(8, 31, 2025), D(2, 28, 2026)}));
  EXPECT_EQ(Dates(D(1, 1, 2025), PI::FourWeekly, 2), (std::vector<Date>{D(1, 1, 2025), D(1, 29, 2025)}));
  EXPECT_EQ(SeriesPaymentDate(D(2, 29, 2024), PI::Annually, 1), D(2, 28, 2025));
  EXPECT_EQ(SeriesPaymentDate(D(12, 31, 9999), PI::Weekly, 1), kBadDate);
  // The payments of a loan fall on these dates, in date order.
  for (int k = 0; k < kPaymentIntervalCount; ++k) {
    const PI interval = static_cast<PI>(k);
    std::vector<Date> dates;
    for (const TilPayment& p : TilPayments({{30, 10, D(1, 31, 2024), interval}}))
      dates.push_back(p.date);
    EXPECT_EQ(dates, Dates(D(1, 31, 2024), interval, 30)) << IntervalName(interval);
  }
  const std::vector<TilPayment> two =
      TilPayments({{2, 10, D(3, 1, 2025), PI::Monthly}, {2, 20, D(2, 15, 2025), PI::Monthly}});
  ASSERT_EQ(two.size(), 4u);
  EXPECT_EQ(two[0].date, D(2, 15, 2025));
  EXPECT_EQ(two[0].series, 1);
  EXPECT_EQ(two[1].date, D(3, 1, 2025));
  EXPECT_EQ(two[3].number, 1);
  EXPECT_EQ(IntervalName(PI::FourWeekly), "4-weekly");
  EXPECT_EQ(IntervalName(PI::Semiannually), "semiannually");
}

TEST(TruthInLending, TheRegulationsExamplesThroughTheCalculator) {
  // 5,000.00 on 01/10/1978, 24 monthly payments of 230.00 from 02/10/1978
  // (the engine's test has the arithmetic): 9.69 %; 5,520.00 paid, 520.00
  // of finance charge.
  TilRecord r = Calc(Loan({{5000, D(1, 10, 1978)}}, {{24, 230, D(2, 10, 1978), PI::Monthly}}));
  EXPECT_NEAR(r.APR, 9.6857, 5e-5);
  EXPECT_EQ(UnitPeriodName(r), "monthly");
  EXPECT_EQ(r.UnitPeriodsPerYear, 12);
  EXPECT_EQ(r.AmountFinanced, 5000.00);
  EXPECT_EQ(r.TotalOfPayments, 5520.00);
  EXPECT_EQ(r.FinanceCharge, 520.00);
  EXPECT_FALSE(r.Irregular);
  // 10,000.00 on 05/23/1978, 40 quarterly payments of 385.00 from
  // 10/01/1978: 8.97 %.
  r = Calc(Loan({{10000, D(5, 23, 1978)}}, {{40, 385, D(10, 1, 1978), PI::Quarterly}}));
  EXPECT_NEAR(r.APR, 8.9708, 5e-5);
  EXPECT_EQ(UnitPeriodName(r), "quarterly");
  // 1,000.00 on 01/03/1978 and one payment of 1,080.00 on 09/15/1978: a
  // unit period of its own 255 days, 0.08 x 365 / 255 = 11.45 %.
  r = Calc(Loan({{1000, D(1, 3, 1978)}}, {{1, 1080, D(9, 15, 1978)}}));
  EXPECT_NEAR(r.APR, 11.4510, 5e-5);
  EXPECT_TRUE(r.Single);
  EXPECT_EQ(UnitPeriodName(r), "single");
  EXPECT_EQ(UnitPeriodText(r), "Single Payment");
  EXPECT_DOUBLE_EQ(r.UnitPeriodsPerYear, 365.0 / 255);
}

TEST(TruthInLending, LoansWorkedOutByHand) {
  // Semimonthly, 2,400.00 on 03/01/2025 and 24 payments of 105.00 on the
  // 16th and the 1st from 03/16/2025: payment k is k half-months out,
  // 2400 = 105 (1 - v^24) / i; at i = 0.0039406 the right side is
  // 2,400.00. APR 24 i = 9.4574 %.
  TilRecord r = Calc(Loan({{2400, D(3, 1, 2025)}}, {{24, 105, D(3, 16, 2025), PI::Semimonthly}}));
  EXPECT_NEAR(r.APR, 9.4574, 5e-5);
  EXPECT_EQ(UnitPeriodName(r), "semimonthly");
  EXPECT_FALSE(r.Irregular);
  // The same advanced on 03/05/2025: the first payment is 11 days out, 11/15
  // of a half-month, and every payment k is k half-months and 11/15 out:
  // 2400 (1 + 11 i / 15) = 105 (1 + i)(1 - v^24) / i; at i = 0.0040279
  // both are 2,407.09. APR 9.6670 %.
  r = Calc(Loan({{2400, D(3, 5, 2025)}}, {{24, 105, D(3, 16, 2025), PI::Semimonthly}}));
  EXPECT_NEAR(r.APR, 9.6670, 5e-5);
  EXPECT_FALSE(r.Irregular);

  // Two advances (a construction loan): 50,000.00 on 01/15/2025 and
  // 50,000.00 three months later, 120 monthly payments of 1,100.00 from
  // 07/15/2025 (6 to 125 months out): 50000 + 50000 v^3 = 1100 v^5 (1 -
  // v^120) / i; at i = 0.0045398, v^3 = 0.9865033 and both sides are
  // 99,325.2 to within the rounding of i. APR 12 i = 5.4477 %; irregular.
  r = Calc(Loan({{50000, D(1, 15, 2025)}, {50000, D(4, 15, 2025)}},
                {{120, 1100, D(7, 15, 2025), PI::Monthly}}));
  EXPECT_NEAR(r.APR, 5.4477, 5e-5);
  EXPECT_EQ(r.AmountFinanced, 100000.00);
  EXPECT_EQ(r.FinanceCharge, 32000.00);
  EXPECT_TRUE(r.Irregular);

  // A first and a final payment that differ: 3,000.00 on 06/10/2025, 150.00
  // on 07/25/2025 (one month and 15 days: t = 1, f = 1/2), ten of 280.00
  // monthly from 08/25/2025 (t = 2 .. 11) and 200.00 on 06/25/2026 (t = 12),
  // each also 1/2 month: 3000 (1 + i / 2) = 150 v + 280 v (1 - v^10) / i +
  // 200 v^12; at i = 0.0069434 both are 3,010.42. APR 8.3321 %, a regular
  // loan.
  r = Calc(Loan({{3000, D(6, 10, 2025)}}, {{1, 150, D(7, 25, 2025)},
                                          {10, 280, D(8, 25, 2025), PI::Monthly},
                                          {1, 200, D(6, 25, 2026)}}));
  EXPECT_NEAR(r.APR, 8.3321, 5e-5);
  EXPECT_EQ(r.TotalOfPayments, 3150.00);
  EXPECT_EQ(UnitPeriodName(r), "monthly");
  EXPECT_FALSE(r.Irregular);

  // Weekly with odd days: 1,000.00 on Friday 01/03/2025, 20 weekly payments
  // of 55.00 from Monday 01/13/2025, 10 days out (t = 1, f = 3/7), each
  // later one a week more: 1000 (1 + 3 i / 7) = 55 (1 - v^20) / i; at
  // i = 0.0088783 both are 1,003.80. APR 52 i = 46.1673 %.
  r = Calc(Loan({{1000, D(1, 3, 2025)}}, {{20, 55, D(1, 13, 2025), PI::Weekly}}));
  EXPECT_NEAR(r.APR, 46.1673, 5e-5);
  EXPECT_EQ(UnitPeriodName(r), "weekly");

  // One payment more than a year out: 1,000.00 on 01/03/2025 and 1,150.00
  // on 07/03/2026, one year and the 181 days from 01/03 to 07/03/2025:
  // 1150 = 1000 (1 + a i)(1 + i), a = 181/365 = 0.4958904; a i^2 +
  // 1.4958904 i - 0.15 = 0 gives i = 0.0971462, the APR 9.7146 %.
  r = Calc(Loan({{1000, D(1, 3, 2025)}}, {{1, 1150, D(7, 3, 2026)}}));
  EXPECT_NEAR(r.APR, 9.7146, 5e-5);
  EXPECT_TRUE(r.Single);
  EXPECT_EQ(r.UnitPeriodsPerYear, 1);
}

TEST(TruthInLending, UnitPeriodIsTheIntervalMostOftenBetweenPayments) {
  const Date start = D(12, 20, 2024);
  auto shape = [start](std::vector<TilPaymentSeries> series, int advances = 1) {
    return ShapeOfLoan(start, advances, TilPayments(series), series);
  };
  // Two semimonthly intervals (01/01, 01/16, 02/01) against a monthly one
  // to 03/01 and another to 04/01: a tie, the shorter wins; irregular.
  TilLoanShape s = shape({{3, 100, D(1, 1, 2025), PI::Semimonthly}, {2, 100, D(3, 1, 2025)}});
  EXPECT_EQ(s.unit, UnitPeriodOf(PI::Semimonthly));
  EXPECT_TRUE(s.irregular);
  // One more monthly payment: monthly wins.
  s = shape({{3, 100, D(1, 1, 2025), PI::Semimonthly}, {3, 100, D(3, 1, 2025)}});
  EXPECT_EQ(s.unit, UnitPeriodOf(PI::Monthly));
  // 02/08 to 03/08/2015 is 28 days, 4 weeks and a month: between series of
  // single monthly payments it is a month.
  s = shape({{1, 100, D(1, 8, 2015)}, {1, 100, D(2, 8, 2015)}, {1, 100, D(3, 8, 2015)}});
  EXPECT_EQ(s.unit, UnitPeriodOf(PI::Monthly));
  EXPECT_FALSE(s.irregular);
  // No interval fits 01/20, 03/05, 04/22 (44 and 48 days): the average of
  // 46 days is 14.83 days from two months (60.83) and 15.58 from a month
  // (30.42): two months.
  s = shape({{1, 100, D(1, 20, 2025)}, {1, 100, D(3, 5, 2025)}, {1, 100, D(4, 22, 2025)}});
  EXPECT_EQ(s.unit, UnitPeriodOf(PI::Bimonthly));
  EXPECT_TRUE(s.irregular);
  // Weekly payments that change amount in the middle: irregular.
  s = shape({{10, 50, D(1, 3, 2025), PI::Weekly}, {10, 60, D(3, 14, 2025), PI::Weekly}});
  EXPECT_EQ(s.unit, UnitPeriodOf(PI::Weekly));
  EXPECT_TRUE(s.irregular);
  // A single payment within a year is a term of its own days; a year on or
  // later, a year; two advances make it irregular.
  s = shape({{1, 100, D(6, 20, 2025)}});
  EXPECT_EQ(s.unit, (UnitPeriod{UnitPeriodKind::Term, 182}));
  EXPECT_TRUE(s.single);
  EXPECT_FALSE(s.irregular);
  s = shape({{1, 100, D(12, 20, 2025)}}, 2);
  EXPECT_EQ(s.unit, UnitPeriod{UnitPeriodKind::Annually});
  EXPECT_TRUE(s.irregular);
}

TEST(TruthInLending, DisclosedAprIsAccurateWithinItsTolerance) {
  // 9.6857 %: 9.81 is 0.1243 away, within 1/8; 9.82 is 0.1343 away; below
  // it, 9.57 is 0.1157 away and 9.56 0.1257.
  TilRecord r = Calc(Loan({{5000, D(1, 10, 1978)}}, {{24, 230, D(2, 10, 1978)}}, 9.81));
  EXPECT_EQ(r.Tolerance, 0.125);
  EXPECT_EQ(r.Verdict, TilVerdict::Accurate);
  r = Calc(Loan({{5000, D(1, 10, 1978)}}, {{24, 230, D(2, 10, 1978)}}, 9.82));
  EXPECT_EQ(r.Verdict, TilVerdict::NotAccurate);
  r = Calc(Loan({{5000, D(1, 10, 1978)}}, {{24, 230, D(2, 10, 1978)}}, 9.57));
  EXPECT_EQ(r.Verdict, TilVerdict::Accurate);
  r = Calc(Loan({{5000, D(1, 10, 1978)}}, {{24, 230, D(2, 10, 1978)}}, 9.56));
  EXPECT_EQ(r.Verdict, TilVerdict::NotAccurate);
  // The construction loan, 5.4477 %, is irregular: 1/4. 5.69 is 0.2423
  // away, 5.70 is 0.2523 away.
  const std::vector<TilAdvance> two = {{50000, D(1, 15, 2025)}, {50000, D(4, 15, 2025)}};
  r = Calc(Loan(two, {{120, 1100, D(7, 15, 2025)}}, 5.69));
  EXPECT_EQ(r.Tolerance, 0.25);
  EXPECT_EQ(r.Verdict, TilVerdict::Accurate);
  r = Calc(Loan(two, {{120, 1100, D(7, 15, 2025)}}, 5.70));
  EXPECT_EQ(r.Verdict, TilVerdict::NotAccurate);
  EXPECT_EQ(VerdictText(r.Verdict), "Not Accurate");
  // Without a disclosed APR there is no verdict.
  r = Calc(Loan(two, {{120, 1100, D(7, 15, 2025)}}));
  EXPECT_EQ(r.Tolerance, 0);
  EXPECT_EQ(r.Verdict, TilVerdict::None);
}

TEST(TruthInLending, RefusalsLeaveTheRecordAsItWas) {
  const TilAdvance adv{1000, D(1, 1, 2025)};
  const TilPaymentSeries pay{12, 90, D(2, 1, 2025)};
  auto refusal = [](TilRecord r) {
    r.APR = 12.34;
    const TilRecord before = r;
    const Outcome o = CalcTil(r);
    EXPECT_TRUE(o.refused);
    EXPECT_EQ(r.APR, before.APR);
    EXPECT_EQ(r.Advances.size(), before.Advances.size());
    EXPECT_EQ(o.messages.size(), 1u);
    if (!o.messages.empty()) {
      EXPECT_EQ(o.messages[0].box, BoxType::Warning);
    }
    return o.FirstText();
  };
  EXPECT_EQ(refusal(Loan({}, {pay})),
            "Enter at least one advance:\r\ran amount and its date.\r\rPlease Try Again");
  // Blank rows count for nothing.
  EXPECT_EQ(refusal(Loan({adv}, {TilPaymentSeries{}})),
            "Enter at least one series of payments:\r\rthe number of payments, their amount\r\r"
            "and the first payment date.\r\rPlease Try Again");
  EXPECT_EQ(refusal(Loan({{0, D(1, 1, 2025)}}, {pay})),
            "Every advance must be\r\rgreater than zero.\r\rPlease Try Again");
  EXPECT_EQ(refusal(Loan({adv}, {{12, 0, D(2, 1, 2025)}})),
            "The number and the amount of payments\r\rmust be greater than zero.\r\rPlease Try Again");
  EXPECT_EQ(refusal(Loan({adv}, {{-1, 90, D(2, 1, 2025)}})),
            "The number and the amount of payments\r\rmust be greater than zero.\r\rPlease Try Again");
  EXPECT_EQ(refusal(Loan({{1000, kBadDate}}, {pay})),
            "Every advance and payment date must be a valid date\r\r(01/01/1600 to 12/31/3999).\r\r"
            "Please Try Again");
  EXPECT_EQ(refusal(Loan({adv}, {{12, 90, D(6, 1, 3999)}})),
            "The payments can't go beyond 12/31/3999.\r\rPlease Try Again");
  EXPECT_EQ(refusal(Loan({adv}, {{30000, 1, D(2, 1, 2025)}, {3000, 1, D(2, 1, 2025)}})),
            "A loan can have at most\r\r32,767 payments.\r\rPlease Try Again");
  EXPECT_EQ(refusal(Loan({adv}, {{12, 90, D(12, 1, 2024)}})),
            "No payment can fall\r\rbefore the first advance.\r\rPlease Try Again");
  EXPECT_EQ(refusal(Loan({adv}, {{12, 83, D(2, 1, 2025)}})),
            "The payments total less than the advances:\r\rthey do not repay the loan.\r\r"
            "Please Try Again");
  // 100.00 repaid by 200.00 a month later: 1,200 %.
  EXPECT_EQ(refusal(Loan({{100, D(1, 1, 2025)}}, {{1, 200, D(2, 1, 2025)}})),
            "The APR for these values is above 999 %.\r\rPlease Try Again");
  EXPECT_EQ(refusal(Loan({adv}, {pay}, -1)), "Disclosed APR can't be negative.\r\rPlease Try Again");
  // Reset empties the grids and the results.
  TilRecord r = Calc(Loan({adv}, {pay}, 8));
  ResetTil(r);
  EXPECT_TRUE(r.Advances.empty());
  EXPECT_TRUE(r.Payments.empty());
  EXPECT_EQ(r.Disclosed, 0);
  EXPECT_EQ(r.APR, 0);
  EXPECT_EQ(r.Verdict, TilVerdict::None);
  // No unit period before a loan is worked out again.
  EXPECT_EQ(UnitPeriodText(r), "");
}

TEST(TruthInLending, CopyTextListsTheLoanThenTheDisclosure) {
  TilRecord r = Calc(Loan({{5000, D(1, 10, 1978)}}, {{24, 230, D(2, 10, 1978)}}, 9.8));
  EXPECT_EQ(CopyText("Truth in Lending 1", TilRows(r), UsLocaleFormat()),
            "Truth in Lending 1\r\n\r\n"
            "Advance 1:                      $5,000.00\r\n"
            "Advance 1 Date:          Tuesday   01/10/1978\r\n"
            "Payments 1:                            24\r\n"
            "Payments 1 Amount:                $230.00\r\n"
            "Payments 1 First Date:   Friday    02/10/1978\r\n"
            "Payments 1 Interval:              Monthly\r\n"
            "Disclosed APR?:                      9.80\r\n"
            "ANNUAL PERCENTAGE RATE:              9.69\r\n"
            "FINANCE CHARGE:                   $520.00\r\n"
            "Amount Financed:                $5,000.00\r\n"
            "Total of Payments:              $5,520.00\r\n"
            "Unit Period:                      Monthly\r\n"
            "Disclosed APR Is:                Accurate\r\n");
}

TEST(TruthInLending, CommandLineFormsOfAdvancesAndPayments) {
  std::string error;
  auto adv = ParseAdvanceText("5,000.00@01/10/1978", error);
  ASSERT_TRUE(adv);
  EXPECT_EQ(adv->amount, 5000.00);
  EXPECT_EQ(adv->date, D(1, 10, 1978));
  EXPECT_FALSE(ParseAdvanceText("5000", error));
  EXPECT_EQ(error, "is not AMOUNT@MM/DD/YYYY");
  EXPECT_FALSE(ParseAdvanceText("0@01/10/1978", error));
  EXPECT_EQ(error, "has no amount above 0 before '@' (at most 12 integer digits and 2 decimals)");
  EXPECT_FALSE(ParseAdvanceText("5000@01/10/78", error));
  EXPECT_EQ(error, "has no date MM/DD/YYYY from 01/01/1600 to 12/31/3999 after '@'");

  auto s = ParsePaymentSeriesText("24x230@02/10/1978", error);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->count, 24);
  EXPECT_EQ(s->amount, 230.0);
  EXPECT_EQ(s->firstDate, D(2, 10, 1978));
  EXPECT_EQ(s->interval, PI::Monthly);
  s = ParsePaymentSeriesText("40X385.50@10/01/1978/Quarterly", error);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->amount, 385.50);
  EXPECT_EQ(s->interval, PI::Quarterly);
  s = ParsePaymentSeriesText("13x100@1/1/2025/4-weekly", error);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->interval, PI::FourWeekly);
  EXPECT_FALSE(ParsePaymentSeriesText("24@02/10/1978", error));
  EXPECT_EQ(error, "is not COUNTxAMOUNT@MM/DD/YYYY[/INTERVAL]");
  EXPECT_FALSE(ParsePaymentSeriesText("0x230@02/10/1978", error));
  EXPECT_EQ(error, "has no number of payments from 1 to 32767 before 'x'");
  EXPECT_FALSE(ParsePaymentSeriesText("24x-5@02/10/1978", error));
  EXPECT_EQ(error,
            "has no amount above 0 between 'x' and '@' (at most 12 integer digits and 2 decimals)");
  EXPECT_FALSE(ParsePaymentSeriesText("24x230@02/30/1978", error));
  EXPECT_EQ(error, "has no first date MM/DD/YYYY from 01/01/1600 to 12/31/3999 after '@'");
  EXPECT_FALSE(ParsePaymentSeriesText("24x230@02/10/1978/fortnightly", error));
  EXPECT_EQ(error,
            "has no interval weekly, biweekly, 4-weekly, semimonthly, monthly, bimonthly, "
            "quarterly, semiannually or annually after the date");
}

}  // namespace
}  // namespace brevika
