#include "calculators/calc_record.h"

namespace brevika {

ListEntry ListEntry::Of(const ItemList& list, int index) {
  ListEntry e;
  e.items = list;
  e.Select(index);
  return e;
}

void ListEntry::Select(int i) {
  index = i;
  text = (i >= 0 && i < static_cast<int>(items.size())) ? items[i] : std::string();
}

const std::string& ListEntry::SelectedText() const { return text; }

std::string CopyText(const std::string& windowCaption, const std::vector<CalcRow>& rows,
                     const LocaleFormat& loc) {
  std::string out = windowCaption + "\r\n\r\n";
  for (const CalcRow& r : rows) {
    const std::string label = StripAccelerator(r.caption);
    switch (r.kind) {
      case RowKind::Money: out += Format("%-24s %16.2m\r\n", {label, r.number}, loc); break;
      case RowKind::Count: out += Format("%-24s %16d\r\n", {label, r.count}, loc); break;
      case RowKind::Rate: out += Format("%-24s %16.2n\r\n", {label, r.number}, loc); break;
      case RowKind::Choice: out += Format("%-24s %16s\r\n", {label, r.text}, loc); break;
    }
  }
  return out;
}

std::vector<std::string> PrintLines(const std::vector<CalcRow>& rows, const LocaleFormat& loc) {
  std::vector<std::string> lines;
  for (const CalcRow& r : rows) {
    const std::string label = StripAccelerator(r.caption);
    switch (r.kind) {
      case RowKind::Money: lines.push_back(Format("\t%-24s\t%16.2m", {label, r.number}, loc)); break;
      case RowKind::Count: lines.push_back(Format("\t%-24s\t%16d", {label, r.count}, loc)); break;
      case RowKind::Rate: lines.push_back(Format("\t%-24s\t%16.4n", {label, r.number}, loc)); break;
      case RowKind::Choice: lines.push_back(Format("\t%-24s\t%.12s", {label, r.text}, loc)); break;
    }
  }
  return lines;
}


bool CanadianPeriods(int amortMthdIndex, int& pyrIndex, int& cmpPyrIndex) {
  if (AmortMethodOf(amortMthdIndex) != AmortMethod::Canadian) return false;
  pyrIndex = LoanDefaults.canadianPYR - 1;
  cmpPyrIndex = LoanDefaults.canadianCmpPYR;
  return true;
}

void ApplyCanadianPeriods(int amortMthdIndex, ListEntry& pyr, ListEntry& cmpPyr) {
  int p = pyr.index, c = cmpPyr.index;
  if (!CanadianPeriods(amortMthdIndex, p, c)) return;
  pyr.Select(p);
  cmpPyr.Select(c);
}

}  // namespace brevika
