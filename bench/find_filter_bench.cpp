// Find, Filter and the Quotas list at the sizes a large domain reaches:
// a filter over every account of a 100,000-account Users list, a Find Next
// that walks all 100,000 rows of a view, and a Quotas browse of a server
// with 5,000 entries up to its rows in the list.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTableView>
#include <memory>
#include <string>

#include "display/find_filter.h"
#include "display/content_table_model.h"
#include "session/column_data.h"
#include "session/display_contents.h"
#include "dlgthreads/quota_worker.h"
#include "dlgthreads/record_match.h"
#include "platform/backend.h"
#include "platform/lab/lab.h"
#include "platform/netapi.h"
#include "platform/registry.h"
#include "ui/scripted_messages.h"

namespace {

using namespace dlgthreads;

constexpr std::size_t kUsers = 100000;

// Accounts with every column filled with texts of realistic length.
RecordHolder<UserRecord> makeUsers(std::size_t count) {
  RecordHolder<UserRecord> users;
  users.allocate(count + 10);
  for (std::size_t i = 0; i < count; ++i) {
    UserRecord& r = *users.append();
    r.name = "user" + std::to_string(i);
    r.fullName = "Generated User " + std::to_string(i);
    r.logons = "        12";
    r.lastLogon = "Tue Mar 10 09:15:00 1998 ";
    r.acctExpires = "Never";
    r.disabled = i % 17 == 0 ? "Yes" : "No";
    r.hasPassword = "Yes";
    r.maxStorage = "        -1";
    r.profile = "*None*";
    r.script = "logon.bat";
    r.pwExpires = "Yes";
    r.lockedOut = "No";
    r.pwExpired = "No";
    r.cannotChangePw = "No";
    r.comment = "Account of a generated user";
    r.homeDrive = "H:";
    r.homeDir = "\\\\FILES1\\home\\user" + std::to_string(i);
    r.loggedOn = "No";
    r.pwLastSet = "Mon Jan  5 10:00:00 1998 ";
    r.rasAllowed = "No";
  }
  users.finish();
  return users;
}

// A filter over all columns, case folded, that keeps a handful of accounts.
void BM_FilterUsers(benchmark::State& state) {
  session::UsersContent users;
  users.list().adoptAll(makeUsers(kUsers));
  const RecordMatcher matcher({.text = "user 1234"});
  std::size_t kept = 0;
  for (auto _ : state) {
    kept = *users.filter(matcher);
    benchmark::DoNotOptimize(kept);
  }
  state.counters["records"] = static_cast<double>(users.list().recordCount());
  state.counters["kept"] = static_cast<double>(kept);
}
BENCHMARK(BM_FilterUsers)->Unit(benchmark::kMillisecond);

// Find Next from the top for a text only the last row holds: every row of
// the view is tested once, in view order.
void BM_FindNext(benchmark::State& state) {
  QTableView view;
  auto users = std::make_shared<session::UsersContent>();
  users->list().adoptAll(makeUsers(kUsers));
  auto* model = new display::ContentTableModel(users, {}, &view);
  view.setModel(model);
  view.resize(1000, 600);
  view.show();
  QApplication::processEvents();
  const RecordMatcher matcher(
      {.text = "USER" + std::to_string(kUsers - 1), .entireString = true, .column = 0});
  std::optional<int> row;
  for (auto _ : state) {
    row = display::findRow(view, matcher, display::findStart(view, true));
    benchmark::DoNotOptimize(row);
  }
  state.counters["rows"] = static_cast<double>(model->rowCount());
  state.counters["found_row"] = row ? *row : -1;
}
BENCHMARK(BM_FindNext)->Unit(benchmark::kMillisecond);

// A filter on a 200,000-row Files list (the rights dump of a large tree),
// to narrow and then to show every row again, through the view as the
// window does it.
void BM_FilterFilesRows(benchmark::State& state) {
  constexpr std::size_t kRows = 200000;
  std::vector<session::TextRow> rows(kRows);
  for (std::size_t i = 0; i < kRows; ++i) {
    rows[i].cells = {"D:\\Data\\Dir" + std::to_string(i / 20), "user" + std::to_string(i % 5000),
                     i % 3 == 0 ? "Read" : "Change"};
    rows[i].value = static_cast<std::int64_t>(i);
  }
  QTableView view;
  auto files = std::make_shared<session::TextContent>();
  files->setRows(display::columns::kFilesRightsDump, std::move(rows));
  auto* model = new display::ContentTableModel(files, {}, &view);
  view.setModel(model);
  view.resize(1000, 600);
  view.show();
  QApplication::processEvents();
  const RecordMatcher narrow({.text = "user4999", .entireString = true, .column = 1});
  const RecordMatcher all({.text = ""});
  std::size_t kept = 0;
  for (auto _ : state) {
    kept = display::filterList(view, narrow).value_or(0);
    QApplication::processEvents();
    benchmark::DoNotOptimize(display::filterList(view, all));
    QApplication::processEvents();
  }
  state.counters["rows"] = static_cast<double>(kRows);
  state.counters["kept"] = static_cast<double>(kept);
}
BENCHMARK(BM_FilterFilesRows)->Unit(benchmark::kMillisecond);

class SilentHost final : public WorkerHost {
 public:
  void setStatusText(std::string) override {}
  ui::Messages& messages() override { return m_messages; }
  void workFinished(std::shared_ptr<WorkerBlock>) override {}

 private:
  ui::ScriptedMessages m_messages;
};

// A Quotas browse: the worker reads the entries of the server's registry,
// then the list takes them as its rows.
void BM_QuotasList(benchmark::State& state) {
  lab::GeneratorOptions options;
  options.users = 10;
  options.groups = 2;
  options.servers = 3;
  platform::ScopedBackend backend(lab::makeLabBackend(lab::generateLab(options)));
  std::string server;
  platform::NetGetDCName({}, {}, &server);
  {
    platform::RegKey root;
    platform::RegConnectRegistry(server, platform::HKEY_LOCAL_MACHINE, root.out());
    platform::RegKey key;
    platform::RegCreateKeyEx(root.get(), kQuotaDirectoriesKey, 0, platform::KEY_ALL_ACCESS,
                             key.out(), nullptr);
    for (int i = 0; i < state.range(0); ++i)
      platform::RegSetValueEx(key.get(), "D:\\Home\\user" + std::to_string(i), platform::REG_SZ,
                              platform::regSzBytes("00042wr123456" + std::to_string(1000 + i)));
  }
  auto host = std::make_shared<SilentHost>();
  session::QuotasContent quotas;
  for (auto _ : state) {
    auto block = std::make_shared<WorkerBlock>();
    block->kind = WorkKind::Quotas;
    block->host = host;
    block->state.selectedServer = server;
    ResetWork(WorkKind::Quotas);
    gatherQuotas(block);
    quotas.adopt(*block, {});
    benchmark::DoNotOptimize(quotas.rowCount());
  }
  state.counters["rows"] = static_cast<double>(quotas.rowCount());
}
BENCHMARK(BM_QuotasList)->Arg(5000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
