// User administration in the running window (offscreen) over a generated
// lab of 100,000 accounts and 2,000 groups: Delete All on 1,000 selected
// rows, from the command to the list browsed again; Copy of one account
// with its memberships; the user properties dialog opened for one account
// and for 1,000 selected ones; and Add user from OK to the closed dialog.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QItemSelection>
#include <QLineEdit>
#include <QTableView>

#include <chrono>
#include <memory>

#include "app/main_window.h"
#include "app/startup.h"
#include "session/display_traits.h"
#include "platform/backend.h"
#include "platform/netapi.h"
#include "platform/lab/lab.h"
#include "ui/scripted_dialog_runner.h"
#include "ui/scripted_file_chooser.h"
#include "ui/scripted_messages.h"
#include "users/delete_members_dialog.h"
#include "users/enter_name_dialog.h"
#include "users/user_properties_dialog.h"
#include "window/command_ids.h"

namespace {

struct Window {
  std::shared_ptr<ui::ScriptedDialogRunner> dialogs = std::make_shared<ui::ScriptedDialogRunner>();
  std::shared_ptr<ui::ScriptedMessages> messages = std::make_shared<ui::ScriptedMessages>();
  std::unique_ptr<platform::ScopedBackend> installed;
  std::unique_ptr<app::MainWindow> window;
  QTableView* users = nullptr;

  bool start() {
    lab::GeneratorOptions options;
    options.users = 100000;
    options.groups = 2000;
    options.servers = 10;
    installed = std::make_unique<platform::ScopedBackend>(
        lab::makeLabBackend(lab::generateLab(options)));
    window = std::make_unique<app::MainWindow>(
        app::Ports{messages, std::make_shared<ui::ScriptedFileChooser>(), dialogs},
        app::WindowOptions{false});
    if (!window->initialise()) return false;
    window->selectTab(display::traitsOf(display::DisplayType::Users).tab);
    browse();
    users = qobject_cast<QTableView*>(window->resultControl(window::kCtlUsersList));
    return users != nullptr;
  }
  void browse() {
    window->browse();
    waitIdle();
  }
  void waitIdle() {
    while (window->browsing()) QApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  void selectRows(int first, int count) {
    auto* model = users->model();
    users->selectionModel()->select(
        QItemSelection(model->index(first, 0), model->index(first + count - 1, 0)),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  }
};

void BM_DeleteAllOfThousandSelected(benchmark::State& state) {
  Window w;
  if (!w.start()) {
    state.SkipWithError("the window did not start");
    return;
  }
  for (auto _ : state) {
    state.PauseTiming();
    w.selectRows(0, 1000);
    w.dialogs->queueStep([](QDialog& d) {
      dynamic_cast<users::CDeleteMembers&>(d).deleteAll();
      return d.result();
    });
    state.ResumeTiming();
    w.window->command(window::kIdDelete);
    w.waitIdle();
  }
  state.counters["rows_left"] = w.users->model()->rowCount();
}
BENCHMARK(BM_DeleteAllOfThousandSelected)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_CopyUser(benchmark::State& state) {
  Window w;
  if (!w.start()) {
    state.SkipWithError("the window did not start");
    return;
  }
  int n = 0;
  for (auto _ : state) {
    state.PauseTiming();
    w.selectRows(n, 1);
    const QString name = QStringLiteral("copy%1").arg(n++);
    w.dialogs->queueStep([name](QDialog& d) {
      dynamic_cast<users::CEnterName&>(d).nameEdit()->setText(name);
      return static_cast<int>(QDialog::Accepted);
    });
    state.ResumeTiming();
    w.window->command(window::kIdCopy);
    w.waitIdle();
  }
}
BENCHMARK(BM_CopyUser)->Iterations(5)->Unit(benchmark::kMillisecond);

// From the command to the dialog on screen with its membership lists, for the
// rows `select` picks in each round; closed again with Cancel.
template <typename Select>
void openPropertiesAndCancel(benchmark::State& state, int command, Select select) {
  Window w;
  if (!w.start()) {
    state.SkipWithError("the window did not start");
    return;
  }
  int n = 0;
  for (auto _ : state) {
    state.PauseTiming();
    select(w, n++);
    w.dialogs->queueResult(QDialog::Rejected);
    state.ResumeTiming();
    w.window->command(command);
  }
  state.counters["dialogs"] = static_cast<double>(w.dialogs->shown().size());
  state.counters["messages"] = static_cast<double>(w.messages->shown().size());
}

void BM_SingleUserPropertiesOpen(benchmark::State& state) {
  openPropertiesAndCancel(state, window::kIdPropertiesCyclic,
                          [](Window& w, int n) { w.selectRows(n * 97, 1); });
}
BENCHMARK(BM_SingleUserPropertiesOpen)->Iterations(10)->Unit(benchmark::kMillisecond);

void BM_CombinedPropertiesOpenThousand(benchmark::State& state) {
  openPropertiesAndCancel(state, window::kIdPropertiesCombined,
                          [](Window& w, int) { w.selectRows(5000, 1000); });
}
BENCHMARK(BM_CombinedPropertiesOpenThousand)->Iterations(3)->Unit(benchmark::kMillisecond);

// Only the OK step is timed: the browse that shows the new account follows
// the closed dialog.
void BM_AddUserOkToClosed(benchmark::State& state) {
  Window w;
  if (!w.start()) {
    state.SkipWithError("the window did not start");
    return;
  }
  int n = 0;
  for (auto _ : state) {
    const QString name = QStringLiteral("added%1").arg(n++);
    double seconds = 0;
    w.dialogs->queueStep([&](QDialog& d) {
      auto& dialog = dynamic_cast<users::CUserProperties&>(d);
      dialog.newNameEdit()->setText(name);
      dialog.passwordEdit()->setText(QStringLiteral("Bench-pass-1"));
      dialog.confirmationEdit()->setText(QStringLiteral("Bench-pass-1"));
      const auto start = std::chrono::steady_clock::now();
      dialog.accept();
      seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      return dialog.result();
    });
    w.window->command(window::kIdAdd);
    w.waitIdle();
    state.SetIterationTime(seconds);
  }
  state.counters["messages"] = static_cast<double>(w.messages->shown().size());
  platform::NetBuffer buffer;
  state.counters["created"] =
      platform::NetUserGetInfo("\\\\GENPDC", "added0", 0, buffer) == platform::NERR_Success ? 1 : 0;
}
BENCHMARK(BM_AddUserOkToClosed)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
