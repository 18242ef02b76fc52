// Files on the shares of the domain's servers, through Samba's client
// library (libnetapi has no file calls).

#include <mutex>

#include "platform/samba/descriptor_text.h"
#include "platform/samba/samba_backend.h"
#include "platform/samba/share_path.h"

namespace platform::samba {

using Clock = std::chrono::steady_clock;

DWORD SambaBackend::shareTarget(std::string_view path, ShareTarget* out) {
  SharePath sp;
  if (!parseSharePath(path, &sp)) {
    const bool local = path.size() >= 2 && path[1] == ':';
    return local ? ERROR_NOT_SUPPORTED : ERROR_INVALID_NAME;
  }
  {
    auto lock = m_session->lock();
    if (const DWORD status = reach(sp.server, &out->address, lock); status != NERR_Success)
      return status;
  }
  {
    std::lock_guard lock(m_logonMutex);
    m_files.actAs(m_options.credentials, m_credentialsGeneration);
  }
  out->url = shareUrl(out->address, sp.share, sp.rest);
  out->root = shareUrl(out->address, sp.share, "");
  out->rest = std::move(sp.rest);
  return ERROR_SUCCESS;
}

DWORD SambaBackend::shareStatus(DWORD status, const ShareTarget& target, Clock::time_point asked) {
  if (status == ERROR_BAD_NETPATH && Clock::now() - asked > std::chrono::seconds(5)) {
    // Each call of a walk would wait as long again.
    auto lock = m_session->lock();
    leaveAlone(target.address);
  }
  if ((status == ERROR_PATH_NOT_FOUND || status == ERROR_FILE_NOT_FOUND) &&
      !m_files.shareAnswers(target.root))
    return ERROR_BAD_NET_NAME;
  return status;
}

DWORD SambaBackend::FindFirstFile(std::string_view fileName, FIND_HANDLE* handle,
                                  WIN32_FIND_DATA* data) {
  if (!handle) return ERROR_INVALID_PARAMETER;
  *handle = 0;
  const auto cut = fileName.rfind('\\');
  if (cut == std::string_view::npos) return ERROR_INVALID_NAME;
  const std::string_view pattern = fileName.substr(cut + 1);
  if (pattern.empty()) return ERROR_FILE_NOT_FOUND;
  ShareTarget target;
  if (const DWORD st = shareTarget(fileName.substr(0, cut + 1), &target)) return st;
  std::vector<WIN32_FIND_DATA> all;
  const auto asked = Clock::now();
  if (const DWORD st = m_files.list(target.url, &all)) return shareStatus(st, target, asked);
  std::vector<WIN32_FIND_DATA> entries;
  for (WIN32_FIND_DATA& d : all)
    if (matchesFilePattern(pattern, d.cFileName)) entries.push_back(std::move(d));
  if (entries.empty()) return ERROR_FILE_NOT_FOUND;
  *handle = m_listings.open(std::move(entries), data);
  return ERROR_SUCCESS;
}

DWORD SambaBackend::FindNextFile(FIND_HANDLE handle, WIN32_FIND_DATA* data) {
  return m_listings.next(handle, data);
}

DWORD SambaBackend::FindClose(FIND_HANDLE handle) { return m_listings.close(handle); }

DWORD SambaBackend::GetFileSecurity(std::string_view fileName, SECURITY_INFORMATION requested,
                                    SECURITY_DESCRIPTOR* descriptor, DWORD length,
                                    DWORD* lengthNeeded) {
  ShareTarget target;
  if (const DWORD st = shareTarget(fileName, &target)) return st;
  std::string text;
  const auto asked = Clock::now();
  if (const DWORD st = m_files.descriptorText(target.url, &text))
    return shareStatus(st, target, asked);
  SECURITY_DESCRIPTOR sd = descriptorFromText(text, requested);
  const DWORD needed = SecurityDescriptorLength(sd);
  if (lengthNeeded) *lengthNeeded = needed;
  if (length < needed) return ERROR_INSUFFICIENT_BUFFER;
  if (descriptor) *descriptor = std::move(sd);
  return ERROR_SUCCESS;
}

DWORD SambaBackend::GetVolumeInformation(std::string_view rootPathName, std::string* volumeName,
                                         DWORD* serialNumber, DWORD* maximumComponentLength,
                                         DWORD* fileSystemFlags, std::string* fileSystemName) {
  ShareTarget target;
  if (const DWORD st = shareTarget(rootPathName, &target)) return st;
  // Only a share's root names a volume.
  if (!target.rest.empty() || !rootPathName.ends_with('\\')) return ERROR_INVALID_NAME;
  VolumeFacts facts;
  const auto asked = Clock::now();
  if (const DWORD st = m_files.volume(target.url, &facts)) return shareStatus(st, target, asked);
  // The library gives neither the volume's label nor its file system's
  // name; a share of a domain controller is taken for NTFS.
  if (volumeName) volumeName->clear();
  if (serialNumber) *serialNumber = facts.serialNumber;
  if (maximumComponentLength) *maximumComponentLength = facts.maximumComponentLength;
  if (fileSystemFlags) *fileSystemFlags = facts.fileSystemFlags;
  if (fileSystemName) *fileSystemName = "NTFS";
  return ERROR_SUCCESS;
}

DWORD SambaBackend::CreateDirectory(std::string_view pathName) {
  ShareTarget target;
  if (const DWORD st = shareTarget(pathName, &target)) return st;
  if (target.rest.empty()) return ERROR_ALREADY_EXISTS;  // the share itself
  const auto cut = target.rest.rfind('\\');
  if (!validDirectoryName(cut == std::string::npos ? target.rest : target.rest.substr(cut + 1)))
    return ERROR_INVALID_NAME;
  const auto asked = Clock::now();
  if (const DWORD st = m_files.makeDirectory(target.url)) return shareStatus(st, target, asked);
  return ERROR_SUCCESS;
}

}  // namespace platform::samba
