// The loan calculator hosted by the main window: opened with F2, driven
// from the keyboard, its help in the help viewer, the printer font of the
// main window, and its position kept in the preferences file.
#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "calculators/ui/loan_window.h"
#include "components/help_viewer.h"
#include "components/masked_fields.h"
#include "components/page_painter.h"
#include "shell_test_util.h"

namespace brevika {
namespace {

class LoanAppTest : public ShellTest {
 protected:
  void TearDown() override {
    SetPrintHandler(nullptr);
    HelpViewer::Shared()->close();
    ShellTest::TearDown();
  }
  TcLoLoan* OpenWithF2() {
    form_->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form_.get()));
    QTest::keyClick(form_.get(), Qt::Key_F2);
    Settle();
    auto* w = qobject_cast<TcLoLoan*>(form_->windowSlots().Window(CalcKind::Loan, 1));
    EXPECT_NE(w, nullptr);
    if (w) {
      w->activateWindow();
      EXPECT_TRUE(QTest::qWaitForWindowActive(w));
    }
    return w;
  }
  static void Keys(const QString& keys) { QTest::keyClicks(QApplication::focusWidget(), keys); }
  static void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, mods);
  }
};

TEST_F(LoanAppTest, CalculateCopyHelpAndPrintFromTheMainWindow) {
  MakeForm();
  TcLoLoan* w = OpenWithF2();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->windowTitle(), "Loan Calculator 1");
  ASSERT_EQ(form_->windowsMenu()->actions().size(), 1);
  EXPECT_EQ(form_->windowsMenu()->actions()[0]->text(), "Loan Calculator 1");

  Keys("100000");
  Key(Qt::Key_Tab);
  Keys("360");
  Key(Qt::Key_Tab);
  Keys("7.5");
  Key(Qt::Key_Return);
  EXPECT_TRUE(messages_.empty());
  EXPECT_DOUBLE_EQ(w->findChild<MoneyField*>("Pmt")->value(), 699.21);
  EXPECT_EQ(w->findChild<MoneyField*>("TotInt")->text(), "$151,715.60");

  QTest::keyClick(w, Qt::Key_Y, Qt::AltModifier);  // Cop&y
  ASSERT_TRUE(QTest::qWaitFor(
      [] { return QGuiApplication::clipboard()->text().startsWith("Loan Calculator 1\r\n\r\n"); },
      2000));
  EXPECT_TRUE(QGuiApplication::clipboard()->text().contains(
      "Periodic Payment:                 $699.21\r\n"));

  // F1 on the rate field opens its topic; the Help button the window's.
  w->findChild<QWidget*>("Rate")->setFocus();
  Key(Qt::Key_F1);
  EXPECT_EQ(HelpViewer::Shared()->currentContext(), 9);
  QTest::mouseClick(w->findChild<QPushButton*>("HelpBTN"), Qt::LeftButton);
  EXPECT_EQ(HelpViewer::Shared()->currentContext(), 125);

  QFont used;
  std::vector<Page> printed;
  SetPrintHandler([&](QWidget*, const std::vector<Page>& pages, const QString&, const QFont& f) {
    used = f;
    printed = pages;
    return true;
  });
  QTest::mouseClick(w->findChild<QPushButton*>("PrintBTN"), Qt::LeftButton);
  EXPECT_EQ(used.family(), form_->PrinterFont().family());
  ASSERT_EQ(printed.size(), 1u);
  ASSERT_FALSE(printed[0].texts.empty());
  EXPECT_EQ(printed[0].texts[0].text, "Loan Calculator 1");
}

TEST_F(LoanAppTest, PositionIsSavedOnCloseAndRestoredOnOpen) {
  WriteIni("[PREFERENCES]\nSAVEPOSITIONS=1\n");
  MakeForm();
  TcLoLoan* w = OpenWithF2();
  ASSERT_NE(w, nullptr);
  w->setGeometry(QRect(QPoint(131, 97), w->size()));
  QPointer<TcLoLoan> alive(w);
  QTest::keyClick(w, Qt::Key_Escape);
  Settle();
  EXPECT_TRUE(alive.isNull());
  EXPECT_TRUE(form_->windowsMenu()->actions().isEmpty());
  EXPECT_TRUE(IniText().contains("[Loan Calculator 1]\nLeft=131\nTop=97\n")) << IniText().constData();

  TcLoLoan* again = OpenWithF2();
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->geometry().topLeft(), QPoint(131, 97));
}

}  // namespace
}  // namespace brevika
