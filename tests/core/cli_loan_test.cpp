#include <gtest/gtest.h>

#include "support/loan_example.h"

#include "support/run_command.h"

#include <nlohmann/json.hpp>

namespace brevika {
namespace {

using testing::RunCommand;

testing::CommandResult Loan(const std::string& args, bool withStderr = false) {
  return RunCommand(std::string(BREVIKA_CALC_PATH) + " loan " + args, withStderr);
}

TEST(CliLoan, PrintsTheCopyText) {
  auto r = Loan("--amount 100000 --periods 360 --rate 7.5");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, testing::LoanExampleCopyText("Loan Calculator 1"));
}

TEST(CliLoan, ARefusalExitsOneWithItsMessage) {
  auto r = Loan("--amount 100000 --periods 360 --rate 7.5 --payment 699.21", true);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("No unknown values. Please try again.\n"), std::string::npos);
  auto j = Loan("--periods 360 --rate 7.5 --json");
  EXPECT_EQ(j.status, 1);
  EXPECT_EQ(nlohmann::json::parse(j.out)["message"], "Too many unknowns. Please try again.");
}

TEST(CliLoan, JsonCarriesFullPrecisionAndTheMessage) {
  auto r = Loan("--amount 100000 --periods 360 --payment 699.21 --json");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "{\"PV\":100000.0,\"NumPmts\":360,\"Rate\":7.49993,\"Pmt\":699.21,"
            "\"TotInt\":151715.6,\"PaymentPeriod\":\"Monthly\",\"Compounding\":\"Monthly\","
            "\"PaymentMethod\":\"Arrears\",\"Amortizing\":\"Normal\",\"message\":null}\n");

  auto io = Loan("--amount 10000 --periods 12 --rate 12 --amortizing 'interest only' "
                 "--payment-method advance --json");
  EXPECT_EQ(io.status, 0);
  const auto ioJson = nlohmann::json::parse(io.out);
  EXPECT_EQ(ioJson["Amortizing"], "Interest Only");
  EXPECT_EQ(ioJson["message"], "There is no interest for first payment\n\nwhen payment "
                               "is made in advance.\n\nUse amortization schedule instead.\n");
}

TEST(CliLoan, ListChoicesAndCanadian) {
  auto r = Loan("--amount 100000 --periods 300 --rate 6 --payment-period weekly "
                "--compounding DAILY --amortizing Canadian --json");
  EXPECT_EQ(r.status, 0);
  const auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["Pmt"], 639.81);
  EXPECT_EQ(j["PaymentPeriod"], "Monthly");
  EXPECT_EQ(j["Compounding"], "SemiAnnually");
}

TEST(CliLoan, BadArgumentsExitTwoWithOneLine) {
  for (const char* args : {"--amount abc", "--periods 3.5", "--payment-period Fortnightly",
                           "--frequency 12", "--amount", "--rate nan", "--amount 1e13",
                           "--amount 1234567890123", "--amount 0.001", "--rate 123.5",
                           "--rate 7.12345", "--periods 40000", "--amount \"$(printf '12\\n3')\""}) {
    auto r = Loan(args, true);
    EXPECT_EQ(r.status, 2) << args;
    ASSERT_FALSE(r.out.empty()) << args;
    EXPECT_EQ(r.out.find('\n'), r.out.size() - 1) << args << ": " << r.out;
    EXPECT_EQ(r.out.rfind("brevika-calc loan: ", 0), 0u) << r.out;
  }
  // The offending text is quoted on the one line, its newline escaped.
  EXPECT_EQ(Loan("--amount \"$(printf '12\\n3')\"", true).out,
            "brevika-calc loan: --amount: '12\\n3' is not an amount (at most 12 integer digits "
            "and 2 decimals)\n");
  auto help = RunCommand(std::string(BREVIKA_CALC_PATH) + " loan --help");
  EXPECT_EQ(help.status, 0);
  for (const char* opt : {"--amount", "--periods", "--rate", "--payment", "--payment-period",
                          "--compounding", "--payment-method", "--amortizing", "--json"})
    EXPECT_NE(help.out.find(opt), std::string::npos) << opt;
  help = RunCommand(std::string(BREVIKA_CALC_PATH) + " schedule --help");
  EXPECT_EQ(help.status, 0);
  for (const char* opt : {"--amount", "--periods", "--rate", "--points", "--origination",
                          "--first-payment", "--rate-basis", "--points-paid", "--year"})
    EXPECT_NE(help.out.find(opt), std::string::npos) << opt;
  help = RunCommand(std::string(BREVIKA_CALC_PATH) + " --help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("schedule"), std::string::npos);
}

}  // namespace
}  // namespace brevika
