// Base of every calculator window: a fixed-size, non-modal dialog with the
// seven common buttons (Calc, Close, Help, Print, Copy, Reset, Undo), their
// help contexts, F1, saved positions, the locale money mask, and the
// transfer between the window's controls and its kind's record. What a kind
// is comes from its description (calculators/kind.h): KindWindow<R>
// (kind_window.h) builds the rows from it.
#pragma once
#include <QFont>
#include <memory>
#include <string>
#include <vector>

#include "calculators/calc_record.h"
#include "calculators/kind.h"
#include "components/busy_cursor.h"
#include "components/help_keys.h"
#include "components/messages.h"
#include "components/page_painter.h"
#include "components/window_base.h"
#include "finance/outcome.h"
#include "finance/page_layout.h"

class QComboBox;
class QGridLayout;
class QLabel;
class QLayout;
class QPushButton;
class QStackedWidget;
class QVBoxLayout;

namespace brevika {

class MoneyField;
class RateField;
class CountField;
class DateField;

// Today, the locale's weekday names and money format: where a window's
// kind makes, resets and calculates its record.
KindContext WindowKindContext();

class CalcWindow : public WindowBase {
  Q_OBJECT
 public:
  // Caption is the kind's title, a blank and the slot ("Loan Calculator 1").
  CalcWindow(const KindInfo& kind, int slot, AppServices* services, QWidget* parent = nullptr);
  ~CalcWindow() override;

  CalcKind kind() const { return info_.kind; }
  const KindInfo& info() const { return info_; }
  int slot() const { return slot_; }
  // The results page is shown (a kind with a verdict).
  bool showingResults() const;

 signals:
  // Emitted once when the window closes, before it is deleted.
  void windowClosed(int slot);

 public slots:
  // "&Data Entry": back to the entry page, nothing cleared.
  void BitBtn1Click();
  void CalcBTNClick();
  void CloseBTNClick();
  void HelpBTNClick();
  void PrintBTNClick();
  void CopyBTNClick();
  void ResetBTNClick();
  void UndoBTNClick();

 protected:
  // The record this window works on exists (when allocation failed it does not).
  virtual bool HasRecord() const = 0;
  // Calculates on the record.
  virtual Outcome Calculate() = 0;
  // Entry values of the record back to the kind's defaults (Reset).
  virtual void ResetRecord() = 0;
  // Clipboard text and print pages from the record.
  virtual std::string CopyTextOf(const std::string& caption, const LocaleFormat& loc) const = 0;
  virtual std::vector<Page> PrintPagesOf(const std::string& caption, const std::string& fontName,
                                         int points, const LocaleFormat& loc) const = 0;
  // Undo moves the record into the controls; a kind whose Undo does
  // nothing says so.
  virtual bool UndoMovesRecord() const = 0;
  // Where Print sends its pages: the print dialog; a kind may show a
  // preview instead.
  virtual bool SendPages(const std::vector<Page>& pages, const QString& title, const QFont& font);

  // Controls into the record, an edit not yet applied applied first
  // (FinishEditing); the record into the controls (then ControlsReloaded).
  void ControlsToRecord();
  void RecordToControls();
  // A kind that applies an edit when its field is left applies one still
  // pending; after the record was moved into the controls none is.
  virtual void FinishEditing() {}
  virtual void ControlsReloaded() {}

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
  // A date with its spin arrows and weekday box (components/date_row.h).
  DateField* AddDateRow(const char* name, std::string& caption, Date& value, int help,
                        std::string& weekday, const char* dayName, int dayHelp, const char* spinName);
  // A field of the kind's own making, bound by the caller. `cell`, when
  // given, is what stands in the grid (the field with its companions).
  QLabel* AddRow(const char* name, std::string& caption, QWidget* field, int help,
                 QWidget* cell = nullptr);
  // A sunken rule across the grid.
  void AddRule();
  // A line of text under the grid (the hint), bound to its caption.
  QLabel* AddHint(const char* name, std::string& caption);
  // Starts a framed group: a bold heading bound to its caption (none when
  // null), then the group's rows.
  void BeginGroup(std::string* heading, const char* name);
  // Pages: rows from now on go on the entry page ("DataEntry"); the
  // results page ("Results") shows the lines of a verdict, at most
  // `columns` characters each, and "&Data Entry" goes back.
  void BeginEntryPage();
  void AddResultsPage(std::vector<std::string>& lines, int columns);
  void ShowResultsPage();
  QVBoxLayout* body() const { return body_; }
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
  const KindInfo& info_;
  int slot_;
  bool closed_ = false;
  QVBoxLayout* body_;
  QGridLayout* grid_;
  QVBoxLayout* groups_ = nullptr;
  QStackedWidget* pages_ = nullptr;
  int fieldWidth_;
};

}  // namespace brevika
