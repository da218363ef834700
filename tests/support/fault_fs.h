// A file system that counts the calls that change files and fails (or
// kills the process at) the Nth of them.
#pragma once
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "tables/file_system.h"

namespace brevika::testing {

class FaultFs : public tables::FileSystem {
 public:
  enum Op : unsigned {
    kWrite = 1, kSync = 2, kSyncDir = 4, kRename = 8, kRemove = 16, kTruncate = 32, kOpenWrite = 64,
    kAll = 127
  };
  unsigned mask = kAll;   // which calls are counted
  int failAt = 0;         // 1-based number of the counted call that fails; 0 never
  bool killInstead = false;  // SIGKILL the process at that call instead of failing
  bool tornWrite = true;  // a failing write still writes its first half
  bool sticky = false;    // every counted call after the failing one fails too
  int calls = 0;          // counted calls so far
  // Called before every counted call with its number (1-based), as a test
  // wants to pause a change at a point.
  std::function<void(int)> before;
  unsigned failedOp = 0;  // the kind of call that failed

  int Open(const std::string& path, int flags, mode_t mode) override {
    if ((flags & (O_WRONLY | O_RDWR | O_CREAT | O_TRUNC)) && Hit(kOpenWrite)) return -1;
    return FileSystem::Open(path, flags, mode);
  }
  bool WriteAt(int fd, std::uint64_t off, const void* buf, std::size_t n) override {
    if (Counted(kWrite) && calls + 1 == failAt) {
      if (before) before(calls + 1);
      if (tornWrite && n > 1) FileSystem::WriteAt(fd, off, buf, n / 2);
      const auto hook = std::move(before);
      before = nullptr;
      Hit(kWrite);
      before = hook;
      return false;
    }
    Hit(kWrite);
    return FileSystem::WriteAt(fd, off, buf, n);
  }
  bool Truncate(int fd, std::uint64_t length) override {
    return !Hit(kTruncate) && FileSystem::Truncate(fd, length);
  }
  bool Sync(int fd) override { return !Hit(kSync) && FileSystem::Sync(fd); }
  bool SyncDir(const std::string& dir) override { return !Hit(kSyncDir) && FileSystem::SyncDir(dir); }
  bool Rename(const std::string& from, const std::string& to) override {
    return !Hit(kRename) && FileSystem::Rename(from, to);
  }
  bool Remove(const std::string& path) override { return !Hit(kRemove) && FileSystem::Remove(path); }

 private:
  bool Counted(unsigned op) const { return (mask & op) != 0; }
  // Counts the call; true when it is the one to fail.
  bool Hit(unsigned op) {
    if (!Counted(op)) return false;
    ++calls;
    if (before) before(calls);
    if (failAt == 0 || calls < failAt || (calls > failAt && !sticky)) return false;
    if (calls > failAt) return true;
    failedOp = op;
    if (killInstead) ::kill(::getpid(), SIGKILL);
    return true;
  }
};

}  // namespace brevika::testing
