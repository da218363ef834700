#include <gtest/gtest.h>

#include <string>

#include "amortization/apr.h"
#include "amortization/schedule.h"
#include "calculators/calc_record.h"

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

// The APR, amount financed and refusal of a schedule as `schedule --summary`
// works them out: the prepaid charges first, then the schedule, then its
// APR.
TEST(ScheduleAprEquivalence, FourHundredSchedulesKeepTheirRecordedApr) {
  int checked = 0;
  for (const RecordedApr& c : kRecorded) {
    SCOPED_TRACE("case " + std::to_string(checked));
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

}  // namespace
}  // namespace brevika
