#include "calculators/truth_in_lending.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <map>

#include "finance/parse.h"
#include "finance/rates.h"

namespace brevika {

namespace {

const char* const kNoAdvance =
    "Enter at least one advance:\r\ran amount and its date.\r\rPlease Try Again";
const char* const kNoPayment =
    "Enter at least one series of payments:\r\rthe number of payments, their amount\r\r"
    "and the first payment date.\r\rPlease Try Again";
const char* const kAdvanceAmount = "Every advance must be\r\rgreater than zero.\r\rPlease Try Again";
const char* const kSeriesValues =
    "The number and the amount of payments\r\rmust be greater than zero.\r\rPlease Try Again";
const char* const kBadDates =
    "Every advance and payment date must be a valid date\r\r(01/01/1600 to 12/31/3999).\r\r"
    "Please Try Again";
const char* const kTooMany = "A loan can have at most\r\r32,767 payments.\r\rPlease Try Again";
const char* const kPastEnd = "The payments can't go beyond 12/31/3999.\r\rPlease Try Again";
const char* const kBeforeAdvance =
    "No payment can fall\r\rbefore the first advance.\r\rPlease Try Again";
const char* const kNotRepaid =
    "The payments total less than the advances:\r\rthey do not repay the loan.\r\r"
    "Please Try Again";
const char* const kTooHigh = "The APR for these values is above 999 %.\r\rPlease Try Again";
const char* const kDisclosed = "Disclosed APR can't be negative.\r\rPlease Try Again";

Outcome Refuse(const char* text) { return Outcome::Refuse(Message{text, BoxType::Warning}); }

constexpr std::array<PaymentInterval, kPaymentIntervalCount> kAllIntervals = {
    PaymentInterval::Weekly,    PaymentInterval::Biweekly,  PaymentInterval::FourWeekly,
    PaymentInterval::Semimonthly, PaymentInterval::Monthly, PaymentInterval::Bimonthly,
    PaymentInterval::Quarterly, PaymentInterval::Semiannually, PaymentInterval::Annually};

// Nominal days of an interval, to order them and to round an average period.
double NominalDays(PaymentInterval interval) {
  switch (interval) {
    case PaymentInterval::Weekly: return 7;
    case PaymentInterval::Biweekly: return 14;
    case PaymentInterval::FourWeekly: return 28;
    case PaymentInterval::Semimonthly: return 365.0 / 24;
    case PaymentInterval::Monthly: return 365.0 / 12;
    case PaymentInterval::Bimonthly: return 365.0 / 6;
    case PaymentInterval::Quarterly: return 365.0 / 4;
    case PaymentInterval::Semiannually: return 365.0 / 2;
    case PaymentInterval::Annually: return 365;
  }
  return 365.0 / 12;
}

PaymentInterval IntervalOf(const TilPaymentSeries& s) {
  const int i = static_cast<int>(s.interval);
  return i >= 0 && i < kPaymentIntervalCount ? s.interval : PaymentInterval::Monthly;
}

// The interval by which b follows a: the interval of a's series or of b's
// when it fits, else the shortest that does (a month's last day may stand
// for a later day of the month); none when no interval fits.
std::optional<PaymentInterval> IntervalBetween(Date a, Date b, PaymentInterval ofA,
                                               PaymentInterval ofB) {
  auto fits = [a, b](PaymentInterval k) {
    return SeriesPaymentDate(a, k, 1) == b || SeriesPaymentDate(b, k, -1) == a;
  };
  if (fits(ofA)) return ofA;
  if (fits(ofB)) return ofB;
  std::optional<PaymentInterval> best;
  for (PaymentInterval k : kAllIntervals)
    if (fits(k) && (!best || NominalDays(k) < NominalDays(*best))) best = k;
  return best;
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace

const ItemList& PaymentIntervalItems() {
  static const ItemList items = {"Weekly",  "BiWeekly",  "4-Weekly",  "SemiMonthly", "Monthly",
                                 "BiMonthly", "Quarterly", "SemiAnnually", "Annually"};
  return items;
}

std::string IntervalName(PaymentInterval interval) {
  const int i = static_cast<int>(interval);
  if (i < 0 || i >= kPaymentIntervalCount) return "monthly";
  return Lower(PaymentIntervalItems()[static_cast<std::size_t>(i)]);
}

UnitPeriod UnitPeriodOf(PaymentInterval interval) {
  switch (interval) {
    case PaymentInterval::Weekly: return {UnitPeriodKind::Weekly};
    case PaymentInterval::Biweekly: return {UnitPeriodKind::Biweekly};
    case PaymentInterval::FourWeekly: return {UnitPeriodKind::FourWeekly};
    case PaymentInterval::Semimonthly: return {UnitPeriodKind::Semimonthly};
    case PaymentInterval::Monthly: return {UnitPeriodKind::Monthly};
    case PaymentInterval::Bimonthly: return {UnitPeriodKind::Bimonthly};
    case PaymentInterval::Quarterly: return {UnitPeriodKind::Quarterly};
    case PaymentInterval::Semiannually: return {UnitPeriodKind::Semiannually};
    case PaymentInterval::Annually: return {UnitPeriodKind::Annually};
  }
  return {UnitPeriodKind::Monthly};
}

Date SeriesPaymentDate(Date first, PaymentInterval interval, int k) {
  if (first < 0) return kBadDate;
  auto days = [first, k](int step) -> Date {
    const long long d = first + static_cast<long long>(step) * k;
    return d < 0 || d > MakeDate(31, 12, 9999) ? kBadDate : static_cast<Date>(d);
  };
  switch (interval) {
    case PaymentInterval::Weekly: return days(7);
    case PaymentInterval::Biweekly: return days(14);
    case PaymentInterval::FourWeekly: return days(28);
    case PaymentInterval::Semimonthly: return HalfMonthsAfter(first, k);
    case PaymentInterval::Monthly: return MonthsBefore(first, -k);
    case PaymentInterval::Bimonthly: return MonthsBefore(first, -2 * k);
    case PaymentInterval::Quarterly: return MonthsBefore(first, -3 * k);
    case PaymentInterval::Semiannually: return MonthsBefore(first, -6 * k);
    case PaymentInterval::Annually: return MonthsBefore(first, -12 * k);
  }
  return kBadDate;
}

bool IsBlank(const TilAdvance& a) { return a.amount == 0 && a.date == kBadDate; }
bool IsBlank(const TilPaymentSeries& s) {
  return s.count == 0 && s.amount == 0 && s.firstDate == kBadDate;
}

std::vector<TilPayment> TilPayments(const std::vector<TilPaymentSeries>& series) {
  std::vector<TilPayment> out;
  std::size_t total = 0;
  for (const TilPaymentSeries& s : series) total += static_cast<std::size_t>(std::max(0, int{s.count}));
  out.reserve(total);
  for (std::size_t i = 0; i < series.size(); ++i) {
    const TilPaymentSeries& s = series[i];
    const PaymentInterval interval = IntervalOf(s);
    for (int k = 0; k < s.count; ++k)
      out.push_back({s.amount, SeriesPaymentDate(s.firstDate, interval, k), static_cast<int>(i), k});
  }
  auto byDate = [](const TilPayment& a, const TilPayment& b) { return a.date < b.date; };
  if (!std::is_sorted(out.begin(), out.end(), byDate))
    std::stable_sort(out.begin(), out.end(), byDate);
  return out;
}

TilLoanShape ShapeOfLoan(Date firstAdvance, int advances, const std::vector<TilPayment>& payments,
                         const std::vector<TilPaymentSeries>& series) {
  TilLoanShape shape;
  shape.irregular = advances > 1;
  const std::size_t n = payments.size();
  if (n <= 1) {
    shape.single = true;
    const Date pay = n == 1 ? payments.front().date : firstAdvance;
    const Date yearOn = MonthsBefore(firstAdvance, -12);
    if (yearOn != kBadDate && pay < yearOn)
      shape.unit = {UnitPeriodKind::Term, std::max(1, pay - firstAdvance)};
    else
      shape.unit = {UnitPeriodKind::Annually};
    return shape;
  }

  // The interval between each payment and the next: its series' own within
  // a series, else whichever fits the two dates.
  std::vector<std::optional<PaymentInterval>> gaps;
  gaps.reserve(n - 1);
  std::map<PaymentInterval, int> counts;
  for (std::size_t k = 0; k + 1 < n; ++k) {
    const TilPayment& a = payments[k];
    const TilPayment& b = payments[k + 1];
    std::optional<PaymentInterval> gap;
    if (a.series == b.series && b.number == a.number + 1)
      gap = IntervalOf(series[static_cast<std::size_t>(a.series)]);
    else
      gap = IntervalBetween(a.date, b.date, IntervalOf(series[static_cast<std::size_t>(a.series)]),
                            IntervalOf(series[static_cast<std::size_t>(b.series)]));
    gaps.push_back(gap);
    if (gap) ++counts[*gap];
  }
  std::optional<PaymentInterval> unit;
  int most = 0;
  for (const auto& [interval, count] : counts) {
    if (!unit || count > most || (count == most && NominalDays(interval) < NominalDays(*unit))) {
      unit = interval;
      most = count;
    }
  }
  if (!unit) {
    // No whole interval at all: the standard one nearest the average time
    // between payments, the shorter one when two are as near.
    const double average = static_cast<double>(payments.back().date - payments.front().date) /
                           static_cast<double>(n - 1);
    for (PaymentInterval k : kAllIntervals) {
      const double off = std::fabs(NominalDays(k) - average);
      if (!unit || off < std::fabs(NominalDays(*unit) - average) ||
          (off == std::fabs(NominalDays(*unit) - average) && NominalDays(k) < NominalDays(*unit)))
        unit = k;
    }
  }
  shape.unit = UnitPeriodOf(*unit);

  for (const auto& gap : gaps)
    if (!gap || *gap != *unit) shape.irregular = true;
  // A first or a final payment may differ; the others are all equal.
  for (std::size_t k = 2; k + 1 < n; ++k)
    if (payments[k].amount != payments[1].amount) shape.irregular = true;
  return shape;
}

TilRecord NewTilRecord() { return TilRecord(); }

void ResetTil(TilRecord& rec) {
  const TilRecord fresh;
  rec.Advances.clear();
  rec.Payments.clear();
  rec.Disclosed = 0;
  rec.APR = fresh.APR;
  rec.Unit = fresh.Unit;
  rec.Single = fresh.Single;
  rec.UnitPeriodsPerYear = fresh.UnitPeriodsPerYear;
  rec.AmountFinanced = fresh.AmountFinanced;
  rec.FinanceCharge = fresh.FinanceCharge;
  rec.TotalOfPayments = fresh.TotalOfPayments;
  rec.Irregular = fresh.Irregular;
  rec.Tolerance = fresh.Tolerance;
  rec.Verdict = fresh.Verdict;
}

Outcome CalcTil(TilRecord& rec) {
  std::vector<TilAdvance> advances;
  std::vector<TilPaymentSeries> series;
  for (const TilAdvance& a : rec.Advances)
    if (!IsBlank(a)) advances.push_back(a);
  for (const TilPaymentSeries& s : rec.Payments)
    if (!IsBlank(s)) series.push_back(s);
  if (advances.empty()) return Refuse(kNoAdvance);
  if (series.empty()) return Refuse(kNoPayment);
  for (const TilAdvance& a : advances) {
    if (!std::isfinite(a.amount)) return Outcome::Refuse(NonFiniteMessage());
    if (!(a.amount > 0)) return Refuse(kAdvanceAmount);
  }
  long long total = 0;
  for (const TilPaymentSeries& s : series) {
    if (!std::isfinite(s.amount)) return Outcome::Refuse(NonFiniteMessage());
    if (s.count <= 0 || !(s.amount > 0)) return Refuse(kSeriesValues);
    total += s.count;
  }
  for (const TilAdvance& a : advances)
    if (!IsFieldDate(a.date)) return Refuse(kBadDates);
  for (const TilPaymentSeries& s : series)
    if (!IsFieldDate(s.firstDate)) return Refuse(kBadDates);
  if (total > kMaxTilPayments) return Refuse(kTooMany);
  if (!std::isfinite(rec.Disclosed)) return Outcome::Refuse(NonFiniteMessage());
  if (rec.Disclosed < 0) return Refuse(kDisclosed);

  const std::vector<TilPayment> payments = TilPayments(series);
  for (const TilPaymentSeries& s : series)
    if (!IsFieldDate(SeriesPaymentDate(s.firstDate, IntervalOf(s), s.count - 1)))
      return Refuse(kPastEnd);
  Date start = advances.front().date;
  for (const TilAdvance& a : advances) start = std::min(start, a.date);
  if (payments.front().date < start) return Refuse(kBeforeAdvance);

  const TilLoanShape shape =
      ShapeOfLoan(start, static_cast<int>(advances.size()), payments, series);
  ActuarialAprTerms terms;
  long double financed = 0, paid = 0;
  for (const TilAdvance& a : advances) {
    terms.advances.push_back({a.amount, a.date});
    financed += a.amount;
  }
  terms.payments.reserve(payments.size());
  for (const TilPayment& p : payments) {
    terms.payments.push_back({p.amount, p.date});
    paid += p.amount;
  }
  terms.unit = shape.unit;
  terms.maxApr = kMaxTilApr;
  const ActuarialApr solved = SolveActuarialApr(terms);
  switch (solved.failure) {
    case AprFailure::None: break;
    case AprFailure::NoAdvance: return Refuse(kAdvanceAmount);
    case AprFailure::NoPayment: return Refuse(kNoPayment);
    case AprFailure::PaymentBeforeAdvance: return Refuse(kBeforeAdvance);
    case AprFailure::NotRepaid: return Refuse(kNotRepaid);
    case AprFailure::TooHigh: return Refuse(kTooHigh);
    case AprFailure::NotFinite: return Outcome::Refuse(NonFiniteMessage());
  }
  const double apr = static_cast<double>(solved.apr);
  const double amountFinanced = RoundToCents(financed);
  const double totalOfPayments = RoundToCents(paid);
  const double financeCharge = RoundToCents(static_cast<long double>(totalOfPayments) - amountFinanced);
  if (!std::isfinite(apr) || !std::isfinite(amountFinanced) || !std::isfinite(totalOfPayments) ||
      !std::isfinite(financeCharge))
    return Outcome::Refuse(NonFiniteMessage());

  rec.APR = apr;
  rec.Unit = shape.unit;
  rec.Single = shape.single;
  rec.UnitPeriodsPerYear = static_cast<double>(UnitPeriodsPerYear(shape.unit));
  rec.AmountFinanced = amountFinanced;
  rec.TotalOfPayments = totalOfPayments;
  rec.FinanceCharge = financeCharge;
  rec.Irregular = shape.irregular;
  rec.Tolerance = 0;
  rec.Verdict = TilVerdict::None;
  if (rec.Disclosed > 0) {
    rec.Tolerance = shape.irregular ? kIrregularTolerance : kRegularTolerance;
    // Within the tolerance, its edge included; the disclosed rate is typed
    // in decimals, so a hair of binary rounding does not count.
    const bool within = std::fabs(rec.Disclosed - apr) <= rec.Tolerance + 1e-9;
    rec.Verdict = within ? TilVerdict::Accurate : TilVerdict::NotAccurate;
  }
  return Outcome::Ok();
}

std::string UnitPeriodText(const TilRecord& rec) {
  // Every loan worked out has payments above zero.
  if (!(rec.TotalOfPayments > 0)) return std::string();
  if (rec.Single) return "Single Payment";
  for (PaymentInterval k : kAllIntervals)
    if (UnitPeriodOf(k) == rec.Unit) return PaymentIntervalItems()[static_cast<std::size_t>(k)];
  return std::string();
}

std::string UnitPeriodName(const TilRecord& rec) {
  if (rec.Single) return "single";
  for (PaymentInterval k : kAllIntervals)
    if (UnitPeriodOf(k) == rec.Unit) return IntervalName(k);
  return std::string();
}

std::string VerdictText(TilVerdict verdict) {
  switch (verdict) {
    case TilVerdict::Accurate: return "Accurate";
    case TilVerdict::NotAccurate: return "Not Accurate";
    case TilVerdict::None: break;
  }
  return std::string();
}

std::vector<CalcRow> TilRows(const TilRecord& r, const WeekdayNames& names) {
  std::vector<CalcRow> rows;
  int k = 0;
  for (const TilAdvance& a : r.Advances) {
    if (IsBlank(a)) continue;
    const std::string n = std::to_string(++k);
    rows.push_back({RowKind::Money, "Advance " + n + ":", a.amount});
    rows.push_back({RowKind::Date, "Advance " + n + " Date:", 0, a.date, DayBoxText(a.date, names)});
  }
  k = 0;
  for (const TilPaymentSeries& s : r.Payments) {
    if (IsBlank(s)) continue;
    const std::string n = std::to_string(++k);
    rows.push_back({RowKind::Count, "Payments " + n + ":", 0, s.count});
    rows.push_back({RowKind::Money, "Payments " + n + " Amount:", s.amount});
    rows.push_back({RowKind::Date, "Payments " + n + " First Date:", 0, s.firstDate,
                    DayBoxText(s.firstDate, names)});
    rows.push_back({RowKind::Choice, "Payments " + n + " Interval:", 0, 0,
                    PaymentIntervalItems()[static_cast<std::size_t>(IntervalOf(s))]});
  }
  if (r.Disclosed > 0) rows.push_back({RowKind::Number, r.lDisclosed, r.Disclosed, 0, "", 2});
  rows.push_back({RowKind::Number, r.lAPR + ":", r.APR, 0, "", 2});
  rows.push_back({RowKind::Money, r.lFinanceCharge + ":", r.FinanceCharge});
  rows.push_back({RowKind::Money, r.lAmountFinanced + ":", r.AmountFinanced});
  rows.push_back({RowKind::Money, r.lTotalOfPayments + ":", r.TotalOfPayments});
  rows.push_back({RowKind::Choice, r.lUnitPeriod, 0, 0, UnitPeriodText(r)});
  if (r.Verdict != TilVerdict::None)
    rows.push_back({RowKind::Choice, r.lVerdict, 0, 0, VerdictText(r.Verdict)});
  return rows;
}

namespace {

const char* const kAmountWords = "(at most 12 integer digits and 2 decimals)";

std::optional<double> PositiveAmount(std::string_view text) {
  auto v = ParseNumberText(text, kMoneyPicture);
  if (!v || !(*v > 0)) return std::nullopt;
  return v;
}

}  // namespace

std::optional<TilAdvance> ParseAdvanceText(std::string_view text, std::string& error) {
  const std::size_t at = text.find('@');
  if (at == std::string_view::npos || text.find('@', at + 1) != std::string_view::npos) {
    error = "is not AMOUNT@MM/DD/YYYY";
    return std::nullopt;
  }
  TilAdvance a;
  const auto amount = PositiveAmount(text.substr(0, at));
  if (!amount) {
    error = std::string("has no amount above 0 before '@' ") + kAmountWords;
    return std::nullopt;
  }
  a.amount = *amount;
  a.date = ParseDateText(text.substr(at + 1), -1);
  if (a.date == kBadDate) {
    error = "has no date MM/DD/YYYY from 01/01/1600 to 12/31/3999 after '@'";
    return std::nullopt;
  }
  return a;
}

std::optional<TilPaymentSeries> ParsePaymentSeriesText(std::string_view text, std::string& error) {
  const std::size_t at = text.find('@');
  const std::size_t x = text.substr(0, at).find_first_of("xX");
  if (at == std::string_view::npos || text.find('@', at + 1) != std::string_view::npos ||
      x == std::string_view::npos) {
    error = "is not COUNTxAMOUNT@MM/DD/YYYY[/INTERVAL]";
    return std::nullopt;
  }
  TilPaymentSeries s;
  const auto count = ParseNumberText(text.substr(0, x), kCountPicture);
  if (!count || *count < 1 || *count > kMaxTilPayments) {
    error = "has no number of payments from 1 to 32767 before 'x'";
    return std::nullopt;
  }
  s.count = static_cast<std::int16_t>(*count);
  const auto amount = PositiveAmount(text.substr(x + 1, at - x - 1));
  if (!amount) {
    error = std::string("has no amount above 0 between 'x' and '@' ") + kAmountWords;
    return std::nullopt;
  }
  s.amount = *amount;
  // The date is the first three parts after '@'; a fourth is the interval.
  std::string_view rest = text.substr(at + 1);
  std::size_t slash = rest.find('/');
  if (slash != std::string_view::npos) slash = rest.find('/', slash + 1);
  if (slash != std::string_view::npos) slash = rest.find('/', slash + 1);
  s.firstDate = ParseDateText(rest.substr(0, slash), -1);
  if (s.firstDate == kBadDate) {
    error = "has no first date MM/DD/YYYY from 01/01/1600 to 12/31/3999 after '@'";
    return std::nullopt;
  }
  if (slash != std::string_view::npos) {
    const int i = FindItem(PaymentIntervalItems(), std::string(rest.substr(slash + 1)));
    if (i < 0) {
      error = "has no interval weekly, biweekly, 4-weekly, semimonthly, monthly, bimonthly, "
              "quarterly, semiannually or annually after the date";
      return std::nullopt;
    }
    s.interval = static_cast<PaymentInterval>(i);
  }
  return s;
}

const KindDescription<TilRecord>& TilKind() {
  using R = TilRecord;
  static const KindDescription<R> kind{
      .info = {.kind = CalcKind::TruthInLending,
               .title = "Truth in Lending",
               .menu = {"TruthInLending1", "&Truth in Lending...", "F7"},
               .help = {.window = 260},
               .command = {"apr", "the APR of a loan by the Truth in Lending rules, with its disclosure",
                           "AMOUNT@MM/DD/YYYY is an advance on its date. COUNTxAMOUNT@MM/DD/YYYY[/INTERVAL]\n"
                           "is a series of COUNT equal payments from the date, every INTERVAL: weekly,\n"
                           "biweekly, 4-weekly, semimonthly, monthly (the default), bimonthly, quarterly,\n"
                           "semiannually or annually; a COUNT of 1 is a single payment.",
                           "print the APR, the unit period and the disclosure as one JSON object"}},
      .make = [](const KindContext&) { return NewTilRecord(); },
      .reset = [](R& r, const KindContext&) { ResetTil(r); },
      .calc = [](R& r, const KindContext&) { return CalcTil(r); },
      .rows = [](const R& r) { return TilRows(r); }};
  return kind;
}

}  // namespace brevika
