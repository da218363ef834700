#include "amortization/schedule_chart_data.h"

#include <algorithm>
#include <cmath>

namespace brevika {

namespace {

constexpr int kMaxSteps = 5;
constexpr int kMaxYearLabels = 10;

// Years from the middle of `firstYear` to a date, by its day in its year.
double YearPosition(Date date, int firstYear) {
  const int year = YearOf(date);
  const Date jan1 = MakeDate(1, 1, year);
  const double days = IsLeapYear(year) ? 366.0 : 365.0;
  return (year - firstYear) - 0.5 + (date - jan1) / days;
}

// At most `maxPoints` of rows 0 to `last`, evenly spaced; the first and the
// last are always among them. Returns the largest balance.
template <typename RowOf>
double SampleBalance(int last, std::size_t maxPoints, int firstYear, RowOf rowOf,
                     std::vector<ChartPoint>& out) {
  maxPoints = std::max<std::size_t>(maxPoints, 2);
  const std::size_t rows = static_cast<std::size_t>(last) + 1;
  const std::size_t points = std::min(rows, maxPoints);
  out.reserve(points);
  double maxBalance = 0;
  for (std::size_t j = 0; j < points; ++j) {
    const std::size_t k = points == rows ? j : (j * (rows - 1) + (points - 1) / 2) / (points - 1);
    const ScheduleRow& r = rowOf(static_cast<int>(k));
    out.push_back(ChartPoint{YearPosition(r.date, firstYear), r.balance});
    maxBalance = std::max(maxBalance, r.balance);
  }
  return maxBalance;
}

}  // namespace

ChartAxis RoundAxis(double max, int maxSteps) {
  ChartAxis a;
  maxSteps = std::max(1, maxSteps);
  if (!std::isfinite(max) || max <= 0) return a;
  double power = std::pow(10.0, std::floor(std::log10(max / maxSteps)));
  // Steps of 1, 2 and 5 times the power, the first that covers max; the
  // loop ends at most one power of ten up.
  for (int tries = 0; tries < 8; ++tries) {
    for (double m : {1.0, 2.0, 5.0}) {
      const double step = m * power;
      const double steps = std::ceil(max / step - 1e-9);
      if (steps <= maxSteps) {
        a.step = step;
        a.top = steps * step;
        return a;
      }
    }
    power *= 10;
  }
  a.top = max;
  a.step = max;
  return a;
}

ScheduleChartData BuildChartData(const Schedule& schedule, std::size_t maxPoints) {
  ScheduleChartData d;
  if (!schedule.calculated()) return d;
  const int last = schedule.lastRow();
  const int firstYear = YearOf(schedule.row(0).date);
  double maxBalance = 0;
  for (int k = 0; k <= last; ++k) {
    const ScheduleRow& r = schedule.row(k);
    const int year = YearOf(r.date);
    if (d.years.empty() || d.years.back().year != year) d.years.push_back(ChartYear{year, 0, 0});
    d.years.back().principal += r.principal;
    d.years.back().interest += r.interest;
    maxBalance = std::max(maxBalance, r.balance);
  }
  SampleBalance(last, maxPoints, firstYear, [&](int k) -> const ScheduleRow& { return schedule.row(k); },
                d.balance);
  if (schedule.hasEvents()) {
    // A holiday can raise the balance above the amount; the axis takes
    // both lines.
    maxBalance = std::max(maxBalance, SampleBalance(schedule.baseLastRow(), maxPoints, firstYear,
                                                    [&](int k) -> const ScheduleRow& { return schedule.baseRow(k); },
                                                    d.baseBalance));
  }
  double maxYear = 0;
  for (const ChartYear& y : d.years) maxYear = std::max(maxYear, y.principal + y.interest);
  d.balanceAxis = RoundAxis(maxBalance, kMaxSteps);
  d.yearAxis = RoundAxis(maxYear, kMaxSteps);
  const int count = static_cast<int>(d.years.size());
  d.yearLabelStep = std::max(1, (count + kMaxYearLabels - 1) / kMaxYearLabels);
  return d;
}

}  // namespace brevika
