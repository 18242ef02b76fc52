// A process killed at any moment (SIGKILL: no clean-up of any kind) loses no
// change it had reported done, and leaves a lab that loads. The child makes
// a stream of changes, folding its journal often so that kills land in
// folds too, and reports each success over a pipe before the next.

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <random>
#include <set>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

#include "../support/lab_fixture.h"
#include "platform/change_batch.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

constexpr int kKillRuns = 100;

[[noreturn]] void makeChangesUntilKilled(const std::string& path, int run, int reportTo) {
  std::string error;
  auto lab = lab::loadLabFile(path, &error);
  if (!lab) ::_exit(3);
  // Small enough that about every third change folds the journal.
  lab->setJournalLimit(2048);
  platform::ScopedBackend backend(lab::makeLabBackend(lab));
  for (int i = 0;; ++i) {
    std::string name = "r";
    name += std::to_string(run);
    name += 'u';
    name += std::to_string(i);
    if (NetUserAdd("\\\\PDC", 1, lab::test::newUser(name, "longer"), nullptr) != NERR_Success) ::_exit(4);
    if (i % 3 == 1 && NetGroupAddUser("\\\\PDC", "Sales", name) != NERR_Success) ::_exit(5);
    const std::string line = name + "\n";
    if (::write(reportTo, line.data(), line.size()) != static_cast<ssize_t>(line.size())) ::_exit(6);
  }
}

TEST(LabKill, NoChangeReportedDoneIsLostWhenTheProcessIsKilledAtAnyMoment) {
  const fs::path dir = fs::temp_directory_path() / ("veltrane-kill-test-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const fs::path file = dir / "lab.json";
  fs::copy_file(lab::test::testLabPath("platform-small"), file, fs::copy_options::overwrite_existing);

  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  // Long enough for a few additions, each of which hashes a password.
  std::uniform_int_distribution<int> delayUs(0, 100000);
  std::set<std::string> reported;
  for (int run = 0; run < kKillRuns; ++run) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      ::close(fds[0]);
      makeChangesUntilKilled(file.string(), run, fds[1]);
    }
    ::close(fds[1]);
    ::usleep(static_cast<useconds_t>(delayUs(random)));
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "run " << run << ": the child ended by itself, status " << status;
    std::string text;
    char buf[4096];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;) text.append(buf, static_cast<std::size_t>(n));
    ::close(fds[0]);
    for (std::size_t at = 0, nl; (nl = text.find('\n', at)) != std::string::npos; at = nl + 1) {
      reported.insert(text.substr(at, nl - at));
    }

    std::string error;
    auto lab = lab::loadLabFile(file.string(), &error);
    ASSERT_TRUE(lab) << "run " << run << ": " << error;
    for (const auto& e : fs::directory_iterator(dir)) {
      const auto name = e.path().filename().string();
      EXPECT_TRUE(name == "lab.json" || name == "lab.json.journal" || name == "lab.json.lock")
          << "run " << run << ": " << name << " left behind";
    }
    platform::ScopedBackend backend(lab::makeLabBackend(lab));
    for (const auto& name : reported) {
      NetBuffer info;
      ASSERT_EQ(NetUserGetInfo("\\\\PDC", name, 0, info), NERR_Success) << "run " << run << ": " << name << " was lost";
    }
  }
  EXPECT_GT(reported.size(), static_cast<std::size_t>(kKillRuns / 2)) << "the children made changes";
  fs::remove_all(dir);
}

std::string batchName(int i) {
  std::string name = "b";
  name += std::to_string(i);
  return name;
}

// A batch (an import) syncs its records together: a kill before its end
// may lose the batch's tail, never a change in its middle, and never the
// lab's ability to load.
TEST(LabKill, ABatchKilledMidwayLeavesAPrefixOfItsChanges) {
  const fs::path dir = fs::temp_directory_path() / ("veltrane-batch-kill-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const fs::path file = dir / "lab.json";
  std::mt19937 random(std::random_device{}());
  std::uniform_int_distribution<int> delayUs(0, 150000);
  for (int run = 0; run < 10; ++run) {
    fs::copy_file(lab::test::testLabPath("platform-small"), file, fs::copy_options::overwrite_existing);
    fs::remove(file.string() + ".journal");
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      std::string error;
      auto lab = lab::loadLabFile(file.string(), &error);
      if (!lab) ::_exit(3);
      platform::ScopedBackend backend(lab::makeLabBackend(lab));
      platform::ChangeBatch batch;
      for (int i = 0;; ++i) {
        USER_INFO_1 user = lab::test::newUser(batchName(i), "longer");
        if (NetUserAdd("\\\\PDC", 1, user, nullptr) != NERR_Success) ::_exit(4);
      }
    }
    ::usleep(static_cast<useconds_t>(delayUs(random)));
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "run " << run << ": status " << status;
    std::string error;
    auto lab = lab::loadLabFile(file.string(), &error);
    ASSERT_TRUE(lab) << "run " << run << ": " << error;
    platform::ScopedBackend backend(lab::makeLabBackend(lab));
    int present = 0;
    NetBuffer info;
    while (NetUserGetInfo("\\\\PDC", batchName(present), 0, info) == NERR_Success) ++present;
    EXPECT_EQ(NetUserGetInfo("\\\\PDC", batchName(present + 1), 0, info), NERR_UserNotFound)
        << "run " << run << ": b" << present << " is missing but a later change is there";
  }
  fs::remove_all(dir);
}

}  // namespace
