// Amortization schedule engine: rows from origination to payoff, odd first
// periods, points, six amortizing methods, what-if events (extra principal,
// rate changes, payment holidays), year tabs and totals. No Qt.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "amortization/schedule_events.h"
#include "finance/items.h"
#include "finance/outcome.h"
#include "finance/periods.h"

namespace brevika {

inline constexpr int kMaxPeriods = 1560;

enum class FirstPeriodKind { Regular, Short, Long };
enum RateBasisCode : int { kOrdinary = 0, kExact360 = 1, kExact365 = 2 };
enum PointsPaidCode : int { kAtOrigination = 0, kWithFirstPayment = 1, kPointsAmortized = 2 };

struct ScheduleInputs {
  double PV = 0;
  std::uint16_t NumPmts = 0;
  float Rate = 0;
  float Points = 0;
  Date OrgDate = 0;
  Date FrstPmtDate = 0;
  int PYR = 2;      // payment period list index
  int CmpPYR = 3;   // compounding period list index
  int AmortMthd = 3;
  int RateBasis = 0;
  int PointsPaidMthd = 0;
  // Prepaid fees other than points; only the APR uses them.
  double OtherFees = 0;
  // What-if events, in any order; none: the plain schedule.
  std::vector<ScheduleEvent> events;
};

// The same loan: every input but the events (and the fees, which only the
// APR reads) is equal.
bool SameLoanTerms(const ScheduleInputs& a, const ScheduleInputs& b);

struct ScheduleRow {
  Date date = 0;
  std::int16_t pmtNo = 0;
  char periodLabel[9] = {};  // at most 8 characters
  double payment = 0, principal = 0, interest = 0, balance = 0;
  std::int16_t days = 0;
  float annualRate = 0, periodicRate = 0, dailyRate = 0;
  double runPayment = 0, runPrincipal = 0, runInterest = 0;
};

// A year tab: its two-digit label and the full calendar year behind it
// (0 for "All").
struct YearTab {
  std::string label;
  int year = 0;
};

struct YearTotals {
  double payment = 0, principal = 0, interest = 0;
};

// The events of one payment, laid out by the engine before it builds rows.
struct ScheduleRowPlan {
  long long extraStep = 0;  // recurring extras starting (+) and ending (-), in cents
  long long lumpCents = 0;  // lump sums paid with the payment, in cents
  double extra = 0;         // all extra principal paid with the payment
  float rate = 0;           // new annual rate from the payment; 0: none
  int holidayTo = 0;        // last payment of the holiday the payment is in; 0: none
  int lowerStep = 0;        // recurring extras that lower the payment, starting and ending
  std::uint8_t marks = 0;   // EventMark bits
  bool lowerAfter = false;  // the payment is recomputed after this one
  bool rateKeep = false;
  bool holidayKeep = false;
};

// Called with the percentage of payments built so far.
using ProgressFn = std::function<void(int percent)>;

class Schedule {
 public:
  // Allocates the whole row table once; calculating never allocates rows.
  explicit Schedule(int maxPeriods = kMaxPeriods);

  // Validates and computes. A refusal comes back as an information message
  // and leaves the previous schedule untouched. A first payment before
  // origination is moved to origination in `in`, and the outcome's first
  // message says so. Refused: a zero or negative amount or rate, zero
  // periods, more periods than maxPeriods(), the 2059 limit, and any
  // non-finite value on the way. `progress` is called only when the
  // percentage changes.
  //
  // With events the schedule without them is not computed here: it is
  // built the first time something asks for it (baseRow, baseLastRow: the
  // comparison, the chart, the report), or kept from the previous
  // calculation of the same loan terms. Events are further refused by CheckEvents, for "Rule of 78's", when a
  // kept payment does not cover a period's interest, when a rate change or
  // holiday leaves no payment before the original last payment, and when
  // a moved term runs past maxPeriods() or the 2059 limit.
  Outcome Calculate(ScheduleInputs& in, const ProgressFn& progress = {});

  int maxPeriods() const { return maxPeriods_; }
  bool calculated() const { return calculated_; }
  int lastRow() const { return lastRow_; }
  const ScheduleRow& row(int k) const { return rows_[static_cast<std::size_t>(k)]; }
  ScheduleRow& mutableRow(int k) { return rows_[static_cast<std::size_t>(k)]; }
  const std::vector<YearTab>& yearTabs() const { return tabs_; }

  FirstPeriodKind firstPeriodKind() const { return kind_; }
  int oddDays() const { return oddDays_; }
  double pointsAmount() const { return pointsAmount_; }
  double periodFraction() const { return periodFraction_; }
  double fixedPrincipal() const { return fixedPrincipal_; }
  double totalInterest() const { return totalInterest_; }  // for "Rule of 78's"

  // Set when the constructor could not get the whole row table: the smaller
  // maximum is in use and this is the message to show once.
  const std::optional<Message>& memoryNotice() const { return memoryNotice_; }

  // First and last row of a tab (0 = "All"); a tab index out of range
  // selects all rows.
  std::pair<int, int> SelectYear(int tab) const;
  YearTotals Totals(int firstRow, int lastRow) const;

  // Loading: rows 0..last are written by the caller, then this rebuilds the
  // year tabs from their dates and marks the schedule calculated, without
  // events.
  void SetLoaded(int lastRow);

  // The events of the shown schedule (empty without).
  bool hasEvents() const { return hasEvents_; }
  const std::vector<ScheduleEvent>& events() const { return events_; }
  // EventMark bits of row k: which events it carries. 0 without events.
  std::uint8_t eventMarks(int k) const { return marks_[static_cast<std::size_t>(k)]; }
  // The same loan without events: its rows and last row. Without events
  // they are the schedule's own. The first call after a calculation with
  // events builds them into the schedule's own table (no allocation); not
  // for use from two threads at once. Should they not be computable (a
  // value that is not finite), they are the schedule's own rows, so the
  // comparison shows nothing saved.
  int baseLastRow() const {
    EnsureBase();
    return hasEvents_ && !baseFailed_ ? baseLastRow_ : lastRow_;
  }
  const ScheduleRow& baseRow(int k) const {
    EnsureBase();
    return (hasEvents_ && !baseFailed_ ? base_ : rows_)[static_cast<std::size_t>(k)];
  }
  // True while the schedule without events waits to be built (for tests
  // and the benchmark).
  bool basePending() const { return baseStale_; }

 private:
  std::optional<Message> Build(const ScheduleInputs& in, const ProgressFn& progress);
  void EnsureBase() const {
    if (baseStale_) BuildBase();
  }
  void BuildBase() const;
  // Rows and tabs are computed into the work table and swapped in only when
  // the whole calculation succeeded, so a refusal leaves the shown schedule.
  // The schedule without events has its own table, filled on demand.
  std::vector<ScheduleRow> rows_, work_;
  mutable std::vector<ScheduleRow> base_;
  std::vector<YearTab> workTabs_;
  mutable std::vector<YearTab> baseTabs_;
  // Per payment: the events laid out once per calculation, and the marks.
  std::vector<ScheduleRowPlan> plan_;
  std::vector<std::uint8_t> marks_, workMarks_;
  std::vector<ScheduleEvent> events_;
  // Terms of the shown schedule: the loan its schedule without events is
  // built for, and whether it can be reused.
  ScheduleInputs shownTerms_;
  bool shownTermsValid_ = false;
  bool hasEvents_ = false;
  mutable int baseLastRow_ = 0;
  mutable bool baseStale_ = false;   // base_ does not hold the shown loan yet
  mutable bool baseFailed_ = false;  // building it was refused
  std::optional<Message> memoryNotice_;
  double periodFraction_ = 1.0;
  double fixedPrincipal_ = 0;
  double totalInterest_ = 0;
  int maxPeriods_;
  int lastRow_ = 0;
  bool calculated_ = false;
  std::vector<YearTab> tabs_;
  FirstPeriodKind kind_ = FirstPeriodKind::Regular;
  int oddDays_ = 0;
  double pointsAmount_ = 0;
};

// Label of payment k with P payments a year: "Init/01" for row 0, otherwise
// the number in 4 characters, "/", the loan year in 2 digits.
std::string PeriodLabel(int k, int paymentsPerYear);

}  // namespace brevika
