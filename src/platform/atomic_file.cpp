#include "platform/atomic_file.h"

#include <cerrno>
#include <cstring>

#include "platform/regular_file.h"

namespace platform {

bool writeFileAtomically(const std::string& path, std::string_view content, std::string* error,
                         const ReplacementOptions& options) {
  FileReplacement file;
  if (file.open(path, options) && file.write(content) && file.commit()) return true;
  if (error) *error = file.error();
  return false;
}

bool readWholeFile(const std::string& path, std::string* content, std::string* error) {
  return readRegularFile(path, kWholeFileLimit, content, error);
}

}  // namespace platform
