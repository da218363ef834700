// brevika-calc schedule with what-if events: the options and their JSON
// form give the hand-checked schedules of the engine's examples, the
// summary compares with the loan without events, bad arguments exit 2 with
// one line, refusals exit 1, and the events are saved with the loan and
// come back from `load --json` in the --events form.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/cli_run.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace {

using brevika::testing::CliRun;
using brevika::testing::Lines;
using brevika::testing::ReadFileBytes;
using brevika::testing::TempDir;
using brevika::testing::WriteFileBytes;

CliRun Calc(const std::vector<std::string>& args) { return brevika::testing::RunCalc(args); }

// 100,000 over 360 months at 7.5 %, first payment a month after origination.
std::vector<std::string> Schedule(std::vector<std::string> extra) {
  std::vector<std::string> args = {"schedule",      "--amount",     "100000",        "--periods",
                                   "360",           "--rate",       "7.5",           "--origination",
                                   "01/01/1997",    "--first-payment", "02/01/1997"};
  args.insert(args.end(), extra.begin(), extra.end());
  return args;
}

// 100 extra from payment 13 (the engine's example, checked by hand there):
// 252 payments, the last 221.91 on 1 January 2018, 99,623.62 of interest
// against 151,721.99 without the extra: 52,098.37 and 108 payments saved.
TEST(CliEvents, OptionsGiveTheHandCheckedSchedule) {
  CliRun r = Calc(Schedule({"--extra", "100@13", "--summary"}));
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "{\"APR\":7.5,\"AmountFinanced\":100000.0,\"Payments\":252,\"TotalOfPayments\":199623.62,"
            "\"Principal\":100000.0,\"Interest\":99623.62,\"FinalPayment\":221.91,\"PayoffDate\":\"2018-01-01\","
            "\"InterestSaved\":52098.37,\"PaymentsSaved\":108,\"BasePayoffDate\":\"2027-01-01\"}\n");
  // Without events: nothing saved, the same date.
  r = Calc(Schedule({"--summary", "--lower-payment", "--keep-payment"}));
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find(",\"PayoffDate\":\"2027-01-01\",\"InterestSaved\":0,\"PaymentsSaved\":0,"
                       "\"BasePayoffDate\":\"2027-01-01\"}\n"),
            std::string::npos)
      << r.out;

  // The rows: payment 13 pays 699.21 + 100; 619.24 of it is interest.
  r = Calc(Schedule({"--extra", "100@13"}));
  ASSERT_EQ(r.code, 0) << r.err;
  const auto lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 254u);
  EXPECT_EQ(lines[14], "13,  13/02,1998-02-01,799.21,179.97,619.24,98898.26,9189.73,1101.74,8087.99");
  EXPECT_EQ(lines[253].substr(0, 41), "252, 252/21,2018-01-01,221.91,220.53,1.38");
  // The year tab of 1998 starts with payment 12; payment 13 follows.
  r = Calc(Schedule({"--extra", "100@13", "--year", "2"}));
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(Lines(r.out)[2].substr(0, 29), "13,  13/02,1998-02-01,799.21,");

  // The two choices without events change nothing.
  EXPECT_EQ(Calc(Schedule({"--lower-payment", "--keep-payment"})).out, Calc(Schedule({})).out);
}

// One event of each kind (checked by hand in the engine's tests): payment
// 60 pays 10,799.21, payment 61 the 521.40 recomputed at 6.25 %, payment
// 100 nothing. The options, in any order, and their JSON form agree.
TEST(CliEvents, TheJsonFormGivesTheSameSchedule) {
  TempDir dir;
  WriteFileBytes(dir.file("e.json"),
                 "[{\"kind\":\"extra\",\"from\":13,\"to\":60,\"amount\":100},"
                 " {\"kind\":\"lump\",\"at\":60,\"amount\":10000}, {\"kind\":\"rate\",\"at\":61,\"rate\":6.25},"
                 " {\"kind\":\"holiday\",\"from\":100,\"to\":102}]");
  const CliRun options = Calc(Schedule({"--holiday", "100-102", "--extra", "100@13-60", "--lump", "10000@60",
                                        "--rate-change", "6.25@61"}));
  ASSERT_EQ(options.code, 0) << options.err;
  const auto lines = Lines(options.out);
  EXPECT_EQ(lines[61].substr(0, 44), "60,  60/05,2002-01-01,10799.21,10241.20,558.");
  EXPECT_EQ(lines[62].substr(0, 28), "61,  61/06,2002-02-01,521.40");
  EXPECT_EQ(lines[101].substr(0, 35), "100, 100/09,2005-05-01,0.00,-387.02");
  const CliRun json = Calc(Schedule({"--events", dir.file("e.json")}));
  ASSERT_EQ(json.code, 0) << json.err;
  EXPECT_EQ(json.out, options.out);
  // An empty list is no events.
  WriteFileBytes(dir.file("none.json"), "[]");
  EXPECT_EQ(Calc(Schedule({"--events", dir.file("none.json")})).out, Calc(Schedule({})).out);

  // "how" in the file is the choice of that event; --lower-payment that
  // of the others.
  WriteFileBytes(dir.file("lower.json"), "[{\"kind\":\"lump\",\"at\":60,\"amount\":10000,\"how\":\"lower-payment\"}]");
  const CliRun lower = Calc(Schedule({"--events", dir.file("lower.json")}));
  EXPECT_EQ(lower.out, Calc(Schedule({"--lump", "10000@60", "--lower-payment"})).out);
  EXPECT_NE(lower.out, Calc(Schedule({"--lump", "10000@60"})).out);
  EXPECT_EQ(Calc(Schedule({"--events", dir.file("lower.json"), "--keep-payment"})).out, lower.out);
}

TEST(CliEvents, BadEventArgumentsExitTwoWithOneLine) {
  TempDir dir;
  struct Bad {
    std::vector<std::string> args;
    std::string json;  // written to b.json and given with --events when not empty
    std::string err;
  };
  const std::string file = "--events: '" + dir.file("b.json") + "'";
  const std::vector<Bad> bad = {
      {{"--extra", "100@0"}, "",
       "--extra: '100@0' is not AMOUNT@K or AMOUNT@K-M: payment numbers are whole numbers from 1 to 32767"},
      {{"--lump", "100@5-7"}, "", "--lump: '100@5-7' is not AMOUNT@K"},
      {{"--rate-change", "100@5"}, "",
       "--rate-change: '100@5' is not RATE@K: the rate is above 0, with at most 2 integer digits and 4 decimals"},
      {{"--holiday", "100"}, "", "--holiday: '100' is not K-M"},
      {{"--events", dir.file("missing.json")}, "",
       "--events: cannot read '" + dir.file("missing.json") + "': No such file or directory"},
      {{"--events", dir.path()}, "", "--events: '" + dir.path() + "' is not a plain file"},
      // Three bytes, the end reached at the fourth.
      {{}, "[1,", file + " is not JSON (at byte 4)"},
      {{}, "{\"kind\":\"lump\"}", file + " is not a list of events"},
      {{}, "[{\"kind\":\"lump\",\"at\":1,\"amount\":5},{\"kind\":\"bonus\"}]",
       file + ": event 2: 'kind' is not extra, lump, rate or holiday"},
      {{}, "[{\"kind\":\"lump\",\"at\":1,\"amout\":5}]", file + ": event 1: a lump event has no key 'amout'"},
      {{}, "[{\"kind\":\"extra\",\"from\":1,\"amount\":1.005}]",
       file + ": event 1: 'amount' is not an amount above 0 with at most 12 integer digits and 2 decimals"},
      {{}, "[{\"kind\":\"extra\",\"from\":0,\"amount\":1}]",
       file + ": event 1: 'from' is not a payment number from 1 to 32767"},
      {{}, "[{\"kind\":\"extra\",\"from\":9,\"to\":8,\"amount\":1}]", file + ": event 1: 'to' comes before 'from'"},
      {{}, "[{\"kind\":\"holiday\",\"from\":3}]", file + ": event 1: a holiday event needs 'to'"},
      {{}, "[{\"kind\":\"rate\",\"at\":1,\"rate\":5,\"how\":\"lower-payment\"}]",
       file + ": event 1: 'how' of a rate event is keep-term or keep-payment"},
  };
  for (const Bad& b : bad) {
    std::vector<std::string> args = b.args;
    if (!b.json.empty()) {
      WriteFileBytes(dir.file("b.json"), b.json);
      args = {"--events", dir.file("b.json")};
    }
    const CliRun r = Calc(Schedule(args));
    EXPECT_EQ(r.code, 2) << b.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "brevika-calc schedule: " + b.err + "\n");
  }
}

TEST(CliEvents, RefusalsExitOneWithTheEnginesMessage) {
  struct Refused {
    std::vector<std::string> args;
    std::string err;
  };
  for (const Refused& c : std::vector<Refused>{
           {{"--amortizing", "Rule of 78's", "--extra", "1@2"},
            "Events can't be applied to a Rule of 78's loan:\n\nits interest is computed in advance.\n\n\n"},
           // 9 % from payment 13: its interest 743.09 is more than the 699.21 kept.
           {{"--rate-change", "9@13", "--keep-payment", "--summary"},
            "The kept payment does not cover the interest\n\nfrom payment 13.\n\n"
            "Let the payment be recomputed instead.\n\n\n"},
           {{"--holiday", "100-102", "--lump", "5@101"},
            "Lump sum with payment 101 falls in the payment holiday of payments 100 to 102.\n"}}) {
    const CliRun r = Calc(Schedule(c.args));
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, c.err);
  }
}

TEST(CliEvents, SavedWithTheLoanAndLoadedInTheEventsForm) {
  TempDir dir;
  const std::string db = dir.file("book");
  // Without events no events table is made.
  CliRun r = Calc(Schedule({"--save", "--account", "DEFAULT", "--dir", db}));
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_FALSE(std::filesystem::exists(db + "/EVENTS.DBF"));
  r = Calc({"load", "--dir", db, "--loan", "1", "--json"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out.find("\"events\""), std::string::npos);

  const std::vector<std::string> events = {"--holiday", "100-102", "--extra", "100@13-60",
                                           "--lump",    "10000@60", "--rate-change", "6.25@61",
                                           "--keep-payment"};
  std::vector<std::string> save = events;
  save.insert(save.end(), {"--save", "--account", "DEFAULT", "--dir", db});
  r = Calc(Schedule(save));
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "2\n");
  EXPECT_TRUE(std::filesystem::exists(db + "/EVENTS.DBF"));
  r = Calc({"load", "--dir", db, "--loan", "2", "--json"});
  ASSERT_EQ(r.code, 0) << r.err;
  const std::string list =
      "[{\"kind\":\"holiday\",\"from\":100,\"to\":102,\"how\":\"keep-payment\"},"
      "{\"kind\":\"extra\",\"from\":13,\"to\":60,\"amount\":100.0,\"how\":\"shorter-term\"},"
      "{\"kind\":\"lump\",\"at\":60,\"amount\":10000.0,\"how\":\"shorter-term\"},"
      "{\"kind\":\"rate\",\"at\":61,\"rate\":6.25,\"how\":\"keep-payment\"}]";
  const auto at = r.out.find(",\"events\":");
  ASSERT_NE(at, std::string::npos) << r.out;
  EXPECT_EQ(r.out.substr(at, 10 + list.size() + 8), ",\"events\":" + list + ",\"rows\":");

  // The loaded list given back as --events gives the saved rows again.
  WriteFileBytes(dir.file("back.json"), list);
  const CliRun again = Calc(Schedule({"--events", dir.file("back.json")}));
  const CliRun loaded = Calc({"load", "--dir", db, "--loan", "2"});
  ASSERT_EQ(loaded.code, 0) << loaded.err;
  EXPECT_EQ(again.out, loaded.out);
  EXPECT_EQ(again.out, Calc(Schedule(events)).out);

  // The report lists the events under the summary of page 1.
  const std::string pdf = dir.file("r.pdf");
  r = Calc({"load", "--dir", db, "--loan", "2", "--pdf", pdf});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  ASSERT_EQ(std::system(("pdftotext -f 1 -l 1 -layout '" + pdf + "' '" + dir.file("p1.txt") + "'").c_str()), 0);
  const std::string page = ReadFileBytes(dir.file("p1.txt"));
  for (const char* text : {"Event", "Holiday", "100-102", "Keep Payment", "13-60", "$10,000.00", "6.2500"})
    EXPECT_NE(page.find(text), std::string::npos) << text;
}

}  // namespace
