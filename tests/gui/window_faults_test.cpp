// Faults a new user meets in the windows, driven as the user met them:
// keys typed, fields left, popups, the main window's calculator windows,
// large results, F1 in the print preview, saved positions and paper. The
// rules behind them are tested in the core (interest due dates, the paper
// rule, the widest amount) and in screen_fit_test.cpp.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontMetrics>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <memory>
#include <optional>

#include "amortization/ui/amort_window.h"
#include "amortization/ui/schedule_report_pdf.h"
#include "calculators/transfer_records.h"
#include "calculators/ui/intdue_window.h"
#include "calculators/ui/loan_window.h"
#include "components/masked_fields.h"
#include "components/page_painter.h"
#include "components/page_preview.h"
#include "shell_test_util.h"

namespace brevika {
namespace {

class WindowFaultsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMessageHandler([this](QWidget*, const Message& m) { messages_.push_back(m); });
  }
  void TearDown() override {
    SetMessageHandler(nullptr);
    SetPrintHandler(nullptr);
  }

  // Shows a window of the test's own and makes it the active one, so that
  // the focus moves as the keys say.
  template <class W>
  W* Show(std::unique_ptr<W>& holder, W* w) {
    holder.reset(w);
    w->setAttribute(Qt::WA_DeleteOnClose, false);
    w->show();
    w->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(w));
    return w;
  }
  template <class T>
  static T* Child(QWidget* w, const char* name) {
    T* c = w->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
  }
  static QString Text(QWidget* w, const char* name) { return Child<QLineEdit>(w, name)->text(); }
  // Enters a field by keyboard (its value selected) and types.
  static void Type(QWidget* w, const char* name, const char* keys) {
    QLineEdit* f = Child<QLineEdit>(w, name);
    f->setFocus(Qt::TabFocusReason);
    f->selectAll();
    QTest::keyClicks(f, QString::fromLatin1(keys));
  }
  static void Click(QWidget* w, const char* button) {
    QTest::mouseClick(Child<QPushButton>(w, button), Qt::LeftButton);
  }
  // Runs `act` on the first modal dialog of type D that opens while
  // `open` runs; false when none opened.
  template <class D>
  static bool WhileModal(const std::function<void()>& open, const std::function<void(D*)>& act) {
    bool seen = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      auto* d = qobject_cast<D*>(QApplication::activeModalWidget());
      if (!d) return;
      poll.stop();
      seen = true;
      act(d);
    });
    poll.start(10);
    open();
    return seen;
  }

  TransferRecords records_;
  TestServices services_;
  std::vector<Message> messages_;
};

// 1 January 2026 is a Thursday.
IntDueRecord* NewYearsDay(TransferRecords& records) {
  return records.Get(IntDueKind(), KindContext{MakeDate(1, 1, 2026)});
}

TEST_F(WindowFaultsTest, InterestDueDayCountTakesEffectWhenTheFieldIsLeft) {
  std::unique_ptr<TcLoIntDu> holder;
  auto* w = Show(holder, new TcLoIntDu(NewYearsDay(records_), 1, &services_));
  // "-30": nothing moves on the way ("-3"); leaving the field moves the
  // start date 30 days back from the end date, to Tuesday 12/02/2025.
  Type(w, "NumDays", "-30");
  EXPECT_EQ(Text(w, "NumDays"), "-30");
  EXPECT_EQ(Text(w, "StartDate"), "01/01/2026");
  QTest::keyClick(Child<QWidget>(w, "NumDays"), Qt::Key_Tab);
  EXPECT_EQ(Text(w, "StartDate"), "12/02/2025");
  EXPECT_EQ(Text(w, "StartDay"), "Tuesday");
  EXPECT_EQ(Text(w, "EndDate"), "01/01/2026");
  EXPECT_EQ(Text(w, "NumDays"), "30");

  // "-5" and Enter, which calculates without leaving the field: the count
  // is applied first, and Copy names the start date's weekday, Saturday.
  Type(w, "NumDays", "-5");
  QTest::keyClick(Child<QWidget>(w, "NumDays"), Qt::Key_Return);
  EXPECT_EQ(Text(w, "StartDate"), "12/27/2025");
  EXPECT_EQ(Text(w, "StartDay"), "Saturday");
  Click(w, "CopyBTN");
  EXPECT_TRUE(QGuiApplication::clipboard()->text().contains(
      "Number of Days? (#):                    5\r\n"
      "Annual Rate? (%):                    0.00\r\n"
      "Start Date?:             Saturday  12/27/2025\r\n"
      "End Date?:               Thursday  01/01/2026\r\n"))
      << QGuiApplication::clipboard()->text().toStdString();
  EXPECT_TRUE(messages_.empty());
}

TEST_F(WindowFaultsTest, InterestDueSaysBadDateAndCalcRefusesIt) {
  std::unique_ptr<TcLoIntDu> holder;
  auto* w = Show(holder, new TcLoIntDu(NewYearsDay(records_), 1, &services_));
  Type(w, "PV", "10000");
  Type(w, "Rate", "7.5");
  Type(w, "NumDays", "10");
  Click(w, "CalcBTN");
  ASSERT_TRUE(messages_.empty());
  const QString interest = Text(w, "IntPaid");
  EXPECT_NE(interest, "$0.00");

  // 30 February: "Bad Date" while typed and after the field is left; the
  // field keeps what was typed, and Calc does not compute from another date.
  Type(w, "StartDate", "02/30/2026");
  EXPECT_EQ(Text(w, "StartDay"), "Bad Date");
  QTest::keyClick(Child<QWidget>(w, "StartDate"), Qt::Key_Tab);
  EXPECT_EQ(Text(w, "StartDate"), "02/30/2026");
  EXPECT_EQ(Text(w, "StartDay"), "Bad Date");
  EXPECT_EQ(Text(w, "NumDays"), "10");
  Click(w, "CalcBTN");
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].text,
            "Start Date and End Date must be valid dates\r\r(01/01/1600 to 12/31/3999).\r\r"
            "Please Try Again");
  EXPECT_EQ(Text(w, "IntPaid"), interest);
  EXPECT_EQ(Text(w, "StartDate"), "02/30/2026");

  // Month 13, day 45: every key is taken, none silently dropped.
  Type(w, "EndDate", "13/45/2027");
  EXPECT_EQ(Text(w, "EndDate"), "13/45/2027");
  EXPECT_EQ(Text(w, "EndDay"), "Bad Date");
}

class ScheduleFaultsTest : public WindowFaultsTest {
 protected:
  void SetUp() override {
    WindowFaultsTest::SetUp();
    // 100,000.00 over 360 months at 7.5 %, made 1 January 1997.
    inputs_ = NewAmortInputs(MakeDate(20, 12, 1996));
    inputs_.PV = 100000;
    inputs_.NumPmts = 360;
    inputs_.Rate = 7.5f;
    inputs_.OrgDate = MakeDate(1, 1, 1997);
    inputs_.FrstPmtDate = MakeDate(1, 2, 1997);
  }
  TcLoAmort* Open() { return Show(window_, new TcLoAmort(&inputs_, &optValues_, &services_)); }

  AmortInputs inputs_;
  AmortOptValues optValues_;
  std::unique_ptr<TcLoAmort> window_;
};

TEST_F(ScheduleFaultsTest, CalcRefusesAFirstPaymentDateThatIsNoDate) {
  TcLoAmort* w = Open();
  QTest::mouseClick(w->CalcBTN, Qt::LeftButton);
  ASSERT_TRUE(w->scheduleShown());
  ASSERT_TRUE(messages_.empty());
  Type(w, "FrstPmtDate", "02/30/27");
  QTest::mouseClick(w->CalcBTN, Qt::LeftButton);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].text, "1st Payment Date is not a valid date.\n\nPlease Try Again");
  EXPECT_EQ(messages_[0].box, BoxType::Information);
  // Nothing changed: the field, the stored terms, the schedule shown.
  EXPECT_EQ(w->FrstPmtDate->text(), "02/30/27");
  EXPECT_EQ(inputs_.FrstPmtDate, MakeDate(1, 2, 1997));
  EXPECT_TRUE(w->scheduleShown());
  EXPECT_EQ(w->schedule().row(1).date, MakeDate(1, 2, 1997));
}

TEST_F(ScheduleFaultsTest, EscapeInAnOpenListClosesTheListOnly) {
  TcLoAmort* w = Open();
  QTest::mouseClick(w->CalcBTN, Qt::LeftButton);
  ASSERT_TRUE(w->scheduleShown());
  for (int time = 1; time <= 2; ++time) {
    w->PYR->setFocus();
    QTest::keyClick(w->PYR, Qt::Key_Down, Qt::AltModifier);
    QWidget* popup = QApplication::activePopupWidget();
    ASSERT_NE(popup, nullptr) << "time " << time;
    QTest::keyClick(w->PYR->view(), Qt::Key_Escape);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "time " << time;
    EXPECT_TRUE(w->isVisible()) << "time " << time;
    EXPECT_TRUE(w->scheduleShown()) << "time " << time;
  }
  // Without a list open, Escape closes the window.
  QTest::keyClick(w->PYR, Qt::Key_Escape);
  EXPECT_FALSE(w->isVisible());
}

TEST_F(ScheduleFaultsTest, F1InThePrintPreviewOpensTheReportsTopic) {
  TcLoAmort* w = Open();
  QTest::mouseClick(w->CalcBTN, Qt::LeftButton);
  ASSERT_TRUE(w->PrintBTN->isEnabled());
  services_.helpRequests.clear();
  const bool seen = WhileModal<QPrintPreviewDialog>([w] { w->PrintBTNClick(); },
                                                    [](QPrintPreviewDialog* d) {
                                                      // The offscreen platform leaves the schedule
                                                      // window active; a desktop activates the preview.
                                                      QApplication::setActiveWindow(d);
                                                      QTest::keyClick(d, Qt::Key_F1);
                                                      d->reject();
                                                    });
  ASSERT_TRUE(seen);
  EXPECT_EQ(services_.helpRequests, std::vector<int>{110});
}

TEST_F(WindowFaultsTest, LargeResultsShowWhole) {
  LoanRecord record = NewLoanRecord();
  std::unique_ptr<TcLoLoan> holder;
  auto* w = Show(holder, new TcLoLoan(&record, 1, &services_));
  Type(w, "PV", "999999999999.99");
  Type(w, "NumPmts", "360");
  Type(w, "Rate", "7.5");
  Type(w, "Pmt", "0");
  Click(w, "CalcBTN");
  auto* total = Child<MoneyField>(w, "TotInt");
  EXPECT_EQ(total->text(), "$1,517,172,230,790.81");
  // The room the field's style leaves for text, less the line edit's own
  // margin of 2 pixels each side.
  QStyleOptionFrame opt;
  opt.initFrom(total);
  opt.rect = total->rect();
  opt.lineWidth = total->hasFrame() ? total->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, total) : 0;
  const QRect room = total->style()->subElementRect(QStyle::SE_LineEditContents, &opt, total);
  const QMargins text = total->textMargins();
  EXPECT_LE(QFontMetrics(total->font()).horizontalAdvance(total->text()),
            room.width() - 4 - text.left() - text.right())
      << "field " << total->width() << " px wide";
}

TEST_F(WindowFaultsTest, CalculatorPageOnThePaperOfEveryPrintout) {
  if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "a printer decides the paper here";
  const QByteArray lcAll = qgetenv("LC_ALL"), lcPaper = qgetenv("LC_PAPER");
  qunsetenv("LC_ALL");
  qputenv("LC_PAPER", "de_DE.UTF-8");
  LoanRecord record = NewLoanRecord();
  std::unique_ptr<TcLoLoan> holder;
  auto* w = Show(holder, new TcLoLoan(&record, 1, &services_));
  std::optional<PaperSize> paper;
  const bool seen = WhileModal<QPrintDialog>([w] { Click(w, "PrintBTN"); }, [&](QPrintDialog* d) {
    paper = PaperOfLayout(d->printer()->pageLayout());
    d->reject();
  });
  ASSERT_TRUE(seen);
  ASSERT_TRUE(paper.has_value());
  EXPECT_NEAR(paper->width, 8.27, 0.01);  // A4, not Letter
  EXPECT_NEAR(paper->height, 11.69, 0.01);
  qputenv("LC_ALL", lcAll);
  qputenv("LC_PAPER", lcPaper);
}

TEST_F(ScheduleFaultsTest, ReportPreviewOnThePaperOfEveryPrintout) {
  if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "a printer decides the paper here";
  const QByteArray lcAll = qgetenv("LC_ALL"), lcPaper = qgetenv("LC_PAPER");
  qunsetenv("LC_ALL");
  qputenv("LC_PAPER", "en_US.UTF-8");
  TcLoAmort* w = Open();
  QTest::mouseClick(w->CalcBTN, Qt::LeftButton);
  std::optional<PaperSize> paper;
  const bool seen = WhileModal<QPrintPreviewDialog>([w] { w->PrintBTNClick(); },
                                                    [&](QPrintPreviewDialog* d) {
                                                      paper = PaperOfLayout(d->printer()->pageLayout());
                                                      d->reject();
                                                    });
  ASSERT_TRUE(seen);
  ASSERT_TRUE(paper.has_value());
  EXPECT_NEAR(paper->width, 8.5, 0.01);  // Letter, not A4
  EXPECT_NEAR(paper->height, 11, 0.01);
  qputenv("LC_ALL", lcAll);
  qputenv("LC_PAPER", lcPaper);
}

using MainWindowFaultsTest = ShellTest;

TEST_F(MainWindowFaultsTest, CalculatorWindowsBelongToTheMainWindow) {
  MakeForm();
  form_->kindAction(CalcKind::Loan)->trigger();
  Settle();
  CalcWindow* loan = form_->windowSlots().Window(CalcKind::Loan, 1);
  ASSERT_NE(loan, nullptr);
  // Its own window, kept above the main window by the window manager.
  EXPECT_TRUE(loan->isWindow());
  EXPECT_EQ(loan->parentWidget(), form_.get());
  ASSERT_NE(loan->windowHandle(), nullptr);
  EXPECT_EQ(loan->windowHandle()->transientParent(), form_->windowHandle());
  EXPECT_FALSE(loan->isModal());
}

TEST_F(MainWindowFaultsTest, SavedPositionsOffTheScreenComeBackOntoIt) {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  // Saved on a larger screen (or at a larger scale): the windows would
  // hang over the right and bottom edges here.
  WriteIni(QStringLiteral("[PREFERENCES]\nSAVEPOSITIONS=1\n\n[Brevika]\nLeft=%1\nTop=%2\n\n"
                          "[Loan Calculator 1]\nLeft=%1\nTop=%2\n")
               .arg(screen.right() - 100)
               .arg(screen.bottom() - 100)
               .toUtf8());
  MakeForm();
  EXPECT_TRUE(screen.contains(form_->frameGeometry())) << "main window off the screen";
  form_->kindAction(CalcKind::Loan)->trigger();
  Settle();
  CalcWindow* loan = form_->windowSlots().Window(CalcKind::Loan, 1);
  EXPECT_TRUE(screen.contains(loan->frameGeometry())) << "calculator off the screen";
}

}  // namespace
}  // namespace brevika
