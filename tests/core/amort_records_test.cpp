#include <gtest/gtest.h>

#include "amortization/amort_records.h"

namespace brevika {
namespace {

TEST(AmortRecords, FirstPaymentDefaultMovesToTheFirstOfTheNextMonth) {
  // Mid-month: one month on is 15 June, so the 1st of July.
  EXPECT_EQ(DefaultFirstPaymentDate(MakeDate(15, 5, 1997)), MakeDate(1, 7, 1997));
  // Already the 1st one month on: kept.
  EXPECT_EQ(DefaultFirstPaymentDate(MakeDate(1, 5, 1997)), MakeDate(1, 6, 1997));
  // December rolls into the next year.
  EXPECT_EQ(DefaultFirstPaymentDate(MakeDate(20, 11, 1997)), MakeDate(1, 1, 1998));
  EXPECT_EQ(DefaultFirstPaymentDate(MakeDate(1, 12, 1997)), MakeDate(1, 1, 1998));
  EXPECT_EQ(DefaultFirstPaymentDate(MakeDate(2, 12, 1997)), MakeDate(1, 2, 1998));
  // 31 January steps to 3 March in a common year (day kept past the 28th),
  // so the suggestion is 1 April, not 1 March.
  EXPECT_EQ(DefaultFirstPaymentDate(MakeDate(31, 1, 1997)), MakeDate(1, 4, 1997));
  // Leap year: 29 January steps to 29 February, then 1 March.
  EXPECT_EQ(DefaultFirstPaymentDate(MakeDate(29, 1, 1996)), MakeDate(1, 3, 1996));
}

TEST(AmortRecords, FirstContentsAndEngineInputs) {
  const Date today = MakeDate(10, 3, 2024);
  AmortInputs in = NewAmortInputs(today);
  EXPECT_EQ(in.OrgDate, today);
  EXPECT_EQ(in.FrstPmtDate, MakeDate(1, 5, 2024));
  EXPECT_EQ(in.PV, 0.0);
  EXPECT_EQ(in.NumPmts, 0);
  EXPECT_EQ(in.Rate, 0.0f);
  EXPECT_EQ(in.Points, 0.0f);
  EXPECT_EQ(in.PYR.index, 2);
  EXPECT_EQ(in.PYR.text, "Monthly");
  EXPECT_EQ(in.CmpPYR.index, 3);
  EXPECT_EQ(in.CmpPYR.text, "Monthly");
  EXPECT_EQ(in.lPV, "&Amount of Loan?:");
  EXPECT_EQ(in.lRunningTotals, "Running Totals:");

  AmortOptValues opt;
  EXPECT_EQ(opt.AmortMthd.text, "Normal");
  EXPECT_EQ(opt.RateBasis.text, "Ordinary");
  EXPECT_EQ(opt.PointsPaidMthd.text, "At Origination");
  EXPECT_EQ(opt.lAmortMthd, "Amorti&zing Method?:");

  in.PV = 100000;
  in.NumPmts = 360;
  in.Rate = 7.5f;
  in.Points = 2;
  in.PYR.Select(1);
  in.CmpPYR.Select(6);
  ScheduleInputs s = ToScheduleInputs(in, AmortChoices{4, 2, 1});
  EXPECT_EQ(s.PV, 100000);
  EXPECT_EQ(s.NumPmts, 360);
  EXPECT_EQ(s.Rate, 7.5f);
  EXPECT_EQ(s.Points, 2.0f);
  EXPECT_EQ(s.OrgDate, today);
  EXPECT_EQ(s.FrstPmtDate, MakeDate(1, 5, 2024));
  EXPECT_EQ(s.PYR, 1);
  EXPECT_EQ(s.CmpPYR, 6);
  EXPECT_EQ(s.AmortMthd, 4);
  EXPECT_EQ(s.RateBasis, 2);
  EXPECT_EQ(s.PointsPaidMthd, 1);
}

TEST(AmortRecords, ShortDates) {
  EXPECT_EQ(FormatShortDate(MakeDate(1, 7, 1997)), "07/01/97");
  EXPECT_EQ(FormatShortDate(MakeDate(31, 12, 2005)), "12/31/05");
  EXPECT_EQ(FormatShortDate(MakeDate(29, 2, 2000)), "02/29/00");
}

TEST(AmortRecords, DateThatIsNoDateNamedByItsLabel) {
  const AmortInputs in = NewAmortInputs(MakeDate(10, 3, 2024));
  const Message first = NotADateMessage(in.lFrstPmtDate);
  EXPECT_EQ(first.text, "1st Payment Date is not a valid date.\n\nPlease Try Again");
  EXPECT_EQ(first.box, BoxType::Information);
  EXPECT_EQ(NotADateMessage(in.lOrgDate).text, "Origination Date is not a valid date.\n\nPlease Try Again");
  EXPECT_EQ(NotADateMessage("Start Date:").text, "Start Date is not a valid date.\n\nPlease Try Again");
}

}  // namespace
}  // namespace brevika
