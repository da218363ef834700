// The chart of Compare Loans: each offer's cost so far (its upfront cost
// plus the interest paid) against the years since the loans start, one
// line per offer, the horizon marked by an upright dash-dotted line. With a
// discount rate each offer also has a dashed line of its cost in today's
// money, one entry of the legend for them all. Money in the locale's
// format, years along the bottom.
#pragma once
#include <QList>
#include <QWidget>

#include "amortization/compare.h"
#include "amortization/compare_chart_data.h"
#include "finance/format.h"

QT_BEGIN_NAMESPACE
class QCategoryAxis;
class QChart;
class QChartView;
class QLineSeries;
class QValueAxis;
QT_END_NAMESPACE

namespace brevika {

class CompareChart : public QWidget {
  Q_OBJECT
 public:
  explicit CompareChart(QWidget* parent = nullptr);

  // Draws the offers of a comparison that ran; Clear() leaves an empty chart.
  void SetResults(const CompareResults& results, const LocaleFormat& locale);
  void Clear();

  // What is drawn, for tests.
  const CompareChartData& data() const { return data_; }
  QChart* chart() const { return chart_; }
  // One line per offer, in the order of the offers.
  const QList<QLineSeries*>& costLines() const { return cost_; }
  // The present costs, empty without a discount rate.
  const QList<QLineSeries*>& presentLines() const { return present_; }
  QLineSeries* horizonLine() const { return horizon_; }
  QValueAxis* yearsAxis() const { return yearsAxis_; }
  QCategoryAxis* costAxis() const { return costAxis_; }

 private:
  void Fill(bool discounted, int horizonYears, const LocaleFormat& locale);

  CompareChartData data_;
  QChartView* view_;
  QChart* chart_;
  QValueAxis* yearsAxis_;
  QCategoryAxis* costAxis_;
  QList<QLineSeries*> cost_, present_;
  QLineSeries* horizon_ = nullptr;
};

}  // namespace brevika
