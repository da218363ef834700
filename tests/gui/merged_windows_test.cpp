// The new windows used together, as a user meets them: the event dialog's
// dates and keys, the ledger's days, the schedule window after its loan is
// deleted. One value each; the rules are tested in the core.
#include <gtest/gtest.h>

#include <QApplication>
#include <QChart>
#include <QGraphicsItem>
#include <QLegend>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <memory>
#include <optional>
#include <vector>

#include "amortization/ui/amort_window.h"
#include "amortization/ui/compare_window.h"
#include "amortization/ui/events_dialog.h"
#include "amortization/ui/schedule_chart.h"
#include "calculators/transfer_records.h"
#include "calculators/ui/intdue_window.h"
#include "components/masked_fields.h"
#include "components/page_painter.h"
#include "components/page_preview.h"
#include "components/messages.h"
#include "gui_test_util.h"
#include "records/loan_records.h"
#include "records/ui/ledger_window.h"
#include "records/ui/loan_info_dialog.h"
#include "records/ui/loan_records_store.h"
#include "records/ui/payment_dialog.h"
#include "support/temp_dir.h"

namespace brevika {
namespace {

class MergedWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMessageHandler([this](QWidget*, const Message& m) { messages.push_back(m); });
    SetQuestionHandler([this](QWidget*, const Message& q) {
      questions.push_back(q);
      return true;
    });
  }
  void TearDown() override {
    SetMessageHandler({});
    SetQuestionHandler({});
  }

  // 20,000.00 at 6 % over 60 months from 01/01/2024, saved as loan 1 and
  // paid 10 days late on 02/11/2024: 19,746.67 left (40 days by 30/360,
  // 20000 x 0.005 x 40/30 = 133.33 interest, 253.33 principal).
  void SaveLoanWithALatePayment() {
    Outcome o;
    auto r = records::LoanRecords::Open(folder.path(), o);
    ASSERT_TRUE(r) << o.FirstText();
    ScheduleInputs in;
    in.PV = 20000;
    in.NumPmts = 60;
    in.Rate = 6.0f;
    in.OrgDate = MakeDate(1, 1, 2024);
    in.FrstPmtDate = MakeDate(1, 2, 2024);
    Schedule s;
    ASSERT_TRUE(s.Calculate(in).ok());
    records::Loan loan;
    loan.terms = records::TermsOf(in);
    ASSERT_TRUE(r->SaveNewLoan(records::kDefaultAccount, loan, s).ok());
    ASSERT_TRUE(r->AddPayments(loan.loanNo, {{MakeDate(11, 2, 2024), 386.66, "late"}}).ok());
  }

  // Shows a dialog and waits until it has the keyboard.
  static void ShowActive(QWidget& w) {
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  }

  testing::TempDir folder;
  TestServices services;
  std::vector<Message> messages, questions;
};

// Monthly payments from 1 February 1997: payment 13 falls on 02/01/98.
const PaymentDates kMonthlyFrom1997{MakeDate(1, 2, 1997), 12};

ScheduleEvent LumpAt(int k) { return ScheduleEvent{EventKind::Lump, k, std::nullopt, 1000, 0, EventHow::ShorterTerm}; }

// A date typed that is no date stays in sight and OK refuses it: the event
// is not taken at the payment number the field beside it still shows.
TEST_F(MergedWindowsTest, TheEventDialogRefusesADateThatIsNoDate) {
  TEventEdit e(LumpAt(13), kMonthlyFrom1997, &services);
  ShowActive(e);
  e.FromDate->setFocus();
  e.FromDate->selectAll();
  QTest::keyClicks(e.FromDate, "02/30/98");
  QTest::keyClick(e.FromDate, Qt::Key_Tab);
  QApplication::processEvents();
  EXPECT_EQ(e.FromDate->text(), "02/30/98");
  QTest::mouseClick(e.OKBTN, Qt::LeftButton);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "At Payment Date is not a valid date.\n\nPlease Try Again");
  EXPECT_TRUE(e.isVisible());
  EXPECT_EQ(e.result(), 0);
  EXPECT_TRUE(e.FromDate->hasFocus());
}

// The fields stay where they are when the kind changes the first caption.
TEST_F(MergedWindowsTest, TheEventDialogsFieldsStayInPlace) {
  TEventEdit e(LumpAt(13), kMonthlyFrom1997, &services);
  ShowActive(e);
  const int lump = e.From->x();
  e.Kind->setCurrentIndex(static_cast<int>(EventKind::Extra));
  QApplication::processEvents();
  EXPECT_EQ(e.From->x(), lump);
  EXPECT_EQ(e.Kind->x(), lump);
}

// The ledger never shows the figures of one day beside another: while As
// Of holds text that is no date its figures are blank and Print says why;
// left empty, it goes back to the day it had. The payoff quote likewise.
TEST_F(MergedWindowsTest, TheLedgersDaysAreTheDaysOfItsFigures) {
  SaveLoanWithALatePayment();
  TLedger w(folder.path(), "1", &services);
  ASSERT_TRUE(w.loaded()) << w.loadOutcome().FirstText();
  ShowActive(w);
  w.AsOf->setValue(MakeDate(20, 2, 2024));
  ASSERT_EQ(w.Balance->text(), "$19,746.67");

  w.AsOf->setFocus();
  w.AsOf->selectAll();
  QTest::keyClicks(w.AsOf, "02/30/2024");
  QTest::keyClick(w.AsOf, Qt::Key_Tab);
  EXPECT_EQ(w.AsOf->text(), "02/30/2024");
  EXPECT_EQ(w.Balance->text(), "");
  EXPECT_EQ(w.AheadBehind->text(), "");
  bool previewed = false;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (auto* d = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget())) {
      previewed = true;
      d->reject();
    }
  });
  poll.start(10);
  QTest::mouseClick(w.PrintBTN, Qt::LeftButton);
  poll.stop();
  EXPECT_FALSE(previewed);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, records::kMsgAsOfDateBad);
  EXPECT_TRUE(w.AsOf->hasFocus());

  w.AsOf->selectAll();
  QTest::keyClick(w.AsOf, Qt::Key_Backspace);
  QTest::keyClick(w.AsOf, Qt::Key_Tab);
  EXPECT_EQ(w.AsOf->text(), "02/20/2024");
  EXPECT_EQ(w.Balance->text(), "$19,746.67");

  w.Pages->setCurrentIndex(TLedger::kPayoffPage);
  w.PayoffDate->setValue(MakeDate(16, 3, 2024));
  // 35 days from 02/11 by 30/360: 19746.67 x 0.005 x 35/30 = 115.19.
  ASSERT_EQ(w.PayoffAccrued->text(), "$115.19");
  w.PayoffDate->setFocus();
  w.PayoffDate->selectAll();
  QTest::keyClicks(w.PayoffDate, "13/45/2024");
  QTest::keyClick(w.PayoffDate, Qt::Key_Tab);
  EXPECT_EQ(w.PayoffDate->text(), "13/45/2024");
  EXPECT_EQ(w.PayoffAccrued->text(), "");
  w.PayoffDate->setFocus();
  w.PayoffDate->selectAll();
  QTest::keyClick(w.PayoffDate, Qt::Key_Delete);
  QTest::keyClick(w.PayoffDate, Qt::Key_Tab);
  EXPECT_EQ(w.PayoffDate->text(), "03/16/2024");
  EXPECT_EQ(w.PayoffAccrued->text(), "$115.19");
}

// A schedule loaded from a loan offers its payments; once that loan is
// deleted (here by another copy, as the loan dialog deletes it) and a Save
// dialog is cancelled, the schedule is no longer tied to it.
TEST_F(MergedWindowsTest, ADeletedLoanNoLongerOffersItsPayments) {
  SaveLoanWithALatePayment();
  services.tablesFolder = folder.path();
  LoanRecordsStore store(&services);
  AmortInputs inputs = NewAmortInputs(MakeDate(20, 12, 1996));
  AmortOptValues options;
  TcLoAmort w(&inputs, &options, &services, nullptr, &store);
  ShowActive(w);
  QTimer::singleShot(0, &w, [&w] {
    auto* d = w.findChild<TLoanInfo*>();
    ASSERT_NE(d, nullptr);
    for (int step = 0; step < 4; ++step) QTest::mouseClick(d->NextBTN, Qt::LeftButton);
    if (d->isVisible()) d->reject();
  });
  w.OpenBTNClick();
  ASSERT_EQ(w.loanNo(), "1");
  ASSERT_TRUE(w.PaymentsBTN->isEnabled());
  {
    Outcome o;
    auto r = records::LoanRecords::Open(folder.path(), o);
    ASSERT_TRUE(r);
    ASSERT_TRUE(r->DeleteLoan("1").ok());
  }
  QTimer::singleShot(0, &w, [&w] {
    if (auto* d = w.findChild<TLoanInfo*>()) d->reject();
  });
  w.SaveBTNClick();
  EXPECT_EQ(w.loanNo(), "");
  EXPECT_FALSE(w.PaymentsBTN->isEnabled());
  EXPECT_TRUE(w.scheduleShown());
}

// The scene rectangles of the legend's visible entries.
std::vector<QRectF> LegendEntries(QLegend* legend) {
  std::vector<QRectF> out;
  const QList<QGraphicsItem*> top = legend->childItems();
  std::vector<QGraphicsItem*> items(top.begin(), top.end());
  while (!items.empty()) {
    QGraphicsItem* it = items.back();
    items.pop_back();
    if (!it->isVisible()) continue;
    if (it->type() == QGraphicsItem::UserType) out.push_back(it->mapRectToScene(it->boundingRect()));
    for (QGraphicsItem* c : it->childItems()) items.push_back(c);
  }
  return out;
}

// A chart first drawn without events, then with them: the legend makes
// room for "Balance without events" instead of drawing it over another
// entry.
TEST_F(MergedWindowsTest, TheChartsLegendMakesRoomForTheBalanceWithoutEvents) {
  ScheduleInputs in;
  in.PV = 100000;
  in.NumPmts = 360;
  in.Rate = 7.5f;
  in.OrgDate = MakeDate(1, 1, 1997);
  in.FrstPmtDate = MakeDate(1, 2, 1997);
  Schedule plain;
  ASSERT_TRUE(plain.Calculate(in).ok());
  in.events = {ScheduleEvent{EventKind::Extra, 13, std::nullopt, 100, 0, EventHow::ShorterTerm}};
  Schedule withEvents;
  ASSERT_TRUE(withEvents.Calculate(in).ok());
  ScheduleChart chart;
  chart.resize(600, 300);
  chart.show();
  chart.SetSchedule(plain, UsLocaleFormat());
  QTest::qWait(50);
  ASSERT_EQ(LegendEntries(chart.chart()->legend()).size(), 3u);
  chart.SetSchedule(withEvents, UsLocaleFormat());
  QTest::qWait(50);
  const std::vector<QRectF> entries = LegendEntries(chart.chart()->legend());
  ASSERT_EQ(entries.size(), 4u);
  for (std::size_t a = 0; a < entries.size(); ++a)
    for (std::size_t b = a + 1; b < entries.size(); ++b)
      EXPECT_FALSE(entries[a].intersected(entries[b]).width() > 0.5) << a << " overlaps " << b;
}

// On the account's page of the loan dialog each Alt letter is one
// control's: Alt+P goes back a step (it only moved the focus while Phone
// had the same letter), Alt+O and Alt+E reach Account No and Phone.
TEST_F(MergedWindowsTest, TheAccountPagesLettersAreItsOwn) {
  TLoanInfo d(folder.path(), TLoanInfo::SaveMode, &services);
  ASSERT_TRUE(d.tablesOpen());
  int pageAfterPrior = -1;
  bool accountNoByKey = false, phoneByKey = false;
  QTimer::singleShot(0, &d, [&] {
    d.activateWindow();
    if (!QTest::qWaitForWindowActive(&d)) return;
    QTest::mouseClick(d.NewBTN, Qt::LeftButton);
    if (d.page() != TLoanInfo::kEditAccount) return;
    d.UserEnters->click();
    d.LastName->setFocus();
    QTest::keyClick(&d, Qt::Key_O, Qt::AltModifier);
    accountNoByKey = d.AccountNo->hasFocus();
    QTest::keyClick(&d, Qt::Key_E, Qt::AltModifier);
    phoneByKey = d.Phone1->hasFocus();
    QTest::keyClick(&d, Qt::Key_P, Qt::AltModifier);
    QTest::qWait(300);  // a button's letter clicks it after a moment
    pageAfterPrior = d.page();
    d.reject();
  });
  std::string account = records::kDefaultAccount;
  d.ChooseLoan(account);
  EXPECT_TRUE(accountNoByKey);
  EXPECT_TRUE(phoneByKey);
  EXPECT_EQ(pageAfterPrior, TLoanInfo::kBrowseAccounts);
}

// A day count of 0 needs no dates, but a date field showing text that is
// no date is still refused, as when the count is not 0: Calc does not
// report $10,000.00 beside "Bad Date".
TEST_F(MergedWindowsTest, InterestDueRefusesABadDateWithNoDays) {
  IntDueRecord rec = NewIntDueRecord(MakeDate(1, 1, 2026));
  TcLoIntDu w(&rec, 1, &services);
  ShowActive(w);
  auto* amount = w.findChild<QLineEdit*>("PV");
  auto* start = w.findChild<QLineEdit*>("StartDate");
  ASSERT_TRUE(amount && start);
  amount->setFocus();
  amount->selectAll();
  QTest::keyClicks(amount, "10000");
  start->setFocus();
  start->selectAll();
  QTest::keyClicks(start, "02/30/2026");
  QTest::keyClick(start, Qt::Key_Tab);
  ASSERT_EQ(w.findChild<QLineEdit*>("NumDays")->text(), "0");
  QTest::mouseClick(w.findChild<QPushButton*>("CalcBTN"), Qt::LeftButton);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, kMsgIntDueBadDates);
  EXPECT_EQ(w.findChild<QLineEdit*>("FV")->text(), "$0.00");
  EXPECT_EQ(start->text(), "02/30/2026");
}

// The ledger's preview is on the paper of every printout, as the
// calculators' and the schedule's, and F1 there opens the ledger's help.
TEST_F(MergedWindowsTest, TheLedgersPreviewHasThePaperAndTheHelpOfEveryPreview) {
  SaveLoanWithALatePayment();
  TLedger w(folder.path(), "1", &services);
  ShowActive(w);
  std::optional<PaperSize> paper;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* d = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
    if (!d) return;
    poll.stop();
    paper = PaperOfLayout(d->printer()->pageLayout());
    // The offscreen platform leaves the window active; a desktop
    // activates the preview.
    QApplication::setActiveWindow(d);
    QTest::keyClick(d, Qt::Key_F1);
    d->reject();
  });
  poll.start(10);
  services.helpRequests.clear();
  QTest::mouseClick(w.PrintBTN, Qt::LeftButton);
  ASSERT_TRUE(paper.has_value());
  EXPECT_EQ(*paper, DefaultPrintPaper());
  EXPECT_EQ(services.helpRequests, std::vector<int>{kHelpLedger});
}

// Compare Loans prints through a preview too: F1 there opens its help.
TEST_F(MergedWindowsTest, F1InTheComparePreviewOpensItsHelp) {
  TransferRecords records;
  TcLoCompare w(records.Get(CompareKind()), 1, &services);
  w.setAttribute(Qt::WA_DeleteOnClose, false);
  ShowActive(w);
  bool previewed = false;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* d = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
    if (!d) return;
    poll.stop();
    previewed = true;
    // The offscreen platform leaves the window active; a desktop
    // activates the preview.
    QApplication::setActiveWindow(d);
    QTest::keyClick(d, Qt::Key_F1);
    d->reject();
  });
  poll.start(10);
  services.helpRequests.clear();
  QTest::mouseClick(w.findChild<QPushButton*>("PrintBTN"), Qt::LeftButton);
  ASSERT_TRUE(previewed);
  EXPECT_EQ(services.helpRequests, std::vector<int>{280});
}

}  // namespace
}  // namespace brevika
