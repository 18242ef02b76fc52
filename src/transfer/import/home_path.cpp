#include "transfer/import/home_path.h"

namespace transfer {

bool isShareDirectoryPath(std::string_view path) {
  if (!path.starts_with("\\\\")) return false;
  for (const char c : path)
    if (static_cast<unsigned char>(c) < 0x20 || c == '/') return false;
  std::string_view rest = path.substr(2);
  int parts = 0;
  while (true) {
    const std::size_t slash = rest.find('\\');
    const std::string_view part = rest.substr(0, slash);
    if (part.empty() || part == "." || part == "..") return false;
    ++parts;
    if (slash == std::string_view::npos) break;
    rest.remove_prefix(slash + 1);
  }
  // Server and share, then at least the directory itself.
  return parts >= 3;
}

}  // namespace transfer
