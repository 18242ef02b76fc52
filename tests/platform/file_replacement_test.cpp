// Replacing files: what is already there is never damaged, widened or
// written through a link someone planted, and a FIFO or device gets the
// bytes where it is.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "../support/file_text.h"
#include "../support/fifo_reader.h"
#include "../support/file_size_limit.h"
#include "platform/atomic_file.h"
#include "platform/file_replacement.h"

namespace {

namespace fs = std::filesystem;
using platform::FileReplacement;
using platform::ReplacementOptions;
using platform::writeFileAtomically;

using test_support::slurp;

void put(const fs::path& p, std::string_view text, mode_t mode) {
  std::ofstream(p, std::ios::binary) << text;
  ::chmod(p.c_str(), mode);
}

struct stat statOf(const fs::path& p) {
  struct stat st {};
  EXPECT_EQ(::lstat(p.c_str(), &st), 0) << p;
  return st;
}

// Sets the umask for one scope.
class Umask {
 public:
  explicit Umask(mode_t mask) : m_old(::umask(mask)) {}
  ~Umask() { ::umask(m_old); }

 private:
  mode_t m_old;
};

class FileReplacementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string name = (fs::temp_directory_path() / "veltrane-replace-XXXXXX").string();
    ASSERT_NE(::mkdtemp(name.data()), nullptr);
    m_dir = name;
  }
  void TearDown() override { fs::remove_all(m_dir); }

  // Every name in the folder but `keep`: what a replacement left behind.
  std::vector<std::string> othersThan(std::initializer_list<fs::path> keep) const {
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(m_dir))
      if (std::find(keep.begin(), keep.end(), e.path()) == keep.end())
        left.push_back(e.path().filename().string());
    return left;
  }

  fs::path m_dir;
};

// A lab kept 600 holds password hashes: one change must not make it
// world-readable. A new file is made as the user's umask says.
TEST_F(FileReplacementTest, AReplacedFileKeepsItsModeAndOwnerAndANewOneFollowsTheUmask) {
  const fs::path kept = m_dir / "lab.json";
  put(kept, "old", 0600);
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown(kept.c_str(), 4321, 4322), 0);
  }
  std::string error;
  {
    Umask open(0);
    ASSERT_TRUE(writeFileAtomically(kept.string(), "new", &error)) << error;
  }
  EXPECT_EQ(slurp(kept), "new");
  EXPECT_EQ(statOf(kept).st_mode & 07777, 0600u);
  if (root) {
    EXPECT_EQ(statOf(kept).st_uid, 4321u);
    EXPECT_EQ(statOf(kept).st_gid, 4322u);
  }
  put(kept, "old", 0640);
  ASSERT_TRUE(writeFileAtomically(kept.string(), "newer", &error)) << error;
  EXPECT_EQ(statOf(kept).st_mode & 07777, 0640u);

  for (const mode_t mask : {mode_t{022}, mode_t{077}, mode_t{002}}) {
    const fs::path fresh = m_dir / ("new-" + std::to_string(mask));
    Umask scoped(mask);
    ASSERT_TRUE(writeFileAtomically(fresh.string(), "x", &error)) << error;
    EXPECT_EQ(statOf(fresh).st_mode & 07777, 0666u & ~mask) << std::oct << mask;
  }
}

// A FIFO stays a FIFO and its reader gets every byte: nothing is renamed
// over it.
TEST_F(FileReplacementTest, AFifoIsWrittenInPlaceForItsReader) {
  const fs::path fifo = m_dir / "pipe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string big(200 * 1024, 'x');
  for (const bool viaTemporary : {false, true}) {
    test_support::FifoReader reader(fifo.string());
    ReplacementOptions options;
    options.alwaysTemporary = viaTemporary;
    FileReplacement out;
    ASSERT_TRUE(out.open(fifo.string(), options)) << out.error();
    EXPECT_TRUE(out.inPlace());
    EXPECT_TRUE(out.write("head\n") && out.write(big) && out.write("tail\n")) << out.error();
    EXPECT_TRUE(out.commit()) << out.error();
    EXPECT_EQ(reader.finish(), "head\n" + big + "tail\n") << "via a temporary file: " << viaTemporary;
    EXPECT_TRUE(S_ISFIFO(statOf(fifo).st_mode));
    EXPECT_EQ(othersThan({fifo}), std::vector<std::string>{});
  }
}

// /dev/full refuses every byte: the failure names the file and the
// system's reason, and the device is still a device.
TEST_F(FileReplacementTest, AWriteErrorOnADeviceNamesTheFileAndTheReason) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  std::string error;
  EXPECT_FALSE(writeFileAtomically("/dev/full", std::string(100000, 'x'), &error));
  EXPECT_NE(error.find("/dev/full"), std::string::npos) << error;
  EXPECT_NE(error.find(std::strerror(ENOSPC)), std::string::npos) << error;
  EXPECT_TRUE(S_ISCHR(statOf("/dev/full").st_mode));

  // The same through a link, as /dev/stdout is one.
  const fs::path link = m_dir / "out";
  fs::create_symlink("/dev/full", link);
  FileReplacement out;
  ASSERT_TRUE(out.open(link.string())) << out.error();
  EXPECT_FALSE(out.write("x") && out.commit());
  EXPECT_EQ(out.reason(), std::strerror(ENOSPC));
  EXPECT_TRUE(fs::is_symlink(link));
}

// A write that fails half-way, or a writer that gives up, leaves the old
// file byte for byte and no temporary file.
TEST_F(FileReplacementTest, AFailedOrAbandonedReplacementLeavesTheOldFileAsItWas) {
  const fs::path target = m_dir / "users.txt";
  const std::string before = "UserName\r\nalice\r\n";
  put(target, before, 0644);
  {
    FileReplacement out;
    ASSERT_TRUE(out.open(target.string())) << out.error();
    ASSERT_TRUE(out.write("UserName\r\n"));
  }  // abandoned
  EXPECT_EQ(slurp(target), before);
  EXPECT_EQ(othersThan({target}), std::vector<std::string>{});

  std::string error;
  {
    test_support::FileSizeLimit full(1000);
    EXPECT_FALSE(writeFileAtomically(target.string(), std::string(5000, 'y'), &error));
  }
  EXPECT_NE(error.find(target.string()), std::string::npos) << error;
  EXPECT_EQ(slurp(target), before);
  EXPECT_EQ(othersThan({target}), std::vector<std::string>{});

  EXPECT_FALSE(writeFileAtomically(m_dir.string(), "x", &error)) << "a folder is not a file";
  EXPECT_FALSE(writeFileAtomically((m_dir / "no folder" / "x").string(), "x", &error));
}

// Links: an export replaces the file a link names, the lab replaces the
// link itself; a temporary file is never made through a link.
TEST_F(FileReplacementTest, ALinkIsFollowedOrReplacedAsAskedAndNeverWrittenThrough) {
  const fs::path real = m_dir / "real.txt";
  const fs::path link = m_dir / "link.txt";
  put(real, "old", 0600);
  fs::create_symlink(real.filename(), link);
  std::string error;
  ASSERT_TRUE(writeFileAtomically(link.string(), "followed", &error)) << error;
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(slurp(real), "followed");
  EXPECT_EQ(statOf(real).st_mode & 07777, 0600u);

  ReplacementOptions own;
  own.followLink = false;
  ASSERT_TRUE(writeFileAtomically(link.string(), "replaced", &error, own)) << error;
  EXPECT_FALSE(fs::is_symlink(link));
  EXPECT_EQ(slurp(link), "replaced");
  EXPECT_EQ(statOf(link).st_mode & 07777, 0600u) << "the mode of the file the link named";
  EXPECT_EQ(slurp(real), "followed");

  // A dangling link: the new file goes where it points.
  const fs::path dangling = m_dir / "dangling.txt";
  fs::create_symlink("made.txt", dangling);
  ASSERT_TRUE(writeFileAtomically(dangling.string(), "made", &error)) << error;
  EXPECT_EQ(slurp(m_dir / "made.txt"), "made");

  FileReplacement out;
  ASSERT_TRUE(out.open(real.string()));
  const struct stat temp = statOf(out.temporaryPath());
  EXPECT_TRUE(S_ISREG(temp.st_mode));
  EXPECT_EQ(temp.st_mode & 077, 0u) << "nobody else reads it while it is filled";
  EXPECT_EQ(fs::path(out.temporaryPath()).parent_path(), m_dir);
}

TEST_F(FileReplacementTest, LeftoversOfAnInterruptedReplacementAreRemovedByNameOnly) {
  const fs::path lab = m_dir / "lab.json";
  const fs::path victim = m_dir / "victim";
  put(lab, "{}", 0600);
  put(victim, "precious", 0600);
  put(m_dir / "lab.json.folding-a1B2c3", "half", 0600);
  fs::create_symlink(victim, m_dir / "lab.json.folding-zzzzzz");
  put(m_dir / "lab.json.folding-notours", "kept", 0600);
  platform::removeReplacementLeftovers(lab.string(), ".folding-");
  auto left = othersThan({lab, victim});
  EXPECT_EQ(left, std::vector<std::string>{"lab.json.folding-notours"});
  EXPECT_EQ(slurp(victim), "precious");
}

}  // namespace
