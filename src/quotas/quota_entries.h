#pragma once
// The quota entries of one server's registry, as the quota commands change
// them. No Qt: these are the registry steps behind the dialogs.

#include <optional>
#include <string>
#include <string_view>

#include "platform/registry.h"

namespace quotas {

inline constexpr const char* kQuotaErrorCaption = "Veltrane Quota Error";

// The server's local-machine root; empty when it cannot be reached.
platform::RegKey connectQuotaRoot(std::string_view server);
// The Directories key below `root` with all access; `create` makes it when
// missing. `status` receives the registry's answer.
platform::RegKey openDirectories(const platform::RegKey& root, bool create, platform::LONG* status);
// The data of the entry named `directory`; nullopt (with `status`) when it
// cannot be read, e.g. because it is gone.
std::optional<std::string> readEntry(const platform::RegKey& directories,
                                     std::string_view directory, platform::LONG* status);
platform::LONG writeEntry(const platform::RegKey& directories, std::string_view directory,
                          std::string_view data);

std::string writeFailedMessage(platform::LONG status, std::string_view directory);

}  // namespace quotas
