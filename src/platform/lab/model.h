#pragma once
// The in-memory network a lab simulates: domains with their account
// databases, machines with registries and event logs, and who is logged on
// where. Plain values; the Lab guards them with its lock.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/eventlog.h"
#include "platform/lab/file_tree.h"
#include "platform/lab/stable_list.h"
#include "platform/netapi.h"
#include "platform/system.h"

namespace lab {

using platform::DWORD;

// Account names compare without regard to case, as on the systems simulated.
std::string upper(std::string_view text);

struct LogonStats {
  DWORD lastLogon = 0;
  DWORD lastLogoff = 0;
  DWORD numLogons = 0;
  DWORD badPwCount = 0;
  friend bool operator==(const LogonStats&, const LogonStats&) = default;
};

struct Dialin {
  bool allowed = false;
  DWORD callbackType = 0;
  std::string callbackNumber;
  friend bool operator==(const Dialin&, const Dialin&) = default;
};

struct User {
  std::string name;
  DWORD rid = 0;
  // The password's hash (password_hash.h), empty for a blank password, and
  // the hashes of the passwords before it, newest first, as many as the
  // policy's history keeps.
  std::string passwordHash;
  std::vector<std::string> passwordHistory;
  // Read from a file that still held the password itself: the file must be
  // written again, without it.
  bool passwordReadInClear = false;
  std::int64_t passwordLastSet = 0;  // seconds since 1970
  bool passwordExpired = false;
  // Descriptive fields kept as the level-3 record; the name, RID, password
  // and statistics fields of `info` are not used (they live above and in
  // `logons`).
  platform::USER_INFO_3 info;
  std::map<std::string, LogonStats> logons;  // by controller/machine name, upper case
  Dialin dialin;
};

struct Group {
  std::string name;
  DWORD rid = 0;
  std::string comment;
  DWORD attributes = platform::SE_GROUP_MANDATORY | platform::SE_GROUP_ENABLED_BY_DEFAULT |
                     platform::SE_GROUP_ENABLED;
  std::vector<DWORD> members;  // RIDs of users of the same database
};

struct LocalGroup {
  std::string name;
  DWORD rid = 0;
  std::string comment;
  std::vector<platform::SID> members;  // users or global groups, any trusted database
};

enum class AccountKind { User, Group, LocalGroup };

struct DeletedAccount {
  std::string name;
  DWORD rid = 0;
  AccountKind kind = AccountKind::User;
};

struct Policy {
  platform::USER_MODALS_INFO_0 modals0;
  platform::USER_MODALS_INFO_3 modals3;
};

// The account database of a domain or of one machine.
struct Sam {
  std::string name;  // domain name, or the machine's name
  platform::SID sid;
  StableList<User> users;  // creation order
  std::vector<Group> groups;
  std::vector<LocalGroup> localGroups;
  std::vector<DeletedAccount> deleted;
  DWORD nextRid = 1000;
  Policy policy;

  // Indexes over the lists above. reindex() builds them from scratch (after
  // loading); a change keeps them up to date through the add/remove/rename
  // calls below, so that it costs no more than the entries it moves.
  // Users are indexed by slot, a number that stays with an account while it
  // exists; userSlots gives a slot's place in `users`. Removing an account
  // then renumbers one plain vector instead of every entry of two hash
  // tables (which, at 100,000 accounts, took longer than the rest of the
  // change).
  std::unordered_map<std::string, std::size_t> userByName;  // upper-case name -> slot
  std::unordered_map<std::string, std::size_t> groupByName;
  std::unordered_map<std::string, std::size_t> localGroupByName;
  std::unordered_map<DWORD, std::size_t> userByRid;  // -> slot
  std::vector<std::size_t> userSlots;                 // slot -> place in users (kGone if removed)
  static constexpr std::size_t kGone = static_cast<std::size_t>(-1);
  std::unordered_map<DWORD, std::size_t> groupByRid;
  std::vector<std::size_t> normalUsersSorted;   // display order: by name
  std::vector<std::size_t> machineUsersSorted;  // workstation and server trust accounts, by name
  std::vector<std::size_t> groupsSorted;
  std::vector<std::size_t> normalUsersInOrder;  // creation order, normal accounts only

  void reindex();
  // The rest of reindex(), for a reader that built the name indexes itself.
  void indexRidsAndViews();
  // Whether the indexes cover the lists (false for a database built
  // directly, as the generator does, until reindex()).
  bool indexed() const {
    return userByName.size() == users.size() && groupByName.size() == groups.size() &&
           localGroupByName.size() == localGroups.size();
  }
  // Appends an account (creation order) and indexes it.
  void addUser(User user);
  void addGroup(Group group);
  void addLocalGroup(LocalGroup group);
  // Removes the account with this RID, if any; true when one was removed.
  bool removeUser(DWORD rid);
  bool removeGroup(DWORD rid);
  bool removeLocalGroup(DWORD rid);
  // Re-indexes the user at `index` after its name or account type changed.
  void userChanged(std::size_t index, std::string_view oldName);
  // Gives an account a new name, keeping the indexes.
  void renameGroup(std::size_t index, std::string name);
  void renameLocalGroup(std::size_t index, std::string name);
  std::size_t userIndex(const User& u) const { return userSlots[userByRid.at(u.rid)]; }
  // The place in `users` of the account with this RID, or kGone.
  std::size_t userIndexOf(DWORD rid) const {
    auto it = userByRid.find(rid);
    return it == userByRid.end() ? kGone : userSlots[it->second];
  }
  std::size_t groupIndex(const Group& g) const { return static_cast<std::size_t>(&g - groups.data()); }
  std::size_t localGroupIndex(const LocalGroup& g) const {
    return static_cast<std::size_t>(&g - localGroups.data());
  }
  User* findUser(std::string_view name);
  const User* findUser(std::string_view name) const;
  Group* findGroup(std::string_view name);
  const Group* findGroup(std::string_view name) const;
  LocalGroup* findLocalGroup(std::string_view name);
  const LocalGroup* findLocalGroup(std::string_view name) const;
  const User* userByRidOrNull(DWORD rid) const;
  const Group* groupByRidOrNull(DWORD rid) const;
  // Takes the next free RID.
  DWORD allocateRid();
  bool nameTaken(std::string_view name) const;
};

// Local groups with these RIDs are the built-in ones ("BUILTIN\\...").
constexpr DWORD kFirstBuiltinRid = 544;
constexpr DWORD kLastBuiltinRid = 582;
constexpr DWORD kAdministratorsRid = 544;
constexpr DWORD kAccountOperatorsRid = 548;
constexpr DWORD kServerOperatorsRid = 549;
inline bool isBuiltinRid(DWORD rid) { return rid >= kFirstBuiltinRid && rid <= kLastBuiltinRid; }
inline constexpr std::string_view kBuiltinSid = "S-1-5-32";
inline constexpr std::string_view kBuiltinDomain = "BUILTIN";
// The SID of an account of `sam` (a built-in local group has the BUILTIN SID).
platform::SID accountSid(const Sam& sam, DWORD rid, AccountKind kind);
// The Administrator account (RID 500) every new account database starts with.
User builtinAdministrator();

// A value in a registry key, its bytes kept exactly as stored.
struct RegValue {
  std::string name;
  DWORD type = 0;
  std::vector<std::uint8_t> data;
};

struct RegKeyData {
  std::string path;  // as first created, e.g. "SOFTWARE\\Microsoft"
  std::vector<RegValue> values;  // stored order
};

// One hive: keys by upper-case path ("" is the root).
using Hive = std::map<std::string, RegKeyData>;

// An entry of a machine's browse list as NetServerEnum level 101 reports
// it. It may name a computer the lab does not hold (a stale entry), or carry
// figures that differ from the machine's own (e.g. a version major with high
// bits set, of which only the low four count).
struct BrowseEntry {
  std::string name;
  std::string comment;
  DWORD type = 0;
  DWORD platformId = platform::PLATFORM_ID_NT;
  DWORD versionMajor = 4;
  DWORD versionMinor = 0;
  // Written as the machine's name alone in the lab file: the figures are the
  // machine's own, looked up when the list is read.
  bool byName = false;
};

// What a share gives access to. NetShareEnum reports it as STYPE_DISKTREE,
// STYPE_PRINTQ or STYPE_IPC (with STYPE_SPECIAL for administrative shares).
enum class ShareType { Disk, Print, Ipc };

// A resource a machine offers to the network.
struct Share {
  std::string name;  // a name ending in '$' is hidden from browsing
  ShareType type = ShareType::Disk;
  std::string path;  // on the machine, e.g. "C:\\DATA"; a print share's printer; empty for IPC
  std::string remark;
  DWORD maxUses = kUnlimitedUses;
  static constexpr DWORD kUnlimitedUses = 0xFFFFFFFF;
  friend bool operator==(const Share&, const Share&) = default;
};

// Hidden shares are left out of network browsing (they are still shares).
bool isHiddenShare(std::string_view name);
// IPC$, ADMIN$ and drive shares such as C$: the ones NT makes itself, to
// which only the machine's administrators may connect (IPC$ excepted).
bool isAdministrativeShare(std::string_view name);
// The shares every NT machine has, in the order NT makes them.
std::vector<Share> standardShares();

// The server service's settings that NetServerGetInfo level 102 reports
// besides the machine's comment, type and hidden state.
struct ServerSettings {
  DWORD users = 10;  // user limit
  platform::LONG disc = 15;  // auto-disconnect minutes; SV_NODISC: never
  DWORD announce = 240;      // seconds
  DWORD anndelta = 3000;     // milliseconds
  std::string userpath = "C:\\";
  friend bool operator==(const ServerSettings&, const ServerSettings&) = default;
};

// A file a session holds open.
struct OpenFile {
  DWORD id = 0;  // unique on the machine
  std::string path;
  DWORD permissions = platform::PERM_FILE_READ;
  DWORD locks = 0;
};

// A client's connection to the machine's server service, with the files it
// holds open: ending the session closes them.
struct Session {
  std::string client;  // computer name, without "\\"
  std::string user;
  DWORD time = 0;  // seconds connected
  DWORD idle = 0;  // seconds idle
  bool guest = false;
  std::string clientType = "Windows NT 1381";
  std::vector<OpenFile> files;
};

// What MultinetGetConnectionPerformance reports for a connection to one of
// the machine's shares.
struct LinkFigures {
  DWORD speed = 100000;  // units of 100 bits/s: 10 Mbit/s
  DWORD delay = 1;       // milliseconds
  DWORD optDataSize = 4096;
  DWORD flags = 0x3;     // WNCON_FORNETCARD | WNCON_NOTROUTED
  friend bool operator==(const LinkFigures&, const LinkFigures&) = default;
};

struct Machine {
  std::string name;
  std::string domain;
  std::string comment;
  DWORD type = 0;  // SV_TYPE_* bits
  DWORD platformId = platform::PLATFORM_ID_NT;
  DWORD versionMajor = 4;
  DWORD versionMinor = 0;
  bool reachable = true;
  bool remoteRegistry = true;
  bool inBrowseList = true;
  // Operation name -> status it answers with on this machine, whoever asks.
  std::map<std::string, DWORD> refusals;
  // For a domain controller: the names in the order its NetUserEnum answers;
  // names left out are not (yet) known to it. Absent: the domain's order.
  std::optional<std::vector<std::string>> userOrder;
  // The browse list this machine answers NetServerEnum from. Absent: every
  // listed machine of the domain asked for.
  std::optional<std::vector<BrowseEntry>> browses;
  // At most this many entries come back from one NetServerEnum on this
  // machine, whatever the buffer (a browser answering only part of its
  // list); 0 = no cap.
  DWORD serverEnumLimit = 0;
  std::optional<Sam> sam;  // machines that keep their own accounts
  std::vector<Share> shares;  // names unique without regard to case
  ServerSettings server;
  std::vector<Session> sessions;
  LinkFigures link;
  std::map<std::string, Hive> hives;  // "HKEY_LOCAL_MACHINE", "HKEY_USERS", ...
  std::vector<platform::EventRecord> eventLog;
  std::vector<Volume> volumes;  // by drive letter, as the lab file lists them

  const Volume* findVolume(std::string_view drive) const;
  Volume* findVolume(std::string_view drive) {
    return const_cast<Volume*>(static_cast<const Machine&>(*this).findVolume(drive));
  }

  Share* findShare(std::string_view name);
  const Share* findShare(std::string_view name) const;
  // Ends the sessions of `client` and/or `user` (empty: any; compared
  // without regard to case), closing their files. Returns how many ended.
  std::size_t endSessions(std::string_view client, std::string_view user);
};

// A trust relationship with a domain or Kerberos realm the lab does not
// hold: reported by DsEnumerateDomainTrusts, never used to find accounts.
struct OtherTrust {
  std::string name;     // NetBIOS name (a Kerberos realm: the realm)
  std::string dnsName;  // "" for a Windows NT domain
  platform::SID sid;
  DWORD direction = 0;  // TRUST_DIRECTION_*
  DWORD type = 0;       // TRUST_TYPE_*
  DWORD attributes = 0;  // TRUST_ATTRIBUTE_*
};

struct Domain {
  std::string name;
  std::string pdc;
  std::vector<std::string> bdcs;
  std::vector<std::string> trusts;  // domains whose accounts this one accepts
  std::vector<OtherTrust> otherTrusts;
  Sam sam;
};

struct SystemInfo {
  platform::OSVERSIONINFOA version;
  SystemInfo() {
    version.dwMajorVersion = 4;
    version.dwMinorVersion = 0;
    version.dwBuildNumber = 1381;
    version.dwPlatformId = platform::VER_PLATFORM_WIN32_NT;
    version.szCSDVersion = "Service Pack 6";
  }
};

struct Network {
  std::vector<Domain> domains;
  std::vector<Machine> machines;
  std::string localMachine;
  std::string loggedOn;  // "DOMAIN\\name"
  SystemInfo system;
  std::map<std::string, Hive> userHives;  // HKEY_CURRENT_USER by upper-case "DOMAIN\\NAME"
  std::map<std::string, std::string> userHiveNames;  // upper-case key -> account as written
  // Network providers besides "Microsoft Windows Network", which every
  // network has; the lab holds nothing below them.
  std::vector<std::string> networkProviders;

  Domain* findDomain(std::string_view name);
  const Domain* findDomain(std::string_view name) const;
  Machine* findMachine(std::string_view name);
  const Machine* findMachine(std::string_view name) const;
};

}  // namespace lab
