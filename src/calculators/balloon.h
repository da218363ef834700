// Balloon payment calculator: the level payment of a loan that ends with a
// balloon due with payment `PerDue`. Calc always computes the payment.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "calculators/calc_record.h"
#include "calculators/kind.h"
#include "finance/outcome.h"

namespace brevika {

// Transfer record of the balloon payment calculator kind, in control order.
struct BalloonRecord {
  std::string lPV = "&Amount of Loan?:";
  std::string lRate = "Annual &Rate? (%):";
  std::string lPerDue = "Ball&oon After Payment No.?:";
  std::string lBallPmt = "&Balloon Payment?:";
  std::string lPYR = "Payme&nt Period?:";
  std::string lCmpPYR = "Compounding Perio&d?:";
  std::string lPmtMthd = "Payment &Method?:";
  std::string lPmt = "Payment Amount:";
  double PV = 0;
  float Rate = 0;
  std::int16_t PerDue = 0;  // the balloon falls due with this payment
  double BallPmt = 0;
  ListEntry PYR, CmpPYR, PmtMthd;
  double Pmt = 0;
};

BalloonRecord NewBalloonRecord();
// Reset moves the record into the controls: nothing in it changes.
inline void ResetBalloon(BalloonRecord&) {}

// Calc: the payment that repays the amount with `PerDue` level payments and
// the balloon. In arrears the balloon is due with the last payment; in
// advance payments fall at the start of each period and the balloon at the
// end of the term. The level part is in cents, the balloon's interest is
// not rounded. A payment number of 0 or below, or a rate the level payment
// cannot be worked out for, is refused with a warning; a result that is not
// finite is refused too; the record then keeps its values.
Outcome CalcBalloon(BalloonRecord& rec);

// The balloon payment calculator kind.
const KindDescription<BalloonRecord>& BalloonKind();

}  // namespace brevika
