#include "tables/database.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "tables/folder_file.h"
#include "tables/journal.h"

namespace brevika::tables {
namespace {

// A byte range of a file that a commit writes.
struct Span {
  std::uint64_t offset, size;
};

void AddSpan(std::vector<Span>& spans, std::uint64_t offset, std::uint64_t size) {
  if (size == 0) return;
  if (!spans.empty() && spans.back().offset + spans.back().size == offset) {
    spans.back().size += size;
    return;
  }
  spans.push_back({offset, size});
}

bool PermissionError(int err) { return err == EACCES || err == EPERM || err == EROFS; }

// The folder when this user may not write in it, else the file.
std::string WhatCantBeWritten(const std::string& folder, const std::string& name) {
  return ::access(folder.c_str(), W_OK) != 0 ? folder : folder + "/" + name;
}

// Reads a whole small file; empty when it can't be read.
std::string ReadAll(FileSystem& fs, int fd) {
  const std::int64_t size = fs.Size(fd);
  if (size <= 0) return {};
  std::string data(static_cast<std::size_t>(size), '\0');
  if (!fs.ReadAt(fd, 0, data.data(), data.size())) return {};
  return data;
}

// What one table's part of a commit writes.
struct Plan {
  Table* table = nullptr;
  bool changed = false;               // records or header change
  std::vector<Span> writes;           // in place, new bytes from `bytes`
  std::map<std::uint64_t, std::string> bytes;  // offset -> new bytes of each span
  std::uint64_t newSize = 0;
  int newFd = -1;                     // a table rewritten whole, under its temporary name
  int indexFd = -1;                   // its index file, when it has tags
  std::string index;                  // the index's new bytes, made once the table is synced
  FileIdentity identity;
};

}  // namespace

std::string CantWriteText(const std::string& path, const std::string& reason) {
  return "The loan records can't be changed:\n\n" + path + "\n\ncan't be written (" + reason + ").";
}

std::string TempName(const std::string& tableFile) { return tableFile + ".NEW"; }
std::string BackupName(const std::string& tableFile) { return tableFile + ".OLD"; }

std::unique_ptr<Database> Database::Open(const std::string& folder, Outcome& outcome,
                                         DatabaseOptions options) {
  outcome = Outcome::Ok();
  std::unique_ptr<Database> db(new Database);
  db->folder_ = folder;
  db->fs_ = options.fs ? options.fs : &FileSystem::Default();
  db->today_ = std::move(options.today);
  db->tableFiles_ = options.tableFiles;
  db->readOnly_ = options.readOnly;
  FileSystem& fs = *db->fs_;

  // Nothing is opened or created while any name the engine uses is taken
  // by a link or something that is not a plain file.
  std::vector<std::string> names = {kLockName, kReadLockName, kJournalName};
  for (const std::string& table : options.tableFiles)
    for (const std::string& n : {table, TempName(table), BackupName(table), IndexName(table)}) names.push_back(n);
  for (const std::string& name : names) {
    const std::string problem = FolderFileProblem(fs, folder, name);
    if (!problem.empty()) {
      outcome = Outcome::Refuse({problem, BoxType::Error});
      return nullptr;
    }
  }
  std::string problem;
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec)) {
    outcome = Outcome::Refuse({kMsgTableOpenFailed, BoxType::Error});
    return nullptr;
  }
  auto refuse = [&](const char* text = kMsgTableOpenFailed) {
    outcome = Outcome::Refuse({problem.empty() ? std::string(text) : problem, BoxType::Error});
    return nullptr;
  };
  auto present = [&](const char* name) { return fs.KindOf(folder + "/" + name) == FileKind::Regular; };

  if (!db->readOnly_) {
    errno = 0;
    db->lockFd_ = OpenFolderFile(fs, folder, kLockName, O_RDWR | O_CREAT, problem);
    if (!problem.empty()) return refuse();
    if (db->lockFd_ < 0 && PermissionError(errno)) {
      const int err = errno;
      db->unwritable_ = CantWriteText(WhatCantBeWritten(folder, kLockName), std::strerror(err));
      if (present(kLockName)) db->lockFd_ = OpenFolderFile(fs, folder, kLockName, O_RDONLY, problem);
    }
    db->writable_ = db->lockFd_ >= 0 && db->unwritable_.empty() && fs.Lock(db->lockFd_, true, false);
    db->readLockFd_ = OpenFolderFile(fs, folder, kReadLockName, O_RDWR | O_CREAT, problem);
    if (db->readLockFd_ < 0 && problem.empty() && present(kReadLockName))
      db->readLockFd_ = OpenFolderFile(fs, folder, kReadLockName, O_RDONLY, problem);
    if (!problem.empty()) return refuse();
  } else {
    if (present(kLockName)) db->lockFd_ = OpenFolderFile(fs, folder, kLockName, O_RDONLY, problem);
    if (present(kReadLockName)) db->readLockFd_ = OpenFolderFile(fs, folder, kReadLockName, O_RDONLY, problem);
    if (!problem.empty()) return refuse();
  }

  if (db->writable_) {
    const bool existed = fs.Exists(folder + "/" + kJournalName);
    errno = 0;
    db->journalFd_ = OpenFolderFile(fs, folder, kJournalName, O_RDWR | O_CREAT, problem);
    if (db->journalFd_ < 0 && problem.empty() && PermissionError(errno)) {
      // The journal is ours to write or nothing is: the tables open for reading.
      db->unwritable_ = CantWriteText(folder + "/" + kJournalName, std::strerror(errno));
      db->writable_ = false;
      fs.Unlock(db->lockFd_);
    } else {
      // A new journal's name must be durable before any change relies on it.
      if (db->journalFd_ < 0 || (!existed && !fs.SyncDir(folder)) || !db->RecoverJournal()) return refuse();
      db->RemoveLeftovers(true);
    }
  }
  if (!db->writable_ && !db->RecoverAsReader()) return refuse();
  if (!problem.empty()) return refuse();
  return db;
}

Database::~Database() {
  if (inTx_) Rollback();
  tables_.clear();
  if (writable_) RemoveLeftovers(false);
  if (journalFd_ >= 0) fs_->Close(journalFd_);
  if (readLockFd_ >= 0) fs_->Close(readLockFd_);
  if (lockFd_ >= 0) fs_->Close(lockFd_);  // closing releases the lock
}

// Old files kept aside by committed changes, and (when opening) temporaries
// of changes that never reached their journal.
void Database::RemoveLeftovers(bool temporaries) {
  for (const std::string& table : tableFiles_) {
    for (const std::string& name : {BackupName(table), TempName(table)}) {
      if (name == TempName(table) && !temporaries) continue;
      if (fs_->KindOf(folder_ + "/" + name) == FileKind::Regular) fs_->Remove(folder_ + "/" + name);
    }
  }
}

bool Database::JournalHot(std::string& problem) const {
  const int fd = OpenFolderFile(*fs_, folder_, kJournalName, O_RDONLY, problem);
  if (fd < 0) return false;
  const bool hot = DecodeJournal(ReadAll(*fs_, fd)).has_value();
  fs_->Close(fd);
  return hot;
}

// A reader finding a whole journal: while the copy that wrote it is alive it
// is in the middle of a change and holds back its writes until readers are
// done, so the tables can be read as they are. A journal nobody holds was
// left by a copy that died in a change: it is played back first.
bool Database::RecoverAsReader() {
  std::string problem;
  if (!JournalHot(problem)) return problem.empty();
  if (lockFd_ >= 0 && !fs_->Lock(lockFd_, true, false)) return true;  // the writer is alive
  bool ok = false;
  int fd = OpenFolderFile(*fs_, folder_, kJournalName, O_RDWR, problem);
  if (fd >= 0) {
    std::swap(fd, journalFd_);
    ok = RecoverJournal();
    std::swap(fd, journalFd_);
    fs_->Close(fd);
  }
  if (lockFd_ >= 0) fs_->Unlock(lockFd_);
  return ok;
}

// One byte, so the write can't be torn: the magic is gone or still whole.
bool Database::ClearJournal() {
  const char zero = 0;
  return fs_->WriteAt(journalFd_, 0, &zero, 1) && fs_->Sync(journalFd_);
}

bool Database::RecoverJournal() {
  const std::string data = ReadAll(*fs_, journalFd_);
  const auto entries = DecodeJournal(data);
  // Anything but a whole journal was cut short before its sync ended, so no
  // table was touched yet.
  if (!entries) return true;
  const bool locked = readLockFd_ >= 0 && fs_->LockWithin(readLockFd_, true, kWriteWaitMs);
  const bool ok = PlayBack(*fs_, folder_, *entries) && ClearJournal();
  if (locked) fs_->Unlock(readLockFd_);
  return ok;
}

Date Database::Today() const {
  if (today_) return today_();
  const std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  return MakeDate(tm.tm_mday, tm.tm_mon + 1, tm.tm_year + 1900);
}

Outcome Database::Fail(const std::string& text) { return Outcome::Refuse({text, BoxType::Error}); }

Outcome Database::WhyNotWritable() const {
  if (!unwritable_.empty()) return Outcome::Refuse({unwritable_, BoxType::Error});
  return Outcome::Refuse({kMsgTablesInUse, BoxType::Error});
}

Outcome Database::CreateEmpty(const TableDef& def) {
  std::vector<char> bytes = BuildHeader(def.fields, 0, Today());
  bytes.push_back(kFileEnd);
  // A temporary of its own, then renamed: the table appears only whole.
  const std::string temp = TempName(def.fileName);
  std::string problem;
  const int fd = CreateFolderFile(*fs_, folder_, temp, problem);
  if (!problem.empty()) return Fail(problem);
  bool ok = fd >= 0 && fs_->WriteAt(fd, 0, bytes.data(), bytes.size()) && fs_->Sync(fd);
  if (fd >= 0) fs_->Close(fd);
  ok = ok && fs_->Rename(folder_ + "/" + temp, folder_ + "/" + def.fileName) && fs_->SyncDir(folder_);
  if (!ok) {
    if (fd >= 0) fs_->Remove(folder_ + "/" + temp);
    return Fail(kMsgTableOpenFailed);
  }
  return Outcome::Ok();
}

Table* Database::Find(const std::string& fileName) const {
  const auto it = tables_.find(fileName);
  return it == tables_.end() ? nullptr : it->second.get();
}

Table* Database::Use(const TableDef& def, Outcome& outcome, bool create) {
  outcome = Outcome::Ok();
  if (Table* t = Find(def.fileName)) return t;
  std::string problem = FolderFileProblem(*fs_, folder_, def.fileName);
  const bool missing = problem.empty() && fs_->KindOf(folder_ + "/" + def.fileName) == FileKind::Missing;
  if (missing && create && writable_) {
    outcome = CreateEmpty(def);
    if (!outcome.ok()) return nullptr;
  } else if (missing && create && !readOnly_) {
    outcome = Fail(kMsgTableOpenFailed);
    return nullptr;
  }

  std::unique_ptr<Table> t(new Table(this, def.fileName));
  t->absent_ = missing && (readOnly_ || !create);
  if (problem.empty() && !t->absent_) {
    errno = 0;
    t->fd_ = OpenFolderFile(*fs_, folder_, def.fileName, writable_ ? O_RDWR : O_RDONLY, problem);
    if (t->fd_ < 0 && problem.empty() && writable_ && PermissionError(errno)) {
      t->unwritable_ = CantWriteText(folder_ + "/" + def.fileName, std::strerror(errno));
      t->fd_ = OpenFolderFile(*fs_, folder_, def.fileName, O_RDONLY, problem);
    }
  }
  if (!problem.empty()) {
    outcome = Fail(problem);
    return nullptr;
  }
  // A reader waits (a little) for a change of the other copy to end.
  bool locked = false;
  if (!writable_ && readLockFd_ >= 0) {
    locked = fs_->LockWithin(readLockFd_, false, kReadWaitMs);
    if (!locked) {
      outcome = Fail(kMsgTablesBusy);
      return nullptr;
    }
  }
  const bool ok = (t->absent_ || t->fd_ >= 0) && t->Load(def, writable_ && t->unwritable_.empty());
  if (locked) fs_->Unlock(readLockFd_);
  if (!ok) {
    outcome = Fail(kMsgTableOpenFailed);
    return nullptr;  // the table closes its file; nothing was written
  }
  t->GoTop();
  Table* raw = t.get();
  tables_.emplace(def.fileName, std::move(t));
  // Tags made from the table are kept for the next open, outside any change.
  if (raw->indexStale_ && !inTx_) {
    inTx_ = true;
    explicitTx_ = true;
    Commit();
  }
  return raw;
}

void Database::Refresh() {
  for (auto& [name, t] : tables_) {
    if (t->absent_ || t->fd_ < 0) continue;
    // By name: a table rewritten whole is another file under the same name.
    std::string problem;
    const int fd = OpenFolderFile(*fs_, folder_, name, t->unwritable_.empty() && writable_ ? O_RDWR : O_RDONLY,
                                  problem);
    FileIdentity now;
    if (fd < 0 || !fs_->Identify(fd, now) || now == t->identity_) {
      if (fd >= 0) fs_->Close(fd);
      continue;
    }
    fs_->Close(t->fd_);
    t->fd_ = fd;
    const std::uint32_t rec = t->rec_;
    if (!t->Load(*t->def_, false)) {
      // No longer a table of ours: it reads as empty.
      t->header_.recordCount = 0;
      t->diskCount_ = 0;
      for (auto& tag : t->tags_) tag->runs = KeyRuns();
    }
    t->SetCursor(rec <= t->header_.recordCount ? rec : 0);
  }
}

// Opened only for reading, the folder is taken for changes when the first
// one comes: the folder lock, the journal, the tables for writing (read
// again where another copy changed them meanwhile).
void Database::BecomeWritable() {
  if (!readOnly_) return;
  readOnly_ = false;
  FileSystem& fs = *fs_;
  std::string problem;
  errno = 0;
  int fd = OpenFolderFile(fs, folder_, kLockName, O_RDWR | O_CREAT, problem);
  if (fd < 0 && problem.empty() && PermissionError(errno))
    unwritable_ = CantWriteText(WhatCantBeWritten(folder_, kLockName), std::strerror(errno));
  if (fd >= 0) {
    if (lockFd_ >= 0) fs.Close(lockFd_);
    lockFd_ = fd;
  }
  if (!unwritable_.empty() || lockFd_ < 0 || !fs.Lock(lockFd_, true, false)) return;
  fd = OpenFolderFile(fs, folder_, kReadLockName, O_RDWR | O_CREAT, problem);
  if (fd >= 0) {
    if (readLockFd_ >= 0) fs.Close(readLockFd_);
    readLockFd_ = fd;
  }
  const bool existed = fs.Exists(folder_ + "/" + kJournalName);
  errno = 0;
  journalFd_ = OpenFolderFile(fs, folder_, kJournalName, O_RDWR | O_CREAT, problem);
  if (journalFd_ < 0 && problem.empty() && PermissionError(errno))
    unwritable_ = CantWriteText(folder_ + "/" + kJournalName, std::strerror(errno));
  if (journalFd_ < 0 || (!existed && !fs.SyncDir(folder_)) || !RecoverJournal()) {
    fs.Unlock(lockFd_);
    return;
  }
  writable_ = true;
  Refresh();
  for (auto& [name, t] : tables_) {
    if (t->absent_) continue;
    errno = 0;
    const int rw = OpenFolderFile(fs, folder_, name, O_RDWR, problem);
    if (rw < 0) {
      if (PermissionError(errno)) t->unwritable_ = CantWriteText(folder_ + "/" + name, std::strerror(errno));
      continue;
    }
    FileIdentity id;
    if (fs.Identify(rw, id) && id == t->identity_) {
      fs.Close(t->fd_);
      t->fd_ = rw;
    } else {
      fs.Close(rw);
      t->unwritable_ = kMsgTableOpenFailed;
    }
  }
}

ReadGuard::ReadGuard(Database& db) : db_(db) {
  if (db.writable_) return;
  if (db.readLockFd_ >= 0) {
    locked_ = db.fs_->LockWithin(db.readLockFd_, false, kReadWaitMs);
    held_ = locked_;
  }
  db.Refresh();
}

ReadGuard::~ReadGuard() {
  if (locked_) db_.fs_->Unlock(db_.readLockFd_);
}

Outcome Database::Join(Table& table) {
  if (readOnly_) BecomeWritable();
  if (broken_) return Fail(kMsgTablesBroken);
  if (!writable_) return WhyNotWritable();
  if (!table.unwritable_.empty()) return Fail(table.unwritable_);
  if (table.absent_) {
    // A table the folder lacks is made by the first change that needs it.
    Outcome made = CreateEmpty(*table.def_);
    if (!made.ok()) return made;
    std::string problem;
    table.fd_ = OpenFolderFile(*fs_, folder_, table.fileName_, O_RDWR, problem);
    table.absent_ = false;
    if (table.fd_ < 0 || !table.Load(*table.def_, true)) {
      table.absent_ = table.fd_ < 0;
      return Fail(problem.empty() ? kMsgTableOpenFailed : problem);
    }
  }
  if (table.tx_ && table.tx_->packed) return Fail(kMsgWriteFailed);  // nothing after a pack
  if (!inTx_) {
    inTx_ = true;
    explicitTx_ = false;
  }
  if (!table.tx_) table.BeginTx();
  return Outcome::Ok();
}

Outcome Database::Begin() {
  if (readOnly_) BecomeWritable();
  if (broken_) return Fail(kMsgTablesBroken);
  if (!writable_) return WhyNotWritable();
  if (explicitTx_) return Fail("A change is already under way.");
  inTx_ = true;
  explicitTx_ = true;
  return Outcome::Ok();
}

bool Database::Pending() const {
  for (const auto& [name, t] : tables_)
    if (t->tx_) return true;
  return false;
}

void Database::Rollback() {
  for (auto& [name, t] : tables_) t->RollbackTx();
  inTx_ = explicitTx_ = false;
}

Outcome Database::CommitImplicit() { return explicitTx_ ? Outcome::Ok() : Commit(); }

Outcome Database::Commit() {
  if (!inTx_) return Outcome::Ok();
  if (broken_) {
    Rollback();
    return Fail(kMsgTablesBroken);
  }
  const Date today = Today();
  std::vector<Plan> plans;
  auto closeAll = [&] {
    for (Plan& p : plans) {
      if (p.newFd >= 0) {
        fs_->Close(p.newFd);
        fs_->Remove(folder_ + "/" + TempName(p.table->fileName_));
      }
      if (p.indexFd >= 0) fs_->Close(p.indexFd);
    }
  };
  auto fail = [&](const std::string& text) {
    closeAll();
    Rollback();
    return Fail(text);
  };

  for (auto& [name, tp] : tables_) {
    Table& t = *tp;
    if (!t.tx_ && !t.indexStale_) continue;
    Plan p;
    p.table = &t;
    p.changed = t.tx_.has_value();
    p.newSize = t.diskSize_;
    const std::uint64_t hl = t.header_.headerLength, rl = t.header_.recordLength;
    std::string head = t.head_;
    StampHeader(head.data(), t.header_.recordCount, today);
    if (p.changed && t.tx_->packed) {
      // Rewritten whole under a temporary name, streamed: live records in
      // order, each as changed or as on disk.
      if (fs_->KindOf(folder_ + "/" + BackupName(name)) == FileKind::Regular &&
          (!fs_->Remove(folder_ + "/" + BackupName(name)) || !fs_->SyncDir(folder_)))
        return fail(kMsgWriteFailed);
      std::string problem;
      p.newFd = CreateFolderFile(*fs_, folder_, TempName(name), problem);
      plans.push_back(p);
      if (p.newFd < 0) return fail(problem.empty() ? kMsgWriteFailed : problem);
      Plan& q = plans.back();
      std::uint64_t removedTotal = 0;
      for (const Run& r : t.tx_->packRemoved) removedTotal += r.count;
      const std::uint64_t oldTotal = t.header_.recordCount + removedTotal;
      std::string out = head;
      std::uint64_t at = 0;
      bool ok = true;
      std::vector<char> chunk;
      std::uint32_t chunkFirst = 0, chunkCount = 0;
      std::size_t removed = 0;
      const std::uint32_t perChunk = std::max<std::uint32_t>(1, static_cast<std::uint32_t>((1u << 20) / rl));
      for (std::uint64_t r64 = 1; ok && r64 <= oldTotal; ++r64) {
        const auto r = static_cast<std::uint32_t>(r64);
        while (removed < t.tx_->packRemoved.size() &&
               std::uint64_t{t.tx_->packRemoved[removed].first} + t.tx_->packRemoved[removed].count <= r)
          ++removed;
        if (removed < t.tx_->packRemoved.size() && t.tx_->packRemoved[removed].first <= r) continue;
        const auto d = t.dirty_.find(r);
        if (d != t.dirty_.end()) {
          out += d->second;
        } else {
          if (r >= chunkFirst + chunkCount || r < chunkFirst) {
            chunkFirst = r;
            chunkCount = std::min<std::uint32_t>(perChunk, t.diskCount_ - r + 1);
            chunk.resize(std::size_t{chunkCount} * rl);
            ok = fs_->ReadAt(t.fd_, hl + std::uint64_t{r - 1} * rl, chunk.data(), chunk.size());
          }
          out.append(chunk.data() + std::size_t{r - chunkFirst} * rl, rl);
        }
        if (out.size() >= (1u << 20)) {
          ok = ok && fs_->WriteAt(q.newFd, at, out.data(), out.size());
          at += out.size();
          out.clear();
        }
      }
      out += kFileEnd;
      ok = ok && fs_->WriteAt(q.newFd, at, out.data(), out.size()) && fs_->Sync(q.newFd);
      if (!ok) return fail(kMsgWriteFailed);
      q.newSize = at + out.size();
    } else if (p.changed) {
      AddSpan(p.writes, 0, 32);
      p.bytes[0] = head.substr(0, 32);
      // Records changed in place, then those marked deleted without other change.
      std::map<std::uint32_t, std::string> records;
      for (const auto& [rec, bytes] : t.dirty_)
        if (rec <= t.diskCount_) records.emplace(rec, bytes);
      for (const Run& run : t.tx_->deletedNow.Runs()) {
        for (std::uint32_t r = run.first; r < run.first + run.count && r <= t.diskCount_; ++r) {
          if (records.count(r)) continue;
          std::string rec(t.DiskRecord(r), rl);
          rec[0] = kDeletedFlag;
          records.emplace(r, std::move(rec));
        }
      }
      for (const auto& [rec, bytes] : records) {
        const std::uint64_t off = hl + std::uint64_t{rec - 1} * rl;
        if (!p.writes.empty() && p.writes.back().offset + p.writes.back().size == off)
          p.bytes[p.writes.back().offset] += bytes;
        else
          p.bytes[off] = bytes;
        AddSpan(p.writes, off, rl);
      }
      if (t.header_.recordCount != t.diskCount_ || !t.header_.hasEndMarker) {
        const std::uint64_t tail = hl + std::uint64_t{t.diskCount_} * rl;
        std::string bytes;
        for (std::uint32_t r = t.diskCount_ + 1; r <= t.header_.recordCount; ++r) bytes += t.dirty_[r];
        bytes += kFileEnd;
        if (!p.writes.empty() && p.writes.back().offset + p.writes.back().size == tail)
          p.bytes[p.writes.back().offset] += bytes;
        else
          p.bytes[tail] = bytes;
        AddSpan(p.writes, tail, bytes.size());
        p.newSize = tail + bytes.size();
      }
      plans.push_back(std::move(p));
    } else {
      plans.push_back(std::move(p));
    }
    Plan& q = plans.back();
    if (!t.tags_.empty()) {
      std::string problem;
      q.indexFd = OpenFolderFile(*fs_, folder_, IndexName(name), O_RDWR | O_CREAT, problem);
      if (q.indexFd < 0) return fail(problem.empty() ? kMsgWriteFailed : problem);
    }
  }

  // The journal: old length and the old bytes under every write in place;
  // where the old file of a table rewritten whole goes.
  std::vector<JournalEntry> entries;
  for (const Plan& p : plans) {
    Table& t = *p.table;
    if (p.newFd >= 0) {
      entries.push_back({t.fileName_, 0, {}, BackupName(t.fileName_), TempName(t.fileName_)});
    } else if (p.changed) {
      JournalEntry e{t.fileName_, t.diskSize_, {}, {}, {}};
      for (const Span& s : p.writes) {
        if (s.offset >= t.diskSize_) continue;
        const std::uint64_t n = std::min(s.size, t.diskSize_ - s.offset);
        JournalRange r{s.offset, std::string(static_cast<std::size_t>(n), '\0')};
        if (!fs_->ReadAt(t.fd_, s.offset, r.bytes.data(), r.bytes.size())) return fail(kMsgWriteFailed);
        e.ranges.push_back(std::move(r));
      }
      entries.push_back(std::move(e));
    }
    if (p.indexFd >= 0) {
      const std::string old = ReadAll(*fs_, p.indexFd);
      JournalEntry e{IndexName(t.fileName_), old.size(), {}, {}, {}};
      if (!old.empty()) e.ranges.push_back({0, old});
      entries.push_back(std::move(e));
    }
  }
  if (plans.empty()) {
    // Nothing changed: nothing is written.
    Rollback();
    return Outcome::Ok();
  }
  const std::string journal = EncodeJournal(entries);
  if (!fs_->WriteAt(journalFd_, 0, journal.data(), journal.size()) || !fs_->Sync(journalFd_)) {
    // No table was touched; the journal is cleared so it is not played back.
    ClearJournal();
    return fail(kMsgWriteFailed);
  }

  // Readers of other copies finish first; none starts until this is done.
  const bool locked = readLockFd_ >= 0 && fs_->LockWithin(readLockFd_, true, kWriteWaitMs);
  if (readLockFd_ >= 0 && !locked) {
    ClearJournal();
    return fail(kMsgTablesBusy);
  }
  bool ok = true;
  bool renamed = false;
  for (Plan& p : plans) {
    Table& t = *p.table;
    if (p.newFd >= 0) {
      const std::string path = folder_ + "/" + t.fileName_;
      ok = ok && fs_->Rename(path, folder_ + "/" + BackupName(t.fileName_));
      ok = ok && fs_->Rename(folder_ + "/" + TempName(t.fileName_), path);
      renamed = true;
    } else if (p.changed) {
      for (const Span& s : p.writes) ok = ok && fs_->WriteAt(t.fd_, s.offset, p.bytes[s.offset].data(), s.size);
      ok = ok && fs_->Sync(t.fd_);
    }
    if (!ok) break;
  }
  ok = ok && (!renamed || fs_->SyncDir(folder_));
  // Index files last: each holds the identity of its table as now written.
  for (Plan& p : plans) {
    if (!ok) break;
    Table& t = *p.table;
    const int fd = p.newFd >= 0 ? p.newFd : t.fd_;
    ok = fs_->Identify(fd, p.identity);
    if (ok && p.indexFd >= 0) {
      p.index = EncodeIndex(t.IndexOf(p.identity));
      ok = fs_->WriteAt(p.indexFd, 0, p.index.data(), p.index.size()) && fs_->Truncate(p.indexFd, p.index.size());
    }
  }
  // Clearing the journal is the moment the change counts.
  ok = ok && ClearJournal();
  if (!ok) {
    if (PlayBack(*fs_, folder_, entries)) {
      ClearJournal();  // if this fails too, the next open plays the journal back again
    } else {
      broken_ = true;  // the journal stays for the next open
    }
    if (locked) fs_->Unlock(readLockFd_);
    for (Plan& p : plans) {
      // A table rewritten whole was put back by name; its temporary is gone.
      if (p.newFd >= 0) {
        fs_->Close(p.newFd);
        p.newFd = -1;
      }
    }
    closeAll();
    Rollback();
    return Fail(broken_ ? kMsgTablesBroken : kMsgWriteFailed);
  }
  // A large journal (after a big replace) gives its space back.
  if (journal.size() > (1u << 20)) fs_->Truncate(journalFd_, 0);
  if (locked) fs_->Unlock(readLockFd_);
  for (Plan& p : plans) {
    Table& t = *p.table;
    if (p.newFd >= 0) {
      fs_->Close(t.fd_);
      t.fd_ = p.newFd;
    }
    if (p.indexFd >= 0) fs_->Close(p.indexFd);
    if (p.changed) {
      StampHeader(t.head_.data(), t.header_.recordCount, today);
      t.diskSize_ = p.newSize;
      t.diskCount_ = t.header_.recordCount;
      t.header_.hasEndMarker = true;
      t.EndTx();
      t.DropCache();
    }
    t.identity_ = p.identity;
    t.indexStale_ = false;
  }
  inTx_ = explicitTx_ = false;
  return Outcome::Ok();
}

}  // namespace brevika::tables
