#include "calculators/ui/loan_window.h"

namespace brevika {

TcLoLoan::TcLoLoan(LoanRecord* record, int slot, AppServices* services, QWidget* parent)
    : RecordWindow(record, NewLoanRecord, CalcKind::Loan, slot, services, parent) {
  setObjectName(QStringLiteral("TcLoLoan"));
  LoanRecord& r = rec();
  AddMoney("PV", r.lPV, r.PV, 1);
  AddCount("NumPmts", r.lNumPmts, r.NumPmts, 97);
  AddRate("Rate", r.lRate, r.Rate, 9);
  AddMoney("Pmt", r.lPmt, r.Pmt, 11);
  AddList("PYR", r.lPYR, r.PYR, 16);
  AddList("CmpPYR", r.lCmpPYR, r.CmpPYR, 13);
  AddList("PmtMthd", r.lPmtMthd, r.PmtMthd, 25);
  AddList("AmortMthd", r.lAmortMthd, r.AmortMthd, 14);
  // A rule sets the result apart from the terms.
  AddRule();
  AddResult("TotInt", r.lTotInt, r.TotInt);
  AddHint("Hint", r.lHint);
  FinishRows();
}

}  // namespace brevika
