#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "calculators/refinance.h"
#include "calculators/refinance_narrative.h"
#include "finance/format.h"
#include "finance/rates.h"

namespace brevika {
namespace {

constexpr int kAnnually = 6;  // payment period list index

// A monthly comparison that passes every check.
RefiRecord Monthly() {
  RefiRecord r = NewRefiRecord();
  r.RemBal = 100000;
  r.PmtsRem = 300;
  r.Rate = 9;
  r.NewPV = 100000;
  r.NumPmts = 360;
  r.Rate2 = 7;
  r.SldAfter = 5;
  r.ProTaxBracket = 28;
  r.DiscRate = 6;
  return r;
}

// Two annual payments left at 10 %, or two new ones at 5 % with 1 point,
// $100 closing costs and a $50 penalty; sold after 2 years, 25 % bracket,
// money worth 8 % a year.
RefiRecord Worked() {
  RefiRecord r = NewRefiRecord();
  r.RemBal = 10000;
  r.PmtsRem = 2;
  r.Rate = 10;
  r.PYR.Select(kAnnually);
  r.NewPV = 10000;
  r.NumPmts = 2;
  r.Rate2 = 5;
  r.PYR2.Select(kAnnually);
  r.Points = 1;
  r.Misc = 100;
  r.Penalty = 50;
  r.SldAfter = 2;
  r.ProTaxBracket = 25;
  r.DiscRate = 8;
  return r;
}

// Annual loans of 1000 at 10 % each; `d` the discount rate.
RefiRecord SmallAnnual(int pmtsRem, int numPmts, double newPV, float disc) {
  RefiRecord r = NewRefiRecord();
  r.RemBal = 1000;
  r.PmtsRem = static_cast<std::int16_t>(pmtsRem);
  r.Rate = 10;
  r.PYR.Select(kAnnually);
  r.NewPV = newPV;
  r.NumPmts = static_cast<std::int16_t>(numPmts);
  r.Rate2 = 10;
  r.PYR2.Select(kAnnually);
  r.SldAfter = 2;
  r.Deduct.Select(1);  // Not Deductible
  r.DiscRate = disc;
  return r;
}

RefiResults Analyse(const RefiRecord& rec) {
  RefiResults res;
  const Outcome o = AnalyseRefinance(rec, res);
  EXPECT_FALSE(o.refused) << o.FirstText();
  return res;
}

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

TEST(RefiRecordTest, InitialValuesAndReset) {
  RefiRecord r = NewRefiRecord();
  EXPECT_EQ(r.lDeduct, "Interest & Points are?:");
  EXPECT_EQ(r.PYR.text, "Monthly");
  EXPECT_EQ(r.PYR2.index, 2);
  EXPECT_EQ(r.Deduct.text, "Deductible");
  EXPECT_EQ(r.PntsAre.text, "Prepaid");
  EXPECT_EQ(r.SldAfter, 1);
  EXPECT_EQ(r.DiscRate, 0);

  r = Worked();
  ASSERT_TRUE(CalcRefinance(r).ok());
  ASSERT_FALSE(r.Memo1.empty());
  ResetRefinance(r);
  EXPECT_EQ(r.RemBal, 0);
  EXPECT_EQ(r.PmtsRem, 0);
  EXPECT_EQ(r.SldAfter, 1);
  EXPECT_EQ(r.PYR.text, "Monthly");
  EXPECT_TRUE(r.Memo1.empty());
}

TEST(RefiChecks, MessagesInTheirOrder) {
  auto check = [](const RefiRecord& rec) {
    RefiResults res;
    const Outcome o = AnalyseRefinance(rec, res);
    if (o.refused) {
      EXPECT_EQ(o.messages[0].box, BoxType::Information);
    }
    return o.FirstText();
  };
  RefiRecord r = Monthly();
  for (int n : {600, 611}) {
    r.PmtsRem = static_cast<std::int16_t>(n);
    EXPECT_EQ(check(r), "") << n;  // quotient 50 passes
  }
  r.PmtsRem = 612;
  r.NumPmts = 612;
  r.PYR2.Select(0);  // weekly: periods differ too
  EXPECT_EQ(check(r), "Original mortgage over maximum number of years.");
  r.PmtsRem = 300;
  r.PYR2.Select(2);
  EXPECT_EQ(check(r), "Possible mortgage over maximum number of years.");
  r.NumPmts = 360;
  r.PYR2.Select(0);
  r.Rate2 = 0;
  EXPECT_EQ(check(r), "Each loan must be for same periods per year.");

  const std::string zeros = "No zero values allowed.\r";
  r = Monthly();
  r.SldAfter = 0;
  EXPECT_EQ(check(r), zeros);
  for (auto clear : {+[](RefiRecord& x) { x.PmtsRem = 0; }, +[](RefiRecord& x) { x.NumPmts = 0; },
                     +[](RefiRecord& x) { x.Rate = 0; }, +[](RefiRecord& x) { x.Rate2 = 0; }}) {
    RefiRecord z = Monthly();
    clear(z);
    EXPECT_EQ(check(z), zeros);
  }
  r = Monthly();
  r.RemBal = 0;
  r.NewPV = 0;
  r.Misc = 0;
  EXPECT_EQ(check(r), "");
}

TEST(RefiChecks, RefusalLeavesRecordAndResults) {
  RefiRecord r = Worked();
  RefiResults res;
  ASSERT_TRUE(CalcRefinance(r, &res).ok());
  const auto memo = r.Memo1;
  const double cost = res.CostCur;

  r.SldAfter = 0;
  EXPECT_TRUE(CalcRefinance(r, &res).refused);
  EXPECT_EQ(r.Memo1, memo);
  EXPECT_EQ(res.CostCur, cost);

  // A discount rate of -100 % a period divides by zero.
  r.SldAfter = 2;
  r.DiscRate = -100;
  const Outcome o = CalcRefinance(r, &res);
  ASSERT_TRUE(o.refused);
  EXPECT_EQ(o.messages[0], NonFiniteMessage());
  EXPECT_EQ(r.Memo1, memo);
  EXPECT_EQ(res.CostCur, cost);
}

TEST(RefiChecks, NewLoanAmountFollowsTheBalanceInTheWindow) {
  double newPV = 5;
  FollowRemainingBalance(1234.56, newPV);
  EXPECT_EQ(newPV, 1234.56);
  EXPECT_FALSE(RestrictNewLoanAmount(1234.56, newPV).has_value());
  newPV = 1000;
  const auto m = RestrictNewLoanAmount(1234.56, newPV);
  ASSERT_TRUE(m.has_value());
  EXPECT_EQ(m->text,
            "New Loan Amount must equal Remaining Balance.\r\r"
            "Later versions of this program will remove this restriction.\r");
  EXPECT_EQ(m->box, BoxType::Information);
  EXPECT_EQ(newPV, 1234.56);
}

TEST(RefiAnalysis, ShortCentRounding) {
  EXPECT_EQ(RoundToCentsShort(1234.5678), 1234.57);
  EXPECT_EQ(RoundToCentsShort(12345678.456), 12345678.4);  // "12345678.46" cut to 10
  EXPECT_EQ(RoundToCentsShort(-1234567.891), -1234567.8);
  EXPECT_EQ(RoundToCentsShort(123456789.99), 123456789);
  EXPECT_EQ(RoundToCentsShort(12345678901.237), 12345678901);  // units are never cut
  EXPECT_EQ(RoundToCentsShort(-1234567890.5), -1234567890);
}

// Worked by hand (i = 10 % and 5 % a year, d = 8 %, tax factor 0.75):
//   PmtCur = 10000 x .1 / (1 - 1.1^-2) = 5761.90; PmtNew = 5378.05.
//   Current: interest 1000.00 then 523.81 (balance 5238.10, then 0.01);
//     A = 1000/1.08 = 925.93, + 523.81/1.1664 = 1375.01; x .75 = 1031.2575.
//   New: interest 500.00 then 256.10 (balance 5121.95, then 0.00);
//     A = 500/1.08 = 462.96, + 256.10/1.1664 = 682.52; x .75 = 511.89;
//     + 100 misc + 1 % of 10000 x .75 = 686.89; paid off, so no penalty.
//   Reinvest 383.85 a year: income 30.71, /1.08 = 28.435185; fund 798.41,
//     income 63.87, /1.1664 = 54.758230; sum 83.193416.
//   D = 344.3675; lost deduction 25 % of D = 86.091875;
//   net = 344.3675 + 83.193416 - 86.091875 = 341.469041.
TEST(RefiAnalysis, WorkedExample) {
  RefiRecord rec = Worked();
  RefiResults r;
  ASSERT_TRUE(CalcRefinance(rec, &r).ok());
  EXPECT_DOUBLE_EQ(r.PmtCur, 5761.90);
  EXPECT_DOUBLE_EQ(r.PmtNew, 5378.05);
  EXPECT_EQ(r.HoldCur, 2);
  EXPECT_EQ(r.HoldNew, 2);
  EXPECT_EQ(r.Horizon, 2);
  // Sold after the last payment: all paid down, nothing owed.
  EXPECT_EQ(r.PaidDownCur, 10000);
  EXPECT_EQ(r.BalCurAtSale, 0);
  EXPECT_EQ(r.PaidDownNew, 10000);
  EXPECT_DOUBLE_EQ(r.CostCur, 1031.2575);
  EXPECT_DOUBLE_EQ(r.CostNew, 686.89);
  EXPECT_NEAR(r.ReinvestValue, 83.193416, 1e-6);
  EXPECT_EQ(r.ExtraCapitalValue, 0);
  EXPECT_NEAR(r.LostDeduction, 86.091875, 1e-9);
  EXPECT_NEAR(r.NetSavings, 341.469041, 1e-6);
}

TEST(RefiAnalysis, SaleBeforeTheEnd) {
  RefiRecord rec = Worked();
  rec.SldAfter = 1;
  const RefiResults r = Analyse(rec);
  EXPECT_EQ(r.HoldCur, 1);
  EXPECT_DOUBLE_EQ(r.BalCurAtSale, 5238.10);
  EXPECT_DOUBLE_EQ(r.PaidDownCur, 10000 - 5238.10);
  // 500/1.08 = 462.96 x .75 + 100 + 75 points + the 50 penalty.
  EXPECT_DOUBLE_EQ(r.CostNew, 462.96 * 0.75 + 100 + 75 + 50);
}

TEST(RefiAnalysis, TaxesAndPoints) {
  RefiRecord rec = Monthly();
  rec.Points = 2;
  rec.Misc = 1500;
  RefiRecord untaxed = rec;
  untaxed.ProTaxBracket = 0;
  const RefiResults base = Analyse(untaxed);

  // Deductible: interest and prepaid points at 72 %.
  const RefiResults taxed = Analyse(rec);
  EXPECT_NEAR(taxed.CostCur, base.CostCur * 0.72, 1e-6);
  EXPECT_NEAR(taxed.CostNew, (base.CostNew - 1500 - 2000) * 0.72 + 1500 + 1440, 1e-6);

  // Amortized points: only the 60 of 360 periods before the sale count.
  RefiRecord amortized = rec;
  amortized.PntsAre.Select(1);
  EXPECT_NEAR(Analyse(amortized).CostNew, taxed.CostNew - 1440 + 240, 1e-6);

  // Not deductible: the bracket changes nothing, points count in full.
  RefiRecord notDeductible = rec;
  notDeductible.Deduct.Select(1);
  const RefiResults nd = Analyse(notDeductible);
  notDeductible.ProTaxBracket = 0;
  EXPECT_EQ(Analyse(notDeductible).CostNew, nd.CostNew);
  EXPECT_EQ(nd.CostCur, base.CostCur);
  EXPECT_EQ(nd.CostNew, base.CostNew);
  RefiRecord ndMemo = rec;
  ndMemo.Deduct.Select(1);
  RefiResults ndRes;
  ASSERT_TRUE(CalcRefinance(ndMemo, &ndRes).ok());
  EXPECT_EQ(ndRes.LostDeduction, 0);
}

TEST(RefiAnalysis, Reinvestment) {
  // Equal payments: nothing to reinvest.
  RefiRecord same = Monthly();
  same.NumPmts = 300;
  same.Rate2 = 9;
  EXPECT_EQ(Analyse(same).ReinvestValue, 0);

  // The current loan ends first (1 of 2 years): PmtCur 1100.00, PmtNew
  // 576.19. Year 1: 523.81 x .1 = 52.38 / 1.1 = 47.618182; year 2 the fund
  // of 1100 earns 110.00 / 1.21 = 90.909091, taken off.
  const RefiResults curFirst = Analyse(SmallAnnual(1, 2, 1000, 10));
  EXPECT_DOUBLE_EQ(curFirst.PmtCur, 1100.00);
  EXPECT_DOUBLE_EQ(curFirst.PmtNew, 576.19);
  EXPECT_EQ(curFirst.Horizon, 2);
  EXPECT_NEAR(curFirst.ReinvestValue, 52.38 / 1.1 - 110 / 1.21, 1e-9);

  // The new loan ends first: the first sum is negated, the second added.
  const RefiResults newFirst = Analyse(SmallAnnual(2, 1, 1000, 10));
  EXPECT_EQ(newFirst.Horizon, 2);
  EXPECT_NEAR(newFirst.ReinvestValue, -52.38 / 1.1 + 110 / 1.21, 1e-9);

  // Higher new payments over the same periods: a negative value.
  RefiRecord dearer = Monthly();
  dearer.Rate2 = 9.5;
  dearer.NumPmts = 300;
  EXPECT_LT(Analyse(dearer).ReinvestValue, 0);
}

TEST(RefiAnalysis, ExtraCapital) {
  // Smaller loan: 100 paid up front would have earned 10.00 / 1.1 and
  // 11.00 / 1.21; that income is given up.
  const RefiResults smaller = Analyse(SmallAnnual(2, 2, 900, 10));
  EXPECT_NEAR(smaller.ExtraCapitalValue, -(10 / 1.1 + 11 / 1.21), 1e-9);

  // Larger loan: 100 extra at 10 % repaid by 57.62 a year. At 20 % it
  // earns 20.00/1.2 = 16.67, + 12.48/1.44 = 25.34; it costs 10.00/1.2 =
  // 8.33, + 5.24/1.44 = 11.97. Gain 13.37.
  const RefiResults larger = Analyse(SmallAnnual(2, 2, 1100, 20));
  EXPECT_DOUBLE_EQ(larger.PmtExtra, 57.62);
  EXPECT_DOUBLE_EQ(larger.PmtNew, 633.81);  // still the new loan's payment
  EXPECT_NEAR(larger.ExtraCapitalValue, 25.34 - 11.97, 1e-9);
  RefiRecord taxed = SmallAnnual(2, 2, 1100, 20);
  taxed.Deduct.Select(0);
  taxed.ProTaxBracket = 50;
  EXPECT_NEAR(Analyse(taxed).ExtraCapitalValue, 25.34 - 11.97 * 0.5, 1e-9);

  // Equal amounts: nothing.
  EXPECT_EQ(Analyse(SmallAnnual(2, 2, 1000, 20)).ExtraCapitalValue, 0);
  EXPECT_EQ(Analyse(SmallAnnual(2, 2, 1000, 20)).PmtExtra, 0);
  // Less borrowed: no payment on an extra amount.
  EXPECT_EQ(Analyse(SmallAnnual(2, 2, 900, 10)).PmtExtra, 0);
  // The payment on the 100 borrowed beyond the balance is the same without
  // a discount rate, where the extra capital counts for nothing.
  const RefiResults undiscounted = Analyse(SmallAnnual(2, 2, 1100, 0));
  EXPECT_DOUBLE_EQ(undiscounted.PmtExtra, 57.62);
  EXPECT_EQ(undiscounted.ExtraCapitalValue, 0);
}

TEST(RefiAnalysis, NoInvestmentIncomeWithoutDiscountRate) {
  for (float disc : {0.0f, -3.0f}) {
    for (double newPV : {90000.0, 110000.0}) {
      RefiRecord rec = Monthly();
      rec.NewPV = newPV;
      rec.DiscRate = disc;
      RefiResults r;
      ASSERT_TRUE(CalcRefinance(rec, &r).ok());
      EXPECT_EQ(r.ReinvestValue, 0) << disc << " " << newPV;
      EXPECT_EQ(r.ExtraCapitalValue, 0) << disc << " " << newPV;
      std::string memo;
      for (const std::string& l : rec.Memo1) memo += l + " ";
      EXPECT_EQ(memo.find("Now, since"), std::string::npos);
      EXPECT_EQ(memo.find("By taking out"), std::string::npos);
    }
  }
}

// The verdict of hand-set results.
struct VerdictCase {
  RefiRecord rec = NewRefiRecord();
  RefiResults res;
  VerdictCase(double costCur, double costNew, double remBal, double newPV) {
    res.CostCur = costCur;
    res.CostNew = costNew;
    rec.RemBal = remBal;
    rec.NewPV = newPV;
    rec.Deduct.Select(1);
  }
  RefiNarrative Build() { return BuildRefiNarrative(rec, res); }
};

TEST(RefiNarrativeTest, MoneyText) {
  EXPECT_EQ(FormatMoneyText(1234.5), "$1,234.50");
  EXPECT_EQ(FormatMoneyText(-20), "-$20.00");
  EXPECT_EQ(FormatMoneyText(-0.001), "$0.00");
  LocaleFormat euro;
  euro.currencySymbol = "€";
  euro.symbolBefore = false;
  euro.thousands = ".";
  euro.decimal = ",";
  EXPECT_EQ(FormatMoneyText(-1234.5, euro), "-1.234,50");
}

TEST(RefiNarrativeTest, WrapLine) {
  const std::string a(80, 'a');
  EXPECT_EQ(WrapLine("short  "), std::vector<std::string>{"short  "});
  // A blank right after 85 characters: the first 85, trailing blanks off.
  const std::string at85 = a + " bbb " + "  cc";
  EXPECT_EQ(WrapLine(at85), (std::vector<std::string>{a + " bbb", "cc"}));
  // Otherwise at the last blank before position 85.
  const std::string before = a + " bbbbbbb dd";
  EXPECT_EQ(WrapLine(before), (std::vector<std::string>{a, "bbbbbbb dd"}));
  // A word longer than a line is cut hard, also after a paragraph's indent.
  const std::string word(100, 'w');
  EXPECT_EQ(WrapLine(word), (std::vector<std::string>{word.substr(0, 85), word.substr(85)}));
  EXPECT_EQ(WrapLine("     " + word),
            (std::vector<std::string>{"     " + word.substr(0, 80), word.substr(80)}));
}

TEST(RefiNarrativeTest, PaidDownParagraph) {
  VerdictCase v(0, 0, 1000, 1000);
  v.res.PaidDownCur = 6727.84;
  v.res.PaidDownNew = 5868.24;
  v.rec.SldAfter = 5;
  EXPECT_EQ(v.Build().paidDown,
            "     By the time you sell after 5 years, you'll have paid down $6,727.84 under your "
            "current loan, or $5,868.24 under the possible refinancing. The amounts used in this "
            "analysis are discounted to today's dollars. ");
  v.rec.SldAfter = 1;
  EXPECT_NE(v.Build().paidDown.find(" sell after 1 year, you'll "), std::string::npos);
}

TEST(RefiNarrativeTest, CostCases) {
  const std::string larger =
      "     Looking at just the difference between the two loans, your current financing will "
      "cost you $3,000.00. The possible refinancing will cost you $1,000.00. If you refinance: "
      "looking first at just the $100,000.00 that your current mortgage covers, you'd be paying "
      "$1,000.00, after allowing for taxes and closing costs. Therefore, you will be ";
  const std::string lost =
      " However, the interest  savings will  increase your taxes by $500.00 due to the  lost "
      "deduction. ";
  // 1: saving with a larger loan, deductible at 25 %.
  VerdictCase c1(3000, 1000, 100000, 120000);
  c1.rec.Deduct.Select(0);
  c1.rec.ProTaxBracket = 25;
  EXPECT_EQ(c1.Build().costs, larger + "SAVING $2,000.00." + lost);
  EXPECT_DOUBLE_EQ(c1.res.LostDeduction, 500);
  c1.rec.Deduct.Select(1);  // the bracket alone writes no lost deduction
  EXPECT_EQ(c1.Build().costs, larger + "SAVING $2,000.00.");
  EXPECT_EQ(c1.res.LostDeduction, 0);

  // 2: saving otherwise, also with no difference at all.
  const std::string same =
      "     Your current financing will cost you $3,000.00. The possible refinancing will cost "
      "you $1,000.00. So considering just the differences between the two loans: after tax "
      "considerations, and other related closing costs you will SAVE $2,000.00.";
  VerdictCase c2(3000, 1000, 100000, 100000);
  EXPECT_EQ(c2.Build().costs, same);
  c2.rec.Deduct.Select(0);
  c2.rec.ProTaxBracket = 25;
  EXPECT_EQ(c2.Build().costs, same + lost);
  VerdictCase even(1000, 1000, 100000, 120000);
  EXPECT_TRUE(EndsWith(even.Build().costs, "closing costs you will SAVE $0.00."));

  // 3 and 4: losing, the difference shown with its minus sign.
  VerdictCase c3(1000, 3000, 100000, 120000);
  EXPECT_EQ(c3.Build().costs,
            "     Looking at just the difference between the two loans, your current financing "
            "will cost you $1,000.00. The possible refinancing will cost you $3,000.00. If you "
            "refinance: looking first at just the $100,000.00 that your current mortgage covers, "
            "you'd be paying $3,000.00, after allowing for taxes and closing costs. Therefore, "
            "you will be LOSING -$2,000.00.");
  VerdictCase c4(1000, 3000, 100000, 100000);
  c4.rec.Deduct.Select(0);
  c4.rec.ProTaxBracket = 25;
  EXPECT_EQ(c4.Build().costs,
            "     Your current financing will cost you $1,000.00. The possible refinancing will "
            "cost you $3,000.00. You will  LOSE -$2,000.00.");
  EXPECT_EQ(c4.res.LostDeduction, 0);
}

TEST(RefiNarrativeTest, ReinvestmentSentence) {
  VerdictCase v(1000, 1000, 1000, 1000);
  v.rec.DiscRate = 6;
  v.res.ReinvestValue = 1438.94;
  EXPECT_TRUE(EndsWith(
      v.Build().costs,
      "$0.00. Now, since the sum of the payments is  LESS  under the  proposed  refinancing  "
      "than it is under the  current financing, you could reinvest this difference. If the "
      "difference in the payments is reinvested, you will have an estimated gain of $1,438.94 "
      "from the additional investment income."));
  v.res.ReinvestValue = -709.42;
  EXPECT_TRUE(EndsWith(
      v.Build().costs,
      "$0.00. Now, since the sum of the payments is  GREATER  under the  proposed refinancing "
      "than it is under the current financing, you will  LOSE an investment opportunity. As a "
      "result of paying the higher amount, you will give up an estimated -$709.42 in "
      "investment income."));
  v.res.ReinvestValue = 0;  // equal payments: nothing to say
  EXPECT_TRUE(EndsWith(v.Build().costs, "SAVE $0.00."));
  v.res.ReinvestValue = 1438.94;
  v.rec.DiscRate = 0;
  EXPECT_TRUE(EndsWith(v.Build().costs, "SAVE $0.00."));
}

TEST(RefiNarrativeTest, ExtraCapitalSentence) {
  VerdictCase smaller(1000, 1000, 100000, 90000);
  smaller.rec.DiscRate = 6;
  smaller.res.ExtraCapitalValue = -2985.05;
  EXPECT_TRUE(EndsWith(
      smaller.Build().costs,
      "$0.00. By taking out a smaller loan, you are in effect, spending an extra $10,000.00 up "
      "front to pay down your balance. If you had invested this money, it would have earned "
      "you $2,985.05 in today's dollars."));

  const std::string larger =
      "$0.00. By taking out a larger loan, you are borrowing extra capital that may be "
      "invested. Discounted to today's dollars, you will have a ";
  VerdictCase more(1000, 1000, 100000, 110000);
  more.rec.DiscRate = 6;
  more.res.ExtraCapitalValue = 337.77;
  EXPECT_TRUE(EndsWith(more.Build().costs,
                       larger + "GAIN of $337.77. This is because your discount rate--the value "
                                "the money has to you--is GREATER than your borrowing costs."));
  more.res.ExtraCapitalValue = -586.51;
  EXPECT_TRUE(EndsWith(more.Build().costs,
                       larger + "LOSS of -$586.51. This is because your discount rate--the value "
                                "the money has to you--is LESS  than your borrowing costs."));

  VerdictCase equal(1000, 1000, 100000, 100000);
  equal.rec.DiscRate = 6;
  EXPECT_TRUE(EndsWith(equal.Build().costs, "SAVE $0.00."));
}

TEST(RefiNarrativeTest, BottomLine) {
  VerdictCase hardly(499.99, 0, 1000, 1000);
  EXPECT_EQ(hardly.Build().bottomLine,
            "     Bottom line? Your total net SAVINGS will be $499.99. It hardly seems worth the "
            "trouble.");
  VerdictCase worth(500, 0, 1000, 1000);
  EXPECT_EQ(worth.Build().bottomLine,
            "     Bottom line? Your total net SAVINGS will be $500.00. Why are you waiting? ");
  VerdictCase none(700, 700, 1000, 1000);
  EXPECT_EQ(none.Build().bottomLine,
            "     Bottom line? Your total LOSS will be $0.00. We do not recommend you assume the "
            "possible refinancing.");
  // Every part counts: 600 saved + 50 reinvested - 120 extra capital - 150 taxes.
  VerdictCase sum(800, 200, 1000, 1000);
  sum.rec.Deduct.Select(0);
  sum.rec.ProTaxBracket = 25;
  sum.res.ReinvestValue = 50;
  sum.res.ExtraCapitalValue = -120;
  sum.Build();
  EXPECT_DOUBLE_EQ(sum.res.NetSavings, 380);
}

TEST(RefiNarrativeTest, MemoHasEmptyLinesBetweenParagraphs) {
  RefiNarrative n{"     one", std::string(5, ' ') + std::string(90, 'x'), "     three"};
  EXPECT_EQ(NarrativeMemo(n),
            (std::vector<std::string>{"     one", "", std::string(5, ' ') + std::string(80, 'x'),
                                      std::string(10, 'x'), "", "     three"}));
}

TEST(RefiOutput, CopyTextByteForByte) {
  RefiRecord rec = Worked();
  ASSERT_TRUE(CalcRefinance(rec).ok());
  EXPECT_EQ(
      RefiCopyText("Refinance Advisor 1", rec),
      "Refinance Advisor 1\r\n\r\n"
      "Current Financing\r\n\r\n"
      "Remaining Balance:             $10,000.00\r\n"
      "Periods Remaining?:                     2\r\n"
      "Annual Rate? (%):                 10.0000\r\n"
      "Payment Period?:                 Annually\r\n\r\n"
      "Possible Financing\r\n\r\n"
      "New Loan Amount?:              $10,000.00\r\n"
      "Total Periods? (#):                     2\r\n"
      "Annual Rate? (%):                  5.0000\r\n"
      "Payment Period?:                 Annually\r\n"
      "Points:?                           1.0000\r\n"
      "Misc. Closing Costs?:             $100.00\r\n"
      "Prepayment Penalty?:               $50.00\r\n\r\n"
      "Interest & Points are?:        Deductible\r\n"
      "Points are?:                      Prepaid\r\n"
      "Property Sold After? (Yrs):             2\r\n"
      "Projected Tax Bracket?:           25.0000\r\n"
      "Discount Rate (%)?:                8.0000\r\n\r\n"
      "     By the time you sell after 2 years, you'll have paid down $10,000.00 under your "
      "current loan, or $10,000.00 under the possible refinancing. The amounts used in this "
      "analysis are discounted to today's dollars.  \r\n\r\n"
      "     Your current financing will cost you $1,031.26. The possible refinancing will cost "
      "you $686.89. So considering just the differences between the two loans: after tax "
      "considerations, and other related closing costs you will SAVE $344.37. However, the "
      "interest  savings will  increase your taxes by $86.09 due to the  lost deduction. Now, "
      "since the sum of the payments is  LESS  under the  proposed  refinancing  than it is "
      "under the  current financing, you could reinvest this difference. If the difference in "
      "the payments is reinvested, you will have an estimated gain of $83.19 from the "
      "additional investment income. \r\n\r\n"
      "     Bottom line? Your total net SAVINGS will be $341.47. It hardly seems worth the "
      "trouble. ");
}

TEST(RefiOutput, PrintedPage) {
  RefiRecord rec = Worked();
  rec.Deduct.Select(1);
  ASSERT_TRUE(CalcRefinance(rec).ok());
  const auto pages = RefinancePage("Refinance Advisor 1", rec, "Arial", 10);
  ASSERT_EQ(pages.size(), 1u);
  const auto& t = pages[0].texts;
  auto find = [&](const std::string& text) -> const PageText* {
    for (const PageText& p : t)
      if (p.text == text) return &p;
    return nullptr;
  };
  const PageText* title = find("Refinance Advisor 1");
  ASSERT_NE(title, nullptr);
  EXPECT_TRUE(title->bold);
  EXPECT_EQ(title->align, Align::Center);
  const PageText* heading = find("Current Financing       ");
  ASSERT_NE(heading, nullptr);
  EXPECT_TRUE(heading->bold);
  EXPECT_DOUBLE_EQ(heading->x, 2.25 + 0.04);  // first column, 2 % inset
  ASSERT_NE(find("         10.0000"), nullptr);  // rates with four decimals
  ASSERT_NE(find("Not Deductib"), nullptr);      // list texts cut to 12
  ASSERT_NE(find("Interest & Points are?: "), nullptr);
  // Two empty lines after each group; the memo under its own tab stop.
  const PageText* penalty = find("Prepayment Penalty?:    ");
  const PageText* deduct = find("Interest & Points are?: ");
  ASSERT_NE(penalty, nullptr);
  EXPECT_NEAR(deduct->y - penalty->y, 3 * 10 * 1.2 / 72, 1e-9);
  const PageText* first = find(rec.Memo1[0]);
  ASSERT_NE(first, nullptr);
  EXPECT_DOUBLE_EQ(first->x, 0.75);
  EXPECT_FALSE(first->bold);
  // Empty memo lines print as empty lines.
  const PageText* last = find(rec.Memo1.back());
  ASSERT_NE(last, nullptr);
  EXPECT_NEAR(last->y - first->y, (rec.Memo1.size() - 1) * 10 * 1.2 / 72, 1e-9);
}

}  // namespace
}  // namespace brevika
