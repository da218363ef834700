// Pieces every calculator kind shares: list entries of a transfer record,
// refusals as data, and the rows that Copy and Print format.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "finance/format.h"
#include "finance/items.h"

namespace brevika {

enum class BoxType { Information, Warning, Error };

// A refusal or remark of a calculation; the window shows it in a message box.
struct Message {
  std::string text;
  BoxType box = BoxType::Warning;
  bool operator==(const Message&) const = default;
};

// A list control in a transfer record: item index, its text and the items.
struct ListEntry {
  std::int32_t index = 0;
  std::string text;
  ItemList items;

  static ListEntry Of(const ItemList& list, int index);
  void Select(int i);
  const std::string& SelectedText() const;
};

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

// Message for a result that is not a finite number.
Message NonFiniteMessage();

}  // namespace brevika
