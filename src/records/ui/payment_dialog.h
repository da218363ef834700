// The payment dialogs of the ledger window: one payment's date, amount and
// note, to add or to change; and the preview of a lender's statement, in
// which the user picks the date and the amount columns before importing.
// Both stay open while what they hand on is refused, with its message.
#pragma once
#include <QString>
#include <functional>
#include <string>

#include "components/window_base.h"
#include "finance/outcome.h"
#include "records/ledger.h"
#include "records/statement_import.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QTableView;
class QStandardItemModel;

namespace brevika {

class DateField;
class MoneyField;

// Help topics of the ledger window and its dialogs.
inline constexpr int kHelpLedger = 240;
inline constexpr int kHelpAsOf = 241;
inline constexpr int kHelpPaymentDialog = 242;
inline constexpr int kHelpPayoff = 243;
inline constexpr int kHelpPaidByYear = 244;
inline constexpr int kHelpStatementImport = 245;
inline constexpr int kHelpPaymentsApplied = 246;

class TPaymentDialog : public WindowBase {
  Q_OBJECT
 public:
  // `save` records the payment as the fields give it; the dialog closes
  // when it succeeds.
  using Save = std::function<Outcome(const records::ActualPayment&)>;
  TPaymentDialog(const QString& caption, const records::ActualPayment& start, Save save, AppServices* services,
                 QWidget* parent = nullptr);

  void OkBTNClick();
  const records::ActualPayment& payment() const { return payment_; }

  DateField* PmtDate;
  MoneyField* Amount;
  QLineEdit* Note;
  QPushButton* OkBTN;
  QPushButton* CancelBTN;
  QPushButton* HelpBTN;

 private:
  records::ActualPayment payment_;
  Save save_;
};

class TStatementDialog : public WindowBase {
  Q_OBJECT
 public:
  // `import` records the statement's payments from the two columns
  // (0-based) chosen; the dialog closes when it succeeds.
  using Import = std::function<Outcome(int dateColumn, int amountColumn)>;
  TStatementDialog(const QString& fileName, const records::CsvDocument& statement, Import import,
                   AppServices* services, QWidget* parent = nullptr);

  void ImportBTNClick();

  QLabel* FileName;
  QComboBox* DateColumn;
  QComboBox* AmountColumn;
  QTableView* Preview;
  QLabel* LineCount;
  QPushButton* ImportBTN;
  QPushButton* CancelBTN;
  QPushButton* HelpBTN;

  // At most this many lines of the statement are shown.
  static constexpr int kPreviewLines = 200;

 private:
  void MarkColumns();
  QStandardItemModel* model_;
  Import import_;
};

}  // namespace brevika
