// Passwords in the lab: kept only as salted hashes (in the file, the journal
// and every answer), checked against the policy's length and history when
// set, and hashed when an older lab file still holds them in clear.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include <unistd.h>

#include "../support/file_text.h"
#include "../support/lab_fixture.h"
#include "platform/lab/journal.h"
#include "platform/lab/password_hash.h"

using namespace platform;
namespace fs = std::filesystem;
using lab::test::newUser;
using lab::test::storedUser;

namespace {

using test_support::slurp;

void spit(const fs::path& p, const std::string& text) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << text;
}

TEST(PasswordHash, IsSaltedSlowAndNeverHoldsTheClearText) {
  const auto a = lab::hashPassword("Tr0ub4dor&3");
  const auto b = lab::hashPassword("Tr0ub4dor&3");
  ASSERT_TRUE(a && b);
  EXPECT_NE(*a, *b) << "a fresh salt each time";
  EXPECT_EQ(a->find("Tr0ub4dor"), std::string::npos);
  EXPECT_TRUE(a->starts_with("$argon2id$"));
  EXPECT_TRUE(lab::passwordMatches(*a, "Tr0ub4dor&3"));
  EXPECT_TRUE(lab::passwordMatches(*b, "Tr0ub4dor&3"));
  EXPECT_FALSE(lab::passwordMatches(*a, "tr0ub4dor&3"));
  EXPECT_FALSE(lab::passwordMatches(*a, ""));
  // A blank password keeps no hash, and nothing else matches it.
  EXPECT_EQ(lab::hashPassword(""), std::string());
  EXPECT_TRUE(lab::passwordMatches("", ""));
  EXPECT_FALSE(lab::passwordMatches("", "x"));
  // What a lab file may hold in place of a hash.
  EXPECT_TRUE(lab::isPasswordHash(*a));
  EXPECT_FALSE(lab::isPasswordHash("Tr0ub4dor&3"));
  EXPECT_FALSE(lab::isPasswordHash("$argon2id$v=19$m=4096,t=2,p=1$garbage"));
  std::string costly = *a;
  costly.replace(costly.find("m=4096"), 6, "m=4194304");  // 4 GiB to check
  EXPECT_FALSE(lab::isPasswordHash(costly));
  EXPECT_FALSE(lab::passwordMatches("Tr0ub4dor&3", "Tr0ub4dor&3")) << "a clear text is no hash";
}

// A lab file of its own per test, in a folder of its own.
class LabPasswords : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = fs::temp_directory_path() / ("veltrane-pw-test-" + std::to_string(::getpid()));
    fs::remove_all(m_dir);
    fs::create_directories(m_dir);
    m_file = m_dir / "lab.json";
    fs::copy_file(lab::test::testLabPath("platform-small"), m_file);
  }
  void TearDown() override { fs::remove_all(m_dir); }

  std::shared_ptr<lab::Lab> load() {
    std::string error;
    auto l = lab::loadLabFile(m_file.string(), &error);
    EXPECT_TRUE(l) << error;
    return l;
  }
  // What a restart finds: the file and its journal as they are on disk.
  std::string onDisk() const {
    const fs::path journal = m_file.string() + ".journal";
    return slurp(m_file) + (fs::exists(journal) ? slurp(journal) : std::string());
  }

  fs::path m_dir;
  fs::path m_file;
};

// How each later version of the file says alice's password.
std::string withClearPassword(std::string text, const std::string& password) {
  const auto at = text.find("\"passwordHash\"");
  const auto end = text.find('"', text.find('"', text.find(':', at)) + 1);
  return text.replace(at, end + 1 - at, "\"password\": \"" + password + "\"");
}

TEST_F(LabPasswords, AnOlderFileWithClearPasswordsLoadsKeepsThemAndIsRewrittenWithout) {
  spit(m_file, withClearPassword(slurp(m_file), "Kangaroo-17"));
  ASSERT_NE(slurp(m_file).find("Kangaroo-17"), std::string::npos);
  {
    auto l = load();
    ASSERT_TRUE(l);
    const std::string rewritten = slurp(m_file);
    EXPECT_EQ(rewritten.find("Kangaroo-17"), std::string::npos) << "the clear text left the disk at load";
    EXPECT_EQ(rewritten.find("\"password\""), std::string::npos);
    EXPECT_NE(rewritten.find("\"passwordHash\": \"$argon2id$"), std::string::npos);
    EXPECT_FALSE(fs::exists(m_file.string() + ".journal"));

    // The old password is still alice's: with a history, it is a reuse.
    platform::ScopedBackend backend(lab::makeLabBackend(l));
    USER_MODALS_INFO_0 policy;
    policy.usrmod0_min_passwd_len = 4;
    policy.usrmod0_password_hist_len = 3;
    ASSERT_EQ(NetUserModalsSet("\\\\PDC", 0, policy, nullptr), NERR_Success);
    DWORD parm = 0;
    EXPECT_EQ(NetUserSetInfo("\\\\PDC", "alice", 1003, USER_INFO_1003{"Kangaroo-17"}, &parm),
              NERR_PasswordTooShort);
    EXPECT_EQ(parm, 3u);
    EXPECT_EQ(NetUserSetInfo("\\\\PDC", "alice", 1003, USER_INFO_1003{"Wallaby-22"}, nullptr),
              NERR_Success);
    EXPECT_EQ(NetUserSetInfo("\\\\PDC", "alice", 1003, USER_INFO_1003{"Kangaroo-17"}, nullptr),
              NERR_PasswordTooShort) << "remembered by the history";
    EXPECT_EQ(onDisk().find("Wallaby-22"), std::string::npos) << "the journal holds no clear text";
  }
  // Written back and read again: the history survives the file.
  auto again = load();
  ASSERT_TRUE(again);
  EXPECT_EQ(slurp(m_file).find("Kangaroo-17"), std::string::npos);
  platform::ScopedBackend backend(lab::makeLabBackend(again));
  EXPECT_EQ(NetUserSetInfo("\\\\PDC", "alice", 1003, USER_INFO_1003{"Kangaroo-17"}, nullptr),
            NERR_PasswordTooShort);
  EXPECT_EQ(NetUserSetInfo("\\\\PDC", "alice", 1003, USER_INFO_1003{"Wallaby-22"}, nullptr),
            NERR_PasswordTooShort);
}

// A journal left by an earlier version (the program stopped before folding
// it) may hold a password in clear too: it is replayed, hashed and folded
// into the file at once.
TEST_F(LabPasswords, AnOlderJournalWithAClearPasswordIsHashedAndFoldedAtLoad) {
  {
    lab::Journal journal(m_file.string());
    std::string error;
    ASSERT_TRUE(journal.append(lab::identityOf(slurp(m_file)),
                               R"({"changes":[{"t":"user","domain":"LAB","rid":1500,)"
                               R"("user":{"name":"legacy","rid":1500,"password":"Emu-4242"}}]})",
                               true, &error)) << error;
  }
  ASSERT_NE(onDisk().find("Emu-4242"), std::string::npos);
  auto l = load();
  ASSERT_TRUE(l);
  EXPECT_EQ(onDisk().find("Emu-4242"), std::string::npos);
  EXPECT_FALSE(fs::exists(m_file.string() + ".journal")) << "folded into the file";
  EXPECT_NE(slurp(m_file).find("\"legacy\""), std::string::npos);
  platform::ScopedBackend backend(lab::makeLabBackend(l));
  USER_MODALS_INFO_0 policy;
  policy.usrmod0_min_passwd_len = 4;
  policy.usrmod0_password_hist_len = 1;
  ASSERT_EQ(NetUserModalsSet("\\\\PDC", 0, policy, nullptr), NERR_Success);
  EXPECT_EQ(NetUserSetInfo("\\\\PDC", "legacy", 1003, USER_INFO_1003{"Emu-4242"}, nullptr),
            NERR_PasswordTooShort) << "the journal's password is still the account's";
}

TEST_F(LabPasswords, NoAnswerOrMessageRepeatsAPassword) {
  const std::string original = slurp(m_file);
  {
    auto l = load();
    ASSERT_TRUE(l);
    platform::ScopedBackend backend(lab::makeLabBackend(l));
    ASSERT_EQ(NetUserAdd("\\\\PDC", 1, newUser("dave", "Platypus-9"), nullptr), NERR_Success);
    NetBuffer buf;
    ASSERT_EQ(NetUserEnum("\\\\PDC", 3, FILTER_NORMAL_ACCOUNT, buf, MAX_PREFERRED_LENGTH, nullptr,
                          nullptr, nullptr), NERR_Success);
    for (const auto& u : buf.get<USER_INFO_3>()) EXPECT_EQ(u.usri3_password, "") << u.usri3_name;
    ASSERT_EQ(NetUserEnum("\\\\PDC", 1, FILTER_NORMAL_ACCOUNT, buf, MAX_PREFERRED_LENGTH, nullptr,
                          nullptr, nullptr), NERR_Success);
    for (const auto& u : buf.get<USER_INFO_1>()) EXPECT_EQ(u.usri1_password, "") << u.usri1_name;
    EXPECT_EQ((onDisk() + l->toJson()).find("Platypus-9"), std::string::npos);
  }
  // A clear password written where the hash belongs is refused without
  // being repeated in the message; so is a file giving both forms.
  std::string error;
  auto put = [&](const std::string& text) {
    spit(m_file, text);
    error.clear();
    return lab::loadLabFile(m_file.string(), &error);
  };
  const auto hashAt = original.find("$argon2id$");
  std::string misplaced = original;
  misplaced.replace(hashAt, original.find('"', hashAt) - hashAt, "Platypus-9");
  EXPECT_EQ(put(misplaced), nullptr);
  EXPECT_NE(error.find("/domains/0/users/1/passwordHash: not a password hash"), std::string::npos) << error;
  EXPECT_EQ(error.find("Platypus-9"), std::string::npos) << error;
  EXPECT_EQ(slurp(m_file), misplaced) << "a refused lab is left as it is";
  std::string both = original;
  both.insert(both.find("\"passwordHash\""), "\"password\": \"Platypus-9\", ");
  EXPECT_EQ(put(both), nullptr);
  EXPECT_NE(error.find("not both"), std::string::npos) << error;
  EXPECT_EQ(error.find("Platypus-9"), std::string::npos) << error;
}

TEST_F(LabPasswords, TheHistoryRemembersAsManyPasswordsAsThePolicySaysAndNoMore) {
  auto l = load();
  ASSERT_TRUE(l);
  platform::ScopedBackend backend(lab::makeLabBackend(l));
  USER_MODALS_INFO_0 policy;
  policy.usrmod0_min_passwd_len = 4;
  policy.usrmod0_password_hist_len = 2;  // the current password and the one before
  ASSERT_EQ(NetUserModalsSet("\\\\PDC", 0, policy, nullptr), NERR_Success);
  ASSERT_EQ(NetUserAdd("\\\\PDC", 1, newUser("dave", "first-pw"), nullptr), NERR_Success);
  EXPECT_EQ(NetUserSetInfo("\\\\PDC", "dave", 1003, USER_INFO_1003{"first-pw"}, nullptr),
            NERR_PasswordTooShort);
  ASSERT_EQ(NetUserSetInfo("\\\\PDC", "dave", 1003, USER_INFO_1003{"second-pw"}, nullptr),
            NERR_Success);
  EXPECT_EQ(NetUserSetInfo("\\\\PDC", "dave", 1003, USER_INFO_1003{"first-pw"}, nullptr),
            NERR_PasswordTooShort);
  ASSERT_EQ(NetUserSetInfo("\\\\PDC", "dave", 1003, USER_INFO_1003{"third-pw"}, nullptr),
            NERR_Success);
  EXPECT_EQ(NetUserSetInfo("\\\\PDC", "dave", 1003, USER_INFO_1003{"first-pw"}, nullptr),
            NERR_Success) << "three passwords back is beyond a history of two";
  // Without a history the same password may be set again (level 3 too).
  policy.usrmod0_password_hist_len = 0;
  ASSERT_EQ(NetUserModalsSet("\\\\PDC", 0, policy, nullptr), NERR_Success);
  NetBuffer buf;
  ASSERT_EQ(NetUserGetInfo("\\\\PDC", "dave", 3, buf), NERR_Success);
  USER_INFO_3 info = *buf.one<USER_INFO_3>();
  EXPECT_EQ(info.usri3_password, "") << "reads never give a password";
  info.usri3_password = "first-pw";
  EXPECT_EQ(NetUserSetInfo("\\\\PDC", "dave", 3, info, nullptr), NERR_Success);

  const std::string disk = onDisk() + l->toJson();
  for (const char* pw : {"first-pw", "second-pw", "third-pw"}) {
    EXPECT_EQ(disk.find(pw), std::string::npos) << pw;
  }
}

TEST_F(LabPasswords, LengthCountsCharactersNotBytesAndIsCheckedWhenSet) {
  auto l = load();
  ASSERT_TRUE(l);
  platform::ScopedBackend backend(lab::makeLabBackend(l));
  DWORD parm = 0;
  // The policy asks for 4 characters; "äöü" is three characters in six bytes.
  EXPECT_EQ(NetUserAdd("\\\\PDC", 1, newUser("dave", "äöü"), &parm), NERR_PasswordTooShort);
  EXPECT_EQ(parm, 3u);
  NetBuffer buf;
  EXPECT_EQ(NetUserGetInfo("\\\\PDC", "dave", 0, buf), NERR_UserNotFound) << "nothing created";
  EXPECT_EQ(NetUserAdd("\\\\PDC", 1, newUser("dave", "äöü€"), nullptr), NERR_Success);
  EXPECT_EQ(NetUserSetInfo("\\\\PDC", "dave", 1003, USER_INFO_1003{"abc"}, &parm),
            NERR_PasswordTooShort);
  USER_INFO_1 one = newUser("dave", "xy");
  EXPECT_EQ(NetUserSetInfo("\\\\PDC", "dave", 1, one, &parm), NERR_PasswordTooShort);
  // Twenty characters make the longest user name, whatever their bytes.
  EXPECT_EQ(NetUserAdd("\\\\PDC", 1, newUser("Jürgen-Müller-Öztürk", "long enough"), nullptr),
            NERR_Success);
  EXPECT_EQ(NetUserAdd("\\\\PDC", 1, newUser("Jürgen-Müller-Öztürk2", "long enough"), &parm),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(parm, 1u);
}

std::string storedHash(const lab::Lab& l, std::string_view name) {
  return storedUser(l, name).value("passwordHash", "");
}

USER_INFO_3 unknownPasswordUser(std::string name) {
  USER_INFO_3 u;
  u.usri3_name = std::move(name);
  u.usri3_password = std::string(kUnknownPassword);
  u.usri3_flags = UF_SCRIPT | UF_ACCOUNTDISABLE;
  return u;
}

// An account whose password nobody is to know keeps the mark, not a hash of
// some password: nothing matches it, not even the blank password, it meets
// any policy, and it takes a real password later.
TEST_F(LabPasswords, APasswordNobodyKnowsIsAMarkNoPasswordMatches) {
  {
    auto l = load();
    ASSERT_TRUE(l);
    platform::ScopedBackend backend(lab::makeLabBackend(l));
    USER_MODALS_INFO_0 policy;
    policy.usrmod0_min_passwd_len = 12;
    policy.usrmod0_password_hist_len = 3;
    ASSERT_EQ(NetUserModalsSet("\\\\PDC", 0, policy, nullptr), NERR_Success);
    ASSERT_EQ(NetUserAdd("\\\\PDC", 3, unknownPasswordUser("nobody"), nullptr), NERR_Success);
    ASSERT_EQ(NetUserAdd("\\\\PDC", 3, unknownPasswordUser("later"), nullptr), NERR_Success);
    const std::string mark = storedHash(*l, "nobody");
    EXPECT_EQ(mark, "*");
    for (std::string_view guess : {std::string_view(), std::string_view("*"), kUnknownPassword,
                                   std::string_view("unknown")}) {
      EXPECT_FALSE(lab::passwordMatches(mark, guess)) << guess;
    }
    // A password given later replaces the mark, which no history remembers.
    ASSERT_EQ(NetUserSetInfo("\\\\PDC", "later", 1003, USER_INFO_1003{"Echidna-31-long"}, nullptr),
              NERR_Success);
    EXPECT_TRUE(lab::passwordMatches(storedHash(*l, "later"), "Echidna-31-long"));
    EXPECT_FALSE(storedUser(*l, "later").contains("passwordHistory"));
  }
  // Written back and read again: still the mark, still matched by nothing.
  auto again = load();
  ASSERT_TRUE(again);
  EXPECT_EQ(storedHash(*again, "nobody"), "*");
  EXPECT_NE(slurp(m_file).find("\"passwordHash\": \"*\""), std::string::npos);
}

// Labs written before the mark hold argon2 hashes (also of the random
// passwords nobody knew): they load and check passwords as before.
TEST_F(LabPasswords, AnOlderLabsArgon2HashesStillCheckPasswords) {
  const auto hash = lab::hashPassword("Wombat-88");
  ASSERT_TRUE(hash);
  std::string text = slurp(m_file);
  const auto at = text.find("$argon2id$");
  ASSERT_NE(at, std::string::npos);
  text.replace(at, text.find('"', at) - at, *hash);
  spit(m_file, text);
  auto l = load();
  ASSERT_TRUE(l);
  EXPECT_TRUE(lab::passwordMatches(storedHash(*l, "alice"), "Wombat-88"));
  platform::ScopedBackend backend(lab::makeLabBackend(l));
  USER_MODALS_INFO_0 policy;
  policy.usrmod0_min_passwd_len = 4;
  policy.usrmod0_password_hist_len = 2;
  ASSERT_EQ(NetUserModalsSet("\\\\PDC", 0, policy, nullptr), NERR_Success);
  EXPECT_EQ(NetUserSetInfo("\\\\PDC", "alice", 1003, USER_INFO_1003{"Wombat-88"}, nullptr),
            NERR_PasswordTooShort) << "the old hash is still alice's password";
  EXPECT_EQ(NetUserSetInfo("\\\\PDC", "alice", 1003, USER_INFO_1003{"Dingo-12"}, nullptr),
            NERR_Success);
  EXPECT_EQ(NetUserSetInfo("\\\\PDC", "alice", 1003, USER_INFO_1003{"Wombat-88"}, nullptr),
            NERR_PasswordTooShort) << "remembered in the history";
}

// Hashes made ahead (an import's next records) or on several threads at once
// each end up with their own account, whatever order they were made in.
TEST_F(LabPasswords, HashesMadeAheadOrConcurrentlyBelongToTheirOwnAccounts) {
  auto l = load();
  ASSERT_TRUE(l);
  platform::ScopedBackend backend(lab::makeLabBackend(l));
  std::vector<std::string> told;
  for (int i = 0; i < 10; ++i) told.push_back("Quokka-" + std::to_string(i % 7));  // repeats
  PrepareAccountPasswords(told);
  for (std::size_t i = 0; i < told.size(); ++i) {
    ASSERT_EQ(NetUserAdd("\\\\PDC", 1, newUser("ahead" + std::to_string(i), told[i]), nullptr),
              NERR_Success) << i;
  }
  for (std::size_t i = 0; i < told.size(); ++i) {
    const std::string hash = storedHash(*l, "ahead" + std::to_string(i));
    EXPECT_TRUE(lab::passwordMatches(hash, told[i])) << i;
    EXPECT_FALSE(lab::passwordMatches(hash, "Quokka-" + std::to_string((i + 1) % 7))) << i;
  }
  // Told and never set: forgotten, and the account set later is right.
  PrepareAccountPasswords(std::vector<std::string>{"Never-set-1"});
  PrepareAccountPasswords({});
  ASSERT_EQ(NetUserAdd("\\\\PDC", 1, newUser("late", "Never-set-1"), nullptr), NERR_Success);
  EXPECT_TRUE(lab::passwordMatches(storedHash(*l, "late"), "Never-set-1"));

  // Several callers at once: each hash is made outside the write lock.
  std::vector<std::jthread> callers;
  for (int t = 0; t < 4; ++t) {
    callers.emplace_back([t] {
      for (int k = 0; k < 3; ++k) {
        const std::string n = std::to_string(t) + "-" + std::to_string(k);
        EXPECT_EQ(NetUserAdd("\\\\PDC", 1, newUser("busy" + n, "Numbat-" + n), nullptr),
                  NERR_Success);
        EXPECT_EQ(NetUserSetInfo("\\\\PDC", "busy" + n, 1003, USER_INFO_1003{"Bilby-" + n}, nullptr),
                  NERR_Success);
      }
    });
  }
  callers.clear();
  for (int t = 0; t < 4; ++t) {
    for (int k = 0; k < 3; ++k) {
      const std::string n = std::to_string(t) + "-" + std::to_string(k);
      EXPECT_TRUE(lab::passwordMatches(storedHash(*l, "busy" + n), "Bilby-" + n)) << n;
    }
  }
  EXPECT_EQ((onDisk() + l->toJson()).find("Quokka-"), std::string::npos);
}

// Text the lab could not write back, or longer than the systems simulated
// allow, is refused with 87 and the parameter's number; the file is left as
// it was and loads again.
TEST_F(LabPasswords, TextTheLabCannotKeepIsRefusedAndLosesNothing) {
  const std::string loneSurrogate = "Na\xED\xA0\x80me";  // U+D800 written as UTF-8
  const std::string cutShort = "caf\xC3";
  const std::string overlong = "\xC0\xAF";
  const std::string withNul = std::string("ab\0cd", 5);
  const std::string longPassword(257, 'p');
  const std::string longText(32768, 'x');
  {
    auto l = load();
    ASSERT_TRUE(l);
    platform::ScopedBackend backend(lab::makeLabBackend(l));
    ASSERT_EQ(NetUserAdd("\\\\PDC", 1, newUser("dave", "good-pw"), nullptr), NERR_Success);
    l->foldJournal();
    const std::string before = onDisk();

    struct Case {
      const char* what;
      std::function<DWORD(DWORD*)> call;
      DWORD parm;
    };
    USER_INFO_3 three;
    three.usri3_name = "erin";
    three.usri3_password = "good-pw";
    const std::vector<Case> cases = {
        {"name, lone surrogate", [&](DWORD* p) { return NetUserAdd("\\\\PDC", 1, newUser(loneSurrogate, "good-pw"), p); }, 1},
        {"name, cut short", [&](DWORD* p) { return NetUserAdd("\\\\PDC", 1, newUser(cutShort, "good-pw"), p); }, 1},
        {"name with NUL", [&](DWORD* p) { return NetUserAdd("\\\\PDC", 1, newUser(withNul, "good-pw"), p); }, 1},
        {"password, over-long form", [&](DWORD* p) { return NetUserAdd("\\\\PDC", 1, newUser("erin", overlong + "abcd"), p); }, 3},
        {"password beyond 256", [&](DWORD* p) { return NetUserAdd("\\\\PDC", 1, newUser("erin", longPassword), p); }, 3},
        {"comment beyond 32,767", [&](DWORD* p) {
           auto u = newUser("erin", "good-pw");
           u.usri1_comment = longText;
           return NetUserAdd("\\\\PDC", 1, u, p);
         }, 7},
        {"full name with NUL", [&](DWORD* p) {
           auto t = three;
           t.usri3_full_name = withNul;
           return NetUserAdd("\\\\PDC", 3, t, p);
         }, 11},
        {"profile, lone surrogate", [&](DWORD* p) {
           auto t = three;
           t.usri3_profile = loneSurrogate;
           return NetUserAdd("\\\\PDC", 3, t, p);
         }, 52},
        {"set comment", [&](DWORD* p) { return NetUserSetInfo("\\\\PDC", "dave", 1007, USER_INFO_1007{cutShort}, p); }, 7},
        {"set password", [&](DWORD* p) { return NetUserSetInfo("\\\\PDC", "dave", 1003, USER_INFO_1003{withNul + "xyzw"}, p); }, 3},
        {"group name", [&](DWORD* p) { return NetGroupAdd("\\\\PDC", 1, GROUP_INFO_1{loneSurrogate, ""}, p); }, 1},
        {"group comment", [&](DWORD* p) { return NetGroupAdd("\\\\PDC", 1, GROUP_INFO_1{"Auditors", cutShort}, p); }, 2},
        {"group rename", [&](DWORD* p) { return NetGroupSetInfo("\\\\PDC", "Sales", 0, GROUP_INFO_0{std::string(257, 'g')}, p); }, 1},
        {"group comment set", [&](DWORD* p) { return NetGroupSetInfo("\\\\PDC", "Sales", 1002, GROUP_INFO_1002{longText}, p); }, 2},
        {"local group comment set", [&](DWORD* p) { return NetLocalGroupSetInfo("\\\\PDC", "Shared", 1002, LOCALGROUP_INFO_1002{withNul}, p); }, 2},
    };
    for (const auto& c : cases) {
      SCOPED_TRACE(c.what);
      DWORD parm = 0;
      EXPECT_EQ(c.call(&parm), ERROR_INVALID_PARAMETER);
      EXPECT_EQ(parm, c.parm);
    }
    NetBuffer buf;
    EXPECT_EQ(NetUserGetInfo("\\\\PDC", "erin", 0, buf), NERR_UserNotFound);
    ASSERT_EQ(NetGroupGetInfo("\\\\PDC", "Sales", 1, buf), NERR_Success);
    EXPECT_EQ(buf.one<GROUP_INFO_1>()->grpi1_comment, "Sales team");
    EXPECT_EQ(onDisk(), before) << "a refused change writes nothing";

    // Any Unicode that is well-formed is kept, four-byte characters and all,
    // up to the longest text an account database holds.
    auto u = newUser("Zoë🙂", "🙂🙂🙂🙂");
    u.usri1_comment = "Ünïcödé ✓ 𝄞";
    EXPECT_EQ(NetUserAdd("\\\\PDC", 1, u, nullptr), NERR_Success);
    u.usri1_password.clear();  // unchanged from here on
    u.usri1_comment = std::string(32767 - 2, 'y') + "𝄞";  // 32,767 UTF-16 units
    EXPECT_EQ(NetUserSetInfo("\\\\PDC", "Zoë🙂", 1, u, nullptr), NERR_Success);
    u.usri1_comment += "y";
    EXPECT_EQ(NetUserSetInfo("\\\\PDC", "Zoë🙂", 1, u, nullptr), ERROR_INVALID_PARAMETER);
    u.usri1_comment = "Ünïcödé ✓ 𝄞";
    EXPECT_EQ(NetUserSetInfo("\\\\PDC", "Zoë🙂", 1, u, nullptr), NERR_Success);
  }
  auto again = load();
  ASSERT_TRUE(again);
  platform::ScopedBackend backend(lab::makeLabBackend(again));
  NetBuffer buf;
  ASSERT_EQ(NetUserGetInfo("\\\\PDC", "Zoë🙂", 1, buf), NERR_Success);
  EXPECT_EQ(buf.one<USER_INFO_1>()->usri1_comment, "Ünïcödé ✓ 𝄞");
  EXPECT_EQ(NetUserGetInfo("\\\\PDC", "dave", 0, buf), NERR_Success);
}

// The last line of defence: a change whose text slipped past the calls'
// checks cannot be journalled, so it is undone as a failed write would be.
TEST_F(LabPasswords, AChangeThatCannotBeEncodedIsUndoneNotACrash) {
  auto l = load();
  ASSERT_TRUE(l);
  const std::string before = onDisk();
  l->refuseOperation("PDC", "NetUserEnum\xFF", ERROR_ACCESS_DENIED);
  EXPECT_NE(l->lastSaveError(), "");
  EXPECT_NO_THROW(l->toJson()) << "memory holds nothing the file could not";
  l->logOn("LAB\\\xED\xA0\x80");
  EXPECT_EQ(l->loggedOn(), "LAB\\Administrator");
  EXPECT_EQ(onDisk(), before);
  EXPECT_TRUE(l->refuseOperation("PDC", "NetUserEnum", ERROR_ACCESS_DENIED)) << "later changes go on";
}

TEST_F(LabPasswords, RegistryBytesAreKeptExactlyAndUnwritableNamesAndReportsRefused) {
  const std::vector<std::uint8_t> raw = {'a', 0xFF, 0xED, 0xA0, 0x80, 'z', 0};
  {
    auto l = load();
    ASSERT_TRUE(l);
    platform::ScopedBackend backend(lab::makeLabBackend(l));
    RegKey remote, key;
    ASSERT_EQ(RegConnectRegistry("\\\\PDC", HKEY_LOCAL_MACHINE, remote.out()), ERROR_SUCCESS);
    EXPECT_EQ(RegCreateKeyEx(remote.get(), "SOFTWARE\\Bad\xFFKey", 0, KEY_ALL_ACCESS, key.out(), nullptr),
              static_cast<LONG>(ERROR_INVALID_PARAMETER));
    ASSERT_EQ(RegCreateKeyEx(remote.get(), "SOFTWARE\\Lab", 0, KEY_ALL_ACCESS, key.out(), nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueEx(key.get(), "Bad\xC3", REG_SZ, regSzBytes("x")),
              static_cast<LONG>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(RegSetValueEx(key.get(), "Odd", REG_SZ, raw), ERROR_SUCCESS);
    const HANDLE log = RegisterEventSource("", "Veltrane");
    EXPECT_EQ(ReportEvent(log, EVENTLOG_INFORMATION_TYPE, 0, 59271, {"User Added: \xED\xA0\x80"}), 0);
    EXPECT_NE(ReportEvent(log, EVENTLOG_INFORMATION_TYPE, 0, 59271, {"User Added: Zoë"}), 0);
    DeregisterEventSource(log);
  }
  auto again = load();
  ASSERT_TRUE(again);
  platform::ScopedBackend backend(lab::makeLabBackend(again));
  RegKey remote, key;
  ASSERT_EQ(RegConnectRegistry("\\\\PDC", HKEY_LOCAL_MACHINE, remote.out()), ERROR_SUCCESS);
  ASSERT_EQ(RegOpenKeyEx(remote.get(), "SOFTWARE\\Lab", 0, KEY_READ, key.out()), ERROR_SUCCESS);
  DWORD type = 0;
  std::vector<std::uint8_t> data(64);
  DWORD size = static_cast<DWORD>(data.size());
  ASSERT_EQ(RegQueryValueEx(key.get(), "Odd", &type, data, &size), ERROR_SUCCESS);
  data.resize(size);
  EXPECT_EQ(data, raw);
  const auto events = again->eventLog(again->localMachine());
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().strings.at(0), "User Added: Zoë") << "the refused report left nothing";
}

}  // namespace
