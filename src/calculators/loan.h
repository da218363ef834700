// Loan calculator: amount, number of payments, annual rate and payment of a
// level-payment loan; the one left at zero is solved for.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "calculators/calc_record.h"
#include "calculators/kind.h"
#include "finance/outcome.h"

namespace brevika {

// Transfer record of the loan calculator kind, in control order.
struct LoanRecord {
  std::string lPV = "&Amount of Loan?:";
  std::string lNumPmts = "&Total Periods? (#):";
  std::string lRate = "Annual &Rate? (%):";
  std::string lPmt = "Periodic Payment:";
  std::string lPYR = "Payme&nt Period?:";
  std::string lCmpPYR = "Compounding Perio&d?:";
  std::string lPmtMthd = "Payment &Method?:";
  std::string lAmortMthd = "Amorti&zing Method?:";
  std::string lTotInt = "Total Interest:";
  std::string lHint = "Enter a zero '0' for unknown value.";
  double PV = 0;
  std::int16_t NumPmts = 0;
  float Rate = 0;
  double Pmt = 0;
  double TotInt = 0;
  ListEntry PYR, CmpPYR, PmtMthd, AmortMthd;
};

inline constexpr int kRateSolveMaxRounds = 200;

LoanRecord NewLoanRecord();
// Entry values back to their defaults; the total interest stays.
void ResetLoan(LoanRecord& rec);

// Calc: the Canadian period switch, then the solve for the one unknown.
// A refused solve changes only the total interest (N x Pmt - PV) where the
// loan calculator's rule says so; a result that is not finite changes
// nothing. `rateRounds`, when given, receives the rounds of the rate solve.
Outcome CalcLoan(LoanRecord& rec, int* rateRounds = nullptr);

// The loan calculator kind.
const KindDescription<LoanRecord>& LoanKind();

}  // namespace brevika
