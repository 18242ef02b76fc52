// The Network walk over the lab: every provider, domain, server and (with
// the shares flag) share as one indented line, handed over once; a network
// larger than the lines hold fills them exactly and says so.

#include "dlgthreads/network_worker.h"
#include "engine_lab.h"

namespace dlgthreads {
namespace {

using testing::EngineLab;

class NetworkWalk : public EngineLab {
 protected:
  void SetUp() override {
    EngineLab::SetUp();
    m_lab = testing::loadTestLab("network.json");
    ASSERT_TRUE(m_lab);
    useBackend(lab::makeLabBackend(m_lab));
  }
  std::shared_ptr<WorkerBlock> walk(bool shares) {
    return run(gatherNetwork, WorkKind::Network, "\\\\CORPDC",
               [shares](WorkerBlock& b) { b.sharesFlag = shares; });
  }
};

TEST_F(NetworkWalk, LinesCarryTheirLetterAndDepthAndSharesOnlyWithTheFlag) {
  auto block = walk(true);
  EXPECT_EQ(handOvers(), 1u);
  EXPECT_EQ(busyCounters().value(WorkKind::Network), 0);
  const std::vector<std::string> expected{
      "uMicrosoft Windows Network",
      "D\tBRANCH",
      "S\t\t\\\\BRDC",
      "D\tCORP",
      "S\t\t\\\\CORPDC",
      "S\t\t\\\\FILES",
      "d\t\t\\\\FILES\\DATA",
      "p\t\t\\\\FILES\\LASER",
      "S\t\t\\\\GONE",  // unreachable: listed, its level opens to nothing
      "S\t\t\\\\WKS",
      "D\tHOMEGRP",
      "S\t\t\\\\PC1",
      "d\t\t\\\\PC1\\MUSIC",
      "uNetWare or Compatible Network",
  };
  EXPECT_EQ(block->network.lines(), expected);
  EXPECT_FALSE(block->networkLinesDropped);

  block = walk(false);
  for (const auto& line : block->network.lines()) {
    EXPECT_NE(line[0], 'd') << line;
    EXPECT_NE(line[0], 'p') << line;
  }
  EXPECT_EQ(block->network.used(), expected.size() - 3);
}

TEST_F(NetworkWalk, ABiggerNetworkFillsTheLinesExactlyAndIsMarked) {
  m_lab = lab::generateNetworkLab(2, 600, 4);  // 2 + 1,200 + 4,800 lines and more
  useBackend(lab::makeLabBackend(m_lab));
  auto block = run(gatherNetwork, WorkKind::Network, "", [](WorkerBlock& b) { b.sharesFlag = true; });
  EXPECT_EQ(handOvers(), 1u);
  EXPECT_EQ(block->network.used(), kNetworkLines);
  EXPECT_TRUE(block->networkLinesDropped);
  EXPECT_EQ(block->network.line(0), "uMicrosoft Windows Network");
  EXPECT_EQ(block->network.line(1), "D\tNET00");
  EXPECT_EQ(block->network.line(2), "S\t\t\\\\NET00S0000");
  EXPECT_EQ(block->network.line(3), "d\t\t\\\\NET00S0000\\SHARE00");
}

TEST(NetworkLine, AnEntryIsNamedByItsTypeThenItsDisplayType) {
  platform::NETRESOURCE r;
  r.lpRemoteName = "X";
  r.dwDisplayType = platform::RESOURCEDISPLAYTYPE_SERVER;
  EXPECT_EQ(networkLine(r, 2), "S\t\tX");
  r.dwDisplayType = platform::RESOURCEDISPLAYTYPE_DOMAIN;
  EXPECT_EQ(networkLine(r, 1), "D\tX");
  r.dwDisplayType = platform::RESOURCEDISPLAYTYPE_SHARE;
  r.dwType = platform::RESOURCETYPE_PRINT;
  EXPECT_EQ(networkLine(r, 0), "pX");
  r.dwType = platform::RESOURCETYPE_ANY;
  EXPECT_EQ(networkLine(r, 0), "uX");
}

}  // namespace
}  // namespace dlgthreads

namespace dlgthreads {
namespace {

using PerformanceWalk = testing::EngineLab;

TEST_F(PerformanceWalk, EntersEveryServerAndMeasuresEachShare) {
  m_lab = testing::loadTestLab("server-admin.json");
  ASSERT_TRUE(m_lab);
  useBackend(lab::makeLabBackend(m_lab));
  // The shares flag is the Network display's: the Performance walk ignores it.
  auto block = run(gatherPerformance, WorkKind::Performance, "", [](WorkerBlock& b) { b.sharesFlag = false; });
  EXPECT_EQ(handOvers(), 1u);
  EXPECT_TRUE(block->network.lines().empty());
  const std::vector<std::string> expected{
      "uMicrosoft Windows Network",
      "D\tCORP",
      "S\t\t\\\\CORPDC",
      "d\t\t\\\\CORPDC\\NETLOGON\tError number 2250",
      "S\t\t\\\\FILES",
      // 30,000,000 × 100 bits/s: past what 32 bits hold.
      "d\t\t\\\\FILES\\DATA  (Speed 3000000000 bits/sec)  (NRS-)  (Delay 40ms)  (OptPacketsize 1400)",
      "p\t\t\\\\FILES\\LASER  (Speed 3000000000 bits/sec)  (NRS-)  (Delay 40ms)  (OptPacketsize 1400)",
      "S\t\t\\\\GONE",
      "S\t\t\\\\WKS",
  };
  EXPECT_EQ(block->performance.lines(), expected);

  platform::NETCONNECTINFOSTRUCT info;
  info.dwFlags = platform::WNCON_NOTROUTED | platform::WNCON_DYNAMIC;
  info.dwSpeed = 96;
  EXPECT_EQ(performanceSuffix(0, info), "  (Speed 9600 bits/sec)  (---D)  (Delay 0ms)  (OptPacketsize 0)");
}

// A backend that cannot enumerate the network at all (a real domain's,
// before it has a network part): the walk says so instead of handing over
// a tree that passes for a network without domains.
TEST_F(NetworkWalk, ANetworkThatCannotBeEnumeratedSaysWhy) {
  useBackend(std::make_shared<platform::Backend>());
  auto block = walk(true);
  EXPECT_TRUE(block->network.lines().empty());
  const auto shown = messages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown.front().text,
            "The network could not be browsed.\nError number : 1222: The network is not present "
            "or not started.");
}

}  // namespace
}  // namespace dlgthreads
