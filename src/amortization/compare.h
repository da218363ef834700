// Comparing two to four loan offers over the years the borrower expects to
// keep the loan: each offer's payment and APR, what it costs up to the
// horizon (points, fees and interest), that cost discounted to today, the
// payment at which a dearer-upfront offer catches up with a cheaper one, and
// a verdict in plain English. Every offer runs through the schedule engine,
// originated on the 1st of the current month with its first payment one
// period later. No Qt.
#pragma once
#include <array>
#include <string>
#include <vector>

#include "finance/format.h"
#include "finance/items.h"
#include "finance/outcome.h"
#include "finance/periods.h"

namespace brevika {

inline constexpr int kMinOffers = 2;
inline constexpr int kMaxOffers = 4;
inline constexpr int kMinHorizonYears = 1;
inline constexpr int kMaxHorizonYears = 50;

// The terms of one offer; payments in arrears, points paid at origination.
struct LoanOffer {
  double amount = 0;
  int periods = 0;   // number of payments
  float rate = 0;    // annual rate, percent
  float points = 0;  // percent of the amount
  double fees = 0;   // other fees paid at origination
  int PYR = LoanDefaults.pyrIndex();            // payment period list index
  int CmpPYR = LoanDefaults.compoundingPeriod;  // compounding period list index
  int AmortMthd = LoanDefaults.amortizingMethod;
};

struct CompareInputs {
  std::vector<LoanOffer> offers;
  int horizonYears = 1;
  float discountRate = 0;  // percent a year; 0 compares undiscounted costs
  Date today = 0;          // every loan starts on the 1st of this date's month
};

// The cost of an offer up to and including one payment: the upfront cost
// plus the interest of payments 1 to `payment` (payment 0 is origination),
// and the same with each interest discounted to the origination.
struct CostPoint {
  int payment = 0;
  Date date = 0;
  double cost = 0;
  double presentCost = 0;
};

struct OfferFigures {
  double Payment = 0;            // the loan calculator's payment
  double APR = 0;                // percent, 4 decimals
  double PaymentsToHorizon = 0;  // payments 1 to k
  double InterestToHorizon = 0;  // their interest
  double BalanceAtHorizon = 0;   // balance after payment k
  double UpfrontCost = 0;        // points amount + fees
  double CostToHorizon = 0;      // UpfrontCost + InterestToHorizon
  double PresentCost = 0;        // UpfrontCost + discounted interest of payments 1 to k
  double pointsAmount = 0, fees = 0;  // the two parts of the upfront cost
  int PYR = 2, CmpPYR = 3, AmortMthd = 3;  // as computed ("Canadian" sets its periods)
  int paymentsPerYear = 12;
  int payments = 0;        // payments of its schedule
  int horizonPayment = 0;  // k = min(years x payments a year, payments)
  Date horizonPaymentDate = 0;
  std::vector<CostPoint> costs;  // payment 0 to the last
};

// Two offers with the same payment period and different upfront costs: the
// first payment at which the dearer one has cost no more so far than the
// other, if that happens within the shorter of the two terms.
struct BreakEven {
  std::array<int, 2> offers{};  // 1-based, the lower number first
  int higher = 0;               // the offer with the higher upfront cost
  int payment = 0;              // 0 when it does not happen
  Date date = 0;                // that payment's date
  int within = 0;               // payments compared (the shorter term)
};

struct CompareResults {
  std::vector<OfferFigures> offers;
  int horizonYears = 1;
  float discountRate = 0;
  bool discounted = false;  // ranked by PresentCost rather than CostToHorizon
  Date origination = 0;     // 1st of the month of `today`
  Date horizonDate = 0;     // origination + the horizon in years
  int Cheapest = 0;         // 1-based; the lowest number on a tie
  std::vector<int> tied;    // the other offers that cost exactly as little
  std::vector<BreakEven> breakEven;
  std::vector<std::string> breakEvenLines;
  std::vector<std::string> verdict;
};

// Computes every offer and the comparison; `out` is assigned only when
// nothing refused. Refusals: fewer than two or more than four offers, a
// horizon outside 1 to 50 years, a negative discount rate; and each offer's
// refusal by the schedule, the APR or its own checks, its text preceded by
// "Offer N: ". `refusedOffer`, when given, receives the 1-based number of
// the offer that refused (0 for none or the comparison as a whole).
Outcome CompareLoanOffers(const CompareInputs& in, CompareResults& out,
                          const LocaleFormat& loc = UsLocaleFormat(), int* refusedOffer = nullptr);

// Sets Cheapest and tied from the offers' costs to the cent (PresentCost
// when discounted, CostToHorizon otherwise).
void RankOffers(CompareResults& r);

// One line per break-even record: "Offer 1 breaks even with Offer 2 after 59
// payments (4 years and 11 months), on 02/01/2030." or "Offer 1 does not
// break even with Offer 2 within 360 payments."
std::vector<std::string> BreakEvenLines(const CompareResults& r);

// The verdict's sentences, one line each: which offer costs least and by how
// much, then what the lowest APR says. Needs RankOffers first.
std::vector<std::string> CompareVerdict(const CompareResults& r,
                                        const LocaleFormat& loc = UsLocaleFormat());

// The time from an origination to a later date in words: "9 years and 4
// months", "1 year", "3 months"; under a month "1 week", "3 weeks".
// Whole months count back from the date; a part month is left out.
std::string DurationText(Date origination, Date date);

// "Offer 2", "Offers 2 and 3", "Offers 1, 3 and 4".
std::string OfferList(const std::vector<int>& numbers);

}  // namespace brevika
