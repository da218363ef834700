// Payments from a lender's CSV statement: the CSV reading, the columns,
// dates and amounts as statements write them, duplicates and bad lines.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "records/statement_import.h"

namespace brevika::records {
namespace {

Date D(int m, int d, int y) { return MakeDate(d, m, y); }
long long Cents(double v) { return std::llround(v * 100); }

LedgerTerms Loan() {
  LedgerTerms t;
  t.amount = 20000;
  t.rate = 6;
  t.origination = D(1, 1, 2024);
  t.firstPayment = D(2, 1, 2024);
  return t;
}

TEST(StatementCsv, QuotesLineEndsAndLineNumbers) {
  // Line 1 header (after a byte order mark), line 2 a record with a quoted
  // comma and quote, lines 3-4 one record whose quoted field holds a CR LF,
  // line 5 blank, line 6 a last record without a line end.
  CsvDocument doc;
  ASSERT_TRUE(ParseCsv("\xEF\xBB\xBF" "Date,Description,Amount\r\n"
                       "02/01/2024,\"Payment, \"\"thanks\"\"\",386.66\r\n"
                       "03/01/2024,\"two\r\nlines\",386.66\r\n"
                       "\r\n"
                       "04/01/2024,,\"1,000.00\"",
                       doc)
                  .ok());
  EXPECT_EQ(doc.header.line, 1);
  EXPECT_EQ(doc.header.fields, (std::vector<std::string>{"Date", "Description", "Amount"}));
  ASSERT_EQ(doc.records.size(), 3u);
  EXPECT_EQ(doc.records[0].line, 2);
  EXPECT_EQ(doc.records[0].fields[1], "Payment, \"thanks\"");
  EXPECT_EQ(doc.records[1].line, 3);
  EXPECT_EQ(doc.records[1].fields[1], "two\r\nlines");
  EXPECT_EQ(doc.records[2].line, 6);
  EXPECT_EQ(doc.records[2].fields, (std::vector<std::string>{"04/01/2024", "", "1,000.00"}));

  // LF line ends, and an empty last field before the end.
  ASSERT_TRUE(ParseCsv("a,b\n1,\n", doc).ok());
  ASSERT_EQ(doc.records.size(), 1u);
  EXPECT_EQ(doc.records[0].fields, (std::vector<std::string>{"1", ""}));

  // Refusals name the line and leave the document as it was.
  const Outcome open = ParseCsv("Date,Amount\n02/01/2024,\"386.66\n", doc);
  EXPECT_TRUE(open.refused);
  EXPECT_EQ(open.FirstText(),
            "The statement can't be read as CSV.\n\nLine 2: a quoted field is not closed.\n\nNothing was imported.\n\n");
  EXPECT_EQ(doc.records[0].fields[0], "1");
  EXPECT_EQ(ParseCsv("Date,Amount\n\n\"02/01/2024\"x,1\n", doc).FirstText(),
            "The statement can't be read as CSV.\n\nLine 3: a closing quote is followed by other text.\n\n"
            "Nothing was imported.\n\n");
}

TEST(StatementColumnsTest, ByDefaultByNameAndByNumber) {
  CsvDocument doc;
  ASSERT_TRUE(ParseCsv("Posted Date, Description ,Effective Date,Payment Amount,Principal\n", doc).ok());
  EXPECT_EQ(DefaultDateColumn(doc.header), 0);
  EXPECT_EQ(DefaultAmountColumn(doc.header, 0), 3);
  EXPECT_EQ(FindColumn(doc.header, "effective date"), 2);
  EXPECT_EQ(FindColumn(doc.header, " DESCRIPTION"), 1);
  EXPECT_EQ(FindColumn(doc.header, "4"), 3);
  EXPECT_EQ(FindColumn(doc.header, "0"), -1);
  EXPECT_EQ(FindColumn(doc.header, "6"), -1);
  EXPECT_EQ(FindColumn(doc.header, "Memo"), -1);
  ASSERT_TRUE(ParseCsv("When,Payment,Date\n", doc).ok());
  EXPECT_EQ(DefaultDateColumn(doc.header), 2);  // "Date" itself before a name holding it
  EXPECT_EQ(DefaultAmountColumn(doc.header, 2), 1);
  ASSERT_TRUE(ParseCsv("When,How much\n", doc).ok());
  EXPECT_EQ(DefaultDateColumn(doc.header), -1);
  EXPECT_EQ(DefaultAmountColumn(doc.header, -1), -1);
}

TEST(StatementValues, DatesAsStatementsWriteThem) {
  EXPECT_EQ(ParseStatementDate("02/01/2024"), D(2, 1, 2024));
  EXPECT_EQ(ParseStatementDate(" 2/1/2024 "), D(2, 1, 2024));
  EXPECT_EQ(ParseStatementDate("2024-02-01"), D(2, 1, 2024));
  EXPECT_EQ(ParseStatementDate("2024-2-1"), D(2, 1, 2024));
  EXPECT_EQ(ParseStatementDate("02/01/24"), D(2, 1, 2024));  // two-digit years 1960..2059
  EXPECT_EQ(ParseStatementDate("02/01/60"), D(2, 1, 1960));
  EXPECT_EQ(ParseStatementDate("2024-02-30"), kBadDate);
  EXPECT_EQ(ParseStatementDate("13/01/2024"), kBadDate);
  EXPECT_EQ(ParseStatementDate("2024/02/01"), kBadDate);
  EXPECT_EQ(ParseStatementDate("24-02-01"), kBadDate);
  EXPECT_EQ(ParseStatementDate("Feb 1, 2024"), kBadDate);
  EXPECT_EQ(ParseStatementDate(""), kBadDate);
}

TEST(StatementValues, AmountsAsStatementsWriteThem) {
  auto cents = [](const char* text, const LocaleFormat& loc = UsLocaleFormat()) {
    const std::optional<double> v = ParseStatementAmount(text, loc);
    return v ? Cents(*v) : -999999;
  };
  EXPECT_EQ(cents("386.66"), 38666);
  EXPECT_EQ(cents("$1,234.56"), 123456);
  EXPECT_EQ(cents(" USD 1,234.56 "), 123456);
  EXPECT_EQ(cents("1234.5"), 123450);
  EXPECT_EQ(cents("1234"), 123400);
  EXPECT_EQ(cents("+$5.00"), 500);
  EXPECT_EQ(cents("-$386.66"), -38666);
  EXPECT_EQ(cents("$-386.66"), -38666);
  EXPECT_EQ(cents("($386.66)"), -38666);
  EXPECT_EQ(cents("999,999,999,999.99"), 99999999999999);
  EXPECT_EQ(cents("1,000,000,000,000.00"), -999999);  // 13 digits
  EXPECT_EQ(cents("386.665"), -999999);
  EXPECT_EQ(cents("12,34.5"), -999999);  // thousands group by three
  EXPECT_EQ(cents("1,2345.00"), -999999);
  EXPECT_EQ(cents("$"), -999999);
  EXPECT_EQ(cents("386.66 fee"), -999999);

  LocaleFormat de;
  de.currencySymbol = "€";
  de.thousands = ".";
  de.decimal = ",";
  EXPECT_EQ(cents("1.234,56 €", de), 123456);
  EXPECT_EQ(cents("386,66", de), 38666);
  EXPECT_EQ(cents("1,234.56", de), 123456);  // not the locale's form: read as US
  EXPECT_EQ(cents("386.66", de), 38666);     // not 38,666.00
  EXPECT_EQ(cents("1.234", de), 123400);
  LocaleFormat fr;
  fr.currencySymbol = "€";
  fr.thousands = "\xE2\x80\xAF";  // narrow no-break space
  fr.decimal = ",";
  EXPECT_EQ(cents("1\xE2\x80\xAF" "234,56\xC2\xA0€", fr), 123456);
}

// A statement of three payments, the second already recorded.
const char kStatement[] =
    "Date,Description,Amount\r\n"
    "02/01/2024,Payment,$386.66\r\n"
    "2024-03-01,Payment,$386.66\r\n"
    "04/01/2024,\"Payment, extra\",\"$1,386.66\"\r\n";

TEST(StatementRead, AlreadyRecordedLinesAreSkippedAndListed) {
  const std::vector<ActualPayment> recorded = {{D(3, 1, 2024), 386.66, "by hand"}};
  StatementImport im;
  const Outcome o = ImportStatement(kStatement, {}, Loan(), recorded, im);
  ASSERT_TRUE(o.ok()) << o.FirstText();
  EXPECT_EQ(im.dateColumn, 0);
  EXPECT_EQ(im.amountColumn, 2);
  ASSERT_EQ(im.payments.size(), 2u);
  EXPECT_EQ(im.payments[0], (ActualPayment{D(2, 1, 2024), 386.66, ""}));
  EXPECT_EQ(im.payments[1].date, D(4, 1, 2024));
  EXPECT_EQ(Cents(im.payments[1].amount), 138666);
  EXPECT_EQ(im.paymentLines, (std::vector<int>{2, 4}));
  ASSERT_EQ(im.skipped.size(), 1u);
  EXPECT_EQ(im.skipped[0].line, 3);
  EXPECT_EQ(o.FirstText(), "2 payments imported.\n\n1 line already recorded, skipped:\n\nLine 3: 03/01/2024  $386.66\n\n");
  EXPECT_EQ(o.messages.front().box, BoxType::Information);

  // Importing the same statement again adds nothing; each recorded payment
  // stands for one line, so the second of two equal lines is new.
  const std::vector<ActualPayment> all = {{D(2, 1, 2024), 386.66, ""},
                                          {D(3, 1, 2024), 386.66, ""},
                                          {D(4, 1, 2024), 1386.66, ""}};
  EXPECT_EQ(ImportStatement(kStatement, {}, Loan(), all, im).FirstText(),
            "No payment imported.\n\n3 lines already recorded, skipped:\n\n"
            "Line 2: 02/01/2024  $386.66\nLine 3: 03/01/2024  $386.66\nLine 4: 04/01/2024  $1,386.66\n\n");
  EXPECT_TRUE(im.payments.empty());
  ASSERT_TRUE(ImportStatement("Date,Amount\n02/01/2024,10\n02/01/2024,10\n", {}, Loan(),
                              {{D(2, 1, 2024), 10, ""}}, im)
                  .ok());
  ASSERT_EQ(im.payments.size(), 1u);
  EXPECT_EQ(im.paymentLines[0], 3);
}

TEST(StatementRead, ChosenColumns) {
  const char text[] = "Posted,Memo,Paid,Balance\n02/01/2024,x,386.66,19713.34\n";
  StatementImport im;
  ASSERT_TRUE(ImportStatement(text, {"posted", "3"}, Loan(), {}, im).ok());
  EXPECT_EQ(Cents(im.payments.at(0).amount), 38666);

  EXPECT_EQ(ImportStatement(text, {}, Loan(), {}, im).FirstText(),
            "No column of the statement is named like a date.\n\nChoose the column by its name or its number.\n\n"
            "Its columns: Posted, Memo, Paid, Balance\n\nNothing was imported.\n\n");
  EXPECT_EQ(ImportStatement(text, {"1", "Amount"}, Loan(), {}, im).FirstText(),
            "The statement has no column 'Amount'.\n\nIts columns: Posted, Memo, Paid, Balance\n\n"
            "Nothing was imported.\n\n");
  EXPECT_EQ(ImportStatement(text, {"1", "9"}, Loan(), {}, im).FirstText(),
            "The statement has no column '9'.\n\nIts columns: Posted, Memo, Paid, Balance\n\nNothing was imported.\n\n");
  EXPECT_EQ(ImportStatement(text, {"Posted", "1"}, Loan(), {}, im).FirstText(),
            "The date and the amount must be different columns.\n\nNothing was imported.\n\n");
  EXPECT_EQ(ImportStatement("Date,Amount\r\n", {}, Loan(), {}, im).FirstText(),
            "The statement has no lines after its header.\n\nNothing was imported.\n\n");
  EXPECT_EQ(ImportStatement("", {}, Loan(), {}, im).FirstText(), "The statement is empty.\n\nNothing was imported.\n\n");
}

TEST(StatementRead, ABadLineImportsNothing) {
  // Line 3 holds a quoted line break, so the lines after it are 5 on.
  const char text[] =
      "Date,Note,Amount\n"
      "02/01/2024,ok,386.66\n"
      "03/01/2024,\"two\nlines\",386.66\n"
      "02/30/2024,,386.66\n"
      "04/01/2024,,abc\n"
      "12/15/2023,,386.66\n"
      "05/01/2024,,-386.66\n"
      "06/01/2024\n"
      ",,386.66\n";
  StatementImport im;
  const Outcome o = ImportStatement(text, {}, Loan(), {}, im);
  EXPECT_TRUE(o.refused);
  EXPECT_TRUE(im.payments.empty());
  ASSERT_EQ(im.problems.size(), 6u);
  EXPECT_EQ(im.problems[0].line, 5);
  EXPECT_EQ(o.FirstText(),
            "Nothing was imported.\n\n6 lines of the statement can't be read:\n\n"
            "Line 5: '02/30/2024' is not a date (MM/DD/YYYY or YYYY-MM-DD).\n"
            "Line 6: 'abc' is not an amount (at most 12 integer digits and 2 decimals).\n"
            "Line 7: 12/15/2023 is before Origination Date 01/01/2024.\n"
            "Line 8: '-386.66' is not more than zero.\n"
            "Line 9: no amount in column 3.\n"
            "Line 10: no date in column 1.\n\n");
}

// Line k + 2 of a generated statement: day 1..28 of each month from
// January 2000, 336 lines a year; amounts 100.00 to 199.00.
std::string GeneratedLine(int k) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%d,Payment,\"$1,%03d.00\"\r\n", (k % 336) / 28 + 1, k % 28 + 1,
                2000 + k / 336, 100 + k % 100);
  return buf;
}

TEST(StatementRead, TenThousandLines) {
  std::string text = "Date,Description,Amount\r\n";
  for (int k = 0; k < 10000; ++k) text += GeneratedLine(k);
  LedgerTerms t = Loan();
  t.origination = D(1, 1, 2000);
  // Line 5002 (k = 5000: 5000 = 14 x 336 + 296, month 296 / 28 + 1 = 11,
  // day 296 % 28 + 1 = 17, year 2014; amount 1,100.00) is recorded.
  StatementImport im;
  const Outcome o = ImportStatement(text, {}, t, {{D(11, 17, 2014), 1100, ""}}, im);
  ASSERT_TRUE(o.ok()) << o.FirstText();
  ASSERT_EQ(im.payments.size(), 9999u);
  ASSERT_EQ(im.skipped.size(), 1u);
  EXPECT_EQ(im.skipped[0].line, 5002);
  // The last, k = 9999 = 29 x 336 + 255: 10/04/2029, 1,199.00, line 10001.
  EXPECT_EQ(im.payments.back().date, D(10, 4, 2029));
  EXPECT_EQ(Cents(im.payments.back().amount), 119900);
  EXPECT_EQ(im.paymentLines.back(), 10001);

  // One unreadable line among them refuses all of them.
  text.insert(text.find(GeneratedLine(7000)), "07/32/2020,Payment,1.00\r\n");
  const Outcome bad = ImportStatement(text, {}, t, {}, im);
  EXPECT_TRUE(bad.refused);
  EXPECT_TRUE(im.payments.empty());
  EXPECT_EQ(bad.FirstText(),
            "Nothing was imported.\n\n1 line of the statement can't be read:\n\n"
            "Line 7002: '07/32/2020' is not a date (MM/DD/YYYY or YYYY-MM-DD).\n\n");
}

TEST(StatementRead, LongListsAreCut) {
  std::string text = "Date,Amount\n";
  for (int k = 0; k < 12; ++k) text += "x,1\n";
  StatementImport im;
  const Outcome o = ImportStatement(text, {}, Loan(), {}, im);
  EXPECT_EQ(im.problems.size(), 12u);
  const std::string msg = o.FirstText();
  EXPECT_NE(msg.find("Line 11: 'x' is not a date"), std::string::npos);
  EXPECT_EQ(msg.find("Line 12:"), std::string::npos);
  EXPECT_EQ(msg.substr(msg.size() - 14), "\nand 2 more.\n\n");
}

}  // namespace
}  // namespace brevika::records
