#include <mutex>

#include "resources/strings.h"

namespace res {
namespace {

struct Title {
  std::mutex mutex;
  std::string text = "veltrane";
};

Title& title() {
  static Title instance;
  return instance;
}

}  // namespace

std::string programTitle() {
  auto& t = title();
  std::lock_guard lock(t.mutex);
  return t.text;
}

void setProgramTitle(std::string_view executablePath) {
  auto slash = executablePath.find_last_of("/\\");
  std::string_view name =
      slash == std::string_view::npos ? executablePath : executablePath.substr(slash + 1);
  auto dot = name.rfind('.');
  if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
  if (name.empty()) return;
  auto& t = title();
  std::lock_guard lock(t.mutex);
  t.text = std::string(name);
}

}  // namespace res
