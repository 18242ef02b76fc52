#pragma once
// The installed backend's parts, as the platform's calls reach them. A part
// the backend leaves empty answers every call as unsupported.

#include <memory>

#include "platform/backend.h"

namespace platform::detail {

// The part `member` of the installed backend, or a part that serves
// nothing. The pointer keeps the part alive for the call even when another
// backend is installed meanwhile.
template <class Part>
std::shared_ptr<Part> part(std::shared_ptr<Part> Backend::*member) {
  std::shared_ptr<Backend> backend = currentBackend();
  if (std::shared_ptr<Part> p = (*backend).*member) return p;
  static Part unsupported;  // stateless: every operation keeps its default
  return std::shared_ptr<Part>(std::shared_ptr<Part>{}, &unsupported);
}

}  // namespace platform::detail
