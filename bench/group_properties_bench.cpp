// Group Properties (offscreen): opening the dialog (members and candidates
// read and listed), and OK after one member was moved out (the member lists
// compared and the one removal written). Global and local groups, in two
// generated domains: a 10,000-member group among 20,000 accounts, and the
// whole domain of 100,000 accounts (Domain Users, 100,001 members, and a
// local group holding the same accounts).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>
#include <memory>
#include <string>

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
constexpr int kWholeDomain = 100000;
// Accounts whose primary group is Domain Guests, so that they may leave
// Domain Users: one per OK iteration.
constexpr int kMovable = 32;

struct BigGroups {
  int width;
  int moved = 0;  // the accounts moved out so far, by the OK benchmarks
  std::unique_ptr<platform::ScopedBackend> installed;
  ui::ScriptedMessages messages;
  ui::ScriptedDialogRunner dialogs;

  // A domain of `users` accounts with "Big Global" and "Big Local" holding
  // `members` normal accounts each (every account when `members` is 0).
  BigGroups(int users, int members) : width(std::max<int>(5, std::to_string(users).size())) {
    lab::GeneratorOptions options;
    options.users = users;
    options.groups = 200;
    options.servers = 4;
    auto generated = lab::generateLab(options);
    generated->write([this, members](lab::Network& net, lab::ChangeSet&) {
      lab::Sam& sam = net.domains.front().sam;
      lab::Group big{"Big Global", sam.allocateRid(), "Big", platform::SE_GROUP_MANDATORY, {}};
      lab::LocalGroup local{"Big Local", sam.allocateRid(), "Big", {}};
      for (const lab::User& u : sam.users) {
        if (members != 0 && big.members.size() == static_cast<std::size_t>(members)) break;
        if (members != 0 && !(u.info.usri3_flags & platform::UF_NORMAL_ACCOUNT)) continue;
        big.members.push_back(u.rid);
        local.members.push_back(lab::accountSid(sam, u.rid, lab::AccountKind::User));
      }
      sam.addGroup(std::move(big));
      sam.addLocalGroup(std::move(local));
      lab::Group* guests = sam.findGroup("Domain Guests");
      for (int i = 1; i <= kMovable; ++i) {
        lab::User* u = sam.findUser(movable(i));
        if (!u || !guests) break;
        u->info.usri3_primary_group_id = guests->rid;
        guests->members.push_back(u->rid);
      }
      return true;
    });
    installed = std::make_unique<platform::ScopedBackend>(lab::makeLabBackend(generated));
  }

  // The generated name of the i-th account ("user00001"), padded to the
  // digits of the account count.
  std::string movable(int i) const {
    const std::string digits = std::to_string(i);
    return "user" + std::string(static_cast<std::size_t>(width) - digits.size(), '0') + digits;
  }

  std::unique_ptr<groups::GroupPropertiesDialog> open(const char* name, bool local) {
    return std::make_unique<groups::GroupPropertiesDialog>(
        groups::GroupOpen{"\\\\GENPDC", name, false, local, false}, messages, dialogs);
  }
};

// Opening ends when the dialog is on screen: its lists laid out and painted.
void openGroup(benchmark::State& state, BigGroups& lab, const char* name, bool local) {
  for (auto _ : state) {
    auto dialog = lab.open(name, local);
    dialog->show();
    QApplication::processEvents();
    state.counters["members"] = dialog->membersList()->count();
    state.PauseTiming();
    dialog.reset();
    state.ResumeTiming();
  }
}

// Each iteration moves out another account whose primary group allows it.
void okAfterOneChange(benchmark::State& state, BigGroups& lab, const char* name, bool local) {
  for (auto _ : state) {
    state.PauseTiming();
    auto dialog = lab.open(name, local);
    const std::string account = lab.movable(++lab.moved);
    const QString entry = QString::fromStdString(local ? "GEN\\" + account : account);
    const auto found = dialog->membersList()->findItems(entry, Qt::MatchFixedString);
    if (found.isEmpty()) {
      state.SkipWithError("the member to remove is not listed");
      break;
    }
    found.front()->setSelected(true);
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

BigGroups& tenThousand() {
  static BigGroups lab(2 * kMembers, kMembers);
  return lab;
}

BigGroups& wholeDomain() {
  static BigGroups lab(kWholeDomain, 0);
  return lab;
}

void BM_OpenGlobalGroupOf10000(benchmark::State& state) {
  openGroup(state, tenThousand(), "Big Global", false);
}
void BM_OpenLocalGroupOf10000(benchmark::State& state) {
  openGroup(state, tenThousand(), "Big Local", true);
}
void BM_OkGlobalGroupOf10000(benchmark::State& state) {
  okAfterOneChange(state, tenThousand(), "Big Global", false);
}
void BM_OkLocalGroupOf10000(benchmark::State& state) {
  okAfterOneChange(state, tenThousand(), "Big Local", true);
}
void BM_OpenDomainUsersOf100000(benchmark::State& state) {
  openGroup(state, wholeDomain(), "Domain Users", false);
}
void BM_OpenLocalGroupOf100000(benchmark::State& state) {
  openGroup(state, wholeDomain(), "Big Local", true);
}
void BM_OkDomainUsersOf100000(benchmark::State& state) {
  okAfterOneChange(state, wholeDomain(), "Domain Users", false);
}
void BM_OkLocalGroupOf100000(benchmark::State& state) {
  okAfterOneChange(state, wholeDomain(), "Big Local", true);
}
BENCHMARK(BM_OpenGlobalGroupOf10000)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenLocalGroupOf10000)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OkGlobalGroupOf10000)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OkLocalGroupOf10000)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenDomainUsersOf100000)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenLocalGroupOf100000)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OkDomainUsersOf100000)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OkLocalGroupOf100000)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
