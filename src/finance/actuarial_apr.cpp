#include "finance/actuarial_apr.h"

#include <algorithm>
#include <cmath>

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

// Full calendar months from `from` to `to`, counted back from `to`; `reached`
// is the date they lead back to.
int FullMonthsBack(Date from, Date to, Date& reached) {
  int d1, m1, y1, d2, m2, y2;
  SplitDate(from, d1, m1, y1);
  SplitDate(to, d2, m2, y2);
  int months = std::max(0, (y2 - y1) * 12 + (m2 - m1));
  reached = MonthsBefore(to, months);
  if (reached < from && months > 0) reached = MonthsBefore(to, --months);
  return months;
}

// Place of a date among half-months: two a month, the second from the 16th.
int HalfMonthIndex(Date date) {
  int d, m, y;
  SplitDate(date, d, m, y);
  return (y * 12 + m - 1) * 2 + (d > 15 ? 1 : 0);
}

struct Flow {
  long double amount;  // payments positive, advances negative
  int whole;
  long double fraction;
};

// Sum of the discounted flows at unit-period rate i, and its derivative in
// i. The flows are in order of their whole unit periods, so the discount
// (1 + i)^-t is built by whole factors.
void Value(const std::vector<Flow>& flows, long double i, long double& value,
           long double& slope) {
  value = 0;
  slope = 0;
  const long double step = 1.0L + i;
  const long double back = 1.0L / step;
  long double discount = 1.0L;
  int t = 0;
  for (const Flow& f : flows) {
    for (; t < f.whole; ++t) discount *= back;
    long double pv = f.amount * discount;
    long double d = f.whole * back;
    if (f.fraction != 0) {
      const long double simple = 1.0L + f.fraction * i;
      pv /= simple;
      d += f.fraction / simple;
    }
    value += pv;
    slope -= pv * d;
  }
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

UnitPeriodSpan CountUnitPeriods(Date start, Date date, UnitPeriod unit) {
  UnitPeriodSpan u;
  if (date <= start) return u;
  if (unit.kind == UnitPeriodKind::Annually) {
    // Whole years back from the date, the rest in days of a 365-day year.
    Date reached;
    u.whole = FullMonthsBack(start, date, reached) / 12;
    const Date yearsBack = MonthsBefore(date, u.whole * 12);
    u.fraction = static_cast<double>(yearsBack - start) / 365.0;
    return u;
  }
  if (const int months = MonthsOf(unit.kind)) {
    // A unit of m months is 30 m days: 30 days for each full month counted
    // back from the date, plus the days left.
    Date reached;
    const int full = FullMonthsBack(start, date, reached);
    const int days = 30 * full + (reached - start);
    const int unitDays = 30 * months;
    u.whole = days / unitDays;
    u.fraction = static_cast<double>(days - u.whole * unitDays) / unitDays;
    return u;
  }
  if (unit.kind == UnitPeriodKind::Semimonthly) {
    // The most half-months back from the date that stay on or after the
    // start; the days left over 15.
    int k = std::max(0, HalfMonthIndex(date) - HalfMonthIndex(start));
    while (k > 0 && HalfMonthsAfter(date, -k) < start) --k;
    while (HalfMonthsAfter(date, -(k + 1)) >= start) ++k;
    u.whole = k;
    u.fraction = static_cast<double>(HalfMonthsAfter(date, -k) - start) / 15.0;
    return u;
  }
  int unitDays;
  switch (unit.kind) {
    case UnitPeriodKind::Weekly: unitDays = 7; break;
    case UnitPeriodKind::Biweekly: unitDays = 14; break;
    case UnitPeriodKind::FourWeekly: unitDays = 28; break;
    default: unitDays = std::max(1, unit.termDays); break;
  }
  const int days = date - start;
  u.whole = days / unitDays;
  u.fraction = static_cast<double>(days - u.whole * unitDays) / unitDays;
  return u;
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

  // Advances first, then payments, each in order of whole unit periods.
  std::vector<Flow> flows;
  flows.reserve(terms.advances.size() + terms.payments.size());
  for (const DatedAmount& a : terms.advances) {
    const UnitPeriodSpan u = CountUnitPeriods(start, a.date, terms.unit);
    flows.push_back({-static_cast<long double>(a.amount), u.whole, u.fraction});
  }
  for (const DatedAmount& p : terms.payments) {
    const UnitPeriodSpan u = CountUnitPeriods(start, p.date, terms.unit);
    flows.push_back({static_cast<long double>(p.amount), u.whole, u.fraction});
  }
  std::stable_sort(flows.begin(), flows.end(),
                   [](const Flow& a, const Flow& b) { return a.whole < b.whole; });

  // The value falls as the rate rises: bracket the root in [0, the highest
  // rate], then Newton steps, each kept inside the bracket by bisection.
  const long double perYear = UnitPeriodsPerYear(terms.unit);
  long double lo = 0, hi = terms.maxApr / 100.0L / perYear;
  long double v, slope;
  Value(flows, lo, v, slope);
  if (!std::isfinite(v)) return fail(AprFailure::NotFinite);
  if (v < 0) return fail(AprFailure::NotRepaid);
  long double rate = 0;
  if (v > 0) {
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
