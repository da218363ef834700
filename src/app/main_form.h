// The main window: a fixed-size window with the menus, the large Exit button
// and the status line. It owns what lives for the whole run: the
// preferences file, the printer font, the calculator slot bookkeeping with
// the transfer records, and the records of the schedule window.
#pragma once
#include <QFont>
#include <QMainWindow>
#include <QPointer>
#include <memory>

#include "app/calc_window_slots.h"
#include "app/preferences.h"
#include "components/app_services.h"

class QAction;
class QMenu;
class QPushButton;
class QLabel;

namespace brevika {

struct AmortInputs;
struct AmortOptValues;
struct TilRecord;
class TTipDialog;

inline constexpr int kMainWidth = 612;
inline constexpr int kMainHeight = 458;
inline constexpr char kMainCaption[] = "Brevika";
inline constexpr char kExitHint[] = "We're outta here! [AltX]";
inline constexpr char kRestartMessage[] =
    "You must restart the program\n\nfor this change to take affect.\n";
// Shown once per run when the preferences file cannot be read.
QString DamagedPreferencesMessage(const QString& path, const QString& reason);
inline constexpr char kWriteFailedMessage[] = "The preferences could not be saved in\n\n%1\n";
// How far the second window of a kind opens from the first.
inline constexpr int kSiblingOffset = 32;
// The tips wait for the main window's first activation; a desktop that
// never activates it gets them after this time.
inline constexpr int kTipsFallbackMs = 1500;
inline constexpr char kStatusNotice[] =
    "Brevika 2.0  \u2022  Brevika Software  \u2022  Please tell a friend about this software.";
// Help topic of the main window itself (F1 there).
inline constexpr int kMainWindowHelp = 500;

// Where the Exit button goes in a window of the given size: centred, each
// half truncated, with its top at 0.7 of the window height, rounded.
QPoint ExitButtonPosition(QSize window, QSize button);

// Initial printer font: "Liberation Mono" where installed, else
// "Courier New", 10 points.
QFont InitialPrinterFont();

class TMainForm : public QMainWindow, public AppServices {
  Q_OBJECT
 public:
  // Reads and writes its preferences in `preferencesDir`.
  explicit TMainForm(const QString& preferencesDir = DefaultPreferencesDirectory(),
                     QWidget* parent = nullptr);
  ~TMainForm() override;

  // AppServices
  void ShowHelp(int context) override;
  bool ShowHints() const override { return showHints_; }
  bool SavePositions() const override { return savePositions_; }
  void SavePosition(QWidget* window) override;
  void RestorePosition(QWidget* window) override;
  QFont PrinterFont() const override { return printerFont_; }

  void SetPrinterFont(const QFont& font) { printerFont_ = font; }
  // The coloured background as read at start-up (it changes only at a restart).
  bool ColorBackground() const { return colorBackground_; }

  CalcWindowSlots& windowSlots() { return *slots_; }
  Preferences& preferences() { return *prefs_; }
  QMenu* windowsMenu() const { return windowsMenu_; }
  QPushButton* exitButton() const { return exitBTN_; }
  QAction* kindAction(CalcKind kind) const { return kindActions_[static_cast<std::size_t>(kind)]; }
  // Times the tips dialog has been shown, and the one showing (if any).
  int tipsShown() const { return tipsShown_; }
  TTipDialog* tipDialog() const;

  // Stored values of the schedule window and its options dialog, made by
  // the first window that asks and kept until the program ends.
  AmortInputs& amortInputs();
  AmortOptValues& amortOptions();

 signals:
  // The main window closed: the program ends.
  void closed();

 public slots:
  void OpenCalculator(brevika::CalcKind kind);
  // Opens the amortization schedule window modally.
  void AmortClick();
  // The schedule window's "Truth in &Lending...": the loan's advances and
  // payments in the calculator's record, shown in its first free window
  // (the first window when both are open), usable in front of `over`.
  bool OpenTruthInLending(QWidget* over, const brevika::TilRecord& loan);
  void ShowHints1Click();
  void SavePositions1Click();
  void ColorBckgrnd1Click();
  void PrinterFonts1Click();
  void Contents1Click();
  void TopicSearch1Click();
  void HelponHelp1Click();
  void Tips1Click();
  void About1Click();

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void ApplyHint();
  void PlaceExitButton();
  void ShowTips();
  void FirstActivation();
  void WriteOption(const char* key, bool value);
  void Report(Preferences::WriteResult result);
  void ShowDamageNotice();
  void PlaceBesideSibling(CalcKind kind, int slot, QWidget* window) const;
  void UpdateWindowsMenu();

  std::unique_ptr<Preferences> prefs_;
  std::unique_ptr<CalcWindowSlots> slots_;
  std::unique_ptr<AmortInputs> amortInputs_;
  std::unique_ptr<AmortOptValues> amortOptions_;
  QFont printerFont_;
  bool showHints_ = false;
  bool savePositions_ = false;
  bool colorBackground_ = false;
  bool firstShow_ = true;
  bool firstActivation_ = true;
  bool writeFailureShown_ = false;
  bool damageNoticeShown_ = false;
  int screenHeight_ = 0;
  int tipsShown_ = 0;
  int nextTip_ = 0;
  QPointer<TTipDialog> tips_;

  QMenu* windowsMenu_ = nullptr;
  QAction* showHints1_ = nullptr;
  QAction* savePositions1_ = nullptr;
  QAction* colorBckgrnd1_ = nullptr;
  std::array<QAction*, kCalcKindCount> kindActions_{};
  QPushButton* exitBTN_ = nullptr;
  QLabel* mainStatus_ = nullptr;
};

}  // namespace brevika
