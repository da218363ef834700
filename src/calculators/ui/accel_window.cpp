#include "calculators/ui/accel_window.h"

#include "components/masked_fields.h"


namespace brevika {

TcLoAccel::TcLoAccel(AccelRecord* record, int slot, AppServices* services, QWidget* parent)
    : RecordWindow(record, NewAccelRecord, CalcKind::Accelerated, slot, services, parent) {
  setObjectName(QStringLiteral("TcLoAccel"));
  AccelRecord& r = rec();
  AddMoney("PV", r.lPV, r.PV, 1);
  AddCount("NumPmts", r.lNumPmts, r.NumPmts, 97);
  AddRate("Rate", r.lRate, r.Rate, 9);
  AddCount("IncPer", r.lIncPer, r.IncPer, 56);
  AddMoney("ExtraPd", r.lExtraPd, r.ExtraPd, 58);
  AddList("PYR", r.lPYR, r.PYR, 16);
  AddList("CmpPYR", r.lCmpPYR, r.CmpPYR, 13);
  AddList("PmtMthd", r.lPmtMthd, r.PmtMthd, 25);
  AddList("AmortMthd", r.lAmortMthd, r.AmortMthd, 14);
  AddRule();
  // The payments to pay off are a count, shown like the results.
  ShowAsResult(AddCount("PerOff", r.lPerOff, r.PerOff, 0));
  AddResult("IntSaved", r.lIntSaved, r.IntSaved);
  FinishRows();
}

}  // namespace brevika
