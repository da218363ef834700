// What-if events of the schedule: the event texts and checks, the worked
// examples (checked by hand below), the refusals, and invariants over random
// event lists.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "amortization/schedule.h"
#include "amortization/schedule_events.h"
#include "calculators/accelerated.h"
#include "calculators/loan.h"
#include "finance/items.h"
#include "finance/rates.h"

namespace brevika {
namespace {

Date D(int m, int d, int y) { return MakeDate(d, m, y); }
long long Cents(double v) { return std::llround(v * 100); }

#define EXPECT_ROW(row, pmt, prin, intr, bal)       \
  do {                                              \
    EXPECT_EQ(Cents((row).payment), Cents(pmt));    \
    EXPECT_EQ(Cents((row).principal), Cents(prin)); \
    EXPECT_EQ(Cents((row).interest), Cents(intr));  \
    EXPECT_EQ(Cents((row).balance), Cents(bal));    \
  } while (0)

// 100,000 over 360 months at 7.5 %, first payment a month after origination:
// payment 699.21, balance after payment 12 of 99,078.23.
ScheduleInputs Mortgage() {
  ScheduleInputs in;
  in.PV = 100000;
  in.NumPmts = 360;
  in.Rate = 7.5f;
  in.OrgDate = D(1, 1, 1997);
  in.FrstPmtDate = D(2, 1, 1997);
  return in;
}

ScheduleEvent Extra(int from, std::optional<int> to, double amount, EventHow how = EventHow::ShorterTerm) {
  ScheduleEvent e;
  e.kind = EventKind::Extra;
  e.from = from;
  e.to = to;
  e.amount = amount;
  e.how = how;
  return e;
}
ScheduleEvent Lump(int at, double amount, EventHow how = EventHow::ShorterTerm) {
  ScheduleEvent e = Extra(at, std::nullopt, amount, how);
  e.kind = EventKind::Lump;
  return e;
}
ScheduleEvent RateAt(int at, float rate, EventHow how = EventHow::KeepTerm) {
  ScheduleEvent e;
  e.kind = EventKind::Rate;
  e.from = at;
  e.rate = rate;
  e.how = how;
  return e;
}
ScheduleEvent Holiday(int from, int to, EventHow how = EventHow::KeepTerm) {
  ScheduleEvent e;
  e.kind = EventKind::Holiday;
  e.from = from;
  e.to = to;
  e.how = how;
  return e;
}

Outcome Calc(Schedule& s, ScheduleInputs in, std::vector<ScheduleEvent> events) {
  in.events = std::move(events);
  return s.Calculate(in);
}

// ---- texts, forms and checks

TEST(ScheduleEventTexts, NamesAndWords) {
  for (EventKind k : {EventKind::Extra, EventKind::Lump, EventKind::Rate, EventKind::Holiday})
    EXPECT_EQ(EventKindNamed(EventKindName(k)), k);
  EXPECT_STREQ(EventKindName(EventKind::Holiday), "holiday");
  EXPECT_FALSE(EventKindNamed("Extra"));
  EXPECT_STREQ(EventHowName(EventHow::LowerPayment), "lower-payment");
  EXPECT_EQ(EventHowNamed("keep-payment"), EventHow::KeepPayment);
  EXPECT_FALSE(EventHowNamed("keep"));
  EXPECT_EQ(DefaultHow(EventKind::Lump), EventHow::ShorterTerm);
  EXPECT_EQ(DefaultHow(EventKind::Holiday), EventHow::KeepTerm);

  EXPECT_EQ(EventText(Extra(13, 60, 100)), "Extra principal with payments 13 to 60");
  EXPECT_EQ(EventText(Extra(13, std::nullopt, 100)), "Extra principal from payment 13");
  EXPECT_EQ(EventText(Lump(60, 1e4)), "Lump sum with payment 60");
  EXPECT_EQ(EventText(RateAt(61, 6.25f)), "Rate change at payment 61");
  EXPECT_EQ(EventText(Holiday(100, 102)), "Payment holiday of payments 100 to 102");
}

TEST(ScheduleEventTexts, CommandLineForms) {
  auto parse = [](EventKind k, const char* text) { return ParseEventText(k, text); };
  ParsedEvent p = parse(EventKind::Extra, "100@13-60");
  ASSERT_TRUE(p.event) << p.error;
  EXPECT_EQ(*p.event, Extra(13, 60, 100));
  p = parse(EventKind::Extra, "1,250.50@13");
  ASSERT_TRUE(p.event);
  EXPECT_EQ(*p.event, Extra(13, std::nullopt, 1250.50));
  p = parse(EventKind::Lump, "10000@60");
  ASSERT_TRUE(p.event);
  EXPECT_EQ(*p.event, Lump(60, 10000));
  p = parse(EventKind::Rate, "6.25@61");
  ASSERT_TRUE(p.event);
  EXPECT_EQ(*p.event, RateAt(61, 6.25f));
  p = parse(EventKind::Holiday, "100-102");
  ASSERT_TRUE(p.event);
  EXPECT_EQ(*p.event, Holiday(100, 102));

  EXPECT_EQ(parse(EventKind::Extra, "100").error, "is not AMOUNT@K or AMOUNT@K-M");
  EXPECT_EQ(parse(EventKind::Extra, "@13").error, "is not AMOUNT@K or AMOUNT@K-M");
  EXPECT_EQ(parse(EventKind::Extra, "0@13").error,
            "is not AMOUNT@K or AMOUNT@K-M: the amount is above 0, with at most 12 integer digits and 2 decimals");
  EXPECT_EQ(parse(EventKind::Extra, "100.001@13").error,
            "is not AMOUNT@K or AMOUNT@K-M: the amount is above 0, with at most 12 integer digits and 2 decimals");
  EXPECT_EQ(parse(EventKind::Extra, "100@0").error,
            "is not AMOUNT@K or AMOUNT@K-M: payment numbers are whole numbers from 1 to 32767");
  EXPECT_EQ(parse(EventKind::Extra, "100@60-13").error,
            "is not AMOUNT@K or AMOUNT@K-M: the last payment comes before the first");
  EXPECT_EQ(parse(EventKind::Lump, "100@5-7").error, "is not AMOUNT@K");
  EXPECT_EQ(parse(EventKind::Lump, "100@x").error,
            "is not AMOUNT@K: payment numbers are whole numbers from 1 to 32767");
  EXPECT_EQ(parse(EventKind::Rate, "100@5").error,
            "is not RATE@K: the rate is above 0, with at most 2 integer digits and 4 decimals");
  EXPECT_EQ(parse(EventKind::Holiday, "100").error, "is not K-M");
  EXPECT_EQ(parse(EventKind::Holiday, "5@100-102").error,
            "is not K-M: payment numbers are whole numbers from 1 to 32767");
  EXPECT_EQ(parse(EventKind::Holiday, "100-40000").error,
            "is not K-M: payment numbers are whole numbers from 1 to 32767");

  std::vector<ScheduleEvent> list = {Extra(1, 2, 5), Lump(3, 5), RateAt(4, 5), Holiday(5, 6)};
  SetEventChoices(list, true, true);
  EXPECT_EQ(list[0].how, EventHow::LowerPayment);
  EXPECT_EQ(list[1].how, EventHow::LowerPayment);
  EXPECT_EQ(list[2].how, EventHow::KeepPayment);
  EXPECT_EQ(list[3].how, EventHow::KeepPayment);
  SetEventChoices(list, false, false);
  EXPECT_EQ(list[0].how, EventHow::ShorterTerm);
  EXPECT_EQ(list[3].how, EventHow::KeepTerm);
}

TEST(ScheduleEventTexts, DatesFallOnPaymentNumbers) {
  // Monthly from 31 January 1997: 31/1, 3/3 (28 February + 3), 3/4, ...
  const Date first = D(1, 31, 1997);
  EXPECT_EQ(PaymentNumberOn(D(1, 1, 1997), first, 12, 360), 1);
  EXPECT_EQ(PaymentNumberOn(first, first, 12, 360), 1);
  EXPECT_EQ(PaymentNumberOn(D(2, 1, 1997), first, 12, 360), 2);
  EXPECT_EQ(PaymentNumberOn(D(3, 3, 1997), first, 12, 360), 2);
  EXPECT_EQ(PaymentNumberOn(D(3, 4, 1997), first, 12, 360), 3);
  EXPECT_EQ(PaymentNumberOn(D(1, 31, 1998), first, 12, 360), 13);  // 3 January 1998 is payment 12
  EXPECT_EQ(PaymentNumberOn(D(1, 15, 1998), D(1, 1, 1998), 52, 1560), 3);  // 1, 8, 15 January
  EXPECT_FALSE(PaymentNumberOn(D(1, 1, 2030), first, 12, 360));
}

TEST(ScheduleEventChecks, EachEventAndTheListAsAWhole) {
  auto refusal = [](std::vector<ScheduleEvent> list) {
    const auto m = CheckEvents(list);
    EXPECT_TRUE(!m || m->box == BoxType::Information);
    return m ? m->text : std::string();
  };
  EXPECT_EQ(refusal({Extra(13, 60, 100), Lump(60, 1e4), RateAt(61, 6.25f), Holiday(100, 102)}), "");
  EXPECT_EQ(refusal({Lump(0, 100)}), "Lump sum with payment 0: payment numbers go from 1 to 32767.");
  EXPECT_EQ(refusal({Extra(13, 12, 100)}),
            "Extra principal with payments 13 to 12: the last payment comes before the first.");
  EXPECT_EQ(refusal({Extra(13, std::nullopt, 0)}), "Extra principal from payment 13: the amount must be above 0.");
  EXPECT_EQ(refusal({Extra(13, std::nullopt, std::nan(""))}),
            "Extra principal from payment 13: the amount must be above 0.");
  EXPECT_EQ(refusal({Extra(13, std::nullopt, 100, EventHow::KeepPayment)}),
            "Extra principal from payment 13: choose a shorter term or a lower payment.");
  EXPECT_EQ(refusal({RateAt(61, 0)}), "Rate change at payment 61: the rate must be above 0.");
  EXPECT_EQ(refusal({RateAt(61, 6, EventHow::LowerPayment)}),
            "Rate change at payment 61: choose to keep the term or the payment.");
  ScheduleEvent open = Holiday(100, 102);
  open.to.reset();
  EXPECT_EQ(refusal({open}), "Payment holiday from payment 100: give the last payment skipped.");
  ScheduleEvent lumpRange = Lump(5, 100);
  lumpRange.to = 6;
  EXPECT_EQ(refusal({lumpRange}), "Lump sum with payment 5: a lump sum goes with one payment.");

  EXPECT_EQ(refusal({RateAt(61, 6), Extra(1, 2, 3), RateAt(61, 7)}), "Two rate changes at payment 61.");
  EXPECT_EQ(refusal({Holiday(100, 102), Holiday(102, 104)}),
            "Payment holidays of payments 100 to 102 and 102 to 104 overlap.");
  EXPECT_EQ(refusal({Holiday(100, 102), Holiday(103, 104)}), "");  // back to back
  EXPECT_EQ(refusal({Holiday(100, 102), Lump(101, 5)}),
            "Lump sum with payment 101 falls in the payment holiday of payments 100 to 102.");
  // Overlapping extras add up.
  EXPECT_EQ(refusal({Extra(1, 10, 5), Extra(5, std::nullopt, 5), Lump(5, 5), Lump(5, 5)}), "");
  // One event per payment of the longest loan at most.
  EXPECT_EQ(refusal(std::vector<ScheduleEvent>(1560, Lump(5, 5))), "");
  EXPECT_EQ(refusal(std::vector<ScheduleEvent>(1561, Lump(5, 5))), "A schedule takes at most 1560 events.");
}

// ---- worked examples

// The accelerated payment calculator answers the same question with 100
// extra paid after period 12: 252 payments and 52,091.98 saved, the plain
// interest 360 x 699.21 - 100,000 = 151,715.60 less the 99,623.62 paid in
// its walk. The schedule pays the same interest row by row (each row's
// interest is the rounded interest on the balance, as in the walk):
//   payment 12: balance 99,078.23
//   payment 13: interest 99,078.23 x 0.00625 = 619.2389 -> 619.24,
//               payment 699.21 + 100 = 799.21, principal 179.97, balance 98,898.26
//   payment 252: interest 220.53 x 0.00625 = 1.378 -> 1.38; the row pays the
//               balance 220.53 and its interest: 221.91
// and ends with payment 252 on 1 January 2018. Where the two differ: the
// schedule without events does not pay 151,715.60 of interest but
// 151,721.99, because its payment 360 settles the balance the rounded
// payment leaves (705.60 instead of 699.21: 6.39 more interest). The
// schedule compares against that schedule, so it saves 52,098.37, the
// calculator's 52,091.98 plus those 6.39.
TEST(ScheduleEventExamples, ExtraFromPayment13AgainstTheAcceleratedCalculator) {
  Schedule s;
  ASSERT_TRUE(Calc(s, Mortgage(), {Extra(13, std::nullopt, 100)}).ok());
  EXPECT_TRUE(s.hasEvents());
  EXPECT_ROW(s.row(12), 699.21, 79.47, 619.74, 99078.23);
  EXPECT_EQ(s.eventMarks(12), 0);
  EXPECT_ROW(s.row(13), 799.21, 179.97, 619.24, 98898.26);
  EXPECT_EQ(s.eventMarks(13), kMarkExtra);
  EXPECT_EQ(s.lastRow(), 252);
  EXPECT_ROW(s.row(252), 221.91, 220.53, 1.38, 0);
  EXPECT_EQ(s.row(252).date, D(1, 1, 2018));
  EXPECT_EQ(Cents(s.row(252).runInterest), 9962362);
  EXPECT_EQ(Cents(s.row(252).runPrincipal), 10000000);

  EXPECT_EQ(s.baseLastRow(), 360);
  EXPECT_ROW(s.baseRow(360), 705.60, 701.22, 4.38, 0);
  EXPECT_EQ(Cents(s.baseRow(360).runInterest), 15172199);
  const EventSavings saved = SavingsOf(s);
  EXPECT_EQ(Cents(saved.interestSaved), 5209837);
  EXPECT_EQ(saved.basePayments, 360);
  EXPECT_EQ(saved.paymentsMade, 252);
  EXPECT_EQ(saved.paymentsSaved, 108);
  EXPECT_EQ(saved.basePayoffDate, D(1, 1, 2027));
  EXPECT_EQ(saved.payoffDate, D(1, 1, 2018));

  AccelRecord a = NewAccelRecord();
  a.PV = 100000;
  a.NumPmts = 360;
  a.Rate = 7.5f;
  a.IncPer = 12;
  a.ExtraPd = 100;
  ASSERT_TRUE(CalcAccel(a).ok());
  EXPECT_EQ(a.PerOff, s.lastRow());
  EXPECT_EQ(Cents(a.IntSaved), 5209198);
  EXPECT_EQ(Cents(saved.interestSaved) - Cents(a.IntSaved), Cents(705.60 - 699.21));
}

// A lump of 200,000 with payment 2 is more than is owed: payment 2 pays the
// balance 99,925.79 and its interest 99,925.79 x 0.00625 = 624.536 -> 624.54,
// 100,550.33 in all, and the loan ends there. Interest paid 625.00 + 624.54;
// saved 151,721.99 - 1,249.54 = 150,472.45.
TEST(ScheduleEventExamples, LumpSumThatPaysTheLoanOff) {
  Schedule s;
  ASSERT_TRUE(Calc(s, Mortgage(), {Lump(2, 200000)}).ok());
  EXPECT_EQ(s.lastRow(), 2);
  EXPECT_ROW(s.row(2), 100550.33, 99925.79, 624.54, 0);
  EXPECT_EQ(s.eventMarks(2), kMarkLump);
  const EventSavings saved = SavingsOf(s);
  EXPECT_EQ(Cents(saved.interestSaved), 15047245);
  EXPECT_EQ(saved.paymentsSaved, 358);
  EXPECT_EQ(saved.payoffDate, D(3, 1, 1997));
}

// From payment 13 the rate is 9 %, then (second run) 6 %. The payment is
// recomputed on the balance after payment 12, 99,078.23, over the 348
// payments left: 99,078.23 x i / (1 - (1 + i)^-348), 802.69 at i = 0.0075
// and 601.41 at i = 0.005, what the loan calculator finds for that amount,
// term and rate. Payment 13 at 9 %: interest 99,078.23 x 0.0075 = 743.0867
// -> 743.09, principal 59.60, balance 99,018.63; payment 14: interest
// 742.6397 -> 742.64. At 6 %: interest 495.3912 -> 495.39, principal 106.02.
// The loan still ends with payment 360.
TEST(ScheduleEventExamples, RateChangeUpAndDownRecomputesThePayment) {
  LoanRecord loan = NewLoanRecord();
  loan.PV = 99078.23;
  loan.NumPmts = 348;
  Schedule s;
  struct Case {
    float rate;
    double payment, principal, interest, balance;
  };
  for (const Case& c : {Case{9.0f, 802.69, 59.60, 743.09, 99018.63}, Case{6.0f, 601.41, 106.02, 495.39, 98972.21}}) {
    SCOPED_TRACE(c.rate);
    ASSERT_TRUE(Calc(s, Mortgage(), {RateAt(13, c.rate)}).ok());
    EXPECT_ROW(s.row(12), 699.21, 79.47, 619.74, 99078.23);
    EXPECT_EQ(s.row(12).annualRate, 7.5f);
    EXPECT_ROW(s.row(13), c.payment, c.principal, c.interest, c.balance);
    EXPECT_EQ(s.row(13).annualRate, c.rate);
    EXPECT_EQ(s.eventMarks(13), kMarkRate | kMarkNewPayment);
    EXPECT_EQ(s.eventMarks(14), 0);
    EXPECT_EQ(Cents(s.row(200).payment), Cents(c.payment));
    EXPECT_EQ(s.lastRow(), 360);
    EXPECT_EQ(s.row(360).balance, 0.0);

    loan.Rate = c.rate;
    loan.Pmt = 0;
    ASSERT_TRUE(CalcLoan(loan).ok());
    EXPECT_EQ(s.row(13).payment, loan.Pmt);
  }
  EXPECT_EQ(Cents(s.row(14).interest), 49486);  // 98,972.21 x 0.005 = 494.861
  ASSERT_TRUE(Calc(s, Mortgage(), {RateAt(13, 9.0f)}).ok());
  EXPECT_EQ(Cents(s.row(14).interest), 74264);
}

// Payments 13 to 15 are skipped; each period's interest joins the balance:
//   13: 99,078.23 x 0.00625 = 619.2389 -> 619.24, balance 99,697.47
//   14: 99,697.47 x 0.00625 = 623.1092 -> 623.11, balance 100,320.58
//   15: 100,320.58 x 0.00625 = 627.0036 -> 627.00, balance 100,947.58
// Payment 16 is recomputed over the 345 payments left: 714.15; its interest
// 100,947.58 x 0.00625 = 630.9224 -> 630.92, principal 83.23.
TEST(ScheduleEventExamples, HolidayOfThreePayments) {
  Schedule s;
  ASSERT_TRUE(Calc(s, Mortgage(), {Holiday(13, 15)}).ok());
  EXPECT_ROW(s.row(13), 0, -619.24, 619.24, 99697.47);
  EXPECT_ROW(s.row(14), 0, -623.11, 623.11, 100320.58);
  EXPECT_ROW(s.row(15), 0, -627.00, 627.00, 100947.58);
  for (int k = 13; k <= 15; ++k) {
    EXPECT_EQ(s.eventMarks(k), kMarkHoliday);
    EXPECT_EQ(Cents(s.row(k).balance) - Cents(s.row(k - 1).balance), Cents(s.row(k).interest));
  }
  EXPECT_ROW(s.row(16), 714.15, 83.23, 630.92, 100864.35);
  EXPECT_EQ(s.row(16).payment, LevelPaymentArrears(345, 12, 12, 100947.58, 7.5f));
  EXPECT_EQ(s.eventMarks(16), kMarkNewPayment);
  EXPECT_EQ(s.lastRow(), 360);
  const EventSavings saved = SavingsOf(s);
  EXPECT_EQ(saved.paymentsMade, 357);  // a skipped payment is not made
  EXPECT_EQ(saved.paymentsSaved, 3);
  EXPECT_EQ(saved.payoffDate, saved.basePayoffDate);
  EXPECT_LT(saved.interestSaved, 0);

  // Keeping the payment moves the term: 699.21 still covers the interest
  // (630.92) and the loan runs past payment 360.
  ASSERT_TRUE(Calc(s, Mortgage(), {Holiday(13, 15, EventHow::KeepPayment)}).ok());
  EXPECT_ROW(s.row(16), 699.21, 68.29, 630.92, 100879.29);
  EXPECT_EQ(s.eventMarks(16), 0);
  EXPECT_GT(s.lastRow(), 360);
  EXPECT_EQ(s.row(360).payment, 699.21);
}

// Keep the payment while the rate goes to 9 % from payment 13: the interest
// of payment 13, 743.09, is more than the 699.21 kept, so the loan would
// never be repaid: refused, and the schedule shown stays. Down to 6 % the
// kept payment repays faster: payment 13 is 699.21 with 495.39 of interest.
TEST(ScheduleEventExamples, KeptPaymentThatNoLongerCoversTheInterest) {
  Schedule s;
  ASSERT_TRUE(Calc(s, Mortgage(), {Lump(60, 5000)}).ok());
  const Outcome o = Calc(s, Mortgage(), {RateAt(13, 9.0f, EventHow::KeepPayment)});
  ASSERT_TRUE(o.refused);
  EXPECT_EQ(o.FirstText(),
            "The kept payment does not cover the interest\n\nfrom payment 13.\n\n"
            "Let the payment be recomputed instead.\n\n");
  EXPECT_EQ(o.messages[0].box, BoxType::Information);
  ASSERT_EQ(s.events().size(), 1u);
  EXPECT_EQ(s.events()[0], Lump(60, 5000));
  EXPECT_EQ(s.eventMarks(60), kMarkLump);
  EXPECT_EQ(Cents(s.row(60).payment), 569921);

  ASSERT_TRUE(Calc(s, Mortgage(), {RateAt(13, 6.0f, EventHow::KeepPayment)}).ok());
  EXPECT_ROW(s.row(13), 699.21, 203.82, 495.39, 98874.41);
  EXPECT_EQ(s.eventMarks(13), kMarkRate);
  EXPECT_LT(s.lastRow(), 360);
  EXPECT_EQ(s.row(s.lastRow()).balance, 0.0);
}

// Events with odd first periods and exact days.
TEST(ScheduleEventExamples, OddFirstPeriodsAndExactDays) {
  Schedule s;
  // Long first period, Exact/365: row 0 carries 14 days (287.67), payment 1
  // the 31 days from 15 March: 100,000 x 0.075 / 365 x 31 = 636.99. With 100
  // extra from payment 1 it pays 799.21, principal 162.22, balance
  // 99,837.78; payment 2 covers 30 days: 99,837.78 x 0.075 / 365 x 30 =
  // 615.438 -> 615.44, principal 183.77.
  ScheduleInputs longExact = Mortgage();
  longExact.OrgDate = D(3, 1, 1997);
  longExact.FrstPmtDate = D(4, 15, 1997);
  longExact.RateBasis = kExact365;
  ASSERT_TRUE(Calc(s, longExact, {Extra(1, std::nullopt, 100)}).ok());
  EXPECT_EQ(s.firstPeriodKind(), FirstPeriodKind::Long);
  EXPECT_ROW(s.row(0), 287.67, 0, 287.67, 100000);
  EXPECT_ROW(s.row(1), 799.21, 162.22, 636.99, 99837.78);
  EXPECT_EQ(s.eventMarks(1), kMarkExtra);
  EXPECT_ROW(s.row(2), 799.21, 183.77, 615.44, 99654.01);

  // Short first period (10 days), "Ordinary", payment 1 skipped: its
  // interest 625 x 10/30 = 208.33 joins the balance, 100,208.33; payment 2
  // is recomputed over 359 payments: 701.19, interest 626.302 -> 626.30.
  ScheduleInputs shortOrdinary = Mortgage();
  shortOrdinary.OrgDate = D(1, 22, 1997);
  ASSERT_TRUE(Calc(s, shortOrdinary, {Holiday(1, 1)}).ok());
  EXPECT_EQ(s.firstPeriodKind(), FirstPeriodKind::Short);
  EXPECT_ROW(s.row(1), 0, -208.33, 208.33, 100208.33);
  EXPECT_ROW(s.row(2), 701.19, 74.89, 626.30, 100133.44);
  EXPECT_EQ(s.lastRow(), 360);

  // The same with 2 points paid with payment 1: the points are still paid.
  shortOrdinary.Points = 2;
  shortOrdinary.PointsPaidMthd = kWithFirstPayment;
  ASSERT_TRUE(Calc(s, shortOrdinary, {Holiday(1, 1)}).ok());
  EXPECT_ROW(s.row(1), 2000, -208.33, 2208.33, 100208.33);
  EXPECT_EQ(Cents(s.row(1).runPayment), 200000);
  EXPECT_ROW(s.row(2), 701.19, 74.89, 626.30, 100133.44);

  // First payment at origination (in advance), payment 1 skipped: nothing
  // paid and no interest yet; payment 2 = level payment in arrears of
  // 100,000 over 359 payments, 699.73, interest 625.00.
  ScheduleInputs advance = Mortgage();
  advance.FrstPmtDate = advance.OrgDate;
  ASSERT_TRUE(Calc(s, advance, {Holiday(1, 1)}).ok());
  EXPECT_ROW(s.row(1), 0, 0, 0, 100000);
  EXPECT_ROW(s.row(2), 699.73, 74.73, 625.00, 99925.27);

  // A rate change on payment 1: 9 % from the start, 100,000 x 0.0075 =
  // 750.00 of interest and the level payment at 9 %, 804.62.
  ASSERT_TRUE(Calc(s, Mortgage(), {RateAt(1, 9.0f)}).ok());
  EXPECT_ROW(s.row(1), 804.62, 54.62, 750.00, 99945.38);
  EXPECT_EQ(s.row(0).annualRate, 7.5f);
  EXPECT_EQ(s.row(1).annualRate, 9.0f);
}

// Fixed principal 1,200 over 12 months at 12 %: 100 of principal a month.
// A lump of 300 with payment 1 (interest 12.00) leaves 800; shorter term:
// payments 2 to 9 repay 100 each with interest 8.00, 7.00 ... 1.00, so the
// loan ends with payment 9 after 48.00 of interest instead of 78.00 (12.00
// + 11.00 + ... + 1.00). Lower payment: the principal part becomes 800 / 11
// = 72.73 and the loan runs to payment 12.
TEST(ScheduleEventExamples, FixedPrincipalAndInterestOnly) {
  ScheduleInputs fp;
  fp.PV = 1200;
  fp.NumPmts = 12;
  fp.Rate = 12;
  fp.OrgDate = D(1, 1, 2020);
  fp.FrstPmtDate = D(2, 1, 2020);
  fp.AmortMthd = static_cast<int>(AmortMethod::FixedPrincipal);
  Schedule s;
  ASSERT_TRUE(Calc(s, fp, {Lump(1, 300)}).ok());
  EXPECT_ROW(s.row(1), 412, 400, 12, 800);
  EXPECT_ROW(s.row(2), 108, 100, 8, 700);
  EXPECT_EQ(s.lastRow(), 9);
  EXPECT_ROW(s.row(9), 101, 100, 1, 0);
  EXPECT_EQ(Cents(SavingsOf(s).interestSaved), 3000);

  ASSERT_TRUE(Calc(s, fp, {Lump(1, 300, EventHow::LowerPayment)}).ok());
  EXPECT_ROW(s.row(2), 80.73, 72.73, 8, 727.27);
  EXPECT_EQ(s.eventMarks(2), kMarkNewPayment);
  EXPECT_EQ(s.lastRow(), 12);
  EXPECT_EQ(s.row(12).balance, 0.0);

  // Interest only, 10,000 over 24 months at 12 %: 100.00 a month. A lump of
  // 4,000 with payment 12 leaves 6,000: from payment 13 the interest is
  // 60.00 and payment 24 repays 6,000 with it. Saved: 12 x 40.00.
  ScheduleInputs io = fp;
  io.PV = 10000;
  io.NumPmts = 24;
  io.AmortMthd = static_cast<int>(AmortMethod::InterestOnly);
  for (EventHow how : {EventHow::ShorterTerm, EventHow::LowerPayment}) {
    ASSERT_TRUE(Calc(s, io, {Lump(12, 4000, how)}).ok());
    EXPECT_ROW(s.row(12), 4100, 4000, 100, 6000);
    EXPECT_ROW(s.row(13), 60, 0, 60, 6000);
    EXPECT_EQ(s.lastRow(), 24);
    EXPECT_ROW(s.row(24), 6060, 6000, 60, 0);
    EXPECT_EQ(Cents(SavingsOf(s).interestSaved), 48000);
  }
}

// One event of each kind: 100 extra with payments 13 to 60, 10,000 with
// payment 60, 6.25 % from payment 61 and payments 100 to 102 skipped.
//   60: interest 558.01, payment 699.21 + 100 + 10,000, balance 79,040.22
//   61: payment over 300 payments at 6.25 % on 79,040.22: 521.40;
//       interest 79,040.22 x 0.0625 / 12 = 411.6678 -> 411.67
//  100: skipped, interest 74,308.63 x 0.0625 / 12 = 387.0241 -> 387.02
//  103: payment over 258 payments on 75,475.76: 532.50
TEST(ScheduleEventExamples, OneEventOfEachKind) {
  Schedule s;
  ASSERT_TRUE(Calc(s, Mortgage(), {Extra(13, 60, 100), Lump(60, 10000), RateAt(61, 6.25f), Holiday(100, 102)}).ok());
  EXPECT_ROW(s.row(60), 10799.21, 10241.20, 558.01, 79040.22);
  EXPECT_EQ(s.eventMarks(60), kMarkExtra | kMarkLump);
  EXPECT_ROW(s.row(61), 521.40, 109.73, 411.67, 78930.49);
  EXPECT_EQ(s.eventMarks(61), kMarkRate | kMarkNewPayment);
  EXPECT_ROW(s.row(100), 0, -387.02, 387.02, 74695.65);
  EXPECT_ROW(s.row(103), 532.50, 139.40, 393.10, 75336.36);
  EXPECT_EQ(s.lastRow(), 360);
}

// ---- refusals and limits

TEST(ScheduleEventRefusals, MethodsHolidaysAndMovedTerms) {
  Schedule s;
  ScheduleInputs r78 = Mortgage();
  r78.AmortMthd = static_cast<int>(AmortMethod::RuleOf78);
  Outcome o = Calc(s, r78, {Lump(400, 5)});
  EXPECT_TRUE(o.refused);
  EXPECT_EQ(o.FirstText(), "Events can't be applied to a Rule of 78's loan:\n\nits interest is computed in advance.\n\n");
  EXPECT_FALSE(s.calculated());
  EXPECT_TRUE(Calc(s, r78, {}).ok());  // an empty list is no events

  o = Calc(s, Mortgage(), {Holiday(358, 362)});
  EXPECT_EQ(o.FirstText(),
            "The payment holiday of payments 358 to 362\n\nleaves no payment up to the loan's last payment (360).\n\n"
            "End it earlier or keep the payment to move the term.\n\n");
  ScheduleInputs io = Mortgage();
  io.AmortMthd = static_cast<int>(AmortMethod::InterestOnly);
  o = Calc(s, io, {Holiday(360, 360, EventHow::KeepPayment)});
  EXPECT_EQ(o.FirstText(),
            "The payment holiday of payments 360 to 360\n\nleaves no payment up to the loan's last payment (360).\n\n"
            "End it before the last payment.\n\n");
  // Kept, the holiday moves the term past payment 360.
  ASSERT_TRUE(Calc(s, Mortgage(), {Holiday(358, 362, EventHow::KeepPayment)}).ok());
  EXPECT_GT(s.lastRow(), 365);
  // A rate change after the moved last payment cannot keep the term.
  o = Calc(s, Mortgage(), {Holiday(358, 362, EventHow::KeepPayment), RateAt(364, 6)});
  EXPECT_EQ(o.FirstText(),
            "The rate change at payment 364 comes after\n\nthe loan's last payment (360).\n\n"
            "Keep the payment to change the rate there.\n\n");
  EXPECT_TRUE(Calc(s, Mortgage(), {Holiday(358, 362, EventHow::KeepPayment), RateAt(364, 6, EventHow::KeepPayment)}).ok());

  // The moved term meets the row table and the 2059 limit.
  Schedule small(380);
  o = Calc(small, Mortgage(), {Holiday(13, 24, EventHow::KeepPayment)});
  EXPECT_EQ(o.FirstText(),
            "The events make the loan longer than 380 payments.\n\nLet the payment be recomputed or pay more.\n\n");
  ScheduleInputs late = Mortgage();
  late.OrgDate = D(1, 1, 2029);
  late.FrstPmtDate = D(2, 1, 2029);  // at most 12 x (2058 - 2029) = 348 payments
  late.NumPmts = 340;
  o = Calc(s, late, {Holiday(13, 24, EventHow::KeepPayment)});
  EXPECT_EQ(o.FirstText(),
            "Loan can't go beyond 2059\n\nReduce number of initial periods or \n\n"
            "increase frequency of payment period.\n\n");

  // An event the list check refuses changes nothing.
  ASSERT_TRUE(Calc(s, Mortgage(), {}).ok());
  o = Calc(s, Mortgage(), {RateAt(5, -1)});
  EXPECT_EQ(o.FirstText(), "Rate change at payment 5: the rate must be above 0.");
  EXPECT_FALSE(s.hasEvents());
}

// An event after the loan is paid off changes nothing; without events the
// comparison is 0 and the same date.
TEST(ScheduleEventRefusals, EventsAfterPayoffAndNoEvents) {
  Schedule plain, late;
  ASSERT_TRUE(Calc(plain, Mortgage(), {}).ok());
  EventSavings none = SavingsOf(plain);
  EXPECT_EQ(none.interestSaved, 0);
  EXPECT_EQ(none.paymentsSaved, 0);
  EXPECT_EQ(none.basePayoffDate, D(1, 1, 2027));
  EXPECT_EQ(none.payoffDate, D(1, 1, 2027));
  EXPECT_FALSE(plain.hasEvents());

  ASSERT_TRUE(Calc(late, Mortgage(), {Lump(400, 5000), RateAt(361, 9), Holiday(500, 510)}).ok());
  EXPECT_TRUE(late.hasEvents());
  ASSERT_EQ(late.lastRow(), 360);
  for (int k = 0; k <= 360; ++k) {
    EXPECT_EQ(late.row(k).payment, plain.row(k).payment);
    EXPECT_EQ(late.row(k).balance, plain.row(k).balance);
    EXPECT_EQ(late.eventMarks(k), 0);
  }
  const EventSavings s = SavingsOf(late);
  EXPECT_EQ(s.interestSaved, 0);
  EXPECT_EQ(s.paymentsSaved, 0);
}

// The schedule without events is reused while the loan terms stay, and
// recomputed when they change: either way it is the plain schedule.
TEST(ScheduleEventRefusals, TheScheduleWithoutEventsFollowsTheTerms) {
  Schedule s, fresh;
  ScheduleInputs other = Mortgage();
  other.Rate = 6.0f;
  const std::vector<ScheduleEvent> events = {Extra(13, std::nullopt, 100)};
  for (const ScheduleInputs& in : {Mortgage(), other, other, Mortgage()}) {
    ASSERT_TRUE(Calc(fresh, in, {}).ok());
    ASSERT_TRUE(Calc(s, in, events).ok());
    ASSERT_EQ(s.baseLastRow(), fresh.lastRow());
    for (int k = 0; k <= fresh.lastRow(); ++k) {
      ASSERT_EQ(s.baseRow(k).balance, fresh.row(k).balance) << k;
      ASSERT_EQ(s.baseRow(k).runInterest, fresh.row(k).runInterest) << k;
    }
    ASSERT_TRUE(Calc(s, in, {}).ok());
    ASSERT_TRUE(Calc(s, in, events).ok());
    EXPECT_EQ(s.baseRow(fresh.lastRow()).runInterest, fresh.row(fresh.lastRow()).runInterest);
  }
  // Loaded rows carry no events.
  s.SetLoaded(s.lastRow());
  EXPECT_FALSE(s.hasEvents());
  EXPECT_EQ(s.eventMarks(13), 0);
  EXPECT_EQ(s.baseLastRow(), s.lastRow());
}

// The schedule without events is built only when asked for, from the
// terms of the last calculation, and kept while they stay. The figures are
// those of the hand-checked examples above: 52,098.37 saved by 100 extra
// from payment 13, 150,472.45 by the lump that pays the loan off, and a
// plain total interest of 151,721.99.
TEST(ScheduleEventRefusals, TheScheduleWithoutEventsIsBuiltWhenAskedFor) {
  Schedule s;
  ScheduleInputs other = Mortgage();
  other.Rate = 6.0f;
  ASSERT_TRUE(Calc(s, Mortgage(), {Extra(13, std::nullopt, 100)}).ok());
  EXPECT_TRUE(s.basePending());
  EXPECT_EQ(Cents(SavingsOf(s).interestSaved), 5209837);
  EXPECT_FALSE(s.basePending());

  // Same loan, other events: kept.
  ASSERT_TRUE(Calc(s, Mortgage(), {Lump(2, 200000)}).ok());
  EXPECT_FALSE(s.basePending());
  EXPECT_EQ(Cents(SavingsOf(s).interestSaved), 15047245);

  // Other terms, then back before anything asked: built for the last terms.
  ASSERT_TRUE(Calc(s, other, {Lump(2, 200000)}).ok());
  EXPECT_TRUE(s.basePending());
  ASSERT_TRUE(Calc(s, Mortgage(), {Extra(13, std::nullopt, 100)}).ok());
  EXPECT_TRUE(s.basePending());
  // A refused calculation leaves the shown schedule and what it waits for.
  ScheduleInputs r78 = Mortgage();
  r78.AmortMthd = static_cast<int>(AmortMethod::RuleOf78);
  EXPECT_TRUE(Calc(s, r78, {Lump(2, 5)}).refused);
  EXPECT_TRUE(s.basePending());
  EXPECT_EQ(s.baseLastRow(), 360);
  EXPECT_EQ(Cents(s.baseRow(360).runInterest), 15172199);
  EXPECT_EQ(Cents(SavingsOf(s).interestSaved), 5209837);

  // The plain schedule shown, then events on the same loan: it becomes the
  // schedule without events at once.
  ASSERT_TRUE(Calc(s, other, {}).ok());
  EXPECT_FALSE(s.basePending());
  const double plainInterest = s.row(360).runInterest;
  ASSERT_TRUE(Calc(s, other, {Lump(2, 200000)}).ok());
  EXPECT_FALSE(s.basePending());
  EXPECT_EQ(s.baseRow(360).runInterest, plainInterest);
}

// ---- invariants

TEST(ScheduleEventInvariants, RandomEventLists) {
  std::mt19937 rng(20240611);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const AmortMethod methods[] = {AmortMethod::Normal, AmortMethod::Canadian, AmortMethod::USRule,
                                 AmortMethod::FixedPrincipal, AmortMethod::InterestOnly};
  Schedule s;
  int ran = 0;
  for (int trial = 0; trial < 400; ++trial) {
    ScheduleInputs in;
    in.PV = pick(1000, 500000) + pick(0, 99) / 100.0;
    in.NumPmts = static_cast<std::uint16_t>(pick(1, 400));
    in.Rate = static_cast<float>(pick(100, 1500) / 100.0);
    in.PYR = pick(0, 6);
    in.CmpPYR = pick(0, 8);
    in.AmortMthd = static_cast<int>(methods[pick(0, 4)]);
    in.RateBasis = pick(0, 2);
    in.Points = pick(0, 1) ? 1.5f : 0.0f;
    in.PointsPaidMthd = pick(0, 2);
    in.OrgDate = D(pick(1, 12), pick(1, 28), 1990);
    in.FrstPmtDate = in.OrgDate + pick(0, 1) * pick(0, 90);
    const int n = in.NumPmts;
    const int count = pick(1, 8);
    int holidayAt = 1;
    for (int e = 0; e < count; ++e) {
      const int from = pick(1, n + 10);
      switch (pick(0, 3)) {
        case 0: in.events.push_back(Extra(from, pick(0, 1) ? std::optional<int>(from + pick(0, 50)) : std::nullopt,
                                          pick(1, 50000) / 100.0)); break;
        case 1: in.events.push_back(Lump(from, pick(1, 2000000) / 100.0)); break;
        case 2: in.events.push_back(RateAt(from, static_cast<float>(pick(50, 2000) / 100.0))); break;
        default: {
          // Holidays after each other, so that they do not overlap.
          const int start = holidayAt + pick(0, n / 4 + 1);
          in.events.push_back(Holiday(start, start + pick(0, 5)));
          holidayAt = start + 6;
        }
      }
    }
    SetEventChoices(in.events, pick(0, 1) == 1, pick(0, 1) == 1);
    SCOPED_TRACE(testing::Message() << "trial " << trial);
    const Outcome o = s.Calculate(in);
    if (o.refused) continue;
    ++ran;
    const int last = s.lastRow();
    EXPECT_EQ(s.row(last).balance, 0.0);
    double prin = 0, intr = 0;
    for (int k = 1; k <= last; ++k) {
      const ScheduleRow& r = s.row(k);
      const ScheduleRow& p = s.row(k - 1);
      ASSERT_EQ(Cents(r.principal), Cents(r.payment - r.interest)) << "row " << k;
      ASSERT_EQ(Cents(r.balance), Cents(p.balance - r.principal)) << "row " << k;
      if (s.eventMarks(k) & kMarkHoliday) {
        // A skipped payment's principal is minus its interest (points that
        // payment 1 carries are paid all the same).
        const bool advance = in.FrstPmtDate == in.OrgDate;
        const bool points1 = k == 1 && (advance ? in.PointsPaidMthd != kPointsAmortized
                                                : in.PointsPaidMthd == kWithFirstPayment);
        ASSERT_EQ(Cents(r.principal), -Cents(r.interest - (points1 ? s.pointsAmount() : 0))) << "row " << k;
      }
      if (k < last) {
        ASSERT_GT(Cents(r.balance), 0) << "row " << k;
      }
      prin += r.principal;
      intr += r.interest;
      ASSERT_EQ(Cents(r.runInterest), Cents(s.row(0).runInterest + intr)) << "row " << k;
    }
    EXPECT_EQ(Cents(prin), Cents(s.row(0).balance));  // the amount, with points amortized
    const EventSavings saved = SavingsOf(s);
    EXPECT_EQ(Cents(saved.interestSaved),
              Cents(s.baseRow(s.baseLastRow()).runInterest) - Cents(s.row(last).runInterest));
  }
  EXPECT_GT(ran, 200);
}

}  // namespace
}  // namespace brevika
