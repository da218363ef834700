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

// The interval of a series of the schedule's payments.
PaymentInterval IntervalOfPayments(std::uint16_t periodsPerYear) {
  switch (periodsPerYear) {
    case 52: return PaymentInterval::Weekly;
    case 26: return PaymentInterval::Biweekly;
    case 6: return PaymentInterval::Bimonthly;
    case 4: return PaymentInterval::Quarterly;
    case 2: return PaymentInterval::Semiannually;
    case 1: return PaymentInterval::Annually;
    default: return PaymentInterval::Monthly;
  }
}

// The unit period of a schedule: its payment period.
UnitPeriod UnitOfPayments(std::uint16_t periodsPerYear) {
  return UnitPeriodOf(IntervalOfPayments(periodsPerYear));
}

// What a calculated schedule lends: the payments a year and the amount
// financed, the amount less the other fees and what row 0 charges on the
// day of the advance. Refused without a schedule and by CheckPrepaidCharges.
std::optional<Message> LoanOfSchedule(const Schedule& schedule, const ScheduleInputs& in,
                                      std::uint16_t& periodsPerYear, long double& financed) {
  if (!schedule.calculated()) return Message{kNoScheduleText, BoxType::Information};
  if (auto m = CheckPrepaidCharges(in)) return m;
  periodsPerYear = PyrPeriodsPerYear((in.PYR >= 0 && in.PYR <= 6) ? in.PYR : LoanDefaults.pyrIndex());
  financed = static_cast<long double>(in.PV) - in.OtherFees -
             static_cast<long double>(schedule.row(0).payment);
  return std::nullopt;
}

}  // namespace

UnitPeriods UnitPeriodsBetween(Date advance, Date payment, std::uint16_t periodsPerYear) {
  const UnitPeriodSpan span = CountUnitPeriods(advance, payment, UnitOfPayments(periodsPerYear));
  return {span.whole, span.fraction};
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
  std::uint16_t P = 12;
  long double financed = 0;
  if (auto m = LoanOfSchedule(schedule, in, P, financed)) {
    r.outcome = Outcome::Refuse(*m);
    return r;
  }
  const ScheduleRow& r0 = schedule.row(0);
  r.amountFinanced = RoundToCents(financed);
  if (!(financed > 0)) return refuse(kNothingFinancedText);

  ActuarialAprTerms terms;
  terms.advances.push_back({static_cast<double>(financed), r0.date});
  terms.payments.reserve(static_cast<std::size_t>(schedule.lastRow()));
  for (int k = 1; k <= schedule.lastRow(); ++k)
    terms.payments.push_back({schedule.row(k).payment, schedule.row(k).date});
  terms.unit = UnitOfPayments(P);
  terms.maxApr = kMaxApr;
  // The note rate is where the solve starts: with few charges it is close.
  terms.startRate =
      PeriodicRate(P, CmpPeriodsPerYear(in.CmpPYR >= 0 && in.CmpPYR <= 8 ? in.CmpPYR : 3), in.Rate);
  const ActuarialApr solved = SolveActuarialApr(terms);
  switch (solved.failure) {
    case AprFailure::None: break;
    case AprFailure::NotRepaid: return refuse(kBelowZeroText);
    case AprFailure::TooHigh: return refuse(kTooHighText);
    case AprFailure::NoAdvance: return refuse(kNothingFinancedText);
    default:
      r.outcome = Outcome::Refuse(NonFiniteMessage());
      return r;
  }
  const long double rate = solved.rate;
  const double apr = RoundThroughText(rate * P * 100.0L, 4, 18);
  if (!std::isfinite(apr)) {
    r.outcome = Outcome::Refuse(NonFiniteMessage());
    return r;
  }
  r.apr = apr;
  return r;
}

Outcome TruthInLendingTermsOf(const Schedule& schedule, const ScheduleInputs& in, TilRecord& rec) {
  std::uint16_t P = 12;
  long double owed = 0;
  if (auto m = LoanOfSchedule(schedule, in, P, owed)) return Outcome::Refuse(*m);
  const PaymentInterval interval = IntervalOfPayments(P);
  const ScheduleRow& r0 = schedule.row(0);
  const double financed = RoundToCents(owed);
  if (!(financed > 0)) return Outcome::Refuse(Message{kNothingFinancedText, BoxType::Information});

  std::vector<TilPaymentSeries> series;
  for (int k = 1; k <= schedule.lastRow(); ++k) {
    const ScheduleRow& row = schedule.row(k);
    // The calculator's amounts are in cents, as the schedule shows them.
    const double payment = RoundToCents(row.payment);
    if (payment == 0) continue;
    if (!series.empty()) {
      TilPaymentSeries& last = series.back();
      if (last.amount == payment && last.count < kMaxTilPayments &&
          SeriesPaymentDate(last.firstDate, interval, last.count) == row.date) {
        ++last.count;
        continue;
      }
    }
    series.push_back({1, payment, row.date, interval});
  }
  ResetTil(rec);
  rec.Advances.push_back({financed, r0.date});
  rec.Payments = std::move(series);
  return Outcome::Ok();
}

}  // namespace brevika
