// The ledger window's chart: the balance the schedule foresaw and the
// balance the payments left, as two lines over the years, money in the
// locale's format on the left axis.
#pragma once
#include <QWidget>

#include "finance/format.h"
#include "records/ledger.h"
#include "records/loan_ledger.h"

QT_BEGIN_NAMESPACE
class QCategoryAxis;
class QChart;
class QChartView;
class QLineSeries;
QT_END_NAMESPACE

namespace brevika {

class LedgerChart : public QWidget {
  Q_OBJECT
 public:
  explicit LedgerChart(QWidget* parent = nullptr);

  void SetLedger(const records::Ledger& ledger, const LocaleFormat& locale);
  void Clear();

  const records::LedgerChartData& data() const { return data_; }
  QLineSeries* scheduledSeries() const { return scheduled_; }
  QLineSeries* actualSeries() const { return actual_; }

 private:
  void Fill(const LocaleFormat& locale);

  records::LedgerChartData data_;
  QChartView* view_;
  QChart* chart_;
  QLineSeries* scheduled_;
  QLineSeries* actual_;
  QCategoryAxis* yearsAxis_;
  QCategoryAxis* balanceAxis_;
};

}  // namespace brevika
