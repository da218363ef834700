#include "amortization/ui/compare_chart.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QValueAxis>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <cmath>

#include "components/qt_strings.h"

namespace brevika {

namespace {

// One colour per offer column.
const std::array<QColor, kMaxOffers> kOfferColours{QColor(0x1f, 0x5f, 0xa8), QColor(0xd9, 0x82, 0x2b),
                                                   QColor(0x2e, 0x8b, 0x57), QColor(0x8e, 0x44, 0xad)};

QFont Smaller(QFont f, double share) {
  f.setPointSizeF(f.pointSizeF() * share);
  return f;
}

// Money ticks from 0 to the axis top, each in the locale's money without cents.
void SetMoneyTicks(QCategoryAxis* axis, const ChartAxis& a, const LocaleFormat& loc) {
  for (const QString& label : axis->categoriesLabels()) axis->remove(label);
  axis->setStartValue(0);
  const int steps = static_cast<int>(a.top / a.step + 0.5);
  for (int k = 0; k <= steps; ++k) {
    const double v = k * a.step;
    axis->append(Q(FormatMoney(v, 0, loc)), v);
  }
  axis->setRange(0, a.top);
}

// A year tick every 1, 2 or 5 years, so that at most about a dozen show.
int YearStep(double years) { return years <= 12 ? 1 : years <= 24 ? 2 : 5; }

}  // namespace

CompareChart::CompareChart(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("CompareChart"));
  chart_ = new QChart();
  chart_->setMargins(QMargins(2, 2, 2, 2));
  chart_->setBackgroundRoundness(0);
  chart_->legend()->setAlignment(Qt::AlignBottom);
  chart_->legend()->setFont(Smaller(chart_->legend()->font(), 0.85));
  // Each entry drawn as a piece of its line, dashes and all.
  chart_->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);

  yearsAxis_ = new QValueAxis(chart_);
  yearsAxis_->setLabelFormat(QStringLiteral("%d"));
  yearsAxis_->setTickType(QValueAxis::TicksDynamic);
  yearsAxis_->setTickAnchor(0);
  yearsAxis_->setMinorTickCount(0);
  costAxis_ = new QCategoryAxis(chart_);
  costAxis_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  for (QAbstractAxis* a : {static_cast<QAbstractAxis*>(yearsAxis_), static_cast<QAbstractAxis*>(costAxis_)}) {
    a->setLabelsFont(Smaller(a->labelsFont(), 0.85));
    QFont title = Smaller(a->titleFont(), 0.8);
    title.setBold(false);
    a->setTitleFont(title);
  }
  yearsAxis_->setTitleText(QStringLiteral("Years"));
  chart_->addAxis(yearsAxis_, Qt::AlignBottom);
  chart_->addAxis(costAxis_, Qt::AlignLeft);

  view_ = new QChartView(chart_, this);
  view_->setObjectName(QStringLiteral("ChartView"));
  view_->setRenderHint(QPainter::Antialiasing);
  view_->setFrameStyle(QFrame::NoFrame);
  auto* box = new QVBoxLayout(this);
  box->setContentsMargins(0, 0, 0, 0);
  box->addWidget(view_);
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
    QPen pen(colour);
    pen.setWidthF(2);
    s->setPen(pen);
    s->replace(cost);
    add(s);
    cost_.append(s);
    if (discounted) {
      auto* d = new QLineSeries();
      d->setName(QStringLiteral("Offer %1 in today's money").arg(line.offer));
      QPen dashed(colour);
      dashed.setWidthF(1.5);
      dashed.setStyle(Qt::DashLine);
      d->setPen(dashed);
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
    QPen dashed(QColor(0x55, 0x55, 0x55));
    dashed.setWidthF(1.5);
    dashed.setStyle(Qt::DashLine);
    key->setPen(dashed);
    add(key);
  }

  const double lastYears = std::max(1.0, std::ceil(data_.lastYears - 1e-9));
  const bool drawn = !data_.lines.empty();
  if (drawn) {
    horizon_ = new QLineSeries();
    horizon_->setName(QStringLiteral("Horizon (%1 %2)")
                          .arg(horizonYears)
                          .arg(horizonYears == 1 ? QStringLiteral("year") : QStringLiteral("years")));
    QPen pen(QColor(0x55, 0x55, 0x55));
    pen.setWidthF(1.5);
    pen.setStyle(Qt::DashDotLine);
    horizon_->setPen(pen);
    horizon_->append(data_.horizonYears, 0);
    horizon_->append(data_.horizonYears, data_.costAxis.top);
    add(horizon_);
  }
  yearsAxis_->setRange(0, lastYears);
  yearsAxis_->setTickInterval(YearStep(lastYears));
  SetMoneyTicks(costAxis_, data_.costAxis, locale);
  costAxis_->setTitleText(QStringLiteral("Cost so far"));
  chart_->legend()->setVisible(drawn);
}

}  // namespace brevika
