// The tables of one folder: opening them, the folder lock that keeps a
// second running copy from changing them, and all-or-nothing changes
// through a rollback journal. No Qt.
//
// A change is written like this: the bytes it will overwrite and the old
// length of every table it touches go into the journal BREVIKA.JNL, which
// is synced; then the tables are written and synced; then the journal's
// magic is zeroed and synced, which is the moment the change counts. A
// whole journal found when the folder is opened is played back before any
// table is read, so an interrupted change is undone.
#pragma once
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "finance/outcome.h"
#include "tables/dbf_format.h"
#include "tables/file_system.h"
#include "tables/table.h"

namespace brevika::tables {

inline constexpr const char* kLockName = "BREVIKA.LCK";
inline constexpr const char* kReadLockName = "BREVIKA.RLK";

// Texts of the engine's refusals.
inline constexpr const char* kMsgTableOpenFailed = "Table open failed";
inline constexpr const char* kMsgTablesInUse =
    "The loan records are in use by another copy of Brevika.\n\n"
    "Changes can't be saved until that copy is closed.";
inline constexpr const char* kMsgWriteFailed = "Table write failed.";
inline constexpr const char* kMsgTablesBroken =
    "Table write failed and could not be undone.\n\n"
    "Close Brevika; the tables are put right when they are opened again.";

// The temporary a new table is written to before it takes its name.
std::string TempName(const std::string& tableFile);

struct DatabaseOptions {
  FileSystem* fs = nullptr;           // the real file system when null
  // Tables the folder will be asked for: their names (and those of their
  // temporaries) are checked when the folder is opened.
  std::vector<std::string> tableFiles;
  std::function<Date()> today;        // last-update date of headers; local date when empty
};

class Database {
 public:
  // Opens a folder of tables: takes the folder lock (read-only when another
  // process holds it) and plays back a journal left by an interrupted
  // change. Null with "Table open failed" when the folder can't be used.
  static std::unique_ptr<Database> Open(const std::string& folder, Outcome& outcome,
                                        DatabaseOptions options = {});
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  const std::string& folder() const { return folder_; }
  // False when another process holds the tables; every change is refused.
  bool writable() const { return writable_; }
  FileSystem& fs() { return *fs_; }

  // Opens a table (once; later calls return the same table). A missing file
  // is created empty with the definition's fields when `create` is set and
  // this copy may write. A file that is not a readable dBase III table with
  // the definition's fields is refused with "Table open failed" and left
  // untouched.
  Table* Use(const TableDef& def, Outcome& outcome, bool create = true);
  Table* Find(const std::string& fileName) const;

  // Explicit transaction: changes of every table wait for Commit; Rollback
  // (or a failed Commit) puts tables and files back as they were.
  Outcome Begin();
  Outcome Commit();
  void Rollback();
  bool InTransaction() const { return inTx_; }
  // Changes were made since the transaction began.
  bool Pending() const;

 private:
  friend class Table;
  Database() = default;
  Outcome Join(Table& table);    // a table's first change in a transaction
  Outcome CommitImplicit();      // Post outside Begin
  bool RecoverJournal();
  bool ClearJournal();
  static bool JournalHot(FileSystem& fs, const std::string& folder, std::string& problem);
  Outcome CreateEmpty(const TableDef& def);
  Outcome Fail(const std::string& text);
  Date Today() const;

  std::string folder_;
  FileSystem* fs_ = nullptr;
  std::function<Date()> today_;
  int lockFd_ = -1, readLockFd_ = -1, journalFd_ = -1;
  bool writable_ = false;
  bool broken_ = false;      // a failed change could not be undone on disk
  bool inTx_ = false, explicitTx_ = false;
  std::map<std::string, std::unique_ptr<Table>> tables_;
};

// A transaction that rolls back unless committed.
class Transaction {
 public:
  explicit Transaction(Database& db) : db_(db), began_(db.Begin()) {}
  ~Transaction() {
    if (began_.ok() && !done_) db_.Rollback();
  }
  const Outcome& began() const { return began_; }
  Outcome Commit() {
    done_ = true;
    return db_.Commit();
  }

 private:
  Database& db_;
  Outcome began_;
  bool done_ = false;
};

}  // namespace brevika::tables
