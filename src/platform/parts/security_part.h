#pragma once
// Security and files: account look-ups by name and SID, directory listings,
// the descriptors of files, volumes and directory creation.

#include <string>
#include <string_view>

#include "platform/files.h"
#include "platform/security.h"
#include "platform/parts/part_operation.h"

namespace platform {

class SecurityPart {
 public:
  virtual ~SecurityPart() = default;

#define VELTRANE_SECURITY VELTRANE_PART_VIRTUAL
#include "platform/parts/operations.def"
};

}  // namespace platform
