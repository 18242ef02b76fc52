// Files on the shares of the domain's servers, through Samba's client
// library (libnetapi has no file calls).

#include <mutex>

#include "platform/samba/descriptor_text.h"
#include "platform/samba/samba_backend.h"
#include "platform/samba/share_path.h"

namespace platform::samba {

DWORD SambaBackend::shareUrlOf(std::string_view path, std::string* url, std::string* shareRoot,
                               std::string* rest) {
  SharePath sp;
  if (!parseSharePath(path, &sp)) {
    const bool local = path.size() >= 2 && path[1] == ':';
    return local ? ERROR_NOT_SUPPORTED : ERROR_INVALID_NAME;
  }
  std::string at;
  {
    auto lock = m_session->lock();
    if (const DWORD status = reach(sp.server, &at, lock); status != NERR_Success) return status;
  }
  {
    std::lock_guard lock(m_logonMutex);
    m_files.actAs(m_options.credentials, m_credentialsGeneration);
  }
  *url = shareUrl(at, sp.share, sp.rest);
  if (shareRoot) *shareRoot = shareUrl(at, sp.share, "");
  if (rest) *rest = sp.rest;
  return ERROR_SUCCESS;
}

DWORD SambaBackend::shareStatus(DWORD status, const std::string& shareRoot) {
  if ((status == ERROR_PATH_NOT_FOUND || status == ERROR_FILE_NOT_FOUND) &&
      !m_files.shareAnswers(shareRoot))
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
  std::string url, root;
  if (const DWORD st = shareUrlOf(fileName.substr(0, cut + 1), &url, &root, nullptr)) return st;
  std::vector<WIN32_FIND_DATA> all;
  if (const DWORD st = m_files.list(url, &all)) return shareStatus(st, root);
  Listing listing;
  for (WIN32_FIND_DATA& d : all)
    if (matchesPattern(pattern, d.cFileName)) listing.entries.push_back(std::move(d));
  if (listing.entries.empty()) return ERROR_FILE_NOT_FOUND;
  if (data) *data = listing.entries.front();
  listing.next = 1;
  std::lock_guard lock(m_listingMutex);
  const FIND_HANDLE h = m_nextListing++;
  m_listings.emplace(h, std::move(listing));
  *handle = h;
  return ERROR_SUCCESS;
}

DWORD SambaBackend::FindNextFile(FIND_HANDLE handle, WIN32_FIND_DATA* data) {
  std::lock_guard lock(m_listingMutex);
  auto it = m_listings.find(handle);
  if (it == m_listings.end()) return ERROR_INVALID_HANDLE;
  Listing& l = it->second;
  if (l.next >= l.entries.size()) return ERROR_NO_MORE_FILES;
  if (data) *data = std::move(l.entries[l.next]);
  ++l.next;
  return ERROR_SUCCESS;
}

DWORD SambaBackend::FindClose(FIND_HANDLE handle) {
  std::lock_guard lock(m_listingMutex);
  return m_listings.erase(handle) == 1 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

DWORD SambaBackend::GetFileSecurity(std::string_view fileName, SECURITY_INFORMATION requested,
                                    SECURITY_DESCRIPTOR* descriptor, DWORD length,
                                    DWORD* lengthNeeded) {
  std::string url, root;
  if (const DWORD st = shareUrlOf(fileName, &url, &root, nullptr)) return st;
  std::string text;
  if (const DWORD st = m_files.descriptorText(url, &text)) return shareStatus(st, root);
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
  std::string url, root, rest;
  if (const DWORD st = shareUrlOf(rootPathName, &url, &root, &rest)) return st;
  // Only a share's root names a volume.
  if (!rest.empty() || !rootPathName.ends_with('\\')) return ERROR_INVALID_NAME;
  VolumeFacts facts;
  if (const DWORD st = m_files.volume(url, &facts)) return shareStatus(st, root);
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
  std::string url, root, rest;
  if (const DWORD st = shareUrlOf(pathName, &url, &root, &rest)) return st;
  if (rest.empty()) return ERROR_ALREADY_EXISTS;  // the share itself
  const auto cut = rest.rfind('\\');
  if (!validDirectoryName(cut == std::string::npos ? rest : rest.substr(cut + 1)))
    return ERROR_INVALID_NAME;
  if (const DWORD st = m_files.makeDirectory(url)) return shareStatus(st, root);
  return ERROR_SUCCESS;
}

}  // namespace platform::samba
