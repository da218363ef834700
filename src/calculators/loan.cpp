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

bool IsLevel(int m) { return m == kCanadian || m == kNormal || m == kRuleOf78 || m == kUSRule; }

Message Warn(const char* text) { return Message{text, BoxType::Warning}; }

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

RateSolve SolveLevelRate(const LoanRecord& r, int a, bool arrears) {
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

RateSolve SolveSinglePaymentRate(const LoanRecord& r, int a) {
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

bool Finite(const LoanRecord& r) {
  return std::isfinite(r.PV) && std::isfinite(r.Rate) && std::isfinite(r.Pmt) &&
         std::isfinite(r.TotInt);
}

// Total interest from the record's values after a solve.
void SetTotalInterest(LoanRecord& r) { r.TotInt = r.NumPmts * r.Pmt - r.PV; }

}  // namespace

LoanRecord NewLoanRecord() {
  LoanRecord r;
  r.captions = {"&Amount of Loan?:",     "&Total Periods? (#):", "Annual &Rate? (%):",
                "Periodic Payment:",     "Payme&nt Period?:",    "Compounding Perio&d?:",
                "Payment &Method?:",     "Amorti&zing Method?:", "Total Interest:",
                "Enter a zero '0' for unknown value."};
  r.PYR = ListEntry::Of(PaymentPeriodItems(), LoanDefaults.paymentPeriod - 1);
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
  r.PYR.Select(LoanDefaults.paymentPeriod - 1);
  r.CmpPYR.Select(LoanDefaults.compoundingPeriod);
  r.PmtMthd.Select(LoanDefaults.paymentMethod);
  r.AmortMthd.Select(LoanDefaults.amortizingMethod);
}

LoanCalcResult CalcLoan(LoanRecord& rec) {
  LoanCalcResult result;
  if (rec.AmortMthd.index == kCanadian) {
    rec.PYR.Select(LoanDefaults.canadianPYR - 1);
    rec.CmpPYR.Select(LoanDefaults.canadianCmpPYR);
  }
  const int unknowns = (rec.PV == 0) + (rec.NumPmts == 0) + (rec.Rate == 0) + (rec.Pmt == 0);
  if (unknowns > 1) {
    result.message = Warn(kTooMany);
    return result;
  }
  if (unknowns == 0) {
    result.message = Warn(kNone);
    return result;
  }

  // Solve in place; the numbers are put back when a result is not finite.
  LoanRecord& r = rec;
  const LoanRecord::Numbers before = r.numbers();
  const std::uint16_t a = PyrPeriodsPerYear(r.PYR.index);
  const std::uint16_t c = CmpPeriodsPerYear(r.CmpPYR.index);
  const int method = r.AmortMthd.index;
  const bool arrears = r.PmtMthd.index == kArrears;
  const long double i = PeriodicRate(a, c, r.Rate);
  const long double N = r.NumPmts;
  std::optional<Message> msg;

  if (r.Pmt == 0) {
    if (IsLevel(method)) {
      r.Pmt = arrears ? LevelPaymentArrears(r.NumPmts, a, c, r.PV, r.Rate)
                      : LevelPaymentAdvance(r.NumPmts, a, c, r.PV, r.Rate);
      SetTotalInterest(r);
    } else if (method == kInterestOnly) {
      if (arrears) {
        r.Pmt = RoundToCents(r.PV * i);
        r.TotInt = r.NumPmts * r.Pmt;
      } else {
        r.Pmt = 0;
        r.TotInt = 0;
        msg = Warn(kIOAdvance);
      }
    } else if (method == kFixedPrincipal) {
      r.Pmt = arrears ? RoundToCents(r.PV / N + r.PV * i) : RoundToCents(r.PV / N);
      r.TotInt = 0;
      msg = Warn(kFPMax);
    }
  } else if (r.PV == 0) {
    if (IsLevel(method)) {
      r.PV = static_cast<double>(arrears ? r.Pmt * (1.0L - std::pow(1.0L + i, -N)) / i
                                         : r.Pmt * (1.0L + (1.0L - std::pow(1.0L + i, 1.0L - N)) / i));
    } else if (method == kInterestOnly) {
      if (arrears) r.PV = static_cast<double>(r.Pmt / i);
      else msg = Warn(kPVIO);
    } else if (method == kFixedPrincipal) {
      if (arrears) msg = Warn(kPVFixed);
      else r.PV = static_cast<double>(N * r.Pmt);
    }
    SetTotalInterest(r);
  } else if (r.NumPmts == 0) {
    long double term = -1;
    bool covers = false;
    if (IsLevel(method)) {
      // Interest is charged in cents: a payment that only matches one
      // period's interest to the cent repays nothing.
      if (arrears) {
        covers = r.Pmt > RoundToCents(r.PV * i);
        if (covers) term = std::log(1.0L / (1.0L - r.PV * i / r.Pmt)) / std::log(1.0L + i);
      } else {
        covers = r.Pmt > RoundToCents((r.PV - r.Pmt) * i);
        if (covers)
          term = std::log(1.0L / (1.0L - (r.PV - r.Pmt) * i / r.Pmt)) / std::log(1.0L + i) + 1;
      }
    } else if (method == kFixedPrincipal) {
      if (arrears) {
        covers = r.Pmt > RoundToCents(r.PV * i);
        if (covers) term = r.PV / (r.Pmt - r.PV * i);
      } else {
        covers = true;
        term = r.PV / static_cast<long double>(r.Pmt);
      }
    }
    if (method == kInterestOnly) {
      msg = Warn(kTermIO);
      SetTotalInterest(r);
    } else if (method >= kCanadian && method <= kUSRule) {
      if (!std::isfinite(static_cast<double>(term))) {
        result.message = NonFiniteMessage();
        return result;
      }
      term = std::nearbyint(term);  // halves to the even neighbour
      if (!covers || term < 0) {
        r.NumPmts = 0;
        r.TotInt = 0;
        msg = Warn(kNoCover);
      } else if (term > 32767) {
        result.message = Warn(kTermTooLong);
        return result;
      } else {
        r.NumPmts = static_cast<std::int16_t>(term);
        SetTotalInterest(r);
      }
    }
  } else {  // Rate unknown
    if (a != c) {
      msg = Warn(kRatePeriods);
    } else if (method == kInterestOnly) {
      r.Rate = static_cast<float>(r.Pmt * 100 / r.PV * a);
    } else if (method == kFixedPrincipal) {
      msg = Warn(kRateFixed);
    } else if (IsLevel(method)) {
      if (r.NumPmts >= 2 || arrears) {
        RateSolve s = r.NumPmts >= 2 ? SolveLevelRate(r, a, arrears) : SolveSinglePaymentRate(r, a);
        result.rateRounds = s.rounds;
        if (!s.converged || s.tooHigh) {
          // An estimate past 100 % is where the iteration gave up, not an
          // answer: refuse rather than show it as the rate.
          result.message = Warn(s.tooHigh ? kRateTooHigh : kRateNoConverge);
          return result;
        }
        r.Rate = static_cast<float>(s.rate);
      } else {
        r.Rate = 0;
      }
    }
    SetTotalInterest(r);
  }

  if (!Finite(r)) {
    r.setNumbers(before);
    result.message = NonFiniteMessage();
    return result;
  }
  result.message = msg;
  return result;
}

std::vector<CalcRow> LoanRows(const LoanRecord& r) {
  return {
      {RowKind::Money, r.captions[kCapPV], r.PV},
      {RowKind::Count, r.captions[kCapNumPmts], 0, r.NumPmts},
      {RowKind::Rate, r.captions[kCapRate], r.Rate},
      {RowKind::Money, r.captions[kCapPmt], r.Pmt},
      {RowKind::Choice, r.captions[kCapPYR], 0, 0, r.PYR.SelectedText()},
      {RowKind::Choice, r.captions[kCapCmpPYR], 0, 0, r.CmpPYR.SelectedText()},
      {RowKind::Choice, r.captions[kCapPmtMthd], 0, 0, r.PmtMthd.SelectedText()},
      {RowKind::Choice, r.captions[kCapAmortMthd], 0, 0, r.AmortMthd.SelectedText()},
      {RowKind::Money, "Total Interest:", r.TotInt},
  };
}

}  // namespace brevika
