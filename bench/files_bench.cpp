// The Files walks over generated trees: storage per owner of 1,000,000
// files with 1,000 owners, the rights dump of 100,000 objects with three
// access entries each, and the access tree over 20,000 directories with ten
// entries each for a user in 50 groups. Each reports the entries its result
// holds, which is what its memory grows with (the trees are expanded on
// demand and never held whole).

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <memory>
#include <string>

#include "dlgthreads/files_worker.h"
#include "dlgthreads/worker_frame.h"
#include "platform/backend.h"
#include "platform/lab/change_set.h"
#include "platform/lab/lab.h"
#include "platform/lab/model.h"
#include "platform/lab/resolve.h"
#include "quiet_host.h"

namespace {

using namespace dlgthreads;
using platform::ACCESS_ALLOWED_ACE_TYPE;
using platform::CONTAINER_INHERIT_ACE;
using platform::OBJECT_INHERIT_ACE;

using bench::QuietHost;

lab::FileAce allow(const platform::SID& sid, platform::DWORD mask) {
  return {ACCESS_ALLOWED_ACE_TYPE, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE, mask, {sid.value, sid}};
}

// A generated domain of 1,000 users in 100 groups whose local workstation
// has C: (1,000,011 files of 1,000 owners) and D: (99,989 objects under a
// three-entry list), and whose first member server shares D:\Data: 20,439
// directories under a ten-entry list, six of the entries naming groups of a user
// who is in 50 groups.
std::shared_ptr<lab::Lab> filesLab(std::string* userInGroups) {
  lab::GeneratorOptions options;
  options.users = 1000;
  options.groups = 100;
  options.servers = 3;
  auto made = lab::generateLab(options);
  made->write([userInGroups](lab::Network& net, lab::ChangeSet&) {
    lab::Domain& d = net.domains.front();
    const auto sidOf = [&](platform::DWORD rid, lab::AccountKind kind) { return lab::accountSid(d.sam, rid, kind); };
    auto owners = std::make_shared<lab::Generated>();
    owners->seed = 11;
    owners->fanOut = 10;
    owners->depth = 3;
    owners->filesPerFolder = 901;
    owners->sizeMin = 1;
    owners->sizeMax = 50'000'000;
    for (const lab::User& u : d.sam.users) {
      if (owners->owners.size() == 1000) break;
      const platform::SID sid = sidOf(u.rid, lab::AccountKind::User);
      owners->owners.push_back({sid.value, sid});
    }
    lab::Machine* local = net.findMachine(net.localMachine);
    lab::Volume c;
    c.drive = "C";
    c.root.directory = true;
    c.root.generate = owners;
    local->volumes.push_back(std::move(c));

    auto objects = std::make_shared<lab::Generated>(*owners);
    objects->filesPerFolder = 89;
    objects->owners.resize(10);
    lab::Volume dv;
    dv.drive = "D";
    dv.root.directory = true;
    dv.root.generate = objects;
    const platform::SID everyone{"S-1-1-0"};
    dv.root.dacl = lab::Dacl{lab::DaclKind::List,
                             {allow(everyone, platform::FILE_GENERIC_READ),
                              allow(platform::SID{"S-1-5-32-544"}, platform::FILE_ALL_ACCESS),
                              allow(sidOf(d.sam.groups[5].rid, lab::AccountKind::Group), platform::GENERIC_WRITE)}};
    local->volumes.push_back(std::move(dv));

    // One user joins the first 50 groups.
    const lab::User& first = d.sam.users[d.sam.users.size() / 2];
    *userInGroups = first.name;
    for (std::size_t g = 0; g < 50 && g < d.sam.groups.size(); ++g) {
      auto& members = d.sam.groups[g].members;
      if (std::find(members.begin(), members.end(), first.rid) == members.end()) members.push_back(first.rid);
    }
    // The logged-on domain Administrator administers the file server.
    lab::Machine* server = net.findMachine("GENSRV01");
    for (lab::LocalGroup& g : server->sam->localGroups)
      if (g.rid == lab::kAdministratorsRid) g.members.push_back(sidOf(500, lab::AccountKind::User));
    lab::Volume sv;
    sv.drive = "D";
    sv.root.directory = true;
    lab::FileNode data;
    data.name = "Data";
    data.directory = true;
    auto dirs = std::make_shared<lab::Generated>();
    dirs->seed = 5;
    dirs->fanOut = 27;
    dirs->depth = 3;
    lab::Dacl ten{lab::DaclKind::List, {}};
    ten.aces.push_back(allow(platform::SID{"S-1-5-32-544"}, platform::FILE_ALL_ACCESS));
    for (int k = 1; k < 10; ++k)
      ten.aces.push_back(allow(sidOf(d.sam.groups[static_cast<std::size_t>(k * 9)].rid, lab::AccountKind::Group),
                               k % 2 ? platform::FILE_GENERIC_READ : platform::FILE_GENERIC_WRITE));
    data.dacl = std::move(ten);
    data.generate = dirs;
    sv.root.children.push_back(std::move(data));
    server->volumes.push_back(std::move(sv));
    return true;
  });
  return made;
}

std::string g_userInGroups;

const std::shared_ptr<lab::Lab>& sharedLab() {
  static const std::shared_ptr<lab::Lab> made = filesLab(&g_userInGroups);
  return made;
}

void runWalk(benchmark::State& state, int form, std::string server, std::string root,
             std::string user) {
  platform::ScopedBackend backend(lab::makeLabBackend(sharedLab()));
  if (user == "*") user = g_userInGroups;
  std::size_t entries = 0;
  std::size_t messages = 0;
  for (auto _ : state) {
    auto host = std::make_shared<QuietHost>();
    auto block = std::make_shared<WorkerBlock>();
    block->kind = WorkKind::Files;
    block->host = host;
    block->state.selectedServer = server;
    block->state.settings.f_display_type = form;
    block->state.settings.f_root_path = root;
    block->userName = user;
    ResetWork(WorkKind::Files);
    gatherFiles(block);
    entries = form == 1 ? block->accessTree.used() : block->files.used();
    messages = host->messagesShown();
    block->host.reset();
  }
  state.counters["entries"] = static_cast<double>(entries);
  // The process's peak so far: a walk that held its tree would show it here.
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
  state.counters["messages"] = static_cast<double>(messages);
}

void BM_StoragePerOwner_1M_files_1000_owners(benchmark::State& state) {
  runWalk(state, 0, "", "C:\\", "");
}
BENCHMARK(BM_StoragePerOwner_1M_files_1000_owners)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_RightsDump_100k_objects_3_entries(benchmark::State& state) {
  runWalk(state, 2, "", "D:\\", "");
}
BENCHMARK(BM_RightsDump_100k_objects_3_entries)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_AccessTree_20k_dirs_10_entries_50_groups(benchmark::State& state) {
  runWalk(state, 1, "\\\\GENSRV01", "", "*");
}
BENCHMARK(BM_AccessTree_20k_dirs_10_entries_50_groups)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

