#include "platform/lab/file_paths.h"

#include <algorithm>

#include "platform/lab/resolve.h"

namespace lab {

using namespace platform;

const Volume* Machine::findVolume(std::string_view drive) const {
  for (const Volume& v : volumes)
    if (v.drive.size() == 1 && drive.size() >= 1 && v.drive == upper(drive.substr(0, 1))) return &v;
  return nullptr;
}

bool resolveFilePath(const Network& net, std::string_view path, FilePath* out, DWORD* status) {
  const auto failWith = [&](DWORD code) {
    if (status) *status = code;
    return false;
  };
  if (path.find('/') != std::string_view::npos) return failWith(ERROR_INVALID_NAME);
  if (path.starts_with("\\\\")) {
    std::string_view rest = path.substr(2);
    const auto slash = rest.find('\\');
    const std::string_view server = rest.substr(0, slash);
    if (server.empty()) return failWith(ERROR_INVALID_NAME);
    DWORD st = 0;
    const Machine* m = locate(net, server, "FindFirstFile", &st);
    if (!m) return failWith(ERROR_BAD_NETPATH);
    if (slash == std::string_view::npos) return failWith(ERROR_BAD_NET_NAME);
    rest = rest.substr(slash + 1);
    const auto shareEnd = rest.find('\\');
    const std::string_view shareName = rest.substr(0, shareEnd);
    const Share* share = m->findShare(shareName);
    if (!share || share->type != ShareType::Disk) return failWith(ERROR_BAD_NET_NAME);
    if (isAdministrativeShare(share->name) && !rightsOn(net, *m).administrator)
      return failWith(ERROR_ACCESS_DENIED);
    std::string local = share->path;
    if (shareEnd != std::string_view::npos) {
      if (!local.empty() && local.back() == '\\') local.pop_back();
      local += rest.substr(shareEnd);
    }
    std::string drive;
    if (!splitLocalPath(local, &drive, &out->parts)) return failWith(ERROR_PATH_NOT_FOUND);
    const Volume* v = m->findVolume(drive);
    if (!v) return failWith(ERROR_PATH_NOT_FOUND);
    out->machine = m;
    out->volume = v;
    out->shareRoot = shareEnd == std::string_view::npos || rest.substr(shareEnd) == "\\";
    return true;
  }
  std::string drive;
  if (!splitLocalPath(path, &drive, &out->parts)) return failWith(ERROR_INVALID_NAME);
  const Machine* m = net.findMachine(net.localMachine);
  if (!m) return failWith(ERROR_PATH_NOT_FOUND);
  const Volume* v = m->findVolume(drive);
  if (!v) return failWith(ERROR_PATH_NOT_FOUND);
  out->machine = m;
  out->volume = v;
  return true;
}

std::vector<SID> fileAccessSids(const Network& net, const Machine& m) {
  std::vector<SID> sids = logonSids(net);
  const std::size_t own = sids.size();
  if (const Sam* sam = samOf(net, m)) {
    for (const LocalGroup& g : sam->localGroups) {
      const bool holds = std::any_of(g.members.begin(), g.members.end(), [&](const SID& member) {
        return std::find(sids.begin(), sids.begin() + static_cast<std::ptrdiff_t>(own), member) !=
               sids.begin() + static_cast<std::ptrdiff_t>(own);
      });
      if (holds) sids.push_back(accountSid(*sam, g.rid, AccountKind::LocalGroup));
    }
  }
  sids.push_back(SID{std::string(kEveryoneSid)});
  if (own > 0) sids.push_back(SID{std::string(kAuthenticatedUsersSid)});
  return sids;
}

bool ownerTotalsAt(const Network& net, std::string_view path,
                   std::unordered_map<std::string, OwnerTotal>* totals, DWORD* status) {
  FilePath fp;
  if (!resolveFilePath(net, path, &fp, status)) return false;
  auto place = placeAt(*fp.volume, fp.parts, status);
  if (!place || !place->directory) {
    if (status) *status = ERROR_PATH_NOT_FOUND;
    return false;
  }
  addOwnerTotals(*place, *totals);
  return true;
}

bool addDirectoryNode(Volume& volume, const std::vector<std::string>& parts, Principal owner) {
  FileNode* node = &volume.root;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const bool last = i + 1 == parts.size();
    auto it = std::find_if(node->children.begin(), node->children.end(),
                           [&](const FileNode& c) { return upper(c.name) == upper(parts[i]); });
    if (it == node->children.end()) {
      // A generated directory on the way gets a node that only holds what
      // is laid over it; everything else still comes from the generator.
      FileNode added;
      added.name = parts[i];
      added.directory = true;
      if (last) added.owner = std::move(owner);
      node->children.push_back(std::move(added));
      node = &node->children.back();
    } else {
      if (!it->directory) return false;
      if (last) it->owner = std::move(owner);
      node = &*it;
    }
  }
  return true;
}

}  // namespace lab
