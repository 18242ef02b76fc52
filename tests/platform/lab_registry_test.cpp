// Registry semantics: exact sizes, short buffers, stored order, remote
// connection and who may write.

#include <gtest/gtest.h>

#include <filesystem>

#include "../support/lab_fixture.h"
#include "platform/local/config_file_local_system.h"
#include "platform/registry.h"

using namespace platform;
using lab::test::LabFixture;

namespace {

// The local registry behaves the same whether the lab's local machine or the
// settings file of a network backend serves it.
enum class LocalRegistry { Lab, SettingsFile };

class LocalRegistrySemantics : public ::testing::TestWithParam<LocalRegistry> {};

TEST_P(LocalRegistrySemantics, SizesAreKeptAndShortBuffersAskForMore) {
  LabFixture lab("platform-small");
  ASSERT_TRUE(lab) << lab.error();
  std::unique_ptr<ScopedBackend> fileBacked;
  if (GetParam() == LocalRegistry::SettingsFile) {
    const auto path = ::testing::TempDir() + "/semantics-registry.json";
    std::filesystem::remove(path);
    auto backend = lab::makeLabBackend(lab.shared());
    backend->local = std::make_shared<ConfigFileLocalSystem>(path);
    fileBacked = std::make_unique<ScopedBackend>(backend);
  }
  RegKey key;
  DWORD disposition = 0;
  ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Test", 0, KEY_ALL_ACCESS, key.out(), &disposition), ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
  const auto flag = regSzBytes("FALSE");
  ASSERT_EQ(RegSetValueEx(key.get(), "flag", REG_SZ, flag), ERROR_SUCCESS);
  const std::uint8_t raw[] = {'a', 'b'};  // no terminator: kept as given
  ASSERT_EQ(RegSetValueEx(key.get(), "raw", REG_SZ, raw), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueEx(key.get(), "n", REG_DWORD, regDwordBytes(7)), ERROR_SUCCESS);

  std::vector<std::uint8_t> big(1000), small(3);
  DWORD type = 0, size = 0;
  ASSERT_EQ(RegQueryValueEx(key.get(), "FLAG", &type, big, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(size, 6u);
  EXPECT_EQ(RegQueryValueEx(key.get(), "flag", &type, small, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 6u);
  ASSERT_EQ(RegQueryValueEx(key.get(), "raw", &type, big, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 2u);
  EXPECT_EQ(RegQueryValueEx(key.get(), "missing", &type, big, &size), ERROR_FILE_NOT_FOUND);

  // Stored order, then the end.
  std::string name;
  const char* expected[] = {"flag", "raw", "n"};
  for (DWORD i = 0; i < 3; ++i) {
    ASSERT_EQ(RegEnumValue(key.get(), i, &name, 100, &type, big, &size), ERROR_SUCCESS);
    EXPECT_EQ(name, expected[i]);
  }
  EXPECT_EQ(RegEnumValue(key.get(), 3, &name, 100, &type, big, &size), ERROR_NO_MORE_ITEMS);
  EXPECT_EQ(RegEnumValue(key.get(), 0, &name, 4, &type, big, &size), ERROR_MORE_DATA);
  ASSERT_EQ(RegDeleteValue(key.get(), "raw"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValue(key.get(), "raw"), ERROR_FILE_NOT_FOUND);

  RegKey again;
  ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Test", 0, KEY_ALL_ACCESS, again.out(), &disposition), ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
  RegKey missing;
  EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Nothing", 0, KEY_READ, missing.out()), ERROR_FILE_NOT_FOUND);
  RegKey readOnly;
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Test", 0, KEY_READ, readOnly.out()), ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueEx(readOnly.get(), "x", REG_DWORD, regDwordBytes(1)), ERROR_ACCESS_DENIED);
}

INSTANTIATE_TEST_SUITE_P(Served, LocalRegistrySemantics,
                         ::testing::Values(LocalRegistry::Lab, LocalRegistry::SettingsFile),
                         [](const auto& info) {
                           return info.param == LocalRegistry::Lab ? std::string("ByTheLab")
                                                                   : std::string("ByAFile");
                         });

TEST(LabRegistry, RemoteMachinesAndRights) {
  LabFixture lab("platform-small");
  ASSERT_TRUE(lab) << lab.error();
  RegKey root;
  EXPECT_EQ(RegConnectRegistry("\\\\NOSUCH", HKEY_LOCAL_MACHINE, root.out()), static_cast<LONG>(ERROR_BAD_NETPATH));
  EXPECT_EQ(RegConnectRegistry("\\\\DOWN", HKEY_LOCAL_MACHINE, root.out()), static_cast<LONG>(ERROR_BAD_NETPATH));
  EXPECT_EQ(RegConnectRegistry("\\\\MEMBER", HKEY_LOCAL_MACHINE, root.out()), static_cast<LONG>(ERROR_ACCESS_DENIED));
  ASSERT_EQ(RegConnectRegistry("\\\\PDC", HKEY_LOCAL_MACHINE, root.out()), ERROR_SUCCESS);
  RegKey version;
  ASSERT_EQ(RegOpenKeyEx(root.get(), "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", 0, KEY_READ, version.out()), ERROR_SUCCESS);
  std::vector<std::uint8_t> buf(200);
  DWORD type = 0, size = 0;
  ASSERT_EQ(RegQueryValueEx(version.get(), "InstallDate", &type, buf, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_DWORD);
  EXPECT_EQ(size, 4u);

  // A plain user may read a remote machine's registry but not write it,
  // nor write the local machine's.
  lab->logOn("LAB\\bob");
  RegKey writable;
  EXPECT_EQ(RegOpenKeyEx(root.get(), "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", 0, KEY_ALL_ACCESS, writable.out()), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Software\\Vendor", 0, KEY_ALL_ACCESS, writable.out(), nullptr), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Vendor", 0, KEY_ALL_ACCESS, writable.out(), nullptr), ERROR_SUCCESS);
  RegKey readOnly;
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Vendor", 0, KEY_READ, readOnly.out()), ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueEx(readOnly.get(), "x", REG_DWORD, regDwordBytes(1)), ERROR_ACCESS_DENIED);
}

}  // namespace
