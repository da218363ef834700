// brevika-calc interest-due, remaining-balance, accelerated, balloon: the
// four calculators on the same core as their windows. Each prints the
// window's copy text, or with --json the record at full precision.
#include <iostream>
#include <memory>

#include "calculators/accelerated.h"
#include "calculators/balloon.h"
#include "calculators/interest_due.h"
#include "calculators/kinds.h"
#include "calculators/remaining_balance.h"
#include "cli/cli.h"

namespace brevika::cli {

namespace {

// Prints the outcome of a calculation: the copy text or the JSON object.
template <class R, class ToJson, class RowsOf>
int Report(CalcKind kind, const R& rec, const Outcome& outcome, bool json, ToJson toJson,
           RowsOf rows) {
  if (json) {
    Json j = toJson(rec);
    j["message"] = MessageJson(outcome);
    std::cout << j.dump() << "\n";
    return ExitCode(outcome);
  }
  std::cout << CopyText(SlotCaption(kind, 1), rows(rec), UserLocale());
  return Finish(outcome);
}

void LoanTerms(Options& o, ListEntry& pyr, ListEntry& cmp, ListEntry& mthd) {
  o.Choice("--payment-period", pyr, LoanDefaults.pyrIndex());
  o.Choice("--compounding", cmp, LoanDefaults.compoundingPeriod);
  o.Choice("--payment-method", mthd, LoanDefaults.paymentMethod);
}

}  // namespace

void AddInterestDueCommand(CLI::App& app, int& exitCode) {
  auto rec = std::make_shared<IntDueRecord>(NewIntDueRecord(TodayDate()));
  auto json = std::make_shared<bool>(false);
  CLI::App* sub = app.add_subcommand("interest-due", "interest, future value and APY between two dates");
  auto o = std::make_shared<Options>(sub);
  o->Money("--amount", "amount", rec->PV, true);
  o->Rate("--rate", "annual rate in percent", rec->Rate, true);
  o->Count("--days", "number of days (the start date is today)", rec->NumDays);
  o->Day("--start-date", "start date MM/DD/YYYY", rec->StartDate);
  o->Day("--end-date", "end date MM/DD/YYYY", rec->EndDate);
  o->Choice("--compounding", rec->CmpPYR, LoanDefaults.interestDueCompounding);
  o->Choice("--rate-basis", rec->RateBasis, LoanDefaults.dayBasis);
  o->Flag("--json", "print the record as one JSON object", *json);
  sub->callback([=, &exitCode] {
    const bool days = o->Given("--days"), start = o->Given("--start-date"), end = o->Given("--end-date");
    if (days == (start || end) || start != end)
      throw BadArgument("give either --days or both --start-date and --end-date");
    o->Apply();
    // As if typed into the window: the day count, or the start and then the end date.
    Outcome outcome = days ? IntDueFieldChanged(*rec, IntDueField::NumDays)
                           : IntDueFieldChanged(*rec, IntDueField::StartDate);
    if (!days && !outcome.refused) outcome = IntDueFieldChanged(*rec, IntDueField::EndDate);
    if (!outcome.refused) outcome = CalcIntDue(*rec);
    exitCode = Report(CalcKind::InterestDue, *rec, outcome, *json, [](const IntDueRecord& r) {
      Json j;
      j["PV"] = DoubleJson(r.PV);
      j["NumDays"] = r.NumDays;
      j["Rate"] = FloatJson(r.Rate);
      j["StartDate"] = DateText(r.StartDate);
      j["EndDate"] = DateText(r.EndDate);
      j["StartDay"] = r.StartDay;
      j["EndDay"] = r.EndDay;
      j["CmpPYR"] = r.CmpPYR.text;
      j["RateBasis"] = r.RateBasis.text;
      j["IntPaid"] = DoubleJson(r.IntPaid);
      j["FV"] = DoubleJson(r.FV);
      j["APY"] = FloatJson(r.APY);
      j["DailyRate"] = FloatJson(r.DailyRate);
      return j;
    }, IntDueRows);
  });
}

void AddRemainingBalanceCommand(CLI::App& app, int& exitCode) {
  auto rec = std::make_shared<RemBalRecord>(NewRemBalRecord());
  auto json = std::make_shared<bool>(false);
  CLI::App* sub = app.add_subcommand("remaining-balance", "the balance owed after a given payment");
  auto o = std::make_shared<Options>(sub);
  o->Money("--amount", "amount of the loan", rec->PV, true);
  o->Count("--periods", "total number of payments", rec->NumPmts, true);
  o->Rate("--rate", "annual rate in percent", rec->Rate, true);
  o->Count("--after-payment", "the payment after which the balance is wanted", rec->IncPer, true);
  LoanTerms(*o, rec->PYR, rec->CmpPYR, rec->PmtMthd);
  o->Choice("--amortizing", rec->AmortMthd, LoanDefaults.amortizingMethod);
  o->Flag("--json", "print the record as one JSON object", *json);
  sub->callback([=, &exitCode] {
    o->Apply();
    const Outcome outcome = CalcRemBal(*rec);
    exitCode = Report(CalcKind::RemainingBalance, *rec, outcome, *json, [](const RemBalRecord& r) {
      Json j;
      j["PV"] = DoubleJson(r.PV);
      j["NumPmts"] = r.NumPmts;
      j["Rate"] = FloatJson(r.Rate);
      j["IncPer"] = r.IncPer;
      j["PYR"] = r.PYR.text;
      j["CmpPYR"] = r.CmpPYR.text;
      j["PmtMthd"] = r.PmtMthd.text;
      j["AmortMthd"] = r.AmortMthd.text;
      j["RemBal"] = DoubleJson(r.RemBal);
      j["Pmt"] = DoubleJson(r.Pmt);
      return j;
    }, RemBalRows);
  });
}

void AddAcceleratedCommand(CLI::App& app, int& exitCode) {
  auto rec = std::make_shared<AccelRecord>(NewAccelRecord());
  auto json = std::make_shared<bool>(false);
  CLI::App* sub = app.add_subcommand("accelerated", "payments and interest saved with an extra amount");
  auto o = std::make_shared<Options>(sub);
  o->Money("--amount", "amount of the loan", rec->PV, true);
  o->Count("--periods", "total number of payments", rec->NumPmts, true);
  o->Rate("--rate", "annual rate in percent", rec->Rate, true);
  o->Count("--increase-after", "the extra amount is paid after this period", rec->IncPer, true);
  o->Money("--extra", "extra amount paid with each payment", rec->ExtraPd, true);
  LoanTerms(*o, rec->PYR, rec->CmpPYR, rec->PmtMthd);
  o->Choice("--amortizing", rec->AmortMthd, LoanDefaults.amortizingMethod);
  o->Flag("--json", "print the record as one JSON object", *json);
  sub->callback([=, &exitCode] {
    o->Apply();
    const Outcome outcome = CalcAccel(*rec);
    exitCode = Report(CalcKind::Accelerated, *rec, outcome, *json, [](const AccelRecord& r) {
      Json j;
      j["PV"] = DoubleJson(r.PV);
      j["NumPmts"] = r.NumPmts;
      j["Rate"] = FloatJson(r.Rate);
      j["IncPer"] = r.IncPer;
      j["ExtraPd"] = DoubleJson(r.ExtraPd);
      j["PYR"] = r.PYR.text;
      j["CmpPYR"] = r.CmpPYR.text;
      j["PmtMthd"] = r.PmtMthd.text;
      j["AmortMthd"] = r.AmortMthd.text;
      j["PerOff"] = r.PerOff;
      j["IntSaved"] = DoubleJson(r.IntSaved);
      return j;
    }, AccelRows);
  });
}

void AddBalloonCommand(CLI::App& app, int& exitCode) {
  auto rec = std::make_shared<BalloonRecord>(NewBalloonRecord());
  auto json = std::make_shared<bool>(false);
  CLI::App* sub = app.add_subcommand("balloon", "the periodic payment of a loan ending with a balloon");
  auto o = std::make_shared<Options>(sub);
  o->Money("--amount", "amount of the loan", rec->PV, true);
  o->Rate("--rate", "annual rate in percent", rec->Rate, true);
  o->Count("--balloon-after", "number of the payment with which the balloon is due", rec->PerDue, true);
  o->Money("--balloon", "balloon amount", rec->BallPmt, true);
  LoanTerms(*o, rec->PYR, rec->CmpPYR, rec->PmtMthd);
  o->Flag("--json", "print the record as one JSON object", *json);
  sub->callback([=, &exitCode] {
    o->Apply();
    const Outcome outcome = CalcBalloon(*rec);
    exitCode = Report(CalcKind::Balloon, *rec, outcome, *json, [](const BalloonRecord& r) {
      Json j;
      j["PV"] = DoubleJson(r.PV);
      j["Rate"] = FloatJson(r.Rate);
      j["PerDue"] = r.PerDue;
      j["BallPmt"] = DoubleJson(r.BallPmt);
      j["PYR"] = r.PYR.text;
      j["CmpPYR"] = r.CmpPYR.text;
      j["PmtMthd"] = r.PmtMthd.text;
      j["Pmt"] = DoubleJson(r.Pmt);
      return j;
    }, BalloonRows);
  });
}

}  // namespace brevika::cli
