#include "servers/server_list.h"

#include "settings/settings_store.h"

namespace servers {

namespace {

char foldAZ(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool beginsWith(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (foldAZ(text[i]) != foldAZ(prefix[i])) return false;
  return true;
}

}  // namespace

bool listHoldsPrefix(const std::vector<std::string>& list, std::string_view name) {
  for (const auto& entry : list)
    if (beginsWith(entry, name)) return true;
  return false;
}

bool appendServer(std::vector<std::string>& list, const std::string& name) {
  list.push_back(name);
  if (settings::browseListFits(list)) return true;
  list.pop_back();
  return false;
}

int firstBeginningWith(const std::vector<std::string>& list, std::string_view name) {
  if (name.empty()) return list.empty() ? -1 : 0;
  for (std::size_t i = 0; i < list.size(); ++i)
    if (beginsWith(list[i], name)) return static_cast<int>(i);
  return list.empty() ? -1 : 0;
}

}  // namespace servers
