// Opening calculator windows from the main window: two slots per kind, the
// "&Windows" list, freeing and reusing slots, the shared transfer record.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <stdexcept>

#include "calculators/ui/loan_window.h"
#include "records/kind_registry.h"
#include "components/masked_fields.h"
#include "shell_test_util.h"

namespace brevika {
namespace {

class SlotsTest : public ShellTest {
 protected:
  QStringList WindowEntries() const {
    QStringList list;
    for (QAction* a : form_->windowsMenu()->actions()) list << a->text();
    return list;
  }
};

TEST_F(SlotsTest, ThirdLoanCommandOpensNothing) {
  MakeForm();
  EXPECT_EQ(form_->kindAction(CalcKind::Loan)->shortcut(), QKeySequence(Qt::Key_F2));
  form_->kindAction(CalcKind::Loan)->trigger();
  form_->kindAction(CalcKind::Loan)->trigger();
  form_->kindAction(CalcKind::Loan)->trigger();
  Settle();
  CalcWindowSlots& book = form_->windowSlots();
  EXPECT_EQ(book.OpenCount(), 2);
  ASSERT_NE(book.Window(CalcKind::Loan, 1), nullptr);
  ASSERT_NE(book.Window(CalcKind::Loan, 2), nullptr);
  EXPECT_EQ(book.Window(CalcKind::Loan, 1)->windowTitle(), QStringLiteral("Loan Calculator 1"));
  EXPECT_EQ(book.Window(CalcKind::Loan, 2)->windowTitle(), QStringLiteral("Loan Calculator 2"));
  EXPECT_TRUE(book.Window(CalcKind::Loan, 1)->isVisible());
  EXPECT_TRUE(book.Window(CalcKind::Loan, 2)->isVisible());
  EXPECT_EQ(WindowEntries(), (QStringList{"Loan Calculator 1", "Loan Calculator 2"}));
  // Exactly two loan windows exist, whatever the third command did.
  int loans = 0;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (qobject_cast<TcLoLoan*>(w) && w->isVisible()) ++loans;
  EXPECT_EQ(loans, 2);
}

TEST_F(SlotsTest, ClosingSlotOneFreesItAndReopeningKeepsTheMenuOrder) {
  MakeForm();
  form_->kindAction(CalcKind::Loan)->trigger();
  form_->kindAction(CalcKind::Loan)->trigger();
  Settle();
  QPointer<CalcWindow> first = form_->windowSlots().Window(CalcKind::Loan, 1);
  QPointer<CalcWindow> second = form_->windowSlots().Window(CalcKind::Loan, 2);
  ASSERT_TRUE(first && second);

  first->close();
  Settle();
  EXPECT_TRUE(first.isNull()) << "a closed window is released";
  EXPECT_FALSE(form_->windowSlots().InUse(CalcKind::Loan, 1));
  EXPECT_EQ(form_->windowSlots().MenuItem(CalcKind::Loan, 1), nullptr);
  EXPECT_EQ(WindowEntries(), QStringList{"Loan Calculator 2"});

  form_->kindAction(CalcKind::Loan)->trigger();
  Settle();
  CalcWindow* reopened = form_->windowSlots().Window(CalcKind::Loan, 1);
  ASSERT_NE(reopened, nullptr);
  EXPECT_EQ(reopened->windowTitle(), QStringLiteral("Loan Calculator 1"));
  EXPECT_EQ(reopened->slot(), 1);
  EXPECT_EQ(form_->windowSlots().Window(CalcKind::Loan, 2), second.data()) << "slot 2 stays";
  // Entries in the order the windows were opened.
  EXPECT_EQ(WindowEntries(), (QStringList{"Loan Calculator 2", "Loan Calculator 1"}));

  // With both taken again, one more command still does nothing.
  form_->kindAction(CalcKind::Loan)->trigger();
  Settle();
  EXPECT_EQ(form_->windowSlots().OpenCount(), 2);
  EXPECT_EQ(WindowEntries().size(), 2);
}

TEST_F(SlotsTest, WindowsEntryBringsItsWindowBack) {
  MakeForm();
  form_->kindAction(CalcKind::Loan)->trigger();
  form_->kindAction(CalcKind::Loan)->trigger();
  Settle();
  CalcWindow* first = form_->windowSlots().Window(CalcKind::Loan, 1);
  CalcWindow* second = form_->windowSlots().Window(CalcKind::Loan, 2);
  first->showMinimized();
  second->hide();
  Settle();
  form_->windowSlots().MenuItem(CalcKind::Loan, 1)->trigger();
  Settle();
  EXPECT_FALSE(first->isMinimized());
  EXPECT_TRUE(first->isVisible());
  EXPECT_FALSE(second->isVisible()) << "only the clicked entry's window is shown";
  form_->windowSlots().MenuItem(CalcKind::Loan, 2)->trigger();
  Settle();
  EXPECT_TRUE(second->isVisible());
}

TEST_F(SlotsTest, BothWindowsOfAKindShowTheSharedRecord) {
  MakeForm();
  form_->kindAction(CalcKind::Loan)->trigger();
  Settle();
  CalcWindow* first = form_->windowSlots().Window(CalcKind::Loan, 1);
  first->findChild<MoneyField*>(QStringLiteral("PV"))->setValue(100000);
  first->findChild<CountField*>(QStringLiteral("NumPmts"))->setValue(360);
  first->findChild<RateField*>(QStringLiteral("Rate"))->setValue(7.5f);
  first->findChild<QPushButton*>(QStringLiteral("CalcBTN"))->click();
  EXPECT_DOUBLE_EQ(first->findChild<MoneyField*>(QStringLiteral("Pmt"))->value(), 699.21);

  form_->kindAction(CalcKind::Loan)->trigger();
  Settle();
  CalcWindow* second = form_->windowSlots().Window(CalcKind::Loan, 2);
  ASSERT_NE(second, nullptr);
  EXPECT_DOUBLE_EQ(second->findChild<MoneyField*>(QStringLiteral("PV"))->value(), 100000);
  EXPECT_EQ(second->findChild<CountField*>(QStringLiteral("NumPmts"))->value(), 360);
  EXPECT_DOUBLE_EQ(second->findChild<MoneyField*>(QStringLiteral("Pmt"))->value(), 699.21);
  EXPECT_DOUBLE_EQ(second->findChild<MoneyField*>(QStringLiteral("TotInt"))->value(), 151715.60);

  // The record outlives both windows: close them, reopen, the values are there.
  first->close();
  second->close();
  Settle();
  EXPECT_TRUE(form_->windowSlots().HasRecord(CalcKind::Loan));
  form_->kindAction(CalcKind::Loan)->trigger();
  Settle();
  CalcWindow* again = form_->windowSlots().Window(CalcKind::Loan, 1);
  EXPECT_DOUBLE_EQ(again->findChild<MoneyField*>(QStringLiteral("Pmt"))->value(), 699.21);
}

TEST_F(SlotsTest, AFailedOpenBeepsAndLeavesTheSlotFree) {
  MakeForm();
  // Bookkeeping of its own, where no kind has a window factory yet.
  QMenu menu;
  CalcWindowSlots book(&menu);
  EXPECT_FALSE(book.CanOpen(CalcKind::InterestDue));
  EXPECT_EQ(book.Open(CalcKind::InterestDue), nullptr);
  int calls = 0;
  book.SetFactory(IntDueKind().info, [&calls](int) -> CalcWindow* {
    ++calls;
    throw std::runtime_error("cannot create");
  });
  EXPECT_EQ(book.Open(CalcKind::InterestDue), nullptr);
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(book.InUse(CalcKind::InterestDue, 1));
  EXPECT_TRUE(WindowEntries().isEmpty());
  EXPECT_EQ(book.OpenCount(), 0);
}

TEST_F(SlotsTest, RefinanceHasOneSlotAndEveryKindItsCaption) {
  MakeForm();
  CalcWindowSlots& book = form_->windowSlots();
  // A stand-in window kind shows the bookkeeping of the one-slot advisor.
  book.SetFactory(RefinanceKind().info, [this](int slot) -> CalcWindow* {
    return new TcLoLoan(nullptr, slot, form_.get());
  });
  EXPECT_NE(book.Open(CalcKind::Refinance), nullptr);
  EXPECT_EQ(book.Open(CalcKind::Refinance), nullptr);
  EXPECT_EQ(book.Window(CalcKind::Refinance, 1)->windowTitle(), QStringLiteral("Refinance Advisor 1"));
  EXPECT_EQ(book.OpenCount(), 1);
  EXPECT_EQ(SlotCaption(IntDueKind().info, 2), "Interest Due Calculator 2");
  EXPECT_EQ(SlotCaption(RemBalKind().info, 1), "Remaining Balance Calculator 1");
  EXPECT_EQ(SlotCaption(AccelKind().info, 1), "Accelerated Payment Calculator 1");
  EXPECT_EQ(SlotCaption(BalloonKind().info, 2), "Balloon Payment Calculator 2");
}

TEST_F(SlotsTest, TheSecondWindowOfAKindOpensBesideTheFirst) {
  MakeForm();
  form_->kindAction(CalcKind::Loan)->trigger();
  form_->kindAction(CalcKind::Loan)->trigger();
  Settle();
  CalcWindow* first = form_->windowSlots().Window(CalcKind::Loan, 1);
  CalcWindow* second = form_->windowSlots().Window(CalcKind::Loan, 2);
  EXPECT_EQ(second->frameGeometry().topLeft() - first->frameGeometry().topLeft(),
            QPoint(kSiblingOffset, kSiblingOffset));
  // Slot 1 reopened while slot 2 is up: beside slot 2.
  first->close();
  Settle();
  form_->kindAction(CalcKind::Loan)->trigger();
  Settle();
  first = form_->windowSlots().Window(CalcKind::Loan, 1);
  EXPECT_EQ(first->frameGeometry().topLeft() - second->frameGeometry().topLeft(),
            QPoint(kSiblingOffset, kSiblingOffset));
  // Near the screen's edge the offset goes the other way.
  first->close();
  Settle();
  const QRect avail = second->screen()->availableGeometry();
  second->move(avail.right() - second->frameGeometry().width() - 5, avail.bottom() - second->frameGeometry().height() - 5);
  Settle();
  form_->kindAction(CalcKind::Loan)->trigger();
  Settle();
  first = form_->windowSlots().Window(CalcKind::Loan, 1);
  EXPECT_EQ(first->frameGeometry().topLeft() - second->frameGeometry().topLeft(),
            QPoint(-kSiblingOffset, -kSiblingOffset));
}

TEST_F(SlotsTest, TheWindowsMenuIsEnabledOnlyWhileItListsAWindow) {
  MakeForm();
  QAction* windows = form_->windowsMenu()->menuAction();
  EXPECT_FALSE(windows->isEnabled());
  form_->kindAction(CalcKind::Loan)->trigger();
  Settle();
  EXPECT_TRUE(windows->isEnabled());
  form_->kindAction(CalcKind::Loan)->trigger();
  Settle();
  form_->windowSlots().Window(CalcKind::Loan, 1)->close();
  Settle();
  EXPECT_TRUE(windows->isEnabled());
  form_->windowSlots().Window(CalcKind::Loan, 2)->close();
  Settle();
  EXPECT_FALSE(windows->isEnabled());
}

TEST_F(SlotsTest, AWindowDeletedWithoutClosingFreesItsSlot) {
  MakeForm();
  form_->kindAction(CalcKind::Loan)->trigger();
  Settle();
  delete form_->windowSlots().Window(CalcKind::Loan, 1);
  EXPECT_FALSE(form_->windowSlots().InUse(CalcKind::Loan, 1));
  EXPECT_TRUE(WindowEntries().isEmpty());
}

TEST_F(SlotsTest, MenusCommandsAndShortcutsAsListed) {
  MakeForm();
  QStringList menus;
  for (QAction* a : form_->menuBar()->actions()) menus << a->text();
  EXPECT_EQ(menus, (QStringList{"&File", "&Calculators", "&Schedules", "&Advisors", "&Options",
                                "&Windows", "&Help"}));
  auto items = [this](int index) {
    QStringList list;
    for (QAction* a : form_->menuBar()->actions()[index]->menu()->actions())
      if (!a->isSeparator()) list << a->text() + QLatin1Char('|') + a->shortcut().toString();
    return list;
  };
  EXPECT_EQ(items(0), QStringList{"E&xit|"});
  EXPECT_EQ(items(1), (QStringList{"&Loan...|F2", "&Interest Due...|F3", "&Remaining Balance...|F4",
                                   "&Accelerated Payment...|F5", "&Balloon Payment...|F6",
                                   "&Truth in Lending...|F7"}));
  EXPECT_EQ(items(2), QStringList{"&Amortization...|Ctrl+A"});
  EXPECT_EQ(items(3), (QStringList{"&Refinance...|Ctrl+R", "Co&mpare Loans...|Ctrl+M"}));
  EXPECT_EQ(items(4), (QStringList{"&Show Hints|", "Save &Positions|", "&Color Bckgrnd|",
                                   "P&rinter Fonts...|"}));
  EXPECT_TRUE(items(5).isEmpty());
  EXPECT_EQ(items(6), (QStringList{"&Contents|", "&Topic Search|", "&Help on Help|", "T&ips...|",
                                   "&About...|"}));
  // Every window kind can be opened.
  for (CalcKind k : {CalcKind::Loan, CalcKind::InterestDue, CalcKind::RemainingBalance,
                     CalcKind::Accelerated, CalcKind::Balloon, CalcKind::Refinance,
                     CalcKind::CompareLoans, CalcKind::TruthInLending})
    EXPECT_TRUE(form_->kindAction(k)->isEnabled());
  EXPECT_TRUE(form_->findChild<QAction*>(QStringLiteral("AmortClick"))->isEnabled());
}

TEST_F(SlotsTest, FixedSizeWindowWithCentredExitButton) {
  MakeForm();
  EXPECT_EQ(form_->windowTitle(), QStringLiteral("Brevika"));
  EXPECT_EQ(form_->size(), QSize(612, 458));
  EXPECT_EQ(form_->minimumSize(), QSize(612, 458));
  EXPECT_EQ(form_->maximumSize(), QSize(612, 458));
  EXPECT_FALSE(form_->windowFlags() & Qt::WindowMaximizeButtonHint);
  QPushButton* exit = form_->exitButton();
  EXPECT_EQ(exit->text(), QStringLiteral("E&xit"));
  EXPECT_EQ(exit->pos(), QPoint(612 / 2 - exit->width() / 2, 321));  // 0.7 x 458 = 320.6
  // Each half truncated: 611 / 2 - 151 / 2 = 305 - 75.
  EXPECT_EQ(ExitButtonPosition(QSize(611, 450), QSize(151, 40)), QPoint(230, 315));
  auto* status = form_->findChild<QLabel*>(QStringLiteral("MainStatus"));
  ASSERT_NE(status, nullptr);
  EXPECT_EQ(status->text(), QString::fromUtf8(kStatusNotice));
}

TEST_F(SlotsTest, ExitClosesEveryWindowAndEndsTheProgram) {
  MakeForm();
  form_->kindAction(CalcKind::Loan)->trigger();
  Settle();
  QPointer<CalcWindow> loan = form_->windowSlots().Window(CalcKind::Loan, 1);
  int closed = 0;
  QObject::connect(form_.get(), &TMainForm::closed, [&closed] { ++closed; });
  form_->exitButton()->click();
  Settle();
  EXPECT_EQ(closed, 1);
  EXPECT_FALSE(form_->isVisible());
  EXPECT_TRUE(loan.isNull());
}

}  // namespace
}  // namespace brevika
