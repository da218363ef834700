#include "amortization/schedule_csv.h"

#include <algorithm>

#include "finance/format.h"
#include "tables/atomic_write.h"
#include "tables/csv_writer.h"

namespace brevika {

const char kScheduleCsvHeading[] =
    "PmtNo,PeriodLabel,Date,Payment,Principal,Interest,Balance,RunPayment,RunPrincipal,"
    "RunInterest";

std::string ScheduleCsv(const Schedule& schedule, int firstRow, int lastRow) {
  firstRow = std::max(firstRow, 0);
  lastRow = std::min(lastRow, schedule.lastRow());
  if (!schedule.calculated()) return tables::CsvWriter(kScheduleCsvHeading).Take();
  tables::CsvWriter csv(kScheduleCsvHeading, static_cast<std::size_t>(std::max(0, lastRow - firstRow + 1)) * 100);
  for (int k = firstRow; k <= lastRow; ++k) {
    const ScheduleRow& r = schedule.row(k);
    csv.Field(std::to_string(r.pmtNo)).Text(r.periodLabel).Field(FormatIsoDate(r.date));
    for (double v : {r.payment, r.principal, r.interest, r.balance, r.runPayment, r.runPrincipal,
                     r.runInterest})
      csv.Money(v);
    csv.EndLine();
  }
  return csv.Take();
}

Outcome ExportScheduleCsv(const Schedule& schedule, const std::string& path,
                          tables::FileSystem& fs) {
  if (!schedule.calculated())
    return Outcome::Refuse(Message{"There is no schedule to export.\n\nCalculate or load one first.\n\n",
                                   BoxType::Information});
  return tables::ExportFile("schedule", path, ScheduleCsv(schedule), fs);
}

}  // namespace brevika
