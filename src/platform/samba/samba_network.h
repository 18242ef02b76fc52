#pragma once
// The network as the samba backend sees it: one provider (the Windows
// network), the domains the default controller knows (its own; an AD DC
// keeps no browse list of other workgroups), each domain's computers from
// the controller's browse list stand-in, and each server's disk and print
// shares. Connection performance is measured, never made up: the delay is
// the round trip of a TCP connect to the share's server (its SMB port).

#include <memory>

#include "platform/parts/network_part.h"
#include "platform/resource_enumerations.h"

namespace platform::samba {

class SambaBackend;

class SambaNetwork final : public NetworkPart {
 public:
  explicit SambaNetwork(std::shared_ptr<SambaBackend> backend);

  DWORD WNetOpenEnum(DWORD scope, DWORD type, DWORD usage, const NETRESOURCE* container,
                     HANDLE* enumHandle) override;
  DWORD WNetEnumResource(HANDLE enumHandle, DWORD* count, std::vector<NETRESOURCE>& buffer,
                         DWORD* bufferSize) override;
  DWORD WNetCloseEnum(HANDLE enumHandle) override;
  DWORD MultinetGetConnectionPerformance(const NETRESOURCE& resource,
                                         NETCONNECTINFOSTRUCT* info) override;

 private:
  DWORD children(DWORD scope, const NETRESOURCE* container, std::vector<NETRESOURCE>* out);
  DWORD domains(std::vector<NETRESOURCE>* out);
  DWORD servers(std::string_view domain, std::vector<NETRESOURCE>* out);
  DWORD shares(std::string_view server, std::vector<NETRESOURCE>* out);

  std::shared_ptr<SambaBackend> m_backend;
  ResourceEnumerations m_enums;
};

}  // namespace platform::samba
