// The annual percentage rate of a loan by the actuarial method of the U.S.
// Truth in Lending rules (Regulation Z, Appendix J). No Qt.
//
// Advances and payments are amounts on dates. Each one after the first
// advance is discounted to the first advance's date by (1 + f i)(1 + i)^t,
// t being the whole unit periods counted back from its date toward the
// first advance and f the fraction of a unit period left over. The
// unit-period rate i makes the discounted payments equal the discounted
// advances; the APR is i times the unit periods a year.
#pragma once
#include <vector>

#include "finance/periods.h"

namespace brevika {

// The unit periods the time of a loan is counted in. `Term` is the one unit
// period of a loan repaid by a single payment within a year: its own days.
enum class UnitPeriodKind {
  Weekly, Biweekly, FourWeekly, Semimonthly, Monthly, Bimonthly, Quarterly, Semiannually,
  Annually, Term
};

struct UnitPeriod {
  UnitPeriodKind kind = UnitPeriodKind::Monthly;
  int termDays = 0;  // Term only: days of the unit period (1 or more)
  bool operator==(const UnitPeriod&) const = default;
};

// 52, 26, 13, 24, 12, 6, 4, 2 or 1; 365 / days for a term.
long double UnitPeriodsPerYear(UnitPeriod unit);

// Whole unit periods and the fraction of one from `start` to a later date.
// Months and multiples of a month count whole months back from the date,
// 30 days each, plus the days left, over 30 days a month; half-months count
// back from the date by the day pattern d, d + 15 (d at most 15) and divide
// the days left by 15; weeks count 7, 14 or 28 days; a year counts whole
// years back and divides the days left by 365; a term counts its own days.
// A date on or before `start` is no time at all.
struct UnitPeriodSpan {
  int whole = 0;
  double fraction = 0;
};
UnitPeriodSpan CountUnitPeriods(Date start, Date date, UnitPeriod unit);

// `months` calendar months before (negative: after) `date`, the day kept
// within the month it lands in (31 March back one month is 28 or 29
// February). kBadDate outside the day numbers a date can have.
Date MonthsBefore(Date date, int months);
// `halves` half-months after (negative: before) `date` by the day pattern
// d, d + 15 with d the date's day, less 15 above the 15th; a day past the
// end of a month is that month's last day.
Date HalfMonthsAfter(Date date, int halves);

struct DatedAmount {
  double amount = 0;
  Date date = 0;
};

enum class AprFailure {
  None,
  NoAdvance,             // no advance, or the advances total 0 or less
  NoPayment,
  PaymentBeforeAdvance,  // a payment dated before the first advance
  NotRepaid,             // the payments total less than the advances (to the cent):
                         // no rate of 0 or more fits
  TooHigh,               // the rate would be above maxApr
  NotFinite,             // an amount or a total is not a finite number
};

struct ActuarialAprTerms {
  std::vector<DatedAmount> advances;
  std::vector<DatedAmount> payments;
  UnitPeriod unit;
  double maxApr = 999.0;      // percent a year: a higher rate fails with TooHigh
  long double startRate = 0;  // unit-period rate to start from; 0: an estimate
};

// Steps of the solve at most: Newton steps kept inside a shrinking bracket,
// bisecting whenever a step would leave it.
inline constexpr int kActuarialAprIterations = 200;

struct ActuarialApr {
  AprFailure failure = AprFailure::None;
  long double rate = 0;  // per unit period
  long double apr = 0;   // percent a year, not rounded
  int steps = 0;
};

ActuarialApr SolveActuarialApr(const ActuarialAprTerms& terms);

}  // namespace brevika
