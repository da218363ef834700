#include "calculators/ui/refi_window.h"

namespace brevika {

TcLoReFin::TcLoReFin(RefiRecord* record, int slot, AppServices* services, QWidget* parent)
    : KindWindow(RefinanceKind(), record, slot, services, parent) {
  setObjectName(QStringLiteral("TcLoReFin"));
  BuildFields();
  RemBal_ = findChild<MoneyField*>(QStringLiteral("RemBal"));
  NewPV_ = findChild<MoneyField*>(QStringLiteral("NewPV"));
  connect(RemBal_, &QLineEdit::editingFinished, this, &TcLoReFin::RemBalExit);
  connect(NewPV_, &QLineEdit::editingFinished, this, &TcLoReFin::NewPVExit);
  FinishRows();
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
  if (!remark) return;
  // The message box takes the focus, which would end the edit again.
  exiting_ = true;
  ShowMessage(this, *remark);
  exiting_ = false;
}

}  // namespace brevika
