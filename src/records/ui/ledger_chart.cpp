#include "records/ui/ledger_chart.h"

#include <QCategoryAxis>
#include <QChart>
#include <QLineSeries>

#include "components/chart_style.h"

namespace brevika {

namespace {

QLineSeries* NewLine(QChart* chart, const char* name, const QColor& color, Qt::PenStyle style) {
  auto* s = new QLineSeries();
  s->setName(QString::fromLatin1(name));
  s->setPen(LinePen(color, 2, style));
  chart->addSeries(s);
  return s;
}

}  // namespace

LedgerChart::LedgerChart(QWidget* parent) : QWidget(parent) {
  setObjectName("LedgerChart");
  chart_ = NewChart();
  scheduled_ = NewLine(chart_, "Scheduled balance", QColor(0x4c, 0x8b, 0xc9), Qt::DashLine);
  actual_ = NewLine(chart_, "Actual balance", QColor(0xc9, 0x4c, 0x2e), Qt::SolidLine);
  yearsAxis_ = NewCategoryAxis(chart_, Qt::AlignBottom);
  balanceAxis_ = NewCategoryAxis(chart_, Qt::AlignLeft);
  balanceAxis_->setTitleText("Balance");
  UsePlainTitleFont(balanceAxis_);
  for (QLineSeries* s : {scheduled_, actual_}) {
    s->attachAxis(yearsAxis_);
    s->attachAxis(balanceAxis_);
  }
  view_ = FillWithChart(this, chart_, "LedgerChartView");
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

  SetMoneyTicks(balanceAxis_, data_.balanceAxis.top, data_.balanceAxis.step, locale);
  chart_->legend()->setVisible(count > 0);
}

}  // namespace brevika
