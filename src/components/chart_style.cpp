#include "components/chart_style.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QPainter>
#include <QVBoxLayout>

#include "components/qt_strings.h"

namespace brevika {

QFont Smaller(QFont f, double share) {
  f.setPointSizeF(f.pointSizeF() * share);
  return f;
}

QPen LinePen(const QColor& colour, double width, Qt::PenStyle style) {
  QPen pen(colour);
  pen.setWidthF(width);
  pen.setStyle(style);
  return pen;
}

QChart* NewChart() {
  auto* chart = new QChart();
  chart->setMargins(QMargins(2, 2, 2, 2));
  chart->setBackgroundRoundness(0);
  chart->legend()->setAlignment(Qt::AlignBottom);
  chart->legend()->setFont(Smaller(chart->legend()->font(), 0.85));
  return chart;
}

QCategoryAxis* NewCategoryAxis(QChart* chart, Qt::Alignment where) {
  auto* axis = new QCategoryAxis(chart);
  axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  axis->setLabelsFont(Smaller(axis->labelsFont(), 0.85));
  chart->addAxis(axis, where);
  return axis;
}

void UsePlainTitleFont(QAbstractAxis* axis) {
  QFont f = Smaller(axis->titleFont(), 0.8);
  f.setBold(false);
  axis->setTitleFont(f);
}

void SetMoneyTicks(QCategoryAxis* axis, double top, double step, const LocaleFormat& locale) {
  for (const QString& label : axis->categoriesLabels()) axis->remove(label);
  axis->setStartValue(0);
  const int steps = static_cast<int>(top / step + 0.5);
  for (int k = 0; k <= steps; ++k) {
    const double v = k * step;
    axis->append(Q(FormatMoney(v, 0, locale)), v);
  }
  axis->setRange(0, top);
}

QChartView* FillWithChart(QWidget* host, QChart* chart, const QString& name) {
  auto* view = new QChartView(chart, host);
  view->setObjectName(name);
  view->setRenderHint(QPainter::Antialiasing);
  view->setFrameStyle(QFrame::NoFrame);
  auto* box = new QVBoxLayout(host);
  box->setContentsMargins(0, 0, 0, 0);
  box->addWidget(view);
  return view;
}

}  // namespace brevika
