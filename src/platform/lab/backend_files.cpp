// Files of the lab's machines: listings, descriptors, volumes and directory
// creation, with the access checks the descriptors call for.

#include <algorithm>

#include "platform/lab/file_paths.h"
#include "platform/lab/lab_security.h"
#include "platform/lab/resolve.h"

namespace lab {

using namespace platform;

namespace {

// The place a path names, or the status that says why there is none.
std::optional<FilePlace> placeOf(const FilePath& fp, DWORD* status) {
  return placeAt(*fp.volume, fp.parts, status);
}

WIN32_FIND_DATA findData(std::string name, bool directory, std::uint64_t size) {
  WIN32_FIND_DATA d;
  d.cFileName = std::move(name);
  d.dwFileAttributes = directory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
  d.nFileSizeHigh = static_cast<DWORD>(size >> 32);
  d.nFileSizeLow = static_cast<DWORD>(size & 0xFFFFFFFFu);
  return d;
}

}  // namespace

DWORD LabSecurity::FindFirstFile(std::string_view fileName, FIND_HANDLE* handle,
                                WIN32_FIND_DATA* data) {
  if (!handle) return ERROR_INVALID_PARAMETER;
  *handle = 0;
  const auto cut = fileName.rfind('\\');
  if (cut == std::string_view::npos) return ERROR_INVALID_NAME;
  const std::string_view pattern = fileName.substr(cut + 1);
  const std::string_view directory = fileName.substr(0, cut + 1);
  if (pattern.empty()) return ERROR_FILE_NOT_FOUND;
  std::vector<WIN32_FIND_DATA> entries;
  const DWORD status = query([&](const Network& net) -> DWORD {
    FilePath fp;
    DWORD st = 0;
    if (!resolveFilePath(net, directory, &fp, &st)) return st;
    auto dir = placeOf(fp, &st);
    if (!dir) return ERROR_PATH_NOT_FOUND;
    if (!dir->directory) return ERROR_PATH_NOT_FOUND;
    if (dir->refuse != 0) return dir->refuse;
    if (!accessGranted(dir->dacl(), dir->ownerSid(), accessSids(net, *fp.machine), FILE_LIST_DIRECTORY))
      return ERROR_ACCESS_DENIED;
    if (!dir->root) {
      for (const char* dots : {".", ".."})
        if (platform::matchesFilePattern(pattern, dots)) entries.push_back(findData(dots, true, 0));
    }
    for (FileEntry& e : listPlace(*dir))
      if (platform::matchesFilePattern(pattern, e.name))
        entries.push_back(findData(std::move(e.name), e.directory, e.size));
    return entries.empty() ? ERROR_FILE_NOT_FOUND : ERROR_SUCCESS;
  });
  if (status != ERROR_SUCCESS) return status;
  *handle = m_listings.open(std::move(entries), data);
  return ERROR_SUCCESS;
}

DWORD LabSecurity::FindNextFile(FIND_HANDLE handle, WIN32_FIND_DATA* data) {
  return m_listings.next(handle, data);
}

DWORD LabSecurity::FindClose(FIND_HANDLE handle) { return m_listings.close(handle); }

std::vector<SID> LabSecurity::accessSids(const Network& net, const Machine& m) const {
  // Worked out once per account and machine while the lab stays as it is:
  // a walk asks for every file. Called under the lab's read lock, so no
  // write can come between the count and the answer.
  const std::uint64_t writes = m_lab->writes();
  std::lock_guard lock(m_mutex);
  if (!m_accessSids || m_accessSids->account != net.loggedOn || m_accessSids->machine != m.name ||
      m_accessSids->labWrites != writes) {
    m_accessSids = AccessSids{net.loggedOn, m.name, writes, fileAccessSids(net, m)};
  }
  return m_accessSids->sids;
}

DWORD LabSecurity::GetFileSecurity(std::string_view fileName, SECURITY_INFORMATION requested,
                                  SECURITY_DESCRIPTOR* descriptor, DWORD length,
                                  DWORD* lengthNeeded) {
  return query([&](const Network& net) -> DWORD {
    FilePath fp;
    DWORD st = 0;
    if (!resolveFilePath(net, fileName, &fp, &st)) return st;
    auto place = placeOf(fp, &st);
    if (!place) return st;
    if (place->refuse != 0) return place->refuse;
    if (!accessGranted(place->dacl(), place->ownerSid(), accessSids(net, *fp.machine), READ_CONTROL))
      return ERROR_ACCESS_DENIED;
    SECURITY_DESCRIPTOR sd = descriptorOf(*place, requested);
    const DWORD needed = SecurityDescriptorLength(sd);
    if (lengthNeeded) *lengthNeeded = needed;
    if (length < needed) return ERROR_INSUFFICIENT_BUFFER;
    if (descriptor) *descriptor = std::move(sd);
    return ERROR_SUCCESS;
  });
}

DWORD LabSecurity::GetVolumeInformation(std::string_view root, std::string* volumeName,
                                       DWORD* serialNumber, DWORD* maximumComponentLength,
                                       DWORD* fileSystemFlags, std::string* fileSystemName) {
  return query([&](const Network& net) -> DWORD {
    FilePath fp;
    DWORD st = 0;
    if (!resolveFilePath(net, root, &fp, &st)) return st;
    // Only a root names a volume; a share's root is the directory it shares.
    if (!root.ends_with('\\')) return ERROR_INVALID_NAME;
    if (volumeName) *volumeName = fp.volume->label;
    if (serialNumber) *serialNumber = fp.volume->serial;
    if (maximumComponentLength) *maximumComponentLength = fp.volume->fileSystem == "FAT" ? 12 : 255;
    if (fileSystemFlags) *fileSystemFlags = fp.volume->fileSystem == "NTFS" ? 0x000700FFu : 0x2u;
    if (fileSystemName) *fileSystemName = fp.volume->fileSystem;
    return ERROR_SUCCESS;
  });
}

DWORD LabSecurity::CreateDirectory(std::string_view pathName) {
  return change([&](Network& net, ChangeSet& changes) -> DWORD {
    FilePath fp;
    DWORD st = 0;
    if (!resolveFilePath(net, pathName, &fp, &st)) return st;
    if (fp.parts.empty()) return ERROR_ALREADY_EXISTS;
    const std::string name = fp.parts.back();
    if (!validFileName(name)) return ERROR_INVALID_NAME;
    std::vector<std::string> parentParts(fp.parts.begin(), fp.parts.end() - 1);
    auto parent = placeAt(*fp.volume, parentParts, &st);
    if (!parent || !parent->directory) return ERROR_PATH_NOT_FOUND;
    if (childPlace(*parent, name)) return ERROR_ALREADY_EXISTS;
    if (parent->refuse != 0) return parent->refuse;
    if (fp.volume->fileSystem == "CDFS") return ERROR_ACCESS_DENIED;
    const auto sids = fileAccessSids(net, *fp.machine);
    if (!accessGranted(parent->dacl(), parent->ownerSid(), sids, FILE_ADD_SUBDIRECTORY))
      return ERROR_ACCESS_DENIED;
    const auto own = logonSids(net);
    Principal owner{net.loggedOn, own.empty() ? SID{} : own.front()};
    Machine* m = net.findMachine(fp.machine->name);
    Volume* v = m ? m->findVolume(fp.volume->drive) : nullptr;
    if (!v || !addDirectoryNode(*v, fp.parts, owner)) return ERROR_PATH_NOT_FOUND;
    std::string local = v->drive + ":";
    for (const std::string& p : fp.parts) local += "\\" + p;
    changes.directory(*m, std::move(local), owner.text);
    return ERROR_SUCCESS;
  });
}

}  // namespace lab
