// The Files walks over a lab with explicit nodes laid over a generated
// tree: storage per owner agrees with the lab's own totals, and the rights
// dump shows what each access list grants.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <limits>
#include <map>

#include <nlohmann/json.hpp>

#include "dlgthreads/files_walks.h"
#include "dlgthreads/files_worker.h"
#include "dlgthreads/owner_totals.h"
#include "dlgthreads/rights_text.h"
#include "engine_lab.h"
#include "platform/byte_totals.h"
#include "platform/lab/change_set.h"
#include "platform/lab/file_paths.h"
#include "platform/lab/model.h"
#include "platform/security.h"

namespace dlgthreads::testing {
namespace {

class FilesWalks : public EngineLab {
 protected:
  void SetUp() override {
    EngineLab::SetUp();
    m_lab = loadTestLab("files-lab.json");
    ASSERT_TRUE(m_lab);
    useBackend(lab::makeLabBackend(m_lab));
  }

  std::shared_ptr<WorkerBlock> walk(int form, std::string root, bool directoriesOnly = false) {
    return run(gatherFiles, WorkKind::Files, "\\\\WKS", [&](WorkerBlock& b) {
      b.state.settings.f_display_type = form;
      b.state.settings.f_root_path = root;
      b.state.settings.f_directories_only = directoriesOnly ? 1 : 0;
    });
  }

  // The lab's true totals below `path`, by the name the walk shows.
  std::map<std::string, std::pair<std::uint64_t, std::uint64_t>> oracle(const std::string& path) {
    std::unordered_map<std::string, lab::OwnerTotal> totals;
    m_lab->read([&](const lab::Network& net) {
      platform::DWORD status = 0;
      EXPECT_TRUE(lab::ownerTotalsAt(net, path, &totals, &status)) << status;
    });
    std::map<std::string, std::pair<std::uint64_t, std::uint64_t>> byKey;
    for (const auto& [sid, t] : totals) byKey[sid] = {t.bytes, t.files};
    return byKey;
  }

  static std::map<std::string, std::pair<std::uint64_t, std::uint64_t>> rows(const WorkerBlock& b) {
    std::map<std::string, std::pair<std::uint64_t, std::uint64_t>> out;
    for (std::size_t i = 0; i < b.files.used(); ++i) {
      const FilesEntry& e = b.files.get(i);
      EXPECT_FALSE(out.contains(e.name)) << e.name;
      out[e.name] = {e.bytes, e.count};
    }
    return out;
  }

  std::string sidOf(const std::string& account) {
    platform::SID sid;
    std::string domain;
    platform::SID_NAME_USE use{};
    EXPECT_EQ(platform::LookupAccountName("\\\\WKS", account, &sid, &domain, &use), 0u) << account;
    return sid.value;
  }
};

TEST_F(FilesWalks, StoragePerOwnerAgreesWithTheLabsTotals) {
  // Typed without its final backslash: the walk must still list Gen itself.
  const auto block = walk(0, "C:\\Data\\Gen");
  EXPECT_EQ(handOvers(), 1u);
  EXPECT_TRUE(messages().empty());
  const auto truth = oracle("C:\\Data\\Gen");
  const auto shown = rows(*block);
  ASSERT_EQ(shown.size(), truth.size());
  for (const auto& [account, name] : std::map<std::string, std::string>{
           {"LAB\\alice", "alice"}, {"LAB\\bob", "bob"}, {"LAB\\carol", "carol"},
           {"LAB\\Administrator", "Administrator"}}) {
    ASSERT_TRUE(truth.contains(sidOf(account))) << account;
    EXPECT_EQ(shown.at(name), truth.at(sidOf(account))) << account;
  }
  // Sizes up to 5,000,000,000 bytes each: the totals are well past 4 GiB.
  EXPECT_GT(shown.at("alice").first, 0xFFFFFFFFull);
}

TEST_F(FilesWalks, OwnersAreToldApartBySidAndUnknownOnesShowTheirSid) {
  const auto block = walk(0, "C:\\Data\\");
  const auto shown = rows(*block);
  const auto truth = oracle("C:\\Data");
  // The domain's and the workstation's own Administrator are two owners.
  EXPECT_EQ(shown.at("LAB\\Administrator"), truth.at(sidOf("LAB\\Administrator")));
  EXPECT_EQ(shown.at("WKS\\Administrator"), (std::pair<std::uint64_t, std::uint64_t>{1000, 1}));
  EXPECT_EQ(shown.at("S-1-5-21-99-98-97-1234"), (std::pair<std::uint64_t, std::uint64_t>{77, 1}));
  std::uint64_t bytes = 0, files = 0, trueBytes = 0, trueFiles = 0;
  for (const auto& [n, t] : shown) bytes += t.first, files += t.second;
  for (const auto& [n, t] : truth) trueBytes += t.first, trueFiles += t.second;
  EXPECT_EQ(bytes, trueBytes);
  EXPECT_EQ(files, trueFiles);
}

TEST_F(FilesWalks, RefusalsAreCountedUnderTheirMarks) {
  const auto block = walk(0, "C:\\");
  const auto shown = rows(*block);
  // One byte and one count for each directory that could not be listed.
  EXPECT_EQ(shown.at("<dirlist denied>"), (std::pair<std::uint64_t, std::uint64_t>{2, 2}));
  EXPECT_EQ(shown.at("<account deleted>"), (std::pair<std::uint64_t, std::uint64_t>{90, 1}));
  EXPECT_EQ(shown.at("<access denied>"), (std::pair<std::uint64_t, std::uint64_t>{60, 1}));
  EXPECT_EQ(shown.at("<missing>"), (std::pair<std::uint64_t, std::uint64_t>{70, 1}));
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_EQ(messages()[0].text, "Invalid Security descriptor!");
  EXPECT_EQ(messages()[0].caption, "FATAL Veltrane Error");
}

TEST_F(FilesWalks, OwnerRowsAreFoundWhereverTheyStandAndTheCapIsSaidOnce) {
  FilesArea area;
  OwnerTotals totals(area);
  for (std::size_t i = 0; i < FilesArea::kCapacity + 5; ++i) {
    const std::string n = std::to_string(i);
    totals.add(std::string("S-1-5-21-1-2-3-").append(n), std::string("u").append(n), "", 1);
  }
  EXPECT_TRUE(totals.capped());
  // An owner first stored late keeps one row and goes on counting.
  for (int k = 0; k < 3; ++k) totals.add("S-1-5-21-1-2-3-150000", "u150000", "", 1ull << 32);
  totals.finish();
  EXPECT_EQ(area.used(), FilesArea::kCapacity);
  EXPECT_EQ(area.get(150000).count, 4u);
  EXPECT_EQ(area.get(150000).bytes, 1 + 3 * (1ull << 32));
}

// Two files of 2^63 bytes and one of 5: a 64-bit sum wraps to 5, which
// looks like a true total. Both the walk and the lab's own totals stop at
// the largest value instead.
TEST_F(FilesWalks, TotalsPastSixtyFourBitsStopAtTheLargestValueInsteadOfWrapping) {
  std::ifstream in(std::string(VELTRANE_TEST_LABS) + "/files-lab.json");
  auto json = nlohmann::ordered_json::parse(in);
  for (auto& machine : json["machines"]) {
    if (machine["name"] != "WKS") continue;
    machine["volumes"][0]["root"]["children"].push_back(nlohmann::ordered_json::parse(R"({
      "name": "Huge", "owner": "LAB\\bob", "children": [
        {"name": "a.bin", "size": 9223372036854775808},
        {"name": "b.bin", "size": 9223372036854775808},
        {"name": "c.txt", "size": 5}]})"));
  }
  std::string error;
  m_lab = lab::labFromJson(json.dump(), "huge-files", &error);
  ASSERT_TRUE(m_lab) << error;
  useBackend(lab::makeLabBackend(m_lab));

  constexpr auto kMax = std::numeric_limits<std::uint64_t>::max();
  const auto block = walk(0, "C:\\Huge");
  EXPECT_EQ(rows(*block), (std::map<std::string, std::pair<std::uint64_t, std::uint64_t>>{
                              {"bob", {kMax, 3}}}));
  EXPECT_EQ(oracle("C:\\Huge"), (std::map<std::string, std::pair<std::uint64_t, std::uint64_t>>{
                                     {sidOf("LAB\\bob"), {kMax, 3}}}));
  EXPECT_EQ(platform::byteTotalText(kMax), "18446744073709551615+");
  EXPECT_EQ(platform::byteTotalText(kMax - 1), "18446744073709551614");
}

TEST_F(FilesWalks, RightsDumpShowsWhatEachAccessListGrants) {
  const auto block = walk(2, "C:\\Rights");
  std::vector<std::vector<std::string>> got;
  for (std::size_t i = 0; i < block->files.used(); ++i) {
    const FilesEntry& e = block->files.get(i);
    got.push_back({e.path, e.name, e.rights, std::to_string(e.count)});
  }
  const std::vector<std::vector<std::string>> want = {
      {"C:\\Rights\\Open", "NULL", "(RWXDPO)", "1"},
      {"C:\\Rights\\Open\\any.txt", "NULL", "(RWXDPO)", "1"},
      {"C:\\Rights\\plan.txt", "BUILTIN\\Administrators", "(RWXDPO)", "1"},
      // Generic read counts as R; two entries in a row for one account make one line.
      {"C:\\Rights\\plan.txt", "LAB\\Sales", "(R) (W)", "0"},
      {"C:\\Rights\\plan.txt", "LAB\\bob", "Deny (WD)", "0"},
      // Inherited by the file, where it is no longer inherit-only.
      {"C:\\Rights\\plan.txt", "Everyone", "(R)", "0"},
      {"C:\\Rights\\plan.txt", "S-1-5-21-99-98-97-1234", "(D)", "0"},
  };
  EXPECT_EQ(got, want);

  // An inherit-only entry (Everyone's, for what is made below Docs) is
  // shown too: the dump lists every entry of an access list.
  const auto member = walk(2, "\\\\MEMBER\\D$\\Projects\\");
  bool everyoneOnDocs = false;
  for (std::size_t i = 0; i < member->files.used(); ++i) {
    const FilesEntry& e = member->files.get(i);
    if (e.path.ends_with("\\Docs") && e.name == "Everyone") everyoneOnDocs = e.rights == "(R)";
  }
  EXPECT_TRUE(everyoneOnDocs);

  const auto dirsOnly = walk(2, "C:\\Rights\\", true);
  ASSERT_EQ(dirsOnly->files.used(), 1u);
  EXPECT_EQ(dirsOnly->files.get(0).path, "C:\\Rights\\Open");
}

TEST(RightsText, LettersFollowTheMaskWithGenericRightsMapped) {
  EXPECT_EQ(rightsText(platform::GENERIC_ALL), "(RWXDPO)");
  EXPECT_EQ(rightsText(platform::GENERIC_READ | platform::GENERIC_WRITE), "(RW)");
  EXPECT_EQ(rightsText(0x120089 & ~0x8u), "()");
  std::string text = "(None";
  addRightsLetters(text, platform::FILE_GENERIC_WRITE);
  addRightsLetters(text, platform::FILE_GENERIC_READ | platform::FILE_GENERIC_WRITE);
  EXPECT_EQ(text, "(WR");
}

}  // namespace
}  // namespace dlgthreads::testing

namespace dlgthreads::testing {
namespace {

class AccessTreeWalk : public FilesWalks {
 protected:
  std::vector<std::string> tree(const std::string& who) {
    const auto block = run(gatherFiles, WorkKind::Files, "\\\\MEMBER", [&](WorkerBlock& b) {
      b.state.settings.f_display_type = 1;
      b.userName = who;
    });
    EXPECT_TRUE(block->userNameKnown);
    EXPECT_TRUE(block->accessTreeWalked);
    return block->accessTree.lines();
  }
};

TEST_F(AccessTreeWalk, MarksWhatTheUserItsGroupsAndTheServersLocalGroupsHold) {
  // alice is a domain user (found on the domain's controller) in Sales.
  EXPECT_EQ(tree("alice"), (std::vector<std::string>{
                               "root", "D\tMEMBER", "S\t\t\\\\MEMBER", "d\t\t\\\\MEMBER\\Projects",
                               "F\t\t\tTeam   (RW)Y", "F\t\t\t\tInner   (RW)Y",
                               // The inherit-only entry for Everyone is for what lies below.
                               "F\t\t\tDocs   (None)G",
                               "F\t\t\tOpen   (RWXDPO)Y",
                               // Denied writing by name: what Everyone may do, then what
                               // the deny takes away, never as a grant.
                               "F\t\t\tDenied   (RWXDPO) Deny (W)Y", "F\t\t\tAdmin   (None)G",
                               // A CD share gets its line, but no directory lines.
                               "d\t\t\\\\MEMBER\\CD"}));
  EXPECT_TRUE(messages().empty());
  // carol reads Docs through the server's local group Readers.
  EXPECT_EQ(tree("carol")[6], "F\t\t\tDocs   (R)Y");
  // The local group itself is matched by its SID.
  EXPECT_EQ(tree("Readers")[6], "F\t\t\tDocs   (R)Y");
  // The server's own Administrator is neither the domain's nor the one of
  // the workstation the program runs on.
  EXPECT_EQ(tree("Administrator")[9], "F\t\t\tAdmin   (None)G");
}

TEST_F(AccessTreeWalk, AnUnknownNameOrUnreadableGroupsLeaveTheDisplayAlone) {
  auto block = run(gatherFiles, WorkKind::Files, "\\\\MEMBER", [&](WorkerBlock& b) {
    b.state.settings.f_display_type = 1;
    b.userName = "nobody";
  });
  EXPECT_FALSE(block->userNameKnown);
  EXPECT_EQ(handOvers(), 1u);  // the fill says "User unknown"

  m_lab->refuseOperation("PDC", "NetUserGetGroups", 5);
  block = run(gatherFiles, WorkKind::Files, "\\\\MEMBER", [&](WorkerBlock& b) {
    b.state.settings.f_display_type = 1;
    b.userName = "alice";
  });
  EXPECT_FALSE(block->accessTreeWalked);
  EXPECT_EQ(block->accessTree.used(), 0u);
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_EQ(messages()[0].text, "Error enuming user.");
  EXPECT_EQ(messages()[0].caption, "Veltrane Tool");
}

// A tree bigger than the access tree's lines, dumped into a Files area too
// small for it: each walk says once that it stopped, and keeps what fitted.
TEST_F(AccessTreeWalk, CapsAreSaidOnceAndWhatFittedIsKept) {
  m_lab->write([](lab::Network& net, lab::ChangeSet&) {
    lab::Volume* d = net.findMachine("MEMBER")->findVolume("D");
    lab::FileNode& projects = d->root.children.front();
    auto g = std::make_shared<lab::Generated>();
    g->fanOut = 30;
    g->depth = 3;
    g->filesPerFolder = 8;
    projects.generate = g;
    return true;
  });
  const auto lines = tree("alice");
  EXPECT_EQ(lines.size(), kAccessTreeLines - 1);
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_EQ(messages()[0].text, kAccessTreeFullText);

  const auto block = run(gatherFiles, WorkKind::Files, "\\\\MEMBER", [&](WorkerBlock& b) {
    b.state.settings.f_display_type = 2;
    b.state.settings.f_root_path = "\\\\MEMBER\\Projects";
  });
  EXPECT_EQ(block->files.used(), FilesArea::kCapacity);
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_EQ(messages()[0].text, kFilesAreaFullText);
}

TEST_F(AccessTreeWalk, AnUnreadableDirectoryIsReportedAndLeftOut) {
  m_lab->write([](lab::Network& net, lab::ChangeSet&) {
    lab::Volume* d = net.findMachine("MEMBER")->findVolume("D");
    for (lab::FileNode& c : d->root.children.front().children)
      if (c.name == "Open") c.refuse = 5;
    return true;
  });
  const auto lines = tree("alice");
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::string& l) { return l.find("Open") != std::string::npos; }),
            0);
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_EQ(messages()[0].text,
            "Could not get security for: \\\\MEMBER\\Projects\\Open\nError code given was: 5\nLength copied = 0");
  EXPECT_EQ(messages()[0].caption, "Security violation?");
}

}  // namespace
}  // namespace dlgthreads::testing
