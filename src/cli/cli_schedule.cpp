// brevika-calc schedule: the amortization schedule as CSV, or its printed
// report as a PDF file.
#include <cmath>
#include <cstdio>
#include <algorithm>
#include <iostream>
#include <memory>
#include <string>

#include "amortization/amort_records.h"
#include "amortization/schedule.h"
#include "amortization/schedule_report.h"
#include "amortization/ui/schedule_report_pdf.h"
#include "calculators/calc_record.h"
#include "cli/cli.h"
#include "finance/items.h"
#include "finance/rates.h"

namespace brevika::cli {

namespace {

// Every digit of the amount, to the cent.
void AppendMoney(std::string& out, double v) { out += PlainAmount(RoundToCents(v)); }

void AppendCsvText(std::string& out, const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) {
    out += text;
    return;
  }
  out += '"';
  for (char ch : text) {
    if (ch == '"') out += '"';
    out += ch;
  }
  out += '"';
}

void AppendRow(std::string& out, const ScheduleRow& r) {
  int d, m, y;
  SplitDate(r.date, d, m, y);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%d,", r.pmtNo);
  out += buf;
  AppendCsvText(out, r.periodLabel);
  std::snprintf(buf, sizeof buf, ",%04d-%02d-%02d", y, m, d);
  out += buf;
  for (double v : {r.payment, r.principal, r.interest, r.balance, r.runPayment, r.runPrincipal,
                   r.runInterest}) {
    out += ',';
    AppendMoney(out, v);
  }
  out += '\n';
}

struct ScheduleOptions {
  std::string amount, periods, rate, points, origination, firstPayment, paymentPeriod,
      compounding, amortizing, rateBasis, pointsPaid, year;
  PdfOptions pdf;
  SaveOptions records;
};

// Paper by name, case-insensitive.
PaperSize PaperArg(const std::string& text) {
  const int i = FindItem({"Letter", "A4"}, text);
  if (i < 0) throw BadArgument("--paper: " + Quoted(text) + " is not Letter or A4");
  return i == 0 ? kLetterPaper : kA4Paper;
}

}  // namespace

CLI::Option* AddPdfOptions(CLI::App* sub, PdfOptions& o) {
  CLI::Option* pdf =
      sub->add_option("--pdf", o.file, "write the printed report to this PDF file instead of CSV");
  sub->add_option("--paper", o.paper, "paper of the PDF: Letter or A4 (default Letter)");
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
  if (given("--paper")) setup.paper = PaperArg(o.paper);
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

std::string ScheduleCsv(const Schedule& schedule, int firstRow, int lastRow) {
  std::string out = "PmtNo,PeriodLabel,Date,Payment,Principal,Interest,Balance,RunPayment,"
                    "RunPrincipal,RunInterest\n";
  out.reserve(out.size() + static_cast<std::size_t>(std::max(0, lastRow - firstRow + 1)) * 100);
  for (int k = firstRow; k <= lastRow; ++k) AppendRow(out, schedule.row(k));
  return out;
}

void AddScheduleCommand(CLI::App& app, int& exitCode) {
  auto o = std::make_shared<ScheduleOptions>();
  CLI::App* sub = app.add_subcommand("schedule", "print an amortization schedule as CSV");
  sub->add_option("--amount", o->amount, "amount of the loan")->required();
  sub->add_option("--periods", o->periods, "initial number of payments")->required();
  sub->add_option("--rate", o->rate, "annual rate in percent")->required();
  sub->add_option("--points", o->points, "points in percent (default 0)");
  sub->add_option("--origination", o->origination, "origination date MM/DD/YYYY")->required();
  sub->add_option("--first-payment", o->firstPayment, "first payment date MM/DD/YYYY")->required();
  sub->add_option("--payment-period", o->paymentPeriod,
                  ChoiceHelp(PaymentPeriodItems(), LoanDefaults.paymentPeriod - 1));
  sub->add_option("--compounding", o->compounding,
                  ChoiceHelp(CompoundingPeriodItems(), LoanDefaults.compoundingPeriod));
  sub->add_option("--amortizing", o->amortizing,
                  ChoiceHelp(AmortizingMethodItems(), LoanDefaults.amortizingMethod));
  sub->add_option("--rate-basis", o->rateBasis,
                  ChoiceHelp(InterestBasisItems(), LoanDefaults.interestBasis));
  sub->add_option("--points-paid", o->pointsPaid,
                  ChoiceHelp(PointsPaidItems(), LoanDefaults.pointsPaid));
  CLI::Option* year = sub->add_option("--year", o->year, "only the rows of year tab T (0 = All)");
  CLI::Option* pdf = AddPdfOptions(sub, o->pdf);
  pdf->excludes(year);
  AddSaveOptions(sub, o->records);
  pdf->excludes(sub->get_option("--save"));

  sub->callback([o, sub, &exitCode] {
    auto given = [sub](const char* name) { return sub->count(name) > 0; };
    ScheduleInputs in;
    in.PYR = LoanDefaults.paymentPeriod - 1;
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

    Schedule schedule;
    const Outcome outcome = schedule.Calculate(in);
    exitCode = Finish(outcome);
    if (outcome.refused) return;
    if (o->records.save) {
      exitCode = std::max(exitCode, SaveToRecords(o->records, in, schedule));
      return;
    }

    if (pdf) {
      WritePdf(o->pdf, schedule, ReportTermsOf(in), std::nullopt, setup);
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
