#include "tables/atomic_write.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cctype>
#include <cstring>

namespace brevika::tables {

namespace {

// Why the last call failed; the fault injector of the tests sets no errno.
std::string Reason(int err, const char* what) {
  if (err != 0) return std::strerror(err);
  return what;
}

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Names the table engine keeps in a tables folder: tables, their index
// files and temporaries, the journal and the locks.
bool TablesFolderName(std::string name) {
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  auto endsWith = [&](const char* tail) {
    const std::size_t n = std::strlen(tail);
    return name.size() >= n && name.compare(name.size() - n, n, tail) == 0;
  };
  return endsWith(".DBF") || endsWith(".BIX") || name.find(".DBF.") != std::string::npos ||
         name == "BREVIKA.JNL" || name == "BREVIKA.LCK" || name == "BREVIKA.RLK";
}

}  // namespace

std::string OutputFileProblem(const std::string& path, FileSystem& fs) {
  if (path.empty() || BaseName(path).empty()) return "No file name";
  switch (fs.KindOf(path)) {
    case FileKind::Link: return "It is a link; Brevika does not write through links";
    case FileKind::Folder: return "It is a folder";
    case FileKind::Special: return "It is a device or a pipe, not a plain file";
    case FileKind::Missing:
    case FileKind::Regular: break;
  }
  if (TablesFolderName(BaseName(path))) return "It is a file of the loan tables";
  return {};
}

std::string WriteFileAtomically(const std::string& path, const std::string& bytes, FileSystem& fs) {
  if (std::string problem = OutputFileProblem(path, fs); !problem.empty()) return problem;
  const std::size_t slash = path.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  const std::string base = BaseName(path);

  // A fresh name beside the target; a few tries in case one is taken.
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = (dir == "/" ? "" : dir) + "/." + base + "." + std::to_string(::getpid()) + "." +
           std::to_string(attempt) + ".tmp";
    errno = 0;
    fd = fs.Open(temp, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0666);
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

Outcome ExportFile(const std::string& what, const std::string& path, const std::string& bytes,
                   FileSystem& fs) {
  const std::string reason = WriteFileAtomically(path, bytes, fs);
  if (reason.empty()) return Outcome::Ok();
  return Outcome::Refuse(Message{"The " + what + " could not be exported to\n\n" + path + "\n\n" + reason +
                                     ".\n\nAny file of that name is unchanged.\n\n",
                                 BoxType::Error});
}

}  // namespace brevika::tables
