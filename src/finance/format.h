// One text formatter for money, numbers and rows: printf-like directives
// %-24s, %16.2m (money), %16.2n (number with separators), %16d and %16s,
// fed a description of the user's locale.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace brevika {

struct LocaleFormat {
  std::string currencySymbol = "$";
  bool symbolBefore = true;    // "$1.00" rather than "1.00 $"
  bool symbolSpaced = false;   // a blank between symbol and number
  std::string thousands = ",";
  std::string decimal = ".";
  std::string negativeSign = "-";
};

// US English: what the C/POSIX locale counts as.
const LocaleFormat& UsLocaleFormat();

// The money format of the process's locale (LC_MONETARY from the
// environment); US English when the locale names no currency.
LocaleFormat EnvironmentLocaleFormat();

// An amount as plain digits with `decimals` places, every digit kept,
// no grouping, and no "-0" ("-0.00" is "0.00").
std::string PlainAmount(double value, int decimals = 2);

using FormatArg = std::variant<std::string, double, long long>;

// Directives: %[-][width][.prec](s|d|m|n) and %%. A missing or mistyped
// argument prints as an empty field.
std::string Format(std::string_view fmt, const std::vector<FormatArg>& args,
                   const LocaleFormat& loc = UsLocaleFormat());

// Number with thousands separators and fixed decimals ("1,234.57").
std::string FormatNumber(double value, int decimals, const LocaleFormat& loc = UsLocaleFormat());
// Money in the locale's currency format ("$1,234.57", "1.234,57 €").
std::string FormatMoney(double value, int decimals, const LocaleFormat& loc = UsLocaleFormat());
// Money as running text writes it: "$1,234.50", "-$20.00" (the first
// character of a leading currency symbol, the minus sign before it, no
// symbol when the locale writes it after the amount).
std::string FormatMoneyText(double x, const LocaleFormat& loc = UsLocaleFormat());
// A stored annual rate in percent: four decimals, the locale's decimal
// mark, no grouping ("7.5000").
std::string RateText(double rate, const LocaleFormat& loc = UsLocaleFormat());

// A result shows at most this many digits before the decimal point: a
// double carries 15 significant digits, so an amount is exact to the cent
// up to 13 of them (9,999,999,999,999.99).
inline constexpr int kResultIntegerDigits = 13;
// The widest amount of `integerDigits` digits, negative and all nines, in
// the money format with `decimals` places ("-$9,999,999,999,999.99"): what a
// money field must be wide enough to show.
std::string WidestAmountText(int integerDigits, int decimals, const LocaleFormat& loc = UsLocaleFormat());

// Money picture mask of a telephone country code; empty for unknown codes.
std::string MoneyMaskForCountry(int countryCode);

// Removes the first '&' of a caption (the keyboard accelerator mark).
std::string StripAccelerator(std::string caption);

}  // namespace brevika
