// Replaces a file whole or not at all: the bytes go into a new temporary
// file in the same folder, are made durable, and the temporary file is then
// renamed over the target. Any failure before the rename removes the
// temporary file and leaves the old file as it was. Only a plain file or a
// new name is written: a link, a folder, a device or a pipe is refused, and
// so is a file of the loan tables.
#pragma once
#include <string>

#include "finance/outcome.h"
#include "tables/file_system.h"

namespace brevika::tables {

// Why `path` can't take an output file, in a few words ("It is a link;
// ..."); empty when it can. Never follows a link.
std::string OutputFileProblem(const std::string& path, FileSystem& fs = FileSystem::Default());

// Empty on success; otherwise why the write failed, in a few words
// ("No space left on device").
std::string WriteFileAtomically(const std::string& path, const std::string& bytes,
                                FileSystem& fs = FileSystem::Default());

// Writes an export file as above. Refused with an error message naming
// what it holds ("schedule"), the file and the reason.
Outcome ExportFile(const std::string& what, const std::string& path, const std::string& bytes,
                   FileSystem& fs = FileSystem::Default());

}  // namespace brevika::tables
