// Reads a DBF file with the Python packages python3-dbf and python3-dbfread
// under /usr/bin/python3 and returns one line per record, so tests can check
// that other tools read exactly what the engine wrote. A line is the
// deletion flag ('*' or ' ') and "NAME=value" pairs separated by blanks,
// each value as Python's repr (dates as YYYY-MM-DD).
#pragma once
#include <charconv>
#include <string>
#include <vector>

#include "support/run_command.h"
#include "support/temp_dir.h"

namespace brevika::testing {

inline constexpr const char* kPythonDbfScript = R"PY(
import sys, datetime
lib, path = sys.argv[1], sys.argv[2]
def show(v):
    if isinstance(v, datetime.date):
        return v.isoformat()
    return repr(v)
def line(flag, names, get):
    return flag + ' '.join('%s=%s' % (n.upper(), show(get(n))) for n in names)
if lib == 'dbf':
    import dbf
    t = dbf.Table(path)
    t.open(dbf.READ_ONLY)
    names = t.field_names
    for rec in t:
        print(line('*' if dbf.is_deleted(rec) else ' ', names, lambda n: rec[n]))
    t.close()
else:
    import dbfread
    t = dbfread.DBF(path, load=True, char_decode_errors='strict')
    names = t.field_names
    for rec in t.records:
        print(line(' ', names, lambda n: rec[n]))
    for rec in t.deleted:
        print(line('*', names, lambda n: rec[n]))
)PY";

struct PythonRead {
  std::vector<std::string> lines;
  int status = -1;
};

// `lib` is "dbf" or "dbfread".
inline PythonRead ReadWithPython(const std::string& lib, const std::string& dbfPath) {
  TempDir dir;
  const std::string script = dir.file("read_dbf.py");
  WriteFileBytes(script, kPythonDbfScript);
  const CommandResult r = RunCommand("PYTHONIOENCODING=utf-8 /usr/bin/python3 " + ShellQuote(script) +
                                     " " + lib + " " + ShellQuote(dbfPath), true);
  PythonRead out;
  out.status = r.status;
  std::size_t start = 0;
  while (start < r.out.size()) {
    const std::size_t end = r.out.find('\n', start);
    out.lines.push_back(r.out.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return out;
}

// Python's repr of a str without quotes or backslashes in it.
inline std::string PyStr(const std::string& s) { return "'" + s + "'"; }
// Python's repr of a float (shortest text that reads back the same value).
inline std::string PyFloat(double v) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
  std::string s(buf, r.ptr);
  if (s.find('.') == std::string::npos) s += ".0";
  return s;
}

}  // namespace brevika::testing
