#include "tables/database.h"

#include <fcntl.h>

#include <algorithm>
#include <cstring>
#include <ctime>

#include "tables/folder_file.h"
#include "tables/journal.h"

namespace brevika::tables {
namespace {

// A byte range of a table file that a commit writes.
struct Span {
  std::uint64_t offset, size;
};

struct Plan {
  Table* table;
  std::vector<Span> writes;
  std::uint64_t newSize;
};

void AddSpan(std::vector<Span>& spans, std::uint64_t offset, std::uint64_t size) {
  if (size == 0) return;
  if (!spans.empty() && spans.back().offset + spans.back().size == offset) {
    spans.back().size += size;
    return;
  }
  spans.push_back({offset, size});
}

}  // namespace

std::unique_ptr<Database> Database::Open(const std::string& folder, Outcome& outcome,
                                         DatabaseOptions options) {
  outcome = Outcome::Ok();
  std::unique_ptr<Database> db(new Database);
  db->folder_ = folder;
  db->fs_ = options.fs ? options.fs : &FileSystem::Default();
  db->today_ = std::move(options.today);
  FileSystem& fs = *db->fs_;

  // Nothing is opened or created while any name the engine uses is taken
  // by a link or something that is not a plain file.
  std::vector<std::string> names = {kLockName, kReadLockName, kJournalName};
  for (const std::string& table : options.tableFiles) {
    names.push_back(table);
    names.push_back(TempName(table));
  }
  for (const std::string& name : names) {
    const std::string problem = FolderFileProblem(fs, folder, name);
    if (!problem.empty()) {
      outcome = Outcome::Refuse({problem, BoxType::Error});
      return nullptr;
    }
  }
  std::string problem;
  auto refuse = [&] {
    outcome = Outcome::Refuse({problem.empty() ? kMsgTableOpenFailed : problem, BoxType::Error});
    return nullptr;
  };
  db->lockFd_ = OpenFolderFile(fs, folder, kLockName, O_RDWR | O_CREAT, problem);
  if (!problem.empty()) return refuse();
  db->writable_ = db->lockFd_ >= 0 && fs.Lock(db->lockFd_, true, false);
  db->readLockFd_ = OpenFolderFile(fs, folder, kReadLockName, O_RDWR | O_CREAT, problem);
  if (db->readLockFd_ < 0 && problem.empty())
    db->readLockFd_ = OpenFolderFile(fs, folder, kReadLockName, O_RDONLY, problem);
  if (!problem.empty()) return refuse();

  if (db->writable_) {
    const bool existed = fs.Exists(folder + "/" + kJournalName);
    db->journalFd_ = OpenFolderFile(fs, folder, kJournalName, O_RDWR | O_CREAT, problem);
    // A new journal's name must be durable before any change relies on it.
    if (db->journalFd_ < 0 || (!existed && !fs.SyncDir(folder)) || !db->RecoverJournal()) return refuse();
  } else if (JournalHot(fs, folder, problem)) {
    // The other copy is in the middle of a change: wait for it to end.
    if (db->readLockFd_ >= 0 && fs.Lock(db->readLockFd_, false, true)) fs.Unlock(db->readLockFd_);
    if (JournalHot(fs, folder, problem)) return refuse();
  }
  if (!problem.empty()) return refuse();
  return db;
}

Database::~Database() {
  if (inTx_) Rollback();
  tables_.clear();
  if (journalFd_ >= 0) fs_->Close(journalFd_);
  if (readLockFd_ >= 0) fs_->Close(readLockFd_);
  if (lockFd_ >= 0) fs_->Close(lockFd_);  // closing releases the lock
}

// Reads a whole journal file; empty when it can't be read.
static std::string ReadJournal(FileSystem& fs, int fd) {
  const std::int64_t size = fs.Size(fd);
  if (size <= 0) return {};
  std::string data(static_cast<std::size_t>(size), '\0');
  if (!fs.ReadAt(fd, 0, data.data(), data.size())) return {};
  return data;
}

bool Database::JournalHot(FileSystem& fs, const std::string& folder, std::string& problem) {
  const int fd = OpenFolderFile(fs, folder, kJournalName, O_RDONLY, problem);
  if (fd < 0) return false;
  const bool hot = DecodeJournal(ReadJournal(fs, fd)).has_value();
  fs.Close(fd);
  return hot;
}

// One byte, so the write can't be torn: the magic is gone or still whole.
bool Database::ClearJournal() {
  const char zero = 0;
  return fs_->WriteAt(journalFd_, 0, &zero, 1) && fs_->Sync(journalFd_);
}

bool Database::RecoverJournal() {
  const std::string data = ReadJournal(*fs_, journalFd_);
  const auto entries = DecodeJournal(data);
  // Anything but a whole journal was cut short before its sync ended, so no
  // table was touched yet.
  if (!entries) return true;
  const bool locked = readLockFd_ >= 0 && fs_->Lock(readLockFd_, true, true);
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

std::string TempName(const std::string& tableFile) { return tableFile + ".NEW"; }

Outcome Database::CreateEmpty(const TableDef& def) {
  std::vector<char> bytes = BuildHeader(def.fields, 0, Today());
  bytes.push_back(kFileEnd);
  // A temporary of its own, then renamed: the table appears only whole.
  const std::string temp = TempName(def.fileName);
  std::string problem;
  const int fd = CreateFolderFile(*fs_, folder_, temp, problem);
  if (!problem.empty()) return Fail(problem.c_str());
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
  const std::string path = folder_ + "/" + def.fileName;
  std::string problem = FolderFileProblem(*fs_, folder_, def.fileName);
  if (problem.empty() && fs_->KindOf(path) == FileKind::Missing) {
    if (!create || !writable_) {
      outcome = Fail(kMsgTableOpenFailed);
      return nullptr;
    }
    outcome = CreateEmpty(def);
    if (!outcome.ok()) return nullptr;
  }

  std::unique_ptr<Table> t(new Table(this, def.fileName, path));
  if (problem.empty()) t->fd_ = OpenFolderFile(*fs_, folder_, def.fileName, writable_ ? O_RDWR : O_RDONLY, problem);
  if (!problem.empty()) {
    outcome = Fail(problem.c_str());
    return nullptr;
  }
  bool ok = t->fd_ >= 0;
  // A reader waits for a change of the other copy to end before reading.
  const bool shared = ok && !writable_ && readLockFd_ >= 0 && fs_->Lock(readLockFd_, false, true);
  const std::int64_t size = ok ? fs_->Size(t->fd_) : -1;
  ok = ok && size >= 0 && static_cast<std::uint64_t>(size) < (std::uint64_t{1} << 40);
  if (ok) {
    t->image_.resize(static_cast<std::size_t>(size));
    ok = size == 0 || fs_->ReadAt(t->fd_, 0, t->image_.data(), t->image_.size());
  }
  if (shared) fs_->Unlock(readLockFd_);
  std::optional<DbfHeader> header;
  if (ok) header = ParseHeader(t->image_.data(), t->image_.size());
  ok = ok && header && HoldsFields(*header, def);
  if (ok) {
    t->header_ = *header;
    for (const TagDef& tag : def.tags) {
      const int f = t->FieldIndex(tag.expression);
      if (f < 0 || t->header_.fields[static_cast<std::size_t>(f)].def.type != FieldType::Character) {
        ok = false;
        break;
      }
      const FieldLayout& fl = t->header_.fields[static_cast<std::size_t>(f)];
      auto tg = std::make_unique<Table::Tag>(
          Table::KeyLess{t.get(), fl.offset, static_cast<std::uint32_t>(fl.def.length)});
      tg->name = tag.name;
      tg->expression = tag.expression;
      tg->field = f;
      t->tags_.push_back(std::move(tg));
    }
  }
  if (!ok) {
    outcome = Fail(kMsgTableOpenFailed);
    return nullptr;  // the table closes its file; nothing was written
  }
  t->diskSize_ = static_cast<std::uint64_t>(size);
  if (!t->header_.hasEndMarker) t->image_.push_back(kFileEnd);
  t->BuildTags();
  t->GoTop();
  Table* raw = t.get();
  tables_.emplace(def.fileName, std::move(t));
  return raw;
}

Outcome Database::Join(Table& table) {
  if (broken_) return Fail(kMsgTablesBroken);
  if (!writable_) return Outcome::Refuse({kMsgTablesInUse, BoxType::Error});
  if (!inTx_) {
    inTx_ = true;
    explicitTx_ = false;
  }
  if (!table.tx_) table.BeginTx();
  return Outcome::Ok();
}

Outcome Database::Begin() {
  if (broken_) return Fail(kMsgTablesBroken);
  if (!writable_) return Outcome::Refuse({kMsgTablesInUse, BoxType::Error});
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

  // What each changed table writes: its header, then changed records or
  // the tail from the first record that differs.
  std::vector<Plan> plans;
  for (auto& [name, tp] : tables_) {
    Table& t = *tp;
    if (!t.tx_) continue;
    StampHeader(t.image_.data(), t.header_.recordCount, today);
    Plan p{&t, {}, t.diskSize_};
    AddSpan(p.writes, 0, 32);
    const std::uint64_t hl = t.header_.headerLength, rl = t.header_.recordLength;
    if (t.tx_->baseline) {
      const std::vector<char>& old = *t.tx_->baseline;
      const std::size_t common = std::min(old.size(), t.image_.size());
      std::size_t first = hl;
      while (first < common && old[first] == t.image_[first]) ++first;
      if (first < t.image_.size() || old.size() != t.image_.size()) {
        AddSpan(p.writes, first, t.image_.size() - first);
        p.newSize = t.image_.size();
      }
    } else {
      for (const auto& [rec, bytes] : t.tx_->records)
        AddSpan(p.writes, hl + (rec - 1) * rl, rl);
      if (t.header_.recordCount != t.tx_->count) {
        const std::uint64_t tail = hl + std::uint64_t{t.tx_->count} * rl;
        AddSpan(p.writes, tail, t.image_.size() - tail);
        p.newSize = t.image_.size();
      }
    }
    plans.push_back(std::move(p));
  }

  // The journal: old length and the old bytes under every write.
  std::vector<JournalEntry> entries;
  for (const Plan& p : plans) {
    JournalEntry e{p.table->fileName_, p.table->diskSize_, {}};
    std::vector<Span> saved = p.writes;
    // Cutting the file short loses the bytes past its new end: keep them too.
    if (p.newSize < p.table->diskSize_) saved.push_back({p.newSize, p.table->diskSize_ - p.newSize});
    for (const Span& s : saved) {
      if (s.offset >= p.table->diskSize_) continue;
      const std::uint64_t n = std::min(s.size, p.table->diskSize_ - s.offset);
      JournalRange r{s.offset, std::string(static_cast<std::size_t>(n), '\0')};
      if (!fs_->ReadAt(p.table->fd_, s.offset, r.bytes.data(), r.bytes.size())) {
        Rollback();
        return Fail(kMsgWriteFailed);
      }
      e.ranges.push_back(std::move(r));
    }
    entries.push_back(std::move(e));
  }
  const std::string journal = EncodeJournal(entries);
  if (!fs_->WriteAt(journalFd_, 0, journal.data(), journal.size()) || !fs_->Sync(journalFd_)) {
    // No table was touched; the journal is cleared so it is not played back.
    ClearJournal();
    Rollback();
    return Fail(kMsgWriteFailed);
  }

  const bool locked = readLockFd_ >= 0 && fs_->Lock(readLockFd_, true, true);
  bool ok = true;
  for (const Plan& p : plans) {
    Table& t = *p.table;
    for (const Span& s : p.writes)
      ok = ok && fs_->WriteAt(t.fd_, s.offset, t.image_.data() + s.offset, s.size);
    if (ok && p.newSize < t.diskSize_) ok = fs_->Truncate(t.fd_, p.newSize);
    ok = ok && fs_->Sync(t.fd_);
    if (!ok) break;
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
    Rollback();
    return Fail(broken_ ? kMsgTablesBroken : kMsgWriteFailed);
  }
  // A large journal (after a pack) gives its space back.
  if (journal.size() > (1u << 20)) fs_->Truncate(journalFd_, 0);
  if (locked) fs_->Unlock(readLockFd_);
  for (const Plan& p : plans) {
    p.table->diskSize_ = p.newSize;
    p.table->EndTx();
  }
  inTx_ = explicitTx_ = false;
  return Outcome::Ok();
}

}  // namespace brevika::tables
