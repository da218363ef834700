#include "records/ui/payment_dialog.h"

#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include "components/locale_info.h"
#include "components/masked_fields.h"
#include "components/messages.h"
#include "components/qt_strings.h"
#include "records/loan_tables.h"

namespace brevika {

namespace {

constexpr Qt::WindowFlags kDialogFlags = Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

}  // namespace

TPaymentDialog::TPaymentDialog(const QString& caption, const records::ActualPayment& start, Save save,
                               AppServices* services, QWidget* parent)
    : WindowBase(services, parent, kDialogFlags), payment_(start), save_(std::move(save)) {
  setObjectName("TPaymentDialog");
  setWindowTitle(caption);
  setModal(true);
  auto* outer = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(8);
  PmtDate = new DateField(this);
  PmtDate->setObjectName("PmtDate");
  PmtDate->SetFourDigitYear(true);
  Amount = new MoneyField(this);
  Amount->setObjectName("Amount");
  const LocaleInfo& loc = CurrentLocaleInfo();
  Amount->SetLocaleFormat(loc.format);
  if (loc.countryCode != 1) Amount->SetMask(CurrentMoneyMask());
  Note = new QLineEdit(this);
  Note->setObjectName("Note");
  Note->setMaxLength(records::kPaymentNoteWidth);
  for (QLineEdit* f : {static_cast<QLineEdit*>(PmtDate), static_cast<QLineEdit*>(Amount)}) {
    ShowAsEntry(f, font());
    f->setFixedWidth(150);
  }
  Note->setMinimumWidth(300);
  const char* captions[3] = {"Payment &Date:", "&Amount:", "&Note:"};
  QWidget* fields[3] = {PmtDate, Amount, Note};
  for (int i = 0; i < 3; ++i) {
    auto* label = new QLabel(QString::fromLatin1(captions[i]), this);
    label->setBuddy(fields[i]);
    grid->addWidget(label, i, 0, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(fields[i], i, 1, Qt::AlignLeft | Qt::AlignVCenter);
    SetHelpContext(fields[i], kHelpPaymentDialog);
  }
  outer->addLayout(grid);
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  OkBTN = MakeButton(this, "OkBTN", "OK", -1, &TPaymentDialog::OkBTNClick);
  CancelBTN = MakeButton(this, "CancelBTN", "Cancel", -1, &QDialog::reject);
  HelpBTN = MakeButton(this, "HelpBTN", "&Help", -1, &WindowBase::ShowWindowHelp);
  OkBTN->setDefault(true);
  for (QPushButton* b : {OkBTN, CancelBTN, HelpBTN}) row->addWidget(b);
  outer->addLayout(row);
  transfer().Day(PmtDate, &payment_.date);
  transfer().Money(Amount, &payment_.amount);
  transfer().Edit(Note, &payment_.note);
  transfer().ToControls();
  SetHelpTopic(kHelpPaymentDialog, ZeroContext::WindowTopic);
  setFixedSize(sizeHint());
  PmtDate->setFocus();
}

void TPaymentDialog::OkBTNClick() {
  transfer().FromControls();
  const Outcome saved = save_(payment_);
  ShowMessages(this, saved);
  if (saved.ok()) accept();
}

TStatementDialog::TStatementDialog(const QString& fileName, const records::CsvDocument& statement, Import import,
                                   AppServices* services, QWidget* parent)
    : WindowBase(services, parent, kDialogFlags), import_(std::move(import)) {
  setObjectName("TStatementDialog");
  setWindowTitle("Import Payments");
  setModal(true);
  auto* outer = new QVBoxLayout(this);
  FileName = new QLabel(this);
  FileName->setObjectName("FileName");
  FileName->setTextFormat(Qt::PlainText);
  FileName->setText(QStringLiteral("Statement: ") + fileName);
  outer->addWidget(FileName);

  auto* choose = new QHBoxLayout;
  DateColumn = new QComboBox(this);
  DateColumn->setObjectName("DateColumn");
  AmountColumn = new QComboBox(this);
  AmountColumn->setObjectName("AmountColumn");
  const std::vector<std::string>& heads = statement.header.fields;
  for (std::size_t c = 0; c < heads.size(); ++c) {
    const QString item = QString::number(c + 1) + QStringLiteral(": ") + Q(heads[c]);
    DateColumn->addItem(item);
    AmountColumn->addItem(item);
  }
  const int dateColumn = records::DefaultDateColumn(statement.header);
  DateColumn->setCurrentIndex(dateColumn);
  AmountColumn->setCurrentIndex(records::DefaultAmountColumn(statement.header, dateColumn));
  auto* lDate = new QLabel("&Date column:", this);
  lDate->setBuddy(DateColumn);
  auto* lAmount = new QLabel("&Amount column:", this);
  lAmount->setBuddy(AmountColumn);
  choose->addWidget(lDate);
  choose->addWidget(DateColumn, 1);
  choose->addSpacing(16);
  choose->addWidget(lAmount);
  choose->addWidget(AmountColumn, 1);
  outer->addLayout(choose);

  // The first lines, under their numbers in the file (the header is line 1).
  model_ = new QStandardItemModel(this);
  model_->setColumnCount(static_cast<int>(heads.size()));
  for (std::size_t c = 0; c < heads.size(); ++c)
    model_->setHeaderData(static_cast<int>(c), Qt::Horizontal, QString::number(c + 1) + QStringLiteral(" ") + Q(heads[c]));
  const int shown = std::min<int>(kPreviewLines, static_cast<int>(statement.records.size()));
  model_->setRowCount(shown);
  for (int r = 0; r < shown; ++r) {
    const records::CsvRecord& rec = statement.records[static_cast<std::size_t>(r)];
    model_->setHeaderData(r, Qt::Vertical, rec.line);
    for (std::size_t c = 0; c < rec.fields.size() && c < heads.size(); ++c) {
      auto* item = new QStandardItem(Q(rec.fields[c]));
      item->setEditable(false);
      model_->setItem(r, static_cast<int>(c), item);
    }
  }
  Preview = new QTableView(this);
  Preview->setObjectName("Preview");
  Preview->setModel(model_);
  Preview->setSelectionBehavior(QAbstractItemView::SelectColumns);
  Preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Preview->setWordWrap(false);
  Preview->verticalHeader()->setDefaultSectionSize(Preview->fontMetrics().height() + 4);
  Preview->setMinimumSize(640, 300);
  Preview->setFocusPolicy(Qt::NoFocus);
  outer->addWidget(Preview, 1);
  LineCount = new QLabel(this);
  LineCount->setObjectName("LineCount");
  const std::size_t lines = statement.records.size();
  LineCount->setText(lines > static_cast<std::size_t>(shown)
                         ? QStringLiteral("%1 lines after the header; the first %2 are shown.").arg(lines).arg(shown)
                         : QStringLiteral("%1 lines after the header.").arg(lines));
  outer->addWidget(LineCount);

  auto* row = new QHBoxLayout;
  row->addStretch(1);
  ImportBTN = MakeButton(this, "ImportBTN", "&Import", -1, &TStatementDialog::ImportBTNClick);
  CancelBTN = MakeButton(this, "CancelBTN", "Cancel", -1, &QDialog::reject);
  HelpBTN = MakeButton(this, "HelpBTN", "&Help", -1, &WindowBase::ShowWindowHelp);
  ImportBTN->setDefault(true);
  for (QPushButton* b : {ImportBTN, CancelBTN, HelpBTN}) row->addWidget(b);
  outer->addLayout(row);
  for (QWidget* w : std::initializer_list<QWidget*>{DateColumn, AmountColumn, Preview})
    SetHelpContext(w, kHelpStatementImport);
  connect(DateColumn, &QComboBox::currentIndexChanged, this, &TStatementDialog::MarkColumns);
  connect(AmountColumn, &QComboBox::currentIndexChanged, this, &TStatementDialog::MarkColumns);
  MarkColumns();
  SetHelpTopic(kHelpStatementImport, ZeroContext::WindowTopic);
  DateColumn->setFocus();
}

// The chosen columns stand out in the preview.
void TStatementDialog::MarkColumns() {
  for (int c = 0; c < model_->columnCount(); ++c) {
    const bool chosen = c == DateColumn->currentIndex() || c == AmountColumn->currentIndex();
    for (int r = 0; r < model_->rowCount(); ++r)
      if (QStandardItem* item = model_->item(r, c)) {
        if (chosen) item->setBackground(QColor(0xe4, 0xee, 0xfa));
        else item->setData(QVariant(), Qt::BackgroundRole);
      }
    QFont f = Preview->font();
    f.setBold(chosen);
    model_->setHeaderData(c, Qt::Horizontal, f, Qt::FontRole);
  }
}

void TStatementDialog::ImportBTNClick() {
  const Outcome imported = import_(DateColumn->currentIndex(), AmountColumn->currentIndex());
  ShowMessages(this, imported);
  if (imported.ok()) accept();
}

}  // namespace brevika
