#include "tables/file_system.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace brevika::tables {

int FileSystem::Open(const std::string& path, int flags, mode_t mode) {
  int fd;
  do {
    fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

void FileSystem::Close(int fd) {
  if (fd >= 0) ::close(fd);
}

std::int64_t FileSystem::Size(int fd) {
  struct stat st;
  if (::fstat(fd, &st) != 0) return -1;
  return static_cast<std::int64_t>(st.st_size);
}

bool FileSystem::ReadAt(int fd, std::uint64_t off, void* buf, std::size_t n) {
  auto* p = static_cast<char*>(buf);
  while (n > 0) {
    const ssize_t r = ::pread(fd, p, n, static_cast<off_t>(off));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return false;
    p += r;
    off += static_cast<std::uint64_t>(r);
    n -= static_cast<std::size_t>(r);
  }
  return true;
}

bool FileSystem::WriteAt(int fd, std::uint64_t off, const void* buf, std::size_t n) {
  const auto* p = static_cast<const char*>(buf);
  while (n > 0) {
    const ssize_t r = ::pwrite(fd, p, n, static_cast<off_t>(off));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return false;
    p += r;
    off += static_cast<std::uint64_t>(r);
    n -= static_cast<std::size_t>(r);
  }
  return true;
}

bool FileSystem::Truncate(int fd, std::uint64_t length) {
  int r;
  do {
    r = ::ftruncate(fd, static_cast<off_t>(length));
  } while (r != 0 && errno == EINTR);
  return r == 0;
}

bool FileSystem::Sync(int fd) { return ::fsync(fd) == 0; }

bool FileSystem::SyncDir(const std::string& dir) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

bool FileSystem::Rename(const std::string& from, const std::string& to) {
  return ::rename(from.c_str(), to.c_str()) == 0;
}

bool FileSystem::Remove(const std::string& path) {
  return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool FileSystem::Exists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

FileKind FileSystem::KindOf(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0) return FileKind::Missing;
  if (S_ISLNK(st.st_mode)) return FileKind::Link;
  if (S_ISREG(st.st_mode)) return FileKind::Regular;
  if (S_ISDIR(st.st_mode)) return FileKind::Folder;
  return FileKind::Special;
}

bool FileSystem::IsRegular(int fd) {
  struct stat st;
  return ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

bool FileSystem::Identify(int fd, FileIdentity& id) {
  struct stat st;
  if (::fstat(fd, &st) != 0) return false;
  id.inode = static_cast<std::uint64_t>(st.st_ino);
  id.size = static_cast<std::uint64_t>(st.st_size);
  id.changeNs = static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
  id.modifyNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  return true;
}

bool FileSystem::LockWithin(int fd, bool exclusive, int ms) {
  for (int waited = 0;; waited += 10) {
    if (Lock(fd, exclusive, false)) return true;
    if (waited >= ms) return false;
    ::usleep(10000);
  }
}

bool FileSystem::Lock(int fd, bool exclusive, bool wait) {
  const int op = (exclusive ? LOCK_EX : LOCK_SH) | (wait ? 0 : LOCK_NB);
  int r;
  do {
    r = ::flock(fd, op);
  } while (r != 0 && errno == EINTR);
  return r == 0;
}

void FileSystem::Unlock(int fd) { ::flock(fd, LOCK_UN); }

FileSystem& FileSystem::Default() {
  static FileSystem fs;
  return fs;
}

}  // namespace brevika::tables
