#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "finance/rates.h"
#include "support/cli_run.h"

namespace {

using brevika::testing::CliRun;
using brevika::testing::Lines;

std::string Slurp(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

CliRun Schedule(const std::vector<std::string>& args) {
  std::vector<std::string> command = {"schedule"};
  command.insert(command.end(), args.begin(), args.end());
  return brevika::testing::RunCalc(command);
}

const std::vector<std::string> kTerms = {"--amount", "100000", "--periods", "360", "--rate", "7.5",
                                         "--origination", "01/01/1997", "--first-payment",
                                         "02/01/1997"};

std::vector<std::string> With(std::vector<std::string> extra) {
  std::vector<std::string> args = kTerms;
  args.insert(args.end(), extra.begin(), extra.end());
  return args;
}

TEST(CliSchedule, PrintsEveryRowAsCsv) {
  CliRun r = Schedule(kTerms);
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  auto lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 362u);
  EXPECT_EQ(lines[0], "PmtNo,PeriodLabel,Date,Payment,Principal,Interest,Balance,RunPayment,"
                      "RunPrincipal,RunInterest");
  EXPECT_EQ(lines[1], "0,Init/01,1997-01-01,0.00,0.00,0.00,100000.00,0.00,0.00,0.00");
  EXPECT_EQ(lines[2], "1,   1/01,1997-02-01,699.21,74.21,625.00,99925.79,699.21,74.21,625.00");
  EXPECT_EQ(lines[14], "13,  13/02,1998-02-01,699.21,79.97,619.24,98998.26,9089.73,1001.74,8087.99");
  EXPECT_EQ(lines[361].substr(0, 41), "360, 360/30,2027-01-01,705.60,701.22,4.38");
  EXPECT_NE(lines[361].find(",0.00,251721.99,100000.00,151721.99"), std::string::npos);
}

TEST(CliSchedule, YearTabAndChoices) {
  CliRun r = Schedule(With({"--year", "2"}));
  ASSERT_EQ(r.code, 0) << r.err;
  auto lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 13u);
  EXPECT_EQ(lines[1].substr(0, 22), "12,  12/01,1998-01-01,");
  EXPECT_EQ(lines[12].substr(0, 22), "23,  23/02,1998-12-01,");

  // "Canadian" takes monthly payments with semi-annual compounding.
  r = Schedule(With({"--amortizing", "canadian", "--payment-period", "Weekly"}));
  ASSERT_EQ(r.code, 0) << r.err;
  lines = Lines(r.out);
  char expect[32];
  std::snprintf(expect, sizeof expect, ",%.2f,",
                brevika::LevelPaymentArrears(360, 12, 2, 100000, 7.5f));
  EXPECT_EQ(lines[2].rfind(std::string("1,   1/01,1997-02-01") + expect, 0), 0u) << lines[2];

  r = Schedule(With({"--rate-basis", "Exact/365", "--points", "2", "--points-paid",
                     "With 1st Payment"}));
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(Lines(r.out)[2].substr(0, 42), "1,   1/01,1997-02-01,2699.21,62.22,2636.99");
}

TEST(CliSchedule, RefusalsAndNotices) {
  CliRun r = Schedule({"--amount", "0", "--periods", "360", "--rate", "7.5", "--origination",
                    "01/01/1997", "--first-payment", "02/01/1997"});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "No zero values allowed.\r\n\nEnter Amount, Initial Period or Rate\n\n\n");

  r = Schedule({"--amount", "100000", "--periods", "360", "--rate", "7.5", "--origination",
                "01/01/2030", "--first-payment", "02/01/2030"});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err.substr(0, 27), "Loan can't go beyond 2059\n\n");

  r = Schedule({"--amount", "100000", "--periods", "12", "--rate", "7.5", "--origination",
                "03/01/1997", "--first-payment", "02/01/1997"});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.err,
            "First Payment Date must be\n\nequal to or after Origination Date.\n\n"
            "Resetting First Payment Date...\n\n");
  EXPECT_EQ(Lines(r.out)[2].substr(0, 21), "1,   1/01,1997-03-01,");
}

TEST(CliSchedule, NegativeTermsAreRefusalsAndAmountsKeepTheirCents) {
  CliRun r = Schedule({"--amount", "-5", "--periods", "12", "--rate", "7.5", "--origination",
                       "01/01/1997", "--first-payment", "02/01/1997"});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "No zero values allowed.\r\n\nEnter Amount, Initial Period or Rate\n\n\n");
  // Points of 0 or less are no points.
  r = Schedule(With({"--points", "-1"}));
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(Lines(r.out)[1], "0,Init/01,1997-01-01,0.00,0.00,0.00,100000.00,0.00,0.00,0.00");
  // A 13-digit payment keeps its cents: 999 999 999 999.99 x 1.005.
  r = Schedule({"--amount", "999999999999.99", "--periods", "1", "--rate", "6", "--origination",
                "01/01/2020", "--first-payment", "02/01/2020"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(Lines(r.out)[2], "1,   1/01,2020-02-01,1004999999999.99,999999999999.99,5000000000.00,"
                             "0.00,1004999999999.99,999999999999.99,5000000000.00");
}

TEST(CliSchedule, SummaryIsOneJsonObjectWithTheApr) {
  CliRun r = Schedule(With({"--points", "2", "--summary"}));
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "{\"APR\":7.7076,\"AmountFinanced\":98000.0,\"Payments\":360,"
            "\"TotalOfPayments\":253721.99,\"Principal\":100000.0,\"Interest\":153721.99,"
            "\"FinalPayment\":705.6,\"PayoffDate\":\"2027-01-01\",\"InterestSaved\":0,\"PaymentsSaved\":0,"
            "\"BasePayoffDate\":\"2027-01-01\"}\n");
  // Other fees lower the amount financed like points at origination.
  r = Schedule(With({"--other-fees", "2000", "--summary"}));
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out.rfind("{\"APR\":7.7076,\"AmountFinanced\":98000.0,", 0), 0u) << r.out;

  r = Schedule(With({"--points", "2", "--other-fees", "98000", "--summary"}));
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err,
            "No APR exists:\n\nthe points and fees paid at origination\n\n"
            "are not less than the amount of the loan.\n\n\n");
}

TEST(CliSchedule, BadArgumentsExitTwoWithOneLine) {
  const std::vector<std::vector<std::string>> bad = {
      With({"--rate-basis", "Exact/366"}),
      With({"--year", "99"}),
      With({"--periods", "12.5"}),
      With({"--amount", "1.005"}),
      With({"--points", "1.23456"}),
      {"--amount", "1000", "--periods", "12", "--rate", "5", "--origination", "02/30/1997",
       "--first-payment", "03/01/1997"},
      {"--amount", "1000", "--periods", "12", "--rate", "5", "--first-payment", "03/01/1997"},
      With({"--bogus", "1"}),
      With({"--pdf", "x.pdf", "--year", "1"}),
      With({"--summary", "--year", "1"}),
      With({"--summary", "--other-fees", "12.345"}),
      With({"--summary", "--save", "--account", "DEFAULT"}),
  };
  for (const auto& args : bad) {
    CliRun r = Schedule(args);
    EXPECT_EQ(r.code, 2) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(Lines(r.err).size(), 1u) << r.err;
    EXPECT_EQ(r.err.rfind("brevika-calc schedule: ", 0), 0u) << r.err;
  }
}

// The printed report as a PDF: no CSV, the paper and font asked for, the
// pages numbered to their count.
TEST(CliSchedule, PdfReportOnTheChosenPaper) {
  const std::string pdf = testing::TempDir() + "cli_schedule_" + std::to_string(getpid()) + ".pdf";
  std::remove(pdf.c_str());
  CliRun r = Schedule(With({"--pdf", pdf, "--paper", "a4", "--font", "Liberation Mono",
                            "--font-size", "9"}));
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "");
  const std::string info = Slurp(pdf).substr(0, 4);
  EXPECT_EQ(info, "%PDF");
  const std::string base = testing::TempDir() + "cli_schedule_" + std::to_string(getpid());
  ASSERT_EQ(std::system(("pdfinfo '" + pdf + "' >'" + base + ".info'").c_str()), 0);
  const std::string meta = Slurp(base + ".info");
  EXPECT_NE(meta.find("(A4)"), std::string::npos) << meta;
  EXPECT_NE(meta.find("Pages:           10\n"), std::string::npos) << meta;
  // The last page is the chart's.
  ASSERT_EQ(std::system(("pdftotext -f 10 -l 10 -layout '" + pdf + "' '" + base + ".txt'").c_str()), 0);
  const std::string last = Slurp(base + ".txt");
  EXPECT_NE(last.find("Page: 10 of 10"), std::string::npos);
  EXPECT_NE(last.find("Balance and Payments by Year"), std::string::npos);
  std::remove(pdf.c_str());

  struct Bad {
    std::vector<std::string> args;
    std::string err;
  };
  for (const Bad& b : {Bad{{"--pdf", pdf, "--paper", "Legal"}, "--paper: 'Legal' is not Letter or A4"},
                       Bad{{"--pdf", pdf, "--font-size", "0"}, "--font-size: '0' is not a size from 1 to 72"},
                       Bad{{"--paper", "A4"}, "--paper needs --pdf"},
                       Bad{{"--pdf", testing::TempDir() + "no/such/dir.pdf"}, "--pdf: cannot write '"}}) {
    r = Schedule(With(b.args));
    EXPECT_EQ(r.code, 2) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("brevika-calc schedule: " + b.err, 0), 0u) << r.err;
  }
  EXPECT_NE(std::system(("test -e '" + pdf + "'").c_str()), 0);
}

// Without --paper the PDF goes on the paper of every printout: without a
// printer, the locale's (A4 in Germany).
TEST(CliSchedule, PdfDefaultPaperIsThePrintersElseTheLocales) {
  if (std::system("lpstat -d 2>/dev/null | grep -q 'system default destination:'") == 0)
    GTEST_SKIP() << "a default printer decides the paper here";
  const std::string base = testing::TempDir() + "cli_paper_" + std::to_string(getpid());
  const std::string pdf = base + ".pdf";
  const std::string cmd = "env -u LC_ALL LANG=C LC_PAPER=de_DE.UTF-8 '" + std::string(BREVIKA_CALC_PATH) +
                          "' schedule --amount 1000 --periods 12 --rate 6 --origination 01/01/2024 "
                          "--first-payment 02/01/2024 --pdf '" + pdf + "' && pdfinfo '" + pdf + "' >'" +
                          base + ".info'";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  EXPECT_NE(Slurp(base + ".info").find("(A4)"), std::string::npos) << Slurp(base + ".info");
  std::remove(pdf.c_str());
}

}  // namespace
