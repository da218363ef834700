// The schedule chart: from the rows to a painted chart (series data, axes
// and one paint into an image of the window's chart size), for a 30-year
// monthly loan and the largest schedule, 1,560 weekly payments. The chart
// is meant to take under 50 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include "amortization/ui/schedule_chart.h"
#include "finance/periods.h"

namespace {

using namespace brevika;

void ChartToPainted(benchmark::State& state, int pyrIndex, int periods) {
  ScheduleInputs in;
  in.PV = 100000;
  in.NumPmts = static_cast<std::uint16_t>(periods);
  in.Rate = 7.5f;
  in.OrgDate = MakeDate(1, 1, 1997);
  in.FrstPmtDate = MakeDate(1, 2, 1997);
  in.PYR = pyrIndex;
  Schedule schedule;
  if (schedule.Calculate(in).refused) {
    state.SkipWithError("schedule refused");
    return;
  }
  ScheduleChart chart;
  chart.resize(596, 300);
  chart.show();
  QApplication::processEvents();
  QImage image(chart.size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    chart.SetSchedule(schedule, UsLocaleFormat());
    QPainter painter(&image);
    chart.render(&painter);
  }
  state.counters["points"] = static_cast<double>(chart.data().balance.size());
  state.counters["years"] = static_cast<double>(chart.data().years.size());
}

void BM_ChartMonthly360(benchmark::State& state) { ChartToPainted(state, 2, 360); }
void BM_ChartWeekly1560(benchmark::State& state) { ChartToPainted(state, 0, 1560); }

BENCHMARK(BM_ChartMonthly360)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_ChartWeekly1560)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
