// The logon against the DC: a backend without credentials asks once, a
// refused password is asked again (never tried again unasked), Cancel and
// an unattended run give 1326, and the library's complaint about refused
// credentials never reaches standard output.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <mutex>

#include "platform/netapi.h"
#include "platform/samba/credentials.h"
#include "platform/samba/samba_backend.h"
#include "samba_dc.h"

namespace {

using namespace platform;
using namespace samba_test;

constexpr DWORD kLogonFailure = 1326;

samba::Credentials administrator() {
  samba::Credentials right;
  std::string error;
  EXPECT_TRUE(samba::readAuthenticationFile(dc().prefix + "/admin.auth", &right, &error)) << error;
  return right;
}

// A prompt that answers from a list and records what it was asked.
struct ScriptedAnswers {
  std::mutex mutex;
  std::vector<samba::LogonQuestion> asked;
  std::vector<std::optional<samba::Credentials>> answers;

  samba::LogonPrompt prompt() {
    return [this](const samba::LogonQuestion& q) -> std::optional<samba::Credentials> {
      std::lock_guard lock(mutex);
      asked.push_back(q);
      if (asked.size() > answers.size()) return std::nullopt;
      return answers[asked.size() - 1];
    };
  }
};

std::shared_ptr<samba::SambaBackend> withoutCredentials(samba::LogonPrompt prompt) {
  samba::SambaOptions options;
  options.askLogon = std::move(prompt);
  std::string error;
  auto backend = samba::SambaBackend::start(std::move(options), &error);
  EXPECT_TRUE(backend) << error;
  return backend;
}

DWORD readAdministrator() {
  NetBuffer buf;
  return NetUserGetInfo(dc().server, "Administrator", 3, buf);
}

TEST(SambaLogon, AskedOnceThenAgainOnlyWhenTheControllerRefuses) {
  ScriptedAnswers script;
  samba::Credentials wrong = administrator();
  wrong.password = "not-the-password";
  script.answers = {wrong, administrator()};
  auto backend = withoutCredentials(script.prompt());
  EXPECT_FALSE(backend->haveCredentials());
  ScopedBackend scope(Backend::servedBy(backend));

  EXPECT_EQ(readAdministrator(), NERR_Success);
  ASSERT_EQ(script.asked.size(), 2u);
  EXPECT_FALSE(script.asked[0].refused);  // nothing to act as yet
  EXPECT_TRUE(script.asked[1].refused);
  EXPECT_EQ(script.asked[1].user, "Administrator");  // offered again
  EXPECT_EQ(script.asked[1].domain, dc().domain);
  EXPECT_EQ(script.asked[1].server, dc().server);

  // Accepted credentials are not asked for again, by any later call.
  NetBuffer buf;
  DWORD read = 0, total = 0, resume = 0;
  EXPECT_EQ(NetUserEnum(dc().server, 3, FILTER_NORMAL_ACCOUNT, buf, MAX_PREFERRED_LENGTH, &read,
                        &total, &resume),
            NERR_Success);
  EXPECT_GT(read, 0u);
  EXPECT_EQ(script.asked.size(), 2u);
  // The account shown is the one accepted, without its password.
  EXPECT_EQ(backend->account().user, "Administrator");
  EXPECT_TRUE(backend->account().password.empty());
}

TEST(SambaLogon, CancelAndUnattendedRunsGiveTheLogonFailure) {
  ScriptedAnswers script;  // no answers: every prompt is cancelled
  {
    auto backend = withoutCredentials(script.prompt());
    ScopedBackend scope(Backend::servedBy(backend));
    EXPECT_EQ(readAdministrator(), kLogonFailure);
    EXPECT_EQ(script.asked.size(), 1u);
  }
  {
    // No prompt at all: fails at once, nothing is asked.
    auto backend = withoutCredentials({});
    ScopedBackend scope(Backend::servedBy(backend));
    EXPECT_EQ(readAdministrator(), kLogonFailure);
  }
  {
    // A refused password without a prompt is not tried again either.
    samba::SambaOptions options;
    options.credentials = administrator();
    options.credentials.password = "still-not-it";
    std::string error;
    auto backend = samba::SambaBackend::start(std::move(options), &error);
    ASSERT_TRUE(backend) << error;
    ScopedBackend scope(Backend::servedBy(backend));
    EXPECT_EQ(readAdministrator(), kLogonFailure);
    EXPECT_EQ(readAdministrator(), kLogonFailure);
  }
  EXPECT_EQ(script.asked.size(), 1u);
}

TEST(SambaLogon, RefusedCredentialsLeaveStandardOutputAlone) {
  const std::string file = testing::TempDir() + "/samba-logon-stdout.txt";
  std::fflush(stdout);
  const int saved = ::dup(STDOUT_FILENO);
  const int capture = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ASSERT_GE(capture, 0);
  ::dup2(capture, STDOUT_FILENO);
  ::close(capture);
  {
    samba::SambaOptions options;
    options.credentials = administrator();
    options.credentials.password = "wrong-again";
    std::string error;
    auto backend = samba::SambaBackend::start(std::move(options), &error);
    ScopedBackend scope(Backend::servedBy(backend));
    NetBuffer buf;
    EXPECT_EQ(NetServerGetInfo(dc().server, 101, buf), kLogonFailure);
    std::printf("the program's own line\n");
  }
  std::fflush(stdout);
  ::dup2(saved, STDOUT_FILENO);
  ::close(saved);
  std::ifstream in(file);
  const std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(written, "the program's own line\n");
}

}  // namespace
