#include "calculators/ui/calc_window.h"

#include <QApplication>
#include <QBoxLayout>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QShowEvent>
#include <QStackedWidget>
#include <cmath>
#include <exception>

#include "components/app_services.h"
#include "components/date_row.h"
#include "components/locale_info.h"
#include "components/masked_fields.h"
#include "components/page_painter.h"

namespace brevika {

KindContext WindowKindContext() {
  return KindContext{TodayDate(), LocaleWeekdayNames(), CurrentLocaleInfo().format};
}

CalcWindow::CalcWindow(const KindInfo& kind, int slot, AppServices* services, QWidget* parent)
    : WindowBase(services, parent,
                 Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                     Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                     Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      info_(kind), slot_(slot) {
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  setSizeGripEnabled(false);
  setWindowTitle(QString::fromStdString(SlotCaption(info_, slot_)));

  CalcBTN = MakeButton(this, "CalcBTN", QStringLiteral("&Calc"), -1, &CalcWindow::CalcBTNClick);
  CloseBTN = MakeButton(this, "CloseBTN", QStringLiteral("Close"), -1, &CalcWindow::CloseBTNClick);
  HelpBTN = MakeButton(this, "HelpBTN", QStringLiteral("&Help"), -1, &CalcWindow::HelpBTNClick);
  PrintBTN = MakeButton(this, "PrintBTN", QStringLiteral("&Print"), -1, &CalcWindow::PrintBTNClick);
  CopyBTN = MakeButton(this, "CopyBTN", QStringLiteral("Cop&y"), -1, &CalcWindow::CopyBTNClick);
  ResetBTN = MakeButton(this, "ResetBTN", QStringLiteral("R&eset"), -1, &CalcWindow::ResetBTNClick);
  UndoBTN = MakeButton(this, "UndoBTN", QStringLiteral("&Undo"), -1, &CalcWindow::UndoBTNClick);
  // Enter in a field calculates.
  CalcBTN->setDefault(true);
  const KindHelp& h = info_.help;
  SetHelpContext(CalcBTN, h.calc);
  SetHelpContext(CloseBTN, h.close);
  SetHelpContext(HelpBTN, h.help);
  SetHelpContext(PrintBTN, h.print);
  SetHelpContext(CopyBTN, h.copy);
  SetHelpContext(ResetBTN, h.reset);
  SetHelpContext(UndoBTN, h.undo);
  SetHelpTopic(h.window, ZeroContext::Contents);

  // Every field as wide as the widest result a money field shows, in the
  // bold of results and the country's money mask: an amount typed fits too.
  {
    MoneyField widest;
    QFont bold = font();
    bold.setBold(true);
    widest.setFont(bold);
    const int country = CurrentLocaleInfo().countryCode;
    if (country != 1) widest.SetMask(MoneyMaskForCountry(country));
    fieldWidth_ = widest.WidthToShow(widest.WidestText(kResultIntegerDigits));
  }
  grid_ = new QGridLayout;
  grid_->setHorizontalSpacing(12);
  grid_->setVerticalSpacing(6);
  body_ = new QVBoxLayout;
  body_->setSpacing(10);
  body_->addLayout(grid_);

  auto* buttons = new QVBoxLayout;
  buttons->setSpacing(6);
  for (QPushButton* b : {CalcBTN, CloseBTN, HelpBTN, PrintBTN, CopyBTN, ResetBTN, UndoBTN}) {
    b->setMinimumWidth(84);
    buttons->addWidget(b);
  }
  buttons->addStretch(1);
  auto* outer = new QHBoxLayout(this);
  outer->setContentsMargins(14, 14, 14, 14);
  outer->setSpacing(18);
  outer->addLayout(body_, 1);
  outer->addLayout(buttons);
  outer->setSizeConstraint(QLayout::SetFixedSize);
}

CalcWindow::~CalcWindow() = default;

QLabel* CalcWindow::MakeLabel(const char* name, std::string& caption, QWidget* buddy) {
  auto* label = new QLabel(QString::fromStdString(caption), this);
  label->setObjectName(QStringLiteral("l") + QString::fromLatin1(name));
  if (buddy) label->setBuddy(buddy);
  transfer().Label(label, &caption);
  return label;
}

void CalcWindow::PlaceRow(QLabel* label, QWidget* field) {
  const int row = grid_->rowCount();
  grid_->addWidget(label, row, 0, Qt::AlignLeft | Qt::AlignVCenter);
  grid_->addWidget(field, row, 1);
}

QLabel* CalcWindow::AddRow(const char* name, std::string& caption, QWidget* field, int help,
                           QWidget* cell) {
  field->setObjectName(QString::fromLatin1(name));
  if (!cell) field->setFixedWidth(fieldWidth_);
  SetHelpContext(field, help);
  QLabel* label = MakeLabel(name, caption, field);
  PlaceRow(label, cell ? cell : field);
  return label;
}

MoneyField* CalcWindow::AddMoney(const char* name, std::string& caption, double& value, int help) {
  auto* f = new MoneyField(this);
  // Money fields follow the country's mask unless the country is the US.
  const int country = CurrentLocaleInfo().countryCode;
  if (country != 1) f->SetMask(MoneyMaskForCountry(country));
  AddRow(name, caption, f, help);
  transfer().Money(f, &value);
  return f;
}

MoneyField* CalcWindow::AddResult(const char* name, std::string& caption, double& value) {
  MoneyField* f = AddMoney(name, caption, value, 0);
  ShowAsResult(f);
  return f;
}

RateField* CalcWindow::AddRate(const char* name, std::string& caption, float& value, int help) {
  auto* f = new RateField(this);
  AddRow(name, caption, f, help);
  transfer().Rate(f, &value);
  return f;
}

CountField* CalcWindow::AddCount(const char* name, std::string& caption, std::int16_t& value,
                                 int help) {
  auto* f = new CountField(this);
  AddRow(name, caption, f, help);
  transfer().Count(f, &value);
  return f;
}

DateField* CalcWindow::AddDate(const char* name, std::string& caption, Date& value, int help) {
  auto* f = new DateField(this);
  AddRow(name, caption, f, help);
  transfer().Day(f, &value);
  return f;
}

DateField* CalcWindow::AddDateRow(const char* name, std::string& caption, Date& value, int help,
                                  std::string& weekday, const char* dayName, int dayHelp,
                                  const char* spinName) {
  auto* row = new DateRow(dayName, dayHelp, spinName, FieldWidth(), this);
  AddRow(name, caption, row->field(), help, row);
  transfer().Day(row->field(), &value);
  transfer().Text(row->dayBox(), &weekday);
  return row->field();
}

QComboBox* CalcWindow::AddList(const char* name, std::string& caption, ListEntry& entry, int help) {
  auto* c = new QComboBox(this);
  c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  AddRow(name, caption, c, help);
  transfer().List(c, &entry);
  return c;
}

void CalcWindow::AddRule() {
  auto* rule = new QFrame(this);
  rule->setFrameShape(QFrame::HLine);
  rule->setFrameShadow(QFrame::Sunken);
  grid_->addWidget(rule, grid_->rowCount(), 0, 1, 2);
}

QLabel* CalcWindow::AddHint(const char* name, std::string& caption) {
  QLabel* hint = MakeLabel(name, caption, nullptr);
  body_->addWidget(hint, 0, Qt::AlignLeft);
  return hint;
}

void CalcWindow::BeginGroup(std::string* heading, const char* name) {
  QVBoxLayout* into = groups_ ? groups_ : body_;
  auto* panel = new QFrame(into->parentWidget() ? into->parentWidget() : this);
  panel->setObjectName(QString::fromLatin1(name) + QStringLiteral("Panel"));
  panel->setFrameShape(QFrame::StyledPanel);
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(10, 8, 10, 8);
  if (heading) {
    auto* title = new QLabel(QString::fromStdString(*heading), panel);
    title->setObjectName(QString::fromLatin1(name));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    layout->addWidget(title);
    transfer().Label(title, heading);
  }
  grid_ = new QGridLayout;
  grid_->setHorizontalSpacing(12);
  grid_->setVerticalSpacing(6);
  layout->addLayout(grid_);
  into->addWidget(panel);
}

namespace {
// A page of a notebook with its layout.
QVBoxLayout* AddPage(QStackedWidget* book, const char* name) {
  auto* page = new QWidget(book);
  page->setObjectName(QString::fromLatin1(name));
  book->addWidget(page);
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  return layout;
}
}  // namespace

void CalcWindow::BeginEntryPage() {
  pages_ = new QStackedWidget(this);
  pages_->setObjectName(QStringLiteral("Notebook1"));
  groups_ = AddPage(pages_, "DataEntry");
  groups_->setSpacing(8);
}

void CalcWindow::AddResultsPage(std::vector<std::string>& lines, int columns) {
  QVBoxLayout* results = AddPage(pages_, "Results");
  auto* memo = new QPlainTextEdit(pages_->widget(1));
  memo->setObjectName(QStringLiteral("Memo1"));
  memo->setReadOnly(true);
  memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  const QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  memo->setFont(mono);
  // The memo shows whole lines.
  memo->setMinimumWidth(QFontMetrics(mono).horizontalAdvance(QString(columns + 1, QLatin1Char('M'))) + 24);
  transfer().Memo(memo, &lines);
  results->addWidget(memo, 1);
  QPushButton* back = MakeButton(pages_->widget(1), "BitBtn1", QStringLiteral("&Data Entry"), -1,
                                 &CalcWindow::BitBtn1Click);
  results->addWidget(back, 0, Qt::AlignLeft);
  body_->addWidget(pages_);
}

void CalcWindow::ShowResultsPage() {
  if (pages_) pages_->setCurrentIndex(1);
}

bool CalcWindow::showingResults() const { return pages_ && pages_->currentIndex() == 1; }

void CalcWindow::BitBtn1Click() {
  if (pages_) pages_->setCurrentIndex(0);
}

void CalcWindow::FinishRows() {
  body_->addStretch(1);
  std::vector<QWidget*> chain;
  for (QWidget* w : transfer().controls())
    if (w->focusPolicy() != Qt::NoFocus) chain.push_back(w);
  const std::size_t fields = chain.size();
  for (QPushButton* b : {CalcBTN, CloseBTN, HelpBTN, PrintBTN, CopyBTN, ResetBTN, UndoBTN})
    chain.push_back(b);
  for (std::size_t k = 1; k < chain.size(); ++k) setTabOrder(chain[k - 1], chain[k]);
  if (fields > 0) chain.front()->setFocus(Qt::OtherFocusReason);
  RecordToControls();
}

void CalcWindow::ControlsToRecord() {
  FinishEditing();
  if (HasRecord()) transfer().FromControls();
}

void CalcWindow::RecordToControls() {
  transfer().ToControls();
  ControlsReloaded();
}

void CalcWindow::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (e->spontaneous()) return;  // back from minimised: nothing to reload
  if (HasRecord()) RecordToControls();
  RestoreSavedPosition();
}

void CalcWindow::closeEvent(QCloseEvent* e) {
  if (!closed_) {
    closed_ = true;
    SaveCurrentPosition();
    emit windowClosed(slot_);
  }
  e->accept();
}

void CalcWindow::done(int result) {
  setResult(result);
  close();
}

void CalcWindow::CalcBTNClick() {
  if (!HasRecord()) {
    QApplication::beep();
    return;
  }
  ControlsToRecord();
  Outcome outcome;
  try {
    BusyCursor busy;
    outcome = Calculate();
  } catch (const std::exception& ex) {
    // The fields keep what they showed before Calc.
    ShowMessage(this, Message{ex.what(), BoxType::Error});
    return;
  }
  RecordToControls();
  ShowMessages(this, outcome);
}

void CalcWindow::CloseBTNClick() { close(); }

void CalcWindow::HelpBTNClick() { ShowWindowHelp(); }

void CalcWindow::PrintBTNClick() {
  if (!HasRecord()) return;
  ControlsToRecord();
  const QFont font = PrintFont();
  const int points = PointsOf(font);
  QFont printFont(font.family(), points);
  const std::vector<Page> pages = PrintPagesOf(windowTitle().toStdString(), font.family().toStdString(),
                                               points, CurrentLocaleInfo().format);
  SendPages(pages, windowTitle(), printFont);
}

bool CalcWindow::SendPages(const std::vector<Page>& pages, const QString& title, const QFont& font) {
  return PrintThroughHandler(this, pages, title, font);
}

void CalcWindow::CopyBTNClick() {
  if (!HasRecord()) return;
  ControlsToRecord();
  const std::string text = CopyTextOf(windowTitle().toStdString(), CurrentLocaleInfo().format);
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->clear();
  clipboard->setText(QString::fromStdString(text));
}

void CalcWindow::ResetBTNClick() {
  if (!HasRecord()) return;
  ResetRecord();
  RecordToControls();
}

void CalcWindow::UndoBTNClick() {
  if (!HasRecord() || !UndoMovesRecord()) return;
  RecordToControls();
}

}  // namespace brevika
