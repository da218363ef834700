// Files of the tables folder are opened only as plain files: a link (even
// one that points at a table) or a device, pipe or folder under one of
// their names is refused, so a folder others may write to can't make the
// program write anywhere else or hang on a pipe.
#pragma once
#include <sys/types.h>

#include <string>

#include "tables/file_system.h"

namespace brevika::tables {

// The refusals, naming the file.
std::string LinkRefusal(const std::string& name);
std::string NotPlainRefusal(const std::string& name);

// The refusal for what is at folder/name now; empty when it is a plain
// file or there is nothing.
std::string FolderFileProblem(FileSystem& fs, const std::string& folder, const std::string& name);

// open(2) of folder/name that never follows a link and never blocks on a
// pipe, kept only when it is a regular file. -1 on failure, with `problem`
// set when the file is not a plain file (errno is kept otherwise).
int OpenFolderFile(FileSystem& fs, const std::string& folder, const std::string& name, int flags,
                   std::string& problem, mode_t mode = 0644);

// Creates folder/name anew for writing (O_EXCL): a stale plain file of
// that name is removed first; anything else there is refused.
int CreateFolderFile(FileSystem& fs, const std::string& folder, const std::string& name,
                     std::string& problem);

}  // namespace brevika::tables
