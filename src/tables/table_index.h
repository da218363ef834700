// What the engine keeps beside a table in its index file: the record
// numbers of every key of each tag, as runs of consecutive records (a
// loan's schedule rows are one run), and the records marked deleted. The
// file also holds the identity of the table it was made from; it is used
// only while the table still has that identity, and is made again from
// the table otherwise. No Qt.
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tables/file_system.h"

namespace brevika::tables {

// Consecutive record numbers first .. first + count - 1.
struct Run {
  std::uint32_t first = 0, count = 0;
  bool operator==(const Run&) const = default;
};

// A set of record numbers kept as runs.
class RecordSet {
 public:
  bool Contains(std::uint32_t rec) const;
  void Add(std::uint32_t rec);
  void Remove(std::uint32_t rec);
  void AddRun(std::uint32_t first, std::uint32_t count);
  bool empty() const { return spans_.empty(); }
  std::uint64_t size() const;
  std::size_t runCount() const { return spans_.size(); }
  // Runs in ascending order.
  std::vector<Run> Runs() const;
  // Members below `rec`.
  std::uint64_t CountBelow(std::uint32_t rec) const;
  bool operator==(const RecordSet&) const = default;

 private:
  std::map<std::uint32_t, std::uint32_t> spans_;  // first -> last
};

// The records of each key value (the key field's bytes as stored), in
// record order.
class KeyRuns {
 public:
  using Map = std::map<std::string, std::vector<Run>>;
  void Add(const std::string& key, std::uint32_t rec);
  void Remove(const std::string& key, std::uint32_t rec);
  const Map& keys() const { return keys_; }
  Map& keys() { return keys_; }
  std::size_t runCount() const { return runs_; }
  void Recount();
  bool operator==(const KeyRuns&) const = default;

 private:
  Map keys_;
  std::size_t runs_ = 0;
};

struct IndexTag {
  std::string name, field;
  std::uint32_t width = 0;
  KeyRuns runs;
};

struct IndexImage {
  FileIdentity table;
  std::uint32_t recordCount = 0;
  std::vector<IndexTag> tags;
  RecordSet deleted;
};

// The index file beside a table: TRANS.DBF keeps TRANS.BIX.
std::string IndexName(const std::string& tableFile);

// Magic, body, then a checksum of all before it.
std::string EncodeIndex(const IndexImage& index);
// nullopt for anything but a whole index with sane runs for `recordCount`.
std::optional<IndexImage> DecodeIndex(std::string_view data);

}  // namespace brevika::tables
