// What the comparison's chart draws: each offer's cumulative cost (upfront
// cost plus the interest paid so far) against the years since origination,
// the horizon marked, and a round cost axis. No Qt.
#pragma once
#include <vector>

#include "amortization/compare.h"
#include "amortization/schedule_chart_data.h"

namespace brevika {

// A point of an offer's line: x in years since origination (a payment on
// the 1st of a month lies on a whole number of months), the cost so far and
// the same with each interest discounted to the origination.
struct CompareChartPoint {
  double years = 0;
  double cost = 0;
  double presentCost = 0;
};

struct CompareChartLine {
  int offer = 0;  // 1-based
  std::vector<CompareChartPoint> points;  // payment 0 (origination) to the last
  int horizonPayment = 0;                 // k of the offer
  Date horizonPaymentDate = 0;
};

struct CompareChartData {
  std::vector<CompareChartLine> lines;
  double horizonYears = 0;  // where the horizon mark stands
  Date horizonDate = 0;
  double lastYears = 0;     // the last payment of the longest offer
  ChartAxis costAxis;       // covers every cost (discounted costs are never higher)
};

// Years from an origination to a date: whole months counted back from the
// date, the days left as a share of their month.
double YearsSince(Date origination, Date date);

CompareChartData BuildCompareChart(const CompareResults& results);

}  // namespace brevika
