#include "calculators/ui/calc_window.h"

#include <QApplication>
#include <QBoxLayout>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>
#include <QShortcut>
#include <QShowEvent>
#include <cmath>
#include <exception>

#include "components/app_services.h"
#include "components/locale_info.h"
#include "components/masked_fields.h"
#include "components/page_painter.h"

namespace brevika {

namespace {
const char* const kHelpProperty = "helpContext";

MessageHandler& CurrentMessageHandler() {
  static MessageHandler handler;
  return handler;
}

PrintHandler& CurrentPrintHandler() {
  static PrintHandler handler;
  return handler;
}

// Point size of a font that may have been given in pixels (96 per inch).
int PointsOf(const QFont& font) {
  if (font.pointSize() > 0) return font.pointSize();
  if (font.pixelSize() > 0) return static_cast<int>(std::lround(font.pixelSize() * 72.0 / 96.0));
  return 10;
}
}  // namespace

BusyCursor::BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
BusyCursor::~BusyCursor() { QApplication::restoreOverrideCursor(); }

void SetHelpContext(QWidget* widget, int context) {
  widget->setProperty(kHelpProperty, context);
}

int HelpContextOf(const QWidget* widget) {
  for (const QWidget* w = widget; w; w = w->parentWidget()) {
    const QVariant v = w->property(kHelpProperty);
    if (v.isValid()) return v.toInt();
    if (w->isWindow()) break;
  }
  return -1;
}

int HelpTopicFor(const QWidget* focused, int windowTopic) {
  const int context = focused ? HelpContextOf(focused) : -1;
  return context >= 0 ? context : windowTopic;
}

void ShowMessages(QWidget* parent, const Outcome& outcome) {
  for (const Message& m : outcome.messages) ShowMessage(parent, m);
}

void ShowMessage(QWidget* parent, const Message& message) {
  if (CurrentMessageHandler()) {
    CurrentMessageHandler()(parent, message);
    return;
  }
  QMessageBox::Icon icon = QMessageBox::Warning;
  QString caption = QStringLiteral("Warning");
  switch (message.box) {
    case BoxType::Warning: break;
    case BoxType::Error:
      icon = QMessageBox::Critical;
      caption = QStringLiteral("Error");
      break;
    case BoxType::Information:
      icon = QMessageBox::Information;
      caption = QStringLiteral("Information");
      break;
  }
  // A lone carriage return in a message text breaks the line too.
  QString text = QString::fromStdString(message.text);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

void SetMessageHandler(MessageHandler handler) { CurrentMessageHandler() = std::move(handler); }
void SetPrintHandler(PrintHandler handler) { CurrentPrintHandler() = std::move(handler); }

bool PrintThroughHandler(QWidget* parent, const std::vector<Page>& pages, const QString& title,
                         const QFont& font) {
  if (CurrentPrintHandler()) return CurrentPrintHandler()(parent, pages, title, font);
  return PrintPages(parent, pages, title, font);
}

CalcWindow::CalcWindow(CalcKind kind, int slot, AppServices* services, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      kind_(kind), slot_(slot), services_(services) {
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  setSizeGripEnabled(false);
  setWindowTitle(QString::fromStdString(SlotCaption(kind_, slot_)));

  CalcBTN = MakeButton("CalcBTN", QStringLiteral("&Calc"), &CalcWindow::CalcBTNClick);
  CloseBTN = MakeButton("CloseBTN", QStringLiteral("Close"), &CalcWindow::CloseBTNClick);
  HelpBTN = MakeButton("HelpBTN", QStringLiteral("&Help"), &CalcWindow::HelpBTNClick);
  PrintBTN = MakeButton("PrintBTN", QStringLiteral("&Print"), &CalcWindow::PrintBTNClick);
  CopyBTN = MakeButton("CopyBTN", QStringLiteral("Cop&y"), &CalcWindow::CopyBTNClick);
  ResetBTN = MakeButton("ResetBTN", QStringLiteral("R&eset"), &CalcWindow::ResetBTNClick);
  UndoBTN = MakeButton("UndoBTN", QStringLiteral("&Undo"), &CalcWindow::UndoBTNClick);
  // Enter in a field calculates.
  CalcBTN->setDefault(true);
  SetButtonHelp(ButtonHelp{});

  auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
  f1->setContext(Qt::WindowShortcut);
  connect(f1, &QShortcut::activated, this, &CalcWindow::ShowFocusedHelp);

  // Every field as wide as the widest amount the money mask allows.
  fieldWidth_ = QFontMetrics(font()).horizontalAdvance(QStringLiteral("$999,999,999,999.99")) + 24;
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

QPushButton* CalcWindow::MakeButton(const char* name, const QString& caption,
                                    void (CalcWindow::*handler)()) {
  auto* b = new QPushButton(caption, this);
  b->setObjectName(QString::fromLatin1(name));
  b->setAutoDefault(false);
  connect(b, &QPushButton::clicked, this, handler);
  return b;
}

void CalcWindow::SetButtonHelp(const ButtonHelp& h) {
  SetHelpContext(CalcBTN, h.calc);
  SetHelpContext(CloseBTN, h.close);
  SetHelpContext(HelpBTN, h.help);
  SetHelpContext(PrintBTN, h.print);
  SetHelpContext(CopyBTN, h.copy);
  SetHelpContext(ResetBTN, h.reset);
  SetHelpContext(UndoBTN, h.undo);
}

QLabel* CalcWindow::MakeLabel(const char* name, std::string& caption, QWidget* buddy) {
  auto* label = new QLabel(QString::fromStdString(caption), this);
  label->setObjectName(QStringLiteral("l") + QString::fromLatin1(name));
  if (buddy) label->setBuddy(buddy);
  transfer_.Label(label, &caption);
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
  transfer_.Money(f, &value);
  return f;
}

MoneyField* CalcWindow::AddResult(const char* name, std::string& caption, double& value) {
  MoneyField* f = AddMoney(name, caption, value, 0);
  ShowAsResult(f);
  return f;
}

void CalcWindow::ShowAsResult(QWidget* f) {
  if (auto* edit = qobject_cast<QLineEdit*>(f)) edit->setReadOnly(true);
  f->setFocusPolicy(Qt::NoFocus);
  // A result, not an entry: the window's colour behind bold figures.
  QPalette pal = f->palette();
  pal.setColor(QPalette::Base, pal.color(QPalette::Window));
  f->setPalette(pal);
  QFont bold = f->font();
  bold.setBold(true);
  f->setFont(bold);
}

RateField* CalcWindow::AddRate(const char* name, std::string& caption, float& value, int help) {
  auto* f = new RateField(this);
  AddRow(name, caption, f, help);
  transfer_.Rate(f, &value);
  return f;
}

CountField* CalcWindow::AddCount(const char* name, std::string& caption, std::int16_t& value,
                                 int help) {
  auto* f = new CountField(this);
  AddRow(name, caption, f, help);
  transfer_.Count(f, &value);
  return f;
}

DateField* CalcWindow::AddDate(const char* name, std::string& caption, Date& value, int help) {
  auto* f = new DateField(this);
  AddRow(name, caption, f, help);
  transfer_.Day(f, &value);
  return f;
}

QComboBox* CalcWindow::AddList(const char* name, std::string& caption, ListEntry& entry, int help) {
  auto* c = new QComboBox(this);
  c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  AddRow(name, caption, c, help);
  transfer_.List(c, &entry);
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

void CalcWindow::SetRowGrid(QGridLayout* grid) { grid_ = grid; }

void CalcWindow::FinishRows() {
  body_->addStretch(1);
  std::vector<QWidget*> chain;
  for (QWidget* w : transfer_.controls())
    if (w->focusPolicy() != Qt::NoFocus) chain.push_back(w);
  const std::size_t fields = chain.size();
  for (QPushButton* b : {CalcBTN, CloseBTN, HelpBTN, PrintBTN, CopyBTN, ResetBTN, UndoBTN})
    chain.push_back(b);
  for (std::size_t k = 1; k < chain.size(); ++k) setTabOrder(chain[k - 1], chain[k]);
  if (fields > 0) chain.front()->setFocus(Qt::OtherFocusReason);
  RecordToControls();
}

void CalcWindow::ControlsToRecord() {
  if (HasRecord()) transfer_.FromControls();
}

void CalcWindow::RecordToControls() { transfer_.ToControls(); }

void CalcWindow::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (e->spontaneous()) return;  // back from minimised: nothing to reload
  if (HasRecord()) RecordToControls();
  if (services_ && services_->SavePositions()) services_->RestorePosition(this);
}

void CalcWindow::closeEvent(QCloseEvent* e) {
  if (!closed_) {
    closed_ = true;
    if (services_ && services_->SavePositions()) services_->SavePosition(this);
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

void CalcWindow::HelpBTNClick() {
  if (services_) services_->ShowHelp(WindowHelpTopic());
}

void CalcWindow::ShowFocusedHelp() {
  if (services_) services_->ShowHelp(HelpTopicFor(focusWidget(), WindowHelpTopic()));
}

void CalcWindow::PrintBTNClick() {
  if (!HasRecord()) return;
  ControlsToRecord();
  const QFont font = services_ ? services_->PrinterFont() : QFont(QStringLiteral("Courier New"), 10);
  const int points = PointsOf(font);
  QFont printFont(font.family(), points);
  const std::vector<Page> pages = PrintPagesOf(windowTitle().toStdString(), font.family().toStdString(),
                                               points, CurrentLocaleInfo().format);
  PrintThroughHandler(this, pages, windowTitle(), printFont);
}

std::string CalcWindow::CopyTextOf(const std::string& caption, const LocaleFormat& loc) const {
  return CopyText(caption, Rows(), loc);
}

std::vector<Page> CalcWindow::PrintPagesOf(const std::string& caption, const std::string& fontName,
                                           int points, const LocaleFormat& loc) const {
  return CalculatorPage(caption, PrintLines(Rows(), loc), fontName, points);
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
