#include <gtest/gtest.h>

#include "calculators/remaining_balance.h"

namespace brevika {
namespace {

RemBalRecord Loan(double pv, int n, float rate, int after, AmortMethod method = AmortMethod::Normal,
                  PaymentMethod pmtMethod = PaymentMethod::Arrears) {
  RemBalRecord r = NewRemBalRecord();
  r.PV = pv;
  r.NumPmts = static_cast<std::int16_t>(n);
  r.Rate = rate;
  r.IncPer = static_cast<std::int16_t>(after);
  r.AmortMthd.Select(static_cast<int>(method));
  r.PmtMthd.Select(static_cast<int>(pmtMethod));
  return r;
}

TEST(RemBalRecordTest, InitialValuesAndReset) {
  RemBalRecord r = NewRemBalRecord();
  EXPECT_EQ(r.lBalAfter, "&Balance AFTER Payment? (#):");
  EXPECT_EQ(r.PYR.text, "Monthly");
  EXPECT_EQ(r.CmpPYR.text, "Monthly");
  EXPECT_EQ(r.PmtMthd.text, "Arrears");
  EXPECT_EQ(r.AmortMthd.text, "Normal");
  r = Loan(100000, 360, 7.5f, 12, AmortMethod::USRule, PaymentMethod::Advance);
  ASSERT_TRUE(CalcRemBal(r).ok());
  ResetRemBal(r);
  EXPECT_EQ(r.PV, 0);
  EXPECT_EQ(r.NumPmts, 0);
  EXPECT_EQ(r.Rate, 0);
  EXPECT_EQ(r.IncPer, 0);
  EXPECT_EQ(r.RemBal, 0);  // the results go back to zero too
  EXPECT_EQ(r.Pmt, 0);
  EXPECT_EQ(r.AmortMthd.code<AmortMethod>(), AmortMethod::Normal);
  EXPECT_EQ(r.PmtMthd.code<PaymentMethod>(), PaymentMethod::Arrears);
}

TEST(RemBalCalc, LevelPaymentWalk) {
  // Twelve interest steps, each rounded to cents.
  for (AmortMethod m : {AmortMethod::Normal, AmortMethod::Canadian, AmortMethod::USRule}) {
    RemBalRecord r = Loan(100000, 360, 7.5f, 12, m);
    EXPECT_TRUE(CalcRemBal(r).messages.empty());
    EXPECT_DOUBLE_EQ(r.Pmt, 699.21);
    EXPECT_DOUBLE_EQ(r.RemBal, 99078.23);
  }
  // In advance payment 1 falls on the day the loan starts and is all
  // principal (100,000 - 694.87 = 99,305.13); eleven interest steps follow.
  // The schedule of these terms with the first payment on the origination
  // date shows the same balance after payment 12.
  RemBalRecord adv = Loan(100000, 360, 7.5f, 12, AmortMethod::Normal, PaymentMethod::Advance);
  EXPECT_TRUE(CalcRemBal(adv).ok());
  EXPECT_DOUBLE_EQ(adv.Pmt, 694.87);
  EXPECT_DOUBLE_EQ(adv.RemBal, 98462.80);
}

TEST(RemBalCalc, SixByteRateDecidesAHalfCentTie) {
  // 10,000.80 x 0.625 % is 62.505 to the cent's half: the six-byte periodic
  // rate lies above 0.00625, so the first interest is 62.51.
  RemBalRecord r = Loan(10000.80, 360, 7.5f, 1);
  EXPECT_TRUE(CalcRemBal(r).ok());
  EXPECT_DOUBLE_EQ(r.Pmt, 69.93);
  EXPECT_DOUBLE_EQ(r.RemBal, 10000.80 + 62.51 - 69.93);
}

TEST(RemBalCalc, InterestOnlyAndFixedPrincipal) {
  RemBalRecord io = Loan(10000, 24, 12.0f, 6, AmortMethod::InterestOnly);
  CalcRemBal(io);
  EXPECT_EQ(io.RemBal, 10000);
  EXPECT_DOUBLE_EQ(io.Pmt, 100.00);
  RemBalRecord ioAdv = Loan(10000, 24, 12.0f, 6, AmortMethod::InterestOnly, PaymentMethod::Advance);
  CalcRemBal(ioAdv);
  EXPECT_EQ(ioAdv.RemBal, 10000);
  EXPECT_EQ(ioAdv.Pmt, 0);

  RemBalRecord fp = Loan(12000, 12, 12.0f, 3, AmortMethod::FixedPrincipal);
  CalcRemBal(fp);
  EXPECT_DOUBLE_EQ(fp.Pmt, 1120.00);
  EXPECT_DOUBLE_EQ(fp.RemBal, 9000.00);
  // In advance the first payment is principal only, on the day the loan starts.
  RemBalRecord fpAdv = Loan(12000, 12, 12.0f, 3, AmortMethod::FixedPrincipal, PaymentMethod::Advance);
  CalcRemBal(fpAdv);
  EXPECT_DOUBLE_EQ(fpAdv.Pmt, 1000.00);
  EXPECT_DOUBLE_EQ(fpAdv.RemBal, 9000.00);
}

TEST(RemBalCalc, RuleOf78sSpreadsThePlainInterest) {
  // Arrears: 794.28 of interest over the digits 1 + ... + 12 = 78:
  // 122.20, 112.01 and 101.83 in the first three payments of 1,066.19.
  RemBalRecord r = Loan(12000, 12, 12.0f, 3, AmortMethod::RuleOf78);
  CalcRemBal(r);
  EXPECT_DOUBLE_EQ(r.Pmt, 1066.19);
  EXPECT_DOUBLE_EQ(r.RemBal, 9137.47);
  // Advance: 11 x 1,055.63 - (12,000 - 1,055.63) = 667.56 over the digits
  // 11 + ... + 1 = 66 of payments 2 to 12; payment 1 is all principal:
  // 10,944.37, + 111.26 - 1,055.63 = 10,000.00, + 101.15 - 1,055.63 = 9,045.52.
  RemBalRecord adv = Loan(12000, 12, 12.0f, 3, AmortMethod::RuleOf78, PaymentMethod::Advance);
  CalcRemBal(adv);
  EXPECT_DOUBLE_EQ(adv.Pmt, 1055.63);
  EXPECT_DOUBLE_EQ(adv.RemBal, 9045.52);
}

TEST(RemBalCalc, PaidOffBalancesShowZero) {
  // A cent of principal a payment pays 0.10 off after ten payments; the
  // walk stops there instead of going on to -0.05.
  for (PaymentMethod pm : {PaymentMethod::Arrears, PaymentMethod::Advance}) {
    RemBalRecord r = Loan(0.10, 20, 12.0f, 15, AmortMethod::FixedPrincipal, pm);
    EXPECT_TRUE(CalcRemBal(r).ok());
    EXPECT_EQ(r.RemBal, 0) << static_cast<int>(pm);
  }
}

TEST(RemBalCalc, Refusals) {
  const char* periods =
      "Total Periods must be greater\r\rthan Balance After Payment #.\r\rPlease Try Again";
  // The payment number not below the total periods, even with zeros elsewhere.
  RemBalRecord r = Loan(0, 12, 0, 12);
  r.RemBal = 3;
  Outcome out = CalcRemBal(r);
  EXPECT_TRUE(out.refused);
  EXPECT_EQ(out.FirstText(), periods);
  EXPECT_EQ(out.messages[0].box, BoxType::Error);
  EXPECT_EQ(r.RemBal, 3);
  r = Loan(100000, 12, 7.5f, 13);
  EXPECT_EQ(CalcRemBal(r).FirstText(), periods);

  for (RemBalRecord z : {Loan(100000, 360, 7.5f, 0), Loan(0, 360, 7.5f, 12),
                         Loan(100000, 360, 0, 12), Loan(-5, 360, 7.5f, 12)}) {
    Outcome zo = CalcRemBal(z);
    EXPECT_EQ(zo.FirstText(), "No zero values allowed.\r");
    EXPECT_EQ(zo.messages[0].box, BoxType::Error);
    EXPECT_EQ(z.Pmt, 0);
  }

  RemBalRecord huge = Loan(1e300, 360, 3e38f, 12);
  EXPECT_EQ(CalcRemBal(huge).messages.at(0), NonFiniteMessage());
  EXPECT_EQ(huge.Pmt, 0);
  EXPECT_EQ(huge.RemBal, 0);
}

TEST(RemBalCopy, CopyTextAndPrintLines) {
  RemBalRecord r = Loan(100000, 360, 7.5f, 12);
  ASSERT_TRUE(CalcRemBal(r).ok());
  EXPECT_EQ(CopyText("Remaining Balance Calculator 1", KindRows(RemBalKind(), r), UsLocaleFormat()),
            "Remaining Balance Calculator 1\r\n\r\n"
            "Amount of Loan?:              $100,000.00\r\n"
            "Total Periods? (#):                   360\r\n"
            "Annual Rate? (%):                    7.50\r\n"
            "Balance AFTER Payment? (#):     12\r\n"
            "Payment Period?:                  Monthly\r\n"
            "Compounding Period?:              Monthly\r\n"
            "Payment Method?:                  Arrears\r\n"
            "Amortizing Method?:                Normal\r\n"
            "Remaining Balance:             $99,078.23\r\n"
            "Periodic Payment:                 $699.21\r\n");
  const auto lines = PrintLines(KindRows(RemBalKind(), r), UsLocaleFormat());
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[3], "\tBalance AFTER Payment? (#):\t              12");
}

}  // namespace
}  // namespace brevika
