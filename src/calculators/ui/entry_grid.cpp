#include "calculators/ui/entry_grid.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>
#include <cmath>
#include <limits>

#include "components/locale_info.h"
#include "components/masked_fields.h"
#include "finance/format.h"
#include "finance/periods.h"

namespace brevika {

namespace {

// A value that makes no entry: no amount, no count, no date. A choice alone
// makes none either (every row has one).
bool IsNone(GridColumnKind kind, double v) {
  switch (kind) {
    case GridColumnKind::Money:
    case GridColumnKind::Count: return v == 0;
    case GridColumnKind::Date: return v == kBadDate;
    case GridColumnKind::Choice: return true;
  }
  return true;
}

// The money mask of the user's country, as the calculator windows' money
// fields take it.
void ApplyCountryMask(MoneyField* f) {
  const int country = CurrentLocaleInfo().countryCode;
  if (country != 1) f->SetMask(MoneyMaskForCountry(country));
}

}  // namespace

class EntryGridModel : public QAbstractTableModel {
 public:
  EntryGridModel(std::vector<GridColumn> columns, QObject* parent)
      : QAbstractTableModel(parent), columns_(std::move(columns)), money_(std::make_unique<MoneyField>()) {
    ApplyCountryMask(money_.get());
    rows_.push_back(BlankRow());
  }

  const std::vector<GridColumn>& columns() const { return columns_; }

  GridRow BlankRow() const {
    GridRow row;
    for (const GridColumn& c : columns_)
      row.push_back(c.kind == GridColumnKind::Date     ? static_cast<double>(kBadDate)
                    : c.kind == GridColumnKind::Choice ? c.defaultIndex
                                                       : 0.0);
    return row;
  }
  bool IsBlank(const GridRow& row) const {
    for (std::size_t k = 0; k < columns_.size(); ++k)
      if (!IsNone(columns_[k].kind, row[k])) return false;
    return true;
  }
  double NoneOf(int column) const { return BlankRow()[static_cast<std::size_t>(column)]; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
  }
  int columnCount(const QModelIndex& parent = QModelIndex()) const override {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
  }
  Qt::ItemFlags flags(const QModelIndex& index) const override {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < headings_.size())
      return headings_[section];
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid()) return {};
    const GridRow& row = rows_[static_cast<std::size_t>(index.row())];
    const GridColumn& c = columns_[static_cast<std::size_t>(index.column())];
    switch (role) {
      case Qt::DisplayRole: return Text(row, index.column());
      case Qt::EditRole: return row[static_cast<std::size_t>(index.column())];
      case Qt::TextAlignmentRole:
        switch (c.kind) {
          case GridColumnKind::Money:
          case GridColumnKind::Count: return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
          case GridColumnKind::Date: return QVariant::fromValue(Qt::AlignHCenter | Qt::AlignVCenter);
          case GridColumnKind::Choice: return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
        }
        break;
      default: break;
    }
    return {};
  }
  bool setData(const QModelIndex& index, const QVariant& value, int role) override {
    if (!index.isValid() || role != Qt::EditRole) return false;
    const double v = value.toDouble();
    if (!std::isfinite(v)) return false;
    const int r = index.row();
    rows_[static_cast<std::size_t>(r)][static_cast<std::size_t>(index.column())] = v;
    // The whole row: a choice shows once the row holds an entry.
    emit dataChanged(this->index(r, 0), this->index(r, columnCount() - 1));
    if (r == rowCount() - 1 && !IsBlank(rows_.back())) {
      beginInsertRows(QModelIndex(), rowCount(), rowCount());
      rows_.push_back(BlankRow());
      endInsertRows();
    }
    return true;
  }

  QString Text(const GridRow& row, int column) const {
    const GridColumn& c = columns_[static_cast<std::size_t>(column)];
    const double v = row[static_cast<std::size_t>(column)];
    if (c.kind == GridColumnKind::Choice) {
      const int i = static_cast<int>(v);
      if (IsBlank(row) || !c.items || i < 0 || i >= static_cast<int>(c.items->size())) return QString();
      return QString::fromStdString((*c.items)[static_cast<std::size_t>(i)]);
    }
    if (IsNone(c.kind, v)) return QString();
    switch (c.kind) {
      case GridColumnKind::Money:
        money_->setValue(v);
        return money_->text();
      case GridColumnKind::Count:
        return QString::fromStdString(FormatNumber(v, 0, CurrentLocaleInfo().format));
      case GridColumnKind::Date:
        return QString::fromStdString(FormatShortDate(static_cast<Date>(v), true));
      case GridColumnKind::Choice: break;
    }
    return QString();
  }

  void SetHeadings(const QStringList& headings) {
    headings_ = headings;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
  }
  void SetRows(const std::vector<GridRow>& rows) {
    beginResetModel();
    rows_.clear();
    for (const GridRow& r : rows)
      if (r.size() == columns_.size()) rows_.push_back(r);
    rows_.push_back(BlankRow());
    endResetModel();
  }
  std::vector<GridRow> Rows() const {
    std::vector<GridRow> out;
    for (const GridRow& r : rows_)
      if (!IsBlank(r)) out.push_back(r);
    return out;
  }
  void Insert(int at) {
    at = std::clamp(at, 0, rowCount());
    beginInsertRows(QModelIndex(), at, at);
    rows_.insert(rows_.begin() + at, BlankRow());
    endInsertRows();
  }
  // The blank row at the end stays.
  bool Remove(int at) {
    if (at < 0 || at >= rowCount() - 1) return false;
    beginRemoveRows(QModelIndex(), at, at);
    rows_.erase(rows_.begin() + at);
    endRemoveRows();
    return true;
  }

 private:
  std::vector<GridColumn> columns_;
  std::vector<GridRow> rows_;
  QStringList headings_;
  // Formats amounts as a money field shows them (mask, currency, locale).
  std::unique_ptr<MoneyField> money_;
};

// Edits a cell in the masked field of its column (a drop-down for a choice).
class EntryGridDelegate : public QStyledItemDelegate {
 public:
  EntryGridDelegate(EntryGrid* grid, EntryGridModel* model)
      : QStyledItemDelegate(grid), grid_(grid), model_(model) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                        const QModelIndex& index) const override {
    const GridColumn& c = model_->columns()[static_cast<std::size_t>(index.column())];
    QWidget* editor = nullptr;
    switch (c.kind) {
      case GridColumnKind::Money: {
        auto* f = new MoneyField(parent);
        ApplyCountryMask(f);
        editor = f;
        break;
      }
      case GridColumnKind::Count: {
        auto* f = new CountField(parent);
        f->SetMaximum(std::numeric_limits<std::int16_t>::max());
        editor = f;
        break;
      }
      case GridColumnKind::Date: {
        auto* f = new DateField(parent);
        f->SetFourDigitYear(true);
        editor = f;
        break;
      }
      case GridColumnKind::Choice: {
        auto* box = new QComboBox(parent);
        if (c.items)
          for (const std::string& item : *c.items) box->addItem(QString::fromStdString(item));
        editor = box;
        break;
      }
    }
    if (auto* line = qobject_cast<QLineEdit*>(editor)) line->setFrame(false);
    grid_->editor_ = editor;
    QObject::connect(editor, &QObject::destroyed, grid_, [grid = grid_, editor] {
      if (grid->editor_ == editor) grid->editor_ = nullptr;
    });
    return editor;
  }

  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    const double v = index.data(Qt::EditRole).toDouble();
    if (auto* f = qobject_cast<MoneyField*>(editor)) f->setValue(v);
    else if (auto* f = qobject_cast<CountField*>(editor)) f->setValue(static_cast<std::int16_t>(v));
    else if (auto* f = qobject_cast<DateField*>(editor)) f->setValue(static_cast<Date>(v));
    else if (auto* box = qobject_cast<QComboBox*>(editor)) box->setCurrentIndex(static_cast<int>(v));
  }

  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
    double v = 0;
    if (auto* f = qobject_cast<MoneyField*>(editor)) v = f->value();
    else if (auto* f = qobject_cast<CountField*>(editor)) v = f->value();
    else if (auto* f = qobject_cast<DateField*>(editor)) v = f->value();
    else if (auto* box = qobject_cast<QComboBox*>(editor)) v = box->currentIndex();
    else return;
    model->setData(index, v, Qt::EditRole);
  }

 protected:
  bool eventFilter(QObject* object, QEvent* event) override {
    auto* editor = qobject_cast<QWidget*>(object);
    if (editor && event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      // Enter ends the entry of the cell, not the window's Calc; Escape
      // drops it, not the window.
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        emit commitData(editor);
        emit closeEditor(editor, QAbstractItemDelegate::NoHint);
        return true;
      }
      if (key == Qt::Key_Escape) {
        emit closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
        return true;
      }
    }
    return QStyledItemDelegate::eventFilter(object, event);
  }

 private:
  EntryGrid* grid_;
  EntryGridModel* model_;
};

EntryGrid::EntryGrid(std::vector<GridColumn> columns, int visibleRows, QWidget* parent)
    : QTableView(parent) {
  int width = 0;
  for (const GridColumn& c : columns) width += c.width;
  const std::vector<int> widths = [&columns] {
    std::vector<int> w;
    for (const GridColumn& c : columns) w.push_back(c.width);
    return w;
  }();
  model_ = new EntryGridModel(std::move(columns), this);
  setModel(model_);
  setItemDelegate(new EntryGridDelegate(this, model_));
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                  QAbstractItemView::AnyKeyPressed);
  // Tab leaves the grid, as it leaves any field; while a cell is being
  // edited it goes on to the next cell.
  setTabKeyNavigation(false);
  setWordWrap(false);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  const int rowHeight = fontMetrics().height() + 8;
  verticalHeader()->setDefaultSectionSize(rowHeight);
  QHeaderView* head = horizontalHeader();
  head->setSectionResizeMode(QHeaderView::Fixed);
  head->setSectionsClickable(false);
  head->setHighlightSections(false);
  for (std::size_t c = 0; c < widths.size(); ++c) head->resizeSection(static_cast<int>(c), widths[c]);
  const int frame = 2 * frameWidth();
  setFixedWidth(width + verticalScrollBar()->sizeHint().width() + frame);
  setFixedHeight(head->sizeHint().height() + visibleRows * rowHeight + frame);
}

EntryGrid::~EntryGrid() = default;

void EntryGrid::SetHeadings(const QStringList& headings) { model_->SetHeadings(headings); }

std::vector<GridRow> EntryGrid::Rows() {
  CommitEdit();
  return model_->Rows();
}

void EntryGrid::SetRows(const std::vector<GridRow>& rows) {
  if (editor_) closeEditor(editor_, QAbstractItemDelegate::RevertModelCache);
  model_->SetRows(rows);
}

void EntryGrid::WidenTo(int width) {
  const int extra = width - this->width();
  QHeaderView* head = horizontalHeader();
  const int columns = model_->columnCount();
  if (extra <= 0 || columns == 0) return;
  int total = 0;
  for (int c = 0; c < columns; ++c) total += head->sectionSize(c);
  int given = 0;
  for (int c = 0; c < columns; ++c) {
    // The last column takes what rounding leaves.
    const int share = c + 1 < columns ? extra * head->sectionSize(c) / std::max(total, 1) : extra - given;
    head->resizeSection(c, head->sectionSize(c) + share);
    given += share;
  }
  setFixedWidth(width);
}

int EntryGrid::RowCount() const { return model_->rowCount(); }

QString EntryGrid::CellText(int row, int column) const {
  return model_->data(model_->index(row, column), Qt::DisplayRole).toString();
}

void EntryGrid::CommitEdit() {
  if (!editor_) return;
  QWidget* editor = editor_;
  commitData(editor);
  closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void EntryGrid::InsertRow() {
  CommitEdit();
  const QModelIndex at = currentIndex();
  const int row = at.isValid() ? at.row() : 0;
  model_->Insert(row);
  setCurrentIndex(model_->index(row, at.isValid() ? at.column() : 0));
}

void EntryGrid::DeleteRow() {
  CommitEdit();
  const QModelIndex at = currentIndex();
  if (!at.isValid() || !model_->Remove(at.row())) return;
  setCurrentIndex(model_->index(std::min(at.row(), model_->rowCount() - 1), at.column()));
}

void EntryGrid::ClearCell() {
  const QModelIndex at = currentIndex();
  if (!at.isValid() || editor_) return;
  model_->setData(at, model_->NoneOf(at.column()), Qt::EditRole);
}

void EntryGrid::keyPressEvent(QKeyEvent* event) {
  if (state() != QAbstractItemView::EditingState) {
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Insert && mods == Qt::NoModifier) {
      InsertRow();
      return;
    }
    if (event->key() == Qt::Key_Delete && mods == Qt::ControlModifier) {
      DeleteRow();
      return;
    }
    if (event->key() == Qt::Key_Delete && mods == Qt::NoModifier) {
      ClearCell();
      return;
    }
  }
  QTableView::keyPressEvent(event);
}

void EntryGrid::contextMenuEvent(QContextMenuEvent* event) {
  // By mouse the cell under the pointer (the event comes in the
  // viewport's coordinates), by keyboard the current one.
  if (event->reason() == QContextMenuEvent::Mouse) {
    const QModelIndex at = indexAt(event->pos());
    if (at.isValid()) setCurrentIndex(at);
  }
  QMenu menu(this);
  menu.addAction(QStringLiteral("&Insert Row\tIns"), this, &EntryGrid::InsertRow);
  QAction* remove = menu.addAction(QStringLiteral("&Delete Row\tCtrl+Del"), this, &EntryGrid::DeleteRow);
  remove->setEnabled(currentIndex().isValid() && currentIndex().row() < model_->rowCount() - 1);
  QAction* clear = menu.addAction(QStringLiteral("&Clear\tDel"), this, &EntryGrid::ClearCell);
  clear->setEnabled(currentIndex().isValid());
  menu.exec(event->globalPos());
}

}  // namespace brevika
