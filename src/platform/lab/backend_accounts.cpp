// User accounts, display information and account policy of the lab backend.

#include <algorithm>
#include <optional>

#include "platform/lab/account_calls.h"
#include "platform/lab/account_rules.h"
#include "platform/lab/lab_accounts.h"
#include "platform/lab/json_accounts.h"
#include "platform/lab/json_users.h"
#include "platform/user_info_levels.h"

namespace lab {

using namespace platform;
using namespace calls;

namespace {

constexpr DWORD MODALS_MIN_PASSWD_LEN_PARMNUM = 1;
constexpr DWORD MODALS_PASSWD_HIST_LEN_PARMNUM = 5;
constexpr DWORD MODALS_LOCKOUT_OBSERVATION_WINDOW_PARMNUM = 11;
// What NT keeps: a history of at most 24 passwords, and an observation
// window of at least a minute.
constexpr DWORD kMaxPasswordHistory = 24;
constexpr DWORD kMinObservationWindow = 60;
constexpr DWORD kAccountTypeBits = UF_TEMP_DUPLICATE_ACCOUNT | UF_NORMAL_ACCOUNT |
                                   UF_INTERDOMAIN_TRUST_ACCOUNT | UF_WORKSTATION_TRUST_ACCOUNT |
                                   UF_SERVER_TRUST_ACCOUNT;

USER_INFO_3 level3(const User& u, const Machine& m, std::int64_t now) {
  USER_INFO_3 i = u.info;
  i.usri3_name = u.name;
  i.usri3_password.clear();
  i.usri3_password_age = static_cast<DWORD>(std::max<std::int64_t>(0, now - u.passwordLastSet));
  i.usri3_user_id = u.rid;
  i.usri3_password_expired = u.passwordExpired ? 1 : 0;
  i.usri3_logon_server = "\\\\*";
  // Every controller keeps its own logon statistics.
  if (auto it = u.logons.find(upper(m.name)); it != u.logons.end()) {
    i.usri3_last_logon = it->second.lastLogon;
    i.usri3_last_logoff = it->second.lastLogoff;
    i.usri3_num_logons = it->second.numLogons;
    i.usri3_bad_pw_count = it->second.badPwCount;
  } else {
    i.usri3_last_logon = i.usri3_last_logoff = i.usri3_num_logons = i.usri3_bad_pw_count = 0;
  }
  return i;
}

USER_INFO_1 level1(const User& u, std::int64_t now) {
  USER_INFO_1 i = userInfo1(u.info);
  i.usri1_name = u.name;
  i.usri1_password_age = static_cast<DWORD>(std::max<std::int64_t>(0, now - u.passwordLastSet));
  return i;
}

bool matchesFilter(const User& u, DWORD filter) {
  if (filter == 0) return true;
  const DWORD f = u.info.usri3_flags;
  return ((filter & FILTER_TEMP_DUPLICATE_ACCOUNT) && (f & UF_TEMP_DUPLICATE_ACCOUNT)) ||
         ((filter & FILTER_NORMAL_ACCOUNT) && (f & UF_NORMAL_ACCOUNT)) ||
         ((filter & FILTER_INTERDOMAIN_TRUST_ACCOUNT) && (f & UF_INTERDOMAIN_TRUST_ACCOUNT)) ||
         ((filter & FILTER_WORKSTATION_TRUST_ACCOUNT) && (f & UF_WORKSTATION_TRUST_ACCOUNT)) ||
         ((filter & FILTER_SERVER_TRUST_ACCOUNT) && (f & UF_SERVER_TRUST_ACCOUNT));
}

// The flags a write may give: the account type stays unless another is
// named, and a lockout can be cleared but never set by hand.
DWORD mergedFlags(DWORD old, DWORD wanted) {
  DWORD f = wanted;
  if ((f & kAccountTypeBits) == 0) f |= old & kAccountTypeBits;
  if (!(old & UF_LOCKOUT)) f &= ~UF_LOCKOUT;
  return f;
}

bool isSelf(const Network& net, const Sam& sam, const User& u) {
  return upper(net.loggedOn) == upper(sam.name + "\\" + u.name);
}

// A password set on an existing account: a new password is no longer expired.
DWORD changePassword(User& u, const Sam& sam, NewPassword& password, std::int64_t now,
                     DWORD* parm_err) {
  if (DWORD st = setPassword(u, sam.policy, password, now, false, parm_err)) return st;
  u.passwordExpired = false;
  return NERR_Success;
}

// The password a set call gives, if any: level 1 and 3 change it only when
// one is given, level 1003 always.
std::optional<std::string_view> passwordSetBy(const NetInfo& info) {
  if (const auto* i1 = std::get_if<USER_INFO_1>(&info)) {
    if (!i1->usri1_password.empty()) return i1->usri1_password;
  } else if (const auto* i3 = std::get_if<USER_INFO_3>(&info)) {
    if (!i3->usri3_password.empty()) return i3->usri3_password;
  } else if (const auto* i1003 = std::get_if<USER_INFO_1003>(&info)) {
    return i1003->usri1003_password;
  }
  return std::nullopt;
}

}  // namespace

DWORD LabAccounts::NetUserEnum(std::string_view server, DWORD level, DWORD filter,
                              NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread,
                              DWORD* totalentries, DWORD* resume) {
  clearEnum(buf, entriesread, totalentries);
  if (level != 0 && level != 1 && level != 3) return ERROR_INVALID_LEVEL;
  const auto now = m_lab->now();
  return query([&](const Network& net) -> DWORD {
    const Machine* m = nullptr;
    const Sam* sam = nullptr;
    if (DWORD st = readTarget(net, server, "NetUserEnum", &m, &sam)) return st;
    if (level != 0 && !rightsOn(net, *m).canManageAccounts()) return ERROR_ACCESS_DENIED;
    // The accounts in the order this machine answers them.
    std::vector<const User*> order;
    if (m->userOrder && isDomainController(net, *m)) {
      for (const auto& n : *m->userOrder) {
        if (const User* u = sam->findUser(n); u && matchesFilter(*u, filter)) order.push_back(u);
      }
    } else if (filter == FILTER_NORMAL_ACCOUNT) {
      order.reserve(sam->normalUsersInOrder.size());
      for (auto i : sam->normalUsersInOrder) order.push_back(&sam->users[i]);
    } else {
      for (const auto& u : sam->users) if (matchesFilter(u, filter)) order.push_back(&u);
    }
    switch (level) {
      case 0:
        return pageEnum<USER_INFO_0>(buf, order.size(), prefmaxlen, entriesread, totalentries,
                                     resume, [&](std::size_t i) { return USER_INFO_0{order[i]->name}; });
      case 1:
        return pageEnum<USER_INFO_1>(buf, order.size(), prefmaxlen, entriesread, totalentries,
                                     resume, [&](std::size_t i) { return level1(*order[i], now); });
      default:
        return pageEnum<USER_INFO_3>(buf, order.size(), prefmaxlen, entriesread, totalentries,
                                     resume, [&](std::size_t i) { return level3(*order[i], *m, now); });
    }
  });
}

DWORD LabAccounts::NetUserGetInfo(std::string_view server, std::string_view user, DWORD level,
                                 NetBuffer& buf) {
  buf.reset();
  if (level != 0 && level != 1 && level != 3) return ERROR_INVALID_LEVEL;
  const auto now = m_lab->now();
  return query([&](const Network& net) -> DWORD {
    const Machine* m = nullptr;
    const Sam* sam = nullptr;
    if (DWORD st = readTarget(net, server, "NetUserGetInfo", &m, &sam)) return st;
    const User* u = sam->findUser(user);
    if (!u) return NERR_UserNotFound;
    if (level != 0 && !rightsOn(net, *m).canManageAccounts() && !isSelf(net, *sam, *u)) {
      return ERROR_ACCESS_DENIED;
    }
    if (level == 0) buf.emplace<USER_INFO_0>().push_back({u->name});
    else if (level == 1) buf.emplace<USER_INFO_1>().push_back(level1(*u, now));
    else buf.emplace<USER_INFO_3>().push_back(level3(*u, *m, now));
    return NERR_Success;
  });
}

DWORD LabAccounts::NetUserSetInfo(std::string_view server, std::string_view user, DWORD level,
                                 const NetInfo& info, DWORD* parm_err) {
  if (parm_err) *parm_err = 0;
  if (!holdsLevel<Level<1, USER_INFO_1>, Level<3, USER_INFO_3>, Level<1003, USER_INFO_1003>,
                  Level<1007, USER_INFO_1007>, Level<1008, USER_INFO_1008>>(level, info)) {
    return ERROR_INVALID_LEVEL;
  }
  const auto now = m_lab->now();
  // The new password's hash, and its comparison with the remembered ones,
  // are made before the write lock is taken; the write compares again only
  // if the account's passwords changed meanwhile.
  const auto given = passwordSetBy(info);
  NewPassword password;
  if (given) {
    password = preparePassword(*given, m_hashAhead);
    query([&](const Network& net) -> DWORD {
      const Machine* m = nullptr;
      const Sam* sam = nullptr;
      if (readTarget(net, server, "NetUserSetInfo", &m, &sam) != NERR_Success) return 0;
      if (const User* u = sam->findUser(user)) compareWithRemembered(password, *u, sam->policy);
      return 0;
    });
  }
  return change([&](Network& net, ChangeSet& changes) -> DWORD {
    WriteTarget t;
    if (DWORD st = writeTarget(net, server, "NetUserSetInfo", &t)) return st;
    User* u = t.sam->findUser(user);
    if (!u) return NERR_UserNotFound;
    User changed = *u;
    if (given) {
      if (DWORD st = changePassword(changed, *t.sam, password, now, parm_err)) return st;
    }
    if (const auto* i1 = std::get_if<USER_INFO_1>(&info)) {
      applyUserInfo1(*i1, changed.info);
      changed.info.usri3_flags = mergedFlags(u->info.usri3_flags, i1->usri1_flags);
    } else if (const auto* i3 = std::get_if<USER_INFO_3>(&info)) {
      if (i3->usri3_primary_group_id != u->info.usri3_primary_group_id) {
        const Group* g = t.sam->groupByRidOrNull(i3->usri3_primary_group_id);
        if (!g || std::find(g->members.begin(), g->members.end(), u->rid) == g->members.end()) {
          if (parm_err) *parm_err = USER_PRIMARY_GROUP_PARMNUM;
          return ERROR_INVALID_PARAMETER;
        }
      }
      auto& c = changed.info;
      c.usri3_home_dir = i3->usri3_home_dir;
      c.usri3_comment = i3->usri3_comment;
      c.usri3_flags = mergedFlags(u->info.usri3_flags, i3->usri3_flags);
      c.usri3_script_path = i3->usri3_script_path;
      c.usri3_full_name = i3->usri3_full_name;
      c.usri3_usr_comment = i3->usri3_usr_comment;
      c.usri3_parms = i3->usri3_parms;
      c.usri3_workstations = i3->usri3_workstations;
      c.usri3_acct_expires = i3->usri3_acct_expires;
      c.usri3_max_storage = i3->usri3_max_storage;
      c.usri3_units_per_week = i3->usri3_units_per_week;
      if (!i3->usri3_logon_hours.empty()) c.usri3_logon_hours = i3->usri3_logon_hours;
      c.usri3_country_code = i3->usri3_country_code;
      c.usri3_code_page = i3->usri3_code_page;
      c.usri3_primary_group_id = i3->usri3_primary_group_id;
      c.usri3_profile = i3->usri3_profile;
      c.usri3_home_dir_drive = i3->usri3_home_dir_drive;
      changed.passwordExpired = i3->usri3_password_expired != 0;
    } else if (const auto* i1007 = std::get_if<USER_INFO_1007>(&info)) {
      changed.info.usri3_comment = i1007->usri1007_comment;
    } else if (const auto* i1008 = std::get_if<USER_INFO_1008>(&info)) {
      changed.info.usri3_flags = mergedFlags(u->info.usri3_flags, i1008->usri1008_flags);
    }
    if (DWORD st = checkUserTexts(*u, changed, parm_err)) return st;
    if (!(changed.info.usri3_flags & UF_LOCKOUT)) {
      for (auto& [dc, s] : changed.logons) s.badPwCount = 0;
    }
    // What the lab keeps of an account is what its file form holds.
    if (json::writeUser(changed) == json::writeUser(*u)) return NERR_Success;
    const bool retyped = changed.info.usri3_flags != u->info.usri3_flags;
    *u = std::move(changed);
    if (retyped) t.sam->userChanged(t.sam->userIndex(*u), u->name);
    changes.user(*t.sam, u->rid);
    return NERR_Success;
  });
}

DWORD LabAccounts::NetUserAdd(std::string_view server, DWORD level, const NetInfo& info,
                             DWORD* parm_err) {
  if (parm_err) *parm_err = 0;
  if (!holdsLevel<Level<1, USER_INFO_1>, Level<3, USER_INFO_3>>(level, info)) {
    return ERROR_INVALID_LEVEL;
  }
  const auto now = m_lab->now();
  // Hashed before the write lock is taken: other calls need not wait for it.
  const auto* i1 = std::get_if<USER_INFO_1>(&info);
  NewPassword password = preparePassword(
      i1 ? i1->usri1_password : std::get<USER_INFO_3>(info).usri3_password, m_hashAhead);
  return change([&](Network& net, ChangeSet& changes) -> DWORD {
    WriteTarget t;
    if (DWORD st = writeTarget(net, server, "NetUserAdd", &t)) return st;
    User u;
    DWORD priv = USER_PRIV_USER;
    if (i1) {
      u.name = i1->usri1_name;
      priv = i1->usri1_priv;
      applyUserInfo1(*i1, u.info);
    } else {
      const auto& i3 = std::get<USER_INFO_3>(info);
      u.info = i3;
      u.info.usri3_password.clear();  // the hash above is all that is kept
      u.name = i3.usri3_name;
      priv = i3.usri3_priv;
      u.passwordExpired = i3.usri3_password_expired != 0;
      u.info.usri3_primary_group_id = 513;
    }
    if (DWORD st = checkName(u.name, kMaxUserNameLength, USER_NAME_PARMNUM, parm_err)) return st;
    if (DWORD st = checkUserTexts(User{}, u, parm_err)) return st;
    if (priv != USER_PRIV_USER) {
      if (parm_err) *parm_err = USER_PRIV_PARMNUM;
      return ERROR_INVALID_PARAMETER;
    }
    if ((u.info.usri3_flags & kAccountTypeBits) == 0) u.info.usri3_flags |= UF_NORMAL_ACCOUNT;
    if (u.info.usri3_flags & UF_LOCKOUT) {
      if (parm_err) *parm_err = USER_FLAGS_PARMNUM;
      return ERROR_INVALID_PARAMETER;
    }
    if (t.sam->findUser(u.name)) return NERR_UserExists;
    if (t.sam->nameTaken(u.name)) return NERR_GroupExists;
    if (DWORD st = setPassword(u, t.sam->policy, password, now, true, parm_err)) return st;
    u.info.usri3_priv = USER_PRIV_USER;
    u.rid = t.sam->allocateRid();
    const DWORD rid = u.rid;
    t.sam->addUser(std::move(u));
    changes.database(*t.sam);
    changes.user(*t.sam, rid);
    // New accounts join the domain's ordinary users, their primary group.
    for (auto& g : t.sam->groups) {
      if (g.rid == 513) {
        g.members.push_back(rid);
        changes.member(*t.sam, g.rid, rid, true);
      }
    }
    return NERR_Success;
  });
}

void LabAccounts::PrepareAccountPasswords(std::span<const std::string> passwords) {
  m_hashAhead.prepare(passwords);
}

DWORD LabAccounts::NetUserDel(std::string_view server, std::string_view user) {
  return change([&](Network& net, ChangeSet& changes) -> DWORD {
    WriteTarget t;
    if (DWORD st = writeTarget(net, server, "NetUserDel", &t)) return st;
    const User* u = t.sam->findUser(user);
    if (!u) return NERR_UserNotFound;
    if (u->rid < kFirstOrdinaryRid) return ERROR_SPECIAL_ACCOUNT;
    for (auto& g : t.sam->groups) {
      if (std::erase(g.members, u->rid) != 0) changes.member(*t.sam, g.rid, u->rid, false);
    }
    forgetAccount(*t.sam, *u, changes);
    return NERR_Success;
  });
}

DWORD LabAccounts::NetUserGetGroups(std::string_view server, std::string_view user, DWORD level,
                                   NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread,
                                   DWORD* totalentries) {
  clearEnum(buf, entriesread, totalentries);
  if (level != 0 && level != 1) return ERROR_INVALID_LEVEL;
  return query([&](const Network& net) -> DWORD {
    const Machine* m = nullptr;
    const Sam* sam = nullptr;
    if (DWORD st = readTarget(net, server, "NetUserGetGroups", &m, &sam)) return st;
    const User* u = sam->findUser(user);
    if (!u) return NERR_UserNotFound;
    std::vector<const Group*> groups;
    for (const auto& g : sam->groups) {
      if (std::find(g.members.begin(), g.members.end(), u->rid) != g.members.end()) groups.push_back(&g);
    }
    return pageGroupUsers(
        buf, level, groups.size(), [&](std::size_t i) { return groups[i]->name; },
        [&](std::size_t i) { return groups[i]->attributes; }, prefmaxlen, entriesread,
        totalentries, nullptr);
  });
}

DWORD LabAccounts::NetUserGetLocalGroups(std::string_view server, std::string_view user,
                                        DWORD level, DWORD flags, NetBuffer& buf,
                                        DWORD prefmaxlen, DWORD* entriesread,
                                        DWORD* totalentries) {
  clearEnum(buf, entriesread, totalentries);
  if (level != 0) return ERROR_INVALID_LEVEL;
  if (flags & ~LG_INCLUDE_INDIRECT) return ERROR_INVALID_PARAMETER;
  return query([&](const Network& net) -> DWORD {
    const Machine* m = nullptr;
    const Sam* sam = nullptr;
    if (DWORD st = readTarget(net, server, "NetUserGetLocalGroups", &m, &sam)) return st;
    const AccountRef who = findAccount(net, *m, user);
    if (!who.sam || who.kind != AccountKind::User) return NERR_UserNotFound;
    std::vector<const LocalGroup*> groups;
    for (const auto& g : sam->localGroups) {
      const bool member = std::any_of(g.members.begin(), g.members.end(), [&](const SID& s) {
        if (s == who.sid) return true;
        return (flags & LG_INCLUDE_INDIRECT) && sidCoversUser(net, s, *who.sam, who.rid);
      });
      if (member) groups.push_back(&g);
    }
    return pageEnum<LOCALGROUP_USERS_INFO_0>(buf, groups.size(), prefmaxlen, entriesread,
                                             totalentries, nullptr, [&](std::size_t i) {
                                               return LOCALGROUP_USERS_INFO_0{groups[i]->name};
                                             });
  });
}

DWORD LabAccounts::NetQueryDisplayInformation(std::string_view server, DWORD level, DWORD index,
                                             DWORD entriesrequested, DWORD prefmaxlen,
                                             DWORD* returned, NetBuffer& buf) {
  buf.reset();
  if (returned) *returned = 0;
  if (level < 1 || level > 3) return ERROR_INVALID_LEVEL;
  return query([&](const Network& net) -> DWORD {
    const Machine* m = nullptr;
    const Sam* sam = nullptr;
    if (DWORD st = readTarget(net, server, "NetQueryDisplayInformation", &m, &sam)) return st;
    // Indexes are positions in name order; an entry's next index is the
    // position after it.
    const auto& order = level == 1 ? sam->normalUsersSorted
                        : level == 2 ? sam->machineUsersSorted : sam->groupsSorted;
    const std::size_t total = order.size();
    const std::size_t wanted = entriesrequested == 0 ? 1 : entriesrequested;
    bool more = false;
    std::size_t taken = 0;
    if (level == 1) {
      auto& out = buf.emplace<NET_DISPLAY_USER>();
      if (index < total) {
        taken = takePage(out, index, total, prefmaxlen, wanted, [&](std::size_t p) {
          const User& u = sam->users[order[p]];
          return NET_DISPLAY_USER{u.name, u.info.usri3_comment, u.info.usri3_flags,
                                  u.info.usri3_full_name, u.rid, static_cast<DWORD>(p + 1)};
        }, &more);
      }
    } else if (level == 2) {
      auto& out = buf.emplace<NET_DISPLAY_MACHINE>();
      if (index < total) {
        taken = takePage(out, index, total, prefmaxlen, wanted, [&](std::size_t p) {
          const User& u = sam->users[order[p]];
          return NET_DISPLAY_MACHINE{u.name, u.info.usri3_comment, u.info.usri3_flags, u.rid,
                                     static_cast<DWORD>(p + 1)};
        }, &more);
      }
    } else {
      auto& out = buf.emplace<NET_DISPLAY_GROUP>();
      if (index < total) {
        taken = takePage(out, index, total, prefmaxlen, wanted, [&](std::size_t p) {
          const Group& g = sam->groups[order[p]];
          return NET_DISPLAY_GROUP{g.name, g.comment, g.rid, g.attributes,
                                   static_cast<DWORD>(p + 1)};
        }, &more);
      }
    }
    if (returned) *returned = static_cast<DWORD>(taken);
    return more ? ERROR_MORE_DATA : NERR_Success;
  });
}

// ---- account policy ----

DWORD LabAccounts::NetUserModalsGet(std::string_view server, DWORD level, NetBuffer& buf) {
  buf.reset();
  if (level != 0 && level != 2 && level != 3) return ERROR_INVALID_LEVEL;
  return query([&](const Network& net) -> DWORD {
    const Machine* m = nullptr;
    const Sam* sam = nullptr;
    if (DWORD st = readTarget(net, server, "NetUserModalsGet", &m, &sam)) return st;
    if (level == 0) buf.emplace<USER_MODALS_INFO_0>().push_back(sam->policy.modals0);
    else if (level == 2) buf.emplace<USER_MODALS_INFO_2>().push_back({sam->name, sam->sid});
    else buf.emplace<USER_MODALS_INFO_3>().push_back(sam->policy.modals3);
    return NERR_Success;
  });
}

DWORD LabAccounts::NetUserModalsSet(std::string_view server, DWORD level, const NetInfo& info,
                                   DWORD* parm_err) {
  if (parm_err) *parm_err = 0;
  if (!holdsLevel<Level<0, USER_MODALS_INFO_0>, Level<3, USER_MODALS_INFO_3>>(level, info)) {
    return ERROR_INVALID_LEVEL;
  }
  return change([&](Network& net, ChangeSet& changes) -> DWORD {
    WriteTarget t;
    if (DWORD st = writeTarget(net, server, "NetUserModalsSet", &t, Needs::Administrator)) return st;
    const json::Json before = json::writePolicy(t.sam->policy);
    if (const auto* m0 = std::get_if<USER_MODALS_INFO_0>(&info)) {
      if (m0->usrmod0_min_passwd_len > 14) {
        if (parm_err) *parm_err = MODALS_MIN_PASSWD_LEN_PARMNUM;
        return ERROR_INVALID_PARAMETER;
      }
      if (m0->usrmod0_password_hist_len > kMaxPasswordHistory) {
        if (parm_err) *parm_err = MODALS_PASSWD_HIST_LEN_PARMNUM;
        return ERROR_INVALID_PARAMETER;
      }
      t.sam->policy.modals0 = *m0;
    } else {
      const auto& m3 = std::get<USER_MODALS_INFO_3>(info);
      if (m3.usrmod3_lockout_observation_window < kMinObservationWindow) {
        if (parm_err) *parm_err = MODALS_LOCKOUT_OBSERVATION_WINDOW_PARMNUM;
        return ERROR_INVALID_PARAMETER;
      }
      t.sam->policy.modals3 = m3;
    }
    if (json::writePolicy(t.sam->policy) != before) changes.database(*t.sam);
    return NERR_Success;
  });
}

}  // namespace lab
