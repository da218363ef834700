// The calculator print page: column widths by font size, tab stops with
// their 2 % margins, the centred bold caption and line spacing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "finance/page_layout.h"

namespace brevika {
namespace {

TEST(PageLayout, ColumnWidthByFontSize) {
  for (int pts : {1, 5, 8}) EXPECT_DOUBLE_EQ(PrintColumnWidth(pts), 1.5) << pts;
  for (int pts : {9, 10}) EXPECT_DOUBLE_EQ(PrintColumnWidth(pts), 2.0) << pts;
  for (int pts : {11, 12}) EXPECT_DOUBLE_EQ(PrintColumnWidth(pts), 2.5) << pts;
  for (int pts : {13, 14}) EXPECT_DOUBLE_EQ(PrintColumnWidth(pts), 3.0) << pts;
  for (int pts : {0, 15, 24, 72}) EXPECT_DOUBLE_EQ(PrintColumnWidth(pts), 3.25) << pts;
}

TEST(PageLayout, TenPointColumnsMeetAtThePageCentre) {
  const auto pages = CalculatorPage("Loan Calculator 1",
                                    {"\tAmount of Loan?:        \t     $100,000.00",
                                     "\tPayment Period?:        \tMonthly"},
                                    "Courier New", 10);
  ASSERT_EQ(pages.size(), 1u);
  const auto& t = pages[0].texts;
  ASSERT_EQ(t.size(), 5u);

  // Caption: bold, centred at 4.25 in, 1.5 in from the top.
  EXPECT_EQ(t[0].text, "Loan Calculator 1");
  EXPECT_TRUE(t[0].bold);
  EXPECT_EQ(t[0].align, Align::Center);
  EXPECT_DOUBLE_EQ(t[0].x, 4.25);
  EXPECT_DOUBLE_EQ(t[0].y, 1.5);

  // Two line ends after the caption; 10 pt lines are 1/6 in apart.
  const double line = 10 * 1.2 / 72.0;
  // First column 2 in wide from 2.25 in, left-aligned, inset 2 % of 2 in.
  EXPECT_EQ(t[1].text, "Amount of Loan?:        ");
  EXPECT_EQ(t[1].align, Align::Left);
  EXPECT_FALSE(t[1].bold);
  EXPECT_NEAR(t[1].x, 2.25 + 0.04, 1e-12);
  EXPECT_NEAR(t[1].y, 1.5 + 2 * line, 1e-12);
  // Second column from 4.25 in, right-aligned at 6.25 in less the inset.
  EXPECT_EQ(t[2].text, "     $100,000.00");
  EXPECT_EQ(t[2].align, Align::Right);
  EXPECT_NEAR(t[2].x, 6.25 - 0.04, 1e-12);
  EXPECT_NEAR(t[2].y, t[1].y, 1e-12);

  EXPECT_EQ(t[3].text, "Payment Period?:        ");
  EXPECT_NEAR(t[3].y, 1.5 + 3 * line, 1e-12);
  EXPECT_EQ(t[4].text, "Monthly");
  EXPECT_NEAR(t[4].x, 6.21, 1e-12);
}

TEST(PageLayout, TabStopsFollowTheFontSize) {
  struct Case {
    int pts;
    double width;
  };
  for (const Case c : {Case{8, 1.5}, Case{12, 2.5}, Case{14, 3.0}, Case{18, 3.25}}) {
    const auto pages = CalculatorPage("C", {"\tLabel\tValue"}, "Courier New", c.pts);
    const auto& t = pages.at(0).texts;
    ASSERT_EQ(t.size(), 3u);
    const double first = 4.25 - c.width;
    EXPECT_NEAR(t[1].x, first + c.width * 0.02, 1e-12) << c.pts;
    EXPECT_NEAR(t[2].x, 4.25 + c.width - c.width * 0.02, 1e-12) << c.pts;
    EXPECT_NEAR(t[2].y - t[0].y, 2 * c.pts * 1.2 / 72.0, 1e-12) << c.pts;
  }
}

TEST(PageLayout, BuilderTabsMarginsAndPageBreaks) {
  PageBuilder b("Courier New", 12);
  b.ClearTabs();
  b.SetTab({1.0, 2.0, Align::Left, 5});
  b.SetTab({3.0, 2.0, Align::Center, 0});
  b.GotoY(2.0);
  b.PrintTabbed("lead\tleft\tmiddle\tno stop");
  b.Bold(true);
  b.PrintRight("R", 8.0);
  b.NewLine();
  auto pages = b.Finish();
  ASSERT_EQ(pages.size(), 1u);
  const auto& t = pages[0].texts;
  ASSERT_EQ(t.size(), 4u);  // the segment past the last stop is dropped
  EXPECT_EQ(t[0].text, "lead");
  EXPECT_DOUBLE_EQ(t[0].x, 0.5);
  EXPECT_NEAR(t[1].x, 1.1, 1e-12);
  EXPECT_EQ(t[2].align, Align::Center);
  EXPECT_DOUBLE_EQ(t[2].x, 4.0);
  EXPECT_TRUE(t[3].bold);
  EXPECT_EQ(t[3].align, Align::Right);

  // Lines past the bottom margin start a new page at 1 in.
  PageBuilder many("Courier New", 10);
  many.GotoY(1.5);
  for (int k = 0; k < 60; ++k) {
    many.PrintLeft("line " + std::to_string(k), 1.0);
    many.NewLine();
  }
  auto out = many.Finish();
  ASSERT_EQ(out.size(), 2u);
  for (const auto& text : out[0].texts) EXPECT_LE(text.y, 11.0 - 0.75);
  ASSERT_FALSE(out[1].texts.empty());
  EXPECT_DOUBLE_EQ(out[1].texts[0].y, 1.0);
  EXPECT_EQ(out[0].texts.size() + out[1].texts.size(), 60u);
}

// One paper rule for every printout: the printer's, else the locale's.
TEST(PageLayout, PaperOfThePrinterElseOfTheLocale) {
  EXPECT_EQ(LocalePaper("en_US.UTF-8"), kLetterPaper);
  EXPECT_EQ(LocalePaper("fr_CA.UTF-8"), kLetterPaper);
  EXPECT_EQ(LocalePaper("es_MX"), kLetterPaper);
  EXPECT_EQ(LocalePaper("de_DE.UTF-8"), kA4Paper);
  EXPECT_EQ(LocalePaper("en_GB.ISO-8859-1"), kA4Paper);
  EXPECT_EQ(LocalePaper("de_DE@euro"), kA4Paper);
  EXPECT_EQ(LocalePaper("ja_JP.eucJP"), kA4Paper);
  // The C locale, or none, counts as US English.
  EXPECT_EQ(LocalePaper("C"), kLetterPaper);
  EXPECT_EQ(LocalePaper("C.UTF-8"), kLetterPaper);
  EXPECT_EQ(LocalePaper("POSIX"), kLetterPaper);
  EXPECT_EQ(LocalePaper(""), kLetterPaper);
  // A4 is 210 x 297 mm.
  EXPECT_NEAR(kA4Paper.width, 8.2677, 1e-4);
  EXPECT_NEAR(kA4Paper.height, 11.6929, 1e-4);

  // A printer's default paper wins over the locale's.
  const PaperSize legal{8.5, 14};
  EXPECT_EQ(DefaultPaper(legal, "de_DE.UTF-8"), legal);
  EXPECT_EQ(DefaultPaper(kA4Paper, "en_US.UTF-8"), kA4Paper);
  EXPECT_EQ(DefaultPaper(std::nullopt, "de_DE.UTF-8"), kA4Paper);
  EXPECT_EQ(DefaultPaper(std::nullopt, "C"), kLetterPaper);
}

// The locale of the paper as the C library picks it: LC_ALL, LC_PAPER, LANG.
TEST(PageLayout, PaperLocaleFromTheEnvironment) {
  struct Saved {
    const char* name;
    std::optional<std::string> value;
  } saved[] = {{"LC_ALL", {}}, {"LC_PAPER", {}}, {"LANG", {}}};
  for (Saved& s : saved)
    if (const char* v = std::getenv(s.name)) s.value = v;
  setenv("LANG", "en_US.UTF-8", 1);
  setenv("LC_PAPER", "de_DE.UTF-8", 1);
  setenv("LC_ALL", "fr_CA.UTF-8", 1);
  EXPECT_EQ(PaperLocaleName(), "fr_CA.UTF-8");
  setenv("LC_ALL", "", 1);  // set but empty counts as not set
  EXPECT_EQ(PaperLocaleName(), "de_DE.UTF-8");
  unsetenv("LC_PAPER");
  EXPECT_EQ(PaperLocaleName(), "en_US.UTF-8");
  unsetenv("LANG");
  unsetenv("LC_ALL");
  EXPECT_EQ(PaperLocaleName(), "");
  for (const Saved& s : saved) {
    if (s.value) setenv(s.name, s.value->c_str(), 1);
    else unsetenv(s.name);
  }
}

}  // namespace
}  // namespace brevika
