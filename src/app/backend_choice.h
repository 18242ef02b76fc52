#pragma once
// Which backend a start uses: the one --backend names (remembered for the
// next start), else the one remembered, else the lab. The choice lives in
// this machine's own settings file (value "backend" under the program's
// key), not in a backend's: it is needed before any backend exists.

#include <optional>
#include <string>
#include <vector>

#include "platform/parts/local_system_part.h"

namespace app {

struct BackendChoice {
  std::string name;
  // Why the remembered name was not taken (one line), else empty.
  std::string warning;
};

// `given`: the --backend name, if any; `known`: the catalog's names.
BackendChoice chooseBackend(const std::optional<std::string>& given,
                            const std::vector<std::string>& known,
                            platform::LocalSystemPart& machine);

// Remembers `name` for the next start without --backend. Silent when the
// settings file cannot be written: the start goes on as asked.
void rememberBackend(platform::LocalSystemPart& machine, const std::string& name);

}  // namespace app
