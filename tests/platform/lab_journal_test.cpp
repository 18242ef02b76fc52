// A file lab's journal: every kind of change survives a restart exactly,
// browses stay right as changes come, nothing is written for no change, a
// damaged journal is refused without losing anything, and a second process
// is kept out.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <csignal>

#include <sys/wait.h>
#include <unistd.h>

#include "../support/file_text.h"
#include "../support/file_size_limit.h"
#include "../support/lab_fixture.h"
#include "platform/dialin.h"
#include "platform/eventlog.h"
#include "platform/lab/journal.h"
#include "platform/registry.h"

using namespace platform;
namespace fs = std::filesystem;
using lab::test::newUser;

namespace {

using test_support::slurp;

class LabJournal : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = fs::temp_directory_path() / ("veltrane-journal-test-" + std::to_string(::getpid()));
    fs::create_directories(m_dir);
    m_file = m_dir / "lab.json";
    fs::copy_file(lab::test::testLabPath("platform-small"), m_file, fs::copy_options::overwrite_existing);
  }
  void TearDown() override { fs::remove_all(m_dir); }

  std::shared_ptr<lab::Lab> load(const fs::path& file) {
    std::string error;
    auto lab = lab::loadLabFile(file.string(), &error);
    EXPECT_TRUE(lab) << error;
    return lab;
  }
  fs::path journalOf(const fs::path& file) { return file.string() + ".journal"; }

  fs::path m_dir;
  fs::path m_file;
};

// The names a browse of the Users display lists, in its order.
std::vector<std::string> displayedUsers() {
  NetBuffer buf;
  DWORD returned = 0;
  std::vector<std::string> names;
  EXPECT_EQ(NetQueryDisplayInformation("\\\\PDC", 1, 0, 1000, 0xFFFFFFFF, &returned, buf), NERR_Success);
  for (const auto& u : buf.get<NET_DISPLAY_USER>()) names.push_back(u.usri1_name);
  EXPECT_EQ(NetQueryDisplayInformation("\\\\PDC", 3, 0, 1000, 0xFFFFFFFF, &returned, buf), NERR_Success);
  for (const auto& g : buf.get<NET_DISPLAY_GROUP>()) names.push_back("group " + g.grpi3_name);
  return names;
}

TEST_F(LabJournal, EveryKindOfChangeIsReplayedExactlyAndBrowsesFollowTheChanges) {
  auto live = load(m_file);
  ASSERT_TRUE(live);
  platform::ScopedBackend backend(lab::makeLabBackend(live));
  live->setClock(1700000000);

  // Accounts: new, changed, renamed, joined, left and deleted.
  ASSERT_EQ(NetUserAdd("\\\\PDC", 1, newUser("dave", "longer"), nullptr), NERR_Success);
  ASSERT_EQ(NetUserAdd("\\\\PDC", 1, newUser("Aaron", "longer"), nullptr), NERR_Success);
  ASSERT_EQ(NetUserSetInfo("\\\\PDC", "dave", 1007, USER_INFO_1007{"night shift"}, nullptr), NERR_Success);
  ASSERT_EQ(NetUserSetInfo("\\\\PDC", "bob", 1008, USER_INFO_1008{UF_SCRIPT | UF_ACCOUNTDISABLE}, nullptr), NERR_Success);
  ASSERT_EQ(NetGroupAdd("\\\\PDC", 1, GROUP_INFO_1{"Auditors", "Read the books"}, nullptr), NERR_Success);
  ASSERT_EQ(NetGroupAddUser("\\\\PDC", "Auditors", "dave"), NERR_Success);
  ASSERT_EQ(NetGroupAddUser("\\\\PDC", "Auditors", "alice"), NERR_Success);
  ASSERT_EQ(NetGroupDelUser("\\\\PDC", "Auditors", "alice"), NERR_Success);
  ASSERT_EQ(NetGroupSetInfo("\\\\PDC", "Auditors", 0, GROUP_INFO_0{"Checkers"}, nullptr), NERR_Success);
  ASSERT_EQ(NetGroupSetInfo("\\\\PDC", "Sales", 1002, GROUP_INFO_1002{"Sells things"}, nullptr), NERR_Success);
  ASSERT_EQ(NetLocalGroupAdd("\\\\PDC", 1, LOCALGROUP_INFO_1{"Printers", "Print"}, nullptr), NERR_Success);
  const std::string members[] = {"LAB\\dave", "LAB\\carol"};
  ASSERT_EQ(NetLocalGroupAddMembers("\\\\PDC", "Printers", 3, {}, members), NERR_Success);
  ASSERT_EQ(NetLocalGroupSetInfo("\\\\PDC", "Printers", 0, LOCALGROUP_INFO_0{"Plotters"}, nullptr), NERR_Success);
  ASSERT_EQ(NetUserDel("\\\\PDC", "carol"), NERR_Success);  // leaves groups and local groups
  ASSERT_EQ(NetGroupDel("\\\\PDC", "Sales"), NERR_Success);
  USER_MODALS_INFO_0 policy;
  policy.usrmod0_min_passwd_len = 3;
  policy.usrmod0_password_hist_len = 2;
  ASSERT_EQ(NetUserModalsSet("\\\\PDC", 0, policy, nullptr), NERR_Success);
  ASSERT_NE(DoRAS("\\\\PDC", "dave", 1, "555", RAS_CALLBACK_USER_SET), 0);

  // Registry (the user's own hive and a machine's), event log, machines, session.
  RegKey mine;
  ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Veltrane\\Settings", 0, KEY_ALL_ACCESS, mine.out(), nullptr), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueEx(mine.get(), "Font", REG_SZ, regSzBytes("Courier")), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueEx(mine.get(), "Size", REG_DWORD, regDwordBytes(9)), ERROR_SUCCESS);
  ASSERT_EQ(RegDeleteValue(mine.get(), "Font"), ERROR_SUCCESS);
  RegKey remote, remoteKey;
  ASSERT_EQ(RegConnectRegistry("\\\\PDC", HKEY_LOCAL_MACHINE, remote.out()), ERROR_SUCCESS);
  ASSERT_EQ(RegCreateKeyEx(remote.get(), "SOFTWARE\\Lab", 0, KEY_ALL_ACCESS, remoteKey.out(), nullptr), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueEx(remoteKey.get(), "Seen", REG_DWORD, regDwordBytes(1)), ERROR_SUCCESS);
  const HANDLE log = RegisterEventSource("", "Veltrane");
  ASSERT_NE(ReportEvent(log, EVENTLOG_INFORMATION_TYPE, 0, 59271, {"User Added:   dave"}), 0);
  ASSERT_NE(ReportEvent(log, EVENTLOG_WARNING_TYPE, 2, 59272, {"second"}), 0);
  DeregisterEventSource(log);
  ASSERT_TRUE(live->setReachable("DOWN", true));
  ASSERT_TRUE(live->refuseOperation("BDC", "NetUserEnum", ERROR_ACCESS_DENIED));
  live->logOn("LAB\\alice");
  live->setLocalMachine("MEMBER");

  const auto liveBrowse = displayedUsers();
  EXPECT_NE(std::find(liveBrowse.begin(), liveBrowse.end(), "dave"), liveBrowse.end());
  EXPECT_EQ(std::find(liveBrowse.begin(), liveBrowse.end(), "carol"), liveBrowse.end());
  EXPECT_NE(std::find(liveBrowse.begin(), liveBrowse.end(), "group Checkers"), liveBrowse.end());

  // The state a restart would find: the lab file as it is and its journal,
  // taken while the lab is open (as after a crash).
  EXPECT_EQ(slurp(m_file), slurp(lab::test::testLabPath("platform-small"))) << "the lab file waits for the fold";
  const fs::path copyDir = m_dir / "copy";
  fs::create_directories(copyDir);
  fs::copy_file(m_file, copyDir / "lab.json");
  fs::copy_file(journalOf(m_file), journalOf(copyDir / "lab.json"));
  auto replayed = load(copyDir / "lab.json");
  ASSERT_TRUE(replayed);
  EXPECT_EQ(replayed->toJson(), live->toJson());
  {
    platform::ScopedBackend other(lab::makeLabBackend(replayed));
    EXPECT_EQ(displayedUsers(), liveBrowse) << "indexes kept per change match indexes built on load";
  }

  // The fold writes the journal's changes into the file and removes it.
  ASSERT_TRUE(live->foldJournal()) << live->lastSaveError();
  EXPECT_FALSE(fs::exists(journalOf(m_file)));
  EXPECT_EQ(slurp(m_file), live->toJson());
}

TEST_F(LabJournal, NothingIsWrittenWhenNothingChanges) {
  const auto before = fs::last_write_time(m_file);
  const auto bytes = slurp(m_file);
  {
    auto lab = load(m_file);
    ASSERT_TRUE(lab);
    platform::ScopedBackend backend(lab::makeLabBackend(lab));
    // Each of these answers success but sets what is already there.
    ASSERT_EQ(NetUserSetInfo("\\\\PDC", "alice", 1008, USER_INFO_1008{UF_SCRIPT}, nullptr), NERR_Success);
    NetBuffer buf;
    ASSERT_EQ(NetGroupGetInfo("\\\\PDC", "Sales", 1, buf), NERR_Success);
    const auto comment = buf.get<GROUP_INFO_1>()[0].grpi1_comment;
    ASSERT_EQ(NetGroupSetInfo("\\\\PDC", "Sales", 1002, GROUP_INFO_1002{comment}, nullptr), NERR_Success);
    lab->logOn(lab->loggedOn());
    lab->setLocalMachine(lab->localMachine());
    ASSERT_TRUE(lab->setReachable("PDC", true));
    EXPECT_FALSE(fs::exists(journalOf(m_file)));
  }
  EXPECT_EQ(fs::last_write_time(m_file), before);
  EXPECT_EQ(slurp(m_file), bytes);
  EXPECT_FALSE(fs::exists(journalOf(m_file)));
}

// Runs `f` in a child process and answers its exit status.
template <class F>
int inChild(F f) {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(f());
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(LabJournal, ASecondProcessIsRefusedWithAClearMessageUntilTheFirstCloses) {
  auto first = load(m_file);
  ASSERT_TRUE(first);
  const auto tryOpen = [&] {
    std::string error;
    auto second = lab::loadLabFile(m_file.string(), &error);
    if (second) return 0;
    const bool clear = error == m_file.string() + ": another Veltrane process has this lab open";
    return clear ? 1 : 2;
  };
  EXPECT_EQ(inChild(tryOpen), 1);
  first.reset();
  EXPECT_EQ(inChild(tryOpen), 0);
  EXPECT_FALSE(fs::exists(m_file.string() + ".lock"));
}

TEST_F(LabJournal, ACutShortLastChangeIsDroppedAndADamagedOneRefusedWithoutLoss) {
  // A lab left with two changes in its journal by a process that died.
  const int status = [&] {
    const pid_t pid = ::fork();
    if (pid == 0) {
      std::string error;
      auto lab = lab::loadLabFile(m_file.string(), &error);
      platform::ScopedBackend backend(lab::makeLabBackend(lab));
      NetUserAdd("\\\\PDC", 1, newUser("dave", "longer"), nullptr);
      NetUserAdd("\\\\PDC", 1, newUser("erin", "longer"), nullptr);
      ::_exit(0);  // no clean close: the journal stays
    }
    int s = 0;
    ::waitpid(pid, &s, 0);
    return s;
  }();
  ASSERT_EQ(status, 0);
  const fs::path journal = journalOf(m_file);
  const std::string good = slurp(journal);
  const auto end = good.find('\0');
  ASSERT_NE(end, std::string::npos);

  // A crash in the middle of writing a third change.
  {
    std::string torn = good;
    const std::string part = "412 0badf00d {\"changes\":[{\"t\":\"us";
    torn.replace(end, part.size(), part);
    std::ofstream(journal, std::ios::binary | std::ios::trunc) << torn;
    auto lab = load(m_file);
    ASSERT_TRUE(lab);
    platform::ScopedBackend backend(lab::makeLabBackend(lab));
    NetBuffer buf;
    EXPECT_EQ(NetUserGetInfo("\\\\PDC", "erin", 0, buf), NERR_Success);
    lab->foldJournal();
  }
  std::string error;
  {
    auto lab = load(m_file);
    ASSERT_TRUE(lab);
    EXPECT_NE(lab->toJson().find("\"erin\""), std::string::npos) << "the fold kept both changes";
  }

  // A change damaged with another after it is not a crash: refuse, keep all.
  fs::copy_file(lab::test::testLabPath("platform-small"), m_file, fs::copy_options::overwrite_existing);
  std::string damaged = good;
  const auto firstChange = damaged.find('\n') + 1;
  damaged[damaged.find("dave", firstChange)] = 'D';
  std::ofstream(journal, std::ios::binary | std::ios::trunc) << damaged;
  const auto labBytes = slurp(m_file);
  EXPECT_EQ(lab::loadLabFile(m_file.string(), &error), nullptr);
  EXPECT_NE(error.find(journal.string()), std::string::npos) << error;
  EXPECT_NE(error.find("change 1 is damaged"), std::string::npos) << error;
  EXPECT_EQ(slurp(journal), damaged);
  EXPECT_EQ(slurp(m_file), labBytes);
}

// Where the journal's records end (its zero-filled room starts).
std::size_t recordsEnd(const fs::path& journal) { return slurp(journal).find('\0'); }

TEST_F(LabJournal, AChangeThatCannotBeRecordedIsUndoneAndTheNextOneIsKept) {
  auto lab = load(m_file);
  ASSERT_TRUE(lab);
  platform::ScopedBackend backend(lab::makeLabBackend(lab));
  ASSERT_EQ(NetUserAdd("\\\\PDC", 1, newUser("dave", "longer"), nullptr), NERR_Success);
  {
    // The disk fills up in the middle of the next record.
    test_support::FileSizeLimit full(recordsEnd(journalOf(m_file)) + 10);
    EXPECT_EQ(NetUserAdd("\\\\PDC", 1, newUser("erin", "longer"), nullptr), ERROR_WRITE_FAULT);
  }
  EXPECT_NE(lab->lastSaveError().find(journalOf(m_file).string()), std::string::npos) << lab->lastSaveError();
  NetBuffer buf;
  EXPECT_EQ(NetUserGetInfo("\\\\PDC", "erin", 0, buf), NERR_UserNotFound) << "memory follows the journal";
  EXPECT_EQ(NetUserGetInfo("\\\\PDC", "dave", 0, buf), NERR_Success);
  ASSERT_EQ(NetUserAdd("\\\\PDC", 1, newUser("fred", "longer"), nullptr), NERR_Success);
  EXPECT_TRUE(lab->lastSaveError().empty());

  // What a restart finds.
  const fs::path copy = m_dir / "copy.json";
  fs::copy_file(m_file, copy);
  fs::copy_file(journalOf(m_file), journalOf(copy));
  auto restarted = load(copy);
  ASSERT_TRUE(restarted);
  EXPECT_EQ(restarted->toJson(), lab->toJson());
  const auto text = restarted->toJson();
  EXPECT_NE(text.find("\"fred\""), std::string::npos);
  EXPECT_EQ(text.find("\"erin\""), std::string::npos);
}

TEST_F(LabJournal, AJournalIsDroppedOnlyWhenItsFoldReachedTheFileAndOtherwiseRefusedAndKept) {
  const std::string before = slurp(m_file);
  const fs::path kept = m_dir / "kept.journal";
  {
    auto lab = load(m_file);
    ASSERT_TRUE(lab);
    platform::ScopedBackend backend(lab::makeLabBackend(lab));
    const HANDLE log = RegisterEventSource("", "Veltrane");
    ASSERT_NE(ReportEvent(log, EVENTLOG_INFORMATION_TYPE, 0, 59271, {"once"}), 0);
    DeregisterEventSource(log);
    fs::copy_file(journalOf(m_file), kept);
    ASSERT_TRUE(lab->foldJournal());
  }
  const std::string folded = slurp(m_file);
  ASSERT_NE(folded, before);

  // Beside a lab it was not written for (a hand edit, another lab's
  // journal): refused, naming both files and how to go on; nothing deleted.
  fs::copy_file(kept, journalOf(m_file));
  std::string error;
  EXPECT_EQ(lab::loadLabFile(m_file.string(), &error), nullptr);
  EXPECT_NE(error.find(journalOf(m_file).string() + ":"), std::string::npos) << error;
  EXPECT_NE(error.find(m_file.string() + " as it is now"), std::string::npos) << error;
  EXPECT_NE(error.find("mv "), std::string::npos) << error;
  EXPECT_EQ(slurp(journalOf(m_file)), slurp(kept));
  EXPECT_EQ(slurp(m_file), folded);

  // As if the program stopped after writing the lab file, before removing
  // the journal: the journal ends with the mark of that fold.
  {
    lab::Journal journal(m_file.string());
    std::vector<std::string> records;
    lab::Journal::Found found{};
    ASSERT_TRUE(journal.read(lab::identityOf(before), &records, &found, &error)) << error;
    ASSERT_EQ(found, lab::Journal::Found::Records);
    ASSERT_TRUE(journal.markFolded(lab::identityOf(folded), &error)) << error;
  }
  auto lab = load(m_file);
  ASSERT_TRUE(lab);
  EXPECT_EQ(lab->eventLog("WKS").size(), 1u) << "never applied twice";
  EXPECT_FALSE(fs::exists(journalOf(m_file)));
}

// Appends records to the journal of `file` as the lab would have written them.
void writeJournal(const fs::path& file, const std::vector<std::string>& payloads) {
  lab::Journal journal(file.string());
  std::string error;
  for (const auto& p : payloads) ASSERT_TRUE(journal.append(lab::identityOf(slurp(file)), p, true, &error)) << error;
}

std::string change(const std::string& entry) { return R"({"changes":[)" + entry + "]}"; }

TEST_F(LabJournal, ReplayedChangesMeetEveryRuleALabFileMeetsOrNothingIsApplied) {
  const std::string good = change(R"({"t":"session","loggedOn":"LAB\\alice","localMachine":"WKS"})");
  const struct {
    std::string entry, rule;
  } cases[] = {
      {R"({"t":"directory","machine":"PDC","path":"C:\\..\\etc","owner":"LAB\\alice"})", "invalid file name \"..\""},
      {R"({"t":"group","domain":"LAB","rid":7000,"name":"Sales","comment":"","attributes":7})", "duplicate account name \"Sales\""},
      {R"({"t":"group","domain":"LAB","rid":500,"name":"Clash","comment":"","attributes":7})", "duplicate RID 500"},
      {R"({"t":"user","domain":"LAB","rid":7001,"user":{"name":"bad/name"}})", "invalid account name"},
      {R"({"t":"key","machine":"PDC","hive":"HKEY_ANYWHERE","key":"Software","values":[]})", "unknown hive \"HKEY_ANYWHERE\""},
      {R"({"t":"localGroup","machine":"MEMBER","rid":7002,"name":"L","comment":"","members":["not a SID"]})", "expected an array of SIDs"},
      {R"({"t":"member","domain":"LAB","group":513,"user":99999,"joined":true})", "no user with RID 99999"},
      {R"({"t":"session","loggedOn":"LAB\\nobody","localMachine":"WKS"})", "no user account \"LAB\\nobody\""},
      {R"({"t":"server","machine":"PDC","comment":"a\u0000b","type":3,"browseList":true,"settings":{}})", "NUL"},
  };
  const std::string labBytes = slurp(m_file);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entry);
    fs::remove(journalOf(m_file));
    writeJournal(m_file, {good, change(c.entry)});
    const std::string journalBytes = slurp(journalOf(m_file));
    std::string error;
    EXPECT_EQ(lab::loadLabFile(m_file.string(), &error), nullptr);
    EXPECT_NE(error.find(journalOf(m_file).string() + ":"), std::string::npos) << error;
    EXPECT_NE(error.find("change 2"), std::string::npos) << error;
    EXPECT_NE(error.find(c.rule), std::string::npos) << error;
    EXPECT_EQ(slurp(journalOf(m_file)), journalBytes);
    EXPECT_EQ(slurp(m_file), labBytes);
  }
}

TEST_F(LabJournal, DamageInsideTheJournalIsRefusedWithItsOffsetAndOnlyATornTailIsDropped) {
  writeJournal(m_file, {change(R"({"t":"session","loggedOn":"LAB\\alice","localMachine":"WKS"})"),
                        change(R"({"t":"session","loggedOn":"LAB\\bob","localMachine":"WKS"})")});
  const std::string good = slurp(journalOf(m_file));
  const auto second = good.find('\n', good.find('\n') + 1) + 1;  // after the header and change 1
  // Zeros laid over the start of the second change, the third intact: the
  // reader must not take the zeros for the journal's end.
  std::string zeroed = good;
  const auto third = good.find('\0');
  zeroed.insert(second, 50, '\0');
  zeroed.resize(good.size());
  ASSERT_NE(third, std::string::npos);
  std::ofstream(journalOf(m_file), std::ios::binary | std::ios::trunc) << zeroed;
  std::string error;
  EXPECT_EQ(lab::loadLabFile(m_file.string(), &error), nullptr);
  EXPECT_NE(error.find("byte " + std::to_string(second)), std::string::npos) << error;
  EXPECT_EQ(slurp(journalOf(m_file)), zeroed) << "left as it was";

  // Zeros after the last change are the journal's room, not damage.
  std::ofstream(journalOf(m_file), std::ios::binary | std::ios::trunc) << good;
  auto lab = load(m_file);
  ASSERT_TRUE(lab);
  EXPECT_EQ(lab->loggedOn(), "LAB\\bob");
}

TEST_F(LabJournal, TheJournalFollowsTheLabsModeAndNeverWritesThroughALink) {
  fs::permissions(m_file, fs::perms::owner_read | fs::perms::owner_write);
  {
    auto lab = load(m_file);
    ASSERT_TRUE(lab);
    lab->setRemoteRegistry("PDC", false);
    EXPECT_EQ(fs::status(journalOf(m_file)).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write) << "the journal holds what the lab holds";
  }
  fs::remove(journalOf(m_file));

  // Another account plants the journal's name as a link to a file of
  // root's: neither the load nor a change may write through it.
  const fs::path victim = m_dir / "victim";
  std::ofstream(victim) << "precious";
  fs::create_symlink(victim, journalOf(m_file));
  std::string error;
  EXPECT_EQ(lab::loadLabFile(m_file.string(), &error), nullptr);
  EXPECT_NE(error.find("symbolic link"), std::string::npos) << error;
  fs::remove(journalOf(m_file));
  {
    auto lab = load(m_file);
    ASSERT_TRUE(lab);
    fs::create_symlink(victim, journalOf(m_file));  // planted while the lab is open
    platform::ScopedBackend backend(lab::makeLabBackend(lab));
    EXPECT_EQ(NetUserAdd("\\\\PDC", 1, newUser("dave", "longer"), nullptr), ERROR_WRITE_FAULT);
    EXPECT_NE(lab->lastSaveError().find(journalOf(m_file).string()), std::string::npos) << lab->lastSaveError();
  }
  EXPECT_EQ(slurp(victim), "precious");

  // The same for the lock: a link there is refused, and nothing is created
  // where it points.
  fs::remove(journalOf(m_file));
  fs::create_symlink(m_dir / "made-by-root", m_file.string() + ".lock");
  EXPECT_EQ(lab::loadLabFile(m_file.string(), &error), nullptr);
  EXPECT_NE(error.find(m_file.string() + ".lock"), std::string::npos) << error;
  EXPECT_FALSE(fs::exists(m_dir / "made-by-root"));
}

TEST_F(LabJournal, ALockAnotherAccountCannotTakeKeepsTheLabClosedToIt) {
  fs::permissions(m_dir, fs::perms::all);
  fs::permissions(m_file, fs::perms::all);
  auto holder = load(m_file);  // root holds the lab; its lock file is root's, mode 644
  ASSERT_TRUE(holder);
  const auto tryAsNobody = [&] {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) return 3;
    std::string error;
    if (lab::loadLabFile(m_file.string(), &error)) return 0;
    return error.find(m_file.string() + ".lock") != std::string::npos &&
                   error.find("Permission denied") != std::string::npos
               ? 1
               : 2;
  };
  EXPECT_EQ(inChild(tryAsNobody), 1);
}

TEST_F(LabJournal, ClosingABigLabKeepsAShortJournalAndTheNextLoadReplaysIt) {
  const fs::path big = m_dir / "big.json";
  {
    lab::GeneratorOptions options;
    options.users = 20000;
    std::ofstream(big, std::ios::binary) << lab::generateLab(options)->toJson();
  }
  ASSERT_GT(fs::file_size(big), 4u << 20);
  const auto bytes = slurp(big);
  {
    auto lab = load(big);
    ASSERT_TRUE(lab);
    lab->setRemoteRegistry(lab->localMachine(), false);
  }
  EXPECT_EQ(slurp(big), bytes) << "a few changes are not worth rewriting the whole file";
  ASSERT_TRUE(fs::exists(journalOf(big)));
  auto lab = load(big);
  ASSERT_TRUE(lab);
  EXPECT_NE(lab->toJson(), bytes) << "the change came back from the journal";
}

}  // namespace
