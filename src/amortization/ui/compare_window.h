// Compare Loans window: on the entry page two to four offer columns (the
// terms of each, "Add &Offer" and a "Remo&ve" under each column), the
// horizon and the discount rate; Calc shows the results page: each offer's
// figures under its column, the break-even lines and the verdict, and a
// chart of each offer's cost over the years with the horizon marked.
// The columns are bound through the transfer component to a copy of the
// record's offers, which is read back into the record's offers as far as
// the record has them. Print shows the one page in a print preview.
#pragma once
#include <array>

#include "amortization/compare_record.h"
#include "calculators/ui/kind_window.h"

class QComboBox;
class QFrame;
class QGridLayout;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace brevika {

class CompareChart;

class TcLoCompare : public KindWindow<CompareRecord> {
  Q_OBJECT
 public:
  TcLoCompare(CompareRecord* record, int slot, AppServices* services, QWidget* parent = nullptr);

  // Offer columns shown (those of the record).
  int columnCount() const { return shownColumns_; }
  CompareChart* chart() const { return chart_; }

 public slots:
  // Keep what is typed, add an empty column after the last, and go to it.
  void AddBTNClick();
  // Keep what is typed and remove a column (0-based).
  void RemoveBTNClick(int column);

 protected:
  Outcome Calculate() override;
  void ResetRecord() override;
  bool SendPages(const std::vector<Page>& pages, const QString& title, const QFont& font) override;

 private:
  struct Column {
    QLabel* heading = nullptr;
    MoneyField* PV = nullptr;
    CountField* NumPmts = nullptr;
    RateField* Rate = nullptr;
    RateField* Points = nullptr;
    MoneyField* Fees = nullptr;
    QComboBox* PYR = nullptr;
    QComboBox* CmpPYR = nullptr;
    QComboBox* AmortMthd = nullptr;
    QPushButton* remove = nullptr;
    QLabel* figureHeading = nullptr;
    std::array<QWidget*, 8> figures{};
  };
  void BuildOffers(QGridLayout* grid, QWidget* panel);
  void BuildFigures(QGridLayout* grid, QWidget* panel);
  MoneyField* NewMoney(QWidget* parent, const QString& name, int help);
  QLabel* Caption(QWidget* parent, const char* name, std::string& caption, QWidget* buddy);
  // The record's offers into the columns' copy (columns beyond them hidden);
  // the copy's terms back into the record's offers.
  void LoadColumns();
  void StoreColumns();
  void ShowColumns(int count);
  // A window grown by a column moves back onto its screen.
  void KeepOnScreen();
  void SetTabChain();
  // After a refusal: the entry page, the focus where the refusal points.
  void FocusRefusal(int offer);

  std::array<Column, kMaxOffers> columns_;
  std::array<CompareOfferEntry, kMaxOffers> shown_;
  std::array<float, kMaxOffers> apr_{};
  int shownColumns_ = 0;
  QPushButton* AddBTN_ = nullptr;
  CountField* Horizon_ = nullptr;
  RateField* DiscRate_ = nullptr;
  QPlainTextEdit* memo_ = nullptr;
  CompareChart* chart_ = nullptr;
  QPushButton* dataEntry_ = nullptr;
};
template <>
struct KindWindowOf<CompareRecord> { using type = TcLoCompare; };

}  // namespace brevika
