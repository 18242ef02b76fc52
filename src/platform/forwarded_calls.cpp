// The platform's calls, each passed to the part of the installed backend
// that serves its concern: one free function per row of operations.def. The
// registry's calls map handles and are in registry_calls.cpp; the changes
// part is reached through ChangeBatch.

#include "platform/installed_backend.h"

// Defined by qualified name, so a row that does not match its declaration in
// platform/*.h fails to compile rather than adding an overload nobody calls.
#define VELTRANE_FORWARD(member, Return, Name, Params, Args, Absent) \
  auto platform::Name Params -> Return {                             \
    return detail::part(&Backend::member)->Name Args;                \
  }
#define VELTRANE_ACCOUNTS(...) VELTRANE_FORWARD(accounts, __VA_ARGS__)
#define VELTRANE_SERVERS(...) VELTRANE_FORWARD(servers, __VA_ARGS__)
#define VELTRANE_SECURITY(...) VELTRANE_FORWARD(security, __VA_ARGS__)
#define VELTRANE_EVENT_LOG(...) VELTRANE_FORWARD(eventLog, __VA_ARGS__)
#define VELTRANE_DIALIN(...) VELTRANE_FORWARD(dialin, __VA_ARGS__)
#define VELTRANE_LOCAL_SYSTEM(...) VELTRANE_FORWARD(local, __VA_ARGS__)
#define VELTRANE_NETWORK(...) VELTRANE_FORWARD(network, __VA_ARGS__)
#include "platform/parts/operations.def"
#undef VELTRANE_FORWARD

namespace platform {

// Conveniences over the operations, served by whatever serves those.

NET_API_STATUS NetLocalGroupAddMember(std::string_view servername, std::string_view groupname,
                                      const SID& membersid) {
  return NetLocalGroupAddMembers(servername, groupname, 0, std::span<const SID>(&membersid, 1),
                                 {});
}

NET_API_STATUS NetLocalGroupDelMember(std::string_view servername, std::string_view groupname,
                                      const SID& membersid) {
  return NetLocalGroupDelMembers(servername, groupname, 0, std::span<const SID>(&membersid, 1),
                                 {});
}

}  // namespace platform
