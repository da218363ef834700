// Base of every calculator window: a fixed-size, non-modal dialog with the
// seven common buttons (Calc, Close, Help, Print, Copy, Reset, Undo), their
// help contexts, F1, saved positions, the locale money mask, and the
// transfer between the window's controls and its kind's record. A kind's
// window only adds its rows (label, field, help context, bound record
// field) and supplies its calculation, reset, rows of Copy and Print and
// help topic.
#pragma once
#include <QFont>
#include <functional>
#include <memory>
#include <vector>

#include "calculators/calc_record.h"
#include "calculators/kinds.h"
#include "components/busy_cursor.h"
#include "components/help_keys.h"
#include "components/messages.h"
#include "components/page_painter.h"
#include "components/transfer.h"
#include "components/window_base.h"
#include "finance/outcome.h"
#include "finance/page_layout.h"

class QComboBox;
class QGridLayout;
class QLabel;
class QLayout;
class QPushButton;
class QVBoxLayout;

namespace brevika {

class AppServices;
class MoneyField;
class RateField;
class CountField;
class DateField;

class CalcWindow : public WindowBase {
  Q_OBJECT
 public:
  // Caption is the kind's title, a blank and the slot ("Loan Calculator 1").
  CalcWindow(CalcKind kind, int slot, AppServices* services, QWidget* parent = nullptr);
  ~CalcWindow() override;

  CalcKind kind() const { return kind_; }
  int slot() const { return slot_; }

  struct ButtonHelp {
    int calc = 21, close = 0, help = 24, print = 26, copy = 30, reset = 19, undo = 28;
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
  // Calculates on the record.
  virtual Outcome Calculate() = 0;
  // Entry values of the record back to the kind's defaults (Reset).
  virtual void ResetRecord() = 0;
  // Rows of Copy and Print, from the record.
  virtual std::vector<CalcRow> Rows() const = 0;
  virtual int WindowHelpTopic() const = 0;
  // Clipboard text and print pages from the record; by default the rows
  // in the common copy and print layouts.
  virtual std::string CopyTextOf(const std::string& caption, const LocaleFormat& loc) const;
  virtual std::vector<Page> PrintPagesOf(const std::string& caption, const std::string& fontName,
                                         int points, const LocaleFormat& loc) const;
  // Undo moves the record into the controls; a kind whose Undo does
  // nothing says so.
  virtual bool UndoMovesRecord() const { return true; }

  void ControlsToRecord();
  void RecordToControls();

  // Rows of the window, top to bottom: a label bound to its caption and a
  // field bound to its record value, with the field's help context. Money
  // fields take the locale money mask. Rows go into the current grid.
  MoneyField* AddMoney(const char* name, std::string& caption, double& value, int help);
  // A display-only result: bold on the window's colour, no focus, help 0.
  MoneyField* AddResult(const char* name, std::string& caption, double& value);
  RateField* AddRate(const char* name, std::string& caption, float& value, int help);
  CountField* AddCount(const char* name, std::string& caption, std::int16_t& value, int help);
  DateField* AddDate(const char* name, std::string& caption, Date& value, int help);
  QComboBox* AddList(const char* name, std::string& caption, ListEntry& entry, int help);
  // A field of the kind's own making, bound by the caller. `cell`, when
  // given, is what stands in the grid (the field with its companions).
  QLabel* AddRow(const char* name, std::string& caption, QWidget* field, int help,
                 QWidget* cell = nullptr);
  // A sunken rule across the grid.
  void AddRule();
  // A line of text under the grid (the hint), bound to its caption.
  QLabel* AddHint(const char* name, std::string& caption);
  // Rows added from now on go into this grid (a kind with pages or panels).
  void SetRowGrid(QGridLayout* grid);
  QVBoxLayout* body() const { return body_; }
  void SetButtonHelp(const ButtonHelp& help);
  // Width every entry field gets.
  int FieldWidth() const { return fieldWidth_; }
  // Call once at the end of the kind's constructor: tab order, first transfer.
  void FinishRows();

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
  QLabel* MakeLabel(const char* name, std::string& caption, QWidget* buddy);
  void PlaceRow(QLabel* label, QWidget* field);
  CalcKind kind_;
  int slot_;
  bool closed_ = false;
  QVBoxLayout* body_;
  QGridLayout* grid_;
  int fieldWidth_;
};

// A calculator window over a record type R: the record belongs to the
// application and is shared by both windows of the kind; without one the
// window shows the kind's initial values and refuses to calculate.
template <class R>
class RecordWindow : public CalcWindow {
 public:
  template <class Init>
  RecordWindow(R* record, Init initial, CalcKind kind, int slot, AppServices* services,
               QWidget* parent)
      : CalcWindow(kind, slot, services, parent), record_(record) {
    if (!record_) fallback_ = std::make_unique<R>(initial());
  }

 protected:
  bool HasRecord() const override { return record_ != nullptr; }
  R& rec() { return record_ ? *record_ : *fallback_; }
  const R& rec() const { return record_ ? *record_ : *fallback_; }

 private:
  R* record_;
  std::unique_ptr<R> fallback_;
};

}  // namespace brevika
