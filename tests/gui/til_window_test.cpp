// The Truth in Lending window driven from the keyboard as the window system
// delivers keys (to the focused control or cell editor), and its opening
// from the modal schedule window with the schedule's loan. The APR rules are
// tested on the core.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <memory>

#include "amortization/amort_records.h"
#include "amortization/ui/amort_window.h"
#include "calculators/transfer_records.h"
#include "calculators/ui/til_window.h"
#include "shell_test_util.h"

namespace brevika {
namespace {

void Keys(QWidget* top, const char* text) {
  for (const char* c = text; *c; ++c) QTest::keyClick(top->windowHandle(), *c);
}

// A click as the window system delivers it: a window that a modal window
// blocks does not get it.
void ClickThroughTheWindowSystem(QWidget* target) {
  QWidget* top = target->window();
  QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {}, target->mapTo(top, target->rect().center()));
}

class TilWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMessageHandler([this](QWidget*, const Message& m) { messages_.push_back(m); });
  }
  void TearDown() override { SetMessageHandler(nullptr); }

  TransferRecords records_;
  TestServices services_;
  std::vector<Message> messages_;
};

TEST_F(TilWindowTest, TheLoanTypedIntoTheGridsAndCalculated) {
  TcLoTIL w(records_.Get(TilKind()), 1, &services_);
  w.setAttribute(Qt::WA_DeleteOnClose, false);
  w.show();
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  EXPECT_EQ(w.windowTitle(), "Truth in Lending 1");
  EXPECT_EQ(QApplication::focusWidget(), w.Advances) << "the first grid has the focus";

  // 5,000.00 on 01/10/1978; 24 monthly payments of 230.00 from 02/10/1978
  // (the interval is left at Monthly). Enter in a cell ends its entry only.
  // A cell takes what a money field takes: the 13th integer digit is refused.
  Keys(&w, "1234567890123\r");
  EXPECT_EQ(w.Advances->CellText(0, 0), "$123,456,789,012.00");
  Keys(&w, "5000\t01/10/1978\r");
  EXPECT_TRUE(messages_.empty()) << "Enter in a cell does not calculate";
  EXPECT_EQ(w.Advances->CellText(0, 0), "$5,000.00");
  EXPECT_EQ(w.Advances->RowCount(), 2) << "a blank row for the next advance";
  w.Payments->setFocus();
  Keys(&w, "24\t230\t02/10/1978\r");
  EXPECT_EQ(w.Payments->CellText(0, 3), "Monthly");
  // Ins puts a row above the current one, Ctrl+Del takes it away again.
  QTest::keyClick(w.windowHandle(), Qt::Key_Insert);
  EXPECT_EQ(w.Payments->RowCount(), 3);
  EXPECT_EQ(w.Payments->CellText(1, 0), "24");
  QTest::keyClick(w.windowHandle(), Qt::Key_Delete, Qt::ControlModifier);
  EXPECT_EQ(w.Payments->CellText(0, 0), "24");
  EXPECT_EQ(w.Payments->RowCount(), 2);

  // F1 in a grid opens its topic.
  QTest::keyClick(w.windowHandle(), Qt::Key_F1);
  EXPECT_EQ(services_.helpRequests, std::vector<int>{262});
  w.Disclosed->setFocus();
  Keys(&w, "9.8\r");  // Enter in a field calculates
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(w.APR->text(), "9.69%");
  EXPECT_EQ(w.Verdict->text(), "Accurate");
  QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("CopyBTN")), Qt::LeftButton);
  EXPECT_TRUE(QGuiApplication::clipboard()->text().contains("FINANCE CHARGE:                   $520.00\r\n"));

  // Undo brings back a series deleted since the Copy.
  w.Payments->setFocus();
  QTest::keyClick(w.windowHandle(), Qt::Key_Delete, Qt::ControlModifier);
  EXPECT_EQ(w.Payments->RowCount(), 1);
  QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("UndoBTN")), Qt::LeftButton);
  EXPECT_EQ(w.Payments->CellText(0, 1), "$230.00");
  // A refusal is a message and changes no result shown.
  w.Payments->setFocus();
  QTest::keyClick(w.windowHandle(), Qt::Key_Delete, Qt::ControlModifier);
  QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("CalcBTN")), Qt::LeftButton);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].text.rfind("Enter at least one series of payments:", 0), 0u);
  EXPECT_EQ(w.APR->text(), "9.69%");
  // Reset empties the grids and the results.
  QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("ResetBTN")), Qt::LeftButton);
  EXPECT_EQ(w.Advances->RowCount(), 1);
  EXPECT_EQ(w.APR->text(), "0.00%");
}

using TilFromScheduleTest = ShellTest;

// 100,000.00 over 360 months at 7.5 % from 01/01/1997: 359 payments of
// 699.21 and a last one of 705.60 on 01/01/2027.
void ThirtyYearTerms(AmortInputs& in) {
  in.PV = 100000;
  in.NumPmts = 360;
  in.Rate = 7.5f;
  in.OrgDate = MakeDate(1, 1, 1997);
  in.FrstPmtDate = MakeDate(1, 2, 1997);
}

TEST_F(TilFromScheduleTest, TheSchedulesLoanOpensUsableInFrontOfIt) {
  MakeForm();
  ThirtyYearTerms(form_->amortInputs());
  bool ran = false;
  QTimer::singleShot(0, [&] {
    auto* schedule = qobject_cast<TcLoAmort*>(QApplication::activeModalWidget());
    ASSERT_NE(schedule, nullptr);
    ran = true;
    EXPECT_FALSE(schedule->TruthInLendingItem->isEnabled()) << "no schedule yet";
    schedule->CalcBTNClick();
    ASSERT_TRUE(schedule->TruthInLendingItem->isEnabled());
    EXPECT_EQ(schedule->TruthInLendingItem->text(), "Truth in &Lending...");
    schedule->TruthInLendingItem->trigger();
    Settle();
    ASSERT_TRUE(form_->windowSlots().InUse(CalcKind::TruthInLending, 1));
    auto* til = static_cast<TcLoTIL*>(form_->windowSlots().Window(CalcKind::TruthInLending, 1));
    EXPECT_EQ(til->Advances->CellText(0, 0), "$100,000.00");
    EXPECT_EQ(til->Advances->CellText(0, 1), "01/01/1997");
    EXPECT_EQ(til->Payments->CellText(0, 0), "359");
    EXPECT_EQ(til->Payments->CellText(1, 1), "$705.60");
    // Not blocked by the modal schedule window: a click reaches Calc.
    ClickThroughTheWindowSystem(til->findChild<QPushButton*>(QStringLiteral("CalcBTN")));
    EXPECT_EQ(til->APR->text(), "7.50%");
    EXPECT_EQ(QApplication::activeModalWidget(), schedule) << "the schedule window stays modal";
    schedule->reject();
  });
  form_->AmortClick();
  ASSERT_TRUE(ran);
  Settle();
  // The calculator stays open, as it was, once the schedule window is gone.
  ASSERT_TRUE(form_->windowSlots().InUse(CalcKind::TruthInLending, 1));
  auto* til = static_cast<TcLoTIL*>(form_->windowSlots().Window(CalcKind::TruthInLending, 1));
  EXPECT_TRUE(til->isVisible());
  EXPECT_EQ(til->APR->text(), "7.50%");
  EXPECT_TRUE(messages_.empty());
}

TEST_F(TilFromScheduleTest, WithBothWindowsOpenTheFirstShowsTheLoan) {
  MakeForm();
  ThirtyYearTerms(form_->amortInputs());
  form_->kindAction(CalcKind::TruthInLending)->trigger();
  form_->kindAction(CalcKind::TruthInLending)->trigger();
  Settle();
  QTimer::singleShot(0, [&] {
    auto* schedule = qobject_cast<TcLoAmort*>(QApplication::activeModalWidget());
    ASSERT_NE(schedule, nullptr);
    schedule->CalcBTNClick();
    schedule->TruthInLendingItem->trigger();
    Settle();
    auto* til = static_cast<TcLoTIL*>(form_->windowSlots().Window(CalcKind::TruthInLending, 1));
    EXPECT_EQ(til->Advances->CellText(0, 0), "$100,000.00");
    ClickThroughTheWindowSystem(til->findChild<QPushButton*>(QStringLiteral("CalcBTN")));
    EXPECT_EQ(til->APR->text(), "7.50%");
    schedule->reject();
  });
  form_->AmortClick();
  Settle();
  EXPECT_EQ(form_->windowSlots().OpenCount(), 2);
}

}  // namespace
}  // namespace brevika
