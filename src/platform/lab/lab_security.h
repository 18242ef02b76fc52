#pragma once
// The lab's security part: account look-ups (backend_lookups.cpp) and the
// files of the lab's machines (backend_files.cpp).

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/find_listings.h"
#include "platform/lab/lab_part.h"

namespace lab {

class LabSecurity : public platform::SecurityPart, protected LabPart {
 public:
  using LabPart::LabPart;

  // security
  DWORD LookupAccountName(std::string_view system, std::string_view account, SID* sid,
                          std::string* domain, platform::SID_NAME_USE* use) override;

  // files
  DWORD FindFirstFile(std::string_view fileName, platform::FIND_HANDLE* handle,
                      platform::WIN32_FIND_DATA* data) override;
  DWORD FindNextFile(platform::FIND_HANDLE handle, platform::WIN32_FIND_DATA* data) override;
  DWORD FindClose(platform::FIND_HANDLE handle) override;
  DWORD GetFileSecurity(std::string_view fileName, platform::SECURITY_INFORMATION requested,
                        platform::SECURITY_DESCRIPTOR* descriptor, DWORD length,
                        DWORD* lengthNeeded) override;
  DWORD GetVolumeInformation(std::string_view root, std::string* volumeName, DWORD* serialNumber,
                             DWORD* maximumComponentLength, DWORD* fileSystemFlags,
                             std::string* fileSystemName) override;
  DWORD CreateDirectory(std::string_view pathName) override;
  DWORD LookupAccountSid(std::string_view system, const SID& sid, std::string* name,
                         std::string* domain, platform::SID_NAME_USE* use) override;

 private:
  platform::FindListings m_listings;
  // The SIDs the logged-on account reaches files with on one machine, kept
  // until the lab changes (a group membership, say).
  std::vector<platform::SID> accessSids(const Network& net, const Machine& m) const;
  struct AccessSids {
    std::string account;
    std::string machine;
    std::uint64_t labWrites = 0;
    std::vector<platform::SID> sids;
  };
  mutable std::mutex m_mutex;
  mutable std::optional<AccessSids> m_accessSids;
};

}  // namespace lab
