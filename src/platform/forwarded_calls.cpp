// The platform's calls, each passed to the part of the installed backend
// that serves its concern. The registry's calls are in registry_calls.cpp.

#include "platform/installed_backend.h"

namespace platform {

using detail::part;

NET_API_STATUS NetUserEnum(std::string_view server, DWORD level, DWORD filter, NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries, DWORD* resume) {
  return part(&Backend::accounts)->NetUserEnum(server, level, filter, buf, prefmaxlen, entriesread, totalentries, resume);
}

NET_API_STATUS NetUserGetInfo(std::string_view server, std::string_view user, DWORD level, NetBuffer& buf) {
  return part(&Backend::accounts)->NetUserGetInfo(server, user, level, buf);
}

NET_API_STATUS NetUserSetInfo(std::string_view server, std::string_view user, DWORD level, const NetInfo& info, DWORD* parm_err) {
  return part(&Backend::accounts)->NetUserSetInfo(server, user, level, info, parm_err);
}

NET_API_STATUS NetUserAdd(std::string_view server, DWORD level, const NetInfo& info, DWORD* parm_err) {
  return part(&Backend::accounts)->NetUserAdd(server, level, info, parm_err);
}

NET_API_STATUS NetUserDel(std::string_view server, std::string_view user) {
  return part(&Backend::accounts)->NetUserDel(server, user);
}

void PrepareAccountPasswords(std::span<const std::string> passwords) {
  part(&Backend::accounts)->PrepareAccountPasswords(passwords);
}

NET_API_STATUS NetUserGetGroups(std::string_view server, std::string_view user, DWORD level, NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries) {
  return part(&Backend::accounts)->NetUserGetGroups(server, user, level, buf, prefmaxlen, entriesread, totalentries);
}

NET_API_STATUS NetUserGetLocalGroups(std::string_view server, std::string_view user, DWORD level, DWORD flags, NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries) {
  return part(&Backend::accounts)->NetUserGetLocalGroups(server, user, level, flags, buf, prefmaxlen, entriesread, totalentries);
}

NET_API_STATUS NetQueryDisplayInformation(std::string_view server, DWORD level, DWORD index, DWORD entriesrequested, DWORD prefmaxlen, DWORD* returned, NetBuffer& buf) {
  return part(&Backend::accounts)->NetQueryDisplayInformation(server, level, index, entriesrequested, prefmaxlen, returned, buf);
}

NET_API_STATUS NetGroupEnum(std::string_view server, DWORD level, NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries, DWORD* resume) {
  return part(&Backend::accounts)->NetGroupEnum(server, level, buf, prefmaxlen, entriesread, totalentries, resume);
}

NET_API_STATUS NetGroupGetInfo(std::string_view server, std::string_view group, DWORD level, NetBuffer& buf) {
  return part(&Backend::accounts)->NetGroupGetInfo(server, group, level, buf);
}

NET_API_STATUS NetGroupSetInfo(std::string_view server, std::string_view group, DWORD level, const NetInfo& info, DWORD* parm_err) {
  return part(&Backend::accounts)->NetGroupSetInfo(server, group, level, info, parm_err);
}

NET_API_STATUS NetGroupAdd(std::string_view server, DWORD level, const NetInfo& info, DWORD* parm_err) {
  return part(&Backend::accounts)->NetGroupAdd(server, level, info, parm_err);
}

NET_API_STATUS NetGroupDel(std::string_view server, std::string_view group) {
  return part(&Backend::accounts)->NetGroupDel(server, group);
}

NET_API_STATUS NetGroupGetUsers(std::string_view server, std::string_view group, DWORD level, NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries, DWORD* resume) {
  return part(&Backend::accounts)->NetGroupGetUsers(server, group, level, buf, prefmaxlen, entriesread, totalentries, resume);
}

NET_API_STATUS NetGroupAddUser(std::string_view server, std::string_view group, std::string_view user) {
  return part(&Backend::accounts)->NetGroupAddUser(server, group, user);
}

NET_API_STATUS NetGroupDelUser(std::string_view server, std::string_view group, std::string_view user) {
  return part(&Backend::accounts)->NetGroupDelUser(server, group, user);
}

NET_API_STATUS NetLocalGroupEnum(std::string_view server, DWORD level, NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries, DWORD* resume) {
  return part(&Backend::accounts)->NetLocalGroupEnum(server, level, buf, prefmaxlen, entriesread, totalentries, resume);
}

NET_API_STATUS NetLocalGroupGetInfo(std::string_view server, std::string_view group, DWORD level, NetBuffer& buf) {
  return part(&Backend::accounts)->NetLocalGroupGetInfo(server, group, level, buf);
}

NET_API_STATUS NetLocalGroupSetInfo(std::string_view server, std::string_view group, DWORD level, const NetInfo& info, DWORD* parm_err) {
  return part(&Backend::accounts)->NetLocalGroupSetInfo(server, group, level, info, parm_err);
}

NET_API_STATUS NetLocalGroupAdd(std::string_view server, DWORD level, const NetInfo& info, DWORD* parm_err) {
  return part(&Backend::accounts)->NetLocalGroupAdd(server, level, info, parm_err);
}

NET_API_STATUS NetLocalGroupDel(std::string_view server, std::string_view group) {
  return part(&Backend::accounts)->NetLocalGroupDel(server, group);
}

NET_API_STATUS NetLocalGroupGetMembers(std::string_view server, std::string_view group, DWORD level, NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries, DWORD* resume) {
  return part(&Backend::accounts)->NetLocalGroupGetMembers(server, group, level, buf, prefmaxlen, entriesread, totalentries, resume);
}

NET_API_STATUS NetLocalGroupAddMembers(std::string_view server, std::string_view group, DWORD level, std::span<const SID> sids, std::span<const std::string> names) {
  return part(&Backend::accounts)->NetLocalGroupAddMembers(server, group, level, sids, names);
}

NET_API_STATUS NetLocalGroupDelMembers(std::string_view server, std::string_view group, DWORD level, std::span<const SID> sids, std::span<const std::string> names) {
  return part(&Backend::accounts)->NetLocalGroupDelMembers(server, group, level, sids, names);
}

NET_API_STATUS NetUserModalsGet(std::string_view server, DWORD level, NetBuffer& buf) {
  return part(&Backend::accounts)->NetUserModalsGet(server, level, buf);
}

NET_API_STATUS NetUserModalsSet(std::string_view server, DWORD level, const NetInfo& info, DWORD* parm_err) {
  return part(&Backend::accounts)->NetUserModalsSet(server, level, info, parm_err);
}

NET_API_STATUS NetServerEnum(std::string_view server, DWORD level, NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries, DWORD servertype, std::string_view domain, DWORD* resume) {
  return part(&Backend::servers)->NetServerEnum(server, level, buf, prefmaxlen, entriesread, totalentries, servertype, domain, resume);
}

NET_API_STATUS NetServerGetInfo(std::string_view server, DWORD level, NetBuffer& buf) {
  return part(&Backend::servers)->NetServerGetInfo(server, level, buf);
}

NET_API_STATUS NetGetDCName(std::string_view server, std::string_view domain, std::string* name) {
  return part(&Backend::servers)->NetGetDCName(server, domain, name);
}

NET_API_STATUS NetWkstaGetInfo(std::string_view server, DWORD level, NetBuffer& buf) {
  return part(&Backend::servers)->NetWkstaGetInfo(server, level, buf);
}

NET_API_STATUS NetServerSetInfo(std::string_view server, DWORD level, const NetInfo& info, DWORD* parm_err) {
  return part(&Backend::servers)->NetServerSetInfo(server, level, info, parm_err);
}

NET_API_STATUS NetSessionEnum(std::string_view server, std::string_view client, std::string_view user, DWORD level, NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries, DWORD* resume) {
  return part(&Backend::servers)->NetSessionEnum(server, client, user, level, buf, prefmaxlen, entriesread, totalentries, resume);
}

NET_API_STATUS NetSessionDel(std::string_view server, std::string_view client, std::string_view user) {
  return part(&Backend::servers)->NetSessionDel(server, client, user);
}

NET_API_STATUS NetFileEnum(std::string_view server, std::string_view basepath, std::string_view user, DWORD level, NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries, DWORD* resume) {
  return part(&Backend::servers)->NetFileEnum(server, basepath, user, level, buf, prefmaxlen, entriesread, totalentries, resume);
}

NET_API_STATUS NetShareEnum(std::string_view server, DWORD level, NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries, DWORD* resume) {
  return part(&Backend::servers)->NetShareEnum(server, level, buf, prefmaxlen, entriesread, totalentries, resume);
}

NET_API_STATUS NetShareGetInfo(std::string_view server, std::string_view netname, DWORD level, NetBuffer& buf) {
  return part(&Backend::servers)->NetShareGetInfo(server, netname, level, buf);
}

NET_API_STATUS NetShareAdd(std::string_view server, DWORD level, const NetInfo& info, DWORD* parm_err) {
  return part(&Backend::servers)->NetShareAdd(server, level, info, parm_err);
}

NET_API_STATUS NetShareDel(std::string_view server, std::string_view netname, DWORD reserved) {
  return part(&Backend::servers)->NetShareDel(server, netname, reserved);
}

NET_API_STATUS NetShareSetInfo(std::string_view server, std::string_view netname, DWORD level, const NetInfo& info, DWORD* parm_err) {
  return part(&Backend::servers)->NetShareSetInfo(server, netname, level, info, parm_err);
}

DWORD LookupAccountName(std::string_view system, std::string_view account, SID* sid, std::string* domain, SID_NAME_USE* use) {
  return part(&Backend::security)->LookupAccountName(system, account, sid, domain, use);
}

DWORD LookupAccountSid(std::string_view system, const SID& sid, std::string* name, std::string* domain, SID_NAME_USE* use) {
  return part(&Backend::security)->LookupAccountSid(system, sid, name, domain, use);
}

DWORD FindFirstFile(std::string_view fileName, FIND_HANDLE* handle, WIN32_FIND_DATA* data) {
  return part(&Backend::security)->FindFirstFile(fileName, handle, data);
}

DWORD FindNextFile(FIND_HANDLE handle, WIN32_FIND_DATA* data) {
  return part(&Backend::security)->FindNextFile(handle, data);
}

DWORD FindClose(FIND_HANDLE handle) {
  return part(&Backend::security)->FindClose(handle);
}

DWORD GetFileSecurity(std::string_view fileName, SECURITY_INFORMATION requested, SECURITY_DESCRIPTOR* descriptor, DWORD length, DWORD* lengthNeeded) {
  return part(&Backend::security)->GetFileSecurity(fileName, requested, descriptor, length, lengthNeeded);
}

DWORD GetVolumeInformation(std::string_view root, std::string* volumeName, DWORD* serialNumber, DWORD* maximumComponentLength, DWORD* fileSystemFlags, std::string* fileSystemName) {
  return part(&Backend::security)->GetVolumeInformation(root, volumeName, serialNumber, maximumComponentLength, fileSystemFlags, fileSystemName);
}

DWORD CreateDirectory(std::string_view pathName) {
  return part(&Backend::security)->CreateDirectory(pathName);
}

HANDLE RegisterEventSource(std::string_view server, std::string_view source) {
  return part(&Backend::eventLog)->RegisterEventSource(server, source);
}

BOOL DeregisterEventSource(HANDLE log) {
  return part(&Backend::eventLog)->DeregisterEventSource(log);
}

BOOL ReportEvent(HANDLE log, WORD type, WORD category, DWORD eventid, const std::vector<std::string>& strings) {
  return part(&Backend::eventLog)->ReportEvent(log, type, category, eventid, strings);
}

DWORD ReadEventLog(std::string_view server, std::vector<EventRecord>* records) {
  return part(&Backend::eventLog)->ReadEventLog(server, records);
}

int GetRASQuick(std::string_view server, std::string_view account, DWORD* permission, std::string* number, DWORD* type) {
  return part(&Backend::dialin)->GetRASQuick(server, account, permission, number, type);
}

int GetRAS(std::string_view server, std::string_view account, DWORD* allowed, std::string* number, DWORD* type) {
  return part(&Backend::dialin)->GetRAS(server, account, allowed, number, type);
}

int DoRAS(std::string_view server, std::string_view account, DWORD allowed, std::string_view number, DWORD type) {
  return part(&Backend::dialin)->DoRAS(server, account, allowed, number, type);
}

BOOL GetVersionEx(OSVERSIONINFOA* info) {
  return part(&Backend::local)->GetVersionEx(info);
}

BOOL GetUserName(std::string* name) {
  return part(&Backend::local)->GetUserName(name);
}

BOOL GetComputerName(std::string* name) {
  return part(&Backend::local)->GetComputerName(name);
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

DWORD WNetOpenEnum(DWORD scope, DWORD type, DWORD usage, const NETRESOURCE* container, HANDLE* enumHandle) {
  return part(&Backend::network)->WNetOpenEnum(scope, type, usage, container, enumHandle);
}

DWORD WNetEnumResource(HANDLE enumHandle, DWORD* count, std::vector<NETRESOURCE>& buffer, DWORD* bufferSize) {
  return part(&Backend::network)->WNetEnumResource(enumHandle, count, buffer, bufferSize);
}

DWORD WNetCloseEnum(HANDLE enumHandle) { return part(&Backend::network)->WNetCloseEnum(enumHandle); }

DWORD MultinetGetConnectionPerformance(const NETRESOURCE& resource, NETCONNECTINFOSTRUCT* info) {
  return part(&Backend::network)->MultinetGetConnectionPerformance(resource, info);
}

}  // namespace platform
