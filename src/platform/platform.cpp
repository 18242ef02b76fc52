// Forwards every platform call to the installed backend.

#include <atomic>
#include <mutex>

#include "platform/backend.h"

namespace platform {
namespace {

// Answers every call with failure, so a program without a backend fails
// cleanly instead of crashing.
class NullBackend final : public Backend {
 public:
  NET_API_STATUS NetUserEnum(std::string_view, DWORD, DWORD, NetBuffer&, DWORD, DWORD*, DWORD*, DWORD*) override { return ERROR_NOT_SUPPORTED; }
  NET_API_STATUS NetUserGetInfo(std::string_view, std::string_view, DWORD, NetBuffer&) override { return ERROR_NOT_SUPPORTED; }
  NET_API_STATUS NetUserSetInfo(std::string_view, std::string_view, DWORD, const NetInfo&, DWORD*) override { return ERROR_NOT_SUPPORTED; }
  NET_API_STATUS NetUserAdd(std::string_view, DWORD, const NetInfo&, DWORD*) override { return ERROR_NOT_SUPPORTED; }
  NET_API_STATUS NetUserDel(std::string_view, std::string_view) override { return ERROR_NOT_SUPPORTED; }
  NET_API_STATUS NetUserGetGroups(std::string_view, std::string_view, DWORD, NetBuffer&, DWORD, DWORD*, DWORD*) override { return ERROR_NOT_SUPPORTED; }
  NET_API_STATUS NetUserGetLocalGroups(std::string_view, std::string_view, DWORD, DWORD, NetBuffer&, DWORD, DWORD*, DWORD*) override { return ERROR_NOT_SUPPORTED; }
  NET_API_STATUS NetQueryDisplayInformation(std::string_view, DWORD, DWORD, DWORD, DWORD, DWORD*, NetBuffer&) override { return ERROR_NOT_SUPPORTED; }
  NET_API_STATUS NetGroupEnum(std::string_view, DWORD, NetBuffer&, DWORD, DWORD*, DWORD*, DWORD*) override { return ERROR_NOT_SUPPORTED; }
  NET_API_STATUS NetGroupGetInfo(std::string_view, std::string_view, DWORD, NetBuffer&) override { return ERROR_NOT_SUPPORTED; }
  NET_API_STATUS NetGroupSetInfo(std::string_view, std::string_view, DWORD, const NetInfo&, DWORD*) override { return ERROR_NOT_SUPPORTED; }
  NET_API_STATUS NetGroupAdd(std::string_view, DWORD, const NetInfo&, DWORD*) override { return ERROR_NOT_SUPPORTED; }
  NET_API_STATUS NetGroupDel(std::string_view, std::string_view) override { return ERROR_NOT_SUPPORTED; }
  NET_API_STATUS NetGroupGetUsers(std::string_view, std::string_view, DWORD, NetBuffer&, DWORD, DWORD*, DWORD*, DWORD*) override { return ERROR_NOT_SUPPORTED; }
  NET_API_STATUS NetGroupAddUser(std::string_view, std::string_view, std::string_view) override { return ERROR_NOT_SUPPORTED; }
  NET_API_STATUS NetGroupDelUser(std::string_view, std::string_view, std::string_view) override { return ERROR_NOT_SUPPORTED; }
  NET_API_STATUS NetLocalGroupEnum(std::string_view, DWORD, NetBuffer&, DWORD, DWORD*, DWORD*, DWORD*) override { return ERROR_NOT_SUPPORTED; }
  NET_API_STATUS NetLocalGroupGetInfo(std::string_view, std::string_view, DWORD, NetBuffer&) override { return ERROR_NOT_SUPPORTED; }
  NET_API_STATUS NetLocalGroupSetInfo(std::string_view, std::string_view, DWORD, const NetInfo&, DWORD*) override { return ERROR_NOT_SUPPORTED; }
  NET_API_STATUS NetLocalGroupAdd(std::string_view, DWORD, const NetInfo&, DWORD*) override { return ERROR_NOT_SUPPORTED; }
  NET_API_STATUS NetLocalGroupDel(std::string_view, std::string_view) override { return ERROR_NOT_SUPPORTED; }
  NET_API_STATUS NetLocalGroupGetMembers(std::string_view, std::string_view, DWORD, NetBuffer&, DWORD, DWORD*, DWORD*, DWORD*) override { return ERROR_NOT_SUPPORTED; }
  NET_API_STATUS NetLocalGroupAddMembers(std::string_view, std::string_view, DWORD, std::span<const SID>, std::span<const std::string>) override { return ERROR_NOT_SUPPORTED; }
  NET_API_STATUS NetLocalGroupDelMembers(std::string_view, std::string_view, DWORD, std::span<const SID>, std::span<const std::string>) override { return ERROR_NOT_SUPPORTED; }
  NET_API_STATUS NetServerEnum(std::string_view, DWORD, NetBuffer&, DWORD, DWORD*, DWORD*, DWORD, std::string_view, DWORD*) override { return ERROR_NOT_SUPPORTED; }
  NET_API_STATUS NetServerGetInfo(std::string_view, DWORD, NetBuffer&) override { return ERROR_NOT_SUPPORTED; }
  NET_API_STATUS NetGetDCName(std::string_view, std::string_view, std::string*) override { return ERROR_NOT_SUPPORTED; }
  NET_API_STATUS NetWkstaGetInfo(std::string_view, DWORD, NetBuffer&) override { return ERROR_NOT_SUPPORTED; }
  NET_API_STATUS NetUserModalsGet(std::string_view, DWORD, NetBuffer&) override { return ERROR_NOT_SUPPORTED; }
  NET_API_STATUS NetUserModalsSet(std::string_view, DWORD, const NetInfo&, DWORD*) override { return ERROR_NOT_SUPPORTED; }
  LONG RegCreateKeyEx(HKEY, std::string_view, DWORD, REGSAM, HKEY*, DWORD*) override { return static_cast<LONG>(ERROR_NOT_SUPPORTED); }
  LONG RegOpenKeyEx(HKEY, std::string_view, DWORD, REGSAM, HKEY*) override { return static_cast<LONG>(ERROR_NOT_SUPPORTED); }
  LONG RegCloseKey(HKEY) override { return static_cast<LONG>(ERROR_NOT_SUPPORTED); }
  LONG RegConnectRegistry(std::string_view, HKEY, HKEY*) override { return static_cast<LONG>(ERROR_NOT_SUPPORTED); }
  LONG RegQueryValueEx(HKEY, std::string_view, DWORD*, std::span<std::uint8_t>, DWORD*) override { return static_cast<LONG>(ERROR_NOT_SUPPORTED); }
  LONG RegSetValueEx(HKEY, std::string_view, DWORD, std::span<const std::uint8_t>) override { return static_cast<LONG>(ERROR_NOT_SUPPORTED); }
  LONG RegDeleteValue(HKEY, std::string_view) override { return static_cast<LONG>(ERROR_NOT_SUPPORTED); }
  LONG RegEnumValue(HKEY, DWORD, std::string*, DWORD, DWORD*, std::span<std::uint8_t>, DWORD*) override { return static_cast<LONG>(ERROR_NOT_SUPPORTED); }
  DWORD LookupAccountName(std::string_view, std::string_view, SID*, std::string*, SID_NAME_USE*) override { return ERROR_NOT_SUPPORTED; }
  DWORD LookupAccountSid(std::string_view, const SID&, std::string*, std::string*, SID_NAME_USE*) override { return ERROR_NOT_SUPPORTED; }
  HANDLE RegisterEventSource(std::string_view, std::string_view) override { return 0; }
  BOOL DeregisterEventSource(HANDLE) override { return 0; }
  BOOL ReportEvent(HANDLE, WORD, WORD, DWORD, const std::vector<std::string>&) override { return 0; }
  DWORD ReadEventLog(std::string_view, std::vector<EventRecord>*) override { return ERROR_NOT_SUPPORTED; }
  int GetRASQuick(std::string_view, std::string_view, DWORD*, std::string*, DWORD*) override { return 0; }
  int GetRAS(std::string_view, std::string_view, DWORD*, std::string*, DWORD*) override { return 0; }
  int DoRAS(std::string_view, std::string_view, DWORD, std::string_view, DWORD) override { return 0; }
  BOOL GetVersionEx(OSVERSIONINFOA*) override { return 0; }
  BOOL GetUserName(std::string*) override { return 0; }
  BOOL GetComputerName(std::string*) override { return 0; }
};

struct Installed {
  std::mutex mutex;
  std::shared_ptr<Backend> backend = std::make_shared<NullBackend>();
};

Installed& installed() {
  static Installed instance;
  return instance;
}

}  // namespace

std::shared_ptr<Backend> installBackend(std::shared_ptr<Backend> backend) {
  if (!backend) backend = std::make_shared<NullBackend>();
  auto& slot = installed();
  std::lock_guard lock(slot.mutex);
  std::swap(slot.backend, backend);
  return backend;
}

std::shared_ptr<Backend> currentBackend() {
  auto& slot = installed();
  std::lock_guard lock(slot.mutex);
  return slot.backend;
}

NET_API_STATUS NetUserEnum(std::string_view server, DWORD level, DWORD filter, NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries, DWORD* resume) {
  return currentBackend()->NetUserEnum(server, level, filter, buf, prefmaxlen, entriesread, totalentries, resume);
}

NET_API_STATUS NetUserGetInfo(std::string_view server, std::string_view user, DWORD level, NetBuffer& buf) {
  return currentBackend()->NetUserGetInfo(server, user, level, buf);
}

NET_API_STATUS NetUserSetInfo(std::string_view server, std::string_view user, DWORD level, const NetInfo& info, DWORD* parm_err) {
  return currentBackend()->NetUserSetInfo(server, user, level, info, parm_err);
}

NET_API_STATUS NetUserAdd(std::string_view server, DWORD level, const NetInfo& info, DWORD* parm_err) {
  return currentBackend()->NetUserAdd(server, level, info, parm_err);
}

NET_API_STATUS NetUserDel(std::string_view server, std::string_view user) {
  return currentBackend()->NetUserDel(server, user);
}

NET_API_STATUS NetUserGetGroups(std::string_view server, std::string_view user, DWORD level, NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries) {
  return currentBackend()->NetUserGetGroups(server, user, level, buf, prefmaxlen, entriesread, totalentries);
}

NET_API_STATUS NetUserGetLocalGroups(std::string_view server, std::string_view user, DWORD level, DWORD flags, NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries) {
  return currentBackend()->NetUserGetLocalGroups(server, user, level, flags, buf, prefmaxlen, entriesread, totalentries);
}

NET_API_STATUS NetQueryDisplayInformation(std::string_view server, DWORD level, DWORD index, DWORD entriesrequested, DWORD prefmaxlen, DWORD* returned, NetBuffer& buf) {
  return currentBackend()->NetQueryDisplayInformation(server, level, index, entriesrequested, prefmaxlen, returned, buf);
}

NET_API_STATUS NetGroupEnum(std::string_view server, DWORD level, NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries, DWORD* resume) {
  return currentBackend()->NetGroupEnum(server, level, buf, prefmaxlen, entriesread, totalentries, resume);
}

NET_API_STATUS NetGroupGetInfo(std::string_view server, std::string_view group, DWORD level, NetBuffer& buf) {
  return currentBackend()->NetGroupGetInfo(server, group, level, buf);
}

NET_API_STATUS NetGroupSetInfo(std::string_view server, std::string_view group, DWORD level, const NetInfo& info, DWORD* parm_err) {
  return currentBackend()->NetGroupSetInfo(server, group, level, info, parm_err);
}

NET_API_STATUS NetGroupAdd(std::string_view server, DWORD level, const NetInfo& info, DWORD* parm_err) {
  return currentBackend()->NetGroupAdd(server, level, info, parm_err);
}

NET_API_STATUS NetGroupDel(std::string_view server, std::string_view group) {
  return currentBackend()->NetGroupDel(server, group);
}

NET_API_STATUS NetGroupGetUsers(std::string_view server, std::string_view group, DWORD level, NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries, DWORD* resume) {
  return currentBackend()->NetGroupGetUsers(server, group, level, buf, prefmaxlen, entriesread, totalentries, resume);
}

NET_API_STATUS NetGroupAddUser(std::string_view server, std::string_view group, std::string_view user) {
  return currentBackend()->NetGroupAddUser(server, group, user);
}

NET_API_STATUS NetGroupDelUser(std::string_view server, std::string_view group, std::string_view user) {
  return currentBackend()->NetGroupDelUser(server, group, user);
}

NET_API_STATUS NetLocalGroupEnum(std::string_view server, DWORD level, NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries, DWORD* resume) {
  return currentBackend()->NetLocalGroupEnum(server, level, buf, prefmaxlen, entriesread, totalentries, resume);
}

NET_API_STATUS NetLocalGroupGetInfo(std::string_view server, std::string_view group, DWORD level, NetBuffer& buf) {
  return currentBackend()->NetLocalGroupGetInfo(server, group, level, buf);
}

NET_API_STATUS NetLocalGroupSetInfo(std::string_view server, std::string_view group, DWORD level, const NetInfo& info, DWORD* parm_err) {
  return currentBackend()->NetLocalGroupSetInfo(server, group, level, info, parm_err);
}

NET_API_STATUS NetLocalGroupAdd(std::string_view server, DWORD level, const NetInfo& info, DWORD* parm_err) {
  return currentBackend()->NetLocalGroupAdd(server, level, info, parm_err);
}

NET_API_STATUS NetLocalGroupDel(std::string_view server, std::string_view group) {
  return currentBackend()->NetLocalGroupDel(server, group);
}

NET_API_STATUS NetLocalGroupGetMembers(std::string_view server, std::string_view group, DWORD level, NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries, DWORD* resume) {
  return currentBackend()->NetLocalGroupGetMembers(server, group, level, buf, prefmaxlen, entriesread, totalentries, resume);
}

NET_API_STATUS NetLocalGroupAddMembers(std::string_view server, std::string_view group, DWORD level, std::span<const SID> sids, std::span<const std::string> names) {
  return currentBackend()->NetLocalGroupAddMembers(server, group, level, sids, names);
}

NET_API_STATUS NetLocalGroupDelMembers(std::string_view server, std::string_view group, DWORD level, std::span<const SID> sids, std::span<const std::string> names) {
  return currentBackend()->NetLocalGroupDelMembers(server, group, level, sids, names);
}

NET_API_STATUS NetServerEnum(std::string_view server, DWORD level, NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries, DWORD servertype, std::string_view domain, DWORD* resume) {
  return currentBackend()->NetServerEnum(server, level, buf, prefmaxlen, entriesread, totalentries, servertype, domain, resume);
}

NET_API_STATUS NetServerGetInfo(std::string_view server, DWORD level, NetBuffer& buf) {
  return currentBackend()->NetServerGetInfo(server, level, buf);
}

NET_API_STATUS NetGetDCName(std::string_view server, std::string_view domain, std::string* name) {
  return currentBackend()->NetGetDCName(server, domain, name);
}

NET_API_STATUS NetWkstaGetInfo(std::string_view server, DWORD level, NetBuffer& buf) {
  return currentBackend()->NetWkstaGetInfo(server, level, buf);
}

NET_API_STATUS NetUserModalsGet(std::string_view server, DWORD level, NetBuffer& buf) {
  return currentBackend()->NetUserModalsGet(server, level, buf);
}

NET_API_STATUS NetUserModalsSet(std::string_view server, DWORD level, const NetInfo& info, DWORD* parm_err) {
  return currentBackend()->NetUserModalsSet(server, level, info, parm_err);
}

LONG RegCreateKeyEx(HKEY key, std::string_view subkey, DWORD options, REGSAM access, HKEY* result, DWORD* disposition) {
  return currentBackend()->RegCreateKeyEx(key, subkey, options, access, result, disposition);
}

LONG RegOpenKeyEx(HKEY key, std::string_view subkey, DWORD options, REGSAM access, HKEY* result) {
  return currentBackend()->RegOpenKeyEx(key, subkey, options, access, result);
}

LONG RegCloseKey(HKEY key) {
  return currentBackend()->RegCloseKey(key);
}

LONG RegConnectRegistry(std::string_view machine, HKEY key, HKEY* result) {
  return currentBackend()->RegConnectRegistry(machine, key, result);
}

LONG RegQueryValueEx(HKEY key, std::string_view name, DWORD* type, std::span<std::uint8_t> data, DWORD* cbData) {
  return currentBackend()->RegQueryValueEx(key, name, type, data, cbData);
}

LONG RegSetValueEx(HKEY key, std::string_view name, DWORD type, std::span<const std::uint8_t> data) {
  return currentBackend()->RegSetValueEx(key, name, type, data);
}

LONG RegDeleteValue(HKEY key, std::string_view name) {
  return currentBackend()->RegDeleteValue(key, name);
}

LONG RegEnumValue(HKEY key, DWORD index, std::string* name, DWORD nameCapacity, DWORD* type, std::span<std::uint8_t> data, DWORD* cbData) {
  return currentBackend()->RegEnumValue(key, index, name, nameCapacity, type, data, cbData);
}

DWORD LookupAccountName(std::string_view system, std::string_view account, SID* sid, std::string* domain, SID_NAME_USE* use) {
  return currentBackend()->LookupAccountName(system, account, sid, domain, use);
}

DWORD LookupAccountSid(std::string_view system, const SID& sid, std::string* name, std::string* domain, SID_NAME_USE* use) {
  return currentBackend()->LookupAccountSid(system, sid, name, domain, use);
}

HANDLE RegisterEventSource(std::string_view server, std::string_view source) {
  return currentBackend()->RegisterEventSource(server, source);
}

BOOL DeregisterEventSource(HANDLE log) {
  return currentBackend()->DeregisterEventSource(log);
}

BOOL ReportEvent(HANDLE log, WORD type, WORD category, DWORD eventid, const std::vector<std::string>& strings) {
  return currentBackend()->ReportEvent(log, type, category, eventid, strings);
}

DWORD ReadEventLog(std::string_view server, std::vector<EventRecord>* records) {
  return currentBackend()->ReadEventLog(server, records);
}

int GetRASQuick(std::string_view server, std::string_view account, DWORD* permission, std::string* number, DWORD* type) {
  return currentBackend()->GetRASQuick(server, account, permission, number, type);
}

int GetRAS(std::string_view server, std::string_view account, DWORD* allowed, std::string* number, DWORD* type) {
  return currentBackend()->GetRAS(server, account, allowed, number, type);
}

int DoRAS(std::string_view server, std::string_view account, DWORD allowed, std::string_view number, DWORD type) {
  return currentBackend()->DoRAS(server, account, allowed, number, type);
}

BOOL GetVersionEx(OSVERSIONINFOA* info) {
  return currentBackend()->GetVersionEx(info);
}

BOOL GetUserName(std::string* name) {
  return currentBackend()->GetUserName(name);
}

BOOL GetComputerName(std::string* name) {
  return currentBackend()->GetComputerName(name);
}

std::vector<std::uint8_t> regSzBytes(std::string_view text) {
  std::vector<std::uint8_t> bytes(text.begin(), text.end());
  bytes.push_back(0);
  return bytes;
}

std::vector<std::uint8_t> regDwordBytes(DWORD value) {
  return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
          static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

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
