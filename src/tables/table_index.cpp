#include "tables/table_index.h"

#include <algorithm>
#include <cstring>

#include "tables/byte_codec.h"

namespace brevika::tables {
namespace {

constexpr char kMagic[8] = {'B', 'R', 'V', 'K', 'I', 'D', 'X', '1'};

// Runs ascending, apart and within 1..count.
bool SaneRuns(const std::vector<Run>& runs, std::uint32_t count) {
  std::uint64_t next = 1;
  for (const Run& r : runs) {
    if (r.count == 0 || r.first < next || std::uint64_t{r.first} + r.count - 1 > count) return false;
    next = std::uint64_t{r.first} + r.count + 1;
  }
  return true;
}

}  // namespace

// ---- RecordSet

bool RecordSet::Contains(std::uint32_t rec) const {
  auto it = spans_.upper_bound(rec);
  if (it == spans_.begin()) return false;
  --it;
  return rec <= it->second;
}

void RecordSet::Add(std::uint32_t rec) { AddRun(rec, 1); }

void RecordSet::AddRun(std::uint32_t first, std::uint32_t count) {
  if (count == 0) return;
  std::uint32_t lo = first, hi = first + count - 1;
  auto it = spans_.upper_bound(lo);
  if (it != spans_.begin()) {
    auto prev = std::prev(it);
    if (std::uint64_t{prev->second} + 1 >= lo) {
      lo = prev->first;
      hi = std::max(hi, prev->second);
      it = spans_.erase(prev);
    }
  }
  while (it != spans_.end() && std::uint64_t{hi} + 1 >= it->first) {
    hi = std::max(hi, it->second);
    it = spans_.erase(it);
  }
  spans_.emplace(lo, hi);
}

void RecordSet::Remove(std::uint32_t rec) {
  auto it = spans_.upper_bound(rec);
  if (it == spans_.begin()) return;
  --it;
  if (rec > it->second) return;
  const std::uint32_t lo = it->first, hi = it->second;
  spans_.erase(it);
  if (lo < rec) spans_.emplace(lo, rec - 1);
  if (rec < hi) spans_.emplace(rec + 1, hi);
}

std::uint64_t RecordSet::size() const {
  std::uint64_t n = 0;
  for (const auto& [lo, hi] : spans_) n += std::uint64_t{hi} - lo + 1;
  return n;
}

std::vector<Run> RecordSet::Runs() const {
  std::vector<Run> out;
  out.reserve(spans_.size());
  for (const auto& [lo, hi] : spans_) out.push_back({lo, hi - lo + 1});
  return out;
}

std::uint64_t RecordSet::CountBelow(std::uint32_t rec) const {
  std::uint64_t n = 0;
  for (const auto& [lo, hi] : spans_) {
    if (lo >= rec) break;
    n += std::uint64_t{std::min(hi, rec - 1)} - lo + 1;
  }
  return n;
}

// ---- KeyRuns

void KeyRuns::Add(const std::string& key, std::uint32_t rec) {
  std::vector<Run>& runs = keys_[key];
  // The common case: a record appended after the last run of its key.
  if (!runs.empty() && runs.back().first + runs.back().count == rec) {
    ++runs.back().count;
    return;
  }
  auto it = std::upper_bound(runs.begin(), runs.end(), rec, [](std::uint32_t r, const Run& run) { return r < run.first; });
  if (it != runs.begin()) {
    Run& prev = *std::prev(it);
    if (rec < prev.first + prev.count) return;  // already there
    if (prev.first + prev.count == rec) {
      ++prev.count;
      if (it != runs.end() && it->first == rec + 1) {
        prev.count += it->count;
        runs.erase(it);
        --runs_;
      }
      return;
    }
  }
  if (it != runs.end() && it->first == rec + 1) {
    --it->first;
    ++it->count;
    return;
  }
  runs.insert(it, Run{rec, 1});
  ++runs_;
}

void KeyRuns::Remove(const std::string& key, std::uint32_t rec) {
  auto k = keys_.find(key);
  if (k == keys_.end()) return;
  std::vector<Run>& runs = k->second;
  auto it = std::upper_bound(runs.begin(), runs.end(), rec, [](std::uint32_t r, const Run& run) { return r < run.first; });
  if (it == runs.begin()) return;
  --it;
  if (rec >= it->first + it->count) return;
  const Run old = *it;
  if (old.count == 1) {
    runs.erase(it);
    --runs_;
  } else if (rec == old.first) {
    ++it->first;
    --it->count;
  } else if (rec == old.first + old.count - 1) {
    --it->count;
  } else {
    it->count = rec - old.first;
    runs.insert(std::next(it), Run{rec + 1, old.first + old.count - 1 - rec});
    ++runs_;
  }
  if (runs.empty()) keys_.erase(k);
}

void KeyRuns::Recount() {
  runs_ = 0;
  for (const auto& [key, runs] : keys_) runs_ += runs.size();
}

// ---- file

std::string IndexName(const std::string& tableFile) {
  std::string base = tableFile;
  const std::size_t dot = base.rfind('.');
  if (dot != std::string::npos) base.resize(dot);
  return base + ".BIX";
}

std::string EncodeIndex(const IndexImage& index) {
  std::string out(kMagic, sizeof kMagic);
  PutUint(out, index.table.inode, 8);
  PutUint(out, index.table.size, 8);
  PutUint(out, static_cast<std::uint64_t>(index.table.changeNs), 8);
  PutUint(out, static_cast<std::uint64_t>(index.table.modifyNs), 8);
  PutUint(out, index.recordCount, 4);
  const std::vector<Run> deleted = index.deleted.Runs();
  PutUint(out, deleted.size(), 4);
  for (const Run& r : deleted) {
    PutUint(out, r.first, 4);
    PutUint(out, r.count, 4);
  }
  PutUint(out, index.tags.size(), 1);
  for (const IndexTag& t : index.tags) {
    PutUint(out, t.name.size(), 1);
    out += t.name;
    PutUint(out, t.field.size(), 1);
    out += t.field;
    PutUint(out, t.width, 1);
    PutUint(out, t.runs.keys().size(), 4);
    for (const auto& [key, runs] : t.runs.keys()) {
      out += key;
      PutUint(out, runs.size(), 4);
      for (const Run& r : runs) {
        PutUint(out, r.first, 4);
        PutUint(out, r.count, 4);
      }
    }
  }
  PutUint(out, Checksum64(out), 8);
  return out;
}

std::optional<IndexImage> DecodeIndex(std::string_view data) {
  if (data.size() < sizeof kMagic + 8 || std::memcmp(data.data(), kMagic, sizeof kMagic) != 0) return std::nullopt;
  const std::string_view body = data.substr(0, data.size() - 8);
  ByteReader tail{data.substr(body.size())};
  if (tail.Get(8) != Checksum64(body)) return std::nullopt;
  ByteReader r{body, sizeof kMagic};
  IndexImage index;
  index.table.inode = r.Get(8);
  index.table.size = r.Get(8);
  index.table.changeNs = static_cast<std::int64_t>(r.Get(8));
  index.table.modifyNs = static_cast<std::int64_t>(r.Get(8));
  index.recordCount = static_cast<std::uint32_t>(r.Get(4));
  const std::uint64_t deleted = r.Get(4);
  std::vector<Run> runs;
  for (std::uint64_t i = 0; r.ok && i < deleted; ++i) {
    Run run{static_cast<std::uint32_t>(r.Get(4)), 0};
    run.count = static_cast<std::uint32_t>(r.Get(4));
    runs.push_back(run);
  }
  if (!r.ok || !SaneRuns(runs, index.recordCount)) return std::nullopt;
  for (const Run& run : runs) index.deleted.AddRun(run.first, run.count);
  const std::uint64_t tags = r.Get(1);
  for (std::uint64_t t = 0; r.ok && t < tags; ++t) {
    IndexTag tag;
    tag.name = std::string(r.Bytes(r.Get(1)));
    tag.field = std::string(r.Bytes(r.Get(1)));
    tag.width = static_cast<std::uint32_t>(r.Get(1));
    const std::uint64_t keys = r.Get(4);
    std::uint64_t records = 0;
    std::string previous;
    for (std::uint64_t k = 0; r.ok && k < keys; ++k) {
      std::string key(r.Bytes(tag.width));
      if (k > 0 && !(previous < key)) return std::nullopt;
      const std::uint64_t n = r.Get(4);
      std::vector<Run> keyRuns;
      for (std::uint64_t i = 0; r.ok && i < n; ++i) {
        Run run{static_cast<std::uint32_t>(r.Get(4)), 0};
        run.count = static_cast<std::uint32_t>(r.Get(4));
        records += run.count;
        keyRuns.push_back(run);
      }
      if (!r.ok || keyRuns.empty() || !SaneRuns(keyRuns, index.recordCount)) return std::nullopt;
      tag.runs.keys().emplace_hint(tag.runs.keys().end(), key, std::move(keyRuns));
      previous = std::move(key);
    }
    // Every record under exactly one key (overlaps would count twice).
    if (!r.ok || tag.width == 0 || records != index.recordCount) return std::nullopt;
    tag.runs.Recount();
    index.tags.push_back(std::move(tag));
  }
  if (!r.ok || r.pos != body.size()) return std::nullopt;
  return index;
}

}  // namespace brevika::tables
