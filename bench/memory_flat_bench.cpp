// Memory stays flat over repeated browses: 100 Users browses of a generated
// 100,000-account lab in the offscreen window, one after another. Prints the
// resident set after the 2nd and after the 100th browse; the second must be
// within 10 % of the first (the records of a browse replace the last ones).

#include <benchmark/benchmark.h>

#include <QApplication>

#include <fstream>
#include <memory>
#include <string>

#include "app/main_window.h"
#include "app/startup.h"
#include "platform/backend.h"
#include "platform/lab/lab.h"
#include "window_bench_support.h"

namespace {


void BM_RepeatedUsersBrowses(benchmark::State& state) {
  platform::ScopedBackend installed(
      lab::makeLabBackend(bench::generatedLab(static_cast<int>(state.range(0)))));
  auto shown = bench::usersWindow();
  if (!shown) {
    state.SkipWithError("the window did not start");
    return;
  }
  app::MainWindow& window = *shown;

  constexpr int kBrowses = 100;
  double afterSecond = 0, afterLast = 0;
  for (auto _ : state) {
    for (int n = 1; n <= kBrowses; ++n) {
      window.browse();
      while (window.browsing()) QApplication::processEvents(QEventLoop::AllEvents, 5);
      QApplication::processEvents();
      if (n == 2) afterSecond = (static_cast<double>(bench::residentKiB()) / 1024.0);
    }
    afterLast = (static_cast<double>(bench::residentKiB()) / 1024.0);
  }
  state.counters["rss_after_2nd_MiB"] = afterSecond;
  state.counters["rss_after_100th_MiB"] = afterLast;
  state.counters["growth_pct"] = afterSecond > 0 ? (afterLast / afterSecond - 1.0) * 100.0 : 0;
}
BENCHMARK(BM_RepeatedUsersBrowses)->Arg(100000)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
