// The payment ledger: actual payments applied by the U.S. Rule against a
// saved loan. Every expected amount is worked by hand in the comments.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "amortization/schedule.h"
#include "finance/items.h"
#include "records/ledger.h"

namespace brevika::records {
namespace {

Date D(int m, int d, int y) { return MakeDate(d, m, y); }
long long Cents(double v) { return std::llround(v * 100); }

// Interest, principal, unpaid interest and balance of a ledger row, in cents.
#define EXPECT_APPLIED(row, days_, intr, prin, unpaid, bal)    \
  do {                                                         \
    EXPECT_EQ((row).days, days_);                              \
    EXPECT_EQ(Cents((row).interest), Cents(intr));             \
    EXPECT_EQ(Cents((row).principal), Cents(prin));            \
    EXPECT_EQ(Cents((row).unpaidInterest), Cents(unpaid));     \
    EXPECT_EQ(Cents((row).balance), Cents(bal));               \
  } while (0)

ScheduleInputs Terms(double pv, int n, float rate, Date org, Date first, int basis = kOrdinary) {
  ScheduleInputs in;
  in.PV = pv;
  in.NumPmts = static_cast<std::uint16_t>(n);
  in.Rate = rate;
  in.OrgDate = org;
  in.FrstPmtDate = first;
  in.RateBasis = basis;
  return in;
}

LedgerTerms TermsOf(const ScheduleInputs& in) {
  LedgerTerms t;
  t.amount = in.PV;
  t.rate = in.Rate;
  t.rateBasis = in.RateBasis;
  t.origination = in.OrgDate;
  t.firstPayment = in.FrstPmtDate;
  t.pyr = in.PYR;
  t.cmpPyr = in.CmpPYR;
  t.amortMthd = in.AmortMthd;
  return t;
}

// The loan with its calculated schedule and the given payments.
LedgerInputs Inputs(ScheduleInputs in, std::vector<ActualPayment> payments = {}) {
  Schedule s;
  EXPECT_TRUE(s.Calculate(in).ok());
  LedgerInputs li;
  li.terms = TermsOf(in);
  for (int k = 0; k <= s.lastRow(); ++k) li.scheduled.push_back(s.row(k));
  li.payments = std::move(payments);
  return li;
}

Ledger Computed(const LedgerInputs& in) {
  Ledger l;
  const Outcome o = ComputeLedger(in, l);
  EXPECT_TRUE(o.ok()) << o.FirstText();
  return l;
}

LedgerSummary Summary(const Ledger& l, Date asOf) {
  LedgerSummary s;
  EXPECT_TRUE(SummarizeLedger(l, asOf, s).ok());
  return s;
}

// 20,000.00 at 6 % over 60 months, monthly compounding, "Ordinary", made
// 01/01/2024 with the first payment 02/01/2024. i = 0.005 a month; the level
// payment is 20000 x 0.005 / (1 - 1.005^-60) = 100 / 0.258628 = 386.66.
// Scheduled: 1 (02/01) interest 100.00, principal 286.66, balance 19713.34;
// 2 (03/01) 19713.34 x 0.005 = 98.57, 288.09, 19425.25;
// 3 (04/01) 19425.25 x 0.005 = 97.13, 289.53, 19135.72.
ScheduleInputs LoanA() { return Terms(20000, 60, 6.0f, D(1, 1, 2024), D(2, 1, 2024)); }

TEST(LedgerDays, Us30360) {
  EXPECT_EQ(Days360(D(1, 1, 2024), D(2, 1, 2024)), 30);
  EXPECT_EQ(Days360(D(1, 1, 2024), D(2, 11, 2024)), 40);
  EXPECT_EQ(Days360(D(2, 11, 2024), D(3, 1, 2024)), 20);   // February counts 30 days
  EXPECT_EQ(Days360(D(1, 31, 2024), D(3, 1, 2024)), 31);   // the 31st starts as the 30th
  EXPECT_EQ(Days360(D(1, 15, 2024), D(1, 31, 2024)), 16);  // an end on the 31st after the 15th stays
  EXPECT_EQ(Days360(D(1, 30, 2024), D(1, 31, 2024)), 0);   // ... and after the 30th is the 30th
  EXPECT_EQ(Days360(D(12, 1, 2023), D(1, 1, 2024)), 30);
  EXPECT_EQ(Days360(D(1, 1, 2024), D(1, 1, 2025)), 360);
  EXPECT_EQ(Days360(D(2, 1, 2024), D(1, 1, 2024)), -30);
}

TEST(LedgerApply, OnTimePaymentsAreTheSchedule) {
  const std::vector<ActualPayment> pays = {{D(2, 1, 2024), 386.66, ""}, {D(3, 1, 2024), 386.66, ""},
                                           {D(4, 1, 2024), 386.66, ""}};
  const Ledger l = Computed(Inputs(LoanA(), pays));
  ASSERT_EQ(l.rows.size(), 3u);
  EXPECT_APPLIED(l.rows[0], 30, 100.00, 286.66, 0, 19713.34);
  EXPECT_APPLIED(l.rows[1], 30, 98.57, 288.09, 0, 19425.25);
  EXPECT_APPLIED(l.rows[2], 30, 97.13, 289.53, 0, 19135.72);
  EXPECT_EQ(l.accrualStart, D(1, 1, 2024));
  EXPECT_EQ(l.openingBalance, 20000.0);
}

TEST(LedgerApply, TenDaysLateChargesMoreInterest) {
  // 02/11: 30/360 days from 01/01 = 40; 20000 x 0.005 x 40/30 = 133.33;
  // principal 386.66 - 133.33 = 253.33; balance 19746.67 (scheduled:
  // 100.00 interest, 286.66 principal).
  // 03/01: 20 days (02/11 to 03/01 at 30 a month); 19746.67 x 0.005 x 20/30
  // = 65.82; principal 320.84; balance 19425.83, 0.58 above the schedule's
  // 19425.25: the interest on the 10 days.
  const Ledger l = Computed(Inputs(LoanA(), {{D(2, 11, 2024), 386.66, ""}, {D(3, 1, 2024), 386.66, ""}}));
  EXPECT_APPLIED(l.rows[0], 40, 133.33, 253.33, 0, 19746.67);
  EXPECT_APPLIED(l.rows[1], 20, 65.82, 320.84, 0, 19425.83);
  EXPECT_EQ(Cents(l.rows[0].accrued), 13333);

  // As of 02/05 the first payment is due and unpaid: 1 payment behind, and
  // it is the next due.
  const LedgerSummary s = Summary(l, D(2, 5, 2024));
  EXPECT_EQ(s.aheadPayments, -1);
  EXPECT_EQ(Cents(s.aheadAmount), -38666);
  EXPECT_EQ(s.nextDue, D(2, 1, 2024));
  EXPECT_EQ(s.paidThrough, D(1, 1, 2024));
  EXPECT_EQ(AheadBehindText(s), "Behind by 1 payment, $386.66");
}

TEST(LedgerApply, TwoHundredExtraGoesToPrincipal) {
  // 02/01: 586.66: interest 100.00, principal 486.66, balance 19513.34.
  // 03/01: 19513.34 x 0.005 = 97.5667 -> 97.57; principal 289.09; 19224.25.
  const Ledger l = Computed(Inputs(LoanA(), {{D(2, 1, 2024), 586.66, ""}, {D(3, 1, 2024), 386.66, ""}}));
  EXPECT_APPLIED(l.rows[0], 30, 100.00, 486.66, 0, 19513.34);
  EXPECT_APPLIED(l.rows[1], 30, 97.57, 289.09, 0, 19224.25);
  // As of 03/15: paid 973.32 against 773.32 scheduled: 200.00 ahead, but
  // not a whole payment (the first three take 1159.98); next due 04/01.
  const LedgerSummary s = Summary(l, D(3, 15, 2024));
  EXPECT_EQ(Cents(s.paid), 97332);
  EXPECT_EQ(Cents(s.scheduled), 77332);
  EXPECT_EQ(s.due, 2);
  EXPECT_EQ(s.covered, 2);
  EXPECT_EQ(s.aheadPayments, 0);
  EXPECT_EQ(Cents(s.aheadAmount), 20000);
  EXPECT_EQ(s.nextDue, D(4, 1, 2024));
  EXPECT_EQ(s.paidThrough, D(3, 1, 2024));
  EXPECT_EQ(Cents(s.balance), 1922425);
  EXPECT_EQ(AheadBehindText(s), "Ahead by $200.00");
}

TEST(LedgerApply, MissedMonthThenDoublePayment) {
  // Nothing on 02/01; 773.32 on 03/01: 60 days, 20000 x 0.005 x 2 = 200.00;
  // principal 573.32; balance 19426.68 (the schedule's 19425.25 plus the
  // missed principal's month of interest, 286.66 x 0.005 = 1.43).
  const Ledger l = Computed(Inputs(LoanA(), {{D(3, 1, 2024), 773.32, "double"}}));
  EXPECT_APPLIED(l.rows[0], 60, 200.00, 573.32, 0, 19426.68);
  EXPECT_EQ(l.rows[0].note, "double");

  const LedgerSummary before = Summary(l, D(2, 15, 2024));
  EXPECT_EQ(before.rows, 0);
  EXPECT_EQ(Cents(before.balance), 2000000);
  EXPECT_EQ(before.aheadPayments, -1);
  EXPECT_EQ(Cents(before.aheadAmount), -38666);
  EXPECT_EQ(before.nextDue, D(2, 1, 2024));

  // On 03/01 the double payment catches up.
  const LedgerSummary later = Summary(l, D(3, 1, 2024));
  EXPECT_EQ(later.aheadPayments, 0);
  EXPECT_EQ(AheadBehindText(later), "On schedule");
  EXPECT_EQ(later.nextDue, D(4, 1, 2024));
  // Without it, two payments of 386.66 are missing on 03/01.
  const LedgerSummary none = Summary(Computed(Inputs(LoanA())), D(3, 1, 2024));
  EXPECT_EQ(AheadBehindText(none), "Behind by 2 payments, $773.32");
}

TEST(LedgerApply, PaymentBelowTheInterestCarriesUnpaidInterest) {
  // 02/01: 60.00 against 100.00 of interest: all of it interest, 40.00
  // unpaid, balance unchanged.
  // 03/01: interest accrues on the principal only: 100.00, plus the 40.00
  // carried = 140.00; principal 386.66 - 140.00 = 246.66; 19753.34.
  const Ledger l = Computed(Inputs(LoanA(), {{D(2, 1, 2024), 60, ""}, {D(3, 1, 2024), 386.66, ""}}));
  EXPECT_APPLIED(l.rows[0], 30, 60.00, 0, 40.00, 20000.00);
  EXPECT_APPLIED(l.rows[1], 30, 140.00, 246.66, 0, 19753.34);
  EXPECT_EQ(Cents(l.rows[1].accrued), 10000);

  // As of 02/01 the first payment is part paid: 1 behind by 326.66.
  const LedgerSummary s = Summary(l, D(2, 1, 2024));
  EXPECT_EQ(s.aheadPayments, -1);
  EXPECT_EQ(Cents(s.aheadAmount), -32666);
  EXPECT_EQ(s.nextDue, D(2, 1, 2024));
  EXPECT_EQ(Cents(s.unpaidInterest), 4000);

  // Payoff 02/16: 15 days on 20000.00 = 50.00, plus the 40.00 unpaid:
  // 20090.00; per diem 20000 x 0.06 / 360 = 3.33.
  PayoffQuote q;
  ASSERT_TRUE(QuotePayoff(l, D(2, 16, 2024), q).ok());
  EXPECT_EQ(q.days, 15);
  EXPECT_EQ(Cents(q.unpaidInterest), 4000);
  EXPECT_EQ(Cents(q.accruedInterest), 5000);
  EXPECT_EQ(Cents(q.payoff), 2009000);
  EXPECT_EQ(Cents(q.perDiem), 333);
}

TEST(LedgerPayoff, MidMonthQuote) {
  // After the on-time first payment (19713.34, interest charged through
  // 02/01): on 02/16, 15 days x 19713.34 x 0.005 / 30 = 49.28335 -> 49.28;
  // payoff 19762.62; per diem 19713.34 x 0.06 / 360 = 3.2856 -> 3.29.
  const Ledger l = Computed(Inputs(LoanA(), {{D(2, 1, 2024), 386.66, ""}}));
  PayoffQuote q;
  ASSERT_TRUE(QuotePayoff(l, D(2, 16, 2024), q).ok());
  EXPECT_EQ(q.paidThrough, D(2, 1, 2024));
  EXPECT_EQ(q.days, 15);
  EXPECT_EQ(Cents(q.balance), 1971334);
  EXPECT_EQ(Cents(q.unpaidInterest), 0);
  EXPECT_EQ(Cents(q.accruedInterest), 4928);
  EXPECT_EQ(Cents(q.payoff), 1976262);
  EXPECT_EQ(Cents(q.perDiem), 329);

  // On the payment's own day nothing has accrued since it.
  ASSERT_TRUE(QuotePayoff(l, D(2, 1, 2024), q).ok());
  EXPECT_EQ(q.days, 0);
  EXPECT_EQ(Cents(q.payoff), 1971334);
  // Before the payment: 20000 plus 30 days less a day (01/01 to 01/31 is
  // 30 days by 30/360) = 100.00.
  ASSERT_TRUE(QuotePayoff(l, D(1, 31, 2024), q).ok());
  EXPECT_EQ(q.days, 30);
  EXPECT_EQ(Cents(q.payoff), 2010000);

  const Outcome refused = QuotePayoff(l, D(12, 31, 2023), q);
  EXPECT_TRUE(refused.refused);
  EXPECT_EQ(refused.FirstText(),
            "Payoff Date 12/31/2023 must be\n\nequal to or after Origination Date 01/01/2024.\n\n");
  EXPECT_EQ(QuotePayoff(l, kBadDate, q).FirstText(), kMsgPayoffDateBad);
}

TEST(LedgerPayoff, LeapYearUnderExact365) {
  // Exact/365 counts February 2024 as 29 days: 20000 x 0.06 / 365 x 29 =
  // 95.342 -> 95.34; principal 291.32; balance 19708.68. The same month of
  // 2023 has 28 days: 92.055 -> 92.05; principal 294.61; 19705.39.
  const Ledger leap =
      Computed(Inputs(Terms(20000, 60, 6.0f, D(2, 1, 2024), D(3, 1, 2024), kExact365), {{D(3, 1, 2024), 386.66, ""}}));
  EXPECT_APPLIED(leap.rows[0], 29, 95.34, 291.32, 0, 19708.68);
  const Ledger common =
      Computed(Inputs(Terms(20000, 60, 6.0f, D(2, 1, 2023), D(3, 1, 2023), kExact365), {{D(3, 1, 2023), 386.66, ""}}));
  EXPECT_APPLIED(common.rows[0], 28, 92.05, 294.61, 0, 19705.39);

  // A whole leap year unpaid: 366 days over 365: 20000 x 0.06 x 366 / 365
  // = 1203.2877 -> 1203.29; per diem 20000 x 0.06 / 365 = 3.2877 -> 3.29.
  const Ledger none = Computed(Inputs(Terms(20000, 60, 6.0f, D(1, 1, 2024), D(2, 1, 2024), kExact365)));
  PayoffQuote q;
  ASSERT_TRUE(QuotePayoff(none, D(1, 1, 2025), q).ok());
  EXPECT_EQ(q.days, 366);
  EXPECT_EQ(Cents(q.accruedInterest), 120329);
  EXPECT_EQ(Cents(q.perDiem), 329);
  // Exact/360 on the same days: 20000 x 0.06 x 366 / 360 = 1220.00.
  const Ledger e360 = Computed(Inputs(Terms(20000, 60, 6.0f, D(1, 1, 2024), D(2, 1, 2024), kExact360)));
  ASSERT_TRUE(QuotePayoff(e360, D(1, 1, 2025), q).ok());
  EXPECT_EQ(Cents(q.accruedInterest), 122000);
}

TEST(LedgerApply, RateChangeSplitsTheDays) {
  // 7.2 % from 02/16: of the 30 days to 03/01, 15 at 0.5 % a month and 15
  // at 0.6 %: 19713.34 x (0.0025 + 0.003) = 108.42; principal 278.24;
  // balance 19435.10. Per diem after: 19435.10 x 0.072 / 360 = 3.89.
  LedgerInputs in = Inputs(LoanA(), {{D(3, 1, 2024), 386.66, ""}, {D(2, 1, 2024), 386.66, ""}});
  in.rateChanges = {{D(2, 16, 2024), 7.2f}};
  const Ledger l = Computed(in);
  EXPECT_APPLIED(l.rows[0], 30, 100.00, 286.66, 0, 19713.34);
  EXPECT_APPLIED(l.rows[1], 30, 108.42, 278.24, 0, 19435.10);
  EXPECT_EQ(l.rows[1].payment, 0u);  // given first, applied second
  EXPECT_EQ(RowOfPayment(l, 0), &l.rows[1]);
  PayoffQuote q;
  ASSERT_TRUE(QuotePayoff(l, D(3, 2, 2024), q).ok());
  EXPECT_EQ(Cents(q.perDiem), 389);
  EXPECT_EQ(Cents(q.accruedInterest), 389);  // one 30/360 day
}

TEST(LedgerApply, OverpaymentPaysOffAndIsKeptApart) {
  // 03/01: 20000.00 after the first payment: interest 98.57, principal the
  // whole 19713.34, overpaid 20000 - 98.57 - 19713.34 = 188.09. A later
  // payment is all overpaid.
  const Ledger l = Computed(Inputs(
      LoanA(), {{D(2, 1, 2024), 386.66, ""}, {D(3, 1, 2024), 20000, ""}, {D(4, 1, 2024), 100, ""}}));
  EXPECT_APPLIED(l.rows[1], 30, 98.57, 19713.34, 0, 0);
  EXPECT_EQ(Cents(l.rows[1].overpaid), 18809);
  EXPECT_APPLIED(l.rows[2], 30, 0, 0, 0, 0);
  EXPECT_EQ(Cents(l.rows[2].overpaid), 10000);
  const LedgerSummary s = Summary(l, D(3, 1, 2024));
  EXPECT_TRUE(s.paidOff);
  EXPECT_EQ(s.nextDue, kBadDate);
  EXPECT_EQ(AheadBehindText(s), "Paid off");
}

TEST(LedgerSummaryRules, LateInterestLeftAfterEverySchedulePaymentIsDueAtTheEnd) {
  // 1,000.00 at 12 % over 2 months: i = 0.01, payment 10 / (1 - 1.01^-2) =
  // 507.51. On time 02/01: 10.00, 497.51, 502.49. Late 03/20: 30/360 days
  // 49: 502.49 x 0.01 x 49/30 = 8.21; principal 499.30; 3.19 still owed
  // though both scheduled payments are paid: the last scheduled date is due.
  const Ledger l = Computed(Inputs(Terms(1000, 2, 12.0f, D(1, 1, 2024), D(2, 1, 2024)),
                                   {{D(2, 1, 2024), 507.51, ""}, {D(3, 20, 2024), 507.51, ""}}));
  EXPECT_APPLIED(l.rows[1], 49, 8.21, 499.30, 0, 3.19);
  const LedgerSummary s = Summary(l, D(3, 31, 2024));
  EXPECT_EQ(s.covered, 2);
  EXPECT_EQ(s.due, 2);
  EXPECT_FALSE(s.paidOff);
  EXPECT_EQ(s.nextDue, D(3, 1, 2024));
  EXPECT_EQ(AheadBehindText(s), "On schedule");
}

TEST(LedgerYears, CalendarYearAcrossTwoLoans) {
  // Loan 1 (refinanced in): 20,000.00 at 6 %, made 10/01/2024, payments of
  // 386.66 on 11/01/2024, 12/01/2024 and 01/01/2025: 100.00 + 286.66,
  // 98.57 + 288.09, then 97.13 + 289.53 (January pays December's interest,
  // and counts in 2025).
  const Ledger one = Computed(Inputs(Terms(20000, 60, 6.0f, D(10, 1, 2024), D(11, 1, 2024)),
                                     {{D(11, 1, 2024), 386.66, ""}, {D(12, 1, 2024), 386.66, ""},
                                      {D(1, 1, 2025), 386.66, ""}}));
  // Loan 2: 10,000.00 at 4.5 % Exact/365, made 11/15/2024, 500.00 on
  // 12/15/2024 (30 days: 10000 x 0.045 / 365 x 30 = 36.99, principal
  // 463.01, 9536.99) and 01/15/2025 (31 days: 9536.99 x 0.045 / 365 x 31
  // = 36.45, principal 463.55).
  const Ledger two = Computed(Inputs(Terms(10000, 24, 4.5f, D(11, 15, 2024), D(12, 15, 2024), kExact365),
                                     {{D(12, 15, 2024), 500, ""}, {D(1, 15, 2025), 500, ""}}));
  EXPECT_APPLIED(two.rows[0], 30, 36.99, 463.01, 0, 9536.99);
  EXPECT_APPLIED(two.rows[1], 31, 36.45, 463.55, 0, 9073.44);

  YearPaid a, b;
  ASSERT_TRUE(PaidInYear(one, 2024, a).ok());
  ASSERT_TRUE(PaidInYear(two, 2024, b).ok());
  EXPECT_EQ(a.payments, 2);
  EXPECT_EQ(Cents(a.interest), 19857);
  EXPECT_EQ(Cents(a.principal), 57475);
  EXPECT_EQ(Cents(a.amount), 77332);
  EXPECT_EQ(b.payments, 1);
  // The year's interest for the return: 198.57 + 36.99 = 235.56; principal
  // 574.75 + 463.01 = 1037.76.
  EXPECT_EQ(Cents(a.interest) + Cents(b.interest), 23556);
  EXPECT_EQ(Cents(a.principal) + Cents(b.principal), 103776);

  ASSERT_TRUE(PaidInYear(one, 2025, a).ok());
  ASSERT_TRUE(PaidInYear(two, 2025, b).ok());
  EXPECT_EQ(Cents(a.interest) + Cents(b.interest), 13358);  // 97.13 + 36.45
  ASSERT_TRUE(PaidInYear(one, 2023, a).ok());
  EXPECT_EQ(a.payments, 0);
  EXPECT_EQ(PaidInYear(one, 4000, a).FirstText(), kMsgYearBad);

  const std::vector<YearPaid> years = PaidByYear(one);
  ASSERT_EQ(years.size(), 2u);
  EXPECT_EQ(years[0].year, 2024);
  EXPECT_EQ(Cents(years[0].interest), 19857);
  EXPECT_EQ(years[1].year, 2025);
  EXPECT_EQ(Cents(years[1].principal), 28953);
}

TEST(LedgerRefusals, PaymentsThatCantBeRecorded) {
  const LedgerTerms t = TermsOf(LoanA());
  EXPECT_TRUE(CheckPayment(t, {D(1, 1, 2024), 0.01, ""}).ok());
  EXPECT_TRUE(CheckPayment(t, {D(1, 1, 2024), 999999999999.99, ""}).ok());
  EXPECT_EQ(CheckPayment(t, {kBadDate, 100, ""}).FirstText(), kMsgPaymentDateBad);
  EXPECT_EQ(CheckPayment(t, {D(12, 31, 2023), 100, ""}).FirstText(),
            "Payment Date 12/31/2023 must be\n\nequal to or after Origination Date 01/01/2024.\n\n");
  EXPECT_EQ(CheckPayment(t, {D(2, 1, 2024), 0, ""}).FirstText(), kMsgPaymentAmountNotPositive);
  EXPECT_EQ(CheckPayment(t, {D(2, 1, 2024), -5, ""}).FirstText(), kMsgPaymentAmountNotPositive);
  EXPECT_EQ(CheckPayment(t, {D(2, 1, 2024), 0.004, ""}).FirstText(), kMsgPaymentAmountNotPositive);
  EXPECT_EQ(CheckPayment(t, {D(2, 1, 2024), 1e12, ""}).FirstText(), kMsgPaymentAmountTooLarge);
  EXPECT_EQ(CheckPayment(t, {D(2, 1, 2024), NAN, ""}).FirstText(), NonFiniteMessage().text);

  // One bad payment refuses the whole ledger and leaves the old one.
  Ledger l = Computed(Inputs(LoanA(), {{D(2, 1, 2024), 386.66, ""}}));
  const Outcome o = ComputeLedger(Inputs(LoanA(), {{D(2, 1, 2024), 386.66, ""}, {D(3, 1, 2024), 0, ""}}), l);
  EXPECT_TRUE(o.refused);
  EXPECT_EQ(l.rows.size(), 1u);

  LedgerInputs bad = Inputs(LoanA());
  bad.terms.amount = 0;
  EXPECT_EQ(ComputeLedger(bad, l).FirstText(), kMsgLedgerTerms);
  bad = Inputs(LoanA());
  bad.rateChanges = {{kBadDate, 5.0f}};
  EXPECT_EQ(ComputeLedger(bad, l).FirstText(), kMsgLedgerTerms);
  LedgerSummary s;
  EXPECT_EQ(SummarizeLedger(l, kBadDate, s).FirstText(), kMsgAsOfDateBad);
}

// A loan paid exactly as scheduled reproduces the schedule row by row.
void ExpectScheduleReproduced(ScheduleInputs in, const char* what) {
  SCOPED_TRACE(what);
  Schedule s;
  ASSERT_TRUE(s.Calculate(in).ok());
  LedgerInputs li = Inputs(in);
  for (int k = 1; k <= s.lastRow(); ++k) li.payments.push_back({s.row(k).date, s.row(k).payment, ""});
  const Ledger l = Computed(li);
  ASSERT_EQ(static_cast<int>(l.rows.size()), s.lastRow());
  int mismatches = 0;
  for (int k = 1; k <= s.lastRow(); ++k) {
    const LedgerRow& r = l.rows[static_cast<std::size_t>(k - 1)];
    const ScheduleRow& want = s.row(k);
    if (Cents(r.interest) != Cents(want.interest) || Cents(r.principal) != Cents(want.principal) ||
        Cents(r.balance) != Cents(want.balance) || Cents(r.unpaidInterest) != 0 || Cents(r.overpaid) != 0) {
      if (++mismatches <= 3)
        ADD_FAILURE() << "payment " << k << ": " << r.interest << " " << r.principal << " " << r.balance
                      << " vs " << want.interest << " " << want.principal << " " << want.balance;
    }
  }
  EXPECT_EQ(mismatches, 0);
  const LedgerSummary sum = Summary(l, s.row(s.lastRow()).date);
  EXPECT_TRUE(sum.paidOff);
  EXPECT_EQ(sum.aheadPayments, 0);
  EXPECT_EQ(Cents(sum.aheadAmount), 0);
}

TEST(LedgerInvariant, PaidAsScheduledGivesTheScheduleForEveryMethodButRuleOf78) {
  for (AmortMethod m : {AmortMethod::Canadian, AmortMethod::InterestOnly, AmortMethod::FixedPrincipal,
                        AmortMethod::Normal, AmortMethod::USRule}) {
    ScheduleInputs in = LoanA();
    in.AmortMthd = static_cast<int>(m);
    if (m == AmortMethod::Canadian) {
      in.PYR = LoanDefaults.canadianPYR - 1;
      in.CmpPYR = LoanDefaults.canadianCmpPYR;
    }
    ExpectScheduleReproduced(in, AmortizingMethodItems()[static_cast<std::size_t>(in.AmortMthd)].c_str());
  }
  ExpectScheduleReproduced(Terms(100000, 360, 7.5f, D(1, 1, 1997), D(2, 1, 1997)), "30 years monthly");
  ExpectScheduleReproduced(Terms(20000, 60, 6.0f, D(1, 1, 2024), D(2, 1, 2024), kExact360), "Exact/360");
  ExpectScheduleReproduced(Terms(20000, 60, 6.0f, D(1, 1, 2024), D(2, 1, 2024), kExact365), "Exact/365");
  // A long first period: the odd days are paid at origination.
  ExpectScheduleReproduced(Terms(20000, 60, 6.0f, D(3, 1, 2024), D(4, 15, 2024)), "long, Ordinary");
  ExpectScheduleReproduced(Terms(20000, 60, 6.0f, D(3, 1, 2024), D(4, 15, 2024), kExact365), "long, Exact/365");
  // First payment at origination, in advance.
  ExpectScheduleReproduced(Terms(20000, 60, 6.0f, D(1, 1, 2024), D(1, 1, 2024)), "advance");
  ScheduleInputs quarterly = Terms(20000, 20, 6.0f, D(1, 1, 2024), D(4, 1, 2024));
  quarterly.PYR = 4;  // "Quarterly"
  quarterly.CmpPYR = 5;
  ExpectScheduleReproduced(quarterly, "quarterly");
  ScheduleInputs weekly = Terms(20000, 260, 6.0f, D(1, 1, 2024), D(1, 8, 2024), kExact365);
  weekly.PYR = 0;  // "Weekly"
  ExpectScheduleReproduced(weekly, "weekly, Exact/365");
  ScheduleInputs amortizedPoints = LoanA();
  amortizedPoints.Points = 2;
  amortizedPoints.PointsPaidMthd = kPointsAmortized;
  ExpectScheduleReproduced(amortizedPoints, "amortized points");
}

TEST(LedgerInvariant, RuleOf78InterestIsNotTheInterestTheBalanceEarns) {
  // The schedule's first interest is 60/1830 of the total interest
  // 60 x 386.66 - 20000 = 3199.60: 104.90. The ledger charges the month's
  // simple interest, 100.00, exactly as for "Normal".
  ScheduleInputs in = LoanA();
  in.AmortMthd = static_cast<int>(AmortMethod::RuleOf78);
  Schedule s78;
  ASSERT_TRUE(s78.Calculate(in).ok());
  EXPECT_EQ(Cents(s78.row(1).interest), 10490);
  LedgerInputs li = Inputs(in);
  for (int k = 1; k <= s78.lastRow(); ++k) li.payments.push_back({s78.row(k).date, s78.row(k).payment, ""});
  const Ledger l = Computed(li);
  EXPECT_APPLIED(l.rows[0], 30, 100.00, 286.66, 0, 19713.34);
  EXPECT_APPLIED(l.rows[1], 30, 98.57, 288.09, 0, 19425.25);
}

TEST(LedgerInvariant, OrdinaryShortFirstPeriodCountsDaysBy30360) {
  // Made 01/22, first payment 02/01: the schedule charges 10 actual days
  // over 30, 20000 x 0.005 x 10/30 = 33.33; by 30/360 it is 9 days (the
  // 22nd to the 1st), 30.00, so of the 386.66 paid 356.66 is principal
  // (the schedule's 353.33), leaving 19643.34.
  ScheduleInputs in = Terms(20000, 60, 6.0f, D(1, 22, 2024), D(2, 1, 2024));
  Schedule s;
  ASSERT_TRUE(s.Calculate(in).ok());
  EXPECT_EQ(Cents(s.row(1).interest), 3333);
  const Ledger l = Computed(Inputs(in, {{D(2, 1, 2024), 386.66, ""}}));
  EXPECT_APPLIED(l.rows[0], 9, 30.00, 356.66, 0, 19643.34);
}

TEST(LedgerLines, ScheduledAndActualSideBySide) {
  // Scheduled 02/01, 03/01, ...; paid 02/01 (twice), 02/11.
  const Ledger l = Computed(Inputs(
      LoanA(), {{D(2, 11, 2024), 10, "b"}, {D(2, 1, 2024), 386.66, "a"}, {D(2, 1, 2024), 5, "a2"}}));
  const std::vector<LedgerLine> lines = LedgerLines(l);
  ASSERT_EQ(lines.size(), 62u);  // 60 scheduled, two actual lines of their own
  EXPECT_EQ(lines[0].date, D(2, 1, 2024));
  EXPECT_EQ(lines[0].scheduledRow, 1);
  EXPECT_EQ(l.rows[static_cast<std::size_t>(lines[0].ledgerRow)].note, "a");
  EXPECT_EQ(lines[1].scheduledRow, -1);
  EXPECT_EQ(l.rows[static_cast<std::size_t>(lines[1].ledgerRow)].note, "a2");
  EXPECT_EQ(lines[2].date, D(2, 11, 2024));
  EXPECT_EQ(lines[3].date, D(3, 1, 2024));
  EXPECT_EQ(lines[3].ledgerRow, -1);
}

TEST(LedgerCsvText, RowsAsBytes) {
  // 1,000.00 at 12 % over 2 months: scheduled 507.51 = 10.00 + 497.51
  // (502.49 left), then 5.02 + 502.49. Paid 507.51 on 02/01 and 300.00 on
  // 03/05: 34 days by 30/360, 502.49 x 0.01 x 34/30 = 5.69, principal
  // 294.31, balance 208.18.
  const Ledger l = Computed(Inputs(Terms(1000, 2, 12.0f, D(1, 1, 2024), D(2, 1, 2024)),
                                   {{D(2, 1, 2024), 507.51, "check 101"},
                                    {D(3, 5, 2024), 300, "said \"late\", sorry"}}));
  EXPECT_EQ(LedgerCsv(l),
            "Date,PmtNo,ScheduledPayment,ScheduledPrincipal,ScheduledInterest,ScheduledBalance,Amount,Days,"
            "Interest,Principal,UnpaidInterest,Balance,Overpaid,Note\r\n"
            "2024-02-01,1,507.51,497.51,10.00,502.49,507.51,30,10.00,497.51,0.00,502.49,0.00,check 101\r\n"
            "2024-03-01,2,507.51,502.49,5.02,0.00,,,,,,,,\r\n"
            "2024-03-05,,,,,,300.00,34,5.69,294.31,0.00,208.18,0.00,\"said \"\"late\"\", sorry\"\r\n");
}

TEST(LedgerReport, PagesCarryTheSummaryRowsAndYears) {
  std::vector<ActualPayment> pays;
  Schedule s;
  ScheduleInputs in = Terms(100000, 360, 7.5f, D(1, 1, 1997), D(2, 1, 1997));
  ASSERT_TRUE(s.Calculate(in).ok());
  for (int k = 1; k <= 24; ++k) pays.push_back({s.row(k).date, 699.21, ""});
  const Ledger l = Computed(Inputs(in, pays));
  const LedgerSummary sum = Summary(l, D(1, 15, 1999));
  LedgerReportSetup setup;
  setup.today = D(1, 15, 1999);
  setup.loanNo = "42";
  const std::vector<Page> pages = LedgerReportPages(l, sum, setup);
  ASSERT_GT(pages.size(), 5u);  // 360 scheduled lines
  auto has = [](const Page& p, const std::string& text) {
    for (const PageText& t : p.texts)
      if (t.text == text) return true;
    return false;
  };
  EXPECT_TRUE(has(pages[0], "Payment Ledger"));
  EXPECT_TRUE(has(pages[0], "Loan No: 42"));
  // 24 payments made, 24 due on 01/15/1999: the 25th (02/01/1999) is next.
  EXPECT_TRUE(has(pages[0], "On schedule"));
  EXPECT_TRUE(has(pages[0], "02/01/1999"));
  EXPECT_TRUE(has(pages[0], "$99,925.79"));  // balance after the first payment, as scheduled
  EXPECT_TRUE(has(pages[1], "Page: 2 of " + std::to_string(pages.size())));
  // Years 1997 (11 payments), 1998 (12) and 1999 (1) close the last page.
  EXPECT_TRUE(has(pages.back(), "Paid by Calendar Year"));
  EXPECT_TRUE(has(pages.back(), "1997"));
  EXPECT_TRUE(has(pages.back(), "11"));
  EXPECT_TRUE(has(pages.back(), "1999"));
}

}  // namespace
}  // namespace brevika::records
