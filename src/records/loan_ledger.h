// A saved loan as its payment ledger takes it: the terms of its LOANS.DBF
// row, and the rate changes of its saved rate-change events. No tables,
// no Qt.
#pragma once
#include <vector>

#include "amortization/schedule.h"
#include "amortization/schedule_events.h"
#include "records/ledger.h"
#include "records/loan_records.h"

namespace brevika::records {

// INITAMT, INITRATE, RATEBASIS, ORIGDATE, FRSTPMTDT, PMTSPERYR, CMPPERYR
// and AMORTMTHD of a loan.
LedgerTerms LedgerTermsOf(const LoanTerms& terms);

// The rate changes of a schedule's events. A rate change "at payment K"
// charges the new rate on the interest that payment K pays, so for the
// ledger it is in force from the date of scheduled payment K - 1 (from
// origination for K = 1; past the saved rows, payment dates go on by the
// payment period from the last row). Other events are not rate changes.
std::vector<RateChange> RateChangesOf(const std::vector<ScheduleEvent>& events,
                                      const std::vector<ScheduleRow>& scheduled, const LedgerTerms& terms);

}  // namespace brevika::records
