// The Network display's browse in the running window (offscreen) over 10
// domains of 500 servers with 5 shares each, the same network enumerated
// whole through the platform, and the server information dialog opening on
// a server with 1,000 sessions holding 10,000 open files.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTreeWidget>

#include <functional>
#include <memory>
#include <string>

#include "app/main_window.h"
#include "app/startup.h"
#include "platform/backend.h"
#include "platform/lab/lab.h"
#include "platform/lab/model.h"
#include "platform/wnet.h"
#include "servers/server_info_dialog.h"
#include "ui/scripted_dialog_runner.h"
#include "ui/scripted_file_chooser.h"
#include "ui/scripted_messages.h"
#include "window/command_ids.h"

namespace {

using namespace platform;

void BM_NetworkBrowseInWindow(benchmark::State& state) {
  platform::ScopedBackend installed(lab::makeLabBackend(lab::generateNetworkLab(10, 500, 5)));
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
  window.selectTab(2);  // Network
  for (auto _ : state) {
    window.browse();
    while (window.browsing()) QApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  auto* tree = qobject_cast<QTreeWidget*>(window.resultControl(window::kCtlNetworkTree));
  state.counters["shown_lines"] = std::stod(window.statusText(3).toStdString());
  state.counters["top_items"] = tree ? tree->topLevelItemCount() : 0;
}
BENCHMARK(BM_NetworkBrowseInWindow)->Iterations(5)->Unit(benchmark::kMillisecond);

// Every resource of the network, level by level, as the walk reads it but
// without the display's 5,000-line bound.
void BM_NetworkEnumerateWhole(benchmark::State& state) {
  platform::ScopedBackend installed(lab::makeLabBackend(lab::generateNetworkLab(10, 500, 5)));
  std::size_t seen = 0;
  std::function<void(const NETRESOURCE*)> level = [&](const NETRESOURCE* container) {
    HANDLE h = 0;
    if (WNetOpenEnum(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, container, &h) != 0) return;
    std::vector<NETRESOURCE> batch;
    for (;;) {
      DWORD count = WNET_ALL_ENTRIES;
      DWORD size = 163840;
      batch.clear();
      if (WNetEnumResource(h, &count, batch, &size) != 0) break;
      for (const auto& r : batch) {
        ++seen;
        if (r.dwUsage & RESOURCEUSAGE_CONTAINER) level(&r);
      }
    }
    WNetCloseEnum(h);
  };
  for (auto _ : state) {
    seen = 0;
    level(nullptr);
  }
  state.counters["resources"] = static_cast<double>(seen);
}
BENCHMARK(BM_NetworkEnumerateWhole)->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_ServerInformationOpen(benchmark::State& state) {
  auto made = lab::generateLab(lab::GeneratorOptions{});
  made->write([](lab::Network& net, lab::ChangeSet&) {
    lab::Machine& m = *net.findMachine("GENSRV01");
    DWORD id = 1;
    for (int s = 0; s < 1000; ++s) {
      lab::Session session;
      session.client = "CLIENT" + std::to_string(s);
      session.user = "user" + std::to_string(s);
      session.time = static_cast<DWORD>(s * 7);
      session.idle = static_cast<DWORD>(s % 600);
      for (int f = 0; f < 10; ++f) {
        session.files.push_back(
            {id++, "D:\\Data\\user" + std::to_string(s) + "\\file" + std::to_string(f) + ".doc",
             static_cast<DWORD>(1 + f % 3), static_cast<DWORD>(f % 2)});
      }
      m.sessions.push_back(std::move(session));
    }
    return true;
  });
  platform::ScopedBackend installed(lab::makeLabBackend(made));
  ui::ScriptedMessages messages;
  int sessions = 0;
  int files = 0;
  for (auto _ : state) {
    servers::ServerInfoDialog dialog("\\\\GENSRV01", messages);
    if (!dialog.load()) {
      state.SkipWithError(messages.shown().empty() ? "the dialog did not open" : messages.shown().back().text.c_str());
      return;
    }
    dialog.show();
    QApplication::processEvents();
    sessions = dialog.sessionsList()->topLevelItemCount();
    files = dialog.filesList()->topLevelItemCount();
  }
  state.counters["sessions"] = sessions;
  state.counters["open_files"] = files;
}
BENCHMARK(BM_ServerInformationOpen)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
