#include "calculators/ui/balloon_window.h"

namespace brevika {

TcLoBallP::TcLoBallP(BalloonRecord* record, int slot, AppServices* services, QWidget* parent)
    : RecordWindow(record, NewBalloonRecord, CalcKind::Balloon, slot, services, parent) {
  setObjectName(QStringLiteral("TcLoBallP"));
  BalloonRecord& r = rec();
  AddMoney("PV", r.lPV, r.PV, 1);
  AddRate("Rate", r.lRate, r.Rate, 9);
  AddCount("PerDue", r.lPerDue, r.PerDue, 0);
  AddMoney("BallPmt", r.lBallPmt, r.BallPmt, 87);
  AddList("PYR", r.lPYR, r.PYR, 16);
  AddList("CmpPYR", r.lCmpPYR, r.CmpPYR, 13);
  AddList("PmtMthd", r.lPmtMthd, r.PmtMthd, 25);
  AddRule();
  AddResult("Pmt", r.lPmt, r.Pmt);
  FinishRows();
}

}  // namespace brevika
