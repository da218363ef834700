#include "finance/parse.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

namespace brevika {

namespace {
bool Digit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

std::optional<double> ParseNumberText(std::string_view text, const NumberPicture& pic,
                                      std::string_view decimal, std::string_view thousands) {
  // A thousands separator equal to the decimal point would be ambiguous.
  if (thousands == decimal || thousands == ".") thousands = {};
  std::string plain;
  int whole = 0, fraction = 0;
  bool point = false, lastWasDigit = false;
  std::size_t k = 0;
  if (!text.empty() && text[0] == '-') {
    if (!pic.allowNegative) return std::nullopt;
    plain += '-';
    k = 1;
  }
  while (k < text.size()) {
    const char c = text[k];
    if (Digit(c)) {
      (point ? fraction : whole) += 1;
      plain += c;
      lastWasDigit = true;
      ++k;
    } else if (!point && (c == '.' || (!decimal.empty() && text.substr(k, decimal.size()) == decimal))) {
      if (pic.decimals == 0) return std::nullopt;
      point = true;
      plain += '.';
      lastWasDigit = false;
      k += c == '.' ? 1 : decimal.size();
    } else if (!point && lastWasDigit && !thousands.empty() &&
               text.substr(k, thousands.size()) == thousands) {
      k += thousands.size();
      lastWasDigit = false;
      if (k >= text.size() || !Digit(text[k])) return std::nullopt;
    } else {
      return std::nullopt;
    }
  }
  if (whole + fraction == 0 || whole > pic.intDigits || fraction > pic.decimals)
    return std::nullopt;
  double v = 0;
  const char* first = plain.data();
  const char* last = plain.data() + plain.size();
  auto res = std::from_chars(first, last, v);
  if (res.ec != std::errc() || res.ptr != last || !std::isfinite(v)) return std::nullopt;
  return v;
}

Date ParseDateText(std::string_view text, int epoch) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  int part[3] = {0, 0, 0};
  int digits[3] = {0, 0, 0};
  int field = 0;
  for (char ch : text) {
    if (ch == '/') {
      if (++field > 2) return kBadDate;
    } else if (Digit(ch)) {
      if (++digits[field] > 4) return kBadDate;
      part[field] = part[field] * 10 + (ch - '0');
    } else {
      return kBadDate;
    }
  }
  if (field != 2 || digits[0] == 0 || digits[0] > 2 || digits[1] == 0 || digits[1] > 2)
    return kBadDate;
  int y = part[2];
  if (digits[2] == 2 && epoch >= 0) {
    y = epoch + ((y - epoch % 100) % 100 + 100) % 100;
  } else if (digits[2] != 4) {
    return kBadDate;
  }
  if (y < kMinYear || y > kMaxYear) return kBadDate;
  return MakeDate(part[1], part[0], y);
}

std::optional<double> ReadAmount(std::string_view text, std::string& why) {
  const auto v = ParseNumberText(text, kMoneyPicture);
  if (!v) why = "is not an amount (at most 12 integer digits and 2 decimals)";
  return v;
}

std::optional<float> ReadRate(std::string_view text, std::string& why) {
  const auto v = ParseNumberText(text, kRatePicture);
  if (!v) {
    why = "is not a rate (at most 2 integer digits and 4 decimals)";
    return std::nullopt;
  }
  return static_cast<float>(*v);
}

std::optional<int> ReadCount(std::string_view text, int min, int max, std::string& why) {
  const auto v = ParseNumberText(text, kCountPicture);
  if (!v || *v < min || *v > max) {
    why = "is not a whole number from " + std::to_string(min) + " to " + std::to_string(max);
    return std::nullopt;
  }
  return static_cast<int>(*v);
}

std::optional<int> ReadItem(const std::string& text, const ItemList& items, std::string& why) {
  const int index = FindItem(items, text);
  if (index >= 0) return index;
  std::string list;
  for (const std::string& it : items) list += (list.empty() ? "" : ", ") + ("\"" + it + "\"");
  why = "is not one of " + list;
  return std::nullopt;
}

std::string Quoted(std::string_view text) {
  std::string out = "'";
  for (unsigned char c : text) {
    switch (c) {
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c == 0x7f) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\x%02x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "'";
}

}  // namespace brevika
