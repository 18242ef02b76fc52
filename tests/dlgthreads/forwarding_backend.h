#pragma once
// A backend that passes every call to another one. Tests derive from it and
// override the few operations they want to bend (answer orders, failures,
// calls that block), keeping the lab behind it for everything else.

#include <memory>
#include <utility>

#include "platform/backend.h"

namespace dlgthreads::testing {

using namespace platform;

class ForwardingBackend : public Backend {
 public:
  explicit ForwardingBackend(std::shared_ptr<Backend> inner) : m_inner(std::move(inner)) {}

  NET_API_STATUS NetUserEnum(std::string_view server, DWORD level, DWORD filter, NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries, DWORD* resume) override {
    return m_inner->NetUserEnum(server, level, filter, buf, prefmaxlen, entriesread, totalentries, resume);
  }
  NET_API_STATUS NetUserGetInfo(std::string_view server, std::string_view user, DWORD level, NetBuffer& buf) override {
    return m_inner->NetUserGetInfo(server, user, level, buf);
  }
  NET_API_STATUS NetUserSetInfo(std::string_view server, std::string_view user, DWORD level, const NetInfo& info, DWORD* parm_err) override {
    return m_inner->NetUserSetInfo(server, user, level, info, parm_err);
  }
  NET_API_STATUS NetUserAdd(std::string_view server, DWORD level, const NetInfo& info, DWORD* parm_err) override {
    return m_inner->NetUserAdd(server, level, info, parm_err);
  }
  NET_API_STATUS NetUserDel(std::string_view server, std::string_view user) override {
    return m_inner->NetUserDel(server, user);
  }
  NET_API_STATUS NetUserGetGroups(std::string_view server, std::string_view user, DWORD level, NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries) override {
    return m_inner->NetUserGetGroups(server, user, level, buf, prefmaxlen, entriesread, totalentries);
  }
  NET_API_STATUS NetUserGetLocalGroups(std::string_view server, std::string_view user, DWORD level, DWORD flags, NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries) override {
    return m_inner->NetUserGetLocalGroups(server, user, level, flags, buf, prefmaxlen, entriesread, totalentries);
  }
  NET_API_STATUS NetQueryDisplayInformation(std::string_view server, DWORD level, DWORD index, DWORD entriesrequested, DWORD prefmaxlen, DWORD* returned, NetBuffer& buf) override {
    return m_inner->NetQueryDisplayInformation(server, level, index, entriesrequested, prefmaxlen, returned, buf);
  }
  NET_API_STATUS NetGroupEnum(std::string_view server, DWORD level, NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries, DWORD* resume) override {
    return m_inner->NetGroupEnum(server, level, buf, prefmaxlen, entriesread, totalentries, resume);
  }
  NET_API_STATUS NetGroupGetInfo(std::string_view server, std::string_view group, DWORD level, NetBuffer& buf) override {
    return m_inner->NetGroupGetInfo(server, group, level, buf);
  }
  NET_API_STATUS NetGroupSetInfo(std::string_view server, std::string_view group, DWORD level, const NetInfo& info, DWORD* parm_err) override {
    return m_inner->NetGroupSetInfo(server, group, level, info, parm_err);
  }
  NET_API_STATUS NetGroupAdd(std::string_view server, DWORD level, const NetInfo& info, DWORD* parm_err) override {
    return m_inner->NetGroupAdd(server, level, info, parm_err);
  }
  NET_API_STATUS NetGroupDel(std::string_view server, std::string_view group) override {
    return m_inner->NetGroupDel(server, group);
  }
  NET_API_STATUS NetGroupGetUsers(std::string_view server, std::string_view group, DWORD level, NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries, DWORD* resume) override {
    return m_inner->NetGroupGetUsers(server, group, level, buf, prefmaxlen, entriesread, totalentries, resume);
  }
  NET_API_STATUS NetGroupAddUser(std::string_view server, std::string_view group, std::string_view user) override {
    return m_inner->NetGroupAddUser(server, group, user);
  }
  NET_API_STATUS NetGroupDelUser(std::string_view server, std::string_view group, std::string_view user) override {
    return m_inner->NetGroupDelUser(server, group, user);
  }
  NET_API_STATUS NetLocalGroupEnum(std::string_view server, DWORD level, NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries, DWORD* resume) override {
    return m_inner->NetLocalGroupEnum(server, level, buf, prefmaxlen, entriesread, totalentries, resume);
  }
  NET_API_STATUS NetLocalGroupGetInfo(std::string_view server, std::string_view group, DWORD level, NetBuffer& buf) override {
    return m_inner->NetLocalGroupGetInfo(server, group, level, buf);
  }
  NET_API_STATUS NetLocalGroupSetInfo(std::string_view server, std::string_view group, DWORD level, const NetInfo& info, DWORD* parm_err) override {
    return m_inner->NetLocalGroupSetInfo(server, group, level, info, parm_err);
  }
  NET_API_STATUS NetLocalGroupAdd(std::string_view server, DWORD level, const NetInfo& info, DWORD* parm_err) override {
    return m_inner->NetLocalGroupAdd(server, level, info, parm_err);
  }
  NET_API_STATUS NetLocalGroupDel(std::string_view server, std::string_view group) override {
    return m_inner->NetLocalGroupDel(server, group);
  }
  NET_API_STATUS NetLocalGroupGetMembers(std::string_view server, std::string_view group, DWORD level, NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries, DWORD* resume) override {
    return m_inner->NetLocalGroupGetMembers(server, group, level, buf, prefmaxlen, entriesread, totalentries, resume);
  }
  NET_API_STATUS NetLocalGroupAddMembers(std::string_view server, std::string_view group, DWORD level, std::span<const SID> sids, std::span<const std::string> names) override {
    return m_inner->NetLocalGroupAddMembers(server, group, level, sids, names);
  }
  NET_API_STATUS NetLocalGroupDelMembers(std::string_view server, std::string_view group, DWORD level, std::span<const SID> sids, std::span<const std::string> names) override {
    return m_inner->NetLocalGroupDelMembers(server, group, level, sids, names);
  }
  NET_API_STATUS NetServerEnum(std::string_view server, DWORD level, NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries, DWORD servertype, std::string_view domain, DWORD* resume) override {
    return m_inner->NetServerEnum(server, level, buf, prefmaxlen, entriesread, totalentries, servertype, domain, resume);
  }
  NET_API_STATUS NetServerGetInfo(std::string_view server, DWORD level, NetBuffer& buf) override {
    return m_inner->NetServerGetInfo(server, level, buf);
  }
  NET_API_STATUS NetGetDCName(std::string_view server, std::string_view domain, std::string* name) override {
    return m_inner->NetGetDCName(server, domain, name);
  }
  NET_API_STATUS NetWkstaGetInfo(std::string_view server, DWORD level, NetBuffer& buf) override {
    return m_inner->NetWkstaGetInfo(server, level, buf);
  }
  NET_API_STATUS NetUserModalsGet(std::string_view server, DWORD level, NetBuffer& buf) override {
    return m_inner->NetUserModalsGet(server, level, buf);
  }
  NET_API_STATUS NetUserModalsSet(std::string_view server, DWORD level, const NetInfo& info, DWORD* parm_err) override {
    return m_inner->NetUserModalsSet(server, level, info, parm_err);
  }
  LONG RegCreateKeyEx(HKEY key, std::string_view subkey, DWORD options, REGSAM access, HKEY* result, DWORD* disposition) override {
    return m_inner->RegCreateKeyEx(key, subkey, options, access, result, disposition);
  }
  LONG RegOpenKeyEx(HKEY key, std::string_view subkey, DWORD options, REGSAM access, HKEY* result) override {
    return m_inner->RegOpenKeyEx(key, subkey, options, access, result);
  }
  LONG RegCloseKey(HKEY key) override {
    return m_inner->RegCloseKey(key);
  }
  LONG RegConnectRegistry(std::string_view machine, HKEY key, HKEY* result) override {
    return m_inner->RegConnectRegistry(machine, key, result);
  }
  LONG RegQueryValueEx(HKEY key, std::string_view name, DWORD* type, std::span<std::uint8_t> data, DWORD* cbData) override {
    return m_inner->RegQueryValueEx(key, name, type, data, cbData);
  }
  LONG RegSetValueEx(HKEY key, std::string_view name, DWORD type, std::span<const std::uint8_t> data) override {
    return m_inner->RegSetValueEx(key, name, type, data);
  }
  LONG RegDeleteValue(HKEY key, std::string_view name) override {
    return m_inner->RegDeleteValue(key, name);
  }
  LONG RegEnumValue(HKEY key, DWORD index, std::string* name, DWORD nameCapacity, DWORD* type, std::span<std::uint8_t> data, DWORD* cbData) override {
    return m_inner->RegEnumValue(key, index, name, nameCapacity, type, data, cbData);
  }
  DWORD LookupAccountName(std::string_view system, std::string_view account, SID* sid, std::string* domain, SID_NAME_USE* use) override {
    return m_inner->LookupAccountName(system, account, sid, domain, use);
  }
  DWORD LookupAccountSid(std::string_view system, const SID& sid, std::string* name, std::string* domain, SID_NAME_USE* use) override {
    return m_inner->LookupAccountSid(system, sid, name, domain, use);
  }
  HANDLE RegisterEventSource(std::string_view server, std::string_view source) override {
    return m_inner->RegisterEventSource(server, source);
  }
  BOOL DeregisterEventSource(HANDLE log) override {
    return m_inner->DeregisterEventSource(log);
  }
  BOOL ReportEvent(HANDLE log, WORD type, WORD category, DWORD eventid, const std::vector<std::string>& strings) override {
    return m_inner->ReportEvent(log, type, category, eventid, strings);
  }
  DWORD ReadEventLog(std::string_view server, std::vector<EventRecord>* records) override {
    return m_inner->ReadEventLog(server, records);
  }
  int GetRASQuick(std::string_view server, std::string_view account, DWORD* permission, std::string* number, DWORD* type) override {
    return m_inner->GetRASQuick(server, account, permission, number, type);
  }
  int GetRAS(std::string_view server, std::string_view account, DWORD* allowed, std::string* number, DWORD* type) override {
    return m_inner->GetRAS(server, account, allowed, number, type);
  }
  int DoRAS(std::string_view server, std::string_view account, DWORD allowed, std::string_view number, DWORD type) override {
    return m_inner->DoRAS(server, account, allowed, number, type);
  }
  BOOL GetVersionEx(OSVERSIONINFOA* info) override {
    return m_inner->GetVersionEx(info);
  }
  BOOL GetUserName(std::string* name) override {
    return m_inner->GetUserName(name);
  }
  BOOL GetComputerName(std::string* name) override {
    return m_inner->GetComputerName(name);
  }

 protected:
  Backend& inner() { return *m_inner; }

 private:
  std::shared_ptr<Backend> m_inner;
};

}  // namespace dlgthreads::testing
