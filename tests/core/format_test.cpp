// Copy text and print lines of the calculators: alignment, money and number
// formats of several locales, accelerator marks, list texts.
#include <gtest/gtest.h>

#include "calculators/calc_record.h"
#include "calculators/loan.h"
#include "finance/format.h"
#include "finance/periods.h"

namespace brevika {
namespace {

// Money as a German-speaking locale writes it: "1.234,57 €".
LocaleFormat GermanStyle() {
  LocaleFormat f;
  f.currencySymbol = "\xE2\x82\xAC";  // €
  f.symbolBefore = false;
  f.symbolSpaced = true;
  f.thousands = ".";
  f.decimal = ",";
  return f;
}

LoanRecord SolvedLoan() {
  LoanRecord r = NewLoanRecord();
  r.PV = 100000;
  r.NumPmts = 360;
  r.Rate = 7.5f;
  CalcLoan(r);
  return r;
}

TEST(Format, Directives) {
  EXPECT_EQ(Format("%-24s|", {std::string("Amount of Loan?:")}), "Amount of Loan?:        |");
  EXPECT_EQ(Format("%16.2m", {1234.5678}), "       $1,234.57");
  EXPECT_EQ(Format("%16.2n", {7.5}), "            7.50");
  EXPECT_EQ(Format("%16.4n", {7.49993}), "          7.4999");
  EXPECT_EQ(Format("%16d", {360LL}), "             360");
  EXPECT_EQ(Format("%16s", {std::string("Monthly")}), "         Monthly");
  EXPECT_EQ(Format("%.12s", {std::string("Fixed Principal")}), "Fixed Princi");
  EXPECT_EQ(Format("100%% of %d", {5LL}), "100% of 5");
  // A field wider than its width is not cut.
  EXPECT_EQ(Format("%4.2m", {123456.0}), "$123,456.00");
}

TEST(Format, MoneyAndNumbers) {
  EXPECT_EQ(FormatMoney(0, 2), "$0.00");
  EXPECT_EQ(FormatMoney(999999999999.99, 2), "$999,999,999,999.99");
  EXPECT_EQ(FormatMoney(-1500.5, 2), "-$1,500.50");
  EXPECT_EQ(FormatMoney(-0.001, 2), "$0.00");  // no minus on a zero that shows
  EXPECT_EQ(FormatNumber(-7.5, 2), "-7.50");
  EXPECT_EQ(FormatNumber(1234567.0, 0), "1,234,567");

  const LocaleFormat de = GermanStyle();
  EXPECT_EQ(FormatMoney(151715.6, 2, de), "151.715,60 \xE2\x82\xAC");
  EXPECT_EQ(FormatNumber(7.5, 2, de), "7,50");
  LocaleFormat nl = de;
  nl.symbolBefore = true;
  EXPECT_EQ(FormatMoney(100000, 2, nl), "\xE2\x82\xAC 100.000,00");
}

TEST(Format, AcceleratorMark) {
  EXPECT_EQ(StripAccelerator("&Amount of Loan?:"), "Amount of Loan?:");
  EXPECT_EQ(StripAccelerator("Payme&nt Period?:"), "Payment Period?:");
  EXPECT_EQ(StripAccelerator("Total Interest:"), "Total Interest:");
  EXPECT_EQ(StripAccelerator("A&&B"), "A&B");  // only the first mark goes
}

TEST(Format, MoneyMasksByCountry) {
  for (int code : {1, 2, 44, 52, 61, 64, 353, 886}) EXPECT_EQ(MoneyMaskForCountry(code), "$###,###,###.##");
  EXPECT_EQ(MoneyMaskForCountry(31), "c###,###,###.##");
  for (int code : {32, 46, 49, 354, 358}) EXPECT_EQ(MoneyMaskForCountry(code), "#,###,###.##CCC");
  EXPECT_EQ(MoneyMaskForCountry(33), "##,###,###.##CC");
  EXPECT_EQ(MoneyMaskForCountry(34), "###,###,###.CCC");
  EXPECT_EQ(MoneyMaskForCountry(39), "cc ###,###,###.");
  for (int code : {41, 43, 45}) EXPECT_EQ(MoneyMaskForCountry(code), "cc##,###,###.##");
  for (int code : {47, 55}) EXPECT_EQ(MoneyMaskForCountry(code), "ccc#,###,###.##");
  EXPECT_EQ(MoneyMaskForCountry(351), "###,###.##CCCCC");
  for (int code : {0, 7, 81, 999}) EXPECT_EQ(MoneyMaskForCountry(code), "");
  for (int code : {1, 31, 32, 33, 34, 39, 41, 47, 351}) EXPECT_EQ(MoneyMaskForCountry(code).size(), 15u);
}

TEST(CopyTextTest, GermanStyleLocaleByteForByte) {
  const LoanRecord r = SolvedLoan();
  // Money is right-aligned by characters, so the three-byte euro sign
  // takes one column.
  EXPECT_EQ(CopyText("Loan Calculator 2", KindRows(LoanKind(), r), GermanStyle()),
            "Loan Calculator 2\r\n\r\n"
            "Amount of Loan?:             100.000,00 \xE2\x82\xAC\r\n"
            "Total Periods? (#):                   360\r\n"
            "Annual Rate? (%):                    7,50\r\n"
            "Periodic Payment:                699,21 \xE2\x82\xAC\r\n"
            "Payment Period?:                  Monthly\r\n"
            "Compounding Period?:              Monthly\r\n"
            "Payment Method?:                  Arrears\r\n"
            "Amortizing Method?:                Normal\r\n"
            "Total Interest:              151.715,60 \xE2\x82\xAC\r\n");
}

TEST(CopyTextTest, EveryRowKindAndLongLabels) {
  const std::vector<CalcRow> rows = {
      {RowKind::Money, "&Balance:", -250.0},
      {RowKind::Count, "Pa&yments:", 0, -12},
      {RowKind::Rate, "Rate:", 1234.5},
      {RowKind::Choice, "A label that is longer than 24:", 0, 0, "Interest Only"},
  };
  EXPECT_EQ(CopyText("Kind 1", rows, UsLocaleFormat()),
            "Kind 1\r\n\r\n"
            "Balance:                         -$250.00\r\n"
            "Payments:                             -12\r\n"
            "Rate:                            1,234.50\r\n"
            "A label that is longer than 24:    Interest Only\r\n");
}

TEST(PrintLinesTest, TabsFourDecimalRatesAndTwelveCharacterChoices) {
  LoanRecord r = SolvedLoan();
  r.AmortMthd.Select(static_cast<int>(AmortMethod::FixedPrincipal));
  r.CmpPYR.Select(kSemiAnnually);
  const auto lines = PrintLines(KindRows(LoanKind(), r), UsLocaleFormat());
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[0], "\tAmount of Loan?:        \t     $100,000.00");
  EXPECT_EQ(lines[1], "\tTotal Periods? (#):     \t             360");
  EXPECT_EQ(lines[2], "\tAnnual Rate? (%):       \t          7.5000");
  EXPECT_EQ(lines[3], "\tPeriodic Payment:       \t         $699.21");
  EXPECT_EQ(lines[4], "\tPayment Period?:        \tMonthly");
  EXPECT_EQ(lines[5], "\tCompounding Period?:    \tSemiAnnually");
  EXPECT_EQ(lines[6], "\tPayment Method?:        \tArrears");
  EXPECT_EQ(lines[7], "\tAmortizing Method?:     \tFixed Princi");
  EXPECT_EQ(lines[8], "\tTotal Interest:         \t     $151,715.60");

  const auto de = PrintLines(KindRows(LoanKind(), r), GermanStyle());
  EXPECT_EQ(de[2], "\tAnnual Rate? (%):       \t          7,5000");
  EXPECT_EQ(de[8], "\tTotal Interest:         \t    151.715,60 \xE2\x82\xAC");
}

TEST(Format, RateOfARecordAndMoneyInRunningText) {
  // A stored rate: four decimals, no grouping, the locale's decimal mark.
  EXPECT_EQ(RateText(7.5), "7.5000");
  EXPECT_EQ(RateText(1234.5), "1234.5000");
  EXPECT_EQ(RateText(7.5, GermanStyle()), "7,5000");
  EXPECT_EQ(RateText(-0.00001), "0.0000");
  // Money in running text: the first character of a leading symbol, no blank.
  LocaleFormat swiss;
  swiss.currencySymbol = "Fr.";
  swiss.symbolSpaced = true;
  swiss.thousands = "'";
  EXPECT_EQ(FormatMoneyText(-1234.5, swiss), "-F1'234.50");
  LocaleFormat euroFirst = GermanStyle();
  euroFirst.symbolBefore = true;
  EXPECT_EQ(FormatMoneyText(1234.5, euroFirst), "\xE2\x82\xAC" "1.234,50");
  EXPECT_EQ(FormatMoneyText(1234.5, GermanStyle()), "1.234,50");
}

// What a money field must be wide enough to show: the widest amount of its
// digits, negative, in its format.
TEST(Format, WidestAmountOfAField) {
  EXPECT_EQ(WidestAmountText(kResultIntegerDigits, 2), "-$9,999,999,999,999.99");
  EXPECT_EQ(WidestAmountText(12, 2), "-$999,999,999,999.99");
  EXPECT_EQ(WidestAmountText(13, 2, GermanStyle()), "-9.999.999.999.999,99 \xE2\x82\xAC");
  EXPECT_EQ(WidestAmountText(13, 0, GermanStyle()), "-9.999.999.999.999 \xE2\x82\xAC");
  // 13 digits with cents is 15 significant digits: exact in a double.
  EXPECT_EQ(FormatMoney(9999999999999.99, 2), "$9,999,999,999,999.99");
}

}  // namespace
}  // namespace brevika
