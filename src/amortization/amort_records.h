// Values of the amortization schedule window and its options dialog that
// outlive both: the terms of the last Calc and the last closed options.
// The application owns one of each for the whole run. No Qt.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "amortization/schedule.h"
#include "calculators/calc_record.h"
#include "finance/outcome.h"
#include "finance/periods.h"

namespace brevika {

// Stored choices of the options dialog: captions, then each list's state.
struct AmortOptValues {
  std::string lAmortMthd = "Amorti&zing Method?:";
  std::string lRateBasis = "Rate &Basis?:";
  std::string lPointsPaidMthd = "&Points Paid How?:";
  ListEntry AmortMthd = ListEntry::Of(AmortizingMethodItems(), LoanDefaults.amortizingMethod);
  ListEntry RateBasis = ListEntry::Of(InterestBasisItems(), LoanDefaults.interestBasis);
  ListEntry PointsPaidMthd = ListEntry::Of(PointsPaidItems(), LoanDefaults.pointsPaid);
};

// Item indexes of the three option lists as the dialog currently shows them.
struct AmortChoices {
  int AmortMthd = LoanDefaults.amortizingMethod;
  int RateBasis = LoanDefaults.interestBasis;
  int PointsPaidMthd = LoanDefaults.pointsPaid;
  bool operator==(const AmortChoices&) const = default;
};

// Entry record of the schedule window, in control order.
struct AmortInputs {
  std::string lPV = "&Amount of Loan?:";
  std::string lNumPmts = "Initial &Periods (#)?:";
  std::string lOrgDate = "Ori&gination Date?:";
  std::string lFrstPmtDate = "1st Payment &Date?:";
  std::string lPYR = "Payme&nt Period?:";
  std::string lCmpPYR = "Compounding Perio&d?:";
  std::string lPoints = "Poin&ts (%)?:";
  std::string lRate = "Initial &Rate (%)?:";
  std::uint16_t NumPmts = 0;
  float Rate = 0;
  double PV = 0;
  float Points = 0;
  Date OrgDate = 0;
  Date FrstPmtDate = 0;
  ListEntry PYR = ListEntry::Of(PaymentPeriodItems(), LoanDefaults.pyrIndex());
  ListEntry CmpPYR = ListEntry::Of(CompoundingPeriodItems(), LoanDefaults.compoundingPeriod);
  std::string lAnnualTotals = "Annual Totals:";
  std::string lRunningTotals = "Running Totals:";
  // Prepaid fees other than points, for the APR; not saved with the loan.
  std::string lOtherFees = "Other F&ees?:";
  double OtherFees = 0;
  // What-if events, edited in the events dialog and applied by every Calc;
  // saved and loaded with the loan.
  std::vector<ScheduleEvent> events;
};

// First payment suggested for a loan made today: one month on (calendar
// step), moved to the first of the following month unless it is a first.
Date DefaultFirstPaymentDate(Date today);

// First contents of the entry record: zeros, origination today, the default
// periods and the suggested first payment.
AmortInputs NewAmortInputs(Date today);

// Engine inputs (with the events) from the entry record and the current
// option choices.
ScheduleInputs ToScheduleInputs(const AmortInputs& in, const AmortChoices& opt);
// The terms and events of engine inputs back into the entry record and the
// choices of method and rate basis; how points are paid and other fees stay.
void ApplyScheduleTerms(const ScheduleInputs& terms, AmortInputs& in, AmortChoices& choices);

// The window's date fields read a two-digit year as 1960..2059.
constexpr int kAmortCenturyEpoch = 1960;

// Calc's refusal of a date field that shows text that is no date ("02/30/27"),
// named by its label without the access key and the question mark: "1st
// Payment Date is not a valid date." Nothing is calculated.
Message NotADateMessage(const std::string& label);

}  // namespace brevika
