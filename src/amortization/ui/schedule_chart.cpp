#include "amortization/ui/schedule_chart.h"

#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QStackedBarSeries>
#include <QVBoxLayout>

#include "components/qt_strings.h"

namespace brevika {

namespace {

// Money ticks from 0 to the axis top, each labelled in the locale's money
// without cents.
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

QCategoryAxis* NewAxis(QChart* chart, Qt::Alignment where) {
  auto* axis = new QCategoryAxis(chart);
  axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  QFont f = axis->labelsFont();
  f.setPointSizeF(f.pointSizeF() * 0.85);
  axis->setLabelsFont(f);
  chart->addAxis(axis, where);
  return axis;
}

}  // namespace

ScheduleChart::ScheduleChart(QWidget* parent) : QWidget(parent) {
  setObjectName("ScheduleChart");
  chart_ = new QChart();
  chart_->setMargins(QMargins(2, 2, 2, 2));
  chart_->setBackgroundRoundness(0);
  chart_->legend()->setAlignment(Qt::AlignBottom);
  QFont legendFont = chart_->legend()->font();
  legendFont.setPointSizeF(legendFont.pointSizeF() * 0.85);
  chart_->legend()->setFont(legendFont);

  principal_ = new QBarSet("Principal paid");
  interest_ = new QBarSet("Interest paid");
  principal_->setColor(QColor(0x4c, 0x8b, 0xc9));
  interest_->setColor(QColor(0xe8, 0x9a, 0x3c));
  principal_->setBorderColor(principal_->color().darker(130));
  interest_->setBorderColor(interest_->color().darker(130));
  bars_ = new QStackedBarSeries();
  bars_->append(principal_);
  bars_->append(interest_);
  bars_->setBarWidth(0.75);
  balance_ = new QLineSeries();
  balance_->setName("Balance");
  QPen pen(QColor(0x1b, 0x3a, 0x6b));
  pen.setWidthF(2);
  balance_->setPen(pen);
  baseBalance_ = new QLineSeries();
  baseBalance_->setName("Balance without events");
  QPen basePen(QColor(0x8a, 0x8f, 0x98));
  basePen.setWidthF(1.5);
  basePen.setStyle(Qt::DashLine);
  baseBalance_->setPen(basePen);
  chart_->addSeries(bars_);
  chart_->addSeries(baseBalance_);
  chart_->addSeries(balance_);

  yearsAxis_ = NewAxis(chart_, Qt::AlignBottom);
  balanceAxis_ = NewAxis(chart_, Qt::AlignLeft);
  paidAxis_ = NewAxis(chart_, Qt::AlignRight);
  balanceAxis_->setTitleText("Balance");
  paidAxis_->setTitleText("Paid in the year");
  for (QCategoryAxis* a : {balanceAxis_, paidAxis_}) {
    QFont f = a->titleFont();
    f.setPointSizeF(f.pointSizeF() * 0.8);
    f.setBold(false);
    a->setTitleFont(f);
  }
  bars_->attachAxis(yearsAxis_);
  bars_->attachAxis(paidAxis_);
  balance_->attachAxis(yearsAxis_);
  balance_->attachAxis(balanceAxis_);
  baseBalance_->attachAxis(yearsAxis_);
  baseBalance_->attachAxis(balanceAxis_);

  view_ = new QChartView(chart_, this);
  view_->setObjectName("ChartView");
  view_->setRenderHint(QPainter::Antialiasing);
  view_->setFrameStyle(QFrame::NoFrame);
  auto* box = new QVBoxLayout(this);
  box->setContentsMargins(0, 0, 0, 0);
  box->addWidget(view_);
  Clear();
}

void ScheduleChart::Clear() {
  data_ = ScheduleChartData{};
  Fill(UsLocaleFormat());
}

void ScheduleChart::SetSchedule(const Schedule& schedule, const LocaleFormat& locale) {
  data_ = BuildChartData(schedule);
  Fill(locale);
}

void ScheduleChart::Fill(const LocaleFormat& locale) {
  QList<QPointF> points;
  points.reserve(static_cast<qsizetype>(data_.balance.size()));
  for (const ChartPoint& p : data_.balance) points.append(QPointF(p.x, p.balance));
  balance_->replace(points);
  // The loan without events, only for a schedule with events.
  QList<QPointF> base;
  base.reserve(static_cast<qsizetype>(data_.baseBalance.size()));
  for (const ChartPoint& p : data_.baseBalance) base.append(QPointF(p.x, p.balance));
  baseBalance_->replace(base);

  QList<qreal> principal, interest;
  principal.reserve(static_cast<qsizetype>(data_.years.size()));
  interest.reserve(static_cast<qsizetype>(data_.years.size()));
  for (const ChartYear& y : data_.years) {
    principal.append(y.principal);
    interest.append(y.interest);
  }
  principal_->remove(0, principal_->count());
  interest_->remove(0, interest_->count());
  principal_->append(principal);
  interest_->append(interest);

  // Years under their bars, every yearLabelStep-th labelled.
  for (const QString& label : yearsAxis_->categoriesLabels()) yearsAxis_->remove(label);
  const int count = static_cast<int>(data_.years.size());
  yearsAxis_->setStartValue(-0.5);
  for (int i = 0; i < count; i += data_.yearLabelStep)
    yearsAxis_->append(QString::number(data_.years[static_cast<std::size_t>(i)].year), i);
  yearsAxis_->setRange(-0.5, std::max(count, 1) - 0.5);
  SetMoneyTicks(balanceAxis_, data_.balanceAxis, locale);
  SetMoneyTicks(paidAxis_, data_.yearAxis, locale);
  chart_->legend()->setVisible(count > 0);
  for (QLegendMarker* m : chart_->legend()->markers(baseBalance_)) m->setVisible(!base.isEmpty());
  // The legend does not lay its entries out again when one is shown or
  // hidden: without this the entry of the balance without events is drawn
  // over another.
  chart_->legend()->layout()->invalidate();
}

void PaintScheduleChart(QPainter& painter, const QRectF& target, const Schedule& schedule,
                        const LocaleFormat& locale) {
  if (target.width() <= 0 || target.height() <= 0) return;
  // The widget is never shown: only its chart is laid out and rendered.
  ScheduleChart chart;
  chart.SetSchedule(schedule, locale);
  constexpr double kWidth = 640;
  const QSizeF size(kWidth, kWidth * target.height() / target.width());
  QChart* c = chart.chart();
  c->resize(size);
  c->setBackgroundVisible(false);  // the paper is the background
  painter.setRenderHint(QPainter::Antialiasing);
  c->scene()->render(&painter, target, QRectF(c->pos(), size), Qt::KeepAspectRatio);
}

}  // namespace brevika
