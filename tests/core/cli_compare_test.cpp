// brevika-calc compare: the JSON and the text of the points buy-down example
// worked by hand in compare_test.cpp, bad arguments, and a refusal that
// names its offer. The command starts every loan on the 1st of the month it
// runs in: the figures do not depend on that month, and the one date of the
// output is worked out here from the calendar.
#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <nlohmann/json.hpp>

#include "support/run_command.h"

namespace brevika {
namespace {

using testing::RunCommand;

const std::string kBuyDown =
    "compare --offer 'amount=300000,rate=6.5,periods=360,points=1,fees=2500' "
    "--offer 'amount=300000,rate=6.875,periods=360' --horizon 5";

testing::CommandResult Calc(const std::string& args, bool withStderr = false) {
  return RunCommand("LC_ALL=C " + std::string(BREVIKA_CALC_PATH) + " " + args, withStderr);
}

// Month and year of today, from the system's calendar.
struct Month {
  int month, year;
};
Month ThisMonth() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_mon + 1, local.tm_year + 1900};
}

// The 1st of the month `months` after the 1st of `m`, as MM/DD/YYYY.
std::string FirstOfMonthAfter(Month m, int months) {
  const int index = m.month - 1 + months;
  char text[16];
  std::snprintf(text, sizeof text, "%02d/01/%04d", index % 12 + 1, m.year + index / 12);
  return text;
}

// A 30-year loan whose first payment falls after 2028 runs past the
// schedule's 2059 limit and is refused; the examples below need an earlier
// month to run.
bool ThirtyYearsFit(Month m) { return m.year + (m.month == 12 ? 1 : 0) <= 2028; }

TEST(CliCompare, BuyDownAgainstNoPointsAsJson) {
  const Month month = ThisMonth();
  const testing::CommandResult r = Calc(kBuyDown + " --json");
  const nlohmann::json j = nlohmann::json::parse(r.out);
  if (!ThirtyYearsFit(month)) {
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(j["message"],
              "Offer 1: Loan can't go beyond 2059\n\nReduce number of initial periods or \n\n"
              "increase frequency of payment period.\n\n");
    return;
  }
  ASSERT_EQ(r.status, 0) << r.out;
  // The figures worked by hand; the break-even after 59 payments.
  const nlohmann::json expected = nlohmann::json::parse(R"({
    "offers": [
      {"Payment": 1896.20, "APR": 6.6788, "PaymentsToHorizon": 113772.00, "InterestToHorizon": 94605.26,
       "BalanceAtHorizon": 280833.26, "UpfrontCost": 5500.00, "CostToHorizon": 100105.26,
       "PresentCost": 100105.26},
      {"Payment": 1970.79, "APR": 6.8750, "PaymentsToHorizon": 118247.40, "InterestToHorizon": 100261.36,
       "BalanceAtHorizon": 282013.96, "UpfrontCost": 0, "CostToHorizon": 100261.36,
       "PresentCost": 100261.36}],
    "Cheapest": 1,
    "BreakEven": [{"offers": [1, 2], "payment": 59}],
    "verdict": ["Offer 1 costs the least over 5 years: $156.10 less than Offer 2.",
                "Offer 1 also has the lowest APR."],
    "message": null})");
  EXPECT_EQ(j, expected) << j.dump(1);
  EXPECT_EQ(r.out.find('\n'), r.out.size() - 1) << "one line";

  // Kept 4 years the points have not paid for themselves.
  const nlohmann::json shorter = nlohmann::json::parse(
      Calc("compare --offer amount=300000,rate=6.5,periods=360,points=1,fees=2500 "
           "--offer amount=300000,rate=6.875,periods=360 --horizon 4 --json")
          .out);
  EXPECT_EQ(shorter["Cheapest"], 2);
  EXPECT_EQ(shorter["offers"][0]["CostToHorizon"], 81696.57);
  EXPECT_EQ(shorter["verdict"][1],
            "Offer 1 has the lowest APR, but its points and fees pay for themselves only after "
            "4 years and 11 months.");
}

TEST(CliCompare, BuyDownAgainstNoPointsAsText) {
  const Month before = ThisMonth();
  const testing::CommandResult r = Calc(kBuyDown);
  const Month after = ThisMonth();
  if (!ThirtyYearsFit(after)) {
    EXPECT_EQ(r.status, 1);  // the limit, as in the JSON test
    return;
  }
  ASSERT_EQ(r.status, 0) << r.out;
  const std::string head =
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
      "\r\n";
  // Payment 59 falls on the 1st of the month 59 months after this one (the
  // month may have turned while the command ran).
  auto text = [&](Month m) {
    return head + "Offer 1 breaks even with Offer 2 after 59 payments (4 years and 11 months), on " +
           FirstOfMonthAfter(m, 59) +
           ".\r\n"
           "\r\n"
           "Offer 1 costs the least over 5 years: $156.10 less than Offer 2.\r\n"
           "Offer 1 also has the lowest APR.\r\n";
  };
  if (r.out != text(after)) {
    EXPECT_EQ(r.out, text(before));
  }
}

TEST(CliCompare, BadArgumentsAndRefusals) {
  const std::string two =
      "compare --offer amount=300000,rate=6.5,periods=360 --offer amount=300000,rate=6.875,periods=360";
  // An offer that cannot be read names itself; exit 2.
  auto bad = Calc("compare --offer amount=300000,rate=6.5,periods=360 --offer amount=1,rate=6.5%,periods=3 "
                  "--horizon 5",
                  true);
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(bad.out,
            "brevika-calc compare: Offer 2: rate: '6.5%' is not a rate (at most 2 integer digits and 4 "
            "decimals)\n");
  bad = Calc("compare --offer amount=1,rate=1,periods=1,term=2 --offer amount=1,rate=1,periods=1 --horizon 1", true);
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(bad.out,
            "brevika-calc compare: Offer 1: 'term' is not a key of an offer (amount, rate, periods, points, "
            "fees, payment-period, compounding, amortizing)\n");
  bad = Calc(two + " --horizon 5.5", true);
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(bad.out, "brevika-calc compare: --horizon: '5.5' is not a whole number from -32768 to 32767\n");
  bad = Calc(two, true);
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(bad.out, "brevika-calc compare: --horizon is required\n");
  bad = Calc("compare --horizon 5", true);
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(bad.out, "brevika-calc compare: --offer is required\n");

  // Values read but refused by the comparison: exit 1, the message on
  // standard error or in the JSON, nothing compared.
  auto refused = Calc(two + " --horizon 51", true);
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.out.find("Horizon must be from 1 to 50 years.\n"), std::string::npos);
  EXPECT_EQ(refused.out.find("costs the least"), std::string::npos);
  nlohmann::json j = nlohmann::json::parse(Calc(two + " --horizon 5 --discount-rate -1 --json").out);
  EXPECT_EQ(j["message"], "Discount Rate can't be negative.");
  EXPECT_TRUE(j["offers"].empty());
  EXPECT_TRUE(j["Cheapest"].is_null());
  j = nlohmann::json::parse(Calc("compare --offer amount=300000,rate=6.5,periods=360 --horizon 5 --json").out);
  EXPECT_EQ(j["message"], "At least two offers are needed to compare.");

  // A refusal of one offer names it.
  auto zero = Calc("compare --offer amount=300000,rate=6.5,periods=12 --offer amount=300000,rate=0,periods=12 "
                   "--horizon 1 --json");
  EXPECT_EQ(zero.status, 1);
  EXPECT_EQ(nlohmann::json::parse(zero.out)["message"],
            "Offer 2: No zero values allowed.\r\n\nEnter Amount, Initial Period or Rate\n\n");
}

}  // namespace
}  // namespace brevika
