// Grid models of the ledger window: the scheduled and the actual payments
// side by side by date, and what the payments paid in each calendar year.
#pragma once
#include <QAbstractTableModel>
#include <vector>

#include "finance/format.h"
#include "records/ledger.h"

namespace brevika {

class LedgerModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column {
    kDate, kNo, kScheduled, kScheduledBalance, kPaid, kDays, kInterest, kPrincipal, kUnpaid, kBalance, kNote,
    kColumnCount
  };
  static constexpr int kColumnWidths[kColumnCount] = {80, 34, 84, 96, 84, 40, 76, 84, 76, 96, 120};

  explicit LedgerModel(QObject* parent = nullptr);

  // Shows the lines of `ledger` (kept by the caller); lines after `asOf`
  // are greyed. Null shows nothing.
  void SetLedger(const records::Ledger* ledger, Date asOf);
  // Greys the lines after another day, keeping the rows.
  void SetAsOf(Date asOf);
  void SetLocaleFormat(const LocaleFormat& format) { format_ = format; }

  const std::vector<records::LedgerLine>& lines() const { return lines_; }
  // The ledger row of a grid row, null when it holds no actual payment.
  const records::LedgerRow* RowAt(int gridRow) const;
  // The grid row of a payment (its index in the ledger's inputs), -1 if none.
  int GridRowOfPayment(std::size_t payment) const;
  QString CellText(int gridRow, int column) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  const records::Ledger* ledger_ = nullptr;
  std::vector<records::LedgerLine> lines_;
  Date asOf_ = kBadDate;
  LocaleFormat format_;
};

class PaidByYearModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column { kYear, kPayments, kInterest, kPrincipal, kTotal, kColumnCount };
  static constexpr int kColumnWidths[kColumnCount] = {80, 90, 130, 130, 130};

  explicit PaidByYearModel(QObject* parent = nullptr);
  void SetYears(std::vector<records::YearPaid> years);
  void SetLocaleFormat(const LocaleFormat& format) { format_ = format; }
  QString CellText(int row, int column) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  std::vector<records::YearPaid> years_;
  LocaleFormat format_;
};

}  // namespace brevika
