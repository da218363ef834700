// Grid model of the schedule window: reads the rows of one year (or all)
// straight from the engine's row table. Rows that carry a what-if event
// have a tinted background and say which events in their tool tip.
#pragma once
#include <QAbstractTableModel>
#include <QColor>

#include "amortization/schedule.h"
#include "finance/format.h"

namespace brevika {

class ScheduleModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column { kPeriod, kDate, kPayment, kPrincipal, kInterest, kBalance, kColumnCount };
  static constexpr int kColumnWidths[kColumnCount] = {55, 79, 106, 114, 114, 114};

  explicit ScheduleModel(const Schedule* schedule, QObject* parent = nullptr);

  // Shows schedule rows first..last; an empty range shows nothing.
  void SetRange(int first, int last);
  void Clear();
  int firstRow() const { return first_; }
  int lastRow() const { return last_; }
  void SetLocaleFormat(const LocaleFormat& format) { format_ = format; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // Text of a cell; "?" when the schedule has no such row.
  QString CellText(int gridRow, int column) const;
  // The events a grid row carries, in words ("Extra principal; New rate"),
  // empty for a row without any.
  QString EventsText(int gridRow) const;
  // The background of a row that carries an event.
  static const QColor& EventRowColor();

 private:
  const Schedule* schedule_;
  int first_ = 0, last_ = -1;
  LocaleFormat format_;
};

}  // namespace brevika
