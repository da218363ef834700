#include "calculators/ui/loan_window.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPalette>
#include <QVBoxLayout>

#include "components/locale_info.h"
#include "components/masked_fields.h"

namespace brevika {

namespace {

QComboBox* MakeList(const char* name, QWidget* parent) {
  auto* c = new QComboBox(parent);
  c->setObjectName(QString::fromLatin1(name));
  c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  return c;
}

// Fills a list with the record's items (when they differ) and selects its index.
void ListToControl(const ListEntry& entry, QComboBox* combo) {
  QStringList items;
  for (const std::string& s : entry.items) items << QString::fromStdString(s);
  QStringList shown;
  for (int k = 0; k < combo->count(); ++k) shown << combo->itemText(k);
  if (shown != items) {
    combo->clear();
    combo->addItems(items);
  }
  combo->setCurrentIndex(entry.index >= 0 && entry.index < combo->count() ? entry.index : -1);
}

void ControlToList(const QComboBox* combo, ListEntry& entry) { entry.Select(combo->currentIndex()); }

// Captions in label order: the nine field labels, then the hint line.
std::vector<const std::string*> Captions(const LoanRecord& r) {
  return {&r.lPV, &r.lNumPmts, &r.lRate, &r.lPmt, &r.lPYR, &r.lCmpPYR,
          &r.lPmtMthd, &r.lAmortMthd, &r.lTotInt, &r.lHint};
}

}  // namespace

TcLoLoan::TcLoLoan(LoanRecord* record, int slot, AppServices* services, QWidget* parent)
    : CalcWindow(QString::fromLatin1(kCaptionBase), slot, services, parent), record_(record) {
  setObjectName(QStringLiteral("TcLoLoan"));
  const LoanRecord initial = NewLoanRecord();  // captions when there is no record

  PV = new MoneyField(this);
  PV->setObjectName(QStringLiteral("PV"));
  NumPmts = new CountField(this);
  NumPmts->setObjectName(QStringLiteral("NumPmts"));
  Rate = new RateField(this);
  Rate->setObjectName(QStringLiteral("Rate"));
  Pmt = new MoneyField(this);
  Pmt->setObjectName(QStringLiteral("Pmt"));
  PYR = MakeList("PYR", this);
  CmpPYR = MakeList("CmpPYR", this);
  PmtMthd = MakeList("PmtMthd", this);
  AmortMthd = MakeList("AmortMthd", this);
  TotInt = new MoneyField(this);
  TotInt->setObjectName(QStringLiteral("TotInt"));
  TotInt->setReadOnly(true);
  TotInt->setFocusPolicy(Qt::NoFocus);
  {
    // A result, not an entry: the window's colour behind bold figures.
    QPalette pal = TotInt->palette();
    pal.setColor(QPalette::Base, pal.color(QPalette::Window));
    TotInt->setPalette(pal);
    QFont bold = TotInt->font();
    bold.setBold(true);
    TotInt->setFont(bold);
  }

  // Money fields follow the country's mask unless the country is the US.
  const int country = CurrentLocaleInfo().countryCode;
  if (country != 1) {
    const std::string mask = MoneyMaskForCountry(country);
    for (MoneyField* f : {PV, Pmt, TotInt}) f->SetMask(mask);
  }

  const std::vector<QWidget*> fields = {PV, NumPmts, Rate, Pmt, PYR, CmpPYR,
                                        PmtMthd, AmortMthd, TotInt};
  static const char* const kLabelNames[] = {"lPV", "lNumPmts", "lRate", "lPmt", "lPYR",
                                            "lCmpPYR", "lPmtMthd", "lAmortMthd", "lTotInt"};
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(12);
  grid->setVerticalSpacing(6);
  // Every field as wide as the widest amount the money mask allows.
  const int fieldWidth = QFontMetrics(PV->font()).horizontalAdvance(QStringLiteral("$999,999,999,999.99")) + 24;
  for (std::size_t k = 0; k < fields.size(); ++k) {
    auto* label = new QLabel(QString::fromStdString(*Captions(initial)[k]), this);
    label->setObjectName(QString::fromLatin1(kLabelNames[k]));
    label->setBuddy(fields[k]);
    labels_.push_back(label);
    fields[k]->setFixedWidth(fieldWidth);
    int row = static_cast<int>(k);
    if (k == fields.size() - 1) {
      // A rule sets the result apart from the terms.
      auto* rule = new QFrame(this);
      rule->setFrameShape(QFrame::HLine);
      rule->setFrameShadow(QFrame::Sunken);
      grid->addWidget(rule, row, 0, 1, 2);
      ++row;
    }
    grid->addWidget(label, row, 0, Qt::AlignLeft | Qt::AlignVCenter);
    grid->addWidget(fields[k], row, 1);
  }
  auto* hint = new QLabel(QString::fromStdString(initial.lHint), this);
  hint->setObjectName(QStringLiteral("lHint"));
  labels_.push_back(hint);

  auto* body = new QVBoxLayout;
  body->setSpacing(10);
  body->addLayout(grid);
  body->addWidget(hint, 0, Qt::AlignLeft);
  body->addStretch(1);
  InstallBody(body);

  SetHelpContext(PV, 1);
  SetHelpContext(NumPmts, 97);
  SetHelpContext(Rate, 9);
  SetHelpContext(Pmt, 11);
  SetHelpContext(PYR, 16);
  SetHelpContext(CmpPYR, 13);
  SetHelpContext(PmtMthd, 25);
  SetHelpContext(AmortMthd, 14);
  SetHelpContext(TotInt, 0);
  SetButtonHelp({/*calc*/ 21, /*close*/ 0, /*help*/ 24, /*print*/ 26, /*copy*/ 30,
                 /*reset*/ 19, /*undo*/ 28});
  SetTabOrder({PV, NumPmts, Rate, Pmt, PYR, CmpPYR, PmtMthd, AmortMthd});

  if (record_) {
    RecordToControls();
  } else {
    ListToControl(initial.PYR, PYR);
    ListToControl(initial.CmpPYR, CmpPYR);
    ListToControl(initial.PmtMthd, PmtMthd);
    ListToControl(initial.AmortMthd, AmortMthd);
  }
}

void TcLoLoan::ControlsToRecord() {
  if (!record_) return;
  LoanRecord& r = *record_;
  r.PV = PV->value();
  r.NumPmts = NumPmts->value();
  r.Rate = Rate->value();
  r.Pmt = Pmt->value();
  r.TotInt = TotInt->value();
  ControlToList(PYR, r.PYR);
  ControlToList(CmpPYR, r.CmpPYR);
  ControlToList(PmtMthd, r.PmtMthd);
  ControlToList(AmortMthd, r.AmortMthd);
}

void TcLoLoan::RecordToControls() {
  if (!record_) return;
  const LoanRecord& r = *record_;
  const auto captions = Captions(r);
  for (std::size_t k = 0; k < labels_.size() && k < captions.size(); ++k)
    labels_[k]->setText(QString::fromStdString(*captions[k]));
  // The fields refuse values that are not finite numbers and keep theirs.
  PV->setValue(r.PV);
  NumPmts->setValue(r.NumPmts);
  Rate->setValue(r.Rate);
  Pmt->setValue(r.Pmt);
  TotInt->setValue(r.TotInt);
  ListToControl(r.PYR, PYR);
  ListToControl(r.CmpPYR, CmpPYR);
  ListToControl(r.PmtMthd, PmtMthd);
  ListToControl(r.AmortMthd, AmortMthd);
}

std::optional<Message> TcLoLoan::Calculate() {
  const Outcome out = CalcLoan(*record_);
  if (out.messages.empty()) return std::nullopt;
  return out.messages.front();
}

void TcLoLoan::ResetRecord() { ResetLoan(*record_); }

std::vector<CalcRow> TcLoLoan::Rows() const { return LoanRows(*record_); }

}  // namespace brevika
