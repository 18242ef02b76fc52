// The one installed backend.

#include <mutex>

#include "platform/backend.h"

namespace platform {
namespace {

struct Installed {
  std::mutex mutex;
  std::shared_ptr<Backend> backend = std::make_shared<Backend>();
};

Installed& installed() {
  static Installed instance;
  return instance;
}

}  // namespace

std::shared_ptr<Backend> installBackend(std::shared_ptr<Backend> backend) {
  if (!backend) backend = std::make_shared<Backend>();
  auto& slot = installed();
  std::lock_guard lock(slot.mutex);
  std::swap(slot.backend, backend);
  return backend;
}

std::shared_ptr<Backend> currentBackend() {
  auto& slot = installed();
  std::lock_guard lock(slot.mutex);
  return slot.backend;
}

}  // namespace platform
