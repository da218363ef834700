// Annual percentage rate of a schedule by the actuarial method of the U.S.
// Truth in Lending rules (Regulation Z, Appendix J). No Qt.
//
// The amount financed is the loan amount less the prepaid finance charges:
// what row 0 charges on the day of the advance (points paid at origination
// and interest of a long first period) and the other fees. The payment
// stream is rows 1 onwards on their own dates; points that are amortized or
// paid with the first payment are already in it. The unit period is the
// payment period, and the rate is solved by the one actuarial APR engine
// (finance/actuarial_apr.h).
#pragma once
#include <cstdint>
#include <optional>

#include "amortization/schedule.h"
#include "calculators/truth_in_lending.h"
#include "finance/actuarial_apr.h"
#include "finance/outcome.h"
#include "finance/periods.h"

namespace brevika {

// Whole unit periods and the fraction of one between an advance and a later
// payment, the unit period being the payment period of `periodsPerYear`
// (CountUnitPeriods of finance/actuarial_apr.h).
struct UnitPeriods {
  int whole = 0;
  double fraction = 0;
};
UnitPeriods UnitPeriodsBetween(Date advance, Date payment, std::uint16_t periodsPerYear);

// Highest APR looked for, in percent: beyond it the rate is refused.
inline constexpr double kMaxApr = 1000.0;

struct AprResult {
  Outcome outcome;          // refused when no rate exists
  double apr = 0;           // percent a year, rounded to 4 decimals
  double amountFinanced = 0;
};

// Refusals that need no schedule: other fees below zero or not finite, and
// points at origination plus other fees that take the whole amount. The
// window and the command line check this before calculating.
std::optional<Message> CheckPrepaidCharges(const ScheduleInputs& in);

// APR of a calculated (or loaded) schedule with the amount, payment period
// and other fees of `in`. Refuses when nothing is left to finance, when the
// payments total less than the amount financed (no rate of 0 or more fits)
// or when the rate would be above kMaxApr. The solve is a Newton iteration
// kept inside a shrinking bracket, at most kAprIterations steps.
inline constexpr int kAprIterations = kActuarialAprIterations;
AprResult AnnualPercentageRate(const Schedule& schedule, const ScheduleInputs& in);

// The loan of a calculated schedule for the Truth in Lending calculator:
// one advance of the amount financed on the origination date, and the
// payments of rows 1 onwards, in cents, as series of equal payments one payment
// period apart (payments of 0 are left out, they change nothing). The
// record's other entries and results are reset. Refused, the record
// unchanged, as AnnualPercentageRate refuses before it solves.
Outcome TruthInLendingTermsOf(const Schedule& schedule, const ScheduleInputs& in, TilRecord& rec);

}  // namespace brevika
