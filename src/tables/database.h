// The tables of one folder: opening them, the folder lock that keeps a
// second running copy from changing them, and all-or-nothing changes
// through a rollback journal. No Qt.
//
// A change is written like this: the bytes it will overwrite and the old
// length of every file it writes in place go into the journal BREVIKA.JNL,
// which is synced; a table rewritten whole (after a pack) is first written
// and synced under a temporary name, and the journal names where its old
// file goes. Then the tables are written (a rewritten one renamed into
// place, its old file kept aside) and synced, then the index files beside
// them; then the journal's magic is zeroed and synced, which is the moment
// the change counts. A whole journal found when the folder is opened is
// played back before any table is read, so an interrupted change is undone.
//
// Readers in other processes take a shared lock on BREVIKA.RLK while they
// read; a change takes it exclusively while it writes the tables, so a
// reader sees every table before or after a change, never half of it.
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
inline constexpr const char* kMsgTablesBusy =
    "The loan records are in use by another copy of Brevika,\n\n"
    "which is saving a change to them. Try again in a moment.";
inline constexpr const char* kMsgWriteFailed = "Table write failed.";
inline constexpr const char* kMsgTablesBroken =
    "Table write failed and could not be undone.\n\n"
    "Close Brevika; the tables are put right when they are opened again.";
// A folder or file of the tables this user may not write, and why.
std::string CantWriteText(const std::string& path, const std::string& reason);

// The temporary a table is written to before it takes its name, and the
// name its old file is kept under while a change that rewrote it whole
// can still be undone.
std::string TempName(const std::string& tableFile);
std::string BackupName(const std::string& tableFile);

// How long a reader waits for a change of another copy to end, and a
// change for readers to finish, before giving up.
inline constexpr int kReadWaitMs = 1500;
inline constexpr int kWriteWaitMs = 10000;

struct DatabaseOptions {
  FileSystem* fs = nullptr;           // the real file system when null
  std::function<Date()> today;        // last-update date of headers; local date when empty
  // Tables the folder will be asked for: their names (and those of their
  // index files and temporaries) are checked when the folder is opened.
  std::vector<std::string> tableFiles;
  // Only reading, until a change is asked for: till then nothing is
  // created or written in the folder (a journal left by a copy that died in
  // a change is still played back when this user may write it, as the
  // tables could not be read otherwise), and a missing table reads as an
  // empty one.
  bool readOnly = false;
};

class Database {
 public:
  // Opens a folder of tables: takes the folder lock (read-only when another
  // process holds it, the folder may not be written, or only reading was
  // asked for) and plays back a journal left by an interrupted change.
  // Null with "Table open failed", or a text naming a file that is a link
  // or not a plain file, when the folder can't be used.
  static std::unique_ptr<Database> Open(const std::string& folder, Outcome& outcome,
                                        DatabaseOptions options = {});
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  const std::string& folder() const { return folder_; }
  // False when changes are refused: another process holds the tables, the
  // folder may not be written, or the folder was opened only for reading.
  bool writable() const { return writable_; }
  // The refusal every change gets when not writable.
  Outcome WhyNotWritable() const;
  FileSystem& fs() { return *fs_; }

  // Opens a table (once; later calls return the same table). A missing file
  // is created empty with the definition's fields when `create` is set and
  // this copy may write. Without `create` (a table a folder may lack), and
  // in a folder opened only for reading, a missing table reads as an empty
  // one and is created by the first change to it. A file that is not a
  // readable dBase III table with exactly the definition's fields is
  // refused with "Table open failed" and left untouched.
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
  friend class ReadGuard;
  Database() = default;
  Outcome Join(Table& table);    // a table's first change in a transaction
  Outcome CommitImplicit();      // Post outside Begin
  bool RecoverJournal();
  bool RecoverAsReader();
  bool ClearJournal();
  bool JournalHot(std::string& problem) const;
  void RemoveLeftovers(bool temporaries);
  Outcome CreateEmpty(const TableDef& def);
  Outcome Fail(const std::string& text);
  Date Today() const;
  // Tables changed on disk by another process since they were read are
  // read again (a reader's view of a folder that another copy writes).
  void Refresh();
  void BecomeWritable();

  std::string folder_;
  FileSystem* fs_ = nullptr;
  std::function<Date()> today_;
  std::vector<std::string> tableFiles_;
  int lockFd_ = -1, readLockFd_ = -1, journalFd_ = -1;
  bool writable_ = false;
  bool readOnly_ = false;
  std::string unwritable_;   // why this user may not write, empty when that is not the reason
  bool broken_ = false;      // a failed change could not be undone on disk
  bool inTx_ = false, explicitTx_ = false;
  std::map<std::string, std::unique_ptr<Table>> tables_;
};

// Held while a reader reads several records that belong together: another
// copy's change waits until it is gone (and waits no longer than that), and
// tables that copy changed before are read again first. Does nothing in the
// copy that may write.
class ReadGuard {
 public:
  explicit ReadGuard(Database& db);
  ~ReadGuard();
  ReadGuard(const ReadGuard&) = delete;
  ReadGuard& operator=(const ReadGuard&) = delete;
  // False when a change of another copy did not end in time.
  bool held() const { return held_; }

 private:
  Database& db_;
  bool locked_ = false, held_ = true;
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
