#include "platform/atomic_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace platform {

bool writeFileAtomically(const std::string& path, std::string_view content, std::string* error,
                         const ReplacementOptions& options) {
  FileReplacement file;
  if (file.open(path, options) && file.write(content) && file.commit()) return true;
  if (error) *error = file.error();
  return false;
}

bool readWholeFile(const std::string& path, std::string* content, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    if (error) *error = path + ": cannot open: " + std::strerror(errno);
    return false;
  }
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) {
    if (error) *error = path + ": cannot read";
    return false;
  }
  *content = std::move(buffer).str();
  return true;
}

}  // namespace platform
