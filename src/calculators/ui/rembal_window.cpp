#include "calculators/ui/rembal_window.h"

namespace brevika {

TcLoRemBl::TcLoRemBl(RemBalRecord* record, int slot, AppServices* services, QWidget* parent)
    : RecordWindow(record, NewRemBalRecord, CalcKind::RemainingBalance, slot, services, parent) {
  setObjectName(QStringLiteral("TcLoRemBl"));
  RemBalRecord& r = rec();
  AddMoney("PV", r.lPV, r.PV, 1);
  AddCount("NumPmts", r.lNumPmts, r.NumPmts, 97);
  AddRate("Rate", r.lRate, r.Rate, 9);
  AddList("PYR", r.lPYR, r.PYR, 16);
  AddList("CmpPYR", r.lCmpPYR, r.CmpPYR, 13);
  AddList("PmtMthd", r.lPmtMthd, r.PmtMthd, 25);
  AddList("AmortMthd", r.lAmortMthd, r.AmortMthd, 14);
  AddCount("IncPer", r.lBalAfter, r.IncPer, 34);
  AddRule();
  AddResult("RemBal", r.lRemBal, r.RemBal);
  AddResult("Pmt", r.lPmt, r.Pmt);
  FinishRows();
}

}  // namespace brevika
