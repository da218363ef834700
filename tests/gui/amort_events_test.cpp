// What-if events in the schedule window: the events dialog driven by mouse
// and keys, OK calculating the schedule again with the rows marked and the
// comparison under the totals, Cancel changing nothing, the chart's second
// balance, and a loan saved with events loading with its marks. The rules
// themselves are tested in the core; each check here is one value.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QChart>
#include <QLegend>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "amortization/ui/amort_window.h"
#include "amortization/ui/events_dialog.h"
#include "amortization/ui/schedule_chart.h"
#include "amortization/ui/schedule_model.h"
#include "amortization/ui/schedule_report_pdf.h"
#include "components/help_viewer.h"
#include "components/masked_fields.h"
#include "components/messages.h"
#include "components/page_preview.h"
#include "gui_test_util.h"
#include "records/loan_records.h"
#include "records/ui/loan_info_dialog.h"
#include "records/ui/loan_records_store.h"
#include "support/temp_dir.h"

namespace brevika {
namespace {

ScheduleEvent ExtraFrom13() { return ScheduleEvent{EventKind::Extra, 13, std::nullopt, 100, 0, EventHow::ShorterTerm}; }

class AmortEventsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMessageHandler([this](QWidget*, const Message& m) { messages.push_back(m); });
    SetQuestionHandler([this](QWidget*, const Message& q) {
      questions.push_back(q);
      return answer;
    });
    services.tablesFolder = folder.path();
    // 100,000.00 over 360 months at 7.5 %, made 1 January 1997.
    inputs.PV = 100000;
    inputs.NumPmts = 360;
    inputs.Rate = 7.5f;
    inputs.OrgDate = MakeDate(1, 1, 1997);
    inputs.FrstPmtDate = MakeDate(1, 2, 1997);
  }
  void TearDown() override {
    SetMessageHandler({});
    SetQuestionHandler({});
    TEventList::SetEditHook({});
  }

  std::unique_ptr<TcLoAmort> Open() {
    auto w = std::make_unique<TcLoAmort>(&inputs, &optValues, &services, nullptr, &store);
    w->show();
    w->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
    return w;
  }

  // Runs `act` on the events dialog the window opens modally; the dialog
  // is cancelled afterwards if the act left it open.
  static void WithEvents(TcLoAmort& w, const std::function<void(TEventList&)>& act, bool byMenu = false) {
    QTimer::singleShot(0, &w, [&w, act] {
      auto* d = qobject_cast<TEventList*>(QApplication::activeModalWidget());
      ASSERT_NE(d, nullptr);
      act(*d);
      if (d->isVisible()) d->reject();
    });
    if (byMenu) w.EventsItem->trigger();
    else QTest::mouseClick(w.EventsBTN, Qt::LeftButton);
  }

  // The grid row of payment k in the year shown.
  static int GridRow(const TcLoAmort& w, int k) { return k - w.model()->firstRow(); }

  testing::TempDir folder;
  TestServices services;
  LoanRecordsStore store{&services};
  AmortInputs inputs = NewAmortInputs(MakeDate(20, 12, 1996));
  AmortOptValues optValues;
  std::vector<Message> messages, questions;
  bool answer = true;
};

// 100 extra from payment 13 (checked by hand in the engine's tests) saves
// 52,098.37 of interest and ends the loan on 1 January 2018 instead of 2027.
TEST_F(AmortEventsTest, OkCalculatesWithTheEventsAndMarksTheRows) {
  auto w = Open();
  QTest::mouseClick(w->CalcBTN, Qt::LeftButton);
  ASSERT_TRUE(w->scheduleShown());
  // Without events the totals and the chart look as always.
  EXPECT_FALSE(w->lInterestSaved->isVisible());
  EXPECT_EQ(w->EventsBTN->text(), "Events...");
  w->Pages->setCurrentIndex(1);
  QTest::qWait(50);
  EXPECT_EQ(w->Chart->baseBalanceSeries()->count(), 0);
  EXPECT_FALSE(w->Chart->chart()->legend()->markers(w->Chart->baseBalanceSeries()).front()->isVisible());
  EXPECT_TRUE(w->Chart->chart()->legend()->markers(w->Chart->balanceSeries()).front()->isVisible());
  w->Pages->setCurrentIndex(0);

  TEventList::SetEditHook([](const ScheduleEvent& fresh) {
    EXPECT_EQ(fresh.kind, EventKind::Extra);
    return std::optional<ScheduleEvent>(ExtraFrom13());
  });
  WithEvents(*w, [](TEventList& d) {
    EXPECT_EQ(d.windowTitle(), "Events");
    QTest::mouseClick(d.AddBTN, Qt::LeftButton);
    ASSERT_EQ(d.EventGrid->rowCount(), 1);
    EXPECT_EQ(d.EventGrid->item(0, 1)->text(), "From 13");
    QTest::mouseClick(d.OKBTN, Qt::LeftButton);
  });
  EXPECT_TRUE(messages.empty());
  ASSERT_EQ(inputs.events.size(), 1u);
  EXPECT_EQ(w->EventsBTN->text(), "Events (1)...");
  ASSERT_TRUE(w->schedule().hasEvents());
  EXPECT_EQ(w->schedule().lastRow(), 252);
  EXPECT_TRUE(w->lInterestSaved->isVisible());
  EXPECT_EQ(w->InterestSaved->text(), "$52,098.37");
  EXPECT_EQ(w->Payoff->text(), "01/01/18");
  EXPECT_EQ(w->BasePayoff->text(), "was 01/01/27");

  // 1998 holds payments 12 to 23: payment 13 carries the extra, 12 does not.
  QTest::mouseClick(w->NextBTN, Qt::LeftButton);
  const QModelIndex p12 = w->model()->index(GridRow(*w, 12), ScheduleModel::kPayment);
  const QModelIndex p13 = w->model()->index(GridRow(*w, 13), ScheduleModel::kPayment);
  EXPECT_EQ(p13.data().toString(), "799.21");
  EXPECT_EQ(p13.data(Qt::BackgroundRole).value<QColor>(), ScheduleModel::EventRowColor());
  EXPECT_EQ(p13.data(Qt::ToolTipRole).toString(), "Extra principal");
  EXPECT_FALSE(p12.data(Qt::BackgroundRole).isValid());

  // The chart draws the balance without events too, with its legend entry.
  w->Pages->setCurrentIndex(1);
  QLineSeries* base = w->Chart->baseBalanceSeries();
  EXPECT_EQ(base->count(), 361);
  EXPECT_EQ(base->name(), "Balance without events");
  QTest::qWait(50);  // the legend shows its markers once laid out
  EXPECT_TRUE(w->Chart->chart()->legend()->markers(base).front()->isVisible());
}

TEST_F(AmortEventsTest, CancelChangesNothingAndDeletingAsksFirst) {
  inputs.events = {ExtraFrom13()};
  auto w = Open();
  QTest::mouseClick(w->CalcBTN, Qt::LeftButton);
  ASSERT_EQ(w->schedule().lastRow(), 252);

  // Deleted in the dialog, then Cancel: the event stays, the schedule too.
  WithEvents(*w, [](TEventList& d) {
    d.EventGrid->setFocus();
    QTest::keyClick(d.EventGrid, Qt::Key_Delete);
    EXPECT_EQ(d.EventGrid->rowCount(), 0);
    QTest::mouseClick(d.CancelBTN, Qt::LeftButton);
  }, true);
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0].text,
            "You are about to delete the event\r\rExtra principal from payment 13.\r\r"
            "Are you sure that you want to continue?\r");
  EXPECT_EQ(questions[0].box, BoxType::Warning);
  EXPECT_EQ(inputs.events.size(), 1u);
  EXPECT_EQ(w->schedule().lastRow(), 252);

  // No to the question keeps it; Yes and OK calculate the loan alone.
  WithEvents(*w, [this](TEventList& d) {
    answer = false;
    QTest::mouseClick(d.DeleteBTN, Qt::LeftButton);
    EXPECT_EQ(d.EventGrid->rowCount(), 1);
    answer = true;
    QTest::mouseClick(d.DeleteBTN, Qt::LeftButton);
    QTest::mouseClick(d.OKBTN, Qt::LeftButton);
  });
  EXPECT_TRUE(inputs.events.empty());
  EXPECT_FALSE(w->schedule().hasEvents());
  EXPECT_EQ(w->schedule().lastRow(), 360);
  EXPECT_FALSE(w->lInterestSaved->isVisible());
}

// The event dialog: a date becomes the payment it falls on, the fields
// follow the kind, OK refuses an event the schedule would refuse, and the
// keys of the list work without a mouse.
TEST_F(AmortEventsTest, TheEventDialogByKeyboard) {
  const PaymentDates dates{MakeDate(1, 2, 1997), 12};
  EXPECT_EQ(dates.DateOf(13), MakeDate(1, 2, 1998));
  TEventEdit e(ExtraFrom13(), dates, &services);
  e.show();
  e.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&e));
  EXPECT_EQ(e.FromDate->value(), MakeDate(1, 2, 1998));
  e.FromDate->setFocus();
  e.FromDate->selectAll();
  QTest::keyClicks(e.FromDate, "06/15/98");
  QTest::keyClick(e.FromDate, Qt::Key_Tab);
  EXPECT_EQ(e.From->value(), 18);  // 1 July 1998 is payment 18
  QApplication::processEvents();
  EXPECT_EQ(e.FromDate->value(), MakeDate(1, 7, 1998));
  e.Kind->setCurrentIndex(static_cast<int>(EventKind::Rate));
  EXPECT_FALSE(e.Amount->isEnabled());
  EXPECT_TRUE(e.Rate->isEnabled());
  EXPECT_EQ(e.How->currentText(), "Keep Term");
  QTest::mouseClick(e.OKBTN, Qt::LeftButton);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Rate change at payment 18: the rate must be above 0.");
  EXPECT_TRUE(e.isVisible());
  e.Kind->setFocus();
  QTest::keyClick(&e, Qt::Key_F1);
  EXPECT_EQ(services.helpRequests.back(), kHelpEventKind);

  // Insert adds and Enter edits, from the list alone.
  std::vector<ScheduleEvent> edited;
  TEventList::SetEditHook([&edited](const ScheduleEvent& ev) {
    edited.push_back(ev);
    ScheduleEvent out = ev;
    out.kind = EventKind::Lump;
    out.from = 60;
    out.amount = 10000;
    return std::optional<ScheduleEvent>(out);
  });
  TEventList list({}, dates, &services);
  list.show();
  list.EventGrid->setFocus();
  QTest::keyClick(list.EventGrid, Qt::Key_Insert);
  ASSERT_EQ(list.events().size(), 1u);
  QTest::keyClick(list.EventGrid, Qt::Key_Return);
  ASSERT_EQ(edited.size(), 2u);
  EXPECT_EQ(edited[1].kind, EventKind::Lump);
  EXPECT_TRUE(list.isVisible());
  EXPECT_EQ(list.EventGrid->item(0, 2)->text(), "$10,000.00");
}

// A loan saved with events loads with its rows marked and the comparison.
TEST_F(AmortEventsTest, ALoanSavedWithEventsLoadsWithItsMarks) {
  {
    Outcome o;
    auto r = records::LoanRecords::Open(folder.path(), o);
    ASSERT_TRUE(r);
    ScheduleInputs in = ToScheduleInputs(inputs, AmortChoices{});
    in.events = {ExtraFrom13()};
    Schedule s;
    ASSERT_TRUE(s.Calculate(in).ok());
    records::Loan loan;
    loan.terms = records::TermsOf(in);
    ASSERT_TRUE(r->SaveNewLoan(records::kDefaultAccount, loan, s).ok());
  }
  inputs = NewAmortInputs(MakeDate(20, 12, 1996));
  auto w = Open();
  QTimer::singleShot(0, w.get(), [&w] {
    TLoanInfo* d = w->findChild<TLoanInfo*>();
    ASSERT_NE(d, nullptr);
    for (int step = 0; step < 4; ++step) QTest::mouseClick(d->NextBTN, Qt::LeftButton);
    if (d->isVisible()) d->reject();
  });
  w->OpenBTNClick();
  EXPECT_TRUE(messages.empty()) << messages.front().text;
  ASSERT_TRUE(w->scheduleShown());
  ASSERT_EQ(inputs.events.size(), 1u);
  EXPECT_EQ(w->EventsBTN->text(), "Events (1)...");
  EXPECT_TRUE(w->schedule().hasEvents());
  EXPECT_EQ(w->InterestSaved->text(), "$52,098.37");
}

// The preview prints the events of the schedule shown: 60 of them go on
// from page 1 to a page of their own, one page more than without them.
TEST_F(AmortEventsTest, PrintListsTheEventsOfTheScheduleShown) {
  for (int k = 1; k <= 60; ++k)
    inputs.events.push_back(ScheduleEvent{EventKind::Lump, 100 + k, std::nullopt, 10, 0, EventHow::ShorterTerm});
  auto w = Open();
  QTest::mouseClick(w->CalcBTN, Qt::LeftButton);
  ASSERT_TRUE(w->schedule().hasEvents());
  // Events edited since the Calc are not those of the schedule shown.
  inputs.events.resize(1);
  int shown = -1;
  std::size_t with = 0, without = 0;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* d = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
    if (!d) return;
    poll.stop();
    shown = d->findChild<QPrintPreviewWidget*>()->pageCount();
    ScheduleReportSetup setup;
    setup.paper = PaperOfLayout(d->printer()->pageLayout());
    ScheduleReportTerms terms;
    without = ScheduleReportPages(w->schedule(), terms, std::nullopt, setup).size();
    terms.events.assign(60, ScheduleEvent{EventKind::Lump, 101, std::nullopt, 10, 0, EventHow::ShorterTerm});
    with = ScheduleReportPages(w->schedule(), terms, std::nullopt, setup).size();
    d->reject();
  });
  poll.start(10);
  QTest::keyClick(w.get(), Qt::Key_P, Qt::ControlModifier);
  EXPECT_EQ(with, without + 1);
  EXPECT_EQ(static_cast<std::size_t>(shown), with);
}

// Every help topic of the events exists, titled and indexed.
TEST(AmortEventsHelp, EveryTopicOfTheEventsHasATitleAndKeywords) {
  for (int context : {kHelpEvents, kHelpEvent, kHelpEventKind, kHelpEventPayments, kHelpEventAmount,
                      kHelpEventRate, kHelpEventChoice, 227}) {
    ASSERT_TRUE(HasHelpTopic(context)) << context;
    const HelpTopic& t = HelpTopics()[context];
    EXPECT_FALSE(t.title.isEmpty()) << context;
    EXPECT_FALSE(t.keywords.isEmpty()) << context;
  }
  EXPECT_EQ(HelpTopics()[kHelpEvents].title, "Events");
  EXPECT_TRUE(HelpTopics()[kHelpEventChoice].keywords.contains("Keep Payment"));
}

}  // namespace
}  // namespace brevika
