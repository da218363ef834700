// Refinance advisor: compares keeping the current mortgage with a possible
// new one over the years until the property is sold, in today's money
// (discounted at the user's rate) and after taxes.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "calculators/calc_record.h"
#include "calculators/kind.h"
#include "finance/format.h"
#include "finance/outcome.h"

namespace brevika {

// Transfer record of the refinance advisor kind, in control order.
struct RefiRecord {
  // Current financing.
  std::string Label1 = "Current Financing";
  std::string lRemBal = "Remaining Balance:";
  std::string lPmtsRem = "Periods Remaining?:";
  std::string lRate = "Annual &Rate? (%):";
  std::string lPYR = "Payme&nt Period?:";
  double RemBal = 0;
  std::int16_t PmtsRem = 0;
  float Rate = 0;
  ListEntry PYR;
  // Possible financing.
  std::string Label2 = "Possible Financing";
  std::string lNewPV = "New Loan Amount?:";
  std::string lNumPmts = "&Total Periods? (#):";
  std::string lRate2 = "Annual &Rate? (%):";
  std::string lPYR2 = "Payme&nt Period?:";
  std::string lPoints = "Points:?";
  std::string lMisc = "Misc. Closing Costs?:";
  std::string lPenalty = "Prepayment Penalty?:";
  double NewPV = 0;
  std::int16_t NumPmts = 0;
  float Rate2 = 0;
  ListEntry PYR2;
  float Points = 0;  // per cent of the new loan amount
  double Misc = 0;
  double Penalty = 0;
  // Taxes, sale and discounting.
  std::string lDeduct = "Interest & Points are?:";
  std::string lPntsAre = "Points are?:";
  std::string lSldAfter = "Property Sold After? (Yrs):";
  std::string lProTaxBracket = "Projected Tax Bracket?:";
  std::string lDiscRate = "Discount Rate (%)?:";
  ListEntry Deduct;   // 0 "Deductible", 1 "Not Deductible"
  ListEntry PntsAre;  // 0 "Prepaid", 1 "Amortized"
  std::int16_t SldAfter = 1;
  float ProTaxBracket = 0;
  float DiscRate = 0;
  // The verdict, one memo line each (empty lines between paragraphs).
  std::vector<std::string> Memo1;
};

// Results of one analysis; all zero before each analysis.
struct RefiResults {
  double PmtCur = 0;  // level payment of the current loan
  double PmtNew = 0;  // level payment of the new loan
  std::int16_t HoldCur = 0, HoldNew = 0;  // periods of each loan before the sale
  std::int16_t Horizon = 0;  // periods compared for reinvestment and extra capital
  double BalCurAtSale = 0, BalNewAtSale = 0;
  double PaidDownCur = 0, PaidDownNew = 0;
  double CostCur = 0;  // discounted after-tax interest of the current loan
  double CostNew = 0;  // the same for the new loan, closing costs included
  double ReinvestValue = 0;      // discounted income from the payment difference (signed)
  double ExtraCapitalValue = 0;  // discounted gain (+) or loss (-) from the amount difference
  double PmtExtra = 0;  // level payment on the amount borrowed beyond the balance
  double LostDeduction = 0;  // set by the verdict
  double NetSavings = 0;     // set by the verdict
};

inline constexpr int kRefiMaxYears = 50;

RefiRecord NewRefiRecord();
// Every entry value back to its default and the verdict cleared.
void ResetRefinance(RefiRecord& rec);

// Discounted interest of a loan run period by period in cents.
struct InterestRun {
  double discountedInterest = 0;
  double endBalance = 0;  // 0 when the run overpays
};
// Rate in per cent a year, p periods a year, d the discount rate per period.
InterestRun DiscountedInterestRun(float rate, int periods, double payment, double balance,
                                  std::uint16_t p, long double d);
// Discounted income of a fund that takes `deposit` every period k = first..last.
long double ReinvestmentRun(int first, int last, double deposit, double fund, long double d);

// The four checks in their order, then the analysis. `out` is assigned only
// when the analysis ran and every result is finite.
Outcome AnalyseRefinance(const RefiRecord& rec, RefiResults& out);

// Calc: analysis and verdict; on success the memo lines go into the record
// and, when given, the results into `results`. A refusal changes nothing.
Outcome CalcRefinance(RefiRecord& rec, RefiResults* results = nullptr,
                      const LocaleFormat& loc = UsLocaleFormat());

// The refinance advisor kind: its fields in three framed groups (current
// financing, possible financing, taxes and sale); its copy text and page
// are the advisor's own.
const KindDescription<RefiRecord>& RefinanceKind();

// The window keeps the new loan amount equal to the remaining balance (the
// analysis does not need it): leaving the remaining balance copies it into
// the new loan amount; leaving the new loan amount with a different value
// puts the balance back and returns this information remark.
void FollowRemainingBalance(double remBal, double& newPV);
std::optional<Message> RestrictNewLoanAmount(double remBal, double& newPV);

}  // namespace brevika
