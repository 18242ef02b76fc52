#include "platform/samba/share_files.h"

#include <libsmbclient.h>
#include <sys/statvfs.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace platform::samba {
namespace {

constexpr DWORD kDirectory = 267;        // ERROR_DIRECTORY: not a directory
constexpr DWORD kNameTooLong = 206;      // ERROR_FILENAME_EXCED_RANGE
constexpr int kTimeoutMs = 10000;        // a server that does not answer
constexpr std::size_t kDescriptorTextMax = 1 << 20;

// Volume flags (FILE_CASE_SENSITIVE_SEARCH and on).
constexpr DWORD kCaseSensitiveSearch = 0x1;
constexpr DWORD kCasePreservedNames = 0x2;
constexpr DWORD kUnicodeOnDisk = 0x4;
constexpr DWORD kPersistentAcls = 0x8;
constexpr DWORD kReadOnlyVolume = 0x80000;

void copyText(const std::string& text, char* out, int length) {
  if (length <= 0) return;
  const std::size_t n = std::min(text.size(), static_cast<std::size_t>(length - 1));
  std::memcpy(out, text.data(), n);
  out[n] = '\0';
}

void authenticate(SMBCCTX* c, const char*, const char*, char* workgroup, int workgroupLength,
                  char* user, int userLength, char* password, int passwordLength) {
  if (const auto* files = static_cast<const ShareFiles*>(smbc_getOptionUserData(c)))
    files->fillAuthentication(workgroup, workgroupLength, user, userLength, password, passwordLength);
}

WIN32_FIND_DATA findData(const libsmb_file_info& info) {
  WIN32_FIND_DATA d;
  d.cFileName = info.name ? info.name : "";
  d.dwFileAttributes = info.attrs;
  if (d.dwFileAttributes == 0) d.dwFileAttributes = FILE_ATTRIBUTE_NORMAL;
  d.nFileSizeHigh = static_cast<DWORD>(info.size >> 32);
  d.nFileSizeLow = static_cast<DWORD>(info.size & 0xFFFFFFFFu);
  return d;
}

}  // namespace

DWORD fileStatus(int error, bool missingIsPath) {
  switch (error) {
    case 0: return ERROR_SUCCESS;
    case ENOENT: return missingIsPath ? ERROR_PATH_NOT_FOUND : ERROR_FILE_NOT_FOUND;
    case EACCES:
    case EPERM: return ERROR_ACCESS_DENIED;
    case ENOTDIR: return kDirectory;
    case EEXIST: return ERROR_ALREADY_EXISTS;
    case ENAMETOOLONG: return kNameTooLong;
    case EINVAL: return ERROR_INVALID_NAME;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case ENODEV: return ERROR_BAD_NET_NAME;
    case ECONNREFUSED:
    case ECONNRESET:
    case ECONNABORTED:
    case EHOSTUNREACH:
    case EHOSTDOWN:
    case ENETUNREACH:
    case ENETDOWN:
    case ETIMEDOUT:
    case EPIPE:
    case EIO: return ERROR_BAD_NETPATH;
    default: return ERROR_BAD_NETPATH;
  }
}

ShareFiles::~ShareFiles() { drop(); }

void ShareFiles::drop() {
  if (m_context) {
    smbc_free_context(m_context, 1);
    m_context = nullptr;
  }
}

void ShareFiles::actAs(const Credentials& credentials, unsigned generation) {
  std::lock_guard lock(m_mutex);
  if (m_acted && generation == m_generation) return;
  m_credentials = credentials;
  m_generation = generation;
  m_acted = true;
  drop();
}

void ShareFiles::fillAuthentication(char* workgroup, int workgroupLength, char* user,
                                    int userLength, char* password, int passwordLength) const {
  if (m_credentials.kerberosCache && !m_credentials.haveAccount()) return;
  copyText(m_credentials.domain, workgroup, workgroupLength);
  copyText(m_credentials.user, user, userLength);
  copyText(m_credentials.password, password, passwordLength);
}

SMBCCTX* ShareFiles::context() {
  if (m_context) return m_context;
  SMBCCTX* c = smbc_new_context();
  if (!c) return nullptr;
  smbc_setDebug(c, 0);
  smbc_setTimeout(c, kTimeoutMs);
  smbc_setOptionUserData(c, this);
  smbc_setFunctionAuthDataWithContext(c, authenticate);
  // Never fall back to a guest connection: it would list what a guest may
  // see as if it were what the account may.
  smbc_setOptionNoAutoAnonymousLogin(c, 1);
  if (m_credentials.kerberosCache) {
    smbc_setOptionUseKerberos(c, 1);
    smbc_setOptionFallbackAfterKerberos(c, m_credentials.haveAccount() ? 1 : 0);
  }
  if (!smbc_init_context(c)) {
    smbc_free_context(c, 0);
    return nullptr;
  }
  m_context = c;
  return m_context;
}

DWORD ShareFiles::list(const std::string& url, std::vector<WIN32_FIND_DATA>* out) {
  std::lock_guard lock(m_mutex);
  SMBCCTX* c = context();
  if (!c) return ERROR_NOT_SUPPORTED;
  errno = 0;
  SMBCFILE* dir = smbc_getFunctionOpendir(c)(c, url.c_str());
  if (!dir) return fileStatus(errno ? errno : EIO, true);
  std::vector<WIN32_FIND_DATA> dots;
  const auto readdirplus = smbc_getFunctionReaddirPlus(c);
  while (const libsmb_file_info* info = readdirplus(c, dir)) {
    WIN32_FIND_DATA d = findData(*info);
    if (d.cFileName == "." || d.cFileName == "..") {
      d.dwFileAttributes |= FILE_ATTRIBUTE_DIRECTORY;
      dots.push_back(std::move(d));
    } else if (!d.cFileName.empty()) {
      out->push_back(std::move(d));
    }
  }
  smbc_getFunctionClosedir(c)(c, dir);
  std::sort(dots.begin(), dots.end(),
            [](const WIN32_FIND_DATA& a, const WIN32_FIND_DATA& b) { return a.cFileName < b.cFileName; });
  out->insert(out->begin(), std::make_move_iterator(dots.begin()), std::make_move_iterator(dots.end()));
  return ERROR_SUCCESS;
}

DWORD ShareFiles::descriptorText(const std::string& url, std::string* out) {
  std::lock_guard lock(m_mutex);
  SMBCCTX* c = context();
  if (!c) return ERROR_NOT_SUPPORTED;
  const auto getxattr = smbc_getFunctionGetxattr(c);
  for (std::size_t size = 4096; size <= kDescriptorTextMax; size *= 4) {
    std::string buffer(size, '\0');
    errno = 0;
    // Without the '+' suffix the library gives SIDs as numbers; with it, it
    // looks each one up by name, which the walks do themselves.
    const int got = getxattr(c, url.c_str(), "system.nt_sec_desc.*", buffer.data(), buffer.size());
    if (got < 0) {
      if (errno == ERANGE) continue;
      return fileStatus(errno ? errno : EIO, false);
    }
    buffer.resize(std::strlen(buffer.c_str()));
    *out = std::move(buffer);
    return ERROR_SUCCESS;
  }
  return ERROR_NOT_ENOUGH_MEMORY;
}

DWORD ShareFiles::volume(const std::string& url, VolumeFacts* out) {
  std::lock_guard lock(m_mutex);
  SMBCCTX* c = context();
  if (!c) return ERROR_NOT_SUPPORTED;
  struct statvfs st {};
  std::string path = url;
  errno = 0;
  if (smbc_getFunctionStatVFS(c)(c, path.data(), &st) != 0) return fileStatus(errno ? errno : EIO, true);
  out->serialNumber = static_cast<DWORD>(st.f_fsid);
  out->maximumComponentLength = st.f_namemax ? static_cast<DWORD>(st.f_namemax) : 255;
  DWORD flags = kCasePreservedNames | kUnicodeOnDisk | kPersistentAcls;
  if (!(st.f_flag & SMBC_VFS_FEATURE_CASE_INSENSITIVE)) flags |= kCaseSensitiveSearch;
  if (st.f_flag & SMBC_VFS_FEATURE_RDONLY) flags |= kReadOnlyVolume;
  out->fileSystemFlags = flags;
  return ERROR_SUCCESS;
}

DWORD ShareFiles::makeDirectory(const std::string& url) {
  std::lock_guard lock(m_mutex);
  SMBCCTX* c = context();
  if (!c) return ERROR_NOT_SUPPORTED;
  errno = 0;
  if (smbc_getFunctionMkdir(c)(c, url.c_str(), 0755) != 0) return fileStatus(errno ? errno : EIO, true);
  return ERROR_SUCCESS;
}

bool ShareFiles::shareAnswers(const std::string& shareRootUrl) {
  std::lock_guard lock(m_mutex);
  SMBCCTX* c = context();
  if (!c) return false;
  struct stat st {};
  return smbc_getFunctionStat(c)(c, shareRootUrl.c_str(), &st) == 0;
}

}  // namespace platform::samba
