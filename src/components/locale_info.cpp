#include "components/locale_info.h"

namespace brevika {

int CountryCodeForTerritory(QLocale::Territory t) {
  switch (t) {
    case QLocale::UnitedStates: return 1;
    case QLocale::Canada: return 2;
    case QLocale::UnitedKingdom: return 44;
    case QLocale::Germany: return 49;
    case QLocale::France: return 33;
    case QLocale::Netherlands: return 31;
    case QLocale::Belgium: return 32;
    case QLocale::Italy: return 39;
    case QLocale::Spain: return 34;
    case QLocale::Switzerland: return 41;
    case QLocale::Austria: return 43;
    case QLocale::Denmark: return 45;
    case QLocale::Sweden: return 46;
    case QLocale::Norway: return 47;
    case QLocale::Brazil: return 55;
    case QLocale::Mexico: return 52;
    case QLocale::Australia: return 61;
    case QLocale::NewZealand: return 64;
    case QLocale::Ireland: return 353;
    case QLocale::Iceland: return 354;
    case QLocale::Finland: return 358;
    case QLocale::Portugal: return 351;
    case QLocale::Taiwan: return 886;
    default: return 0;
  }
}

LocaleInfo LocaleInfoFor(const QLocale& locale) {
  LocaleInfo info;
  if (locale.language() == QLocale::C) return info;  // US English defaults
  info.countryCode = CountryCodeForTerritory(locale.territory());

  LocaleFormat& f = info.format;
  const QString symbol = locale.currencySymbol(QLocale::CurrencySymbol);
  if (!symbol.isEmpty()) f.currencySymbol = symbol.toStdString();
  // Where the symbol stands, and whether a blank separates it, as the
  // locale writes one unit of money.
  const QString one = locale.toCurrencyString(1.0);
  const qsizetype at = symbol.isEmpty() ? -1 : one.indexOf(symbol);
  if (at >= 0) {
    f.symbolBefore = at == 0 || !one.at(0).isDigit();
    const qsizetype next = f.symbolBefore ? at + symbol.size() : at - 1;
    f.symbolSpaced = next >= 0 && next < one.size() && one.at(next).isSpace();
  }
  const QString group = locale.groupSeparator();
  const QString decimal = locale.decimalPoint();
  if (!decimal.isEmpty()) f.decimal = decimal.toStdString();
  if (!group.isEmpty()) f.thousands = group.toStdString();
  const QString minus = locale.negativeSign();
  if (!minus.isEmpty()) f.negativeSign = minus.toStdString();
  return info;
}

namespace {
std::optional<LocaleInfo>& Override() {
  static std::optional<LocaleInfo> value;
  return value;
}
}  // namespace

const LocaleInfo& CurrentLocaleInfo() {
  if (Override()) return *Override();
  static const LocaleInfo system = LocaleInfoFor(QLocale::system());
  return system;
}

void SetLocaleInfoOverride(std::optional<LocaleInfo> info) { Override() = std::move(info); }

std::string CurrentMoneyMask() { return MoneyMaskForCountry(CurrentLocaleInfo().countryCode); }

WeekdayNames LocaleWeekdayNames() {
  const QLocale locale;
  WeekdayNames names;
  // Qt numbers Monday 1 .. Sunday 7.
  for (int k = 0; k < 7; ++k)
    names[static_cast<std::size_t>(k)] = locale.dayName(k == 0 ? 7 : k, QLocale::LongFormat).toStdString();
  return names;
}

}  // namespace brevika
