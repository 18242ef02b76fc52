#pragma once
// Network-provider enumeration: the providers of the network, the domains
// and workgroups each shows, their servers and the servers' shares, read in
// batches through an enumeration handle. Batches are measured against the
// caller's buffer size with the size model of netsize.h.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace platform {

using HANDLE = std::uint64_t;  // 0 = no handle

constexpr DWORD ERROR_INVALID_ADDRESS = 487;
constexpr DWORD ERROR_NO_NET_OR_BAD_PATH = 1203;
constexpr DWORD ERROR_NOT_CONTAINER = 1207;
constexpr DWORD ERROR_EXTENDED_ERROR = 1208;
constexpr DWORD ERROR_NO_NETWORK = 1222;
constexpr DWORD ERROR_NOT_CONNECTED = 2250;

// dwScope
constexpr DWORD RESOURCE_CONNECTED = 1;
constexpr DWORD RESOURCE_GLOBALNET = 2;
constexpr DWORD RESOURCE_REMEMBERED = 3;
constexpr DWORD RESOURCE_RECENT = 4;
constexpr DWORD RESOURCE_CONTEXT = 5;
// dwType
constexpr DWORD RESOURCETYPE_ANY = 0;
constexpr DWORD RESOURCETYPE_DISK = 1;
constexpr DWORD RESOURCETYPE_PRINT = 2;
// dwUsage
constexpr DWORD RESOURCEUSAGE_CONNECTABLE = 0x1;
constexpr DWORD RESOURCEUSAGE_CONTAINER = 0x2;
constexpr DWORD RESOURCEUSAGE_ALL = 0x13;
// dwDisplayType
constexpr DWORD RESOURCEDISPLAYTYPE_GENERIC = 0;
constexpr DWORD RESOURCEDISPLAYTYPE_DOMAIN = 1;
constexpr DWORD RESOURCEDISPLAYTYPE_SERVER = 2;
constexpr DWORD RESOURCEDISPLAYTYPE_SHARE = 3;
constexpr DWORD RESOURCEDISPLAYTYPE_NETWORK = 6;
// WNetEnumResource's entry count: as many as the buffer holds.
constexpr DWORD WNET_ALL_ENTRIES = 0xFFFFFFFFu;

struct NETRESOURCE {
  DWORD dwScope = RESOURCE_GLOBALNET;
  DWORD dwType = RESOURCETYPE_ANY;
  DWORD dwDisplayType = RESOURCEDISPLAYTYPE_GENERIC;
  DWORD dwUsage = 0;
  std::string lpLocalName;
  std::string lpRemoteName;  // provider name, domain, "\\\\SERVER" or "\\\\SERVER\\SHARE"
  std::string lpComment;
  std::string lpProvider;
  friend bool operator==(const NETRESOURCE&, const NETRESOURCE&) = default;
};

// The provider every Windows network has.
inline constexpr std::string_view kWindowsNetworkProvider = "Microsoft Windows Network";

// MultinetGetConnectionPerformance's answer; dwSpeed in units of 100 bits/s.
struct NETCONNECTINFOSTRUCT {
  DWORD cbStructure = 20;
  DWORD dwFlags = 0;
  DWORD dwSpeed = 0;
  DWORD dwDelay = 0;
  DWORD dwOptDataSize = 0;
};
constexpr DWORD WNCON_FORNETCARD = 0x1;
constexpr DWORD WNCON_NOTROUTED = 0x2;
constexpr DWORD WNCON_SLOWLINK = 0x4;
constexpr DWORD WNCON_DYNAMIC = 0x8;

// Opens an enumeration of `container`'s children (null: the network's
// root, whose children are the providers). 0 and *enumHandle, or 1207 when
// the resource is no container, 53 for a server or domain the network does
// not know or cannot reach, 87 for an unknown scope.
DWORD WNetOpenEnum(DWORD scope, DWORD type, DWORD usage, const NETRESOURCE* container,
                   HANDLE* enumHandle);
// The next batch: at most *count entries (WNET_ALL_ENTRIES: no limit) that
// fit in *bufferSize bytes. 0 with *count entries; 259 when none remain;
// 234 when not even the next entry fits, *bufferSize then says how many
// bytes it needs and nothing is consumed; 6 for a handle not open.
DWORD WNetEnumResource(HANDLE enumHandle, DWORD* count, std::vector<NETRESOURCE>& buffer,
                       DWORD* bufferSize);
// Ends the enumeration; the handle is invalid afterwards (6 if it was not open).
DWORD WNetCloseEnum(HANDLE enumHandle);
DWORD MultinetGetConnectionPerformance(const NETRESOURCE& resource, NETCONNECTINFOSTRUCT* info);

// Bytes one entry takes in a batch buffer.
DWORD netEntrySize(const NETRESOURCE& e);

}  // namespace platform
