#include "calculators/ui/loan_window.h"

namespace brevika {

TcLoLoan::TcLoLoan(LoanRecord* record, int slot, AppServices* services, QWidget* parent)
    : KindWindow(LoanKind(), record, slot, services, parent) {
  setObjectName(QStringLiteral("TcLoLoan"));
  Build();
}

}  // namespace brevika
