#pragma once
// Writing a file so that readers see either the old or the new content.

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Writes `content` to a temporary file beside `path`, flushes it to disk and
// renames it over `path`. On failure the old file is untouched, the
// temporary file is removed, and *error says what failed.
bool writeFileAtomically(const std::string& path, std::string_view content, std::string* error);

// The same through a temporary file of a fixed name, for a writer that holds
// the file's lock: a temporary file left by a crash is then known by name.
bool writeFileAtomicallyVia(const std::string& path, const std::string& tmp,
                            std::string_view content, std::string* error);

// The most readWholeFile reads: far more than any settings or lab file.
inline constexpr std::uint64_t kWholeFileLimit = std::uint64_t{1} << 30;

// Reads a whole regular file of at most kWholeFileLimit bytes; false with
// *error when it cannot be read, is no regular file or is larger.
bool readWholeFile(const std::string& path, std::string* content, std::string* error);

}  // namespace platform
