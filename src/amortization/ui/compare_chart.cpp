#include "amortization/ui/compare_chart.h"

#include <QCategoryAxis>
#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>
#include <array>
#include <cmath>

#include "components/chart_style.h"

namespace brevika {

namespace {

// One colour per offer column.
const std::array<QColor, kMaxOffers> kOfferColours{QColor(0x1f, 0x5f, 0xa8), QColor(0xd9, 0x82, 0x2b),
                                                   QColor(0x2e, 0x8b, 0x57), QColor(0x8e, 0x44, 0xad)};

// A year tick every 1, 2 or 5 years, so that at most about a dozen show.
int YearStep(double years) { return years <= 12 ? 1 : years <= 24 ? 2 : 5; }

}  // namespace

CompareChart::CompareChart(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("CompareChart"));
  chart_ = NewChart();
  // Each entry drawn as a piece of its line, dashes and all.
  chart_->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);

  yearsAxis_ = new QValueAxis(chart_);
  yearsAxis_->setLabelFormat(QStringLiteral("%d"));
  yearsAxis_->setTickType(QValueAxis::TicksDynamic);
  yearsAxis_->setTickAnchor(0);
  yearsAxis_->setMinorTickCount(0);
  costAxis_ = new QCategoryAxis(chart_);
  costAxis_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  // Fonts set before the axes join the chart, so the chart's theme keeps them.
  for (QAbstractAxis* a : {static_cast<QAbstractAxis*>(yearsAxis_), static_cast<QAbstractAxis*>(costAxis_)}) {
    a->setLabelsFont(Smaller(a->labelsFont(), 0.85));
    UsePlainTitleFont(a);
  }
  yearsAxis_->setTitleText(QStringLiteral("Years"));
  chart_->addAxis(yearsAxis_, Qt::AlignBottom);
  chart_->addAxis(costAxis_, Qt::AlignLeft);

  view_ = FillWithChart(this, chart_, QStringLiteral("ChartView"));
  Clear();
}

void CompareChart::Clear() {
  data_ = CompareChartData{};
  Fill(false, 0, UsLocaleFormat());
}

void CompareChart::SetResults(const CompareResults& results, const LocaleFormat& locale) {
  data_ = BuildCompareChart(results);
  Fill(results.discounted, results.horizonYears, locale);
}

void CompareChart::Fill(bool discounted, int horizonYears, const LocaleFormat& locale) {
  chart_->removeAllSeries();
  cost_.clear();
  present_.clear();
  horizon_ = nullptr;

  auto add = [this](QLineSeries* s) {
    chart_->addSeries(s);
    s->attachAxis(yearsAxis_);
    s->attachAxis(costAxis_);
  };
  for (const CompareChartLine& line : data_.lines) {
    const QColor colour = kOfferColours[static_cast<std::size_t>(std::clamp(line.offer - 1, 0, kMaxOffers - 1))];
    QList<QPointF> cost, present;
    cost.reserve(static_cast<qsizetype>(line.points.size()));
    for (const CompareChartPoint& p : line.points) {
      cost.append(QPointF(p.years, p.cost));
      if (discounted) present.append(QPointF(p.years, p.presentCost));
    }
    auto* s = new QLineSeries();
    s->setName(QStringLiteral("Offer %1").arg(line.offer));
    s->setPen(LinePen(colour, 2));
    s->replace(cost);
    add(s);
    cost_.append(s);
    if (discounted) {
      auto* d = new QLineSeries();
      d->setName(QStringLiteral("Offer %1 in today's money").arg(line.offer));
      d->setPen(LinePen(colour, 1.5, Qt::DashLine));
      d->replace(present);
      add(d);
      present_.append(d);
    }
  }
  // The dashed lines share one entry of the legend: a line without points.
  for (QLineSeries* d : present_)
    for (QLegendMarker* m : chart_->legend()->markers(d)) m->setVisible(false);
  if (!present_.isEmpty()) {
    auto* key = new QLineSeries();
    key->setName(QStringLiteral("In today's money"));
    key->setPen(LinePen(QColor(0x55, 0x55, 0x55), 1.5, Qt::DashLine));
    add(key);
  }

  const double lastYears = std::max(1.0, std::ceil(data_.lastYears - 1e-9));
  const bool drawn = !data_.lines.empty();
  if (drawn) {
    horizon_ = new QLineSeries();
    horizon_->setName(QStringLiteral("Horizon (%1 %2)")
                          .arg(horizonYears)
                          .arg(horizonYears == 1 ? QStringLiteral("year") : QStringLiteral("years")));
    horizon_->setPen(LinePen(QColor(0x55, 0x55, 0x55), 1.5, Qt::DashDotLine));
    horizon_->append(data_.horizonYears, 0);
    horizon_->append(data_.horizonYears, data_.costAxis.top);
    add(horizon_);
  }
  yearsAxis_->setRange(0, lastYears);
  yearsAxis_->setTickInterval(YearStep(lastYears));
  SetMoneyTicks(costAxis_, data_.costAxis.top, data_.costAxis.step, locale);
  costAxis_->setTitleText(QStringLiteral("Cost so far"));
  chart_->legend()->setVisible(drawn);
}

}  // namespace brevika
