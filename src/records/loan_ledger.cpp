#include "records/loan_ledger.h"

#include <algorithm>

#include "finance/periods.h"
#include "tables/atomic_write.h"

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

namespace {

constexpr int kChartSteps = 5;
constexpr int kMaxYearLabels = 10;

double YearPosition(Date date, int firstYear) {
  const int year = YearOf(date);
  const double days = IsLeapYear(year) ? 366.0 : 365.0;
  return (year - firstYear) - 0.5 + (date - MakeDate(1, 1, year)) / days;
}

}  // namespace

LedgerChartData BuildLedgerChart(const Ledger& l) {
  LedgerChartData d;
  Date first = l.accrualStart, last = l.accrualStart;
  for (const ScheduleRow& r : l.scheduled) {
    first = std::min(first, r.date);
    last = std::max(last, r.date);
  }
  if (!l.rows.empty()) last = std::max(last, l.rows.back().date);
  if (first == kBadDate || first < 0) return d;
  const int firstYear = YearOf(first);
  for (int y = firstYear; y <= YearOf(last); ++y) d.years.push_back(y);
  double top = l.openingBalance;
  d.scheduled.reserve(l.scheduled.size());
  for (const ScheduleRow& r : l.scheduled) {
    d.scheduled.push_back(ChartPoint{YearPosition(r.date, firstYear), r.balance});
    top = std::max(top, r.balance);
  }
  d.actual.reserve(l.rows.size() + 1);
  d.actual.push_back(ChartPoint{YearPosition(l.accrualStart, firstYear), l.openingBalance});
  for (const LedgerRow& r : l.rows) d.actual.push_back(ChartPoint{YearPosition(r.date, firstYear), r.balance});
  d.balanceAxis = RoundAxis(top, kChartSteps);
  const int count = static_cast<int>(d.years.size());
  d.yearLabelStep = std::max(1, (count + kMaxYearLabels - 1) / kMaxYearLabels);
  return d;
}

Outcome ExportLedgerCsv(const Ledger& ledger, const std::string& path, tables::FileSystem& fs) {
  return tables::ExportFile("ledger", path, LedgerCsv(ledger), fs);
}

}  // namespace brevika::records
