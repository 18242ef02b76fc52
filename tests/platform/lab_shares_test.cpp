// Machines' shares in the lab file: NT machines always have their
// administrative shares, shares survive writing back, and faulty ones are
// refused with their place.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "../support/file_text.h"
#include "../support/lab_fixture.h"
#include "platform/lab/change_set.h"
#include "platform/lab/lab_json.h"

namespace {

using test_support::slurp;

std::vector<std::string> shareNames(const lab::Machine& m) {
  std::vector<std::string> names;
  for (const auto& s : m.shares) names.push_back(s.name);
  return names;
}

TEST(LabShares, NtMachinesGainTheirAdministrativeSharesAndKeepWhatTheFileSays) {
  std::string error;
  auto net = lab::parseLab(slurp(lab::test::testLabPath("network")), "network", &error);
  ASSERT_TRUE(net) << error;
  const lab::Machine& files = *net->findMachine("FILES");
  // The listed ADMIN$ (on drive D) is kept, not doubled; the missing ones come first.
  EXPECT_EQ(shareNames(files),
            (std::vector<std::string>{"IPC$", "C$", "ADMIN$", "DATA", "SECRET$", "LASER"}));
  EXPECT_EQ(files.findShare("admin$")->path, "D:\\WINNT");
  EXPECT_EQ(files.findShare("IPC$")->type, lab::ShareType::Ipc);
  EXPECT_EQ(files.findShare("data")->maxUses, 10u);
  EXPECT_EQ(files.findShare("LASER")->type, lab::ShareType::Print);
  EXPECT_EQ(shareNames(*net->findMachine("WKS")), (std::vector<std::string>{"IPC$", "ADMIN$", "C$"}));
  // Windows for Workgroups makes no administrative shares.
  EXPECT_EQ(shareNames(*net->findMachine("PC1")), (std::vector<std::string>{"MUSIC"}));

  EXPECT_TRUE(lab::isHiddenShare("SECRET$"));
  EXPECT_FALSE(lab::isHiddenShare("DATA"));
  EXPECT_TRUE(lab::isAdministrativeShare("d$"));
  EXPECT_TRUE(lab::isAdministrativeShare("Admin$"));
  EXPECT_FALSE(lab::isAdministrativeShare("SECRET$"));
  EXPECT_FALSE(lab::isAdministrativeShare("print$"));

  // Written back and read again, nothing changes (and nothing is added twice).
  const std::string once = lab::writeLab(*net);
  auto again = lab::parseLab(once, "again", &error);
  ASSERT_TRUE(again) << error;
  EXPECT_EQ(lab::writeLab(*again), once);
  EXPECT_EQ(again->findMachine("FILES")->shares, files.shares);
}

TEST(LabShares, FaultySharesAreRefusedWithTheirPlace) {
  const std::string base = slurp(lab::test::testLabPath("network"));
  const std::string good = R"({"name": "DATA", "type": "disk", "path": "D:\\Data", "remark": "Shared data", "maxUses": 10})";
  ASSERT_NE(base.find(good), std::string::npos);
  struct Case {
    std::string share;
    std::string problem;
    std::string place = "/machines/1/shares/1";
  };
  const std::vector<Case> cases = {
      {R"({"name": "DATA", "path": "Data"})", "a disk share needs a path"},
      {R"({"name": "DATA", "type": "ipc", "path": "D:\\Data"})", "an IPC share has no path"},
      {R"({"name": "DATA", "type": "fax", "path": "D:\\Data"})", "unknown share type \"fax\""},
      {R"({"name": "DA/TA", "path": "D:\\Data"})", "invalid share name"},
      {R"({"name": "laser", "type": "print"})", "share \"LASER\" is listed twice", "/machines/1/shares/3/name"},
      {R"({"name": "DATA", "path": "D:\\Data", "colour": 1})", "unknown field \"colour\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.share);
    std::string text = base;
    text.replace(text.find(good), good.size(), c.share);
    std::string error;
    EXPECT_EQ(lab::parseLab(text, "network", &error), nullptr);
    EXPECT_NE(error.find(c.place), std::string::npos) << error;
    EXPECT_NE(error.find(c.problem), std::string::npos) << error;
  }
}

TEST(LabShares, ShareChangesAreJournalledAndReplayed) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("veltrane-shares-test-" + std::to_string(::getpid()));
  fs::create_directories(dir / "copy");
  fs::copy_file(lab::test::testLabPath("network"), dir / "lab.json", fs::copy_options::overwrite_existing);
  std::string error;
  auto live = lab::loadLabFile((dir / "lab.json").string(), &error);
  ASSERT_TRUE(live) << error;
  ASSERT_TRUE(live->write([](lab::Network& net, lab::ChangeSet& changes) {
    lab::Machine& files = *net.findMachine("FILES");
    files.shares.push_back({"TOOLS", lab::ShareType::Disk, "D:\\Tools", "Utilities", 5});
    changes.share(files, "TOOLS");
    files.findShare("data")->remark = "Shared data (read only)";
    changes.share(files, "DATA");
    std::erase_if(files.shares, [](const lab::Share& s) { return s.name == "LASER"; });
    changes.share(files, "LASER");
    return true;
  }));
  // What a restart finds: the untouched file and its journal.
  fs::copy_file(dir / "lab.json", dir / "copy" / "lab.json");
  fs::copy_file(dir / "lab.json.journal", dir / "copy" / "lab.json.journal");
  auto replayed = lab::loadLabFile((dir / "copy" / "lab.json").string(), &error);
  ASSERT_TRUE(replayed) << error;
  EXPECT_EQ(replayed->toJson(), live->toJson());
  replayed->read([](const lab::Network& net) {
    const lab::Machine& files = *net.findMachine("FILES");
    EXPECT_EQ(shareNames(files), (std::vector<std::string>{"IPC$", "C$", "ADMIN$", "DATA", "SECRET$", "TOOLS"}));
    EXPECT_EQ(files.findShare("DATA")->remark, "Shared data (read only)");
    EXPECT_EQ(files.findShare("TOOLS")->maxUses, 5u);
  });
  replayed.reset();
  live.reset();
  fs::remove_all(dir);
}

TEST(LabShares, TheDefaultLabsHomeAndProfilePathsNameSharesItHolds) {
  std::string error;
  auto net = lab::parseLab(lab::defaultLabJson(), "default", &error);
  ASSERT_TRUE(net) << error;
  int checked = 0;
  for (const auto& u : net->domains.front().sam.users) {
    for (const std::string& unc : {u.info.usri3_home_dir, u.info.usri3_profile}) {
      if (unc.rfind("\\\\", 0) != 0) continue;
      const auto slash = unc.find('\\', 2);
      const auto end = unc.find('\\', slash + 1);
      const lab::Machine* m = net->findMachine(unc.substr(2, slash - 2));
      ASSERT_NE(m, nullptr) << unc;
      EXPECT_NE(m->findShare(unc.substr(slash + 1, end - slash - 1)), nullptr) << unc;
      ++checked;
    }
  }
  EXPECT_GT(checked, 50);
  const lab::Machine& prn = *net->findMachine("LABPRN");
  EXPECT_EQ(std::count_if(prn.shares.begin(), prn.shares.end(),
                          [](const lab::Share& s) { return s.type == lab::ShareType::Print; }),
            3);
}

}  // namespace
