// The printed ledger's summary: two columns meeting at the page centre,
// every value clear of its label however long "Ahead or Behind" gets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "amortization/schedule.h"
#include "records/ledger.h"

namespace brevika::records {
namespace {

const PageText* Find(const Page& page, const std::string& text) {
  for (const PageText& t : page.texts)
    if (t.text == text) return &t;
  return nullptr;
}

// 20,000.00 at 6 % over 60 months from 01/01/2024, paid once, 386.66 on
// 02/11/2024. On `asOf` the summary of its ledger, printed at 10 points on
// Letter paper.
std::vector<Page> Printed(Date asOf) {
  ScheduleInputs in;
  in.PV = 20000;
  in.NumPmts = 60;
  in.Rate = 6.0f;
  in.OrgDate = MakeDate(1, 1, 2024);
  in.FrstPmtDate = MakeDate(1, 2, 2024);
  Schedule s;
  EXPECT_TRUE(s.Calculate(in).ok());
  LedgerInputs li;
  li.terms.amount = in.PV;
  li.terms.rate = in.Rate;
  li.terms.origination = in.OrgDate;
  li.terms.firstPayment = in.FrstPmtDate;
  for (int k = 0; k <= s.lastRow(); ++k) li.scheduled.push_back(s.row(k));
  li.payments = {{MakeDate(11, 2, 2024), 386.66, ""}};
  Ledger l;
  EXPECT_TRUE(ComputeLedger(li, l).ok());
  LedgerSummary sum;
  EXPECT_TRUE(SummarizeLedger(l, asOf, sum).ok());
  LedgerReportSetup setup;
  setup.today = asOf;
  return LedgerReportPages(l, sum, setup);
}

// At 10 points a character is 10 x 0.6 / 72 = 1/12 inch; the columns are
// 2 inches wide with a 2 % inner margin, meeting at 4.25 inches.
constexpr double kChar = 1.0 / 12;

TEST(LedgerReportSummary, ShortValuesMeetAtTheCentre) {
  // On 02/20/2024 the one payment due is paid: "On schedule".
  const std::vector<Page> pages = Printed(MakeDate(20, 2, 2024));
  const PageText* label = Find(pages[0], "As Of:");
  const PageText* value = Find(pages[0], "02/20/2024");
  ASSERT_TRUE(label && value);
  EXPECT_NEAR(label->x, 4.25 - 2 + 0.04, 1e-9);
  EXPECT_NEAR(value->x, 4.25 + 2 - 0.04, 1e-9);
  EXPECT_TRUE(Find(pages[0], "On schedule"));
}

TEST(LedgerReportSummary, ALongAheadOrBehindStaysClearOfItsLabel) {
  // On 12/09/2026, 35 payments of 386.66 are due (13,533.10) and 386.66 was
  // paid: one payment covered, 34 behind, by 13,146.44.
  const std::vector<Page> pages = Printed(MakeDate(9, 12, 2026));
  const std::string behind = "Behind by 34 payments, $13,146.44";
  const PageText* label = Find(pages[0], "Ahead or Behind:");
  const PageText* value = Find(pages[0], behind);
  ASSERT_TRUE(label && value);
  ASSERT_EQ(value->align, Align::Right);
  const double labelEnd = label->x + 16 * kChar;
  const double valueStart = value->x - static_cast<double>(behind.size()) * kChar;
  EXPECT_GE(valueStart, labelEnd + kChar - 1e-9);
  // The value column widens to 50 characters (16 + 33 + a blank) over
  // 0.98, less the label column: 50 / 12 / 0.98 - 2 = 2.251701 inches; the
  // pair moves left by half the 0.251701 it grew, 0.125850.
  const double grown = 50 * kChar / 0.98 - 2;
  EXPECT_NEAR(grown, 2.251701, 1e-6);
  EXPECT_NEAR(label->x, 4.25 - 2 - (grown - 2) / 2 + 0.04, 1e-9);
  EXPECT_NEAR(value->x, 4.25 - (grown - 2) / 2 + grown * 0.98, 1e-9);
}

// The grid of payments fits 10 points on Letter paper unscaled: each
// column keeps a blank between its widest usual text and the next one.
TEST(LedgerReportColumns, DatesNumbersAndHeadsKeepABlankBetween) {
  const std::vector<Page> pages = Printed(MakeDate(20, 2, 2024));
  const PageText* date = Find(pages[0], "02/01/2024");
  const PageText* number = Find(pages[0], "1");
  const PageText* paid = Find(pages[0], "Paid");
  const PageText* days = Find(pages[0], "Days");
  ASSERT_TRUE(date && number && paid && days);
  ASSERT_EQ(number->align, Align::Right);
  // Payment 1560 (30 years of weekly payments) ends where payment 1 does.
  EXPECT_GE(number->x - 4 * kChar, date->x + 10 * kChar + kChar - 1e-9);
  EXPECT_GE(days->x - 4 * kChar, paid->x + kChar - 1e-9);
  // The date column starts at the left margin of the 90 characters,
  // (8.5 - 90 / 12) / 2 = 0.5 inch.
  EXPECT_NEAR(date->x, 0.5, 1e-9);
}

}  // namespace
}  // namespace brevika::records
