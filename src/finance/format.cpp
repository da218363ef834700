#include "finance/format.h"

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>

#include <charconv>
#include <cmath>

namespace brevika {

const LocaleFormat& UsLocaleFormat() {
  static const LocaleFormat k;
  return k;
}

namespace {

std::string Digits(double value, int decimals) {
  char buf[400];
  auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::fixed,
                           decimals);
  return std::string(buf, res.ptr);
}

std::string Grouped(double value, int decimals, const LocaleFormat& loc) {
  std::string plain = Digits(value, decimals);
  std::string::size_type dot = plain.find('.');
  std::string intPart = plain.substr(0, dot);
  std::string out;
  int n = static_cast<int>(intPart.size());
  for (int k = 0; k < n; ++k) {
    out += intPart[k];
    int left = n - 1 - k;
    if (left > 0 && left % 3 == 0) out += loc.thousands;
  }
  if (dot != std::string::npos) out += loc.decimal + plain.substr(dot + 1);
  return out;
}

// True when the value shows as zero at this precision, so no minus sign.
bool ShowsNegative(double value, int decimals) {
  if (!(value < 0)) return false;
  std::string d = Digits(value, decimals);
  return d.find_first_not_of("0.") != std::string::npos;
}

std::string Pad(const std::string& s, int width, bool left) {
  // Width counts characters, not bytes, so UTF-8 currency signs align.
  int chars = 0;
  for (unsigned char c : s)
    if ((c & 0xC0) != 0x80) ++chars;
  if (chars >= width) return s;
  std::string fill(static_cast<std::size_t>(width - chars), ' ');
  return left ? s + fill : fill + s;
}

}  // namespace

std::string FormatNumber(double value, int decimals, const LocaleFormat& loc) {
  std::string body = Grouped(value, decimals, loc);
  return ShowsNegative(value, decimals) ? loc.negativeSign + body : body;
}

std::string FormatMoney(double value, int decimals, const LocaleFormat& loc) {
  std::string body = Grouped(value, decimals, loc);
  const std::string gap = loc.symbolSpaced ? " " : "";
  body = loc.symbolBefore ? loc.currencySymbol + gap + body : body + gap + loc.currencySymbol;
  return ShowsNegative(value, decimals) ? loc.negativeSign + body : body;
}

std::string WidestAmountText(int integerDigits, int decimals, const LocaleFormat& loc) {
  // Read from its digits, the nearest double to the nines.
  std::string digits(static_cast<std::size_t>(std::max(integerDigits, 1)), '9');
  if (decimals > 0) digits += '.' + std::string(static_cast<std::size_t>(decimals), '9');
  double value = 0;
  std::from_chars(digits.data(), digits.data() + digits.size(), value);
  return FormatMoney(-value, decimals, loc);
}

std::string FormatMoneyText(double x, const LocaleFormat& loc) {
  // The money format with the symbol cut to its first character (which may
  // take several bytes in UTF-8), or none, and no blank after it.
  LocaleFormat text = loc;
  text.symbolSpaced = false;
  if (!loc.symbolBefore) text.currencySymbol.clear();
  text.symbolBefore = true;
  std::size_t n = text.currencySymbol.empty() ? 0 : 1;
  while (n < text.currencySymbol.size() &&
         (static_cast<unsigned char>(text.currencySymbol[n]) & 0xC0) == 0x80)
    ++n;
  text.currencySymbol.resize(n);
  return FormatMoney(x, 2, text);
}

std::string RateText(double rate, const LocaleFormat& loc) {
  LocaleFormat plain = loc;
  plain.thousands.clear();
  return FormatNumber(rate, 4, plain);
}

std::string Format(std::string_view fmt, const std::vector<FormatArg>& args,
                   const LocaleFormat& loc) {
  std::string out;
  std::size_t argNo = 0;
  for (std::size_t p = 0; p < fmt.size(); ++p) {
    char ch = fmt[p];
    if (ch != '%') {
      out += ch;
      continue;
    }
    if (p + 1 < fmt.size() && fmt[p + 1] == '%') {
      out += '%';
      ++p;
      continue;
    }
    ++p;
    bool left = false;
    if (p < fmt.size() && fmt[p] == '-') {
      left = true;
      ++p;
    }
    int width = 0, prec = -1;
    while (p < fmt.size() && fmt[p] >= '0' && fmt[p] <= '9') width = width * 10 + (fmt[p++] - '0');
    if (p < fmt.size() && fmt[p] == '.') {
      prec = 0;
      ++p;
      while (p < fmt.size() && fmt[p] >= '0' && fmt[p] <= '9') prec = prec * 10 + (fmt[p++] - '0');
    }
    if (p >= fmt.size()) break;
    const char conv = fmt[p];
    const FormatArg* arg = argNo < args.size() ? &args[argNo] : nullptr;
    ++argNo;
    auto asDouble = [&]() -> double {
      if (!arg) return 0.0;
      if (auto d = std::get_if<double>(arg)) return *d;
      if (auto i = std::get_if<long long>(arg)) return static_cast<double>(*i);
      return 0.0;
    };
    std::string field;
    switch (conv) {
      case 's':
        if (arg) {
          if (auto s = std::get_if<std::string>(arg)) field = *s;
        }
        if (prec >= 0 && field.size() > static_cast<std::size_t>(prec)) field.resize(prec);
        break;
      case 'd':
        if (arg) {
          if (auto i = std::get_if<long long>(arg)) field = std::to_string(*i);
          else if (auto d = std::get_if<double>(arg)) field = std::to_string(static_cast<long long>(*d));
        }
        break;
      case 'm': field = FormatMoney(asDouble(), prec < 0 ? 2 : prec, loc); break;
      case 'n': field = FormatNumber(asDouble(), prec < 0 ? 2 : prec, loc); break;
      default: field = std::string("%") + conv; break;
    }
    out += Pad(field, width, left);
  }
  return out;
}

std::string MoneyMaskForCountry(int code) {
  switch (code) {
    case 1: case 2: case 44: case 52: case 61: case 64: case 353: case 886:
      return "$###,###,###.##";
    case 31: return "c###,###,###.##";
    case 32: case 46: case 49: case 354: case 358: return "#,###,###.##CCC";
    case 33: return "##,###,###.##CC";
    case 34: return "###,###,###.CCC";
    case 39: return "cc ###,###,###.";
    case 41: case 43: case 45: return "cc##,###,###.##";
    case 47: case 55: return "ccc#,###,###.##";
    case 351: return "###,###.##CCCCC";
    default: return "";
  }
}

std::string StripAccelerator(std::string caption) {
  auto pos = caption.find('&');
  if (pos != std::string::npos) caption.erase(pos, 1);
  return caption;
}

LocaleFormat EnvironmentLocaleFormat() {
  std::setlocale(LC_MONETARY, "");
  const std::lconv* lc = std::localeconv();
  LocaleFormat f = UsLocaleFormat();
  if (!lc || !lc->currency_symbol || !*lc->currency_symbol) return f;
  f.currencySymbol = lc->currency_symbol;
  f.symbolBefore = lc->p_cs_precedes != 0;
  f.symbolSpaced = lc->p_sep_by_space == 1;
  if (lc->mon_decimal_point && *lc->mon_decimal_point) f.decimal = lc->mon_decimal_point;
  f.thousands = lc->mon_thousands_sep ? lc->mon_thousands_sep : "";
  if (lc->negative_sign && *lc->negative_sign) f.negativeSign = lc->negative_sign;
  return f;
}

std::string PlainAmount(double value, int decimals) {
  if (!std::isfinite(value)) return value != value ? "nan" : (value > 0 ? "inf" : "-inf");
  char buf[400];
  auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
  std::string out(buf, res.ptr);
  if (out[0] == '-' && out.find_first_not_of("-0.") == std::string::npos) out.erase(0, 1);
  return out;
}

}  // namespace brevika
