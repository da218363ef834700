// The calculator windows on the window base, driven as a user would: one
// worked example each, typed, calculated and copied; the rules themselves
// are tested in the core.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "calculators/transfer_records.h"
#include "calculators/ui/accel_window.h"
#include "calculators/ui/balloon_window.h"
#include "calculators/ui/intdue_window.h"
#include "calculators/ui/refi_window.h"
#include <QPlainTextEdit>
#include <QRegularExpression>
#include "components/date_row.h"
#include "components/masked_fields.h"
#include "calculators/ui/rembal_window.h"
#include "gui_test_util.h"

namespace brevika {
namespace {

class CalculatorWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMessageHandler([this](QWidget*, const Message& m) { messages_.push_back(m); });
  }
  void TearDown() override { SetMessageHandler(nullptr); }

  template <class W>
  W* Show(std::unique_ptr<W>& holder, W* w) {
    holder.reset(w);
    w->setAttribute(Qt::WA_DeleteOnClose, false);
    w->show();
    return w;
  }
  static QString Clipboard() { return QGuiApplication::clipboard()->text(); }

  TransferRecords records_;
  TestServices services_;
  std::vector<Message> messages_;
};

TEST_F(CalculatorWindowsTest, RemainingBalanceAfterTwelvePayments) {
  std::unique_ptr<TcLoRemBl> holder;
  auto* w = Show(holder, new TcLoRemBl(records_.Get(RemBalKind()), 1, &services_));
  EXPECT_EQ(w->windowTitle(), "Remaining Balance Calculator 1");
  Type(w, "PV", "100000");
  Type(w, "NumPmts", "360");
  Type(w, "Rate", "7.5");
  Type(w, "IncPer", "12");
  Click(w, "CalcBTN");
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(Text(w, "RemBal"), "$99,078.23");
  EXPECT_EQ(Text(w, "Pmt"), "$699.21");
  Click(w, "CopyBTN");
  EXPECT_TRUE(Clipboard().startsWith("Remaining Balance Calculator 1\r\n\r\n"));
  EXPECT_TRUE(Clipboard().contains("Remaining Balance:             $99,078.23\r\n"));
  // F1 on the payment-number field opens its topic; the Help button the window's.
  w->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w));
  w->findChild<QLineEdit*>(QStringLiteral("IncPer"))->setFocus();
  QTest::keyClick(w, Qt::Key_F1);
  Click(w, "HelpBTN");
  EXPECT_EQ(services_.helpRequests, (std::vector<int>{34, 90}));
}

TEST_F(CalculatorWindowsTest, AcceleratedPaymentSavesInterest) {
  std::unique_ptr<TcLoAccel> holder;
  auto* w = Show(holder, new TcLoAccel(records_.Get(AccelKind()), 2, &services_));
  EXPECT_EQ(w->windowTitle(), "Accelerated Payment Calculator 2");
  Type(w, "PV", "100000");
  Type(w, "NumPmts", "360");
  Type(w, "Rate", "7.5");
  Type(w, "IncPer", "12");
  Type(w, "ExtraPd", "100");
  Click(w, "CalcBTN");
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(Text(w, "PerOff"), "252");
  EXPECT_EQ(Text(w, "IntSaved"), "$52,091.98");
  // Reset behaves like Undo: an edit since Calc goes, the results stay.
  Type(w, "ExtraPd", "250");
  Click(w, "ResetBTN");
  EXPECT_EQ(Text(w, "ExtraPd"), "$100.00");
  EXPECT_EQ(Text(w, "IntSaved"), "$52,091.98");
}

TEST_F(CalculatorWindowsTest, BalloonPaymentAndItsUndo) {
  std::unique_ptr<TcLoBallP> holder;
  auto* w = Show(holder, new TcLoBallP(records_.Get(BalloonKind()), 1, &services_));
  Type(w, "PV", "10000");
  Type(w, "Rate", "12");
  Type(w, "PerDue", "12");
  Type(w, "BallPmt", "5000");
  Click(w, "CalcBTN");
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(Text(w, "Pmt"), "$494.24");
  // Undo does nothing in this window; Reset shows the record again.
  Type(w, "PV", "20000");
  Click(w, "UndoBTN");
  EXPECT_EQ(Text(w, "PV"), "20000");
  Click(w, "ResetBTN");
  EXPECT_EQ(Text(w, "PV"), "$10,000.00");
  Click(w, "CopyBTN");
  EXPECT_TRUE(Clipboard().contains("Balloon Payment?:                5,000.00\r\n"));
  // A refusal shows its warning and changes no field.
  Type(w, "PerDue", "0");
  Click(w, "CalcBTN");
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].box, BoxType::Warning);
  EXPECT_EQ(Text(w, "Pmt"), "$494.24");
}

TEST_F(CalculatorWindowsTest, InterestDueKeepsDaysAndDatesTogether) {
  std::unique_ptr<TcLoIntDu> holder;
  IntDueRecord* rec = records_.Get(IntDueKind(), KindContext{MakeDate(1, 1, 2026)});
  auto* w = Show(holder, new TcLoIntDu(rec, 1, &services_));
  EXPECT_EQ(Text(w, "StartDate"), "01/01/2026");
  Type(w, "PV", "10000");
  Type(w, "Rate", "7.5");
  Type(w, "NumDays", "365");
  // Calc applies the count typed first.
  Click(w, "CalcBTN");
  EXPECT_EQ(Text(w, "EndDate"), "01/01/2027");
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(Text(w, "IntPaid"), "$778.76");
  // The end date's spin button moves the part under the caret: the month.
  auto* end = w->findChild<DateField*>(QStringLiteral("EndDate"));
  end->setFocus();
  end->setCursorPosition(1);
  qobject_cast<DateRow*>(end->parentWidget())->Spin(1);
  EXPECT_EQ(Text(w, "EndDate"), "02/01/2027");
  EXPECT_EQ(Text(w, "NumDays"), "396");
  EXPECT_EQ(w->findChild<QWidget*>(QStringLiteral("OvcSpinner2"))->toolTip(),
            "Select M D or Y field\nclick to adjust.");
  // Undo discards the edit: the record still holds the Calc.
  Click(w, "UndoBTN");
  EXPECT_EQ(Text(w, "EndDate"), "01/01/2027");
}

TEST_F(CalculatorWindowsTest, RefinanceVerdictOnItsOwnPage) {
  std::unique_ptr<TcLoReFin> holder;
  auto* w = Show(holder, new TcLoReFin(records_.Get(RefinanceKind()), 1, &services_));
  EXPECT_EQ(w->windowTitle(), "Refinance Advisor 1");
  Type(w, "RemBal", "100000");
  Type(w, "PmtsRem", "300");
  Type(w, "Rate", "9");
  Type(w, "NewPV", "100000");
  Type(w, "NumPmts", "360");
  Type(w, "Rate2", "7");
  Type(w, "SldAfter", "7");
  Type(w, "DiscRate", "5");
  EXPECT_FALSE(w->showingResults());
  Click(w, "CalcBTN");
  EXPECT_TRUE(messages_.empty());
  ASSERT_TRUE(w->showingResults());
  const QString memo = w->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))->toPlainText();
  EXPECT_TRUE(memo.startsWith("     By the time you sell after 7 years, you'll have paid down $"));
  Click(w, "CopyBTN");
  EXPECT_TRUE(Clipboard().startsWith("Refinance Advisor 1\r\n\r\nCurrent Financing\r\n\r\n"));
  Click(w, "BitBtn1");
  EXPECT_FALSE(w->showingResults());
  // The new loan amount must equal the balance: leaving it puts it back.
  Type(w, "NewPV", "90000");
  emit w->findChild<QLineEdit*>(QStringLiteral("NewPV"))->editingFinished();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].box, BoxType::Information);
  EXPECT_EQ(Text(w, "NewPV").remove(QRegularExpression("[^0-9]")), "10000000");
}

}  // namespace
}  // namespace brevika
