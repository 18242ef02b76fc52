// The browse workers over generated labs: a full Users browse of 100,000
// accounts across two domain controllers, and a Groups browse with members
// over 10,000 groups. Reports the time of the work and the memory the
// finished records hold.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "dlgthreads/group_worker.h"
#include "dlgthreads/user_worker.h"
#include "dlgthreads/worker_frame.h"
#include "platform/backend.h"
#include "platform/lab/lab.h"
#include "platform/netapi.h"
#include "ui/scripted_messages.h"

namespace {

using namespace dlgthreads;

// A host that keeps only what a window would: the last status text.
class QuietHost final : public WorkerHost {
 public:
  void setStatusText(std::string text) override { m_last = std::move(text); }
  ui::Messages& messages() override { return m_messages; }
  void workFinished(std::shared_ptr<WorkerBlock>) override { ++m_finished; }
  int finished() const { return m_finished; }

 private:
  std::string m_last;
  ui::ScriptedMessages m_messages;
  int m_finished = 0;
};

// The records themselves plus the text they keep outside (longer than fits
// inline in a string); allocator overhead not counted.
template <class T>
std::size_t recordBytes(const RecordHolder<T>& holder) {
  std::size_t bytes = holder.withEnd().size() * sizeof(T);
  for (const T& r : holder.withEnd()) {
    for (int w = 1; w < T::kWords; ++w) {
      const auto text = r.text(w);
      if (text.size() > std::string().capacity()) bytes += text.size() + 1;
    }
  }
  return bytes;
}

std::string pdcOf() {
  std::string name;
  platform::NetGetDCName({}, {}, &name);
  return name;
}

// Times one browse of `kind` per iteration over a lab generated from
// `options`, at its primary controller; `configure` sets the browse's
// settings. The records' memory is measured, and freed, outside the timing.
template <class Record, class Configure>
void timeBrowses(benchmark::State& state, const lab::GeneratorOptions& options, WorkKind kind,
                 void (*gather)(std::shared_ptr<WorkerBlock>),
                 RecordHolder<Record> WorkerBlock::*records, Configure configure,
                 const char* countName) {
  auto generated = lab::generateLab(options);
  platform::ScopedBackend backend(lab::makeLabBackend(generated));
  const std::string server = pdcOf();
  auto host = std::make_shared<QuietHost>();
  std::size_t bytes = 0;
  std::int32_t count = 0;
  for (auto _ : state) {
    auto block = std::make_shared<WorkerBlock>();
    block->kind = kind;
    block->host = host;
    block->state.selectedServer = server;
    configure(block->state.settings);
    ResetWork(kind);
    gather(block);
    state.PauseTiming();
    bytes = recordBytes((*block).*records);
    count = ((*block).*records).count();
    block.reset();  // freeing the records is not part of the browse
    state.ResumeTiming();
  }
  state.counters[countName] = count;
  state.counters["record_MB"] = static_cast<double>(bytes) / 1e6;
}

void BM_UserBrowseFull(benchmark::State& state) {
  lab::GeneratorOptions options;
  options.users = static_cast<int>(state.range(0));
  options.domainControllers = 2;
  options.groups = 100;
  timeBrowses(state, options, WorkKind::Users, gatherUsers, &WorkerBlock::users,
              [](auto& settings) {
                settings.u_quick_viewing = 0;
                settings.traverse_search = 1;
              },
              "records");
}
BENCHMARK(BM_UserBrowseFull)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_GroupBrowseMembers(benchmark::State& state) {
  lab::GeneratorOptions options;
  options.users = 20000;
  options.groups = static_cast<int>(state.range(0));
  options.membersPerGroup = 20;
  timeBrowses(state, options, WorkKind::Groups, gatherGroups, &WorkerBlock::groups,
              [](auto& settings) { settings.g_show_members = 1; }, "lines");
}
BENCHMARK(BM_GroupBrowseMembers)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
