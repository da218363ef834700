// One description per calculator kind: its title and slots, its menu item
// and shortcut, its help topics, its command on the command line, New,
// Reset and Calc, and its fields in control order (label, value, help,
// command-line option, JSON name, row of Copy and Print). The window builds
// its rows from it, the command line its options and JSON, and the main
// window its menu item and slots; the registry (records/kind_registry.h)
// lists every kind. No Qt.
#pragma once
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "calculators/calc_record.h"
#include "calculators/kinds.h"
#include "finance/format.h"
#include "finance/outcome.h"
#include "finance/page_layout.h"
#include "finance/periods.h"

namespace brevika {

// What New, Reset and Calc may need from where they run: today, the
// weekday names and money format of the user's locale.
struct KindContext {
  Date today = 0;
  WeekdayNames weekdays = EnglishWeekdayNames();
  LocaleFormat format = UsLocaleFormat();
};

// The main window's menu item of a kind.
enum class KindMenu { Calculators, Advisors };
struct KindMenuItem {
  const char* name = "";      // object name of the item ("mLoan")
  const char* caption = "";   // "&Loan..."
  const char* shortcut = "";  // portable key text ("F2", "Ctrl+R")
  KindMenu menu = KindMenu::Calculators;
};

// Help topics: the window's (Help button, F1 on a control without one)
// and the seven buttons'.
struct KindHelp {
  int window = 0;
  int calc = 21, close = 0, help = 24, print = 26, copy = 30, reset = 19, undo = 28;
};

// The kind's command of brevika-calc; none without a name.
struct KindCommand {
  const char* name = nullptr;    // "loan"
  const char* help = "";         // its line in the list of commands
  const char* footer = nullptr;  // under its options
  const char* json = "print the record as one JSON object";  // help of --json
};

// What does not depend on the record type.
struct KindInfo {
  CalcKind kind = CalcKind::Loan;
  const char* title = "";  // "Loan Calculator"; a window adds a blank and its slot
  int slotCount = 2;  // windows open at a time
  KindMenuItem menu;
  KindHelp help;
  KindCommand command;
};

// Caption of a slot's window: the title, a blank and the slot ("Loan Calculator 1").
std::string SlotCaption(const KindInfo& kind, int slot);

inline constexpr bool kRequired = true;

// A field of a kind's record: what the window, the command line, the JSON
// and Copy and Print make of it.
template <class R>
struct KindField {
  using Value = std::variant<double R::*, float R::*, std::int16_t R::*, Date R::*, ListEntry R::*,
                             std::string R::*>;
  const char* name = "";                // control and JSON name ("PV")
  std::string R::* caption = nullptr;   // its label's caption; none for a weekday
  Value value;
  int help = 0;                         // help context of the control
  bool result = false;                  // display only, bold
  int decimals = 0;                     // digits a rate field shows (0: four)
  bool ruleBefore = false;              // a sunken rule above it
  // The first field of a framed group: its heading (none: no heading) and name.
  bool groupStart = false;
  std::string R::* groupHeading = nullptr;
  const char* groupName = "";
  // A date's weekday text (shown beside the date, printed with it) and the
  // name of the date's spin arrows.
  std::string R::* weekday = nullptr;
  const char* spinName = "";
  // Copy and Print: the row's kind (Money, Rate, Count, Choice or Date by the
  // value when not given) and its decimals for a Number row.
  bool noRow = false;
  bool rowKindGiven = false;
  RowKind rowKind = RowKind::Money;
  int rowDecimals = 2;
  // Command line: the option, its help (a list's help names its items),
  // whether it must be given, and the JSON name (empty: not in the JSON).
  const char* option = nullptr;
  const char* optionHelp = "";
  bool required = false;
  const char* json = nullptr;  // nullptr: the field's name

  KindField& Help(int h) { help = h; return *this; }
  KindField& Result() { result = true; help = 0; return *this; }
  KindField& Decimals(int d) { decimals = d; return *this; }
  KindField& Rule() { ruleBefore = true; return *this; }
  KindField& Group(std::string R::* heading, const char* name) {
    groupStart = true;
    groupHeading = heading;
    groupName = name;
    return *this;
  }
  KindField& Weekday(std::string R::* text, const char* spin) {
    weekday = text;
    spinName = spin;
    return *this;
  }
  KindField& Row(RowKind kind, int decimalsOfNumber = 2) {
    rowKindGiven = true;
    rowKind = kind;
    rowDecimals = decimalsOfNumber;
    return *this;
  }
  KindField& NoRow() { noRow = true; return *this; }
  KindField& Option(const char* name, const char* helpText = "", bool mustGive = false) {
    option = name;
    optionHelp = helpText;
    required = mustGive;
    return *this;
  }
  KindField& Json(const char* name) { json = name; return *this; }
  const char* JsonName() const { return json ? json : name; }
};

// A field of a record: `Field("PV", &R::lPV, &R::PV, 1)`.
template <class R, class V>
KindField<R> Field(const char* name, std::string R::* caption, V R::* value, int help = 0) {
  KindField<R> f;
  f.name = name;
  f.caption = caption;
  f.value = value;
  f.help = help;
  return f;
}

template <class R>
struct KindDescription {
  KindInfo info;
  // New: the record with the kind's initial values; Reset: back to its
  // defaults (result fields keep what the kind says); Calc.
  R (*make)(const KindContext&) = nullptr;
  void (*reset)(R&, const KindContext&) = nullptr;
  Outcome (*calc)(R&, const KindContext&) = nullptr;
  // Undo moves the record into the controls; a kind whose Undo does
  // nothing says false.
  bool undoMovesRecord = true;
  std::vector<KindField<R>> fields;
  // A caption under the fields (the loan calculator's hint), none when null.
  std::string R::* hint = nullptr;
  // A verdict in lines of at most `memoColumns` characters: the window
  // shows it on a page of its own after a Calc that ran, the fields on the
  // entry page.
  std::vector<std::string> R::* memo = nullptr;
  int memoColumns = 0;
  // Orders of field names where Copy and Print, the JSON or the options
  // differ from the fields' order; empty: the fields' order.
  std::vector<const char*> rowOrder, jsonOrder, optionOrder;
  // A kind whose rows of Copy and Print are more than its fields' (rows of
  // a list the record holds) gives them all.
  std::vector<CalcRow> (*rows)(const R&) = nullptr;
  // A kind whose clipboard text or printout is not the common layout of
  // its rows gives its own.
  std::string (*copyText)(const std::string& caption, const R&, const LocaleFormat&) = nullptr;
  std::vector<Page> (*printPages)(const std::string& caption, const R&, const std::string& fontName,
                                  int points, const LocaleFormat&) = nullptr;

  const KindField<R>* Find(const char* name) const {
    for (const KindField<R>& f : fields)
      if (std::string(f.name) == name) return &f;
    return nullptr;
  }
  // The fields in an order of names (the fields' order when empty).
  std::vector<const KindField<R>*> Ordered(const std::vector<const char*>& order) const {
    std::vector<const KindField<R>*> out;
    if (order.empty())
      for (const KindField<R>& f : fields) out.push_back(&f);
    else
      for (const char* name : order)
        if (const KindField<R>* f = Find(name)) out.push_back(f);
    return out;
  }
};

// The row of a field for Copy and Print; false for a field without one.
template <class R>
bool FieldRow(const KindField<R>& f, const R& r, CalcRow& row) {
  if (f.noRow || !f.caption) return false;
  row = CalcRow{RowKind::Money, r.*f.caption};
  if (auto p = std::get_if<double R::*>(&f.value)) {
    row.kind = RowKind::Money;
    row.number = r.**p;
  } else if (auto p = std::get_if<float R::*>(&f.value)) {
    row.kind = RowKind::Rate;
    row.number = r.**p;
  } else if (auto p = std::get_if<std::int16_t R::*>(&f.value)) {
    row.kind = RowKind::Count;
    row.count = r.**p;
  } else if (auto p = std::get_if<Date R::*>(&f.value)) {
    row.kind = RowKind::Date;
    row.count = r.**p;
    if (f.weekday) row.text = r.*f.weekday;
  } else if (auto p = std::get_if<ListEntry R::*>(&f.value)) {
    row.kind = RowKind::Choice;
    row.text = (r.**p).SelectedText();
  } else {
    return false;
  }
  if (f.rowKindGiven) {
    row.kind = f.rowKind;
    row.decimals = f.rowDecimals;
  }
  return true;
}

// Rows of Copy and Print: the kind's own, else its fields' in its row order.
template <class R>
std::vector<CalcRow> KindRows(const KindDescription<R>& d, const R& r) {
  if (d.rows) return d.rows(r);
  std::vector<CalcRow> rows;
  CalcRow row;
  for (const KindField<R>* f : d.Ordered(d.rowOrder))
    if (FieldRow(*f, r, row)) rows.push_back(row);
  return rows;
}

// The rows of each framed group, in the fields' order.
template <class R>
std::vector<std::vector<CalcRow>> KindRowGroups(const KindDescription<R>& d, const R& r) {
  std::vector<std::vector<CalcRow>> groups;
  CalcRow row;
  for (const KindField<R>& f : d.fields) {
    if (f.groupStart || groups.empty()) groups.emplace_back();
    if (FieldRow(f, r, row)) groups.back().push_back(row);
  }
  return groups;
}

}  // namespace brevika
