#include "tables/journal.h"

#include <fcntl.h>

#include <cstring>

#include "tables/byte_codec.h"
#include "tables/folder_file.h"

namespace brevika::tables {
namespace {

constexpr char kMagic[8] = {'B', 'R', 'V', 'K', 'J', 'N', 'L', '2'};

bool PlainName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (char c : name) {
    const bool good = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                      c == '.' || c == '_' || c == '-';
    if (!good) return false;
  }
  return true;
}

}  // namespace

std::string EncodeJournal(const std::vector<JournalEntry>& entries) {
  std::string out(kMagic, sizeof kMagic);
  PutUint(out, 0, 8);  // body length, filled in below
  PutUint(out, entries.size(), 4);
  for (const JournalEntry& e : entries) {
    PutUint(out, e.fileName.size(), 1);
    out += e.fileName;
    PutUint(out, e.originalSize, 8);
    PutUint(out, e.ranges.size(), 4);
    for (const JournalRange& r : e.ranges) {
      PutUint(out, r.offset, 8);
      PutUint(out, r.bytes.size(), 8);
      out += r.bytes;
    }
    PutUint(out, e.backup.size(), 1);
    out += e.backup;
    PutUint(out, e.temp.size(), 1);
    out += e.temp;
  }
  const std::uint64_t body = out.size() - sizeof kMagic - 8;
  for (int i = 0; i < 8; ++i) out[sizeof kMagic + i] = static_cast<char>((body >> (8 * i)) & 0xFF);
  PutUint(out, Checksum64(out), 8);
  return out;
}

std::optional<std::vector<JournalEntry>> DecodeJournal(std::string_view data) {
  if (data.size() < sizeof kMagic + 8 + 4 + 8) return std::nullopt;
  if (std::memcmp(data.data(), kMagic, sizeof kMagic) != 0) return std::nullopt;
  ByteReader head{data, sizeof kMagic};
  const std::uint64_t length = head.Get(8);
  if (length > data.size() - sizeof kMagic - 16) return std::nullopt;
  const std::string_view body = data.substr(0, sizeof kMagic + 8 + static_cast<std::size_t>(length));
  ByteReader tail{data.substr(body.size(), 8)};
  if (tail.Get(8) != Checksum64(body)) return std::nullopt;

  ByteReader r{body, sizeof kMagic + 8};
  const std::uint64_t count = r.Get(4);
  std::vector<JournalEntry> entries;
  for (std::uint64_t i = 0; r.ok && i < count; ++i) {
    JournalEntry e;
    e.fileName = std::string(r.Bytes(r.Get(1)));
    e.originalSize = r.Get(8);
    const std::uint64_t ranges = r.Get(4);
    for (std::uint64_t k = 0; r.ok && k < ranges; ++k) {
      JournalRange range;
      range.offset = r.Get(8);
      range.bytes = std::string(r.Bytes(r.Get(8)));
      if (range.offset + range.bytes.size() > e.originalSize) return std::nullopt;
      e.ranges.push_back(std::move(range));
    }
    e.backup = std::string(r.Bytes(r.Get(1)));
    e.temp = std::string(r.Bytes(r.Get(1)));
    if (!r.ok || !PlainName(e.fileName)) return std::nullopt;
    if (!e.backup.empty() && (!PlainName(e.backup) || !PlainName(e.temp) || !e.ranges.empty()))
      return std::nullopt;
    entries.push_back(std::move(e));
  }
  if (!r.ok || r.pos != body.size()) return std::nullopt;
  return entries;
}

bool PlayBack(FileSystem& fs, const std::string& folder, const std::vector<JournalEntry>& entries) {
  bool renamed = false;
  for (const JournalEntry& e : entries) {
    if (!e.backup.empty()) {
      // The old file goes back under its name, if it was moved yet; the
      // new one, renamed or not, is dropped.
      if (fs.KindOf(folder + "/" + e.backup) == FileKind::Regular) {
        if (!fs.Rename(folder + "/" + e.backup, folder + "/" + e.fileName)) return false;
        renamed = true;
      }
      if (fs.KindOf(folder + "/" + e.temp) == FileKind::Regular && !fs.Remove(folder + "/" + e.temp)) return false;
      continue;
    }
    std::string problem;
    const int fd = OpenFolderFile(fs, folder, e.fileName, O_RDWR, problem);
    if (fd < 0) return false;
    bool ok = true;
    for (const JournalRange& r : e.ranges)
      ok = ok && fs.WriteAt(fd, r.offset, r.bytes.data(), r.bytes.size());
    ok = ok && fs.Truncate(fd, e.originalSize) && fs.Sync(fd);
    fs.Close(fd);
    if (!ok) return false;
  }
  return !renamed || fs.SyncDir(folder);
}

}  // namespace brevika::tables
