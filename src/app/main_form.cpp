#include "app/main_form.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QFontDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScreen>
#include <QShortcut>
#include <QShowEvent>
#include <QStatusBar>
#include <QTimer>
#include <cmath>
#include <type_traits>

#include "amortization/amort_records.h"
#include "amortization/ui/amort_window.h"
#include "app/about_box.h"
#include "app/system_info.h"
#include "calculators/ui/calc_window.h"
#include "components/help_viewer.h"
#include "components/locale_info.h"
#include "components/screen_fit.h"
#include "components/tips.h"
#include "records/kind_registry.h"
#include "records/ui/loan_records_store.h"
// The window of each kind (KindWindowOf).
#include "amortization/ui/compare_window.h"
#include "calculators/ui/accel_window.h"
#include "calculators/ui/balloon_window.h"
#include "calculators/ui/intdue_window.h"
#include "calculators/ui/loan_window.h"
#include "calculators/ui/refi_window.h"
#include "calculators/ui/rembal_window.h"
#include "calculators/ui/til_window.h"

namespace brevika {

namespace {

// The client area under the menu bar: the window colour, or horizontal
// bands of pure blue, brightest at the top, when the coloured background
// was on at start-up.
class MainBackground : public QWidget {
 public:
  MainBackground(bool colored, QWidget* parent) : QWidget(parent), colored_(colored) {
    setObjectName(QStringLiteral("MainBackground"));
    if (colored_) setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    if (!colored_) return;
    // Direct colour: one band per intensity step.
    constexpr int kBands = 256;
    constexpr int kStep = 256 / kBands;
    QPainter p(this);
    const int h = height();
    for (int band = 0; band < kBands; ++band) {
      const int y0 = band * h / kBands;
      const int y1 = (band + 1) * h / kBands;
      if (y1 <= y0) continue;
      p.fillRect(0, y0, width(), y1 - y0, QColor(0, 0, 255 - band * kStep));
    }
  }

 private:
  bool colored_;
};

}  // namespace

QPoint ExitButtonPosition(QSize window, QSize button) {
  // Integer halves truncate toward zero; the top rounds half to even.
  const int left = window.width() / 2 - button.width() / 2;
  const int top = static_cast<int>(std::nearbyint(0.7 * window.height()));
  return {left, top};
}

QString DamagedPreferencesMessage(const QString& path, const QString& reason) {
  return QStringLiteral("The preferences could not be read from\n\n%1\n\nbecause %2.\n\n"
                        "The file is left as it is; option changes\nlast until the program ends.\n")
      .arg(path, reason);
}

QFont InitialPrinterFont() {
  const QString family = QFontDatabase::hasFamily(QStringLiteral("Liberation Mono"))
                             ? QStringLiteral("Liberation Mono")
                             : QStringLiteral("Courier New");
  QFont font(family, 10);
  font.setStyleHint(QFont::TypeWriter);
  return font;
}

TMainForm::TMainForm(const QString& preferencesDir, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  struct RestoreCursor {
    ~RestoreCursor() { QApplication::restoreOverrideCursor(); }
  } restoreCursor;

  setObjectName(QStringLiteral("TMainForm"));
  setWindowTitle(QString::fromLatin1(kMainCaption));
  setFixedSize(kMainWidth, kMainHeight);

  printerFont_ = InitialPrinterFont();

  prefs_ = std::make_unique<Preferences>(preferencesDir);
  showHints_ = prefs_->ReadBool(kPreferencesSection, kShowHintsKey);
  savePositions_ = prefs_->ReadBool(kPreferencesSection, kSavePositionsKey);
  colorBackground_ = prefs_->ReadBool(kPreferencesSection, kColorBackgroundKey);

  // The money masks follow the locale read once here.
  CurrentLocaleInfo();

  auto* background = new MainBackground(colorBackground_, this);
  setCentralWidget(background);

  exitBTN_ = new QPushButton(QStringLiteral("E&xit"), background);
  exitBTN_->setObjectName(QStringLiteral("ExitBTN"));
  exitBTN_->setFixedSize(150, 44);
  QFont big = exitBTN_->font();
  big.setPointSize(big.pointSize() + 4);
  big.setBold(true);
  exitBTN_->setFont(big);
  connect(exitBTN_, &QPushButton::clicked, this, &QWidget::close);

  mainStatus_ = new QLabel(QString::fromUtf8(kStatusNotice), this);
  mainStatus_->setObjectName(QStringLiteral("MainStatus"));
  mainStatus_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  mainStatus_->setContentsMargins(4, 0, 4, 0);
  statusBar()->setSizeGripEnabled(false);
  statusBar()->addWidget(mainStatus_, 1);

  BuildMenus();
  slots_ = std::make_unique<CalcWindowSlots>(windowsMenu_);
  // Each kind's windows, on the record its first window makes; a second
  // window of a kind opens offset from the first.
  ForEachKind([this](const auto& kind) {
    slots_->SetFactory(kind.info, [this, &kind](int slot) -> CalcWindow* {
      auto* record = slots_->records().Get(kind, WindowKindContext());
      if (!record) QApplication::beep();
      using Window = typename KindWindowOf<std::remove_pointer_t<decltype(record)>>::type;
      // Owned by the main window: its own window, kept above the main one.
      CalcWindow* window = new Window(record, slot, this, this);
      PlaceBesideSibling(kind.info.kind, slot, window);
      return window;
    });
  });
  for (int k = 0; k < kCalcKindCount; ++k)
    if (kindActions_[k]) kindActions_[k]->setEnabled(slots_->CanOpen(static_cast<CalcKind>(k)));

  auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
  f1->setContext(Qt::WindowShortcut);
  connect(f1, &QShortcut::activated, this, [this] { ShowHelp(kMainWindowHelp); });

  ApplyHint();
  PlaceExitButton();
}

TMainForm::~TMainForm() {
  // Windows first, then the records they point at.
  slots_.reset();
  if (tips_) delete tips_.data();
}

void TMainForm::BuildMenus() {
  auto add = [this](QMenu* menu, const char* name, const QString& caption, auto handler,
                    QKeySequence shortcut = {}) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty()) a->setShortcut(shortcut);
    connect(a, &QAction::triggered, this, handler);
    return a;
  };

  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  file->setObjectName(QStringLiteral("File1"));
  add(file, "Exit1", QStringLiteral("E&xit"), &QWidget::close);

  QMenu* calculators = menuBar()->addMenu(QStringLiteral("&Calculators"));
  calculators->setObjectName(QStringLiteral("Calculators1"));
  QMenu* schedules = menuBar()->addMenu(QStringLiteral("&Schedules"));
  schedules->setObjectName(QStringLiteral("Schedules1"));
  add(schedules, "AmortClick", QStringLiteral("&Amortization..."), &TMainForm::AmortClick,
      QKeySequence(Qt::CTRL | Qt::Key_A));
  QMenu* advisors = menuBar()->addMenu(QStringLiteral("&Advisors"));
  advisors->setObjectName(QStringLiteral("Advisors1"));

  ForEachKind([&](const auto& description) {
    const KindInfo& info = description.info;
    const CalcKind kind = info.kind;
    QMenu* menu = info.menu.menu == KindMenu::Advisors ? advisors : calculators;
    QAction* action = add(menu, info.menu.name, QString::fromLatin1(info.menu.caption),
                          [this, kind] { OpenCalculator(kind); },
                          QKeySequence(QString::fromLatin1(info.menu.shortcut)));
    kindActions_[static_cast<std::size_t>(kind)] = action;
  });

  QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
  options->setObjectName(QStringLiteral("Options1"));
  showHints1_ = add(options, "ShowHints1", QStringLiteral("&Show Hints"), &TMainForm::ShowHints1Click);
  savePositions1_ =
      add(options, "SavePositions1", QStringLiteral("Save &Positions"), &TMainForm::SavePositions1Click);
  colorBckgrnd1_ =
      add(options, "ColorBckgrnd1", QStringLiteral("&Color Bckgrnd"), &TMainForm::ColorBckgrnd1Click);
  for (QAction* a : {showHints1_, savePositions1_, colorBckgrnd1_}) a->setCheckable(true);
  showHints1_->setChecked(showHints_);
  savePositions1_->setChecked(savePositions_);
  colorBckgrnd1_->setChecked(colorBackground_);
  add(options, "PrinterFonts1", QStringLiteral("P&rinter Fonts..."), &TMainForm::PrinterFonts1Click);

  windowsMenu_ = menuBar()->addMenu(QStringLiteral("&Windows"));
  windowsMenu_->setObjectName(QStringLiteral("W1"));
  // An empty popup shown once is never mapped again by some window
  // managers: the menu is only enabled while it lists a window.
  windowsMenu_->installEventFilter(this);
  UpdateWindowsMenu();

  QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
  help->setObjectName(QStringLiteral("Help1"));
  add(help, "Contents1", QStringLiteral("&Contents"), &TMainForm::Contents1Click);
  add(help, "TopicSearch1", QStringLiteral("&Topic Search"), &TMainForm::TopicSearch1Click);
  add(help, "HelponHelp1", QStringLiteral("&Help on Help"), &TMainForm::HelponHelp1Click);
  help->addSeparator();
  add(help, "Tips1", QStringLiteral("T&ips..."), &TMainForm::Tips1Click);
  add(help, "About1", QStringLiteral("&About..."), &TMainForm::About1Click);
}

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (event->spontaneous()) return;
  if (QScreen* s = screen()) screenHeight_ = s->geometry().height();
  if (firstShow_ && savePositions_) RestorePosition(this);
  ApplyHint();
  PlaceExitButton();
  if (firstShow_) {
    firstShow_ = false;
    QTimer::singleShot(kTipsFallbackMs, this, &TMainForm::FirstActivation);
  }
}

bool TMainForm::event(QEvent* event) {
  // Activated, the window has its place on the screen: the tips can be
  // centred over it.
  if (event->type() == QEvent::WindowActivate && firstActivation_ && !firstShow_)
    QMetaObject::invokeMethod(this, &TMainForm::FirstActivation, Qt::QueuedConnection);
  return QMainWindow::event(event);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == windowsMenu_ &&
      (event->type() == QEvent::ActionAdded || event->type() == QEvent::ActionRemoved))
    UpdateWindowsMenu();
  return QMainWindow::eventFilter(watched, event);
}

void TMainForm::UpdateWindowsMenu() {
  windowsMenu_->menuAction()->setEnabled(!windowsMenu_->actions().isEmpty());
}

void TMainForm::FirstActivation() {
  if (!firstActivation_ || !isVisible()) return;
  firstActivation_ = false;
  ShowDamageNotice();
  // The tips of every start.
  ShowTips();
}

void TMainForm::closeEvent(QCloseEvent* event) {
  if (savePositions_) SavePosition(this);
  slots_->CloseAll();
  if (tips_) tips_->close();
  HelpViewer::Shared()->close();
  event->accept();
  emit closed();
}

void TMainForm::ApplyHint() {
  exitBTN_->setToolTip(showHints_ ? QString::fromLatin1(kExitHint) : QString());
}

void TMainForm::PlaceExitButton() {
  exitBTN_->move(ExitButtonPosition(size(), exitBTN_->size()));
}

void TMainForm::OpenCalculator(CalcKind kind) { slots_->Open(kind); }

void TMainForm::AmortClick() {
  // The schedule window and its options dialog live only while shown; the
  // records they work on are kept here for the whole run.
  // Save and Load go through the loan records of the services' folder.
  LoanRecordsStore store(this);
  OpenAmortizationSchedule(this, &amortInputs(), &amortOptions(), this, &store,
                           [this](QWidget* over, const TilRecord& loan) { return OpenTruthInLending(over, loan); });
}

bool TMainForm::OpenTruthInLending(QWidget* over, const TilRecord& loan) {
  TilRecord* rec = slots_->records().Get(TilKind(), WindowKindContext());
  if (!rec || !slots_->CanOpen(CalcKind::TruthInLending)) {
    QApplication::beep();
    return false;
  }
  ResetTil(*rec);
  rec->Advances = loan.Advances;
  rec->Payments = loan.Payments;
  if (slots_->Open(CalcKind::TruthInLending, over)) return true;
  if (!slots_->InUse(CalcKind::TruthInLending, 1)) return false;
  slots_->ShowInFront(CalcKind::TruthInLending, 1, over);
  return true;
}

AmortInputs& TMainForm::amortInputs() {
  if (!amortInputs_) amortInputs_ = std::make_unique<AmortInputs>(NewAmortInputs(TodayDate()));
  return *amortInputs_;
}

AmortOptValues& TMainForm::amortOptions() {
  if (!amortOptions_) amortOptions_ = std::make_unique<AmortOptValues>();
  return *amortOptions_;
}

void TMainForm::WriteOption(const char* key, bool value) {
  Report(prefs_->WriteBool(kPreferencesSection, key, value));
}

void TMainForm::Report(Preferences::WriteResult result) {
  if (result == Preferences::WriteResult::Kept) ShowDamageNotice();
  if (result != Preferences::WriteResult::Failed || writeFailureShown_) return;
  writeFailureShown_ = true;
  ShowMessage(this, Message{QString::fromLatin1(kWriteFailedMessage).arg(prefs_->filePath()).toStdString(),
                            BoxType::Warning});
}

void TMainForm::ShowDamageNotice() {
  if (damageNoticeShown_ || !prefs_->damaged()) return;
  damageNoticeShown_ = true;
  ShowMessage(this, Message{DamagedPreferencesMessage(prefs_->filePath(), prefs_->damageReason()).toStdString(),
                            BoxType::Warning});
}

void TMainForm::ShowHints1Click() {
  showHints_ = showHints1_->isChecked();
  WriteOption(kShowHintsKey, showHints_);
  ApplyHint();
}

void TMainForm::SavePositions1Click() {
  savePositions_ = savePositions1_->isChecked();
  WriteOption(kSavePositionsKey, savePositions_);
}

void TMainForm::ColorBckgrnd1Click() {
  // Painted from the next start; the running window keeps its background.
  WriteOption(kColorBackgroundKey, colorBckgrnd1_->isChecked());
  ShowMessage(this, Message{kRestartMessage, BoxType::Information});
}

void TMainForm::PrinterFonts1Click() {
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, printerFont_, this, QStringLiteral("Printer Fonts"));
  if (ok) printerFont_ = font;
}

// Positions are those of the window's client area (geometry), saved and
// restored alike: the frame is not known before a window is mapped, so a
// frame position restored as a client position would creep by the frame's
// size at every cycle.
void TMainForm::SavePosition(QWidget* window) {
  if (!window || window->windowTitle().isEmpty()) return;
  Report(prefs_->WritePosition(window->windowTitle(), window->geometry().topLeft()));
}

void TMainForm::RestorePosition(QWidget* window) {
  if (!window) return;
  const std::optional<QPoint> pos =
      prefs_->ReadPosition(window->windowTitle(), window->geometry().topLeft());
  if (!pos) return;
  // Saved on a screen that is gone, larger, or at another scale: the
  // window comes back onto the nearest screen, whole where it fits.
  window->setGeometry(QRect(FittedPosition(window, *pos, this), window->size()));
}

void TMainForm::PlaceBesideSibling(CalcKind kind, int slot, QWidget* window) const {
  // Without a saved position both windows of a kind would open centred
  // over the main window, one hiding the other: the new one goes down and
  // to the right of the open one (up and to the left near the screen's
  // edge). Client-area places, as for saved positions: the new window's
  // frame is not known yet.
  for (int other = 1; other <= slots_->SlotCount(kind); ++other) {
    if (other == slot || !slots_->InUse(kind, other)) continue;
    const QWidget* sibling = slots_->Window(kind, other);
    if (!sibling || !sibling->isVisible()) continue;
    const QRect client = sibling->geometry();
    const QRect frame = sibling->frameGeometry();
    const QSize size = window->sizeHint().expandedTo(window->minimumSize());
    // Frame parts beyond the client area, taken to be the sibling's.
    const int right = frame.right() - client.right(), bottom = frame.bottom() - client.bottom();
    const int left = client.left() - frame.left(), top = client.top() - frame.top();
    const QRect avail = sibling->screen() ? sibling->screen()->availableGeometry() : QRect();
    QPoint at = client.topLeft() + QPoint(kSiblingOffset, kSiblingOffset);
    if (avail.isValid()) {
      if (at.x() + size.width() + right > avail.right()) at.rx() = client.x() - kSiblingOffset;
      if (at.y() + size.height() + bottom > avail.bottom()) at.ry() = client.y() - kSiblingOffset;
      at.rx() = std::max(at.x(), avail.left() + left);
      at.ry() = std::max(at.y(), avail.top() + top);
    }
    window->setGeometry(QRect(at, size));
    return;
  }
}

void TMainForm::ShowHelp(int context) { HelpViewer::Shared()->ShowTopic(context); }

void TMainForm::Contents1Click() { ShowHelp(kHelpContents); }
void TMainForm::TopicSearch1Click() { HelpViewer::Shared()->ShowSearch(QString()); }
void TMainForm::HelponHelp1Click() { ShowHelp(kHelpOnHelp); }
void TMainForm::Tips1Click() { ShowTips(); }

void TMainForm::ShowTips() {
  if (tips_) {
    tips_->raise();
    tips_->activateWindow();
    return;
  }
  if (tipsShown_ == 0) nextTip_ = static_cast<int>(QRandomGenerator::global()->bounded(static_cast<int>(TipTexts().size())));
  tips_ = new TTipDialog(this, nextTip_, this);
  tips_->setAttribute(Qt::WA_DeleteOnClose);
  connect(tips_, &QDialog::finished, this, [this] {
    if (tips_) nextTip_ = tips_->tipIndex() + 1;
  });
  ++tipsShown_;
  tips_->open();
}

TTipDialog* TMainForm::tipDialog() const { return tips_.data(); }

void TMainForm::About1Click() {
  auto* about = new TAboutBox(ReadSystemInfo(), this);
  about->setAttribute(Qt::WA_DeleteOnClose);
  about->open();
}

}  // namespace brevika
