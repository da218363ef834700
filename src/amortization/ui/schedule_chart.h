// The schedule window's chart: the balance over time as a line (left axis)
// and the principal and interest paid each calendar year as stacked bars
// (right axis), money in the locale's format, years along the bottom. A
// schedule with what-if events also draws the balance of the same loan
// without them, dashed, with its own legend entry.
#pragma once
#include <QWidget>

#include "amortization/schedule.h"
#include "amortization/schedule_chart_data.h"
#include "finance/format.h"

QT_BEGIN_NAMESPACE
class QPainter;
class QRectF;
class QBarSet;
class QCategoryAxis;
class QChart;
class QChartView;
class QLineSeries;
class QStackedBarSeries;
QT_END_NAMESPACE

namespace brevika {

class ScheduleChart : public QWidget {
  Q_OBJECT
 public:
  explicit ScheduleChart(QWidget* parent = nullptr);

  // Draws the rows of `schedule` (calculated or loaded); an empty schedule
  // clears the chart.
  void SetSchedule(const Schedule& schedule, const LocaleFormat& locale);
  void Clear();

  // What is drawn, for tests and the bench.
  const ScheduleChartData& data() const { return data_; }
  QChart* chart() const { return chart_; }
  QLineSeries* balanceSeries() const { return balance_; }
  QLineSeries* baseBalanceSeries() const { return baseBalance_; }
  QBarSet* principalSet() const { return principal_; }
  QBarSet* interestSet() const { return interest_; }
  QCategoryAxis* yearsAxis() const { return yearsAxis_; }
  QCategoryAxis* balanceAxis() const { return balanceAxis_; }
  QCategoryAxis* paidAxis() const { return paidAxis_; }

 private:
  void Fill(const LocaleFormat& locale);

  ScheduleChartData data_;
  QChartView* view_;
  QChart* chart_;
  QLineSeries* balance_;
  QLineSeries* baseBalance_;
  QStackedBarSeries* bars_;
  QBarSet* principal_;
  QBarSet* interest_;
  QCategoryAxis* yearsAxis_;
  QCategoryAxis* balanceAxis_;
  QCategoryAxis* paidAxis_;
};

// Paints the chart of `schedule` into `target` of a printer or PDF page: it
// is laid out at screen size in the target's proportions and scaled onto
// it, so its fonts keep their size relative to the chart. Needs a
// QApplication.
void PaintScheduleChart(QPainter& painter, const QRectF& target, const Schedule& schedule,
                        const LocaleFormat& locale);

}  // namespace brevika
