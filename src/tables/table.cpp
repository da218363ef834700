#include "tables/table.h"

#include <algorithm>
#include <cstring>

#include "tables/database.h"

namespace brevika::tables {
namespace {

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

// Compares a probe with a record key over the probe's length (at most the width).
int ComparePrefix(const char* probe, std::size_t len, const char* key, std::size_t width) {
  const std::size_t n = std::min(len, width);
  return n == 0 ? 0 : std::memcmp(probe, key, n);
}

}  // namespace

bool Table::KeyLess::operator()(std::uint32_t a, std::uint32_t b) const {
  if (a == b) return false;
  const int c = std::memcmp(Key(a), Key(b), width);
  return c != 0 ? c < 0 : a < b;
}
bool Table::KeyLess::operator()(const Probe& p, std::uint32_t b) const {
  const int c = ComparePrefix(p.key, p.len, Key(b), width);
  return c != 0 ? c < 0 : p.rec < b;
}
bool Table::KeyLess::operator()(std::uint32_t a, const Probe& p) const {
  const int c = ComparePrefix(p.key, p.len, Key(a), width);
  return c != 0 ? c > 0 : a < p.rec;
}

Table::Table(Database* db, std::string fileName, std::string path)
    : db_(db), fileName_(std::move(fileName)), path_(std::move(path)) {}

Table::~Table() {
  if (fd_ >= 0) db_->fs().Close(fd_);
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
  return t ? header_.fields[static_cast<std::size_t>(t->field)].def.length : 0;
}

std::string Table::PadKey(std::string_view key) const {
  std::string k = Cp1252ToUtf8(Utf8ToCp1252(key));
  const std::size_t width = static_cast<std::size_t>(KeyWidth());
  const std::size_t bytes = Utf8ToCp1252(k).size();
  if (bytes < width) k.append(width - bytes, ' ');
  return k;
}

void Table::BuildTags() {
  for (auto& tag : tags_) {
    const FieldLayout& f = header_.fields[static_cast<std::size_t>(tag->field)];
    KeyLess less{this, f.offset, static_cast<std::uint32_t>(f.def.length)};
    std::vector<std::uint32_t> order(header_.recordCount);
    for (std::uint32_t i = 0; i < header_.recordCount; ++i) order[i] = i + 1;
    std::sort(order.begin(), order.end(), less);
    tag->keys = std::set<std::uint32_t, KeyLess>(less);
    for (std::uint32_t r : order) tag->keys.emplace_hint(tag->keys.end(), r);
  }
}

bool Table::InScope(std::uint32_t rec) const {
  if (!scope_) return true;
  const Tag* t = ActiveTag();
  if (!t) return true;
  const FieldLayout& f = header_.fields[static_cast<std::size_t>(t->field)];
  const char* key = Record(rec) + f.offset;
  const std::size_t w = static_cast<std::size_t>(f.def.length);
  return ComparePrefix(scope_->first.data(), scope_->first.size(), key, w) <= 0 &&
         ComparePrefix(scope_->second.data(), scope_->second.size(), key, w) >= 0;
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
  if (first) {
    auto it = scope_ ? t->keys.lower_bound(Probe{scope_->first.data(), scope_->first.size(), 0})
                     : t->keys.begin();
    for (; it != t->keys.end(); ++it) {
      if (!InScope(*it)) break;
      if (!IsDeleted(*it)) return SetCursor(*it);
    }
  } else {
    auto it = scope_ ? t->keys.upper_bound(Probe{scope_->second.data(), scope_->second.size(),
                                                 UINT32_MAX})
                     : t->keys.end();
    while (it != t->keys.begin()) {
      --it;
      if (!InScope(*it)) break;
      if (!IsDeleted(*it)) return SetCursor(*it);
    }
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
  std::uint32_t cur = rec_;
  if (!t) {
    while (steps > 0) {
      if (forward) {
        if (cur >= header_.recordCount) { cur = 0; break; }
        ++cur;
      } else {
        if (cur <= 1) { cur = 0; break; }
        --cur;
      }
      if (!IsDeleted(cur)) {
        last = cur;
        --steps;
      }
    }
  } else {
    auto it = t->keys.find(cur);
    while (steps > 0 && it != t->keys.end()) {
      if (forward) {
        ++it;
        if (it == t->keys.end()) break;
      } else {
        if (it == t->keys.begin()) { it = t->keys.end(); break; }
        --it;
      }
      if (!InScope(*it)) { it = t->keys.end(); break; }
      if (!IsDeleted(*it)) {
        last = *it;
        --steps;
      }
    }
    cur = steps == 0 ? last : 0;
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
  auto it = scope_ ? t->keys.lower_bound(Probe{scope_->first.data(), scope_->first.size(), 0})
                   : t->keys.begin();
  for (; it != t->keys.end() && InScope(*it); ++it) n += IsDeleted(*it) ? 0 : 1;
  return n;
}

bool Table::Seek(std::string_view key) {
  const Tag* t = ActiveTag();
  if (!t) {
    SetCursor(0);
    return false;
  }
  const std::string k = Utf8ToCp1252(key);
  const std::size_t width = static_cast<std::size_t>(t->keys.key_comp().width);
  const std::size_t len = std::min(k.size(), width);
  for (auto it = t->keys.lower_bound(Probe{k.data(), len, 0}); it != t->keys.end(); ++it) {
    if (ComparePrefix(k.data(), len, t->keys.key_comp().Key(*it), width) != 0) break;
    if (!IsDeleted(*it) && InScope(*it)) {
      SetCursor(*it);
      return true;
    }
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
  const std::string k = Utf8ToCp1252(key);
  const std::size_t len = std::min<std::size_t>(k.size(), t->keys.key_comp().width);
  for (auto it = t->keys.lower_bound(Probe{k.data(), len, 0}); it != t->keys.end(); ++it) {
    if (!InScope(*it)) break;
    if (!IsDeleted(*it)) {
      SetCursor(*it);
      return true;
    }
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

void Table::BeginTx() {
  TxState s;
  s.count = header_.recordCount;
  s.imageSize = image_.size();
  s.header.assign(image_.data(), 32);
  tx_ = std::move(s);
}

void Table::Remember(std::uint32_t rec) {
  if (!tx_ || tx_->baseline || rec > tx_->count) return;
  if (tx_->records.count(rec)) return;
  tx_->records.emplace(rec, std::string(Record(rec), header_.recordLength));
}

void Table::RollbackTx() {
  if (!tx_) return;
  if (tx_->baseline) {
    image_ = std::move(*tx_->baseline);
  } else {
    image_.resize(tx_->imageSize);
    image_.back() = kFileEnd;
    std::memcpy(image_.data(), tx_->header.data(), 32);
    for (const auto& [rec, bytes] : tx_->records) std::memcpy(Record(rec), bytes.data(), bytes.size());
  }
  header_.recordCount = tx_->count;
  tx_.reset();
  BuildTags();
  if (rec_ > header_.recordCount) SetCursor(0);
}

Outcome Table::Change(int field) {
  if (field < 0 || field >= static_cast<int>(header_.fields.size())) return NoField("#" + std::to_string(field));
  if (rec_ == 0) return Outcome::Refuse({"No current record.", BoxType::Error});
  Outcome o = db_->Join(*this);
  if (!o.ok()) return o;
  Remember(rec_);
  return o;
}

void Table::Write(int field, const char* bytes) {
  const FieldLayout& f = header_.fields[static_cast<std::size_t>(field)];
  std::vector<Tag*> keyed;
  for (auto& t : tags_)
    if (t->field == field) keyed.push_back(t.get());
  for (Tag* t : keyed) t->keys.erase(rec_);
  std::memcpy(Record(rec_) + f.offset, bytes, static_cast<std::size_t>(f.def.length));
  for (Tag* t : keyed) t->keys.insert(rec_);
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
  image_.back() = ' ';
  image_.resize(image_.size() + header_.recordLength, ' ');
  image_.back() = kFileEnd;
  const std::uint32_t rec = ++header_.recordCount;
  for (auto& t : tags_) t->keys.insert(rec);
  rec_ = rec;
  eof_ = bof_ = false;
  return o;
}

Outcome Table::BlankRecord() {
  if (rec_ == 0) return Outcome::Refuse({"No current record.", BoxType::Error});
  Outcome o = db_->Join(*this);
  if (!o.ok()) return o;
  Remember(rec_);
  for (auto& t : tags_) t->keys.erase(rec_);
  std::memset(Record(rec_) + 1, ' ', header_.recordLength - 1);
  for (auto& t : tags_) t->keys.insert(rec_);
  return o;
}

Outcome Table::Delete() {
  if (rec_ == 0) return Outcome::Refuse({"No current record.", BoxType::Error});
  Outcome o = db_->Join(*this);
  if (!o.ok()) return o;
  Remember(rec_);
  Record(rec_)[0] = kDeletedFlag;
  return o;
}

Outcome Table::Post() {
  if (db_->explicitTx_) return Outcome::Ok();
  return db_->CommitImplicit();
}

Outcome Table::Pack() {
  std::uint32_t live = 0;
  for (std::uint32_t r = 1; r <= header_.recordCount; ++r) live += IsDeleted(r) ? 0 : 1;
  if (live == header_.recordCount) {
    GoTop();
    return Outcome::Ok();
  }
  Outcome o = db_->Join(*this);
  if (!o.ok()) return o;
  if (!tx_->baseline) {
    // Keep the whole old image; record-by-record undo no longer applies.
    std::vector<char> old = image_;
    old.resize(tx_->imageSize);
    old.back() = kFileEnd;
    std::memcpy(old.data(), tx_->header.data(), 32);
    const std::size_t hl = header_.headerLength, rl = header_.recordLength;
    for (const auto& [rec, bytes] : tx_->records)
      std::memcpy(old.data() + hl + (rec - 1) * rl, bytes.data(), bytes.size());
    tx_->records.clear();
    tx_->baseline = std::move(old);
  }
  const std::size_t hl = header_.headerLength, rl = header_.recordLength;
  std::size_t out = hl;
  for (std::uint32_t r = 1; r <= header_.recordCount; ++r) {
    const std::size_t in = hl + (r - 1) * rl;
    if (image_[in] == kDeletedFlag) continue;
    if (out != in) std::memmove(image_.data() + out, image_.data() + in, rl);
    out += rl;
  }
  image_.resize(out + 1);
  image_.back() = kFileEnd;
  header_.recordCount = live;
  BuildTags();
  GoTop();
  return o;
}

}  // namespace brevika::tables
