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

Schedule::Schedule(int maxPeriods) {
  int want = std::clamp(maxPeriods, 1, static_cast<int>(std::numeric_limits<std::int16_t>::max()));
  maxPeriods_ = 0;
  // Both tables and both tab lists are taken here once; a shortage halves the
  // maximum until it fits and says so.
  for (int m = want; m >= 1; m /= 2) {
    try {
      rows_.assign(static_cast<std::size_t>(m) + 1, ScheduleRow{});
      work_.assign(static_cast<std::size_t>(m) + 1, ScheduleRow{});
      tabs_.reserve(static_cast<std::size_t>(m) + 2);
      workTabs_.reserve(static_cast<std::size_t>(m) + 2);
      maxPeriods_ = m;
      break;
    } catch (const std::bad_alloc&) {
      rows_ = {};
      work_ = {};
      tabs_ = {};
      workTabs_ = {};
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

// The inputs resolved once: every row uses the same rates and choices.
struct Terms {
  int n = 0;
  std::uint16_t P = 12, c = 12;
  int stdDays = 30;
  bool exact = false;
  long double i = 0, daily = 0;
  float rate = 0, rowPeriodic = 0, rowDaily = 0;
  double PV = 0, fixedPrincipal = 0, points = 0;
  int pointsHow = kAtOrigination;
  bool interestOnly = false, fixedPrin = false, ruleOf78 = false, usRule = false;
  Date org = 0, first = 0;

  // Interest of one period on a balance: a share of the year ("Ordinary")
  // or the actual days at 360 or 365 days a year.
  double InterestOn(double balance, long double fraction, int days) const {
    return exact ? RoundToCents(balance * daily * days) : RoundToCents(balance * i * fraction);
  }
  void StartRow(ScheduleRow& row, Date date, int k) const {
    row.date = date;
    row.pmtNo = static_cast<std::int16_t>(k);
    WriteLabel(row.periodLabel, k, P);
    row.payment = row.principal = row.interest = row.balance = 0;
    row.days = 0;
    row.annualRate = rate;
    row.periodicRate = rowPeriodic;
    row.dailyRate = rowDaily;
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
  const int basisDays = basis == kExact365 ? 365 : 360;
  t.rate = in.Rate;
  t.PV = in.PV;
  t.i = PeriodicRate(t.P, t.c, in.Rate);
  t.daily = static_cast<long double>(in.Rate) / basisDays * 0.01L;
  t.rowPeriodic = static_cast<float>(t.i);
  t.rowDaily = static_cast<float>(t.daily);
  t.fixedPrincipal = RoundToCents(in.PV / t.n);
  t.points = in.Points > 0 ? RoundToCents(in.PV * static_cast<long double>(in.Points) * 0.01L) : 0.0;
  if (!std::isfinite(t.i) || !std::isfinite(t.rowPeriodic) || !std::isfinite(t.rowDaily) ||
      !std::isfinite(t.fixedPrincipal) || !std::isfinite(t.points))
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
};

// Row 0 (the interim period before the first payment) and payment 1.
void InterimStart(const Terms& t, ScheduleRow& r0, ScheduleRow& r1, Start& st,
                  std::vector<YearTab>& tabs) {
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
  r0.interest = st.kind == FirstPeriodKind::Short ? 0.0 : t.InterestOn(r0.balance, st.fraction, st.oddDays);
  if (t.pointsHow == kAtOrigination) r0.interest += t.points;
  // "U.S. Rule": amortized points join the balance after the interim interest.
  if (t.pointsHow == kPointsAmortized && t.usRule) r0.balance += t.points;
  r0.payment = r0.interest;
  r0.runPayment = r0.payment;
  r0.runPrincipal = r0.principal;
  r0.runInterest = r0.interest;

  t.StartRow(r1, t.first, 1);
  int days = t.exact ? t.first - t.org : t.stdDays;
  if (st.kind != FirstPeriodKind::Short) {
    // Payment 1 covers exactly one regular period; a short period's
    // interest is all carried by payment 1.
    st.fraction = 1.0;
    if (t.exact) days -= st.oddDays;
  }
  r1.days = ClampDays(days);
  if (!t.ruleOf78) r1.interest = t.InterestOn(r0.balance, st.fraction, days);
  if (t.interestOnly) {
    r1.payment = r1.interest;
  } else if (t.fixedPrin) {
    r1.payment = t.fixedPrincipal + r1.interest;
  } else {
    r1.payment = LevelPaymentArrears(static_cast<std::int16_t>(t.n), t.P, t.c, r0.balance, t.rate);
  }
  // Total interest of the level payment alone: points paid with payment 1
  // are not interest spread over the loan.
  const int n = t.n;
  st.totalInterest = n * r1.payment - r0.balance;
  if (t.ruleOf78) r1.interest = RoundToCents(n * st.totalInterest / (n * (n + 1) * 0.5));
  if (t.pointsHow == kWithFirstPayment) {
    r1.interest += t.points;
    r1.payment += t.points;
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
void AdvanceStart(const Terms& t, ScheduleRow& r0, ScheduleRow& r1, Start& st) {
  t.StartRow(r1, t.first, 1);
  r1.days = static_cast<std::int16_t>(t.exact ? 0 : t.stdDays);
  if (t.interestOnly) {
    r1.payment = 0;
  } else if (t.fixedPrin) {
    r1.payment = t.fixedPrincipal;
  } else {
    r1.payment = LevelPaymentAdvance(static_cast<std::int16_t>(t.n), t.P, t.c, t.PV, t.rate);
  }
  st.totalInterest = t.n * r1.payment - r0.balance;
  r1.principal = r1.payment - r1.interest;
  if (t.pointsHow == kPointsAmortized) {
    r0.balance += t.points;
  } else {
    r1.interest += t.points;
    r1.payment += t.points;
  }
  r1.balance = r0.balance - r1.principal;
  RunTotals(r1, r0);
  if (t.pointsHow == kAtOrigination || t.pointsHow == kWithFirstPayment) r1.payment -= t.points;
}

// Payments 2 onwards, each from the row before it. The last row built, or
// -1 when a value stopped being finite.
int LaterRows(const Terms& t, ScheduleRow* rows, const Start& st, std::vector<YearTab>& tabs,
              const ProgressFn& progress) {
  const int n = t.n;
  const double digitsSum = n * (n + 1) * 0.5;
  int year = st.year;
  Date nextYear = MakeDate(1, 1, year + 1);
  int lastPercent = -1;
  int cur = 1;
  while (StillOwed(rows[cur].balance) && cur < n) {
    const ScheduleRow& prev = rows[cur];
    const int k = cur + 1;
    ScheduleRow& row = rows[k];
    t.StartRow(row, StepPeriodForward(prev.date, t.P), k);
    const int days = t.exact ? row.date - prev.date : t.stdDays;
    row.days = ClampDays(days);
    row.interest = t.ruleOf78 ? RoundToCents((n - k + 1) * st.totalInterest / digitsSum)
                              : t.InterestOn(prev.balance, 1.0L, days);
    if (t.interestOnly) {
      row.payment = row.interest;
    } else if (t.fixedPrin) {
      row.payment = t.fixedPrincipal + row.interest;
    } else {
      row.payment = prev.payment;
    }
    row.principal = row.payment - row.interest;
    row.balance = prev.balance - row.principal;
    if (k == n || !StillOwed(row.balance)) SettleLastRow(row);
    RunTotals(row, prev);
    if (!Finite(row)) return -1;
    if (row.date >= nextYear) {
      year = YearOf(row.date);
      nextYear = MakeDate(1, 1, year + 1);
      tabs.push_back(TabOf(year));
    }
    if (progress) {
      const int percent = static_cast<int>(static_cast<long long>(k) * 100 / n);
      if (percent != lastPercent) {
        lastPercent = percent;
        progress(percent);
      }
    }
    cur = k;
  }
  return cur;
}

}  // namespace

std::optional<Message> Schedule::Build(const ScheduleInputs& in, const ProgressFn& progress) {
  if (auto refusal = CheckInputs(in, maxPeriods_)) return refusal;
  Terms t;
  if (auto refusal = Resolve(in, t)) return refusal;

  ScheduleRow* rows = work_.data();
  workTabs_.clear();
  workTabs_.push_back(YearTab{"All", 0});
  ScheduleRow& r0 = rows[0];
  ScheduleRow& r1 = rows[1];
  t.StartRow(r0, t.org, 0);
  r0.balance = in.PV;
  r0.days = ClampDays(static_cast<long long>(t.first) - t.org);
  Start st;
  st.year = YearOf(t.org);
  workTabs_.push_back(TabOf(st.year));
  if (t.first > t.org) InterimStart(t, r0, r1, st, workTabs_);
  else AdvanceStart(t, r0, r1, st);
  if (!Finite(r0) || !Finite(r1)) return NonFiniteMessage();

  const int cur = LaterRows(t, rows, st, workTabs_, progress);
  if (cur < 0) return NonFiniteMessage();
  if (cur == 1) SettleLastRow(r1);
  if (t.pointsHow == kWithFirstPayment || (t.pointsHow == kAtOrigination && t.first == t.org))
    r1.payment += t.points;
  // Payment 1 as the last row was settled after its running totals were taken.
  if (cur == 1) RunTotals(r1, r0);
  if (!Finite(r1)) return NonFiniteMessage();

  rows_.swap(work_);
  tabs_.swap(workTabs_);
  lastRow_ = cur;
  calculated_ = true;
  kind_ = st.kind;
  oddDays_ = st.oddDays;
  periodFraction_ = st.fraction;
  pointsAmount_ = t.points;
  fixedPrincipal_ = t.fixedPrincipal;
  totalInterest_ = st.totalInterest;
  return std::nullopt;
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
  calculated_ = true;
}

}  // namespace brevika
