// The window of a calculator kind over its record type R: the rows come
// from the kind's description, the record belongs to the application and is
// shared by the kind's windows; without one the window shows the kind's
// initial values and refuses to calculate. A kind's window class adds only
// what is special about it.
#pragma once
#include <memory>
#include <variant>

#include "calculators/kind.h"
#include "calculators/ui/calc_window.h"
#include "components/masked_fields.h"

namespace brevika {

// The window class of a kind's record type, for the main window's slots:
// each kind's window header gives `template <> struct KindWindowOf<R>`.
template <class R>
struct KindWindowOf;

template <class R>
class KindWindow : public CalcWindow {
 public:
  KindWindow(const KindDescription<R>& kind, R* record, int slot, AppServices* services,
             QWidget* parent)
      : CalcWindow(kind.info, slot, services, parent), kind_(kind), record_(record) {
    if (!record_) fallback_ = std::make_unique<R>(kind.make(WindowKindContext()));
  }

  const KindDescription<R>& description() const { return kind_; }

 protected:
  // The description's fields as rows (framed groups, a rule where a field
  // asks for one, the hint last; a kind with a verdict on an entry page and
  // the verdict on a results page), then FinishRows().
  void Build() {
    BuildFields();
    FinishRows();
  }
  void BuildFields();

  bool HasRecord() const override { return record_ != nullptr; }
  R& rec() { return record_ ? *record_ : *fallback_; }
  const R& rec() const { return record_ ? *record_ : *fallback_; }
  Outcome Calculate() override {
    Outcome outcome = kind_.calc(rec(), WindowKindContext());
    if (kind_.memo && outcome.ok()) ShowResultsPage();
    return outcome;
  }
  void ResetRecord() override { kind_.reset(rec(), WindowKindContext()); }
  bool UndoMovesRecord() const override { return kind_.undoMovesRecord; }
  std::string CopyTextOf(const std::string& caption, const LocaleFormat& loc) const override {
    if (kind_.copyText) return kind_.copyText(caption, rec(), loc);
    return CopyText(caption, KindRows(kind_, rec()), loc);
  }
  std::vector<Page> PrintPagesOf(const std::string& caption, const std::string& fontName, int points,
                                 const LocaleFormat& loc) const override {
    if (kind_.printPages) return kind_.printPages(caption, rec(), fontName, points, loc);
    return CalculatorPage(caption, PrintLines(KindRows(kind_, rec()), loc), fontName, points);
  }

 private:
  void AddField(const KindField<R>& f, std::string& caption, double& value) {
    if (f.result) AddResult(f.name, caption, value);
    else AddMoney(f.name, caption, value, f.help);
  }
  void AddField(const KindField<R>& f, std::string& caption, float& value) {
    RateField* field = AddRate(f.name, caption, value, f.help);
    if (f.decimals) field->SetDecimals(f.decimals);
    if (f.result) ShowAsResult(field);
  }
  void AddField(const KindField<R>& f, std::string& caption, std::int16_t& value) {
    CountField* field = AddCount(f.name, caption, value, f.help);
    if (f.result) ShowAsResult(field);
  }
  void AddField(const KindField<R>& f, std::string& caption, Date& value) {
    if (!f.weekday) {
      AddDate(f.name, caption, value, f.help);
      return;
    }
    // The weekday box is the field that holds the date's weekday text.
    for (const KindField<R>& day : kind_.fields) {
      auto text = std::get_if<std::string R::*>(&day.value);
      if (text && *text == f.weekday) {
        AddDateRow(f.name, caption, value, f.help, rec().*f.weekday, day.name, day.help, f.spinName);
        return;
      }
    }
  }
  void AddField(const KindField<R>& f, std::string& caption, ListEntry& value) {
    AddList(f.name, caption, value, f.help);
  }
  // A text of the record (a weekday) stands beside its date.
  void AddField(const KindField<R>&, std::string&, std::string&) {}

  const KindDescription<R>& kind_;
  R* record_;
  std::unique_ptr<R> fallback_;
};

template <class R>
void KindWindow<R>::BuildFields() {
  R& r = rec();
  std::string none;
  if (kind_.memo) BeginEntryPage();
  for (const KindField<R>& f : kind_.fields) {
    if (f.groupStart) BeginGroup(f.groupHeading ? &(r.*f.groupHeading) : nullptr, f.groupName);
    if (f.ruleBefore) AddRule();
    std::string& caption = f.caption ? r.*f.caption : none;
    std::visit([&](auto member) { AddField(f, caption, r.*member); }, f.value);
  }
  if (kind_.hint) AddHint("Hint", r.*kind_.hint);
  if (kind_.memo) AddResultsPage(r.*kind_.memo, kind_.memoColumns);
}

}  // namespace brevika
