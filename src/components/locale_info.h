// What the user's locale means for money: the currency format used by Copy,
// Print and the money fields, and the telephone country code that picks the
// money picture mask. Read once from QLocale::system(); tests may override.
#pragma once
#include <QLocale>
#include <optional>
#include <string>

#include "finance/format.h"
#include "finance/periods.h"

namespace brevika {

struct LocaleInfo {
  LocaleFormat format;  // currency symbol, position, separators
  int countryCode = 1;  // telephone country code; 0 when not in our table
};

// Country code of a territory (United States 1, Canada 2, Germany 49, ...);
// 0 for territories the money masks do not know.
int CountryCodeForTerritory(QLocale::Territory territory);

// Locale information of a locale; the C/POSIX locale counts as US English.
LocaleInfo LocaleInfoFor(const QLocale& locale);

// The process-wide locale information: the override when one is set, else
// that of QLocale::system() (read on first use).
const LocaleInfo& CurrentLocaleInfo();
// Replaces the process-wide information (tests); std::nullopt goes back to
// the system locale.
void SetLocaleInfoOverride(std::optional<LocaleInfo> info);

// Money mask of the current country code ("" when the code is unknown).
std::string CurrentMoneyMask();

// The locale's full weekday names, Sunday first.
WeekdayNames LocaleWeekdayNames();

}  // namespace brevika
