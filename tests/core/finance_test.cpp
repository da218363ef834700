#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "finance/items.h"
#include "finance/outcome.h"
#include "finance/periods.h"
#include "finance/rates.h"

namespace brevika {
namespace {

TEST(Periods, PeriodsPerYearAndStandardDays) {
  const int perYear[] = {365, 52, 26, 12, 6, 4, 2, 1, 12};
  for (int code = 0; code <= 8; ++code) EXPECT_EQ(PeriodsPerYear(code), perYear[code]) << code;
  EXPECT_EQ(PeriodsPerYear(128 + 3), 12);  // taken modulo 128
  EXPECT_EQ(PyrPeriodsPerYear(0), 52);
  EXPECT_EQ(PyrPeriodsPerYear(2), 12);
  EXPECT_EQ(PyrPeriodsPerYear(6), 1);
  EXPECT_EQ(CmpPeriodsPerYear(3), 12);
  EXPECT_EQ(CmpPeriodsPerYear(8), 12);  // Continuous counts as monthly
  EXPECT_EQ(StdDays(4), 90);
  EXPECT_EQ(StdDays(26), 14);
  EXPECT_EQ(StdDays(12), 30);
  EXPECT_EQ(StdDays(6), 60);  // bi-monthly
  EXPECT_EQ(StdDays(2), 180);
  EXPECT_EQ(StdDays(1), 360);
  EXPECT_EQ(StdDays(3), 3);  // no such period: the argument comes back
}

TEST(Periods, DayNumbersStartIn1600) {
  EXPECT_EQ(MakeDate(1, 1, 1600), 0);
  EXPECT_EQ(MakeDate(1, 1, 1601), 366);  // 1600 is a leap year
  EXPECT_EQ(MakeDate(31, 12, 3999) - MakeDate(1, 1, 3999), 364);
  EXPECT_EQ(MakeDate(29, 2, 1900), kBadDate);
  EXPECT_NE(MakeDate(29, 2, 2000), kBadDate);
  EXPECT_EQ(MakeDate(1, 3, 1997) - MakeDate(28, 2, 1997), 1);
  for (Date d : {0, 59, 60, 365, 366, 146096, 146097, 200000, 876216}) {
    int dd, mm, yy;
    SplitDate(d, dd, mm, yy);
    EXPECT_EQ(MakeDate(dd, mm, yy), d) << d;
  }
}

TEST(Periods, IncDateKeepsTheDayPast28AsExcess) {
  // 31 January + 1 month = 28 February + 3 days.
  EXPECT_EQ(IncDate(MakeDate(31, 1, 1997), 0, 1, 0), MakeDate(3, 3, 1997));
  EXPECT_EQ(IncDate(MakeDate(31, 1, 1996), 0, 1, 0), MakeDate(2, 3, 1996));
  // Stepping the result again keeps the shifted day.
  EXPECT_EQ(IncDate(MakeDate(3, 3, 1997), 0, 1, 0), MakeDate(3, 4, 1997));
  EXPECT_EQ(IncDate(MakeDate(15, 11, 1997), 0, 3, 0), MakeDate(15, 2, 1998));
  EXPECT_EQ(IncDate(MakeDate(15, 2, 1998), 0, -3, 0), MakeDate(15, 11, 1997));
  EXPECT_EQ(IncDate(MakeDate(29, 2, 1996), 0, 0, 1), MakeDate(1, 3, 1997));
  EXPECT_EQ(IncDate(MakeDate(10, 5, 2000), 0, 25, 0), MakeDate(10, 6, 2002));
  EXPECT_EQ(IncDate(MakeDate(10, 5, 2000), 0, -17, 0), MakeDate(10, 12, 1998));
  EXPECT_EQ(IncDate(MakeDate(1, 1, 1600), 0, -1, 0), kBadDate);
}

TEST(Periods, ShortDateText) {
  EXPECT_EQ(FormatShortDate(MakeDate(3, 3, 1997)), "03/03/97");
  EXPECT_EQ(FormatShortDate(MakeDate(1, 1, 2005)), "01/01/05");
  EXPECT_EQ(FormatShortDate(MakeDate(31, 12, 1601), true), "12/31/1601");
}

TEST(Periods, OnePeriodSteps) {
  const Date jan31 = MakeDate(31, 1, 1997);
  EXPECT_EQ(StepPeriodForward(jan31, 12), MakeDate(3, 3, 1997));
  EXPECT_EQ(StepPeriodForward(MakeDate(15, 1, 1997), 12), MakeDate(15, 2, 1997));
  EXPECT_EQ(StepPeriodForward(jan31, 52), jan31 + 7);
  EXPECT_EQ(StepPeriodForward(jan31, 26), jan31 + 14);
  EXPECT_EQ(StepPeriodForward(jan31, 365), jan31 + 1);
  EXPECT_EQ(StepPeriodForward(MakeDate(15, 1, 1997), 6), MakeDate(15, 3, 1997));
  EXPECT_EQ(StepPeriodForward(MakeDate(15, 1, 1997), 4), MakeDate(15, 4, 1997));
  EXPECT_EQ(StepPeriodForward(MakeDate(15, 1, 1997), 2), MakeDate(15, 7, 1997));
  EXPECT_EQ(StepPeriodForward(MakeDate(15, 1, 1997), 1), MakeDate(15, 1, 1998));
  EXPECT_EQ(StepPeriodBack(MakeDate(15, 4, 1997), 12), MakeDate(15, 3, 1997));
  EXPECT_EQ(StepPeriodBack(jan31, 3), jan31);  // no step for 3 a year
}

TEST(Rates, ConvertNominalRate) {
  EXPECT_NEAR(ConvertNominalRate(12, 12, 9.0f), 9.0, 1e-12);
  EXPECT_NEAR(ConvertNominalRate(12, 2, 6.0f), 5.92634, 1e-5);
  // 8 % compounded quarterly is 1200 x (1.02^(1/3) - 1) = 7.947251 % nominal monthly.
  EXPECT_NEAR(ConvertNominalRate(12, 4, 8.0f), 7.947251, 1e-6);
  // Continuous compounding counts as monthly.
  EXPECT_EQ(ConvertNominalRate(52, CmpPeriodsPerYear(8), 8.0f),
            ConvertNominalRate(52, CmpPeriodsPerYear(3), 8.0f));
  // The rate really passes through a float: 7.123456789 arrives narrowed.
  const double narrowed = ConvertNominalRate(4, 4, static_cast<float>(7.123456789));
  EXPECT_NEAR(narrowed, static_cast<double>(static_cast<float>(7.123456789)), 1e-12);
  EXPECT_GT(std::fabs(narrowed - 7.123456789), 1e-8);
}

TEST(Rates, RoundToCents) {
  EXPECT_DOUBLE_EQ(RoundToCents(1234.5678), 1234.57);
  EXPECT_DOUBLE_EQ(RoundToCents(1234.5612), 1234.56);
  EXPECT_DOUBLE_EQ(RoundToCents(-1234.5678), -1234.57);
  EXPECT_DOUBLE_EQ(RoundToCents(0.125), 0.13);    // exact binary half: away from zero
  EXPECT_DOUBLE_EQ(RoundToCents(-0.375), -0.38);
  EXPECT_DOUBLE_EQ(RoundToCents(2.675), 2.67);    // 2.675 is really 2.67499999...
  EXPECT_DOUBLE_EQ(RoundToCents(999999999999.994), 999999999999.99);
  // Thirteen integer digits and negative twelve-digit amounts keep their cents.
  EXPECT_DOUBLE_EQ(RoundToCents(1234567890123.456), 1234567890123.46);
  EXPECT_DOUBLE_EQ(RoundToCents(-999999999999.994), -999999999999.99);
  // Far beyond the fields' range the magnitude survives.
  EXPECT_DOUBLE_EQ(RoundToCents(1e20), 1e20);
  EXPECT_DOUBLE_EQ(RoundToCents(123456789012345678.0), 123456789012345678.0);
  EXPECT_DOUBLE_EQ(RoundThroughText(7.499934, 5, 12), 7.49993);
  EXPECT_DOUBLE_EQ(RoundThroughText(12.54996, 4, 12), 12.55);
}

// The arithmetic fast path must agree with the decimal text round trip.
TEST(Rates, RoundToCentsAgreesWithTheTextRoundTrip) {
  std::mt19937_64 gen(20261208);
  for (int k = 0; k < 200000; ++k) {
    const int digits = k % 12;
    std::uniform_real_distribution<double> dist(-std::pow(10.0, digits), std::pow(10.0, digits));
    double x = dist(gen);
    if (k % 7 == 0) x = std::round(x * 1000) / 1000;  // many values near a half cent
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2f", x);
    buf[15] = '\0';
    const double viaText = std::strtod(buf, nullptr);
    const double got = RoundToCents(x);
    // glibc rounds exact binary halves to even; ours go away from zero.
    const double twice = x * 200;
    if (twice == std::trunc(twice) && std::fmod(std::fabs(twice), 2.0) == 1.0) continue;
    ASSERT_EQ(got, viaText) << x;
  }
}

TEST(Rates, LevelAndFirstPayments) {
  EXPECT_DOUBLE_EQ(LevelPaymentArrears(360, 12, 12, 100000, 7.5f), 699.21);
  EXPECT_DOUBLE_EQ(LevelPaymentAdvance(360, 12, 12, 100000, 7.5f), 694.87);
  EXPECT_DOUBLE_EQ(LevelPaymentArrears(300, 12, 2, 100000, 6.0f), 639.81);
  const long double i = PeriodicRate(12, 12, 12.0f);
  EXPECT_DOUBLE_EQ(FirstPaymentArrears(AmortMethod::InterestOnly, i, 12, 10000), 100.00);
  EXPECT_DOUBLE_EQ(FirstPaymentArrears(AmortMethod::FixedPrincipal, i, 12, 12000), 1120.00);
  EXPECT_DOUBLE_EQ(FirstPaymentArrears(AmortMethod::Normal, PeriodicRate(12, 12, 7.5f), 360, 100000), 699.21);
  EXPECT_DOUBLE_EQ(FirstPaymentAdvance(AmortMethod::InterestOnly, i, 12, 10000), 0.0);
  EXPECT_DOUBLE_EQ(FirstPaymentAdvance(AmortMethod::FixedPrincipal, i, 12, 12000), 1000.00);
  EXPECT_DOUBLE_EQ(FirstPaymentAdvance(AmortMethod::RuleOf78, PeriodicRate(12, 12, 7.5f), 360, 100000), 694.87);
  EXPECT_DOUBLE_EQ(FirstPaymentArrears(AmortMethodOf(6), i, 12, 12000), 0.0);
}

TEST(Items, ListsAndDefaults) {
  EXPECT_EQ(PaymentPeriodItems()[LoanDefaults.paymentPeriod - 1], "Monthly");
  EXPECT_EQ(LoanDefaults.pyrIndex(), 2);
  EXPECT_EQ(CompoundingPeriodItems()[LoanDefaults.canadianCmpPYR], "SemiAnnually");
  EXPECT_EQ(AmortizingMethodItems()[LoanDefaults.amortizingMethod], "Normal");
  EXPECT_EQ(PaymentMethodItems()[LoanDefaults.paymentMethod], "Arrears");
  EXPECT_EQ(InterestDueCompoundingItems()[LoanDefaults.interestDueCompounding], "Daily");
  EXPECT_EQ(DayBasisItems()[LoanDefaults.dayBasis], "365");
  EXPECT_EQ(PointsPaidItems()[LoanDefaults.pointsPaid], "At Origination");
  EXPECT_EQ(FindItem(AmortizingMethodItems(), "rule of 78's"), static_cast<int>(AmortMethod::RuleOf78));
  EXPECT_EQ(FindItem(AmortizingMethodItems(), "Rule of 78"), -1);
}

TEST(Annuity, PaymentAndAmountOfTheThirtyYearLoan) {
  // 100,000.00 over 360 months at 7.5 %: 699.21 a month in arrears; in
  // advance each payment is one period earlier, 699.2145 / 1.00625 = 694.87.
  const long double i = 0.075L / 12;
  EXPECT_EQ(RoundToCents(AnnuityPayment(100000, i, 360, true)), 699.21);
  EXPECT_EQ(RoundToCents(AnnuityPayment(100000, i, 360, false)), 694.87);
  // 699.21 repays 699.21 x (1 - 1.00625^-360) / 0.00625 = 99,999.36, 694.87
  // in advance 694.87 x (1 + (1 - 1.00625^-359) / 0.00625) = 99,999.78.
  EXPECT_NEAR(static_cast<double>(AnnuityAmount(699.21, i, 360, true)), 99999.36, 0.01);
  EXPECT_NEAR(static_cast<double>(AnnuityAmount(694.87, i, 360, false)), 99999.78, 0.01);
}

TEST(Outcome, ALoneCarriageReturnBreaksTheLine) {
  EXPECT_EQ(ShownText("a\rb\r\nc\r"), "a\nb\r\nc\n");
  EXPECT_EQ(ShownText("\r\r\n"), "\n\r\n");
  EXPECT_EQ(ShownText("plain"), "plain");
}

}  // namespace
}  // namespace brevika
