// Period codes, periods per year, standard days and the calendar date step.
#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace brevika {

// Program-wide period code: 0 "Daily" .. 7 "Annually", 8 "Continuous".
enum PeriodCode : std::uint8_t {
  kDaily = 0, kWeekly, kBiWeekly, kMonthly, kBiMonthly, kQuarterly,
  kSemiAnnually, kAnnually, kContinuous
};

// Dates are whole day numbers; day 0 is 1 January 1600.
using Date = std::int32_t;
constexpr Date kBadDate = -1;
constexpr int kMinYear = 1600;
constexpr int kMaxYear = 3999;

std::uint16_t PeriodsPerYear(std::uint8_t code);
// Standard days of one period on a 360-day year; unknown counts come back as given.
std::uint16_t StdDays(std::uint16_t periodsPerYear);

// Periods per year of a payment-period list index (the list has no "Daily").
inline std::uint16_t PyrPeriodsPerYear(int pyrIndex) {
  return PeriodsPerYear(static_cast<std::uint8_t>(pyrIndex + 1));
}
// Periods per year of a compounding-period list index (index is the code).
inline std::uint16_t CmpPeriodsPerYear(int cmpIndex) {
  return PeriodsPerYear(static_cast<std::uint8_t>(cmpIndex));
}

bool IsLeapYear(int year);
int DaysInMonth(int month, int year);
// Builds a date; kBadDate when day, month or year is out of range.
Date MakeDate(int day, int month, int year);
void SplitDate(Date date, int& day, int& month, int& year);
int YearOf(Date date);
// "mm/dd/yy", or "mm/dd/yyyy" with the full year.
std::string FormatShortDate(Date date, bool fourDigitYear = false);
// "yyyy-mm-dd", as files and JSON write dates.
std::string FormatIsoDate(Date date);

// Calendar step: a day above 28 is kept as excess past the 28th, so
// 31 January + 1 month is 28 February + 3 days.
Date IncDate(Date date, int days, int months, int years);
Date StepPeriodForward(Date date, std::uint16_t periodsPerYear);

// The part of a date a spin button moves.
enum class DatePart { Month, Day, Year };
// The date with one part moved by `delta`; the day is kept within the new
// month. kBadDate when the result leaves 1600..3999.
Date SpinDate(Date date, DatePart part, int delta);
Date StepPeriodBack(Date date, std::uint16_t periodsPerYear);

// Today's date on the local calendar.
Date TodayDate();

// Full weekday names, Sunday first; windows use the locale's.
using WeekdayNames = std::array<std::string, 7>;
const WeekdayNames& EnglishWeekdayNames();

}  // namespace brevika
