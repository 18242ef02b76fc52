// Group Properties of a 10,000-member group in a generated domain of 20,000
// accounts: opening the dialog (members and candidates read and listed),
// and OK after one member was moved out (the member lists compared and the
// one removal written). Global and local groups.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListWidget>
#include <QPushButton>

#include <memory>

#include "app/startup.h"
#include "groups/group_properties_dialog.h"
#include "platform/backend.h"
#include "platform/lab/change_set.h"
#include "platform/lab/lab.h"
#include "platform/lab/model.h"
#include "ui/scripted_dialog_runner.h"
#include "ui/scripted_messages.h"

namespace {

constexpr int kMembers = 10000;

struct BigGroups {
  std::unique_ptr<platform::ScopedBackend> installed;
  ui::ScriptedMessages messages;
  ui::ScriptedDialogRunner dialogs;

  BigGroups() {
    lab::GeneratorOptions options;
    options.users = 2 * kMembers;
    options.groups = 200;
    options.servers = 4;
    auto generated = lab::generateLab(options);
    generated->write([](lab::Network& net, lab::ChangeSet&) {
      lab::Sam& sam = net.domains.front().sam;
      lab::Group big{"Big Global", sam.allocateRid(), "Ten thousand", platform::SE_GROUP_MANDATORY, {}};
      lab::LocalGroup local{"Big Local", sam.allocateRid(), "Ten thousand", {}};
      for (const lab::User& u : sam.users) {
        if (big.members.size() == kMembers) break;
        if (!(u.info.usri3_flags & platform::UF_NORMAL_ACCOUNT)) continue;
        big.members.push_back(u.rid);
        local.members.push_back(lab::accountSid(sam, u.rid, lab::AccountKind::User));
      }
      sam.addGroup(std::move(big));
      sam.addLocalGroup(std::move(local));
      return true;
    });
    installed = std::make_unique<platform::ScopedBackend>(lab::makeLabBackend(generated));
  }

  std::unique_ptr<groups::GroupPropertiesDialog> open(const char* name, bool local) {
    return std::make_unique<groups::GroupPropertiesDialog>(
        groups::GroupOpen{"\\\\GENPDC", name, false, local, false}, messages, dialogs);
  }
};

void openGroup(benchmark::State& state, const char* name, bool local) {
  BigGroups lab;
  for (auto _ : state) {
    auto dialog = lab.open(name, local);
    state.counters["members"] = dialog->membersList()->count();
    state.PauseTiming();
    dialog.reset();
    state.ResumeTiming();
  }
}

void okAfterOneChange(benchmark::State& state, const char* name, bool local) {
  BigGroups lab;
  for (auto _ : state) {
    state.PauseTiming();
    auto dialog = lab.open(name, local);
    dialog->membersList()->item(static_cast<int>(state.iterations()))->setSelected(true);
    dialog->moveToCandidatesButton()->click();
    state.ResumeTiming();
    dialog->accept();
    state.PauseTiming();
    if (dialog->result() != QDialog::Accepted || !lab.messages.shown().empty())
      state.SkipWithError("OK did not close cleanly");
    state.counters["members"] = dialog->membersList()->count();
    dialog.reset();
    state.ResumeTiming();
  }
}

void BM_OpenGlobalGroupOf10000(benchmark::State& state) { openGroup(state, "Big Global", false); }
void BM_OpenLocalGroupOf10000(benchmark::State& state) { openGroup(state, "Big Local", true); }
void BM_OkGlobalGroupOf10000(benchmark::State& state) { okAfterOneChange(state, "Big Global", false); }
void BM_OkLocalGroupOf10000(benchmark::State& state) { okAfterOneChange(state, "Big Local", true); }
BENCHMARK(BM_OpenGlobalGroupOf10000)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenLocalGroupOf10000)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OkGlobalGroupOf10000)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OkLocalGroupOf10000)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
