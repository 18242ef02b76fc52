#pragma once
// Paths as the Files walks use them.

#include <string>
#include <string_view>

namespace dlgthreads {

// The path with one final backslash (a root path typed without it would
// otherwise have its pattern glued to its last name).
std::string withFinalBackslash(std::string_view path);
// The server a path lives on: "\\\\SERVER" for a UNC path, "" (the local
// machine) otherwise.
std::string serverOfPath(std::string_view path);

}  // namespace dlgthreads
