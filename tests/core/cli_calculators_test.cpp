// brevika-calc interest-due, remaining-balance, accelerated, balloon and
// refinance: the wiring of options, outputs and exit codes (the rules are
// tested on the core).
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/run_command.h"

namespace brevika {
namespace {

using testing::RunCommand;

testing::CommandResult Calc(const std::string& args, bool withStderr = false) {
  return RunCommand("LC_ALL=C " + std::string(BREVIKA_CALC_PATH) + " " + args, withStderr);
}

nlohmann::json Json(const testing::CommandResult& r) { return nlohmann::json::parse(r.out); }

TEST(CliCalculators, InterestDueByDatesOrDays) {
  auto r = Calc("interest-due --amount 10000 --rate 7.5 --start-date 01/01/2026 --end-date 01/01/2027");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("Interest Due Calculator 1\r\n\r\n", 0), 0u);
  EXPECT_NE(r.out.find("Start Date?:             Thursday  01/01/2026\r\n"), std::string::npos);
  EXPECT_NE(r.out.find("Interest for Term:                $778.76\r\n"), std::string::npos);

  auto j = Json(Calc("interest-due --amount 10000 --rate 7.5 --days -365 --json"));
  EXPECT_EQ(j["NumDays"], 365);  // a negative count moved the start date back
  EXPECT_DOUBLE_EQ(j["IntPaid"].get<double>(), 778.7584644002576);
  EXPECT_EQ(j["RateBasis"], "365");
  EXPECT_TRUE(j["message"].is_null());

  // Refused for dates too far apart, the record still names each date's
  // weekday: 1 January 1950 was a Sunday.
  auto far = Calc("interest-due --amount 1 --rate 1 --start-date 01/01/2100 --end-date 01/01/1950");
  EXPECT_EQ(far.status, 1);
  EXPECT_NE(far.out.find("End Date?:               Sunday    01/01/1950\r\n"), std::string::npos);

  auto both = Calc("interest-due --amount 1 --rate 1 --days 5 --start-date 01/01/2026", true);
  EXPECT_EQ(both.status, 2);
  EXPECT_EQ(both.out, "brevika-calc interest-due: give either --days or both --start-date and --end-date\n");
}

TEST(CliCalculators, RemainingBalanceAndItsRefusal) {
  auto j = Json(Calc("remaining-balance --amount 100000 --periods 360 --rate 7.5 --after-payment 12 --json"));
  EXPECT_EQ(j["RemBal"], 99078.23);
  EXPECT_EQ(j["Pmt"], 699.21);
  auto refused = Calc("remaining-balance --amount 100000 --periods 12 --rate 7.5 --after-payment 12 --json");
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(Json(refused)["message"],
            "Total Periods must be greater\r\rthan Balance After Payment #.\r\rPlease Try Again");
  // On standard error a lone carriage return breaks the line.
  auto text = RunCommand("{ " + std::string(BREVIKA_CALC_PATH) +
                         " remaining-balance --amount 100000 --periods 12 --rate 7.5 "
                         "--after-payment 12 2>&1 >/dev/null; }");
  EXPECT_EQ(text.out, "Total Periods must be greater\n\nthan Balance After Payment #.\n\nPlease Try Again\n");
}

TEST(CliCalculators, AcceleratedAndBalloon) {
  auto a = Json(Calc("accelerated --amount 100000 --periods 360 --rate 7.5 --increase-after 12 "
                     "--extra 100 --amortizing normal --json"));
  EXPECT_EQ(a["PerOff"], 252);
  EXPECT_NEAR(a["IntSaved"].get<double>(), 52091.98, 0.005);
  auto b = Calc("balloon --amount 10000 --rate 12 --balloon-after 12 --balloon 5000");
  EXPECT_EQ(b.status, 0);
  EXPECT_NE(b.out.find("Payment Amount:                   $494.24\r\n"), std::string::npos);
  auto bad = Calc("balloon --amount 10000 --rate 12 --balloon-after 0 --balloon 5000 --json");
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(Json(bad)["Pmt"], 0);
}

TEST(CliCalculators, RefinanceVerdictAndResults) {
  const std::string terms =
      "refinance --balance 100000 --periods-remaining 300 --rate 9 --new-amount 100000 "
      "--periods 360 --new-rate 7 --points 2 --misc 1500 --sold-after 7 --tax-bracket 28 "
      "--discount-rate 5";
  auto j = Json(Calc(terms + " --deductible yes --json"));
  // The results at full precision; the verdict shows them to the cent.
  EXPECT_NEAR(j["NetSavings"].get<double>(), 5923.30, 0.005);
  EXPECT_NEAR(j["LostDeduction"].get<double>(), 1407.57, 0.005);
  EXPECT_EQ(j["memo"][0].get<std::string>().rfind("     By the time you sell after 7 years", 0), 0u);
  // Nothing borrowed beyond the balance: no payment on an extra amount.
  EXPECT_EQ(j["PmtExtra"], 0);
  // 10,000 more over 360 months at 7 %: a tenth of 665.30, the payment of
  // 100,000 on those terms.
  auto more = Json(Calc("refinance --balance 100000 --periods-remaining 300 --rate 9 --new-amount 110000 "
                        "--periods 360 --new-rate 7 --sold-after 7 --discount-rate 5 --json"));
  EXPECT_DOUBLE_EQ(more["PmtExtra"].get<double>(), 66.53);
  auto text = Calc(terms + " --deductible no");
  EXPECT_EQ(text.status, 0);
  EXPECT_NE(text.out.find("Interest & Points are?:    Not Deductible\r\n"), std::string::npos);
  auto zero = Calc("refinance --balance 1 --periods-remaining 0 --rate 9 --new-amount 1 --periods 360 "
                   "--new-rate 7", true);
  EXPECT_EQ(zero.status, 1);
  EXPECT_NE(zero.out.find("No zero values allowed."), std::string::npos);
}

}  // namespace
}  // namespace brevika
