#include "amortization/ui/amort_window.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QShowEvent>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>
#include <exception>
#include <new>

#include "amortization/schedule_csv.h"
#include "amortization/ui/amort_options_dialog.h"
#include "amortization/ui/events_dialog.h"
#include "amortization/ui/meter_window.h"
#include "amortization/ui/schedule_report_pdf.h"
#include "amortization/ui/schedule_chart.h"
#include "amortization/ui/schedule_model.h"
#include "components/app_services.h"
#include "components/busy_cursor.h"
#include "components/locale_info.h"
#include "components/masked_fields.h"
#include "components/messages.h"
#include "components/page_painter.h"
#include "components/qt_strings.h"

namespace brevika {

namespace {

bool RowsFinite(const Schedule& s) {
  for (int k = 0; k <= s.lastRow(); ++k) {
    const ScheduleRow& r = s.row(k);
    for (double v : {r.payment, r.principal, r.interest, r.balance, r.runPayment,
                     r.runPrincipal, r.runInterest})
      if (!std::isfinite(v)) return false;
  }
  return true;
}

constexpr int kHelpWindow = 110;
constexpr int kTermsHeight = 112;
constexpr int kClientWidth = 600;
constexpr int kClientHeight = 430;
// The fifth row of terms (other fees) and the page tabs add to the height.
constexpr int kFeesRowHeight = 26;
constexpr int kOtherFeesHelp = 114;
constexpr int kChartPage = 1;

}  // namespace

TcLoAmort::TcLoAmort(AmortInputs* inputs, AmortOptValues* optValues, AppServices* services,
                     QWidget* parent, ScheduleStore* store)
    : WindowBase(services, parent,
                 Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                     Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                     Qt::WindowCloseButtonHint),
      inputs_(inputs),
      optValues_(optValues),
      store_(store),
      schedule_(std::make_unique<Schedule>()) {
  setObjectName("TcLoAmort");
  setWindowTitle("Amortization Schedule");

  AmortOpt = new TAmortOpt(optValues_, services, this);
  model_ = new ScheduleModel(schedule_.get(), this);
  model_->SetLocaleFormat(CurrentLocaleInfo().format);

  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->setSpacing(0);
  BuildMenu();
  outer->setMenuBar(MainMenu);

  auto* variables = new QFrame(this);
  variables->setObjectName("Variables");
  variables->setFrameStyle(QFrame::Panel | QFrame::Raised);
  variables->setFixedHeight(kTermsHeight + kFeesRowHeight);
  BuildTerms(variables);
  outer->addWidget(variables);

  auto* schedulePanel = new QFrame(this);
  schedulePanel->setObjectName("Schedule");
  schedulePanel->setFrameStyle(QFrame::NoFrame);
  BuildSchedule(schedulePanel);
  outer->addWidget(schedulePanel, 1);

  setFixedSize(kClientWidth, kClientHeight + kFeesRowHeight + Pages->tabBar()->sizeHint().height() +
                                 MainMenu->sizeHint().height());

  // Money fields take the locale's mask unless the country is the US.
  const LocaleInfo& loc = CurrentLocaleInfo();
  PV->SetLocaleFormat(loc.format);
  OtherFees->SetLocaleFormat(loc.format);
  if (loc.countryCode != 1) {
    PV->SetMask(CurrentMoneyMask());
    OtherFees->SetMask(CurrentMoneyMask());
  }

  SetHelpTopic(kHelpWindow, ZeroContext::WindowTopic);
  prevYearKey_ = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp), this);
  nextYearKey_ = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown), this);
  prevYearKey_->setContext(Qt::WindowShortcut);
  nextYearKey_->setContext(Qt::WindowShortcut);
  connect(prevYearKey_, &QShortcut::activated, this, &TcLoAmort::CtrlPgUp);
  connect(nextYearKey_, &QShortcut::activated, this, &TcLoAmort::CtrlPgDn);
  connect(PrintItem, &QAction::triggered, this, &TcLoAmort::PrintBTNClick);

  LoadControls();
  HideSchedule();
  EnableSchedule(false);
  UpdatePaymentsCommand();
}

TcLoAmort::~TcLoAmort() = default;

void TcLoAmort::BuildMenu() {
  MainMenu = new QMenuBar(this);
  MainMenu->setObjectName("MainMenu");
  MainMenu->setNativeMenuBar(false);
  QMenu* file = MainMenu->addMenu("&File");
  LoadItem = file->addAction("&Load...");
  LoadItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
  SaveItem = file->addAction("&Save...");
  SaveItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  ExportItem = file->addAction("&Export...");
  ExportItem->setObjectName("ExportItem");
  ExportItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
  ExportItem->setShortcutContext(Qt::WindowShortcut);
  ExportItem->setEnabled(false);
  connect(ExportItem, &QAction::triggered, this, &TcLoAmort::ExportClick);
  // The actual payments of the loan the schedule is tied to.
  PaymentsItem = file->addAction("Pa&yments...");
  PaymentsItem->setObjectName("PaymentsItem");
  PaymentsItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
  PaymentsItem->setShortcutContext(Qt::WindowShortcut);
  PaymentsItem->setEnabled(false);
  PaymentsItem->setVisible(store_ && store_->KeepsPayments());
  connect(PaymentsItem, &QAction::triggered, this, &TcLoAmort::PaymentsClick);
  file->addSeparator();
  PrinterSetupItem = file->addAction("&Printer Setup...");
  PrintItem = file->addAction("&Print...");
  PrintItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  file->addSeparator();
  // Escape closes the window as the dialog's key, not as the item's
  // shortcut: in an open list it closes only the list.
  ExitItem = file->addAction("E&xit\tEsc");
  // Printing the schedule is not available yet.
  for (QAction* a : {PrinterSetupItem, PrintItem}) a->setEnabled(false);
  CalcItem = MainMenu->addAction("&Calc");
  OptionsItem = MainMenu->addAction("&Options");
  // What-if events: the same dialog as the Events button of the terms.
  EventsItem = MainMenu->addAction("E&vents...");
  EventsItem->setObjectName("EventsItem");
  connect(EventsItem, &QAction::triggered, this, &TcLoAmort::EventsClick);
  HelpItem = MainMenu->addAction("&Help");
  for (QAction* a : {LoadItem, SaveItem, PrinterSetupItem, PrintItem, ExitItem, CalcItem,
                     OptionsItem, EventsItem, HelpItem})
    a->setShortcutContext(Qt::WindowShortcut);
  connect(ExitItem, &QAction::triggered, this, &QDialog::reject);
  connect(LoadItem, &QAction::triggered, this, &TcLoAmort::OpenBTNClick);
  connect(SaveItem, &QAction::triggered, this, &TcLoAmort::SaveBTNClick);
  connect(CalcItem, &QAction::triggered, this, &TcLoAmort::CalcBTNClick);
  connect(OptionsItem, &QAction::triggered, this, &TcLoAmort::OptionsClick);
  connect(HelpItem, &QAction::triggered, this, &TcLoAmort::HelpBTNClick);

  // The schedule's loan in the Truth in Lending calculator, before Help.
  TruthInLendingItem = new QAction("Truth in &Lending...", this);
  TruthInLendingItem->setObjectName("TruthInLendingItem");
  TruthInLendingItem->setEnabled(false);
  MainMenu->insertAction(HelpItem, TruthInLendingItem);
  connect(TruthInLendingItem, &QAction::triggered, this, &TcLoAmort::TruthInLendingClick);
}

void TcLoAmort::BuildTerms(QWidget* panel) {
  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(12, 6, 12, 6);
  grid->setHorizontalSpacing(8);
  grid->setVerticalSpacing(3);

  PV = new MoneyField(panel);
  NumPmts = new CountField(panel);
  OrgDate = new DateField(panel);
  FrstPmtDate = new DateField(panel);
  PYR = new QComboBox(panel);
  CmpPYR = new QComboBox(panel);
  Points = new RateField(panel);
  Rate = new RateField(panel);
  CmpPYR->setMaxVisibleItems(9);
  OrgDate->SetEpoch(kAmortCenturyEpoch);
  FrstPmtDate->SetEpoch(kAmortCenturyEpoch);

  QWidget* fields[8] = {PV, NumPmts, OrgDate, FrstPmtDate, PYR, CmpPYR, Points, Rate};
  const char* names[8] = {"PV", "NumPmts", "OrgDate", "FrstPmtDate",
                          "PYR", "CmpPYR", "Points", "Rate"};
  const int topics[8] = {1, 2, 112, 113, 16, 13, 70, 9};
  std::string* captions[8] = {&inputs_->lPV,          &inputs_->lNumPmts, &inputs_->lOrgDate,
                              &inputs_->lFrstPmtDate, &inputs_->lPYR,     &inputs_->lCmpPYR,
                              &inputs_->lPoints,      &inputs_->lRate};
  for (int i = 0; i < 8; ++i) {
    QWidget* f = fields[i];
    f->setObjectName(names[i]);
    ShowAsEntry(f, font());
    f->setFixedWidth(150);
    SetHelpContext(f, topics[i]);
    auto* label = new QLabel(panel);
    label->setObjectName(QString("l") + names[i]);
    label->setBuddy(f);
    transfer().Label(label, captions[i]);
    // The right column leaves its fourth row to Other Fees, beside Points.
    const int row = i == 7 ? 4 : i % 4, col = (i / 4) * 2;
    grid->addWidget(label, row, col, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(f, row, col + 1, Qt::AlignLeft | Qt::AlignVCenter);
  }
  OtherFees = new MoneyField(panel);
  OtherFees->setObjectName("OtherFees");
  ShowAsEntry(OtherFees, font());
  OtherFees->setFixedWidth(150);
  SetHelpContext(OtherFees, kOtherFeesHelp);
  lOtherFees = new QLabel(panel);
  lOtherFees->setObjectName("lOtherFees");
  lOtherFees->setBuddy(OtherFees);
  grid->addWidget(lOtherFees, 3, 2, Qt::AlignRight | Qt::AlignVCenter);
  grid->addWidget(OtherFees, 3, 3, Qt::AlignLeft | Qt::AlignVCenter);
  // What-if events: the button under the dates, its caption counting them.
  EventsBTN = MakeButton(panel, "EventsBTN", "Events...", kHelpEvents, &TcLoAmort::EventsClick);
  EventsBTN->setFixedWidth(150);
  EventsBTN->setFixedHeight(PV->sizeHint().height());
  lEvents = new QLabel("What-&If Events?:", panel);
  lEvents->setObjectName("lEvents");
  lEvents->setBuddy(EventsBTN);
  grid->addWidget(lEvents, 4, 0, Qt::AlignRight | Qt::AlignVCenter);
  grid->addWidget(EventsBTN, 4, 1, Qt::AlignLeft | Qt::AlignVCenter);
  transfer().Own(EventsBTN, [this] { ShowEventsCaption(); }, [] {});
  grid->setColumnStretch(0, 1);
  grid->setColumnStretch(2, 1);
  // The entry record's values; an emptied date keeps the date it had.
  Transfer& t = transfer();
  t.Label(lOtherFees, &inputs_->lOtherFees);
  t.Money(OtherFees, &inputs_->OtherFees);
  t.Money(PV, &inputs_->PV);
  t.Count(NumPmts, &inputs_->NumPmts);
  t.Rate(Rate, &inputs_->Rate);
  t.Rate(Points, &inputs_->Points);
  t.Day(OrgDate, &inputs_->OrgDate, true);
  t.Day(FrstPmtDate, &inputs_->FrstPmtDate, true);
  t.List(PYR, &inputs_->PYR);
  t.List(CmpPYR, &inputs_->CmpPYR);
  connect(PYR, &QComboBox::currentIndexChanged, this, &TcLoAmort::PYRChange);
  setTabOrder(PV, NumPmts);
  setTabOrder(NumPmts, OrgDate);
  setTabOrder(OrgDate, FrstPmtDate);
  setTabOrder(FrstPmtDate, PYR);
  setTabOrder(PYR, CmpPYR);
  setTabOrder(CmpPYR, Points);
  setTabOrder(Points, OtherFees);
  setTabOrder(OtherFees, Rate);
  setTabOrder(Rate, EventsBTN);
}

void TcLoAmort::BuildSchedule(QWidget* panel) {
  auto* box = new QVBoxLayout(panel);
  // The grid uses the full width: its six columns and scroll bar just fit.
  box->setContentsMargins(0, 2, 0, 4);
  box->setSpacing(0);

  // Grid, totals and year tabs on the "Schedule" page, the chart on the next.
  Pages = new QTabWidget(panel);
  Pages->setObjectName("Pages");
  Pages->setDocumentMode(true);
  Pages->setFocusPolicy(Qt::NoFocus);
  auto* schedulePage = new QWidget(Pages);
  auto* page = new QVBoxLayout(schedulePage);
  page->setContentsMargins(0, 0, 0, 0);
  page->setSpacing(0);

  TransGrid = new QTableView(schedulePage);
  TransGrid->setObjectName("TransGrid");
  TransGrid->setModel(model_);
  TransGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
  TransGrid->setSelectionMode(QAbstractItemView::SingleSelection);
  TransGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  TransGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  TransGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  TransGrid->setWordWrap(false);
  TransGrid->verticalHeader()->hide();
  TransGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  TransGrid->verticalHeader()->setDefaultSectionSize(TransGrid->fontMetrics().height() + 4);
  QHeaderView* head = TransGrid->horizontalHeader();
  head->setSectionResizeMode(QHeaderView::Fixed);
  head->setSectionsClickable(false);
  head->setHighlightSections(false);
  head->setMinimumSectionSize(20);
  for (int c = 0; c < ScheduleModel::kColumnCount; ++c)
    head->resizeSection(c, ScheduleModel::kColumnWidths[c]);
  TransGrid->setFocusPolicy(Qt::StrongFocus);
  page->addWidget(TransGrid, 1);

  // Totals line up under the Payment, Principal and Interest columns.
  TotalPanel = new QFrame(schedulePage);
  TotalPanel->setObjectName("TotalPanel");
  auto* totals = new QGridLayout(TotalPanel);
  totals->setContentsMargins(1, 3, 0, 3);
  totals->setHorizontalSpacing(0);
  totals->setVerticalSpacing(1);
  QFont bold = font();
  bold.setBold(true);
  const QFont mono = EntryFont(font());
  lAnnualTotals = new QLabel(TotalPanel);
  lRunningTotals = new QLabel(TotalPanel);
  lAnnualTotals->setObjectName("lAnnualTotals");
  lRunningTotals->setObjectName("lRunningTotals");
  transfer().Label(lAnnualTotals, &inputs_->lAnnualTotals);
  transfer().Label(lRunningTotals, &inputs_->lRunningTotals);
  const int leadWidth =
      ScheduleModel::kColumnWidths[ScheduleModel::kPeriod] + ScheduleModel::kColumnWidths[ScheduleModel::kDate];
  for (QLabel* l : {lAnnualTotals, lRunningTotals}) {
    l->setFont(bold);
    l->setFixedWidth(leadWidth);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  }
  totals->addWidget(lAnnualTotals, 0, 0);
  totals->addWidget(lRunningTotals, 1, 0);
  QLabel** cells[6] = {&TotalPmt, &TotalPrincipal, &TotalInterest,
                       &RunningTotalPmt, &RunningTotalPrincipal, &RunningTotalInterest};
  const char* cellNames[6] = {"TotalPmt", "TotalPrincipal", "TotalInterest",
                              "RunningTotalPmt", "RunningTotalPrincipal", "RunningTotalInterest"};
  for (int i = 0; i < 6; ++i) {
    QLabel* l = new QLabel(TotalPanel);
    l->setObjectName(cellNames[i]);
    l->setFont(mono);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setFixedWidth(ScheduleModel::kColumnWidths[ScheduleModel::kPayment + i % 3]);
    l->setContentsMargins(0, 0, 4, 0);
    *cells[i] = l;
    totals->addWidget(l, i / 3, 1 + i % 3);
  }
  // The APR of the whole loan, beside the totals under the Balance column.
  auto* aprCell = new QWidget(TotalPanel);
  auto* aprRow = new QHBoxLayout(aprCell);
  aprRow->setContentsMargins(0, 0, 18, 0);
  aprRow->setSpacing(4);
  lAPR = new QLabel("APR:", aprCell);
  lAPR->setObjectName("lAPR");
  lAPR->setFont(bold);
  APR = new QLabel(aprCell);
  APR->setObjectName("APR");
  APR->setFont(mono);
  APR->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  aprRow->addStretch(1);
  aprRow->addWidget(lAPR);
  aprRow->addWidget(APR);
  totals->addWidget(aprCell, 0, 4);
  // With events, a third line compares with the loan without them.
  lInterestSaved = new QLabel("Interest Saved:", TotalPanel);
  lInterestSaved->setObjectName("lInterestSaved");
  lInterestSaved->setFont(bold);
  lInterestSaved->setFixedWidth(leadWidth);
  lInterestSaved->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  totals->addWidget(lInterestSaved, 2, 0);
  InterestSaved = new QLabel(TotalPanel);
  lPayoff = new QLabel("Payoff:", TotalPanel);
  lPayoff->setFont(bold);
  Payoff = new QLabel(TotalPanel);
  BasePayoff = new QLabel(TotalPanel);
  const char* savedNames[4] = {"InterestSaved", "lPayoff", "Payoff", "BasePayoff"};
  QLabel* saved[4] = {InterestSaved, lPayoff, Payoff, BasePayoff};
  for (int i = 0; i < 4; ++i) {
    QLabel* l = saved[i];
    l->setObjectName(savedNames[i]);
    if (l != lPayoff) l->setFont(mono);
    l->setAlignment((l == BasePayoff ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
    if (i < 3) l->setFixedWidth(ScheduleModel::kColumnWidths[ScheduleModel::kPayment + i]);
    l->setContentsMargins(l == BasePayoff ? 8 : 0, 0, 4, 0);
    totals->addWidget(l, 2, 1 + i);
    l->hide();
  }
  lInterestSaved->hide();
  totals->setColumnStretch(4, 1);
  page->addWidget(TotalPanel);

  Years = new QTabBar(schedulePage);
  Years->setObjectName("Years");
  Years->setShape(QTabBar::RoundedSouth);
  Years->setUsesScrollButtons(true);
  Years->setExpanding(false);
  Years->setDrawBase(true);
  Years->setFocusPolicy(Qt::NoFocus);
  connect(Years, &QTabBar::currentChanged, this, &TcLoAmort::YearsChange);
  page->addWidget(Years);

  auto* chartPage = new QWidget(Pages);
  auto* chartBox = new QVBoxLayout(chartPage);
  chartBox->setContentsMargins(0, 0, 0, 0);
  Chart = new ScheduleChart(chartPage);
  chartBox->addWidget(Chart);
  Pages->addTab(schedulePage, "Schedule");
  Pages->addTab(chartPage, "Chart");
  // Payments of the tied loan, at the right of the page tabs.
  PaymentsBTN = MakeButton(Pages, "PaymentsBTN", "Pa&yments...", -1, &TcLoAmort::PaymentsClick);
  PaymentsBTN->setVisible(store_ && store_->KeepsPayments());
  Pages->setCornerWidget(PaymentsBTN, Qt::TopRightCorner);
  // The chart is drawn when its page is shown, so Calc stays quick.
  connect(Pages, &QTabWidget::currentChanged, this, [this](int index) {
    if (index == kChartPage && chartStale_) {
      chartStale_ = false;
      Chart->SetSchedule(*schedule_, CurrentLocaleInfo().format);
    }
  });
  box->addWidget(Pages, 1);

  for (QWidget* w : std::initializer_list<QWidget*>{TransGrid, TotalPanel, Years, Chart}) {
    QSizePolicy p = w->sizePolicy();
    p.setRetainSizeWhenHidden(true);
    w->setSizePolicy(p);
  }

  auto* buttons = new QWidget(panel);
  BuildButtons(buttons);
  box->addSpacing(4);
  box->addWidget(buttons);
}

void TcLoAmort::BuildButtons(QWidget* panel) {
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(4, 0, 4, 0);
  row->setSpacing(3);
  auto make = [&](QPushButton*& b, const char* name, const QString& text, auto handler) {
    b = MakeButton(panel, name, text, -1, handler);
    row->addWidget(b);
  };
  QStyle* st = style();
  make(FirstBTN, "FirstBTN", QString(), &TcLoAmort::FirstBTNClick);
  make(PrevBTN, "PrevBTN", QString(), &TcLoAmort::PrevBTNClick);
  make(NextBTN, "NextBTN", QString(), &TcLoAmort::NextBTNClick);
  make(LastBTN, "LastBTN", QString(), &TcLoAmort::LastBTNClick);
  FirstBTN->setIcon(st->standardIcon(QStyle::SP_MediaSkipBackward));
  PrevBTN->setIcon(st->standardIcon(QStyle::SP_MediaSeekBackward));
  NextBTN->setIcon(st->standardIcon(QStyle::SP_MediaSeekForward));
  LastBTN->setIcon(st->standardIcon(QStyle::SP_MediaSkipForward));
  for (QPushButton* b : {FirstBTN, PrevBTN, NextBTN, LastBTN}) b->setFixedWidth(34);
  row->addStretch(1);
  make(CalcBTN, "CalcBTN", "Calc", &TcLoAmort::CalcBTNClick);
  make(SaveBTN, "SaveBTN", "Save", &TcLoAmort::SaveBTNClick);
  make(OpenBTN, "OpenBTN", "Load", &TcLoAmort::OpenBTNClick);
  make(PrintBTN, "PrintBTN", "Print", &TcLoAmort::PrintBTNClick);
  make(HelpBTN, "HelpBTN", "Help", &TcLoAmort::HelpBTNClick);
  make(CloseBTN, "CloseBTN", "Close", &QDialog::reject);
  for (QPushButton* b : {CalcBTN, SaveBTN, OpenBTN, PrintBTN, HelpBTN, CloseBTN})
    b->setFixedWidth(64);
  CalcBTN->setDefault(true);
}

void TcLoAmort::showEvent(QShowEvent* e) {
  if (!e->spontaneous()) FormShow();
  QDialog::showEvent(e);
}

void TcLoAmort::FormShow() {
  LoadControls();
  paymentsPerYear_ = PyrPeriodsPerYear(PYR->currentIndex());
  AmortOpt->SetDefaults();
  accountNo_.clear();
  loanNo_.clear();
  borrower_.reset();
  UpdatePaymentsCommand();
  NumPmts->SetMaximum(schedule_->maxPeriods());
  RestoreSavedPosition();
  SetHints();
  TransGrid->scrollToTop();
  if (!calculated_) {
    HideSchedule();
    EnableSchedule(false);
  }
  PV->setFocus();
  if (schedule_->memoryNotice() && !memoryNoticeShown_) {
    memoryNoticeShown_ = true;
    QTimer::singleShot(0, this, [this] { ShowMessage(this, *schedule_->memoryNotice()); });
  }
}

void TcLoAmort::SetHints() {
  if (!ShowsHints()) return;
  FirstBTN->setToolTip("First Year or All");
  PrevBTN->setToolTip("Goto Prior Year [Ctrl][PgUp]");
  NextBTN->setToolTip("Goto Next Year [Ctrl][PgDn]");
  LastBTN->setToolTip("Goto Last Year");
  CalcBTN->setToolTip("Calculate [Alt][C]");
  SaveBTN->setToolTip("Save loan data [Ctrl][S]");
  OpenBTN->setToolTip("Load loan data from disk [Ctrl][L]");
  PrintBTN->setToolTip("Print loan schedule [Ctrl][P]");
  HelpBTN->setToolTip("Help [F1]");
  CloseBTN->setToolTip("Close [Esc]");
  PaymentsBTN->setToolTip("Payments made on this loan [Ctrl][Y]");
  Years->setToolTip("Click to pick a year");
  EventsBTN->setToolTip("What-if events [Alt][V]");
}

void TcLoAmort::LoadControls() { transfer().ToControls(); }

void TcLoAmort::StoreControls() { transfer().FromControls(); }

void TcLoAmort::PYRChange(int index) { paymentsPerYear_ = PyrPeriodsPerYear(index); }

void TcLoAmort::CalcBTNClick() {
  // Nothing is calculated from a date other than the one shown.
  const std::pair<DateField*, const std::string*> dates[] = {{OrgDate, &inputs_->lOrgDate},
                                                             {FrstPmtDate, &inputs_->lFrstPmtDate}};
  for (const auto& [field, label] : dates) {
    if (!field->showsBadDate()) continue;
    ShowMessage(this, NotADateMessage(*label));
    field->setFocus();
    return;
  }
  StoreControls();
  ScheduleInputs in = ToScheduleInputs(*inputs_, AmortOpt->Choices());
  in.PYR = PYR->currentIndex();
  // Fees that leave nothing to finance are refused before the schedule changes.
  if (auto refusal = CheckPrepaidCharges(in)) {
    ShowMessage(this, *refusal);
    return;
  }

  Outcome outcome;
  bool started = false;
  QWidget* const wasActive = QApplication::activeWindow();
  {
    BusyCursor busy;
    std::unique_ptr<TMeterFrm> meter;
    // The engine reports progress only once the terms have passed its checks:
    // that is when the old schedule goes and the meter comes up.
    ProgressFn progress = [&](int percent) {
      if (!started) {
        started = true;
        HideSchedule();
        EnableSchedule(false);
        meter = std::make_unique<TMeterFrm>(this);
        meter->ShowCentred();
      }
      meter->SetPercent(percent);
    };
    try {
      outcome = schedule_->Calculate(in, progress);
    } catch (const std::exception& ex) {
      outcome = Outcome::Refuse(Message{ex.what(), BoxType::Error});
    }
  }
  accountNo_.clear();
  loanNo_.clear();
  borrower_.reset();
  UpdatePaymentsCommand();
  // The meter window may have taken the activation; give it back.
  if (started && wasActive && QApplication::activeWindow() != wasActive) wasActive->activateWindow();

  if (in.FrstPmtDate != inputs_->FrstPmtDate) {
    inputs_->FrstPmtDate = in.FrstPmtDate;
    FrstPmtDate->setValue(in.FrstPmtDate);
  }
  if (!outcome.refused && !RowsFinite(*schedule_)) {
    outcome.refused = true;
    outcome.Say(NonFiniteMessage());
  }
  if (outcome.refused && started) {
    // The rows were touched: nothing is shown until the next Calc or Load.
    calculated_ = false;
    model_->Clear();
  }
  for (const Message& m : outcome.messages) ShowMessage(this, m);
  if (outcome.refused) return;
  calculated_ = true;
  scheduleTerms_ = ToScheduleInputs(*inputs_, AmortOpt->Choices());
  RebuildYearTabs();
  SelectYear(Years->count() > 1 ? 1 : 0);
  EnableSchedule(true);
  ShowSchedule();
  // The schedule stands even when no APR fits it; the box says why.
  for (const Message& m : apr_.outcome.messages) ShowMessage(this, m);
}

void TcLoAmort::SaveBTNClick() {
  if (!store_) return;
  const bool ready = SaveBTN->isEnabled() && calculated_;
  if (auto tie = store_->Save(this, accountNo_, scheduleTerms_, ready ? schedule_.get() : nullptr))
    TieTo(*tie);
  else
    UntieWhenDeleted();
}

void TcLoAmort::OpenBTNClick() {
  if (!store_) return;
  const ScheduleStore::Loaded loaded =
      store_->Load(this, accountNo_, ToScheduleInputs(*inputs_, AmortOpt->Choices()), *schedule_);
  if (!loaded.chosen) {
    UntieWhenDeleted();
    return;
  }
  if (loaded.terms) ApplyLoadedTerms(*loaded.terms);
  if (loaded.termsOnly) {
    calculated_ = false;
    model_->Clear();
    QSignalBlocker block(Years);
    while (Years->count() > 0) Years->removeTab(Years->count() - 1);
    HideSchedule();
    EnableSchedule(false);
  }
  ShowMessages(this, loaded.outcome);
  if (!loaded.outcome.ok()) {
    UntieWhenDeleted();
    return;
  }
  calculated_ = true;
  scheduleTerms_ = *loaded.terms;
  RebuildYearTabs();
  // The first calendar year, or "All" when only the initial row was saved.
  SelectYear(schedule_->lastRow() > 0 && Years->count() > 1 ? 1 : 0);
  EnableSchedule(true);
  ShowSchedule();
  TieTo(loaded.tie);
}

void TcLoAmort::TieTo(const ScheduleStore::Tie& tie) {
  accountNo_ = tie.accountNo;
  loanNo_ = tie.loanNo;
  borrower_ = tie.borrower;
  UpdatePaymentsCommand();
}

void TcLoAmort::UntieWhenDeleted() {
  if (!store_ || loanNo_.empty() || store_->StillSaved(ScheduleStore::Tie{accountNo_, loanNo_, borrower_})) return;
  TieTo(ScheduleStore::Tie{});
}

void TcLoAmort::UpdatePaymentsCommand() {
  const bool on = store_ && store_->KeepsPayments() && !loanNo_.empty();
  PaymentsBTN->setEnabled(on);
  PaymentsItem->setEnabled(on);
}

void TcLoAmort::PaymentsClick() {
  if (!store_ || loanNo_.empty()) return;
  store_->ShowPayments(this, ScheduleStore::Tie{accountNo_, loanNo_, borrower_});
}

void TcLoAmort::ApplyLoadedTerms(const ScheduleInputs& loaded) {
  AmortChoices choices = AmortOpt->Choices();
  ApplyScheduleTerms(loaded, *inputs_, choices);
  // Other fees are not saved with a loan: a loaded loan has none.
  inputs_->OtherFees = 0;
  LoadControls();
  paymentsPerYear_ = PyrPeriodsPerYear(PYR->currentIndex());
  // The options dialog shows the loaded method and basis, also when opened later.
  AmortOpt->SetAmortMthd(choices.AmortMthd);
  AmortOpt->SetRateBasis(choices.RateBasis);
  optValues_->AmortMthd.Select(choices.AmortMthd);
  optValues_->RateBasis.Select(choices.RateBasis);
}

void TcLoAmort::RebuildYearTabs() {
  QSignalBlocker block(Years);
  while (Years->count() > 0) Years->removeTab(Years->count() - 1);
  for (const YearTab& t : schedule_->yearTabs()) Years->addTab(Q(t.label));
}

void TcLoAmort::SelectYear(int tab) {
  {
    QSignalBlocker block(Years);
    Years->setCurrentIndex(tab);
  }
  YearsChange(Years->currentIndex());
}

void TcLoAmort::YearsChange(int tab) {
  if (tab < 0 || !calculated_) return;
  TransGrid->setUpdatesEnabled(false);
  const auto [first, last] = schedule_->SelectYear(tab);
  const YearTotals t = schedule_->Totals(first, last);
  const LocaleFormat& loc = CurrentLocaleInfo().format;
  auto money = [&loc](double v) { return Q(FormatMoney(v, 2, loc)); };
  TotalPmt->setText(money(t.payment));
  TotalPrincipal->setText(money(t.principal));
  TotalInterest->setText(money(t.interest));
  const ScheduleRow& end = schedule_->row(last);
  RunningTotalPmt->setText(money(end.runPayment));
  RunningTotalPrincipal->setText(money(end.runPrincipal));
  RunningTotalInterest->setText(money(end.runInterest));
  model_->SetRange(first, last);
  TransGrid->scrollToTop();
  TransGrid->setUpdatesEnabled(true);
}

int TcLoAmort::selectedYear() const { return Years->currentIndex(); }

void TcLoAmort::RefreshChartAndApr() {
  const LocaleFormat& loc = CurrentLocaleInfo().format;
  chartStale_ = Pages->currentIndex() != kChartPage;
  if (!chartStale_) Chart->SetSchedule(*schedule_, loc);
  ScheduleInputs in = ToScheduleInputs(*inputs_, AmortOpt->Choices());
  in.PYR = PYR->currentIndex();
  apr_ = AnnualPercentageRate(*schedule_, in);
  APR->setText(apr_.outcome.refused ? QString() : Q(FormatNumber(apr_.apr, 4, loc)) + "%");
}

void TcLoAmort::ShowEventsCaption() {
  const std::size_t n = inputs_->events.size();
  EventsBTN->setText(n == 0 ? QStringLiteral("Events...") : QStringLiteral("Events (%1)...").arg(n));
}

void TcLoAmort::ShowSavings() {
  const bool events = calculated_ && schedule_->hasEvents();
  for (QWidget* w : std::initializer_list<QWidget*>{lInterestSaved, InterestSaved, lPayoff, Payoff, BasePayoff})
    w->setVisible(events);
  if (!events) return;
  // Against the same loan without events, built when first asked for.
  const EventSavings saved = SavingsOf(*schedule_);
  InterestSaved->setText(Q(FormatMoney(saved.interestSaved, 2, CurrentLocaleInfo().format)));
  Payoff->setText(Q(FormatShortDate(saved.payoffDate)));
  BasePayoff->setText(saved.payoffDate == saved.basePayoffDate
                          ? QStringLiteral("unchanged")
                          : QStringLiteral("was ") + Q(FormatShortDate(saved.basePayoffDate)));
}

void TcLoAmort::EventsClick() {
  // Dates typed in the dialog fall on the payments of the terms shown now.
  const PaymentDates dates{FrstPmtDate->value(), PyrPeriodsPerYear(PYR->currentIndex())};
  TEventList dialog(inputs_->events, dates, services(), this);
  dialog.adjustSize();
  dialog.move(geometry().center() - QPoint(dialog.width() / 2, dialog.height() / 2));
  if (dialog.exec() != QDialog::Accepted) return;
  inputs_->events = dialog.events();
  ShowEventsCaption();
  CalcBTNClick();
}

void TcLoAmort::ShowSchedule() {
  shown_ = true;
  RefreshChartAndApr();
  ShowSavings();
  for (QWidget* w : std::initializer_list<QWidget*>{TransGrid, TotalPanel, Years, Chart}) w->show();
  prevYearKey_->setEnabled(true);
  nextYearKey_->setEnabled(true);
}

void TcLoAmort::HideSchedule() {
  shown_ = false;
  for (QWidget* w : std::initializer_list<QWidget*>{TransGrid, TotalPanel, Years, Chart}) w->hide();
  prevYearKey_->setEnabled(false);
  nextYearKey_->setEnabled(false);
}

void TcLoAmort::EnableSchedule(bool on) {
  ExportItem->setEnabled(on);
  TruthInLendingItem->setEnabled(on && openTil_);
  for (QPushButton* b : {FirstBTN, PrevBTN, NextBTN, LastBTN}) b->setEnabled(on);
  SaveBTN->setEnabled(on);
  PrintBTN->setEnabled(on);
  PrintItem->setEnabled(on);
}

void TcLoAmort::FirstBTNClick() {
  if (Years->count() < 2) return;
  SelectYear(Years->currentIndex() != 1 ? 1 : 0);
}

void TcLoAmort::PrevBTNClick() {
  if (Years->currentIndex() > 0) SelectYear(Years->currentIndex() - 1);
}

void TcLoAmort::NextBTNClick() {
  if (Years->currentIndex() < Years->count() - 1) SelectYear(Years->currentIndex() + 1);
}

void TcLoAmort::LastBTNClick() {
  if (Years->count() > 0) SelectYear(Years->count() - 1);
}

void TcLoAmort::CtrlPgUp() {
  if (!Years->isVisible() || Years->count() == 0) return;
  const int i = Years->currentIndex();
  SelectYear(i > 0 ? i - 1 : Years->count() - 1);
}

void TcLoAmort::CtrlPgDn() {
  if (!Years->isVisible() || Years->count() == 0) return;
  const int i = Years->currentIndex();
  SelectYear(i < Years->count() - 1 ? i + 1 : 0);
}

void TcLoAmort::SetBorrower(std::optional<Borrower> borrower) { borrower_ = std::move(borrower); }

void TcLoAmort::PrintBTNClick() {
  if (!calculated_ || Years->count() == 0) return;
  // The report covers every year; the grid keeps the year it shows.
  const int tab = Years->currentIndex();
  TransGrid->setUpdatesEnabled(false);
  // The summary gives the terms the schedule was calculated or loaded with,
  // not fields edited since.
  const ScheduleInputs current = ToScheduleInputs(*inputs_, AmortOpt->Choices());
  ScheduleInputs shown = scheduleTerms_;
  shown.PointsPaidMthd = current.PointsPaidMthd;
  shown.OtherFees = current.OtherFees;
  ScheduleReportSetup setup;
  const QFont font = PrintFont();
  setup.fontName = font.family().toStdString();
  setup.fontPoints = PointsOf(font);
  setup.today = TodayDate();
  setup.money = CurrentLocaleInfo().format;
  ScheduleReportTerms terms = ReportTermsOf(shown);
  if (!apr_.outcome.refused && !APR->text().isEmpty()) terms.apr = apr_.apr;
  PreviewScheduleReport(this, *schedule_, terms, borrower_, setup, [this] { ShowWindowHelp(); });
  if (Years->currentIndex() != tab) SelectYear(tab);
  TransGrid->setUpdatesEnabled(true);
}

void TcLoAmort::ExportClick() {
  if (!calculated_) return;
  QFileDialog dialog(this, "Export Schedule");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilters({"CSV files (*.csv)", "All files (*)"});
  dialog.setDefaultSuffix("csv");
  if (exportPath_.isEmpty()) dialog.selectFile(QDir::home().filePath("schedule.csv"));
  else dialog.selectFile(exportPath_);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  ExportTo(dialog.selectedFiles().front());
}

bool TcLoAmort::ExportTo(const QString& path) {
  Outcome outcome;
  {
    BusyCursor busy;
    outcome = ExportScheduleCsv(*schedule_, QFile::encodeName(path).toStdString());
  }
  for (const Message& m : outcome.messages) ShowMessage(this, m);
  if (outcome.refused) return false;
  exportPath_ = path;
  return true;
}

void TcLoAmort::HelpBTNClick() { ShowWindowHelp(); }

void TcLoAmort::SetTruthInLendingOpener(TruthInLendingOpener open) {
  openTil_ = std::move(open);
  TruthInLendingItem->setEnabled(calculated_ && openTil_);
}

void TcLoAmort::TruthInLendingClick() {
  if (!calculated_ || !openTil_) return;
  // The terms the schedule was calculated or loaded with, as its APR.
  TilRecord loan = NewTilRecord();
  const Outcome outcome = TruthInLendingTermsOf(*schedule_, scheduleTerms_, loan);
  ShowMessages(this, outcome);
  if (outcome.refused) return;
  openTil_(this, loan);
}

void TcLoAmort::OptionsClick() {
  // Centred on this window.
  AmortOpt->adjustSize();
  AmortOpt->move(geometry().center() - QPoint(AmortOpt->width() / 2, AmortOpt->height() / 2));
  AmortOpt->exec();
  int pyr = PYR->currentIndex(), cmp = CmpPYR->currentIndex();
  if (CanadianPeriods(static_cast<int>(AmortOpt->amortMthd()), pyr, cmp)) {
    PYR->setCurrentIndex(pyr);
    CmpPYR->setCurrentIndex(cmp);
  }
}

void TcLoAmort::done(int result) {
  if (isVisible()) SaveCurrentPosition();
  QDialog::done(result);
}

void OpenAmortizationSchedule(QWidget* parent, AmortInputs* inputs, AmortOptValues* optValues,
                              AppServices* services, ScheduleStore* store,
                              TruthInLendingOpener openTil) {
  // Window and dialog live only while shown.
  auto window = std::make_unique<TcLoAmort>(inputs, optValues, services, parent, store);
  if (openTil) window->SetTruthInLendingOpener(std::move(openTil));
  window->setWindowModality(Qt::ApplicationModal);
  window->exec();
}

}  // namespace brevika
