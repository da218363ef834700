#include "calculators/ui/refi_window.h"

#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "calculators/refinance_narrative.h"
#include "components/locale_info.h"
#include "components/masked_fields.h"

namespace brevika {

namespace {
// The refinance fields have no topics of their own: F1 opens the window's.
constexpr int kWindowTopic = -1;
}  // namespace

TcLoReFin::TcLoReFin(RefiRecord* record, int slot, AppServices* services, QWidget* parent)
    : RecordWindow(record, NewRefiRecord, CalcKind::Refinance, slot, services, parent) {
  setObjectName(QStringLiteral("TcLoReFin"));
  RefiRecord& r = rec();

  Notebook1 = new QStackedWidget(this);
  Notebook1->setObjectName(QStringLiteral("Notebook1"));
  auto* entry = new QWidget(Notebook1);
  entry->setObjectName(QStringLiteral("DataEntry"));
  auto* entryLayout = new QVBoxLayout(entry);
  entryLayout->setContentsMargins(0, 0, 0, 0);
  entryLayout->setSpacing(8);

  entryLayout->addWidget(Panel(&r.Label1, "Label1", entry));
  RemBal_ = AddMoney("RemBal", r.lRemBal, r.RemBal, kWindowTopic);
  AddCount("PmtsRem", r.lPmtsRem, r.PmtsRem, kWindowTopic);
  AddRate("Rate", r.lRate, r.Rate, kWindowTopic);
  AddList("PYR", r.lPYR, r.PYR, kWindowTopic);

  entryLayout->addWidget(Panel(&r.Label2, "Label2", entry));
  NewPV_ = AddMoney("NewPV", r.lNewPV, r.NewPV, kWindowTopic);
  AddCount("NumPmts", r.lNumPmts, r.NumPmts, kWindowTopic);
  AddRate("Rate2", r.lRate2, r.Rate2, kWindowTopic);
  AddList("PYR2", r.lPYR2, r.PYR2, kWindowTopic);
  AddRate("Points", r.lPoints, r.Points, kWindowTopic);
  AddMoney("Misc", r.lMisc, r.Misc, kWindowTopic);
  AddMoney("Penalty", r.lPenalty, r.Penalty, kWindowTopic);

  entryLayout->addWidget(Panel(nullptr, "Panel3", entry));
  AddList("Deduct", r.lDeduct, r.Deduct, kWindowTopic);
  AddList("PntsAre", r.lPntsAre, r.PntsAre, kWindowTopic);
  AddCount("SldAfter", r.lSldAfter, r.SldAfter, kWindowTopic);
  AddRate("ProTaxBracket", r.lProTaxBracket, r.ProTaxBracket, kWindowTopic);
  AddRate("DiscRate", r.lDiscRate, r.DiscRate, kWindowTopic);
  Notebook1->addWidget(entry);

  auto* results = new QWidget(Notebook1);
  results->setObjectName(QStringLiteral("Results"));
  auto* resultsLayout = new QVBoxLayout(results);
  resultsLayout->setContentsMargins(0, 0, 0, 0);
  Memo1 = new QPlainTextEdit(results);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setReadOnly(true);
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  Memo1->setFont(mono);
  // The verdict is wrapped at 85 characters: the memo shows whole lines.
  Memo1->setMinimumWidth(QFontMetrics(mono).horizontalAdvance(QString(86, QLatin1Char('M'))) + 24);
  transfer().Memo(Memo1, &r.Memo1);
  resultsLayout->addWidget(Memo1, 1);
  BitBtn1 = new QPushButton(QStringLiteral("&Data Entry"), results);
  BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
  BitBtn1->setAutoDefault(false);
  connect(BitBtn1, &QPushButton::clicked, this, &TcLoReFin::BitBtn1Click);
  resultsLayout->addWidget(BitBtn1, 0, Qt::AlignLeft);
  Notebook1->addWidget(results);
  body()->addWidget(Notebook1);

  connect(RemBal_, &QLineEdit::editingFinished, this, &TcLoReFin::RemBalExit);
  connect(NewPV_, &QLineEdit::editingFinished, this, &TcLoReFin::NewPVExit);
  FinishRows();
}

QWidget* TcLoReFin::Panel(std::string* heading, const char* name, QWidget* parent) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(QString::fromLatin1(name) + QStringLiteral("Panel"));
  panel->setFrameShape(QFrame::StyledPanel);
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(10, 8, 10, 8);
  if (heading) {
    auto* title = new QLabel(QString::fromStdString(*heading), panel);
    title->setObjectName(QString::fromLatin1(name));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    layout->addWidget(title);
    transfer().Label(title, heading);
  }
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(12);
  grid->setVerticalSpacing(6);
  layout->addLayout(grid);
  SetRowGrid(grid);
  return panel;
}

bool TcLoReFin::showingResults() const { return Notebook1->currentIndex() == 1; }

void TcLoReFin::BitBtn1Click() { Notebook1->setCurrentIndex(0); }

Outcome TcLoReFin::Calculate() {
  Outcome outcome = CalcRefinance(rec(), nullptr, CurrentLocaleInfo().format);
  if (outcome.ok()) Notebook1->setCurrentIndex(1);
  return outcome;
}

void TcLoReFin::RemBalExit() {
  double newPV = NewPV_->value();
  FollowRemainingBalance(RemBal_->value(), newPV);
  NewPV_->setValue(newPV);
}

void TcLoReFin::NewPVExit() {
  if (exiting_) return;
  double newPV = NewPV_->value();
  const std::optional<Message> remark = RestrictNewLoanAmount(RemBal_->value(), newPV);
  NewPV_->setValue(newPV);
  if (remark) {
    // The message box takes the focus, which would end the edit again.
    exiting_ = true;
    ShowMessage(this, *remark);
    exiting_ = false;
  }
}

std::string TcLoReFin::CopyTextOf(const std::string& caption, const LocaleFormat& loc) const {
  return RefiCopyText(caption, rec(), loc);
}

std::vector<Page> TcLoReFin::PrintPagesOf(const std::string& caption, const std::string& fontName,
                                          int points, const LocaleFormat& loc) const {
  return RefinancePage(caption, rec(), fontName, points, loc);
}

}  // namespace brevika
