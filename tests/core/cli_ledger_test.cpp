// brevika-calc pay, ledger, payoff, interest-paid, import and delete
// --payment: the wiring of a saved loan's payments to the command line, with
// the tables of a temporary folder. Every figure is worked by hand below
// (the rules themselves are tested in ledger_test.cpp).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/cli_run.h"
#include "support/loan_records_fixture.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace brevika {
namespace {

using testing::CliRun;
using testing::ReadFileBytes;
using testing::TempDir;

CliRun Calc(const std::vector<std::string>& args) { return testing::RunCalc(args); }

// 20,000.00 at 6 % over 60 months, made 01/01/2024, first payment
// 02/01/2024: 386.66 a month; scheduled 100.00 + 286.66 (19,713.34), then
// 98.57 + 288.09 (19,425.25), 97.13 + 289.53 (19,135.72).
const std::vector<std::string> kLoanA = {"schedule", "--amount", "20000", "--periods", "60", "--rate", "6",
                                         "--origination", "01/01/2024", "--first-payment", "02/01/2024"};

// A folder with loan A saved as loan 1 of DEFAULT.
struct Book {
  TempDir dir;
  Book() {
    std::vector<std::string> save = kLoanA;
    for (const char* a : {"--save", "--account", "DEFAULT", "--dir"}) save.push_back(a);
    save.push_back(dir.path());
    const CliRun r = Calc(save);
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "1\n");
  }
  CliRun Run(std::vector<std::string> args) const {
    args.insert(args.begin() + 1, {"--dir", dir.path()});
    return Calc(args);
  }
};

TEST(CliLedger, PaymentsAreAppliedAndTheLedgerSummed) {
  Book b;
  // Ten days late: 40 days by 30/360, 20000 x 0.005 x 40/30 = 133.33;
  // principal 253.33; 19,746.67.
  CliRun r = b.Run({"pay", "--loan", "1", "--date", "02/11/2024", "--amount", "386.66", "--note", "late", "--json"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out,
            R"({"Date":"2024-02-11","Amount":386.66,"Days":40,"Interest":133.33,"Principal":253.33,)"
            R"("UnpaidInterest":0,"Balance":19746.67})"
            "\n");
  // 200 more on 03/01: 20 days, 19746.67 x 0.005 x 20/30 = 65.82;
  // principal 586.66 - 65.82 = 520.84; 19,225.83.
  r = b.Run({"pay", "--loan", "1", "--date", "03/01/2024", "--amount", "586.66"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out,
            "Payment of Loan 1\n\n"
            "Date:                            03/01/2024\n"
            "Amount:                             $586.66\n"
            "Days:                                    20\n"
            "Interest:                            $65.82\n"
            "Principal:                          $520.84\n"
            "Unpaid Interest:                      $0.00\n"
            "Balance:                         $19,225.83\n");

  // As of 03/15: paid 973.32 against 773.32 scheduled: 200.00 ahead, no
  // whole payment; the next due is payment 3 on 04/01.
  r = b.Run({"ledger", "--loan", "1", "--as-of", "03/15/2024", "--json"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out,
            R"({"Balance":19225.83,"UnpaidInterest":0,"PaidThrough":"2024-03-01","AheadPayments":0,)"
            R"("AheadAmount":200.0,"NextDue":"2024-04-01","rows":[)"
            R"({"Date":"2024-02-11","Amount":386.66,"Days":40,"Interest":133.33,"Principal":253.33,)"
            R"("UnpaidInterest":0,"Balance":19746.67,"Note":"late"},)"
            R"({"Date":"2024-03-01","Amount":586.66,"Days":20,"Interest":65.82,"Principal":520.84,)"
            R"("UnpaidInterest":0,"Balance":19225.83,"Note":""}]})"
            "\n");
  // As of 02/05 only the first scheduled payment is due, and unpaid: one
  // behind by 386.66, interest charged from origination.
  r = b.Run({"ledger", "--loan", "1", "--as-of", "02/05/2024"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, r.out.find("\n\nDate")),
            "Payment Ledger of Loan 1\n\n"
            "As Of:                           02/05/2024\n"
            "Balance:                         $20,000.00\n"
            "Unpaid Interest:                      $0.00\n"
            "Interest Charged Through:        01/01/2024\n"
            "Paid:                                 $0.00\n"
            "Scheduled:                          $386.66\n"
            "Ahead or Behind:           Behind by 1 payment, $386.66\n"
            "Next Payment Due:                02/01/2024");
  EXPECT_NE(r.out.find("\n02/01/2024     1        386.66\n"
                       "02/11/2024                            386.66    40       133.33        253.33"
                       "        0.00      19,746.67  late\n"),
            std::string::npos)
      << r.out;

  // Payoff on 03/16: 15 days on 19,225.83, 19225.83 x 0.005 x 15/30 =
  // 48.06; per diem 19225.83 x 0.06 / 360 = 3.20.
  r = b.Run({"payoff", "--loan", "1", "--date", "03/16/2024", "--json"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out,
            R"({"Date":"2024-03-16","Balance":19225.83,"UnpaidInterest":0,"AccruedInterest":48.06,)"
            R"("Payoff":19273.89,"PerDiem":3.2})"
            "\n");
  // 2024: interest 133.33 + 65.82 = 199.15, principal 253.33 + 520.84 = 774.17.
  r = b.Run({"interest-paid", "--loan", "1", "--year", "2024", "--json"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, R"({"Year":2024,"Interest":199.15,"Principal":774.17,"Payments":2})"
                   "\n");
  r = b.Run({"interest-paid", "--loan", "1", "--year", "2025"});
  EXPECT_EQ(r.out,
            "Paid in 2025, Loan 1\n\n"
            "Payments:                                 0\n"
            "Interest:                             $0.00\n"
            "Principal:                            $0.00\n"
            "Total Paid:                           $0.00\n");

  // CSV: the scheduled and the actual payments side by side.
  r = b.Run({"ledger", "--loan", "1", "--csv"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, r.out.find("2024-04-01")),
            "Date,PmtNo,ScheduledPayment,ScheduledPrincipal,ScheduledInterest,ScheduledBalance,Amount,Days,"
            "Interest,Principal,UnpaidInterest,Balance,Overpaid,Note\r\n"
            "2024-02-01,1,386.66,286.66,100.00,19713.34,,,,,,,,\r\n"
            "2024-02-11,,,,,,386.66,40,133.33,253.33,0.00,19746.67,0.00,late\r\n"
            "2024-03-01,2,386.66,288.09,98.57,19425.25,586.66,20,65.82,520.84,0.00,19225.83,0.00,\r\n");
}

TEST(CliLedger, RefusalsChangeNothing) {
  Book b;
  ASSERT_EQ(b.Run({"pay", "--loan", "1", "--date", "02/01/2024", "--amount", "386.66"}).code, 0);
  const auto before = testing::Snapshot(b.dir.path());
  struct Case {
    std::vector<std::string> args;
    int code;
    std::string err;
  };
  const Case cases[] = {
      {{"pay", "--loan", "7", "--date", "03/01/2024", "--amount", "5"}, 1, "Loan not found.\n"},
      {{"pay", "--loan", "1", "--date", "12/31/2023", "--amount", "5"},
       1,
       "Payment Date 12/31/2023 must be\n\nequal to or after Origination Date 01/01/2024.\n\n\n"},
      {{"pay", "--loan", "1", "--date", "02/30/2024", "--amount", "5"},
       2,
       "brevika-calc pay: --date: '02/30/2024' is not a date MM/DD/YYYY from 01/01/1600 to 12/31/3999\n"},
      {{"pay", "--loan", "1", "--date", "03/01/2024", "--amount", "0"}, 1, "Payment Amount must be more than zero.\n\n\n"},
      {{"pay", "--loan", "1", "--date", "03/01/2024", "--amount", "1234567890123"},
       2,
       "brevika-calc pay: --amount: '1234567890123' is not an amount (at most 12 integer digits and 2 decimals)\n"},
      {{"pay", "--loan", "1", "--date", "03/01/2024", "--amount", "5", "--note", std::string(61, 'n')},
       2,
       "brevika-calc pay: --note: '" + std::string(61, 'n') + "' is longer than 60 characters\n"},
      {{"payoff", "--loan", "1", "--date", "12/31/2023"},
       1,
       "Payoff Date 12/31/2023 must be\n\nequal to or after Origination Date 01/01/2024.\n\n\n"},
      {{"interest-paid", "--loan", "1", "--year", "1599"}, 1, "Year must be from 1600 to 3999.\n\n\n"},
      {{"ledger", "--loan", "7"}, 1, "Loan not found.\n"},
      {{"delete", "--loan", "1", "--payment", "03/01/2024"}, 1, "Loan 1 has no payment on 03/01/2024.\n\n\n"},
      {{"delete", "--loan", "1", "--payment", "02/01/2024", "--amount", "386.67"},
       1,
       "Loan 1 has no payment of $386.67 on 02/01/2024.\n\n\n"},
      {{"delete", "--loan", "1", "--amount", "5"}, 2, "brevika-calc delete: --amount requires --payment\n"},
  };
  for (const Case& c : cases) {
    const CliRun r = b.Run(c.args);
    EXPECT_EQ(r.code, c.code) << c.args[0] << " " << c.err;
    EXPECT_EQ(r.err, c.err);
    EXPECT_EQ(r.out, "");
  }
  EXPECT_TRUE(testing::SameTables(testing::Snapshot(b.dir.path()), before));
}

TEST(CliLedger, StatementsImportWhollyOrNotAtAll) {
  Book b;
  ASSERT_EQ(b.Run({"pay", "--loan", "1", "--date", "02/01/2024", "--amount", "386.66"}).code, 0);
  const std::string file = b.dir.file("statement.csv");
  testing::WriteFileBytes(file,
                          "Posted,Description,Amount\r\n"
                          "02/01/2024,Payment,$386.66\r\n"
                          "2024-03-01,Payment,\"$386.66\"\r\n"
                          "04/01/2024,\"Payment, with thanks\",386.66\r\n");
  const auto before = testing::Snapshot(b.dir.path());
  CliRun r = b.Run({"import", "--loan", "1", file});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err,
            "No column of the statement is named like a date.\n\nChoose the column by its name or its number.\n\n"
            "Its columns: Posted, Description, Amount\n\nNothing was imported.\n\n\n");
  testing::WriteFileBytes(b.dir.file("bad.csv"), "Date,Amount\n03/01/2024,386.66\n04/31/2024,386.66\n");
  r = b.Run({"import", "--loan", "1", b.dir.file("bad.csv")});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err,
            "Nothing was imported.\n\n1 line of the statement can't be read:\n\n"
            "Line 3: '04/31/2024' is not a date (MM/DD/YYYY or YYYY-MM-DD).\n\n\n");
  EXPECT_TRUE(testing::SameTables(testing::Snapshot(b.dir.path()), before));

  r = b.Run({"import", "--loan", "1", file, "--date-column", "Posted", "--amount-column", "3"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "2 payments imported.\n\n1 line already recorded, skipped:\n\nLine 2: 02/01/2024  $386.66\n");
  // On time every month: the balance is the schedule's 19,135.72.
  r = b.Run({"ledger", "--loan", "1", "--as-of", "04/01/2024", "--json"});
  EXPECT_EQ(r.out.substr(0, r.out.find(",\"rows\"")),
            R"({"Balance":19135.72,"UnpaidInterest":0,"PaidThrough":"2024-04-01","AheadPayments":0,)"
            R"("AheadAmount":0,"NextDue":"2024-05-01")");
}

TEST(CliLedger, OnePaymentIsDeletedByItsDateAndTheScheduleIsUntouched) {
  Book b;
  const std::string load = b.Run({"load", "--loan", "1"}).out;
  const std::string records = b.Run({"records"}).out;
  for (const char* amount : {"386.66", "100", "386.66"})
    ASSERT_EQ(b.Run({"pay", "--loan", "1", "--date", "02/01/2024", "--amount", amount}).code, 0);
  // The schedule reads as before: `load` and `records` print the same bytes.
  EXPECT_EQ(b.Run({"load", "--loan", "1"}).out, load);
  EXPECT_EQ(b.Run({"records"}).out, records);

  CliRun r = b.Run({"delete", "--loan", "1", "--payment", "02/01/2024"});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "Loan 1 has 3 payments on 02/01/2024.\n\nGive --amount to pick one.\n\n\n");
  r = b.Run({"delete", "--loan", "1", "--payment", "02/01/2024", "--amount", "100"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "Payment 02/01/2024  $100.00 deleted.\n");
  r = b.Run({"delete", "--loan", "1", "--payment", "02/01/2024"});
  EXPECT_EQ(r.out, "Payment 02/01/2024  $386.66 deleted.\n");
  r = b.Run({"ledger", "--loan", "1", "--json", "--as-of", "02/01/2024"});
  EXPECT_EQ(r.out.substr(0, r.out.find(",\"PaidThrough\"")), R"({"Balance":19713.34,"UnpaidInterest":0)");

  // Deleting the loan takes its payments with it.
  ASSERT_EQ(b.Run({"delete", "--loan", "1"}).code, 0);
  EXPECT_EQ(ReadFileBytes(b.dir.file("PAYMENTS.DBF")).size(), 32u + 4 * 32 + 1 + 1);
}

}  // namespace
}  // namespace brevika
