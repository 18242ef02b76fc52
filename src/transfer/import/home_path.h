#pragma once
// Which home paths the import may create: a directory below a share,
// "\\SERVER\SHARE\DIR[\...]". Home cells are untrusted text, so anything
// else (a path of this machine, a relative path, "." or ".." parts, empty
// parts, forward slashes, control characters) is refused.

#include <string_view>

namespace transfer {

bool isShareDirectoryPath(std::string_view path);

}  // namespace transfer
