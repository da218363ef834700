#include "calculators/remaining_balance.h"

#include <cmath>

#include "finance/periods.h"
#include "finance/rates.h"
#include "finance/real48.h"

namespace brevika {

namespace {

const char* const kNoZeros = "No zero values allowed.\r";
const char* const kPeriods =
    "Total Periods must be greater\r\rthan Balance After Payment #.\r\rPlease Try Again";

Outcome RefuseError(const char* text) { return Outcome::Refuse(Message{text, BoxType::Error}); }

// Balance after k payments (k below n). Every amount is rounded to cents; a
// balance the walk pays off shows as 0.
double BalanceAfter(AmortMethod method, bool arrears, double pv, int n, long double i, double pmt,
                    int k) {
  if (method == AmortMethod::InterestOnly || static_cast<int>(method) > 5) return pv;
  const double principal = RoundToCents(pv / static_cast<long double>(n));  // Fixed Principal
  // Rule of 78's: interest of the plain schedule spread by the sum of digits
  // (in advance over payments 2 to n, weights n - 1 down to 1).
  const long double total78 =
      arrears ? n * static_cast<long double>(pmt) - pv
              : (n - 1) * static_cast<long double>(pmt) - (pv - pmt);
  const long double N = n;
  const long double digits = arrears ? N * (N + 1) * 0.5L : N * (N - 1) * 0.5L;
  long double B = pv;  // stored back in 8 bytes after every step
  for (int j = 1; j <= k; ++j) {
    if (!arrears && j == 1) {
      // Falls on the day the loan starts: no interest, all principal.
      B = pv - (method == AmortMethod::FixedPrincipal ? principal : pmt);
    } else {
      switch (method) {
        case AmortMethod::FixedPrincipal: {
          const double interest = RoundToCents(B * i);
          B = static_cast<double>(B + interest - (principal + interest));
          break;
        }
        case AmortMethod::RuleOf78:
          B = static_cast<double>(B + RoundToCents((N - j + 1) * total78 / digits) - pmt);
          break;
        default:  // Canadian, Normal, U.S. Rule
          B = static_cast<double>(B + RoundToCents(i * B) - pmt);
          break;
      }
    }
    // Paid off: in arrears once the balance is no longer above 0 (Rule of
    // 78's: below 0), in advance once it is below 0 (Fixed Principal: 0 or
    // below).
    bool paidOff;
    if (arrears) paidOff = method == AmortMethod::RuleOf78 ? B < 0 : B <= 0;
    else paidOff = method == AmortMethod::FixedPrincipal ? B <= 0 : B < 0;
    if (paidOff || j == n) return 0;
  }
  return static_cast<double>(B);
}

}  // namespace

RemBalRecord NewRemBalRecord() {
  RemBalRecord r;
  r.PYR = ListEntry::Of(PaymentPeriodItems(), LoanDefaults.pyrIndex());
  r.CmpPYR = ListEntry::Of(CompoundingPeriodItems(), LoanDefaults.compoundingPeriod);
  r.PmtMthd = ListEntry::Of(PaymentMethodItems(), LoanDefaults.paymentMethod);
  r.AmortMthd = ListEntry::Of(AmortizingMethodItems(), LoanDefaults.amortizingMethod);
  return r;
}

void ResetRemBal(RemBalRecord& r) {
  r.PV = 0;
  r.NumPmts = 0;
  r.Rate = 0;
  r.PYR.Select(LoanDefaults.pyrIndex());
  r.CmpPYR.Select(LoanDefaults.compoundingPeriod);
  r.PmtMthd.Select(LoanDefaults.paymentMethod);
  r.AmortMthd.Select(LoanDefaults.amortizingMethod);
  r.IncPer = 0;
  r.RemBal = 0;
  r.Pmt = 0;
}

Outcome CalcRemBal(RemBalRecord& rec) {
  if (!(rec.PV > 0 && rec.NumPmts > 0 && rec.Rate > 0 && rec.IncPer > 0 &&
        rec.IncPer < rec.NumPmts))
    return RefuseError(rec.IncPer < rec.NumPmts ? kNoZeros : kPeriods);

  const std::uint16_t a = PyrPeriodsPerYear(rec.PYR.index);
  const std::uint16_t c = CmpPeriodsPerYear(rec.CmpPYR.index);
  // The periodic rate is kept as a six-byte real: it decides half-cent ties.
  const long double i = RoundToReal48(PeriodicRate(a, c, rec.Rate));
  const AmortMethod method = AmortMethodOf(rec.AmortMthd.index);
  const bool arrears = IsArrears(rec.PmtMthd.index);
  const double pmt = arrears ? FirstPaymentArrears(method, i, rec.NumPmts, rec.PV)
                             : FirstPaymentAdvance(method, i, rec.NumPmts, rec.PV);
  const double remBal = std::isfinite(pmt)
                            ? BalanceAfter(method, arrears, rec.PV, rec.NumPmts, i, pmt, rec.IncPer)
                            : pmt;
  if (!std::isfinite(pmt) || !std::isfinite(remBal)) return Outcome::Refuse(NonFiniteMessage());
  rec.Pmt = pmt;
  rec.RemBal = remBal;
  return Outcome::Ok();
}

const KindDescription<RemBalRecord>& RemBalKind() {
  using R = RemBalRecord;
  static const std::vector<const char*> kTermsFirst = {"PV",      "NumPmts", "Rate",      "IncPer", "PYR",
                                                       "CmpPYR", "PmtMthd", "AmortMthd", "RemBal", "Pmt"};
  static const KindDescription<R> kind{
      .info = {.kind = CalcKind::RemainingBalance,
               .title = "Remaining Balance Calculator",
               .menu = {"RemainingBalance1", "&Remaining Balance...", "F4"},
               .help = {.window = 90},
               .command = {"remaining-balance", "the balance owed after a given payment"}},
      .make = [](const KindContext&) { return NewRemBalRecord(); },
      .reset = [](R& r, const KindContext&) { ResetRemBal(r); },
      .calc = [](R& r, const KindContext&) { return CalcRemBal(r); },
      .fields = {
          Field("PV", &R::lPV, &R::PV, 1).Option("--amount", "amount of the loan", kRequired),
          Field("NumPmts", &R::lNumPmts, &R::NumPmts, 97).Option("--periods", "total number of payments", kRequired),
          Field("Rate", &R::lRate, &R::Rate, 9).Option("--rate", "annual rate in percent", kRequired),
          Field("PYR", &R::lPYR, &R::PYR, 16).Option("--payment-period"),
          Field("CmpPYR", &R::lCmpPYR, &R::CmpPYR, 13).Option("--compounding"),
          Field("PmtMthd", &R::lPmtMthd, &R::PmtMthd, 25).Option("--payment-method"),
          Field("AmortMthd", &R::lAmortMthd, &R::AmortMthd, 14).Option("--amortizing"),
          Field("IncPer", &R::lBalAfter, &R::IncPer, 34)
              .Option("--after-payment", "the payment after which the balance is wanted", kRequired)
              .Row(RowKind::NarrowCount),
          Field("RemBal", &R::lRemBal, &R::RemBal).Result().Rule(),
          Field("Pmt", &R::lPmt, &R::Pmt).Result()},
      .rowOrder = kTermsFirst,
      .jsonOrder = kTermsFirst,
      .optionOrder = kTermsFirst};
  return kind;
}

}  // namespace brevika
