// The file operations the table engine makes, behind one small interface so
// that tests can fail or interrupt any single call. The base class does the
// real POSIX calls; a subclass overrides what it wants to disturb.
#pragma once
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace brevika::tables {

// What a name in a folder is, without following a link.
enum class FileKind { Missing, Regular, Link, Folder, Special };

// What tells one state of a file from another: any write, truncation,
// rename or copy changes the change time, and a file put in its place has
// another inode.
struct FileIdentity {
  std::uint64_t inode = 0, size = 0;
  std::int64_t changeNs = 0, modifyNs = 0;
  bool operator==(const FileIdentity&) const = default;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // open(2) flags; -1 on failure.
  virtual int Open(const std::string& path, int flags, mode_t mode = 0644);
  virtual void Close(int fd);
  // Size of an open file; -1 on failure.
  virtual std::int64_t Size(int fd);
  // Reads exactly n bytes at off; false on error or short file.
  virtual bool ReadAt(int fd, std::uint64_t off, void* buf, std::size_t n);
  // Writes all n bytes at off; false when any part failed.
  virtual bool WriteAt(int fd, std::uint64_t off, const void* buf, std::size_t n);
  virtual bool Truncate(int fd, std::uint64_t length);
  // Makes the file's data durable (fdatasync is not enough for a size change).
  virtual bool Sync(int fd);
  // Makes creations, renames and removals in a folder durable.
  virtual bool SyncDir(const std::string& dir);
  virtual bool Rename(const std::string& from, const std::string& to);
  // Removes a file; a missing file counts as removed.
  virtual bool Remove(const std::string& path);
  virtual bool Exists(const std::string& path);
  // lstat(2): a link is a Link whatever it points at; Missing also when
  // the name can't be looked up at all.
  virtual FileKind KindOf(const std::string& path);
  // The open file is a regular file.
  virtual bool IsRegular(int fd);
  virtual bool Identify(int fd, FileIdentity& id);
  // Advisory flock; `wait` blocks until it is granted.
  virtual bool Lock(int fd, bool exclusive, bool wait);
  // Tries for a lock for at most `ms` milliseconds.
  bool LockWithin(int fd, bool exclusive, int ms);
  virtual void Unlock(int fd);

  // The process-wide real file system.
  static FileSystem& Default();
};

}  // namespace brevika::tables
