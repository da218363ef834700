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

std::vector<CalcRow> AccelRows(const AccelRecord& r) {
  return {
      {RowKind::Money, r.lPV, r.PV},
      {RowKind::Count, r.lNumPmts, 0, r.NumPmts},
      {RowKind::Rate, r.lRate, r.Rate},
      {RowKind::Count, r.lIncPer, 0, r.IncPer},
      {RowKind::Money, r.lExtraPd, r.ExtraPd},
      {RowKind::Choice, r.lPYR, 0, 0, r.PYR.SelectedText()},
      {RowKind::Choice, r.lCmpPYR, 0, 0, r.CmpPYR.SelectedText()},
      {RowKind::Choice, r.lPmtMthd, 0, 0, r.PmtMthd.SelectedText()},
      {RowKind::Choice, r.lAmortMthd, 0, 0, r.AmortMthd.SelectedText()},
      {RowKind::Count, r.lPerOff, 0, r.PerOff},
      {RowKind::Money, r.lIntSaved, r.IntSaved},
  };
}

}  // namespace brevika
