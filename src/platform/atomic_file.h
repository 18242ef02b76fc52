#pragma once
// Writing a file so that readers see either the old or the new content.

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

// Reads a whole file; false with *error when it cannot be read.
bool readWholeFile(const std::string& path, std::string* content, std::string* error);

}  // namespace platform
