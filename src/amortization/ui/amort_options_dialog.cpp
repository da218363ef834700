#include "amortization/ui/amort_options_dialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "components/help_keys.h"
#include "components/transfer.h"

namespace brevika {

TAmortOpt::TAmortOpt(AmortOptValues* stored, AppServices* services, QWidget* parent)
    : QDialog(parent), stored_(stored), services_(services) {
  setObjectName("TAmortOpt");
  setWindowTitle("Options");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  QFont f = font();
  f.setFamilies({"Arial", "Liberation Sans"});
  setFont(f);

  GroupBox1 = new QGroupBox(" Amortization Options ", this);
  GroupBox1->setObjectName("GroupBox1");
  auto* grid = new QGridLayout(GroupBox1);
  grid->setContentsMargins(18, 22, 18, 18);
  grid->setHorizontalSpacing(14);
  grid->setVerticalSpacing(16);

  auto addRow = [&](int row, QLabel*& label, QComboBox*& box, const char* name) {
    label = new QLabel(GroupBox1);
    label->setObjectName(QString("l") + name);
    box = new QComboBox(GroupBox1);
    box->setObjectName(name);
    box->setEditable(false);
    box->setMinimumWidth(170);
    label->setBuddy(box);
    grid->addWidget(label, row, 0, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(box, row, 1);
  };
  addRow(0, lAmortMthd, AmortMthd, "AmortMthd");
  addRow(1, lRateBasis, RateBasis, "RateBasis");
  addRow(2, lPointsPaidMthd, PointsPaidMthd, "PointsPaidMthd");
  grid->setColumnStretch(1, 1);

  BitBtn1 = new QPushButton("&OK", this);
  BitBtn1->setObjectName("BitBtn1");
  BitBtn1->setDefault(true);
  BitBtn2 = new QPushButton("Cancel", this);
  BitBtn2->setObjectName("BitBtn2");
  connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
  connect(BitBtn2, &QPushButton::clicked, this, &TAmortOpt::CancelClick);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(BitBtn1);
  buttons->addSpacing(12);
  buttons->addWidget(BitBtn2);
  buttons->addStretch(1);

  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(16, 16, 16, 16);
  outer->addWidget(GroupBox1, 1);
  outer->addSpacing(8);
  outer->addLayout(buttons);
  setFixedSize(425, 278);

  // Captions and items come from the stored values; selections start at
  // the defaults until the window or the user sets them.
  lAmortMthd->setText(QString::fromStdString(stored_->lAmortMthd));
  lRateBasis->setText(QString::fromStdString(stored_->lRateBasis));
  lPointsPaidMthd->setText(QString::fromStdString(stored_->lPointsPaidMthd));
  SetDefaults();
  InstallHelpKey(this, services_, 0, ZeroContext::WindowTopic);
}

void TAmortOpt::SetDefaults() {
  ListToControl(ListEntry::Of(AmortizingMethodItems(), LoanDefaults.amortizingMethod), AmortMthd);
  ListToControl(ListEntry::Of(InterestBasisItems(), LoanDefaults.interestBasis), RateBasis);
  ListToControl(ListEntry::Of(PointsPaidItems(), LoanDefaults.pointsPaid), PointsPaidMthd);
}

AmortChoices TAmortOpt::Choices() const {
  return AmortChoices{AmortMthd->currentIndex(), RateBasis->currentIndex(),
                      PointsPaidMthd->currentIndex()};
}

int TAmortOpt::amortMthd() const { return AmortMthd->currentIndex(); }
void TAmortOpt::SetAmortMthd(int index) { AmortMthd->setCurrentIndex(index); }
void TAmortOpt::SetRateBasis(int index) { RateBasis->setCurrentIndex(index); }
QString TAmortOpt::AmortMthdText() const { return AmortMthd->currentText(); }
QString TAmortOpt::RateBasisText() const { return RateBasis->currentText(); }
QString TAmortOpt::PointsPaidMthdText() const { return PointsPaidMthd->currentText(); }

void TAmortOpt::showEvent(QShowEvent* e) {
  if (!e->spontaneous()) FormShow();
  QDialog::showEvent(e);
}

void TAmortOpt::FormShow() {
  // What the lists showed before: Cancel puts it back.
  remembered_ = Choices();
  lAmortMthd->setText(QString::fromStdString(stored_->lAmortMthd));
  lRateBasis->setText(QString::fromStdString(stored_->lRateBasis));
  lPointsPaidMthd->setText(QString::fromStdString(stored_->lPointsPaidMthd));
  ListToControl(stored_->AmortMthd, AmortMthd);
  ListToControl(stored_->RateBasis, RateBasis);
  ListToControl(stored_->PointsPaidMthd, PointsPaidMthd);
  SetHelpContext(AmortMthd, 14);
  SetHelpContext(RateBasis, 45);
  SetHelpContext(PointsPaidMthd, 77);
  AmortMthd->setFocus();
}

void TAmortOpt::CancelClick() {
  AmortMthd->setCurrentIndex(remembered_.AmortMthd);
  RateBasis->setCurrentIndex(remembered_.RateBasis);
  PointsPaidMthd->setCurrentIndex(remembered_.PointsPaidMthd);
  reject();
}

void TAmortOpt::keyPressEvent(QKeyEvent* e) {
  // Escape is the Cancel button.
  if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
    CancelClick();
    return;
  }
  QDialog::keyPressEvent(e);
}

void TAmortOpt::closeEvent(QCloseEvent* e) {
  // The close box cancels too: a choice the user did not confirm is not kept.
  e->ignore();
  CancelClick();
}

void TAmortOpt::StoreControls() {
  stored_->lAmortMthd = lAmortMthd->text().toStdString();
  stored_->lRateBasis = lRateBasis->text().toStdString();
  stored_->lPointsPaidMthd = lPointsPaidMthd->text().toStdString();
  ControlToList(AmortMthd, stored_->AmortMthd);
  ControlToList(RateBasis, stored_->RateBasis);
  ControlToList(PointsPaidMthd, stored_->PointsPaidMthd);
}

void TAmortOpt::done(int result) {
  StoreControls();
  QDialog::done(result);
}

}  // namespace brevika
