// A grid the user types rows of values into: each column an amount, a
// count, a date or a choice from a list. A cell is edited in the program's
// masked field of its kind (a drop-down for a choice), so it takes what
// that field takes, and shows its value as that field does. A blank row
// stands at the end for the next entry. Keys: typing or F2 edits a cell,
// Enter ends the edit, Tab while editing goes on to the next cell; Ins
// inserts a row above the current one, Ctrl+Del deletes the current row,
// Del clears the current cell. The context menu has the row commands too.
#pragma once
#include <QStringList>
#include <QTableView>
#include <memory>
#include <vector>

#include "finance/items.h"

namespace brevika {

enum class GridColumnKind { Money, Count, Date, Choice };

struct GridColumn {
  GridColumnKind kind = GridColumnKind::Money;
  int width = 100;                  // pixels
  const ItemList* items = nullptr;  // Choice: its items
  int defaultIndex = 0;             // Choice: the item of a new row
};

// One value per column: an amount, a count, a day number (kBadDate when
// there is none) or an item index.
using GridRow = std::vector<double>;

class EntryGridModel;

class EntryGrid : public QTableView {
  Q_OBJECT
 public:
  EntryGrid(std::vector<GridColumn> columns, int visibleRows, QWidget* parent = nullptr);
  ~EntryGrid() override;

  void SetHeadings(const QStringList& headings);
  // The rows that are not blank, in order (the row being edited included).
  std::vector<GridRow> Rows();
  // Replaces every row; the blank row follows them.
  void SetRows(const std::vector<GridRow>& rows);
  // Widens the columns, each by its share, so that the grid is `width`
  // pixels wide.
  void WidenTo(int width);
  // Rows shown, the blank one included.
  int RowCount() const;
  // The value of a cell as text, as the grid shows it.
  QString CellText(int row, int column) const;

  // Ends an edit in progress, keeping what was typed.
  void CommitEdit();
  // Row commands on the current row.
  void InsertRow();
  void DeleteRow();
  void ClearCell();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  friend class EntryGridDelegate;
  EntryGridModel* model_;
  QWidget* editor_ = nullptr;  // the open editor, set by the delegate
};

}  // namespace brevika
