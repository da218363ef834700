// The table engine: file bytes, reading by other DBF tools, tags, seek,
// scope, delete and pack, the folder lock and all-or-nothing commits.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstring>

#include "support/fault_fs.h"
#include "support/python_dbf.h"
#include "support/temp_dir.h"
#include "tables/database.h"
#include "tables/journal.h"

namespace brevika::tables {
namespace {

using testing::FaultFs;
using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

const TableDef& People() {
  static const TableDef def{"PEOPLE.DBF",
                            {{"NAME", FieldType::Character, 5, 0},
                             {"AMT", FieldType::Numeric, 8, 2},
                             {"DAY", FieldType::Date, 8, 0},
                             {"OK", FieldType::Logical, 1, 0}},
                            {{"NAMES", "NAME"}}};
  return def;
}

const TableDef& Keys() {
  static const TableDef def{"KEYS.DBF",
                            {{"LOANNO", FieldType::Character, 9, 0}, {"SEQ", FieldType::Numeric, 4, 0}},
                            {{"LOANNO", "LOANNO"}}};
  return def;
}

DatabaseOptions Fixed(FileSystem* fs = nullptr) {
  DatabaseOptions o;
  o.fs = fs;
  o.today = [] { return MakeDate(10, 3, 2024); };
  return o;
}

std::unique_ptr<Database> OpenDb(const std::string& folder, FileSystem* fs = nullptr) {
  Outcome o;
  auto db = Database::Open(folder, o, Fixed(fs));
  EXPECT_TRUE(o.ok()) << o.FirstText();
  return db;
}

Table* UseOk(Database& db, const TableDef& def) {
  Outcome o;
  Table* t = db.Use(def, o);
  EXPECT_TRUE(t) << o.FirstText();
  return t;
}

void AddPerson(Table& t, const char* name, double amt, Date day, bool ok) {
  ASSERT_TRUE(t.AppendBlank().ok());
  ASSERT_TRUE(t.ReplaceString("NAME", name).ok());
  ASSERT_TRUE(t.ReplaceNumber("AMT", amt).ok());
  ASSERT_TRUE(t.ReplaceDate("DAY", day).ok());
  ASSERT_TRUE(t.ReplaceLogical("OK", ok).ok());
  ASSERT_TRUE(t.Post().ok());
}

void AddKey(Table& t, const char* key, int seq) {
  ASSERT_TRUE(t.AppendBlank().ok());
  ASSERT_TRUE(t.ReplaceString("LOANNO", key).ok());
  ASSERT_TRUE(t.ReplaceNumber("SEQ", seq).ok());
  ASSERT_TRUE(t.Post().ok());
}

// Sequence numbers of the visible records from top to bottom.
std::vector<int> Walk(Table& t) {
  std::vector<int> seq;
  for (t.GoTop(); !t.Eof(); t.Skip()) seq.push_back(static_cast<int>(t.GetNumber("SEQ")));
  return seq;
}

std::string Descriptor(const char* name, char type, int len, int dec) {
  std::string d(32, '\0');
  std::memcpy(d.data(), name, std::strlen(name));
  d[11] = type;
  d[16] = static_cast<char>(len);
  d[17] = static_cast<char>(dec);
  return d;
}

std::string PeopleHeader(std::uint8_t count) {
  std::string h(32, '\0');
  h[0] = 0x03;
  h[1] = 124;  // 2024
  h[2] = 3;
  h[3] = 10;
  h[4] = static_cast<char>(count);
  h[8] = static_cast<char>(161);  // 32 + 4 * 32 + 1
  h[10] = 23;                     // 1 + 5 + 8 + 8 + 1
  h[29] = 0x57;
  return h + Descriptor("NAME", 'C', 5, 0) + Descriptor("AMT", 'N', 8, 2) + Descriptor("DAY", 'D', 8, 0) +
         Descriptor("OK", 'L', 1, 0) + "\r";
}

TEST(TableFile, NewTableAndRecordsAreExactDbaseBytes) {
  TempDir dir;
  auto db = OpenDb(dir.path());
  Table* t = UseOk(*db, People());
  EXPECT_EQ(ReadFileBytes(dir.file("PEOPLE.DBF")), PeopleHeader(0) + "\x1a");

  AddPerson(*t, "Ann", 123.45, MakeDate(10, 3, 2024), true);
  AddPerson(*t, "Bobby Long", -0.5, kBadDate, false);
  EXPECT_EQ(ReadFileBytes(dir.file("PEOPLE.DBF")),
            PeopleHeader(2) + " Ann    123.4520240310T" + " Bobby   -0.50        F" + "\x1a");

  // Read back through a new open: values as written, text cut to the width.
  db.reset();
  db = OpenDb(dir.path());
  t = UseOk(*db, People());
  t->GoTop();
  EXPECT_EQ(t->GetString("NAME"), "Ann  ");
  EXPECT_EQ(t->GetTrimString("name"), "Ann");
  EXPECT_EQ(t->GetNumber("AMT"), 123.45);
  EXPECT_EQ(t->GetDate("DAY"), MakeDate(10, 3, 2024));
  EXPECT_TRUE(t->GetLogical("OK"));
  t->Skip();
  EXPECT_EQ(t->GetTrimString("NAME"), "Bobby");
  EXPECT_EQ(t->GetNumber("AMT"), -0.5);
  EXPECT_EQ(t->GetDate("DAY"), kBadDate);
  EXPECT_FALSE(t->GetLogical("OK"));
  EXPECT_EQ(t->RecCount(), 2u);
}

TEST(TableFile, NumbersThatDoNotFitAreRefusedAndChangeNothing) {
  TempDir dir;
  auto db = OpenDb(dir.path());
  Table* t = UseOk(*db, People());
  AddPerson(*t, "Ann", 1, MakeDate(1, 1, 2000), true);
  const std::string before = ReadFileBytes(dir.file("PEOPLE.DBF"));
  t->GoTop();
  const Outcome o = t->ReplaceNumber("AMT", 100000.0);  // "100000.00" is 9 wide
  EXPECT_FALSE(o.ok());
  EXPECT_EQ(o.FirstText(), "The value is too large for the field AMT.");
  EXPECT_FALSE(t->ReplaceNumber("AMT", std::nan("")).ok());
  EXPECT_TRUE(t->ReplaceNumber("AMT", 99999.99).ok());
  EXPECT_TRUE(t->ReplaceNumber("AMT", -9999.99).ok());
  EXPECT_FALSE(t->ReplaceNumber("AMT", -99999.99).ok());
  EXPECT_FALSE(t->ReplaceNumber("NAME", 1).ok());  // not a numeric field
  EXPECT_FALSE(t->ReplaceString("NOSUCH", "x").ok());
  db->Rollback();
  EXPECT_EQ(t->GetNumber("AMT"), 1.0);
  EXPECT_EQ(ReadFileBytes(dir.file("PEOPLE.DBF")), before);
}

TEST(TableFile, OtherDbfToolsReadExactlyTheValuesWritten) {
  TempDir dir;
  auto db = OpenDb(dir.path());
  Table* t = UseOk(*db, People());
  AddPerson(*t, "Ann", 123.45, MakeDate(10, 3, 2024), true);
  AddPerson(*t, "Müll", -9999.99, MakeDate(31, 12, 1999), false);
  AddPerson(*t, "Zoë", 99999.99, MakeDate(29, 2, 2000), true);
  AddPerson(*t, "x", 0.01, MakeDate(1, 1, 1600), false);
  t->Go(4);
  ASSERT_TRUE(t->Delete().ok());
  ASSERT_TRUE(t->Post().ok());

  const std::vector<std::string> live = {
      " NAME='Ann' AMT=123.45 DAY=2024-03-10 OK=True",
      " NAME='Müll' AMT=-9999.99 DAY=1999-12-31 OK=False",
      " NAME='Zoë' AMT=99999.99 DAY=2000-02-29 OK=True"};
  const std::string gone = "NAME='x' AMT=0.01 DAY=1600-01-01 OK=False";

  // python3-dbf gives character fields with their padding, dbfread trims them.
  const auto viaDbf = testing::ReadWithPython("dbf", dir.file("PEOPLE.DBF"));
  ASSERT_EQ(viaDbf.status, 0) << (viaDbf.lines.empty() ? "" : viaDbf.lines.back());
  EXPECT_EQ(viaDbf.lines, (std::vector<std::string>{
                              " NAME='Ann  ' AMT=123.45 DAY=2024-03-10 OK=True",
                              " NAME='Müll ' AMT=-9999.99 DAY=1999-12-31 OK=False",
                              " NAME='Zoë  ' AMT=99999.99 DAY=2000-02-29 OK=True",
                              "*NAME='x    ' AMT=0.01 DAY=1600-01-01 OK=False"}));

  const auto viaDbfread = testing::ReadWithPython("dbfread", dir.file("PEOPLE.DBF"));
  ASSERT_EQ(viaDbfread.status, 0) << (viaDbfread.lines.empty() ? "" : viaDbfread.lines.back());
  std::vector<std::string> want = live;
  want.push_back("*" + gone);
  EXPECT_EQ(viaDbfread.lines, want);

  // The engine reads the same values.
  std::vector<std::string> mine;
  for (t->GoTop(); !t->Eof(); t->Skip())
    mine.push_back(" NAME=" + testing::PyStr(t->GetTrimString("NAME")) +
                   " AMT=" + testing::PyFloat(t->GetNumber("AMT")));
  EXPECT_EQ(mine, (std::vector<std::string>{" NAME='Ann' AMT=123.45", " NAME='Müll' AMT=-9999.99",
                                            " NAME='Zoë' AMT=99999.99"}));
}

TEST(TableTags, SeekNeedsTheKeyPaddedToTheKeyWidth) {
  TempDir dir;
  auto db = OpenDb(dir.path());
  Table* t = UseOk(*db, Keys());
  AddKey(*t, "10", 1);
  AddKey(*t, "2", 2);
  AddKey(*t, "10", 3);
  EXPECT_EQ(t->TagArea("LOANNO"), 1);
  EXPECT_EQ(t->TagArea("loanno"), 1);
  EXPECT_EQ(t->TagArea("ACCOUNTNO"), 0);
  t->SetOrder(t->TagArea("LOANNO"));
  EXPECT_EQ(t->IndexKey(), "LOANNO");
  t->GoTop();
  EXPECT_EQ(t->EvalString(t->IndexKey()), "10       ");
  EXPECT_EQ(t->KeyWidth(), 9);
  EXPECT_EQ(t->PadKey("1"), "1        ");

  // Unpadded, "1" matches the start of "10"; padded it matches nothing.
  EXPECT_TRUE(t->Seek("1"));
  EXPECT_EQ(t->GetNumber("SEQ"), 1.0);
  EXPECT_FALSE(t->Seek(t->PadKey("1")));
  EXPECT_TRUE(t->Eof());
  EXPECT_EQ(t->RecNo(), 0u);
  EXPECT_TRUE(t->Seek(t->PadKey("10")));
  EXPECT_EQ(t->GetNumber("SEQ"), 1.0);  // first of equal keys in record order
  EXPECT_TRUE(t->Seek(t->PadKey("2")));
  EXPECT_EQ(t->RecNo(), 2u);
  EXPECT_EQ(Walk(*t), (std::vector<int>{1, 3, 2}));
  // Record order seeks nothing.
  t->SetOrder(0);
  EXPECT_FALSE(t->Seek("10"));
  EXPECT_EQ(Walk(*t), (std::vector<int>{1, 2, 3}));
  // Soft seek lands on the next key.
  t->SetOrder(1);
  EXPECT_TRUE(t->SoftSeek("11"));
  EXPECT_EQ(t->GetNumber("SEQ"), 2.0);
  EXPECT_FALSE(t->SoftSeek("3"));

  // Changing a key moves the record in the tag.
  t->Go(2);
  ASSERT_TRUE(t->ReplaceString("LOANNO", "0").ok());
  ASSERT_TRUE(t->Post().ok());
  EXPECT_EQ(Walk(*t), (std::vector<int>{2, 1, 3}));
}

TEST(TableTags, ScopeShowsOnlyOneKeyAndNavigationStopsAtItsEnds) {
  TempDir dir;
  auto db = OpenDb(dir.path());
  Table* t = UseOk(*db, Keys());
  AddKey(*t, "7", 1);
  AddKey(*t, "8", 2);
  AddKey(*t, "7", 3);
  AddKey(*t, "9", 4);
  AddKey(*t, "7", 5);
  AddKey(*t, "77", 6);
  t->SetOrder(t->TagArea("LOANNO"));
  EXPECT_EQ(t->KeyCount(), 6u);
  const std::string key = t->PadKey("7");
  ASSERT_TRUE(t->SetScope(key, key));
  EXPECT_EQ(t->GetNumber("SEQ"), 1.0);  // at the first in scope
  EXPECT_EQ(Walk(*t), (std::vector<int>{1, 3, 5}));
  EXPECT_EQ(t->KeyCount(), 3u);
  t->GoBottom();
  EXPECT_EQ(t->GetNumber("SEQ"), 5.0);
  EXPECT_FALSE(t->Skip());
  EXPECT_TRUE(t->Eof());
  EXPECT_FALSE(t->Bof());
  EXPECT_TRUE(t->Skip(-1));  // back from the end to the last
  EXPECT_EQ(t->GetNumber("SEQ"), 5.0);
  t->GoTop();
  EXPECT_FALSE(t->Skip(-1));
  EXPECT_TRUE(t->Bof());
  EXPECT_EQ(t->GetNumber("SEQ"), 1.0);  // stays on the first
  EXPECT_TRUE(t->Skip(2));
  EXPECT_EQ(t->GetNumber("SEQ"), 5.0);
  EXPECT_FALSE(t->Seek(t->PadKey("8")));  // outside the scope
  // An unpadded scope takes every key that starts with it.
  ASSERT_TRUE(t->SetScope("7", "7"));
  EXPECT_EQ(Walk(*t), (std::vector<int>{1, 3, 5, 6}));
  t->ClearScope();
  EXPECT_EQ(Walk(*t), (std::vector<int>{1, 3, 5, 6, 2, 4}));
  // A scope with no keys is empty at both ends.
  ASSERT_TRUE(t->SetScope(t->PadKey("5"), t->PadKey("5")));
  EXPECT_TRUE(t->Eof());
  EXPECT_EQ(t->KeyCount(), 0u);
  t->GoBottom();
  EXPECT_TRUE(t->Eof());
  t->SetOrder(0);
  EXPECT_FALSE(t->SetScope("7", "7"));
}

TEST(TableTags, DeletedRecordsAreHiddenUntilPackRemovesThem) {
  TempDir dir;
  auto db = OpenDb(dir.path());
  Table* t = UseOk(*db, Keys());
  for (int i = 1; i <= 5; ++i) AddKey(*t, i % 2 ? "1" : "2", i);
  t->SetOrder(t->TagArea("LOANNO"));
  ASSERT_TRUE(t->Seek(t->PadKey("1")));
  ASSERT_TRUE(t->Delete().ok());  // record 1
  EXPECT_TRUE(t->Deleted());
  t->Go(4);
  ASSERT_TRUE(t->Delete().ok());
  ASSERT_TRUE(t->Post().ok());
  EXPECT_EQ(Walk(*t), (std::vector<int>{3, 5, 2}));
  EXPECT_TRUE(t->Seek(t->PadKey("1")));
  EXPECT_EQ(t->RecNo(), 3u);
  EXPECT_EQ(t->RecCount(), 5u);
  t->SetOrder(0);
  EXPECT_EQ(Walk(*t), (std::vector<int>{2, 3, 5}));
  EXPECT_TRUE(t->Go(1));  // Go reaches a deleted record
  EXPECT_TRUE(t->Deleted());

  const std::string flags = [&] {
    const std::string f = ReadFileBytes(dir.file("KEYS.DBF"));
    std::string s;
    for (int r = 0; r < 5; ++r) s += f[97 + r * 14];
    return s;
  }();
  EXPECT_EQ(flags, "*  * ");
  ASSERT_TRUE(t->Pack().ok());
  ASSERT_TRUE(t->Post().ok());
  EXPECT_EQ(t->RecCount(), 3u);
  EXPECT_EQ(t->RecNo(), 1u);
  EXPECT_EQ(Walk(*t), (std::vector<int>{2, 3, 5}));
  t->SetOrder(1);
  EXPECT_EQ(Walk(*t), (std::vector<int>{3, 5, 2}));
  const std::string file = ReadFileBytes(dir.file("KEYS.DBF"));
  ASSERT_EQ(file.size(), 97u + 3 * 14 + 1);
  EXPECT_EQ(file.substr(97), " 2           2 1           3 1           5\x1a");
  EXPECT_EQ(file[4], 3);
}

TEST(TableTransactions, RollbackPutsRecordsTagsAndFilesBack) {
  TempDir dir;
  auto db = OpenDb(dir.path());
  Table* t = UseOk(*db, Keys());
  for (int i = 1; i <= 4; ++i) AddKey(*t, std::to_string(i).c_str(), i);
  const std::string before = ReadFileBytes(dir.file("KEYS.DBF"));
  ASSERT_TRUE(db->Begin().ok());
  t->SetOrder(1);
  ASSERT_TRUE(t->Seek(t->PadKey("2")));
  ASSERT_TRUE(t->ReplaceString("LOANNO", "9").ok());
  ASSERT_TRUE(t->Delete().ok());
  AddKey(*t, "0", 5);  // Post inside Begin does not commit
  EXPECT_EQ(ReadFileBytes(dir.file("KEYS.DBF")), before);
  ASSERT_TRUE(t->Pack().ok());
  EXPECT_EQ(Walk(*t), (std::vector<int>{5, 1, 3, 4}));
  db->Rollback();
  EXPECT_EQ(Walk(*t), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(t->RecCount(), 4u);
  EXPECT_TRUE(t->Seek(t->PadKey("2")));
  EXPECT_FALSE(t->Seek(t->PadKey("9")));
  EXPECT_EQ(ReadFileBytes(dir.file("KEYS.DBF")), before);
  // An explicit transaction commits every change at once.
  ASSERT_TRUE(db->Begin().ok());
  EXPECT_FALSE(db->Begin().ok());
  AddKey(*t, "5", 5);
  t->Go(1);
  ASSERT_TRUE(t->Delete().ok());
  ASSERT_TRUE(db->Commit().ok());
  db.reset();
  db = OpenDb(dir.path());
  t = UseOk(*db, Keys());
  t->SetOrder(1);
  EXPECT_EQ(Walk(*t), (std::vector<int>{2, 3, 4, 5}));
}

// ---- refused files

std::string ValidKeysFile(const TempDir& dir) {
  auto db = OpenDb(dir.path());
  Table* t = UseOk(*db, Keys());
  AddKey(*t, "1", 1);
  AddKey(*t, "2", 2);
  db.reset();
  return ReadFileBytes(dir.file("KEYS.DBF"));
}

// Opens the folder's KEYS.DBF; true when the engine refused it with the
// open-failure text and left its bytes as they were.
::testing::AssertionResult RefusedUntouched(const TempDir& dir, const std::string& bytes) {
  WriteFileBytes(dir.file("KEYS.DBF"), bytes);
  Outcome o;
  auto db = Database::Open(dir.path(), o, Fixed());
  if (!db) return ::testing::AssertionFailure() << "folder refused";
  Table* t = db->Use(Keys(), o);
  if (t) return ::testing::AssertionFailure() << "accepted";
  if (o.FirstText() != "Table open failed") return ::testing::AssertionFailure() << o.FirstText();
  if (ReadFileBytes(dir.file("KEYS.DBF")) != bytes) return ::testing::AssertionFailure() << "written";
  return ::testing::AssertionSuccess();
}

TEST(TableFile, DamagedFilesAreRefusedAndNeverWritten) {
  TempDir dir;
  const std::string good = ValidKeysFile(dir);
  ASSERT_EQ(good.size(), 97u + 2 * 14 + 1);
  auto with = [&](std::size_t at, char c) {
    std::string s = good;
    s[at] = c;
    return s;
  };
  EXPECT_TRUE(RefusedUntouched(dir, ""));
  EXPECT_TRUE(RefusedUntouched(dir, "LOANNO,SEQ\n1,1\n"));
  EXPECT_TRUE(RefusedUntouched(dir, with(0, 0x30)));             // dBase IV
  EXPECT_TRUE(RefusedUntouched(dir, with(0, char(0x83))));       // with memo
  EXPECT_TRUE(RefusedUntouched(dir, good.substr(0, 20)));        // cut in the header
  EXPECT_TRUE(RefusedUntouched(dir, good.substr(0, 97 + 14)));   // cut in the records
  EXPECT_TRUE(RefusedUntouched(dir, with(4, 3)));                // count beyond the file
  EXPECT_TRUE(RefusedUntouched(dir, with(7, 1)));                // huge count
  EXPECT_TRUE(RefusedUntouched(dir, with(10, 15)));              // record length too long
  EXPECT_TRUE(RefusedUntouched(dir, with(10, 13)));              // record length too short
  EXPECT_TRUE(RefusedUntouched(dir, with(8, 96)));               // header length cuts a field
  EXPECT_TRUE(RefusedUntouched(dir, with(96, 'X')));             // no terminator
  EXPECT_TRUE(RefusedUntouched(dir, with(32 + 11, 'M')));        // memo field
  EXPECT_TRUE(RefusedUntouched(dir, with(32 + 11, 'N')));        // LOANNO not character
  EXPECT_TRUE(RefusedUntouched(dir, with(64 + 16, 0)));          // zero width
  EXPECT_TRUE(RefusedUntouched(dir, with(32, 'X')));             // LOANNO missing
  EXPECT_TRUE(RefusedUntouched(dir, with(64, 'L')));             // two fields LOANNO? no: SEQ renamed
  EXPECT_TRUE(RefusedUntouched(dir, with(97, 'Q')));             // bad deletion flag
  EXPECT_TRUE(RefusedUntouched(dir, good + "junk"));             // bytes after the end
  EXPECT_TRUE(RefusedUntouched(dir, with(good.size() - 1, 'Z')));
  // Without the end marker the file is still read.
  WriteFileBytes(dir.file("KEYS.DBF"), good.substr(0, good.size() - 1));
  Outcome o;
  auto db = Database::Open(dir.path(), o, Fixed());
  Table* t = db->Use(Keys(), o);
  ASSERT_TRUE(t);
  EXPECT_EQ(Walk(*t), (std::vector<int>{1, 2}));
}

TEST(TableFile, RandomlyDamagedFilesNeverCrashTheEngine) {
  TempDir dir;
  const std::string good = ValidKeysFile(dir);
  std::uint64_t seed = 0x9E3779B97F4A7C15ull;
  auto next = [&] {
    seed ^= seed << 13;
    seed ^= seed >> 7;
    seed ^= seed << 17;
    return seed;
  };
  int accepted = 0, refused = 0;
  for (int i = 0; i < 1500; ++i) {
    std::string s = good;
    const int edits = 1 + static_cast<int>(next() % 4);
    for (int e = 0; e < edits; ++e) {
      const std::uint64_t r = next();
      switch (r % 5) {
        case 0: s[(r >> 8) % s.size()] = static_cast<char>(r >> 40); break;
        case 1: s.resize((r >> 8) % (s.size() + 1)); break;
        case 2: s.insert((r >> 8) % (s.size() + 1), 1, static_cast<char>(r >> 40)); break;
        case 3: s[(r >> 8) % std::min<std::size_t>(s.size(), 32)] ^= static_cast<char>(1 << ((r >> 40) % 8)); break;
        case 4: s += std::string((r >> 8) % 40, static_cast<char>(r >> 40)); break;
      }
      if (s.empty()) s = "\x03";
    }
    WriteFileBytes(dir.file("KEYS.DBF"), s);
    Outcome o;
    auto db = Database::Open(dir.path(), o, Fixed());
    ASSERT_TRUE(db);
    Table* t = db->Use(Keys(), o);
    if (!t) {
      ++refused;
      ASSERT_EQ(o.FirstText(), "Table open failed");
      ASSERT_EQ(ReadFileBytes(dir.file("KEYS.DBF")), s) << "iteration " << i;
      continue;
    }
    ++accepted;
    // Whatever was accepted can be walked in both orders and read.
    for (int order : {0, 1}) {
      t->SetOrder(order);
      std::uint32_t n = 0;
      for (t->GoTop(); !t->Eof() && n <= t->RecCount(); t->Skip(), ++n) {
        t->GetTrimString("LOANNO");
        t->GetNumber("SEQ");
      }
      ASSERT_LE(n, t->RecCount());
      t->Seek("1");
    }
  }
  EXPECT_GT(refused, 1000);
  EXPECT_GT(accepted, 10);
}

TEST(TableJournal, DamagedJournalsAreRejectedWhole) {
  JournalEntry e{"KEYS.DBF", 100, {{0, "abc"}, {40, std::string(10, 'x')}}};
  const std::string good = EncodeJournal({e});
  const auto back = DecodeJournal(good);
  ASSERT_TRUE(back);
  ASSERT_EQ(back->size(), 1u);
  EXPECT_EQ((*back)[0].fileName, "KEYS.DBF");
  EXPECT_EQ((*back)[0].originalSize, 100u);
  ASSERT_EQ((*back)[0].ranges.size(), 2u);
  EXPECT_EQ((*back)[0].ranges[1].offset, 40u);
  EXPECT_EQ((*back)[0].ranges[1].bytes, std::string(10, 'x'));
  for (std::size_t cut = 0; cut < good.size(); ++cut) EXPECT_FALSE(DecodeJournal(good.substr(0, cut)));
  for (std::size_t i = 0; i < good.size(); ++i) {
    std::string bad = good;
    bad[i] ^= 0x20;
    EXPECT_FALSE(DecodeJournal(bad)) << i;
  }
  // A range past the old length, or a name that leaves the folder.
  EXPECT_FALSE(DecodeJournal(EncodeJournal({{"KEYS.DBF", 10, {{5, "123456"}}}})));
  EXPECT_FALSE(DecodeJournal(EncodeJournal({{"../KEYS.DBF", 10, {}}})));
  EXPECT_FALSE(DecodeJournal(EncodeJournal({{"", 10, {}}})));
}

// ---- failures while committing

bool HotJournal(const TempDir& dir) {
  return DecodeJournal(ReadFileBytes(dir.file(kJournalName))).has_value();
}

TEST(TableCommit, EveryFailingCallLeavesTheOldOrTheNewTable) {
  TempDir dir;
  ValidKeysFile(dir);
  const std::string before = ReadFileBytes(dir.file("KEYS.DBF"));
  auto change = [](Table& t) {
    t.SetOrder(1);
    t.Seek(t.PadKey("1"));
    t.Delete();
    t.AppendBlank();
    t.ReplaceString("LOANNO", "3");
    t.ReplaceNumber("SEQ", 3);
    t.Pack();
  };
  std::string after;
  int calls = 0;
  {
    FaultFs count;
    auto db = OpenDb(dir.path(), &count);
    Table* t = UseOk(*db, Keys());
    count.calls = 0;
    ASSERT_TRUE(db->Begin().ok());
    change(*t);
    ASSERT_TRUE(db->Commit().ok());
    calls = count.calls;
    after = ReadFileBytes(dir.file("KEYS.DBF"));
  }
  ASSERT_GE(calls, 7);
  ASSERT_NE(after, before);
  for (bool torn : {true, false}) {
    for (int n = 1; n <= calls; ++n) {
      WriteFileBytes(dir.file("KEYS.DBF"), before);
      FaultFs fs;
      fs.tornWrite = torn;
      auto db = OpenDb(dir.path(), &fs);
      Table* t = UseOk(*db, Keys());
      fs.calls = 0;
      fs.failAt = n;
      ASSERT_TRUE(db->Begin().ok());
      change(*t);
      const Outcome o = db->Commit();
      const std::string now = ReadFileBytes(dir.file("KEYS.DBF"));
      // Every failure up to clearing the journal undoes the whole change.
      EXPECT_FALSE(o.ok()) << n;
      EXPECT_EQ(o.FirstText(), "Table write failed.") << n;
      EXPECT_EQ(now, before) << n;
      EXPECT_EQ(Walk(*t), (std::vector<int>{1, 2})) << n;
      EXPECT_FALSE(HotJournal(dir)) << n;
      // The table goes on working after a failure.
      fs.failAt = 0;
      AddKey(*t, "4", 4);
      db.reset();
      db = OpenDb(dir.path());
      t = UseOk(*db, Keys());
      EXPECT_EQ(Walk(*t).back(), 4) << n;
    }
  }
}

TEST(TableCommit, AJournalLeftByAFailedUndoIsPlayedBackOnOpen) {
  TempDir dir;
  ValidKeysFile(dir);
  const std::string before = ReadFileBytes(dir.file("KEYS.DBF"));
  auto change = [](Table& t) {
    if (!t.AppendBlank().ok() || !t.ReplaceString("LOANNO", "5").ok()) ADD_FAILURE();
    return t.Post();
  };
  std::string after;
  int calls = 0;
  {
    FaultFs count;
    auto db = OpenDb(dir.path(), &count);
    Table* t = UseOk(*db, Keys());
    count.calls = 0;
    ASSERT_TRUE(change(*t).ok());
    calls = count.calls;
    after = ReadFileBytes(dir.file("KEYS.DBF"));
  }
  int journalsLeft = 0;
  for (int n = 1; n <= calls; ++n) {
    WriteFileBytes(dir.file("KEYS.DBF"), before);
    FaultFs fs;  // fails every call from the Nth on: the undo fails too
    fs.sticky = true;
    auto db = OpenDb(dir.path(), &fs);
    Table* t = UseOk(*db, Keys());
    fs.calls = 0;
    fs.failAt = n;
    EXPECT_FALSE(change(*t).ok()) << n;
    journalsLeft += HotJournal(dir) ? 1 : 0;
    // While a table on disk may hold a change that could not be undone, no
    // further change is taken.
    if (ReadFileBytes(dir.file("KEYS.DBF")) != before) {
      t->GoTop();
      EXPECT_EQ(t->Delete().FirstText(), kMsgTablesBroken) << n;
    }
    EXPECT_EQ(Walk(*t), (std::vector<int>{1, 2}));
    db.reset();
    db = OpenDb(dir.path());
    EXPECT_FALSE(HotJournal(dir)) << n;
    const std::string now = ReadFileBytes(dir.file("KEYS.DBF"));
    EXPECT_TRUE(now == before || now == after) << n;
    // Only a failure once the journal was cleared can leave the change.
    if (now == after) {
      EXPECT_EQ(n, calls) << n;
    }
  }
  EXPECT_GE(journalsLeft, 4);  // from the journal's sync to clearing it
}

TEST(TableCommit, AJournalThatIsNotWholeIsIgnored) {
  TempDir dir;
  ValidKeysFile(dir);
  const std::string before = ReadFileBytes(dir.file("KEYS.DBF"));
  // A journal cut short never reached its sync, so no table was touched.
  const std::string whole = EncodeJournal({{"KEYS.DBF", 20, {{0, std::string(20, 'x')}}}});
  for (const std::string& partial : {whole.substr(0, whole.size() - 1), std::string("BRVKJNL1 junk")}) {
    WriteFileBytes(dir.file(kJournalName), partial);
    auto db = OpenDb(dir.path());
    ASSERT_TRUE(db);
    EXPECT_EQ(ReadFileBytes(dir.file("KEYS.DBF")), before);
  }
  // A whole one is played back: KEYS.DBF is cut to 20 bytes of 'x'.
  WriteFileBytes(dir.file(kJournalName), whole + "old bytes after it");
  {
    auto db = OpenDb(dir.path());
    EXPECT_EQ(ReadFileBytes(dir.file("KEYS.DBF")), std::string(20, 'x'));
    EXPECT_FALSE(HotJournal(dir));
    Outcome o;
    EXPECT_FALSE(db->Use(Keys(), o));  // and that is no table
  }
  // A journal naming a table that is gone keeps the folder closed.
  WriteFileBytes(dir.file(kJournalName), EncodeJournal({{"GONE.DBF", 0, {}}}));
  Outcome o;
  EXPECT_FALSE(Database::Open(dir.path(), o, Fixed()));
  EXPECT_EQ(o.FirstText(), "Table open failed");
}

// ---- a second copy

TEST(TableLock, ASecondCopyReadsButMayNotChangeTheTables) {
  TempDir dir;
  ValidKeysFile(dir);
  const std::string before = ReadFileBytes(dir.file("KEYS.DBF"));
  int ready[2], done[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(done), 0);
  const pid_t child = fork();
  if (child == 0) {
    Outcome o;
    auto db = Database::Open(dir.path(), o, Fixed());
    char c = db && db->writable() ? 'w' : 'r';
    if (write(ready[1], &c, 1) != 1) _exit(2);
    if (read(done[0], &c, 1) != 1) _exit(3);
    _exit(0);
  }
  char c = 0;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  EXPECT_EQ(c, 'w');
  {
    auto db = OpenDb(dir.path());
    ASSERT_TRUE(db);
    EXPECT_FALSE(db->writable());
    Table* t = UseOk(*db, Keys());
    ASSERT_TRUE(t);
    EXPECT_EQ(Walk(*t), (std::vector<int>{1, 2}));
    const Outcome o = t->AppendBlank();
    EXPECT_FALSE(o.ok());
    EXPECT_EQ(o.FirstText(),
              "The loan records are in use by another copy of Brevika.\n\n"
              "Changes can't be saved until that copy is closed.");
    EXPECT_FALSE(db->Begin().ok());
    Outcome missing;
    EXPECT_FALSE(db->Use(People(), missing));  // nor create a table
    EXPECT_EQ(missing.FirstText(), "Table open failed");
  }
  EXPECT_EQ(ReadFileBytes(dir.file("KEYS.DBF")), before);
  ASSERT_EQ(write(done[1], "x", 1), 1);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  auto db = OpenDb(dir.path());
  EXPECT_TRUE(db->writable());
  for (int fd : {ready[0], ready[1], done[0], done[1]}) close(fd);
}

}  // namespace
}  // namespace brevika::tables
