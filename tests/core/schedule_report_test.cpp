// The schedule report's pages: the borrower lines, the first page's terms,
// and on later pages the header, footer, rows, totals and page breaks.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "amortization/schedule_report.h"
#include "finance/periods.h"

namespace brevika {
namespace {

Borrower Smith() {
  Borrower b;
  b.firstName = "John  ";
  b.lastName = "Smith";
  b.address1 = "12 Elm Street";
  b.city = "Springfield";
  b.state = "IL";
  b.zip = "62701";
  b.phone = "217-555-0100";
  return b;
}

ScheduleInputs Monthly360() {
  ScheduleInputs in;
  in.PV = 100000;
  in.NumPmts = 360;
  in.Rate = 7.5f;
  in.OrgDate = MakeDate(1, 1, 1997);
  in.FrstPmtDate = MakeDate(1, 2, 1997);
  return in;
}

ScheduleReportSetup ReportSetup(int points = 10, PaperSize paper = kLetterPaper) {
  ScheduleReportSetup s;
  s.fontPoints = points;
  s.paper = paper;
  s.today = MakeDate(15, 3, 2024);
  s.chartPage = false;  // the pages of rows alone; the chart page has its own test
  return s;
}

const PageText* Find(const Page& p, const std::string& text) {
  for (const PageText& t : p.texts)
    if (t.text == text) return &t;
  return nullptr;
}

TEST(ScheduleReport, BorrowerLines) {
  Borrower b = Smith();
  EXPECT_EQ(BorrowerNameLine(b), "John Smith");
  EXPECT_EQ(BorrowerCityLine(b), "Springfield, IL  62701");
  b.state.clear();
  EXPECT_EQ(BorrowerCityLine(b), "Springfield  62701");
  b.zip.clear();
  EXPECT_EQ(BorrowerCityLine(b), "Springfield");
  b.city = "  ";
  b.state = "IL";
  EXPECT_EQ(BorrowerCityLine(b), "");  // no city, no line

  b.firstName.clear();
  EXPECT_EQ(BorrowerNameLine(b), "Smith");
  b.lastName.clear();
  b.business = "Acme Tools";
  EXPECT_EQ(BorrowerNameLine(b), "Acme Tools");

  // The footer keeps 50 characters, counting a multi-byte letter once.
  b.firstName = std::string(30, 'a');
  b.lastName = "\xc3\xa9" + std::string(30, 'b');
  EXPECT_EQ(BorrowerFooterName(b), std::string(30, 'a') + " \xc3\xa9" + std::string(18, 'b'));
}

TEST(ScheduleReport, FirstPageHasTitleBorrowerAndTerms) {
  Schedule s;
  ScheduleInputs in = Monthly360();
  in.Points = 1.25f;
  in.PYR = 2;
  in.CmpPYR = 6;
  in.AmortMthd = 5;
  in.RateBasis = 2;
  in.PointsPaidMthd = 1;
  ASSERT_FALSE(s.Calculate(in).refused);
  Borrower b = Smith();
  ScheduleReportTerms terms = ReportTermsOf(in);
  terms.apr = 7.70764;
  const auto pages = ScheduleReportPages(s, terms, b, ReportSetup());
  const Page& p = pages.at(0);

  std::vector<std::string> texts;
  for (const PageText& t : p.texts) texts.push_back(t.text);
  const std::vector<std::string> want = {
      "Amortization Schedule",
      "John Smith", "12 Elm Street", "Springfield, IL  62701", "217-555-0100",
      "Initial Loan Amount:", "$100,000.00",
      "Initial Interest Rate:", "7.5000",
      "Initial Periods:", "360",
      "Points:", "1.2500",
      "Origination Date:", "01/01/97",
      "First Payment Due:", "02/01/97",
      "Payment Method:", "Monthly",
      "Compounding Method:", "SemiAnnually",
      "Amortizing Method:", "U.S. Rule",
      "Rate Basis:", "Exact/365",
      "Points Paid:", "With 1st Payment",
      "Annual Percentage Rate:", "7.7076"};
  EXPECT_EQ(texts, want);  // no header, no footer, no page number
  EXPECT_TRUE(p.rules.empty());

  const double line = 10 * 1.2 / 72;
  const double top = 0.5 + 10 / 72.0;
  EXPECT_TRUE(p.texts[0].bold);
  EXPECT_EQ(p.texts[0].align, Align::Center);
  EXPECT_DOUBLE_EQ(p.texts[0].x, 4.25);
  EXPECT_NEAR(p.texts[0].y, top, 1e-12);
  // Two blank lines after the title; two after the block, then three.
  EXPECT_NEAR(p.texts[1].y, top + 3 * line, 1e-12);
  EXPECT_EQ(p.texts[1].align, Align::Center);
  EXPECT_NEAR(p.texts[4].y, top + 6 * line, 1e-12);
  EXPECT_NEAR(p.texts[5].y, top + 12 * line, 1e-12);
  EXPECT_FALSE(p.texts[5].bold);
  // Caption and value in the two columns that meet at the centre.
  EXPECT_NEAR(p.texts[5].x, 2.25 + 0.04, 1e-12);
  EXPECT_EQ(p.texts[6].align, Align::Right);
  EXPECT_NEAR(p.texts[6].x, 6.25 - 0.04, 1e-12);

  // Without an account the terms follow the title after five blank lines.
  const auto bare = ScheduleReportPages(s, ReportTermsOf(in), std::nullopt, ReportSetup());
  EXPECT_EQ(bare.at(0).texts.at(1).text, "Initial Loan Amount:");
  EXPECT_NEAR(bare[0].texts[1].y, top + 6 * line, 1e-12);
}

// Page 1 lists the events under the summary in the row columns, under
// their own underlined heads; a list longer than the page goes on to pages
// without header or page number, and the rows start on a page of their own.
TEST(ScheduleReport, FirstPageListsTheEvents) {
  Schedule s;
  ScheduleInputs in = Monthly360();
  ScheduleEvent extra{EventKind::Extra, 13, 60, 100, 0, EventHow::ShorterTerm};
  ScheduleEvent open{EventKind::Extra, 13, std::nullopt, 1234.5, 0, EventHow::LowerPayment};
  ScheduleEvent lump{EventKind::Lump, 60, std::nullopt, 10000, 0, EventHow::ShorterTerm};
  ScheduleEvent rate{EventKind::Rate, 61, std::nullopt, 0, 6.25f, EventHow::KeepTerm};
  ScheduleEvent holiday{EventKind::Holiday, 100, 102, 0, 0, EventHow::KeepPayment};
  in.events = {extra, open, lump, rate, holiday};
  ASSERT_FALSE(s.Calculate(in).refused);
  ScheduleReportTerms terms = ReportTermsOf(in);
  ASSERT_EQ(terms.events, in.events);
  const auto pages = ScheduleReportPages(s, terms, std::nullopt, ReportSetup());
  const Page& p = pages.at(0);
  std::vector<std::string> texts;
  for (std::size_t i = 23; i < p.texts.size(); ++i) texts.push_back(p.texts[i].text);
  EXPECT_EQ(p.texts[22].text, "At Origination");  // the last line of the summary
  const std::vector<std::string> want = {
      "Event", "Payments", "Amount", "Rate", "Choice",
      "Extra", "13-60", "$100.00", "Shorter Term",
      "Extra", "From 13", "$1,234.50", "Lower Payment",
      "Lump Sum", "60", "$10,000.00", "Shorter Term",
      "Rate", "61", "6.2500", "Keep Term",
      "Holiday", "100-102", "Keep Payment"};
  EXPECT_EQ(texts, want);
  const double line = 10 * 1.2 / 72;
  const PageText& heads = p.texts[23];
  EXPECT_TRUE(heads.bold && heads.underline);
  EXPECT_NEAR(heads.y, p.texts[22].y + 3 * line, 1e-12);  // two blank lines under the summary
  ASSERT_EQ(p.rules.size(), 1u);
  EXPECT_NEAR(p.rules[0].x1, heads.x, 1e-12);  // from the first column
  EXPECT_NEAR(p.rules[0].x2, p.texts[27].x, 1e-12);  // to the right edge of "Choice"
  EXPECT_NEAR(p.texts[28].y, heads.y + 1.3 * line, 1e-12);
  EXPECT_FALSE(p.texts[28].bold || p.texts[28].underline);
  // Columns of the rows: the amount under "Amount", the rate under "Rate".
  EXPECT_EQ(p.texts[30].align, Align::Right);
  EXPECT_DOUBLE_EQ(p.texts[30].x, p.texts[25].x);
  EXPECT_DOUBLE_EQ(p.texts[42].x, p.texts[26].x);
  EXPECT_EQ(Find(pages.at(1), "Page: 2 of " + std::to_string(pages.size()))->y, Find(pages.at(1), "Prepared On: 03/15/24")->y);

  // Sixty lump sums: the list goes on to page 2, which has the heads again
  // and no header; the rows begin on page 3, "Page: 3 of N".
  in.events.clear();
  for (int k = 1; k <= 60; ++k) in.events.push_back(ScheduleEvent{EventKind::Lump, k, std::nullopt, 10, 0, EventHow::ShorterTerm});
  ASSERT_FALSE(s.Calculate(in).refused);
  const auto longer = ScheduleReportPages(s, ReportTermsOf(in), std::nullopt, ReportSetup());
  const std::string count = std::to_string(longer.size());
  ASSERT_GE(longer.size(), 3u);
  EXPECT_TRUE(Find(longer[1], "Event"));
  EXPECT_FALSE(Find(longer[1], "Prepared On: 03/15/24"));
  EXPECT_FALSE(Find(longer[1], "Page: 2 of " + count));
  EXPECT_FALSE(Find(longer[1], "Prepared For: "));
  int listed = 0;
  for (int i = 0; i < 2; ++i)
    for (const PageText& t : longer[static_cast<std::size_t>(i)].texts) listed += t.text == "Lump Sum";
  EXPECT_EQ(listed, 60);
  EXPECT_TRUE(Find(longer[2], "Page: 3 of " + count));
  EXPECT_TRUE(Find(longer[2], "Init/01"));
}

// Every later page: header, underlined column heads, rows with at least
// three lines left, each year's totals right after its last row on the same
// page, and the footer on the bottom margin. (The amounts are read back from
// the PDF in the GUI tests.)
void CheckBody(const Schedule& s, const std::optional<Borrower>& borrower,
               const ScheduleReportSetup& setup, int& yearsOpeningAPage) {
  const auto pages = ScheduleReportPages(s, ReportTermsOf(Monthly360()), borrower, setup);
  ASSERT_GE(pages.size(), 2u);
  const double line = setup.fontPoints * 1.2 / 72;
  const double top = 0.5 + setup.fontPoints / 72.0;
  const double bodyBottom = setup.paper.height - 1.0 - 2 * line;
  const std::string count = std::to_string(pages.size());
  const std::string footer = "Prepared For: " + (borrower ? BorrowerFooterName(*borrower) : "");

  int nextRow = 0;
  int tab = 1;
  for (std::size_t i = 1; i < pages.size(); ++i) {
    SCOPED_TRACE("page " + std::to_string(i + 1) + " of " + count + ", " +
                 std::to_string(setup.fontPoints) + " pt");
    const Page& p = pages[i];
    const PageText* on = Find(p, "Prepared On: 03/15/24");
    const PageText* title = Find(p, "Amortization Schedule");
    const PageText* number = Find(p, "Page: " + std::to_string(i + 1) + " of " + count);
    const PageText* foot = Find(p, footer);
    ASSERT_TRUE(on && title && number && foot);
    EXPECT_NEAR(on->y, top, 1e-12);
    EXPECT_TRUE(on->bold && title->bold && number->bold);
    EXPECT_NEAR(number->y, top, 1e-12);
    EXPECT_NEAR(title->x, setup.paper.width / 2, 1e-12);
    EXPECT_NEAR(on->x + number->x, setup.paper.width, 1e-9);  // the table is centred
    EXPECT_NEAR(foot->y, setup.paper.height - 1.0, 1e-12);
    EXPECT_DOUBLE_EQ(foot->x, on->x);
    const PageText* heads = Find(p, "  #/Yr");
    ASSERT_TRUE(heads);
    EXPECT_TRUE(heads->underline && heads->bold);
    EXPECT_NEAR(heads->y, top + 4 * line, 1e-12);
    ASSERT_GE(p.rules.size(), 1u);
    EXPECT_NEAR(p.rules[0].x1, on->x, 1e-12);
    EXPECT_NEAR(p.rules[0].x2, number->x, 1e-12);

    // Body: the texts between the heads and the footer, by line.
    std::map<double, std::vector<const PageText*>> lines;
    for (const PageText& t : p.texts)
      if (t.y > heads->y + 1e-9 && &t != foot) lines[t.y].push_back(&t);
    bool first = true;
    for (const auto& [y, texts] : lines) {
      const std::string lead = texts.front()->text;
      if (lead == "Annual Totals:") {
        ASSERT_LT(tab, static_cast<int>(s.yearTabs().size()));
        const auto [from, to] = s.SelectYear(tab);
        EXPECT_FALSE(first) << "totals open a page";
        EXPECT_EQ(nextRow, to + 1) << "totals right after the year's last row";
        ASSERT_EQ(texts.size(), 4u);
        EXPECT_TRUE(texts[0]->bold);
        EXPECT_EQ(texts[1]->text, FormatMoney(s.Totals(from, to).payment, 2));
        EXPECT_LE(y + line, bodyBottom + 1e-9);  // running totals fit too
      } else if (lead == "Running Totals:") {
        EXPECT_EQ(texts.size(), 4u);
        ++tab;
      } else {
        // A row: label, date and four amounts.
        ASSERT_EQ(texts.size(), 6u) << lead;
        const ScheduleRow& r = s.row(nextRow);
        EXPECT_EQ(lead, r.periodLabel);
        EXPECT_EQ(texts[1]->text, FormatShortDate(r.date));
        EXPECT_EQ(texts[5]->text, FormatMoney(r.balance, 2));
        EXPECT_FALSE(texts[0]->bold);
        EXPECT_LE(y + 2 * line, bodyBottom + 1e-9) << "fewer than 3 lines left";
        if (first && nextRow == s.SelectYear(tab).second) ++yearsOpeningAPage;
        ++nextRow;
      }
      first = false;
    }
  }
  EXPECT_EQ(nextRow, s.lastRow() + 1);
  EXPECT_EQ(tab, static_cast<int>(s.yearTabs().size()));
}

TEST(ScheduleReport, LaterPagesKeepEveryYearWithItsTotals) {
  Schedule monthly;
  ScheduleInputs in = Monthly360();
  ASSERT_FALSE(monthly.Calculate(in).refused);
  Schedule weekly;
  in.NumPmts = 1560;
  in.PYR = 0;
  ASSERT_FALSE(weekly.Calculate(in).refused);
  ASSERT_EQ(weekly.lastRow(), 1560);

  // Font sizes and papers move the page breaks to every place in a year;
  // some of them fall where a year's last row would leave its totals behind.
  int yearsOpeningAPage = 0;
  for (int pts : {8, 9, 10, 11, 12, 14}) {
    CheckBody(monthly, Smith(), ReportSetup(pts), yearsOpeningAPage);
    CheckBody(monthly, std::nullopt, ReportSetup(pts, kA4Paper), yearsOpeningAPage);
  }
  CheckBody(weekly, std::nullopt, ReportSetup(10), yearsOpeningAPage);
  EXPECT_GT(yearsOpeningAPage, 0);
  EXPECT_EQ(ScheduleReportPages(monthly, ReportTermsOf(in), std::nullopt, ReportSetup()).size(), 11u);
  EXPECT_EQ(ScheduleReportPages(weekly, ReportTermsOf(in), std::nullopt, ReportSetup()).size(), 36u);
}

// The chart page ends the report: header and footer as on the pages of
// rows, no column heads, the caption, and the one picture area across the
// table's width down to the body's bottom; it counts in "Page: N of M".
TEST(ScheduleReport, ChartPageEndsTheReport) {
  Schedule s;
  ScheduleInputs in = Monthly360();
  ASSERT_FALSE(s.Calculate(in).refused);
  ScheduleReportSetup setup = ReportSetup();
  const std::size_t rowPages = ScheduleReportPages(s, ReportTermsOf(Monthly360()), Smith(), setup).size();
  setup.chartPage = true;
  const auto pages = ScheduleReportPages(s, ReportTermsOf(Monthly360()), Smith(), setup);
  ASSERT_EQ(pages.size(), rowPages + 1);
  for (std::size_t i = 0; i + 1 < pages.size(); ++i) EXPECT_TRUE(pages[i].pictures.empty());

  const Page& p = pages.back();
  const double line = 10 * 1.2 / 72;
  const double top = 0.5 + 10 / 72.0;
  const std::string count = std::to_string(pages.size());
  const PageText* on = Find(p, "Prepared On: 03/15/24");
  const PageText* number = Find(p, "Page: " + count + " of " + count);
  const PageText* caption = Find(p, "Balance and Payments by Year");
  ASSERT_TRUE(on && number && caption && Find(p, "Prepared For: John Smith"));
  EXPECT_EQ(Find(p, "  #/Yr"), nullptr);
  EXPECT_TRUE(caption->bold);
  EXPECT_EQ(caption->align, Align::Center);
  EXPECT_NEAR(caption->y, top + 3 * line, 1e-12);
  ASSERT_EQ(p.pictures.size(), 1u);
  const PagePicture& chart = p.pictures[0];
  EXPECT_EQ(chart.name, kScheduleChartPicture);
  EXPECT_NEAR(chart.x, on->x, 1e-12);
  EXPECT_NEAR(chart.x + chart.width, number->x, 1e-12);
  EXPECT_NEAR(chart.y, top + 4 * line, 1e-12);
  EXPECT_NEAR(chart.y + chart.height, 11.0 - 1.0 - 2 * line, 1e-12);

  // Nothing to draw without a payment.
  EXPECT_EQ(ScheduleReportPages(Schedule(), ReportTermsOf(Monthly360()), std::nullopt, setup).size(), 2u);
}

}  // namespace
}  // namespace brevika
