// The printed amortization schedule as pages of the page model: a first
// page with the title, the borrower and the terms, then the rows year by
// year with annual and running totals, each later page under a header
// ("Prepared On", title, "Page: N of M") and over a "Prepared For" footer.
// No Qt; the painter draws the pages on a printer or into a PDF.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "amortization/borrower.h"
#include "amortization/schedule.h"
#include "finance/format.h"
#include "finance/page_layout.h"
#include "finance/periods.h"

namespace brevika {

// "First Last"; the business when both names are empty.
std::string BorrowerNameLine(const Borrower& b);
// "City, ST  Zip", leaving out empty parts; empty when the city is empty.
std::string BorrowerCityLine(const Borrower& b);
// The footer's borrower: the name line cut to 50 characters.
std::string BorrowerFooterName(const Borrower& b);

// The terms and options the first page summarises, as the window shows them.
struct ScheduleReportTerms {
  double amount = 0;
  float rate = 0;
  int periods = 0;
  float points = 0;
  Date origination = 0;
  Date firstPayment = 0;
  std::string paymentPeriod, compounding, amortizing, rateBasis, pointsPaid;
  std::optional<double> apr;  // printed last when known, percent a year
  std::vector<ScheduleEvent> events;  // listed under the summary, in their order
};

// Captions of the events list: the kind and the choice of an event, and
// its payments ("13-60", "From 13", "60").
const char* EventKindCaption(EventKind kind);
const char* EventHowCaption(EventHow how);
std::string EventPaymentsText(const ScheduleEvent& ev);

// Terms of an engine input; the list texts from the item lists.
ScheduleReportTerms ReportTermsOf(const ScheduleInputs& in);

struct ScheduleReportSetup {
  std::string fontName = "Courier New";
  int fontPoints = 10;
  PaperSize paper = kLetterPaper;
  Date today = 0;  // "Prepared On"
  LocaleFormat money = UsLocaleFormat();
  bool chartPage = true;  // end with the chart of the schedule
};

inline constexpr const char* kScheduleReportTitle = "Amortization Schedule";
// The chart page: its caption and the name of its one picture.
inline constexpr const char* kScheduleChartCaption = "Balance and Payments by Year";
inline constexpr const char* kScheduleChartPicture = "schedule chart";
// Top margin 0.5 in, bottom margin 1 in.
inline constexpr double kReportTopMargin = 0.5;
inline constexpr double kReportBottomMargin = 1.0;

// The whole report. Page 1 lists the events, if any, under the summary
// (in the row columns: event, payments, amount, rate, choice), going on to
// further pages without header when they do not fit. The year tabs after
// "All" give the years; a row is
// printed only with at least 3 lines left on its page, and a year's last
// row only with room for its totals after it, so totals never open a page.
// With `setup.chartPage` and at least one payment the last page holds the
// chart: the header without the column heads, the caption, and the picture
// area down to the body's bottom.
std::vector<Page> ScheduleReportPages(const Schedule& schedule, const ScheduleReportTerms& terms,
                                      const std::optional<Borrower>& borrower,
                                      const ScheduleReportSetup& setup);

}  // namespace brevika
