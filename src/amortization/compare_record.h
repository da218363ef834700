// The record of the loan offer comparison as a window binds it: the offer
// columns, the horizon and the discount rate, the figures under each column
// and the lines of the break-even and the verdict; its copy text and its
// printed page. No Qt.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "amortization/compare.h"
#include "calculators/calc_record.h"
#include "calculators/kind.h"
#include "finance/format.h"
#include "finance/outcome.h"
#include "finance/page_layout.h"

namespace brevika {

// One offer column: its terms, then the figures of the last calculation.
struct CompareOfferEntry {
  double PV = 0;
  std::int16_t NumPmts = 0;
  float Rate = 0;
  float Points = 0;
  double Fees = 0;
  ListEntry PYR, CmpPYR, AmortMthd;
  double Pmt = 0, APR = 0, PaymentsToHorizon = 0, InterestToHorizon = 0, BalanceAtHorizon = 0,
         UpfrontCost = 0, CostToHorizon = 0, PresentCost = 0;
};

struct CompareRecord {
  // Captions of the rows, shared by every column.
  std::string lPV = "&Amount of Loan?:";
  std::string lNumPmts = "&Total Periods? (#):";
  std::string lRate = "Annual &Rate? (%):";
  std::string lPoints = "Point&s? (%):";
  std::string lFees = "Other &Fees?:";
  std::string lPYR = "Payme&nt Period?:";
  std::string lCmpPYR = "Compounding Perio&d?:";
  std::string lAmortMthd = "Amorti&zing Method?:";
  std::string lPmt = "Periodic Payment:";
  std::string lAPR = "APR (%):";
  std::string lPaymentsToHorizon = "Payments to Horizon:";
  std::string lInterestToHorizon = "Interest to Horizon:";
  std::string lBalanceAtHorizon = "Balance at Horizon:";
  std::string lUpfrontCost = "Upfront Cost:";
  std::string lCostToHorizon = "Cost to Horizon:";
  std::string lPresentCost = "Present Cost:";
  std::string lHorizon = "Hor&izon? (Yrs):";
  std::string lDiscRate = "Discount Rate (%)?:";
  std::vector<CompareOfferEntry> Offers;  // two to four
  std::int16_t Horizon = 1;
  float DiscRate = 0;
  std::vector<std::string> BreakEven;  // one line per pair of offers
  std::vector<std::string> Verdict;    // one line per sentence
};

// An empty offer column with the default choices.
CompareOfferEntry NewCompareOffer();
// Two empty offers, a horizon of 1 year, no discount rate.
CompareRecord NewCompareRecord();
// Everything back to NewCompareRecord(), the figures and lines cleared.
void ResetCompare(CompareRecord& rec);
// Add: an empty offer after the last, false at four. Remove: the offer at a
// 0-based index, false at two or for an index out of range. Either clears
// the figures and lines of the last Calc: they belong to the offers as they
// were, and the offers after a removed one are numbered anew.
bool AddCompareOffer(CompareRecord& rec);
bool RemoveCompareOffer(CompareRecord& rec, int index);

// An offer column with the terms of an offer (the command line's --offer).
CompareOfferEntry CompareOfferOf(const LoanOffer& offer);

// The record's terms as the engine takes them.
CompareInputs CompareInputsOf(const CompareRecord& rec, Date today);

// Calc: "Canadian" switches its offer's period lists first (as the loan
// calculator does); then the comparison. On success the figures and lines
// go into the record and, when given, everything into `results`; a refusal
// changes nothing else. `refusedOffer` as in CompareLoanOffers.
Outcome CalcCompare(CompareRecord& rec, Date today, CompareResults* results = nullptr,
                    const LocaleFormat& loc = UsLocaleFormat(), int* refusedOffer = nullptr);

// A row of the copy text and print page, one value per offer. Kinds: Money,
// Count, Choice, and Number for rates (4 decimals in copy and print alike).
struct CompareRow {
  RowKind kind = RowKind::Money;
  std::string caption;  // may carry the '&' accelerator mark
  std::vector<FormatArg> values;
};
// The terms, then the figures.
std::vector<CompareRow> CompareTermRows(const CompareRecord& rec);
std::vector<CompareRow> CompareFigureRows(const CompareRecord& rec);

// Caption, blank line, a heading line naming the offers, the terms, a blank
// line, the figures, a blank line, the horizon and the discount rate, then
// the break-even lines and the verdict, each block after a blank line.
// CR LF line ends.
std::string CompareCopyText(const std::string& windowCaption, const CompareRecord& rec,
                            const LocaleFormat& loc = UsLocaleFormat());

// The printed page: the same blocks, the offers in columns beside the
// captions, the break-even and verdict lines wrapped to the page.
std::vector<Page> ComparePage(const std::string& windowCaption, const CompareRecord& rec,
                              const std::string& fontName, int fontPoints,
                              const LocaleFormat& loc = UsLocaleFormat());

// The kind: "Compare Loans", one window, in the Advisors menu; its command
// `compare` (repeated --offer, --horizon, --discount-rate).
const KindDescription<CompareRecord>& CompareKind();

}  // namespace brevika
