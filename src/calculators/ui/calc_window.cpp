#include "calculators/ui/calc_window.h"

#include <QApplication>
#include <QBoxLayout>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QShowEvent>
#include <cmath>
#include <exception>

#include "components/app_services.h"
#include "components/locale_info.h"
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
  QMessageBox box(icon, caption, QString::fromStdString(message.text), QMessageBox::Ok, parent);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

void SetMessageHandler(MessageHandler handler) { CurrentMessageHandler() = std::move(handler); }
void SetPrintHandler(PrintHandler handler) { CurrentPrintHandler() = std::move(handler); }

CalcWindow::CalcWindow(const QString& captionBase, int slot, AppServices* services,
                       QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      captionBase_(captionBase), slot_(slot), services_(services) {
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  setSizeGripEnabled(false);
  setWindowTitle(captionBase_ + QLatin1Char(' ') + QString::number(slot_));

  CalcBTN = MakeButton("CalcBTN", QStringLiteral("&Calc"), &CalcWindow::CalcBTNClick);
  CloseBTN = MakeButton("CloseBTN", QStringLiteral("Close"), &CalcWindow::CloseBTNClick);
  HelpBTN = MakeButton("HelpBTN", QStringLiteral("&Help"), &CalcWindow::HelpBTNClick);
  PrintBTN = MakeButton("PrintBTN", QStringLiteral("&Print"), &CalcWindow::PrintBTNClick);
  CopyBTN = MakeButton("CopyBTN", QStringLiteral("Cop&y"), &CalcWindow::CopyBTNClick);
  ResetBTN = MakeButton("ResetBTN", QStringLiteral("R&eset"), &CalcWindow::ResetBTNClick);
  UndoBTN = MakeButton("UndoBTN", QStringLiteral("&Undo"), &CalcWindow::UndoBTNClick);
  // Enter in a field calculates.
  CalcBTN->setDefault(true);

  auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
  f1->setContext(Qt::WindowShortcut);
  connect(f1, &QShortcut::activated, this, &CalcWindow::ShowFocusedHelp);
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

void CalcWindow::InstallBody(QLayout* body) {
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
  outer->addLayout(body, 1);
  outer->addLayout(buttons);
  outer->setSizeConstraint(QLayout::SetFixedSize);
}

void CalcWindow::SetTabOrder(const std::vector<QWidget*>& controls) {
  std::vector<QWidget*> chain = controls;
  for (QPushButton* b : {CalcBTN, CloseBTN, HelpBTN, PrintBTN, CopyBTN, ResetBTN, UndoBTN})
    chain.push_back(b);
  for (std::size_t k = 1; k < chain.size(); ++k) setTabOrder(chain[k - 1], chain[k]);
  if (!controls.empty()) controls.front()->setFocus(Qt::OtherFocusReason);
}

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
  std::optional<Message> message;
  try {
    BusyCursor busy;
    message = Calculate();
  } catch (const std::exception& ex) {
    // The fields keep what they showed before Calc.
    ShowMessage(this, Message{ex.what(), BoxType::Error});
    return;
  }
  RecordToControls();
  if (message) ShowMessage(this, *message);
}

void CalcWindow::CloseBTNClick() { close(); }

void CalcWindow::HelpBTNClick() {
  if (services_) services_->ShowHelp(WindowHelpTopic());
}

void CalcWindow::ShowFocusedHelp() {
  if (!services_) return;
  const int context = HelpContextOf(focusWidget());
  services_->ShowHelp(context >= 0 ? context : WindowHelpTopic());
}

void CalcWindow::PrintBTNClick() {
  if (!HasRecord()) return;
  ControlsToRecord();
  const QFont font = services_ ? services_->PrinterFont() : QFont(QStringLiteral("Courier New"), 10);
  const int points = PointsOf(font);
  QFont printFont(font.family(), points);
  const std::vector<Page> pages =
      CalculatorPage(windowTitle().toStdString(), PrintLines(Rows(), CurrentLocaleInfo().format),
                     font.family().toStdString(), points);
  if (CurrentPrintHandler()) CurrentPrintHandler()(this, pages, windowTitle(), printFont);
  else PrintPages(this, pages, windowTitle(), printFont);
}

void CalcWindow::CopyBTNClick() {
  if (!HasRecord()) return;
  ControlsToRecord();
  const std::string text =
      CopyText(windowTitle().toStdString(), Rows(), CurrentLocaleInfo().format);
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
  if (!HasRecord()) return;
  RecordToControls();
}

}  // namespace brevika
