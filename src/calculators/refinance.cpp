#include "calculators/refinance.h"

#include <cmath>

#include "calculators/refinance_narrative.h"
#include "finance/items.h"
#include "finance/periods.h"
#include "finance/rates.h"

namespace brevika {

namespace {

const char* const kCurTooLong = "Original mortgage over maximum number of years.";
const char* const kNewTooLong = "Possible mortgage over maximum number of years.";
const char* const kPeriodsDiffer = "Each loan must be for same periods per year.";
const char* const kZeros = "No zero values allowed.\r";
const char* const kMustEqual =
    "New Loan Amount must equal Remaining Balance.\r\r"
    "Later versions of this program will remove this restriction.\r";

Outcome Refuse(const char* text) { return Outcome::Refuse(Message{text, BoxType::Information}); }

bool IsDeductible(const RefiRecord& r) { return r.Deduct.index == 0; }
bool PointsAmortized(const RefiRecord& r) { return r.PntsAre.index == 1; }

// Periods of a loan that fall before the sale: p x S, or all of them.
std::int16_t HeldPeriods(std::uint16_t p, std::int16_t soldAfter, std::int16_t periods) {
  const long long beforeSale = static_cast<long long>(p) * soldAfter;
  return beforeSale < periods ? static_cast<std::int16_t>(beforeSale) : periods;
}

bool Finite(const RefiResults& r) {
  for (double v : {r.PmtCur, r.PmtNew, r.BalCurAtSale, r.BalNewAtSale, r.PaidDownCur,
                   r.PaidDownNew, r.CostCur, r.CostNew, r.ReinvestValue, r.ExtraCapitalValue,
                   r.PmtExtra, r.LostDeduction, r.NetSavings})
    if (!std::isfinite(v)) return false;
  return true;
}

// Step 1: each loan's payment, discounted after-tax cost and paydown.
void CompareLoans(const RefiRecord& rec, std::uint16_t p, long double d, long double taxFactor,
                  RefiResults& r) {
  const bool deductible = IsDeductible(rec);

  r.HoldCur = HeldPeriods(p, rec.SldAfter, rec.PmtsRem);
  if (r.HoldCur == rec.PmtsRem) r.PaidDownCur = rec.RemBal;  // paid off by the sale
  r.PmtCur = LevelPaymentArrears(rec.PmtsRem, p, p, rec.RemBal, rec.Rate);
  const InterestRun cur = DiscountedInterestRun(rec.Rate, r.HoldCur, r.PmtCur, rec.RemBal, p, d);
  r.CostCur = cur.discountedInterest;
  // A loan paid off by the sale owes nothing, whatever cents the rounded
  // payments left over.
  r.BalCurAtSale = r.HoldCur == rec.PmtsRem ? 0.0 : cur.endBalance;
  if (deductible) r.CostCur = static_cast<double>(r.CostCur * taxFactor);
  if (r.PaidDownCur == 0) r.PaidDownCur = rec.RemBal - r.BalCurAtSale;

  r.HoldNew = HeldPeriods(p, rec.SldAfter, rec.NumPmts);
  if (r.HoldNew == rec.NumPmts) r.PaidDownNew = rec.NewPV;
  r.PmtNew = LevelPaymentArrears(rec.NumPmts, p, p, rec.NewPV, rec.Rate2);
  const InterestRun nw = DiscountedInterestRun(rec.Rate2, r.HoldNew, r.PmtNew, rec.NewPV, p, d);
  r.CostNew = nw.discountedInterest;
  r.BalNewAtSale = r.HoldNew == rec.NumPmts ? 0.0 : nw.endBalance;

  long double points = static_cast<long double>(rec.Points) / 100 * rec.NewPV;
  if (deductible) {
    if (PointsAmortized(rec))  // only the share written off before the sale
      points = points * (static_cast<long double>(r.HoldNew) / rec.NumPmts) * taxFactor;
    else
      points = points * taxFactor;
  }
  long double costNew = r.CostNew;
  if (deductible) costNew *= taxFactor;
  costNew += rec.Misc + points;
  if (r.HoldNew < rec.NumPmts) costNew += rec.Penalty;  // still running at the sale
  r.CostNew = static_cast<double>(costNew);
  if (r.PaidDownNew == 0) r.PaidDownNew = rec.NewPV - r.BalNewAtSale;
}

// Step 2: the payment difference invested at the discount rate.
void Reinvest(long double d, RefiResults& r) {
  const std::int16_t holdCur = r.HoldCur, holdNew = r.HoldNew;
  const double diff = std::fabs(r.PmtCur - r.PmtNew);
  if (holdCur == holdNew) {
    r.Horizon = holdCur;
    long double sum = ReinvestmentRun(1, r.Horizon, diff, diff, d);
    if (r.PmtNew > r.PmtCur) sum = -sum;
    r.ReinvestValue = static_cast<double>(sum);
  } else if (holdCur < holdNew) {  // the current loan ends first
    r.Horizon = holdNew;
    long double first = ReinvestmentRun(1, holdCur, diff, diff, d);
    if (r.PmtNew >= r.PmtCur) first = -first;
    const long double second = ReinvestmentRun(holdCur + 1, holdNew, r.PmtCur, r.PmtCur, d);
    r.ReinvestValue = static_cast<double>(first - second);
  } else {  // the new loan ends first
    r.Horizon = holdCur;
    long double first = ReinvestmentRun(1, holdNew, diff, diff, d);
    if (r.PmtNew >= r.PmtCur) first = -first;
    const long double second = ReinvestmentRun(holdNew + 1, holdCur, r.PmtNew, r.PmtNew, d);
    r.ReinvestValue = static_cast<double>(first + second);
  }
}

// Step 3: borrowing less or more than the remaining balance.
void ExtraCapital(const RefiRecord& rec, std::uint16_t p, long double d, long double taxFactor,
                  RefiResults& r) {
  if (rec.RemBal > rec.NewPV) {
    // The difference is paid up front: the income it would have earned is
    // given up, so it counts against the refinancing.
    const double extra = rec.RemBal - rec.NewPV;
    double fund = extra;
    long double forgone = 0;
    for (int k = 1; k <= r.Horizon; ++k) {
      const double income = RoundToCentsShort(fund * d);
      fund += income;
      forgone += income / std::pow(1.0L + d, static_cast<long double>(k));
    }
    r.ExtraCapitalValue = static_cast<double>(-forgone);
  } else {
    // Borrowed beyond the balance: what it earns at the discount rate less
    // what it costs at the new loan's rate, paid off by PmtExtra.
    const double extra = rec.NewPV - rec.RemBal;
    long double cost = DiscountedInterestRun(rec.Rate2, r.Horizon, r.PmtExtra, extra, p, d)
                           .discountedInterest;
    if (IsDeductible(rec) && rec.ProTaxBracket != 0) cost *= taxFactor;
    const long double earned =
        DiscountedInterestRun(rec.DiscRate, r.Horizon, r.PmtExtra, extra, p, d).discountedInterest;
    r.ExtraCapitalValue = static_cast<double>(earned - cost);
  }
}

}  // namespace

RefiRecord NewRefiRecord() {
  RefiRecord r;
  r.PYR = ListEntry::Of(PaymentPeriodItems(), LoanDefaults.pyrIndex());
  r.PYR2 = ListEntry::Of(PaymentPeriodItems(), LoanDefaults.pyrIndex());
  r.Deduct = ListEntry::Of(DeductibilityItems(), LoanDefaults.deductibility);
  r.PntsAre = ListEntry::Of(PointsTreatmentItems(), LoanDefaults.pointsTreatment);
  return r;
}

void ResetRefinance(RefiRecord& rec) { rec = NewRefiRecord(); }

InterestRun DiscountedInterestRun(float rate, int periods, double payment, double balance,
                                  std::uint16_t p, long double d) {
  const long double perPeriod = static_cast<long double>(rate) / 100 / p;
  double b = balance;
  double a = 0;
  for (int k = 1; k <= periods; ++k) {
    const double interest = RoundToCentsShort(b * perPeriod);
    b = RoundToCentsShort(static_cast<long double>(b) + interest - payment);
    a = RoundToCentsShort(a + interest / std::pow(1.0L + d, static_cast<long double>(k)));
  }
  return {a, b <= 0 ? 0.0 : b};
}

long double ReinvestmentRun(int first, int last, double deposit, double fund, long double d) {
  long double sum = 0;
  for (int k = first; k <= last; ++k) {
    const double income = RoundToCentsShort(fund * d);
    sum += income / std::pow(1.0L + d, static_cast<long double>(k));
    fund = static_cast<double>(static_cast<long double>(fund) + deposit + income);
  }
  return sum;
}

Outcome AnalyseRefinance(const RefiRecord& rec, RefiResults& out) {
  const std::uint16_t pCur = PyrPeriodsPerYear(rec.PYR.index);
  const std::uint16_t pNew = PyrPeriodsPerYear(rec.PYR2.index);
  if (pCur == 0 || pNew == 0) return Outcome::Refuse(NonFiniteMessage());  // no such period
  if (rec.PmtsRem / static_cast<int>(pCur) > kRefiMaxYears) return Refuse(kCurTooLong);
  if (rec.NumPmts / static_cast<int>(pNew) > kRefiMaxYears) return Refuse(kNewTooLong);
  if (pCur != pNew) return Refuse(kPeriodsDiffer);
  if (rec.PmtsRem == 0 || rec.NumPmts == 0 || rec.Rate == 0 || rec.Rate2 == 0 ||
      rec.SldAfter < 1)
    return Refuse(kZeros);

  const std::uint16_t p = pCur;
  const long double T = static_cast<long double>(rec.ProTaxBracket) / 100;
  const long double d = static_cast<long double>(rec.DiscRate) / 100 / p;
  const long double taxFactor = 1 - T;

  RefiResults r;
  CompareLoans(rec, p, d, taxFactor, r);
  Reinvest(d, r);
  // Investment income counts only at a positive discount rate, the only
  // case in which the verdict speaks of it.
  // The payment on an amount borrowed beyond the balance, kept apart so
  // PmtNew stays the new loan's payment; 0 when nothing extra is borrowed.
  if (rec.NewPV > rec.RemBal)
    r.PmtExtra = LevelPaymentArrears(rec.NumPmts, p, p, rec.NewPV - rec.RemBal, rec.Rate2);
  if (rec.DiscRate > 0) ExtraCapital(rec, p, d, taxFactor, r);
  else r.ReinvestValue = 0;

  if (!Finite(r)) return Outcome::Refuse(NonFiniteMessage());
  out = r;
  return Outcome::Ok();
}

Outcome CalcRefinance(RefiRecord& rec, RefiResults* results, const LocaleFormat& loc) {
  RefiResults r;
  Outcome out = AnalyseRefinance(rec, r);
  if (out.refused) return out;
  const RefiNarrative n = BuildRefiNarrative(rec, r, loc);
  if (!Finite(r)) return Outcome::Refuse(NonFiniteMessage());
  rec.Memo1 = NarrativeMemo(n);
  if (results) *results = r;
  return out;
}

const KindDescription<RefiRecord>& RefinanceKind() {
  using R = RefiRecord;
  // The advisor's fields have no topics of their own: F1 opens the window's.
  constexpr int kWindowTopic = -1;
  static const KindDescription<R> kind{
      .info = {.kind = CalcKind::Refinance,
               .title = "Refinance Advisor",
               .slotCount = 1,
               .menu = {"Refinance2", "&Refinance...", "Ctrl+R", KindMenu::Advisors},
               .help = {.window = 31},
               .command = {"refinance", "compare the current loan with a possible new one", nullptr,
                           "print the results as one JSON object"}},
      .make = [](const KindContext&) { return NewRefiRecord(); },
      .reset = [](R& r, const KindContext&) { ResetRefinance(r); },
      .calc = [](R& r, const KindContext& c) { return CalcRefinance(r, nullptr, c.format); },
      .fields = {
          Field("RemBal", &R::lRemBal, &R::RemBal, kWindowTopic)
              .Group(&R::Label1, "Label1")
              .Option("--balance", "remaining balance of the current loan", kRequired),
          Field("PmtsRem", &R::lPmtsRem, &R::PmtsRem, kWindowTopic)
              .Option("--periods-remaining", "payments remaining on the current loan", kRequired),
          Field("Rate", &R::lRate, &R::Rate, kWindowTopic)
              .Option("--rate", "annual rate of the current loan", kRequired),
          Field("PYR", &R::lPYR, &R::PYR, kWindowTopic).Option("--payment-period"),
          Field("NewPV", &R::lNewPV, &R::NewPV, kWindowTopic)
              .Group(&R::Label2, "Label2")
              .Option("--new-amount", "amount of the new loan", kRequired),
          Field("NumPmts", &R::lNumPmts, &R::NumPmts, kWindowTopic)
              .Option("--periods", "payments of the new loan", kRequired),
          Field("Rate2", &R::lRate2, &R::Rate2, kWindowTopic)
              .Option("--new-rate", "annual rate of the new loan", kRequired),
          Field("PYR2", &R::lPYR2, &R::PYR2, kWindowTopic).Option("--new-payment-period"),
          Field("Points", &R::lPoints, &R::Points, kWindowTopic)
              .Option("--points", "points, per cent of the new loan"),
          Field("Misc", &R::lMisc, &R::Misc, kWindowTopic).Option("--misc", "miscellaneous closing costs"),
          Field("Penalty", &R::lPenalty, &R::Penalty, kWindowTopic).Option("--penalty", "prepayment penalty"),
          Field("Deduct", &R::lDeduct, &R::Deduct, kWindowTopic)
              .Group(nullptr, "Panel3")
              .Option("--deductible"),
          Field("PntsAre", &R::lPntsAre, &R::PntsAre, kWindowTopic).Option("--points-are"),
          Field("SldAfter", &R::lSldAfter, &R::SldAfter, kWindowTopic)
              .Option("--sold-after", "years until the property is sold (default 1)"),
          Field("ProTaxBracket", &R::lProTaxBracket, &R::ProTaxBracket, kWindowTopic)
              .Option("--tax-bracket", "projected tax bracket in percent"),
          Field("DiscRate", &R::lDiscRate, &R::DiscRate, kWindowTopic)
              .Option("--discount-rate", "discount rate in percent a year")},
      .memo = &R::Memo1,
      .memoColumns = kMemoWidth,
      .copyText = RefiCopyText,
      .printPages = RefinancePage};
  return kind;
}

void FollowRemainingBalance(double remBal, double& newPV) { newPV = remBal; }

std::optional<Message> RestrictNewLoanAmount(double remBal, double& newPV) {
  if (newPV == remBal) return std::nullopt;
  newPV = remBal;
  return Message{kMustEqual, BoxType::Information};
}

}  // namespace brevika
