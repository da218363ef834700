#include "amortization/apr.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "finance/rates.h"

namespace brevika {

namespace {

const char kNegativeFeesText[] = "Other Fees can't be negative.\n\n";
const char kNothingFinancedText[] =
    "No APR exists:\n\nthe points and fees paid at origination\n\n"
    "are not less than the amount of the loan.\n\n";
const char kBelowZeroText[] =
    "No APR exists:\n\nthe payments total less than the amount financed.\n\n";
const char kTooHighText[] = "No APR exists:\n\nthe rate would be above 1,000%.\n\n";
const char kNoScheduleText[] = "No APR exists:\n\nthere is no schedule.\n\n";

// A date `months` calendar months before `date`, its day kept within the
// month it lands in (31 March back one month is 28 or 29 February).
Date MonthsBefore(Date date, int months) {
  int d, m, y;
  SplitDate(date, d, m, y);
  int index = y * 12 + (m - 1) - months;
  y = index / 12;
  m = index % 12 + 1;
  return MakeDate(std::min(d, DaysInMonth(m, y)), m, y);
}

// Full calendar months from `from` to `to`, counted back from `to`.
int FullMonthsBack(Date from, Date to, Date& reached) {
  int d1, m1, y1, d2, m2, y2;
  SplitDate(from, d1, m1, y1);
  SplitDate(to, d2, m2, y2);
  int months = std::max(0, (y2 - y1) * 12 + (m2 - m1));
  reached = MonthsBefore(to, months);
  if (reached < from && months > 0) reached = MonthsBefore(to, --months);
  return months;
}

struct Flow {
  long double amount;
  int whole;
  long double fraction;
};

// Present value of the flows at unit-period rate i, less the amount
// financed; and its derivative in i.
void Value(const std::vector<Flow>& flows, long double financed, long double i,
           long double& value, long double& slope) {
  value = -financed;
  slope = 0;
  // The flows come in date order, so (1 + i)^q grows by whole factors.
  const long double step = 1.0L + i;
  long double grown = 1.0L;
  int q = 0;
  for (const Flow& f : flows) {
    if (f.whole < q) {
      grown = std::pow(step, static_cast<long double>(f.whole));
      q = f.whole;
    }
    for (; q < f.whole; ++q) grown *= step;
    const long double simple = 1.0L + f.fraction * i;
    const long double pv = f.amount / (simple * grown);
    value += pv;
    slope -= pv * (f.fraction / simple + f.whole / (1.0L + i));
  }
}

}  // namespace

UnitPeriods UnitPeriodsBetween(Date advance, Date payment, std::uint16_t periodsPerYear) {
  UnitPeriods u;
  if (payment <= advance) return u;
  if (periodsPerYear == 1) {
    // Whole years back from the payment, the rest in days of a 365-day year.
    Date reached;
    const int months = FullMonthsBack(advance, payment, reached);
    u.whole = months / 12;
    const Date yearsBack = MonthsBefore(payment, u.whole * 12);
    u.fraction = static_cast<double>(yearsBack - advance) / 365.0;
    return u;
  }
  if (periodsPerYear == 12 || periodsPerYear == 6 || periodsPerYear == 4 || periodsPerYear == 2) {
    // A unit of m months is 30 m days: 30 days for each full month counted
    // back from the payment, plus the days left.
    Date reached;
    const int months = FullMonthsBack(advance, payment, reached);
    const int days = 30 * months + (reached - advance);
    const int unitDays = 30 * (12 / periodsPerYear);
    u.whole = days / unitDays;
    u.fraction = static_cast<double>(days - u.whole * unitDays) / unitDays;
    return u;
  }
  // Weeks and other units of whole days.
  const int unitDays = std::max<int>(1, StdDays(periodsPerYear));
  const int days = payment - advance;
  u.whole = days / unitDays;
  u.fraction = static_cast<double>(days - u.whole * unitDays) / unitDays;
  return u;
}

std::optional<Message> CheckPrepaidCharges(const ScheduleInputs& in) {
  if (!std::isfinite(in.OtherFees)) return NonFiniteMessage();
  if (in.OtherFees < 0) return Message{kNegativeFeesText, BoxType::Information};
  const double points = (in.PointsPaidMthd == kAtOrigination && in.Points > 0)
                            ? RoundToCents(in.PV * static_cast<long double>(in.Points) * 0.01L)
                            : 0.0;
  if (in.PV > 0 && points + in.OtherFees >= in.PV)
    return Message{kNothingFinancedText, BoxType::Information};
  return std::nullopt;
}

AprResult AnnualPercentageRate(const Schedule& schedule, const ScheduleInputs& in) {
  AprResult r;
  auto refuse = [&r](const char* text) {
    r.outcome = Outcome::Refuse(Message{text, BoxType::Information});
    return r;
  };
  if (!schedule.calculated()) return refuse(kNoScheduleText);
  if (auto m = CheckPrepaidCharges(in)) {
    r.outcome = Outcome::Refuse(*m);
    return r;
  }
  const int pyr = (in.PYR >= 0 && in.PYR <= 6) ? in.PYR : LoanDefaults.pyrIndex();
  const std::uint16_t P = PyrPeriodsPerYear(pyr);
  const ScheduleRow& r0 = schedule.row(0);
  const long double financed =
      static_cast<long double>(in.PV) - in.OtherFees - static_cast<long double>(r0.payment);
  r.amountFinanced = RoundToCents(financed);
  if (!(financed > 0)) return refuse(kNothingFinancedText);

  std::vector<Flow> flows;
  flows.reserve(static_cast<std::size_t>(schedule.lastRow()));
  long double total = 0;
  for (int k = 1; k <= schedule.lastRow(); ++k) {
    const ScheduleRow& row = schedule.row(k);
    const UnitPeriods u = UnitPeriodsBetween(r0.date, row.date, P);
    flows.push_back({row.payment, u.whole, u.fraction});
    total += row.payment;
  }
  if (!std::isfinite(total)) {
    r.outcome = Outcome::Refuse(NonFiniteMessage());
    return r;
  }

  // The value falls as the rate rises: bracket the root in [0, the highest
  // rate], then Newton steps, each kept inside the bracket by bisection.
  long double lo = 0, hi = kMaxApr / 100.0L / P;
  long double v, slope;
  Value(flows, financed, lo, v, slope);
  if (v < 0) return refuse(kBelowZeroText);
  long double rate = 0;
  if (v > 0) {
    long double vHi;
    Value(flows, financed, hi, vHi, slope);
    if (vHi > 0) return refuse(kTooHighText);
    rate = PeriodicRate(P, CmpPeriodsPerYear(in.CmpPYR >= 0 && in.CmpPYR <= 8 ? in.CmpPYR : 3), in.Rate);
    if (!(rate > lo && rate < hi)) rate = (lo + hi) / 2;
    for (int step = 0; step < kAprIterations; ++step) {
      Value(flows, financed, rate, v, slope);
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
  const double apr = RoundThroughText(rate * P * 100.0L, 4, 18);
  if (!std::isfinite(apr)) {
    r.outcome = Outcome::Refuse(NonFiniteMessage());
    return r;
  }
  r.apr = apr;
  return r;
}

}  // namespace brevika
