#include "finance/periods.h"

#include <algorithm>

#include <cstdio>
#include <ctime>

namespace brevika {

namespace {
constexpr std::uint16_t kPerYear[9] = {365, 52, 26, 12, 6, 4, 2, 1, 12};

// Days from 1 January 1600 to 1 January of the year (proleptic Gregorian).
std::int64_t DaysBeforeYear(int year) {
  std::int64_t y = year - 1600;
  return 365 * y + (y + 3) / 4 - (y + 99) / 100 + (y + 399) / 400;
}
constexpr int kCumDays[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
}  // namespace

std::uint16_t PeriodsPerYear(std::uint8_t code) {
  code %= 128;
  return code <= kContinuous ? kPerYear[code] : 0;
}

std::uint16_t StdDays(std::uint16_t ppy) {
  switch (ppy) {
    case 365: return 1;
    case 52: return 7;
    case 26: return 14;
    case 12: return 30;
    case 6: return 60;
    case 4: return 90;
    case 2: return 180;
    case 1: return 360;
    default: return ppy;
  }
}

bool IsLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int m, int y) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return (m == 2 && IsLeapYear(y)) ? 29 : kDays[m - 1];
}

Date MakeDate(int d, int m, int y) {
  if (y < kMinYear || y > 9999 || m < 1 || m > 12 || d < 1 || d > DaysInMonth(m, y))
    return kBadDate;
  return static_cast<Date>(DaysBeforeYear(y) + kCumDays[m - 1] + (m > 2 && IsLeapYear(y)) +
                           d - 1);
}

void SplitDate(Date date, int& d, int& m, int& y) {
  // Estimate the year, then correct it by at most one either way.
  y = 1600 + static_cast<int>(static_cast<std::int64_t>(date) * 400 / 146097);
  while (DaysBeforeYear(y) > date) --y;
  while (DaysBeforeYear(y + 1) <= date) ++y;
  int doy = static_cast<int>(date - DaysBeforeYear(y));
  int leap = IsLeapYear(y) ? 1 : 0;
  m = 12;
  while (m > 1 && doy < kCumDays[m - 1] + (m > 2 ? leap : 0)) --m;
  d = doy - kCumDays[m - 1] - (m > 2 ? leap : 0) + 1;
}

int YearOf(Date date) {
  int d, m, y;
  SplitDate(date, d, m, y);
  return y;
}

std::string FormatShortDate(Date date, bool fourDigitYear) {
  int d = 0, m = 0, y = 0;
  SplitDate(date, d, m, y);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%0*d", m, d, fourDigitYear ? 4 : 2,
                fourDigitYear ? y : ((y % 100) + 100) % 100);
  return buf;
}

std::string FormatIsoDate(Date date) {
  int d = 0, m = 0, y = 0;
  SplitDate(date, d, m, y);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", y, m, d);
  return buf;
}

Date IncDate(Date date, int days, int months, int years) {
  if (date < 0) return kBadDate;
  int d, m, y;
  SplitDate(date, d, m, y);
  int excess = 0;
  if (d > 28) {
    excess = d - 28;
    d = 28;
  }
  y += years + months / 12;
  m += months % 12;
  if (m > 12) {
    m -= 12;
    ++y;
  } else if (m < 1) {
    m += 12;
    --y;
  }
  Date built = MakeDate(d, m, y);
  if (built == kBadDate) return kBadDate;
  return built + excess + days;
}

namespace {
Date Step(Date date, std::uint16_t ppy, int sign) {
  switch (ppy) {
    case 1: return IncDate(date, 0, 0, sign);
    case 2: return IncDate(date, 0, 6 * sign, 0);
    case 4: return IncDate(date, 0, 3 * sign, 0);
    case 6: return IncDate(date, 0, 2 * sign, 0);
    case 12: return IncDate(date, 0, sign, 0);
    case 26: return IncDate(date, 14 * sign, 0, 0);
    case 52: return IncDate(date, 7 * sign, 0, 0);
    case 365: return IncDate(date, sign, 0, 0);
    default: return date;
  }
}
}  // namespace

Date StepPeriodForward(Date date, std::uint16_t ppy) { return Step(date, ppy, 1); }
Date StepPeriodBack(Date date, std::uint16_t ppy) { return Step(date, ppy, -1); }

Date SpinDate(Date date, DatePart part, int delta) {
  if (date < 0) return kBadDate;
  int d, m, y;
  SplitDate(date, d, m, y);
  if (part == DatePart::Day) {
    const Date next = date + delta;
    return next < 0 || YearOf(next) > kMaxYear ? kBadDate : next;
  }
  if (part == DatePart::Month) {
    const int months = y * 12 + (m - 1) + delta;
    y = months / 12;
    m = months % 12 + 1;
  } else {
    y += delta;
  }
  if (y < kMinYear || y > kMaxYear) return kBadDate;
  return MakeDate(std::min(d, DaysInMonth(m, y)), m, y);
}

const WeekdayNames& EnglishWeekdayNames() {
  static const WeekdayNames k{"Sunday", "Monday", "Tuesday", "Wednesday",
                              "Thursday", "Friday", "Saturday"};
  return k;
}

Date TodayDate() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return MakeDate(local.tm_mday, local.tm_mon + 1, local.tm_year + 1900);
}

}  // namespace brevika
