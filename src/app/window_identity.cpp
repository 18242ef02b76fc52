#include "app/window_identity.h"

#include "app/window_texts.h"
#include "platform/netapi.h"

namespace app {

std::string windowTitleFor(std::string_view backend, std::string_view domain) {
  std::string title(kWindowTitle);
  if (backend.empty()) return title;
  title += " - ";
  if (!domain.empty()) {
    title += domain;
    title += ' ';
  }
  title += '(';
  title += backend;
  title += ')';
  return title;
}

std::string ownDomain() {
  platform::NetBuffer buf;
  if (platform::NetWkstaGetInfo({}, 100, buf) != platform::NERR_Success) return {};
  const auto* info = buf.one<platform::WKSTA_INFO_100>();
  return info ? info->wki100_langroup : std::string();
}

}  // namespace app
