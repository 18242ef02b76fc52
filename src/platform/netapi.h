#pragma once
// Network management (LAN Manager) operations: users, groups, local groups,
// display information, servers, workstations, account policy.
//
// Every operation returns its Win32 status and never throws. Results come
// back in a NetBuffer, which owns them (freeing a buffer is its destructor).
// Server names are accepted with or without the leading "\\"; an empty
// server is the local machine.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/types.h"

namespace platform {

// ---- user flags (usri*_flags) ----
constexpr DWORD UF_SCRIPT = 0x0001;
constexpr DWORD UF_ACCOUNTDISABLE = 0x0002;
constexpr DWORD UF_HOMEDIR_REQUIRED = 0x0008;
constexpr DWORD UF_LOCKOUT = 0x0010;
constexpr DWORD UF_PASSWD_NOTREQD = 0x0020;
constexpr DWORD UF_PASSWD_CANT_CHANGE = 0x0040;
constexpr DWORD UF_TEMP_DUPLICATE_ACCOUNT = 0x0100;
constexpr DWORD UF_NORMAL_ACCOUNT = 0x0200;
constexpr DWORD UF_INTERDOMAIN_TRUST_ACCOUNT = 0x0800;
constexpr DWORD UF_WORKSTATION_TRUST_ACCOUNT = 0x1000;
constexpr DWORD UF_SERVER_TRUST_ACCOUNT = 0x2000;
constexpr DWORD UF_DONT_EXPIRE_PASSWD = 0x10000;

// The password of an account nobody is to know (a copied account, an
// imported one the file gives no password): each backend keeps a secret no
// one is told, a real domain a random password, the lab a mark no password
// matches. It starts with a NUL, which no password typed or read from a file
// can hold, so no real password is ever taken for it.
inline constexpr std::string_view kUnknownPassword{"\0unknown", 8};

// ---- user privilege levels ----
constexpr DWORD USER_PRIV_GUEST = 0;
constexpr DWORD USER_PRIV_USER = 1;
constexpr DWORD USER_PRIV_ADMIN = 2;

// ---- NetUserEnum filters ----
constexpr DWORD FILTER_TEMP_DUPLICATE_ACCOUNT = 0x0001;
constexpr DWORD FILTER_NORMAL_ACCOUNT = 0x0002;
constexpr DWORD FILTER_INTERDOMAIN_TRUST_ACCOUNT = 0x0008;
constexpr DWORD FILTER_WORKSTATION_TRUST_ACCOUNT = 0x0010;
constexpr DWORD FILTER_SERVER_TRUST_ACCOUNT = 0x0020;

// ---- NetUserGetLocalGroups flags ----
constexpr DWORD LG_INCLUDE_INDIRECT = 0x0001;

// ---- group attributes ----
constexpr DWORD SE_GROUP_MANDATORY = 0x1;
constexpr DWORD SE_GROUP_ENABLED_BY_DEFAULT = 0x2;
constexpr DWORD SE_GROUP_ENABLED = 0x4;

// ---- server types (sv*_type), in the order of the Servers display ----
constexpr DWORD SV_TYPE_WORKSTATION = 0x00000001;
constexpr DWORD SV_TYPE_SERVER = 0x00000002;
constexpr DWORD SV_TYPE_SQLSERVER = 0x00000004;
constexpr DWORD SV_TYPE_DOMAIN_CTRL = 0x00000008;
constexpr DWORD SV_TYPE_DOMAIN_BAKCTRL = 0x00000010;
constexpr DWORD SV_TYPE_TIME_SOURCE = 0x00000020;
constexpr DWORD SV_TYPE_AFP = 0x00000040;
constexpr DWORD SV_TYPE_NOVELL = 0x00000080;
constexpr DWORD SV_TYPE_DOMAIN_MEMBER = 0x00000100;
constexpr DWORD SV_TYPE_PRINTQ_SERVER = 0x00000200;
constexpr DWORD SV_TYPE_DIALIN_SERVER = 0x00000400;
constexpr DWORD SV_TYPE_XENIX_SERVER = 0x00000800;
constexpr DWORD SV_TYPE_SERVER_UNIX = SV_TYPE_XENIX_SERVER;
constexpr DWORD SV_TYPE_NT = 0x00001000;
constexpr DWORD SV_TYPE_WFW = 0x00002000;
constexpr DWORD SV_TYPE_SERVER_MFPN = 0x00004000;
constexpr DWORD SV_TYPE_SERVER_NT = 0x00008000;
constexpr DWORD SV_TYPE_POTENTIAL_BROWSER = 0x00010000;
constexpr DWORD SV_TYPE_BACKUP_BROWSER = 0x00020000;
constexpr DWORD SV_TYPE_MASTER_BROWSER = 0x00040000;
constexpr DWORD SV_TYPE_DOMAIN_MASTER = 0x00080000;
constexpr DWORD SV_TYPE_SERVER_OSF = 0x00100000;
constexpr DWORD SV_TYPE_SERVER_VMS = 0x00200000;
constexpr DWORD SV_TYPE_WINDOWS = 0x00400000;
constexpr DWORD SV_TYPE_DFS = 0x00800000;
constexpr DWORD SV_TYPE_DOMAIN_ENUM = 0x80000000;
constexpr DWORD SV_TYPE_ALL = 0xFFFFFFFF;

constexpr DWORD PLATFORM_ID_DOS = 300;
constexpr DWORD PLATFORM_ID_OS2 = 400;
constexpr DWORD PLATFORM_ID_NT = 500;

// ---- structures ----
struct USER_INFO_0 {
  std::string usri0_name;
};

struct USER_INFO_1 {
  std::string usri1_name;
  std::string usri1_password;
  DWORD usri1_password_age = 0;
  DWORD usri1_priv = USER_PRIV_USER;
  std::string usri1_home_dir;
  std::string usri1_comment;
  DWORD usri1_flags = UF_SCRIPT | UF_NORMAL_ACCOUNT;
  std::string usri1_script_path;
};

struct USER_INFO_3 {
  std::string usri3_name;
  std::string usri3_password;  // never returned by reads
  DWORD usri3_password_age = 0;  // seconds since the password was last set
  DWORD usri3_priv = USER_PRIV_USER;
  std::string usri3_home_dir;
  std::string usri3_comment;
  DWORD usri3_flags = UF_SCRIPT | UF_NORMAL_ACCOUNT;
  std::string usri3_script_path;
  DWORD usri3_auth_flags = 0;
  std::string usri3_full_name;
  std::string usri3_usr_comment;
  std::string usri3_parms;
  std::string usri3_workstations;
  DWORD usri3_last_logon = 0;   // seconds since 1970, 0 = never
  DWORD usri3_last_logoff = 0;  // seconds since 1970, 0 = unknown
  DWORD usri3_acct_expires = TIMEQ_FOREVER;
  DWORD usri3_max_storage = USER_MAXSTORAGE_UNLIMITED;
  DWORD usri3_units_per_week = 168;
  std::vector<std::uint8_t> usri3_logon_hours;  // 21 bytes, empty = all hours
  DWORD usri3_bad_pw_count = 0;
  DWORD usri3_num_logons = 0;
  std::string usri3_logon_server;
  DWORD usri3_country_code = 0;
  DWORD usri3_code_page = 0;
  DWORD usri3_user_id = 0;
  DWORD usri3_primary_group_id = 513;
  std::string usri3_profile;
  std::string usri3_home_dir_drive;
  DWORD usri3_password_expired = 0;

  bool operator==(const USER_INFO_3&) const = default;
};

// Single-field set levels used by the dialogs.
struct USER_INFO_1003 {
  std::string usri1003_password;
};
struct USER_INFO_1007 {
  std::string usri1007_comment;
};
struct USER_INFO_1008 {
  DWORD usri1008_flags = 0;
};

struct GROUP_INFO_0 {
  std::string grpi0_name;
};
struct GROUP_INFO_1 {
  std::string grpi1_name;
  std::string grpi1_comment;
};
struct GROUP_INFO_2 {
  std::string grpi2_name;
  std::string grpi2_comment;
  DWORD grpi2_group_id = 0;
  DWORD grpi2_attributes = SE_GROUP_MANDATORY | SE_GROUP_ENABLED_BY_DEFAULT | SE_GROUP_ENABLED;
};
struct GROUP_INFO_1002 {
  std::string grpi1002_comment;
};

struct GROUP_USERS_INFO_0 {
  std::string grui0_name;
};
struct GROUP_USERS_INFO_1 {
  std::string grui1_name;
  DWORD grui1_attributes = 0;
};

struct LOCALGROUP_INFO_0 {
  std::string lgrpi0_name;
};
struct LOCALGROUP_INFO_1 {
  std::string lgrpi1_name;
  std::string lgrpi1_comment;
};
struct LOCALGROUP_INFO_1002 {
  std::string lgrpi1002_comment;
};

struct LOCALGROUP_MEMBERS_INFO_0 {
  SID lgrmi0_sid;
};
struct LOCALGROUP_MEMBERS_INFO_1 {
  SID lgrmi1_sid;
  SID_NAME_USE lgrmi1_sidusage = SidTypeUser;
  std::string lgrmi1_name;
};
struct LOCALGROUP_MEMBERS_INFO_2 {
  SID lgrmi2_sid;
  SID_NAME_USE lgrmi2_sidusage = SidTypeUser;
  std::string lgrmi2_domainandname;
};
struct LOCALGROUP_MEMBERS_INFO_3 {
  std::string lgrmi3_domainandname;
};

struct LOCALGROUP_USERS_INFO_0 {
  std::string lgrui0_name;
};

// NetQueryDisplayInformation levels 1 (users), 2 (machines), 3 (groups).
struct NET_DISPLAY_USER {
  std::string usri1_name;
  std::string usri1_comment;
  DWORD usri1_flags = 0;
  std::string usri1_full_name;
  DWORD usri1_user_id = 0;
  DWORD usri1_next_index = 0;
};
struct NET_DISPLAY_MACHINE {
  std::string usri2_name;
  std::string usri2_comment;
  DWORD usri2_flags = 0;
  DWORD usri2_user_id = 0;
  DWORD usri2_next_index = 0;
};
struct NET_DISPLAY_GROUP {
  std::string grpi3_name;
  std::string grpi3_comment;
  DWORD grpi3_group_id = 0;
  DWORD grpi3_attributes = 0;
  DWORD grpi3_next_index = 0;
};

struct SERVER_INFO_100 {
  DWORD sv100_platform_id = PLATFORM_ID_NT;
  std::string sv100_name;
};
struct SERVER_INFO_101 {
  DWORD sv101_platform_id = PLATFORM_ID_NT;
  std::string sv101_name;
  DWORD sv101_version_major = 4;  // the low four bits are the major version
  DWORD sv101_version_minor = 0;
  DWORD sv101_type = 0;
  std::string sv101_comment;
};

// NetServerGetInfo level 102: what the server information dialog shows.
struct SERVER_INFO_102 {
  DWORD sv102_platform_id = PLATFORM_ID_NT;
  std::string sv102_name;
  DWORD sv102_version_major = 4;
  DWORD sv102_version_minor = 0;
  DWORD sv102_type = 0;
  std::string sv102_comment;
  DWORD sv102_users = 0;      // user limit
  LONG sv102_disc = 15;       // auto-disconnect minutes; SV_NODISC = never
  DWORD sv102_hidden = 0;     // 1: left out of browse lists
  DWORD sv102_announce = 240;  // seconds between announcements
  DWORD sv102_anndelta = 3000; // milliseconds of jitter on the announce rate
  DWORD sv102_licenses = 0;
  std::string sv102_userpath;
};
// NetServerSetInfo single-value levels.
struct SERVER_INFO_1005 {
  std::string sv1005_comment;
};
struct SERVER_INFO_1010 {
  LONG sv1010_disc = 15;
};
struct SERVER_INFO_1016 {
  DWORD sv1016_hidden = 0;
};
struct SERVER_INFO_1017 {
  DWORD sv1017_announce = 240;
};
struct SERVER_INFO_1018 {
  DWORD sv1018_anndelta = 3000;
};
struct SERVER_INFO_1516 {
  DWORD sv1516_timesource = 0;
};
constexpr LONG SV_NODISC = -1;
// Parameter numbers NetServerSetInfo reports in parm_err.
constexpr DWORD SV_COMMENT_PARMNUM = 5;
constexpr DWORD SV_DISC_PARMNUM = 10;
constexpr DWORD SV_HIDDEN_PARMNUM = 16;
constexpr DWORD SV_ANNOUNCE_PARMNUM = 17;
constexpr DWORD SV_ANNDELTA_PARMNUM = 18;
constexpr DWORD SV_TIMESOURCE_PARMNUM = 516;
constexpr DWORD MAXCOMMENTSZ = 256;

// NetSessionEnum level 2.
struct SESSION_INFO_2 {
  std::string sesi2_cname;  // client computer, without "\\"
  std::string sesi2_username;
  DWORD sesi2_num_opens = 0;
  DWORD sesi2_time = 0;       // seconds connected
  DWORD sesi2_idle_time = 0;  // seconds idle
  DWORD sesi2_user_flags = 0; // SESS_GUEST, SESS_NOENCRYPTION
  std::string sesi2_cltype_name;
};
constexpr DWORD SESS_GUEST = 0x1;
constexpr DWORD SESS_NOENCRYPTION = 0x2;

// NetFileEnum level 3.
struct FILE_INFO_3 {
  DWORD fi3_id = 0;
  DWORD fi3_permissions = 0;  // PERM_FILE_* bits
  DWORD fi3_num_locks = 0;
  std::string fi3_pathname;
  std::string fi3_username;
};
constexpr DWORD PERM_FILE_READ = 0x1;
constexpr DWORD PERM_FILE_WRITE = 0x2;
constexpr DWORD PERM_FILE_CREATE = 0x4;

// Shares.
constexpr DWORD STYPE_DISKTREE = 0;
constexpr DWORD STYPE_PRINTQ = 1;
constexpr DWORD STYPE_DEVICE = 2;
constexpr DWORD STYPE_IPC = 3;
constexpr DWORD STYPE_SPECIAL = 0x80000000u;
constexpr DWORD SHI_USES_UNLIMITED = 0xFFFFFFFFu;
constexpr DWORD SHARE_NETNAME_PARMNUM = 1;
constexpr DWORD SHARE_TYPE_PARMNUM = 3;
constexpr DWORD SHARE_REMARK_PARMNUM = 4;
constexpr DWORD SHARE_MAX_USES_PARMNUM = 6;
constexpr DWORD SHARE_PATH_PARMNUM = 8;
constexpr DWORD NNLEN = 80;
struct SHARE_INFO_1 {
  std::string shi1_netname;
  DWORD shi1_type = STYPE_DISKTREE;
  std::string shi1_remark;
};
struct SHARE_INFO_2 {
  std::string shi2_netname;
  DWORD shi2_type = STYPE_DISKTREE;
  std::string shi2_remark;
  DWORD shi2_permissions = 0;
  DWORD shi2_max_uses = SHI_USES_UNLIMITED;
  DWORD shi2_current_uses = 0;
  std::string shi2_path;
  std::string shi2_passwd;
};
struct SHARE_INFO_1004 {
  std::string shi1004_remark;
};
struct SHARE_INFO_1006 {
  DWORD shi1006_max_uses = SHI_USES_UNLIMITED;
};

struct WKSTA_INFO_100 {
  DWORD wki100_platform_id = PLATFORM_ID_NT;
  std::string wki100_computername;
  std::string wki100_langroup;
  DWORD wki100_ver_major = 4;
  DWORD wki100_ver_minor = 0;
};

struct USER_MODALS_INFO_0 {
  DWORD usrmod0_min_passwd_len = 0;
  DWORD usrmod0_max_passwd_age = 42 * 86400;  // TIMEQ_FOREVER = never expires
  DWORD usrmod0_min_passwd_age = 0;
  DWORD usrmod0_force_logoff = TIMEQ_FOREVER;
  DWORD usrmod0_password_hist_len = 0;
};
struct USER_MODALS_INFO_2 {
  std::string usrmod2_domain_name;
  SID usrmod2_domain_id;
};
struct USER_MODALS_INFO_3 {
  DWORD usrmod3_lockout_duration = 1800;
  DWORD usrmod3_lockout_observation_window = 1800;
  DWORD usrmod3_lockout_threshold = 0;  // 0 = no lockout
};

// Owner of every Net* result. Holds the entries of one level.
class NetBuffer {
 public:
  using Storage = std::variant<std::monostate,
                               std::vector<USER_INFO_0>, std::vector<USER_INFO_1>,
                               std::vector<USER_INFO_3>,
                               std::vector<GROUP_INFO_0>, std::vector<GROUP_INFO_1>,
                               std::vector<GROUP_INFO_2>,
                               std::vector<GROUP_USERS_INFO_0>, std::vector<GROUP_USERS_INFO_1>,
                               std::vector<LOCALGROUP_INFO_0>, std::vector<LOCALGROUP_INFO_1>,
                               std::vector<LOCALGROUP_MEMBERS_INFO_0>,
                               std::vector<LOCALGROUP_MEMBERS_INFO_1>,
                               std::vector<LOCALGROUP_MEMBERS_INFO_2>,
                               std::vector<LOCALGROUP_MEMBERS_INFO_3>,
                               std::vector<LOCALGROUP_USERS_INFO_0>,
                               std::vector<NET_DISPLAY_USER>, std::vector<NET_DISPLAY_MACHINE>,
                               std::vector<NET_DISPLAY_GROUP>,
                               std::vector<SERVER_INFO_100>, std::vector<SERVER_INFO_101>,
                               std::vector<SERVER_INFO_102>, std::vector<SESSION_INFO_2>,
                               std::vector<FILE_INFO_3>, std::vector<SHARE_INFO_1>,
                               std::vector<SHARE_INFO_2>,
                               std::vector<WKSTA_INFO_100>,
                               std::vector<USER_MODALS_INFO_0>, std::vector<USER_MODALS_INFO_2>,
                               std::vector<USER_MODALS_INFO_3>>;

  // Replaces the content with an empty list of T and returns it for filling.
  template <class T>
  std::vector<T>& emplace() {
    return m_data.template emplace<std::vector<T>>();
  }

  // The entries, or an empty span when the buffer holds another kind.
  template <class T>
  std::span<const T> get() const {
    if (const auto* v = std::get_if<std::vector<T>>(&m_data)) return *v;
    return {};
  }

  // The first entry, for the *GetInfo operations; nullptr when there is none.
  template <class T>
  const T* one() const {
    auto s = get<T>();
    return s.empty() ? nullptr : &s.front();
  }

  bool empty() const { return m_data.index() == 0; }
  void reset() { m_data = std::monostate{}; }  // NetApiBufferFree

 private:
  Storage m_data;
};

// A record passed to the *Add and *SetInfo operations, tagged by its type;
// the level argument must agree with the type (else ERROR_INVALID_LEVEL).
using NetInfo = std::variant<USER_INFO_1, USER_INFO_3, USER_INFO_1003, USER_INFO_1008,
                             GROUP_INFO_0, GROUP_INFO_1, GROUP_INFO_2, GROUP_INFO_1002,
                             LOCALGROUP_INFO_0, LOCALGROUP_INFO_1, LOCALGROUP_INFO_1002,
                             USER_MODALS_INFO_0, USER_MODALS_INFO_3, USER_INFO_1007,
                             SERVER_INFO_1005, SERVER_INFO_1010, SERVER_INFO_1016,
                             SERVER_INFO_1017, SERVER_INFO_1018, SERVER_INFO_1516,
                             SHARE_INFO_2, SHARE_INFO_1004, SHARE_INFO_1006>;

// Frees a result buffer; kept so callers can release a buffer early.
inline NET_API_STATUS NetApiBufferFree(NetBuffer& buffer) {
  buffer.reset();
  return NERR_Success;
}

// ---- users ----
NET_API_STATUS NetUserEnum(std::string_view servername, DWORD level, DWORD filter,
                           NetBuffer& bufptr, DWORD prefmaxlen, DWORD* entriesread,
                           DWORD* totalentries, DWORD* resume_handle);
NET_API_STATUS NetUserGetInfo(std::string_view servername, std::string_view username,
                              DWORD level, NetBuffer& bufptr);
NET_API_STATUS NetUserSetInfo(std::string_view servername, std::string_view username,
                              DWORD level, const NetInfo& buf, DWORD* parm_err);
NET_API_STATUS NetUserAdd(std::string_view servername, DWORD level, const NetInfo& buf,
                          DWORD* parm_err);
NET_API_STATUS NetUserDel(std::string_view servername, std::string_view username);
// Not an NT call: says that accounts are about to be given `passwords`, in
// this order (an import's next records), so that a backend with slow work per
// password (the lab's hashes) can begin it on idle cores. Changes nothing:
// each password is still given to the call that sets it. An empty list says
// that those told and not set yet will not be (the backend forgets them).
void PrepareAccountPasswords(std::span<const std::string> passwords);
NET_API_STATUS NetUserGetGroups(std::string_view servername, std::string_view username,
                                DWORD level, NetBuffer& bufptr, DWORD prefmaxlen,
                                DWORD* entriesread, DWORD* totalentries);
NET_API_STATUS NetUserGetLocalGroups(std::string_view servername, std::string_view username,
                                     DWORD level, DWORD flags, NetBuffer& bufptr,
                                     DWORD prefmaxlen, DWORD* entriesread,
                                     DWORD* totalentries);

// ---- display information ----
NET_API_STATUS NetQueryDisplayInformation(std::string_view servername, DWORD level,
                                          DWORD index, DWORD entriesrequested,
                                          DWORD preferredmaximumlength,
                                          DWORD* returnedentrycount, NetBuffer& sortedbuffer);

// ---- global groups ----
NET_API_STATUS NetGroupEnum(std::string_view servername, DWORD level, NetBuffer& bufptr,
                            DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries,
                            DWORD* resume_handle);
NET_API_STATUS NetGroupGetInfo(std::string_view servername, std::string_view groupname,
                               DWORD level, NetBuffer& bufptr);
NET_API_STATUS NetGroupSetInfo(std::string_view servername, std::string_view groupname,
                               DWORD level, const NetInfo& buf, DWORD* parm_err);
NET_API_STATUS NetGroupAdd(std::string_view servername, DWORD level, const NetInfo& buf,
                           DWORD* parm_err);
NET_API_STATUS NetGroupDel(std::string_view servername, std::string_view groupname);
NET_API_STATUS NetGroupGetUsers(std::string_view servername, std::string_view groupname,
                                DWORD level, NetBuffer& bufptr, DWORD prefmaxlen,
                                DWORD* entriesread, DWORD* totalentries,
                                DWORD* resume_handle);
NET_API_STATUS NetGroupAddUser(std::string_view servername, std::string_view groupname,
                               std::string_view username);
NET_API_STATUS NetGroupDelUser(std::string_view servername, std::string_view groupname,
                               std::string_view username);

// ---- local groups ----
NET_API_STATUS NetLocalGroupEnum(std::string_view servername, DWORD level, NetBuffer& bufptr,
                                 DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries,
                                 DWORD* resume_handle);
NET_API_STATUS NetLocalGroupGetInfo(std::string_view servername, std::string_view groupname,
                                    DWORD level, NetBuffer& bufptr);
NET_API_STATUS NetLocalGroupSetInfo(std::string_view servername, std::string_view groupname,
                                    DWORD level, const NetInfo& buf, DWORD* parm_err);
NET_API_STATUS NetLocalGroupAdd(std::string_view servername, DWORD level, const NetInfo& buf,
                                DWORD* parm_err);
NET_API_STATUS NetLocalGroupDel(std::string_view servername, std::string_view groupname);
NET_API_STATUS NetLocalGroupGetMembers(std::string_view servername,
                                       std::string_view localgroupname, DWORD level,
                                       NetBuffer& bufptr, DWORD prefmaxlen,
                                       DWORD* entriesread, DWORD* totalentries,
                                       DWORD* resumehandle);
// Members given by SID (level 0) or by "DOMAIN\name" (level 3).
NET_API_STATUS NetLocalGroupAddMembers(std::string_view servername, std::string_view groupname,
                                       DWORD level, std::span<const SID> sids,
                                       std::span<const std::string> domainandnames);
NET_API_STATUS NetLocalGroupDelMembers(std::string_view servername, std::string_view groupname,
                                       DWORD level, std::span<const SID> sids,
                                       std::span<const std::string> domainandnames);
NET_API_STATUS NetLocalGroupAddMember(std::string_view servername, std::string_view groupname,
                                      const SID& membersid);
NET_API_STATUS NetLocalGroupDelMember(std::string_view servername, std::string_view groupname,
                                      const SID& membersid);

// ---- servers, workstations, domain controllers ----
NET_API_STATUS NetServerEnum(std::string_view servername, DWORD level, NetBuffer& bufptr,
                             DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries,
                             DWORD servertype, std::string_view domain, DWORD* resume_handle);
NET_API_STATUS NetServerGetInfo(std::string_view servername, DWORD level, NetBuffer& bufptr);
// Returns the PDC name with its leading "\\" in *name.
NET_API_STATUS NetGetDCName(std::string_view servername, std::string_view domainname,
                            std::string* name);
NET_API_STATUS NetWkstaGetInfo(std::string_view servername, DWORD level, NetBuffer& bufptr);
// Levels 1005, 1010, 1016, 1017, 1018 and 1516: one value each. A value out
// of range answers 87 with its parameter number in *parm_err.
NET_API_STATUS NetServerSetInfo(std::string_view servername, DWORD level, const NetInfo& buf,
                                DWORD* parm_err);

// ---- sessions and open files ----
// Level 2; an empty client or user filter matches every session.
NET_API_STATUS NetSessionEnum(std::string_view servername, std::string_view uncclientname,
                              std::string_view username, DWORD level, NetBuffer& bufptr,
                              DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries,
                              DWORD* resume_handle);
// Ends the sessions of a client and/or user (both empty: every session);
// their open files close with them.
NET_API_STATUS NetSessionDel(std::string_view servername, std::string_view uncclientname,
                             std::string_view username);
// Level 3; an empty path prefix or user filter matches every file.
NET_API_STATUS NetFileEnum(std::string_view servername, std::string_view basepath,
                           std::string_view username, DWORD level, NetBuffer& bufptr,
                           DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries,
                           DWORD* resume_handle);

// ---- shares ----
// Levels 1 and 2 (level 2 needs administrative rights on the server).
NET_API_STATUS NetShareEnum(std::string_view servername, DWORD level, NetBuffer& bufptr,
                            DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries,
                            DWORD* resume_handle);
NET_API_STATUS NetShareGetInfo(std::string_view servername, std::string_view netname,
                               DWORD level, NetBuffer& bufptr);
// Level 2.
NET_API_STATUS NetShareAdd(std::string_view servername, DWORD level, const NetInfo& buf,
                           DWORD* parm_err);
NET_API_STATUS NetShareDel(std::string_view servername, std::string_view netname,
                           DWORD reserved);
// Levels 2 (remark, max uses, path), 1004 (remark) and 1006 (max uses).
NET_API_STATUS NetShareSetInfo(std::string_view servername, std::string_view netname,
                               DWORD level, const NetInfo& buf, DWORD* parm_err);

// ---- account policy ----
NET_API_STATUS NetUserModalsGet(std::string_view servername, DWORD level, NetBuffer& bufptr);
NET_API_STATUS NetUserModalsSet(std::string_view servername, DWORD level, const NetInfo& buf,
                                DWORD* parm_err);

}  // namespace platform
