#pragma once
// The samba backend: the accounts, servers, account look-ups and dial-in
// permissions of real NT-style domains, served by Samba's libnetapi against the domain
// controller named in each call, and by the controller's directory (LDAP)
// where libnetapi is missing, faulty or slow. docs/samba-backend.md lists
// every operation and how it is served.
//
// Calls are serialised (libnetapi's connection cache is shared by the
// process); a controller that does not answer fails the call with 53.

#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/backend.h"
#include "platform/find_listings.h"
#include "platform/samba/account_fields.h"
#include "platform/samba/credentials.h"
#include "platform/samba/directory.h"
#include "platform/samba/netapi_session.h"
#include "platform/samba/rpc_pipe.h"
#include "platform/samba/samr_limits.h"
#include "platform/samba/share_files.h"
#include "platform/samba/status_codes.h"
#include "platform/samba/version_registry.h"

namespace platform::samba {

struct SambaOptions {
  Credentials credentials;
  // The controller an empty server name means (the program's "local
  // machine" is not a domain controller here); empty: none.
  std::string defaultServer;
  // False serves everything through libnetapi, as against an NT4-style
  // controller, which has no directory.
  bool useDirectory = true;
  // Asks for credentials when there are none, and again when a controller
  // refuses them. Empty for an unattended run: it fails instead (1326).
  LogonPrompt askLogon;
  // After a controller has let a call time out (or dropped the connection),
  // its calls fail at once (53) for this long, so a browse of many calls
  // ends after the first time-out instead of waiting out each one.
  std::chrono::milliseconds quietAfterTimeout{15000};
  // A directory answers the root entry's question at once when it works;
  // one that does not within this long has stopped answering. Connecting
  // to it (the bind) is bounded by `directoryConnect`.
  std::chrono::milliseconds directoryQuestion{10000};
  std::chrono::seconds directoryConnect{20};
};

class SambaBackend final : public AccountsPart,
                           public ServersPart,
                           public SecurityPart,
                           public DialinPart {
 public:
  // Null with *error set when Samba's library cannot start.
  static std::shared_ptr<SambaBackend> start(SambaOptions options, std::string* error);
  SambaBackend(SambaOptions options, std::shared_ptr<NetapiSession> session);

  // The account the backend acts as (no password), for the window to show.
  Credentials account() const;
  bool haveCredentials() const;
  void setLogonPrompt(LogonPrompt prompt);
  // Asks the user (when there is a prompt) and acts with the answer. False
  // when there is no prompt or the user cancelled.
  bool askCredentials(std::string_view server, bool refused);
  // The domain the program's own machine counts as in: the credentials',
  // else the workgroup of Samba's configuration.
  std::string machineDomain() const;
  // The systems of the domain computers the browse list has read, which
  // the registry stand-in (VersionRegistry) answers from.
  std::shared_ptr<const ComputerSystems> computerSystems() const { return m_computerSystems; }

  // users (samba_users.cpp)
  NET_API_STATUS NetUserEnum(std::string_view servername, DWORD level, DWORD filter,
                             NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread,
                             DWORD* totalentries, DWORD* resume) override;
  NET_API_STATUS NetUserGetInfo(std::string_view servername, std::string_view username,
                                DWORD level, NetBuffer& buf) override;
  NET_API_STATUS NetUserSetInfo(std::string_view servername, std::string_view username,
                                DWORD level, const NetInfo& info, DWORD* parm_err) override;
  NET_API_STATUS NetUserAdd(std::string_view servername, DWORD level, const NetInfo& info,
                            DWORD* parm_err) override;
  NET_API_STATUS NetUserDel(std::string_view servername, std::string_view username) override;
  NET_API_STATUS NetUserGetGroups(std::string_view servername, std::string_view username,
                                  DWORD level, NetBuffer& buf, DWORD prefmaxlen,
                                  DWORD* entriesread, DWORD* totalentries) override;
  NET_API_STATUS NetUserGetLocalGroups(std::string_view servername, std::string_view username,
                                       DWORD level, DWORD flags, NetBuffer& buf,
                                       DWORD prefmaxlen, DWORD* entriesread,
                                       DWORD* totalentries) override;
  NET_API_STATUS NetQueryDisplayInformation(std::string_view servername, DWORD level,
                                            DWORD index, DWORD entriesrequested,
                                            DWORD prefmaxlen, DWORD* returned,
                                            NetBuffer& buf) override;

  // global and local groups (samba_groups.cpp)
  NET_API_STATUS NetGroupEnum(std::string_view servername, DWORD level, NetBuffer& buf,
                              DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries,
                              DWORD* resume) override;
  NET_API_STATUS NetGroupGetInfo(std::string_view servername, std::string_view groupname,
                                 DWORD level, NetBuffer& buf) override;
  NET_API_STATUS NetGroupSetInfo(std::string_view servername, std::string_view groupname,
                                 DWORD level, const NetInfo& info, DWORD* parm_err) override;
  NET_API_STATUS NetGroupAdd(std::string_view servername, DWORD level, const NetInfo& info,
                             DWORD* parm_err) override;
  NET_API_STATUS NetGroupDel(std::string_view servername, std::string_view groupname) override;
  NET_API_STATUS NetGroupGetUsers(std::string_view servername, std::string_view groupname,
                                  DWORD level, NetBuffer& buf, DWORD prefmaxlen,
                                  DWORD* entriesread, DWORD* totalentries,
                                  DWORD* resume) override;
  NET_API_STATUS NetGroupAddUser(std::string_view servername, std::string_view groupname,
                                 std::string_view username) override;
  NET_API_STATUS NetGroupDelUser(std::string_view servername, std::string_view groupname,
                                 std::string_view username) override;
  NET_API_STATUS NetLocalGroupEnum(std::string_view servername, DWORD level, NetBuffer& buf,
                                   DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries,
                                   DWORD* resume) override;
  NET_API_STATUS NetLocalGroupGetInfo(std::string_view servername, std::string_view groupname,
                                      DWORD level, NetBuffer& buf) override;
  NET_API_STATUS NetLocalGroupSetInfo(std::string_view servername, std::string_view groupname,
                                      DWORD level, const NetInfo& info,
                                      DWORD* parm_err) override;
  NET_API_STATUS NetLocalGroupAdd(std::string_view servername, DWORD level, const NetInfo& info,
                                  DWORD* parm_err) override;
  NET_API_STATUS NetLocalGroupDel(std::string_view servername,
                                  std::string_view groupname) override;
  NET_API_STATUS NetLocalGroupGetMembers(std::string_view servername,
                                         std::string_view groupname, DWORD level,
                                         NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread,
                                         DWORD* totalentries, DWORD* resume) override;
  NET_API_STATUS NetLocalGroupAddMembers(std::string_view servername,
                                         std::string_view groupname, DWORD level,
                                         std::span<const SID> sids,
                                         std::span<const std::string> names) override;
  NET_API_STATUS NetLocalGroupDelMembers(std::string_view servername,
                                         std::string_view groupname, DWORD level,
                                         std::span<const SID> sids,
                                         std::span<const std::string> names) override;

  // account policy, servers (samba_domain.cpp)
  NET_API_STATUS NetUserModalsGet(std::string_view servername, DWORD level,
                                  NetBuffer& buf) override;
  NET_API_STATUS NetUserModalsSet(std::string_view servername, DWORD level, const NetInfo& info,
                                  DWORD* parm_err) override;
  NET_API_STATUS NetServerEnum(std::string_view servername, DWORD level, NetBuffer& buf,
                               DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries,
                               DWORD servertype, std::string_view domain,
                               DWORD* resume) override;
  NET_API_STATUS NetServerGetInfo(std::string_view servername, DWORD level,
                                  NetBuffer& buf) override;
  NET_API_STATUS NetGetDCName(std::string_view servername, std::string_view domainname,
                              std::string* name) override;
  NET_API_STATUS NetWkstaGetInfo(std::string_view servername, DWORD level,
                                 NetBuffer& buf) override;

  // a server's settings, sessions, open files and shares (samba_server_admin.cpp)
  NET_API_STATUS NetServerSetInfo(std::string_view servername, DWORD level, const NetInfo& info,
                                  DWORD* parm_err) override;
  NET_API_STATUS NetSessionEnum(std::string_view servername, std::string_view client,
                                std::string_view user, DWORD level, NetBuffer& buf,
                                DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries,
                                DWORD* resume) override;
  NET_API_STATUS NetSessionDel(std::string_view servername, std::string_view client,
                               std::string_view user) override;
  NET_API_STATUS NetFileEnum(std::string_view servername, std::string_view basepath,
                             std::string_view user, DWORD level, NetBuffer& buf,
                             DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries,
                             DWORD* resume) override;
  NET_API_STATUS NetShareEnum(std::string_view servername, DWORD level, NetBuffer& buf,
                              DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries,
                              DWORD* resume) override;
  NET_API_STATUS NetShareGetInfo(std::string_view servername, std::string_view netname,
                                 DWORD level, NetBuffer& buf) override;
  NET_API_STATUS NetShareAdd(std::string_view servername, DWORD level, const NetInfo& info,
                             DWORD* parm_err) override;
  NET_API_STATUS NetShareDel(std::string_view servername, std::string_view netname,
                             DWORD reserved) override;
  NET_API_STATUS NetShareSetInfo(std::string_view servername, std::string_view netname,
                                 DWORD level, const NetInfo& info, DWORD* parm_err) override;

  // The server whose lists the network enumeration shows: the default
  // controller (""), else the controller last reached, else the one of
  // the machine's domain; "" when there is none.
  std::string networkServer();
  // The address the backend reaches `server` at (as its other calls do);
  // false when there is none.
  bool addressOf(std::string_view server, std::string* out);
  // Runs `use` on the server's pipe of `which` (connected when it is not),
  // under the session lock: 53 when the server cannot be reached or stops
  // answering, else what `use` answers. For the registry of other machines.
  DWORD onPipe(std::string_view server, RpcInterface which,
               const std::function<DWORD(RpcPipe&)>& use);
  // The same at an address already reached, the session lock held.
  DWORD onPipeAt(const std::string& at, RpcInterface which,
                 const std::function<DWORD(RpcPipe&)>& use);

  // the domain's trust relationships (samba_trusts.cpp)
  DWORD DsEnumerateDomainTrusts(std::string_view servername, DWORD flags,
                                std::vector<DS_DOMAIN_TRUSTS>* domains) override;

  // dial-in permissions (samba_dialin.cpp)
  int GetRASQuick(std::string_view server, std::string_view account, DWORD* permission,
                  std::string* callbackNumber, DWORD* callbackType) override;
  int GetRAS(std::string_view server, std::string_view account, DWORD* allowed,
             std::string* callbackNumber, DWORD* callbackType) override;
  int DoRAS(std::string_view server, std::string_view account, DWORD allowed,
            std::string_view callbackNumber, DWORD callbackType) override;

  // account look-ups (samba_lookups.cpp)
  DWORD LookupAccountName(std::string_view systemname, std::string_view accountname, SID* sid,
                          std::string* domain, SID_NAME_USE* use) override;
  DWORD LookupAccountSid(std::string_view systemname, const SID& sid, std::string* name,
                         std::string* domain, SID_NAME_USE* use) override;

  // files on the servers' shares (samba_files.cpp)
  DWORD FindFirstFile(std::string_view fileName, FIND_HANDLE* handle,
                      WIN32_FIND_DATA* data) override;
  DWORD FindNextFile(FIND_HANDLE handle, WIN32_FIND_DATA* data) override;
  DWORD FindClose(FIND_HANDLE handle) override;
  DWORD GetFileSecurity(std::string_view fileName, SECURITY_INFORMATION requested,
                        SECURITY_DESCRIPTOR* descriptor, DWORD length,
                        DWORD* lengthNeeded) override;
  DWORD GetVolumeInformation(std::string_view rootPathName, std::string* volumeName,
                             DWORD* serialNumber, DWORD* maximumComponentLength,
                             DWORD* fileSystemFlags, std::string* fileSystemName) override;
  DWORD CreateDirectory(std::string_view pathName) override;

 private:
  // Where a UNC path leads the share client.
  struct ShareTarget {
    std::string address;  // the server's, as the other calls reach it
    std::string url;      // the path's
    std::string root;     // the share's own
    std::string rest;     // the path below the share
  };
  // The target of a UNC path, once its server has accepted the credentials
  // (the share client then acts with the same ones). 50 for a local path
  // (nothing local to list on a remote controller), 123 for what is no UNC
  // path.
  DWORD shareTarget(std::string_view path, ShareTarget* out);
  // The status of a share call asked at `asked` that answered `status`: a
  // missing path on a share that cannot be reached at all is a missing share
  // (67); a server that let the call time out is left alone for a spell.
  DWORD shareStatus(DWORD status, const ShareTarget& target,
                    std::chrono::steady_clock::time_point asked);
  // The platform's status for a pipe call's `status` at `address`.
  DWORD pipeStatus(DWORD status, const std::string& address);
  // The share `name` of the server at `address`, from its enumeration.
  DWORD findShare(const std::string& address, std::string_view name, SHARE_INFO_2* out);
  // The platform's status for libnetapi's answer to a share call.
  DWORD shareAnswer(DWORD status, const std::string& address);
  // Adds or removes local group members given by SID (level 0) or by name
  // (level 3).
  DWORD changeLocalGroupMembers(bool add, std::string_view servername,
                                std::string_view groupname, DWORD level,
                                std::span<const SID> sids, std::span<const std::string> names);

  // The following expect the session lock to be held.

  // The platform's status for libnetapi's answer `status` to a call of
  // `family` at `address`. libnetapi answers 1003 both when the server
  // cannot be reached and when it refuses the credentials; the two get
  // their own codes (53 and 1326) so the program can tell them apart.
  DWORD answer(DWORD status, Family family, const std::string& address);

  // The address of `server` (as address() finds it), once its controller
  // has accepted the credentials: 0, 53 when it does not answer, 1326
  // when it refuses the credentials and the user gives no better ones (or
  // cannot be asked). Runs the logon prompt with the session let go. A
  // controller whose directory stopped answering is 53 too: its answers
  // without the directory would be partial.
  DWORD reach(std::string_view server, std::string* at, SessionLock& lock);
  DWORD logOn(std::string_view server, std::string* at, SessionLock& lock);
  // Connects to the directory of the controller at `address` unless it is
  // connected, or known to have none: 0, or 53 when it stopped answering.
  DWORD openDirectory(const std::string& address);
  // The prompt, with the session let go (another thread's call may need it
  // to end, the prompt's window may need this one's).
  bool askCredentialsUnlocked(std::string_view server, bool refused, SessionLock& lock);

  // True for the name of the machine the program runs on (empty, with no
  // default controller): it is no server, and answers from here.
  bool isLocalMachine(std::string_view server) const;
  // The address libnetapi and LDAP reach for a server name ("\\NAME",
  // "NAME", an address, or empty for the default controller). False when
  // there is none.
  bool address(std::string_view server, std::string* out);
  // The directory of the controller at `address`, or null when it has none
  // (remembered for a minute, so an NT4-style controller is not asked at
  // every call, and a controller still starting is asked again).
  Directory* directory(const std::string& address);
  // The domain's NetBIOS name as the controller at `address` reports it.
  std::string domainName(const std::string& address);
  // The user's USER_INFO_3, from the directory when there is one. Without
  // `flags` the account's security descriptor is not read (its flags lack
  // UF_PASSWD_CANT_CHANGE): for callers that want names only.
  DWORD readUser(const std::string& address, std::string_view name, USER_INFO_3* out,
                 bool flags = true);
  DWORD readUsers(const std::string& address, DWORD filter, std::vector<USER_INFO_3>* out,
                  bool flags = true);
  // Sets the fields of `wanted` that differ from the account's, each at
  // its own level (libnetapi's level 3 loses some and fails when fed back).
  // An account's expiry, logon hours and "must change password" where no
  // directory keeps them: the account database's own write.
  DWORD setAccountLimits(const std::string& address, const std::string& name,
                         const USER_INFO_3& wanted, bool expiry, bool hours, bool expired);
  DWORD writeAccountLimits(const std::string& address, const std::string& name,
                           const vt_samr_limits& limits);
  DWORD applyUserChanges(const std::string& address, std::string_view name,
                         const USER_INFO_3& wanted, bool passwordGiven);
  // NetUserAdd once the password to send is known.
  DWORD addUser(std::string_view servername, DWORD level, const USER_INFO_3& wanted,
                DWORD* parm_err);
  // Display information of users or computers from the directory: libnetapi
  // gives their flags as 0 (users) or raw account-control bits (computers).
  DWORD displayFromDirectory(const std::string& address, Directory& dir, DWORD level,
                             DWORD index, DWORD entriesrequested, DWORD prefmaxlen,
                             DWORD* returned, NetBuffer& buf);
  DWORD setAccountControl(const std::string& address, std::string_view name, DWORD flags);
  // A computer account of the domain, as the browse list's stand-in reads it.
  struct Computer {
    std::string name;  // with its trailing '$'
    std::string comment;
    DWORD control = 0;  // UF_ flags
    std::string system;   // operating system, where the directory holds it
    std::string version;  // "6.1 (7601)"
    std::string servicePack;
  };
  // The directory's computer objects, or libnetapi's machine display
  // information without one. False when the controller did not answer.
  bool readComputers(const std::string& address, std::vector<Computer>* out);
  // The controller role (SV_TYPE_DOMAIN_CTRL, SV_TYPE_DOMAIN_BAKCTRL) of
  // the server `name` of the domain of the controller at `address`, whose
  // own type is `reported`; 0 for a machine that is no controller.
  DWORD controllerRole(const std::string& address, std::string_view name, DWORD reported);
  // The name of the domain's primary controller (its PDC role owner), from
  // the directory; empty without one.
  std::string primaryController(const std::string& address);
  // An account by "name" or "DOMAIN\name", through the directory.
  DWORD lookupName(const std::string& address, std::string_view account, SID* sid,
                   std::string* domain, SID_NAME_USE* use);

  SambaOptions m_options;
  std::shared_ptr<NetapiSession> m_session;
  // Guards the credentials and the prompt (asked by one thread at a time);
  // taken after the session lock, never before.
  mutable std::mutex m_logonMutex;
  unsigned m_credentialsGeneration = 0;
  bool m_asking = false;
  // Controllers that accepted the current credentials.
  std::set<std::string> m_loggedOn;
  std::map<std::string, std::unique_ptr<Directory>> m_directories;
  std::string m_lastReached;  // address
  // Pipes to servers, by address and interface. A connect and a call each
  // have their own bound, together within the 35 s a platform call may take.
  static constexpr int kRpcConnectSeconds = 15;
  static constexpr int kRpcCallSeconds = 20;
  std::map<std::pair<std::string, int>, std::unique_ptr<RpcPipe>> m_pipes;
  // The display information rows the last first page read, for the pages
  // after it.
  struct DisplayRow {
    DWORD rid = 0;
    DWORD flags = 0;
    std::string name;
    std::string comment;
    std::string fullName;
  };
  struct DisplayRows {
    std::string address;
    DWORD level = 0;
    std::chrono::steady_clock::time_point readAt;
    std::vector<DisplayRow> rows;
  };
  DisplayRows m_displayRows;
  // The accounts the last first page of a user enumeration read, for the
  // pages after it: a continued enumeration does not read them all again.
  struct UserPages {
    std::string address;
    DWORD filter = 0;
    bool flags = false;
    std::chrono::steady_clock::time_point readAt;
    std::vector<USER_INFO_3> users;
  };
  UserPages m_userPages;
  std::map<std::string, std::chrono::steady_clock::time_point> m_withoutDirectory;
  std::map<std::string, std::string> m_domainNames;  // by address
  // Controllers that stopped answering, and until when they are left alone.
  std::map<std::string, std::chrono::steady_clock::time_point> m_quietUntil;
  // Marks `address` as not answering for a quiet spell; its directory
  // connection is dropped.
  void leaveAlone(const std::string& address);
  // Drops the connections to `address` (and the library's, which it keeps
  // per process): the next call connects and logs on anew.
  void forgetConnections(const std::string& address);
  std::map<std::string, std::string> m_addresses;    // upper-case NetBIOS name -> address
  // Dial-in states read along with the users, by address and account name:
  // the Users browse asks for each account's right after its enumeration.
  std::map<std::pair<std::string, std::string>, DialinState, std::less<>> m_dialin;
  std::shared_ptr<ComputerSystems> m_computerSystems = std::make_shared<ComputerSystems>();
  FindListings m_listings;
  ShareFiles m_files;
};

// The catalog's factory: options "authentication-file" (Samba's format),
// "server" (the controller of an empty server name) and "directory"
// ("off" serves everything through libnetapi).
BackendFactory sambaBackendFactory();

}  // namespace platform::samba
