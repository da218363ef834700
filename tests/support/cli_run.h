// Runs brevika-calc for the command-line tests: each argument quoted for
// the shell, in the C locale, standard output and standard error kept
// apart. Needs BREVIKA_CALC_PATH (the core tests define it).
#pragma once
#include <sys/wait.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_command.h"
#include "support/temp_dir.h"

namespace brevika::testing {

struct CliRun {
  int code = -1;
  std::string out, err;
};

inline CliRun RunCalc(const std::vector<std::string>& args) {
  TempDir io;
  std::string cmd = "LC_ALL=C " + ShellQuote(BREVIKA_CALC_PATH);
  for (const std::string& a : args) cmd += " " + ShellQuote(a);
  const int status = std::system((cmd + " >" + ShellQuote(io.file("out")) + " 2>" + ShellQuote(io.file("err"))).c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFileBytes(io.file("out")), ReadFileBytes(io.file("err"))};
}

// The lines of an output, without their ends (LF or CR LF).
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

}  // namespace brevika::testing
