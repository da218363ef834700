#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "amortization/compare.h"
#include "amortization/compare_chart_data.h"
#include "amortization/compare_offer_text.h"
#include "amortization/compare_record.h"
#include "support/run_command.h"

namespace brevika {
namespace {

// Every example starts its loans on 1 March 2025 (today is the 17th), the
// first payment on 1 April 2025.
const Date kToday = MakeDate(17, 3, 2025);
Date D(int m, int d, int y) { return MakeDate(d, m, y); }

LoanOffer Offer(double amount, int periods, float rate, float points = 0, double fees = 0) {
  LoanOffer o;
  o.amount = amount;
  o.periods = periods;
  o.rate = rate;
  o.points = points;
  o.fees = fees;
  return o;
}

CompareInputs Inputs(std::vector<LoanOffer> offers, int years, float discount = 0) {
  CompareInputs in;
  in.offers = std::move(offers);
  in.horizonYears = years;
  in.discountRate = discount;
  in.today = kToday;
  return in;
}

// The comparison; the test fails if it refuses.
CompareResults Compare(const CompareInputs& in) {
  CompareResults r;
  const Outcome o = CompareLoanOffers(in, r);
  EXPECT_FALSE(o.refused) << o.FirstText();
  return r;
}

// The refusal's text and the offer it names; empty text if it ran.
std::pair<std::string, int> Refusal(const CompareInputs& in) {
  CompareResults r;
  int offer = -1;
  const Outcome o = CompareLoanOffers(in, r, UsLocaleFormat(), &offer);
  return {o.refused ? o.FirstText() : std::string(), offer};
}

using Lines = std::vector<std::string>;

// Offer 1: 300,000.00 over 360 months at 6.5 % with 1 point (3,000.00) and
// 2,500.00 of fees; offer 2: the same at 6.875 % with nothing up front.
// Payments (rounded level payments): 300000 x i / (1 - (1 + i)^-360) with
// i = 6.5 / 1200 is 1,896.20, with i = 6.875 / 1200 1,970.79.
// Interest row by row (balance x i to the cent) summed, payments 1 to 60:
//   offer 1 94,605.26 (balance after 60: 280,833.26), payments 113,772.00;
//   offer 2 100,261.36 (balance 282,013.96), payments 118,247.40.
// Cost so far (upfront + interest of payments 1..m):
//   m = 58: offer 1 5,500.00 + 91,556.85 = 97,056.85, offer 2 97,023.89 (still above);
//   m = 59: offer 1 5,500.00 + 93,082.06 = 98,582.06, offer 2 98,643.63 (no longer above).
// So offer 1 breaks even after 59 payments, on 1 February 2030, 4 years and
// 11 months after origination. Over 5 years offer 1 costs 100,105.26 and
// offer 2 100,261.36: offer 1 by 156.10. Over 4 years (48 payments) offer 1
// costs 81,696.57 and offer 2 80,718.38: offer 2 by 978.19.
// APR: 294,500.00 financed against the 360 payments (the last 1,900.91):
// 6.6788 %; offer 2 6.8750 % (its last payment is 1,968.27).
TEST(CompareExamples, PointsBuyDownAgainstNoPoints) {
  const std::vector<LoanOffer> offers{Offer(300000, 360, 6.5f, 1, 2500), Offer(300000, 360, 6.875f)};
  CompareResults r = Compare(Inputs(offers, 5));
  ASSERT_EQ(r.offers.size(), 2u);
  const OfferFigures& a = r.offers[0];
  const OfferFigures& b = r.offers[1];
  EXPECT_DOUBLE_EQ(a.Payment, 1896.20);
  EXPECT_DOUBLE_EQ(b.Payment, 1970.79);
  EXPECT_DOUBLE_EQ(a.APR, 6.6788);
  EXPECT_DOUBLE_EQ(b.APR, 6.8750);
  EXPECT_EQ(a.horizonPayment, 60);
  EXPECT_EQ(a.horizonPaymentDate, D(3, 1, 2030));
  EXPECT_DOUBLE_EQ(a.PaymentsToHorizon, 113772.00);
  EXPECT_DOUBLE_EQ(a.InterestToHorizon, 94605.26);
  EXPECT_DOUBLE_EQ(a.BalanceAtHorizon, 280833.26);
  EXPECT_DOUBLE_EQ(a.UpfrontCost, 5500.00);
  EXPECT_DOUBLE_EQ(a.CostToHorizon, 100105.26);
  EXPECT_DOUBLE_EQ(a.PresentCost, 100105.26);  // no discount rate
  EXPECT_DOUBLE_EQ(b.PaymentsToHorizon, 118247.40);
  EXPECT_DOUBLE_EQ(b.InterestToHorizon, 100261.36);
  EXPECT_DOUBLE_EQ(b.BalanceAtHorizon, 282013.96);
  EXPECT_DOUBLE_EQ(b.UpfrontCost, 0.0);
  EXPECT_DOUBLE_EQ(b.CostToHorizon, 100261.36);

  // The break-even, by the costs so far around it.
  EXPECT_DOUBLE_EQ(a.costs[58].cost, 97056.85);
  EXPECT_DOUBLE_EQ(b.costs[58].cost, 97023.89);
  EXPECT_DOUBLE_EQ(a.costs[59].cost, 98582.06);
  EXPECT_DOUBLE_EQ(b.costs[59].cost, 98643.63);
  ASSERT_EQ(r.breakEven.size(), 1u);
  EXPECT_EQ(r.breakEven[0].offers, (std::array<int, 2>{1, 2}));
  EXPECT_EQ(r.breakEven[0].higher, 1);
  EXPECT_EQ(r.breakEven[0].payment, 59);
  EXPECT_EQ(r.breakEven[0].date, D(2, 1, 2030));
  EXPECT_EQ(r.breakEven[0].within, 360);
  EXPECT_EQ(r.breakEvenLines,
            Lines{"Offer 1 breaks even with Offer 2 after 59 payments (4 years and 11 months), on 02/01/2030."});
  EXPECT_EQ(r.Cheapest, 1);
  EXPECT_TRUE(r.tied.empty());
  EXPECT_EQ(r.verdict, (Lines{"Offer 1 costs the least over 5 years: $156.10 less than Offer 2.",
                              "Offer 1 also has the lowest APR."}));

  // Kept 4 years the points have not paid for themselves yet.
  r = Compare(Inputs(offers, 4));
  EXPECT_DOUBLE_EQ(r.offers[0].CostToHorizon, 81696.57);
  EXPECT_DOUBLE_EQ(r.offers[1].CostToHorizon, 80718.38);
  EXPECT_EQ(r.Cheapest, 2);
  EXPECT_EQ(r.verdict,
            (Lines{"Offer 2 costs the least over 4 years: $978.19 less than Offer 1.",
                   "Offer 1 has the lowest APR, but its points and fees pay for themselves only after "
                   "4 years and 11 months."}));
}

// Offer 1: 300,000.00 over 180 months at 5.75 % with 2 points (6,000.00),
// payment 2,491.23; offer 2: over 360 months at 6.5 %, payment 1,896.20.
// Year 1 interest summed row by row: 16,911.38 against 19,401.28, so offer 1
// costs 22,911.38 and offer 2 19,401.28 (3,510.10 less). Year 10: 128,586.09
// + 6,000.00 = 134,586.09 against 181,873.14 (47,287.05 less for offer 1).
// Costs so far: m = 25: 40,365.63 against 40,165.46; m = 26: 41,669.37
// against 41,751.25, so offer 1 breaks even after 26 payments (1 May 2027,
// 2 years and 2 months). APR of offer 1: 294,000.00 financed, 6.0647 %.
TEST(CompareExamples, FifteenAgainstThirtyYearsFlipsWithTheHorizon) {
  const std::vector<LoanOffer> offers{Offer(300000, 180, 5.75f, 2), Offer(300000, 360, 6.5f)};
  CompareResults r = Compare(Inputs(offers, 1));
  EXPECT_DOUBLE_EQ(r.offers[0].Payment, 2491.23);
  EXPECT_DOUBLE_EQ(r.offers[0].APR, 6.0647);
  EXPECT_DOUBLE_EQ(r.offers[0].CostToHorizon, 22911.38);
  EXPECT_DOUBLE_EQ(r.offers[0].BalanceAtHorizon, 287016.62);
  EXPECT_DOUBLE_EQ(r.offers[1].CostToHorizon, 19401.28);
  EXPECT_EQ(r.breakEvenLines,
            Lines{"Offer 1 breaks even with Offer 2 after 26 payments (2 years and 2 months), on 05/01/2027."});
  EXPECT_EQ(r.breakEven[0].within, 180);
  EXPECT_EQ(r.verdict,
            (Lines{"Offer 2 costs the least over 1 year: $3,510.10 less than Offer 1.",
                   "Offer 1 has the lowest APR, but its points pay for themselves only after 2 years and "
                   "2 months."}));

  r = Compare(Inputs(offers, 10));
  EXPECT_DOUBLE_EQ(r.offers[0].CostToHorizon, 134586.09);
  EXPECT_DOUBLE_EQ(r.offers[0].BalanceAtHorizon, 129638.49);
  EXPECT_DOUBLE_EQ(r.offers[1].CostToHorizon, 181873.14);
  EXPECT_EQ(r.verdict, (Lines{"Offer 1 costs the least over 10 years: $47,287.05 less than Offer 2.",
                              "Offer 1 also has the lowest APR."}));
}

TEST(CompareExamples, EqualOffersTie) {
  // The buy-down offer twice: each costs 100,105.26 over 5 years, with the
  // same APR; equal upfront costs give no break-even.
  const LoanOffer o = Offer(300000, 360, 6.5f, 1, 2500);
  CompareResults r = Compare(Inputs({o, o}, 5));
  EXPECT_EQ(r.Cheapest, 1);
  EXPECT_EQ(r.tied, std::vector<int>{2});
  EXPECT_TRUE(r.breakEven.empty());
  EXPECT_TRUE(r.breakEvenLines.empty());
  EXPECT_EQ(r.verdict, (Lines{"Offer 1 costs the least over 5 years, tied with Offer 2: each costs $100,105.26.",
                              "Offer 1 also has the lowest APR, as does Offer 2."}));

  // With the no-points offer between them, two of three tie.
  r = Compare(Inputs({o, Offer(300000, 360, 6.875f), o}, 5));
  EXPECT_EQ(r.tied, std::vector<int>{3});
  EXPECT_EQ(r.verdict,
            (Lines{"Offer 1 costs the least over 5 years, tied with Offer 3: each costs $156.10 less than Offer 2.",
                   "Offer 1 also has the lowest APR, as does Offer 3."}));
  EXPECT_EQ(r.breakEvenLines,
            (Lines{"Offer 1 breaks even with Offer 2 after 59 payments (4 years and 11 months), on 02/01/2030.",
                   "Offer 3 breaks even with Offer 2 after 59 payments (4 years and 11 months), on 02/01/2030."}));
}

// The 15-year offer above kept 20 years: all 180 payments, the last
// 2,491.38 (179 x 2,491.23 + 2,491.38 = 448,421.55), interest 148,421.55,
// nothing owed at the horizon.
TEST(CompareExamples, HorizonBeyondTheTermCountsEveryPayment) {
  CompareResults r = Compare(Inputs({Offer(300000, 180, 5.75f, 2), Offer(300000, 360, 6.5f)}, 20));
  const OfferFigures& f = r.offers[0];
  EXPECT_EQ(f.horizonPayment, 180);
  EXPECT_EQ(f.payments, 180);
  EXPECT_EQ(f.horizonPaymentDate, D(3, 1, 2040));
  EXPECT_DOUBLE_EQ(f.PaymentsToHorizon, 448421.55);
  EXPECT_DOUBLE_EQ(f.InterestToHorizon, 148421.55);
  EXPECT_DOUBLE_EQ(f.BalanceAtHorizon, 0.0);
  EXPECT_DOUBLE_EQ(f.CostToHorizon, 154421.55);
  EXPECT_EQ(r.offers[1].horizonPayment, 240);
  EXPECT_EQ(r.horizonDate, D(3, 1, 2045));
}

// The balance at the horizon is money to the cent, exactly: 200,000.00 over
// 360 months at 6.5 % pays 1,264.14; after 84 payments (interest row by
// row, balance x 6.5 / 1200 to the cent) 180,832.02 is owed. The running
// balance itself is 180,832.02000000002 in binary.
TEST(CompareExamples, BalanceAtHorizonIsInWholeCents) {
  CompareResults r = Compare(Inputs({Offer(200000, 360, 6.5f), Offer(200000, 360, 6.75f)}, 7));
  EXPECT_EQ(r.offers[0].BalanceAtHorizon, 180832.02);
}

// The buy-down pair kept 6 years: undiscounted offer 1 costs 118,222.91 and
// offer 2 119,512.96. At 8 % a year each payment j's interest is divided by
// (1 + 0.08 / 12)^j: offer 1 5,500.00 + 89,582.607... = 95,082.61, offer 2
// 94,959.576... = 94,959.58, so offer 2 wins by 123.03 in today's money.
TEST(CompareExamples, ADiscountRateChangesTheWinner) {
  const std::vector<LoanOffer> offers{Offer(300000, 360, 6.5f, 1, 2500), Offer(300000, 360, 6.875f)};
  CompareResults r = Compare(Inputs(offers, 6));
  EXPECT_EQ(r.Cheapest, 1);
  EXPECT_EQ(r.verdict[0], "Offer 1 costs the least over 6 years: $1,290.05 less than Offer 2.");

  r = Compare(Inputs(offers, 6, 8));
  EXPECT_TRUE(r.discounted);
  EXPECT_DOUBLE_EQ(r.offers[0].CostToHorizon, 118222.91);
  EXPECT_DOUBLE_EQ(r.offers[0].PresentCost, 95082.61);
  EXPECT_DOUBLE_EQ(r.offers[1].PresentCost, 94959.58);
  EXPECT_EQ(r.Cheapest, 2);
  EXPECT_EQ(r.verdict,
            (Lines{"Offer 2 costs the least over 6 years in today's money: $123.03 less than Offer 1.",
                   "Offer 1 has the lowest APR and costs less than Offer 2 before discounting, but its "
                   "savings come later and are worth less in today's money."}));
}

// 1 point at 6.5 % against no points at 6 %: the dearer offer also pays
// more interest every month and never catches up. Over 5 years: 3,000.00 +
// 94,605.26 against 87,082.14.
TEST(CompareExamples, AnOfferThatNeverBreaksEven) {
  CompareResults r = Compare(Inputs({Offer(300000, 360, 6.5f, 1), Offer(300000, 360, 6.0f)}, 5));
  EXPECT_EQ(r.breakEven[0].payment, 0);
  EXPECT_EQ(r.breakEvenLines, Lines{"Offer 1 does not break even with Offer 2 within 360 payments."});
  EXPECT_EQ(r.verdict, (Lines{"Offer 2 costs the least over 5 years: $10,523.12 less than Offer 1.",
                              "Offer 2 also has the lowest APR."}));
}

// Weekly payments (6.5 % compounded monthly is 6.4865 % nominal weekly,
// payment 436.68) against monthly ones are compared by date: 260 weeks
// against 60 months, and no break-even by payment number.
TEST(CompareExamples, DifferentPaymentPeriodsCompareByDate) {
  LoanOffer weekly = Offer(300000, 1560, 6.5f);
  weekly.PYR = FindItem(PaymentPeriodItems(), "Weekly");
  CompareResults r = Compare(Inputs({weekly, Offer(300000, 360, 6.5f)}, 5));
  const OfferFigures& w = r.offers[0];
  EXPECT_EQ(w.paymentsPerYear, 52);
  EXPECT_EQ(w.horizonPayment, 260);
  EXPECT_DOUBLE_EQ(w.Payment, 436.68);
  EXPECT_DOUBLE_EQ(w.APR, 6.4865);
  EXPECT_DOUBLE_EQ(w.InterestToHorizon, 94368.67);
  EXPECT_DOUBLE_EQ(w.PaymentsToHorizon, 113536.80);
  EXPECT_DOUBLE_EQ(w.BalanceAtHorizon, 280831.87);
  EXPECT_TRUE(r.breakEven.empty());
  EXPECT_EQ(r.verdict, (Lines{"Offer 1 costs the least over 5 years: $236.59 less than Offer 2.",
                              "Offer 1 also has the lowest APR."}));
}

// The payment is the loan calculator's. Fixed principal: 12,000.00 over 12
// months at 12 %: 1,000.00 + 120.00 = 1,120.00 first (the largest), then
// interest 110.00, 100.00 ... 10.00: 780.00 in all, 12,780.00 paid.
// Interest only: 120.00 a month, the last payment 12,120.00: 13,440.00 paid,
// 1,440.00 of interest (660.00 more). Both at 1 % a month exactly: APR 12 %.
// The calculator's "maximum payment" remark is not the comparison's.
TEST(CompareExamples, PaymentIsTheLoanCalculatorsForEveryMethod) {
  LoanOffer fixed = Offer(12000, 12, 12.0f);
  fixed.AmortMthd = static_cast<int>(AmortMethod::FixedPrincipal);
  LoanOffer interestOnly = Offer(12000, 12, 12.0f);
  interestOnly.AmortMthd = static_cast<int>(AmortMethod::InterestOnly);
  CompareResults r;
  const Outcome o = CompareLoanOffers(Inputs({fixed, interestOnly}, 1), r);
  EXPECT_FALSE(o.refused);
  EXPECT_TRUE(o.messages.empty());
  EXPECT_DOUBLE_EQ(r.offers[0].Payment, 1120.00);
  EXPECT_DOUBLE_EQ(r.offers[0].PaymentsToHorizon, 12780.00);
  EXPECT_DOUBLE_EQ(r.offers[0].CostToHorizon, 780.00);
  EXPECT_DOUBLE_EQ(r.offers[1].Payment, 120.00);
  EXPECT_DOUBLE_EQ(r.offers[1].PaymentsToHorizon, 13440.00);
  EXPECT_DOUBLE_EQ(r.offers[1].CostToHorizon, 1440.00);
  EXPECT_DOUBLE_EQ(r.offers[0].APR, 12.0);
  EXPECT_DOUBLE_EQ(r.offers[1].APR, 12.0);
  EXPECT_EQ(r.verdict, (Lines{"Offer 1 costs the least over 1 year: $660.00 less than Offer 2.",
                              "Offer 1 also has the lowest APR, as does Offer 2."}));
}

TEST(CompareExamples, CanadianPaysMonthlyCompoundedSemiAnnually) {
  LoanOffer canadian = Offer(100000, 300, 8.0f);
  canadian.AmortMthd = static_cast<int>(AmortMethod::Canadian);
  canadian.PYR = FindItem(PaymentPeriodItems(), "Weekly");
  canadian.CmpPYR = FindItem(CompoundingPeriodItems(), "Daily");
  CompareResults r = Compare(Inputs({canadian, Offer(100000, 300, 8.0f)}, 5));
  EXPECT_EQ(r.offers[0].paymentsPerYear, 12);
  EXPECT_EQ(r.offers[0].CmpPYR, kSemiAnnually);
  // 8 % compounded half-yearly is 7.8698 % nominal monthly (the APR).
  EXPECT_DOUBLE_EQ(r.offers[0].APR, 7.8698);
}

// The figures of an offer are those of its schedule from the command line:
// the same loan originated 03/01/2025, first payment 04/01/2025, points at
// origination. `schedule --summary` counts the points (row 0) in its
// interest and payments; the comparison counts them as upfront cost.
TEST(CompareExamples, FiguresAgreeWithTheScheduleCommand) {
  const std::string cmd = std::string(BREVIKA_CALC_PATH) +
                          " schedule --amount 300000 --periods 180 --rate 5.75 --points 2 --other-fees 1500"
                          " --origination 03/01/2025 --first-payment 04/01/2025";
  const testing::CommandResult summary = testing::RunCommand(cmd + " --summary");
  ASSERT_EQ(summary.status, 0) << summary.out;
  const nlohmann::json j = nlohmann::json::parse(summary.out);
  CompareResults r = Compare(Inputs({Offer(300000, 180, 5.75f, 2, 1500), Offer(300000, 360, 6.5f)}, 15));
  const OfferFigures& f = r.offers[0];
  EXPECT_DOUBLE_EQ(f.APR, j["APR"].get<double>());
  EXPECT_EQ(f.payments, j["Payments"].get<int>());
  EXPECT_DOUBLE_EQ(f.PaymentsToHorizon + 6000.00, j["TotalOfPayments"].get<double>());
  EXPECT_DOUBLE_EQ(f.InterestToHorizon + 6000.00, j["Interest"].get<double>());
  EXPECT_DOUBLE_EQ(f.CostToHorizon - 1500.00, j["Interest"].get<double>());

  // Row 60 of the rows: running interest 6,000.00 + interest of payments 1..60.
  const testing::CommandResult csv = testing::RunCommand(cmd);
  ASSERT_EQ(csv.status, 0);
  const std::size_t at = csv.out.find("\n60,");
  ASSERT_NE(at, std::string::npos);
  const std::string row = csv.out.substr(at + 1, csv.out.find('\n', at + 1) - at - 1);
  std::vector<std::string> cells;
  for (std::size_t s = 0, e; s <= row.size(); s = e + 1) {
    e = row.find(',', s);
    if (e == std::string::npos) e = row.size();
    cells.push_back(row.substr(s, e - s));
  }
  ASSERT_EQ(cells.size(), 10u);
  r = Compare(Inputs({Offer(300000, 180, 5.75f, 2, 1500), Offer(300000, 360, 6.5f)}, 5));
  EXPECT_DOUBLE_EQ(r.offers[0].BalanceAtHorizon, std::stod(cells[6]));
  EXPECT_DOUBLE_EQ(r.offers[0].PaymentsToHorizon + 6000.00, std::stod(cells[7]));
  EXPECT_DOUBLE_EQ(r.offers[0].InterestToHorizon + 6000.00, std::stod(cells[9]));
}

TEST(CompareRefusals, TheComparisonAsAWhole) {
  const LoanOffer o = Offer(100000, 360, 7.5f);
  EXPECT_EQ(Refusal(Inputs({o}, 5)), std::make_pair(std::string("At least two offers are needed to compare."), 0));
  EXPECT_EQ(Refusal(Inputs({o, o, o, o, o}, 5)).first, "At most four offers can be compared.");
  EXPECT_EQ(Refusal(Inputs({o, o, o, o}, 5)).first, "");
  EXPECT_EQ(Refusal(Inputs({o, o}, 0)).first, "Horizon must be from 1 to 50 years.");
  EXPECT_EQ(Refusal(Inputs({o, o}, 51)).first, "Horizon must be from 1 to 50 years.");
  EXPECT_EQ(Refusal(Inputs({o, o}, 50)).first, "");
  EXPECT_EQ(Refusal(Inputs({o, o}, 5, -1)).first, "Discount Rate can't be negative.");
  CompareResults r;
  EXPECT_EQ(CompareLoanOffers(Inputs({o}, 5), r).messages[0].box, BoxType::Warning);
}

TEST(CompareRefusals, AnOfferNamesItselfWithTheScheduleAndAprTexts) {
  const LoanOffer good = Offer(100000, 360, 7.5f);
  EXPECT_EQ(Refusal(Inputs({good, Offer(0, 360, 7.5f)}, 5)),
            std::make_pair(std::string("Offer 2: No zero values allowed.\r\n\nEnter Amount, Initial Period or Rate\n\n"), 2));
  EXPECT_EQ(Refusal(Inputs({good, Offer(100000, 0, 7.5f)}, 5)).second, 2);
  EXPECT_EQ(Refusal(Inputs({Offer(100000, 360, 0), good}, 5)).second, 1);
  EXPECT_EQ(Refusal(Inputs({Offer(-100000, 360, 7.5f), good}, 5)).second, 1);
  EXPECT_EQ(Refusal(Inputs({good, Offer(100000, 1561, 7.5f)}, 5)).first,
            "Offer 2: Initial Periods can't be more than 1560\n\nReduce number of initial periods.\n\n");
  // Payments from April 2025: 480 monthly payments pass 2059 (12 x 33 = 396).
  EXPECT_EQ(Refusal(Inputs({good, Offer(100000, 480, 7.5f)}, 5)).first,
            "Offer 2: Loan can't go beyond 2059\n\nReduce number of initial periods or \n\n"
            "increase frequency of payment period.\n\n");
  EXPECT_EQ(Refusal(Inputs({good, Offer(100000, 360, 7.5f, 0, -1)}, 5)).first,
            "Offer 2: Other Fees can't be negative.\n\n");
  EXPECT_EQ(Refusal(Inputs({good, Offer(100000, 360, 7.5f, -1)}, 5)).first,
            "Offer 2: Points can't be negative.\n\n");
  // 3 points (3,000.00) and 97,000.00 of fees leave nothing financed.
  EXPECT_EQ(Refusal(Inputs({Offer(100000, 360, 7.5f, 3, 97000), good}, 5)),
            std::make_pair(std::string("Offer 1: No APR exists:\n\nthe points and fees paid at origination\n\n"
                                       "are not less than the amount of the loan.\n\n"),
                           1));
  // The first offer that refuses is named.
  EXPECT_EQ(Refusal(Inputs({good, Offer(0, 360, 7.5f), Offer(0, 360, 7.5f)}, 5)).second, 2);
  // A refusal leaves the results as they were.
  CompareResults r;
  r.Cheapest = 7;
  EXPECT_TRUE(CompareLoanOffers(Inputs({good, Offer(0, 360, 7.5f)}, 5), r).refused);
  EXPECT_EQ(r.Cheapest, 7);
}

// The verdict's sentences from figures set by hand. Offers start on
// 1 March 2025; a break-even after m monthly payments falls m months later.
struct Fig {
  double cost, apr, points = 0, fees = 0;
  int payments = 360, perYear = 12;
  double present = -1;  // the cost when not given
};

CompareResults Made(const std::vector<Fig>& figs, int years, std::vector<BreakEven> be = {},
                    bool discounted = false) {
  CompareResults r;
  r.origination = D(3, 1, 2025);
  r.horizonYears = years;
  r.discounted = discounted;
  for (const Fig& g : figs) {
    OfferFigures f;
    f.CostToHorizon = g.cost;
    f.PresentCost = g.present < 0 ? g.cost : g.present;
    f.APR = g.apr;
    f.pointsAmount = g.points;
    f.fees = g.fees;
    f.UpfrontCost = g.points + g.fees;
    f.payments = g.payments;
    f.paymentsPerYear = g.perYear;
    r.offers.push_back(f);
  }
  r.breakEven = std::move(be);
  RankOffers(r);
  return r;
}

BreakEven Be(int a, int b, int higher, int payment, int within = 360) {
  BreakEven be;
  be.offers = {a, b};
  be.higher = higher;
  be.payment = payment;
  be.date = payment ? IncDate(D(3, 1, 2025), 0, payment, 0) : 0;
  be.within = within;
  return be;
}

TEST(CompareVerdict, WhoCostsLeastAndByHowMuch) {
  // Two offers; three; four with a discount rate.
  EXPECT_EQ(CompareVerdict(Made({{1000.00, 6.5}, {1250.50, 6.7}}, 5)),
            (Lines{"Offer 1 costs the least over 5 years: $250.50 less than Offer 2.",
                   "Offer 1 also has the lowest APR."}));
  EXPECT_EQ(CompareVerdict(Made({{3000.00, 6.3}, {1000.00, 6.2}, {2000.25, 6.4}}, 1))[0],
            "Offer 2 costs the least over 1 year: $2,000.00 less than Offer 1 and $1,000.25 less than Offer 3.");
  EXPECT_EQ(CompareVerdict(Made({{9.0, 6.2, 0, 0, 360, 12, 1001.00},
                                 {1.0, 6.3, 0, 0, 360, 12, 1020.00},
                                 {5.0, 6.1, 0, 0, 360, 12, 1000.00},
                                 {7.0, 6.1, 0, 0, 360, 12, 1300.00}},
                                10, {}, true)),
            (Lines{"Offer 3 costs the least over 10 years in today's money: $1.00 less than Offer 1, "
                   "$20.00 less than Offer 2 and $300.00 less than Offer 4.",
                   "Offer 3 also has the lowest APR, as does Offer 4."}));
}

TEST(CompareVerdict, TiesReadRight) {
  // Two of three tie; the lowest APR is the third's, whose fees never pay
  // for themselves before its own last payment (it is the shorter loan).
  EXPECT_EQ(CompareVerdict(Made({{500.00, 6.0}, {800.00, 5.9, 0, 1000, 180}, {500.00, 6.0}}, 5,
                                {Be(1, 2, 2, 0, 180), Be(2, 3, 2, 0, 180)})),
            (Lines{"Offer 1 costs the least over 5 years, tied with Offer 3: each costs $300.00 less than Offer 2.",
                   "Offer 2 has the lowest APR, but its fees do not pay for themselves before its last payment."}));
  // Three of four tie; the lowest APR is a tied offer's other than the first.
  EXPECT_EQ(CompareVerdict(Made({{10.00, 6.2}, {10.00, 6.2}, {10.01, 6.3}, {10.00, 6.1}}, 3)),
            (Lines{"Offer 1 costs the least over 3 years, tied with Offers 2 and 4: each costs $0.01 less than Offer 3.",
                   "Of the tied offers, Offer 4 has the lowest APR."}));
  EXPECT_EQ(CompareVerdict(Made({{10.00, 6.2}, {10.00, 6.1}, {10.01, 6.3}, {10.00, 6.1}}, 3))[1],
            "Of the tied offers, Offers 2 and 4 have the lowest APR.");
  // All four tie.
  EXPECT_EQ(CompareVerdict(Made({{7.50, 6.0}, {7.50, 6.0}, {7.50, 6.0}, {7.50, 6.0}}, 50)),
            (Lines{"Offer 1 costs the least over 50 years, tied with Offers 2, 3 and 4: each costs $7.50.",
                   "Offer 1 also has the lowest APR, as do Offers 2, 3 and 4."}));
  // Costs equal to the cent tie; a cent apart they do not.
  EXPECT_EQ(Made({{100.004, 6.0}, {99.996, 6.0}}, 1).tied, std::vector<int>{2});
  EXPECT_TRUE(Made({{100.00, 6.0}, {100.01, 6.0}}, 1).tied.empty());
}

TEST(CompareVerdict, WhyTheLowestAprDoesNotWin) {
  // The points pay for themselves only after the horizon: years and months,
  // whole years, and "1 year" (weekly payment 53 falls 371 days on).
  const std::vector<Fig> pair{{5200.00, 6.6, 3000}, {5000.00, 6.8}};
  EXPECT_EQ(CompareVerdict(Made(pair, 5, {Be(1, 2, 1, 112)}))[1],
            "Offer 1 has the lowest APR, but its points pay for themselves only after 9 years and 4 months.");
  EXPECT_EQ(CompareVerdict(Made(pair, 1, {Be(1, 2, 1, 24)}))[1],
            "Offer 1 has the lowest APR, but its points pay for themselves only after 2 years.");
  EXPECT_EQ(CompareVerdict(Made(pair, 1, {Be(1, 2, 1, 13)}))[1],
            "Offer 1 has the lowest APR, but its points pay for themselves only after 1 year and 1 month.");
  CompareResults weekly = Made({{5200.00, 6.6, 0, 3000, 1560, 52}, {5000.00, 6.8, 0, 0, 1560, 52}}, 1);
  BreakEven be = Be(1, 2, 1, 0, 1560);
  be.payment = 53;
  be.date = D(3, 1, 2025) + 53 * 7;
  weekly.breakEven = {be};
  EXPECT_EQ(CompareVerdict(weekly)[1],
            "Offer 1 has the lowest APR, but its fees pay for themselves only after 1 year.");
  // Never, against a shorter cheapest offer.
  EXPECT_EQ(CompareVerdict(Made({{5200.00, 6.6, 3000, 500}, {5000.00, 6.8, 0, 0, 180}}, 5,
                                {Be(1, 2, 1, 0, 180)}))[1],
            "Offer 1 has the lowest APR, but its points and fees do not pay for themselves before "
            "Offer 2's last payment.");
  // Broken even before the horizon (the costs crossed back), no upfront
  // difference, or different payment periods: the APR's own assumption.
  const std::string kept = "Offer 1 has the lowest APR, but the APR assumes the loan is kept to its last payment.";
  EXPECT_EQ(CompareVerdict(Made(pair, 10, {Be(1, 2, 1, 112)}))[1], kept);
  EXPECT_EQ(CompareVerdict(Made(pair, 5))[1], kept);
  EXPECT_EQ(CompareVerdict(Made({{5200.00, 6.6}, {5000.00, 6.8, 3000}}, 5, {Be(1, 2, 2, 0)}))[1], kept);
  // Two offers share the lowest APR and neither costs least.
  EXPECT_EQ(CompareVerdict(Made({{5200.00, 6.6}, {5000.00, 6.8}, {5100.00, 6.6}}, 5))[1],
            "Offers 1 and 3 have the lowest APR, but the APR assumes a loan is kept to its last payment.");
  // With a discount rate: cheaper before discounting, dearer after.
  EXPECT_EQ(CompareVerdict(Made({{4900.00, 6.6, 3000, 0, 360, 12, 4100.00}, {5000.00, 6.8, 0, 0, 360, 12, 4000.00}},
                                5, {Be(1, 2, 1, 50)}, true))[1],
            "Offer 1 has the lowest APR and costs less than Offer 2 before discounting, but its savings "
            "come later and are worth less in today's money.");
  // APRs are compared to 4 decimals.
  EXPECT_EQ(CompareVerdict(Made({{5200.00, 6.60001}, {5000.00, 6.6}}, 5))[1],
            "Offer 2 also has the lowest APR, as does Offer 1.");
}

TEST(CompareDuration, YearsMonthsAndWeeksInWords) {
  const Date org = D(3, 1, 2025);
  EXPECT_EQ(DurationText(org, D(4, 1, 2025)), "1 month");
  EXPECT_EQ(DurationText(org, D(8, 1, 2025)), "5 months");
  EXPECT_EQ(DurationText(org, D(3, 1, 2026)), "1 year");
  EXPECT_EQ(DurationText(org, D(3, 1, 2027)), "2 years");
  EXPECT_EQ(DurationText(org, D(4, 1, 2026)), "1 year and 1 month");
  EXPECT_EQ(DurationText(org, D(5, 1, 2026)), "1 year and 2 months");
  EXPECT_EQ(DurationText(org, D(4, 1, 2027)), "2 years and 1 month");
  EXPECT_EQ(DurationText(org, D(7, 1, 2034)), "9 years and 4 months");
  // A part month is left out; under a month, weeks.
  EXPECT_EQ(DurationText(org, D(4, 5, 2025)), "1 month");
  EXPECT_EQ(DurationText(org, D(3, 8, 2025)), "1 week");
  EXPECT_EQ(DurationText(org, D(3, 22, 2025)), "3 weeks");
  // Whole months count back from the date: 31 January to 28 February is
  // not yet a month.
  EXPECT_EQ(DurationText(D(1, 31, 2025), D(2, 28, 2025)), "4 weeks");

  // The break-even line says one payment in the singular.
  CompareResults r = Made({{5.0, 6.0, 100}, {6.0, 6.1}}, 1, {Be(1, 2, 1, 1)});
  EXPECT_EQ(BreakEvenLines(r), Lines{"Offer 1 breaks even with Offer 2 after 1 payment (1 month), on 04/01/2025."});
  r = Made({{5.0, 6.0, 100}, {6.0, 6.1}}, 1, {Be(1, 2, 1, 12), Be(1, 2, 2, 0, 1)});
  EXPECT_EQ(BreakEvenLines(r),
            (Lines{"Offer 1 breaks even with Offer 2 after 12 payments (1 year), on 03/01/2026.",
                   "Offer 2 does not break even with Offer 1 within 1 payment."}));
  EXPECT_EQ(OfferList({3}), "Offer 3");
  EXPECT_EQ(OfferList({1, 4}), "Offers 1 and 4");
  EXPECT_EQ(OfferList({1, 2, 4}), "Offers 1, 2 and 4");
}

std::string ParseError(const std::string& text, int number = 2) {
  std::string error;
  const std::optional<LoanOffer> o = ParseOfferText(text, number, error);
  return o ? std::string("parsed") : error;
}

TEST(CompareOfferText, KeysValuesAndDefaults) {
  std::string error;
  std::optional<LoanOffer> o = ParseOfferText("amount=300000,rate=6.5,periods=360,points=1,fees=2500", 1, error);
  ASSERT_TRUE(o) << error;
  EXPECT_DOUBLE_EQ(o->amount, 300000);
  EXPECT_FLOAT_EQ(o->rate, 6.5f);
  EXPECT_EQ(o->periods, 360);
  EXPECT_FLOAT_EQ(o->points, 1.0f);
  EXPECT_DOUBLE_EQ(o->fees, 2500);
  EXPECT_EQ(o->PYR, 2);        // "Monthly"
  EXPECT_EQ(o->CmpPYR, 3);     // "Monthly"
  EXPECT_EQ(o->AmortMthd, 3);  // "Normal"

  // Any order and case, blanks around pieces, list items by their text,
  // thousands separators inside a value.
  o = ParseOfferText(" Periods = 1,560 , RATE=6.875, payment-period=weekly,compounding=Continuous,"
                     "amortizing=u.s. rule,amount=1,234,567.89,fees=1,000", 1, error);
  ASSERT_TRUE(o) << error;
  EXPECT_EQ(o->periods, 1560);
  EXPECT_FLOAT_EQ(o->rate, 6.875f);
  EXPECT_EQ(o->PYR, 0);
  EXPECT_EQ(o->CmpPYR, 8);
  EXPECT_EQ(o->AmortMthd, 5);
  EXPECT_DOUBLE_EQ(o->amount, 1234567.89);
  EXPECT_DOUBLE_EQ(o->fees, 1000);
  EXPECT_FLOAT_EQ(o->points, 0.0f);
}

TEST(CompareOfferText, MessagesNameTheOffer) {
  EXPECT_EQ(ParseError(""), "Offer 2: the offer is empty: give amount=, rate= and periods=");
  EXPECT_EQ(ParseError("amount300000"), "Offer 2: 'amount300000' is not key=value");
  EXPECT_EQ(ParseError("amount=1,rate=2,periods=3,term=4"),
            "Offer 2: 'term' is not a key of an offer (amount, rate, periods, points, fees, "
            "payment-period, compounding, amortizing)");
  EXPECT_EQ(ParseError("amount=1,rate=2,rate=3,periods=3"), "Offer 2: rate is given twice");
  EXPECT_EQ(ParseError("amount=1,periods=3", 3), "Offer 3: rate is missing");
  EXPECT_EQ(ParseError("amount=1$,rate=2,periods=3"),
            "Offer 2: amount: '1$' is not an amount (at most 12 integer digits and 2 decimals)");
  EXPECT_EQ(ParseError("amount=1,rate=6.5%,periods=3"),
            "Offer 2: rate: '6.5%' is not a rate (at most 2 integer digits and 4 decimals)");
  EXPECT_EQ(ParseError("amount=1,rate=6.5,periods=3,points=100"),
            "Offer 2: points: '100' is not a rate (at most 2 integer digits and 4 decimals)");
  EXPECT_EQ(ParseError("amount=1,rate=6.5,periods=-360"),
            "Offer 2: periods: '-360' is not a whole number from 0 to 32767");
  EXPECT_EQ(ParseError("amount=1,rate=6.5,periods=12.5"),
            "Offer 2: periods: '12.5' is not a whole number from 0 to 32767");
  EXPECT_EQ(ParseError("amount=1,rate=6.5,periods=3,payment-period=daily"),
            "Offer 2: payment-period: 'daily' is not one of \"Weekly\", \"BiWeekly\", \"Monthly\", "
            "\"BiMonthly\", \"Quarterly\", \"SemiAnnually\", \"Annually\"");
  EXPECT_EQ(ParseError("amount=1,rate=6.5,periods=3,fees=\t"),
            "Offer 2: fees: '' is not an amount (at most 12 integer digits and 2 decimals)");
  EXPECT_EQ(ParseError("amount=1,rate=6.5,periods=3,amortizing=\x01"),
            "Offer 2: amortizing: '\\x01' is not one of \"Canadian\", \"Interest Only\", "
            "\"Fixed Principal\", \"Normal\", \"Rule of 78's\", \"U.S. Rule\"");
  // A negative amount or fee is read; the comparison refuses it.
  EXPECT_EQ(ParseError("amount=-1,rate=6.5,periods=3,fees=-2"), "parsed");
}

// The buy-down example kept 5 years, as the record shows and copies it.
CompareRecord BuyDownRecord() {
  CompareRecord rec = NewCompareRecord();
  rec.Offers[0].PV = 300000;
  rec.Offers[0].NumPmts = 360;
  rec.Offers[0].Rate = 6.5f;
  rec.Offers[0].Points = 1;
  rec.Offers[0].Fees = 2500;
  rec.Offers[1].PV = 300000;
  rec.Offers[1].NumPmts = 360;
  rec.Offers[1].Rate = 6.875f;
  rec.Horizon = 5;
  return rec;
}

TEST(CompareRecord, CalcFillsTheColumnsAndCopyLaysThemSideBySide) {
  CompareRecord rec = BuyDownRecord();
  CompareResults results;
  ASSERT_FALSE(CalcCompare(rec, kToday, &results).refused);
  EXPECT_EQ(results.Cheapest, 1);
  EXPECT_DOUBLE_EQ(rec.Offers[1].CostToHorizon, 100261.36);
  EXPECT_EQ(CompareCopyText("Compare Loans 1", rec),
            "Compare Loans 1\r\n\r\n"
            "                                  Offer 1          Offer 2\r\n"
            "Amount of Loan?:              $300,000.00      $300,000.00\r\n"
            "Total Periods? (#):                   360              360\r\n"
            "Annual Rate? (%):                  6.5000           6.8750\r\n"
            "Points? (%):                       1.0000           0.0000\r\n"
            "Other Fees?:                    $2,500.00            $0.00\r\n"
            "Payment Period?:                  Monthly          Monthly\r\n"
            "Compounding Period?:              Monthly          Monthly\r\n"
            "Amortizing Method?:                Normal           Normal\r\n"
            "\r\n"
            "Periodic Payment:               $1,896.20        $1,970.79\r\n"
            "APR (%):                           6.6788           6.8750\r\n"
            "Payments to Horizon:          $113,772.00      $118,247.40\r\n"
            "Interest to Horizon:           $94,605.26      $100,261.36\r\n"
            "Balance at Horizon:           $280,833.26      $282,013.96\r\n"
            "Upfront Cost:                   $5,500.00            $0.00\r\n"
            "Cost to Horizon:              $100,105.26      $100,261.36\r\n"
            "Present Cost:                 $100,105.26      $100,261.36\r\n"
            "\r\n"
            "Horizon? (Yrs):                         5\r\n"
            "Discount Rate (%)?:                0.0000\r\n"
            "\r\n"
            "Offer 1 breaks even with Offer 2 after 59 payments (4 years and 11 months), on 02/01/2030.\r\n"
            "\r\n"
            "Offer 1 costs the least over 5 years: $156.10 less than Offer 2.\r\n"
            "Offer 1 also has the lowest APR.\r\n");

  // A refusal changes nothing but names its offer.
  CompareRecord before = rec;
  rec.Offers[1].Rate = 0;
  int offer = 0;
  EXPECT_TRUE(CalcCompare(rec, kToday, nullptr, UsLocaleFormat(), &offer).refused);
  EXPECT_EQ(offer, 2);
  EXPECT_EQ(rec.Verdict, before.Verdict);
  EXPECT_DOUBLE_EQ(rec.Offers[1].CostToHorizon, 100261.36);
}

TEST(CompareRecord, OffersAddRemoveResetAndCanadian) {
  CompareRecord rec = BuyDownRecord();
  EXPECT_FALSE(RemoveCompareOffer(rec, 0));  // two at least
  EXPECT_TRUE(AddCompareOffer(rec));
  EXPECT_TRUE(AddCompareOffer(rec));
  EXPECT_FALSE(AddCompareOffer(rec));  // four at most
  EXPECT_EQ(rec.Offers.size(), 4u);
  EXPECT_EQ(rec.Offers[3].AmortMthd.SelectedText(), "Normal");
  EXPECT_FALSE(RemoveCompareOffer(rec, 4));
  EXPECT_TRUE(RemoveCompareOffer(rec, 0));
  EXPECT_DOUBLE_EQ(rec.Offers[0].Rate, 6.875f);  // the second moved up
  EXPECT_EQ(rec.Offers.size(), 3u);

  // "Canadian" switches its column's lists, even when the comparison then
  // refuses (the new third offer is empty).
  rec.Offers[1].AmortMthd.Select(static_cast<int>(AmortMethod::Canadian));
  EXPECT_TRUE(CalcCompare(rec, kToday).refused);
  EXPECT_EQ(rec.Offers[1].PYR.SelectedText(), "Monthly");
  EXPECT_EQ(rec.Offers[1].CmpPYR.SelectedText(), "SemiAnnually");

  ASSERT_FALSE(CalcCompare(rec = BuyDownRecord(), kToday).refused);
  // The figures and lines of the last Calc go with a change of the
  // columns; the terms stay.
  for (bool add : {true, false}) {
    CompareRecord changed = rec;
    changed.Offers.push_back(NewCompareOffer());
    ASSERT_TRUE(add ? AddCompareOffer(changed) : RemoveCompareOffer(changed, 2));
    EXPECT_DOUBLE_EQ(changed.Offers[1].CostToHorizon, 0);
    EXPECT_DOUBLE_EQ(changed.Offers[0].Pmt, 0);
    EXPECT_TRUE(changed.Verdict.empty());
    EXPECT_TRUE(changed.BreakEven.empty());
    EXPECT_DOUBLE_EQ(changed.Offers[1].Rate, 6.875f);
  }
  ResetCompare(rec);
  EXPECT_EQ(rec.Offers.size(), 2u);
  EXPECT_DOUBLE_EQ(rec.Offers[0].PV, 0);
  EXPECT_DOUBLE_EQ(rec.Offers[0].CostToHorizon, 0);
  EXPECT_EQ(rec.Horizon, 1);
  EXPECT_TRUE(rec.Verdict.empty());
  EXPECT_TRUE(rec.BreakEven.empty());
}

TEST(CompareRecord, PrintsOnePageInColumns) {
  CompareRecord rec = BuyDownRecord();
  ASSERT_FALSE(CalcCompare(rec, kToday).refused);
  const std::vector<Page> pages = ComparePage("Compare Loans 1", rec, "Courier New", 10);
  ASSERT_EQ(pages.size(), 1u);
  auto find = [&](const std::string& text) -> const PageText* {
    for (const PageText& t : pages[0].texts)
      if (t.text == text) return &t;
    return nullptr;
  };
  // Two offers: columns 1.5 in wide after the 2 in of captions from 0.75 in,
  // right-aligned 2 % (0.03 in) inside: offer 1 ends at 4.22 in, offer 2 at 5.72 in.
  const PageText* heading = find("Offer 2");
  ASSERT_TRUE(heading);
  EXPECT_TRUE(heading->bold);
  EXPECT_EQ(heading->align, Align::Right);
  EXPECT_NEAR(heading->x, 5.72, 1e-9);
  const PageText* cost = find("     $100,105.26");
  ASSERT_TRUE(cost);
  EXPECT_NEAR(cost->x, 4.22, 1e-9);
  const PageText* caption = find("Cost to Horizon:        ");
  ASSERT_TRUE(caption);
  EXPECT_NEAR(caption->x, 0.79, 1e-9);
  // The break-even line is wider than 85 characters: it wraps at a blank.
  ASSERT_TRUE(find("Offer 1 breaks even with Offer 2 after 59 payments (4 years and 11 months), on"));
  ASSERT_TRUE(find("02/01/2030."));
  ASSERT_TRUE(find("Offer 1 also has the lowest APR."));
}

TEST(CompareChart, CumulativeCostsAndTheHorizon) {
  CompareResults r = Compare(Inputs({Offer(300000, 360, 6.5f, 1, 2500), Offer(300000, 180, 6.875f)}, 5, 8));
  const CompareChartData d = BuildCompareChart(r);
  ASSERT_EQ(d.lines.size(), 2u);
  EXPECT_EQ(d.lines[0].offer, 1);
  ASSERT_EQ(d.lines[0].points.size(), 361u);
  ASSERT_EQ(d.lines[1].points.size(), 181u);
  // Payment 0 is the upfront cost at origination; payment 59 (1 February
  // 2030) is 4 years and 11 months on.
  EXPECT_DOUBLE_EQ(d.lines[0].points[0].years, 0.0);
  EXPECT_DOUBLE_EQ(d.lines[0].points[0].cost, 5500.00);
  EXPECT_DOUBLE_EQ(d.lines[0].points[59].years, 59 / 12.0);
  EXPECT_DOUBLE_EQ(d.lines[0].points[59].cost, 98582.06);
  EXPECT_LT(d.lines[0].points[59].presentCost, d.lines[0].points[59].cost);
  EXPECT_NEAR(d.lines[0].points[60].presentCost, r.offers[0].PresentCost, 0.005);
  EXPECT_DOUBLE_EQ(d.horizonYears, 5.0);
  EXPECT_EQ(d.horizonDate, D(3, 1, 2030));
  EXPECT_EQ(d.lines[1].horizonPayment, 60);
  EXPECT_DOUBLE_EQ(d.lastYears, 30.0);
  // The last cost of offer 1 is the whole interest, 385,636.71 - 3,000.00 of
  // points in row 0, plus 5,500.00 up front: 388,136.71 under a top of 400,000.
  EXPECT_DOUBLE_EQ(d.lines[0].points[360].cost, 388136.71);
  EXPECT_DOUBLE_EQ(d.costAxis.top, 400000.0);
  EXPECT_DOUBLE_EQ(d.costAxis.step, 100000.0);
  // A date within a month counts its days: 16 March is 15/31 of a month on.
  EXPECT_DOUBLE_EQ(YearsSince(D(3, 1, 2025), D(3, 16, 2025)), 15.0 / 31 / 12);
}

}  // namespace
}  // namespace brevika
