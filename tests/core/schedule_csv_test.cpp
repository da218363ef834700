#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "amortization/schedule.h"
#include "amortization/schedule_csv.h"
#include "support/fault_fs.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace brevika {
namespace {

using testing::FaultFs;
using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

ScheduleInputs Mortgage() {
  ScheduleInputs in;
  in.PV = 100000;
  in.NumPmts = 360;
  in.Rate = 7.5f;
  in.Points = 1.5f;
  in.OrgDate = MakeDate(15, 1, 1997);
  in.FrstPmtDate = MakeDate(1, 3, 1997);
  return in;
}

TEST(ScheduleExport, FileEqualsTheCommandLineOutput) {
  ScheduleInputs in = Mortgage();
  Schedule s;
  ASSERT_FALSE(s.Calculate(in).refused);
  TempDir dir;
  const std::string path = dir.file("schedule.csv");
  const Outcome o = ExportScheduleCsv(s, path);
  EXPECT_FALSE(o.refused) << o.FirstText();
  const std::string file = ReadFileBytes(path);

  const auto cli = testing::RunCommand(
      testing::ShellQuote(BREVIKA_CALC_PATH) +
      " schedule --amount 100000 --periods 360 --rate 7.5 --points 1.5"
      " --origination 01/15/1997 --first-payment 03/01/1997");
  ASSERT_EQ(cli.status, 0);
  EXPECT_EQ(file, cli.out);
  // RFC 4180 lines: the heading, rows 0 to 360, each ended by CR LF.
  EXPECT_EQ(file.rfind(std::string(kScheduleCsvHeading) + "\r\n" +
                           "0,Init/01,1997-01-15,1854.17,0.00,1854.17,100000.00,1854.17,0.00,1854.17\r\n",
                       0),
            0u);
  std::size_t lines = 0;
  for (std::size_t p = 0; (p = file.find("\r\n", p)) != std::string::npos; p += 2) ++lines;
  EXPECT_EQ(lines, 362u);
  EXPECT_EQ(file.find('\n'), file.find("\r\n") + 1);
}

TEST(ScheduleExport, FailedWriteLeavesTheOldFileAndNoTemporary) {
  ScheduleInputs in = Mortgage();
  Schedule s;
  ASSERT_FALSE(s.Calculate(in).refused);
  TempDir dir;
  const std::string path = dir.file("old.csv");
  const std::string old = "PmtNo\r\nthe old export\r\n";
  for (unsigned op : {FaultFs::kOpenWrite, FaultFs::kWrite, FaultFs::kSync, FaultFs::kRename}) {
    WriteFileBytes(path, old);
    FaultFs fs;
    fs.mask = op;
    fs.failAt = 1;
    const Outcome o = ExportScheduleCsv(s, path, fs);
    EXPECT_TRUE(o.refused) << op;
    EXPECT_EQ(fs.failedOp, op);
    EXPECT_EQ(ReadFileBytes(path), old) << op;
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
      (void)e;
      ++files;
    }
    EXPECT_EQ(files, 1) << "a temporary file was left after failing op " << op;
    if (op == FaultFs::kWrite) {
      ASSERT_EQ(o.messages.size(), 1u);
      EXPECT_EQ(o.messages[0].box, BoxType::Error);
      EXPECT_EQ(o.messages[0].text, "The schedule could not be exported to\n\n" + path +
                                        "\n\nThe data could not be written.\n\n"
                                        "Any file of that name is unchanged.\n\n");
    }
  }
  // A folder that does not exist: the reason is the system's.
  const Outcome o = ExportScheduleCsv(s, dir.file("missing/x.csv"));
  ASSERT_TRUE(o.refused);
  EXPECT_NE(o.FirstText().find("No such file or directory."), std::string::npos) << o.FirstText();
}

}  // namespace
}  // namespace brevika
