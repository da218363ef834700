#include "calculators/calc_record.h"

#include "finance/periods.h"

namespace brevika {

namespace {

// "%16.<d>n" for a Number row.
std::string NumberDirective(int decimals) { return "%16." + std::to_string(decimals) + "n"; }

// Date of a Date row as text; empty for a day number no date field holds.
std::string DateText(long long day) {
  if (day < 0 || day > MakeDate(31, 12, kMaxYear)) return std::string();
  return FormatShortDate(static_cast<Date>(day), true);
}

// At most n characters of a UTF-8 text (locale weekday names need not be
// ASCII).
std::string CutChars(const std::string& s, std::size_t n) {
  std::size_t chars = 0;
  for (std::size_t k = 0; k < s.size(); ++k) {
    if ((static_cast<unsigned char>(s[k]) & 0xC0) != 0x80 && chars++ == n) return s.substr(0, k);
  }
  return s;
}

}  // namespace

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
      case RowKind::Number:
        out += Format("%-24s " + NumberDirective(r.decimals) + "\r\n", {label, r.number}, loc);
        break;
      case RowKind::PlainMoney: out += Format("%-24s %16.2n\r\n", {label, r.number}, loc); break;
      case RowKind::NarrowCount: out += Format("%-24s %6d\r\n", {label, r.count}, loc); break;
      case RowKind::Date:
        out += Format("%-24s %-9s %-10s\r\n", {label, r.text, DateText(r.count)}, loc);
        break;
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
      case RowKind::Number:
        lines.push_back(Format("\t%-24s\t" + NumberDirective(r.decimals), {label, r.number}, loc));
        break;
      case RowKind::PlainMoney:
        lines.push_back(Format("\t%-24s\t%16.2m", {label, r.number}, loc));
        break;
      case RowKind::NarrowCount:
        lines.push_back(Format("\t%-24s\t%16d", {label, r.count}, loc));
        break;
      case RowKind::Date: {
        // Weekday and a blank in at most 10 characters, then the date; at
        // most 20 characters in all.
        const std::string value = CutChars(CutChars(r.text + " ", 10) + DateText(r.count), 20);
        lines.push_back(Format("\t%-24s\t%-10s", {label, value}, loc));
        break;
      }
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
