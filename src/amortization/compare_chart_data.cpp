#include "amortization/compare_chart_data.h"

#include <algorithm>

namespace brevika {

namespace {
constexpr int kMaxSteps = 5;
}  // namespace

double YearsSince(Date origination, Date date) {
  int d1, m1, y1, d2, m2, y2;
  SplitDate(origination, d1, m1, y1);
  SplitDate(date, d2, m2, y2);
  int months = (y2 - y1) * 12 + (m2 - m1);
  int days = d2 - d1;
  if (days < 0) {
    // The month before the date's holds the rest of the days.
    --months;
    const int pm = m2 == 1 ? 12 : m2 - 1, py = m2 == 1 ? y2 - 1 : y2;
    days += DaysInMonth(pm, py);
  }
  return (months + static_cast<double>(days) / DaysInMonth(m2, y2)) / 12.0;
}

CompareChartData BuildCompareChart(const CompareResults& r) {
  CompareChartData d;
  d.horizonDate = r.horizonDate;
  d.horizonYears = YearsSince(r.origination, r.horizonDate);
  double maxCost = 0;
  for (std::size_t k = 0; k < r.offers.size(); ++k) {
    const OfferFigures& f = r.offers[k];
    CompareChartLine line;
    line.offer = static_cast<int>(k) + 1;
    line.horizonPayment = f.horizonPayment;
    line.horizonPaymentDate = f.horizonPaymentDate;
    line.points.reserve(f.costs.size());
    for (const CostPoint& c : f.costs) {
      line.points.push_back(CompareChartPoint{YearsSince(r.origination, c.date), c.cost, c.presentCost});
      maxCost = std::max(maxCost, c.cost);
    }
    if (!line.points.empty()) d.lastYears = std::max(d.lastYears, line.points.back().years);
    d.lines.push_back(std::move(line));
  }
  d.costAxis = RoundAxis(maxCost, kMaxSteps);
  return d;
}

}  // namespace brevika
