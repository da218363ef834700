#include <gtest/gtest.h>

#include "support/loan_example.h"

#include "support/run_command.h"

namespace brevika {
namespace {

using testing::RunCommand;

testing::CommandResult Loan(const std::string& args, bool withStderr = false) {
  return RunCommand(std::string(BREVIKA_CALC_PATH) + " loan " + args, withStderr);
}

TEST(CliLoan, PrintsTheCopyText) {
  auto r = Loan("--amount 100000 --periods 360 --rate 7.5");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            testing::LoanExampleCopyText("Loan Calculator"));
}

TEST(CliLoan, JsonCarriesFullPrecisionAndTheMessage) {
  auto r = Loan("--amount 100000 --periods 360 --payment 699.21 --json");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "{\"PV\": 1e+05, \"NumPmts\": 360, \"Rate\": 7.49993, \"Pmt\": 699.21, "
            "\"TotInt\": 151715.6, \"PaymentPeriod\": \"Monthly\", \"Compounding\": \"Monthly\", "
            "\"PaymentMethod\": \"Arrears\", \"Amortizing\": \"Normal\", \"message\": null}\n");

  auto io = Loan("--amount 10000 --periods 12 --rate 12 --amortizing 'interest only' "
                 "--payment-method advance --json");
  EXPECT_EQ(io.status, 0);
  EXPECT_NE(io.out.find("\"Amortizing\": \"Interest Only\""), std::string::npos);
  EXPECT_NE(io.out.find("\"message\": \"There is no interest for first payment\\n\\nwhen payment "
                        "is made in advance.\\n\\nUse amortization schedule instead.\\n\"}"),
            std::string::npos);
}

TEST(CliLoan, ListChoicesAndCanadian) {
  auto r = Loan("--amount 100000 --periods 300 --rate 6 --payment-period weekly "
                "--compounding DAILY --amortizing Canadian --json");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("\"Pmt\": 639.81"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\"PaymentPeriod\": \"Monthly\", \"Compounding\": \"SemiAnnually\""),
            std::string::npos);
}

TEST(CliLoan, BadArgumentsExitTwoWithOneLine) {
  for (const char* args : {"--amount abc", "--periods 3.5", "--payment-period Fortnightly",
                           "--frequency 12", "--amount", "--rate nan", "--amount 1e13"}) {
    auto r = Loan(args, true);
    EXPECT_EQ(r.status, 2) << args;
    ASSERT_FALSE(r.out.empty()) << args;
    EXPECT_EQ(r.out.find('\n'), r.out.size() - 1) << args << ": " << r.out;
    EXPECT_EQ(r.out.rfind("brevika-calc loan: ", 0), 0u) << r.out;
  }
  auto help = RunCommand(std::string(BREVIKA_CALC_PATH) + " --help");
  EXPECT_EQ(help.status, 0);
  for (const char* opt : {"--amount", "--periods", "--rate", "--payment", "--payment-period",
                          "--compounding", "--payment-method", "--amortizing", "--json",
                          "--points", "--origination", "--first-payment", "--rate-basis",
                          "--points-paid", "--year"})
    EXPECT_NE(help.out.find(opt), std::string::npos) << opt;
}

}  // namespace
}  // namespace brevika
