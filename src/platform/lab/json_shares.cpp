#include "platform/lab/json_shares.h"

#include <set>

#include "platform/lab/json_fields.h"

namespace lab::json {
namespace {

using namespace platform;

bool validShareName(std::string_view name) {
  if (name.empty() || name.size() > 80) return false;
  for (char c : name) {
    if (static_cast<unsigned char>(c) < 0x20) return false;
  }
  return name.find_first_of("\\/:*?\"<>|") == std::string_view::npos;
}

// "C:\\" and below: a drive letter, a colon and a backslash.
bool validDiskPath(std::string_view path) {
  return path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
         path[1] == ':' && path[2] == '\\';
}

constexpr std::pair<std::string_view, ShareType> kShareTypes[] = {
    {"disk", ShareType::Disk}, {"print", ShareType::Print}, {"ipc", ShareType::Ipc}};

}  // namespace

template <class J>
Share readShare(const J& j, const std::string& where) {
  expectObject(j, where, {"name", "type", "path", "remark", "maxUses"});
  Share s;
  s.name = text(j, "name", where, true);
  if (!validShareName(s.name)) fail(at(where, "name"), "invalid share name " + quotedText(s.name));
  const std::string type = text(j, "type", where, false, "disk");
  const auto* known = std::find_if(std::begin(kShareTypes), std::end(kShareTypes),
                                   [&](const auto& t) { return t.first == type; });
  if (known == std::end(kShareTypes)) {
    fail(at(where, "type"), "unknown share type " + quotedText(type) + " (disk, print or ipc)");
  }
  s.type = known->second;
  s.path = text(j, "path", where);
  if (s.type == ShareType::Disk && !validDiskPath(s.path)) {
    fail(at(where, "path"), "a disk share needs a path such as \"C:\\\\DATA\"");
  }
  if (s.type == ShareType::Ipc && !s.path.empty()) fail(at(where, "path"), "an IPC share has no path");
  s.remark = text(j, "remark", where);
  s.maxUses = number(j, "maxUses", where, Share::kUnlimitedUses);
  return s;
}

Json writeShare(const Share& s) {
  Json j{{"name", s.name}};
  for (const auto& [name, type] : kShareTypes) {
    if (type == s.type) j["type"] = std::string(name);
  }
  if (!s.path.empty()) j["path"] = s.path;
  j["remark"] = s.remark;
  if (s.maxUses != Share::kUnlimitedUses) j["maxUses"] = s.maxUses;
  return j;
}

template <class J>
std::vector<Share> readShares(const J& a, const std::string& path) {
  std::vector<Share> out;
  std::set<std::string> seen;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto where = at(path, i);
    Share s = readShare(a[i], where);
    if (!seen.insert(upper(s.name)).second) fail(at(where, "name"), "share " + quotedText(s.name) + " is listed twice");
    out.push_back(std::move(s));
  }
  return out;
}

Json writeShares(const std::vector<Share>& shares) {
  Json a = Json::array();
  for (const auto& s : shares) a.push_back(writeShare(s));
  return a;
}

template Share readShare(const Json&, const std::string&);
template Share readShare(const SimdValue&, const std::string&);
template std::vector<Share> readShares(const Json&, const std::string&);
template std::vector<Share> readShares(const SimdValue&, const std::string&);

}  // namespace lab::json
