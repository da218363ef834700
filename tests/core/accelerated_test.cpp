#include <gtest/gtest.h>

#include "calculators/accelerated.h"
#include "finance/rates.h"

namespace brevika {
namespace {

AccelRecord Loan(double pv, int n, float rate, int after, double extra,
                 AmortMethod method = AmortMethod::Normal,
                 PaymentMethod pmtMethod = PaymentMethod::Arrears) {
  AccelRecord r = NewAccelRecord();
  r.PV = pv;
  r.NumPmts = static_cast<std::int16_t>(n);
  r.Rate = rate;
  r.IncPer = static_cast<std::int16_t>(after);
  r.ExtraPd = extra;
  r.AmortMthd.Select(static_cast<int>(method));
  r.PmtMthd.Select(static_cast<int>(pmtMethod));
  return r;
}

TEST(AccelRecordTest, InitialValuesAndReset) {
  AccelRecord r = NewAccelRecord();
  EXPECT_EQ(r.lIncPer, "Increa&se AFTER Period? (#):");
  EXPECT_EQ(r.lExtraPd, "E&xtra Amount Paid? (#):");
  EXPECT_EQ(r.AmortMthd.text, "Normal");
  EXPECT_EQ(r.PYR.text, "Monthly");
  EXPECT_EQ(r.CmpPYR.text, "Monthly");
  EXPECT_EQ(r.PmtMthd.text, "Arrears");
  EXPECT_EQ(r.PV, 0);
  // Reset shows the last calculated values again, not zeros.
  r = Loan(100000, 360, 7.5f, 12, 100);
  ASSERT_TRUE(CalcAccel(r).ok());
  ResetAccel(r);
  EXPECT_EQ(r.PV, 100000);
  EXPECT_EQ(r.PerOff, 252);
}

TEST(AccelCalc, ExtraHundredAfterTheFirstYear) {
  // Plain: 699.21 a month, 151,715.60 of interest. With 100 more from
  // payment 13 on the loan is paid off with payment 252 after 99,623.62
  // of interest. The six-byte running values leave the saving a hair
  // under the cents (the plain interest and the sum are six-byte reals).
  AccelRecord r = Loan(100000, 360, 7.5f, 12, 100);
  EXPECT_TRUE(CalcAccel(r).messages.empty());
  EXPECT_EQ(r.PerOff, 252);
  EXPECT_DOUBLE_EQ(RoundToCents(r.IntSaved), 52091.98);
  EXPECT_NEAR(r.IntSaved, 52091.9799993038, 1e-9);

  // In advance the first payment carries no interest.
  AccelRecord adv = Loan(100000, 360, 7.5f, 12, 100, AmortMethod::Normal, PaymentMethod::Advance);
  EXPECT_TRUE(CalcAccel(adv).ok());
  EXPECT_EQ(adv.PerOff, 251);
  EXPECT_DOUBLE_EQ(RoundToCents(adv.IntSaved), 51964.66);
}

TEST(AccelCalc, CanadianSwitchesThePeriodsFirst) {
  AccelRecord r = Loan(100000, 300, 6.0f, 12, 100, AmortMethod::Canadian);
  r.PYR.Select(0);     // Weekly
  r.CmpPYR.Select(0);  // Daily
  EXPECT_TRUE(CalcAccel(r).ok());
  EXPECT_EQ(r.PYR.text, "Monthly");
  EXPECT_EQ(r.CmpPYR.text, "SemiAnnually");
  EXPECT_EQ(r.PerOff, 229);  // 639.81 a month plus 100
  EXPECT_DOUBLE_EQ(RoundToCents(r.IntSaved), 24217.23);
}

TEST(AccelCalc, InterestOnly) {
  // 100 of interest a month; from payment 7 on 1,000 more repays principal
  // and the loan is paid off with payment 16 after 1,137.78 of interest.
  AccelRecord r = Loan(10000, 24, 12.0f, 6, 1000, AmortMethod::InterestOnly);
  EXPECT_TRUE(CalcAccel(r).ok());
  EXPECT_EQ(r.PerOff, 16);
  EXPECT_DOUBLE_EQ(RoundToCents(r.IntSaved), 2400 - 1137.78);

  // In advance there is no plain payment to accelerate.
  AccelRecord adv = Loan(10000, 24, 12.0f, 6, 1000, AmortMethod::InterestOnly,
                         PaymentMethod::Advance);
  adv.PerOff = 5;
  adv.IntSaved = 5;
  Outcome out = CalcAccel(adv);
  EXPECT_TRUE(out.refused);
  EXPECT_EQ(out.FirstText(),
            "Acceleration savings can't be calculated\r\rfor Interest Only paid in Advance."
            "\r\rPlease Try Again\r");
  EXPECT_EQ(adv.PerOff, 0);
  EXPECT_EQ(adv.IntSaved, 0);
}

TEST(AccelCalc, MethodsWithoutSavingsShowZero) {
  for (AmortMethod m : {AmortMethod::RuleOf78, AmortMethod::FixedPrincipal}) {
    AccelRecord r = Loan(0, 0, 0, 0, 0, m);  // before any other check
    r.PerOff = 252;
    r.IntSaved = 52091.98;
    Outcome out = CalcAccel(r);
    EXPECT_TRUE(out.refused);
    EXPECT_EQ(out.FirstText(),
              "Acceleration savings can't be calculated\r\rwhen Rule of 78s or Fixed Principal "
              "selected.\r\rPlease Try Again\r");
    EXPECT_EQ(out.messages[0].box, BoxType::Warning);
    EXPECT_EQ(r.PerOff, 0);
    EXPECT_EQ(r.IntSaved, 0);
  }
}

TEST(AccelCalc, ValidationInItsOrder) {
  const char* periods =
      "Total Periods must be greater\r\rthan Increase After Period #.\r\rPlease Try Again";
  const char* extra = "Amount of Loan must be\r\rgreater than the Extra Payment.\r\rPlease Try Again";
  const char* zeros = "No zero values allowed.\r\r\rPlease Try Again";
  struct Case {
    AccelRecord rec;
    const char* text;
  };
  for (Case c : {Case{Loan(100000, 360, 7.5f, 360, 100), periods},
                 Case{Loan(100, 360, 0, 360, 100), periods},  // whatever the other values
                 Case{Loan(100000, 360, 7.5f, 12, 100000), extra},
                 Case{Loan(100000, 360, 0, 12, 100), zeros},
                 Case{Loan(100000, 360, 7.5f, 0, 100), zeros},
                 Case{Loan(100000, 360, 7.5f, 12, 0), zeros}}) {
    c.rec.PerOff = 7;
    Outcome out = CalcAccel(c.rec);
    EXPECT_TRUE(out.refused);
    EXPECT_EQ(out.FirstText(), c.text);
    EXPECT_EQ(out.messages[0].box, BoxType::Warning);
    EXPECT_EQ(c.rec.PerOff, 7);  // nothing computed
  }
}

TEST(AccelCalc, NonFiniteResultLeavesTheRecord) {
  AccelRecord r = Loan(1e12, 360, 3e38f, 12, 100);
  r.IntSaved = 1.5;
  EXPECT_EQ(CalcAccel(r).messages.at(0), NonFiniteMessage());
  EXPECT_EQ(r.IntSaved, 1.5);
  EXPECT_EQ(r.PerOff, 0);
}

TEST(AccelCopy, CopyTextAndPrintLines) {
  AccelRecord r = Loan(100000, 360, 7.5f, 12, 100);
  ASSERT_TRUE(CalcAccel(r).ok());
  EXPECT_EQ(CopyText("Accelerated Payment Calculator 1", KindRows(AccelKind(), r), UsLocaleFormat()),
            "Accelerated Payment Calculator 1\r\n\r\n"
            "Amount of Loan?:              $100,000.00\r\n"
            "Total Periods? (#):                   360\r\n"
            "Annual Rate? (%):                    7.50\r\n"
            "Increase AFTER Period? (#):               12\r\n"
            "Extra Amount Paid? (#):           $100.00\r\n"
            "Payment Period?:                  Monthly\r\n"
            "Compounding Period?:              Monthly\r\n"
            "Payment Method?:                  Arrears\r\n"
            "Amortizing Method?:                Normal\r\n"
            "Periods to Pay Off:                   252\r\n"
            "Total Interest Saved:          $52,091.98\r\n");
  const auto lines = PrintLines(KindRows(AccelKind(), r), UsLocaleFormat());
  ASSERT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines[9], "\tPeriods to Pay Off:     \t             252");
}

}  // namespace
}  // namespace brevika
