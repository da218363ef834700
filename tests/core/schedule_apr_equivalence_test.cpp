#include <gtest/gtest.h>

#include <string>

#include "amortization/apr.h"
#include "amortization/schedule.h"
#include "calculators/calc_record.h"
#include "calculators/truth_in_lending.h"
#include "finance/rates.h"

namespace brevika {
namespace {

struct Day {
  int m, d, y;
};

struct RecordedApr {
  double amount;
  int periods;
  float rate, points;
  Day origination, firstPayment;
  int pyr, cmpPyr, amortizing, rateBasis, pointsPaid;
  double otherFees;
  double apr, amountFinanced;
  int refusal;
};

const RecordedApr kRecorded[] = {
#include "schedule_apr_baseline.inc"
};

const char* const kRefusals[] = {
    "",
    "No APR exists:\n\nthe points and fees paid at origination\n\n"
    "are not less than the amount of the loan.\n\n",
    "No APR exists:\n\nthe rate would be above 1,000%.\n\n",
};

ScheduleInputs InputsOf(const RecordedApr& c) {
  ScheduleInputs in;
  in.PV = c.amount;
  in.NumPmts = static_cast<std::uint16_t>(c.periods);
  in.Rate = c.rate;
  in.Points = c.points;
  in.OrgDate = MakeDate(c.origination.d, c.origination.m, c.origination.y);
  in.FrstPmtDate = MakeDate(c.firstPayment.d, c.firstPayment.m, c.firstPayment.y);
  in.PYR = c.pyr;
  in.CmpPYR = c.cmpPyr;
  in.AmortMthd = c.amortizing;
  in.RateBasis = c.rateBasis;
  in.PointsPaidMthd = c.pointsPaid;
  in.OtherFees = c.otherFees;
  CanadianPeriods(in.AmortMthd, in.PYR, in.CmpPYR);
  return in;
}

// The APR, amount financed and refusal of a schedule as `schedule --summary`
// works them out: the prepaid charges first, then the schedule, then its
// APR.
TEST(ScheduleAprEquivalence, FourHundredSchedulesKeepTheirRecordedApr) {
  int checked = 0;
  for (const RecordedApr& c : kRecorded) {
    SCOPED_TRACE("case " + std::to_string(checked));
    ScheduleInputs in = InputsOf(c);
    ++checked;
    if (auto refusal = CheckPrepaidCharges(in)) {
      EXPECT_EQ(refusal->text, kRefusals[c.refusal]);
      continue;
    }
    Schedule s;
    ASSERT_FALSE(s.Calculate(in).refused);
    const AprResult r = AnnualPercentageRate(s, in);
    EXPECT_EQ(r.outcome.FirstText(), kRefusals[c.refusal]);
    if (c.refusal != 0) continue;
    EXPECT_DOUBLE_EQ(r.apr, c.apr);
    EXPECT_DOUBLE_EQ(r.amountFinanced, c.amountFinanced);
  }
  EXPECT_EQ(checked, 400);
}

// A schedule taken into the Truth in Lending calculator keeps its APR: the
// same advance, the same payments and, with two payments or more, the
// payment period as the unit period.
TEST(ScheduleAprEquivalence, TheTruthInLendingCalculatorFindsTheScheduleApr) {
  int compared = 0;
  for (const RecordedApr& c : kRecorded) {
    if (c.refusal != 0) continue;
    ScheduleInputs in = InputsOf(c);
    Schedule s;
    ASSERT_FALSE(s.Calculate(in).refused);
    int paid = 0;
    for (int k = 1; k <= s.lastRow(); ++k) paid += s.row(k).payment != 0;
    if (paid < 2) continue;
    SCOPED_TRACE("case " + std::to_string(&c - kRecorded));
    TilRecord til = NewTilRecord();
    ASSERT_TRUE(TruthInLendingTermsOf(s, in, til).ok());
    const Outcome o = CalcTil(til);
    if (c.apr > kMaxTilApr) {
      EXPECT_TRUE(o.refused);
      continue;
    }
    ASSERT_FALSE(o.refused) << o.FirstText();
    EXPECT_DOUBLE_EQ(RoundThroughText(til.APR, 4, 18), c.apr);
    EXPECT_DOUBLE_EQ(til.AmountFinanced, c.amountFinanced);
    ++compared;
  }
  EXPECT_GT(compared, 300);
}

}  // namespace
}  // namespace brevika
