#pragma once
// Writing a file so that readers see either the old or the new content.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file_replacement.h"

namespace platform {

// Writes `content` in place of `path` through a FileReplacement (see there:
// a fresh temporary file beside it, the old file's mode kept, a special
// file written in place). On failure the old file is untouched, the
// temporary file is removed, and *error says what failed.
bool writeFileAtomically(const std::string& path, std::string_view content, std::string* error,
                         const ReplacementOptions& options = {});

// The most readWholeFile reads: far more than any settings or lab file.
inline constexpr std::uint64_t kWholeFileLimit = std::uint64_t{1} << 30;

// Reads a whole regular file of at most kWholeFileLimit bytes; false with
// *error when it cannot be read, is no regular file or is larger.
bool readWholeFile(const std::string& path, std::string* content, std::string* error);

}  // namespace platform
