// What the schedule chart draws, computed from the rows: the balance over
// time as at most a given number of points (and, for a schedule with
// events, the balance of the same loan without them), the principal and
// interest paid in each calendar year, and round axis steps. No Qt.
#pragma once
#include <cstddef>
#include <vector>

#include "amortization/schedule.h"

namespace brevika {

// The most points the balance line gets, however many rows there are.
inline constexpr std::size_t kMaxChartPoints = 1600;

// Principal and interest of the rows dated in one calendar year.
struct ChartYear {
  int year = 0;
  double principal = 0, interest = 0;
};

// A point of the balance line. x counts years from the middle of the first
// calendar year, so that year i's bar stands at x = i and its rows lie
// between i - 0.5 (1 January) and i + 0.5 (31 December).
struct ChartPoint {
  double x = 0;
  double balance = 0;
};

// A value axis from 0 to `top` in `step`s (1, 2 or 5 times a power of ten).
struct ChartAxis {
  double top = 1;
  double step = 1;
};

struct ScheduleChartData {
  std::vector<ChartYear> years;
  std::vector<ChartPoint> balance;
  // The balance without events, on the same x; empty without events.
  std::vector<ChartPoint> baseBalance;
  ChartAxis balanceAxis, yearAxis;  // both balance lines; principal + interest bars
  int yearLabelStep = 1;            // label every n-th year
};

// The axis for values from 0 to `max` in at most `maxSteps` steps.
ChartAxis RoundAxis(double max, int maxSteps);

// Rows 0 to the last; with more rows than `maxPoints` a balance line keeps
// the first and the last row and rows evenly spaced between them.
ScheduleChartData BuildChartData(const Schedule& schedule, std::size_t maxPoints = kMaxChartPoints);

}  // namespace brevika
