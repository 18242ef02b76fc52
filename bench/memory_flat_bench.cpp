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
#include "ui/scripted_dialog_runner.h"
#include "ui/scripted_file_chooser.h"
#include "ui/scripted_messages.h"

namespace {

double residentMiB() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == "VmRSS:") {
      long kib = 0;
      status >> kib;
      return static_cast<double>(kib) / 1024.0;
    }
    status.ignore(1 << 12, '\n');
  }
  return 0;
}

void BM_RepeatedUsersBrowses(benchmark::State& state) {
  lab::GeneratorOptions options;
  options.users = static_cast<int>(state.range(0));
  options.groups = 100;
  options.servers = 10;
  platform::ScopedBackend installed(lab::makeLabBackend(lab::generateLab(options)));
  app::Ports ports{std::make_shared<ui::ScriptedMessages>(),
                   std::make_shared<ui::ScriptedFileChooser>(),
                   std::make_shared<ui::ScriptedDialogRunner>()};
  app::MainWindow window(ports, app::WindowOptions{false});
  if (!window.initialise()) {
    state.SkipWithError("the window did not start");
    return;
  }
  window.resize(980, 600);
  window.show();
  window.selectTab(5);  // Users

  constexpr int kBrowses = 100;
  double afterSecond = 0, afterLast = 0;
  for (auto _ : state) {
    for (int n = 1; n <= kBrowses; ++n) {
      window.browse();
      while (window.browsing()) QApplication::processEvents(QEventLoop::AllEvents, 5);
      QApplication::processEvents();
      if (n == 2) afterSecond = residentMiB();
    }
    afterLast = residentMiB();
  }
  state.counters["rss_after_2nd_MiB"] = afterSecond;
  state.counters["rss_after_100th_MiB"] = afterLast;
  state.counters["growth_pct"] = afterSecond > 0 ? (afterLast / afterSecond - 1.0) * 100.0 : 0;
}
BENCHMARK(BM_RepeatedUsersBrowses)->Arg(100000)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  app::initResources();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
