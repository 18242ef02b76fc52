// The samba backend as the program meets it: a module of its own package,
// loaded only when asked for. Runs the built program as a user would.
#include <QDir>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "unattended_process.h"

namespace {

using apptest::RunResult;

class BackendModuleRun : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

  // An unattended Users export through the samba backend, as a user with
  // no settings and no Kerberos ticket, its modules looked for in `modules`.
  RunResult runSamba(const QString& modules) {
    QProcessEnvironment env;
    env.insert("HOME", m_dir.path());
    env.insert("XDG_CONFIG_HOME", m_dir.filePath("config"));
    env.insert("XDG_DATA_HOME", m_dir.filePath("data"));
    env.insert("KRB5CCNAME", "FILE:" + m_dir.filePath("no-ticket"));
    env.insert("VELTRANE_BACKEND_PATH", modules);
    return apptest::runProgram(m_dir.path(),
                               {"--backend", "samba", "users", "DC1", m_dir.filePath("u.txt")},
                               env);
  }

  QTemporaryDir m_dir;
};

TEST_F(BackendModuleRun, WithoutTheModuleOneLineNamesThePackageAndTheLabStaysTheChoice) {
  ASSERT_TRUE(QDir(m_dir.path()).mkpath("empty"));
  const RunResult r = runSamba(m_dir.filePath("empty"));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(std::count(r.standardError.begin(), r.standardError.end(), '\n'), 1)
      << r.standardError;
  EXPECT_EQ(r.standardError.rfind("veltrane: the samba backend could not start: it is not "
                                  "installed: install the package veltrane-samba",
                                  0),
            0u)
      << r.standardError;
  EXPECT_FALSE(std::filesystem::exists(m_dir.filePath("u.txt").toStdString()));
  // A backend that could not start is not remembered: the next start is the lab's.
  const std::filesystem::path config = m_dir.filePath("config").toStdString();
  if (std::filesystem::exists(config)) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(config))
      if (entry.is_regular_file()) {
        std::ifstream in(entry.path());
        const std::string text((std::istreambuf_iterator<char>(in)), {});
        EXPECT_EQ(text.find("samba"), std::string::npos) << entry.path();
      }
  }
}

TEST_F(BackendModuleRun, TheBuiltModuleIsLoadedAndItsBackendStarts) {
  // Without an account the run stops before any controller is asked, with
  // the backend's own line: the module was found, fitted and started.
  const RunResult r = runSamba(VELTRANE_BINARY_DIR "/backends");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.standardError,
            "veltrane: the samba backend could not start: no account to act as: give "
            "--authentication-file FILE, or get a Kerberos ticket (kinit USER@REALM) first\n");
}

}  // namespace
