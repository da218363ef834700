#include "tables/atomic_write.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace brevika::tables {

namespace {

// Why the last call failed; the fault injector of the tests sets no errno.
std::string Reason(int err, const char* what) {
  if (err != 0) return std::strerror(err);
  return what;
}

}  // namespace

std::string WriteFileAtomically(const std::string& path, const std::string& bytes, FileSystem& fs) {
  if (path.empty()) return "No file name";
  const std::size_t slash = path.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  if (base.empty()) return "No file name";

  // A fresh name beside the target; a few tries in case one is taken.
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = (dir == "/" ? "" : dir) + "/." + base + "." + std::to_string(::getpid()) + "." +
           std::to_string(attempt) + ".tmp";
    errno = 0;
    fd = fs.Open(temp, O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (fd < 0 && errno != EEXIST) return Reason(errno, "The file could not be created");
  }
  if (fd < 0) return "No temporary file could be created beside it";

  auto fail = [&](const char* what) {
    const int err = errno;
    fs.Close(fd);
    fs.Remove(temp);
    return Reason(err, what);
  };
  errno = 0;
  if (!fs.WriteAt(fd, 0, bytes.data(), bytes.size())) return fail("The data could not be written");
  errno = 0;
  if (!fs.Sync(fd)) return fail("The data could not be made durable");
  fs.Close(fd);
  fd = -1;
  errno = 0;
  if (!fs.Rename(temp, path)) {
    const int err = errno;
    fs.Remove(temp);
    return Reason(err, "The file could not be replaced");
  }
  // The new file is in place and whole; a folder that cannot be synced only
  // leaves the rename less durable across a crash, so it is not a failure.
  fs.SyncDir(dir);
  return {};
}

}  // namespace brevika::tables
