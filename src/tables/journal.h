// Rollback journal of one change to the files of a tables folder: for each
// file the change writes in place, its length before the change and the
// bytes the change overwrites; for each file the change replaces whole
// (a table after a pack), the name its old file was moved to. Playing it
// back puts every file back as it was.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tables/file_system.h"

namespace brevika::tables {

// The journal file stays in the folder; it holds a change only while it
// starts with its magic. Zeroing the first byte is the moment a change counts.
inline constexpr const char* kJournalName = "BREVIKA.JNL";

struct JournalRange {
  std::uint64_t offset = 0;
  std::string bytes;  // what the file held there before the change
};

struct JournalEntry {
  std::string fileName;  // a plain file name inside the folder
  std::uint64_t originalSize = 0;
  std::vector<JournalRange> ranges;
  // A file replaced whole: its old file was renamed to `backup`, and its
  // new one was made as `temp`. Such an entry has no ranges.
  std::string backup, temp;
};

// Magic, body length, entries, then a 64-bit checksum of everything before
// it. Bytes after that are ignored.
std::string EncodeJournal(const std::vector<JournalEntry>& entries);
// nullopt for a journal that is cleared, damaged, cut short or not one of
// ours: only a journal written and synced whole is ever played back.
std::optional<std::vector<JournalEntry>> DecodeJournal(std::string_view data);

// Writes the old bytes back, cuts each table to its old length and syncs
// it. Safe to repeat after an interruption.
bool PlayBack(FileSystem& fs, const std::string& folder, const std::vector<JournalEntry>& entries);

}  // namespace brevika::tables
