#include "platform/backend_module.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <system_error>

#include "platform/message_text.h"

#ifndef VELTRANE_VERSION
#error "VELTRANE_VERSION names the program version modules are checked against"
#endif
#ifndef VELTRANE_BACKEND_RELATIVE_DIR
#error "VELTRANE_BACKEND_RELATIVE_DIR is the module folder relative to the program's"
#endif

namespace platform {
namespace {

struct ModuleCloser {
  void operator()(void* handle) const { ::dlclose(handle); }
};
using ModuleHandle = std::unique_ptr<void, ModuleCloser>;

std::string dlerrorText() {
  const char* text = ::dlerror();
  return text ? text : "unknown reason";
}

std::string folderList(const std::vector<std::string>& folders) {
  std::string list;
  for (const auto& f : folders) list += (list.empty() ? "" : ", ") + f;
  return list.empty() ? "no folder" : list;
}

}  // namespace

std::string_view programVersion() { return VELTRANE_VERSION; }

std::string backendModuleFile(std::string_view name) {
  return "veltrane-" + std::string(name) + ".so";
}

std::string backendModulePackage(std::string_view name) {
  return "veltrane-" + std::string(name);
}

std::vector<std::string> backendModuleFolders() {
  std::vector<std::string> folders;
  if (const char* path = std::getenv("VELTRANE_BACKEND_PATH")) {
    std::string_view rest = path;
    while (!rest.empty()) {
      const std::size_t end = std::min(rest.find(':'), rest.size());
      if (end > 0) folders.emplace_back(rest.substr(0, end));
      rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    return folders;
  }
  std::error_code ec;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return folders;
  const std::filesystem::path here = program.parent_path();
  folders.push_back((here / "backends").string());
  folders.push_back((here / VELTRANE_BACKEND_RELATIVE_DIR).lexically_normal().string());
  return folders;
}

BackendFactory loadBackendModule(std::string_view name, const std::vector<std::string>& folders,
                                 std::string* error) {
  const std::string file = backendModuleFile(name);
  std::string path;
  for (const auto& folder : folders) {
    std::error_code ec;
    const std::filesystem::path candidate = std::filesystem::path(folder) / file;
    if (std::filesystem::is_regular_file(candidate, ec)) {
      path = candidate.string();
      break;
    }
  }
  if (path.empty()) {
    if (error)
      *error = "it is not installed: install the package " + backendModulePackage(name) +
               " (no " + file + " in " + folderList(folders) + ")";
    return {};
  }
  // Never unloaded (RTLD_NODELETE): a backend's objects, threads and the
  // libraries it started may outlive any handle we hold. Local symbols: two
  // modules never see each other's.
  ModuleHandle handle(::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE));
  if (!handle) {
    if (error) *error = "cannot load " + path + ": " + dlerrorText();
    return {};
  }
  auto* entryFunction = reinterpret_cast<BackendModuleEntryFunction*>(
      ::dlsym(handle.get(), kBackendModuleEntryName));
  const BackendModuleEntry* entry = entryFunction ? entryFunction() : nullptr;
  if (!entry) {
    if (error) *error = path + " is no backend module of this program";
    return {};
  }
  if (entry->abi != kBackendModuleAbi) {
    if (error)
      *error = path + " is a backend module of another kind (ABI " + std::to_string(entry->abi) +
               ", this program reads " + std::to_string(kBackendModuleAbi) + ")";
    return {};
  }
  const std::string_view builtFor = entry->programVersion ? entry->programVersion : "";
  if (builtFor != programVersion()) {
    if (error)
      *error = path + " was built for version " + messageText(builtFor) + ", this is " +
               std::string(programVersion()) + ": install the package " +
               backendModulePackage(name) + " of version " + std::string(programVersion());
    return {};
  }
  if (!entry->name || std::string_view(entry->name) != name || !entry->factory) {
    if (error)
      *error = path + " serves the backend " + quotedText(entry->name ? entry->name : "") +
               ", not " + quotedText(name);
    return {};
  }
  return entry->factory();
}

}  // namespace platform
