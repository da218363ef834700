#include <gtest/gtest.h>

#include "support/loan_example.h"

#include <cmath>
#include <limits>

#include "calculators/loan.h"

namespace brevika {
namespace {

LoanRecord Terms(double pv, int n, float rate, double pmt,
                 AmortMethod method = AmortMethod::Normal,
                 PaymentMethod pmtMethod = PaymentMethod::Arrears) {
  LoanRecord r = NewLoanRecord();
  r.PV = pv;
  r.NumPmts = static_cast<std::int16_t>(n);
  r.Rate = rate;
  r.Pmt = pmt;
  r.AmortMthd.Select(static_cast<int>(method));
  r.PmtMthd.Select(static_cast<int>(pmtMethod));
  return r;
}

std::string MessageOf(const Outcome& res) { return res.FirstText(); }

// Name of a method for failure traces.
int Code(AmortMethod m) { return static_cast<int>(m); }

TEST(LoanRecordTest, InitialValuesAndReset) {
  LoanRecord r = NewLoanRecord();
  EXPECT_EQ(r.PYR.text, "Monthly");
  EXPECT_EQ(r.PYR.index, 2);
  EXPECT_EQ(r.CmpPYR.index, 3);
  EXPECT_EQ(r.PmtMthd.text, "Arrears");
  EXPECT_EQ(r.AmortMthd.text, "Normal");
  EXPECT_EQ(r.lHint, "Enter a zero '0' for unknown value.");
  r = Terms(100000, 360, 7.5f, 0, AmortMethod::RuleOf78, PaymentMethod::Advance);
  CalcLoan(r);
  const double totInt = r.TotInt;
  r.PYR.Select(6);
  r.CmpPYR.Select(8);
  ResetLoan(r);
  EXPECT_EQ(r.PYR.index, 2);
  EXPECT_EQ(r.CmpPYR.index, 3);
  EXPECT_EQ(r.CmpPYR.text, "Monthly");
  EXPECT_EQ(r.PV, 0);
  EXPECT_EQ(r.NumPmts, 0);
  EXPECT_EQ(r.Rate, 0);
  EXPECT_EQ(r.Pmt, 0);
  EXPECT_EQ(r.AmortMthd.code<AmortMethod>(), AmortMethod::Normal);
  EXPECT_EQ(r.PmtMthd.code<PaymentMethod>(), PaymentMethod::Arrears);
  EXPECT_EQ(r.TotInt, totInt);  // the total interest stays
}

TEST(LoanSolve, PaymentForEveryLevelMethod) {
  for (AmortMethod m : {AmortMethod::Normal, AmortMethod::RuleOf78, AmortMethod::USRule}) {
    LoanRecord r = Terms(100000, 360, 7.5f, 0, m);
    EXPECT_TRUE(CalcLoan(r).messages.empty());
    EXPECT_DOUBLE_EQ(r.Pmt, 699.21) << Code(m);
    EXPECT_DOUBLE_EQ(r.TotInt, 151715.60) << Code(m);

    LoanRecord adv = Terms(100000, 360, 7.5f, 0, m, PaymentMethod::Advance);
    CalcLoan(adv);
    EXPECT_DOUBLE_EQ(adv.Pmt, 694.87) << Code(m);
    EXPECT_DOUBLE_EQ(adv.TotInt, 360 * 694.87 - 100000) << Code(m);
  }
}

TEST(LoanSolve, CanadianSwitchesThePeriodsFirst) {
  LoanRecord r = Terms(100000, 300, 6.0f, 0, AmortMethod::Canadian);
  r.PYR.Select(0);     // Weekly
  r.CmpPYR.Select(0);  // Daily
  EXPECT_TRUE(CalcLoan(r).messages.empty());
  EXPECT_EQ(r.PYR.text, "Monthly");
  EXPECT_EQ(r.CmpPYR.text, "SemiAnnually");
  EXPECT_DOUBLE_EQ(r.Pmt, 639.81);
}

TEST(LoanSolve, InterestOnlyPayment) {
  LoanRecord r = Terms(10000, 24, 12.0f, 0, AmortMethod::InterestOnly);
  EXPECT_TRUE(CalcLoan(r).messages.empty());
  EXPECT_DOUBLE_EQ(r.Pmt, 100.00);
  EXPECT_DOUBLE_EQ(r.TotInt, 2400.00);

  LoanRecord adv = Terms(10000, 24, 12.0f, 0, AmortMethod::InterestOnly, PaymentMethod::Advance);
  EXPECT_EQ(MessageOf(CalcLoan(adv)),
            "There is no interest for first payment\n\nwhen payment is made in advance.\n\n"
            "Use amortization schedule instead.\n");
  EXPECT_EQ(adv.Pmt, 0);
  EXPECT_EQ(adv.TotInt, 0);
}

TEST(LoanSolve, FixedPrincipalPaymentIsTheMaximum) {
  const char* msg =
      "This is the maximum payment amount.\n\nTotal interest can't be calculated.\n\n"
      "Use amortization schedule instead.\n\nSee Help topic 'Fixed Principal'.\n";
  LoanRecord r = Terms(12000, 12, 12.0f, 0, AmortMethod::FixedPrincipal);
  auto res = CalcLoan(r);
  EXPECT_EQ(MessageOf(res), msg);
  EXPECT_FALSE(res.refused);
  EXPECT_EQ(res.messages[0].box, BoxType::Warning);
  EXPECT_DOUBLE_EQ(r.Pmt, 1120.00);
  EXPECT_EQ(r.TotInt, 0);

  LoanRecord adv = Terms(12000, 12, 12.0f, 0, AmortMethod::FixedPrincipal, PaymentMethod::Advance);
  EXPECT_EQ(MessageOf(CalcLoan(adv)), msg);
  EXPECT_DOUBLE_EQ(adv.Pmt, 1000.00);
}

TEST(LoanSolve, Amount) {
  LoanRecord r = Terms(0, 360, 7.5f, 699.21);
  EXPECT_TRUE(CalcLoan(r).messages.empty());
  EXPECT_NEAR(r.PV, 99999.355197, 1e-5);
  EXPECT_NEAR(r.TotInt, 360 * 699.21 - 99999.355197, 1e-5);

  LoanRecord adv = Terms(0, 360, 7.5f, 694.87, AmortMethod::Normal, PaymentMethod::Advance);
  CalcLoan(adv);
  EXPECT_NEAR(adv.PV, 99999.775312, 1e-5);

  LoanRecord io = Terms(0, 24, 12.0f, 100, AmortMethod::InterestOnly);
  CalcLoan(io);
  EXPECT_NEAR(io.PV, 10000.0, 1e-6);

  LoanRecord ioAdv = Terms(0, 24, 12.0f, 100, AmortMethod::InterestOnly, PaymentMethod::Advance);
  EXPECT_EQ(MessageOf(CalcLoan(ioAdv)),
            "Cannot solve for amount of loan \n\nwhen amortizing method is set to interest only.");
  EXPECT_EQ(ioAdv.PV, 0);
  EXPECT_DOUBLE_EQ(ioAdv.TotInt, 2400);  // N x Pmt - PV after the refusal

  LoanRecord fp = Terms(0, 12, 12.0f, 1120, AmortMethod::FixedPrincipal);
  EXPECT_EQ(MessageOf(CalcLoan(fp)),
            "Cannot solve for amount of loan \n\nwhen amortizing method is set to fixed principal.");
  LoanRecord fpAdv = Terms(0, 12, 12.0f, 1000, AmortMethod::FixedPrincipal, PaymentMethod::Advance);
  CalcLoan(fpAdv);
  EXPECT_DOUBLE_EQ(fpAdv.PV, 12000);
}

TEST(LoanSolve, Term) {
  LoanRecord r = Terms(100000, 0, 7.5f, 699.21);
  EXPECT_TRUE(CalcLoan(r).messages.empty());
  EXPECT_EQ(r.NumPmts, 360);
  EXPECT_DOUBLE_EQ(r.TotInt, 151715.60);

  LoanRecord adv = Terms(100000, 0, 7.5f, 694.87, AmortMethod::Normal, PaymentMethod::Advance);
  CalcLoan(adv);
  EXPECT_EQ(adv.NumPmts, 360);

  LoanRecord fp = Terms(12000, 0, 12.0f, 1120, AmortMethod::FixedPrincipal);
  CalcLoan(fp);
  EXPECT_EQ(fp.NumPmts, 12);  // 12000 / (1120 - 120)
  LoanRecord fpAdv = Terms(12000, 0, 12.0f, 1000, AmortMethod::FixedPrincipal, PaymentMethod::Advance);
  CalcLoan(fpAdv);
  EXPECT_EQ(fpAdv.NumPmts, 12);

  LoanRecord io = Terms(10000, 0, 12.0f, 100, AmortMethod::InterestOnly);
  EXPECT_EQ(MessageOf(CalcLoan(io)),
            "The term is theoretically infinite\n\nfor interest only loans.\n\nPlease Try Again");
  EXPECT_EQ(io.NumPmts, 0);
}

TEST(LoanSolve, PaymentThatDoesNotCoverInterest) {
  const char* msg = "Payment does not cover interest. Please increase payment.";
  for (AmortMethod method : {AmortMethod::Normal, AmortMethod::FixedPrincipal}) {
    LoanRecord r = Terms(10000, 0, 12.0f, 100, method);  // exactly one month's interest
    r.TotInt = 55;
    EXPECT_EQ(MessageOf(CalcLoan(r)), msg) << Code(method);
    EXPECT_EQ(r.NumPmts, 0);
    EXPECT_EQ(r.TotInt, 0);
  }
  LoanRecord adv = Terms(10000, 0, 12.0f, 99, AmortMethod::Normal, PaymentMethod::Advance);  // (10000-99)*1% = 99.01
  EXPECT_EQ(MessageOf(CalcLoan(adv)), msg);
  // 7.5 % a year converts to a hair under 0.625 % a month; a payment of
  // exactly one month's interest in cents still repays nothing.
  LoanRecord edge = Terms(100000, 0, 7.5f, 625.00);
  EXPECT_EQ(MessageOf(CalcLoan(edge)), msg);
  EXPECT_EQ(edge.NumPmts, 0);
  LoanRecord cent = Terms(100000, 0, 7.5f, 625.01);
  EXPECT_TRUE(CalcLoan(cent).messages.empty());
  EXPECT_EQ(cent.NumPmts, 1772);
}

TEST(LoanSolve, RateSolveStopsAfterSixRounds) {
  LoanRecord r = Terms(100000, 360, 0, 699.21);
  int rounds = 0;
  auto res = CalcLoan(r, &rounds);
  EXPECT_TRUE(res.messages.empty());
  EXPECT_EQ(rounds, 6);
  EXPECT_EQ(r.Rate, 7.49993f);
  EXPECT_DOUBLE_EQ(r.TotInt, 151715.60);

  LoanRecord adv = Terms(100000, 360, 0, 694.87, AmortMethod::Normal, PaymentMethod::Advance);
  EXPECT_TRUE(CalcLoan(adv).messages.empty());
  EXPECT_NEAR(adv.Rate, 7.5f, 1e-3);
}

TEST(LoanSolve, RateSolveOtherMethods) {
  LoanRecord io = Terms(10000, 24, 0, 100, AmortMethod::InterestOnly);
  EXPECT_TRUE(CalcLoan(io).messages.empty());
  EXPECT_FLOAT_EQ(io.Rate, 12.0f);

  LoanRecord fp = Terms(12000, 12, 0, 1120, AmortMethod::FixedPrincipal);
  EXPECT_EQ(MessageOf(CalcLoan(fp)),
            "Cannot solve for Rate\n\nwhen amortizing method is set to fixed principal.\n\n"
            "See Help topic 'Fixed Principal'.\n");

  LoanRecord q = Terms(100000, 360, 0, 699.21);
  q.CmpPYR.Select(5);  // Quarterly
  EXPECT_EQ(MessageOf(CalcLoan(q)),
            "When solving for Annual Rate,\n\npayment period and compounding period must be "
            "equal.\n\nPlease Try Again");
  EXPECT_EQ(q.Rate, 0);

  // One payment a year later: 1100 repays 1000 at 10 % a year.
  LoanRecord one = Terms(1000, 1, 0, 1100);
  one.PYR.Select(6);     // Annually
  one.CmpPYR.Select(7);  // Annually
  EXPECT_TRUE(CalcLoan(one).messages.empty());
  EXPECT_NEAR(one.Rate, 10.0f, 1e-3);

  LoanRecord oneAdv = Terms(1000, 1, 0, 1000, AmortMethod::Normal, PaymentMethod::Advance);
  EXPECT_TRUE(CalcLoan(oneAdv).messages.empty());
  EXPECT_EQ(oneAdv.Rate, 0);
}

TEST(LoanSolve, RateSolveRefusalsLeaveTheRecord) {
  // Payments far below the amount: the iteration runs away and is stopped.
  LoanRecord r = Terms(100000, 360, 0, 10);
  int rounds = 0;
  auto res = CalcLoan(r, &rounds);
  EXPECT_TRUE(res.refused);
  EXPECT_EQ(MessageOf(res),
            "The annual rate could not be found for these values.\n\n"
            "Please check the amount, periods and payment.");
  EXPECT_EQ(r.Rate, 0);
  // A refused rate solve still shows N x Pmt - PV as the total interest.
  EXPECT_EQ(r.TotInt, 360 * 10.0 - 100000);
  EXPECT_LE(rounds, kRateSolveMaxRounds + 1);

  // An estimate past 100 % is refused instead of being shown as the rate.
  LoanRecord high = Terms(100000, 360, 0, 1e11);
  EXPECT_EQ(MessageOf(CalcLoan(high)),
            "The annual rate for these values is above 100 %.\n\n"
            "Please check the amount, periods and payment.");
  EXPECT_EQ(high.Rate, 0);
  EXPECT_EQ(high.TotInt, 360 * 1e11 - 100000);

  // Payments summing to less than the amount give a negative rate.
  LoanRecord neg = Terms(100000, 360, 0, 250);
  EXPECT_TRUE(CalcLoan(neg).messages.empty());
  EXPECT_EQ(neg.Rate, -0.68844f);
}

TEST(LoanSolve, RateSolveStopsAboveOneHundredPercent) {
  // 12 monthly payments at 99 % a year are solved; at 101 % they are refused.
  for (float rate : {99.0f, 101.0f}) {
    LoanRecord r = Terms(100000, 12, rate, 0);
    r.CmpPYR.Select(3);
    CalcLoan(r);
    r.Rate = 0;
    int rounds = 0;
    const Outcome out = CalcLoan(r, &rounds);
    if (rate < 100) {
      EXPECT_TRUE(out.messages.empty()) << out.FirstText();
      EXPECT_NEAR(r.Rate, 99.0f, 1e-2);
    } else {
      EXPECT_EQ(MessageOf(out),
                "The annual rate for these values is above 100 %.\n\n"
                "Please check the amount, periods and payment.");
      // It stops at the first estimate past 100 %, not where it would settle.
      EXPECT_EQ(rounds, 4);
    }
  }
}

TEST(LoanSolve, UnknownsAreCounted) {
  LoanRecord two = Terms(0, 360, 7.5f, 0);
  EXPECT_EQ(MessageOf(CalcLoan(two)), "Too many unknowns. Please try again.");
  EXPECT_EQ(two.NumPmts, 360);
  EXPECT_EQ(two.Rate, 7.5f);

  LoanRecord none = Terms(100000, 360, 7.5f, 699.21);
  EXPECT_EQ(MessageOf(CalcLoan(none)), "No unknown values. Please try again.");

  // Negative values are known values.
  LoanRecord neg = Terms(-100000, 360, 7.5f, 0);
  EXPECT_TRUE(CalcLoan(neg).messages.empty());
  EXPECT_DOUBLE_EQ(neg.Pmt, -699.21);
}

TEST(LoanSolve, NonFiniteResultLeavesTheRecord) {
  LoanRecord r = Terms(1e308, 32767, 99.0f, 0);
  r.TotInt = 12.34;
  auto res = CalcLoan(r);
  ASSERT_EQ(res.messages.size(), 1u);
  EXPECT_TRUE(res.refused);
  EXPECT_EQ(res.messages[0].box, BoxType::Error);
  EXPECT_EQ(r.Pmt, 0);
  EXPECT_EQ(r.TotInt, 12.34);

  LoanRecord huge = Terms(1e12, 0, 0.0001f, 1e-2);  // term far beyond 32767 payments
  huge.Rate = 1e-6f;
  auto res2 = CalcLoan(huge);
  ASSERT_TRUE(res2.refused);
  EXPECT_EQ(huge.NumPmts, 0);
}

TEST(LoanCopy, CopyTextByteForByte) {
  LoanRecord r = Terms(100000, 360, 7.5f, 0);
  CalcLoan(r);
  EXPECT_EQ(CopyText("Loan Calculator 1", KindRows(LoanKind(), r), UsLocaleFormat()),
            testing::LoanExampleCopyText("Loan Calculator 1"));
  const auto lines = PrintLines(KindRows(LoanKind(), r), UsLocaleFormat());
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[2], "\tAnnual Rate? (%):       \t          7.5000");
  EXPECT_EQ(lines[7], "\tAmortizing Method?:     \tNormal");
}

}  // namespace
}  // namespace brevika
