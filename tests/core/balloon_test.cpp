#include <gtest/gtest.h>

#include <cmath>

#include "calculators/balloon.h"
#include "finance/periods.h"
#include "finance/rates.h"

namespace brevika {
namespace {

BalloonRecord Loan(double pv, float rate, int perDue, double balloon,
                   PaymentMethod pmtMethod = PaymentMethod::Arrears) {
  BalloonRecord r = NewBalloonRecord();
  r.PV = pv;
  r.Rate = rate;
  r.PerDue = static_cast<std::int16_t>(perDue);
  r.BallPmt = balloon;
  r.PmtMthd.Select(static_cast<int>(pmtMethod));
  return r;
}

// Present value of the payments and the balloon at the periodic rate i:
// payments at the ends of periods 1..N (arrears) or starts 0..N-1
// (advance), the balloon at the end of period N.
double PresentValue(const BalloonRecord& r, long double i) {
  const bool arrears = r.PmtMthd.code<PaymentMethod>() == PaymentMethod::Arrears;
  long double pv = 0;
  for (int m = 0; m < r.PerDue; ++m) pv += r.Pmt * std::pow(1 + i, -(m + (arrears ? 1 : 0)));
  return static_cast<double>(pv + r.BallPmt * std::pow(1 + i, -r.PerDue));
}

// How far rounding the level part to cents can move that present value.
double CentsBound(int n, long double i) {
  long double sum = 0;
  for (int m = 0; m < n; ++m) sum += std::pow(1 + i, -m);
  return static_cast<double>(0.005L * sum);
}

TEST(BalloonRecordTest, InitialValues) {
  BalloonRecord r = NewBalloonRecord();
  EXPECT_EQ(r.lPerDue, "Ball&oon After Payment No.?:");
  EXPECT_EQ(r.lPmt, "Payment Amount:");
  EXPECT_EQ(r.PYR.text, "Monthly");
  EXPECT_EQ(r.CmpPYR.text, "Monthly");
  EXPECT_EQ(r.PmtMthd.text, "Arrears");
  EXPECT_EQ(r.PV, 0);
  EXPECT_EQ(r.PerDue, 0);
}

TEST(BalloonCalc, Arrears) {
  // Level payment on 5,000 over 12 months at 1 % (444.24) plus 50.00.
  BalloonRecord r = Loan(10000, 12.0f, 12, 5000);
  EXPECT_TRUE(CalcBalloon(r).messages.empty());
  EXPECT_NEAR(r.Pmt, 494.24, 1e-9);
  const long double i = PeriodicRate(12, 12, 12.0f);
  EXPECT_NEAR(PresentValue(r, i), 10000, CentsBound(12, i));
  // The balloon's interest is not rounded to cents.
  BalloonRecord odd = Loan(10000, 12.0f, 12, 5000.55);
  CalcBalloon(odd);
  EXPECT_NEAR(odd.Pmt, 444.20 + 50.0055, 1e-9);
  // No balloon: the plain level payment; the whole amount: interest only.
  BalloonRecord none = Loan(100000, 7.5f, 360, 0);
  CalcBalloon(none);
  EXPECT_NEAR(none.Pmt, 699.21, 1e-9);
  BalloonRecord whole = Loan(10000, 12.0f, 12, 10000);
  CalcBalloon(whole);
  EXPECT_NEAR(whole.Pmt, 100.00, 1e-9);
}

TEST(BalloonCalc, AdvanceRepaysTheAmount) {
  // Level payment in advance on 5,000 (439.85) plus 5,000 x 1 % / 1.01.
  BalloonRecord r = Loan(10000, 12.0f, 12, 5000, PaymentMethod::Advance);
  EXPECT_TRUE(CalcBalloon(r).messages.empty());
  EXPECT_NEAR(r.Pmt, 439.85 + 5000 * 0.01 / 1.01, 1e-9);
  const long double i = PeriodicRate(12, 12, 12.0f);
  EXPECT_NEAR(PresentValue(r, i), 10000, CentsBound(12, i));

  BalloonRecord big = Loan(250000, 6.5f, 84, 100000, PaymentMethod::Advance);
  big.CmpPYR.Select(kSemiAnnually);
  ASSERT_TRUE(CalcBalloon(big).ok());
  const long double j = PeriodicRate(12, 2, 6.5f);
  EXPECT_NEAR(PresentValue(big, j), 250000, CentsBound(84, j));
  // The whole amount as balloon: one period's interest, paid a period early.
  BalloonRecord whole = Loan(10000, 12.0f, 12, 10000, PaymentMethod::Advance);
  CalcBalloon(whole);
  EXPECT_NEAR(whole.Pmt, 100 / 1.01, 1e-9);
}

TEST(BalloonCalc, RefusalsLeaveTheRecord) {
  const char* perDue = "Balloon After Payment No. must be\r\rgreater than zero.\r\rPlease Try Again";
  for (int n : {0, -3}) {
    BalloonRecord r = Loan(10000, 12.0f, n, 5000);
    r.Pmt = 1.25;
    Outcome out = CalcBalloon(r);
    EXPECT_TRUE(out.refused);
    EXPECT_EQ(out.FirstText(), perDue);
    EXPECT_EQ(out.messages[0].box, BoxType::Warning);
    EXPECT_EQ(r.Pmt, 1.25);
  }
  const char* rate = "The payment can't be calculated\r\rfor this annual rate.\r\rPlease Try Again";
  for (float bad : {0.0f, -1300.0f, 1e-18f}) {  // zero, 1 + i below zero, 1 - v^n zero
    BalloonRecord r = Loan(10000, bad, 12, 5000);
    r.Pmt = 1.25;
    EXPECT_EQ(CalcBalloon(r).FirstText(), rate) << bad;
    EXPECT_EQ(r.Pmt, 1.25);
  }
  BalloonRecord huge = Loan(1e308, 3e38f, 12, -1e308);
  EXPECT_EQ(CalcBalloon(huge).messages.at(0), NonFiniteMessage());
  EXPECT_EQ(huge.Pmt, 0);
}

TEST(BalloonCopy, CopyTextAndPrintLines) {
  BalloonRecord r = Loan(10000, 12.0f, 12, 5000);
  ASSERT_TRUE(CalcBalloon(r).ok());
  // The balloon is copied as a plain number; the rate with four decimals.
  EXPECT_EQ(CopyText("Balloon Payment Calculator 1", KindRows(BalloonKind(), r), UsLocaleFormat()),
            "Balloon Payment Calculator 1\r\n\r\n"
            "Amount of Loan?:               $10,000.00\r\n"
            "Annual Rate? (%):                 12.0000\r\n"
            "Balloon Payment?:                5,000.00\r\n"
            "Balloon After Payment No.?:               12\r\n"
            "Payment Period?:                  Monthly\r\n"
            "Compounding Period?:              Monthly\r\n"
            "Payment Method?:                  Arrears\r\n"
            "Payment Amount:                   $494.24\r\n");
  const auto lines = PrintLines(KindRows(BalloonKind(), r), UsLocaleFormat());
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[1], "\tAnnual Rate? (%):       \t         12.0000");
  EXPECT_EQ(lines[2], "\tBalloon Payment?:       \t       $5,000.00");
}

}  // namespace
}  // namespace brevika
