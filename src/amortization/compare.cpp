#include "amortization/compare.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "amortization/apr.h"
#include "amortization/schedule.h"
#include "calculators/calc_record.h"
#include "calculators/loan.h"
#include "finance/rates.h"

namespace brevika {

namespace {

const char kTooFewText[] = "At least two offers are needed to compare.";
const char kTooManyText[] = "At most four offers can be compared.";
const char kHorizonText[] = "Horizon must be from 1 to 50 years.";
const char kDiscountText[] = "Discount Rate can't be negative.";
const char kPointsText[] = "Points can't be negative.\n\n";

Message Warn(const char* text) { return Message{text, BoxType::Warning}; }

// Amounts in whole cents: every schedule amount is a sum or difference of
// cent amounts, so this is exact, and ties and break-evens are to the cent.
long long Cents(double x) { return std::llround(x * 100.0); }
double FromCents(long long c) { return static_cast<double>(c) / 100.0; }

Message Named(int number, Message m) {
  m.text = "Offer " + std::to_string(number) + ": " + m.text;
  return m;
}

// List indexes outside their lists fall back to the defaults, as the
// schedule reads them; "Canadian" then sets its own periods.
void ResolveChoices(const LoanOffer& o, OfferFigures& f) {
  f.PYR = (o.PYR >= 0 && o.PYR <= 6) ? o.PYR : LoanDefaults.pyrIndex();
  f.CmpPYR = (o.CmpPYR >= 0 && o.CmpPYR <= 8) ? o.CmpPYR : LoanDefaults.compoundingPeriod;
  f.AmortMthd = (o.AmortMthd >= 0 && o.AmortMthd <= 5) ? o.AmortMthd : LoanDefaults.amortizingMethod;
  CanadianPeriods(f.AmortMthd, f.PYR, f.CmpPYR);
  f.paymentsPerYear = PyrPeriodsPerYear(f.PYR);
}

// The loan calculator's payment of the offer, in arrears. Its remarks (the
// fixed-principal "maximum payment" note) do not apply here: the schedule
// gives every payment.
std::optional<Message> LoanPayment(const LoanOffer& o, const OfferFigures& f, double& payment) {
  LoanRecord rec = NewLoanRecord();
  rec.PV = o.amount;
  rec.NumPmts = static_cast<std::int16_t>(o.periods);
  rec.Rate = o.rate;
  rec.Pmt = 0;
  rec.PYR.Select(f.PYR);
  rec.CmpPYR.Select(f.CmpPYR);
  rec.PmtMthd.Select(static_cast<int>(PaymentMethod::Arrears));
  rec.AmortMthd.Select(f.AmortMthd);
  const Outcome out = CalcLoan(rec);
  if (out.refused) return out.messages.back();
  payment = rec.Pmt;
  return std::nullopt;
}

// Runs one offer; a refusal comes back without its offer's name.
std::optional<Message> RunOffer(const LoanOffer& o, const CompareInputs& in, Date origination,
                                OfferFigures& f) {
  if (!std::isfinite(o.amount) || !std::isfinite(o.rate) || !std::isfinite(o.points) ||
      !std::isfinite(o.fees))
    return NonFiniteMessage();
  if (o.points < 0) return Message{kPointsText, BoxType::Information};
  ResolveChoices(o, f);
  const int P = f.paymentsPerYear;

  ScheduleInputs s;
  s.PV = o.amount;
  // Zero or negative payments are refused by the schedule as a zero; too
  // many by its maximum.
  s.NumPmts = static_cast<std::uint16_t>(std::clamp(o.periods, 0, 65535));
  s.Rate = o.rate;
  s.Points = o.points;
  s.OrgDate = origination;
  s.FrstPmtDate = StepPeriodForward(origination, static_cast<std::uint16_t>(P));
  s.PYR = f.PYR;
  s.CmpPYR = f.CmpPYR;
  s.AmortMthd = f.AmortMthd;
  s.RateBasis = LoanDefaults.interestBasis;
  s.PointsPaidMthd = kAtOrigination;
  s.OtherFees = o.fees;
  if (auto refusal = CheckPrepaidCharges(s)) return refusal;

  Schedule schedule(std::clamp(o.periods, 1, kMaxPeriods));
  const Outcome ran = schedule.Calculate(s);
  if (ran.refused) return ran.messages.back();
  if (auto refusal = LoanPayment(o, f, f.Payment)) return refusal;
  const AprResult apr = AnnualPercentageRate(schedule, s);
  if (apr.outcome.refused) return apr.outcome.messages.back();
  f.APR = apr.apr;

  f.pointsAmount = schedule.pointsAmount();
  f.fees = o.fees;
  f.UpfrontCost = RoundToCents(static_cast<long double>(f.pointsAmount) + o.fees);
  f.payments = schedule.lastRow();
  f.horizonPayment = std::min(in.horizonYears * P, f.payments);

  // Payment 0 is the origination: the upfront cost, no interest yet. Row 0
  // holds the points as its interest and is left out of every sum.
  const long double v = 1.0L / (1.0L + static_cast<long double>(in.discountRate) / 100.0L / P);
  const long long upfront = Cents(f.UpfrontCost);
  long long interest = 0, paid = 0;
  long double factor = 1.0L, discounted = 0;
  f.costs.clear();
  f.costs.reserve(static_cast<std::size_t>(f.payments) + 1);
  f.costs.push_back(CostPoint{0, schedule.row(0).date, f.UpfrontCost, f.UpfrontCost});
  for (int m = 1; m <= f.payments; ++m) {
    const ScheduleRow& row = schedule.row(m);
    factor *= v;
    interest += Cents(row.interest);
    paid += Cents(row.payment);
    discounted += row.interest * factor;
    f.costs.push_back(CostPoint{m, row.date, FromCents(upfront + interest),
                                static_cast<double>(f.UpfrontCost + discounted)});
    if (m == f.horizonPayment) {
      f.PaymentsToHorizon = FromCents(paid);
      f.InterestToHorizon = FromCents(interest);
      // The running balance carries the binary noise of its sums: to the cent.
      f.BalanceAtHorizon = RoundToCents(row.balance);
      f.CostToHorizon = FromCents(upfront + interest);
      f.PresentCost = RoundToCents(f.UpfrontCost + discounted);
      f.horizonPaymentDate = row.date;
    }
  }
  if (!std::isfinite(f.PresentCost) || !std::isfinite(f.APR) || !std::isfinite(f.Payment))
    return NonFiniteMessage();
  return std::nullopt;
}

// Cost by which the offers are ranked, in cents.
long long RankCost(const CompareResults& r, int index) {
  const OfferFigures& f = r.offers[static_cast<std::size_t>(index)];
  return Cents(r.discounted ? f.PresentCost : f.CostToHorizon);
}

void FindBreakEvens(CompareResults& r) {
  const int count = static_cast<int>(r.offers.size());
  for (int a = 0; a < count; ++a) {
    for (int b = a + 1; b < count; ++b) {
      const OfferFigures& fa = r.offers[static_cast<std::size_t>(a)];
      const OfferFigures& fb = r.offers[static_cast<std::size_t>(b)];
      if (fa.paymentsPerYear != fb.paymentsPerYear) continue;
      if (Cents(fa.UpfrontCost) == Cents(fb.UpfrontCost)) continue;
      const bool aHigher = Cents(fa.UpfrontCost) > Cents(fb.UpfrontCost);
      const OfferFigures& hi = aHigher ? fa : fb;
      const OfferFigures& lo = aHigher ? fb : fa;
      BreakEven be;
      be.offers = {a + 1, b + 1};
      be.higher = aHigher ? a + 1 : b + 1;
      be.within = std::min(fa.payments, fb.payments);
      for (int m = 1; m <= be.within; ++m) {
        const std::size_t k = static_cast<std::size_t>(m);
        if (Cents(hi.costs[k].cost) <= Cents(lo.costs[k].cost)) {
          be.payment = m;
          be.date = hi.costs[k].date;
          break;
        }
      }
      r.breakEven.push_back(be);
    }
  }
}

std::string Plural(int n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string Years(int n) { return Plural(n, "year", "years"); }

// "its points", "its fees", "its points and fees": what the upfront cost is.
std::string UpfrontWords(const OfferFigures& f) {
  const bool points = Cents(f.pointsAmount) > 0, fees = Cents(f.fees) > 0;
  if (points && fees) return "its points and fees";
  if (points) return "its points";
  return "its fees";
}

const BreakEven* FindPair(const CompareResults& r, int x, int y) {
  const std::array<int, 2> want{std::min(x, y), std::max(x, y)};
  for (const BreakEven& be : r.breakEven)
    if (be.offers == want) return &be;
  return nullptr;
}

// Why the offer with the lowest APR, L, is not the cheapest, C.
std::string AprReason(const CompareResults& r, int L, int C) {
  const std::string lowest = "Offer " + std::to_string(L) + " has the lowest APR";
  const OfferFigures& fl = r.offers[static_cast<std::size_t>(L - 1)];
  const OfferFigures& fc = r.offers[static_cast<std::size_t>(C - 1)];
  if (r.discounted && Cents(fl.CostToHorizon) < Cents(fc.CostToHorizon)) {
    return lowest + " and costs less than Offer " + std::to_string(C) +
           " before discounting, but its savings come later and are worth less in today's money.";
  }
  if (const BreakEven* be = FindPair(r, L, C); be && be->higher == L) {
    if (be->payment > r.horizonYears * fl.paymentsPerYear) {
      return lowest + ", but " + UpfrontWords(fl) + " pay for themselves only after " +
             DurationText(r.origination, be->date) + ".";
    }
    if (be->payment == 0) {
      const std::string last = fc.payments < fl.payments
                                   ? "Offer " + std::to_string(C) + "'s last payment"
                                   : "its last payment";
      return lowest + ", but " + UpfrontWords(fl) + " do not pay for themselves before " + last + ".";
    }
  }
  return lowest + ", but the APR assumes the loan is kept to its last payment.";
}

std::string AprSentence(const CompareResults& r) {
  const int count = static_cast<int>(r.offers.size());
  // APRs are compared as shown, to 4 decimals.
  auto key = [&](int n) {
    return std::llround(r.offers[static_cast<std::size_t>(n - 1)].APR * 10000.0);
  };
  long long best = key(1);
  for (int n = 2; n <= count; ++n) best = std::min(best, key(n));
  std::vector<int> lowest;
  for (int n = 1; n <= count; ++n)
    if (key(n) == best) lowest.push_back(n);
  const int C = r.Cheapest;
  std::vector<int> winners{C};
  winners.insert(winners.end(), r.tied.begin(), r.tied.end());
  auto isWinner = [&](int n) { return std::find(winners.begin(), winners.end(), n) != winners.end(); };

  if (std::find(lowest.begin(), lowest.end(), C) != lowest.end()) {
    std::vector<int> others;
    for (int n : lowest)
      if (n != C) others.push_back(n);
    const std::string s = "Offer " + std::to_string(C) + " also has the lowest APR";
    if (others.empty()) return s + ".";
    return s + (others.size() == 1 ? ", as does " : ", as do ") + OfferList(others) + ".";
  }
  std::vector<int> tiedLowest;
  for (int n : lowest)
    if (isWinner(n)) tiedLowest.push_back(n);
  if (!tiedLowest.empty()) {
    return "Of the tied offers, " + OfferList(tiedLowest) +
           (tiedLowest.size() == 1 ? " has" : " have") + " the lowest APR.";
  }
  if (lowest.size() > 1) {
    return OfferList(lowest) + " have the lowest APR, but the APR assumes a loan is kept to its "
                               "last payment.";
  }
  return AprReason(r, lowest.front(), C);
}

}  // namespace

std::string OfferList(const std::vector<int>& n) {
  if (n.empty()) return {};
  if (n.size() == 1) return "Offer " + std::to_string(n[0]);
  std::string s = "Offers ";
  for (std::size_t k = 0; k < n.size(); ++k) {
    if (k > 0) s += k + 1 == n.size() ? " and " : ", ";
    s += std::to_string(n[k]);
  }
  return s;
}

std::string DurationText(Date origination, Date date) {
  int d1, m1, y1, d2, m2, y2;
  SplitDate(origination, d1, m1, y1);
  SplitDate(date, d2, m2, y2);
  int months = (y2 - y1) * 12 + (m2 - m1) - (d2 < d1 ? 1 : 0);
  if (months < 1) {
    const int days = std::max(0, date - origination);
    if (days < 7) return Plural(days, "day", "days");
    return Plural(days / 7, "week", "weeks");
  }
  const int years = months / 12, rest = months % 12;
  if (years == 0) return Plural(rest, "month", "months");
  if (rest == 0) return Years(years);
  return Years(years) + " and " + Plural(rest, "month", "months");
}

void RankOffers(CompareResults& r) {
  r.Cheapest = 0;
  r.tied.clear();
  const int count = static_cast<int>(r.offers.size());
  if (count == 0) return;
  int best = 0;
  for (int k = 1; k < count; ++k)
    if (RankCost(r, k) < RankCost(r, best)) best = k;
  r.Cheapest = best + 1;
  for (int k = 0; k < count; ++k)
    if (k != best && RankCost(r, k) == RankCost(r, best)) r.tied.push_back(k + 1);
}

std::vector<std::string> BreakEvenLines(const CompareResults& r) {
  std::vector<std::string> lines;
  for (const BreakEven& be : r.breakEven) {
    const int other = be.higher == be.offers[0] ? be.offers[1] : be.offers[0];
    const std::string pair =
        "Offer " + std::to_string(be.higher) + " " +
        (be.payment > 0 ? "breaks" : "does not break") + " even with Offer " + std::to_string(other);
    if (be.payment > 0) {
      lines.push_back(pair + " after " + Plural(be.payment, "payment", "payments") + " (" +
                      DurationText(r.origination, be.date) + "), on " + FormatShortDate(be.date, true) +
                      ".");
    } else {
      lines.push_back(pair + " within " + Plural(be.within, "payment", "payments") + ".");
    }
  }
  return lines;
}

std::vector<std::string> CompareVerdict(const CompareResults& r, const LocaleFormat& loc) {
  std::vector<std::string> lines;
  const int count = static_cast<int>(r.offers.size());
  if (r.Cheapest < 1 || r.Cheapest > count) return lines;
  const int C = r.Cheapest;
  auto cost = [&](int n) {
    const OfferFigures& f = r.offers[static_cast<std::size_t>(n - 1)];
    return r.discounted ? f.PresentCost : f.CostToHorizon;
  };
  std::string s = "Offer " + std::to_string(C) + " costs the least over " + Years(r.horizonYears);
  if (r.discounted) s += " in today's money";
  std::vector<std::string> beats;
  for (int n = 1; n <= count; ++n) {
    if (n == C || std::find(r.tied.begin(), r.tied.end(), n) != r.tied.end()) continue;
    beats.push_back(FormatMoney(FromCents(Cents(cost(n)) - Cents(cost(C))), 2, loc) +
                    " less than Offer " + std::to_string(n));
  }
  std::string by;
  for (std::size_t k = 0; k < beats.size(); ++k) {
    if (k > 0) by += k + 1 == beats.size() ? " and " : ", ";
    by += beats[k];
  }
  if (r.tied.empty()) {
    s += ": " + by + ".";
  } else {
    s += ", tied with " + OfferList(r.tied) + ": each costs ";
    s += beats.empty() ? FormatMoney(cost(C), 2, loc) + "." : by + ".";
  }
  lines.push_back(s);
  lines.push_back(AprSentence(r));
  return lines;
}

Outcome CompareLoanOffers(const CompareInputs& in, CompareResults& out, const LocaleFormat& loc,
                          int* refusedOffer) {
  if (refusedOffer) *refusedOffer = 0;
  const int count = static_cast<int>(in.offers.size());
  if (count < kMinOffers) return Outcome::Refuse(Warn(kTooFewText));
  if (count > kMaxOffers) return Outcome::Refuse(Warn(kTooManyText));
  if (in.horizonYears < kMinHorizonYears || in.horizonYears > kMaxHorizonYears)
    return Outcome::Refuse(Warn(kHorizonText));
  if (!std::isfinite(in.discountRate)) return Outcome::Refuse(NonFiniteMessage());
  if (in.discountRate < 0) return Outcome::Refuse(Warn(kDiscountText));

  int day, month, year;
  SplitDate(in.today, day, month, year);
  CompareResults r;
  r.origination = MakeDate(1, month, year);
  if (r.origination == kBadDate) return Outcome::Refuse(NonFiniteMessage());
  r.horizonYears = in.horizonYears;
  r.horizonDate = IncDate(r.origination, 0, 0, in.horizonYears);
  r.discountRate = in.discountRate;
  r.discounted = in.discountRate > 0;
  r.offers.resize(in.offers.size());
  for (int k = 0; k < count; ++k) {
    const std::size_t i = static_cast<std::size_t>(k);
    if (auto refusal = RunOffer(in.offers[i], in, r.origination, r.offers[i])) {
      if (refusedOffer) *refusedOffer = k + 1;
      return Outcome::Refuse(Named(k + 1, *refusal));
    }
  }
  RankOffers(r);
  FindBreakEvens(r);
  r.breakEvenLines = BreakEvenLines(r);
  r.verdict = CompareVerdict(r, loc);
  out = std::move(r);
  return Outcome::Ok();
}

}  // namespace brevika
