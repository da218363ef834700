// brevika-calc's calculator commands, one for each kind of the registry
// (records/kind_registry.h): the options, the copy text and the JSON come
// from the kind's description. A kind whose command does more than read its
// options, Calc and print its record says what in its KindCommandOf below.
#include <cmath>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "amortization/compare_offer_text.h"
#include "cli/cli.h"
#include "finance/parse.h"
#include "finance/rates.h"
#include "records/kind_registry.h"

namespace brevika::cli {

namespace {

// Where the command line makes and calculates a record: today, English
// weekday names, the user's money format (US English for the JSON).
KindContext CommandContext(bool json) {
  return KindContext{TodayDate(), EnglishWeekdayNames(), json ? UsLocaleFormat() : UserLocale()};
}

// A field's value in the JSON: amounts and rates at full precision, dates
// as MM/DD/YYYY, lists by their text.
Json ValueJson(double v) { return DoubleJson(v); }
Json ValueJson(float v) { return FloatJson(v); }
Json ValueJson(std::int16_t v) { return v; }
Json ValueJson(Date v) { return DateText(v); }
Json ValueJson(const ListEntry& v) { return v.text; }
Json ValueJson(const std::string& v) { return v; }

// The record as one JSON object, in the kind's JSON order.
template <class R>
Json RecordJson(const KindDescription<R>& kind, const R& r) {
  Json j;
  for (const KindField<R>* f : kind.Ordered(kind.jsonOrder))
    if (*f->JsonName()) std::visit([&](auto member) { j[f->JsonName()] = ValueJson(r.*member); }, f->value);
  return j;
}

// A field's option, read by the rules of its entry field.
template <class R>
void Bind(Options& o, const KindField<R>& f, double& v) { o.Money(f.option, f.optionHelp, v, f.required); }
template <class R>
void Bind(Options& o, const KindField<R>& f, float& v) { o.Rate(f.option, f.optionHelp, v, f.required); }
template <class R>
void Bind(Options& o, const KindField<R>& f, std::int16_t& v) { o.Count(f.option, f.optionHelp, v, f.required); }
template <class R>
void Bind(Options& o, const KindField<R>& f, Date& v) { o.Day(f.option, f.optionHelp, v, f.required); }
// A list's help names its items and the record's initial choice.
template <class R>
void Bind(Options& o, const KindField<R>& f, ListEntry& v) { o.Choice(f.option, v, v.index); }
template <class R>
void Bind(Options&, const KindField<R>&, std::string&) {}

// What a kind's command does around the common steps. A kind with more to
// do specialises KindCommandOf below, deriving from these defaults.
template <class R>
struct KindCommandDefaults {
  // Options beyond the fields' (a repeatable option for a list the record
  // holds), added after them; Prepare or Run reads them.
  static void AddOptions(CLI::App*, R&) {}
  // Before the options are read: checks of their combination, synonyms.
  static void Prepare(Options&, R&) {}
  // Calc; `json`, when given, receives the object to print.
  static Outcome Run(const KindDescription<R>& kind, const Options&, R& rec, Json* json) {
    const Outcome outcome = kind.calc(rec, CommandContext(json != nullptr));
    if (json) *json = RecordJson(kind, rec);
    return outcome;
  }
};

template <class R>
struct KindCommandOf : KindCommandDefaults<R> {};

template <>
struct KindCommandOf<IntDueRecord> : KindCommandDefaults<IntDueRecord> {
  static void Prepare(Options& o, IntDueRecord&) {
    const bool days = o.Given("--days"), start = o.Given("--start-date"), end = o.Given("--end-date");
    if (days == (start || end) || start != end)
      throw BadArgument("give either --days or both --start-date and --end-date");
  }
  static Outcome Run(const KindDescription<IntDueRecord>& kind, const Options& o, IntDueRecord& rec,
                     Json* json) {
    // As if typed into the window: the day count, or the start and then the end date.
    const bool days = o.Given("--days");
    Outcome outcome = days ? IntDueFieldChanged(rec, IntDueField::NumDays)
                           : IntDueFieldChanged(rec, IntDueField::StartDate);
    if (!days && !outcome.refused) outcome = IntDueFieldChanged(rec, IntDueField::EndDate);
    if (!outcome.refused) outcome = kind.calc(rec, CommandContext(json != nullptr));
    if (json) *json = RecordJson(kind, rec);
    return outcome;
  }
};

template <>
struct KindCommandOf<RefiRecord> : KindCommandDefaults<RefiRecord> {
  // "yes" and "no" stand for the two deductibility items.
  static void Prepare(Options& o, RefiRecord& rec) {
    if (std::string* t = o.Text("--deductible")) {
      if (FindItem({"yes"}, *t) == 0) *t = rec.Deduct.items[0];
      else if (FindItem({"no"}, *t) == 0) *t = rec.Deduct.items[1];
    }
  }
  // The JSON holds the analysis and the verdict, not the record.
  static Outcome Run(const KindDescription<RefiRecord>&, const Options&, RefiRecord& rec, Json* json) {
    RefiResults res;
    const Outcome outcome = CalcRefinance(rec, &res, CommandContext(json != nullptr).format);
    if (!json) return outcome;
    Json& j = *json;
    j["PmtCur"] = DoubleJson(res.PmtCur);
    j["PmtNew"] = DoubleJson(res.PmtNew);
    j["PmtExtra"] = DoubleJson(res.PmtExtra);
    j["HoldCur"] = res.HoldCur;
    j["HoldNew"] = res.HoldNew;
    j["Horizon"] = res.Horizon;
    j["BalCurAtSale"] = DoubleJson(res.BalCurAtSale);
    j["BalNewAtSale"] = DoubleJson(res.BalNewAtSale);
    j["PaidDownCur"] = DoubleJson(res.PaidDownCur);
    j["PaidDownNew"] = DoubleJson(res.PaidDownNew);
    j["CostCur"] = DoubleJson(res.CostCur);
    j["CostNew"] = DoubleJson(res.CostNew);
    j["ReinvestValue"] = DoubleJson(res.ReinvestValue);
    j["ExtraCapitalValue"] = DoubleJson(res.ExtraCapitalValue);
    j["LostDeduction"] = DoubleJson(res.LostDeduction);
    j["NetSavings"] = DoubleJson(res.NetSavings);
    j["memo"] = rec.Memo1;
    return outcome;
  }
};

template <>
struct KindCommandOf<CompareRecord> : KindCommandDefaults<CompareRecord> {
  // --offer, once for each offer, in the order of the window's columns.
  static void AddOptions(CLI::App* sub, CompareRecord& rec) {
    sub->add_option_function<std::vector<std::string>>(
           "--offer",
           [&rec](const std::vector<std::string>& texts) {
             rec.Offers.clear();
             for (std::size_t k = 0; k < texts.size(); ++k) {
               std::string error;
               const std::optional<LoanOffer> offer = ParseOfferText(texts[k], static_cast<int>(k) + 1, error);
               if (!offer) throw BadArgument(error);
               rec.Offers.push_back(CompareOfferOf(*offer));
             }
           },
           "an offer, \"amount=A,rate=R,periods=N\" and more KEY=VALUE pairs (below); "
           "give two to four")
        ->required()
        ->type_name("TERMS");
  }
  // The JSON holds each offer's figures, the cheapest, the break-even
  // payments and the verdict.
  static Outcome Run(const KindDescription<CompareRecord>&, const Options&, CompareRecord& rec, Json* json) {
    const KindContext context = CommandContext(json != nullptr);
    CompareResults res;
    const Outcome outcome = CalcCompare(rec, context.today, &res, context.format);
    if (!json) return outcome;
    Json offers = Json::array();
    for (const OfferFigures& f : res.offers) {
      Json o;
      o["Payment"] = DoubleJson(f.Payment);
      o["APR"] = DoubleJson(f.APR);
      o["PaymentsToHorizon"] = DoubleJson(f.PaymentsToHorizon);
      o["InterestToHorizon"] = DoubleJson(f.InterestToHorizon);
      o["BalanceAtHorizon"] = DoubleJson(f.BalanceAtHorizon);
      o["UpfrontCost"] = DoubleJson(f.UpfrontCost);
      o["CostToHorizon"] = DoubleJson(f.CostToHorizon);
      o["PresentCost"] = DoubleJson(f.PresentCost);
      offers.push_back(o);
    }
    Json breakEven = Json::array();
    for (const BreakEven& be : res.breakEven) {
      Json b;
      b["offers"] = Json::array({be.offers[0], be.offers[1]});
      b["payment"] = be.payment > 0 ? Json(be.payment) : Json(nullptr);
      breakEven.push_back(b);
    }
    Json& j = *json;
    j["offers"] = offers;
    j["Cheapest"] = res.Cheapest > 0 ? Json(res.Cheapest) : Json(nullptr);
    j["BreakEven"] = breakEven;
    j["verdict"] = res.verdict;
    return outcome;
  }
};

template <>
struct KindCommandOf<TilRecord> : KindCommandDefaults<TilRecord> {
  // --advance and --payments once for each advance and each series of
  // payments, read as they are given; --disclosed is a rate of up to 999 %.
  static void AddOptions(CLI::App* sub, TilRecord& rec) {
    auto each = [](const char* option, const std::string& text, auto parse) {
      std::string error;
      auto value = parse(text, error);
      if (!value) throw BadArgument(std::string(option) + ": " + Quoted(text) + " " + error);
      return *value;
    };
    sub->add_option_function<std::vector<std::string>>(
           "--advance",
           [&rec, each](const std::vector<std::string>& texts) {
             for (const std::string& t : texts) rec.Advances.push_back(each("--advance", t, ParseAdvanceText));
           },
           "an advance: its amount and date (once for each advance)")
        ->type_name("AMOUNT@MM/DD/YYYY")
        ->allow_extra_args(false)
        ->required();
    sub->add_option_function<std::vector<std::string>>(
           "--payments",
           [&rec, each](const std::vector<std::string>& texts) {
             for (const std::string& t : texts)
               rec.Payments.push_back(each("--payments", t, ParsePaymentSeriesText));
           },
           "a series of equal payments: their number, amount, first date and interval "
           "(once for each series)")
        ->type_name("COUNTxAMOUNT@MM/DD/YYYY[/INTERVAL]")
        ->allow_extra_args(false)
        ->required();
    sub->add_option_function<std::string>(
           "--disclosed",
           [&rec](const std::string& t) {
             const auto rate = ParseNumberText(t, NumberPicture{3, 4});
             if (!rate)
               throw BadArgument("--disclosed: " + Quoted(t) +
                                 " is not a rate (at most 3 integer digits and 4 decimals)");
             rec.Disclosed = *rate;
           },
           "the APR disclosed, in percent: says whether it is accurate")
        ->type_name("RATE");
  }
  // The JSON holds the disclosure; a refused loan has only its message.
  static Outcome Run(const KindDescription<TilRecord>& kind, const Options&, TilRecord& rec,
                     Json* json) {
    const Outcome outcome = kind.calc(rec, CommandContext(json != nullptr));
    if (!json || outcome.refused) return outcome;
    Json& j = *json;
    j["APR"] = DoubleJson(RoundThroughText(rec.APR, 6, 18));
    j["UnitPeriod"] = UnitPeriodName(rec);
    const double perYear = RoundThroughText(rec.UnitPeriodsPerYear, 6, 18);
    if (perYear == std::floor(perYear)) j["UnitPeriodsPerYear"] = static_cast<int>(perYear);
    else j["UnitPeriodsPerYear"] = DoubleJson(perYear);
    j["AmountFinanced"] = DoubleJson(rec.AmountFinanced);
    j["FinanceCharge"] = DoubleJson(rec.FinanceCharge);
    j["TotalOfPayments"] = DoubleJson(rec.TotalOfPayments);
    if (rec.Verdict != TilVerdict::None) {
      j["Tolerance"] = DoubleJson(rec.Tolerance);
      j["Accurate"] = rec.Verdict == TilVerdict::Accurate;
    }
    return outcome;
  }
};

// The kind's command: its options bound to a record made by New, Calc, then
// the window's copy text, or with --json the record at full precision.
template <class R>
void AddKindCommand(CLI::App& app, const KindDescription<R>& kind, int& exitCode) {
  if (!kind.info.command.name) return;
  auto rec = std::make_shared<R>(kind.make(CommandContext(false)));
  auto json = std::make_shared<bool>(false);
  CLI::App* sub = app.add_subcommand(kind.info.command.name, kind.info.command.help);
  auto o = std::make_shared<Options>(sub);
  for (const KindField<R>* f : kind.Ordered(kind.optionOrder))
    if (f->option) std::visit([&](auto member) { Bind(*o, *f, (*rec).*member); }, f->value);
  KindCommandOf<R>::AddOptions(sub, *rec);
  o->Flag("--json", kind.info.command.json, *json);
  if (kind.info.command.footer) sub->footer(kind.info.command.footer);
  sub->callback([rec, json, o, &kind, &exitCode] {
    KindCommandOf<R>::Prepare(*o, *rec);
    o->Apply();
    Json j;
    const Outcome outcome = KindCommandOf<R>::Run(kind, *o, *rec, *json ? &j : nullptr);
    if (*json) {
      j["message"] = MessageJson(outcome);
      std::cout << j.dump() << "\n";
      exitCode = ExitCode(outcome);
      return;
    }
    const std::string caption = SlotCaption(kind.info, 1);
    const std::string text = kind.copyText ? kind.copyText(caption, *rec, UserLocale())
                                           : CopyText(caption, KindRows(kind, *rec), UserLocale());
    std::cout << text << (text.empty() || text.back() == '\n' ? "" : "\n");
    exitCode = Finish(outcome);
  });
}

}  // namespace

void AddKindCommands(CLI::App& app, int& exitCode) {
  ForEachKind([&](const auto& kind) {
    AddKindCommand(app, kind, exitCode);
    // The schedule's command follows the loan calculator's.
    if (kind.info.kind == CalcKind::Loan) AddScheduleCommand(app, exitCode);
  });
}

}  // namespace brevika::cli
