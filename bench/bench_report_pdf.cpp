// The printed schedule report of the largest schedule (1560 weekly payments,
// 1561 rows): laying out its pages, and writing the whole report as a PDF
// through the page painter. The PDF is meant to take well under a second.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include "amortization/ui/schedule_report_pdf.h"

namespace {

using namespace brevika;

struct Weekly {
  Schedule schedule;
  ScheduleInputs in;
  Weekly() {
    in.PV = 100000;
    in.NumPmts = 1560;
    in.Rate = 7.5f;
    in.OrgDate = MakeDate(1, 1, 1997);
    in.FrstPmtDate = MakeDate(8, 1, 1997);
    in.PYR = 0;
    schedule.Calculate(in);
  }
};

ScheduleReportSetup ReportSetup() {
  ScheduleReportSetup s;
  s.today = MakeDate(15, 3, 2024);
  return s;
}

void BM_LayoutWeekly1560(benchmark::State& state) {
  Weekly w;
  std::size_t pages = 0;
  for (auto _ : state) {
    pages = ScheduleReportPages(w.schedule, ReportTermsOf(w.in), std::nullopt, ReportSetup()).size();
    benchmark::DoNotOptimize(pages);
  }
  state.counters["pages"] = static_cast<double>(pages);
}

void BM_PdfWeekly1560(benchmark::State& state) {
  Weekly w;
  QTemporaryDir dir;
  const std::string path = dir.filePath("report.pdf").toStdString();
  for (auto _ : state) {
    std::string error;
    if (!WriteScheduleReportPdf(w.schedule, ReportTermsOf(w.in), std::nullopt, ReportSetup(), path, error)) {
      state.SkipWithError(error.c_str());
      break;
    }
  }
  state.counters["rows"] = w.schedule.lastRow() + 1;
}

BENCHMARK(BM_LayoutWeekly1560)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PdfWeekly1560)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
