// The schedule report as a PDF file, read back with pdftotext -layout: the
// page numbers against the pages, the totals of every year, the footer with
// and without an account, and the largest schedule.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "amortization/ui/schedule_report_pdf.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace brevika {
namespace {

using testing::RunCommand;
using testing::ShellQuote;

ScheduleInputs Terms(int pyr, int periods) {
  ScheduleInputs in;
  in.PV = 100000;
  in.NumPmts = static_cast<std::uint16_t>(periods);
  in.Rate = 7.5f;
  in.OrgDate = MakeDate(1, 1, 1997);
  in.FrstPmtDate = MakeDate(1, 2, 1997);
  in.PYR = pyr;
  return in;
}

ScheduleReportSetup ReportSetup() {
  ScheduleReportSetup s;
  s.fontName = "Liberation Mono";
  s.today = MakeDate(15, 3, 2024);
  return s;
}

std::string Trimmed(const std::string& s) {
  const auto a = s.find_first_not_of(' ');
  return a == std::string::npos ? std::string() : s.substr(a, s.find_last_not_of(' ') - a + 1);
}

// The text of each page, line by line, blank lines dropped.
std::vector<std::vector<std::string>> PdfPages(const std::string& path) {
  const auto r = RunCommand("pdftotext -layout " + ShellQuote(path) + " -");
  EXPECT_EQ(r.status, 0);
  std::vector<std::vector<std::string>> pages;
  std::stringstream all(r.out);
  for (std::string page; std::getline(all, page, '\f');) {
    pages.emplace_back();
    std::stringstream in(page);
    for (std::string line; std::getline(in, line);)
      if (!Trimmed(line).empty()) pages.back().push_back(Trimmed(line));
  }
  if (!pages.empty() && pages.back().empty()) pages.pop_back();  // after the last \f
  return pages;
}

// Runs of blanks closed up to one.
std::string Spaced(const std::string& line) { return std::regex_replace(line, std::regex(" +"), " "); }

std::vector<std::string> Amounts(const std::string& line) {
  static const std::regex money(R"(-?\$[0-9,]+\.[0-9]{2})");
  std::vector<std::string> out;
  for (std::sregex_iterator i(line.begin(), line.end(), money), end; i != end; ++i)
    out.push_back(i->str());
  return out;
}

struct Report {
  std::vector<std::vector<std::string>> pages;
  std::vector<std::string> rows;  // row lines in order
};

// Writes and reads back a report, checking what every page after the first
// has: its number of the right count, the column heads (the caption and
// legend on the last page, the chart's) and the footer.
Report WriteAndRead(const Schedule& s, const std::optional<Borrower>& borrower,
                    const std::string& footer) {
  testing::TempDir dir;
  const std::string path = dir.file("report.pdf");
  std::string error;
  EXPECT_TRUE(WriteScheduleReportPdf(s, ReportTermsOf(Terms(2, 360)), borrower, ReportSetup(), path, error))
      << error;
  Report r;
  r.pages = PdfPages(path);
  EXPECT_GE(r.pages.size(), 2u);
  const std::string of = " of " + std::to_string(r.pages.size());
  static const std::regex row(R"(^(Init|[0-9]+)/[0-9]{2} )");
  for (std::size_t i = 1; i < r.pages.size(); ++i) {
    const auto& p = r.pages[i];
    SCOPED_TRACE("page " + std::to_string(i + 1));
    if (p.size() < 3) {
      ADD_FAILURE() << "page too short";
      continue;
    }
    EXPECT_EQ(p[0].rfind("Prepared On: 03/15/24", 0), 0u) << p[0];
    EXPECT_NE(p[0].find("Amortization Schedule"), std::string::npos);
    EXPECT_TRUE(p[0].ends_with("Page: " + std::to_string(i + 1) + of)) << p[0];
    EXPECT_EQ(p.back(), footer);
    if (i + 1 == r.pages.size()) {
      // The chart page: its caption, then the chart with its legend.
      EXPECT_EQ(p[1], "Balance and Payments by Year");
      EXPECT_EQ(Spaced(p[p.size() - 2]), "Principal paid Interest paid Balance");
      continue;
    }
    EXPECT_EQ(Spaced(p[1]),
              "#/Yr Date Payment Principal Interest Balance");
    for (const std::string& line : p)
      if (std::regex_search(line, row)) r.rows.push_back(line);
  }
  return r;
}

TEST(ScheduleReportPdf, EveryYearClosesWithItsTotalsAndPagesCountUp) {
  Schedule s;
  ScheduleInputs in = Terms(2, 360);
  ASSERT_FALSE(s.Calculate(in).refused);
  Borrower b;
  b.firstName = "John";
  b.lastName = "Smith";
  b.address1 = "12 Elm Street";
  b.city = "Springfield";
  b.state = "IL";
  b.zip = "62701";
  b.phone = "217-555-0100";
  const Report r = WriteAndRead(s, b, "Prepared For: John Smith");
  EXPECT_EQ(r.pages.size(), 12u);

  // Page 1: title, borrower, terms; neither header nor footer.
  const auto& first = r.pages.at(0);
  ASSERT_GE(first.size(), 16u);
  EXPECT_EQ(first[0], "Amortization Schedule");
  EXPECT_EQ(first[1], "John Smith");
  EXPECT_EQ(first[3], "Springfield, IL 62701");  // pdftotext closes up the two blanks
  EXPECT_EQ(first[4], "217-555-0100");
  EXPECT_EQ(Spaced(first[5]), "Initial Loan Amount: $100,000.00");
  EXPECT_EQ(Spaced(first[15]), "Points Paid: At Origination");
  for (const std::string& line : first) EXPECT_EQ(line.find("Prepared"), std::string::npos);

  // Every row once, in order, and after each year its two totals lines
  // with the sums of its rows.
  ASSERT_EQ(r.rows.size(), 361u);
  EXPECT_EQ(Spaced(r.rows.front()), "Init/01 01/01/97 $0.00 $0.00 $0.00 $100,000.00");
  std::vector<std::string> totals;
  for (std::size_t i = 1; i < r.pages.size(); ++i)
    for (const std::string& line : r.pages[i])
      if (line.rfind("Annual Totals:", 0) == 0 || line.rfind("Running Totals:", 0) == 0)
        totals.push_back(line);
  const int years = static_cast<int>(s.yearTabs().size()) - 1;
  ASSERT_EQ(totals.size(), static_cast<std::size_t>(2 * years));
  for (int tab = 1; tab <= years; ++tab) {
    const auto [from, to] = s.SelectYear(tab);
    const YearTotals t = s.Totals(from, to);
    const ScheduleRow& end = s.row(to);
    EXPECT_EQ(Amounts(totals[2 * tab - 2]),
              (std::vector<std::string>{FormatMoney(t.payment, 2), FormatMoney(t.principal, 2),
                                        FormatMoney(t.interest, 2)}))
        << tab;
    EXPECT_EQ(Amounts(totals[2 * tab - 1]),
              (std::vector<std::string>{FormatMoney(end.runPayment, 2),
                                        FormatMoney(end.runPrincipal, 2),
                                        FormatMoney(end.runInterest, 2)}))
        << tab;
  }
  EXPECT_EQ(Amounts(totals[0]), (std::vector<std::string>{"$7,691.31", "$842.30", "$6,849.01"}));

  // A year that runs over a page break goes on under the next page's heads:
  // 2000 starts at the foot of page 2 and ends on page 3.
  const auto& p2 = r.pages[1];
  EXPECT_EQ(Spaced(p2[2]), "Init/01 01/01/97 $0.00 $0.00 $0.00 $100,000.00");
  EXPECT_EQ(Spaced(p2[p2.size() - 2]), "36/03 01/01/00 $699.21 $92.29 $606.92 $97,014.45");
  EXPECT_EQ(Spaced(r.pages[2][2]), "37/04 02/01/00 $699.21 $92.87 $606.34 $96,921.58");
}

TEST(ScheduleReportPdf, WithoutAnAccountTheFooterNamesNobody) {
  Schedule s;
  ScheduleInputs in = Terms(2, 12);
  ASSERT_FALSE(s.Calculate(in).refused);
  const Report r = WriteAndRead(s, std::nullopt, "Prepared For:");
  ASSERT_EQ(r.pages.size(), 3u);
  EXPECT_EQ(Spaced(r.pages[0].at(1)),
            "Initial Loan Amount: $100,000.00");
  EXPECT_EQ(r.rows.size(), 13u);
}

TEST(ScheduleReportPdf, LargestScheduleHasEveryWeeklyRow) {
  Schedule s;
  ScheduleInputs in = Terms(0, 1560);
  ASSERT_FALSE(s.Calculate(in).refused);
  ASSERT_EQ(s.lastRow(), 1560);
  const Report r = WriteAndRead(s, std::nullopt, "Prepared For:");
  EXPECT_EQ(r.pages.size(), 37u);
  ASSERT_EQ(r.rows.size(), 1561u);
  EXPECT_EQ(r.rows.back().rfind("1560/30 ", 0), 0u) << r.rows.back();
  EXPECT_EQ(Amounts(r.rows.back()).back(), "$0.00");
}

TEST(ScheduleReportPdf, UnwritablePathLeavesNothing) {
  Schedule s;
  ScheduleInputs in = Terms(2, 12);
  ASSERT_FALSE(s.Calculate(in).refused);
  testing::TempDir dir;
  const std::string path = dir.file("missing/report.pdf");
  std::string error;
  EXPECT_FALSE(WriteScheduleReportPdf(s, ReportTermsOf(in), std::nullopt, ReportSetup(), path, error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace brevika
