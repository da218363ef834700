// Every change of the loan records is all or nothing: a failure at any
// single file call, a disk that stops answering, a process killed at any
// point, and a second running copy all leave the tables exactly as before
// or exactly as after the change.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <cmath>
#include <filesystem>
#include <functional>

#include "records/loan_records.h"
#include "support/fault_fs.h"
#include "support/loan_records_fixture.h"
#include "support/temp_dir.h"
#include "tables/table_index.h"

namespace brevika::records {
namespace {

using testing::FaultFs;
using testing::Snap;
using testing::TempDir;

const Date kOrg = MakeDate(1, 6, 2023), kFirst = MakeDate(1, 7, 2023);

const Schedule& Short() {
  static const Schedule s = testing::Calculated(8000, 36, 7.0f, kOrg, kFirst);
  return s;
}
const Schedule& Long() {
  static const Schedule s = testing::Calculated(300000, 360, 5.0f, kOrg, kFirst);
  return s;
}

// A loan of 8,000 over 36 months at 7 % with what-if events, and its terms.
ScheduleInputs EventTerms() {
  ScheduleInputs in;
  in.PV = 8000;
  in.NumPmts = 36;
  in.Rate = 7.0f;
  in.OrgDate = kOrg;
  in.FrstPmtDate = kFirst;
  in.events = {ScheduleEvent{EventKind::Extra, 3, 20, 50, 0, EventHow::ShorterTerm},
               ScheduleEvent{EventKind::Lump, 12, std::nullopt, 1000, 0, EventHow::LowerPayment},
               ScheduleEvent{EventKind::Rate, 13, std::nullopt, 0, 8.5f, EventHow::KeepTerm},
               ScheduleEvent{EventKind::Holiday, 24, 25, 0, 0, EventHow::KeepTerm}};
  return in;
}
const Schedule& WithEvents() {
  static const Schedule s = [] {
    Schedule out;
    ScheduleInputs in = EventTerms();
    EXPECT_TRUE(out.Calculate(in).ok());
    return out;
  }();
  return s;
}

struct Change {
  const char* name;
  std::function<Outcome(LoanRecords&, const testing::StandardBook&)> run;
  const char* failText;
};

const std::vector<Change>& Changes() {
  static const std::vector<Change> changes = {
      {"save of a new loan",
       [](LoanRecords& r, const testing::StandardBook& b) {
         Loan l;
         l.collateral = "Truck";
         return r.SaveNewLoan(b.account, l, Short());
       },
       kMsgSaveFailed},
      {"replace with fewer rows",
       [](LoanRecords& r, const testing::StandardBook& b) {
         return r.SaveSchedule(b.loanA1, testing::TermsFor(8000, 36, 7.0f, kOrg, kFirst), Short(), true);
       },
       kMsgSaveFailed},
      {"replace with more rows",
       [](LoanRecords& r, const testing::StandardBook& b) {
         return r.SaveSchedule(b.loanA2, testing::TermsFor(300000, 360, 5.0f, kOrg, kFirst), Long(), true);
       },
       kMsgSaveFailed},
      {"delete of a loan", [](LoanRecords& r, const testing::StandardBook& b) { return r.DeleteLoan(b.loanA1); },
       kMsgDeleteFailed},
      {"delete of an account",
       [](LoanRecords& r, const testing::StandardBook& b) { return r.DeleteAccount(b.account); }, kMsgDeleteFailed},
      {"new account",
       [](LoanRecords& r, const testing::StandardBook&) {
         Account a;
         a.lastName = "Jones";
         a.firstName = "Mary";
         return r.AddAccount(a, IdMode::Generate);
       },
       kMsgSaveFailed},
      {"save of a new loan with events",
       [](LoanRecords& r, const testing::StandardBook& b) {
         Loan l;
         l.terms = TermsOf(EventTerms());
         return r.SaveNewLoan(b.account, l, WithEvents());
       },
       kMsgSaveFailed},
      {"replace with events",
       [](LoanRecords& r, const testing::StandardBook& b) {
         return r.SaveSchedule(b.loanA1, TermsOf(EventTerms()), WithEvents(), true);
       },
       kMsgSaveFailed},
      {"a payment recorded",
       [](LoanRecords& r, const testing::StandardBook& b) {
         return r.AddPayments(b.loanA2, {{MakeDate(1, 7, 2023), 249.03, "check 1"}});
       },
       kMsgSaveFailed},
      {"a statement of three payments imported",
       [](LoanRecords& r, const testing::StandardBook& b) {
         return r.AddPayments(b.loanA1, {{MakeDate(1, 9, 2023), 899.33, ""},
                                         {MakeDate(1, 10, 2023), 899.33, ""},
                                         {MakeDate(1, 11, 2023), 1000, ""}});
       },
       kMsgSaveFailed},
      {"a payment changed",
       [](LoanRecords& r, const testing::StandardBook& b) {
         return r.ReplacePayment(b.loanA1, {MakeDate(11, 8, 2023), 899.33, "ten days late"},
                                 {MakeDate(1, 8, 2023), 899.33, "on time after all"});
       },
       kMsgSaveFailed},
      {"a payment deleted",
       [](LoanRecords& r, const testing::StandardBook& b) {
         return r.DeletePayment(b.loanA1, {MakeDate(1, 7, 2023), 899.33, ""});
       },
       kMsgDeleteFailed},
  };
  return changes;
}

// A folder holding the standard book, with the bytes before and after each change.
struct Book {
  TempDir dir;
  testing::StandardBook book;
  Snap before;
  std::vector<Snap> after;
  std::vector<int> calls;  // file calls each change makes
};

const Book& SharedBook() {
  static Book* b = [] {
    auto* b = new Book;
    {
      auto r = testing::OpenRecords(b->dir.path());
      b->book = testing::FillStandardBook(*r);
      // Loan A2 carries events, which replacing it without them and the
      // deletes remove.
      LoanTerms terms = TermsOf(EventTerms());
      EXPECT_TRUE(r->SaveSchedule(b->book.loanA2, terms, WithEvents(), true).ok());
      testing::AddStandardPayments(*r, b->book);
    }
    b->before = testing::Snapshot(b->dir.path());
    for (const Change& c : Changes()) {
      testing::Restore(b->dir.path(), b->before);
      FaultFs count;
      auto r = testing::OpenRecords(b->dir.path(), &count);
      count.calls = 0;
      const Outcome o = c.run(*r, b->book);
      EXPECT_TRUE(o.ok()) << c.name << ": " << o.FirstText();
      b->calls.push_back(count.calls);
      r.reset();
      b->after.push_back(testing::Snapshot(b->dir.path()));
      EXPECT_NE(b->after.back(), b->before) << c.name;
    }
    return b;
  }();
  return *b;
}

bool KilledAt(const std::string& folder, const Change& change, const testing::StandardBook& book, int n);

// What a records object reads, in short: accounts, loans, their row counts,
// their events and their payments.
std::string Reading(LoanRecords& r) {
  std::string s;
  for (const Account& a : r.Accounts()) {
    s += a.accountNo + ":";
    for (const LoanSummary& l : r.LoansOfAccount(a.accountNo)) {
      s += " " + l.loanNo + "/" + std::to_string(r.TransactionCount(l.loanNo));
      Loan loan;
      Schedule rows;
      r.LoadSchedule(l.loanNo, loan, rows);
      for (const ScheduleEvent& ev : loan.terms.events) s += "/" + EventText(ev);
      for (const ActualPayment& p : r.Payments(l.loanNo))
        s += " " + FormatIsoDate(p.date) + "=" + std::to_string(std::llround(p.amount * 100)) + p.note;
    }
    s += "\n";
  }
  return s;
}

// Every index file that still holds the identity of its table (and so
// would be used) has exactly the runs made afresh from that table.
::testing::AssertionResult IndexesTrue(const std::string& folder) {
  TempDir copy;
  for (const char* f : testing::kTableFiles)
    if (std::filesystem::exists(folder + "/" + f)) std::filesystem::copy_file(folder + "/" + f, copy.file(f));
  testing::OpenRecords(copy.path()).reset();  // makes the index files of the copy
  for (const char* f : testing::kTableFiles) {
    if (!std::filesystem::exists(folder + "/" + f)) continue;
    const std::string name = tables::IndexName(f);
    if (!std::filesystem::exists(folder + "/" + name) || !std::filesystem::exists(folder + "/" + f)) continue;
    const auto kept = tables::DecodeIndex(testing::ReadFileBytes(folder + "/" + name));
    if (!kept) continue;  // damaged: it would be made again
    tables::FileIdentity now;
    const int fd = ::open((folder + "/" + f).c_str(), O_RDONLY);
    tables::FileSystem::Default().Identify(fd, now);
    ::close(fd);
    if (!(kept->table == now)) continue;  // stale: it would be made again
    const auto fresh = tables::DecodeIndex(testing::ReadFileBytes(copy.file(name)));
    if (!fresh) return ::testing::AssertionFailure() << "no index made for " << f;
    if (kept->recordCount != fresh->recordCount || !(kept->deleted == fresh->deleted))
      return ::testing::AssertionFailure() << name << " counts other records";
    for (std::size_t t = 0; t < kept->tags.size(); ++t)
      if (!(kept->tags[t].runs == fresh->tags[t].runs))
        return ::testing::AssertionFailure() << name << " tag " << kept->tags[t].name << " differs";
  }
  return ::testing::AssertionSuccess();
}

TEST(Durability, AFailureAtAnyFileCallOfAChangeUndoesItWhole) {
  const Book& b = SharedBook();
  const std::string folder = b.dir.path();
  for (std::size_t c = 0; c < Changes().size(); ++c) {
    const Change& change = Changes()[c];
    ASSERT_GT(b.calls[c], 6) << change.name;
    std::string readingBefore;
    for (int n = 1; n <= b.calls[c]; ++n) {
      testing::Restore(folder, b.before);
      FaultFs fs;
      auto r = testing::OpenRecords(folder, &fs);
      if (n == 1) readingBefore = Reading(*r);
      fs.calls = 0;
      fs.failAt = n;
      const Outcome o = change.run(*r, b.book);
      EXPECT_FALSE(o.ok()) << change.name << " call " << n;
      EXPECT_EQ(o.FirstText(), change.failText) << change.name << " call " << n;
      // The change is undone on disk at once and in memory.
      EXPECT_TRUE(testing::SameTables(testing::Snapshot(folder), b.before)) << change.name << " call " << n;
      EXPECT_EQ(Reading(*r), readingBefore) << change.name << " call " << n;
      // The same change goes through once the disk answers again.
      fs.failAt = 0;
      EXPECT_TRUE(change.run(*r, b.book).ok()) << change.name << " call " << n;
      r.reset();
      EXPECT_TRUE(testing::SameTables(testing::Snapshot(folder), b.after[c])) << change.name << " call " << n;
      EXPECT_TRUE(IndexesTrue(folder)) << change.name << " call " << n;
    }
  }
}

// A book without EVENTS.DBF: the first save with events makes the table in
// the same change. A failure at any file call, or a kill, leaves the other
// tables as they were and no event; at most an empty EVENTS.DBF (no rows,
// which reads as no events) is left of it.
TEST(Durability, TheFirstSaveWithEventsMakesTheEventsTableAllOrNothing) {
  TempDir dir;
  const std::string folder = dir.path();
  testing::StandardBook book;
  {
    auto r = testing::OpenRecords(folder);
    book = testing::FillStandardBook(*r);
  }
  const Snap before = testing::Snapshot(folder);
  ASSERT_EQ(before.at("EVENTS.DBF"), testing::kNoFile);
  std::vector<char> head = tables::BuildHeader(EventsTable().fields, 0, MakeDate(10, 3, 2024));
  head.push_back(tables::kFileEnd);
  const std::string emptyTable(head.begin(), head.end());
  auto beforeOrEmpty = [&](Snap now) {
    if (now["EVENTS.DBF"] == emptyTable) now["EVENTS.DBF"] = testing::kNoFile;
    return testing::SameTables(now, before);
  };
  const Change& change = Changes()[6];  // a new loan with events
  int calls = 0;
  Snap after;
  {
    FaultFs count;
    auto r = testing::OpenRecords(folder, &count);
    count.calls = 0;
    ASSERT_TRUE(change.run(*r, book).ok());
    calls = count.calls;
    EXPECT_NE(Reading(*r).find("/Lump sum with payment 12/"), std::string::npos);
  }
  after = testing::Snapshot(folder);
  ASSERT_NE(after.at("EVENTS.DBF"), testing::kNoFile);
  for (int n = 1; n <= calls; ++n) {
    testing::Restore(folder, before);
    FaultFs fs;
    auto r = testing::OpenRecords(folder, &fs);
    const std::string readingBefore = Reading(*r);
    fs.calls = 0;
    fs.failAt = n;
    const Outcome o = change.run(*r, book);
    EXPECT_EQ(o.FirstText(), kMsgSaveFailed) << "call " << n;
    EXPECT_TRUE(beforeOrEmpty(testing::Snapshot(folder))) << "call " << n;
    EXPECT_EQ(Reading(*r), readingBefore) << "call " << n;
    fs.failAt = 0;
    EXPECT_TRUE(change.run(*r, book).ok()) << "call " << n;
    r.reset();
    EXPECT_TRUE(testing::SameTables(testing::Snapshot(folder), after)) << "call " << n;
    EXPECT_TRUE(IndexesTrue(folder)) << "call " << n;
  }
  for (int n = 1; n <= calls; n += 3) {
    testing::Restore(folder, before);
    ASSERT_TRUE(KilledAt(folder, change, book, n)) << "call " << n;
    testing::OpenRecords(folder).reset();
    const Snap now = testing::Snapshot(folder);
    if (n < calls) EXPECT_TRUE(beforeOrEmpty(now)) << "call " << n;
    else EXPECT_TRUE(testing::SameTables(now, after)) << "call " << n;
    EXPECT_TRUE(IndexesTrue(folder)) << "call " << n;
  }
}

TEST(Durability, ADiskThatStopsAnsweringLeavesTheOldOrTheNewTables) {
  const Book& b = SharedBook();
  const std::string folder = b.dir.path();
  for (std::size_t c : {1u, 4u, 7u, 9u}) {
    const Change& change = Changes()[c];
    for (int n = 1; n <= b.calls[c]; ++n) {
      testing::Restore(folder, b.before);
      FaultFs fs;
      fs.sticky = true;
      auto r = testing::OpenRecords(folder, &fs);
      fs.calls = 0;
      fs.failAt = n;
      EXPECT_FALSE(change.run(*r, b.book).ok()) << change.name << " call " << n;
      r.reset();
      // Opening again with a working disk plays back what was left.
      testing::OpenRecords(folder).reset();
      const Snap now = testing::Snapshot(folder);
      EXPECT_TRUE(now == b.before || (n == b.calls[c] && now == b.after[c])) << change.name << " call " << n;
    }
  }
}

// Runs a change in a child process that is killed at its Nth file call;
// true when the child died of the kill.
bool KilledAt(const std::string& folder, const Change& change, const testing::StandardBook& book, int n) {
  const pid_t child = fork();
  if (child == 0) {
    FaultFs fs;
    Outcome o;
    auto r = LoanRecords::Open(folder, o, testing::FixedClock(&fs));
    if (!r) _exit(2);
    fs.calls = 0;
    fs.failAt = n;
    fs.killInstead = true;
    change.run(*r, book);
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

TEST(Durability, AProcessKilledAnywhereInAChangeLeavesTheOldOrTheNewTables) {
  const Book& b = SharedBook();
  const std::string folder = b.dir.path();
  std::uint64_t seed = 20240310;
  int sawBefore = 0;
  for (std::size_t c : {0u, 1u, 2u, 4u, 6u, 7u, 8u, 9u, 11u}) {
    const Change& change = Changes()[c];
    for (int k = 0; k < 5; ++k) {
      seed = seed * 6364136223846793005ull + 1442695040888963407ull;
      const int n = 1 + static_cast<int>((seed >> 33) % static_cast<std::uint64_t>(b.calls[c]));
      testing::Restore(folder, b.before);
      ASSERT_TRUE(KilledAt(folder, change, b.book, n)) << change.name << " call " << n;
      auto r = testing::OpenRecords(folder);
      ASSERT_TRUE(r);
      r.reset();
      const Snap now = testing::Snapshot(folder);
      // Killed before clearing the journal: undone; killed at its sync: done.
      if (n < b.calls[c]) {
        EXPECT_TRUE(testing::SameTables(now, b.before)) << change.name << " call " << n;
        ++sawBefore;
      } else {
        EXPECT_TRUE(testing::SameTables(now, b.after[c])) << change.name << " call " << n;
      }
      EXPECT_TRUE(IndexesTrue(folder)) << change.name << " call " << n;
    }
  }
  EXPECT_GT(sawBefore, 14);
}

TEST(Durability, AProcessKilledWhileUndoingIsUndoneByTheNextOpen) {
  const Book& b = SharedBook();
  const std::string folder = b.dir.path();
  const Change& change = Changes()[1];  // rewrites most of TRANS.DBF
  for (int m = 1; m <= 4; ++m) {
    testing::Restore(folder, b.before);
    // Killed after the tables were written, before the journal was cleared.
    ASSERT_TRUE(KilledAt(folder, change, b.book, b.calls[1] - 2));
    ASSERT_NE(testing::Snapshot(folder), b.before);
    // The next copy is killed in the middle of playing the journal back.
    const pid_t child = fork();
    if (child == 0) {
      FaultFs fs;
      fs.failAt = 3 + m;  // the lock files and journal open come first
      fs.killInstead = true;
      Outcome o;
      LoanRecords::Open(folder, o, testing::FixedClock(&fs));
      _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status)) << m;
    testing::OpenRecords(folder).reset();
    EXPECT_TRUE(testing::SameTables(testing::Snapshot(folder), b.before)) << m;
  }
}

// Index files found stale are written again by the next copy that may
// write, as a change of their own: killed anywhere in it, the tables stay
// as they were and no index file that would be used is wrong.
TEST(Durability, AProcessKilledWhileKeepingIndexFilesLeavesNoneWrong) {
  const Book& b = SharedBook();
  const std::string folder = b.dir.path();
  testing::Restore(folder, b.after[0]);  // the tables rewritten: every index file is stale
  int calls = 0;
  {
    FaultFs count;
    auto r = testing::OpenRecords(folder, &count);
    calls = count.calls;
  }
  ASSERT_GT(calls, 8);
  for (int n = 1; n <= calls; ++n) {
    testing::Restore(folder, b.after[0]);
    const pid_t child = fork();
    if (child == 0) {
      FaultFs fs;
      fs.failAt = n;
      fs.killInstead = true;
      Outcome o;
      LoanRecords::Open(folder, o, testing::FixedClock(&fs));
      _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status)) << n;
    EXPECT_TRUE(IndexesTrue(folder)) << n;
    auto r = testing::OpenRecords(folder);
    ASSERT_TRUE(r);
    r.reset();
    EXPECT_TRUE(testing::SameTables(testing::Snapshot(folder), b.after[0])) << n;
    EXPECT_TRUE(IndexesTrue(folder)) << n;
  }
}

TEST(Durability, ASecondRunningCopyMayReadButNotChange) {
  const Book& b = SharedBook();
  const std::string folder = b.dir.path();
  testing::Restore(folder, b.before);
  int ready[2], done[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(done), 0);
  const pid_t child = fork();
  if (child == 0) {
    Outcome o;
    auto r = LoanRecords::Open(folder, o, testing::FixedClock());
    char c = r && r->writable() ? 'w' : 'r';
    if (write(ready[1], &c, 1) != 1 || read(done[0], &c, 1) != 1) _exit(2);
    _exit(0);
  }
  char c = 0;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  ASSERT_EQ(c, 'w');
  {
    auto r = testing::OpenRecords(folder);
    ASSERT_TRUE(r);
    EXPECT_FALSE(r->writable());
    EXPECT_TRUE(testing::LoadsAs(*r, b.book.loanA1, b.book.scheduleA1));
    for (const Change& change : Changes()) {
      const Outcome o = change.run(*r, b.book);
      EXPECT_EQ(o.messages, (std::vector<Message>{{"The loan records are in use by another copy of Brevika.\n\n"
                                                   "Changes can't be saved until that copy is closed.",
                                                   BoxType::Error}}))
          << change.name;
    }
  }
  EXPECT_TRUE(testing::SameTables(testing::Snapshot(folder), b.before));
  ASSERT_EQ(write(done[1], "x", 1), 1);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  auto r = testing::OpenRecords(folder);
  EXPECT_TRUE(r->writable());
  for (int fd : {ready[0], ready[1], done[0], done[1]}) close(fd);
}

}  // namespace
}  // namespace brevika::records
