// Reading numbers and dates from text, as the entry fields and the command
// line take them: one set of rules for both.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "finance/items.h"
#include "finance/periods.h"

namespace brevika {

// What a number field's picture allows.
struct NumberPicture {
  int intDigits;
  int decimals;
  bool allowNegative = true;
};
inline constexpr NumberPicture kMoneyPicture{12, 2};   // "$###,###,###.##", 12 digits
inline constexpr NumberPicture kRatePicture{2, 4};     // "##.####"
inline constexpr NumberPicture kCountPicture{5, 0};    // "ii,iii"

// An optional leading '-', digits with thousands separators between them,
// at most one decimal point: within the picture's digit counts. Empty when
// the text is not such a number.
std::optional<double> ParseNumberText(std::string_view text, const NumberPicture& picture,
                                      std::string_view decimal = ".",
                                      std::string_view thousands = ",");

// "m/d/yyyy" with one- or two-digit month and day and a four-digit year, or
// a two-digit year read as twoDigitEpoch .. twoDigitEpoch + 99 (a negative
// epoch refuses two-digit years); 01/01/1600 to 12/31/3999. kBadDate
// otherwise.
Date ParseDateText(std::string_view text, int twoDigitEpoch = 1960);

// Values given as text that no entry field checked as it was typed (the
// command line, a loan offer written out): the value by the rules above,
// or nothing with `why` set to what completes "'text' ..." in a message
// ("is not an amount (at most 12 integer digits and 2 decimals)").
std::optional<double> ReadAmount(std::string_view text, std::string& why);
std::optional<float> ReadRate(std::string_view text, std::string& why);
// A whole number from `min` to `max`.
std::optional<int> ReadCount(std::string_view text, int min, int max, std::string& why);
// The index of the item of that text, any case.
std::optional<int> ReadItem(const std::string& text, const ItemList& items, std::string& why);

// The text in single quotes for a message, control characters escaped.
std::string Quoted(std::string_view text);

}  // namespace brevika
