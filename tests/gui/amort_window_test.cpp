// Schedule window and options dialog, driven like a user would: fields,
// buttons, keys and the modal options dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QRegularExpression>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include <QLineSeries>

#include "amortization/schedule_csv.h"
#include "amortization/ui/amort_options_dialog.h"
#include "amortization/ui/amort_window.h"
#include "amortization/ui/meter_window.h"
#include "amortization/ui/schedule_chart.h"
#include "amortization/ui/schedule_model.h"
#include "amortization/ui/schedule_report_pdf.h"
#include "components/app_services.h"
#include "calculators/ui/calc_window.h"
#include "components/help_viewer.h"
#include "components/masked_fields.h"
#include "components/page_preview.h"
#include "shell_test_util.h"
#include "support/temp_dir.h"

namespace brevika {
namespace {

class FakeServices : public AppServices {
 public:
  void ShowHelp(int context) override { help.push_back(context); }
  bool ShowHints() const override { return hints; }
  bool SavePositions() const override { return positions; }
  void SavePosition(QWidget*) override { ++saved; }
  void RestorePosition(QWidget*) override { ++restored; }
  QFont PrinterFont() const override { return QFont("Courier New", 10); }
  std::vector<int> help;
  bool hints = false, positions = false;
  int saved = 0, restored = 0;
};

const char* const kZeroText = "No zero values allowed.\r\n\nEnter Amount, Initial Period or Rate\n\n";
const char* const k2059Text =
    "Loan can't go beyond 2059\n\nReduce number of initial periods or \n\n"
    "increase frequency of payment period.\n\n";
const char* const kFirstPaymentText =
    "First Payment Date must be\n\nequal to or after Origination Date.\n\n"
    "Resetting First Payment Date...\n";

class AmortWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMessageHandler([this](QWidget*, const Message& m) { messages.push_back(m); });
    inputs = NewAmortInputs(MakeDate(20, 12, 1996));
  }
  void TearDown() override { SetMessageHandler({}); }

  // 100,000.00 over 360 months at 7.5 %, made 1 January 1997.
  void ThirtyYearTerms() {
    inputs.PV = 100000;
    inputs.NumPmts = 360;
    inputs.Rate = 7.5f;
    inputs.OrgDate = MakeDate(1, 1, 1997);
    inputs.FrstPmtDate = MakeDate(1, 2, 1997);
  }

  std::unique_ptr<TcLoAmort> Open() {
    auto w = std::make_unique<TcLoAmort>(&inputs, &optValues, &services);
    w->show();
    w->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
    return w;
  }

  static QString Cell(const TcLoAmort& w, int row, int col) {
    return w.model()->data(w.model()->index(row, col)).toString();
  }

  // Runs `act` while the options dialog is open modally.
  static void WithOptions(TcLoAmort& w, const std::function<void(TAmortOpt&)>& act) {
    QTimer::singleShot(0, &w, [&w, act] { act(*w.options()); });
    w.OptionsClick();
  }

  AmortInputs inputs;
  AmortOptValues optValues;
  FakeServices services;
  std::vector<Message> messages;
};

TEST_F(AmortWindowTest, CalcShowsTheFirstYearWithItsTotals) {
  ThirtyYearTerms();
  auto w = Open();
  EXPECT_FALSE(w->scheduleShown());
  EXPECT_FALSE(w->TransGrid->isVisible());
  EXPECT_FALSE(w->FirstBTN->isEnabled());

  QTest::mouseClick(w->CalcBTN, Qt::LeftButton);
  EXPECT_TRUE(messages.empty());
  ASSERT_TRUE(w->scheduleShown());
  EXPECT_TRUE(w->TransGrid->isVisible());
  EXPECT_TRUE(w->Years->isVisible());
  EXPECT_TRUE(w->FirstBTN->isEnabled());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // "All", then 97 .. 27: the last payment is due 1 January 2027.
  ASSERT_EQ(w->Years->count(), 32);
  EXPECT_EQ(w->Years->tabText(0), "All");
  EXPECT_EQ(w->Years->tabText(1), "97");
  EXPECT_EQ(w->Years->tabText(31), "27");
  EXPECT_EQ(w->selectedYear(), 1);

  // 1997: the initial row and eleven payments.
  ASSERT_EQ(w->model()->rowCount(), 12);
  EXPECT_EQ(Cell(*w, 0, ScheduleModel::kPeriod), "Init/01");
  EXPECT_EQ(Cell(*w, 0, ScheduleModel::kDate), "01/01/97");
  EXPECT_EQ(Cell(*w, 0, ScheduleModel::kBalance), "100,000.00");
  EXPECT_EQ(Cell(*w, 1, ScheduleModel::kPeriod), "1/01");
  EXPECT_EQ(Cell(*w, 1, ScheduleModel::kDate), "02/01/97");
  EXPECT_EQ(Cell(*w, 1, ScheduleModel::kPayment), "699.21");
  EXPECT_EQ(Cell(*w, 1, ScheduleModel::kPrincipal), "74.21");
  EXPECT_EQ(Cell(*w, 1, ScheduleModel::kInterest), "625.00");
  EXPECT_EQ(Cell(*w, 1, ScheduleModel::kBalance), "99,925.79");
  EXPECT_EQ(Cell(*w, 11, ScheduleModel::kDate), "12/01/97");
  EXPECT_EQ(w->model()->data(w->model()->index(1, ScheduleModel::kPayment), Qt::TextAlignmentRole)
                .toInt(),
            static_cast<int>(Qt::AlignRight | Qt::AlignVCenter));
  EXPECT_EQ(w->model()->headerData(3, Qt::Horizontal).toString(), "Principal");
  EXPECT_EQ(w->TransGrid->columnWidth(0), 55);
  EXPECT_EQ(w->TransGrid->columnWidth(5), 114);

  EXPECT_EQ(w->lAnnualTotals->text(), "Annual Totals:");
  EXPECT_EQ(w->lRunningTotals->text(), "Running Totals:");
  EXPECT_EQ(w->TotalPmt->text(), "$7,691.31");  // 11 x 699.21
  EXPECT_EQ(w->RunningTotalPmt->text(), "$7,691.31");

  // 1998: twelve payments; running totals run on from 1997.
  QTest::mouseClick(w->NextBTN, Qt::LeftButton);
  EXPECT_EQ(w->selectedYear(), 2);
  ASSERT_EQ(w->model()->rowCount(), 12);
  EXPECT_EQ(Cell(*w, 0, ScheduleModel::kPeriod), "12/01");
  EXPECT_EQ(Cell(*w, 1, ScheduleModel::kPeriod), "13/02");
  EXPECT_EQ(w->TotalPmt->text(), "$8,390.52");
  EXPECT_EQ(w->RunningTotalPmt->text(), "$16,081.83");
  const ScheduleRow& dec98 = w->schedule().row(23);
  EXPECT_EQ(w->RunningTotalInterest->text(),
            QString::fromStdString(FormatMoney(dec98.runInterest, 2)));
  EXPECT_NEAR(dec98.runPrincipal + dec98.runInterest, 16081.83, 0.005);

  // "All": every row, and a row past the end reads "?".
  QTest::mouseClick(w->FirstBTN, Qt::LeftButton);
  QTest::mouseClick(w->FirstBTN, Qt::LeftButton);
  EXPECT_EQ(w->selectedYear(), 0);
  EXPECT_EQ(w->model()->rowCount(), 361);
  EXPECT_EQ(w->model()->CellText(361, ScheduleModel::kPayment), "?");
  EXPECT_EQ(Cell(*w, 360, ScheduleModel::kBalance), "0.00");
}

TEST_F(AmortWindowTest, TypedTermsGoIntoTheRecordAtCalc) {
  auto w = Open();
  auto type = [](QWidget* field, const char* text) {
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, text);
  };
  type(w->PV, "100000");
  type(w->NumPmts, "360");
  type(w->Rate, "7.5");
  type(w->OrgDate, "01/01/97");
  type(w->FrstPmtDate, "02/01/97");
  w->PV->setFocus();
  // Alt+C is the "&Calc" menu command.
  QTest::keyClick(w.get(), Qt::Key_C, Qt::AltModifier);
  ASSERT_TRUE(w->scheduleShown()) << (messages.empty() ? "" : messages[0].text);
  EXPECT_EQ(inputs.PV, 100000);
  EXPECT_EQ(inputs.NumPmts, 360);
  EXPECT_EQ(inputs.Rate, 7.5f);
  EXPECT_EQ(inputs.OrgDate, MakeDate(1, 1, 1997));
  EXPECT_EQ(inputs.FrstPmtDate, MakeDate(1, 2, 1997));
  EXPECT_EQ(Cell(*w, 1, ScheduleModel::kPayment), "699.21");

  // Two-digit years fall in 1960..2059; the periods stop at the table size.
  type(w->OrgDate, "03/15/59");
  EXPECT_EQ(w->OrgDate->value(), MakeDate(15, 3, 2059));
  type(w->OrgDate, "03/15/60");
  EXPECT_EQ(w->OrgDate->value(), MakeDate(15, 3, 1960));
  EXPECT_EQ(w->NumPmts->maximum(), 1560);
  type(w->NumPmts, "1561");
  EXPECT_LE(w->NumPmts->value(), 1560);
}

TEST_F(AmortWindowTest, YearKeysWrapAndFirstButtonToggles) {
  ThirtyYearTerms();
  auto w = Open();
  // Before a schedule exists the keys do nothing.
  QTest::keyClick(w->PV, Qt::Key_PageUp, Qt::ControlModifier);
  EXPECT_EQ(w->selectedYear(), -1);

  w->CalcBTNClick();
  ASSERT_EQ(w->selectedYear(), 1);
  QTest::keyClick(w->PV, Qt::Key_PageUp, Qt::ControlModifier);
  EXPECT_EQ(w->selectedYear(), 0);
  QTest::keyClick(w->PV, Qt::Key_PageUp, Qt::ControlModifier);  // "All" wraps to the last
  EXPECT_EQ(w->selectedYear(), 31);
  EXPECT_EQ(w->Years->tabText(w->selectedYear()), "27");
  EXPECT_EQ(w->model()->rowCount(), 1);  // 01/01/27, the last payment
  QTest::keyClick(w->TransGrid, Qt::Key_PageDown, Qt::ControlModifier);  // last wraps to "All"
  EXPECT_EQ(w->selectedYear(), 0);
  QTest::keyClick(w->PV, Qt::Key_PageDown, Qt::ControlModifier);
  EXPECT_EQ(w->selectedYear(), 1);

  // Prior and Next stop at the ends; Last goes to the end.
  QTest::mouseClick(w->PrevBTN, Qt::LeftButton);
  QTest::mouseClick(w->PrevBTN, Qt::LeftButton);
  EXPECT_EQ(w->selectedYear(), 0);
  QTest::mouseClick(w->LastBTN, Qt::LeftButton);
  QTest::mouseClick(w->NextBTN, Qt::LeftButton);
  EXPECT_EQ(w->selectedYear(), 31);

  // First: to the first year, and from there to "All"; twice from a later
  // year does not come back to it.
  w->Years->setCurrentIndex(5);
  QTest::mouseClick(w->FirstBTN, Qt::LeftButton);
  EXPECT_EQ(w->selectedYear(), 1);
  QTest::mouseClick(w->FirstBTN, Qt::LeftButton);
  EXPECT_EQ(w->selectedYear(), 0);
  QTest::mouseClick(w->FirstBTN, Qt::LeftButton);
  EXPECT_EQ(w->selectedYear(), 1);

  // Clicking a tab changes the year too.
  w->Years->setCurrentIndex(3);
  EXPECT_EQ(Cell(*w, 0, ScheduleModel::kDate), "01/01/99");
  EXPECT_EQ(w->TotalPmt->text(), "$8,390.52");
}

TEST_F(AmortWindowTest, OneCalendarYearHasAllAndThatYear) {
  inputs.PV = 1200;
  inputs.NumPmts = 6;
  inputs.Rate = 12;
  inputs.OrgDate = MakeDate(1, 1, 1997);
  inputs.FrstPmtDate = MakeDate(1, 2, 1997);
  auto w = Open();
  w->CalcBTNClick();
  ASSERT_EQ(w->Years->count(), 2);
  EXPECT_EQ(w->model()->rowCount(), 7);
  const QString lastPayment = Cell(*w, 6, ScheduleModel::kPayment);
  QTest::keyClick(w->PV, Qt::Key_PageDown, Qt::ControlModifier);
  EXPECT_EQ(w->selectedYear(), 0);
  EXPECT_EQ(w->model()->rowCount(), 7);
  EXPECT_EQ(Cell(*w, 6, ScheduleModel::kPayment), lastPayment);
  EXPECT_EQ(Cell(*w, 6, ScheduleModel::kBalance), "0.00");
}

TEST_F(AmortWindowTest, RefusalsAreInformationBoxesAndKeepTheShownSchedule) {
  ThirtyYearTerms();
  auto w = Open();
  w->CalcBTNClick();
  ASSERT_TRUE(w->scheduleShown());
  w->Years->setCurrentIndex(4);

  w->Rate->setValue(0);
  w->CalcBTNClick();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, kZeroText);
  EXPECT_EQ(messages[0].box, BoxType::Information);
  EXPECT_TRUE(w->scheduleShown());
  EXPECT_EQ(w->selectedYear(), 4);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // 360 monthly payments from 2030 run past 2059.
  w->Rate->setValue(7.5f);
  w->FrstPmtDate->setValue(MakeDate(1, 2, 2030));
  w->OrgDate->setValue(MakeDate(1, 1, 2030));
  w->CalcBTNClick();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1].text, k2059Text);
  EXPECT_EQ(messages[1].box, BoxType::Information);
  EXPECT_TRUE(w->scheduleShown());

  // Quarterly payments get there in time: 360 quarters is too many, 100 is not.
  w->PYR->setCurrentIndex(4);
  w->NumPmts->setValue(100);
  w->CalcBTNClick();
  EXPECT_EQ(messages.size(), 2u);
  EXPECT_EQ(w->Years->tabText(1), "30");

  // A zero amount and zero periods are refused the same way.
  w->PV->setValue(0);
  w->CalcBTNClick();
  w->PV->setValue(1000);
  w->NumPmts->setValue(0);
  w->CalcBTNClick();
  ASSERT_EQ(messages.size(), 4u);
  EXPECT_EQ(messages[2].text, kZeroText);
  EXPECT_EQ(messages[3].text, kZeroText);
}

TEST_F(AmortWindowTest, FirstPaymentBeforeOriginationIsResetAndCalculated) {
  ThirtyYearTerms();
  inputs.FrstPmtDate = MakeDate(1, 12, 1996);
  auto w = Open();
  w->CalcBTNClick();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, kFirstPaymentText);
  EXPECT_EQ(messages[0].box, BoxType::Information);
  EXPECT_EQ(w->FrstPmtDate->value(), MakeDate(1, 1, 1997));
  EXPECT_EQ(inputs.FrstPmtDate, MakeDate(1, 1, 1997));
  ASSERT_TRUE(w->scheduleShown());
  // Paid in advance: the first payment is due on the day the loan starts.
  EXPECT_EQ(Cell(*w, 1, ScheduleModel::kDate), "01/01/97");
  EXPECT_EQ(Cell(*w, 1, ScheduleModel::kInterest), "0.00");
}

TEST_F(AmortWindowTest, OptionsCancelRestoresAndOkKeepsForTheRun) {
  ThirtyYearTerms();
  auto w = Open();
  EXPECT_EQ(w->options()->windowTitle(), "Options");
  WithOptions(*w, [](TAmortOpt& d) {
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.AmortMthd->currentText(), "Normal");
    EXPECT_EQ(d.AmortMthd->count(), 6);
    d.AmortMthd->setCurrentIndex(static_cast<int>(AmortMethod::InterestOnly));
    d.RateBasis->setCurrentIndex(kExact365);
    QTest::mouseClick(d.BitBtn2, Qt::LeftButton);
  });
  EXPECT_EQ(w->options()->Choices(), (AmortChoices{static_cast<int>(AmortMethod::Normal), kOrdinary, kAtOrigination}));
  EXPECT_EQ(optValues.AmortMthd.index, static_cast<int>(AmortMethod::Normal));
  EXPECT_EQ(optValues.RateBasis.text, "Ordinary");
  // Calculate uses what the lists show: the level payment, not interest only.
  w->CalcBTNClick();
  EXPECT_EQ(Cell(*w, 1, ScheduleModel::kPayment), "699.21");

  WithOptions(*w, [](TAmortOpt& d) {
    d.RateBasis->setCurrentIndex(kExact365);
    d.PointsPaidMthd->setCurrentIndex(kWithFirstPayment);
    QTest::mouseClick(d.BitBtn1, Qt::LeftButton);
  });
  EXPECT_EQ(w->options()->Choices(), (AmortChoices{static_cast<int>(AmortMethod::Normal), kExact365, kWithFirstPayment}));
  EXPECT_EQ(optValues.RateBasis.index, kExact365);
  EXPECT_EQ(optValues.RateBasis.text, "Exact/365");
  EXPECT_EQ(optValues.PointsPaidMthd.text, "With 1st Payment");
  // Escape and the close box cancel too; F1 opens the focused list's topic.
  WithOptions(*w, [](TAmortOpt& d) {
    d.RateBasis->setCurrentIndex(kExact360);
    d.RateBasis->setFocus();
    QTest::keyClick(d.RateBasis, Qt::Key_F1);
    QTest::keyClick(d.RateBasis, Qt::Key_Escape);
  });
  EXPECT_EQ(w->options()->Choices().RateBasis, kExact365);
  WithOptions(*w, [](TAmortOpt& d) {
    d.AmortMthd->setCurrentIndex(static_cast<int>(AmortMethod::RuleOf78));
    d.close();
  });
  EXPECT_EQ(w->options()->Choices().AmortMthd, static_cast<int>(AmortMethod::Normal));
  EXPECT_EQ(optValues.AmortMthd.index, static_cast<int>(AmortMethod::Normal));
  EXPECT_EQ(services.help, std::vector<int>{45});
  w.reset();

  // A new window starts from the defaults; the options dialog brings the
  // stored choices back and OK makes them current.
  auto again = Open();
  EXPECT_EQ(again->options()->Choices(), (AmortChoices{static_cast<int>(AmortMethod::Normal), kOrdinary, kAtOrigination}));
  WithOptions(*again, [](TAmortOpt& d) {
    EXPECT_EQ(d.RateBasis->currentText(), "Exact/365");
    EXPECT_EQ(d.PointsPaidMthd->currentText(), "With 1st Payment");
    QTest::mouseClick(d.BitBtn1, Qt::LeftButton);
  });
  EXPECT_EQ(again->options()->Choices(), (AmortChoices{static_cast<int>(AmortMethod::Normal), kExact365, kWithFirstPayment}));
}

TEST_F(AmortWindowTest, CanadianSwitchesThePeriods) {
  ThirtyYearTerms();
  auto w = Open();
  w->PYR->setCurrentIndex(0);     // Weekly
  w->CmpPYR->setCurrentIndex(1);  // Weekly
  WithOptions(*w, [](TAmortOpt& d) {
    d.AmortMthd->setCurrentIndex(static_cast<int>(AmortMethod::InterestOnly));
    QTest::mouseClick(d.BitBtn1, Qt::LeftButton);
  });
  EXPECT_EQ(w->PYR->currentText(), "Weekly");
  EXPECT_EQ(w->CmpPYR->currentText(), "Weekly");
  WithOptions(*w, [](TAmortOpt& d) {
    d.AmortMthd->setCurrentIndex(static_cast<int>(AmortMethod::Canadian));
    QTest::mouseClick(d.BitBtn1, Qt::LeftButton);
  });
  EXPECT_EQ(w->PYR->currentText(), "Monthly");
  EXPECT_EQ(w->CmpPYR->currentText(), "SemiAnnually");
  w->CalcBTNClick();
  EXPECT_EQ(inputs.PYR.text, "Monthly");
  EXPECT_EQ(inputs.CmpPYR.text, "SemiAnnually");
  // 7.5 % compounded twice a year is 7.3854 % nominal monthly.
  EXPECT_EQ(Cell(*w, 1, ScheduleModel::kInterest), "615.45");
}

TEST_F(AmortWindowTest, ReopeningKeepsTheTermsAndHidesTheSchedule) {
  ThirtyYearTerms();
  {
    auto w = Open();
    w->PV->setValue(85000);
    w->PYR->setCurrentIndex(1);  // BiWeekly
    w->CalcBTNClick();
    ASSERT_TRUE(w->scheduleShown());
  }
  auto w = Open();
  EXPECT_EQ(w->PV->value(), 85000);
  EXPECT_EQ(w->NumPmts->value(), 360);
  EXPECT_EQ(w->Rate->value(), 7.5f);
  EXPECT_EQ(w->PYR->currentText(), "BiWeekly");
  EXPECT_EQ(w->OrgDate->value(), MakeDate(1, 1, 1997));
  EXPECT_EQ(w->OrgDate->text(), "01/01/97");
  EXPECT_FALSE(w->scheduleShown());
  EXPECT_FALSE(w->TransGrid->isVisible());
  EXPECT_FALSE(w->Years->isVisible());
  EXPECT_FALSE(w->FirstBTN->isEnabled());
  EXPECT_FALSE(w->LastBTN->isEnabled());
  EXPECT_TRUE(w->CalcBTN->isEnabled());
}

TEST_F(AmortWindowTest, HintsHelpAndPositions) {
  services.hints = true;
  services.positions = true;
  auto w = Open();
  EXPECT_EQ(w->windowTitle(), "Amortization Schedule");
  EXPECT_EQ(w->CalcBTN->toolTip(), "Calculate [Alt][C]");
  EXPECT_EQ(w->PrevBTN->toolTip(), "Goto Prior Year [Ctrl][PgUp]");
  EXPECT_EQ(w->CloseBTN->toolTip(), "Close [Esc]");
  EXPECT_EQ(w->Years->toolTip(), "Click to pick a year");
  EXPECT_EQ(services.restored, 1);

  QTest::mouseClick(w->HelpBTN, Qt::LeftButton);
  w->Rate->setFocus();
  QTest::keyClick(w->Rate, Qt::Key_F1);
  w->PYR->setFocus();
  QTest::keyClick(w->PYR, Qt::Key_F1);
  EXPECT_EQ(services.help, (std::vector<int>{110, 9, 16}));

  // Load is offered from the start; Save and Print wait for a schedule.
  EXPECT_FALSE(w->SaveBTN->isEnabled());
  EXPECT_TRUE(w->OpenBTN->isEnabled());
  EXPECT_TRUE(w->LoadItem->isEnabled());
  EXPECT_FALSE(w->PrintBTN->isEnabled());
  EXPECT_FALSE(w->PrintItem->isEnabled());

  QTest::keyClick(w->PV, Qt::Key_Escape);
  EXPECT_FALSE(w->isVisible());
  EXPECT_EQ(services.saved, 1);

  FakeServices quiet;
  TcLoAmort plain(&inputs, &optValues, &quiet);
  plain.show();
  EXPECT_TRUE(plain.CalcBTN->toolTip().isEmpty());
  EXPECT_EQ(quiet.restored, 0);
  plain.close();
  EXPECT_EQ(quiet.saved, 0);
}

TEST_F(AmortWindowTest, PrintPreviewsTheWholeScheduleOnThePrintersPaper) {
  ThirtyYearTerms();
  auto w = Open();
  EXPECT_FALSE(w->PrintBTN->isEnabled());
  QTest::mouseClick(w->CalcBTN, Qt::LeftButton);
  ASSERT_TRUE(w->PrintBTN->isEnabled());
  EXPECT_TRUE(w->PrintItem->isEnabled());
  QTest::mouseClick(w->NextBTN, Qt::LeftButton);
  Borrower smith;
  smith.lastName = "Smith";
  w->SetBorrower(smith);

  // Ctrl+P opens the preview; it shows as many pages as the report has on
  // the printer's paper.
  QString title;
  int shown = -1;
  std::size_t expected = 0;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* d = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
    if (!d) return;
    poll.stop();
    title = d->windowTitle();
    shown = d->findChild<QPrintPreviewWidget*>()->pageCount();
    ScheduleReportSetup setup;
    setup.paper = PaperOfLayout(d->printer()->pageLayout());
    expected = ScheduleReportPages(w->schedule(), {}, smith, setup).size();
    d->reject();
  });
  poll.start(10);
  QTest::keyClick(w.get(), Qt::Key_P, Qt::ControlModifier);
  EXPECT_EQ(title, "Amortization Schedule Preview");
  EXPECT_GE(expected, 10u);
  EXPECT_EQ(static_cast<std::size_t>(shown), expected);
  EXPECT_EQ(w->selectedYear(), 2);

  // Calc unties the schedule from the account.
  EXPECT_EQ(w->borrower(), smith);
  QTest::mouseClick(w->CalcBTN, Qt::LeftButton);
  EXPECT_FALSE(w->borrower().has_value());
}

TEST_F(AmortWindowTest, OpenAmortizationScheduleRunsModally) {
  ThirtyYearTerms();
  bool sawWindow = false;
  QTimer::singleShot(0, [&] {
    auto* w = qobject_cast<TcLoAmort*>(QApplication::activeModalWidget());
    ASSERT_NE(w, nullptr);
    sawWindow = true;
    EXPECT_EQ(w->PV->value(), 100000);
    w->CalcBTNClick();
    w->CloseBTN->click();
  });
  OpenAmortizationSchedule(nullptr, &inputs, &optValues, &services);
  EXPECT_TRUE(sawWindow);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(AmortWindowTest, MeterIsCentredOverTheWindow) {
  auto w = Open();
  TMeterFrm meter(w.get());
  meter.ShowCentred();
  EXPECT_TRUE(meter.isVisible());
  EXPECT_EQ(meter.windowTitle(), "One Moment...");
  const QPoint centre = w->mapToGlobal(w->rect().center());
  EXPECT_LE((meter.geometry().center() - centre).manhattanLength(), 2);
  meter.SetPercent(37);
  EXPECT_EQ(meter.percent(), 37);
  // The window it covers keeps the keyboard.
  EXPECT_EQ(QApplication::activeWindow(), w.get());
}

// Ctrl+A in the main window opens the schedule modally over the records the
// main window keeps, so a second opening shows the first one's terms.
class AmortFromMainWindow : public ShellTest {};

TEST_F(AmortFromMainWindow, CtrlAOpensTheScheduleWithTheLastTerms) {
  TMainForm* form = MakeForm();
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form));
  EXPECT_EQ(form->amortInputs().OrgDate, TodayDate());
  bool opened = false;
  QTimer::singleShot(0, [&] {
    auto* w = qobject_cast<TcLoAmort*>(QApplication::activeModalWidget());
    ASSERT_NE(w, nullptr);
    opened = true;
    EXPECT_EQ(w->OrgDate->value(), TodayDate());
    w->PV->setValue(100000);
    w->NumPmts->setValue(360);
    w->Rate->setValue(7.5f);
    w->CalcBTNClick();
    EXPECT_TRUE(messages_.empty());
    EXPECT_TRUE(w->scheduleShown());
    // Origination today, first payment on the first of a month after next.
    EXPECT_EQ(w->schedule().row(1).date, DefaultFirstPaymentDate(TodayDate()));
    EXPECT_EQ(w->schedule().row(1).payment, 699.21);
    w->CloseBTN->click();
  });
  QTest::keyClick(form, Qt::Key_A, Qt::ControlModifier);
  ASSERT_TRUE(opened);
  EXPECT_EQ(form->amortInputs().PV, 100000);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

  opened = false;
  QTimer::singleShot(0, [&] {
    auto* w = qobject_cast<TcLoAmort*>(QApplication::activeModalWidget());
    ASSERT_NE(w, nullptr);
    opened = true;
    EXPECT_EQ(w->PV->value(), 100000);
    EXPECT_EQ(w->NumPmts->value(), 360);
    EXPECT_FALSE(w->scheduleShown());
    w->reject();
  });
  form->findChild<QAction*>(QStringLiteral("AmortClick"))->trigger();
  EXPECT_TRUE(opened);
}

TEST_F(AmortWindowTest, AprChartAndExportFollowTheSchedule) {
  ThirtyYearTerms();
  inputs.Points = 2;
  auto w = Open();
  EXPECT_FALSE(w->ExportItem->isEnabled());
  w->CalcBTNClick();
  EXPECT_EQ(w->APR->text(), "7.7076%");
  // The chart is drawn once its page is shown, then follows each Calc.
  EXPECT_TRUE(w->Chart->data().years.empty());
  w->Pages->setCurrentIndex(1);
  EXPECT_EQ(w->Chart->data().years.size(), 31u);
  EXPECT_EQ(w->Chart->balanceSeries()->count(), 361);

  // Fees typed beside the points go into the record at Calc and count as
  // the points did; negative fees are refused and change nothing.
  w->Points->setValue(0);
  w->OtherFees->setValue(2000);
  w->NumPmts->setValue(12);
  w->CalcBTNClick();
  EXPECT_EQ(inputs.OtherFees, 2000);
  EXPECT_EQ(w->Chart->data().years.size(), 2u);
  const QString twelve = w->APR->text();
  EXPECT_NE(twelve, "7.7076%");
  w->OtherFees->setValue(-5);
  w->NumPmts->setValue(360);
  w->CalcBTNClick();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Other Fees can't be negative.\n\n");
  EXPECT_EQ(w->APR->text(), twelve);
  EXPECT_EQ(w->schedule().lastRow(), 12);

  // File > Export (Ctrl+E) writes the rows the command line prints.
  EXPECT_TRUE(w->ExportItem->isEnabled());
  EXPECT_EQ(w->ExportItem->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
  testing::TempDir dir;
  const QString path = QString::fromStdString(dir.file("loan.csv"));
  ASSERT_TRUE(w->ExportTo(path));
  EXPECT_EQ(testing::ReadFileBytes(dir.file("loan.csv")), ScheduleCsv(w->schedule()));
  EXPECT_FALSE(w->ExportTo(QString::fromStdString(dir.file("none/loan.csv"))));
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1].box, BoxType::Error);
}

TEST(AmortHelp, EveryTopicOfTheWindowExistsAndItsLinksResolve) {
  for (int topic : {1, 2, 9, 13, 14, 16, 45, 70, 77, 110, 112, 113, 114})
    EXPECT_TRUE(HasHelpTopic(topic)) << topic;
  EXPECT_EQ(HelpTopics().value(110).title, "Amortization Schedule");
  EXPECT_TRUE(HelpTopics().value(45).keywords.contains("Exact/365"));
  static const QRegularExpression link(QStringLiteral("href=\"(\\d+)\\.html"));
  for (int topic : {2, 9, 13, 14, 16, 45, 70, 77, 110, 112, 113, 114}) {
    QFile f(QStringLiteral(":/help/topics/%1.html").arg(topic));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << topic;
    const QString html = QString::fromUtf8(f.readAll());
    EXPECT_TRUE(html.contains("110.html") || topic == 110) << topic;
    for (const QRegularExpressionMatch& m : link.globalMatch(html))
      EXPECT_TRUE(HasHelpTopic(m.captured(1).toInt())) << topic << " links " << m.captured(1).toStdString();
  }
}

}  // namespace
}  // namespace brevika
