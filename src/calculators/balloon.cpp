#include "calculators/balloon.h"

#include <cmath>

#include "finance/periods.h"
#include "finance/rates.h"

namespace brevika {

namespace {

const char* const kPerDue =
    "Balloon After Payment No. must be\r\rgreater than zero.\r\rPlease Try Again";
const char* const kRate =
    "The payment can't be calculated\r\rfor this annual rate.\r\rPlease Try Again";

Outcome Refuse(const char* text) { return Outcome::Refuse(Message{text, BoxType::Warning}); }

}  // namespace

BalloonRecord NewBalloonRecord() {
  BalloonRecord r;
  r.PYR = ListEntry::Of(PaymentPeriodItems(), LoanDefaults.pyrIndex());
  r.CmpPYR = ListEntry::Of(CompoundingPeriodItems(), LoanDefaults.compoundingPeriod);
  r.PmtMthd = ListEntry::Of(PaymentMethodItems(), LoanDefaults.paymentMethod);
  return r;
}

Outcome CalcBalloon(BalloonRecord& rec) {
  if (rec.PerDue <= 0) return Refuse(kPerDue);
  const std::uint16_t a = PyrPeriodsPerYear(rec.PYR.index);
  const std::uint16_t f = CmpPeriodsPerYear(rec.CmpPYR.index);
  const long double i = PeriodicRate(a, f, rec.Rate);
  // The level payment divides by the rate and needs 1 + i above zero.
  if (!std::isfinite(i) || i == 0 || !(1 + i > 0)) return Refuse(kRate);
  const double X = rec.PV - rec.BallPmt;  // repaid by the level payments
  long double pmt;
  if (IsArrears(rec.PmtMthd.index)) {
    // The balloon carries interest each period and is repaid whole with
    // the last payment.
    pmt = LevelPaymentArrears(rec.PerDue, a, f, X, rec.Rate) + i * rec.BallPmt;
  } else {
    // Payments at the start of each period, the balloon one period after
    // the last: its interest is discounted by one period.
    pmt = LevelPaymentAdvance(rec.PerDue, a, f, X, rec.Rate) + rec.BallPmt * i / (1 + i);
  }
  if (std::isnan(pmt)) return Refuse(kRate);
  if (!std::isfinite(static_cast<double>(pmt))) return Outcome::Refuse(NonFiniteMessage());
  rec.Pmt = static_cast<double>(pmt);
  return Outcome::Ok();
}

std::vector<CalcRow> BalloonRows(const BalloonRecord& r) {
  return {
      {RowKind::Money, r.lPV, r.PV},
      {RowKind::Number, r.lRate, r.Rate, 0, "", 4},
      {RowKind::PlainMoney, r.lBallPmt, r.BallPmt},
      {RowKind::Count, r.lPerDue, 0, r.PerDue},
      {RowKind::Choice, r.lPYR, 0, 0, r.PYR.SelectedText()},
      {RowKind::Choice, r.lCmpPYR, 0, 0, r.CmpPYR.SelectedText()},
      {RowKind::Choice, r.lPmtMthd, 0, 0, r.PmtMthd.SelectedText()},
      {RowKind::Money, r.lPmt, r.Pmt},
  };
}

}  // namespace brevika
