// brevika-calc schedule: the amortization schedule as CSV, its summary with
// the annual percentage rate as one JSON object, or its printed report as a
// PDF file; with what-if events (cli_events.cpp) and what they save.
#include <cmath>
#include <cstdio>
#include <algorithm>
#include <iostream>
#include <memory>
#include <string>

#include "amortization/amort_records.h"
#include "amortization/apr.h"
#include "amortization/schedule.h"
#include "amortization/schedule_csv.h"
#include "amortization/schedule_report.h"
#include "amortization/ui/schedule_report_pdf.h"
#include "calculators/calc_record.h"
#include "cli/cli.h"
#include "components/page_painter.h"
#include "finance/items.h"
#include "finance/rates.h"

namespace brevika::cli {

namespace {

struct ScheduleOptions {
  std::string amount, periods, rate, points, origination, firstPayment, paymentPeriod,
      compounding, amortizing, rateBasis, pointsPaid, year, otherFees;
  PdfOptions pdf;
  bool summary = false;
  SaveOptions records;
  EventOptions events;
};

// Paper by name, case-insensitive.
PaperSize PaperArg(const std::string& text) {
  const int i = FindItem({"Letter", "A4"}, text);
  if (i < 0) throw BadArgument("--paper: " + Quoted(text) + " is not Letter or A4");
  return i == 0 ? kLetterPaper : kA4Paper;
}

// The totals of the whole schedule and its APR; the exit code.
int PrintSummary(const Schedule& schedule, const ScheduleInputs& in) {
  const AprResult apr = AnnualPercentageRate(schedule, in);
  if (apr.outcome.refused) return Finish(apr.outcome);
  const ScheduleRow& last = schedule.row(schedule.lastRow());
  Json j;
  j["APR"] = DoubleJson(apr.apr);
  j["AmountFinanced"] = DoubleJson(apr.amountFinanced);
  j["Payments"] = schedule.lastRow();
  j["TotalOfPayments"] = DoubleJson(RoundToCents(last.runPayment));
  j["Principal"] = DoubleJson(RoundToCents(last.runPrincipal));
  j["Interest"] = DoubleJson(RoundToCents(last.runInterest));
  j["FinalPayment"] = DoubleJson(RoundToCents(last.payment));
  j["PayoffDate"] = FormatIsoDate(last.date);
  // Against the same loan without events: 0, 0 and the same date without.
  const EventSavings saved = SavingsOf(schedule);
  j["InterestSaved"] = DoubleJson(RoundToCents(saved.interestSaved));
  j["PaymentsSaved"] = saved.paymentsSaved;
  j["BasePayoffDate"] = FormatIsoDate(saved.basePayoffDate);
  std::cout << j.dump() << "\n";
  return kExitOk;
}

}  // namespace

ScheduleReportTerms ReportTermsWithApr(const Schedule& schedule, const ScheduleInputs& in) {
  ScheduleReportTerms terms = ReportTermsOf(in);
  const AprResult apr = AnnualPercentageRate(schedule, in);
  if (!apr.outcome.refused) terms.apr = apr.apr;
  return terms;
}

CLI::Option* AddPdfOptions(CLI::App* sub, PdfOptions& o) {
  CLI::Option* pdf =
      sub->add_option("--pdf", o.file, "write the printed report to this PDF file instead of CSV");
  sub->add_option("--paper", o.paper,
                  "paper of the PDF: Letter or A4 (default: the printer's paper, else the locale's)");
  sub->add_option("--font", o.font, "font of the PDF (default Courier New)");
  sub->add_option("--font-size", o.fontSize, "font size of the PDF in points, 1 to 72 (default 10)");
  return pdf;
}

ScheduleReportSetup ReportSetupOf(const CLI::App* sub, const PdfOptions& o) {
  auto given = [sub](const char* name) { return sub->count(name) > 0; };
  for (const char* option : {"--paper", "--font", "--font-size"})
    if (given(option) && !given("--pdf")) throw BadArgument(std::string(option) + " needs --pdf");
  ScheduleReportSetup setup;
  setup.today = TodayDate();
  setup.money = UserLocale();
  // The paper of every printout unless one is named.
  if (given("--paper")) setup.paper = PaperArg(o.paper);
  else if (given("--pdf")) setup.paper = DefaultPrintPaper();
  if (given("--font")) {
    if (o.font.empty()) throw BadArgument("--font: the font name is empty");
    setup.fontName = o.font;
  }
  if (given("--font-size")) {
    const std::int16_t points = CountArg("--font-size", o.fontSize);
    if (points < 1 || points > 72)
      throw BadArgument("--font-size: " + Quoted(o.fontSize) + " is not a size from 1 to 72");
    setup.fontPoints = points;
  }
  return setup;
}

void WritePdf(const PdfOptions& o, const Schedule& schedule, const ScheduleReportTerms& terms,
              const std::optional<Borrower>& borrower, const ScheduleReportSetup& setup) {
  std::string error;
  if (!WriteScheduleReportPdf(schedule, terms, borrower, setup, o.file, error))
    throw BadArgument("--pdf: cannot write " + Quoted(o.file) + ": " + error);
}

void AddScheduleCommand(CLI::App& app, int& exitCode) {
  auto o = std::make_shared<ScheduleOptions>();
  CLI::App* sub = app.add_subcommand("schedule", "print an amortization schedule as CSV, or its APR and totals");
  sub->add_option("--amount", o->amount, "amount of the loan")->required();
  sub->add_option("--periods", o->periods, "initial number of payments")->required();
  sub->add_option("--rate", o->rate, "annual rate in percent")->required();
  sub->add_option("--points", o->points, "points in percent (default 0)");
  sub->add_option("--origination", o->origination, "origination date MM/DD/YYYY")->required();
  sub->add_option("--first-payment", o->firstPayment, "first payment date MM/DD/YYYY")->required();
  sub->add_option("--payment-period", o->paymentPeriod,
                  ChoiceHelp(PaymentPeriodItems(), LoanDefaults.pyrIndex()));
  sub->add_option("--compounding", o->compounding,
                  ChoiceHelp(CompoundingPeriodItems(), LoanDefaults.compoundingPeriod));
  sub->add_option("--amortizing", o->amortizing,
                  ChoiceHelp(AmortizingMethodItems(), LoanDefaults.amortizingMethod));
  sub->add_option("--rate-basis", o->rateBasis,
                  ChoiceHelp(InterestBasisItems(), LoanDefaults.interestBasis));
  sub->add_option("--points-paid", o->pointsPaid,
                  ChoiceHelp(PointsPaidItems(), LoanDefaults.pointsPaid));
  CLI::Option* year = sub->add_option("--year", o->year, "only the rows of year tab T (0 = All)");
  sub->add_option("--other-fees", o->otherFees,
                  "prepaid fees other than points, for the APR of --summary (default 0)");
  CLI::Option* summary = sub->add_flag(
      "--summary", o->summary,
      "print the APR, the totals and what the events save as one JSON object instead of the rows");
  AddEventOptions(sub, o->events);
  CLI::Option* pdf = AddPdfOptions(sub, o->pdf);
  pdf->excludes(year);
  pdf->excludes(summary);
  AddSaveOptions(sub, o->records);
  pdf->excludes(sub->get_option("--save"));
  summary->excludes("--save");

  sub->callback([o, sub, &exitCode] {
    auto given = [sub](const char* name) { return sub->count(name) > 0; };
    ScheduleInputs in;
    in.PYR = LoanDefaults.pyrIndex();
    in.CmpPYR = LoanDefaults.compoundingPeriod;
    in.AmortMthd = LoanDefaults.amortizingMethod;
    in.RateBasis = LoanDefaults.interestBasis;
    in.PointsPaidMthd = LoanDefaults.pointsPaid;
    in.PV = MoneyArg("--amount", o->amount);
    const std::int16_t periods = CountArg("--periods", o->periods);
    if (periods < 0)
      throw BadArgument("--periods: " + Quoted(o->periods) + " is not a whole number from 0 to 32767");
    in.NumPmts = static_cast<std::uint16_t>(periods);
    in.Rate = RateArg("--rate", o->rate);
    // Points of 0 or less are no points.
    if (given("--points")) in.Points = std::max(0.0f, RateArg("--points", o->points));
    in.OrgDate = DateArg("--origination", o->origination);
    in.FrstPmtDate = DateArg("--first-payment", o->firstPayment);
    if (given("--payment-period"))
      in.PYR = ChoiceArg("--payment-period", o->paymentPeriod, PaymentPeriodItems());
    if (given("--compounding"))
      in.CmpPYR = ChoiceArg("--compounding", o->compounding, CompoundingPeriodItems());
    if (given("--amortizing"))
      in.AmortMthd = ChoiceArg("--amortizing", o->amortizing, AmortizingMethodItems());
    if (given("--rate-basis"))
      in.RateBasis = ChoiceArg("--rate-basis", o->rateBasis, InterestBasisItems());
    if (given("--points-paid"))
      in.PointsPaidMthd = ChoiceArg("--points-paid", o->pointsPaid, PointsPaidItems());
    if (given("--other-fees")) in.OtherFees = MoneyArg("--other-fees", o->otherFees);
    in.events = EventsOf(sub, o->events);
    if (o->summary && given("--year"))
      throw BadArgument("--summary covers the whole schedule: leave out --year");
    int yearTab = -1;
    if (given("--year")) {
      const std::int16_t t = CountArg("--year", o->year);
      if (t < 0) throw BadArgument("--year: " + Quoted(o->year) + " is not a tab number (0 = All)");
      yearTab = t;
    }
    const bool pdf = given("--pdf");
    const ScheduleReportSetup setup = ReportSetupOf(sub, o->pdf);
    // Choosing "Canadian" sets the periods, as the options dialog does.
    CanadianPeriods(in.AmortMthd, in.PYR, in.CmpPYR);

    if (o->summary) {
      if (auto refusal = CheckPrepaidCharges(in)) {
        exitCode = Finish(Outcome::Refuse(*refusal));
        return;
      }
    }
    Schedule schedule;
    const Outcome outcome = schedule.Calculate(in);
    exitCode = Finish(outcome);
    if (outcome.refused) return;
    if (o->records.save) {
      exitCode = std::max(exitCode, SaveToRecords(o->records, in, schedule));
      return;
    }
    if (o->summary) {
      exitCode = PrintSummary(schedule, in);
      return;
    }

    if (pdf) {
      WritePdf(o->pdf, schedule, ReportTermsWithApr(schedule, in), std::nullopt, setup);
      return;
    }
    int firstRow = 0;
    int lastRow = schedule.lastRow();
    if (yearTab >= 0) {
      const int tabs = static_cast<int>(schedule.yearTabs().size());
      if (yearTab >= tabs)
        throw BadArgument("--year " + std::to_string(yearTab) +
                          ": the schedule has year tabs 0 to " + std::to_string(tabs - 1));
      std::tie(firstRow, lastRow) = schedule.SelectYear(yearTab);
    }
    const std::string out = ScheduleCsv(schedule, firstRow, lastRow);
    std::fwrite(out.data(), 1, out.size(), stdout);
  });
}

}  // namespace brevika::cli
