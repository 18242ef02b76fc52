#pragma once
// Files on a server's shares through Samba's client library: listings,
// descriptors, volume information and directory creation, each answered
// with the platform's status codes. One client context, used by one caller
// at a time; it acts with the credentials it was last given.

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/samba/credentials.h"

struct _SMBCCTX;

namespace platform::samba {

struct VolumeFacts {
  DWORD serialNumber = 0;
  DWORD maximumComponentLength = 255;
  DWORD fileSystemFlags = 0;
};

class ShareFiles {
 public:
  ShareFiles() = default;
  ~ShareFiles();
  ShareFiles(const ShareFiles&) = delete;
  ShareFiles& operator=(const ShareFiles&) = delete;

  // Acts with `credentials` from now on; `generation` tells whether they
  // changed since the last call (connections made with other credentials
  // are dropped then).
  void actAs(const Credentials& credentials, unsigned generation);

  // The entries of the directory at `url` ("smb://address/share/dir"),
  // "." and ".." first when the server lists them.
  DWORD list(const std::string& url, std::vector<WIN32_FIND_DATA>* out);
  // The descriptor text of `url` (SIDs in numbers).
  DWORD descriptorText(const std::string& url, std::string* out);
  DWORD volume(const std::string& url, VolumeFacts* out);
  DWORD makeDirectory(const std::string& url);
  // Whether the share of `shareRootUrl` ("smb://address/share/") can be
  // listed at all: tells a missing share from a missing path below it.
  bool shareAnswers(const std::string& shareRootUrl);

  // Called by the library for the account to log on with.
  void fillAuthentication(char* workgroup, int workgroupLength, char* user, int userLength,
                          char* password, int passwordLength) const;

 private:
  // The context, made on first use. Null when the library cannot start.
  _SMBCCTX* context();
  void drop();

  std::mutex m_mutex;  // held for each call through the context
  _SMBCCTX* m_context = nullptr;
  Credentials m_credentials;
  unsigned m_generation = 0;
  bool m_acted = false;
};

// The platform's status for an errno of the client library.
// `missingIsPath`: a missing entry is a path's directory (3) rather than
// the file asked for (2).
DWORD fileStatus(int error, bool missingIsPath);

}  // namespace platform::samba
