#include "records/ui/ledger_chart.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QPainter>
#include <QVBoxLayout>

#include "components/qt_strings.h"

namespace brevika {

namespace {

QCategoryAxis* NewAxis(QChart* chart, Qt::Alignment where) {
  auto* axis = new QCategoryAxis(chart);
  axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  QFont f = axis->labelsFont();
  f.setPointSizeF(f.pointSizeF() * 0.85);
  axis->setLabelsFont(f);
  chart->addAxis(axis, where);
  return axis;
}

QLineSeries* NewLine(QChart* chart, const char* name, const QColor& color, Qt::PenStyle style) {
  auto* s = new QLineSeries();
  s->setName(QString::fromLatin1(name));
  QPen pen(color);
  pen.setWidthF(2);
  pen.setStyle(style);
  s->setPen(pen);
  chart->addSeries(s);
  return s;
}

}  // namespace

LedgerChart::LedgerChart(QWidget* parent) : QWidget(parent) {
  setObjectName("LedgerChart");
  chart_ = new QChart();
  chart_->setMargins(QMargins(2, 2, 2, 2));
  chart_->setBackgroundRoundness(0);
  chart_->legend()->setAlignment(Qt::AlignBottom);
  QFont legendFont = chart_->legend()->font();
  legendFont.setPointSizeF(legendFont.pointSizeF() * 0.85);
  chart_->legend()->setFont(legendFont);
  scheduled_ = NewLine(chart_, "Scheduled balance", QColor(0x4c, 0x8b, 0xc9), Qt::DashLine);
  actual_ = NewLine(chart_, "Actual balance", QColor(0xc9, 0x4c, 0x2e), Qt::SolidLine);
  yearsAxis_ = NewAxis(chart_, Qt::AlignBottom);
  balanceAxis_ = NewAxis(chart_, Qt::AlignLeft);
  balanceAxis_->setTitleText("Balance");
  QFont f = balanceAxis_->titleFont();
  f.setPointSizeF(f.pointSizeF() * 0.8);
  f.setBold(false);
  balanceAxis_->setTitleFont(f);
  for (QLineSeries* s : {scheduled_, actual_}) {
    s->attachAxis(yearsAxis_);
    s->attachAxis(balanceAxis_);
  }
  view_ = new QChartView(chart_, this);
  view_->setObjectName("LedgerChartView");
  view_->setRenderHint(QPainter::Antialiasing);
  view_->setFrameStyle(QFrame::NoFrame);
  auto* box = new QVBoxLayout(this);
  box->setContentsMargins(0, 0, 0, 0);
  box->addWidget(view_);
  Clear();
}

void LedgerChart::Clear() {
  data_ = records::LedgerChartData{};
  Fill(UsLocaleFormat());
}

void LedgerChart::SetLedger(const records::Ledger& ledger, const LocaleFormat& locale) {
  data_ = records::BuildLedgerChart(ledger);
  Fill(locale);
}

void LedgerChart::Fill(const LocaleFormat& locale) {
  auto points = [](const std::vector<ChartPoint>& from) {
    QList<QPointF> out;
    out.reserve(static_cast<qsizetype>(from.size()));
    for (const ChartPoint& p : from) out.append(QPointF(p.x, p.balance));
    return out;
  };
  scheduled_->replace(points(data_.scheduled));
  actual_->replace(points(data_.actual));

  // Each year's label on its 1 January, where its part of the lines begins.
  for (const QString& label : yearsAxis_->categoriesLabels()) yearsAxis_->remove(label);
  const int count = static_cast<int>(data_.years.size());
  yearsAxis_->setStartValue(-0.501);
  for (int i = 0; i < count; i += data_.yearLabelStep)
    yearsAxis_->append(QString::number(data_.years[static_cast<std::size_t>(i)]), i - 0.5);
  yearsAxis_->setRange(-0.5, std::max(count, 1) - 0.5);

  for (const QString& label : balanceAxis_->categoriesLabels()) balanceAxis_->remove(label);
  const ChartAxis& a = data_.balanceAxis;
  balanceAxis_->setStartValue(0);
  const int steps = static_cast<int>(a.top / a.step + 0.5);
  for (int k = 0; k <= steps; ++k) balanceAxis_->append(Q(FormatMoney(k * a.step, 0, locale)), k * a.step);
  balanceAxis_->setRange(0, a.top);
  chart_->legend()->setVisible(count > 0);
}

}  // namespace brevika
