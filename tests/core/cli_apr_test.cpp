// brevika-calc apr: its repeatable options, its JSON and its exit codes
// (the rules of the APR are tested on the core). The expected APRs were
// worked out apart from the program, by bisection on the actuarial
// equation in 50-digit decimal arithmetic, and rounded to 6 decimals.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/run_command.h"

namespace brevika {
namespace {

using testing::RunCommand;

testing::CommandResult Apr(const std::string& args, bool withStderr = false) {
  return RunCommand("LC_ALL=C " + std::string(BREVIKA_CALC_PATH) + " apr " + args, withStderr);
}

nlohmann::json Json(const testing::CommandResult& r) { return nlohmann::json::parse(r.out); }

// The three worked examples of the regulation: 9.69 %, 8.97 %, 11.45 %.
TEST(CliApr, TheRegulationsExamplesAsJson) {
  // 5,000.00 on 01/10/1978, 24 monthly payments of 230.00 from 02/10/1978:
  // 5000 = sum of 230 / (1 + i)^k, k = 1..24; 12 i = 9.6857080...
  auto r = Apr("--advance 5000@01/10/1978 --payments 24x230@02/10/1978 --json");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "{\"APR\":9.685708,\"UnitPeriod\":\"monthly\",\"UnitPeriodsPerYear\":12,"
            "\"AmountFinanced\":5000.0,\"FinanceCharge\":520.0,\"TotalOfPayments\":5520.0,"
            "\"message\":null}\n");

  // 10,000.00 on 05/23/1978, 40 quarterly payments of 385.00 from
  // 10/01/1978: the first is 1 quarter and 39 days back (f = 39/90);
  // 10000 = sum of 385 / ((1 + 39/90 i)(1 + i)^(k+1)), k = 0..39;
  // 4 i = 8.9707696...
  auto j = Json(Apr("--advance 10,000.00@05/23/1978 --payments 40x385@10/01/1978/Quarterly --json"));
  EXPECT_EQ(j["APR"], 8.97077);
  EXPECT_EQ(j["UnitPeriod"], "quarterly");
  EXPECT_EQ(j["UnitPeriodsPerYear"], 4);
  EXPECT_EQ(j["FinanceCharge"], 5400.0);  // 40 x 385 - 10,000
  EXPECT_TRUE(j["message"].is_null());

  // 1,000.00 on 01/03/1978, one payment of 1,080.00 on 09/15/1978, 255
  // days later: i = 0.08 over a unit period of 255 days, APR = 8 x 365 /
  // 255 = 11.4509803... A disclosed 11.60 is 0.149 away: not within 1/8.
  j = Json(Apr("--advance 1000@01/03/1978 --payments 1x1080@09/15/1978 --disclosed 11.60 --json"));
  EXPECT_EQ(j["APR"], 11.45098);
  EXPECT_EQ(j["UnitPeriod"], "single");
  EXPECT_EQ(j["UnitPeriodsPerYear"], 1.431373);  // 365 / 255
  EXPECT_EQ(j["Tolerance"], 0.125);
  EXPECT_EQ(j["Accurate"], false);
}

TEST(CliApr, EveryAdvanceAndSeriesGivenIsRead) {
  // A construction loan: two draws, interest-only payments while it is
  // built, then 360 payments. All on the 1st of a month, whole months back
  // to 03/01/2025: 40000 + 20000 v^3 = 233.33 (v + v^2 + v^3) +
  // 350 (v^4 + v^5 + v^6) + 399.18 (v^7 + ... + v^366); 12 i = 6.9999627...
  // Total 3 x 233.33 + 3 x 350 + 360 x 399.18 = 145,454.79. Two advances:
  // irregular, 1/4 point; 7.24 is 0.240 away.
  auto j = Json(Apr("--advance 40000@03/01/2025 --advance 20000@06/01/2025 "
                    "--payments 3x233.33@04/01/2025 --payments 3x350@07/01/2025 "
                    "--payments 360x399.18@10/01/2025 --disclosed 7.24 --json"));
  EXPECT_EQ(j["APR"], 6.999963);
  EXPECT_EQ(j["AmountFinanced"], 60000.0);
  EXPECT_EQ(j["TotalOfPayments"], 145454.79);
  EXPECT_EQ(j["FinanceCharge"], 85454.79);
  EXPECT_EQ(j["Tolerance"], 0.25);
  EXPECT_EQ(j["Accurate"], true);
  // Without --json: the window's copy text, the verdict last.
  auto text = Apr("--advance 5000@01/10/1978 --payments 24x230@02/10/1978 --disclosed 9.8");
  EXPECT_EQ(text.status, 0);
  EXPECT_EQ(text.out.rfind("Truth in Lending 1\r\n\r\nAdvance 1:                      $5,000.00\r\n", 0), 0u);
  EXPECT_NE(text.out.find("ANNUAL PERCENTAGE RATE:              9.69\r\n"), std::string::npos);
  EXPECT_NE(text.out.find("Disclosed APR Is:                Accurate\r\n"), std::string::npos);
}

TEST(CliApr, BadArgumentsExitTwo) {
  auto missing = Apr("--advance 5000@01/10/1978", true);
  EXPECT_EQ(missing.status, 2);
  EXPECT_EQ(missing.out, "brevika-calc apr: --payments is required\n");
  EXPECT_EQ(Apr("--payments 24x230@02/10/1978").status, 2);
  auto advance = Apr("--advance 5000 --payments 24x230@02/10/1978", true);
  EXPECT_EQ(advance.status, 2);
  EXPECT_EQ(advance.out, "brevika-calc apr: --advance: '5000' is not AMOUNT@MM/DD/YYYY\n");
  // The second of two series cannot be read.
  auto series = Apr("--advance 5000@01/10/1978 --payments 24x230@02/10/1978 --payments 2x5@02/10/1978/daily",
                    true);
  EXPECT_EQ(series.status, 2);
  EXPECT_EQ(series.out,
            "brevika-calc apr: --payments: '2x5@02/10/1978/daily' has no interval weekly, biweekly, "
            "4-weekly, semimonthly, monthly, bimonthly, quarterly, semiannually or annually after the date\n");
  auto disclosed = Apr("--advance 5000@01/10/1978 --payments 24x230@02/10/1978 --disclosed 1000", true);
  EXPECT_EQ(disclosed.status, 2);
  EXPECT_EQ(disclosed.out,
            "brevika-calc apr: --disclosed: '1000' is not a rate (at most 3 integer digits and 4 decimals)\n");
}

TEST(CliApr, ARefusedLoanExitsOneWithItsMessage) {
  // 24 x 200 = 4,800.00 does not repay 5,000.00.
  auto j = Apr("--advance 5000@01/10/1978 --payments 24x200@02/10/1978 --json");
  EXPECT_EQ(j.status, 1);
  EXPECT_EQ(j.out,
            "{\"message\":\"The payments total less than the advances:\\r\\rthey do not repay the loan."
            "\\r\\rPlease Try Again\"}\n");
  auto text = RunCommand("{ " + std::string(BREVIKA_CALC_PATH) +
                         " apr --advance 5000@01/10/1978 --payments 24x230@01/01/1978 2>&1 >/dev/null; }");
  EXPECT_EQ(text.status, 1);
  EXPECT_EQ(text.out, "No payment can fall\n\nbefore the first advance.\n\nPlease Try Again\n");
}

}  // namespace
}  // namespace brevika
