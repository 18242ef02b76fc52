// The whole road of a Users browse in the running window (offscreen): from
// the browse request to the Users list filled, over a generated lab of N
// accounts; and the memory the browse leaves held (resident set growth).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>

#include <fstream>
#include <memory>
#include <string>

#include "app/main_window.h"
#include "app/startup.h"
#include "display/result_display.h"
#include "platform/backend.h"
#include "platform/lab/lab.h"
#include "window_bench_support.h"

namespace {


void BM_WindowUsersBrowse(benchmark::State& state) {
  platform::ScopedBackend installed(
      lab::makeLabBackend(bench::generatedLab(static_cast<int>(state.range(0)))));

  auto shown = bench::usersWindow();
  if (!shown) {
    state.SkipWithError("the window did not start");
    return;
  }
  app::MainWindow& window = *shown;

  const long before = bench::residentKiB();
  for (auto _ : state) {
    window.browse();
    while (window.browsing()) QApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  state.counters["rows"] =
      static_cast<double>(window.resultDisplay().content(display::DisplayType::Users).rowCount());
  state.counters["held_MB"] = static_cast<double>(bench::residentKiB() - before) / 1024.0;
}
BENCHMARK(BM_WindowUsersBrowse)->Arg(100000)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
