// Lab files: refused with a located message, written back atomically, and
// generated labs reproducible.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "../support/file_text.h"
#include "../support/file_size_limit.h"
#include "../support/lab_fixture.h"

using namespace platform;
namespace fs = std::filesystem;
using lab::test::newUser;

namespace {

using test_support::slurp;

struct Refusal {
  const char* file;
  const char* place;
  const char* problem;
};

class RefusedLab : public ::testing::TestWithParam<Refusal> {};

TEST_P(RefusedLab, MessageNamesFilePlaceAndProblem) {
  const auto& r = GetParam();
  const auto path = std::string(VELTRANE_TEST_LABS) + "/refused/" + r.file;
  std::string error;
  EXPECT_EQ(lab::loadLabFile(path, &error), nullptr);
  EXPECT_NE(error.find(path), std::string::npos) << error;
  EXPECT_NE(error.find(r.place), std::string::npos) << error;
  EXPECT_NE(error.find(r.problem), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Lab, RefusedLab,
    ::testing::Values(Refusal{"malformed.json", "line 4", "malformed JSON"},
                      Refusal{"unknown-field.json", "/machines/2/colour", "unknown field"},
                      Refusal{"wrong-type.json", "/domains/0/users/2/fullName", "expected a string"},
                      Refusal{"dangling-member.json", "/domains/0/groups/2/members/2", "no user \"nobody\""},
                      Refusal{"duplicate-user.json", "/domains/0/users/6/name", "duplicate account name"},
                      Refusal{"dangling-local-member.json", "/domains/0/localGroups/3/members/4", "does not exist"},
                      Refusal{"accounts-without-nt.json", "/machines/3/accounts", "only a Windows NT machine"},
                      Refusal{"unknown-logon-machine.json", "/domains/0/users/0/logons/PCD", "no machine \"PCD\""}),
    [](const auto& info) {
      std::string n = info.param.file;
      n = n.substr(0, n.find('.'));
      std::erase(n, '-');
      return n;
    });

class LabFile : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = fs::temp_directory_path() / ("veltrane-lab-test-" + std::to_string(::getpid()));
    fs::create_directories(m_dir);
    m_file = m_dir / "lab.json";
    fs::copy_file(lab::test::testLabPath("platform-small"), m_file, fs::copy_options::overwrite_existing);
  }
  void TearDown() override {
    fs::remove_all(m_dir);
  }
  fs::path m_dir;
  fs::path m_file;
};

TEST_F(LabFile, ChangesAreWrittenBackAsAValidLab) {
  std::string error;
  std::string written;
  {
    auto lab = lab::loadLabFile(m_file.string(), &error);
    ASSERT_TRUE(lab) << error;
    platform::ScopedBackend backend(lab::makeLabBackend(lab));
    ASSERT_EQ(NetGroupAdd("\\\\PDC", 1, GROUP_INFO_1{"Auditors", "Read the books"}, nullptr), NERR_Success);
    ASSERT_EQ(NetUserAdd("\\\\PDC", 1, newUser("dave", "longer"), nullptr), NERR_Success);
    written = lab->toJson();
  }
  for (const auto& e : fs::directory_iterator(m_dir)) {
    EXPECT_EQ(e.path(), m_file) << "no temporary file, journal or lock left once the lab is closed";
  }
  auto reread = lab::loadLabFile(m_file.string(), &error);
  ASSERT_TRUE(reread) << error;
  platform::ScopedBackend second(lab::makeLabBackend(reread));
  NetBuffer buf;
  EXPECT_EQ(NetGroupGetInfo("\\\\PDC", "Auditors", 1, buf), NERR_Success);
  EXPECT_EQ(NetUserGetInfo("\\\\PDC", "dave", 0, buf), NERR_Success);
  EXPECT_EQ(reread->toJson(), written) << "a written lab reads back the same";
}

using test_support::FileSizeLimit;

TEST_F(LabFile, FailedWriteKeepsTheOldFileAndReportsTheFailure) {
  std::string error;
  auto lab = lab::loadLabFile(m_file.string(), &error);
  ASSERT_TRUE(lab) << error;
  const auto before = slurp(m_file);
  platform::ScopedBackend backend(lab::makeLabBackend(lab));
  {
    FileSizeLimit full;
    EXPECT_EQ(NetGroupAdd("\\\\PDC", 1, GROUP_INFO_1{"Auditors", ""}, nullptr), ERROR_WRITE_FAULT);
  }
  EXPECT_EQ(slurp(m_file), before);
  for (const auto& e : fs::directory_iterator(m_dir)) {
    if (e.path().extension() == ".lock") continue;  // held while the lab is open
    EXPECT_EQ(e.path(), m_file) << "temporary file removed";
  }
  EXPECT_FALSE(lab->lastSaveError().empty());
  NetBuffer buf;
  EXPECT_EQ(NetGroupGetInfo("\\\\PDC", "Auditors", 1, buf), NERR_GroupNotFound) << "memory follows the file";
}

// Another account that can write the lab's folder plants a link where a
// fold's temporary file might go: the fold never writes through it, and the
// lab keeps its mode (it holds password hashes).
TEST_F(LabFile, AFoldWritesNoPlantedLinkAndKeepsTheLabsMode) {
  const fs::path victim = m_dir / "victim";
  std::ofstream(victim) << "precious";
  fs::permissions(m_file, fs::perms::owner_read | fs::perms::owner_write);
  std::string error;
  auto lab = lab::loadLabFile(m_file.string(), &error);
  ASSERT_TRUE(lab) << error;
  fs::create_symlink(victim, m_file.string() + ".folding");
  {
    platform::ScopedBackend backend(lab::makeLabBackend(lab));
    ASSERT_EQ(NetGroupAdd("\\\\PDC", 1, GROUP_INFO_1{"Auditors", ""}, nullptr), NERR_Success);
  }
  ASSERT_TRUE(lab->foldJournal()) << lab->lastSaveError();
  EXPECT_EQ(slurp(victim), "precious");
  EXPECT_FALSE(fs::is_symlink(m_file));
  EXPECT_NE(slurp(m_file).find("Auditors"), std::string::npos);
  EXPECT_EQ(fs::status(m_file).permissions() & fs::perms::mask,
            fs::perms::owner_read | fs::perms::owner_write);
}

TEST(LabFromJson, LivesInMemoryOnly) {
  lab::test::LabFixture lab("platform-small");
  ASSERT_TRUE(lab) << lab.error();
  EXPECT_TRUE(lab->path().empty());
  const auto before = slurp(lab::test::testLabPath("platform-small"));
  ASSERT_EQ(NetGroupAdd("\\\\PDC", 0, GROUP_INFO_0{"Auditors"}, nullptr), NERR_Success);
  EXPECT_EQ(slurp(lab::test::testLabPath("platform-small")), before);
}

TEST(Generator, SameSeedSameLabOtherSeedOtherLab) {
  lab::GeneratorOptions o;
  o.users = 300;
  o.groups = 20;
  o.servers = 5;
  const auto a = lab::generateLab(o)->toJson();
  EXPECT_EQ(a, lab::generateLab(o)->toJson());
  o.seed = 2;
  EXPECT_NE(a, lab::generateLab(o)->toJson());
  std::string error;
  EXPECT_TRUE(lab::labFromJson(a, "generated", &error)) << error;
}

TEST(DefaultLab, LoadsAndIsCopiedOnFirstUse) {
  std::string error;
  auto lab = lab::labFromJson(lab::defaultLabJson(), "default", &error);
  ASSERT_TRUE(lab) << error;
  EXPECT_EQ(lab->loggedOn(), "LAB\\Administrator");
  const auto dir = fs::temp_directory_path() / ("veltrane-xdg-" + std::to_string(::getpid()));
  ::setenv("XDG_DATA_HOME", dir.c_str(), 1);
  const auto path = lab::ensureDefaultLab(&error);
  ::unsetenv("XDG_DATA_HOME");
  ASSERT_EQ(path, (dir / "veltrane" / "lab.json").string()) << error;
  EXPECT_EQ(slurp(path), std::string(lab::defaultLabJson()));
  fs::remove_all(dir);
}

}  // namespace
