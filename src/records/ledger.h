// The payment ledger of a saved loan: the borrower's actual payments applied
// against the loan's terms, beside its saved schedule. Pure computation on
// values the caller passes in (terms, scheduled rows, rate changes,
// payments, the as-of date); no tables, no Qt.
//
// How a payment is applied (the U.S. Rule):
// - Interest accrues as simple interest on the principal balance from the
//   date through which interest was last charged (`paidThrough`) to the
//   payment's date. "Ordinary" counts the days by the U.S. 30/360 rule
//   (Days360) and charges the periodic rate of the loan (the annual rate
//   converted to the payment period, as the schedule converts it) times
//   P x days / 360, P payments a year: a whole month (30 days) of a monthly
//   loan is exactly the schedule's period. "Exact/360" and "Exact/365"
//   count the actual days and charge the annual rate / 360 or / 365 a day.
//   With rate changes, each stretch of days is charged at the rate in force
//   (a change counts from its own date on) and the sum is rounded once.
// - The payment pays the interest still unpaid first, then the interest
//   accrued, then principal. A payment below that interest pays what it can
//   and carries the rest as unpaid interest, which earns no interest. What
//   is left after the whole balance is paid is the row's overpayment.
// - Interest is rounded to the cent as the schedule rounds (RoundToCents);
//   principal and balance are plain differences of those amounts, as in
//   the schedule.
// - Accrual starts at origination, except after a long first period: the
//   schedule's initial row shows the interest of the odd days paid at
//   origination, so interest is then charged from one payment period before
//   the first payment date. The principal owed at the start is the saved
//   initial row's balance (which holds amortized points), or the amount
//   when there is no saved row.
//
// So a loan paid exactly as scheduled (each scheduled amount on its date)
// gives the schedule's interest, principal and balance row by row whenever
// the schedule charges simple interest on the balance for the same days:
// monthly "Ordinary" payments on a day of the month up to the 28th, any
// payment period with an exact basis, for "Normal", "Canadian", "U.S. Rule",
// "Interest Only" and "Fixed Principal". "Rule of 78's" spreads the total
// interest by sum-of-digits weights instead, so its scheduled interest is
// not the interest the balance earns. Under "Ordinary" the schedule counts
// a short first period's actual days (over 30), where the ledger counts
// them by 30/360; and points paid with the first payment are not interest
// that accrues, so the ledger takes them as principal.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "amortization/schedule.h"
#include "finance/format.h"
#include "finance/outcome.h"
#include "finance/page_layout.h"
#include "finance/periods.h"

namespace brevika::records {

// The terms of a saved loan that its ledger uses.
struct LedgerTerms {
  double amount = 0;             // amount of loan
  float rate = 0;                // annual rate, percent, before any change
  int rateBasis = kOrdinary;     // 0 "Ordinary", 1 "Exact/360", 2 "Exact/365"
  Date origination = kBadDate;
  Date firstPayment = kBadDate;
  int pyr = 2;                   // payment period list index (2 "Monthly")
  int cmpPyr = 3;                // compounding period list index
  int amortMthd = 3;             // amortizing method code; the ledger charges
                                 // simple interest whatever it is
};

// A new annual rate (percent) in force from `from` on.
struct RateChange {
  Date from = kBadDate;
  float rate = 0;
};

// A payment the borrower made.
struct ActualPayment {
  Date date = kBadDate;
  double amount = 0;
  std::string note;
  bool operator==(const ActualPayment&) const = default;
};

struct LedgerInputs {
  LedgerTerms terms;
  // The saved schedule: rows 0 (the initial row) to the last, in date order.
  std::vector<ScheduleRow> scheduled;
  std::vector<RateChange> rateChanges;  // any order
  std::vector<ActualPayment> payments;  // any order
};

// How one actual payment was applied.
struct LedgerRow {
  std::size_t payment = 0;  // index in LedgerInputs::payments
  Date date = kBadDate;
  double amount = 0;
  int days = 0;             // days charged: 30/360 days or actual days
  double accrued = 0;       // interest of those days
  double interest = 0;      // interest paid: unpaid interest first, then accrued
  double principal = 0;     // principal paid
  double unpaidInterest = 0;  // interest still unpaid after this payment
  double balance = 0;       // principal owed after this payment
  double overpaid = 0;      // paid beyond the whole balance and interest
  std::string note;
};

struct Ledger {
  LedgerTerms terms;
  std::vector<ScheduleRow> scheduled;
  std::vector<RateChange> rateChanges;  // sorted by date
  Date accrualStart = kBadDate;         // interest is charged from here
  double openingBalance = 0;            // principal owed at accrualStart
  std::vector<LedgerRow> rows;          // by date; equal dates in entry order
};

// What the ledger says on a day (the as-of date), counting the payments
// dated on or before it.
//
// - balance, unpaidInterest: after the last of those payments.
// - paidThrough: the date through which interest has been charged: the
//   last of those payments' date, or the accrual start when there is none.
//   Interest from then on has not been charged yet; interest charged and
//   not paid is unpaidInterest.
// - paid: the sum of those payments. scheduled: the sum of the scheduled
//   payments (rows 1 on; the initial row is settled at origination) dated
//   on or before the day. due: how many of those scheduled payments there
//   are. covered: how many scheduled payments, taken in order from the
//   first, the amount paid settles in full.
// - aheadPayments = covered - due (negative: behind by that many
//   payments); aheadAmount = paid - scheduled (negative when behind). A
//   payment 200 larger is 0 payments and 200.00 ahead; a missed month is
//   1 payment and one scheduled amount behind; a part payment leaves its
//   scheduled payment unsettled, so it is 1 payment behind by the part
//   missing.
// - nextDue: the date of the first scheduled payment not settled in full
//   (in the past when behind, later when paid ahead). When every scheduled
//   payment is settled: the last scheduled date while principal or interest
//   is still owed, kBadDate once the loan is paid off.
struct LedgerSummary {
  Date asOf = kBadDate;
  double balance = 0;
  double unpaidInterest = 0;
  Date paidThrough = kBadDate;
  double paid = 0;
  double scheduled = 0;
  int due = 0;
  int covered = 0;
  int aheadPayments = 0;
  double aheadAmount = 0;
  Date nextDue = kBadDate;
  bool paidOff = false;  // a payment left no principal and no interest owed
  int rows = 0;  // ledger rows counted (those dated on or before asOf)
};

// What it takes to pay the loan off on a day, after the payments dated on
// or before it: payoff = balance + unpaidInterest + accruedInterest, the
// accrued interest being that of `days` from paidThrough to the day.
// perDiem is one more day's interest on the balance at the rate in force
// that day (30/360: the periodic rate x P / 360; exact: rate / 360 or 365).
struct PayoffQuote {
  Date date = kBadDate;
  Date paidThrough = kBadDate;
  int days = 0;
  double balance = 0;
  double unpaidInterest = 0;
  double accruedInterest = 0;
  double payoff = 0;
  double perDiem = 0;
};

// Interest and principal paid by the payments dated in one calendar year
// (what a borrower needs for a tax return). Interest paid in January for
// December's days counts in January's year; an overpayment is neither.
struct YearPaid {
  int year = 0;
  double interest = 0;
  double principal = 0;
  double amount = 0;  // sum of the payments
  int payments = 0;
};

// Days from `from` to `to` by the U.S. 30/360 rule: every month has 30
// days; a start on the 31st counts as the 30th, and so does an end on the
// 31st when the start is the 30th or 31st. Negative when `to` is earlier.
int Days360(Date from, Date to);

// Refuses a payment that can't be recorded: a date that is not a date or
// is before origination, an amount not above zero, over 12 digits or not
// finite. The messages are below.
Outcome CheckPayment(const LedgerTerms& terms, const ActualPayment& payment);

// Applies every payment in date order. Refused when the terms can't carry
// a ledger (no amount, a negative rate, an origination that is not a date,
// a rate change that is not a date or rate) or a payment fails
// CheckPayment; `out` is then unchanged.
Outcome ComputeLedger(const LedgerInputs& in, Ledger& out);

// The ledger's row of payment `index` of the inputs; null when none.
const LedgerRow* RowOfPayment(const Ledger& ledger, std::size_t index);

// The summary on `asOf`. Refused only for a date that is not a date.
Outcome SummarizeLedger(const Ledger& ledger, Date asOf, LedgerSummary& out);

// The payoff quote on `date`. Refused for a date that is not a date or
// that is before origination.
Outcome QuotePayoff(const Ledger& ledger, Date date, PayoffQuote& out);

// Totals of one calendar year (1600 to 3999), and of every year that has
// payments, in order.
Outcome PaidInYear(const Ledger& ledger, int year, YearPaid& out);
std::vector<YearPaid> PaidByYear(const Ledger& ledger);

// "Ahead by 1 payment, $200.00", "Behind by 2 payments, $773.32" or
// "On schedule"; with no payment count ahead or behind but an amount,
// "Ahead by $200.00" or "Behind by $12.50"; "Paid off" once it is.
std::string AheadBehindText(const LedgerSummary& summary, const LocaleFormat& money = UsLocaleFormat());
// A date of the summary or the payoff quote: MM/DD/YYYY, "--/--/----"
// where there is none.
std::string SummaryDateText(Date d);

// One line of the ledger beside the schedule: a scheduled payment, an
// actual payment, or both when they fall on the same date (the first
// actual payment of a date shares the line with that date's scheduled
// payment). `scheduledRow` indexes Ledger::scheduled, `ledgerRow`
// Ledger::rows; -1 for the part that is absent.
struct LedgerLine {
  Date date = kBadDate;
  int scheduledRow = -1;
  int ledgerRow = -1;
};
// Scheduled payments (rows 1 on) and actual payments merged by date.
std::vector<LedgerLine> LedgerLines(const Ledger& ledger);

// The merged lines as CSV in the schedule CSV's manner (RFC 4180, CR LF,
// ISO dates, amounts to the cent without grouping); an absent part's cells
// are empty.
extern const char kLedgerCsvHeading[];
std::string LedgerCsv(const Ledger& ledger);

// Messages.
inline constexpr const char* kMsgPaymentDateBad =
    "Payment Date is not a date.\n\nEnter it as MM/DD/YYYY,\n\nfrom 01/01/1600 to 12/31/3999.\n\n";
inline constexpr const char* kMsgPaymentAmountNotPositive = "Payment Amount must be more than zero.\n\n";
inline constexpr const char* kMsgPaymentAmountTooLarge =
    "Payment Amount can't be more than\n\n999,999,999,999.99.\n\n";
inline constexpr const char* kMsgLedgerTerms =
    "This loan's amount, rate or dates\n\ncan't carry its payments.\n\nLoad the loan and save its schedule again.\n\n";
inline constexpr const char* kMsgAsOfDateBad =
    "As-of Date is not a date.\n\nEnter it as MM/DD/YYYY,\n\nfrom 01/01/1600 to 12/31/3999.\n\n";
inline constexpr const char* kMsgPayoffDateBad =
    "Payoff Date is not a date.\n\nEnter it as MM/DD/YYYY,\n\nfrom 01/01/1600 to 12/31/3999.\n\n";
inline constexpr const char* kMsgYearBad = "Year must be from 1600 to 3999.\n\n";
// "Payment Date 12/15/2023 must be\n\nequal to or after Origination Date 01/01/2024.\n\n"
std::string PaymentBeforeOriginationText(Date payment, Date origination);
// "Payoff Date ... must be\n\nequal to or after Origination Date ...\n\n"
std::string PayoffBeforeOriginationText(Date payoff, Date origination);

// The printed ledger: the title, the loan's line, the summary on the
// as-of date, the merged lines with a header on every page, then the
// interest and principal paid by calendar year.
struct LedgerReportSetup {
  std::string fontName = "Courier New";
  int fontPoints = 10;
  PaperSize paper = kLetterPaper;
  Date today = 0;   // "Prepared On"
  std::string loanNo;
  LocaleFormat money = UsLocaleFormat();
};
inline constexpr const char* kLedgerReportTitle = "Payment Ledger";
std::vector<Page> LedgerReportPages(const Ledger& ledger, const LedgerSummary& summary,
                                    const LedgerReportSetup& setup);

}  // namespace brevika::records
