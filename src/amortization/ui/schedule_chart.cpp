#include "amortization/ui/schedule_chart.h"

#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QStackedBarSeries>

#include "components/chart_style.h"

namespace brevika {

ScheduleChart::ScheduleChart(QWidget* parent) : QWidget(parent) {
  setObjectName("ScheduleChart");
  chart_ = NewChart();

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
  balance_->setPen(LinePen(QColor(0x1b, 0x3a, 0x6b), 2));
  baseBalance_ = new QLineSeries();
  baseBalance_->setName("Balance without events");
  baseBalance_->setPen(LinePen(QColor(0x8a, 0x8f, 0x98), 1.5, Qt::DashLine));
  chart_->addSeries(bars_);
  chart_->addSeries(baseBalance_);
  chart_->addSeries(balance_);

  yearsAxis_ = NewCategoryAxis(chart_, Qt::AlignBottom);
  balanceAxis_ = NewCategoryAxis(chart_, Qt::AlignLeft);
  paidAxis_ = NewCategoryAxis(chart_, Qt::AlignRight);
  balanceAxis_->setTitleText("Balance");
  paidAxis_->setTitleText("Paid in the year");
  UsePlainTitleFont(balanceAxis_);
  UsePlainTitleFont(paidAxis_);
  bars_->attachAxis(yearsAxis_);
  bars_->attachAxis(paidAxis_);
  balance_->attachAxis(yearsAxis_);
  balance_->attachAxis(balanceAxis_);
  baseBalance_->attachAxis(yearsAxis_);
  baseBalance_->attachAxis(balanceAxis_);

  view_ = FillWithChart(this, chart_, "ChartView");
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
  SetMoneyTicks(balanceAxis_, data_.balanceAxis.top, data_.balanceAxis.step, locale);
  SetMoneyTicks(paidAxis_, data_.yearAxis.top, data_.yearAxis.step, locale);
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
