#include "calculators/loan.h"

#include <cmath>

#include "finance/periods.h"
#include "finance/rates.h"

namespace brevika {

namespace {

const char* const kTooMany = "Too many unknowns. Please try again.";
const char* const kNone = "No unknown values. Please try again.";
const char* const kNoCover = "Payment does not cover interest. Please increase payment.";
const char* const kIOAdvance =
    "There is no interest for first payment\n\nwhen payment is made in advance.\n\n"
    "Use amortization schedule instead.\n";
const char* const kFPMax =
    "This is the maximum payment amount.\n\nTotal interest can't be calculated.\n\n"
    "Use amortization schedule instead.\n\nSee Help topic 'Fixed Principal'.\n";
const char* const kPVFixed =
    "Cannot solve for amount of loan \n\nwhen amortizing method is set to fixed principal.";
const char* const kPVIO =
    "Cannot solve for amount of loan \n\nwhen amortizing method is set to interest only.";
const char* const kRatePeriods =
    "When solving for Annual Rate,\n\npayment period and compounding period must be equal.\n\n"
    "Please Try Again";
const char* const kRateFixed =
    "Cannot solve for Rate\n\nwhen amortizing method is set to fixed principal.\n\n"
    "See Help topic 'Fixed Principal'.\n";
const char* const kTermIO =
    "The term is theoretically infinite\n\nfor interest only loans.\n\nPlease Try Again";
const char* const kRateNoConverge =
    "The annual rate could not be found for these values.\n\n"
    "Please check the amount, periods and payment.";
const char* const kRateTooHigh =
    "The annual rate for these values is above 100 %.\n\n"
    "Please check the amount, periods and payment.";
const char* const kTermTooLong =
    "The number of periods is too large to be shown.\n\nPlease increase payment.";

// The values a solve works on; the record takes them back when it ran.
struct LoanNumbers {
  double PV;
  std::int16_t NumPmts;
  float Rate;
  double Pmt, TotInt;
};

bool IsLevel(AmortMethod m) {
  return m == AmortMethod::Canadian || m == AmortMethod::Normal || m == AmortMethod::RuleOf78 ||
         m == AmortMethod::USRule;
}

Message Warn(const char* text) { return Message{text, BoxType::Warning}; }
Outcome Refuse(const char* text) { return Outcome::Refuse(Warn(text)); }

// Present value of m payments at annual rate y (percent), a payments a year.
long double PVof(long double pmt, long double y, int a, int m) {
  const long double v = 1.0L / (1.0L + y / (100.0L * a));
  if (v == 1.0L) return pmt * m;
  return pmt * v * (1.0L - std::pow(v, static_cast<long double>(m))) / (1.0L - v);
}

struct RateSolve {
  double rate = 0;
  int rounds = 0;
  bool converged = true;
  bool tooHigh = false;  // stopped on an estimate above 100 %
};

RateSolve SolveLevelRate(const LoanNumbers& r, int a, bool arrears) {
  RateSolve out;
  const long double T = arrears ? r.PV : r.PV - r.Pmt;
  const int m = arrears ? r.NumPmts : r.NumPmts - 1;
  double x = 12.5;
  for (int round = 1;; ++round) {
    out.rounds = round;
    if (round > kRateSolveMaxRounds) {
      out.converged = false;
      return out;
    }
    const long double p1 = PVof(r.Pmt, x, a, m);
    const double y = ConvertNominalRate(a, a, static_cast<float>(x + 0.1001));
    const long double p2 = PVof(r.Pmt, y, a, m);
    if (p2 - p1 == 0.0L || !std::isfinite(static_cast<double>(p2 - p1))) {
      out.converged = false;
      return out;
    }
    double next = static_cast<double>(x + (T - p1) / (p2 - p1) * 0.1L);
    next = ConvertNominalRate(a, a, static_cast<float>(next));
    next = RoundThroughText(next, 5, 12);
    if (!std::isfinite(next)) {
      out.converged = false;
      return out;
    }
    if (next == x || x > 100) {
      out.rate = x;
      out.tooHigh = x > 100;
      return out;
    }
    x = next;
  }
}

RateSolve SolveSinglePaymentRate(const LoanNumbers& r, int a) {
  RateSolve out;
  double x = RoundThroughText(12.5, 4, 12);
  for (int round = 1;; ++round) {
    out.rounds = round;
    if (round > kRateSolveMaxRounds) {
      out.converged = false;
      return out;
    }
    const long double p1 = r.Pmt / (1.0L + x / (100.0L * a));
    const long double p2 = r.Pmt / (1.0L + (x + 0.1L) / (100.0L * a));
    if (p2 - p1 == 0.0L) {
      out.converged = false;
      return out;
    }
    double next = RoundThroughText(x + (r.PV - p1) / (p2 - p1) * 0.1L, 4, 12);
    if (!std::isfinite(next)) {
      out.converged = false;
      return out;
    }
    if (next == x || x > 100) {
      out.rate = x;
      out.tooHigh = x > 100;
      return out;
    }
    x = next;
  }
}

bool Finite(const LoanNumbers& r) {
  return std::isfinite(r.PV) && std::isfinite(r.Rate) && std::isfinite(r.Pmt) &&
         std::isfinite(r.TotInt);
}

// Total interest from the record's values after a solve.
void SetTotalInterest(LoanNumbers& r) {
  r.TotInt = static_cast<double>(static_cast<long double>(r.NumPmts) * r.Pmt - r.PV);
}

// What every solve works with: the terms as numbers.
struct Terms {
  std::uint16_t a, c;
  AmortMethod method;
  bool arrears;
  long double i, N;
};

Terms TermsOf(const LoanRecord& r) {
  Terms t;
  t.a = PyrPeriodsPerYear(r.PYR.index);
  t.c = CmpPeriodsPerYear(r.CmpPYR.index);
  t.method = AmortMethodOf(r.AmortMthd.index);
  t.arrears = IsArrears(r.PmtMthd.index);
  t.i = PeriodicRate(t.a, t.c, r.Rate);
  t.N = r.NumPmts;
  return t;
}

Outcome SolvePayment(LoanNumbers& r, const Terms& t) {
  if (IsLevel(t.method)) {
    r.Pmt = t.arrears ? LevelPaymentArrears(r.NumPmts, t.a, t.c, r.PV, r.Rate)
                      : LevelPaymentAdvance(r.NumPmts, t.a, t.c, r.PV, r.Rate);
    SetTotalInterest(r);
  } else if (t.method == AmortMethod::InterestOnly) {
    if (!t.arrears) {
      r.Pmt = 0;
      r.TotInt = 0;
      return Outcome::Ok().Say(Warn(kIOAdvance));
    }
    r.Pmt = RoundToCents(r.PV * t.i);
    r.TotInt = static_cast<double>(t.N * r.Pmt);
  } else if (t.method == AmortMethod::FixedPrincipal) {
    r.Pmt = t.arrears ? RoundToCents(r.PV / t.N + r.PV * t.i) : RoundToCents(r.PV / t.N);
    r.TotInt = 0;
    return Outcome::Ok().Say(Warn(kFPMax));
  }
  return Outcome::Ok();
}

Outcome SolveAmount(LoanNumbers& r, const Terms& t) {
  Outcome out;
  const long double i = t.i, N = t.N;
  if (IsLevel(t.method)) {
    r.PV = static_cast<double>(AnnuityAmount(r.Pmt, i, N, t.arrears));
  } else if (t.method == AmortMethod::InterestOnly) {
    if (t.arrears) r.PV = static_cast<double>(r.Pmt / i);
    else out = Refuse(kPVIO);
  } else if (t.method == AmortMethod::FixedPrincipal) {
    if (t.arrears) out = Refuse(kPVFixed);
    else r.PV = static_cast<double>(N * r.Pmt);
  }
  SetTotalInterest(r);
  return out;
}

Outcome SolveTerm(LoanNumbers& r, const Terms& t) {
  const long double i = t.i;
  if (t.method == AmortMethod::InterestOnly) {
    SetTotalInterest(r);
    return Refuse(kTermIO);
  }
  long double term = -1;
  bool covers = false;
  if (IsLevel(t.method)) {
    // Interest is charged in cents: a payment that only matches one
    // period's interest to the cent repays nothing.
    if (t.arrears) {
      covers = r.Pmt > RoundToCents(r.PV * i);
      if (covers) term = std::log(1.0L / (1.0L - r.PV * i / r.Pmt)) / std::log(1.0L + i);
    } else {
      covers = r.Pmt > RoundToCents((r.PV - r.Pmt) * i);
      if (covers)
        term = std::log(1.0L / (1.0L - (r.PV - r.Pmt) * i / r.Pmt)) / std::log(1.0L + i) + 1;
    }
  } else if (t.method == AmortMethod::FixedPrincipal) {
    if (t.arrears) {
      covers = r.Pmt > RoundToCents(r.PV * i);
      if (covers) term = r.PV / (r.Pmt - r.PV * i);
    } else {
      covers = true;
      term = r.PV / static_cast<long double>(r.Pmt);
    }
  } else {
    return Outcome::Ok();  // no such method: nothing to solve
  }
  if (!std::isfinite(static_cast<double>(term))) return Outcome::Refuse(NonFiniteMessage());
  term = std::nearbyint(term);  // halves to the even neighbour
  if (!covers || term < 0) {
    r.NumPmts = 0;
    r.TotInt = 0;
    return Refuse(kNoCover);
  }
  if (term > 32767) return Refuse(kTermTooLong);
  r.NumPmts = static_cast<std::int16_t>(term);
  SetTotalInterest(r);
  return Outcome::Ok();
}

Outcome SolveRate(LoanNumbers& r, const Terms& t, int* rounds) {
  Outcome out;
  if (t.a != t.c) {
    out = Refuse(kRatePeriods);
  } else if (t.method == AmortMethod::InterestOnly) {
    r.Rate = static_cast<float>(r.Pmt * 100 / r.PV * t.a);
  } else if (t.method == AmortMethod::FixedPrincipal) {
    out = Refuse(kRateFixed);
  } else if (IsLevel(t.method)) {
    if (r.NumPmts >= 2 || t.arrears) {
      RateSolve s =
          r.NumPmts >= 2 ? SolveLevelRate(r, t.a, t.arrears) : SolveSinglePaymentRate(r, t.a);
      if (rounds) *rounds = s.rounds;
      if (!s.converged || s.tooHigh) {
        // An estimate past 100 % is where the iteration gave up, not an
        // answer: refuse rather than show it as the rate.
        out = Refuse(s.tooHigh ? kRateTooHigh : kRateNoConverge);
      } else {
        r.Rate = static_cast<float>(s.rate);
      }
    } else {
      r.Rate = 0;
    }
  }
  SetTotalInterest(r);
  return out;
}

}  // namespace

LoanRecord NewLoanRecord() {
  LoanRecord r;
  r.PYR = ListEntry::Of(PaymentPeriodItems(), LoanDefaults.pyrIndex());
  r.CmpPYR = ListEntry::Of(CompoundingPeriodItems(), LoanDefaults.compoundingPeriod);
  r.PmtMthd = ListEntry::Of(PaymentMethodItems(), LoanDefaults.paymentMethod);
  r.AmortMthd = ListEntry::Of(AmortizingMethodItems(), LoanDefaults.amortizingMethod);
  return r;
}

void ResetLoan(LoanRecord& r) {
  r.PV = 0;
  r.NumPmts = 0;
  r.Rate = 0;
  r.Pmt = 0;
  r.PYR.Select(LoanDefaults.pyrIndex());
  r.CmpPYR.Select(LoanDefaults.compoundingPeriod);
  r.PmtMthd.Select(LoanDefaults.paymentMethod);
  r.AmortMthd.Select(LoanDefaults.amortizingMethod);
}

Outcome CalcLoan(LoanRecord& rec, int* rateRounds) {
  if (rateRounds) *rateRounds = 0;
  ApplyCanadianPeriods(rec.AmortMthd.index, rec.PYR, rec.CmpPYR);
  const int unknowns = (rec.PV == 0) + (rec.NumPmts == 0) + (rec.Rate == 0) + (rec.Pmt == 0);
  if (unknowns > 1) return Refuse(kTooMany);
  if (unknowns == 0) return Refuse(kNone);

  LoanNumbers r{rec.PV, rec.NumPmts, rec.Rate, rec.Pmt, rec.TotInt};
  const Terms t = TermsOf(rec);
  Outcome out;
  if (r.Pmt == 0) out = SolvePayment(r, t);
  else if (r.PV == 0) out = SolveAmount(r, t);
  else if (r.NumPmts == 0) out = SolveTerm(r, t);
  else out = SolveRate(r, t, rateRounds);

  if (!Finite(r)) return Outcome::Refuse(NonFiniteMessage());
  rec.TotInt = r.TotInt;  // the one value a refused solve sets too
  if (!out.refused) {
    rec.PV = r.PV;
    rec.NumPmts = r.NumPmts;
    rec.Rate = r.Rate;
    rec.Pmt = r.Pmt;
  }
  return out;
}

const KindDescription<LoanRecord>& LoanKind() {
  using R = LoanRecord;
  static const KindDescription<R> kind{
      .info = {.kind = CalcKind::Loan,
               .title = "Loan Calculator",
               .menu = {"mLoan", "&Loan...", "F2"},
               .help = {.window = 125},
               .command = {"loan", "solve a level-payment loan for the value left at 0",
                           "A value left out is 0, the unknown."}},
      .make = [](const KindContext&) { return NewLoanRecord(); },
      .reset = [](R& r, const KindContext&) { ResetLoan(r); },
      .calc = [](R& r, const KindContext&) { return CalcLoan(r); },
      .fields = {Field("PV", &R::lPV, &R::PV, 1).Option("--amount", "amount of the loan"),
                 Field("NumPmts", &R::lNumPmts, &R::NumPmts, 97).Option("--periods", "total number of payments"),
                 Field("Rate", &R::lRate, &R::Rate, 9).Option("--rate", "annual rate in percent"),
                 Field("Pmt", &R::lPmt, &R::Pmt, 11).Option("--payment", "periodic payment"),
                 Field("PYR", &R::lPYR, &R::PYR, 16).Option("--payment-period").Json("PaymentPeriod"),
                 Field("CmpPYR", &R::lCmpPYR, &R::CmpPYR, 13).Option("--compounding").Json("Compounding"),
                 Field("PmtMthd", &R::lPmtMthd, &R::PmtMthd, 25).Option("--payment-method").Json("PaymentMethod"),
                 Field("AmortMthd", &R::lAmortMthd, &R::AmortMthd, 14).Option("--amortizing").Json("Amortizing"),
                 // A rule sets the result apart from the terms.
                 Field("TotInt", &R::lTotInt, &R::TotInt).Result().Rule()},
      .hint = &R::lHint,
      .jsonOrder = {"PV", "NumPmts", "Rate", "Pmt", "TotInt", "PYR", "CmpPYR", "PmtMthd", "AmortMthd"}};
  return kind;
}

}  // namespace brevika
