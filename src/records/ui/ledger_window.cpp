#include "records/ui/ledger_window.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <cmath>

#include "components/app_services.h"
#include "components/busy_cursor.h"
#include "components/locale_info.h"
#include "components/masked_fields.h"
#include "components/messages.h"
#include "components/page_painter.h"
#include "components/page_preview.h"
#include "components/qt_strings.h"
#include "records/loan_ledger.h"
#include "records/statement_import.h"
#include "records/ui/ledger_chart.h"
#include "records/ui/ledger_models.h"
#include "records/ui/payment_dialog.h"

namespace brevika {

namespace {

constexpr int kWindowWidth = 1000;
constexpr int kWindowHeight = 600;
constexpr int kResultWidth = 130;
// Statements larger than this are refused unread.
constexpr qint64 kMaxStatementBytes = qint64{64} << 20;

using records::ActualPayment;

QString DateText(Date d) { return Q(records::SummaryDateText(d)); }

// A date entry with four-digit years, as wide as the figures.
DateField* NewDateEntry(QWidget* parent, const char* name, const QFont& base) {
  auto* f = new DateField(parent);
  f->setObjectName(name);
  f->SetFourDigitYear(true);
  ShowAsEntry(f, base);
  f->setFixedWidth(kResultWidth);
  return f;
}

// A figure the window works out: read-only, right-aligned.
void NewFigure(QLineEdit*& f, QWidget* parent, const char* name, const QFont& base, int width = kResultWidth) {
  f = new QLineEdit(parent);
  f->setObjectName(name);
  f->setFont(EntryFont(base));
  f->setFixedWidth(width);
  f->setAlignment(Qt::AlignRight);
  ShowAsResult(f);
}

QTableView* MakeGrid(QWidget* parent, const char* name) {
  auto* grid = new QTableView(parent);
  grid->setObjectName(name);
  grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid->setSelectionMode(QAbstractItemView::SingleSelection);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  grid->setWordWrap(false);
  grid->verticalHeader()->hide();
  grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 4);
  QHeaderView* head = grid->horizontalHeader();
  head->setSectionsClickable(false);
  head->setHighlightSections(false);
  head->setMinimumSectionSize(20);
  grid->setFocusPolicy(Qt::StrongFocus);
  return grid;
}

bool SamePayment(const ActualPayment& a, const ActualPayment& b) {
  return a.date == b.date && std::llround(a.amount * 100) == std::llround(b.amount * 100) && a.note == b.note;
}

}  // namespace

TLedger::TLedger(const std::string& folder, const std::string& loanNo, AppServices* services, QWidget* parent)
    : WindowBase(services, parent,
                 Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                     Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      folder_(folder),
      loanNo_(loanNo) {
  setObjectName("TLedger");
  setWindowTitle(QString::fromLatin1(records::kLedgerReportTitle));
  model_ = new LedgerModel(this);
  years_ = new PaidByYearModel(this);
  model_->SetLocaleFormat(CurrentLocaleInfo().format);
  years_->SetLocaleFormat(CurrentLocaleInfo().format);
  days_.asOf = days_.payoff = TodayDate();

  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(6, 6, 6, 6);
  outer->setSpacing(6);
  outer->addWidget(BuildSummary());
  Pages = new QTabWidget(this);
  Pages->setObjectName("Pages");
  Pages->setDocumentMode(true);
  Pages->addTab(BuildPaymentsPage(), "Pay&ments");
  Pages->addTab(BuildPayoffPage(), "Pa&yoff");
  Pages->addTab(BuildYearsPage(), "By Yea&r");
  auto* chartPage = new QWidget(Pages);
  auto* chartBox = new QVBoxLayout(chartPage);
  chartBox->setContentsMargins(0, 0, 0, 0);
  Chart = new LedgerChart(chartPage);
  chartBox->addWidget(Chart);
  Pages->addTab(chartPage, "&Chart");
  // The chart is drawn when its page is shown.
  connect(Pages, &QTabWidget::currentChanged, this, [this](int index) {
    if (index == kChartPage && chartStale_) {
      chartStale_ = false;
      Chart->SetLedger(ledger_, CurrentLocaleInfo().format);
    }
  });
  outer->addWidget(Pages, 1);
  outer->addWidget(BuildButtons());
  setFixedSize(kWindowWidth, kWindowHeight);

  Transfer& t = transfer();
  t.Day(AsOf, &days_.asOf, true);
  t.Day(PayoffDate, &days_.payoff, true);
  t.ToControls();
  // The summary and the quote follow the days as they are typed. While a
  // day's field holds text that is no date its figures are blank (no
  // figures of another day beside it); a day left empty goes back to the
  // one before.
  connect(AsOf, &DateField::valueChanged, this, [this] {
    if (AsOf->value() == kBadDate) {
      if (AsOf->showsBadDate()) ClearSummary();
      return;
    }
    days_.asOf = AsOf->value();
    ShowSummary();
  });
  connect(PayoffDate, &DateField::valueChanged, this, [this] {
    if (PayoffDate->value() == kBadDate) {
      if (PayoffDate->showsBadDate()) ClearPayoff();
      return;
    }
    days_.payoff = PayoffDate->value();
    ShowPayoff();
  });
  for (DateField* f : {AsOf, PayoffDate}) connect(f, &MaskedField::left, this, [this] { transfer().FromControls(); });
  auto* print = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_P), this);
  print->setContext(Qt::WindowShortcut);
  connect(print, &QShortcut::activated, this, &TLedger::PrintBTNClick);
  SetHelpTopic(kHelpLedger, ZeroContext::WindowTopic);
  loaded_ = Reload();
  RestoreSavedPosition();
  PaymentsGrid->setFocus();
}

TLedger::~TLedger() = default;

QWidget* TLedger::BuildSummary() {
  auto* panel = new QFrame(this);
  panel->setObjectName("Summary");
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  auto* box = new QVBoxLayout(panel);
  box->setContentsMargins(10, 6, 10, 6);
  auto* title = new QLabel(panel);
  title->setObjectName("LoanTitle");
  QFont bold = font();
  bold.setBold(true);
  title->setFont(bold);
  title->setTextFormat(Qt::PlainText);
  box->addWidget(title);

  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(8);
  grid->setVerticalSpacing(3);
  AsOf = NewDateEntry(panel, "AsOf", font());
  SetHelpContext(AsOf, kHelpAsOf);
  auto result = [&](QLineEdit*& f, const char* name, int width = kResultWidth) {
    NewFigure(f, panel, name, font(), width);
  };
  result(Balance, "Balance");
  result(UnpaidInterest, "UnpaidInterest");
  result(PaidThrough, "PaidThrough");
  result(Paid, "Paid");
  result(Scheduled, "Scheduled");
  result(AheadBehind, "AheadBehind", 290);
  result(NextDue, "NextDue");
  const struct {
    const char* caption;
    QWidget* field;
    int row, column;
  } cells[] = {{"As &Of:", AsOf, 0, 0},
               {"Balance:", Balance, 1, 0},
               {"Unpaid Interest:", UnpaidInterest, 2, 0},
               {"Interest Charged Through:", PaidThrough, 0, 1},
               {"Paid:", Paid, 1, 1},
               {"Scheduled:", Scheduled, 2, 1},
               {"Ahead or Behind:", AheadBehind, 0, 2},
               {"Next Payment Due:", NextDue, 1, 2}};
  for (const auto& c : cells) {
    auto* label = new QLabel(QString::fromLatin1(c.caption), panel);
    label->setBuddy(c.field);
    grid->addWidget(label, c.row, c.column * 2, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(c.field, c.row, c.column * 2 + 1, Qt::AlignLeft | Qt::AlignVCenter);
  }
  // Words rather than figures: the window's own font, from the left.
  QFont words = font();
  words.setBold(true);
  AheadBehind->setFont(words);
  AheadBehind->setAlignment(Qt::AlignLeft);
  grid->setColumnStretch(5, 1);
  box->addLayout(grid);
  return panel;
}

QWidget* TLedger::BuildPaymentsPage() {
  auto* page = new QWidget(this);
  auto* box = new QVBoxLayout(page);
  box->setContentsMargins(0, 0, 0, 0);
  PaymentsGrid = MakeGrid(page, "PaymentsGrid");
  PaymentsGrid->setModel(model_);
  for (int c = 0; c < LedgerModel::kColumnCount; ++c)
    PaymentsGrid->setColumnWidth(c, LedgerModel::kColumnWidths[c]);
  PaymentsGrid->horizontalHeader()->setStretchLastSection(true);
  PaymentsGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  PaymentsGrid->installEventFilter(this);
  SetHelpContext(PaymentsGrid, kHelpLedger);
  connect(PaymentsGrid, &QTableView::doubleClicked, this, [this] { EditBTNClick(); });
  connect(PaymentsGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this] { UpdateButtons(); });
  box->addWidget(PaymentsGrid);
  return page;
}

QWidget* TLedger::BuildPayoffPage() {
  auto* page = new QWidget(this);
  auto* box = new QVBoxLayout(page);
  box->setContentsMargins(16, 12, 16, 12);
  auto* intro = new QLabel(
      "What pays the loan off on a day: the balance after the payments made by then, the interest they left "
      "unpaid, and the interest accrued since it was last charged. The per diem is one more day's interest.",
      page);
  intro->setWordWrap(true);
  box->addWidget(intro);
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(8);
  grid->setVerticalSpacing(3);
  PayoffDate = NewDateEntry(page, "PayoffDate", font());
  auto result = [&](QLineEdit*& f, const char* name) { NewFigure(f, page, name, font()); };
  result(PayoffThrough, "PayoffThrough");
  result(PayoffDays, "PayoffDays");
  result(PayoffBalance, "PayoffBalance");
  result(PayoffUnpaid, "PayoffUnpaid");
  result(PayoffAccrued, "PayoffAccrued");
  result(Payoff, "Payoff");
  result(PerDiem, "PerDiem");
  const std::pair<const char*, QWidget*> rows[] = {{"Payoff Da&te:", PayoffDate},
                                                   {"Interest Charged Through:", PayoffThrough},
                                                   {"Days:", PayoffDays},
                                                   {"Balance:", PayoffBalance},
                                                   {"Unpaid Interest:", PayoffUnpaid},
                                                   {"Accrued Interest:", PayoffAccrued},
                                                   {"Payoff:", Payoff},
                                                   {"Per Diem:", PerDiem}};
  int row = 0;
  for (const auto& [caption, field] : rows) {
    auto* label = new QLabel(QString::fromLatin1(caption), page);
    label->setBuddy(field);
    grid->addWidget(label, row, 0, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(field, row, 1, Qt::AlignLeft | Qt::AlignVCenter);
    SetHelpContext(field, kHelpPayoff);
    ++row;
  }
  QFont bold = Payoff->font();
  bold.setBold(true);
  Payoff->setFont(bold);
  grid->setColumnStretch(2, 1);
  box->addLayout(grid);
  box->addStretch(1);
  return page;
}

QWidget* TLedger::BuildYearsPage() {
  auto* page = new QWidget(this);
  auto* box = new QVBoxLayout(page);
  box->setContentsMargins(0, 6, 0, 0);
  auto* intro = new QLabel(
      "The interest and the principal paid by the payments dated in each calendar year, as a tax return "
      "asks for them.",
      page);
  intro->setWordWrap(true);
  box->addWidget(intro);
  YearsGrid = MakeGrid(page, "YearsGrid");
  YearsGrid->setModel(years_);
  for (int c = 0; c < PaidByYearModel::kColumnCount; ++c)
    YearsGrid->setColumnWidth(c, PaidByYearModel::kColumnWidths[c]);
  SetHelpContext(YearsGrid, kHelpPaidByYear);
  box->addWidget(YearsGrid, 1);
  return page;
}

QWidget* TLedger::BuildButtons() {
  auto* panel = new QWidget(this);
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(4);
  auto make = [&](QPushButton*& b, const char* name, const char* text, int help, auto handler) {
    b = MakeButton(panel, name, QString::fromLatin1(text), help, handler);
    b->setMinimumWidth(76);
    row->addWidget(b);
  };
  make(AddBTN, "AddBTN", "&Add...", kHelpPaymentDialog, &TLedger::AddBTNClick);
  make(EditBTN, "EditBTN", "&Edit...", kHelpPaymentDialog, &TLedger::EditBTNClick);
  make(DeleteBTN, "DeleteBTN", "&Delete", kHelpPaymentDialog, &TLedger::DeleteBTNClick);
  make(ImportBTN, "ImportBTN", "&Import...", kHelpStatementImport, &TLedger::ImportBTNClick);
  row->addStretch(1);
  make(ExportBTN, "ExportBTN", "E&xport...", -1, &TLedger::ExportBTNClick);
  make(PrintBTN, "PrintBTN", "&Print...", -1, &TLedger::PrintBTNClick);
  make(HelpBTN, "HelpBTN", "&Help", -1, &TLedger::HelpBTNClick);
  make(CloseBTN, "CloseBTN", "Close", -1, &QDialog::reject);
  if (ShowsHints()) {
    AddBTN->setToolTip("Record a payment [Ins]");
    EditBTN->setToolTip("Change the payment picked in the grid [Enter]");
    DeleteBTN->setToolTip("Delete the payment picked in the grid [Del]");
    ImportBTN->setToolTip("Record the payments of a lender's statement (CSV)");
    ExportBTN->setToolTip("Write the ledger to a spreadsheet file (CSV)");
    PrintBTN->setToolTip("Print the ledger [Ctrl][P]");
    HelpBTN->setToolTip("Help [F1]");
    CloseBTN->setToolTip("Close [Esc]");
  }
  return panel;
}

bool TLedger::Reload(const ActualPayment* select) {
  Outcome outcome;
  records::RecordsOptions options;
  options.readOnly = true;  // reading writes nothing in the folder
  auto r = records::LoanRecords::Open(folder_, outcome, options);
  records::Loan loan;
  records::LedgerInputs in;
  records::Ledger ledger;
  std::string account;
  if (r) outcome = r->LoadLedgerInputs(loanNo_, loan, in);
  if (outcome.ok()) outcome = records::ComputeLedger(in, ledger);
  if (!outcome.ok()) {
    loadOutcome_ = outcome;
    return false;
  }
  account = r->AccountOfLoan(loan.loanNo);
  const auto holder = r->FindAccount(account);
  r.reset();

  const int keepRow = PaymentsGrid->currentIndex().isValid() ? PaymentsGrid->currentIndex().row() : -1;
  loan_ = std::move(loan);
  inputs_ = std::move(in);
  ledger_ = std::move(ledger);
  QString title = QStringLiteral("Loan ") + Q(loan_.loanNo);
  if (!loan_.collateral.empty()) title += QStringLiteral("  ") + Q(loan_.collateral);
  if (!account.empty()) {
    title += QStringLiteral("     Account ") + Q(account);
    if (holder) {
      std::string name = holder->firstName;
      if (!holder->lastName.empty()) name += (name.empty() ? "" : " ") + holder->lastName;
      if (name.empty()) name = holder->business;
      if (!name.empty()) title += QStringLiteral("  ") + Q(name);
    }
  }
  findChild<QLabel*>("LoanTitle")->setText(title);

  model_->SetLedger(&ledger_, days_.asOf);
  years_->SetYears(records::PaidByYear(ledger_));
  chartStale_ = Pages->currentIndex() != kChartPage;
  if (!chartStale_) Chart->SetLedger(ledger_, CurrentLocaleInfo().format);
  ShowSummary();
  ShowPayoff();

  int row = -1;
  if (select) {
    for (std::size_t k = 0; k < inputs_.payments.size(); ++k)
      if (SamePayment(inputs_.payments[k], *select)) row = model_->GridRowOfPayment(k);
  } else if (keepRow >= 0) {
    row = std::min(keepRow, model_->rowCount() - 1);
  } else {
    // At first the latest payment made by the as-of day, else that day's line.
    int asOfLine = 0;
    for (int k = 0; k < model_->rowCount(); ++k) {
      if (model_->lines()[static_cast<std::size_t>(k)].date > days_.asOf) break;
      asOfLine = k;
      if (model_->RowAt(k)) row = k;
    }
    if (row < 0) row = asOfLine;
  }
  if (row >= 0 && row < model_->rowCount()) {
    PaymentsGrid->setCurrentIndex(model_->index(row, 0));
    PaymentsGrid->scrollTo(model_->index(row, 0), QAbstractItemView::PositionAtCenter);
  }
  UpdateButtons();
  return true;
}

void TLedger::ShowSummary() {
  if (AsOf->showsBadDate()) {
    ClearSummary();
    return;
  }
  model_->SetAsOf(days_.asOf);
  records::LedgerSummary s;
  if (!records::SummarizeLedger(ledger_, days_.asOf, s).ok()) return;
  summary_ = s;
  const LocaleFormat& loc = CurrentLocaleInfo().format;
  Balance->setText(Q(FormatMoney(s.balance, 2, loc)));
  UnpaidInterest->setText(Q(FormatMoney(s.unpaidInterest, 2, loc)));
  PaidThrough->setText(DateText(s.paidThrough));
  Paid->setText(Q(FormatMoney(s.paid, 2, loc)));
  Scheduled->setText(Q(FormatMoney(s.scheduled, 2, loc)));
  AheadBehind->setText(Q(records::AheadBehindText(s, loc)));
  AheadBehind->setToolTip(AheadBehind->text());
  AheadBehind->setCursorPosition(0);
  NextDue->setText(DateText(s.nextDue));
}

void TLedger::ClearSummary() {
  for (QLineEdit* f : {Balance, UnpaidInterest, PaidThrough, Paid, Scheduled, AheadBehind, NextDue}) f->clear();
  AheadBehind->setToolTip(QString());
}

void TLedger::ClearPayoff() {
  for (QLineEdit* f : {PayoffThrough, PayoffDays, PayoffBalance, PayoffUnpaid, PayoffAccrued, Payoff, PerDiem})
    f->clear();
}

void TLedger::ShowPayoff() {
  records::PayoffQuote q;
  if (PayoffDate->showsBadDate() || !records::QuotePayoff(ledger_, days_.payoff, q).ok()) {
    ClearPayoff();
    return;
  }
  const LocaleFormat& loc = CurrentLocaleInfo().format;
  PayoffThrough->setText(DateText(q.paidThrough));
  PayoffDays->setText(QString::number(q.days));
  PayoffBalance->setText(Q(FormatMoney(q.balance, 2, loc)));
  PayoffUnpaid->setText(Q(FormatMoney(q.unpaidInterest, 2, loc)));
  PayoffAccrued->setText(Q(FormatMoney(q.accruedInterest, 2, loc)));
  Payoff->setText(Q(FormatMoney(q.payoff, 2, loc)));
  PerDiem->setText(Q(FormatMoney(q.perDiem, 2, loc)));
}

const ActualPayment* TLedger::selectedPayment() const {
  const QModelIndex at = PaymentsGrid->currentIndex();
  const records::LedgerRow* row = at.isValid() ? model_->RowAt(at.row()) : nullptr;
  return row && row->payment < inputs_.payments.size() ? &inputs_.payments[row->payment] : nullptr;
}

void TLedger::UpdateButtons() {
  const bool picked = selectedPayment() != nullptr;
  EditBTN->setEnabled(picked);
  DeleteBTN->setEnabled(picked);
}

Outcome TLedger::Change(const std::function<Outcome(records::LoanRecords&)>& change) {
  Outcome opened;
  BusyCursor busy;
  auto r = records::LoanRecords::Open(folder_, opened);
  if (!r) return opened;
  if (!r->writable()) return r->WhyNotWritable();
  return change(*r);
}

void TLedger::AddBTNClick() {
  // Today's payment of the amount next due.
  ActualPayment start{TodayDate(), 0, {}};
  for (const ScheduleRow& s : ledger_.scheduled) {
    if (s.pmtNo <= 0) continue;
    start.amount = s.payment;
    if (summary_.nextDue == kBadDate || s.date >= summary_.nextDue) break;
  }
  TPaymentDialog dialog("Add Payment", start,
                        [this](const ActualPayment& p) {
                          return Change([&](records::LoanRecords& r) { return r.AddPayments(loanNo_, {p}); });
                        },
                        services(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  const ActualPayment added = dialog.payment();
  if (!Reload(&added)) ShowMessages(this, loadOutcome_);
}

void TLedger::EditBTNClick() {
  const ActualPayment* picked = selectedPayment();
  if (!picked) return;
  const ActualPayment old = *picked;
  TPaymentDialog dialog("Edit Payment", old,
                        [this, old](const ActualPayment& p) {
                          return Change([&](records::LoanRecords& r) { return r.ReplacePayment(loanNo_, old, p); });
                        },
                        services(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  const ActualPayment now = dialog.payment();
  if (!Reload(&now)) ShowMessages(this, loadOutcome_);
}

void TLedger::DeleteBTNClick() {
  const ActualPayment* picked = selectedPayment();
  if (!picked) return;
  const ActualPayment gone = *picked;
  const std::string question = "Delete the payment of " + FormatShortDate(gone.date, true) + ", " +
                               FormatMoney(gone.amount, 2, CurrentLocaleInfo().format) + ",\n\nfrom loan " +
                               loanNo_ + "?\n\n";
  if (!AskYesNo(this, Message{question, BoxType::Warning})) return;
  const Outcome deleted = Change([&](records::LoanRecords& r) { return r.DeletePayment(loanNo_, gone); });
  ShowMessages(this, deleted);
  if (!Reload()) ShowMessages(this, loadOutcome_);
}

void TLedger::ImportBTNClick() {
  const QString start = importFolder_.isEmpty() ? QDir::homePath() : importFolder_;
  const QString path = QFileDialog::getOpenFileName(this, "Import Statement", start,
                                                    "CSV files (*.csv);;All files (*)");
  if (path.isEmpty()) return;
  importFolder_ = QFileInfo(path).absolutePath();
  ImportFile(path);
}

void TLedger::ImportFile(const QString& path) {
  const std::string name = QFile::encodeName(path).toStdString();
  QFile file(path);
  const QFileInfo info(path);
  std::string problem;
  if (!info.isFile()) problem = "it is not a file";
  else if (info.size() > kMaxStatementBytes) problem = "it is larger than 64 MB";
  else if (!file.open(QIODevice::ReadOnly)) problem = file.errorString().toStdString();
  if (!problem.empty()) {
    ShowMessage(this, Message{"The statement\n\n" + path.toStdString() + "\n\ncan't be read: " + problem +
                                  ".\n\nNothing was imported.\n\n",
                              BoxType::Error});
    return;
  }
  const QByteArray bytes = file.readAll();
  records::CsvDocument statement;
  const Outcome parsed = records::ParseCsv(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                                           statement);
  if (!parsed.ok()) {
    ShowMessages(this, parsed);
    return;
  }
  TStatementDialog dialog(QDir::toNativeSeparators(path), statement,
                          [this, &statement](int dateColumn, int amountColumn) {
                            records::StatementColumns columns;
                            if (dateColumn >= 0) columns.date = std::to_string(dateColumn + 1);
                            if (amountColumn >= 0) columns.amount = std::to_string(amountColumn + 1);
                            Outcome said;
                            const Outcome changed = Change([&](records::LoanRecords& r) {
                              records::StatementImport im;
                              said = records::ReadStatement(statement, columns, inputs_.terms,
                                                            r.Payments(loanNo_), im, CurrentLocaleInfo().format);
                              if (!said.ok() || im.payments.empty()) return said;
                              return r.AddPayments(loanNo_, im.payments);
                            });
                            return changed.ok() ? said : changed;
                          },
                          services(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  if (!Reload()) ShowMessages(this, loadOutcome_);
}

void TLedger::ExportBTNClick() {
  QFileDialog dialog(this, "Export Ledger");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilters({"CSV files (*.csv)", "All files (*)"});
  dialog.setDefaultSuffix("csv");
  dialog.selectFile(exportPath_.isEmpty() ? QDir::home().filePath(QStringLiteral("ledger-%1.csv").arg(Q(loanNo_)))
                                          : exportPath_);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  ExportTo(dialog.selectedFiles().front());
}

bool TLedger::ExportTo(const QString& path) {
  Outcome outcome;
  {
    BusyCursor busy;
    outcome = records::ExportLedgerCsv(ledger_, QFile::encodeName(path).toStdString());
  }
  ShowMessages(this, outcome);
  if (outcome.refused) return false;
  exportPath_ = path;
  return true;
}

void TLedger::PrintBTNClick() {
  // The printout's summary is that of the day As Of shows.
  if (AsOf->showsBadDate()) {
    records::LedgerSummary none;
    ShowMessages(this, records::SummarizeLedger(ledger_, kBadDate, none));
    AsOf->setFocus();
    return;
  }
  const QFont font = PrintFont();
  records::LedgerReportSetup setup;
  setup.fontName = font.family().toStdString();
  setup.fontPoints = PointsOf(font);
  setup.today = TodayDate();
  setup.loanNo = loanNo_;
  setup.money = CurrentLocaleInfo().format;
  PreviewPages(
      this, QString::fromLatin1(kLedgerPreviewTitle), QString::fromLatin1(kLedgerSetupTitle),
      QString::fromLatin1(records::kLedgerReportTitle),
      [this, setup](const PaperSize& paper) {
        records::LedgerReportSetup onPaper = setup;
        onPaper.paper = paper;
        return records::LedgerReportPages(ledger_, summary_, onPaper);
      },
      QFont(QString::fromStdString(setup.fontName), setup.fontPoints), {}, [this] { ShowWindowHelp(); });
}

void TLedger::HelpBTNClick() { ShowWindowHelp(); }

bool TLedger::eventFilter(QObject* watched, QEvent* event) {
  if (watched == PaymentsGrid && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return WindowBase::eventFilter(watched, event);
    switch (key->key()) {
      case Qt::Key_Insert: AddBTNClick(); return true;
      case Qt::Key_Delete: DeleteBTNClick(); return true;
      case Qt::Key_Return:
      case Qt::Key_Enter: EditBTNClick(); return true;
      default: break;
    }
  }
  return WindowBase::eventFilter(watched, event);
}

void TLedger::done(int result) {
  if (isVisible()) SaveCurrentPosition();
  WindowBase::done(result);
}

void ShowLedger(QWidget* parent, const std::string& folder, const std::string& loanNo, AppServices* services) {
  TLedger window(folder, loanNo, services, parent);
  if (!window.loaded()) {
    ShowMessages(parent, window.loadOutcome());
    return;
  }
  window.setWindowModality(Qt::ApplicationModal);
  window.exec();
}

}  // namespace brevika
