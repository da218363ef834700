#include <gtest/gtest.h>

#include "calculators/loan.h"

namespace brevika {
namespace {

LoanRecord Terms(double pv, int n, float rate, double pmt) {
  LoanRecord r = NewLoanRecord();
  r.PV = pv;
  r.NumPmts = static_cast<std::int16_t>(n);
  r.Rate = rate;
  r.Pmt = pmt;
  return r;
}

TEST(LoanSolve, PaymentArrearsAndAdvance) {
  LoanRecord r = Terms(100000, 360, 7.5f, 0);
  auto res = CalcLoan(r);
  EXPECT_FALSE(res.message);
  EXPECT_DOUBLE_EQ(r.Pmt, 699.21);
  EXPECT_NEAR(r.TotInt, 151715.60, 1e-6);

  LoanRecord adv = Terms(100000, 360, 7.5f, 0);
  adv.PmtMthd.Select(kAdvance);
  CalcLoan(adv);
  EXPECT_DOUBLE_EQ(adv.Pmt, 694.87);
}

TEST(LoanSolve, RateSolveStopsAfterSixRounds) {
  LoanRecord r = Terms(100000, 360, 0, 699.21);
  auto res = CalcLoan(r);
  EXPECT_FALSE(res.message);
  EXPECT_EQ(res.rateRounds, 6);
  EXPECT_FLOAT_EQ(r.Rate, 7.49993f);
}

}  // namespace
}  // namespace brevika
