// The pieces behind the engine's index files and whole-file rewrites: runs
// of record numbers, the index file format, journal entries of a table
// rewritten whole, and a table a folder may lack until its first change.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"
#include "tables/database.h"
#include "tables/journal.h"
#include "tables/table_index.h"

namespace brevika::tables {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

std::vector<tables::Run> RunsOf(const KeyRuns& k, const std::string& key) {
  const auto it = k.keys().find(key);
  return it == k.keys().end() ? std::vector<tables::Run>{} : it->second;
}

TEST(TableIndex, RunsJoinAndSplitAsRecordsComeAndGo) {
  KeyRuns k;
  for (std::uint32_t r : {1u, 2u, 3u, 5u, 9u}) k.Add("A", r);
  k.Add("B", 4);
  EXPECT_EQ(RunsOf(k, "A"), (std::vector<tables::Run>{{1, 3}, {5, 1}, {9, 1}}));
  k.Add("A", 4);  // joins 1-3 and 5
  EXPECT_EQ(RunsOf(k, "A"), (std::vector<tables::Run>{{1, 5}, {9, 1}}));
  k.Add("A", 8);
  EXPECT_EQ(RunsOf(k, "A"), (std::vector<tables::Run>{{1, 5}, {8, 2}}));
  k.Remove("A", 3);  // splits 1-5
  EXPECT_EQ(RunsOf(k, "A"), (std::vector<tables::Run>{{1, 2}, {4, 2}, {8, 2}}));
  k.Remove("A", 1);
  k.Remove("A", 9);
  k.Remove("A", 7);  // not there
  EXPECT_EQ(RunsOf(k, "A"), (std::vector<tables::Run>{{2, 1}, {4, 2}, {8, 1}}));
  EXPECT_EQ(k.runCount(), 4u);  // three of A, one of B
  k.Remove("B", 4);
  EXPECT_EQ(k.keys().count("B"), 0u);

  RecordSet s;
  s.AddRun(10, 5);  // 10-14
  s.Add(16);
  s.Add(15);  // joins them: 10-16
  s.Add(3);
  EXPECT_EQ(s.Runs(), (std::vector<tables::Run>{{3, 1}, {10, 7}}));
  EXPECT_EQ(s.size(), 8u);
  EXPECT_EQ(s.CountBelow(12), 3u);  // 3, 10, 11
  EXPECT_TRUE(s.Contains(16));
  EXPECT_FALSE(s.Contains(17));
  s.Remove(12);
  EXPECT_EQ(s.Runs(), (std::vector<tables::Run>{{3, 1}, {10, 2}, {13, 4}}));
}

IndexImage SmallIndex() {
  IndexImage index;
  index.table = {77, 1234, 1700000000123456789, 1700000000000000001};
  index.recordCount = 6;
  index.deleted.Add(2);
  IndexTag tag{"LOANNO", "LOANNO", 3, {}};
  for (std::uint32_t r : {1u, 2u, 5u}) tag.runs.Add("1  ", r);
  for (std::uint32_t r : {3u, 4u, 6u}) tag.runs.Add("2  ", r);
  index.tags.push_back(tag);
  return index;
}

TEST(TableIndex, IndexFilesThatAreNotWholeOrSaneAreRejected) {
  const IndexImage index = SmallIndex();
  const std::string good = EncodeIndex(index);
  const auto back = DecodeIndex(good);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->table, index.table);
  EXPECT_EQ(back->recordCount, 6u);
  EXPECT_EQ(back->deleted, index.deleted);
  ASSERT_EQ(back->tags.size(), 1u);
  EXPECT_EQ(back->tags[0].runs, index.tags[0].runs);
  EXPECT_EQ(RunsOf(back->tags[0].runs, "2  "), (std::vector<tables::Run>{{3, 2}, {6, 1}}));
  for (std::size_t cut = 0; cut < good.size(); ++cut) EXPECT_FALSE(DecodeIndex(good.substr(0, cut))) << cut;
  for (std::size_t i = 0; i < good.size(); ++i) {
    std::string bad = good;
    bad[i] ^= 0x04;
    EXPECT_FALSE(DecodeIndex(bad)) << i;
  }
  // Whole but impossible: a record past the count, a record under no key,
  // a deleted record past the count.
  IndexImage past = index;
  past.tags[0].runs.Add("2  ", 7);
  EXPECT_FALSE(DecodeIndex(EncodeIndex(past)));
  IndexImage missing = index;
  missing.tags[0].runs.Remove("2  ", 6);
  EXPECT_FALSE(DecodeIndex(EncodeIndex(missing)));
  IndexImage deleted = index;
  deleted.deleted.Add(9);
  EXPECT_FALSE(DecodeIndex(EncodeIndex(deleted)));
  EXPECT_EQ(IndexName("TRANS.DBF"), "TRANS.BIX");
}

TEST(TableJournal, ATableRewrittenWholeGoesBackUnderItsName) {
  TempDir dir;
  const std::vector<JournalEntry> entries = {{"T.DBF", 0, {}, "T.DBF.OLD", "T.DBF.NEW"}};
  const auto decoded = DecodeJournal(EncodeJournal(entries));
  ASSERT_TRUE(decoded);
  EXPECT_EQ((*decoded)[0].backup, "T.DBF.OLD");
  EXPECT_EQ((*decoded)[0].temp, "T.DBF.NEW");
  // Ranges with it, or a name leaving the folder: not a journal of ours.
  EXPECT_FALSE(DecodeJournal(EncodeJournal({{"T.DBF", 5, {{0, "x"}}, "T.DBF.OLD", "T.DBF.NEW"}})));
  EXPECT_FALSE(DecodeJournal(EncodeJournal({{"T.DBF", 0, {}, "../T.DBF.OLD", "T.DBF.NEW"}})));

  FileSystem& fs = FileSystem::Default();
  auto listing = [&] {
    std::string s;
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    for (const std::string& n : names) s += n + "=" + ReadFileBytes(dir.file(n)) + " ";
    return s;
  };
  // Stopped after the new file took the name: the old one comes back.
  WriteFileBytes(dir.file("T.DBF"), "new");
  WriteFileBytes(dir.file("T.DBF.OLD"), "old");
  ASSERT_TRUE(PlayBack(fs, dir.path(), entries));
  EXPECT_EQ(listing(), "T.DBF=old ");
  ASSERT_TRUE(PlayBack(fs, dir.path(), entries));  // again: nothing more to do
  EXPECT_EQ(listing(), "T.DBF=old ");
  // Stopped between the two renames, and before the first.
  WriteFileBytes(dir.file("T.DBF.NEW"), "new");
  std::filesystem::rename(dir.file("T.DBF"), dir.file("T.DBF.OLD"));
  ASSERT_TRUE(PlayBack(fs, dir.path(), entries));
  EXPECT_EQ(listing(), "T.DBF=old ");
  WriteFileBytes(dir.file("T.DBF.NEW"), "new");
  ASSERT_TRUE(PlayBack(fs, dir.path(), entries));
  EXPECT_EQ(listing(), "T.DBF=old ");
}

const TableDef& Events() {
  static const TableDef def{"EVENTS.DBF",
                            {{"LOANNO", FieldType::Character, 9, 0}, {"SEQ", FieldType::Numeric, 4, 0}},
                            {{"LOANNO", "LOANNO"}}};
  return def;
}

TEST(TableOptional, ATableTheFolderLacksReadsEmptyUntilItsFirstChangeMakesIt) {
  TempDir dir;
  DatabaseOptions options;
  options.today = [] { return MakeDate(10, 3, 2024); };
  options.tableFiles = {"EVENTS.DBF"};
  Outcome o;
  {
    auto db = Database::Open(dir.path(), o, options);
    ASSERT_TRUE(db);
    Table* t = db->Use(Events(), o, /*create=*/false);
    ASSERT_TRUE(t) << o.FirstText();
    EXPECT_EQ(t->RecCount(), 0u);
    t->SetOrder(t->TagArea("LOANNO"));
    EXPECT_FALSE(t->Seek(t->PadKey("1")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("EVENTS.DBF")));
    // A change that is rolled back leaves the table empty, and a committed one fills it.
    ASSERT_TRUE(db->Begin().ok());
    ASSERT_TRUE(t->AppendBlank().ok());
    ASSERT_TRUE(t->ReplaceString("LOANNO", "1").ok());
    db->Rollback();
    EXPECT_EQ(t->RecCount(), 0u);
    ASSERT_TRUE(t->AppendBlank().ok());
    ASSERT_TRUE(t->ReplaceString("LOANNO", "7").ok());
    ASSERT_TRUE(t->ReplaceNumber("SEQ", 1).ok());
    ASSERT_TRUE(t->Post().ok());
  }
  EXPECT_TRUE(std::filesystem::exists(dir.file("EVENTS.BIX")));
  auto db = Database::Open(dir.path(), o, options);
  Table* t = db->Use(Events(), o, false);
  ASSERT_TRUE(t);
  t->SetOrder(1);
  ASSERT_TRUE(t->Seek(t->PadKey("7")));
  EXPECT_EQ(t->GetNumber("SEQ"), 1);
  EXPECT_EQ(t->RecCount(), 1u);
}

// A table of `count` records, each with its own key.
std::string DistinctKeys(std::uint32_t count) {
  const std::vector<FieldDef> fields = {{"LOANNO", FieldType::Character, 9, 0}, {"SEQ", FieldType::Numeric, 4, 0}};
  const std::vector<char> h = BuildHeader(fields, count, MakeDate(10, 3, 2024));
  std::string bytes(h.begin(), h.end());
  bytes.reserve(bytes.size() + std::size_t{count} * 14 + 1);
  char key[16];
  for (std::uint32_t r = 0; r < count; ++r) {
    std::snprintf(key, sizeof key, " %-9u   1", r);
    bytes.append(key, 14);
  }
  return bytes + "\x1a";
}

TEST(TableIndex, TagsThatWouldTakeTooMuchMemoryAreRefused) {
  TempDir dir;
  DatabaseOptions options;
  Outcome o;
  const TableDef keys{"KEYS.DBF",
                      {{"LOANNO", FieldType::Character, 9, 0}, {"SEQ", FieldType::Numeric, 4, 0}},
                      {{"LOANNO", "LOANNO"}}};
  // About 128 bytes a key: 48 MB hold some 390,000 keys.
  for (const auto& [count, opens] : {std::pair<std::uint32_t, bool>{300000, true}, {450000, false}}) {
    WriteFileBytes(dir.file("KEYS.DBF"), DistinctKeys(count));
    auto db = Database::Open(dir.path(), o, options);
    ASSERT_TRUE(db);
    Table* t = db->Use(keys, o);
    EXPECT_EQ(t != nullptr, opens) << count;
    if (!t) {
      EXPECT_EQ(o.FirstText(), "Table open failed");
    } else {
      t->SetOrder(1);
      EXPECT_TRUE(t->Seek(t->PadKey("299999")));
    }
  }
}

}  // namespace
}  // namespace brevika::tables
