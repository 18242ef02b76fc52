#include "dlgthreads/files_paths.h"

namespace dlgthreads {

std::string withFinalBackslash(std::string_view path) {
  std::string p(path);
  if (p.empty() || p.back() != '\\') p += '\\';
  return p;
}

std::string serverOfPath(std::string_view path) {
  if (!path.starts_with("\\\\")) return {};
  const auto end = path.find('\\', 2);
  return std::string(path.substr(0, end));
}

}  // namespace dlgthreads
