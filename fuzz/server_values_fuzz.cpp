// The server worker turning every computer's registry values (versions,
// install dates, extra entries) and the user's extra-entry definitions into
// texts: the computers are a small lab's, their registries the fuzzer's.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "dlgthreads/server_worker.h"
#include "dlgthreads/worker_frame.h"
#include "fuzzed_registry.h"
#include "platform/backend.h"
#include "platform/lab/lab.h"
#include "ui/scripted_messages.h"

namespace {

class Host final : public dlgthreads::WorkerHost {
 public:
  void setStatusText(std::string) override {}
  ui::Messages& messages() override { return m_messages; }
  void workFinished(std::shared_ptr<dlgthreads::WorkerBlock>) override {}

 private:
  ui::ScriptedMessages m_messages;
};

constexpr std::string_view kLab = R"({
  "format": 1,
  "localMachine": "WKS",
  "loggedOn": "LAB\\Administrator",
  "domains": [{
    "name": "LAB", "sid": "S-1-5-21-70-80-90", "pdc": "PDC", "bdcs": ["BDC"],
    "users": [{"name": "Administrator", "rid": 500, "priv": 2}],
    "groups": [{"name": "Domain Admins", "rid": 512, "members": ["Administrator"]}],
    "localGroups": [{"name": "Administrators", "rid": 544, "members": ["Domain Admins"]}]
  }],
  "machines": [
    {"name": "PDC", "domain": "LAB",
     "type": ["SV_TYPE_WORKSTATION", "SV_TYPE_SERVER", "SV_TYPE_DOMAIN_CTRL", "SV_TYPE_NT"]},
    {"name": "BDC", "domain": "LAB",
     "type": ["SV_TYPE_WORKSTATION", "SV_TYPE_SERVER", "SV_TYPE_DOMAIN_BAKCTRL", "SV_TYPE_NT"]},
    {"name": "WKS", "domain": "LAB", "type": ["SV_TYPE_WORKSTATION", "SV_TYPE_NT"]}
  ]
})";

std::shared_ptr<lab::Lab> sharedLab() {
  static const std::shared_ptr<lab::Lab> made = [] {
    std::string error;
    auto lab = lab::labFromJson(kLab, "fuzz lab", &error);
    if (!lab) std::abort();
    return lab;
  }();
  return made;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto backend = lab::makeLabBackend(sharedLab());
  auto registry = std::make_shared<fuzzing::FuzzedRegistry>(std::span(data, size));
  backend->local = registry;
  backend->registry = registry;
  platform::ScopedBackend scope(backend);
  auto host = std::make_shared<Host>();
  auto block = std::make_shared<dlgthreads::WorkerBlock>();
  block->kind = dlgthreads::WorkKind::Servers;
  block->host = host;
  block->state.selectedServer = "\\\\PDC";
  block->state.settings.s_show_extra_entries = 1;
  block->state.settings.x_date_as_integer = size % 2;
  dlgthreads::ResetWork(dlgthreads::WorkKind::Servers);
  dlgthreads::gatherServers(block);
  return 0;
}
