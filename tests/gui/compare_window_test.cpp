// The Compare Loans window wired to its record: two offers typed and
// calculated show a figure under a column, the verdict and the chart; Add
// makes a third column; a refusal of that empty column puts the focus in
// it; Print sends one page. The comparison itself is tested in the core.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QLineSeries>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "amortization/ui/compare_chart.h"
#include "amortization/ui/compare_window.h"
#include "calculators/transfer_records.h"
#include "components/help_viewer.h"
#include "components/page_painter.h"
#include "gui_test_util.h"

namespace brevika {
namespace {

class CompareWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMessageHandler([this](QWidget*, const Message& m) { messages_.push_back(m); });
    SetPrintHandler([this](QWidget*, const std::vector<Page>& pages, const QString& title, const QFont&) {
      printed_ = pages;
      printTitle_ = title;
      return true;
    });
  }
  void TearDown() override {
    SetMessageHandler(nullptr);
    SetPrintHandler(nullptr);
  }

  TransferRecords records_;
  TestServices services_;
  std::vector<Message> messages_;
  std::vector<Page> printed_;
  QString printTitle_;
};

TEST_F(CompareWindowTest, TwoOffersCalculatedThenAThirdColumn) {
  auto w = std::make_unique<TcLoCompare>(records_.Get(CompareKind()), 1, &services_);
  w->setAttribute(Qt::WA_DeleteOnClose, false);
  w->show();
  EXPECT_EQ(w->windowTitle(), "Compare Loans 1");
  EXPECT_EQ(w->columnCount(), 2);
  EXPECT_FALSE(w->findChild<QLineEdit*>(QStringLiteral("PV3"))->isVisible());

  // The points buy-down example of the core tests, kept 5 years.
  Type(w.get(), QStringLiteral("PV1"), "300000");
  Type(w.get(), QStringLiteral("NumPmts1"), "360");
  Type(w.get(), QStringLiteral("Rate1"), "6.5");
  Type(w.get(), QStringLiteral("Points1"), "1");
  Type(w.get(), QStringLiteral("Fees1"), "2500");
  Type(w.get(), QStringLiteral("PV2"), "300000");
  Type(w.get(), QStringLiteral("NumPmts2"), "360");
  Type(w.get(), QStringLiteral("Rate2"), "6.875");
  Type(w.get(), QStringLiteral("Horizon"), "5");
  Click(w.get(), "CalcBTN");
  EXPECT_TRUE(messages_.empty()) << messages_.front().text;
  EXPECT_TRUE(w->showingResults());
  EXPECT_EQ(Text(w.get(), "CostToHorizon1"), "$100,105.26");
  EXPECT_TRUE(w->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))
                  ->toPlainText()
                  .startsWith("Offer 1 costs the least over 5 years: $156.10 less than Offer 2."));
  ASSERT_EQ(w->chart()->costLines().size(), 2);
  EXPECT_EQ(w->chart()->costLines()[0]->count(), 361);
  ASSERT_NE(w->chart()->horizonLine(), nullptr);
  EXPECT_EQ(w->chart()->horizonLine()->at(0).x(), 5.0);

  // Print: one page, through the handler.
  Click(w.get(), "PrintBTN");
  EXPECT_EQ(printTitle_, "Compare Loans 1");
  EXPECT_EQ(printed_.size(), 1u);

  // Add: a third, empty column with the focus; the figures are cleared.
  Click(w.get(), "BitBtn1");
  Click(w.get(), "AddBTN");
  EXPECT_EQ(w->columnCount(), 3);
  auto* pv3 = w->findChild<QLineEdit*>(QStringLiteral("PV3"));
  EXPECT_TRUE(pv3->isVisible());
  EXPECT_EQ(w->focusWidget(), pv3);
  EXPECT_EQ(Text(w.get(), "PV1"), "$300,000.00");
  EXPECT_EQ(Text(w.get(), "CostToHorizon1"), "$0.00");
  EXPECT_TRUE(w->chart()->costLines().empty());

  // Its zeros are refused in its name, and the focus goes back to it.
  w->findChild<QLineEdit*>(QStringLiteral("Rate1"))->setFocus();
  Click(w.get(), "CalcBTN");
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].text.rfind("Offer 3: No zero values allowed.", 0), 0u) << messages_[0].text;
  EXPECT_FALSE(w->showingResults());
  EXPECT_EQ(w->focusWidget(), pv3);
}

TEST_F(CompareWindowTest, HelpOpensItsTopics) {
  ASSERT_TRUE(HasHelpTopic(280));
  ASSERT_TRUE(HasHelpTopic(281));
  EXPECT_EQ(HelpTopics()[280].title, QStringLiteral("Compare Loans"));
  EXPECT_EQ(HelpTopics()[281].title, QStringLiteral("How the comparison works"));
  TcLoCompare w(records_.Get(CompareKind()), 1, &services_);
  w.setAttribute(Qt::WA_DeleteOnClose, false);
  Click(&w, "HelpBTN");
  EXPECT_EQ(services_.helpRequests, std::vector<int>{280});
}

}  // namespace
}  // namespace brevika
