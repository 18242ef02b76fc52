#pragma once
// What the window benchmarks share: the resident set, and an offscreen
// window on the Users display over a generated lab.

#include <fstream>
#include <memory>
#include <string>

#include "app/main_window.h"
#include "platform/lab/lab.h"
#include "ui/scripted_dialog_runner.h"
#include "ui/scripted_file_chooser.h"
#include "ui/scripted_messages.h"

namespace bench {

inline long residentKiB() {
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

// A lab of `users` accounts (100 groups, 10 servers).
inline std::shared_ptr<lab::Lab> generatedLab(int users) {
  lab::GeneratorOptions options;
  options.users = users;
  options.groups = 100;
  options.servers = 10;
  return lab::generateLab(options);
}

// A shown window on the Users display; null when it does not start.
inline std::unique_ptr<app::MainWindow> usersWindow() {
  app::Ports ports{std::make_shared<ui::ScriptedMessages>(),
                   std::make_shared<ui::ScriptedFileChooser>(),
                   std::make_shared<ui::ScriptedDialogRunner>()};
  auto window = std::make_unique<app::MainWindow>(ports, app::WindowOptions{false});
  if (!window->initialise()) return nullptr;
  window->resize(980, 600);
  window->show();
  window->selectTab(5);  // Users
  return window;
}

}  // namespace bench
