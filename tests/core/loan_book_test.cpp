// The loan book as a new user, an attacker and a second copy meet it:
// tables from other programs with other layouts, huge and subtly damaged
// files, commands that only read, a change of another copy in progress, a
// user who may read but not write, and the index files kept beside the
// tables, which are used only while they describe their tables.
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "records/loan_records.h"
#include "support/fault_fs.h"
#include "support/loan_records_fixture.h"
#include "support/run_command.h"
#include "support/temp_dir.h"
#include "tables/database.h"
#include "tables/journal.h"
#include "tables/table_index.h"

namespace brevika::records {
namespace {

using testing::ReadFileBytes;
using testing::ShellQuote;
using testing::TempDir;
using testing::WriteFileBytes;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Since(Clock::time_point t0) { return std::chrono::duration<double>(Clock::now() - t0).count(); }

std::unique_ptr<LoanRecords> OpenReading(const std::string& folder, Outcome& o) {
  RecordsOptions options = testing::FixedClock();
  options.readOnly = true;
  return LoanRecords::Open(folder, o, options);
}

// What the records show, in short: accounts, loans and their row counts.
std::string Reading(LoanRecords& r) {
  std::string s;
  for (const Account& a : r.Accounts()) {
    s += a.accountNo + ":";
    for (const LoanSummary& l : r.LoansOfAccount(a.accountNo))
      s += " " + l.loanNo + "/" + std::to_string(r.TransactionCount(l.loanNo));
    s += "\n";
  }
  return s;
}

std::string ReadingOf(const std::string& folder) {
  Outcome o;
  auto r = OpenReading(folder, o);
  return r ? Reading(*r) : o.FirstText();
}

// Every file of a folder with its bytes and its change and modify times.
std::map<std::string, std::string> FolderState(const std::string& folder) {
  std::map<std::string, std::string> state;
  for (const auto& e : fs::directory_iterator(folder)) {
    struct stat st;
    ::lstat(e.path().c_str(), &st);
    state[e.path().filename().string()] =
        ReadFileBytes(e.path().string()) + "|" + std::to_string(st.st_mtim.tv_sec) + "." +
        std::to_string(st.st_mtim.tv_nsec) + "|" + std::to_string(st.st_ctim.tv_sec) + "." +
        std::to_string(st.st_ctim.tv_nsec);
  }
  return state;
}

struct Book {
  TempDir dir;
  testing::StandardBook book;
  Book() {
    auto r = testing::OpenRecords(dir.path());
    book = testing::FillStandardBook(*r);
  }
  std::string folder() const { return dir.path(); }
};

// ---- tables of other programs

std::string EmptyTable(const std::vector<tables::FieldDef>& fields) {
  const std::vector<char> h = tables::BuildHeader(fields, 0, MakeDate(10, 3, 2024));
  return std::string(h.begin(), h.end()) + "\x1a";
}

TEST(ForeignTables, OnlyTheExactLayoutOfEachTableIsOpened) {
  Book b;
  const std::vector<tables::FieldDef> ours = LoansTable().fields;
  using Fields = std::vector<tables::FieldDef>;
  const std::vector<std::pair<const char*, std::function<void(Fields&)>>> variants = {
      {"LOANNO C(1)", [](Fields& f) { f[0].length = 1; }},
      {"INITAMT N(14,2)", [](Fields& f) { f[9].length = 14; }},
      {"INITRATE N(9,2)", [](Fields& f) { f[16].decimals = 2; }},
      {"a field more", [](Fields& f) { f.push_back({"EXTRA", tables::FieldType::Character, 5, 0}); }},
      {"a field less", [](Fields& f) { f.pop_back(); }},
      {"two fields swapped", [](Fields& f) { std::swap(f[1], f[2]); }},
  };
  ASSERT_EQ(ours[9].name, "INITAMT");
  ASSERT_EQ(ours[16].name, "INITRATE");
  for (const auto& [name, change] : variants) {
    Fields f = ours;
    change(f);
    const std::string bytes = EmptyTable(f);
    WriteFileBytes(b.dir.file("LOANS.DBF"), bytes);
    Outcome o;
    EXPECT_FALSE(LoanRecords::Open(b.folder(), o, testing::FixedClock())) << name;
    EXPECT_EQ(o.FirstText(), "Table open failed") << name;
    EXPECT_FALSE(OpenReading(b.folder(), o)) << name;
    EXPECT_EQ(o.FirstText(), "Table open failed") << name;
    EXPECT_EQ(ReadFileBytes(b.dir.file("LOANS.DBF")), bytes) << name;
  }

  // The same from python3-dbf: the right names and types, LOANNO one wide.
  std::string spec;
  for (const tables::FieldDef& f : ours) {
    const int width = f.name == "LOANNO" ? 1 : f.length;
    spec += (spec.empty() ? "" : "; ") + f.name + " " + static_cast<char>(f.type);
    if (f.type == tables::FieldType::Character) spec += "(" + std::to_string(width) + ")";
    if (f.type == tables::FieldType::Numeric)
      spec += "(" + std::to_string(f.length) + "," + std::to_string(f.decimals) + ")";
  }
  fs::remove(b.dir.file("LOANS.DBF"));
  const auto made = testing::RunCommand(
      "/usr/bin/python3 -c " +
          ShellQuote("import dbf,sys\nt=dbf.Table(sys.argv[1], sys.argv[2], dbf_type='db3', codepage='cp1252')\n"
                     "t.open(dbf.READ_WRITE)\nt.append({'loanno': '1'})\nt.close()") +
          " " + ShellQuote(b.dir.file("LOANS.DBF")) + " " + ShellQuote(spec),
      true);
  ASSERT_EQ(made.status, 0) << made.out;
  const std::string python = ReadFileBytes(b.dir.file("LOANS.DBF"));
  Outcome o;
  EXPECT_FALSE(LoanRecords::Open(b.folder(), o, testing::FixedClock()));
  EXPECT_EQ(o.FirstText(), "Table open failed");
  EXPECT_EQ(ReadFileBytes(b.dir.file("LOANS.DBF")), python);
}

TEST(ForeignTables, AHeaderThatDisagreesByOneByteIsNeverReadNorWritten) {
  Book b;
  std::string sys = ReadFileBytes(b.dir.file("SYSINFO.DBF"));
  ASSERT_EQ(sys.size(), 129u + 40 + 1);  // 3 fields; one record of 1 + 9 + 20 + 10
  // The header one byte longer: the records then end exactly at the file's
  // end when its end byte is counted as a record byte.
  sys[8] = static_cast<char>(130);
  WriteFileBytes(b.dir.file("SYSINFO.DBF"), sys);
  const testing::Snap before = testing::Snapshot(b.folder());
  Outcome o;
  auto r = LoanRecords::Open(b.folder(), o, testing::FixedClock());
  EXPECT_FALSE(r);
  EXPECT_EQ(o.FirstText(), "Table open failed");
  EXPECT_FALSE(OpenReading(b.folder(), o));
  EXPECT_TRUE(testing::SameTables(testing::Snapshot(b.folder()), before));
}

struct CalcRun {
  int code = -1;
  double seconds = 0;
  long maxRssKb = 0;
};

// Runs brevika-calc with its output thrown away; its exit code, time and peak memory.
CalcRun Calc(const std::vector<std::string>& args) {
  const Clock::time_point t0 = Clock::now();
  const pid_t child = fork();
  if (child == 0) {
    std::vector<char*> argv;
    std::string prog = BREVIKA_CALC_PATH;
    argv.push_back(prog.data());
    std::vector<std::string> copy = args;
    for (std::string& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::freopen("/dev/null", "w", stdout);
    std::freopen("/dev/null", "w", stderr);
    execv(prog.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  struct rusage usage {};
  wait4(child, &status, 0, &usage);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Since(t0), usage.ru_maxrss};
}

TEST(ForeignTables, HugeSparseTablesAreRefusedAtOnceInLittleMemory) {
  Book b;
  const std::string trans = b.dir.file("TRANS.DBF");
  const std::string good = ReadFileBytes(trans);
  const std::uint64_t rl = 154, hl = good.size() - 1 - rl * (361 + 121 + 61);
  ASSERT_EQ(hl, 32u + 15 * 32 + 1);
  constexpr std::uint64_t kHuge = 100ull << 30;
  // A copy grown to 100 GB of holes; and one whose header counts the
  // records that would fill 100 GB, its records after ours all zero bytes.
  std::string counted = good;
  const std::uint64_t count = (kHuge - hl) / rl;
  for (int i = 0; i < 4; ++i) counted[4 + i] = static_cast<char>((count >> (8 * i)) & 0xFF);
  counted.pop_back();  // no end byte: the size is the header's exactly
  for (const std::string& start : {good, counted}) {
    WriteFileBytes(trans, start);
    ASSERT_EQ(::truncate(trans.c_str(), static_cast<off_t>(start == good ? kHuge : hl + count * rl)), 0);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"records", "--dir", b.folder()},
          {"load", "--loan", b.book.loanA1, "--dir", b.folder()}}) {
      const CalcRun r = Calc(args);
      EXPECT_EQ(r.code, 1) << args[0];
      EXPECT_LT(r.seconds, 1.0) << args[0];
      EXPECT_LT(r.maxRssKb, 64 * 1024) << args[0];
    }
    struct stat st;
    ASSERT_EQ(::stat(trans.c_str(), &st), 0);
    EXPECT_LT(st.st_blocks * 512, 1 << 20);  // still holes: nothing was written into it
  }
}

TEST(ForeignTables, TheSearchForAFreeLoanNumberEnds) {
  TempDir dir;
  auto r = testing::OpenRecords(dir.path());
  // The counter just below the last nine numbers, all of them in use.
  tables::Table* loans = r->database().Find("LOANS.DBF");
  for (int n = 999999991; n <= 999999999; ++n) {
    ASSERT_TRUE(loans->AppendBlank().ok());
    ASSERT_TRUE(loans->ReplaceString("LOANNO", std::to_string(n)).ok());
    ASSERT_TRUE(loans->Post().ok());
  }
  tables::Table* sys = r->database().Find("SYSINFO.DBF");
  sys->GoTop();
  ASSERT_TRUE(sys->ReplaceNumber("LASTLOANNO", 999999990).ok());
  ASSERT_TRUE(sys->Post().ok());
  EXPECT_EQ(r->PredictedLoanNumber(), "");
  Loan l;
  const Outcome o =
      r->SaveNewLoan("DEFAULT", l, testing::Calculated(1000, 12, 6.0f, MakeDate(1, 1, 2024), MakeDate(1, 2, 2024)));
  EXPECT_EQ(o.messages, (std::vector<Message>{{"Save failed.\n\nNo free loan number is left.", BoxType::Error}}));
  // With the counter lower, the first number after it that no loan has.
  sys->GoTop();
  ASSERT_TRUE(sys->ReplaceNumber("LASTLOANNO", 999999988).ok());
  ASSERT_TRUE(sys->Post().ok());
  EXPECT_EQ(r->PredictedLoanNumber(), "999999989");
}

// ---- commands that only read

TEST(ReadOnly, CommandsThatOnlyReadWriteNothingInTheFolder) {
  Book b;
  const auto before = FolderState(b.folder());
  const std::string pdf = b.dir.path() + "-report.pdf";
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"records"}, {"records", "--json"}, {"load", "--loan", b.book.loanA1},
        {"load", "--loan", b.book.loanA1, "--json"}, {"load", "--loan", b.book.loanA1, "--pdf", pdf}}) {
    std::vector<std::string> with = args;
    with.push_back("--dir");
    with.push_back(b.folder());
    EXPECT_EQ(Calc(with).code, 0) << args[0];
  }
  std::remove(pdf.c_str());
  {
    Outcome o;
    auto r = OpenReading(b.folder(), o);
    ASSERT_TRUE(r);
    EXPECT_FALSE(r->writable());
    EXPECT_EQ(Reading(*r), "DEFAULT: " + b.book.loanD + "/121\n" + b.book.account + ": " + b.book.loanA1 +
                               "/361 " + b.book.loanA2 + "/61\n");
    EXPECT_TRUE(testing::LoadsAs(*r, b.book.loanA2, b.book.scheduleA2));
    EXPECT_EQ(r->PredictedLoanNumber(), "4");
  }
  EXPECT_EQ(FolderState(b.folder()), before);

  // A folder without tables reads as a new book and stays empty.
  TempDir empty;
  const auto listed = testing::RunCommand("LC_ALL=C " + ShellQuote(BREVIKA_CALC_PATH) + " records --dir " +
                                          ShellQuote(empty.path()));
  EXPECT_EQ(listed.status, 0);
  EXPECT_EQ(listed.out, "DEFAULT\n");
  EXPECT_TRUE(fs::is_empty(empty.path()));
}

TEST(ReadOnly, AChangeAskedForTakesTheFolderThenAndOnlyThen) {
  Book b;
  Outcome o;
  auto r = OpenReading(b.folder(), o);
  ASSERT_TRUE(r);
  // Another copy changes the book meanwhile; this one reads the change.
  {
    auto other = testing::OpenRecords(b.folder());
    ASSERT_TRUE(other->DeleteLoan(b.book.loanA2).ok());
  }
  EXPECT_EQ(r->TransactionCount(b.book.loanA2), 0);
  Account a = *r->FindAccount(b.book.account);
  a.city = "Springfield";
  ASSERT_TRUE(r->UpdateAccount(a).ok());
  EXPECT_TRUE(r->writable());
  EXPECT_EQ(r->FindAccount(b.book.account)->city, "Springfield");
  // Now it holds the folder: another copy may only read.
  auto second = testing::OpenRecords(b.folder());
  EXPECT_FALSE(second->writable());
  EXPECT_EQ(second->FindAccount(b.book.account)->city, "Springfield");
}

// ---- a change of another copy in progress

TEST(Busy, ReadersWaitForAChangeInProgressAndSayWhenItTakesTooLong) {
  Book b;
  const std::string old = ReadingOf(b.folder());
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  // Another copy saves a new loan and stops for 0.6 s once its journal is
  // written and the tables are its own.
  const pid_t child = fork();
  if (child == 0) {
    testing::FaultFs ffs;
    Outcome o;
    auto r = LoanRecords::Open(b.folder(), o, testing::FixedClock(&ffs));
    if (!r) _exit(2);
    ffs.calls = 0;
    ffs.mask = testing::FaultFs::kWrite | testing::FaultFs::kSync;
    ffs.before = [&](int n) {
      if (n != 3) return;  // the journal's write and sync came first
      const bool hot = tables::DecodeJournal(ReadFileBytes(b.dir.file(tables::kJournalName))).has_value();
      const char c = hot ? 'h' : 'c';
      if (write(ready[1], &c, 1) != 1) _exit(3);
      std::this_thread::sleep_for(std::chrono::milliseconds(600));
    };
    Loan l;
    _exit(r->SaveNewLoan(b.book.account, l, b.book.scheduleA2).ok() ? 0 : 4);
  }
  char c = 0;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  EXPECT_EQ(c, 'h');
  const Clock::time_point t0 = Clock::now();
  const std::string reading = ReadingOf(b.folder());
  // The reader waits for the 0.6 s change, not for its bound; the margin is
  // for a loaded machine.
  EXPECT_LT(Since(t0), 5.0);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  // It waited for the save and read the book after it.
  const std::string after = ReadingOf(b.folder());
  EXPECT_NE(after, old);
  EXPECT_EQ(reading, after);

  // A change that holds the tables too long: readers give up in under 2 s.
  const pid_t holder = fork();
  if (holder == 0) {
    const int fd = ::open(b.dir.file(tables::kReadLockName).c_str(), O_RDONLY);
    if (fd < 0 || flock(fd, LOCK_EX) != 0) _exit(2);
    const char go = 'x';
    if (write(ready[1], &go, 1) != 1) _exit(3);
    std::this_thread::sleep_for(std::chrono::seconds(20));
    _exit(0);
  }
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  const Clock::time_point t1 = Clock::now();
  Outcome o;
  EXPECT_FALSE(OpenReading(b.folder(), o));
  const double waited = Since(t1);
  EXPECT_EQ(o.messages, (std::vector<Message>{{"The loan records are in use by another copy of Brevika,\n\n"
                                               "which is saving a change to them. Try again in a moment.",
                                               BoxType::Error}}));
  // It gave up after its bound of 1.5 s, long before the holder lets go
  // (20 s); the margin above the bound is for a loaded machine.
  EXPECT_GT(waited, 1.0);
  EXPECT_LT(waited, 5.0);
  kill(holder, SIGKILL);
  waitpid(holder, &status, 0);
  close(ready[0]);
  close(ready[1]);
}

// ---- a user who may read but not write

// Runs `body` as an ordinary user: as root in a child that becomes nobody.
// The texts it returns come back through a pipe.
std::string AsOrdinaryUser(const std::function<std::string()>& body) {
  int out[2];
  if (pipe(out) != 0) return "no pipe";
  const pid_t child = fork();
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) _exit(2);
    const std::string text = body();
    if (write(out[1], text.data(), text.size()) != static_cast<ssize_t>(text.size())) _exit(3);
    _exit(0);
  }
  close(out[1]);
  std::string text;
  char buf[512];
  ssize_t n;
  while ((n = read(out[0], buf, sizeof buf)) > 0) text.append(buf, static_cast<std::size_t>(n));
  close(out[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return text;
}

TEST(Unwritable, SavesSayWhichFolderOrFileCantBeWritten) {
  Book b;
  const testing::Snap before = testing::Snapshot(b.folder());
  const std::string folder = b.folder();
  auto tryToSave = [&] {
    return AsOrdinaryUser([&] {
      Outcome o;
      auto r = LoanRecords::Open(folder, o, testing::FixedClock());
      if (!r) return "open: " + o.FirstText();
      Loan l;
      // Reading still works.
      const std::string reading = Reading(*r);
      return reading + "--\n" + r->SaveNewLoan("DEFAULT", l, testing::Calculated(1000, 12, 6.0f, MakeDate(1, 1, 2024),
                                                                             MakeDate(1, 2, 2024)))
                                    .FirstText();
    });
  };
  const std::string reading = ReadingOf(folder);
  // The folder may not be written.
  ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
  EXPECT_EQ(tryToSave(), reading + "--\nThe loan records can't be changed:\n\n" + folder +
                             "\n\ncan't be written (Permission denied).");
  // The folder may, but not the counters' table.
  ASSERT_EQ(::chmod(folder.c_str(), 0777), 0);
  for (const auto& e : fs::directory_iterator(folder)) ::chmod(e.path().c_str(), 0666);
  ASSERT_EQ(::chmod(b.dir.file("SYSINFO.DBF").c_str(), 0444), 0);
  EXPECT_EQ(tryToSave(), reading + "--\nThe loan records can't be changed:\n\n" + b.dir.file("SYSINFO.DBF") +
                             "\n\ncan't be written (Permission denied).");
  ASSERT_EQ(::chmod(folder.c_str(), 0700), 0);
  EXPECT_TRUE(testing::SameTables(testing::Snapshot(folder), before));
}

// ---- index files

TEST(IndexFiles, AreUsedOnlyWhileTheyDescribeTheirTable) {
  Book b;
  const std::string folder = b.folder();
  const std::string reading = ReadingOf(folder);
  const std::vector<std::string> indexes = {"ACCNTS.BIX", "LOANS.BIX", "XREF.BIX", "TRANS.BIX"};
  for (const std::string& n : indexes) ASSERT_TRUE(fs::exists(b.dir.file(n))) << n;

  // Missing: made again from the tables (and kept only by a copy that writes).
  for (const std::string& n : indexes) fs::remove(b.dir.file(n));
  EXPECT_EQ(ReadingOf(folder), reading);
  for (const std::string& n : indexes) EXPECT_FALSE(fs::exists(b.dir.file(n))) << n;
  testing::OpenRecords(folder).reset();
  for (const std::string& n : indexes) EXPECT_TRUE(fs::exists(b.dir.file(n))) << n;

  // Damaged: the same.
  const std::string whole = ReadFileBytes(b.dir.file("TRANS.BIX"));
  for (const std::string& bad : {std::string("BRVKIDX1"), whole.substr(0, whole.size() / 2), std::string(300, 'x')}) {
    WriteFileBytes(b.dir.file("TRANS.BIX"), bad);
    EXPECT_EQ(ReadingOf(folder), reading);
  }
  testing::OpenRecords(folder).reset();

  // Whole and with the table's identity, but lying: two loans' rows swapped.
  auto index = tables::DecodeIndex(ReadFileBytes(b.dir.file("TRANS.BIX")));
  ASSERT_TRUE(index);
  auto& keys = index->tags[0].runs.keys();
  const std::string a1 = b.book.loanA1 + std::string(9 - b.book.loanA1.size(), ' ');
  const std::string d = b.book.loanD + std::string(9 - b.book.loanD.size(), ' ');
  ASSERT_TRUE(keys.count(a1) && keys.count(d));
  std::swap(keys[a1], keys[d]);
  WriteFileBytes(b.dir.file("TRANS.BIX"), tables::EncodeIndex(*index));
  {
    Outcome o;
    auto r = OpenReading(folder, o);
    ASSERT_TRUE(r);
    EXPECT_TRUE(testing::LoadsAs(*r, b.book.loanA1, b.book.scheduleA1));
    EXPECT_TRUE(testing::LoadsAs(*r, b.book.loanD, b.book.scheduleD));
  }
  EXPECT_EQ(ReadingOf(folder), reading);

  // Another program changes a row's loan in place and appends a row: the
  // index no longer matches its table and is not used.
  testing::OpenRecords(folder).reset();
  const auto changed = testing::RunCommand(
      "/usr/bin/python3 -c " +
          ShellQuote("import dbf,sys\nt=dbf.Table(sys.argv[1])\nt.open(dbf.READ_WRITE)\n"
                     "dbf.write(t[0], loanno=sys.argv[2])\nt.append({'loanno': sys.argv[3]})\nt.close()") +
          " " + ShellQuote(b.dir.file("TRANS.DBF")) + " " + b.book.loanA2 + " " + b.book.loanD,
      true);
  ASSERT_EQ(changed.status, 0) << changed.out;
  Outcome o;
  auto r = OpenReading(folder, o);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->TransactionCount(b.book.loanA1), 360);  // its first row now belongs to A2
  EXPECT_EQ(r->TransactionCount(b.book.loanA2), 62);
  EXPECT_EQ(r->TransactionCount(b.book.loanD), 122);
}

TEST(IndexFiles, ARowAnIndexFileCallsDeletedIsNeitherHiddenNorPackedAway) {
  Book b;
  const std::string folder = b.folder();
  auto index = tables::DecodeIndex(ReadFileBytes(b.dir.file("TRANS.BIX")));
  ASSERT_TRUE(index);
  index->deleted.AddRun(1, 3);  // the first rows of loan A1, live in the file
  WriteFileBytes(b.dir.file("TRANS.BIX"), tables::EncodeIndex(*index));
  auto r = testing::OpenRecords(folder);
  EXPECT_TRUE(testing::LoadsAs(*r, b.book.loanA1, b.book.scheduleA1));
  ASSERT_TRUE(r->DeleteLoan(b.book.loanA2).ok());  // packs TRANS.DBF
  EXPECT_TRUE(testing::LoadsAs(*r, b.book.loanA1, b.book.scheduleA1));
  EXPECT_TRUE(testing::LoadsAs(*r, b.book.loanD, b.book.scheduleD));
  EXPECT_EQ(r->TransactionCount(b.book.loanA2), 0);
  r.reset();
  EXPECT_EQ(ReadingOf(folder), "DEFAULT: " + b.book.loanD + "/121\n" + b.book.account + ": " + b.book.loanA1 + "/361\n");
}

}  // namespace
}  // namespace brevika::records
