#include "amortization/compare_record.h"

#include <algorithm>

#include "calculators/refinance_narrative.h"

namespace brevika {

namespace {

// The print columns: captions from 0.75 in, then one right-aligned column
// per offer, together no wider than 7 in.
constexpr double kLabelLeft = 0.75;
constexpr double kLabelWidth = 2.0;
constexpr double kBodyWidth = 7.0;
constexpr double kMaxValueWidth = 1.5;

std::string ValueDirective(RowKind kind, bool print) {
  switch (kind) {
    case RowKind::Money: return "%16.2m";
    case RowKind::Count: return "%16d";
    case RowKind::Number: return "%16.4n";
    case RowKind::Choice: return print ? "%.12s" : "%16s";
    default: break;  // the comparison's rows are of these four kinds only
  }
  return "%16s";
}

CompareRow Row(RowKind kind, const std::string& caption, const CompareRecord& rec,
               FormatArg (*value)(const CompareOfferEntry&)) {
  CompareRow row{kind, caption, {}};
  for (const CompareOfferEntry& o : rec.Offers) row.values.push_back(value(o));
  return row;
}

std::string CopyLine(const CompareRow& row, const LocaleFormat& loc) {
  std::string line = Format("%-24s", {StripAccelerator(row.caption)}, loc);
  const std::string directive = ValueDirective(row.kind, false);
  for (const FormatArg& v : row.values) line += " " + Format(directive, {v}, loc);
  return line + "\r\n";
}

std::string PrintLine(const CompareRow& row, const LocaleFormat& loc) {
  std::string line = Format("\t%-24s", {StripAccelerator(row.caption)}, loc);
  const std::string directive = ValueDirective(row.kind, true);
  for (const FormatArg& v : row.values) line += "\t" + Format(directive, {v}, loc);
  return line;
}

std::vector<std::string> OfferHeadings(const CompareRecord& rec) {
  std::vector<std::string> names;
  for (std::size_t k = 0; k < rec.Offers.size(); ++k) names.push_back("Offer " + std::to_string(k + 1));
  return names;
}

void ClearFigures(CompareRecord& rec) {
  for (CompareOfferEntry& o : rec.Offers) {
    o.Pmt = o.APR = o.PaymentsToHorizon = o.InterestToHorizon = o.BalanceAtHorizon = 0;
    o.UpfrontCost = o.CostToHorizon = o.PresentCost = 0;
  }
  rec.BreakEven.clear();
  rec.Verdict.clear();
}

}  // namespace

CompareOfferEntry NewCompareOffer() {
  CompareOfferEntry o;
  o.PYR = ListEntry::Of(PaymentPeriodItems(), LoanDefaults.pyrIndex());
  o.CmpPYR = ListEntry::Of(CompoundingPeriodItems(), LoanDefaults.compoundingPeriod);
  o.AmortMthd = ListEntry::Of(AmortizingMethodItems(), LoanDefaults.amortizingMethod);
  return o;
}

CompareRecord NewCompareRecord() {
  CompareRecord r;
  r.Offers = {NewCompareOffer(), NewCompareOffer()};
  return r;
}

void ResetCompare(CompareRecord& rec) {
  rec.Offers = {NewCompareOffer(), NewCompareOffer()};
  rec.Horizon = 1;
  rec.DiscRate = 0;
  ClearFigures(rec);
}

bool AddCompareOffer(CompareRecord& rec) {
  if (static_cast<int>(rec.Offers.size()) >= kMaxOffers) return false;
  rec.Offers.push_back(NewCompareOffer());
  ClearFigures(rec);
  return true;
}

bool RemoveCompareOffer(CompareRecord& rec, int index) {
  const int count = static_cast<int>(rec.Offers.size());
  if (count <= kMinOffers || index < 0 || index >= count) return false;
  rec.Offers.erase(rec.Offers.begin() + index);
  ClearFigures(rec);
  return true;
}

CompareOfferEntry CompareOfferOf(const LoanOffer& offer) {
  CompareOfferEntry o = NewCompareOffer();
  o.PV = offer.amount;
  o.NumPmts = static_cast<std::int16_t>(std::clamp(offer.periods, -32768, 32767));
  o.Rate = offer.rate;
  o.Points = offer.points;
  o.Fees = offer.fees;
  o.PYR.Select(offer.PYR);
  o.CmpPYR.Select(offer.CmpPYR);
  o.AmortMthd.Select(offer.AmortMthd);
  return o;
}

CompareInputs CompareInputsOf(const CompareRecord& rec, Date today) {
  CompareInputs in;
  for (const CompareOfferEntry& o : rec.Offers) {
    LoanOffer offer;
    offer.amount = o.PV;
    offer.periods = o.NumPmts;
    offer.rate = o.Rate;
    offer.points = o.Points;
    offer.fees = o.Fees;
    offer.PYR = o.PYR.index;
    offer.CmpPYR = o.CmpPYR.index;
    offer.AmortMthd = o.AmortMthd.index;
    in.offers.push_back(offer);
  }
  in.horizonYears = rec.Horizon;
  in.discountRate = rec.DiscRate;
  in.today = today;
  return in;
}

Outcome CalcCompare(CompareRecord& rec, Date today, CompareResults* results, const LocaleFormat& loc,
                    int* refusedOffer) {
  for (CompareOfferEntry& o : rec.Offers) ApplyCanadianPeriods(o.AmortMthd.index, o.PYR, o.CmpPYR);
  CompareResults r;
  const Outcome out = CompareLoanOffers(CompareInputsOf(rec, today), r, loc, refusedOffer);
  if (out.refused) return out;
  for (std::size_t k = 0; k < rec.Offers.size(); ++k) {
    CompareOfferEntry& o = rec.Offers[k];
    const OfferFigures& f = r.offers[k];
    o.Pmt = f.Payment;
    o.APR = f.APR;
    o.PaymentsToHorizon = f.PaymentsToHorizon;
    o.InterestToHorizon = f.InterestToHorizon;
    o.BalanceAtHorizon = f.BalanceAtHorizon;
    o.UpfrontCost = f.UpfrontCost;
    o.CostToHorizon = f.CostToHorizon;
    o.PresentCost = f.PresentCost;
  }
  rec.BreakEven = r.breakEvenLines;
  rec.Verdict = r.verdict;
  if (results) *results = std::move(r);
  return out;
}

std::vector<CompareRow> CompareTermRows(const CompareRecord& rec) {
  using E = const CompareOfferEntry&;
  return {
      Row(RowKind::Money, rec.lPV, rec, [](E o) -> FormatArg { return o.PV; }),
      Row(RowKind::Count, rec.lNumPmts, rec, [](E o) -> FormatArg { return static_cast<long long>(o.NumPmts); }),
      Row(RowKind::Number, rec.lRate, rec, [](E o) -> FormatArg { return static_cast<double>(o.Rate); }),
      Row(RowKind::Number, rec.lPoints, rec, [](E o) -> FormatArg { return static_cast<double>(o.Points); }),
      Row(RowKind::Money, rec.lFees, rec, [](E o) -> FormatArg { return o.Fees; }),
      Row(RowKind::Choice, rec.lPYR, rec, [](E o) -> FormatArg { return o.PYR.SelectedText(); }),
      Row(RowKind::Choice, rec.lCmpPYR, rec, [](E o) -> FormatArg { return o.CmpPYR.SelectedText(); }),
      Row(RowKind::Choice, rec.lAmortMthd, rec, [](E o) -> FormatArg { return o.AmortMthd.SelectedText(); }),
  };
}

std::vector<CompareRow> CompareFigureRows(const CompareRecord& rec) {
  using E = const CompareOfferEntry&;
  return {
      Row(RowKind::Money, rec.lPmt, rec, [](E o) -> FormatArg { return o.Pmt; }),
      Row(RowKind::Number, rec.lAPR, rec, [](E o) -> FormatArg { return o.APR; }),
      Row(RowKind::Money, rec.lPaymentsToHorizon, rec, [](E o) -> FormatArg { return o.PaymentsToHorizon; }),
      Row(RowKind::Money, rec.lInterestToHorizon, rec, [](E o) -> FormatArg { return o.InterestToHorizon; }),
      Row(RowKind::Money, rec.lBalanceAtHorizon, rec, [](E o) -> FormatArg { return o.BalanceAtHorizon; }),
      Row(RowKind::Money, rec.lUpfrontCost, rec, [](E o) -> FormatArg { return o.UpfrontCost; }),
      Row(RowKind::Money, rec.lCostToHorizon, rec, [](E o) -> FormatArg { return o.CostToHorizon; }),
      Row(RowKind::Money, rec.lPresentCost, rec, [](E o) -> FormatArg { return o.PresentCost; }),
  };
}

std::string CompareCopyText(const std::string& windowCaption, const CompareRecord& rec,
                            const LocaleFormat& loc) {
  std::string out = windowCaption + "\r\n\r\n";
  out += Format("%-24s", {std::string()}, loc);
  for (const std::string& name : OfferHeadings(rec)) out += " " + Format("%16s", {name}, loc);
  out += "\r\n";
  for (const CompareRow& row : CompareTermRows(rec)) out += CopyLine(row, loc);
  out += "\r\n";
  for (const CompareRow& row : CompareFigureRows(rec)) out += CopyLine(row, loc);
  out += "\r\n";
  out += Format("%-24s %16d\r\n", {StripAccelerator(rec.lHorizon), static_cast<long long>(rec.Horizon)}, loc);
  out += Format("%-24s %16.4n\r\n", {StripAccelerator(rec.lDiscRate), static_cast<double>(rec.DiscRate)}, loc);
  for (const std::vector<std::string>* block : {&rec.BreakEven, &rec.Verdict}) {
    if (block->empty()) continue;
    out += "\r\n";
    for (const std::string& line : *block) out += line + "\r\n";
  }
  return out;
}

std::vector<Page> ComparePage(const std::string& windowCaption, const CompareRecord& rec,
                              const std::string& fontName, int fontPoints, const LocaleFormat& loc) {
  PageBuilder b(fontName, fontPoints);
  BeginCalculatorPage(b, windowCaption);
  const int count = std::max<int>(1, static_cast<int>(rec.Offers.size()));
  const double valueWidth = std::min(kMaxValueWidth, (kBodyWidth - kLabelWidth) / count);
  b.ClearTabs();
  b.SetTab({kLabelLeft, kLabelWidth, Align::Left, 2});
  for (int k = 0; k < count; ++k)
    b.SetTab({kLabelLeft + kLabelWidth + k * valueWidth, valueWidth, Align::Right, 2});

  std::string heading = "\t";
  for (const std::string& name : OfferHeadings(rec)) heading += "\t" + name;
  b.Bold(true);
  b.PrintTabbed(heading);
  b.Bold(false);
  b.NewLine();
  for (const auto& group : {CompareTermRows(rec), CompareFigureRows(rec)}) {
    for (const CompareRow& row : group) {
      b.PrintTabbed(PrintLine(row, loc));
      b.NewLine();
    }
    b.NewLine();
  }
  b.PrintTabbed(Format("\t%-24s\t%16d", {StripAccelerator(rec.lHorizon), static_cast<long long>(rec.Horizon)}, loc));
  b.NewLine();
  b.PrintTabbed(Format("\t%-24s\t%16.4n", {StripAccelerator(rec.lDiscRate), static_cast<double>(rec.DiscRate)}, loc));
  b.NewLine();

  // The sentences under one tab stop as wide as the body.
  b.ClearTabs();
  b.SetTab({kLabelLeft, kBodyWidth, Align::Left, 0});
  for (const std::vector<std::string>* block : {&rec.BreakEven, &rec.Verdict}) {
    if (block->empty()) continue;
    b.NewLine();
    for (const std::string& line : *block) {
      for (const std::string& part : WrapLine(line)) {
        b.PrintTabbed("\t" + part);
        b.NewLine();
      }
    }
  }
  return b.Finish();
}

const KindDescription<CompareRecord>& CompareKind() {
  using R = CompareRecord;
  // Help topics: the window and how the comparison works.
  constexpr int kWindowTopic = 280, kRulesTopic = 281;
  static const KindDescription<R> kind{
      .info = {.kind = CalcKind::CompareLoans,
               .title = "Compare Loans",
               .slotCount = 1,
               .menu = {"CompareLoans1", "Co&mpare Loans...", "Ctrl+M", KindMenu::Advisors},
               .help = {.window = kWindowTopic},
               .command = {"compare", "compare two to four loan offers over the years the loan is kept",
                           "Each --offer is KEY=VALUE pairs separated by commas: amount, rate and periods\n"
                           "(required), points (percent of the amount), fees, payment-period, compounding\n"
                           "and amortizing (defaults: 0, 0, Monthly, Monthly, Normal). Every loan starts\n"
                           "on the 1st of the current month, its first payment one period later.",
                           "print each offer's figures, the cheapest offer, the break-even payments and "
                           "the verdict as one JSON object"}},
      .make = [](const KindContext&) { return NewCompareRecord(); },
      .reset = [](R& r, const KindContext&) { ResetCompare(r); },
      .calc = [](R& r, const KindContext& c) { return CalcCompare(r, c.today, nullptr, c.format); },
      // The offers are columns of the window's own making; these are the
      // fields beside them.
      .fields = {Field("Horizon", &R::lHorizon, &R::Horizon, kRulesTopic)
                     .Option("--horizon", "years the loan is kept, 1 to 50", kRequired),
                 Field("DiscRate", &R::lDiscRate, &R::DiscRate, kRulesTopic)
                     .Option("--discount-rate", "discount rate in percent a year (default 0)")},
      .copyText = CompareCopyText,
      .printPages = ComparePage};
  return kind;
}

}  // namespace brevika
