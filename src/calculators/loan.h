// Loan calculator: amount, number of payments, annual rate and payment of a
// level-payment loan; the one left at zero is solved for.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "calculators/calc_record.h"

namespace brevika {

// Transfer record of the loan calculator kind, in control order.
struct LoanRecord {
  // Nine field captions in control order, then the hint line.
  std::array<std::string, 10> captions;
  double PV = 0;
  std::int16_t NumPmts = 0;
  float Rate = 0;
  double Pmt = 0;
  double TotInt = 0;
  ListEntry PYR, CmpPYR, PmtMthd, AmortMthd;

  struct Numbers {
    double PV;
    std::int16_t NumPmts;
    float Rate;
    double Pmt, TotInt;
  };
  Numbers numbers() const { return {PV, NumPmts, Rate, Pmt, TotInt}; }
  void setNumbers(const Numbers& n) {
    PV = n.PV;
    NumPmts = n.NumPmts;
    Rate = n.Rate;
    Pmt = n.Pmt;
    TotInt = n.TotInt;
  }
};

enum LoanCaption {
  kCapPV, kCapNumPmts, kCapRate, kCapPmt, kCapPYR, kCapCmpPYR, kCapPmtMthd,
  kCapAmortMthd, kCapTotInt, kCapHint
};

inline constexpr int kRateSolveMaxRounds = 200;

LoanRecord NewLoanRecord();
// Entry values back to their defaults; the total interest stays.
void ResetLoan(LoanRecord& rec);

struct LoanCalcResult {
  std::optional<Message> message;
  int rateRounds = 0;  // rounds the rate solve took (0 when it did not run)
};

// Calc: the Canadian period switch, then the solve for the one unknown.
// A result that is not finite leaves the record as it was.
LoanCalcResult CalcLoan(LoanRecord& rec);

// Rows of the copy text and print page, in their order.
std::vector<CalcRow> LoanRows(const LoanRecord& rec);

}  // namespace brevika
