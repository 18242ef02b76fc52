#pragma once
// The interface a backend implements. The program calls only the free
// functions of platform/*.h; they forward to the installed backend, so the
// program never knows which backend serves it.
//
// Implementations must be safe to call from several threads at once (the
// browse workers read while dialogs on the GUI thread write).

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialin.h"
#include "platform/eventlog.h"
#include "platform/netapi.h"
#include "platform/registry.h"
#include "platform/security.h"
#include "platform/system.h"

namespace platform {

class Backend {
 public:
  virtual ~Backend() = default;

  // users
  virtual NET_API_STATUS NetUserEnum(std::string_view server, DWORD level, DWORD filter,
                                     NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread,
                                     DWORD* totalentries, DWORD* resume) = 0;
  virtual NET_API_STATUS NetUserGetInfo(std::string_view server, std::string_view user,
                                        DWORD level, NetBuffer& buf) = 0;
  virtual NET_API_STATUS NetUserSetInfo(std::string_view server, std::string_view user,
                                        DWORD level, const NetInfo& info, DWORD* parm_err) = 0;
  virtual NET_API_STATUS NetUserAdd(std::string_view server, DWORD level, const NetInfo& info,
                                    DWORD* parm_err) = 0;
  virtual NET_API_STATUS NetUserDel(std::string_view server, std::string_view user) = 0;
  virtual NET_API_STATUS NetUserGetGroups(std::string_view server, std::string_view user,
                                          DWORD level, NetBuffer& buf, DWORD prefmaxlen,
                                          DWORD* entriesread, DWORD* totalentries) = 0;
  virtual NET_API_STATUS NetUserGetLocalGroups(std::string_view server, std::string_view user,
                                               DWORD level, DWORD flags, NetBuffer& buf,
                                               DWORD prefmaxlen, DWORD* entriesread,
                                               DWORD* totalentries) = 0;
  virtual NET_API_STATUS NetQueryDisplayInformation(std::string_view server, DWORD level,
                                                    DWORD index, DWORD entriesrequested,
                                                    DWORD prefmaxlen, DWORD* returned,
                                                    NetBuffer& buf) = 0;

  // global groups
  virtual NET_API_STATUS NetGroupEnum(std::string_view server, DWORD level, NetBuffer& buf,
                                      DWORD prefmaxlen, DWORD* entriesread,
                                      DWORD* totalentries, DWORD* resume) = 0;
  virtual NET_API_STATUS NetGroupGetInfo(std::string_view server, std::string_view group,
                                         DWORD level, NetBuffer& buf) = 0;
  virtual NET_API_STATUS NetGroupSetInfo(std::string_view server, std::string_view group,
                                         DWORD level, const NetInfo& info, DWORD* parm_err) = 0;
  virtual NET_API_STATUS NetGroupAdd(std::string_view server, DWORD level, const NetInfo& info,
                                     DWORD* parm_err) = 0;
  virtual NET_API_STATUS NetGroupDel(std::string_view server, std::string_view group) = 0;
  virtual NET_API_STATUS NetGroupGetUsers(std::string_view server, std::string_view group,
                                          DWORD level, NetBuffer& buf, DWORD prefmaxlen,
                                          DWORD* entriesread, DWORD* totalentries,
                                          DWORD* resume) = 0;
  virtual NET_API_STATUS NetGroupAddUser(std::string_view server, std::string_view group,
                                         std::string_view user) = 0;
  virtual NET_API_STATUS NetGroupDelUser(std::string_view server, std::string_view group,
                                         std::string_view user) = 0;

  // local groups
  virtual NET_API_STATUS NetLocalGroupEnum(std::string_view server, DWORD level, NetBuffer& buf,
                                           DWORD prefmaxlen, DWORD* entriesread,
                                           DWORD* totalentries, DWORD* resume) = 0;
  virtual NET_API_STATUS NetLocalGroupGetInfo(std::string_view server, std::string_view group,
                                              DWORD level, NetBuffer& buf) = 0;
  virtual NET_API_STATUS NetLocalGroupSetInfo(std::string_view server, std::string_view group,
                                              DWORD level, const NetInfo& info,
                                              DWORD* parm_err) = 0;
  virtual NET_API_STATUS NetLocalGroupAdd(std::string_view server, DWORD level,
                                          const NetInfo& info, DWORD* parm_err) = 0;
  virtual NET_API_STATUS NetLocalGroupDel(std::string_view server, std::string_view group) = 0;
  virtual NET_API_STATUS NetLocalGroupGetMembers(std::string_view server, std::string_view group,
                                                 DWORD level, NetBuffer& buf, DWORD prefmaxlen,
                                                 DWORD* entriesread, DWORD* totalentries,
                                                 DWORD* resume) = 0;
  virtual NET_API_STATUS NetLocalGroupAddMembers(std::string_view server, std::string_view group,
                                                 DWORD level, std::span<const SID> sids,
                                                 std::span<const std::string> names) = 0;
  virtual NET_API_STATUS NetLocalGroupDelMembers(std::string_view server, std::string_view group,
                                                 DWORD level, std::span<const SID> sids,
                                                 std::span<const std::string> names) = 0;

  // servers, workstations, domain controllers
  virtual NET_API_STATUS NetServerEnum(std::string_view server, DWORD level, NetBuffer& buf,
                                       DWORD prefmaxlen, DWORD* entriesread,
                                       DWORD* totalentries, DWORD servertype,
                                       std::string_view domain, DWORD* resume) = 0;
  virtual NET_API_STATUS NetServerGetInfo(std::string_view server, DWORD level,
                                          NetBuffer& buf) = 0;
  virtual NET_API_STATUS NetGetDCName(std::string_view server, std::string_view domain,
                                      std::string* name) = 0;
  virtual NET_API_STATUS NetWkstaGetInfo(std::string_view server, DWORD level,
                                         NetBuffer& buf) = 0;

  // account policy
  virtual NET_API_STATUS NetUserModalsGet(std::string_view server, DWORD level,
                                          NetBuffer& buf) = 0;
  virtual NET_API_STATUS NetUserModalsSet(std::string_view server, DWORD level,
                                          const NetInfo& info, DWORD* parm_err) = 0;

  // registry
  virtual LONG RegCreateKeyEx(HKEY key, std::string_view subkey, DWORD options, REGSAM access,
                              HKEY* result, DWORD* disposition) = 0;
  virtual LONG RegOpenKeyEx(HKEY key, std::string_view subkey, DWORD options, REGSAM access,
                            HKEY* result) = 0;
  virtual LONG RegCloseKey(HKEY key) = 0;
  virtual LONG RegConnectRegistry(std::string_view machine, HKEY key, HKEY* result) = 0;
  virtual LONG RegQueryValueEx(HKEY key, std::string_view name, DWORD* type,
                               std::span<std::uint8_t> data, DWORD* cbData) = 0;
  virtual LONG RegSetValueEx(HKEY key, std::string_view name, DWORD type,
                             std::span<const std::uint8_t> data) = 0;
  virtual LONG RegDeleteValue(HKEY key, std::string_view name) = 0;
  virtual LONG RegEnumValue(HKEY key, DWORD index, std::string* name, DWORD nameCapacity,
                            DWORD* type, std::span<std::uint8_t> data, DWORD* cbData) = 0;

  // security
  virtual DWORD LookupAccountName(std::string_view system, std::string_view account, SID* sid,
                                  std::string* domain, SID_NAME_USE* use) = 0;
  virtual DWORD LookupAccountSid(std::string_view system, const SID& sid, std::string* name,
                                 std::string* domain, SID_NAME_USE* use) = 0;

  // event log
  virtual HANDLE RegisterEventSource(std::string_view server, std::string_view source) = 0;
  virtual BOOL DeregisterEventSource(HANDLE log) = 0;
  virtual BOOL ReportEvent(HANDLE log, WORD type, WORD category, DWORD eventid,
                           const std::vector<std::string>& strings) = 0;
  virtual DWORD ReadEventLog(std::string_view server, std::vector<EventRecord>* records) = 0;

  // dial-in library
  virtual int GetRASQuick(std::string_view server, std::string_view account, DWORD* permission,
                          std::string* number, DWORD* type) = 0;
  virtual int GetRAS(std::string_view server, std::string_view account, DWORD* allowed,
                     std::string* number, DWORD* type) = 0;
  virtual int DoRAS(std::string_view server, std::string_view account, DWORD allowed,
                    std::string_view number, DWORD type) = 0;

  // system
  virtual BOOL GetVersionEx(OSVERSIONINFOA* info) = 0;
  virtual BOOL GetUserName(std::string* name) = 0;
  virtual BOOL GetComputerName(std::string* name) = 0;
};

// Installs the backend every platform call goes to, and returns the previous
// one. The program installs one at start; tests install a fresh one per test.
std::shared_ptr<Backend> installBackend(std::shared_ptr<Backend> backend);
// The installed backend (never null: without one, every call fails with
// ERROR_NOT_SUPPORTED or 0).
std::shared_ptr<Backend> currentBackend();

// Installs a backend for the life of a scope and restores the previous one.
class ScopedBackend {
 public:
  explicit ScopedBackend(std::shared_ptr<Backend> backend)
      : m_previous(installBackend(std::move(backend))) {}
  ~ScopedBackend() { installBackend(std::move(m_previous)); }
  ScopedBackend(const ScopedBackend&) = delete;
  ScopedBackend& operator=(const ScopedBackend&) = delete;

 private:
  std::shared_ptr<Backend> m_previous;
};

}  // namespace platform
