#pragma once
// The platform backend over a Lab: the local system is the lab's local
// machine, the registry part reaches the lab's machines. Account operations live in
// backend_accounts.cpp, groups in backend_groups.cpp, the registry in
// backend_registry.cpp, the rest in lab_backend.cpp.

#include <functional>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "platform/backend.h"
#include "platform/find_listings.h"
#include "platform/lab/hash_ahead.h"
#include "platform/lab/lab.h"
#include "platform/lab/model.h"

namespace lab {

// One object serves every part; tests derive from it to bend single calls
// and call the base for everything else.
class LabBackend : public platform::LocalSystemPart,
                   public platform::AccountsPart,
                   public platform::ServersPart,
                   public platform::SecurityPart,
                   public platform::NetworkPart,
                   public platform::DialinPart,
                   public platform::EventLogPart,
                   public platform::ChangesPart {
 public:
  explicit LabBackend(std::shared_ptr<Lab> lab)
      : m_lab(std::move(lab)), m_hashAhead(std::thread::hardware_concurrency()) {}

  // changes: a batch's journal records are synced together
  void beginChangeBatch() override { m_lab->beginBatch(); }
  bool endChangeBatch(std::string* error) override {
    if (m_lab->endBatch()) return true;
    if (error) *error = m_lab->lastSaveError();
    return false;
  }

  using DWORD = platform::DWORD;
  using LONG = platform::LONG;
  using HKEY = platform::HKEY;
  using NetBuffer = platform::NetBuffer;
  using NetInfo = platform::NetInfo;
  using SID = platform::SID;

  // users
  DWORD NetUserEnum(std::string_view server, DWORD level, DWORD filter, NetBuffer& buf,
                    DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries,
                    DWORD* resume) override;
  DWORD NetUserGetInfo(std::string_view server, std::string_view user, DWORD level,
                       NetBuffer& buf) override;
  DWORD NetUserSetInfo(std::string_view server, std::string_view user, DWORD level,
                       const NetInfo& info, DWORD* parm_err) override;
  DWORD NetUserAdd(std::string_view server, DWORD level, const NetInfo& info,
                   DWORD* parm_err) override;
  DWORD NetUserDel(std::string_view server, std::string_view user) override;
  // Hashes the passwords ahead on every core (an import's next accounts).
  void PrepareAccountPasswords(std::span<const std::string> passwords) override;
  DWORD NetUserGetGroups(std::string_view server, std::string_view user, DWORD level,
                         NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread,
                         DWORD* totalentries) override;
  DWORD NetUserGetLocalGroups(std::string_view server, std::string_view user, DWORD level,
                              DWORD flags, NetBuffer& buf, DWORD prefmaxlen,
                              DWORD* entriesread, DWORD* totalentries) override;
  DWORD NetQueryDisplayInformation(std::string_view server, DWORD level, DWORD index,
                                   DWORD entriesrequested, DWORD prefmaxlen, DWORD* returned,
                                   NetBuffer& buf) override;

  // global groups
  DWORD NetGroupEnum(std::string_view server, DWORD level, NetBuffer& buf, DWORD prefmaxlen,
                     DWORD* entriesread, DWORD* totalentries, DWORD* resume) override;
  DWORD NetGroupGetInfo(std::string_view server, std::string_view group, DWORD level,
                        NetBuffer& buf) override;
  DWORD NetGroupSetInfo(std::string_view server, std::string_view group, DWORD level,
                        const NetInfo& info, DWORD* parm_err) override;
  DWORD NetGroupAdd(std::string_view server, DWORD level, const NetInfo& info,
                    DWORD* parm_err) override;
  DWORD NetGroupDel(std::string_view server, std::string_view group) override;
  DWORD NetGroupGetUsers(std::string_view server, std::string_view group, DWORD level,
                         NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread,
                         DWORD* totalentries, DWORD* resume) override;
  DWORD NetGroupAddUser(std::string_view server, std::string_view group,
                        std::string_view user) override;
  DWORD NetGroupDelUser(std::string_view server, std::string_view group,
                        std::string_view user) override;

  // local groups
  DWORD NetLocalGroupEnum(std::string_view server, DWORD level, NetBuffer& buf,
                          DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries,
                          DWORD* resume) override;
  DWORD NetLocalGroupGetInfo(std::string_view server, std::string_view group, DWORD level,
                             NetBuffer& buf) override;
  DWORD NetLocalGroupSetInfo(std::string_view server, std::string_view group, DWORD level,
                             const NetInfo& info, DWORD* parm_err) override;
  DWORD NetLocalGroupAdd(std::string_view server, DWORD level, const NetInfo& info,
                         DWORD* parm_err) override;
  DWORD NetLocalGroupDel(std::string_view server, std::string_view group) override;
  DWORD NetLocalGroupGetMembers(std::string_view server, std::string_view group, DWORD level,
                                NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread,
                                DWORD* totalentries, DWORD* resume) override;
  DWORD NetLocalGroupAddMembers(std::string_view server, std::string_view group, DWORD level,
                                std::span<const SID> sids,
                                std::span<const std::string> names) override;
  DWORD NetLocalGroupDelMembers(std::string_view server, std::string_view group, DWORD level,
                                std::span<const SID> sids,
                                std::span<const std::string> names) override;

  // servers, workstations, domain controllers
  DWORD NetServerEnum(std::string_view server, DWORD level, NetBuffer& buf, DWORD prefmaxlen,
                      DWORD* entriesread, DWORD* totalentries, DWORD servertype,
                      std::string_view domain, DWORD* resume) override;
  DWORD NetServerGetInfo(std::string_view server, DWORD level, NetBuffer& buf) override;
  DWORD NetGetDCName(std::string_view server, std::string_view domain,
                     std::string* name) override;
  DWORD NetWkstaGetInfo(std::string_view server, DWORD level, NetBuffer& buf) override;

  // server settings, sessions, open files, shares (backend_servers.cpp)
  DWORD NetServerSetInfo(std::string_view server, DWORD level, const NetInfo& info,
                         DWORD* parm_err) override;
  DWORD NetSessionEnum(std::string_view server, std::string_view client, std::string_view user,
                       DWORD level, NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread,
                       DWORD* totalentries, DWORD* resume) override;
  DWORD NetSessionDel(std::string_view server, std::string_view client,
                      std::string_view user) override;
  DWORD NetFileEnum(std::string_view server, std::string_view basepath, std::string_view user,
                    DWORD level, NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread,
                    DWORD* totalentries, DWORD* resume) override;
  DWORD NetShareEnum(std::string_view server, DWORD level, NetBuffer& buf, DWORD prefmaxlen,
                     DWORD* entriesread, DWORD* totalentries, DWORD* resume) override;
  DWORD NetShareGetInfo(std::string_view server, std::string_view netname, DWORD level,
                        NetBuffer& buf) override;
  DWORD NetShareAdd(std::string_view server, DWORD level, const NetInfo& info,
                    DWORD* parm_err) override;
  DWORD NetShareDel(std::string_view server, std::string_view netname, DWORD reserved) override;
  DWORD NetShareSetInfo(std::string_view server, std::string_view netname, DWORD level,
                        const NetInfo& info, DWORD* parm_err) override;

  // account policy
  DWORD NetUserModalsGet(std::string_view server, DWORD level, NetBuffer& buf) override;
  DWORD NetUserModalsSet(std::string_view server, DWORD level, const NetInfo& info,
                         DWORD* parm_err) override;

  // registry
  LONG RegCreateKeyEx(HKEY key, std::string_view subkey, DWORD options, platform::REGSAM access,
                      HKEY* result, DWORD* disposition) override;
  LONG RegOpenKeyEx(HKEY key, std::string_view subkey, DWORD options, platform::REGSAM access,
                    HKEY* result) override;
  LONG RegCloseKey(HKEY key) override;
  LONG RegConnectRegistry(std::string_view machine, HKEY key, HKEY* result) override;
  LONG RegQueryValueEx(HKEY key, std::string_view name, DWORD* type,
                       std::span<std::uint8_t> data, DWORD* cbData) override;
  LONG RegSetValueEx(HKEY key, std::string_view name, DWORD type,
                     std::span<const std::uint8_t> data) override;
  LONG RegDeleteValue(HKEY key, std::string_view name) override;
  LONG RegEnumValue(HKEY key, DWORD index, std::string* name, DWORD nameCapacity, DWORD* type,
                    std::span<std::uint8_t> data, DWORD* cbData) override;

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

  // event log
  platform::HANDLE RegisterEventSource(std::string_view server,
                                       std::string_view source) override;
  platform::BOOL DeregisterEventSource(platform::HANDLE log) override;
  platform::BOOL ReportEvent(platform::HANDLE log, platform::WORD type, platform::WORD category,
                             DWORD eventid, const std::vector<std::string>& strings) override;
  DWORD ReadEventLog(std::string_view server, std::vector<platform::EventRecord>* records) override;

  // network enumeration (backend_network.cpp)
  DWORD WNetOpenEnum(DWORD scope, DWORD type, DWORD usage, const platform::NETRESOURCE* container,
                     platform::HANDLE* enumHandle) override;
  DWORD WNetEnumResource(platform::HANDLE enumHandle, DWORD* count,
                         std::vector<platform::NETRESOURCE>& buffer, DWORD* bufferSize) override;
  DWORD WNetCloseEnum(platform::HANDLE enumHandle) override;
  // backend_performance.cpp
  DWORD MultinetGetConnectionPerformance(const platform::NETRESOURCE& resource,
                                         platform::NETCONNECTINFOSTRUCT* info) override;

  // dial-in library
  int GetRASQuick(std::string_view server, std::string_view account, DWORD* permission,
                  std::string* number, DWORD* type) override;
  int GetRAS(std::string_view server, std::string_view account, DWORD* allowed,
             std::string* number, DWORD* type) override;
  int DoRAS(std::string_view server, std::string_view account, DWORD allowed,
            std::string_view number, DWORD type) override;

  // system
  platform::BOOL GetVersionEx(platform::OSVERSIONINFOA* info) override;
  platform::BOOL GetUserName(std::string* name) override;
  platform::BOOL GetComputerName(std::string* name) override;

 private:
  // Runs a change under the lab's write lock; `f` names what it changed in
  // the ChangeSet, which the lab records when the change answers 0. A failed
  // record answers ERROR_WRITE_FAULT.
  DWORD change(const std::function<DWORD(Network&, ChangeSet&)>& f);
  // Runs a read under the lab's read lock.
  DWORD query(const std::function<DWORD(const Network&)>& f) const;

  // An open registry key: which hive of whose registry, and where in it.
  struct OpenKey {
    std::string machine;  // empty: the logged-on user's own hive
    std::string hive;
    std::string path;     // as given, without leading or trailing backslashes
    platform::REGSAM access = 0;
  };
  bool openKeyOf(HKEY key, OpenKey* out) const;
  HKEY addHandle(OpenKey key);

  std::shared_ptr<Lab> m_lab;
  HashAhead m_hashAhead;

  mutable std::mutex m_handleMutex;
  std::unordered_map<HKEY, OpenKey> m_keys;
  std::unordered_map<platform::HANDLE, std::pair<std::string, std::string>> m_eventSources;
  platform::FindListings m_listings;
  // The SIDs the logged-on account reaches files with on one machine; a
  // change through this backend (a group membership, say) forgets them.
  std::vector<platform::SID> accessSids(const Network& net, const Machine& m) const;
  mutable std::pair<std::string, std::string> m_accessSidsFor;  // account, machine
  mutable std::vector<platform::SID> m_accessSids;
  // An open network enumeration: the container's children as they were at
  // the open, and how many were handed out.
  struct OpenEnum {
    std::vector<platform::NETRESOURCE> entries;
    std::size_t next = 0;
  };
  std::unordered_map<platform::HANDLE, OpenEnum> m_enums;
  std::uint64_t m_nextHandle = 0x1000;
};

}  // namespace lab
