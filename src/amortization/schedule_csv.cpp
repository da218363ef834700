#include "amortization/schedule_csv.h"

#include <algorithm>
#include <cstdio>

#include "finance/format.h"
#include "finance/rates.h"
#include "tables/atomic_write.h"

namespace brevika {

const char kScheduleCsvHeading[] =
    "PmtNo,PeriodLabel,Date,Payment,Principal,Interest,Balance,RunPayment,RunPrincipal,"
    "RunInterest";

namespace {

constexpr char kLineEnd[] = "\r\n";

// Every digit of the amount, to the cent.
void AppendMoney(std::string& out, double v) { out += PlainAmount(RoundToCents(v)); }

void AppendText(std::string& out, const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) {
    out += text;
    return;
  }
  out += '"';
  for (char ch : text) {
    if (ch == '"') out += '"';
    out += ch;
  }
  out += '"';
}

void AppendRow(std::string& out, const ScheduleRow& r) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%d,", r.pmtNo);
  out += buf;
  AppendText(out, r.periodLabel);
  out += ',';
  out += FormatIsoDate(r.date);
  for (double v : {r.payment, r.principal, r.interest, r.balance, r.runPayment, r.runPrincipal,
                   r.runInterest}) {
    out += ',';
    AppendMoney(out, v);
  }
  out += kLineEnd;
}

}  // namespace

std::string ScheduleCsv(const Schedule& schedule, int firstRow, int lastRow) {
  std::string out = kScheduleCsvHeading;
  out += kLineEnd;
  firstRow = std::max(firstRow, 0);
  lastRow = std::min(lastRow, schedule.lastRow());
  if (!schedule.calculated()) return out;
  out.reserve(out.size() + static_cast<std::size_t>(std::max(0, lastRow - firstRow + 1)) * 100);
  for (int k = firstRow; k <= lastRow; ++k) AppendRow(out, schedule.row(k));
  return out;
}

Outcome ExportScheduleCsv(const Schedule& schedule, const std::string& path,
                          tables::FileSystem& fs) {
  if (!schedule.calculated())
    return Outcome::Refuse(Message{"There is no schedule to export.\n\nCalculate or load one first.\n\n",
                                   BoxType::Information});
  const std::string reason = tables::WriteFileAtomically(path, ScheduleCsv(schedule), fs);
  if (reason.empty()) return Outcome::Ok();
  return Outcome::Refuse(Message{"The schedule could not be exported to\n\n" + path + "\n\n" + reason +
                                     ".\n\nAny file of that name is unchanged.\n\n",
                                 BoxType::Error});
}

}  // namespace brevika
