// Interest due calculator: interest, future value, annual percentage yield
// and daily rate of an amount between two dates. Every input is given; an
// amount of zero is an ordinary value, not an unknown.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "calculators/calc_record.h"
#include "calculators/kind.h"
#include "finance/outcome.h"
#include "finance/periods.h"

namespace brevika {

// Codes of this calculator's own compounding list (its item indexes).
enum class IntDueCompounding : int {
  Simple = 0, Continuous, Daily, Weekly, BiWeekly, Monthly, BiMonthly, Quarterly,
  SemiAnnually, Annually
};
// Codes of the rate basis list.
enum class DayBasis : int { Days360 = 0, Days365 = 1 };

// True for a day number the date fields hold (01/01/1600 .. 12/31/3999).
bool IsFieldDate(Date date);
// Weekday of a date, 0 Sunday .. 6 Saturday; -1 when it is no field date.
int WeekdayOf(Date date);
// Text of a day box: the weekday name, or "Bad Date".
std::string DayBoxText(Date date, const WeekdayNames& names = EnglishWeekdayNames());

// Transfer record of the interest due calculator kind, in control order.
struct IntDueRecord {
  std::string lPV = "&Amount?:";
  std::string lNumDays = "&Number of Days? (#):";
  std::string lRate = "Annual &Rate? (%):";
  std::string lStartDate = "&Start Date?:";
  std::string lEndDate = "End Da&te?:";
  std::string lCmpPYR = "Compounding Perio&d?:";
  std::string lRateBasis = "Rate &Basis?:";
  std::string lIntPaid = "Interest for Term:";
  std::string lFV = "Future Value:";
  std::string lAPY = "Annual Percentage Yield (APY):";
  std::string lDailyRate = "Daily Periodic Rate:";
  double PV = 0;
  std::int16_t NumDays = 0;
  float Rate = 0;
  std::string StartDay;
  Date StartDate = kBadDate;
  std::string EndDay;
  Date EndDate = kBadDate;
  ListEntry CmpPYR, RateBasis;
  double IntPaid = 0;
  double FV = 0;
  float APY = 0;        // percent
  float DailyRate = 0;  // fraction per day
};

// Both dates `today`, compounding "Daily", rate basis "365", numbers zero.
IntDueRecord NewIntDueRecord(Date today, const WeekdayNames& names = EnglishWeekdayNames());

// Calc's refusal of a start or end date that is no date.
inline constexpr char kMsgIntDueBadDates[] =
    "Start Date and End Date must be valid dates\r\r(01/01/1600 to 12/31/3999).\r\rPlease Try Again";
// The initial values again (captions and item lists stay).
void ResetIntDue(IntDueRecord& rec, Date today, const WeekdayNames& names = EnglishWeekdayNames());

// Which of the day count and the two dates the user changed.
enum class IntDueField { NumDays, StartDate, EndDate };

// Keeps the day count equal to end date - start date after one field
// changed. `values` holds what the controls show, the changed field with
// its new value. A changed date sets the day count; a day count moves the
// end date, or when negative the start date (back from the end date, so the
// count becomes positive). A date that is no field date shows "Bad Date"
// and leaves the count alone. Dates more than 32,767 days apart are refused
// with a warning, and the changed field goes back to the value that agrees
// with the other two. Both weekday texts are set from their dates, also
// after a refusal.
Outcome IntDueFieldChanged(IntDueRecord& values, IntDueField changed,
                           const WeekdayNames& names = EnglishWeekdayNames());

// Calc: interest, future value, APY and daily rate. Refuses (record
// unchanged) when a date is no field date while the day count is not zero,
// and when a result is not finite.
Outcome CalcIntDue(IntDueRecord& rec);

// The interest due calculator kind.
const KindDescription<IntDueRecord>& IntDueKind();

}  // namespace brevika
