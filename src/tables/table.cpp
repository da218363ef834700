#include "tables/table.h"

#include <fcntl.h>

#include <algorithm>
#include <cstring>

#include "tables/database.h"
#include "tables/folder_file.h"

namespace brevika::tables {
namespace {

constexpr std::size_t kPageBytes = 64 * 1024;
constexpr std::size_t kMaxPages = 32;
// The longest header a dBase III table can have: 255 fields.
constexpr std::size_t kMaxHeader = 32 + 255 * 32 + 1;
// Index files larger than this are not read (their keys could take more
// memory than the tags may); the tags are made from the table instead.
constexpr std::int64_t kMaxIndexBytes = 8 << 20;
// Memory the tags of one table may take: a key costs about 128 bytes, a
// run 8. A table whose tags would need more is refused.
constexpr std::size_t kMaxTagBytes = 48u << 20;

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

Outcome NoField(std::string_view name) {
  return Outcome::Refuse({"No field " + std::string(name) + ".", BoxType::Error});
}

// Compares a probe with a key over the probe's length (at most the key's).
int ComparePrefix(std::string_view probe, std::string_view key) {
  const std::size_t n = std::min(probe.size(), key.size());
  return n == 0 ? 0 : std::memcmp(probe.data(), key.data(), n);
}

// The run of `runs` holding `rec`, or end.
std::vector<Run>::const_iterator RunOf(const std::vector<Run>& runs, std::uint32_t rec) {
  auto it = std::upper_bound(runs.begin(), runs.end(), rec,
                             [](std::uint32_t r, const Run& run) { return r < run.first; });
  if (it == runs.begin()) return runs.end();
  --it;
  return rec < it->first + it->count ? it : runs.end();
}

}  // namespace

Table::Table(Database* db, std::string fileName) : db_(db), fileName_(std::move(fileName)) {}

Table::~Table() {
  if (fd_ >= 0) db_->fs().Close(fd_);
}

// ---- loading

bool Table::Load(const TableDef& def, bool mayWriteIndex) {
  FileSystem& fs = db_->fs();
  DropCache();
  tags_.clear();
  diskDeleted_ = RecordSet();
  indexStale_ = false;
  def_ = &def;
  if (absent_) {
    const std::vector<char> bytes = BuildHeader(def.fields, 0, MakeDate(1, 1, 2000));
    header_ = *ParseHeader(bytes.data(), bytes.size(), bytes.size(), '\0');
    diskCount_ = 0;
    head_.assign(bytes.data(), bytes.size());
  } else {
    if (!fs.Identify(fd_, identity_)) return false;
    diskSize_ = identity_.size;
    // The header first: nothing more is read from a file it does not fit.
    char first[32];
    if (diskSize_ < sizeof first || !fs.ReadAt(fd_, 0, first, sizeof first)) return false;
    const std::size_t length = HeaderLengthOf(first);
    if (length < 32 || length > kMaxHeader || length > diskSize_) return false;
    std::vector<char> head(length);
    char last = 0;
    if (!fs.ReadAt(fd_, 0, head.data(), length) || !fs.ReadAt(fd_, diskSize_ - 1, &last, 1)) return false;
    const auto header = ParseHeader(head.data(), length, diskSize_, last);
    if (!header || !SameLayout(*header, def)) return false;
    header_ = *header;
    diskCount_ = header_.recordCount;
    head_.assign(head.data(), head.size());
  }
  perPage_ = std::max<std::uint32_t>(1, static_cast<std::uint32_t>(kPageBytes / header_.recordLength));
  for (const TagDef& tag : def.tags) {
    const int f = FieldIndex(tag.expression);
    if (f < 0 || header_.fields[static_cast<std::size_t>(f)].def.type != FieldType::Character) return false;
    auto t = std::make_unique<Tag>();
    t->name = tag.name;
    t->expression = tag.expression;
    t->field = f;
    t->offset = header_.fields[static_cast<std::size_t>(f)].offset;
    t->width = static_cast<std::uint32_t>(header_.fields[static_cast<std::size_t>(f)].def.length);
    tags_.push_back(std::move(t));
  }
  if (absent_) return true;
  if (!tags_.empty() && LoadIndex()) return true;
  if (!BuildIndex(true)) return false;
  indexStale_ = mayWriteIndex && !tags_.empty();
  return true;
}

bool Table::LoadIndex() {
  FileSystem& fs = db_->fs();
  std::string problem;
  const int fd = OpenFolderFile(fs, db_->folder(), IndexName(fileName_), O_RDONLY, problem);
  if (fd < 0) return false;
  const std::int64_t size = fs.Size(fd);
  std::string data;
  if (size > 0 && size <= kMaxIndexBytes) {
    data.resize(static_cast<std::size_t>(size));
    if (!fs.ReadAt(fd, 0, data.data(), data.size())) data.clear();
  }
  fs.Close(fd);
  auto index = DecodeIndex(data);
  if (!index || !(index->table == identity_) || index->recordCount != diskCount_ ||
      index->tags.size() != tags_.size())
    return false;
  for (std::size_t i = 0; i < tags_.size(); ++i) {
    const IndexTag& it = index->tags[i];
    if (it.name != tags_[i]->name || it.field != tags_[i]->expression || it.width != tags_[i]->width) return false;
  }
  for (std::size_t i = 0; i < tags_.size(); ++i) tags_[i]->runs = std::move(index->tags[i].runs);
  diskDeleted_ = std::move(index->deleted);
  return true;
}

bool Table::BuildIndex(bool loading) {
  for (auto& t : tags_) t->runs = KeyRuns();
  if (loading) diskDeleted_ = RecordSet();
  std::size_t bytes = 0;
  for (std::uint32_t r = 1; r <= header_.recordCount; ++r) {
    const char* rec = Record(r);
    if (loading && rec[0] == kDeletedFlag) diskDeleted_.Add(r);
    else if (loading && rec[0] != kLiveFlag) return false;
    for (auto& t : tags_) t->runs.Add(std::string(rec + t->offset, t->width), r);
    if ((r & 0x3FFF) == 0) {
      bytes = diskDeleted_.runCount() * 48;
      for (auto& t : tags_) bytes += t->runs.keys().size() * 128 + t->runs.runCount() * 8;
      if (bytes > kMaxTagBytes) return false;
    }
  }
  return true;
}

IndexImage Table::IndexOf(const FileIdentity& identity) const {
  IndexImage index;
  index.table = identity;
  index.recordCount = header_.recordCount;
  index.deleted = diskDeleted_;
  for (const auto& t : tags_) index.tags.push_back(IndexTag{t->name, t->expression, t->width, t->runs});
  return index;
}

void Table::DropCache() {
  pages_.clear();
  scratch_.clear();
}

// ---- records

const char* Table::DiskRecord(std::uint32_t rec) const {
  const std::uint32_t first = (rec - 1) / perPage_ * perPage_ + 1;
  const std::size_t rl = header_.recordLength;
  for (auto it = pages_.begin(); it != pages_.end(); ++it) {
    if (it->first != first) continue;
    if (it != pages_.begin()) pages_.splice(pages_.begin(), pages_, it);
    return pages_.front().bytes.data() + (rec - first) * rl;
  }
  const std::uint32_t count = std::min(perPage_, diskCount_ - first + 1);
  Page page{first, std::vector<char>(count * rl)};
  if (!db_->fs().ReadAt(fd_, header_.headerLength + std::uint64_t{first - 1} * rl, page.bytes.data(),
                        page.bytes.size())) {
    // A file that can't be read shows blank records; nothing is written from them.
    scratch_.assign(rl, ' ');
    return scratch_.data();
  }
  pages_.push_front(std::move(page));
  if (pages_.size() > kMaxPages) pages_.pop_back();
  return pages_.front().bytes.data() + (rec - first) * rl;
}

std::uint32_t Table::SourceOf(std::uint32_t rec) const {
  std::uint32_t old = rec;
  for (const Run& run : tx_->packRemoved) {
    if (run.first > old) break;
    old += run.count;
  }
  return old;
}

const char* Table::Record(std::uint32_t rec) const {
  const bool packed = tx_ && tx_->packed;
  if (packed) rec = SourceOf(rec);
  if (!dirty_.empty()) {
    const auto it = dirty_.find(rec);
    if (it != dirty_.end()) return it->second.data();
  }
  const char* d = DiskRecord(rec);
  // Only this transaction's marks are laid over the file; the file's own
  // deletion flags are read as they are.
  if (!packed && tx_ && d[0] != kDeletedFlag && tx_->deletedNow.Contains(rec)) {
    scratch_.assign(d, header_.recordLength);
    scratch_[0] = kDeletedFlag;
    return scratch_.data();
  }
  return d;
}

std::string Table::KeyOf(const Tag& tag, std::uint32_t rec) const {
  return std::string(Record(rec) + tag.offset, tag.width);
}

int Table::FieldIndex(std::string_view name) const {
  for (std::size_t i = 0; i < header_.fields.size(); ++i)
    if (SameName(header_.fields[i].def.name, name)) return static_cast<int>(i);
  return -1;
}

int Table::TagArea(std::string_view tagName) const {
  for (std::size_t i = 0; i < tags_.size(); ++i)
    if (SameName(tags_[i]->name, tagName)) return static_cast<int>(i) + 1;
  return 0;
}

void Table::SetOrder(int order) {
  order_ = (order >= 1 && order <= static_cast<int>(tags_.size())) ? order : 0;
  scope_.reset();
}

const Table::Tag* Table::ActiveTag() const {
  return order_ == 0 ? nullptr : tags_[static_cast<std::size_t>(order_ - 1)].get();
}

std::string Table::IndexKey() const {
  const Tag* t = ActiveTag();
  return t ? t->expression : std::string();
}

std::string Table::EvalString(std::string_view expression) const {
  const int f = FieldIndex(expression);
  return f < 0 ? std::string() : GetString(f);
}

int Table::KeyWidth() const {
  const Tag* t = ActiveTag();
  return t ? static_cast<int>(t->width) : 0;
}

std::string Table::PadKey(std::string_view key) const {
  std::string k = Cp1252ToUtf8(Utf8ToCp1252(key));
  const std::size_t width = static_cast<std::size_t>(KeyWidth());
  const std::size_t bytes = Utf8ToCp1252(k).size();
  if (bytes < width) k.append(width - bytes, ' ');
  return k;
}

// ---- navigation over a tag

bool Table::InScope(const std::string& key) const {
  if (!scope_) return true;
  return ComparePrefix(scope_->first, key) <= 0 && ComparePrefix(scope_->second, key) >= 0;
}

bool Table::Verify(const Tag& tag, const std::string& key, std::uint32_t rec) const {
  if (KeyOf(tag, rec) == key) return true;
  // The index did not describe the table after all: made again from it.
  const_cast<Table*>(this)->BuildIndex(false);
  const_cast<Table*>(this)->indexStale_ = db_->writable();
  return false;
}

std::uint32_t Table::Step(const Tag& tag, std::string& key, std::uint32_t rec, bool forward) const {
  const KeyRuns::Map& keys = tag.runs.keys();
  auto k = keys.find(key);
  if (k == keys.end()) return 0;
  const auto run = RunOf(k->second, rec);
  if (run == k->second.end()) return 0;
  if (forward) {
    if (rec + 1 < run->first + run->count) return rec + 1;
    if (std::next(run) != k->second.end()) return std::next(run)->first;
    if (++k == keys.end()) return 0;
    key = k->first;
    return k->second.front().first;
  }
  if (rec > run->first) return rec - 1;
  if (run != k->second.begin()) {
    const Run& prev = *std::prev(run);
    return prev.first + prev.count - 1;
  }
  if (k == keys.begin()) return 0;
  --k;
  key = k->first;
  const Run& last = k->second.back();
  return last.first + last.count - 1;
}

std::uint32_t Table::LowerBound(const Tag& tag, std::string_view probe, std::string& key) const {
  const KeyRuns::Map& keys = tag.runs.keys();
  const std::string p(probe.substr(0, std::min<std::size_t>(probe.size(), tag.width)));
  auto k = keys.lower_bound(p);
  if (k == keys.end()) return 0;
  key = k->first;
  return k->second.front().first;
}

void Table::SetCursor(std::uint32_t rec) {
  rec_ = rec;
  eof_ = rec == 0;
  bof_ = rec == 0;
}

void Table::MoveTo(bool first) {
  const Tag* t = ActiveTag();
  if (!t) {
    if (first) {
      for (std::uint32_t r = 1; r <= header_.recordCount; ++r)
        if (!IsDeleted(r)) return SetCursor(r);
    } else {
      for (std::uint32_t r = header_.recordCount; r >= 1; --r)
        if (!IsDeleted(r)) return SetCursor(r);
    }
    return SetCursor(0);
  }
  for (int attempt = 0; attempt < 2; ++attempt) {
    std::string key;
    std::uint32_t r = 0;
    const KeyRuns::Map& keys = t->runs.keys();
    if (first) {
      r = scope_ ? LowerBound(*t, scope_->first, key) : (keys.empty() ? 0 : keys.begin()->second.front().first);
      if (!scope_ && r) key = keys.begin()->first;
    } else {
      // The last key within the scope's high end.
      auto k = keys.end();
      if (scope_) {
        const std::string& high = scope_->second;
        k = keys.upper_bound(high);
        while (k != keys.end() && ComparePrefix(high, k->first) == 0) ++k;
      }
      if (k != keys.begin()) {
        --k;
        key = k->first;
        r = k->second.back().first + k->second.back().count - 1;
      }
    }
    bool restart = false;
    while (r != 0 && InScope(key)) {
      if (!Verify(*t, key, r)) {
        restart = true;
        break;
      }
      if (!IsDeleted(r)) return SetCursor(r);
      r = Step(*t, key, r, first);
    }
    if (!restart) break;
  }
  SetCursor(0);
}

void Table::GoTop() { MoveTo(true); }
void Table::GoBottom() { MoveTo(false); }

bool Table::Skip(int count) {
  if (count == 0) return rec_ != 0;
  const Tag* t = ActiveTag();
  const bool forward = count > 0;
  int steps = forward ? count : -count;
  if (rec_ == 0) {
    if (forward) return false;  // already past the end
    GoBottom();
    if (rec_ == 0) {
      bof_ = true;
      return false;
    }
    --steps;
  }
  std::uint32_t last = rec_;
  if (!t) {
    std::uint32_t cur = rec_;
    while (steps > 0) {
      if (forward) {
        if (cur >= header_.recordCount) break;
        ++cur;
      } else {
        if (cur <= 1) break;
        --cur;
      }
      if (!IsDeleted(cur)) {
        last = cur;
        --steps;
      }
    }
  } else {
    std::string key = KeyOf(*t, rec_);
    std::uint32_t cur = rec_;
    while (steps > 0) {
      cur = Step(*t, key, cur, forward);
      if (cur == 0 || !InScope(key)) break;
      if (!Verify(*t, key, cur)) {
        // Made again from the table: carry on from the last good record.
        key = KeyOf(*t, last);
        cur = last;
        continue;
      }
      if (!IsDeleted(cur)) {
        last = cur;
        --steps;
      }
    }
  }
  if (steps == 0) {
    rec_ = last;
    eof_ = bof_ = false;
    return true;
  }
  if (forward) {
    SetCursor(0);
    eof_ = true;
    bof_ = false;
  } else {
    // Ran off the top: stay on the first visible record.
    rec_ = last;
    eof_ = false;
    bof_ = true;
  }
  return false;
}

bool Table::Go(std::uint32_t recno) {
  if (recno < 1 || recno > header_.recordCount) {
    SetCursor(0);
    return false;
  }
  rec_ = recno;
  eof_ = bof_ = false;
  return true;
}

bool Table::Deleted() const { return rec_ != 0 && IsDeleted(rec_); }

std::uint32_t Table::KeyCount() const {
  const Tag* t = ActiveTag();
  std::uint32_t n = 0;
  if (!t) {
    for (std::uint32_t r = 1; r <= header_.recordCount; ++r) n += IsDeleted(r) ? 0 : 1;
    return n;
  }
  std::string key;
  std::uint32_t r = scope_ ? LowerBound(*t, scope_->first, key) : 0;
  if (!scope_ && !t->runs.keys().empty()) {
    key = t->runs.keys().begin()->first;
    r = t->runs.keys().begin()->second.front().first;
  }
  for (; r != 0 && InScope(key); r = Step(*t, key, r, true)) n += IsDeleted(r) ? 0 : 1;
  return n;
}

bool Table::Seek(std::string_view key) {
  const Tag* t = ActiveTag();
  if (!t) {
    SetCursor(0);
    return false;
  }
  const std::string probe = Utf8ToCp1252(key).substr(0, t->width);
  for (int attempt = 0; attempt < 2; ++attempt) {
    std::string k;
    std::uint32_t r = LowerBound(*t, probe, k);
    bool restart = false;
    while (r != 0 && ComparePrefix(probe, k) == 0) {
      if (!Verify(*t, k, r)) {
        restart = true;
        break;
      }
      if (!IsDeleted(r) && InScope(k)) {
        SetCursor(r);
        return true;
      }
      r = Step(*t, k, r, true);
    }
    if (!restart) break;
  }
  SetCursor(0);
  return false;
}

bool Table::SoftSeek(std::string_view key) {
  const Tag* t = ActiveTag();
  if (!t) {
    SetCursor(0);
    return false;
  }
  const std::string probe = Utf8ToCp1252(key);
  for (int attempt = 0; attempt < 2; ++attempt) {
    std::string k;
    std::uint32_t r = LowerBound(*t, probe, k);
    bool restart = false;
    while (r != 0 && InScope(k)) {
      if (!Verify(*t, k, r)) {
        restart = true;
        break;
      }
      if (!IsDeleted(r)) {
        SetCursor(r);
        return true;
      }
      r = Step(*t, k, r, true);
    }
    if (!restart) break;
  }
  SetCursor(0);
  return false;
}

bool Table::SetScope(std::string_view low, std::string_view high) {
  if (!ActiveTag()) return false;
  scope_ = std::make_pair(Utf8ToCp1252(low), Utf8ToCp1252(high));
  GoTop();
  return true;
}

void Table::ClearScope() { scope_.reset(); }

// ---- fields

std::string_view Table::Raw(int field) const {
  const FieldLayout& f = header_.fields[static_cast<std::size_t>(field)];
  if (rec_ == 0) return {};
  return std::string_view(Record(rec_) + f.offset, static_cast<std::size_t>(f.def.length));
}

std::string Table::GetString(int field) const {
  if (field < 0 || field >= static_cast<int>(header_.fields.size())) return {};
  const std::size_t width = static_cast<std::size_t>(header_.fields[static_cast<std::size_t>(field)].def.length);
  if (rec_ == 0) return std::string(width, ' ');
  return Cp1252ToUtf8(Raw(field));
}

std::string Table::GetTrimString(int field) const {
  if (field < 0 || field >= static_cast<int>(header_.fields.size()) || rec_ == 0) return {};
  std::string_view raw = Raw(field);
  while (!raw.empty() && raw.back() == ' ') raw.remove_suffix(1);
  return Cp1252ToUtf8(raw);
}

double Table::GetNumber(int field) const {
  if (field < 0 || field >= static_cast<int>(header_.fields.size()) || rec_ == 0) return 0;
  return ParseNumber(Raw(field));
}

Date Table::GetDate(int field) const {
  if (field < 0 || field >= static_cast<int>(header_.fields.size()) || rec_ == 0) return kBadDate;
  return ParseDate(Raw(field));
}

bool Table::GetLogical(int field) const {
  if (field < 0 || field >= static_cast<int>(header_.fields.size()) || rec_ == 0) return false;
  const char c = Raw(field)[0];
  return c == 'T' || c == 't' || c == 'Y' || c == 'y';
}

std::string Table::GetString(std::string_view f) const { return GetString(FieldIndex(f)); }
std::string Table::GetTrimString(std::string_view f) const { return GetTrimString(FieldIndex(f)); }
double Table::GetNumber(std::string_view f) const { return GetNumber(FieldIndex(f)); }
Date Table::GetDate(std::string_view f) const { return GetDate(FieldIndex(f)); }
bool Table::GetLogical(std::string_view f) const { return GetLogical(FieldIndex(f)); }

// ---- changes

void Table::BeginTx() {
  TxState s;
  s.count = header_.recordCount;
  for (const auto& t : tags_) s.tags.push_back(t->runs);
  s.diskDeleted = diskDeleted_;
  tx_ = std::move(s);
}

void Table::RollbackTx() {
  if (!tx_) return;
  header_.recordCount = tx_->count;
  for (std::size_t i = 0; i < tags_.size(); ++i) tags_[i]->runs = std::move(tx_->tags[i]);
  diskDeleted_ = std::move(tx_->diskDeleted);
  dirty_.clear();
  tx_.reset();
  scratch_.clear();
  if (rec_ > header_.recordCount) SetCursor(0);
}

void Table::EndTx() {
  tx_.reset();
  dirty_.clear();
}

Outcome Table::Change(int field) {
  if (field < 0 || field >= static_cast<int>(header_.fields.size()))
    return NoField(std::string(1, '#').append(std::to_string(field)));
  if (rec_ == 0) return Outcome::Refuse({"No current record.", BoxType::Error});
  return db_->Join(*this);
}

char* Table::Touch(std::uint32_t rec) {
  auto it = dirty_.find(rec);
  if (it == dirty_.end()) it = dirty_.emplace(rec, std::string(Record(rec), header_.recordLength)).first;
  return it->second.data();
}

void Table::Write(int field, const char* bytes) {
  const FieldLayout& f = header_.fields[static_cast<std::size_t>(field)];
  char* rec = Touch(rec_);
  for (auto& t : tags_) {
    if (t->field != field) continue;
    t->runs.Remove(std::string(rec + t->offset, t->width), rec_);
    t->runs.Add(std::string(bytes, t->width), rec_);
  }
  std::memcpy(rec + f.offset, bytes, static_cast<std::size_t>(f.def.length));
}

Outcome Table::ReplaceString(int field, std::string_view text) {
  if (field < 0 || field >= static_cast<int>(header_.fields.size()) ||
      header_.fields[static_cast<std::size_t>(field)].def.type != FieldType::Character)
    return NoField(field < 0 ? std::string("?") : header_.fields[static_cast<std::size_t>(field)].def.name);
  Outcome o = Change(field);
  if (!o.ok()) return o;
  const std::size_t width = static_cast<std::size_t>(header_.fields[static_cast<std::size_t>(field)].def.length);
  std::string bytes = Utf8ToCp1252(text);
  bytes.resize(width, ' ');
  Write(field, bytes.data());
  return o;
}

Outcome Table::ReplaceNumber(int field, double value) {
  if (field < 0 || field >= static_cast<int>(header_.fields.size()) ||
      header_.fields[static_cast<std::size_t>(field)].def.type != FieldType::Numeric)
    return NoField(field < 0 ? std::string("?") : header_.fields[static_cast<std::size_t>(field)].def.name);
  const FieldDef& d = header_.fields[static_cast<std::size_t>(field)].def;
  char buf[32];
  if (!FormatNumber(value, d.length, d.decimals, buf))
    return Outcome::Refuse({"The value is too large for the field " + d.name + ".", BoxType::Error});
  Outcome o = Change(field);
  if (!o.ok()) return o;
  Write(field, buf);
  return o;
}

Outcome Table::ReplaceDate(int field, Date date) {
  if (field < 0 || field >= static_cast<int>(header_.fields.size()) ||
      header_.fields[static_cast<std::size_t>(field)].def.type != FieldType::Date)
    return NoField(field < 0 ? std::string("?") : header_.fields[static_cast<std::size_t>(field)].def.name);
  Outcome o = Change(field);
  if (!o.ok()) return o;
  char buf[8];
  FormatDate(date, buf);
  Write(field, buf);
  return o;
}

Outcome Table::ReplaceLogical(int field, bool value) {
  if (field < 0 || field >= static_cast<int>(header_.fields.size()) ||
      header_.fields[static_cast<std::size_t>(field)].def.type != FieldType::Logical)
    return NoField(field < 0 ? std::string("?") : header_.fields[static_cast<std::size_t>(field)].def.name);
  Outcome o = Change(field);
  if (!o.ok()) return o;
  const char c = value ? 'T' : 'F';
  Write(field, &c);
  return o;
}

Outcome Table::ReplaceString(std::string_view f, std::string_view text) {
  const int i = FieldIndex(f);
  return i < 0 ? NoField(f) : ReplaceString(i, text);
}
Outcome Table::ReplaceNumber(std::string_view f, double value) {
  const int i = FieldIndex(f);
  return i < 0 ? NoField(f) : ReplaceNumber(i, value);
}
Outcome Table::ReplaceDate(std::string_view f, Date date) {
  const int i = FieldIndex(f);
  return i < 0 ? NoField(f) : ReplaceDate(i, date);
}
Outcome Table::ReplaceLogical(std::string_view f, bool value) {
  const int i = FieldIndex(f);
  return i < 0 ? NoField(f) : ReplaceLogical(i, value);
}

Outcome Table::AppendBlank() {
  Outcome o = db_->Join(*this);
  if (!o.ok()) return o;
  if (header_.recordCount == UINT32_MAX) return Outcome::Refuse({kMsgWriteFailed, BoxType::Error});
  const std::uint32_t rec = ++header_.recordCount;
  std::string& bytes = dirty_[rec];
  bytes.assign(header_.recordLength, ' ');
  for (auto& t : tags_) t->runs.Add(std::string(t->width, ' '), rec);
  rec_ = rec;
  eof_ = bof_ = false;
  return o;
}

Outcome Table::BlankRecord() {
  if (rec_ == 0) return Outcome::Refuse({"No current record.", BoxType::Error});
  Outcome o = db_->Join(*this);
  if (!o.ok()) return o;
  char* rec = Touch(rec_);
  for (auto& t : tags_) {
    t->runs.Remove(std::string(rec + t->offset, t->width), rec_);
    t->runs.Add(std::string(t->width, ' '), rec_);
  }
  std::memset(rec + 1, ' ', header_.recordLength - 1);
  return o;
}

Outcome Table::Delete() {
  if (rec_ == 0) return Outcome::Refuse({"No current record.", BoxType::Error});
  Outcome o = db_->Join(*this);
  if (!o.ok()) return o;
  // A record not changed otherwise is only marked; its bytes stay on disk.
  const auto it = dirty_.find(rec_);
  if (it != dirty_.end()) it->second[0] = kDeletedFlag;
  diskDeleted_.Add(rec_);
  tx_->deletedNow.Add(rec_);
  return o;
}

Outcome Table::Post() {
  if (db_->explicitTx_) return Outcome::Ok();
  return db_->CommitImplicit();
}

Outcome Table::Pack() {
  if (diskDeleted_.empty()) {
    GoTop();
    return Outcome::Ok();
  }
  Outcome o = db_->Join(*this);
  if (!o.ok()) return o;
  // Records the index file has as deleted in the file are removed only when
  // the file says so too.
  for (const Run& run : tx_->diskDeleted.Runs())
    for (std::uint32_t r = run.first; r - run.first < run.count; ++r)
      if (!tx_->deletedNow.Contains(r) && r <= diskCount_ && DiskRecord(r)[0] != kDeletedFlag) diskDeleted_.Remove(r);
  if (diskDeleted_.empty()) {
    GoTop();
    return o;
  }
  // New numbers: each record moves down by the removed records before it.
  const std::vector<Run> removed = diskDeleted_.Runs();
  std::vector<std::uint64_t> before(removed.size() + 1, 0);
  for (std::size_t i = 0; i < removed.size(); ++i) before[i + 1] = before[i] + removed[i].count;
  for (auto& t : tags_) {
    KeyRuns renumbered;
    for (const auto& [key, runs] : t->runs.keys()) {
      std::vector<Run> out;
      for (const Run& run : runs) {
        std::uint32_t a = run.first;
        const std::uint64_t end = std::uint64_t{run.first} + run.count;  // one past
        // Removed runs overlapping [a, end).
        auto i = static_cast<std::size_t>(
            std::upper_bound(removed.begin(), removed.end(), a, [](std::uint32_t r, const Run& x) { return r < x.first; }) -
            removed.begin());
        if (i > 0 && std::uint64_t{removed[i - 1].first} + removed[i - 1].count > a) --i;
        while (a < end) {
          std::uint64_t liveEnd = end;
          if (i < removed.size() && removed[i].first < end) liveEnd = std::max<std::uint64_t>(a, removed[i].first);
          if (liveEnd > a) {
            // Removed records before a: the runs wholly before it.
            const std::uint64_t shift = before[i];
            const std::uint32_t first = static_cast<std::uint32_t>(a - shift);
            const std::uint32_t count = static_cast<std::uint32_t>(liveEnd - a);
            if (!out.empty() && out.back().first + out.back().count == first) out.back().count += count;
            else out.push_back({first, count});
          }
          if (i < removed.size() && removed[i].first < end) {
            a = static_cast<std::uint32_t>(std::min<std::uint64_t>(end, std::uint64_t{removed[i].first} + removed[i].count));
            ++i;
          } else {
            a = static_cast<std::uint32_t>(end);
          }
        }
      }
      if (!out.empty()) renumbered.keys().emplace_hint(renumbered.keys().end(), key, std::move(out));
    }
    renumbered.Recount();
    t->runs = std::move(renumbered);
  }
  tx_->packed = true;
  tx_->packRemoved = removed;
  header_.recordCount -= static_cast<std::uint32_t>(before.back());
  diskDeleted_ = RecordSet();
  GoTop();
  return o;
}

}  // namespace brevika::tables
