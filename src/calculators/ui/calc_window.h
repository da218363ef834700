// Base of every calculator window: a fixed-size, non-modal dialog with the
// seven common buttons (Calc, Close, Help, Print, Copy, Reset, Undo), help
// contexts with F1, saved positions, and the moves between the window's
// controls and its kind's transfer record. Subclasses supply the controls,
// the record transfers, the calculation and the rows of Copy and Print.
#pragma once
#include <QDialog>
#include <QFont>
#include <functional>
#include <optional>
#include <vector>

#include "calculators/calc_record.h"
#include "finance/page_layout.h"

class QBoxLayout;
class QLayout;
class QPushButton;

namespace brevika {

class AppServices;

// Busy (wait) cursor for the lifetime of the object, however the scope ends.
class BusyCursor {
 public:
  BusyCursor();
  ~BusyCursor();
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

// Help context of a control (0 = help contents), kept as the dynamic
// property "helpContext".
void SetHelpContext(QWidget* widget, int context);
// The context of the widget or of its nearest ancestor that has one; -1 if none.
int HelpContextOf(const QWidget* widget);

// Shows a calculator message modally: a warning box captioned "Warning"
// (or "Error", "Information") with an OK button.
void ShowMessage(QWidget* parent, const Message& message);
// Tests replace the message box (an empty function restores it).
using MessageHandler = std::function<void(QWidget* parent, const Message& message)>;
void SetMessageHandler(MessageHandler handler);

// How a window's print pages reach the printer; by default the print dialog.
using PrintHandler = std::function<bool(QWidget* parent, const std::vector<Page>& pages,
                                        const QString& title, const QFont& font)>;
void SetPrintHandler(PrintHandler handler);

class CalcWindow : public QDialog {
  Q_OBJECT
 public:
  // Caption is captionBase + " " + slot ("Loan Calculator 1").
  CalcWindow(const QString& captionBase, int slot, AppServices* services,
             QWidget* parent = nullptr);
  ~CalcWindow() override;

  int slot() const { return slot_; }
  const QString& captionBase() const { return captionBase_; }
  AppServices* services() const { return services_; }

  struct ButtonHelp {
    int calc = 0, close = 0, help = 0, print = 0, copy = 0, reset = 0, undo = 0;
  };

 signals:
  // Emitted once when the window closes, before it is deleted.
  void windowClosed(int slot);

 public slots:
  void CalcBTNClick();
  void CloseBTNClick();
  void HelpBTNClick();
  void PrintBTNClick();
  void CopyBTNClick();
  void ResetBTNClick();
  void UndoBTNClick();
  // F1: help of the control with the focus (the window's topic if it has none).
  void ShowFocusedHelp();

 protected:
  // The record this window works on exists (when allocation failed it does not).
  virtual bool HasRecord() const = 0;
  virtual void ControlsToRecord() = 0;
  virtual void RecordToControls() = 0;
  // Calculates on the record; the refusal or remark to show, if any.
  virtual std::optional<Message> Calculate() = 0;
  // Entry values of the record back to the kind's defaults.
  virtual void ResetRecord() = 0;
  // Rows of Copy and Print, from the record.
  virtual std::vector<CalcRow> Rows() const = 0;
  virtual int WindowHelpTopic() const = 0;

  void SetButtonHelp(const ButtonHelp& help);
  // Lays out the window: `body` on the left, the button column on the right,
  // at a fixed size. Call once, after the controls exist.
  void InstallBody(QLayout* body);
  // Tab order: the given controls in order, then the buttons.
  void SetTabOrder(const std::vector<QWidget*>& controls);

  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  // Escape, accept() and reject() close the window like the Close button.
  void done(int result) override;

  QPushButton* CalcBTN;
  QPushButton* CloseBTN;
  QPushButton* HelpBTN;
  QPushButton* PrintBTN;
  QPushButton* CopyBTN;
  QPushButton* ResetBTN;
  QPushButton* UndoBTN;

 private:
  QPushButton* MakeButton(const char* name, const QString& caption, void (CalcWindow::*slot)());
  QString captionBase_;
  int slot_;
  AppServices* services_;
  bool closed_ = false;
};

}  // namespace brevika
