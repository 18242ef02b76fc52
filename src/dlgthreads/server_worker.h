#pragma once
// The Servers display's worker (work kind 4): every computer the selected
// server's browse list knows, with its type flags and version, and what its
// own registry says about its build, service pack, installation date and the
// user's extra entries, into block.servers.
//
// Choices worth knowing when reading the records:
// - Registry keys are opened for reading only: the values are only read,
//   and an account that may read but not write a computer's registry still
//   sees its build and service pack.
// - A reachable computer without "InstallDate" (or with one that is not a
//   32-bit number) shows "Unknown" as its installation date, as an
//   unreachable one does.
// - Registry values that are not texts are shown readably: a 32-bit number
//   in decimal, a multi-string with blanks between its strings, anything
//   else as hex bytes.
// - When the record array cannot be made the worker ends with no records
//   and no message.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "dlgthreads/worker_frame.h"

namespace dlgthreads {

// Thread procedure; runs BeginWork … FinishWork on `block`.
void gatherServers(std::shared_ptr<WorkerBlock> block);

// An extra-entry definition split at its last backslash: the key path below
// the computer's local-machine root and the value name. Without a backslash
// the key path is empty (the root itself).
struct ExtraEntryDefinition {
  std::string keyPath;
  std::string valueName;
};
ExtraEntryDefinition splitExtraEntry(std::string_view definition);

// The 22 type flags of a browse-list entry's type bits, in record order.
std::array<Word, ServerRecord::kTypeFlags> serverTypeFlags(std::uint32_t typeBits);

// "%i.%i" of the major version's low four bits and the minor version.
std::string serverVersionText(std::uint32_t major, std::uint32_t minor);

}  // namespace dlgthreads
