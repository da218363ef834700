// Runs a command and captures its standard output and exit status.
#pragma once
#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace brevika::testing {

struct CommandResult {
  std::string out;
  int status = -1;
};

// `command` is passed to /bin/sh; stderr goes to stdout when asked.
inline CommandResult RunCommand(const std::string& command, bool withStderr = false) {
  CommandResult r;
  std::FILE* pipe = ::popen((command + (withStderr ? " 2>&1" : " 2>/dev/null")).c_str(), "r");
  if (!pipe) return r;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) r.out.append(buf, n);
  const int raw = ::pclose(pipe);
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return r;
}

// Single-quotes an argument for /bin/sh.
inline std::string ShellQuote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += (c == '\'') ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

}  // namespace brevika::testing
