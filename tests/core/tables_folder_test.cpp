// A tables folder others may write to: links and special files planted
// under the names the engine uses are refused by name and change nothing,
// and output files (exports, reports) go only to plain files or new names.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "amortization/schedule_csv.h"
#include "records/loan_records.h"
#include "support/fault_fs.h"
#include "support/loan_records_fixture.h"
#include "support/run_command.h"
#include "support/temp_dir.h"
#include "tables/atomic_write.h"
#include "tables/database.h"

namespace brevika::records {
namespace {

using testing::ReadFileBytes;
using testing::ShellQuote;
using testing::TempDir;
using testing::WriteFileBytes;
namespace fs = std::filesystem;

std::string LinkText(const std::string& name) {
  return name + " is a link; Brevika does not follow links in its tables folder.";
}
std::string NotPlainText(const std::string& name) {
  return name + " is not a plain file; Brevika keeps only plain files in its tables folder.";
}

Outcome TryOpen(const std::string& folder) {
  Outcome o;
  auto r = LoanRecords::Open(folder, o, testing::FixedClock());
  if (r) return Outcome::Ok();
  return o;
}

// The names of a folder and what each is, for "nothing changed".
std::string Listing(const std::string& folder) {
  std::string s;
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  for (const std::string& n : names) {
    const auto st = fs::symlink_status(folder + "/" + n);
    s += n + (fs::is_symlink(st) ? "@" : fs::is_fifo(st) ? "|" : fs::is_directory(st) ? "/" : "") + " ";
  }
  return s;
}

TEST(TablesFolder, LinksUnderTheEngineNamesAreRefusedAndNothingIsWrittenThrough) {
  TempDir top;
  const std::string victim = top.file("victim.txt");
  const std::string book = top.file("book");
  {
    auto r = testing::OpenRecords(book);
    testing::FillStandardBook(*r);
  }
  const testing::Snap tables = testing::Snapshot(book);
  // A planted journal, lock or read lock (dangling or not) in a book, and a
  // table's temporary in a folder without tables.
  struct Case {
    const char* name;
    bool withBook;
    bool dangling;
  };
  for (const Case& c : {Case{"BREVIKA.JNL", true, false}, Case{"BREVIKA.LCK", true, true},
                        Case{"BREVIKA.RLK", true, true}, Case{"LOANS.DBF.NEW", false, false},
                        Case{"TRANS.DBF", true, false}, Case{"TRANS.BIX", true, false},
                        Case{"TRANS.DBF.OLD", true, true}}) {
    const std::string folder = c.withBook ? book : top.file("empty");
    fs::create_directories(folder);
    const std::string target = c.dangling ? top.file("made-by-brevika") : victim;
    WriteFileBytes(victim, "victim\n");
    const bool existed = fs::exists(folder + "/" + c.name);
    const std::string saved = existed ? ReadFileBytes(folder + "/" + c.name) : "";
    fs::remove(folder + "/" + c.name);
    fs::create_symlink(target, folder + "/" + c.name);
    const std::string listing = Listing(folder);

    const Outcome o = TryOpen(folder);
    EXPECT_EQ(o.messages, (std::vector<Message>{{LinkText(c.name), BoxType::Error}})) << c.name;
    EXPECT_EQ(ReadFileBytes(victim), "victim\n") << c.name;
    EXPECT_FALSE(fs::exists(top.file("made-by-brevika"))) << c.name;
    EXPECT_EQ(Listing(folder), listing) << c.name;

    fs::remove(folder + "/" + c.name);
    if (existed) WriteFileBytes(folder + "/" + c.name, saved);
  }
  EXPECT_TRUE(testing::SameTables(testing::Snapshot(book), tables));
  EXPECT_TRUE(TryOpen(book).ok());
}

TEST(TablesFolder, PipesFoldersAndDevicesAreRefusedWithoutWaitingOnThem) {
  TempDir dir;
  {
    auto r = testing::OpenRecords(dir.path());
  }
  const std::string trans = ReadFileBytes(dir.file("TRANS.DBF"));
  // A pipe opened for reading would wait for a writer for ever.
  fs::remove(dir.file("TRANS.DBF"));
  ASSERT_EQ(::mkfifo(dir.file("TRANS.DBF").c_str(), 0644), 0);
  EXPECT_EQ(TryOpen(dir.path()).messages, (std::vector<Message>{{NotPlainText("TRANS.DBF"), BoxType::Error}}));
  fs::remove(dir.file("TRANS.DBF"));
  WriteFileBytes(dir.file("TRANS.DBF"), trans);
  fs::create_directory(dir.file("BREVIKA.JNL.tmp"));  // not a name of the engine: left alone
  fs::remove(dir.file("BREVIKA.JNL"));
  fs::create_directory(dir.file("BREVIKA.JNL"));
  EXPECT_EQ(TryOpen(dir.path()).messages, (std::vector<Message>{{NotPlainText("BREVIKA.JNL"), BoxType::Error}}));
  fs::remove(dir.file("BREVIKA.JNL"));
  EXPECT_TRUE(TryOpen(dir.path()).ok());
}

TEST(TablesFolder, ANewTableIsWrittenToAFreshTemporaryThatAFailureRemoves) {
  TempDir dir;
  // A plain temporary left by a crash is removed when the folder opens.
  WriteFileBytes(dir.file("LOANS.DBF.NEW"), "left over");
  for (int n = 1; n <= 3; ++n) {
    testing::FaultFs ffs;
    ffs.mask = testing::FaultFs::kWrite | testing::FaultFs::kSync | testing::FaultFs::kRename;
    ffs.failAt = n;
    Outcome o;
    EXPECT_FALSE(LoanRecords::Open(dir.path(), o, testing::FixedClock(&ffs))) << n;
    EXPECT_EQ(o.FirstText(), "Table open failed") << n;
    // ACCNTS.DBF, the first table, failed: its temporary is gone.
    EXPECT_EQ(Listing(dir.path()), "BREVIKA.JNL BREVIKA.LCK BREVIKA.RLK ") << n;
  }
  EXPECT_TRUE(TryOpen(dir.path()).ok());
  // The tables, with the index files of those that have tags.
  EXPECT_EQ(Listing(dir.path()),
            "ACCNTS.BIX ACCNTS.DBF BREVIKA.JNL BREVIKA.LCK BREVIKA.RLK LOANS.BIX LOANS.DBF SYSINFO.DBF "
            "TRANS.BIX TRANS.DBF XREF.BIX XREF.DBF ");
}

TEST(OutputFiles, OnlyPlainFilesOrNewNamesOutsideTheTablesAreWritten) {
  TempDir dir;
  const std::string victim = dir.file("victim.txt");
  WriteFileBytes(victim, "victim\n");
  fs::create_symlink(victim, dir.file("link.csv"));
  ASSERT_EQ(::mkfifo(dir.file("pipe.csv").c_str(), 0644), 0);
  fs::create_directory(dir.file("folder.csv"));
  WriteFileBytes(dir.file("LOANS.DBF"), "a table");
  struct Case {
    std::string name, reason;
  };
  std::vector<Case> cases = {
      {"link.csv", "It is a link; Brevika does not write through links"},
      {"pipe.csv", "It is a device or a pipe, not a plain file"},
      {"folder.csv", "It is a folder"},
      {"LOANS.DBF", "It is a file of the loan tables"},
      {"trans.dbf", "It is a file of the loan tables"},
      {"TRANS.BIX", "It is a file of the loan tables"},
      {"BREVIKA.JNL", "It is a file of the loan tables"},
      {"LOANS.DBF.NEW", "It is a file of the loan tables"},
  };
  // A character device (only root may make one).
  if (::geteuid() == 0 && ::mknod(dir.file("null.csv").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0)
    cases.push_back({"null.csv", "It is a device or a pipe, not a plain file"});
  const std::string listing = Listing(dir.path());
  for (const Case& c : cases) {
    EXPECT_EQ(tables::WriteFileAtomically(dir.file(c.name), "new bytes"), c.reason) << c.name;
    EXPECT_EQ(Listing(dir.path()), listing) << c.name;
  }
  EXPECT_EQ(ReadFileBytes(victim), "victim\n");
  EXPECT_EQ(ReadFileBytes(dir.file("LOANS.DBF")), "a table");
  // The export names the file and says why.
  const Schedule s = testing::Calculated(1000, 12, 6.0f, MakeDate(1, 1, 2024), MakeDate(1, 2, 2024));
  EXPECT_EQ(ExportScheduleCsv(s, dir.file("pipe.csv")).messages,
            (std::vector<Message>{{"The schedule could not be exported to\n\n" + dir.file("pipe.csv") +
                                       "\n\nIt is a device or a pipe, not a plain file.\n\n"
                                       "Any file of that name is unchanged.\n\n",
                                   BoxType::Error}}));
  // A plain file and a new name are written.
  EXPECT_EQ(tables::WriteFileAtomically(victim, "replaced"), "");
  EXPECT_EQ(ReadFileBytes(victim), "replaced");
  EXPECT_EQ(tables::WriteFileAtomically(dir.file("new.csv"), "new"), "");
  EXPECT_EQ(ReadFileBytes(dir.file("new.csv")), "new");
}

TEST(OutputFiles, TheCommandLineWritesNoReportOverATableOrIntoAPipe) {
  TempDir dir;
  {
    auto r = testing::OpenRecords(dir.path());
    testing::FillStandardBook(*r);
  }
  const testing::Snap before = testing::Snapshot(dir.path());
  const std::string calc = ShellQuote(BREVIKA_CALC_PATH);
  auto run = [&](const std::string& args) { return testing::RunCommand("LC_ALL=C " + calc + " " + args, true); };
  auto r = run("load --loan 1 --dir " + ShellQuote(dir.path()) + " --pdf " + ShellQuote(dir.file("LOANS.DBF")));
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "brevika-calc load: --pdf: cannot write '" + dir.file("LOANS.DBF") +
                       "': It is a file of the loan tables\n");
  EXPECT_TRUE(testing::SameTables(testing::Snapshot(dir.path()), before));
  ASSERT_EQ(::mkfifo(dir.file("report.pdf").c_str(), 0644), 0);
  r = run("schedule --amount 1000 --periods 12 --rate 6 --origination 01/01/2024 --first-payment 02/01/2024 --pdf " +
          ShellQuote(dir.file("report.pdf")));
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "brevika-calc schedule: --pdf: cannot write '" + dir.file("report.pdf") +
                       "': It is a device or a pipe, not a plain file\n");
  EXPECT_TRUE(fs::is_fifo(dir.file("report.pdf")));
}

}  // namespace
}  // namespace brevika::records
