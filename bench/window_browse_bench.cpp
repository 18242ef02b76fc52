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
#include "display/user_table_model.h"
#include "platform/backend.h"
#include "platform/lab/lab.h"
#include "ui/scripted_dialog_runner.h"
#include "ui/scripted_file_chooser.h"
#include "ui/scripted_messages.h"

namespace {

long residentKiB() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == "VmRSS:") {
      long kib = 0;
      status >> kib;
      return kib;
    }
    status.ignore(1 << 12, '\n');
  }
  return 0;
}

void BM_WindowUsersBrowse(benchmark::State& state) {
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

  const long before = residentKiB();
  for (auto _ : state) {
    window.browse();
    while (window.browsing()) QApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  auto* users = window.resultDisplay().usersModel();
  state.counters["rows"] = users ? users->rowCount() : 0;
  state.counters["held_MB"] = static_cast<double>(residentKiB() - before) / 1024.0;
}
BENCHMARK(BM_WindowUsersBrowse)->Arg(100000)->Iterations(3)->Unit(benchmark::kMillisecond);

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
