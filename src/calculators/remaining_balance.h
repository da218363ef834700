// Remaining balance calculator: the principal still owed after a given
// payment of a loan, and its first periodic payment. Every input must be
// above zero; there is no unknown to solve for.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "calculators/calc_record.h"
#include "calculators/kind.h"
#include "finance/outcome.h"

namespace brevika {

// Transfer record of the remaining balance calculator kind, in control order.
struct RemBalRecord {
  std::string lPV = "&Amount of Loan?:";
  std::string lNumPmts = "&Total Periods? (#):";
  std::string lRate = "Annual &Rate? (%):";
  std::string lPYR = "Payme&nt Period?:";
  std::string lCmpPYR = "Compounding Perio&d?:";
  std::string lPmtMthd = "Payment &Method?:";
  std::string lAmortMthd = "Amorti&zing Method?:";
  std::string lBalAfter = "&Balance AFTER Payment? (#):";
  std::string lRemBal = "Remaining Balance:";
  std::string lPmt = "Periodic Payment:";
  double PV = 0;
  std::int16_t NumPmts = 0;
  float Rate = 0;
  ListEntry PYR, CmpPYR, PmtMthd, AmortMthd;
  std::int16_t IncPer = 0;  // the payment after which the balance is wanted
  double RemBal = 0;
  double Pmt = 0;  // first periodic payment
};

RemBalRecord NewRemBalRecord();
// Every value back to its initial value, results included.
void ResetRemBal(RemBalRecord& rec);

// Calc: validation (error boxes, record unchanged), then the first payment
// and the balance after payment `IncPer`.
Outcome CalcRemBal(RemBalRecord& rec);

// The remaining balance calculator kind.
const KindDescription<RemBalRecord>& RemBalKind();

}  // namespace brevika
