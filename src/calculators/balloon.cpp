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

const KindDescription<BalloonRecord>& BalloonKind() {
  using R = BalloonRecord;
  static const KindDescription<R> kind{
      .info = {.kind = CalcKind::Balloon,
               .title = "Balloon Payment Calculator",
               .menu = {"BalloonPayment1", "&Balloon Payment...", "F6"},
               .help = {.window = 92},
               .command = {"balloon", "the periodic payment of a loan ending with a balloon"}},
      .make = [](const KindContext&) { return NewBalloonRecord(); },
      // Reset moves the record into the controls; Undo does nothing.
      .reset = [](R& r, const KindContext&) { ResetBalloon(r); },
      .calc = [](R& r, const KindContext&) { return CalcBalloon(r); },
      .undoMovesRecord = false,
      .fields = {
          Field("PV", &R::lPV, &R::PV, 1).Option("--amount", "amount of the loan", kRequired),
          Field("Rate", &R::lRate, &R::Rate, 9).Option("--rate", "annual rate in percent", kRequired)
              .Row(RowKind::Number, 4),
          Field("PerDue", &R::lPerDue, &R::PerDue, 0)
              .Option("--balloon-after", "number of the payment with which the balloon is due", kRequired),
          Field("BallPmt", &R::lBallPmt, &R::BallPmt, 87).Option("--balloon", "balloon amount", kRequired)
              .Row(RowKind::PlainMoney),
          Field("PYR", &R::lPYR, &R::PYR, 16).Option("--payment-period"),
          Field("CmpPYR", &R::lCmpPYR, &R::CmpPYR, 13).Option("--compounding"),
          Field("PmtMthd", &R::lPmtMthd, &R::PmtMthd, 25).Option("--payment-method"),
          Field("Pmt", &R::lPmt, &R::Pmt).Result().Rule()},
      .rowOrder = {"PV", "Rate", "BallPmt", "PerDue", "PYR", "CmpPYR", "PmtMthd", "Pmt"}};
  return kind;
}

}  // namespace brevika
