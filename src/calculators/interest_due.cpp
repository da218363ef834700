#include "calculators/interest_due.h"

#include <cfloat>
#include <cmath>
#include <cstdlib>

#include "finance/items.h"

namespace brevika {

namespace {

const char* const kTooFarApart =
    "Start Date and End Date can be at most\r\r32,767 days apart.\r\rPlease Try Again";

constexpr long double kE = 2.718281828L;  // the constant the continuous branch uses

// Powers as the exponential of the logarithm.
long double Power(long double x, long double y) { return std::exp(y * std::log(x)); }

// At most 32,767 days apart in either order: -32768 fits the count but is
// refused like its positive counterpart.
bool FitsDayCount(long long days) { return days >= -INT16_MAX && days <= INT16_MAX; }

bool FitsFloat(long double x) { return std::isfinite(x) && std::fabs(x) <= FLT_MAX; }

// Compounding periods in the term (n) and in a year (m) of a list code.
struct Periods {
  long double n, m;
};

Periods PeriodsOf(IntDueCompounding code, long double d, long double Y, long double M) {
  switch (code) {
    case IntDueCompounding::Weekly: return {d * (1.0L / 7), Y * (1.0L / 7)};
    case IntDueCompounding::BiWeekly: return {d * (1.0L / 14), Y * (1.0L / 14)};
    case IntDueCompounding::Monthly: return {d / M, 12};
    case IntDueCompounding::BiMonthly: return {d / (2 * M), 6};
    case IntDueCompounding::Quarterly: return {d / (3 * M), 4};
    case IntDueCompounding::SemiAnnually: return {d / (6 * M), 2};
    case IntDueCompounding::Annually: return {d / Y, 1};
    default: return {d, Y};  // Simple, Continuous, Daily
  }
}

struct Results {
  long double IntPaid, FV, APY, DailyRate;
};

// The four results for an amount pv over d days (numDays signed, not 0).
Results Compute(long double pv, std::int16_t numDays, float rate, long double d,
                IntDueCompounding code, DayBasis basis) {
  const long double Y = basis == DayBasis::Days365 ? 365 : 360;
  const long double M = basis == DayBasis::Days365 ? 365.0L / 12 : 30;
  const long double r = rate * 0.01L;
  const Periods p = PeriodsOf(code, d, Y, M);
  const long double i = r / p.m;
  Results out{};
  const bool compound = code >= IntDueCompounding::Daily && code <= IntDueCompounding::Annually;
  if (compound && p.n >= 1) {
    out.FV = pv * Power(1 + r / p.m, p.n);
    out.IntPaid = out.FV - pv;
  } else if (code == IntDueCompounding::Continuous) {
    const long double t = d / Y;
    if (d >= Y) {
      out.FV = pv * Power(kE, r * t);
      out.IntPaid = out.FV - pv;
    } else {
      // The term's share of one year's continuous interest.
      out.IntPaid = t * pv * (Power(kE, r) - 1);
      out.FV = pv + out.IntPaid;
    }
  } else {
    out.IntPaid = i * pv * p.n;  // simple: pv x r x d / Y for every code
    out.FV = pv + out.IntPaid;
  }
  out.DailyRate = r / Y;
  // The yield exponent uses 365 whatever the basis, and the signed count.
  out.APY = (Power(1 + out.IntPaid / pv, 365.0L / numDays) - 1) * 100;
  return out;
}

void SetDayCount(IntDueRecord& v) { v.NumDays = static_cast<std::int16_t>(v.EndDate - v.StartDate); }

}  // namespace

bool IsFieldDate(Date date) { return date >= 0 && date <= MakeDate(31, 12, kMaxYear); }

int WeekdayOf(Date date) {
  if (!IsFieldDate(date)) return -1;
  return (date + 6) % 7;  // 1 January 1600 was a Saturday
}

std::string DayBoxText(Date date, const WeekdayNames& names) {
  const int w = WeekdayOf(date);
  return w < 0 ? std::string("Bad Date") : names[w];
}

IntDueRecord NewIntDueRecord(Date today, const WeekdayNames& names) {
  IntDueRecord r;
  r.CmpPYR = ListEntry::Of(InterestDueCompoundingItems(), LoanDefaults.interestDueCompounding);
  r.RateBasis = ListEntry::Of(DayBasisItems(), LoanDefaults.dayBasis);
  ResetIntDue(r, today, names);
  return r;
}

void ResetIntDue(IntDueRecord& r, Date today, const WeekdayNames& names) {
  r.PV = 0;
  r.NumDays = 0;
  r.Rate = 0;
  r.StartDate = r.EndDate = today;
  r.StartDay = r.EndDay = DayBoxText(today, names);
  r.CmpPYR.Select(LoanDefaults.interestDueCompounding);
  r.RateBasis.Select(LoanDefaults.dayBasis);
  r.IntPaid = 0;
  r.FV = 0;
  r.APY = 0;
  r.DailyRate = 0;
}

Outcome IntDueFieldChanged(IntDueRecord& v, IntDueField changed, const WeekdayNames& names) {
  Outcome out;
  switch (changed) {
    case IntDueField::StartDate:
    case IntDueField::EndDate: {
      const bool start = changed == IntDueField::StartDate;
      if (IsFieldDate(v.StartDate) && IsFieldDate(v.EndDate)) {
        if (FitsDayCount(static_cast<long long>(v.EndDate) - v.StartDate)) {
          SetDayCount(v);
        } else {
          // Back to the date the unchanged day count agrees with.
          Date& date = start ? v.StartDate : v.EndDate;
          date = start ? v.EndDate - v.NumDays : v.StartDate + v.NumDays;
          if (!IsFieldDate(date)) date = kBadDate;
          out = Outcome::Refuse(Message{kTooFarApart, BoxType::Warning});
        }
      }
      break;
    }
    case IntDueField::NumDays: {
      if (v.NumDays == INT16_MIN) {
        // Its positive counterpart does not fit: keep the dates' count.
        if (IsFieldDate(v.StartDate) && IsFieldDate(v.EndDate)) SetDayCount(v);
        out = Outcome::Refuse(Message{kTooFarApart, BoxType::Warning});
        break;
      }
      if (v.NumDays < 0) {
        if (!IsFieldDate(v.EndDate)) break;
        const Date moved = v.EndDate + v.NumDays;
        v.StartDate = IsFieldDate(moved) ? moved : kBadDate;
        if (IsFieldDate(v.StartDate)) SetDayCount(v);
      } else {
        if (!IsFieldDate(v.StartDate)) break;
        const Date moved = v.StartDate + v.NumDays;
        v.EndDate = IsFieldDate(moved) ? moved : kBadDate;
      }
      break;
    }
  }
  // Whatever moved or was refused, each day box names its date's weekday.
  v.StartDay = DayBoxText(v.StartDate, names);
  v.EndDay = DayBoxText(v.EndDate, names);
  return out;
}

Outcome CalcIntDue(IntDueRecord& rec) {
  if (rec.NumDays == 0) {
    rec.IntPaid = 0;
    rec.FV = rec.PV;
    rec.APY = 0;
    rec.DailyRate = 0;
    return Outcome::Ok();
  }
  if (!IsFieldDate(rec.StartDate) || !IsFieldDate(rec.EndDate))
    return Outcome::Refuse(Message{kMsgIntDueBadDates, BoxType::Warning});
  const long double d = std::llabs(static_cast<long long>(rec.EndDate) - rec.StartDate);
  // The yield does not depend on the amount: an amount of 0 takes it from
  // an amount of 1 (instead of dividing 0 by 0) and earns nothing.
  const bool zero = rec.PV == 0;
  Results res = Compute(zero ? 1.0L : rec.PV, rec.NumDays, rec.Rate, d,
                        rec.CmpPYR.code<IntDueCompounding>(), rec.RateBasis.code<DayBasis>());
  if (zero) res.IntPaid = res.FV = 0;
  if (!std::isfinite(res.IntPaid) || !std::isfinite(res.FV) || !FitsFloat(res.APY) ||
      !FitsFloat(res.DailyRate) || std::fabs(res.IntPaid) > DBL_MAX || std::fabs(res.FV) > DBL_MAX)
    return Outcome::Refuse(NonFiniteMessage());
  rec.IntPaid = static_cast<double>(res.IntPaid);
  rec.FV = static_cast<double>(res.FV);
  rec.APY = static_cast<float>(res.APY);
  rec.DailyRate = static_cast<float>(res.DailyRate);
  return Outcome::Ok();
}

const KindDescription<IntDueRecord>& IntDueKind() {
  using R = IntDueRecord;
  static const KindDescription<R> kind{
      .info = {.kind = CalcKind::InterestDue,
               .title = "Interest Due Calculator",
               .menu = {"mIntDue", "&Interest Due...", "F3"},
               .help = {.window = 7},
               .command = {"interest-due", "interest, future value and APY between two dates"}},
      .make = [](const KindContext& c) { return NewIntDueRecord(c.today, c.weekdays); },
      .reset = [](R& r, const KindContext& c) { ResetIntDue(r, c.today, c.weekdays); },
      .calc = [](R& r, const KindContext&) { return CalcIntDue(r); },
      .fields = {
          Field("PV", &R::lPV, &R::PV, 1).Option("--amount", "amount", kRequired),
          Field("NumDays", &R::lNumDays, &R::NumDays, 39)
              .Option("--days", "number of days (the start date is today)"),
          Field("Rate", &R::lRate, &R::Rate, 9).Option("--rate", "annual rate in percent", kRequired),
          Field("StartDate", &R::lStartDate, &R::StartDate, 41)
              .Weekday(&R::StartDay, "OvcSpinner1")
              .Option("--start-date", "start date MM/DD/YYYY"),
          Field<R>("StartDay", nullptr, &R::StartDay, 52),
          Field("EndDate", &R::lEndDate, &R::EndDate, 43)
              .Weekday(&R::EndDay, "OvcSpinner2")
              .Option("--end-date", "end date MM/DD/YYYY"),
          Field<R>("EndDay", nullptr, &R::EndDay, 54),
          Field("CmpPYR", &R::lCmpPYR, &R::CmpPYR, 13).Option("--compounding"),
          Field("RateBasis", &R::lRateBasis, &R::RateBasis, 45).Option("--rate-basis"),
          Field("IntPaid", &R::lIntPaid, &R::IntPaid).Result().Rule(),
          Field("FV", &R::lFV, &R::FV).Result(),
          Field("APY", &R::lAPY, &R::APY).Result().Row(RowKind::Number, 4),
          Field("DailyRate", &R::lDailyRate, &R::DailyRate).Result().Decimals(6).Row(RowKind::Number, 7)},
      .jsonOrder = {"PV", "NumDays", "Rate", "StartDate", "EndDate", "StartDay", "EndDay", "CmpPYR",
                    "RateBasis", "IntPaid", "FV", "APY", "DailyRate"},
      .optionOrder = {"PV", "Rate", "NumDays", "StartDate", "EndDate", "CmpPYR", "RateBasis"}};
  return kind;
}

}  // namespace brevika
