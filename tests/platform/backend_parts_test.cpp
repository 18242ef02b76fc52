// A backend made of parts: what it leaves out answers as unsupported, and a
// network backend's registry and the local settings file never mix.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "../support/lab_fixture.h"
#include "platform/backend.h"
#include "platform/local/config_file_local_system.h"
#include "platform/security.h"

using namespace platform;

namespace {

// Serves one user and nothing else.
class AccountsOnly final : public AccountsPart {
 public:
  NET_API_STATUS NetUserGetInfo(std::string_view, std::string_view user, DWORD level,
                                NetBuffer& buf) override {
    if (level != 0) return ERROR_INVALID_LEVEL;
    if (user != "ann") return NERR_UserNotFound;
    buf.emplace<USER_INFO_0>().push_back({"ann"});
    return NERR_Success;
  }
};

TEST(BackendParts, ABackendOfOnlyTheAccountPartAnswersUnsupportedElsewhere) {
  auto backend = Backend::servedBy(std::make_shared<AccountsOnly>());
  ASSERT_TRUE(backend->accounts);
  EXPECT_FALSE(backend->local || backend->servers || backend->registry || backend->security ||
               backend->network || backend->dialin || backend->eventLog);
  ScopedBackend scope(backend);

  NetBuffer buf;
  ASSERT_EQ(NetUserGetInfo("\\\\DC", "ann", 0, buf), NERR_Success);
  ASSERT_EQ(buf.get<USER_INFO_0>().size(), 1u);
  EXPECT_EQ(buf.get<USER_INFO_0>()[0].usri0_name, "ann");
  EXPECT_EQ(NetUserGetInfo("\\\\DC", "bob", 0, buf), NERR_UserNotFound);
  // What the part does not override, and every other part.
  DWORD read = 0, total = 0, resume = 0;
  EXPECT_EQ(NetGroupEnum("\\\\DC", 0, buf, MAX_PREFERRED_LENGTH, &read, &total, &resume),
            ERROR_NOT_SUPPORTED);
  EXPECT_EQ(NetServerGetInfo("\\\\DC", 101, buf), ERROR_NOT_SUPPORTED);
  RegKey key;
  EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software", 0, KEY_READ, key.out()),
            static_cast<LONG>(ERROR_NOT_SUPPORTED));
  EXPECT_EQ(RegConnectRegistry("\\\\DC", HKEY_LOCAL_MACHINE, key.out()),
            static_cast<LONG>(ERROR_NOT_SUPPORTED));
  SID sid;
  std::string domain;
  SID_NAME_USE use{};
  EXPECT_EQ(LookupAccountName("", "ann", &sid, &domain, &use), ERROR_NOT_SUPPORTED);
  OSVERSIONINFOA version;
  EXPECT_EQ(GetVersionEx(&version), 0);
  EXPECT_EQ(RegisterEventSource("", "Veltrane"), 0u);
  DWORD allowed = 0, type = 0;
  std::string number;
  EXPECT_EQ(GetRAS("\\\\DC", "ann", &allowed, &number, &type), 0);
}

std::string fileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(BackendParts, SettingsGoToTheLocalFileWhileRemoteKeysReachTheNetwork) {
  lab::test::LabFixture lab("platform-small");
  ASSERT_TRUE(lab) << lab.error();
  const auto path = ::testing::TempDir() + "/parts-settings/registry.json";
  std::filesystem::remove_all(std::filesystem::path(path).parent_path());
  auto backend = lab::makeLabBackend(lab.shared());
  backend->local = std::make_shared<ConfigFileLocalSystem>(path);
  const std::string labBefore = lab->toJson();
  {
    ScopedBackend scope(backend);
    RegKey settings;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Brisle Software\\Veltrane 2.20", 0,
                             KEY_ALL_ACCESS, settings.out(), nullptr),
              ERROR_SUCCESS);
    // Both parts number their first key alike; each handle must still reach
    // its own registry.
    RegKey remote;
    ASSERT_EQ(RegConnectRegistry("\\\\PDC", HKEY_LOCAL_MACHINE, remote.out()), ERROR_SUCCESS);
    RegKey version;
    ASSERT_EQ(RegOpenKeyEx(remote.get(), "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", 0,
                           KEY_READ, version.out()),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueEx(settings.get(), "Browse Priority", REG_DWORD, regDwordBytes(3)),
              ERROR_SUCCESS);
    std::vector<std::uint8_t> buf(64);
    DWORD type = 0, size = 0;
    ASSERT_EQ(RegQueryValueEx(version.get(), "InstallDate", &type, buf, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(RegQueryValueEx(version.get(), "Browse Priority", &type, buf, &size),
              static_cast<LONG>(ERROR_FILE_NOT_FOUND));
    // A key closed through one part is gone for good.
    const HKEY closed = version.release();
    ASSERT_EQ(RegCloseKey(closed), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueEx(closed, "InstallDate", &type, buf, &size),
              static_cast<LONG>(ERROR_INVALID_HANDLE));
  }
  EXPECT_EQ(lab->toJson(), labBefore);  // the settings never touched the lab

  // Another start reads the value back, with its stored size.
  ConfigFileLocalSystem again(path);
  HKEY key = 0;
  ASSERT_EQ(again.RegOpenKeyEx(HKEY_CURRENT_USER, "SOFTWARE\\brisle software\\Veltrane 2.20",
                               0, KEY_READ, &key),
            ERROR_SUCCESS);
  std::vector<std::uint8_t> buf(8);
  DWORD type = 0, size = 0;
  ASSERT_EQ(again.RegQueryValueEx(key, "browse priority", &type, buf, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_DWORD);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(buf[0], 3);
}

TEST(BackendParts, ADamagedSettingsFileIsNamedAndLeftAsItWas) {
  const auto path = ::testing::TempDir() + "/damaged-registry.json";
  { std::ofstream(path) << "{\"format\": 1, \"keys\": [ {\"path\": 7} ]}"; }
  const std::string before = fileText(path);
  ConfigFileLocalSystem local(path);
  HKEY key = 0;
  EXPECT_EQ(local.RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\X", 0, KEY_ALL_ACCESS, &key,
                                 nullptr),
            static_cast<LONG>(ERROR_FILE_CORRUPT));
  EXPECT_NE(local.loadError().find(path), std::string::npos) << local.loadError();
  EXPECT_EQ(fileText(path), before);
}

TEST(BackendParts, TheLocalSystemIsThisLinuxMachine) {
  ConfigFileLocalSystem local("");
  OSVERSIONINFOA version;
  ASSERT_NE(local.GetVersionEx(&version), 0);
  EXPECT_EQ(version.dwPlatformId, VER_PLATFORM_WIN32_NT);
  std::string name;
  ASSERT_NE(local.GetComputerName(&name), 0);
  EXPECT_FALSE(name.empty());
  EXPECT_EQ(name.find('.'), std::string::npos);
  // Without a place for the file there are no settings to open.
  HKEY key = 0;
  EXPECT_NE(local.RegOpenKeyEx(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key), 0);
}

}  // namespace
