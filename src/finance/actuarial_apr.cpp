#include "finance/actuarial_apr.h"

#include <algorithm>
#include <cmath>

#include "finance/rates.h"

namespace brevika {

namespace {

// Months in a unit period made of months; 0 for the others.
int MonthsOf(UnitPeriodKind kind) {
  switch (kind) {
    case UnitPeriodKind::Monthly: return 1;
    case UnitPeriodKind::Bimonthly: return 2;
    case UnitPeriodKind::Quarterly: return 3;
    case UnitPeriodKind::Semiannually: return 6;
    default: return 0;
  }
}

// Place of a date among half-months: two a month, the second from the 16th.
int HalfMonthIndex(Date date) {
  int d, m, y;
  SplitDate(date, d, m, y);
  return (y * 12 + m - 1) * 2 + (d > 15 ? 1 : 0);
}

// The solve evaluates the flows in double: its 15 to 16 significant digits
// leave the rate exact far beyond the decimals an APR is shown with, at
// half the time of extended precision.
struct Flow {
  double amount;  // payments positive, advances negative
  int whole;
  double fraction;
  double wholeTimes;  // `whole` as a factor
};

// Sum of the discounted flows at unit-period rate i, and its derivative in
// i. The flows are in order of their whole unit periods, so the discount
// (1 + i)^-t is built by whole factors.
void Value(const std::vector<Flow>& flows, long double rate, long double& value,
           long double& slope) {
  const double i = static_cast<double>(rate);
  // slope = -sum pv (t / (1 + i) + f / (1 + f i)); the t part is summed
  // first and divided once.
  double sum = 0, timed = 0, simpleSlope = 0;
  const double back = 1.0 / (1.0 + i);
  double discount = 1.0;
  int t = 0;
  for (const Flow& f : flows) {
    for (; t < f.whole; ++t) discount *= back;
    // Far beyond what a sum of amounts can notice, and before the range of
    // slow subnormal numbers.
    if (discount < 1e-280) discount = 0;
    double pv = f.amount * discount;
    if (f.fraction != 0) {
      const double simple = 1.0 + f.fraction * i;
      pv /= simple;
      simpleSlope += pv * f.fraction / simple;
    }
    sum += pv;
    timed += pv * f.wholeTimes;
  }
  value = sum;
  slope = -(timed * back + simpleSlope);
}

}  // namespace

long double UnitPeriodsPerYear(UnitPeriod unit) {
  switch (unit.kind) {
    case UnitPeriodKind::Weekly: return 52;
    case UnitPeriodKind::Biweekly: return 26;
    case UnitPeriodKind::FourWeekly: return 13;
    case UnitPeriodKind::Semimonthly: return 24;
    case UnitPeriodKind::Monthly: return 12;
    case UnitPeriodKind::Bimonthly: return 6;
    case UnitPeriodKind::Quarterly: return 4;
    case UnitPeriodKind::Semiannually: return 2;
    case UnitPeriodKind::Annually: return 1;
    case UnitPeriodKind::Term: return 365.0L / std::max(1, unit.termDays);
  }
  return 12;
}

Date MonthsBefore(Date date, int months) {
  if (date < 0) return kBadDate;
  int d, m, y;
  SplitDate(date, d, m, y);
  const long long index = static_cast<long long>(y) * 12 + (m - 1) - months;
  if (index < static_cast<long long>(kMinYear) * 12 || index >= 10000LL * 12) return kBadDate;
  y = static_cast<int>(index / 12);
  m = static_cast<int>(index % 12) + 1;
  return MakeDate(std::min(d, DaysInMonth(m, y)), m, y);
}

Date HalfMonthsAfter(Date date, int halves) {
  if (date < 0) return kBadDate;
  int d, m, y;
  SplitDate(date, d, m, y);
  const int low = d <= 15 ? d : d - 15;
  // Half-month places from the first half of the date's month.
  const long long place = (d <= 15 ? 0 : 1) + static_cast<long long>(halves);
  const long long monthStep = place >= 0 ? place / 2 : -((1 - place) / 2);
  const bool second = (place - 2 * monthStep) == 1;
  const long long index = static_cast<long long>(y) * 12 + (m - 1) + monthStep;
  if (index < static_cast<long long>(kMinYear) * 12 || index >= 10000LL * 12) return kBadDate;
  y = static_cast<int>(index / 12);
  m = static_cast<int>(index % 12) + 1;
  return MakeDate(std::min(second ? low + 15 : low, DaysInMonth(m, y)), m, y);
}

namespace {

// Counts unit periods from one start date to many dates.
class SpanCounter {
 public:
  SpanCounter(Date start, UnitPeriod unit) : start_(start), unit_(unit) {
    int d1;
    SplitDate(start, d1, m1_, y1_);
    nextM_ = m1_ == 12 ? 1 : m1_ + 1;
    nextY_ = m1_ == 12 ? y1_ + 1 : y1_;
  }

  UnitPeriodSpan operator()(Date date) const {
    UnitPeriodSpan u;
    if (date <= start_) return u;
    if (unit_.kind == UnitPeriodKind::Annually) {
      // Whole years back from the date, the rest in days of a 365-day year.
      Date reached;
      u.whole = FullMonthsBack(date, reached) / 12;
      const Date yearsBack = MonthsBefore(date, u.whole * 12);
      u.fraction = static_cast<double>(yearsBack - start_) / 365.0;
      return u;
    }
    if (const int months = MonthsOf(unit_.kind)) {
      // A unit of m months is 30 m days: 30 days for each full month
      // counted back from the date, plus the days left.
      Date reached;
      const int full = FullMonthsBack(date, reached);
      const int days = 30 * full + (reached - start_);
      const int unitDays = 30 * months;
      u.whole = days / unitDays;
      u.fraction = static_cast<double>(days - u.whole * unitDays) / unitDays;
      return u;
    }
    if (unit_.kind == UnitPeriodKind::Semimonthly) {
      // The most half-months back from the date that stay on or after the
      // start; the days left over 15.
      int k = std::max(0, HalfMonthIndex(date) - HalfMonthIndex(start_));
      while (k > 0 && HalfMonthsAfter(date, -k) < start_) --k;
      while (HalfMonthsAfter(date, -(k + 1)) >= start_) ++k;
      u.whole = k;
      u.fraction = static_cast<double>(HalfMonthsAfter(date, -k) - start_) / 15.0;
      return u;
    }
    int unitDays;
    switch (unit_.kind) {
      case UnitPeriodKind::Weekly: unitDays = 7; break;
      case UnitPeriodKind::Biweekly: unitDays = 14; break;
      case UnitPeriodKind::FourWeekly: unitDays = 28; break;
      default: unitDays = std::max(1, unit_.termDays); break;
    }
    const int days = date - start_;
    u.whole = days / unitDays;
    u.fraction = static_cast<double>(days - u.whole * unitDays) / unitDays;
    return u;
  }

 private:
  // Full calendar months from the start to a later date, counted back from
  // the date; `reached` is the date they lead back to (the date's day,
  // or the last of a shorter month). The start's month is split once.
  int FullMonthsBack(Date date, Date& reached) const {
    int d2, m2, y2;
    SplitDate(date, d2, m2, y2);
    int full = (y2 - y1_) * 12 + (m2 - m1_);
    reached = MakeDate(std::min(d2, DaysInMonth(m1_, y1_)), m1_, y1_);
    if (reached < start_ && full > 0) {
      --full;
      reached = MakeDate(std::min(d2, DaysInMonth(nextM_, nextY_)), nextM_, nextY_);
    }
    return full;
  }

  Date start_;
  UnitPeriod unit_;
  int m1_, y1_, nextM_, nextY_;
};

}  // namespace

UnitPeriodSpan CountUnitPeriods(Date start, Date date, UnitPeriod unit) {
  return SpanCounter(start, unit)(date);
}

ActuarialApr SolveActuarialApr(const ActuarialAprTerms& terms) {
  ActuarialApr r;
  auto fail = [&r](AprFailure f) {
    r.failure = f;
    return r;
  };
  if (terms.advances.empty()) return fail(AprFailure::NoAdvance);
  if (terms.payments.empty()) return fail(AprFailure::NoPayment);
  Date start = terms.advances.front().date;
  long double advanced = 0, paid = 0;
  for (const DatedAmount& a : terms.advances) {
    start = std::min(start, a.date);
    advanced += a.amount;
  }
  for (const DatedAmount& p : terms.payments) paid += p.amount;
  if (!std::isfinite(advanced) || !std::isfinite(paid)) return fail(AprFailure::NotFinite);
  if (!(advanced > 0)) return fail(AprFailure::NoAdvance);
  for (const DatedAmount& p : terms.payments)
    if (p.date < start) return fail(AprFailure::PaymentBeforeAdvance);

  // Advances first, then payments, each in order of whole unit periods;
  // the time of each date is counted once, before the solve.
  std::vector<Flow> flows;
  flows.reserve(terms.advances.size() + terms.payments.size());
  const SpanCounter count(start, terms.unit);
  for (const DatedAmount& a : terms.advances) {
    const UnitPeriodSpan u = count(a.date);
    flows.push_back({-a.amount, u.whole, u.fraction, static_cast<double>(u.whole)});
  }
  for (const DatedAmount& p : terms.payments) {
    const UnitPeriodSpan u = count(p.date);
    flows.push_back({p.amount, u.whole, u.fraction, static_cast<double>(u.whole)});
  }
  auto byWhole = [](const Flow& a, const Flow& b) { return a.whole < b.whole; };
  if (!std::is_sorted(flows.begin(), flows.end(), byWhole))
    std::stable_sort(flows.begin(), flows.end(), byWhole);

  // The value falls as the rate rises: bracket the root in [0, the highest
  // rate], then Newton steps, each kept inside the bracket by bisection.
  const long double perYear = UnitPeriodsPerYear(terms.unit);
  long double lo = 0, hi = terms.maxApr / 100.0L / perYear;
  // At a rate of 0 nothing is discounted: the value is the sum of the flows.
  // The amounts are money, so that sum counts to the cent: payments that
  // repay the advances exactly are 0 % whatever the binary noise of the sum
  // (advances of 1,000.10 and 0.20 against ten payments of 100.03).
  long double v = 0, slope;
  for (const Flow& f : flows) v += f.amount;
  if (!std::isfinite(v)) return fail(AprFailure::NotFinite);
  const double repaidBeyond = RoundToCents(v);
  if (repaidBeyond < 0) return fail(AprFailure::NotRepaid);
  long double rate = 0;
  if (repaidBeyond > 0) {
    long double vHi;
    Value(flows, hi, vHi, slope);
    if (vHi > 0) return fail(AprFailure::TooHigh);
    rate = terms.startRate;
    if (!(rate > lo && rate < hi)) {
      // Simple interest on the payments over their time: below the rate
      // for a loan repaid over time, where Newton steps up to the root
      // without overshooting it.
      long double weighted = 0;
      for (const Flow& f : flows)
        if (f.amount > 0) weighted += f.amount * (f.whole + f.fraction);
      rate = weighted > 0 ? (paid - advanced) / weighted : 0;
      if (!(rate > lo && rate < hi)) rate = (lo + hi) / 2;
    }
    for (int step = 0; step < kActuarialAprIterations; ++step) {
      r.steps = step + 1;
      Value(flows, rate, v, slope);
      if (v == 0) break;
      if (v > 0) lo = rate;
      else hi = rate;
      long double next = slope < 0 ? rate - v / slope : (lo + hi) / 2;
      if (!(next > lo && next < hi)) next = (lo + hi) / 2;
      const long double moved = std::fabs(next - rate);
      rate = next;
      if (moved <= 1e-15L * (1.0L + rate) || hi - lo <= 1e-15L) break;
    }
  }
  r.rate = rate;
  r.apr = rate * perYear * 100.0L;
  if (!std::isfinite(r.apr)) return fail(AprFailure::NotFinite);
  return r;
}

}  // namespace brevika
