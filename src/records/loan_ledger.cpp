#include "records/loan_ledger.h"

#include <algorithm>

#include "finance/periods.h"

namespace brevika::records {

LedgerTerms LedgerTermsOf(const LoanTerms& t) {
  LedgerTerms l;
  l.amount = t.amount;
  l.rate = t.rate;
  l.rateBasis = t.rateBasis;
  l.origination = t.origDate;
  l.firstPayment = t.firstPmtDate;
  l.pyr = t.pmtsPerYr;
  l.cmpPyr = t.cmpPerYr;
  l.amortMthd = t.amortMthd;
  return l;
}

std::vector<RateChange> RateChangesOf(const std::vector<ScheduleEvent>& events,
                                      const std::vector<ScheduleRow>& scheduled, const LedgerTerms& terms) {
  std::vector<RateChange> changes;
  const int pyr = (terms.pyr >= 0 && terms.pyr <= 6) ? terms.pyr : 2;
  const std::uint16_t perYear = PyrPeriodsPerYear(pyr);
  for (const ScheduleEvent& ev : events) {
    if (ev.kind != EventKind::Rate || ev.from < 1) continue;
    const int before = ev.from - 1;
    Date from = terms.origination;
    if (before > 0) {
      const auto row = std::find_if(scheduled.begin(), scheduled.end(),
                                    [before](const ScheduleRow& r) { return r.pmtNo == before; });
      if (row != scheduled.end()) {
        from = row->date;
      } else if (!scheduled.empty() && scheduled.back().pmtNo > 0 && scheduled.back().pmtNo < before) {
        from = scheduled.back().date;
        for (int k = scheduled.back().pmtNo; k < before; ++k) from = StepPeriodForward(from, perYear);
      } else if (scheduled.empty() && terms.firstPayment != kBadDate) {
        from = terms.firstPayment;
        for (int k = 1; k < before; ++k) from = StepPeriodForward(from, perYear);
      }
    }
    changes.push_back(RateChange{from, ev.rate});
  }
  return changes;
}

}  // namespace brevika::records
