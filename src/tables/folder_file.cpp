#include "tables/folder_file.h"

#include <fcntl.h>

#include <cerrno>

namespace brevika::tables {

std::string LinkRefusal(const std::string& name) {
  return name + " is a link; Brevika does not follow links in its tables folder.";
}

std::string NotPlainRefusal(const std::string& name) {
  return name + " is not a plain file; Brevika keeps only plain files in its tables folder.";
}

std::string FolderFileProblem(FileSystem& fs, const std::string& folder, const std::string& name) {
  switch (fs.KindOf(folder + "/" + name)) {
    case FileKind::Missing:
    case FileKind::Regular: return {};
    case FileKind::Link: return LinkRefusal(name);
    case FileKind::Folder:
    case FileKind::Special: return NotPlainRefusal(name);
  }
  return {};
}

int OpenFolderFile(FileSystem& fs, const std::string& folder, const std::string& name, int flags,
                   std::string& problem, mode_t mode) {
  problem.clear();
  errno = 0;
  const int fd = fs.Open(folder + "/" + name, flags | O_NOFOLLOW | O_NONBLOCK, mode);
  if (fd < 0) {
    const int err = errno;
    // ELOOP: the name is a link. Anything else that is there but not a
    // plain file is named too; a plain failure keeps its errno.
    if (err == ELOOP) problem = LinkRefusal(name);
    else problem = FolderFileProblem(fs, folder, name);
    errno = err;
    return -1;
  }
  if (!fs.IsRegular(fd)) {
    fs.Close(fd);
    problem = NotPlainRefusal(name);
    return -1;
  }
  return fd;
}

int CreateFolderFile(FileSystem& fs, const std::string& folder, const std::string& name,
                     std::string& problem) {
  problem = FolderFileProblem(fs, folder, name);
  if (!problem.empty()) return -1;
  if (fs.KindOf(folder + "/" + name) == FileKind::Regular && !fs.Remove(folder + "/" + name)) return -1;
  return OpenFolderFile(fs, folder, name, O_RDWR | O_CREAT | O_EXCL, problem);
}

}  // namespace brevika::tables
