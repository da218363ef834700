#include "calculators/accelerated.h"

#include <cmath>

#include "finance/periods.h"
#include "finance/rates.h"
#include "finance/real48.h"

namespace brevika {

namespace {

const char* const kNoSavings =
    "Acceleration savings can't be calculated\r\rwhen Rule of 78s or Fixed Principal selected."
    "\r\rPlease Try Again\r";
const char* const kNoSavingsIOAdvance =
    "Acceleration savings can't be calculated\r\rfor Interest Only paid in Advance."
    "\r\rPlease Try Again\r";
const char* const kPeriods =
    "Total Periods must be greater\r\rthan Increase After Period #.\r\rPlease Try Again";
const char* const kExtra =
    "Amount of Loan must be\r\rgreater than the Extra Payment.\r\rPlease Try Again";
const char* const kNoZeros = "No zero values allowed.\r\r\rPlease Try Again";

Outcome Refuse(const char* text) { return Outcome::Refuse(Message{text, BoxType::Warning}); }

bool IsLevel(AmortMethod m) {
  return m == AmortMethod::Canadian || m == AmortMethod::Normal || m == AmortMethod::USRule;
}

}  // namespace

AccelRecord NewAccelRecord() {
  AccelRecord r;
  r.AmortMthd = ListEntry::Of(AmortizingMethodItems(), LoanDefaults.amortizingMethod);
  r.PYR = ListEntry::Of(PaymentPeriodItems(), LoanDefaults.pyrIndex());
  r.CmpPYR = ListEntry::Of(CompoundingPeriodItems(), LoanDefaults.compoundingPeriod);
  r.PmtMthd = ListEntry::Of(PaymentMethodItems(), LoanDefaults.paymentMethod);
  return r;
}

Outcome CalcAccel(AccelRecord& rec) {
  ApplyCanadianPeriods(rec.AmortMthd.index, rec.PYR, rec.CmpPYR);
  const AmortMethod method = AmortMethodOf(rec.AmortMthd.index);
  const bool arrears = IsArrears(rec.PmtMthd.index);
  auto noSavings = [&rec](const char* text) {
    rec.IntSaved = 0;
    rec.PerOff = 0;
    return Refuse(text);
  };
  if (!IsLevel(method) && method != AmortMethod::InterestOnly) return noSavings(kNoSavings);
  if (!(rec.PV > 0 && rec.NumPmts > 0 && rec.Rate > 0 && rec.IncPer > 0 && rec.ExtraPd > 0 &&
        rec.NumPmts > rec.IncPer && rec.PV > rec.ExtraPd)) {
    if (rec.NumPmts <= rec.IncPer) return Refuse(kPeriods);
    if (rec.PV <= rec.ExtraPd) return Refuse(kExtra);
    return Refuse(kNoZeros);
  }
  // Interest only in advance has no plain payment to accelerate: its walk
  // would report minus the amount as interest saved.
  if (method == AmortMethod::InterestOnly && !arrears) return noSavings(kNoSavingsIOAdvance);

  // Every running value is a six-byte real: each step is worked out wide
  // and stored back at that precision.
  const std::uint16_t a = PyrPeriodsPerYear(rec.PYR.index);
  const std::uint16_t c = CmpPeriodsPerYear(rec.CmpPYR.index);
  const int n = rec.NumPmts;
  double P = 0, T = 0;
  if (IsLevel(method)) {
    P = RoundToReal48(arrears ? LevelPaymentArrears(rec.NumPmts, a, c, rec.PV, rec.Rate)
                              : LevelPaymentAdvance(rec.NumPmts, a, c, rec.PV, rec.Rate));
  } else {  // interest only, in arrears
    P = RoundToReal48(RoundToCents(rec.PV * PeriodicRate(a, c, rec.Rate)));
    T = RoundToReal48(static_cast<long double>(P) * n);
  }
  const double i = RoundToReal48(PeriodicRate(a, c, rec.Rate));
  double B = RoundToReal48(rec.PV);
  if (T == 0) T = RoundToReal48(static_cast<long double>(n) * P - rec.PV);

  double I = 0, A = 0;
  int perOff = 0;
  auto pay = [&] {
    long double next = static_cast<long double>(B) + I - P;
    if (perOff > rec.IncPer) next -= rec.ExtraPd;
    B = RoundToReal48(next);
  };
  auto charge = [&] {
    I = RoundToReal48(RoundToCents(static_cast<long double>(B) * i));
    A = RoundToReal48(static_cast<long double>(A) + I);
  };
  if (arrears) {
    do {
      ++perOff;
      charge();
      pay();
    } while (B > 0 && perOff != n);
  } else {
    // The first payment falls on the day the loan starts: no interest yet.
    do {
      ++perOff;
      pay();
      if (B > 0) charge();
    } while (B > 0 && perOff < n);
  }
  const double saved = static_cast<double>(static_cast<long double>(T) - A);
  if (!std::isfinite(P) || !std::isfinite(saved)) return Outcome::Refuse(NonFiniteMessage());
  rec.PerOff = static_cast<std::int16_t>(perOff);
  rec.IntSaved = saved;
  return Outcome::Ok();
}

const KindDescription<AccelRecord>& AccelKind() {
  using R = AccelRecord;
  static const KindDescription<R> kind{
      .info = {.kind = CalcKind::Accelerated,
               .title = "Accelerated Payment Calculator",
               .menu = {"AcceleratedPayment1", "&Accelerated Payment...", "F5"},
               .help = {.window = 32},
               .command = {"accelerated", "payments and interest saved with an extra amount"}},
      .make = [](const KindContext&) { return NewAccelRecord(); },
      // Reset behaves like Undo: the record goes back into the controls.
      .reset = [](R& r, const KindContext&) { ResetAccel(r); },
      .calc = [](R& r, const KindContext&) { return CalcAccel(r); },
      .fields = {
          Field("PV", &R::lPV, &R::PV, 1).Option("--amount", "amount of the loan", kRequired),
          Field("NumPmts", &R::lNumPmts, &R::NumPmts, 97).Option("--periods", "total number of payments", kRequired),
          Field("Rate", &R::lRate, &R::Rate, 9).Option("--rate", "annual rate in percent", kRequired),
          Field("IncPer", &R::lIncPer, &R::IncPer, 56)
              .Option("--increase-after", "the extra amount is paid after this period", kRequired),
          Field("ExtraPd", &R::lExtraPd, &R::ExtraPd, 58)
              .Option("--extra", "extra amount paid with each payment", kRequired),
          Field("PYR", &R::lPYR, &R::PYR, 16).Option("--payment-period"),
          Field("CmpPYR", &R::lCmpPYR, &R::CmpPYR, 13).Option("--compounding"),
          Field("PmtMthd", &R::lPmtMthd, &R::PmtMthd, 25).Option("--payment-method"),
          Field("AmortMthd", &R::lAmortMthd, &R::AmortMthd, 14).Option("--amortizing"),
          // The payments to pay off are a count, shown like the results.
          Field("PerOff", &R::lPerOff, &R::PerOff).Result().Rule(),
          Field("IntSaved", &R::lIntSaved, &R::IntSaved).Result()}};
  return kind;
}

}  // namespace brevika
