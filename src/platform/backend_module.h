#pragma once
// Backend modules: a backend whose libraries only some users want (samba)
// is built as a shared module, veltrane-NAME.so, in its own package, and
// loaded only when that backend is asked for. The module and the program
// share the platform library (libveltrane-core.so), so there is one
// installed backend and one set of platform calls, whoever made the backend.
//
// A module exports one C function, veltrane_backend_entry, returning its
// entry. The loader checks the entry's ABI number before it reads further,
// and the program version the module was built for: the parts' layouts
// change between versions, so a module serves exactly its own version.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/backend.h"

namespace platform {

// Changes whenever BackendModuleEntry changes.
inline constexpr std::uint32_t kBackendModuleAbi = 1;

struct BackendModuleEntry {
  std::uint32_t abi = kBackendModuleAbi;  // first, so any module can be checked
  const char* programVersion = nullptr;   // the program version it was built for
  const char* name = nullptr;             // the backend's name ("samba")
  BackendFactory (*factory)() = nullptr;
};

// The exported entry point's name and type.
inline constexpr const char* kBackendModuleEntryName = "veltrane_backend_entry";
extern "C" {
using BackendModuleEntryFunction = const BackendModuleEntry* ();
}

// This program's version, as modules must name it.
std::string_view programVersion();

// "veltrane-samba.so" and "veltrane-samba": the module file of a backend,
// and the package that installs it.
std::string backendModuleFile(std::string_view name);
std::string backendModulePackage(std::string_view name);

// Where modules are looked for: the folders of $VELTRANE_BACKEND_PATH
// (colon-separated) when it is set; else the folder "backends" beside the
// program (the build tree) and the installed module folder, found from the
// program's own folder so an installation works wherever it is unpacked.
std::vector<std::string> backendModuleFolders();

// Loads the module of backend `name` from the first of `folders` that holds
// it and returns its factory. Empty with *error set (one line) when no
// folder holds it (naming the package to install), or it cannot be loaded,
// or it is not a module of this program version serving `name`. A loaded
// module stays loaded for the life of the process: its code runs the
// backend's objects and threads.
BackendFactory loadBackendModule(std::string_view name, const std::vector<std::string>& folders,
                                 std::string* error);

}  // namespace platform
