#pragma once
// Files on the machines of the network: directory listings, the security of
// files and directories, volumes and directory creation. Paths are local to
// the program's machine ("C:\\dir") or UNC ("\\\\SERVER\\SHARE\\dir").

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/security_descriptor.h"
#include "platform/types.h"

namespace platform {

constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x1;
constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x2;
constexpr DWORD FILE_ATTRIBUTE_SYSTEM = 0x4;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x20;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;

struct WIN32_FIND_DATA {
  DWORD dwFileAttributes = 0;
  DWORD nFileSizeHigh = 0;
  DWORD nFileSizeLow = 0;
  std::string cFileName;
};

using FIND_HANDLE = std::uint64_t;  // 0: none

// Lists the entries matching `fileName` ("dir\\*.*"; `*` and `?` as wildcards
// in the last part). Directories other than a volume's root list "." and
// ".." first. ERROR_PATH_NOT_FOUND, ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED,
// ERROR_BAD_NETPATH, ERROR_BAD_NET_NAME, ERROR_INVALID_NAME.
DWORD FindFirstFile(std::string_view fileName, FIND_HANDLE* handle, WIN32_FIND_DATA* data);
// ERROR_NO_MORE_FILES after the last entry.
DWORD FindNextFile(FIND_HANDLE handle, WIN32_FIND_DATA* data);
DWORD FindClose(FIND_HANDLE handle);

// Closes a listing when it goes out of scope.
class FindHandle {
 public:
  FindHandle() = default;
  ~FindHandle() { reset(); }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  FIND_HANDLE* out() { reset(); return &m_handle; }
  FIND_HANDLE get() const { return m_handle; }
  void reset() {
    if (m_handle != 0) FindClose(m_handle);
    m_handle = 0;
  }

 private:
  FIND_HANDLE m_handle = 0;
};

// Reads the parts `requested` of a file's or directory's descriptor. When
// `length` is below what the descriptor needs, answers
// ERROR_INSUFFICIENT_BUFFER with *lengthNeeded set. ERROR_ACCESS_DENIED when
// the logged-on account may not read it.
DWORD GetFileSecurity(std::string_view fileName, SECURITY_INFORMATION requested,
                      SECURITY_DESCRIPTOR* descriptor, DWORD length, DWORD* lengthNeeded);

// A volume's name, serial number and file system ("NTFS", "FAT", "CDFS")
// for its root ("C:\\" or "\\\\SERVER\\SHARE\\").
DWORD GetVolumeInformation(std::string_view rootPathName, std::string* volumeName,
                           DWORD* serialNumber, DWORD* maximumComponentLength,
                           DWORD* fileSystemFlags, std::string* fileSystemName);

// Creates one directory whose parent exists. ERROR_ALREADY_EXISTS,
// ERROR_PATH_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_INVALID_NAME.
DWORD CreateDirectory(std::string_view pathName);

}  // namespace platform
