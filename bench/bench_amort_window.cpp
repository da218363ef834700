// Calc to a painted schedule in the amortization window: engine, grid
// model, year tabs, totals and the repaint, for a 30-year monthly loan
// (361 rows) and the largest schedule, 1560 weekly payments.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "amortization/ui/amort_window.h"
#include "finance/periods.h"

namespace {

using namespace brevika;

void CalcToShown(benchmark::State& state, int pyrIndex, int periods) {
  AmortInputs in = NewAmortInputs(MakeDate(20, 12, 1996));
  in.PV = 100000;
  in.NumPmts = static_cast<std::uint16_t>(periods);
  in.Rate = 7.5f;
  in.OrgDate = MakeDate(1, 1, 1997);
  in.FrstPmtDate = MakeDate(1, 2, 1997);
  in.PYR.Select(pyrIndex);
  AmortOptValues opt;
  TcLoAmort w(&in, &opt, nullptr);
  w.show();
  QApplication::processEvents();
  for (auto _ : state) {
    w.CalcBTNClick();
    w.repaint();
    if (!w.scheduleShown() || w.schedule().lastRow() != periods) {
      state.SkipWithError("schedule not shown");
      break;
    }
  }
  state.counters["rows"] = w.schedule().lastRow() + 1;
}

void BM_Monthly360(benchmark::State& state) { CalcToShown(state, 2, 360); }
void BM_Weekly1560(benchmark::State& state) { CalcToShown(state, 0, 1560); }

BENCHMARK(BM_Monthly360)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_Weekly1560)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
