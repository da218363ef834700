#include <gtest/gtest.h>

#include "calculators/interest_due.h"
#include "finance/rates.h"

namespace brevika {
namespace {

const Date kJan1st2025 = MakeDate(1, 1, 2025);  // a Wednesday

// 10,000 at 7.5 % from 1 January 2025 for `days` days, dates consistent.
IntDueRecord Term(int days, IntDueCompounding cmp = IntDueCompounding::Daily,
                  DayBasis basis = DayBasis::Days365, double pv = 10000, float rate = 7.5f) {
  IntDueRecord r = NewIntDueRecord(kJan1st2025);
  r.PV = pv;
  r.Rate = rate;
  r.EndDate = kJan1st2025 + days;
  EXPECT_TRUE(IntDueFieldChanged(r, IntDueField::EndDate).ok());
  r.CmpPYR.Select(static_cast<int>(cmp));
  r.RateBasis.Select(static_cast<int>(basis));
  return r;
}

TEST(IntDueRecordTest, InitialValuesAndReset) {
  IntDueRecord r = NewIntDueRecord(kJan1st2025);
  EXPECT_EQ(r.lNumDays, "&Number of Days? (#):");
  EXPECT_EQ(r.lAPY, "Annual Percentage Yield (APY):");
  EXPECT_EQ(r.StartDate, kJan1st2025);
  EXPECT_EQ(r.EndDate, kJan1st2025);
  EXPECT_EQ(r.StartDay, "Wednesday");
  EXPECT_EQ(r.CmpPYR.text, "Daily");
  EXPECT_EQ(r.CmpPYR.items.size(), 10u);
  EXPECT_EQ(r.RateBasis.text, "365");

  r = Term(100, IntDueCompounding::Monthly, DayBasis::Days360);
  ASSERT_TRUE(CalcIntDue(r).ok());
  ResetIntDue(r, kJan1st2025 + 1);
  EXPECT_EQ(r.PV, 0);
  EXPECT_EQ(r.NumDays, 0);
  EXPECT_EQ(r.Rate, 0);
  EXPECT_EQ(r.StartDate, kJan1st2025 + 1);
  EXPECT_EQ(r.EndDay, "Thursday");
  EXPECT_EQ(r.CmpPYR.code<IntDueCompounding>(), IntDueCompounding::Daily);
  EXPECT_EQ(r.RateBasis.code<DayBasis>(), DayBasis::Days365);
  EXPECT_EQ(r.IntPaid, 0);
  EXPECT_EQ(r.FV, 0);
  EXPECT_EQ(r.APY, 0);
  EXPECT_EQ(r.DailyRate, 0);
}

TEST(IntDueDates, WeekdaysAndBadDates) {
  EXPECT_EQ(WeekdayOf(MakeDate(1, 1, 1600)), 6);  // Saturday
  EXPECT_EQ(WeekdayOf(kJan1st2025), 3);
  EXPECT_EQ(WeekdayOf(MakeDate(31, 12, 3999)), 5);  // Friday
  EXPECT_EQ(WeekdayOf(MakeDate(1, 1, 4000)), -1);
  EXPECT_EQ(DayBoxText(kBadDate), "Bad Date");
  WeekdayNames german{"Sonntag", "Montag", "Dienstag", "Mittwoch",
                      "Donnerstag", "Freitag", "Samstag"};
  EXPECT_EQ(DayBoxText(kJan1st2025, german), "Mittwoch");
}

TEST(IntDueDates, DayCountFollowsTheDatesAndMovesThem) {
  IntDueRecord r = NewIntDueRecord(kJan1st2025);
  r.EndDate = kJan1st2025 + 45;
  EXPECT_TRUE(IntDueFieldChanged(r, IntDueField::EndDate).messages.empty());
  EXPECT_EQ(r.NumDays, 45);
  EXPECT_EQ(r.EndDay, "Saturday");

  r.StartDate = kJan1st2025 + 50;  // after the end date
  IntDueFieldChanged(r, IntDueField::StartDate);
  EXPECT_EQ(r.NumDays, -5);
  EXPECT_EQ(r.StartDay, "Thursday");

  r.NumDays = 10;  // moves the end date on from the start date
  IntDueFieldChanged(r, IntDueField::NumDays);
  EXPECT_EQ(r.EndDate, kJan1st2025 + 60);
  EXPECT_EQ(r.StartDate, kJan1st2025 + 50);

  // A negative count moves the start date back from the end date; the
  // count is then the dates' difference again.
  r.NumDays = -20;
  IntDueFieldChanged(r, IntDueField::NumDays);
  EXPECT_EQ(r.EndDate, kJan1st2025 + 60);
  EXPECT_EQ(r.StartDate, kJan1st2025 + 40);
  EXPECT_EQ(r.StartDay, "Monday");
  EXPECT_EQ(r.NumDays, 20);

  // A date no field holds shows "Bad Date" and leaves the count.
  r.EndDate = kBadDate;
  EXPECT_TRUE(IntDueFieldChanged(r, IntDueField::EndDate).messages.empty());
  EXPECT_EQ(r.EndDay, "Bad Date");
  EXPECT_EQ(r.NumDays, 20);
}

TEST(IntDueDates, DatesTooFarApartForTheDayCount) {
  const char* msg =
      "Start Date and End Date can be at most\r\r32,767 days apart.\r\rPlease Try Again";
  IntDueRecord r = Term(100);
  r.EndDate = kJan1st2025 + 32767;
  EXPECT_TRUE(IntDueFieldChanged(r, IntDueField::EndDate).ok());
  EXPECT_EQ(r.NumDays, 32767);

  r.StartDate = kJan1st2025 - 1;  // one day too many
  Outcome out = IntDueFieldChanged(r, IntDueField::StartDate);
  EXPECT_TRUE(out.refused);
  EXPECT_EQ(out.FirstText(), msg);
  EXPECT_EQ(out.messages[0].box, BoxType::Warning);
  EXPECT_EQ(r.StartDate, kJan1st2025);  // back to what the count agrees with
  EXPECT_EQ(r.StartDay, "Wednesday");
  EXPECT_EQ(r.NumDays, 32767);

  r.NumDays = -32768;
  EXPECT_EQ(IntDueFieldChanged(r, IntDueField::NumDays).FirstText(), msg);
  EXPECT_EQ(r.NumDays, 32767);
  EXPECT_EQ(r.StartDate, kJan1st2025);

  // The same span with the dates reversed: 32,767 days back is a count of
  // -32767; one day more (-32768) is refused like +32768, and the start date
  // goes back to the one the count of -32767 agrees with.
  IntDueRecord back = Term(0);
  back.StartDate = kJan1st2025 + 32767;
  EXPECT_TRUE(IntDueFieldChanged(back, IntDueField::StartDate).ok());
  EXPECT_EQ(back.NumDays, -32767);
  back.StartDate = kJan1st2025 + 32768;
  out = IntDueFieldChanged(back, IntDueField::StartDate);
  EXPECT_TRUE(out.refused);
  EXPECT_EQ(out.FirstText(), msg);
  EXPECT_EQ(back.StartDate, kJan1st2025 + 32767);
  EXPECT_EQ(back.NumDays, -32767);
  back.EndDate = kJan1st2025 - 1;
  EXPECT_EQ(IntDueFieldChanged(back, IntDueField::EndDate).FirstText(), msg);
  EXPECT_EQ(back.EndDate, kJan1st2025);
  EXPECT_EQ(back.NumDays, -32767);
}

TEST(IntDueDates, EveryWeekdayTextNamesItsDate) {
  // A day count typed as -5 moved the start date back to Friday 4 December
  // 2026 (the end date is Wednesday 9 December); the count is then 5. Taken
  // again with the day texts of before, the start date's text is Friday.
  IntDueRecord r = NewIntDueRecord(MakeDate(9, 12, 2026));
  r.NumDays = -5;
  IntDueFieldChanged(r, IntDueField::NumDays);
  EXPECT_EQ(r.StartDate, MakeDate(4, 12, 2026));
  EXPECT_EQ(r.StartDay, "Friday");
  r.StartDay = "Wednesday";
  EXPECT_TRUE(IntDueFieldChanged(r, IntDueField::NumDays).ok());
  EXPECT_EQ(r.NumDays, 5);
  EXPECT_EQ(r.StartDay, "Friday");
  EXPECT_EQ(r.EndDay, "Wednesday");

  // Both dates given at once, 150 years apart: the start date goes back to
  // the end date (the count was 0) and both texts name 1 January 1950, a
  // Sunday, not the weekday the record was made with.
  IntDueRecord far = NewIntDueRecord(kJan1st2025);
  far.StartDate = MakeDate(1, 1, 2100);
  far.EndDate = MakeDate(1, 1, 1950);
  EXPECT_TRUE(IntDueFieldChanged(far, IntDueField::StartDate).refused);
  EXPECT_EQ(far.StartDate, MakeDate(1, 1, 1950));
  EXPECT_EQ(far.StartDay, "Sunday");
  EXPECT_EQ(far.EndDay, "Sunday");

  // The count of -32768 is refused; the texts still follow the dates.
  IntDueRecord refused = NewIntDueRecord(kJan1st2025);
  refused.EndDate = kJan1st2025 + 1;
  refused.NumDays = -32768;
  EXPECT_TRUE(IntDueFieldChanged(refused, IntDueField::NumDays).refused);
  EXPECT_EQ(refused.NumDays, 1);
  EXPECT_EQ(refused.EndDay, "Thursday");
}

TEST(IntDueCalc, ZeroDaysEarnNothing) {
  IntDueRecord r = Term(0, IntDueCompounding::Continuous);
  r.EndDate = kBadDate;  // the dates do not matter then
  r.IntPaid = 5;
  EXPECT_TRUE(CalcIntDue(r).messages.empty());
  EXPECT_EQ(r.IntPaid, 0);
  EXPECT_EQ(r.FV, 10000);
  EXPECT_EQ(r.APY, 0);
  EXPECT_EQ(r.DailyRate, 0);
}

TEST(IntDueCalc, DailyOverAYearOnThe365Basis) {
  IntDueRecord r = Term(365);
  ASSERT_EQ(r.NumDays, 365);
  EXPECT_TRUE(CalcIntDue(r).messages.empty());
  // 10,000 x ((1 + 0.075 / 365)^365 - 1), unrounded.
  EXPECT_NEAR(r.IntPaid, 778.758464400258, 1e-9);
  EXPECT_NEAR(r.FV, 10778.758464400258, 1e-9);
  EXPECT_FLOAT_EQ(r.APY, 7.7875846f);
  EXPECT_FLOAT_EQ(r.DailyRate, 0.075f / 365);
}

TEST(IntDueCalc, The360BasisKeepsThe365DayYieldExponent) {
  IntDueRecord r = Term(360, IntDueCompounding::Daily, DayBasis::Days360);
  EXPECT_TRUE(CalcIntDue(r).messages.empty());
  EXPECT_NEAR(r.IntPaid, 778.757311169844, 1e-9);  // 360 periods a year
  EXPECT_FLOAT_EQ(r.DailyRate, 0.075f / 360);
  EXPECT_FLOAT_EQ(r.APY, 7.8998986f);  // exponent 365 / 360
}

TEST(IntDueCalc, ContinuousBranchesAtAYearOfTheBasis) {
  // e is taken as 2.718281828: 10,000 x (e^0.075 - 1) = 778.8415087098.
  IntDueRecord year = Term(360, IntDueCompounding::Continuous, DayBasis::Days360);
  CalcIntDue(year);
  EXPECT_NEAR(year.IntPaid, 778.841508709796, 1e-9);
  IntDueRecord twoYears = Term(720, IntDueCompounding::Continuous, DayBasis::Days360);
  CalcIntDue(twoYears);
  EXPECT_NEAR(twoYears.IntPaid, 1618.342426988527, 1e-9);  // e^(r t): compound
  // One day fewer than a year: that share of one year's interest.
  IntDueRecord shorter = Term(359, IntDueCompounding::Continuous, DayBasis::Days360);
  CalcIntDue(shorter);
  EXPECT_NEAR(shorter.IntPaid, 776.678060074491, 1e-9);
  EXPECT_NEAR(shorter.FV, 10776.678060074491, 1e-9);
  IntDueRecord shorter365 = Term(364, IntDueCompounding::Continuous, DayBasis::Days365);
  CalcIntDue(shorter365);
  EXPECT_NEAR(shorter365.IntPaid, 776.707696357166, 1e-9);
}

TEST(IntDueCalc, TermsShorterThanOnePeriodTakeSimpleInterest) {
  // 20 days are less than one month of the 365 basis: 10,000 x r x 20 / 365.
  IntDueRecord r = Term(20, IntDueCompounding::Monthly);
  CalcIntDue(r);
  EXPECT_NEAR(r.IntPaid, 41.095890410959, 1e-9);
  // Two months of the 360 basis compound twice.
  IntDueRecord two = Term(60, IntDueCompounding::Monthly, DayBasis::Days360);
  CalcIntDue(two);
  EXPECT_NEAR(two.IntPaid, 125.390625, 1e-9);
  // "Simple" never compounds.
  IntDueRecord simple = Term(400, IntDueCompounding::Simple);
  CalcIntDue(simple);
  EXPECT_NEAR(simple.IntPaid, 821.917808219178, 1e-9);
  EXPECT_NEAR(simple.FV, 10821.917808219178, 1e-9);
}

TEST(IntDueCalc, ZeroAmountOrRate) {
  // The yield does not depend on the amount: an amount of 0 shows the yield
  // of the terms and earns nothing.
  IntDueRecord zero = Term(365, IntDueCompounding::Daily, DayBasis::Days365, 0);
  EXPECT_TRUE(CalcIntDue(zero).messages.empty());
  EXPECT_EQ(zero.IntPaid, 0);
  EXPECT_EQ(zero.FV, 0);
  EXPECT_FLOAT_EQ(zero.APY, 7.7875846f);
  EXPECT_FLOAT_EQ(zero.DailyRate, 0.075f / 365);

  IntDueRecord noRate = Term(200, IntDueCompounding::Quarterly, DayBasis::Days365, 10000, 0);
  EXPECT_TRUE(CalcIntDue(noRate).messages.empty());
  EXPECT_EQ(noRate.IntPaid, 0);
  EXPECT_EQ(noRate.FV, 10000);
  EXPECT_EQ(noRate.APY, 0);
}

TEST(IntDueCalc, RefusalsLeaveTheRecord) {
  IntDueRecord bad = Term(30);
  bad.StartDate = kBadDate;
  Outcome out = CalcIntDue(bad);
  EXPECT_TRUE(out.refused);
  EXPECT_EQ(out.FirstText(),
            "Start Date and End Date must be valid dates\r\r(01/01/1600 to 12/31/3999).\r\r"
            "Please Try Again");
  EXPECT_EQ(bad.FV, 0);

  IntDueRecord huge = Term(30000, IntDueCompounding::Daily, DayBasis::Days365, 1e12, 1e6f);
  huge.IntPaid = 1.5;
  huge.APY = 2.5f;
  Outcome big = CalcIntDue(huge);
  EXPECT_TRUE(big.refused);
  EXPECT_EQ(big.messages[0], NonFiniteMessage());
  EXPECT_EQ(huge.IntPaid, 1.5);
  EXPECT_EQ(huge.FV, 0);
  EXPECT_EQ(huge.APY, 2.5f);
}

TEST(IntDueCopy, CopyTextAndPrintLines) {
  IntDueRecord r = Term(365);
  ASSERT_TRUE(CalcIntDue(r).ok());
  EXPECT_EQ(CopyText("Interest Due Calculator 1", KindRows(IntDueKind(), r), UsLocaleFormat()),
            "Interest Due Calculator 1\r\n\r\n"
            "Amount?:                       $10,000.00\r\n"
            "Number of Days? (#):                  365\r\n"
            "Annual Rate? (%):                    7.50\r\n"
            "Start Date?:             Wednesday 01/01/2025\r\n"
            "End Date?:               Thursday  01/01/2026\r\n"
            "Compounding Period?:                Daily\r\n"
            "Rate Basis?:                          365\r\n"
            "Interest for Term:                $778.76\r\n"
            "Future Value:                  $10,778.76\r\n"
            "Annual Percentage Yield (APY):           7.7876\r\n"
            "Daily Periodic Rate:            0.0002055\r\n");
  const auto lines = PrintLines(KindRows(IntDueKind(), r), UsLocaleFormat());
  ASSERT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines[2], "\tAnnual Rate? (%):       \t          7.5000");
  EXPECT_EQ(lines[3], "\tStart Date?:            \tWednesday 01/01/2025");
  EXPECT_EQ(lines[4], "\tEnd Date?:              \tThursday 01/01/2026");
  EXPECT_EQ(lines[10], "\tDaily Periodic Rate:    \t       0.0002055");
}

}  // namespace
}  // namespace brevika
