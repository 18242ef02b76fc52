// From a finished Users block of N accounts to the Users model set on its
// QTableView (offscreen), through the same fill the window runs; and the
// memory the model holds for those records.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTableView>

#include <map>
#include <string>

#include "display/fill_host.h"
#include "display/result_display.h"
#include "display/content_table_model.h"
#include "session/display_contents.h"
#include "dlgthreads/worker_frame.h"
#include "ui/messages.h"

namespace {

class SilentMessages final : public ui::Messages {
 public:
  ui::Answer show(const ui::Message& message) override { return message.defaultAnswer; }
};

class BenchHost final : public display::FillHost {
 public:
  display::DisplayType currentDisplayType() const override { return display::DisplayType::Users; }
  const settings::SettingsValues& settingsValues() const override { return m_settings; }
  QTableView* listView(display::DisplayType type) override {
    return type == display::DisplayType::Users ? &m_view : nullptr;
  }
  QTreeWidget* treeView(display::DisplayType) override { return nullptr; }
  void setDisplayTexts(display::DisplayType type, display::DisplayTexts texts) override {
    m_texts[type] = std::move(texts);
  }
  display::DisplayTexts displayTexts(display::DisplayType type) const override {
    auto it = m_texts.find(type);
    return it == m_texts.end() ? display::DisplayTexts{} : it->second;
  }
  void showStatusTexts(const display::DisplayTexts&) override {}
  void showStatusNote(std::string_view) override {}
  void endBusy() override {}
  bool enableFirstEditItem() override { return true; }
  ui::Messages& messages() override { return m_messages; }

  QTableView& view() { return m_view; }

 private:
  settings::SettingsValues m_settings;
  QTableView m_view;
  std::map<display::DisplayType, display::DisplayTexts> m_texts;
  SilentMessages m_messages;
};

// A finished block as the user worker leaves it: every column filled with
// texts of realistic length.
void makeUsers(dlgthreads::WorkerBlock& block, std::size_t count) {
  block.kind = dlgthreads::WorkKind::Users;
  block.state.selectedServer = "\\\\PDC";
  block.users.allocate(count + 10);
  for (std::size_t i = 0; i < count; ++i) {
    dlgthreads::UserRecord& r = *block.users.append();
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
    r.lockedOut = i % 31 == 0 ? "Yes" : "No";
    r.pwExpired = "No";
    r.cannotChangePw = "No";
    r.comment = "Account of a generated user";
    r.homeDrive = "H:";
    r.homeDir = "\\\\FILES1\\home\\user" + std::to_string(i);
    r.loggedOn = "No";
    r.pwLastSet = "Mon Jan  5 10:00:00 1998 ";
    r.rasAllowed = "No";
  }
  block.users.finish();
}

std::size_t recordBytes(const dlgthreads::UserRecord& r) {
  std::size_t bytes = sizeof(r);
  for (int word = 1; word < dlgthreads::UserRecord::kWords; ++word) {
    const std::string_view text = r.text(word);
    // Short texts live inside the string object itself.
    if (word != dlgthreads::UserRecord::kLoggedOnFlagWord && text.size() > 15)
      bytes += text.size() + 1;
  }
  return bytes;
}

void BM_UsersFill(benchmark::State& state) {
  const auto count = static_cast<std::size_t>(state.range(0));
  BenchHost host;
  display::ResultDisplay result(host, display::IconSet{});
  result.setUpColumns(display::DisplayType::Users);
  host.view().resize(1000, 600);
  host.view().show();
  for (auto _ : state) {
    state.PauseTiming();
    dlgthreads::WorkerBlock block;
    makeUsers(block, count);
    state.ResumeTiming();
    result.fill(block);
    // Let the view lay out and paint its first page, as the window would.
    QApplication::processEvents();
    benchmark::DoNotOptimize(host.view().model()->rowCount());
  }
  const auto& users =
      static_cast<const session::UsersContent&>(result.content(display::DisplayType::Users));
  std::size_t bytes = users.list().rows().capacity() * sizeof(std::uint32_t);
  for (const auto& r : users.list().records()) bytes += recordBytes(r);
  state.counters["rows"] = static_cast<double>(users.rowCount());
  state.counters["model_MB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
  state.counters["bytes_per_row"] = static_cast<double>(bytes) / static_cast<double>(count);
}
BENCHMARK(BM_UsersFill)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// A header click on a list of 100,000 accounts whose names, counts and
// dates come in no order: the sort of the row order and the view's reset.
void BM_UsersSortByColumn(benchmark::State& state) {
  constexpr std::size_t kCount = 100000;
  const int column = static_cast<int>(state.range(0));
  BenchHost host;
  display::ResultDisplay result(host, display::IconSet{});
  result.setUpColumns(display::DisplayType::Users);
  host.view().resize(1000, 600);
  host.view().show();
  dlgthreads::WorkerBlock block;
  makeUsers(block, kCount);
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::size_t i = 0;
  for (dlgthreads::UserRecord& r : block.users.records()) {
    const std::size_t k = (i++ * 7919) % kCount;
    r.name = "User" + std::to_string(k);
    r.logons = std::to_string(k % 5000);
    r.logons.insert(0, 10 - r.logons.size(), ' ');
    r.lastLogon = k % 13 == 0 ? std::string("Never")
                              : "Tue " + std::string(kMonths[k % 12]) + " " +
                                    std::to_string(10 + k % 18) + " 09:15:" +
                                    std::to_string(10 + k % 50) + " " +
                                    std::to_string(1990 + k % 20) + " ";
  }
  result.fill(block);
  QApplication::processEvents();
  for (auto _ : state) {
    result.sortByColumn(display::DisplayType::Users, column);
    QApplication::processEvents();
    benchmark::DoNotOptimize(host.view().model()->index(0, 0).data());
  }
}
BENCHMARK(BM_UsersSortByColumn)
    ->Arg(0)    // UserName
    ->Arg(2)    // Logons
    ->Arg(3)    // Last Logon
    ->Arg(16)   // Home
    ->Unit(benchmark::kMillisecond);

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
