// brevika-calc accounts add, records, schedule --save, load and delete: the
// wiring of the loan records to the command line (the rules are tested on
// the core), with the tables of a temporary folder.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
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
using testing::ShellQuote;
using testing::TempDir;

CliRun Calc(const std::vector<std::string>& args) { return testing::RunCalc(args); }

const std::vector<std::string> kTerms = {"schedule", "--amount", "100000", "--periods", "360", "--rate", "7.5",
                                         "--origination", "01/01/1997", "--first-payment", "02/01/1997"};
const std::vector<std::string> kShortTerms = {"schedule", "--amount", "5000", "--periods", "12", "--rate", "9",
                                              "--origination", "03/15/2024", "--first-payment", "05/01/2024",
                                              "--rate-basis", "Exact/365"};

std::vector<std::string> Plus(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Adds an account by its names; its number.
std::string AddAccount(const std::string& dir, const char* last, const char* first) {
  const CliRun r = Calc({"accounts", "add", "--dir", dir, "--last-name", last, "--first-name", first});
  EXPECT_EQ(r.code, 0) << r.err;
  return r.out.empty() ? r.out : r.out.substr(0, r.out.size() - 1);
}

// Saves a schedule as a new loan of an account; its number.
std::string SaveNew(const std::string& dir, const std::vector<std::string>& terms, const std::string& account) {
  const CliRun r = Calc(Plus(terms, {"--save", "--dir", dir, "--account", account}));
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  return r.out.empty() ? r.out : r.out.substr(0, r.out.size() - 1);
}

TEST(CliRecords, AccountsGetGeneratedOrGivenNumbersAndAreListed) {
  TempDir dir;
  EXPECT_EQ(AddAccount(dir.path(), "Smith", "John"), "SMITJOH001");
  CliRun r = Calc({"accounts", "add", "--dir", dir.path(), "--last-name", "Smithers", "--first-name", "Johanna",
                "--address1", "1 Main St", "--city", "Springfield", "--state", "IL", "--zip", "62701",
                "--phone", "555-0100"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "SMITJOH002\n");
  r = Calc({"accounts", "add", "--dir", dir.path(), "--account-no", "ACME-7", "--city", "Halifax"});
  EXPECT_EQ(r.out, "ACME-7\n");

  const auto before = testing::Snapshot(dir.path());
  r = Calc({"accounts", "add", "--dir", dir.path(), "--last-name", "Smith"});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "Both 'Last Name' & 'First Name' must be entered.\n");
  r = Calc({"accounts", "add", "--dir", dir.path(), "--account-no", "ACME-7"});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "Account number ACME-7 already exists.\n");
  r = Calc({"accounts", "add", "--dir", dir.path(), "--last-name", "Doe", "--first-name", "Jo", "--state", "Nova"});
  EXPECT_EQ(r.code, 2);
  EXPECT_EQ(r.err, "brevika-calc accounts add: --state: 'Nova' is longer than 2 characters\n");
  EXPECT_TRUE(testing::SameTables(testing::Snapshot(dir.path()), before));

  r = Calc({"records", "--dir", dir.path(), "--json"});
  ASSERT_EQ(r.code, 0) << r.err;
  const auto j = nlohmann::ordered_json::parse(r.out);
  ASSERT_EQ(j["accounts"].size(), 4u);
  std::vector<std::string> numbers;
  for (const auto& a : j["accounts"]) numbers.push_back(a["ACCOUNTNO"]);
  EXPECT_EQ(numbers, (std::vector<std::string>{"ACME-7", "DEFAULT", "SMITJOH001", "SMITJOH002"}));
  const auto& johanna = j["accounts"][3];
  EXPECT_EQ(johanna["LASTNAME"], "Smithers");
  EXPECT_EQ(johanna["ADDRESS1"], "1 Main St");
  EXPECT_EQ(johanna["STATE"], "IL");
  EXPECT_EQ(johanna["ZIP"], "62701");
  EXPECT_EQ(johanna["PHONE1"], "555-0100");
  EXPECT_EQ(johanna["loans"].dump(), "[]");
}

TEST(CliRecords, ASavedScheduleLoadsAsTheSameCsv) {
  TempDir dir;
  const std::string account = AddAccount(dir.path(), "Smith", "John");
  const CliRun calculated = Calc(kTerms);
  ASSERT_EQ(calculated.code, 0);
  EXPECT_EQ(SaveNew(dir.path(), kTerms, account), "1");
  EXPECT_EQ(SaveNew(dir.path(), kShortTerms, "DEFAULT"), "2");

  CliRun r = Calc({"load", "--dir", dir.path(), "--loan", "1"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, calculated.out);
  EXPECT_EQ(Calc({"load", "--dir", dir.path(), "--loan", "2"}).out, Calc(kShortTerms).out);

  r = Calc({"load", "--dir", dir.path(), "--loan", "2", "--json"});
  ASSERT_EQ(r.code, 0) << r.err;
  const auto j = nlohmann::ordered_json::parse(r.out);
  EXPECT_EQ(j["LOANNO"], "2");
  EXPECT_EQ(j["ACCOUNTNO"], "DEFAULT");
  EXPECT_EQ(j["terms"].dump(),
            R"({"PV":5000.0,"NumPmts":12,"Rate":9.0,"Points":0,"OrgDate":"03/15/2024","FrstPmtDate":"05/01/2024",)"
            R"("PYR":"Monthly","CmpPYR":"Monthly","AmortMthd":"Normal","RateBasis":"Exact/365"})");
  ASSERT_EQ(j["rows"].size(), 13u);
  EXPECT_EQ(j["rows"][1].dump(),
            R"({"PmtNo":1,"PeriodLabel":"   1/01","Date":"2024-05-01","Payment":437.26,"Principal":400.27,)"
            R"("Interest":36.99,"Balance":4599.73,"RunPayment":458.22,"RunPrincipal":400.27,"RunInterest":57.95})");

  r = Calc({"records", "--dir", dir.path()});
  EXPECT_EQ(r.out,
            "DEFAULT\n"
            "  2          05/01/2024            5,000.00      12     9.0000\n"
            "SMITJOH001  Smith, John\n"
            "  1          02/01/1997          100,000.00     360     7.5000\n");
}

TEST(CliRecords, ReplacingASavedLoanNeedsReplaceAndItsOwnAccount) {
  TempDir dir;
  const std::string account = AddAccount(dir.path(), "Smith", "John");
  ASSERT_EQ(SaveNew(dir.path(), kTerms, account), "1");
  ASSERT_EQ(SaveNew(dir.path(), kShortTerms, "DEFAULT"), "2");
  const auto before = testing::Snapshot(dir.path());

  CliRun r = Calc(Plus(kShortTerms, {"--save", "--dir", dir.path(), "--account", account, "--loan", "1"}));
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "This loan number already exists!\n\nReplace loan number 1\n\nwith new data?\n\n");
  r = Calc(Plus(kShortTerms, {"--save", "--dir", dir.path(), "--account", account, "--loan", "2", "--replace"}));
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "Loan 2 is not a loan of account SMITJOH001.\n");
  r = Calc(Plus(kShortTerms, {"--save", "--dir", dir.path(), "--account", "NOBODY"}));
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "Account not found.\n");
  r = Calc(Plus(kShortTerms, {"--save", "--dir", dir.path(), "--replace"}));
  EXPECT_EQ(r.code, 2);
  EXPECT_EQ(r.err.rfind("brevika-calc schedule: ", 0), 0u) << r.err;
  EXPECT_TRUE(testing::SameTables(testing::Snapshot(dir.path()), before));

  r = Calc(Plus(kShortTerms, {"--save", "--dir", dir.path(), "--account", account, "--loan", "1", "--replace"}));
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "1\n");
  EXPECT_EQ(Calc({"load", "--dir", dir.path(), "--loan", "1"}).out, Calc(kShortTerms).out);
}

TEST(CliRecords, DeletesRunTheCascades) {
  TempDir dir;
  const std::string account = AddAccount(dir.path(), "Smith", "John");
  ASSERT_EQ(SaveNew(dir.path(), kTerms, account), "1");
  ASSERT_EQ(SaveNew(dir.path(), kShortTerms, "DEFAULT"), "2");
  ASSERT_EQ(SaveNew(dir.path(), kShortTerms, account), "3");

  CliRun r = Calc({"delete", "--dir", dir.path(), "--account", account});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "SMITJOH001 deleted.\n");
  for (const char* loan : {"1", "3"}) {
    r = Calc({"load", "--dir", dir.path(), "--loan", loan});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "Loan not found.\n");
  }
  const auto j = nlohmann::ordered_json::parse(Calc({"records", "--dir", dir.path(), "--json"}).out);
  ASSERT_EQ(j["accounts"].size(), 1u);
  EXPECT_EQ(j["accounts"][0]["ACCOUNTNO"], "DEFAULT");
  EXPECT_EQ(j["accounts"][0]["loans"].dump(),
            R"([{"LOANNO":"2","COLLATERIA":"","FRSTPMTDT":"05/01/2024","INITAMT":5000.0,"INITTERM":12,"INITRATE":9.0}])");
  // Packed: TRANS.DBF holds only the 13 rows of loan 2.
  EXPECT_EQ(ReadFileBytes(dir.file("TRANS.DBF")).size(), 32u + 15 * 32 + 1 + 13 * 154 + 1);

  r = Calc({"delete", "--dir", dir.path(), "--account", "DEFAULT"});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "\nThe DEFAULT account cannot be deleted.\n\n\n");
  r = Calc({"delete", "--dir", dir.path(), "--loan", "2"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(Calc({"load", "--dir", dir.path(), "--loan", "2"}).err, "Loan not found.\n");
  EXPECT_EQ(Calc({"delete", "--dir", dir.path()}).code, 2);
  EXPECT_EQ(Calc({"delete", "--dir", dir.path(), "--loan", "1", "--account", "DEFAULT"}).code, 2);
}

TEST(CliRecords, TablesThatCannotBeOpenedAreRefusedAndLeftAlone) {
  TempDir dir;
  const std::string file = dir.file("not-a-folder");
  testing::WriteFileBytes(file, "plain text\n");
  CliRun r = Calc({"records", "--dir", file});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "Table open failed\n");
  EXPECT_EQ(ReadFileBytes(file), "plain text\n");
  EXPECT_EQ(Calc({"records", "--dir", ""}).code, 2);
  // Reading or deleting in a folder that is not there makes no tables.
  const std::string missing = dir.path() + "/missing";
  r = Calc({"delete", "--loan", "1", "--dir", missing});
  EXPECT_EQ(r.code, 2);
  EXPECT_EQ(r.err, "brevika-calc delete: --dir: '" + missing + "' does not exist\n");
  EXPECT_FALSE(std::filesystem::exists(missing));

  const std::string tables = dir.path() + "/tables";
  const std::string account = AddAccount(tables, "Smith", "John");
  ASSERT_EQ(SaveNew(tables, kShortTerms, account), "1");
  std::string damaged = ReadFileBytes(tables + "/LOANS.DBF");
  damaged[10] = 0x7f;  // record length no longer the fields' sum
  testing::WriteFileBytes(tables + "/LOANS.DBF", damaged);
  const auto before = testing::Snapshot(tables);
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"load", "--loan", "1"}, {"records"}, {"delete", "--account", account},
        Plus(kShortTerms, {"--save", "--account", account})}) {
    r = Calc(Plus(args, {"--dir", tables}));
    EXPECT_EQ(r.code, 1) << args[0];
    EXPECT_EQ(r.out, "") << args[0];
    EXPECT_EQ(r.err, "Table open failed\n") << args[0];
  }
  EXPECT_TRUE(testing::SameTables(testing::Snapshot(tables), before));
}

// The report of a loaded loan carries its account as the borrower.
TEST(CliRecords, LoadWritesTheReportOfTheLoanForItsAccount) {
  TempDir dir;
  CliRun r = Calc({"accounts", "add", "--dir", dir.path(), "--last-name", "Smith", "--first-name", "John",
                   "--city", "Springfield", "--state", "IL", "--zip", "62701"});
  ASSERT_EQ(r.code, 0) << r.err;
  const std::string loan = SaveNew(dir.path(), kTerms, "SMITJOH001");
  const std::string pdf = dir.file("loan.pdf");
  r = Calc({"load", "--dir", dir.path(), "--loan", loan, "--pdf", pdf, "--paper", "A4"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "");
  const std::string text = dir.file("loan.txt");
  ASSERT_EQ(std::system(("pdftotext -layout " + ShellQuote(pdf) + " " + ShellQuote(text)).c_str()), 0);
  const std::string report = ReadFileBytes(text);
  EXPECT_NE(report.find("Springfield, IL"), std::string::npos);
  EXPECT_NE(report.find("Prepared For: John Smith"), std::string::npos);
  EXPECT_NE(report.find("$699.21"), std::string::npos);
  EXPECT_EQ(Calc({"load", "--dir", dir.path(), "--loan", loan, "--json", "--pdf", pdf}).code, 2);
}

}  // namespace
}  // namespace brevika
