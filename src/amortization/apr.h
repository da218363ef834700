// Annual percentage rate of a schedule by the actuarial method of the U.S.
// Truth in Lending rules (Regulation Z, Appendix J). No Qt.
//
// The amount financed is the loan amount less the prepaid finance charges:
// what row 0 charges on the day of the advance (points paid at origination
// and interest of a long first period) and the other fees. The payment
// stream is rows 1 onwards on their own dates; points that are amortized or
// paid with the first payment are already in it. Each payment is discounted
// over the whole unit periods counted back from its date to the advance and,
// for the days left over, by simple interest on that fraction of a unit
// period: amount financed = sum of P / ((1 + f i) (1 + i)^q). The APR is the
// unit-period rate i times the unit periods a year (the payments a year).
#pragma once
#include <cstdint>
#include <optional>

#include "amortization/schedule.h"
#include "finance/outcome.h"
#include "finance/periods.h"

namespace brevika {

// Whole unit periods and the fraction of one between an advance and a later
// payment. Months (and multiples of a month) are counted back from the
// payment date, the remaining days being 1/30 of a month each; years are
// counted back the same way with 365 days to the year; weeks are 7 days.
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
inline constexpr int kAprIterations = 200;
AprResult AnnualPercentageRate(const Schedule& schedule, const ScheduleInputs& in);

}  // namespace brevika
