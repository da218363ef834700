#include "records/ui/ledger_models.h"

#include <QBrush>
#include <QColor>
#include <QPalette>

namespace brevika {

LedgerModel::LedgerModel(QObject* parent) : QAbstractTableModel(parent) {}

void LedgerModel::SetLedger(const records::Ledger* ledger, Date asOf) {
  beginResetModel();
  ledger_ = ledger;
  asOf_ = asOf;
  lines_ = ledger ? records::LedgerLines(*ledger) : std::vector<records::LedgerLine>();
  endResetModel();
}

void LedgerModel::SetAsOf(Date asOf) {
  asOf_ = asOf;
  if (!lines_.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, kColumnCount - 1), {Qt::ForegroundRole});
}

const records::LedgerRow* LedgerModel::RowAt(int gridRow) const {
  if (!ledger_ || gridRow < 0 || gridRow >= static_cast<int>(lines_.size())) return nullptr;
  const int r = lines_[static_cast<std::size_t>(gridRow)].ledgerRow;
  return r < 0 ? nullptr : &ledger_->rows[static_cast<std::size_t>(r)];
}

int LedgerModel::GridRowOfPayment(std::size_t payment) const {
  for (std::size_t k = 0; k < lines_.size(); ++k) {
    const records::LedgerRow* row = RowAt(static_cast<int>(k));
    if (row && row->payment == payment) return static_cast<int>(k);
  }
  return -1;
}

int LedgerModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

int LedgerModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QString LedgerModel::CellText(int gridRow, int column) const {
  if (!ledger_ || gridRow < 0 || gridRow >= static_cast<int>(lines_.size())) return {};
  const records::LedgerLine& line = lines_[static_cast<std::size_t>(gridRow)];
  auto money = [this](double v) { return QString::fromStdString(FormatNumber(v, 2, format_)); };
  if (column == kDate) return QString::fromStdString(FormatShortDate(line.date, true));
  if (column <= kScheduledBalance) {
    if (line.scheduledRow < 0) return {};
    const ScheduleRow& s = ledger_->scheduled[static_cast<std::size_t>(line.scheduledRow)];
    if (column == kNo) return QString::number(s.pmtNo);
    return money(column == kScheduled ? s.payment : s.balance);
  }
  const records::LedgerRow* r = RowAt(gridRow);
  if (!r) return {};
  switch (column) {
    case kPaid: return money(r->amount);
    case kDays: return QString::number(r->days);
    case kInterest: return money(r->interest);
    case kPrincipal: return money(r->principal);
    case kUnpaid: return money(r->unpaidInterest);
    case kBalance: return money(r->balance);
    case kNote: return QString::fromStdString(r->note);
    default: return {};
  }
}

QVariant LedgerModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  switch (role) {
    case Qt::DisplayRole: return CellText(index.row(), index.column());
    case Qt::TextAlignmentRole: {
      const int c = index.column();
      const Qt::Alignment a = c == kDate || c == kNo ? Qt::AlignCenter
                              : c == kNote           ? (Qt::AlignLeft | Qt::AlignVCenter)
                                                     : (Qt::AlignRight | Qt::AlignVCenter);
      return static_cast<int>(a);
    }
    case Qt::ForegroundRole: {
      // Payments made in blue; what lies after the as-of day in grey.
      const records::LedgerLine& line = lines_[static_cast<std::size_t>(index.row())];
      if (asOf_ != kBadDate && line.date > asOf_) return QBrush(QColor(0x80, 0x80, 0x80));
      if (index.column() >= kPaid && line.ledgerRow >= 0) return QBrush(QColor(Qt::blue));
      return {};
    }
    default: return {};
  }
}

QVariant LedgerModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  static const char* const kHeads[kColumnCount] = {"Date",     "#",         "Scheduled",  "Sched. Balance",
                                                   "Paid",     "Days",      "Interest",   "Principal",
                                                   "Unpaid Int.", "Balance", "Note"};
  if (role == Qt::DisplayRole && section >= 0 && section < kColumnCount) return QString::fromLatin1(kHeads[section]);
  if (role == Qt::TextAlignmentRole) return static_cast<int>(Qt::AlignCenter);
  return {};
}

Qt::ItemFlags LedgerModel::flags(const QModelIndex& index) const {
  return index.isValid() ? (Qt::ItemIsEnabled | Qt::ItemIsSelectable) : Qt::NoItemFlags;
}

PaidByYearModel::PaidByYearModel(QObject* parent) : QAbstractTableModel(parent) {}

void PaidByYearModel::SetYears(std::vector<records::YearPaid> years) {
  beginResetModel();
  years_ = std::move(years);
  endResetModel();
}

int PaidByYearModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(years_.size());
}

int PaidByYearModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QString PaidByYearModel::CellText(int row, int column) const {
  if (row < 0 || row >= static_cast<int>(years_.size())) return {};
  const records::YearPaid& y = years_[static_cast<std::size_t>(row)];
  auto money = [this](double v) { return QString::fromStdString(FormatMoney(v, 2, format_)); };
  switch (column) {
    case kYear: return QString::number(y.year);
    case kPayments: return QString::number(y.payments);
    case kInterest: return money(y.interest);
    case kPrincipal: return money(y.principal);
    case kTotal: return money(y.amount);
    default: return {};
  }
}

QVariant PaidByYearModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  if (role == Qt::DisplayRole) return CellText(index.row(), index.column());
  if (role == Qt::TextAlignmentRole)
    return static_cast<int>(index.column() == kYear ? Qt::AlignCenter : (Qt::AlignRight | Qt::AlignVCenter));
  return {};
}

QVariant PaidByYearModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  static const char* const kHeads[kColumnCount] = {"Year", "Payments", "Interest", "Principal", "Total Paid"};
  if (role == Qt::DisplayRole && section >= 0 && section < kColumnCount) return QString::fromLatin1(kHeads[section]);
  if (role == Qt::TextAlignmentRole) return static_cast<int>(Qt::AlignCenter);
  return {};
}

Qt::ItemFlags PaidByYearModel::flags(const QModelIndex& index) const {
  return index.isValid() ? (Qt::ItemIsEnabled | Qt::ItemIsSelectable) : Qt::NoItemFlags;
}

}  // namespace brevika
