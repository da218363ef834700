#include "amortization/ui/schedule_model.h"

#include "amortization/amort_records.h"

namespace brevika {

ScheduleModel::ScheduleModel(const Schedule* schedule, QObject* parent)
    : QAbstractTableModel(parent), schedule_(schedule) {}

void ScheduleModel::SetRange(int first, int last) {
  beginResetModel();
  first_ = first;
  last_ = last;
  endResetModel();
}

void ScheduleModel::Clear() { SetRange(0, -1); }

int ScheduleModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() || last_ < first_ ? 0 : last_ - first_ + 1;
}

int ScheduleModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QString ScheduleModel::CellText(int gridRow, int column) const {
  const int k = first_ + gridRow;
  if (!schedule_ || gridRow < 0 || k > last_ || k > schedule_->lastRow() ||
      k > schedule_->maxPeriods())
    return QStringLiteral("?");
  const ScheduleRow& r = schedule_->row(k);
  auto money = [this](double v) { return QString::fromStdString(FormatNumber(v, 2, format_)); };
  switch (column) {
    case kPeriod: return QString::fromLatin1(r.periodLabel).trimmed();
    case kDate: return QString::fromStdString(FormatShortDate(r.date));
    case kPayment: return money(r.payment);
    case kPrincipal: return money(r.principal);
    case kInterest: return money(r.interest);
    case kBalance: return money(r.balance);
    default: return {};
  }
}

QString ScheduleModel::EventsText(int gridRow) const {
  const int k = first_ + gridRow;
  if (!schedule_ || gridRow < 0 || k > last_ || k > schedule_->lastRow()) return {};
  const std::uint8_t marks = schedule_->eventMarks(k);
  static const std::pair<std::uint8_t, const char*> kWords[] = {
      {kMarkExtra, "Extra principal"},   {kMarkLump, "Lump sum"},
      {kMarkRate, "New rate"},           {kMarkHoliday, "Payment skipped"},
      {kMarkNewPayment, "Payment recomputed"}};
  QString text;
  for (const auto& [bit, word] : kWords)
    if (marks & bit) text += (text.isEmpty() ? QString() : QStringLiteral("; ")) + QLatin1String(word);
  return text;
}

const QColor& ScheduleModel::EventRowColor() {
  static const QColor pale(0xff, 0xf1, 0xc4);
  return pale;
}

QVariant ScheduleModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  if (role == Qt::DisplayRole) return CellText(index.row(), index.column());
  if (role == Qt::BackgroundRole || role == Qt::ToolTipRole || role == Qt::AccessibleDescriptionRole) {
    if (!schedule_ || !schedule_->hasEvents()) return {};
    const QString events = EventsText(index.row());
    if (events.isEmpty()) return {};
    if (role == Qt::BackgroundRole) return EventRowColor();
    return events;
  }
  if (role == Qt::TextAlignmentRole) {
    const Qt::Alignment a = index.column() <= kDate ? Qt::AlignCenter
                                                    : (Qt::AlignRight | Qt::AlignVCenter);
    return static_cast<int>(a);
  }
  return {};
}

QVariant ScheduleModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  static const char* const kHeads[kColumnCount] = {"#/YR",      "Date",     "Payment",
                                                   "Principal", "Interest", "Balance"};
  if (role == Qt::DisplayRole && section >= 0 && section < kColumnCount)
    return QString::fromLatin1(kHeads[section]);
  if (role == Qt::TextAlignmentRole) return static_cast<int>(Qt::AlignCenter);
  return {};
}

Qt::ItemFlags ScheduleModel::flags(const QModelIndex& index) const {
  return index.isValid() ? (Qt::ItemIsEnabled | Qt::ItemIsSelectable) : Qt::NoItemFlags;
}

}  // namespace brevika
