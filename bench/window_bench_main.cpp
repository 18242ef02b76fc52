// The main of the benchmarks that drive the window or its dialogs: they need
// a QApplication (offscreen unless told otherwise) and the program's resources.

#include <QApplication>
#include <benchmark/benchmark.h>

#include "app/startup.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  app::initResources();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
