// Pieces every calculator kind shares: list entries of a transfer record,
// refusals as data, and the rows that Copy and Print format.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "finance/format.h"
#include "finance/outcome.h"
#include "finance/items.h"

namespace brevika {

// A list control in a transfer record: item index, its text and the items.
struct ListEntry {
  std::int32_t index = 0;
  std::string text;
  ItemList items;

  static ListEntry Of(const ItemList& list, int index);
  void Select(int i);
  const std::string& SelectedText() const;
  // The selected item as the list's code type (AmortMethod, PaymentMethod ...).
  template <class Code>
  Code code() const { return static_cast<Code>(index); }
};

// "Canadian" pays monthly and compounds semi-annually: with that method the
// two period choices switch to those; otherwise they stay. True when it is.
bool CanadianPeriods(int amortMthdIndex, int& pyrIndex, int& cmpPyrIndex);
void ApplyCanadianPeriods(int amortMthdIndex, ListEntry& pyr, ListEntry& cmpPyr);

enum class RowKind { Money, Count, Rate, Choice };

// One line of a calculator's copy text and print page.
struct CalcRow {
  RowKind kind;
  std::string caption;  // may carry the '&' accelerator mark
  double number = 0.0;  // Money, Rate
  long long count = 0;  // Count
  std::string text;     // Choice
};

// Caption, blank line, then one aligned line per row; CR LF line ends.
std::string CopyText(const std::string& windowCaption, const std::vector<CalcRow>& rows,
                     const LocaleFormat& loc);

// One tab-separated line per row for the print page ("\tlabel\tvalue").
std::vector<std::string> PrintLines(const std::vector<CalcRow>& rows, const LocaleFormat& loc);

}  // namespace brevika
