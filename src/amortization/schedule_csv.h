// The schedule's rows as CSV (RFC 4180: comma separated, CRLF line ends,
// quotes where a field needs them; ASCII, so also UTF-8), dates ISO. The
// command line prints it and the schedule window's Export writes it. No Qt.
#pragma once
#include <string>

#include "amortization/schedule.h"
#include "finance/outcome.h"
#include "tables/file_system.h"

namespace brevika {

// Heading line of the CSV, without its line end.
extern const char kScheduleCsvHeading[];

// Heading and rows firstRow..lastRow (clamped to the schedule's rows).
std::string ScheduleCsv(const Schedule& schedule, int firstRow, int lastRow);
// Every row, 0 to the last.
inline std::string ScheduleCsv(const Schedule& schedule) {
  return ScheduleCsv(schedule, 0, schedule.lastRow());
}

// Writes every row to `path` as one atomic replacement. Refused with an
// error message naming the file and the reason; the old file stays whole.
Outcome ExportScheduleCsv(const Schedule& schedule, const std::string& path,
                          tables::FileSystem& fs = tables::FileSystem::Default());

}  // namespace brevika
