#include "records/ledger.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "finance/items.h"
#include "finance/rates.h"
#include "tables/csv_writer.h"

namespace brevika::records {

namespace {

constexpr double kHalfCent = 0.005;
constexpr double kMaxAmount = 999999999999.995;  // 12 integer digits and cents

long long Cents(double v) { return std::llround(v * 100.0); }

bool ValidDate(Date d) { return d >= 0 && d <= MakeDate(31, 12, kMaxYear); }

// The rate basis and the rates in force, resolved once for a ledger.
class Accrual {
 public:
  Accrual(const LedgerTerms& t, const std::vector<RateChange>& changes) : changes_(changes) {
    const int pyr = (t.pyr >= 0 && t.pyr <= 6) ? t.pyr : LoanDefaults.paymentPeriod - 1;
    const int cmp = (t.cmpPyr >= 0 && t.cmpPyr <= 8) ? t.cmpPyr : LoanDefaults.compoundingPeriod;
    const int basis = (t.rateBasis >= 0 && t.rateBasis <= 2) ? t.rateBasis : LoanDefaults.interestBasis;
    P_ = PyrPeriodsPerYear(pyr);
    c_ = CmpPeriodsPerYear(cmp);
    exact_ = basis == kExact360 || basis == kExact365;
    basisDays_ = basis == kExact365 ? 365 : 360;
    base_ = t.rate;
  }

  std::uint16_t paymentsPerYear() const { return P_; }

  int Days(Date from, Date to) const { return exact_ ? to - from : Days360(from, to); }

  float RateOn(Date d) const {
    float rate = base_;
    for (const RateChange& c : changes_) {
      if (c.from > d) break;
      rate = c.rate;
    }
    return rate;
  }

  // Interest on `balance` from `from` to `to`, each stretch at the rate in
  // force, rounded once. The one-rate case is the schedule's own expression.
  double Interest(double balance, Date from, Date to) const {
    const int total = Days(from, to);
    if (total <= 0) return 0.0;
    long double sum = 0.0L;
    int used = 0;
    Date start = from;
    float rate = RateOn(from);
    for (const RateChange& c : changes_) {
      if (c.from <= from) continue;
      if (c.from >= to) break;
      const int d = std::clamp(Days(start, c.from), 0, total - used);
      sum += Charge(balance, rate, d);
      used += d;
      start = c.from;
      rate = c.rate;
    }
    sum += Charge(balance, rate, total - used);
    return RoundToCents(sum);
  }

  // One day's interest at the rate in force on `d`.
  double PerDiem(double balance, Date d) const {
    const float rate = RateOn(d);
    if (exact_) return RoundToCents(balance * Daily(rate));
    return RoundToCents(balance * PeriodicRate(P_, c_, rate) * (static_cast<long double>(P_) / 360.0L));
  }

 private:
  long double Daily(float rate) const { return static_cast<long double>(rate) / basisDays_ * 0.01L; }

  long double Charge(double balance, float rate, int days) const {
    if (days <= 0) return 0.0L;
    if (exact_) return balance * Daily(rate) * days;
    // P x days / 360 is exactly 1 for a whole period of 12, 6, 4, 2 or 1
    // payments a year.
    return balance * PeriodicRate(P_, c_, rate) * (static_cast<long double>(P_) * days / 360.0L);
  }

  const std::vector<RateChange>& changes_;
  std::uint16_t P_ = 12, c_ = 12;
  bool exact_ = false;
  int basisDays_ = 360;
  float base_ = 0;
};

Outcome Refuse(const std::string& text) { return Outcome::Refuse(Message{text, BoxType::Warning}); }

// Installments: the scheduled rows after the initial row.
std::size_t FirstInstallment(const std::vector<ScheduleRow>& s) {
  return !s.empty() && s.front().pmtNo == 0 ? 1 : 0;
}

}  // namespace

int Days360(Date from, Date to) {
  int d1, m1, y1, d2, m2, y2;
  SplitDate(from, d1, m1, y1);
  SplitDate(to, d2, m2, y2);
  if (d1 == 31) d1 = 30;
  if (d2 == 31 && d1 == 30) d2 = 30;
  return (y2 - y1) * 360 + (m2 - m1) * 30 + (d2 - d1);
}

std::string PaymentBeforeOriginationText(Date payment, Date origination) {
  return "Payment Date " + FormatShortDate(payment, true) + " must be\n\nequal to or after Origination Date " +
         FormatShortDate(origination, true) + ".\n\n";
}

std::string PayoffBeforeOriginationText(Date payoff, Date origination) {
  return "Payoff Date " + FormatShortDate(payoff, true) + " must be\n\nequal to or after Origination Date " +
         FormatShortDate(origination, true) + ".\n\n";
}

Outcome CheckPayment(const LedgerTerms& terms, const ActualPayment& p) {
  if (!ValidDate(p.date)) return Refuse(kMsgPaymentDateBad);
  if (ValidDate(terms.origination) && p.date < terms.origination)
    return Refuse(PaymentBeforeOriginationText(p.date, terms.origination));
  if (!std::isfinite(p.amount)) return Outcome::Refuse(NonFiniteMessage());
  if (Cents(p.amount) <= 0) return Refuse(kMsgPaymentAmountNotPositive);
  if (p.amount >= kMaxAmount) return Refuse(kMsgPaymentAmountTooLarge);
  return Outcome::Ok();
}

Outcome ComputeLedger(const LedgerInputs& in, Ledger& out) {
  const LedgerTerms& t = in.terms;
  if (!std::isfinite(t.amount) || !std::isfinite(t.rate) || t.amount <= 0 || t.rate < 0 ||
      !ValidDate(t.origination))
    return Refuse(kMsgLedgerTerms);
  for (const RateChange& c : in.rateChanges)
    if (!ValidDate(c.from) || !std::isfinite(c.rate) || c.rate < 0) return Refuse(kMsgLedgerTerms);
  for (const ActualPayment& p : in.payments)
    if (Outcome o = CheckPayment(t, p); o.refused) return o;

  Ledger l;
  l.terms = t;
  l.scheduled = in.scheduled;
  l.rateChanges = in.rateChanges;
  std::stable_sort(l.rateChanges.begin(), l.rateChanges.end(),
                   [](const RateChange& a, const RateChange& b) { return a.from < b.from; });
  const Accrual accrual(t, l.rateChanges);

  // A long first period's odd days are paid at origination (the initial
  // row); the first payment then covers one regular period.
  l.accrualStart = t.origination;
  if (ValidDate(t.firstPayment) && t.firstPayment > t.origination) {
    const Date back = StepPeriodBack(t.firstPayment, accrual.paymentsPerYear());
    if (back > t.origination) l.accrualStart = back;
  }
  l.openingBalance = t.amount;
  if (!in.scheduled.empty() && in.scheduled.front().pmtNo == 0 && std::isfinite(in.scheduled.front().balance) &&
      in.scheduled.front().balance > 0)
    l.openingBalance = in.scheduled.front().balance;

  std::vector<std::size_t> order(in.payments.size());
  for (std::size_t k = 0; k < order.size(); ++k) order[k] = k;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return in.payments[a].date < in.payments[b].date;
  });

  double balance = l.openingBalance;
  double unpaid = 0;
  Date through = l.accrualStart;
  l.rows.reserve(order.size());
  for (std::size_t index : order) {
    const ActualPayment& p = in.payments[index];
    LedgerRow r;
    r.payment = index;
    r.date = p.date;
    r.amount = p.amount;
    r.note = p.note;
    if (p.date > through) {
      r.days = accrual.Days(through, p.date);
      r.accrued = accrual.Interest(balance, through, p.date);
      through = p.date;
    }
    const double due = unpaid + r.accrued;
    double rest = 0;
    if (p.amount - due > -kHalfCent) {
      r.interest = due;
      rest = p.amount - due;
      unpaid = 0;
    } else {
      r.interest = p.amount;
      unpaid = RoundToCents(due - p.amount);
    }
    if (rest - balance >= kHalfCent) {
      r.principal = balance;
      r.overpaid = RoundToCents(rest - balance);
      balance = 0;
    } else {
      r.principal = rest;
      balance -= rest;
      if (std::fabs(balance) < kHalfCent) balance = 0;
    }
    r.unpaidInterest = unpaid;
    r.balance = balance;
    if (!std::isfinite(r.interest) || !std::isfinite(r.principal) || !std::isfinite(r.balance))
      return Outcome::Refuse(NonFiniteMessage());
    l.rows.push_back(std::move(r));
  }
  out = std::move(l);
  return Outcome::Ok();
}

const LedgerRow* RowOfPayment(const Ledger& ledger, std::size_t index) {
  for (const LedgerRow& r : ledger.rows)
    if (r.payment == index) return &r;
  return nullptr;
}

Outcome SummarizeLedger(const Ledger& l, Date asOf, LedgerSummary& out) {
  if (!ValidDate(asOf)) return Refuse(kMsgAsOfDateBad);
  LedgerSummary s;
  s.asOf = asOf;
  const auto end = std::partition_point(l.rows.begin(), l.rows.end(),
                                        [&](const LedgerRow& r) { return r.date <= asOf; });
  s.rows = static_cast<int>(end - l.rows.begin());
  long long paid = 0;
  for (auto it = l.rows.begin(); it != end; ++it) paid += Cents(it->amount);
  if (s.rows > 0) {
    const LedgerRow& last = *(end - 1);
    s.balance = last.balance;
    s.unpaidInterest = last.unpaidInterest;
    s.paidThrough = std::max(last.date, l.accrualStart);
  } else {
    s.balance = l.openingBalance;
    s.paidThrough = l.accrualStart;
  }
  s.paid = static_cast<double>(paid) / 100.0;

  // Cumulative scheduled payments in cents, first installment on.
  const std::size_t first = FirstInstallment(l.scheduled);
  std::vector<long long> cum(1, 0);
  cum.reserve(l.scheduled.size() + 1);
  long long dueCents = 0;
  for (std::size_t k = first; k < l.scheduled.size(); ++k) {
    cum.push_back(cum.back() + std::max(0LL, Cents(l.scheduled[k].payment)));
    if (l.scheduled[k].date <= asOf) {
      ++s.due;
      dueCents = cum.back();
    }
  }
  s.scheduled = static_cast<double>(dueCents) / 100.0;
  s.covered = static_cast<int>(std::upper_bound(cum.begin(), cum.end(), paid) - cum.begin()) - 1;
  s.aheadPayments = s.covered - s.due;
  s.aheadAmount = static_cast<double>(paid - dueCents) / 100.0;
  const int installments = static_cast<int>(cum.size()) - 1;
  s.paidOff = s.rows > 0 && Cents(s.balance) == 0 && Cents(s.unpaidInterest) == 0;
  if (s.paidOff) {
    s.nextDue = kBadDate;
  } else if (s.covered < installments) {
    s.nextDue = l.scheduled[first + static_cast<std::size_t>(s.covered)].date;
  } else {
    s.nextDue = installments > 0 ? l.scheduled.back().date : kBadDate;
  }
  out = s;
  return Outcome::Ok();
}

Outcome QuotePayoff(const Ledger& l, Date date, PayoffQuote& out) {
  if (!ValidDate(date)) return Refuse(kMsgPayoffDateBad);
  if (date < l.terms.origination) return Refuse(PayoffBeforeOriginationText(date, l.terms.origination));
  LedgerSummary s;
  if (Outcome o = SummarizeLedger(l, date, s); o.refused) return o;
  const Accrual accrual(l.terms, l.rateChanges);
  PayoffQuote q;
  q.date = date;
  q.paidThrough = s.paidThrough;
  q.balance = s.balance;
  q.unpaidInterest = s.unpaidInterest;
  if (date > s.paidThrough) {
    q.days = accrual.Days(s.paidThrough, date);
    q.accruedInterest = accrual.Interest(s.balance, s.paidThrough, date);
  }
  q.payoff = q.balance + q.unpaidInterest + q.accruedInterest;
  q.perDiem = accrual.PerDiem(s.balance, date);
  if (!std::isfinite(q.payoff) || !std::isfinite(q.perDiem)) return Outcome::Refuse(NonFiniteMessage());
  out = q;
  return Outcome::Ok();
}

Outcome PaidInYear(const Ledger& l, int year, YearPaid& out) {
  if (year < kMinYear || year > kMaxYear) return Refuse(kMsgYearBad);
  YearPaid y;
  y.year = year;
  const Date jan1 = MakeDate(1, 1, year);
  const Date dec31 = MakeDate(31, 12, year);
  for (const LedgerRow& r : l.rows) {
    if (r.date < jan1 || r.date > dec31) continue;
    y.interest += r.interest;
    y.principal += r.principal;
    y.amount += r.amount;
    ++y.payments;
  }
  y.interest = RoundToCents(y.interest);
  y.principal = RoundToCents(y.principal);
  y.amount = RoundToCents(y.amount);
  out = y;
  return Outcome::Ok();
}

std::vector<YearPaid> PaidByYear(const Ledger& l) {
  std::vector<YearPaid> years;
  for (const LedgerRow& r : l.rows) {
    const int year = YearOf(r.date);
    if (years.empty() || years.back().year != year) years.push_back(YearPaid{year, 0, 0, 0, 0});
    YearPaid& y = years.back();
    y.interest += r.interest;
    y.principal += r.principal;
    y.amount += r.amount;
    ++y.payments;
  }
  for (YearPaid& y : years) {
    y.interest = RoundToCents(y.interest);
    y.principal = RoundToCents(y.principal);
    y.amount = RoundToCents(y.amount);
  }
  return years;
}

std::string SummaryDateText(Date d) { return d == kBadDate ? std::string("--/--/----") : FormatShortDate(d, true); }

std::string AheadBehindText(const LedgerSummary& s, const LocaleFormat& money) {
  if (s.paidOff) return "Paid off";
  const long long cents = Cents(s.aheadAmount);
  const std::string amount = FormatMoney(std::fabs(static_cast<double>(cents) / 100.0), 2, money);
  if (s.aheadPayments != 0) {
    const int n = std::abs(s.aheadPayments);
    return std::string(s.aheadPayments > 0 ? "Ahead by " : "Behind by ") + std::to_string(n) +
           (n == 1 ? " payment, " : " payments, ") + amount;
  }
  if (cents > 0) return "Ahead by " + amount;
  if (cents < 0) return "Behind by " + amount;
  return "On schedule";
}

std::vector<LedgerLine> LedgerLines(const Ledger& l) {
  std::vector<LedgerLine> lines;
  const std::size_t first = FirstInstallment(l.scheduled);
  std::size_t i = first, j = 0;
  const std::size_t ns = l.scheduled.size(), na = l.rows.size();
  lines.reserve(ns + na);
  while (i < ns || j < na) {
    if (j == na || (i < ns && l.scheduled[i].date < l.rows[j].date)) {
      lines.push_back({l.scheduled[i].date, static_cast<int>(i), -1});
      ++i;
    } else if (i == ns || l.rows[j].date < l.scheduled[i].date) {
      lines.push_back({l.rows[j].date, -1, static_cast<int>(j)});
      ++j;
    } else {
      lines.push_back({l.rows[j].date, static_cast<int>(i), static_cast<int>(j)});
      ++i;
      ++j;
    }
  }
  return lines;
}

const char kLedgerCsvHeading[] =
    "Date,PmtNo,ScheduledPayment,ScheduledPrincipal,ScheduledInterest,ScheduledBalance,Amount,Days,"
    "Interest,Principal,UnpaidInterest,Balance,Overpaid,Note";

std::string LedgerCsv(const Ledger& l) {
  const std::vector<LedgerLine> lines = LedgerLines(l);
  tables::CsvWriter csv(kLedgerCsvHeading, lines.size() * 110);
  for (const LedgerLine& line : lines) {
    csv.Field(FormatIsoDate(line.date));
    if (line.scheduledRow >= 0) {
      const ScheduleRow& s = l.scheduled[static_cast<std::size_t>(line.scheduledRow)];
      csv.Field(std::to_string(s.pmtNo));
      for (double v : {s.payment, s.principal, s.interest, s.balance}) csv.Money(v);
    } else {
      csv.Empty(5);
    }
    if (line.ledgerRow >= 0) {
      const LedgerRow& r = l.rows[static_cast<std::size_t>(line.ledgerRow)];
      csv.Money(r.amount).Field(std::to_string(r.days));
      for (double v : {r.interest, r.principal, r.unpaidInterest, r.balance, r.overpaid}) csv.Money(v);
      csv.Text(r.note);
    } else {
      csv.Empty(8);
    }
    csv.EndLine();
  }
  return csv.Take();
}

}  // namespace brevika::records
