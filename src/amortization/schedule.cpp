#include "amortization/schedule.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>

#include "finance/items.h"
#include "finance/rates.h"

namespace brevika {

namespace {

const char kFirstPaymentText[] =
    "First Payment Date must be\n\nequal to or after Origination Date.\n\n"
    "Resetting First Payment Date...\n";
const char kZeroText[] = "No zero values allowed.\r\n\nEnter Amount, Initial Period or Rate\n\n";
const char kYearLimitText[] =
    "Loan can't go beyond 2059\n\nReduce number of initial periods or \n\n"
    "increase frequency of payment period.\n\n";

// Amounts are whole cents, so a balance under half a cent either way is a
// floating-point residue of zero, not money still owed or overpaid.
constexpr double kHalfCent = 0.005;
bool StillOwed(double balance) { return balance >= kHalfCent; }

std::int16_t ClampDays(long long days) {
  return static_cast<std::int16_t>(std::clamp<long long>(days, std::numeric_limits<std::int16_t>::min(),
                                                         std::numeric_limits<std::int16_t>::max()));
}

// Writes the label of payment k into a 9-byte field without allocating.
void WriteLabel(char (&out)[9], int k, int paymentsPerYear) {
  std::memset(out, 0, sizeof out);
  if (k == 0) {
    std::memcpy(out, "Init/01", 7);
    return;
  }
  const int year = (k > 0 && paymentsPerYear > 0) ? (k + paymentsPerYear - 1) / paymentsPerYear : 0;
  if (k < 0 || k > 9999 || year > 999) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%4d/%02d", k, year);
    std::memcpy(out, buf, std::min<std::size_t>(std::strlen(buf), 8));
    return;
  }
  char digits[4] = {' ', ' ', ' ', ' '};
  for (int pos = 3, v = k; v > 0 && pos >= 0; --pos, v /= 10) digits[pos] = static_cast<char>('0' + v % 10);
  std::memcpy(out, digits, 4);
  out[4] = '/';
  int len = 5;
  if (year >= 100) out[len++] = static_cast<char>('0' + year / 100);
  out[len++] = static_cast<char>('0' + year / 10 % 10);
  out[len++] = static_cast<char>('0' + year % 10);
}

YearTab TabOf(int year) {
  const int yy = ((year % 100) + 100) % 100;
  const char text[3] = {static_cast<char>('0' + yy / 10), static_cast<char>('0' + yy % 10), '\0'};
  return YearTab{text, year};  // two characters: no allocation
}

// Last-payment adjustment: the row settles the balance exactly.
void SettleLastRow(ScheduleRow& row) {
  const double r = std::fabs(row.balance);
  if (row.balance >= 0) {
    row.principal += r;
    row.payment += r;
  } else {
    if (row.principal > r) {
      row.principal -= r;
    } else {
      row.interest -= r - row.principal;
      row.principal = 0;
    }
    row.payment -= r;
  }
  row.balance = 0;
}

void RunTotals(ScheduleRow& row, const ScheduleRow& prev) {
  row.runPayment = prev.runPayment + row.payment;
  row.runPrincipal = prev.runPrincipal + row.principal;
  row.runInterest = prev.runInterest + row.interest;
}

bool Finite(const ScheduleRow& row) {
  return std::isfinite(row.payment) && std::isfinite(row.principal) &&
         std::isfinite(row.interest) && std::isfinite(row.balance) &&
         std::isfinite(row.runPayment) && std::isfinite(row.runPrincipal) &&
         std::isfinite(row.runInterest);
}

}  // namespace

std::string PeriodLabel(int k, int paymentsPerYear) {
  char out[9];
  WriteLabel(out, k, paymentsPerYear);
  return out;
}

bool SameLoanTerms(const ScheduleInputs& a, const ScheduleInputs& b) {
  return a.PV == b.PV && a.NumPmts == b.NumPmts && a.Rate == b.Rate && a.Points == b.Points &&
         a.OrgDate == b.OrgDate && a.FrstPmtDate == b.FrstPmtDate && a.PYR == b.PYR &&
         a.CmpPYR == b.CmpPYR && a.AmortMthd == b.AmortMthd && a.RateBasis == b.RateBasis &&
         a.PointsPaidMthd == b.PointsPaidMthd;
}

Schedule::Schedule(int maxPeriods) {
  int want = std::clamp(maxPeriods, 1, static_cast<int>(std::numeric_limits<std::int16_t>::max()));
  maxPeriods_ = 0;
  // Every table and tab list is taken here once; a shortage halves the
  // maximum until it fits and says so.
  for (int m = want; m >= 1; m /= 2) {
    const std::size_t rows = static_cast<std::size_t>(m) + 1;
    try {
      rows_.assign(rows, ScheduleRow{});
      work_.assign(rows, ScheduleRow{});
      base_.assign(rows, ScheduleRow{});
      plan_.assign(rows + 1, ScheduleRowPlan{});
      marks_.assign(rows, 0);
      workMarks_.assign(rows, 0);
      tabs_.reserve(rows + 1);
      workTabs_.reserve(rows + 1);
      baseTabs_.reserve(rows + 1);
      maxPeriods_ = m;
      break;
    } catch (const std::bad_alloc&) {
      rows_ = {};
      work_ = {};
      base_ = {};
      plan_ = {};
      marks_ = {};
      workMarks_ = {};
      tabs_ = {};
      workTabs_ = {};
      baseTabs_ = {};
    }
  }
  if (maxPeriods_ < want) {
    memoryNotice_ = Message{"Not enough memory for maximum periods\n\nMaximum number of periods set to " +
                                std::to_string(maxPeriods_),
                            BoxType::Information};
  }
}

Outcome Schedule::Calculate(ScheduleInputs& in, const ProgressFn& progress) {
  // A first payment before origination is moved to origination, and the
  // remark comes before any refusal.
  Outcome out;
  if (in.FrstPmtDate < in.OrgDate) {
    in.FrstPmtDate = in.OrgDate;
    out.Say(Message{kFirstPaymentText, BoxType::Information});
  }
  if (std::optional<Message> refusal = Build(in, progress)) {
    out.refused = true;
    out.Say(*refusal);
  }
  return out;
}

namespace {

const char kEventsRuleOf78Text[] =
    "Events can't be applied to a Rule of 78's loan:\n\nits interest is computed in advance.\n\n";

Message Info(std::string text) { return Message{std::move(text), BoxType::Information}; }

Message KeptPaymentRefusal(int k) {
  return Info("The kept payment does not cover the interest\n\nfrom payment " + std::to_string(k) +
              ".\n\nLet the payment be recomputed instead.\n\n");
}

Message HolidayAtEndRefusal(int from, int to, int n, bool paymentCanStay) {
  return Info("The payment holiday of payments " + std::to_string(from) + " to " + std::to_string(to) +
              "\n\nleaves no payment up to the loan's last payment (" + std::to_string(n) + ").\n\n" +
              (paymentCanStay ? "End it earlier or keep the payment to move the term.\n\n"
                              : "End it before the last payment.\n\n"));
}

Message RateAfterEndRefusal(int k, int n) {
  return Info("The rate change at payment " + std::to_string(k) + " comes after\n\nthe loan's last payment (" +
              std::to_string(n) + ").\n\nKeep the payment to change the rate there.\n\n");
}

Message TooLongRefusal(int maxPeriods) {
  return Info("The events make the loan longer than " + std::to_string(maxPeriods) +
              " payments.\n\nLet the payment be recomputed or pay more.\n\n");
}

// What depends on the annual rate; a rate change swaps in another set.
struct RateSet {
  float rate = 0;
  long double i = 0, daily = 0;
  float rowPeriodic = 0, rowDaily = 0;
};

// The inputs resolved once: every row uses the same choices.
struct Terms {
  int n = 0;
  std::uint16_t P = 12, c = 12;
  int stdDays = 30;
  int basisDays = 360;
  bool exact = false;
  RateSet start;  // the loan's rate
  double PV = 0, fixedPrincipal = 0, points = 0;
  int pointsHow = kAtOrigination;
  bool interestOnly = false, fixedPrin = false, ruleOf78 = false, usRule = false;
  Date org = 0, first = 0;

  bool Level() const { return !interestOnly && !fixedPrin; }
  RateSet RatesOf(float rate) const {
    RateSet r;
    r.rate = rate;
    r.i = PeriodicRate(P, c, rate);
    r.daily = static_cast<long double>(rate) / basisDays * 0.01L;
    r.rowPeriodic = static_cast<float>(r.i);
    r.rowDaily = static_cast<float>(r.daily);
    return r;
  }
  // Interest of one period on a balance: a share of the year ("Ordinary")
  // or the actual days at 360 or 365 days a year.
  double InterestOn(double balance, long double fraction, int days, const RateSet& r) const {
    return exact ? RoundToCents(balance * r.daily * days) : RoundToCents(balance * r.i * fraction);
  }
  void StartRow(ScheduleRow& row, Date date, int k, const RateSet& r) const {
    row.date = date;
    row.pmtNo = static_cast<std::int16_t>(k);
    WriteLabel(row.periodLabel, k, P);
    row.payment = row.principal = row.interest = row.balance = 0;
    row.days = 0;
    row.annualRate = r.rate;
    row.periodicRate = r.rowPeriodic;
    row.dailyRate = r.rowDaily;
    row.runPayment = row.runPrincipal = row.runInterest = 0;
  }
};

// The refusals that need no arithmetic, in their order.
std::optional<Message> CheckInputs(const ScheduleInputs& in, int maxPeriods) {
  if (in.PV == 0 || in.NumPmts == 0 || in.Rate == 0) return Message{kZeroText, BoxType::Information};
  if (!std::isfinite(in.PV) || !std::isfinite(in.Rate) || !std::isfinite(in.Points))
    return NonFiniteMessage();
  // The entry fields take no sign; a negative amount or rate is as unusable as zero.
  if (in.PV < 0 || in.Rate < 0) return Message{kZeroText, BoxType::Information};
  if (in.NumPmts > maxPeriods) {
    return Message{"Initial Periods can't be more than " + std::to_string(maxPeriods) +
                       "\n\nReduce number of initial periods.\n\n",
                   BoxType::Information};
  }
  return std::nullopt;
}

// Resolves the terms; list indexes outside their lists fall back to the
// defaults. Refuses the 2059 limit and values that are not finite.
std::optional<Message> Resolve(const ScheduleInputs& in, Terms& t) {
  const int pyr = (in.PYR >= 0 && in.PYR <= 6) ? in.PYR : LoanDefaults.pyrIndex();
  const int cmp = (in.CmpPYR >= 0 && in.CmpPYR <= 8) ? in.CmpPYR : LoanDefaults.compoundingPeriod;
  const AmortMethod method = AmortMethodOf(
      (in.AmortMthd >= 0 && in.AmortMthd <= 5) ? in.AmortMthd : LoanDefaults.amortizingMethod);
  const int basis = (in.RateBasis >= 0 && in.RateBasis <= 2) ? in.RateBasis : LoanDefaults.interestBasis;
  t.pointsHow =
      (in.PointsPaidMthd >= 0 && in.PointsPaidMthd <= 2) ? in.PointsPaidMthd : LoanDefaults.pointsPaid;
  t.n = in.NumPmts;
  t.P = PyrPeriodsPerYear(pyr);
  t.org = in.OrgDate;
  t.first = in.FrstPmtDate;
  if (t.n > static_cast<int>(t.P) * (2058 - YearOf(t.first)))
    return Message{kYearLimitText, BoxType::Information};

  t.c = CmpPeriodsPerYear(cmp);
  t.stdDays = StdDays(t.P);
  t.exact = basis == kExact360 || basis == kExact365;
  t.basisDays = basis == kExact365 ? 365 : 360;
  t.start = t.RatesOf(in.Rate);
  t.PV = in.PV;
  t.fixedPrincipal = RoundToCents(in.PV / t.n);
  t.points = in.Points > 0 ? RoundToCents(in.PV * static_cast<long double>(in.Points) * 0.01L) : 0.0;
  if (!std::isfinite(t.start.i) || !std::isfinite(t.start.rowPeriodic) ||
      !std::isfinite(t.start.rowDaily) || !std::isfinite(t.fixedPrincipal) || !std::isfinite(t.points))
    return NonFiniteMessage();
  t.interestOnly = method == AmortMethod::InterestOnly;
  t.fixedPrin = method == AmortMethod::FixedPrincipal;
  t.ruleOf78 = method == AmortMethod::RuleOf78;
  t.usRule = method == AmortMethod::USRule;
  return std::nullopt;
}

// What the first two rows decide for the rest.
struct Start {
  FirstPeriodKind kind = FirstPeriodKind::Regular;
  int oddDays = 0;
  double fraction = 1.0;
  double totalInterest = 0;
  int year = 0;
  double row1Points = 0;  // points inside payment 1's interest
};

// Row 0 (the interim period before the first payment) and payment 1, whose
// interest runs at `r1Rates` and whose level payment is computed at
// `levelRate` (both the loan's rate unless a rate change falls on payment 1).
void InterimStart(const Terms& t, ScheduleRow& r0, ScheduleRow& r1, Start& st,
                  std::vector<YearTab>& tabs, const RateSet& r1Rates, float levelRate) {
  const Date back = StepPeriodBack(t.first, t.P);
  if (back < t.org) {
    st.kind = FirstPeriodKind::Short;
    st.oddDays = t.first - t.org;
  } else if (back > t.org) {
    st.kind = FirstPeriodKind::Long;
    st.oddDays = back - t.org;
  }
  st.fraction = static_cast<double>(st.oddDays) / t.stdDays;
  if (t.pointsHow == kPointsAmortized && !t.usRule) r0.balance += t.points;
  r0.interest =
      st.kind == FirstPeriodKind::Short ? 0.0 : t.InterestOn(r0.balance, st.fraction, st.oddDays, t.start);
  if (t.pointsHow == kAtOrigination) r0.interest += t.points;
  // "U.S. Rule": amortized points join the balance after the interim interest.
  if (t.pointsHow == kPointsAmortized && t.usRule) r0.balance += t.points;
  r0.payment = r0.interest;
  r0.runPayment = r0.payment;
  r0.runPrincipal = r0.principal;
  r0.runInterest = r0.interest;

  t.StartRow(r1, t.first, 1, r1Rates);
  int days = t.exact ? t.first - t.org : t.stdDays;
  if (st.kind != FirstPeriodKind::Short) {
    // Payment 1 covers exactly one regular period; a short period's
    // interest is all carried by payment 1.
    st.fraction = 1.0;
    if (t.exact) days -= st.oddDays;
  }
  r1.days = ClampDays(days);
  if (!t.ruleOf78) r1.interest = t.InterestOn(r0.balance, st.fraction, days, r1Rates);
  if (t.interestOnly) {
    r1.payment = r1.interest;
  } else if (t.fixedPrin) {
    r1.payment = t.fixedPrincipal + r1.interest;
  } else {
    r1.payment = LevelPaymentArrears(static_cast<std::int16_t>(t.n), t.P, t.c, r0.balance, levelRate);
  }
  // Total interest of the level payment alone: points paid with payment 1
  // are not interest spread over the loan.
  const int n = t.n;
  st.totalInterest = n * r1.payment - r0.balance;
  if (t.ruleOf78) r1.interest = RoundToCents(n * st.totalInterest / (n * (n + 1) * 0.5));
  if (t.pointsHow == kWithFirstPayment) {
    r1.interest += t.points;
    r1.payment += t.points;
    st.row1Points = t.points;
  }
  r1.principal = r1.payment - r1.interest;
  r1.balance = r0.balance - r1.principal;
  RunTotals(r1, r0);
  // Rows 2 onwards copy the level payment; the points go back at the end.
  if (t.pointsHow == kWithFirstPayment) r1.payment -= t.points;
  const int y1 = YearOf(t.first);
  if (y1 != st.year) {
    st.year = y1;
    tabs.push_back(TabOf(st.year));
  }
}

// First payment at origination: the payment is due in advance.
void AdvanceStart(const Terms& t, ScheduleRow& r0, ScheduleRow& r1, Start& st, const RateSet& r1Rates,
                  float levelRate) {
  t.StartRow(r1, t.first, 1, r1Rates);
  r1.days = static_cast<std::int16_t>(t.exact ? 0 : t.stdDays);
  if (t.interestOnly) {
    r1.payment = 0;
  } else if (t.fixedPrin) {
    r1.payment = t.fixedPrincipal;
  } else {
    r1.payment = LevelPaymentAdvance(static_cast<std::int16_t>(t.n), t.P, t.c, t.PV, levelRate);
  }
  st.totalInterest = t.n * r1.payment - r0.balance;
  r1.principal = r1.payment - r1.interest;
  if (t.pointsHow == kPointsAmortized) {
    r0.balance += t.points;
  } else {
    r1.interest += t.points;
    r1.payment += t.points;
    st.row1Points = t.points;
  }
  r1.balance = r0.balance - r1.principal;
  RunTotals(r1, r0);
  if (t.pointsHow == kAtOrigination || t.pointsHow == kWithFirstPayment) r1.payment -= t.points;
}

// Where the events leave the payment while the rows are built.
struct Walk {
  RateSet rates;           // the rate in force
  double level = 0;        // level payment, without extras and points
  double fixedPrin = 0;    // "Fixed Principal": the principal part
  bool open = false;       // the term moves: payment n settles nothing
  bool markNext = false;   // the payment was recomputed for the next row
  // Decisions taken with the next paid payment: a holiday's end, and rate
  // changes (which wait there when they fall in a holiday).
  bool holiday = false, holidayKeep = false;
  bool rateRecompute = false, rateKeep = false;
  int rateAt = 0;
};

// Payment k, the first of a holiday: a holiday that keeps the payment moves
// the term; one that keeps the term must end before the last payment.
std::optional<Message> HolidayStarts(const Terms& t, const ScheduleRowPlan& e, int from, Walk& w) {
  const bool paymentCanStay = !t.interestOnly;
  if (e.holidayKeep && paymentCanStay) {
    w.open = true;
  } else if (e.holidayTo >= t.n) {
    return HolidayAtEndRefusal(from, e.holidayTo, t.n, paymentCanStay);
  }
  w.holidayKeep = e.holidayKeep;
  return std::nullopt;
}

// The first paid payment k after rate changes or a holiday: the payment is
// recomputed over the payments left until payment n, or kept (the term
// moves) if it still covers the period's interest.
std::optional<Message> Decide(const Terms& t, int k, double prevBalance, double interest, Walk& w,
                              std::uint8_t& mark) {
  const bool holidayRecompute = w.holiday && !w.holidayKeep;
  const bool recompute = w.rateRecompute || holidayRecompute;
  const bool keep = w.rateKeep || (w.holiday && w.holidayKeep);
  const int rateAt = w.rateAt;
  w.holiday = w.holidayKeep = w.rateRecompute = w.rateKeep = false;
  const int left = t.n - k + 1;
  if (t.Level()) {
    if (recompute) {
      if (left < 1) return RateAfterEndRefusal(rateAt, t.n);
      w.level = LevelPaymentArrearsAt(static_cast<std::int16_t>(left), w.rates.i, prevBalance);
      w.open = false;
      mark |= kMarkNewPayment;
    } else if (keep) {
      w.open = true;
      if (!(w.level > interest)) return KeptPaymentRefusal(k);
    }
  } else if (t.fixedPrin && holidayRecompute) {
    // The principal part does not depend on the rate: only a holiday
    // spreads the grown balance over the payments left.
    w.fixedPrin = RoundToCents(prevBalance / left);
    w.open = false;
    mark |= kMarkNewPayment;
  }
  return std::nullopt;
}

// After payment k paid extra principal that lowers the payment: the payment
// (or the principal part) is recomputed over the payments left.
void LowerAfter(const Terms& t, int k, double balance, Walk& w) {
  const int left = t.n - k;
  if (left < 1 || !StillOwed(balance) || t.interestOnly) return;
  if (t.fixedPrin) w.fixedPrin = RoundToCents(balance / left);
  else w.level = LevelPaymentArrearsAt(static_cast<std::int16_t>(left), w.rates.i, balance);
  w.open = false;
  w.markNext = true;
}

// The events of payment 1, on the row the start built.
std::optional<Message> RowOneEvents(const Terms& t, const ScheduleRowPlan& e, ScheduleRow& r1,
                                    const Start& st, Walk& w) {
  if (e.rate > 0) {
    if (e.holidayTo > 0) {
      // Decided with the payment after the holiday.
      (e.rateKeep ? w.rateKeep : w.rateRecompute) = true;
      w.rateAt = 1;
    } else if (e.rateKeep && t.Level()) {
      w.open = true;
      if (!(w.level > r1.interest - st.row1Points)) return KeptPaymentRefusal(1);
    }
  }
  if (e.holidayTo > 0) {
    if (auto refusal = HolidayStarts(t, e, 1, w)) return refusal;
    w.holiday = true;
    // Nothing is paid: the period's interest joins the balance.
    const double paid = r1.payment;
    r1.payment = 0;
    r1.principal -= paid;
    r1.balance += paid;
    r1.runPayment -= paid;
    r1.runPrincipal -= paid;
    return std::nullopt;
  }
  if (e.extra > 0) {
    r1.payment += e.extra;
    r1.principal += e.extra;
    r1.balance -= e.extra;
    r1.runPayment += e.extra;
    r1.runPrincipal += e.extra;
  }
  if (e.lowerAfter) LowerAfter(t, 1, r1.balance, w);
  return std::nullopt;
}

struct Built {
  int last = 0;
  Start st;
};

// Payments 2 onwards, each from the row before it. The last row built, or
// -1 when a value stopped being finite or the events were refused.
int LaterRows(const Terms& t, ScheduleRow* rows, const Start& st, std::vector<YearTab>& tabs,
              const ProgressFn& progress, const ScheduleRowPlan* plan, std::uint8_t* marks, Walk& w,
              int limit, int maxPeriods, std::optional<Message>& refusal) {
  const int n = t.n;
  // Rule of 78's weights payment k with n - k + 1. Paid in advance, payment
  // 1 falls on the day the loan starts and carries none of the interest, so
  // only the weights n - 1 .. 1 of payments 2 to n share it out.
  const bool advance = t.first == t.org;
  const double digitsSum = advance ? n * (n - 1) * 0.5 : n * (n + 1) * 0.5;
  int year = st.year;
  Date nextYear = MakeDate(1, 1, year + 1);
  int lastPercent = -1;
  int cur = 1;
  while (StillOwed(rows[cur].balance) && (w.open || cur < n)) {
    const ScheduleRow& prev = rows[cur];
    const int k = cur + 1;
    if (k > limit) {
      // Only a moved term gets here: n itself is within both limits.
      refusal = k > maxPeriods ? TooLongRefusal(maxPeriods) : Message{kYearLimitText, BoxType::Information};
      return -1;
    }
    ScheduleRow& row = rows[k];
    const ScheduleRowPlan* e = plan ? &plan[k] : nullptr;
    if (e && e->rate > 0) w.rates = t.RatesOf(e->rate);
    t.StartRow(row, StepPeriodForward(prev.date, t.P), k, w.rates);
    const int days = t.exact ? row.date - prev.date : t.stdDays;
    row.days = ClampDays(days);
    row.interest = t.ruleOf78 ? RoundToCents((n - k + 1) * st.totalInterest / digitsSum)
                              : t.InterestOn(prev.balance, 1.0L, days, w.rates);
    const bool skipped = e && e->holidayTo > 0;
    if (e) {
      std::uint8_t mark = e->marks;
      if (w.markNext) {
        mark |= kMarkNewPayment;
        w.markNext = false;
      }
      if (e->rate > 0) {
        (e->rateKeep ? w.rateKeep : w.rateRecompute) = true;
        w.rateAt = k;
      }
      if (skipped) {
        if (plan[k - 1].holidayTo != e->holidayTo) {
          if ((refusal = HolidayStarts(t, *e, k, w))) return -1;
        }
        w.holiday = true;
      } else if (w.holiday || w.rateRecompute || w.rateKeep) {
        if ((refusal = Decide(t, k, prev.balance, row.interest, w, mark))) return -1;
      }
      marks[k] = mark;
    }
    if (skipped) {
      row.payment = 0;  // the period's interest joins the balance
    } else if (t.interestOnly) {
      row.payment = row.interest;
    } else if (t.fixedPrin) {
      row.payment = w.fixedPrin + row.interest;
    } else {
      row.payment = w.level;
    }
    if (e && !skipped) row.payment += e->extra;
    row.principal = row.payment - row.interest;
    row.balance = prev.balance - row.principal;
    if (!skipped && ((!w.open && k == n) || !StillOwed(row.balance))) SettleLastRow(row);
    RunTotals(row, prev);
    if (!Finite(row)) return -1;
    if (e && !skipped && e->lowerAfter) LowerAfter(t, k, row.balance, w);
    if (row.date >= nextYear) {
      year = YearOf(row.date);
      nextYear = MakeDate(1, 1, year + 1);
      tabs.push_back(TabOf(year));
    }
    if (progress) {
      const int percent = static_cast<int>(std::min<long long>(100, static_cast<long long>(k) * 100 / n));
      if (percent != lastPercent) {
        lastPercent = percent;
        progress(percent);
      }
    }
    cur = k;
  }
  return cur;
}

// The whole schedule into `rows` and `tabs`; with `plan`, its events, whose
// marks go to `marks`. A moved term may run to row `limit`.
std::optional<Message> BuildRows(const Terms& t, ScheduleRow* rows, std::vector<YearTab>& tabs,
                                 const ScheduleRowPlan* plan, std::uint8_t* marks, int limit,
                                 int maxPeriods, const ProgressFn& progress, Built& out) {
  tabs.clear();
  tabs.push_back(YearTab{"All", 0});
  ScheduleRow& r0 = rows[0];
  ScheduleRow& r1 = rows[1];
  t.StartRow(r0, t.org, 0, t.start);
  r0.balance = t.PV;
  r0.days = ClampDays(static_cast<long long>(t.first) - t.org);
  Start st;
  st.year = YearOf(t.org);
  tabs.push_back(TabOf(st.year));
  // A rate change on payment 1 sets its interest, and its level payment
  // unless the payment is kept.
  RateSet r1Rates = t.start;
  float levelRate = t.start.rate;
  if (plan && plan[1].rate > 0) {
    r1Rates = t.RatesOf(plan[1].rate);
    if (!plan[1].rateKeep) levelRate = plan[1].rate;
  }
  if (t.first > t.org) InterimStart(t, r0, r1, st, tabs, r1Rates, levelRate);
  else AdvanceStart(t, r0, r1, st, r1Rates, levelRate);
  if (!Finite(r0) || !Finite(r1)) return NonFiniteMessage();

  Walk w;
  w.rates = r1Rates;
  w.level = r1.payment;
  w.fixedPrin = t.fixedPrincipal;
  if (plan) {
    marks[0] = 0;
    marks[1] = plan[1].marks;
    if (auto refusal = RowOneEvents(t, plan[1], r1, st, w)) return refusal;
  }
  std::optional<Message> refusal;
  const int cur = LaterRows(t, rows, st, tabs, progress, plan, marks, w, limit, maxPeriods, refusal);
  if (refusal) return refusal;
  if (cur < 0) return NonFiniteMessage();
  if (cur == 1) SettleLastRow(r1);
  if (t.pointsHow == kWithFirstPayment || (t.pointsHow == kAtOrigination && t.first == t.org))
    r1.payment += t.points;
  // Payment 1 as the last row was settled after its running totals were taken.
  if (cur == 1) RunTotals(r1, r0);
  if (!Finite(r1)) return NonFiniteMessage();
  out.last = cur;
  out.st = st;
  return std::nullopt;
}

// Lays the events out by payment, rows 1 to `limit`: the extra principal of
// each payment in whole cents, rate changes, holidays and the marks. Every
// pass is over the rows or the events once (holidays do not overlap).
void LayOut(const std::vector<ScheduleEvent>& events, int limit, ScheduleRowPlan* plan) {
  std::fill(plan, plan + limit + 2, ScheduleRowPlan{});
  for (const ScheduleEvent& ev : events) {
    if (ev.from > limit) continue;  // never reached
    const long long cents = std::llround(ev.amount * 100);
    const bool lower = ev.how == EventHow::LowerPayment;
    ScheduleRowPlan& at = plan[ev.from];
    switch (ev.kind) {
      case EventKind::Extra: {
        const int last = ev.to ? std::min(*ev.to, limit) : limit;
        at.extraStep += cents;
        plan[last + 1].extraStep -= cents;
        if (lower) {
          ++at.lowerStep;
          --plan[last + 1].lowerStep;
        }
        break;
      }
      case EventKind::Lump:
        at.lumpCents += cents;
        at.marks |= kMarkLump;
        if (lower) at.lowerAfter = true;
        break;
      case EventKind::Rate:
        at.rate = ev.rate;
        at.rateKeep = ev.how == EventHow::KeepPayment;
        at.marks |= kMarkRate;
        break;
      case EventKind::Holiday:
        for (int k = ev.from, last = std::min(*ev.to, limit); k <= last; ++k) {
          plan[k].holidayTo = *ev.to;
          plan[k].holidayKeep = ev.how == EventHow::KeepPayment;
          plan[k].marks |= kMarkHoliday;
        }
        break;
    }
  }
  long long running = 0;
  int lowering = 0;
  for (int k = 1; k <= limit; ++k) {
    ScheduleRowPlan& p = plan[k];
    running += p.extraStep;
    lowering += p.lowerStep;
    if (p.holidayTo > 0) continue;  // a skipped payment pays no extra either
    p.extra = static_cast<double>(running + p.lumpCents) / 100.0;
    if (running > 0) {
      p.marks |= kMarkExtra;
      if (lowering > 0) p.lowerAfter = true;
    }
  }
}

void CopyLoanTerms(ScheduleInputs& to, const ScheduleInputs& from) {
  to.PV = from.PV;
  to.NumPmts = from.NumPmts;
  to.Rate = from.Rate;
  to.Points = from.Points;
  to.OrgDate = from.OrgDate;
  to.FrstPmtDate = from.FrstPmtDate;
  to.PYR = from.PYR;
  to.CmpPYR = from.CmpPYR;
  to.AmortMthd = from.AmortMthd;
  to.RateBasis = from.RateBasis;
  to.PointsPaidMthd = from.PointsPaidMthd;
  to.OtherFees = from.OtherFees;
}

}  // namespace

std::optional<Message> Schedule::Build(const ScheduleInputs& in, const ProgressFn& progress) {
  if (auto refusal = CheckInputs(in, maxPeriods_)) return refusal;
  const bool events = !in.events.empty();
  if (events) {
    if (auto refusal = CheckEvents(in.events)) return refusal;
  }
  Terms t;
  if (auto refusal = Resolve(in, t)) return refusal;
  if (events && t.ruleOf78) return Message{kEventsRuleOf78Text, BoxType::Information};
  // A moved term may run as far as the row table and the 2059 limit allow.
  const int limit = std::min(maxPeriods_, static_cast<int>(t.P) * (2058 - YearOf(t.first)));

  // The schedule without events: the shown one's when the loan is the same,
  // else built when first asked for.
  const bool reuseBase = events && shownTermsValid_ && SameLoanTerms(in, shownTerms_);
  if (events) LayOut(in.events, limit, plan_.data());
  Built built;
  if (auto refusal = BuildRows(t, work_.data(), workTabs_, events ? plan_.data() : nullptr,
                               workMarks_.data(), limit, maxPeriods_, progress, built))
    return refusal;
  if (!events) std::fill(workMarks_.begin(), workMarks_.begin() + built.last + 1, std::uint8_t{0});

  if (!events) {
    baseStale_ = baseFailed_ = false;  // the schedule is its own
  } else if (!reuseBase) {
    baseStale_ = true;
    baseFailed_ = false;
  } else if (!hasEvents_) {
    // The shown schedule was this loan without events.
    base_.swap(rows_);
    baseLastRow_ = lastRow_;
    baseStale_ = baseFailed_ = false;
  }  // else the loan's schedule without events stays, built or still waiting
  rows_.swap(work_);
  tabs_.swap(workTabs_);
  marks_.swap(workMarks_);
  events_.assign(in.events.begin(), in.events.end());
  hasEvents_ = events;
  CopyLoanTerms(shownTerms_, in);
  shownTermsValid_ = true;
  lastRow_ = built.last;
  calculated_ = true;
  kind_ = built.st.kind;
  oddDays_ = built.st.oddDays;
  periodFraction_ = built.st.fraction;
  pointsAmount_ = t.points;
  fixedPrincipal_ = t.fixedPrincipal;
  totalInterest_ = built.st.totalInterest;
  return std::nullopt;
}

void Schedule::BuildBase() const {
  baseStale_ = false;
  Terms t;
  Built built;
  baseFailed_ = Resolve(shownTerms_, t).has_value();
  if (!baseFailed_) {
    const int limit = std::min(maxPeriods_, static_cast<int>(t.P) * (2058 - YearOf(t.first)));
    baseFailed_ =
        BuildRows(t, base_.data(), baseTabs_, nullptr, nullptr, limit, maxPeriods_, {}, built).has_value();
  }
  if (!baseFailed_) baseLastRow_ = built.last;
}

std::pair<int, int> Schedule::SelectYear(int tab) const {
  const int count = static_cast<int>(tabs_.size());
  if (tab <= 0 || tab >= count) return {0, lastRow_};
  const int year = tabs_[static_cast<std::size_t>(tab)].year;
  const auto begin = rows_.begin();
  const auto end = begin + lastRow_ + 1;
  int firstRow = 0;
  if (tab > 1) {
    const Date jan1 = MakeDate(1, 1, year);
    firstRow = static_cast<int>(
        std::partition_point(begin, end, [&](const ScheduleRow& r) { return r.date < jan1; }) - begin);
  }
  int lastRow = lastRow_;
  if (tab < count - 1) {
    const Date dec31 = MakeDate(31, 12, year);
    lastRow = static_cast<int>(
                  std::partition_point(begin, end, [&](const ScheduleRow& r) { return r.date <= dec31; }) -
                  begin) -
              1;
  }
  return {firstRow, lastRow};
}

YearTotals Schedule::Totals(int firstRow, int lastRow) const {
  YearTotals t;
  firstRow = std::max(firstRow, 0);
  lastRow = std::min(lastRow, lastRow_);
  for (int k = firstRow; k <= lastRow; ++k) {
    const ScheduleRow& r = rows_[static_cast<std::size_t>(k)];
    t.payment += r.payment;
    t.principal += r.principal;
    t.interest += r.interest;
  }
  return t;
}

void Schedule::SetLoaded(int lastRow) {
  lastRow_ = std::clamp(lastRow, 0, maxPeriods_);
  tabs_.clear();
  tabs_.push_back(YearTab{"All", 0});
  int year = std::numeric_limits<int>::min();
  for (int k = 0; k <= lastRow_; ++k) {
    const int y = YearOf(rows_[static_cast<std::size_t>(k)].date);
    if (y != year) {
      year = y;
      tabs_.push_back(TabOf(year));
    }
  }
  std::fill(marks_.begin(), marks_.begin() + lastRow_ + 1, std::uint8_t{0});
  events_.clear();
  hasEvents_ = false;
  baseStale_ = baseFailed_ = false;
  shownTermsValid_ = false;
  calculated_ = true;
}

}  // namespace brevika
