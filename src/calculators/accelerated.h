// Accelerated payment calculator: how many payments it takes, and how much
// interest is saved against the plain schedule, when an extra amount is
// paid with every payment after a given period. Every input must be above
// zero; there is no unknown to solve for.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "calculators/calc_record.h"
#include "calculators/kind.h"
#include "finance/outcome.h"

namespace brevika {

// Transfer record of the accelerated payment calculator kind, in control order.
struct AccelRecord {
  std::string lPV = "&Amount of Loan?:";
  std::string lNumPmts = "&Total Periods? (#):";
  std::string lRate = "Annual &Rate? (%):";
  std::string lIncPer = "Increa&se AFTER Period? (#):";
  std::string lPYR = "Payme&nt Period?:";
  std::string lCmpPYR = "Compounding Perio&d?:";
  std::string lPmtMthd = "Payment &Method?:";
  std::string lAmortMthd = "Amorti&zing Method?:";
  std::string lPerOff = "Periods to Pay Off:";
  std::string lIntSaved = "Total Interest Saved:";
  std::string lExtraPd = "E&xtra Amount Paid? (#):";
  double IntSaved = 0;
  std::int16_t PerOff = 0;  // payments until the loan is paid off
  ListEntry AmortMthd;
  double PV = 0;
  std::int16_t NumPmts = 0;  // payments of the plain loan
  float Rate = 0;
  std::int16_t IncPer = 0;  // the extra amount is paid after this period
  ListEntry PYR, CmpPYR, PmtMthd;
  double ExtraPd = 0;
};

AccelRecord NewAccelRecord();
// Reset shows the record's values again, like Undo: nothing in it changes.
inline void ResetAccel(AccelRecord&) {}

// Calc: the Canadian period switch, validation (warnings, record unchanged
// but for the methods that cannot be accelerated, whose results become 0),
// then the walk with the extra amount.
Outcome CalcAccel(AccelRecord& rec);

// The accelerated payment calculator kind.
const KindDescription<AccelRecord>& AccelKind();

}  // namespace brevika
