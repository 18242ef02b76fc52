// Loading backend modules: what a user meets when one is missing, damaged
// or of another version, and that a loaded module serves the program's own
// platform (one installed backend, not a copy of its own).
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/backend_module.h"
#include "../support/temp_folder.h"

namespace {

using platform::BackendCatalog;

std::shared_ptr<platform::Backend> make(std::string_view name,
                                        const std::vector<std::string>& folders,
                                        std::string* error) {
  BackendCatalog catalog;
  catalog.addModule(std::string(name), folders);
  return catalog.make(name, {}, error);
}

bool oneLine(const std::string& text) {
  return !text.empty() && text.find('\n') == std::string::npos;
}

TEST(BackendModule, ALoadedModuleSeesTheProgramsInstalledBackend) {
  auto ours = std::make_shared<platform::Backend>();
  platform::ScopedBackend installed(ours);
  std::string error;
  const auto made = make("fake", {"/nonexistent", VELTRANE_TEST_MODULES}, &error);
  ASSERT_TRUE(made) << error;
  // A module with its own copy of the platform would see an empty backend.
  EXPECT_EQ(made, ours);
}

TEST(BackendModule, AMissingModuleNamesThePackageToInstall) {
  test_support::TempFolder empty;
  BackendCatalog catalog;
  catalog.add("lab", [](const platform::BackendOptions&, std::string*) { return nullptr; });
  catalog.addModule("samba", {empty.path().string()});
  EXPECT_EQ(catalog.names(), (std::vector<std::string>{"lab", "samba"}));
  std::string error;
  EXPECT_FALSE(catalog.make("samba", {}, &error));
  EXPECT_TRUE(oneLine(error)) << error;
  EXPECT_EQ(error.rfind("it is not installed: install the package veltrane-samba", 0), 0u) << error;
  // An unknown name is not taken for a module that is missing.
  EXPECT_FALSE(catalog.make("smaba", {}, &error));
  EXPECT_EQ(error, "unknown backend \"smaba\" (known: lab, samba)");
}

TEST(BackendModule, AModuleThatDoesNotFitIsRefusedWithItsReason) {
  std::string error;
  // Built for another program version: its parts may not match ours.
  EXPECT_FALSE(make("old", {VELTRANE_TEST_MODULES}, &error));
  EXPECT_TRUE(oneLine(error)) << error;
  EXPECT_NE(error.find("built for version 0.1, this is " + std::string(platform::programVersion()) +
                       ": install the package veltrane-old of version"),
            std::string::npos)
      << error;
  // A file named for one backend that serves another.
  EXPECT_FALSE(make("misnamed", {VELTRANE_TEST_MODULES}, &error));
  EXPECT_NE(error.find("serves the backend \"other\", not \"misnamed\""), std::string::npos)
      << error;
  // Damaged: no library at all.
  test_support::TempFolder folder;
  folder.write("veltrane-broken.so", "not a library");
  EXPECT_FALSE(make("broken", {folder.path().string()}, &error));
  EXPECT_TRUE(oneLine(error)) << error;
  EXPECT_EQ(error.rfind("cannot load " + (folder / "veltrane-broken.so"), 0), 0u) << error;
}

TEST(BackendModule, FoldersComeFromTheEnvironmentWhenItNamesThem) {
  // Set for this test only; the process's own value comes back after it.
  const char* before = std::getenv("VELTRANE_BACKEND_PATH");
  const std::string saved = before ? before : "";
  ::setenv("VELTRANE_BACKEND_PATH", "/a::/b/c:", 1);
  const auto named = platform::backendModuleFolders();
  ::unsetenv("VELTRANE_BACKEND_PATH");
  const auto fromProgram = platform::backendModuleFolders();
  if (before) ::setenv("VELTRANE_BACKEND_PATH", saved.c_str(), 1);
  EXPECT_EQ(named, (std::vector<std::string>{"/a", "/b/c"}));
  ASSERT_EQ(fromProgram.size(), 2u);
  // The build tree's folder beside the program, then the installed layout.
  EXPECT_EQ(std::filesystem::path(fromProgram[0]).filename(), "backends");
  EXPECT_NE(fromProgram[1].find("/veltrane/backends"), std::string::npos) << fromProgram[1];
}

}  // namespace
