#pragma once
// Steps the user and group calls of the lab backend have in common: finding
// the database a call reads or changes, checking levels and names, forgetting
// a deleted account, and paging name-and-attribute membership lists.

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "platform/lab/change_set.h"
#include "platform/lab/model.h"
#include "platform/paging.h"
#include "platform/lab/resolve.h"
#include "platform/lab/text_rules.h"

namespace lab::calls {

using platform::DWORD;

// The machine `server` names and the account database answering there.
inline DWORD readTarget(const Network& net, std::string_view server, std::string_view op,
                        const Machine** machine, const Sam** sam) {
  DWORD status = 0;
  *machine = locate(net, server, op, &status);
  if (!*machine) return status;
  *sam = samOf(net, **machine);
  return *sam ? platform::NERR_Success : platform::ERROR_NOT_SUPPORTED;
}

struct WriteTarget {
  Machine* machine = nullptr;
  Sam* sam = nullptr;
  Rights rights;
};

enum class Needs { AccountManager, Administrator };

// Finds where an account change goes and checks the caller may make it:
// only the primary controller takes changes for a domain.
inline DWORD writeTarget(Network& net, std::string_view server, std::string_view op,
                         WriteTarget* t, Needs needs = Needs::AccountManager) {
  DWORD status = 0;
  t->machine = locate(net, server, op, &status);
  if (!t->machine) return status;
  t->sam = samOf(net, *t->machine);
  if (!t->sam) return platform::ERROR_NOT_SUPPORTED;
  if (isDomainController(net, *t->machine) && !isPrimary(net, *t->machine)) {
    return platform::NERR_NotPrimary;
  }
  t->rights = rightsOn(net, *t->machine);
  const bool allowed = needs == Needs::Administrator ? t->rights.administrator
                                                     : t->rights.canManageAccounts();
  return allowed ? platform::NERR_Success : platform::ERROR_ACCESS_DENIED;
}

// A structure a set or add call takes, and the level that names it.
template <DWORD L, class T>
struct Level {
  static constexpr DWORD kLevel = L;
  using Info = T;
};

// Whether `level` is one of `Levels` and `info` holds the structure it names.
template <class... Levels>
bool holdsLevel(DWORD level, const platform::NetInfo& info) {
  return ((level == Levels::kLevel && std::holds_alternative<typename Levels::Info>(info)) || ...);
}

// Users and global groups below this RID are the built-in ones.
constexpr DWORD kFirstOrdinaryRid = 1000;

// Account names: text the lab can keep, not empty, not too long, none of the
// reserved characters, and more than dots and spaces.
inline bool validName(std::string_view name, std::size_t maxLength) {
  if (name.empty() || !isWritableText(name) || utf16Length(name) > maxLength) return false;
  if (name.find_first_of("\"/\\[]:;|=,+*?<>") != std::string_view::npos) return false;
  return name.find_first_not_of(". ") != std::string_view::npos;
}

// ERROR_INVALID_PARAMETER, with *parm_err set to `parmnum`, for a bad name.
inline DWORD checkName(std::string_view name, std::size_t maxLength, DWORD parmnum,
                       DWORD* parm_err) {
  if (validName(name, maxLength)) return platform::NERR_Success;
  if (parm_err) *parm_err = parmnum;
  return platform::ERROR_INVALID_PARAMETER;
}

// ERROR_INVALID_PARAMETER, with *parm_err set to `parmnum`, for a text the
// lab could not write back or one longer than `maxLength`.
inline DWORD checkText(std::string_view text, std::size_t maxLength, DWORD parmnum,
                       DWORD* parm_err) {
  if (isWritableText(text) && utf16Length(text) <= maxLength) return platform::NERR_Success;
  if (parm_err) *parm_err = parmnum;
  return platform::ERROR_INVALID_PARAMETER;
}

// Removes `account` from `sam`. The database remembers it as deleted, so its
// SID still resolves as such; its own local groups forget it, while other
// machines' groups keep the bare SID.
template <class Account>
void forgetAccount(Sam& sam, const Account& account, ChangeSet& changes) {
  constexpr AccountKind kind = std::is_same_v<Account, User>    ? AccountKind::User
                               : std::is_same_v<Account, Group> ? AccountKind::Group
                                                                : AccountKind::LocalGroup;
  const DWORD rid = account.rid;
  sam.deleted.push_back({account.name, rid, kind});
  changes.deleted(sam);
  if constexpr (kind != AccountKind::LocalGroup) {
    const platform::SID sid = accountSid(sam, rid, kind);
    for (auto& lg : sam.localGroups) {
      if (std::erase(lg.members, sid) != 0) changes.localGroup(sam, lg.rid);
    }
  }
  if constexpr (kind == AccountKind::User) {
    sam.removeUser(rid);
    changes.user(sam, rid);
  } else if constexpr (kind == AccountKind::Group) {
    sam.removeGroup(rid);
    changes.group(sam, rid);
  } else {
    sam.removeLocalGroup(rid);
    changes.localGroup(sam, rid);
  }
}

// GROUP_USERS_INFO_0 or _1 entries for `count` entries (users of a group,
// or groups of a user): `nameOf(i)` is entry i's name and `attributesOf(i)`
// the membership's attributes. Only the entries of the page asked for are
// made, so paging through a long list costs what each page holds.
template <class NameOf, class AttributesOf>
DWORD pageGroupUsers(platform::NetBuffer& buf, DWORD level, std::size_t count, NameOf nameOf,
                     AttributesOf attributesOf, DWORD prefmaxlen, DWORD* entriesread,
                     DWORD* totalentries, DWORD* resume) {
  if (level == 0) {
    return pageEnum<platform::GROUP_USERS_INFO_0>(
        buf, count, prefmaxlen, entriesread, totalentries, resume,
        [&](std::size_t i) { return platform::GROUP_USERS_INFO_0{nameOf(i)}; });
  }
  return pageEnum<platform::GROUP_USERS_INFO_1>(
      buf, count, prefmaxlen, entriesread, totalentries, resume, [&](std::size_t i) {
        return platform::GROUP_USERS_INFO_1{nameOf(i), attributesOf(i)};
      });
}

}  // namespace lab::calls
