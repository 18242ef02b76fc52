// A backend module for the loader's tests: it serves TEST_MODULE_NAME for
// program version TEST_MODULE_VERSION, and its backend is whatever backend
// is installed when it is made, as this module sees the platform.
#include "platform/backend_module.h"

namespace {

platform::BackendFactory factory() {
  return [](const platform::BackendOptions&, std::string*) { return platform::currentBackend(); };
}

}  // namespace

extern "C" __attribute__((visibility("default"))) const platform::BackendModuleEntry*
veltrane_backend_entry() {
  static const platform::BackendModuleEntry entry{platform::kBackendModuleAbi,
                                                  TEST_MODULE_VERSION, TEST_MODULE_NAME, &factory};
  return &entry;
}
