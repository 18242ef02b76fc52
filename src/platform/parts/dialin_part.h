#pragma once
// The dial-in permission library. Its calls answer non-zero on success, so
// the default, 0, is a failure.

#include <string>
#include <string_view>

#include "platform/dialin.h"
#include "platform/parts/part_operation.h"

namespace platform {

class DialinPart {
 public:
  virtual ~DialinPart() = default;

#define VELTRANE_DIALIN VELTRANE_PART_VIRTUAL
#include "platform/parts/operations.def"
};

}  // namespace platform
