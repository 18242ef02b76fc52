#pragma once
// The server a run starts on: the domain's controller, else this machine.

#include <optional>
#include <string>

namespace app {

// "\\NAME" of the primary domain controller, or of this workstation when no
// controller answers; nullopt when neither is known.
std::optional<std::string> startServer();

}  // namespace app
