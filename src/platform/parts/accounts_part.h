#pragma once
// Accounts and groups: users, global and local groups, display information
// and the account policy of a machine's or a domain's account database.

#include <span>
#include <string>
#include <string_view>

#include "platform/netapi.h"

namespace platform {

class AccountsPart {
 public:
  virtual ~AccountsPart() = default;

  // users
  virtual NET_API_STATUS NetUserEnum(std::string_view, DWORD, DWORD, NetBuffer&, DWORD, DWORD*,
                                     DWORD*, DWORD*) { return ERROR_NOT_SUPPORTED; }
  virtual NET_API_STATUS NetUserGetInfo(std::string_view, std::string_view, DWORD, NetBuffer&) {
    return ERROR_NOT_SUPPORTED;
  }
  virtual NET_API_STATUS NetUserSetInfo(std::string_view, std::string_view, DWORD,
                                        const NetInfo&, DWORD*) { return ERROR_NOT_SUPPORTED; }
  virtual NET_API_STATUS NetUserAdd(std::string_view, DWORD, const NetInfo&, DWORD*) {
    return ERROR_NOT_SUPPORTED;
  }
  virtual NET_API_STATUS NetUserDel(std::string_view, std::string_view) {
    return ERROR_NOT_SUPPORTED;
  }
  virtual void PrepareAccountPasswords(std::span<const std::string>) {}
  virtual NET_API_STATUS NetUserGetGroups(std::string_view, std::string_view, DWORD, NetBuffer&,
                                          DWORD, DWORD*, DWORD*) { return ERROR_NOT_SUPPORTED; }
  virtual NET_API_STATUS NetUserGetLocalGroups(std::string_view, std::string_view, DWORD, DWORD,
                                               NetBuffer&, DWORD, DWORD*, DWORD*) {
    return ERROR_NOT_SUPPORTED;
  }
  virtual NET_API_STATUS NetQueryDisplayInformation(std::string_view, DWORD, DWORD, DWORD, DWORD,
                                                    DWORD*, NetBuffer&) {
    return ERROR_NOT_SUPPORTED;
  }

  // global groups
  virtual NET_API_STATUS NetGroupEnum(std::string_view, DWORD, NetBuffer&, DWORD, DWORD*, DWORD*,
                                      DWORD*) { return ERROR_NOT_SUPPORTED; }
  virtual NET_API_STATUS NetGroupGetInfo(std::string_view, std::string_view, DWORD, NetBuffer&) {
    return ERROR_NOT_SUPPORTED;
  }
  virtual NET_API_STATUS NetGroupSetInfo(std::string_view, std::string_view, DWORD,
                                         const NetInfo&, DWORD*) { return ERROR_NOT_SUPPORTED; }
  virtual NET_API_STATUS NetGroupAdd(std::string_view, DWORD, const NetInfo&, DWORD*) {
    return ERROR_NOT_SUPPORTED;
  }
  virtual NET_API_STATUS NetGroupDel(std::string_view, std::string_view) {
    return ERROR_NOT_SUPPORTED;
  }
  virtual NET_API_STATUS NetGroupGetUsers(std::string_view, std::string_view, DWORD, NetBuffer&,
                                          DWORD, DWORD*, DWORD*, DWORD*) {
    return ERROR_NOT_SUPPORTED;
  }
  virtual NET_API_STATUS NetGroupAddUser(std::string_view, std::string_view, std::string_view) {
    return ERROR_NOT_SUPPORTED;
  }
  virtual NET_API_STATUS NetGroupDelUser(std::string_view, std::string_view, std::string_view) {
    return ERROR_NOT_SUPPORTED;
  }

  // local groups
  virtual NET_API_STATUS NetLocalGroupEnum(std::string_view, DWORD, NetBuffer&, DWORD, DWORD*,
                                           DWORD*, DWORD*) { return ERROR_NOT_SUPPORTED; }
  virtual NET_API_STATUS NetLocalGroupGetInfo(std::string_view, std::string_view, DWORD,
                                              NetBuffer&) { return ERROR_NOT_SUPPORTED; }
  virtual NET_API_STATUS NetLocalGroupSetInfo(std::string_view, std::string_view, DWORD,
                                              const NetInfo&, DWORD*) {
    return ERROR_NOT_SUPPORTED;
  }
  virtual NET_API_STATUS NetLocalGroupAdd(std::string_view, DWORD, const NetInfo&, DWORD*) {
    return ERROR_NOT_SUPPORTED;
  }
  virtual NET_API_STATUS NetLocalGroupDel(std::string_view, std::string_view) {
    return ERROR_NOT_SUPPORTED;
  }
  virtual NET_API_STATUS NetLocalGroupGetMembers(std::string_view, std::string_view, DWORD,
                                                 NetBuffer&, DWORD, DWORD*, DWORD*, DWORD*) {
    return ERROR_NOT_SUPPORTED;
  }
  virtual NET_API_STATUS NetLocalGroupAddMembers(std::string_view, std::string_view, DWORD,
                                                 std::span<const SID>,
                                                 std::span<const std::string>) {
    return ERROR_NOT_SUPPORTED;
  }
  virtual NET_API_STATUS NetLocalGroupDelMembers(std::string_view, std::string_view, DWORD,
                                                 std::span<const SID>,
                                                 std::span<const std::string>) {
    return ERROR_NOT_SUPPORTED;
  }

  // account policy
  virtual NET_API_STATUS NetUserModalsGet(std::string_view, DWORD, NetBuffer&) {
    return ERROR_NOT_SUPPORTED;
  }
  virtual NET_API_STATUS NetUserModalsSet(std::string_view, DWORD, const NetInfo&, DWORD*) {
    return ERROR_NOT_SUPPORTED;
  }
};

}  // namespace platform
