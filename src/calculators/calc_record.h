// Pieces every calculator kind shares: the Canadian period switch and the
// rows that Copy and Print format.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "finance/format.h"
#include "finance/outcome.h"
#include "finance/items.h"

namespace brevika {

// "Canadian" pays monthly and compounds semi-annually: with that method the
// two period choices switch to those; otherwise they stay. True when it is.
bool CanadianPeriods(int amortMthdIndex, int& pyrIndex, int& cmpPyrIndex);
void ApplyCanadianPeriods(int amortMthdIndex, ListEntry& pyr, ListEntry& cmpPyr);

// Money, Count, Rate and Choice print as the loan calculator's rows. The
// others:
//   Number      a number with `decimals` places in copy and print alike;
//   PlainMoney  copied as a number with two decimals (no currency sign),
//               printed as money;
//   NarrowCount copied six characters wide, printed like Count;
//   Date        the weekday name (`text`) and the date (`count`, a day
//               number) as text with a four-digit year.
enum class RowKind { Money, Count, Rate, Choice, Number, PlainMoney, NarrowCount, Date };

// One line of a calculator's copy text and print page.
struct CalcRow {
  RowKind kind;
  std::string caption;  // may carry the '&' accelerator mark
  double number = 0.0;  // Money, Rate, Number, PlainMoney
  long long count = 0;  // Count, NarrowCount; the day number of a Date
  std::string text;     // Choice; the weekday name of a Date
  int decimals = 2;     // Number
};

// Caption, blank line, then one aligned line per row; CR LF line ends.
std::string CopyText(const std::string& windowCaption, const std::vector<CalcRow>& rows,
                     const LocaleFormat& loc);

// One tab-separated line per row for the print page ("\tlabel\tvalue").
std::vector<std::string> PrintLines(const std::vector<CalcRow>& rows, const LocaleFormat& loc);

}  // namespace brevika
