#include "dlgthreads/server_worker.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "engine_lab.h"
#include "platform/lab/lab_backend.h"
#include "platform/registry.h"
#include "settings/settings_store.h"

namespace dlgthreads {
namespace {

const std::string kCannotBrowse =
    "The specified server could not be browsed\nfor the type of information requested.\n"
    " Either choose another server, or change\nthe information type.";
const std::string kBlanks(42, ' ');

class ServerWorker : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TZ", "UTC0", 1);
    tzset();
    m_lab = testing::loadTestLab("servers-domain.json");
    ASSERT_TRUE(m_lab);
    useBackend(lab::makeLabBackend(m_lab));
  }

  void TearDown() override {
    if (m_host) m_host->forgetFinished();
  }

  void useBackend(std::shared_ptr<platform::Backend> backend) {
    m_backend.serve(std::move(backend));
  }

  std::shared_ptr<WorkerBlock> run(std::string server,
                                   const std::function<void(WorkerBlock&)>& prepare = {}) {
    if (m_host) m_host->forgetFinished();
    m_host = std::make_shared<testing::TestHost>();
    auto block = testing::makeBlock(WorkKind::Servers, m_host, std::move(server));
    if (prepare) prepare(*block);
    ResetWork(WorkKind::Servers);
    gatherServers(block);
    return block;
  }

  // The user's extra-entry definitions, as the settings dialog stores them.
  static void define(const std::vector<std::string>& definitions) {
    platform::RegKey key;
    ASSERT_EQ(platform::RegCreateKeyEx(platform::HKEY_CURRENT_USER, settings::kProgramKey, 0,
                                       platform::KEY_ALL_ACCESS, key.out(), nullptr),
              0);
    for (std::size_t n = 0; n < definitions.size(); ++n) {
      ASSERT_EQ(platform::RegSetValueEx(key.get(), "s_xtra" + std::to_string(n + 1),
                                        platform::REG_SZ, platform::regSzBytes(definitions[n])),
                0);
    }
  }

  std::vector<ui::Message> messages() const { return m_host->scripted().shown(); }

  std::shared_ptr<lab::Lab> m_lab;
  lab::test::ServedBackend m_backend;
  std::shared_ptr<testing::TestHost> m_host;
};

std::vector<std::string> namesOf(const WorkerBlock& block) {
  std::vector<std::string> out;
  for (const ServerRecord& r : block.servers.records()) out.push_back(r.name);
  return out;
}

const ServerRecord* find(const WorkerBlock& block, std::string_view name) {
  for (const ServerRecord& r : block.servers.records())
    if (r.name == name) return &r;
  return nullptr;
}

std::string flagsOf(const ServerRecord& r) {
  std::string out;
  for (Word f : r.typeFlags) out += f == 1 ? '1' : '0';
  return out;
}

void showExtras(WorkerBlock& b) { b.state.settings.s_show_extra_entries = 1; }

struct Expected {
  const char* name;
  const char* flags;  // 22 type flags in record order
  const char* version;
  std::string build, servicePack, installDate;
};

TEST_F(ServerWorker, EveryComputerOfTheBrowseList) {
  auto block = run("\\\\PDC");
  EXPECT_EQ(namesOf(*block),
            (std::vector<std::string>{"BDC", "CAPPED", "DOWN", "EMPTY", "HIGHBITS", "NOSP", "PDC",
                                      "REFUSER", "W95", "WFW"}));
  const Expected rows[] = {
      {"PDC", "1101000000010000011001", "4.0", "1381", "Service Pack 6",
       "Fri Jan  1 00:00:00 1999 "},
      // Only the low four bits of the major version count.
      {"HIGHBITS", "1000000000010001000000", "4.0", "Unknown", "Unknown", "Unknown"},
      // Missing texts keep the buffer's blanks; a missing date reads "Unknown".
      {"NOSP", "1100000000010010000000", "3.51", "1057", kBlanks, "Unknown"},
      // Registry refused or unreachable, or no version key: the flags and
      // the version still show.
      {"WFW", "1000000000001000000000", "3.11", "Unknown", "Unknown", "Unknown"},
      {"W95", "1000000000001000000000", "4.0", "Unknown", "Unknown", "Unknown"},
      {"DOWN", "1000000000010000000000", "4.0", "Unknown", "Unknown", "Unknown"},
      {"BDC", "1100100000010000100000", "4.0", "Unknown", "Unknown", "Unknown"},
  };
  for (const Expected& row : rows) {
    SCOPED_TRACE(row.name);
    const ServerRecord* r = find(*block, row.name);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(flagsOf(*r), row.flags);
    EXPECT_EQ(r->version, row.version);
    EXPECT_EQ(r->build, row.build);
    EXPECT_EQ(r->servicePack, row.servicePack);
    EXPECT_EQ(r->installDate, row.installDate);
    for (const auto& extra : r->extra) EXPECT_EQ(extra, "");
  }
  EXPECT_EQ(find(*block, "PDC")->comment, "Primary domain controller");
  EXPECT_EQ(block->servers.count(), 10);
  EXPECT_EQ(block->state.recordCount, 10);
  EXPECT_EQ(block->servers.withEnd().back().name, "END_OF_DATA");
  EXPECT_TRUE(messages().empty());
  EXPECT_EQ(m_host->finished().size(), 1u);
}

TEST_F(ServerWorker, TypeFlagsAndVersionTexts) {
  using namespace platform;
  // Either Windows bit sets the Windows for Workgroups flag (index 12).
  for (DWORD bits : {SV_TYPE_WFW, SV_TYPE_WINDOWS, SV_TYPE_WFW | SV_TYPE_WINDOWS}) {
    const auto flags = serverTypeFlags(bits);
    for (int i = 0; i < ServerRecord::kTypeFlags; ++i) EXPECT_EQ(flags[i], i == 12 ? 1u : 0u);
  }
  const auto all = serverTypeFlags(0xFFFFFFFF);
  for (Word f : all) EXPECT_EQ(f, 1u);
  // The time source flag comes last although its bit is 0x20.
  EXPECT_EQ(serverTypeFlags(SV_TYPE_TIME_SOURCE)[21], 1u);
  EXPECT_EQ(serverTypeFlags(SV_TYPE_AFP)[5], 1u);
  EXPECT_EQ(serverVersionText(0x14, 0), "4.0");
  EXPECT_EQ(serverVersionText(0xF3, 51), "3.51");
  EXPECT_EQ(serverVersionText(0x10, 0), "0.0");
}

TEST_F(ServerWorker, OwnBrowseListWithStaleEntry) {
  auto block = run("OUTPOST");
  EXPECT_EQ(namesOf(*block), (std::vector<std::string>{"PDC", "GHOST"}));
  const ServerRecord* ghost = find(*block, "GHOST");
  ASSERT_NE(ghost, nullptr);
  EXPECT_EQ(ghost->version, "4.1");
  EXPECT_EQ(flagsOf(*ghost), "1100011000010000000110");
  EXPECT_EQ(ghost->build, "Unknown");
  EXPECT_EQ(find(*block, "PDC")->build, "1381");
}

TEST_F(ServerWorker, DatesAsSerialDayNumbers) {
  auto block = run("\\\\PDC", [](WorkerBlock& b) { b.state.settings.x_date_as_integer = 1; });
  EXPECT_EQ(find(*block, "PDC")->installDate, "36161.000000");
  EXPECT_EQ(find(*block, "NOSP")->installDate, "Unknown");
}

TEST_F(ServerWorker, ExtraEntries) {
  define({"SOFTWARE\\Facilities\\Owner", "SOFTWARE\\Facilities\\Seats", "RootNote",
          "SOFTWARE\\Nowhere\\Owner", "SOFTWARE\\Facilities\\Missing"});
  auto block = run("\\\\PDC", showExtras);
  const ServerRecord* pdc = find(*block, "PDC");
  ASSERT_NE(pdc, nullptr);
  EXPECT_EQ(pdc->extra, (std::array<std::string, 5>{"Building services", "12",
                                                     "kept at the root", "unknown", "Unknown"}));
  for (int word = 29; word <= 33; ++word) EXPECT_EQ(pdc->text(word), pdc->extra[word - 29]);
  // A computer whose version key cannot be read gets no extra entries.
  for (const char* name : {"WFW", "BDC", "DOWN"}) {
    for (const auto& extra : find(*block, name)->extra) EXPECT_EQ(extra, "") << name;
  }
  // Reachable with a version key but none of the extra keys.
  EXPECT_EQ(find(*block, "NOSP")->extra,
            (std::array<std::string, 5>{"unknown", "unknown", "Unknown", "unknown", "unknown"}));
}

TEST_F(ServerWorker, ExtraEntriesOffLeaveTheColumnsEmpty) {
  define({"SOFTWARE\\Facilities\\Owner", "RootNote"});
  auto block = run("\\\\PDC");
  for (const ServerRecord& r : block->servers.records()) {
    for (int word = 29; word <= 33; ++word) EXPECT_EQ(r.text(word), "") << r.name;
  }
}

TEST_F(ServerWorker, DefinitionsSplitAtTheLastBackslash) {
  struct Row {
    const char* definition;
    const char* keyPath;
    const char* valueName;
  };
  const Row rows[] = {
      {"SOFTWARE\\Facilities\\Owner", "SOFTWARE\\Facilities", "Owner"},
      {"Owner", "", "Owner"},
      {"\\Owner", "", "Owner"},
      {"SOFTWARE\\", "SOFTWARE", ""},
      {"", "", ""},
  };
  for (const Row& row : rows) {
    const auto split = splitExtraEntry(row.definition);
    EXPECT_EQ(split.keyPath, row.keyPath) << row.definition;
    EXPECT_EQ(split.valueName, row.valueName) << row.definition;
  }
}

TEST_F(ServerWorker, RequestNotAcceptedUsesTheLocalBrowseList) {
  auto block = run("\\\\REFUSER");
  EXPECT_EQ(namesOf(*block), (std::vector<std::string>{"WKS", "PDC"}));
  EXPECT_EQ(find(*block, "WKS")->servicePack, "Service Pack 5");
  EXPECT_TRUE(messages().empty());
}

TEST_F(ServerWorker, PartialAnswerSaysSoAndKeepsWhatCame) {
  auto block = run("\\\\CAPPED");
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_EQ(messages()[0].text, "There is more data than buffer space.");
  EXPECT_EQ(messages()[0].caption, "Error");
  EXPECT_EQ(namesOf(*block), (std::vector<std::string>{"BDC", "CAPPED"}));
  EXPECT_EQ(block->state.recordCount, 2);
  // The array is sized from the total the browser reported.
  EXPECT_EQ(block->servers.capacity(), 10u + 100u);
}

TEST_F(ServerWorker, EmptyAnswers) {
  struct Row {
    const char* server;
    const char* caption;
  };
  const Row rows[] = {
      {"\\\\EMPTY", "Error number : 0"},
      {"\\\\DOWN", "Error number : 53"},
      {"\\\\BAD NAME", "Invalid computer Name"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.server);
    auto block = run(row.server);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, kCannotBrowse);
    EXPECT_EQ(messages()[0].caption, row.caption);
    ASSERT_EQ(block->servers.withEnd().size(), 1u);
    EXPECT_EQ(block->servers.withEnd()[0].name, "END_OF_DATA");
    EXPECT_EQ(block->state.recordCount, 0);
    EXPECT_EQ(m_host->finished().size(), 1u);
  }
}

TEST_F(ServerWorker, PlainUserReadsTheVersionValues) {
  m_lab->logOn("LAB\\bob");
  auto block = run("\\\\PDC");
  EXPECT_EQ(find(*block, "PDC")->build, "1381");
  EXPECT_EQ(find(*block, "PDC")->servicePack, "Service Pack 6");
}

TEST_F(ServerWorker, NoArrayNoRecordsNoMessage) {
  auto block = run("\\\\PDC", [](WorkerBlock& b) { b.servers.setAllocationLimit(5); });
  EXPECT_FALSE(block->servers.hasArray());
  EXPECT_EQ(block->state.recordCount, 0);
  EXPECT_TRUE(messages().empty());
  EXPECT_EQ(m_host->finished().size(), 1u);
}

// Stops the browse from inside the second computer's registry connection.
class StopInRegistry final : public lab::LabLocalSystem {
 public:
  using LabLocalSystem::LabLocalSystem;
  platform::LONG RegConnectRegistry(std::string_view machine, platform::HKEY key,
                          platform::HKEY* result) override {
    if (++connects == 2 && block) block->requestCancel();
    return LabLocalSystem::RegConnectRegistry(machine, key, result);
  }
  int connects = 0;
  std::shared_ptr<WorkerBlock> block;
};

TEST_F(ServerWorker, StopsBetweenPlatformCalls) {
  auto backend = std::make_shared<StopInRegistry>(m_lab);
  useBackend(lab::makeLabBackend(m_lab, backend));
  auto block = run("\\\\PDC", [&](WorkerBlock& b) {
    backend->block = std::shared_ptr<WorkerBlock>(std::shared_ptr<WorkerBlock>{}, &b);
  });
  EXPECT_EQ(backend->connects, 2);
  EXPECT_TRUE(m_host->finished().empty());
  EXPECT_TRUE(messages().empty());
}

}  // namespace
}  // namespace dlgthreads
