// A saved loan as its payment ledger takes it: the terms of its LOANS.DBF
// row and the rate changes of its saved rate-change events; what the
// ledger window draws and exports. No tables, no Qt.
#pragma once
#include <string>
#include <vector>

#include "amortization/schedule.h"
#include "amortization/schedule_chart_data.h"
#include "amortization/schedule_events.h"
#include "finance/outcome.h"
#include "tables/file_system.h"
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

// The ledger window's chart: the scheduled balance (the saved rows) and the
// actual balance (the principal owed at the accrual start, then after each
// payment) as lines over the years. x counts years as the schedule chart's
// do: year i of `years` runs from i - 0.5 (1 January) to i + 0.5.
struct LedgerChartData {
  std::vector<ChartPoint> scheduled, actual;
  std::vector<int> years;  // the calendar years the lines run through
  ChartAxis balanceAxis;   // both lines
  int yearLabelStep = 1;   // label every n-th year
};
LedgerChartData BuildLedgerChart(const Ledger& ledger);

// Writes LedgerCsv to `path` as one atomic replacement. Refused with an
// error message naming the file and the reason; the old file stays whole.
Outcome ExportLedgerCsv(const Ledger& ledger, const std::string& path,
                        tables::FileSystem& fs = tables::FileSystem::Default());

}  // namespace brevika::records
