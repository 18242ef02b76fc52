// Global and local groups of the lab backend.

#include <algorithm>
#include <string>

#include "platform/lab/account_calls.h"
#include "platform/lab/account_rules.h"
#include "platform/lab/lab_accounts.h"

namespace lab {

using namespace platform;
using namespace calls;

namespace {

DWORD checkGroupName(std::string_view name, DWORD* parm_err) {
  return checkName(name, kMaxGroupNameLength, GROUP_NAME_PARMNUM, parm_err);
}

// Records that group `g` of `sam` changed.
void touch(ChangeSet& changes, const Sam& sam, const Group& g) { changes.group(sam, g.rid); }
void touch(ChangeSet& changes, const Sam& sam, const LocalGroup& g) {
  changes.localGroup(sam, g.rid);
}

// Renames a global or local group; `exists` answers a name already taken.
template <class G>
DWORD renameGroup(Sam& sam, G& g, const std::string& name, DWORD exists, DWORD* parm_err,
                  ChangeSet& changes) {
  if (DWORD st = checkGroupName(name, parm_err)) return st;
  if (upper(name) != upper(g.name) && sam.nameTaken(name)) return exists;
  if (name == g.name) return NERR_Success;
  touch(changes, sam, g);
  if constexpr (std::is_same_v<G, LocalGroup>) sam.renameLocalGroup(sam.localGroupIndex(g), name);
  else sam.renameGroup(sam.groupIndex(g), name);
  return NERR_Success;
}

// Adds a new global or local group to `sam`.
template <class G>
DWORD addGroup(Sam& sam, G g, DWORD* parm_err, ChangeSet& changes) {
  if (DWORD st = checkGroupName(g.name, parm_err)) return st;
  if (DWORD st = checkText(g.comment, kMaxAccountTextLength, GROUP_COMMENT_PARMNUM, parm_err)) {
    return st;
  }
  if constexpr (std::is_same_v<G, LocalGroup>) {
    if (sam.findLocalGroup(g.name)) return ERROR_ALIAS_EXISTS;
  }
  if (sam.findUser(g.name)) return NERR_UserExists;
  if (sam.nameTaken(g.name)) return NERR_GroupExists;
  g.rid = sam.allocateRid();
  changes.database(sam);
  touch(changes, sam, g);
  if constexpr (std::is_same_v<G, LocalGroup>) sam.addLocalGroup(std::move(g));
  else sam.addGroup(std::move(g));
  return NERR_Success;
}

// Sets a group's comment, recording it only when it changes; a comment the
// lab could not keep is refused.
template <class G>
DWORD setComment(std::string& field, std::string_view value, const Sam& sam, const G& g,
                 DWORD* parm_err, ChangeSet& changes) {
  if (field == value) return NERR_Success;
  if (DWORD st = checkText(value, kMaxAccountTextLength, GROUP_COMMENT_PARMNUM, parm_err)) return st;
  field = std::string(value);
  touch(changes, sam, g);
  return NERR_Success;
}

// Only administrators may touch the Administrators group.
bool mayChange(const WriteTarget& t, const LocalGroup& g) {
  return g.rid != kAdministratorsRid || t.rights.administrator;
}

// What a local group member is reported as.
struct MemberView {
  SID sid;
  SID_NAME_USE use = SidTypeUnknown;
  std::string name;
  std::string domainAndName;
};

MemberView viewOf(const Network& net, const Machine& m, const SID& sid) {
  MemberView v;
  v.sid = sid;
  AccountRef r = findSid(net, m, sid);
  if (!r.sam || r.deleted) {
    v.use = r.deleted ? SidTypeDeletedAccount : SidTypeUnknown;
    v.name = v.domainAndName = sid.value;
    return v;
  }
  v.use = r.kind == AccountKind::User ? SidTypeUser
          : r.kind == AccountKind::Group ? SidTypeGroup : SidTypeAlias;
  v.domainAndName = std::move(r.domain);
  v.domainAndName += '\\';
  v.domainAndName += r.name;
  v.name = std::move(r.name);
  return v;
}

// Whether a member found for a local group may belong to it from here.
bool acceptable(const Network& net, const Machine& m, const AccountRef& r) {
  if (!r.sam || r.deleted || r.kind == AccountKind::LocalGroup) return false;
  if (m.sam && r.sam == &*m.sam) return true;
  const Domain* d = net.findDomain(m.domain);
  if (!d) return false;
  if (r.sam == &d->sam) return true;
  return std::any_of(d->trusts.begin(), d->trusts.end(), [&](const std::string& t) {
    const Domain* td = net.findDomain(t);
    return td && r.sam == &td->sam;
  });
}

}  // namespace

// ---- global groups ----

DWORD LabAccounts::NetGroupEnum(std::string_view server, DWORD level, NetBuffer& buf,
                               DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries,
                               DWORD* resume) {
  clearEnum(buf, entriesread, totalentries);
  if (level > 2) return ERROR_INVALID_LEVEL;
  return query([&](const Network& net) -> DWORD {
    const Machine* m = nullptr;
    const Sam* sam = nullptr;
    if (DWORD st = readTarget(net, server, "NetGroupEnum", &m, &sam)) return st;
    const auto& g = sam->groups;
    if (level == 0) {
      return pageEnum<GROUP_INFO_0>(buf, g.size(), prefmaxlen, entriesread, totalentries, resume,
                                    [&](std::size_t i) { return GROUP_INFO_0{g[i].name}; });
    }
    if (level == 1) {
      return pageEnum<GROUP_INFO_1>(buf, g.size(), prefmaxlen, entriesread, totalentries, resume,
                                    [&](std::size_t i) { return GROUP_INFO_1{g[i].name, g[i].comment}; });
    }
    return pageEnum<GROUP_INFO_2>(buf, g.size(), prefmaxlen, entriesread, totalentries, resume,
                                  [&](std::size_t i) {
                                    return GROUP_INFO_2{g[i].name, g[i].comment, g[i].rid, g[i].attributes};
                                  });
  });
}

DWORD LabAccounts::NetGroupGetInfo(std::string_view server, std::string_view group, DWORD level,
                                  NetBuffer& buf) {
  buf.reset();
  if (level > 2) return ERROR_INVALID_LEVEL;
  return query([&](const Network& net) -> DWORD {
    const Machine* m = nullptr;
    const Sam* sam = nullptr;
    if (DWORD st = readTarget(net, server, "NetGroupGetInfo", &m, &sam)) return st;
    const Group* g = sam->findGroup(group);
    if (!g) return NERR_GroupNotFound;
    if (level == 0) buf.emplace<GROUP_INFO_0>().push_back({g->name});
    else if (level == 1) buf.emplace<GROUP_INFO_1>().push_back({g->name, g->comment});
    else buf.emplace<GROUP_INFO_2>().push_back({g->name, g->comment, g->rid, g->attributes});
    return NERR_Success;
  });
}

DWORD LabAccounts::NetGroupSetInfo(std::string_view server, std::string_view group, DWORD level,
                                  const NetInfo& info, DWORD* parm_err) {
  if (parm_err) *parm_err = 0;
  if (!holdsLevel<Level<0, GROUP_INFO_0>, Level<1, GROUP_INFO_1>, Level<2, GROUP_INFO_2>,
                  Level<1002, GROUP_INFO_1002>>(level, info)) {
    return ERROR_INVALID_LEVEL;
  }
  return change([&](Network& net, ChangeSet& changes) -> DWORD {
    WriteTarget t;
    if (DWORD st = writeTarget(net, server, "NetGroupSetInfo", &t)) return st;
    Group* g = t.sam->findGroup(group);
    if (!g) return NERR_GroupNotFound;
    if (const auto* i0 = std::get_if<GROUP_INFO_0>(&info)) {
      return renameGroup(*t.sam, *g, i0->grpi0_name, NERR_GroupExists, parm_err, changes);
    }
    if (const auto* i1 = std::get_if<GROUP_INFO_1>(&info)) {
      return setComment(g->comment, i1->grpi1_comment, *t.sam, *g, parm_err, changes);
    } else if (const auto* i2 = std::get_if<GROUP_INFO_2>(&info)) {
      if (DWORD st = setComment(g->comment, i2->grpi2_comment, *t.sam, *g, parm_err, changes)) {
        return st;
      }
      if (g->attributes != i2->grpi2_attributes) {
        g->attributes = i2->grpi2_attributes;
        changes.group(*t.sam, g->rid);
      }
    } else {
      return setComment(g->comment, std::get<GROUP_INFO_1002>(info).grpi1002_comment, *t.sam,
                        *g, parm_err, changes);
    }
    return NERR_Success;
  });
}

DWORD LabAccounts::NetGroupAdd(std::string_view server, DWORD level, const NetInfo& info,
                              DWORD* parm_err) {
  if (parm_err) *parm_err = 0;
  if (!holdsLevel<Level<0, GROUP_INFO_0>, Level<1, GROUP_INFO_1>, Level<2, GROUP_INFO_2>>(level,
                                                                                        info)) {
    return ERROR_INVALID_LEVEL;
  }
  Group g;
  if (const auto* i0 = std::get_if<GROUP_INFO_0>(&info)) {
    g.name = i0->grpi0_name;
  } else if (const auto* i1 = std::get_if<GROUP_INFO_1>(&info)) {
    g.name = i1->grpi1_name;
    g.comment = i1->grpi1_comment;
  } else {
    const auto& i2 = std::get<GROUP_INFO_2>(info);
    g.name = i2.grpi2_name;
    g.comment = i2.grpi2_comment;
    g.attributes = i2.grpi2_attributes;
  }
  return change([&](Network& net, ChangeSet& changes) -> DWORD {
    WriteTarget t;
    if (DWORD st = writeTarget(net, server, "NetGroupAdd", &t)) return st;
    return addGroup(*t.sam, g, parm_err, changes);
  });
}

DWORD LabAccounts::NetGroupDel(std::string_view server, std::string_view group) {
  return change([&](Network& net, ChangeSet& changes) -> DWORD {
    WriteTarget t;
    if (DWORD st = writeTarget(net, server, "NetGroupDel", &t)) return st;
    const Group* g = t.sam->findGroup(group);
    if (!g) return NERR_GroupNotFound;
    if (g->rid < kFirstOrdinaryRid) return ERROR_SPECIAL_ACCOUNT;
    forgetAccount(*t.sam, *g, changes);
    return NERR_Success;
  });
}

DWORD LabAccounts::NetGroupGetUsers(std::string_view server, std::string_view group, DWORD level,
                                   NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread,
                                   DWORD* totalentries, DWORD* resume) {
  clearEnum(buf, entriesread, totalentries);
  if (level > 1) return ERROR_INVALID_LEVEL;
  return query([&](const Network& net) -> DWORD {
    const Machine* m = nullptr;
    const Sam* sam = nullptr;
    if (DWORD st = readTarget(net, server, "NetGroupGetUsers", &m, &sam)) return st;
    const Group* g = sam->findGroup(group);
    if (!g) return NERR_GroupNotFound;
    // Paged by place in the group, each page looking up only its own
    // members: a 100,000-member group is read in hundreds of pages. Every
    // member is an account (deleting one takes it out of every group, and a
    // lab file naming an unknown member is refused); one that were not would
    // be listed by its RID, as a local group lists a SID that does not
    // resolve.
    const auto nameOf = [&](std::size_t i) {
      const DWORD rid = g->members[i];
      const User* u = sam->userByRidOrNull(rid);
      return u ? u->name : std::to_string(rid);
    };
    return pageGroupUsers(
        buf, level, g->members.size(), nameOf, [&](std::size_t) { return g->attributes; },
        prefmaxlen, entriesread, totalentries, resume);
  });
}

DWORD LabAccounts::NetGroupAddUser(std::string_view server, std::string_view group,
                                  std::string_view user) {
  return change([&](Network& net, ChangeSet& changes) -> DWORD {
    WriteTarget t;
    if (DWORD st = writeTarget(net, server, "NetGroupAddUser", &t)) return st;
    Group* g = t.sam->findGroup(group);
    if (!g) return NERR_GroupNotFound;
    const User* u = t.sam->findUser(user);
    if (!u) return NERR_UserNotFound;
    if (std::find(g->members.begin(), g->members.end(), u->rid) != g->members.end()) {
      return NERR_UserInGroup;
    }
    g->members.push_back(u->rid);
    changes.member(*t.sam, g->rid, u->rid, true);
    return NERR_Success;
  });
}

DWORD LabAccounts::NetGroupDelUser(std::string_view server, std::string_view group,
                                  std::string_view user) {
  return change([&](Network& net, ChangeSet& changes) -> DWORD {
    WriteTarget t;
    if (DWORD st = writeTarget(net, server, "NetGroupDelUser", &t)) return st;
    Group* g = t.sam->findGroup(group);
    if (!g) return NERR_GroupNotFound;
    const User* u = t.sam->findUser(user);
    if (!u) return NERR_UserNotFound;
    // An account never leaves the group it names as its primary one: its
    // primary group must change first.
    if (u->info.usri3_primary_group_id == g->rid &&
        std::find(g->members.begin(), g->members.end(), u->rid) != g->members.end())
      return ERROR_MEMBERS_PRIMARY_GROUP;
    if (std::erase(g->members, u->rid) == 0) return NERR_UserNotInGroup;
    changes.member(*t.sam, g->rid, u->rid, false);
    return NERR_Success;
  });
}

// ---- local groups ----

DWORD LabAccounts::NetLocalGroupEnum(std::string_view server, DWORD level, NetBuffer& buf,
                                    DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries,
                                    DWORD* resume) {
  clearEnum(buf, entriesread, totalentries);
  if (level > 1) return ERROR_INVALID_LEVEL;
  return query([&](const Network& net) -> DWORD {
    const Machine* m = nullptr;
    const Sam* sam = nullptr;
    if (DWORD st = readTarget(net, server, "NetLocalGroupEnum", &m, &sam)) return st;
    const auto& g = sam->localGroups;
    if (level == 0) {
      return pageEnum<LOCALGROUP_INFO_0>(buf, g.size(), prefmaxlen, entriesread, totalentries,
                                         resume, [&](std::size_t i) { return LOCALGROUP_INFO_0{g[i].name}; });
    }
    return pageEnum<LOCALGROUP_INFO_1>(buf, g.size(), prefmaxlen, entriesread, totalentries,
                                       resume, [&](std::size_t i) {
                                         return LOCALGROUP_INFO_1{g[i].name, g[i].comment};
                                       });
  });
}

DWORD LabAccounts::NetLocalGroupGetInfo(std::string_view server, std::string_view group,
                                       DWORD level, NetBuffer& buf) {
  buf.reset();
  if (level > 1) return ERROR_INVALID_LEVEL;
  return query([&](const Network& net) -> DWORD {
    const Machine* m = nullptr;
    const Sam* sam = nullptr;
    if (DWORD st = readTarget(net, server, "NetLocalGroupGetInfo", &m, &sam)) return st;
    const LocalGroup* g = sam->findLocalGroup(group);
    if (!g) return NERR_GroupNotFound;
    if (level == 0) buf.emplace<LOCALGROUP_INFO_0>().push_back({g->name});
    else buf.emplace<LOCALGROUP_INFO_1>().push_back({g->name, g->comment});
    return NERR_Success;
  });
}

DWORD LabAccounts::NetLocalGroupSetInfo(std::string_view server, std::string_view group,
                                       DWORD level, const NetInfo& info, DWORD* parm_err) {
  if (parm_err) *parm_err = 0;
  if (!holdsLevel<Level<0, LOCALGROUP_INFO_0>, Level<1, LOCALGROUP_INFO_1>,
                  Level<1002, LOCALGROUP_INFO_1002>>(level, info)) {
    return ERROR_INVALID_LEVEL;
  }
  return change([&](Network& net, ChangeSet& changes) -> DWORD {
    WriteTarget t;
    if (DWORD st = writeTarget(net, server, "NetLocalGroupSetInfo", &t)) return st;
    LocalGroup* g = t.sam->findLocalGroup(group);
    if (!g) return NERR_GroupNotFound;
    if (!mayChange(t, *g)) return ERROR_ACCESS_DENIED;
    if (const auto* i0 = std::get_if<LOCALGROUP_INFO_0>(&info)) {
      return renameGroup(*t.sam, *g, i0->lgrpi0_name, ERROR_ALIAS_EXISTS, parm_err, changes);
    }
    if (const auto* i1 = std::get_if<LOCALGROUP_INFO_1>(&info)) {
      return setComment(g->comment, i1->lgrpi1_comment, *t.sam, *g, parm_err, changes);
    } else {
      return setComment(g->comment, std::get<LOCALGROUP_INFO_1002>(info).lgrpi1002_comment,
                        *t.sam, *g, parm_err, changes);
    }
    return NERR_Success;
  });
}

DWORD LabAccounts::NetLocalGroupAdd(std::string_view server, DWORD level, const NetInfo& info,
                                   DWORD* parm_err) {
  if (parm_err) *parm_err = 0;
  if (!holdsLevel<Level<0, LOCALGROUP_INFO_0>, Level<1, LOCALGROUP_INFO_1>>(level, info)) {
    return ERROR_INVALID_LEVEL;
  }
  LocalGroup g;
  if (const auto* i0 = std::get_if<LOCALGROUP_INFO_0>(&info)) {
    g.name = i0->lgrpi0_name;
  } else {
    const auto& i1 = std::get<LOCALGROUP_INFO_1>(info);
    g.name = i1.lgrpi1_name;
    g.comment = i1.lgrpi1_comment;
  }
  return change([&](Network& net, ChangeSet& changes) -> DWORD {
    WriteTarget t;
    if (DWORD st = writeTarget(net, server, "NetLocalGroupAdd", &t)) return st;
    return addGroup(*t.sam, g, parm_err, changes);
  });
}

DWORD LabAccounts::NetLocalGroupDel(std::string_view server, std::string_view group) {
  return change([&](Network& net, ChangeSet& changes) -> DWORD {
    WriteTarget t;
    if (DWORD st = writeTarget(net, server, "NetLocalGroupDel", &t)) return st;
    const LocalGroup* g = t.sam->findLocalGroup(group);
    if (!g) return NERR_GroupNotFound;
    if (isBuiltinRid(g->rid)) return ERROR_SPECIAL_ACCOUNT;
    forgetAccount(*t.sam, *g, changes);
    return NERR_Success;
  });
}

DWORD LabAccounts::NetLocalGroupGetMembers(std::string_view server, std::string_view group,
                                          DWORD level, NetBuffer& buf, DWORD prefmaxlen,
                                          DWORD* entriesread, DWORD* totalentries,
                                          DWORD* resume) {
  clearEnum(buf, entriesread, totalentries);
  if (level > 3) return ERROR_INVALID_LEVEL;
  return query([&](const Network& net) -> DWORD {
    const Machine* m = nullptr;
    const Sam* sam = nullptr;
    if (DWORD st = readTarget(net, server, "NetLocalGroupGetMembers", &m, &sam)) return st;
    const LocalGroup* g = sam->findLocalGroup(group);
    if (!g) return NERR_GroupNotFound;
    const auto& mem = g->members;
    auto view = [&](std::size_t i) { return viewOf(net, *m, mem[i]); };
    switch (level) {
      case 0:
        return pageEnum<LOCALGROUP_MEMBERS_INFO_0>(buf, mem.size(), prefmaxlen, entriesread,
                                                   totalentries, resume, [&](std::size_t i) {
                                                     return LOCALGROUP_MEMBERS_INFO_0{mem[i]};
                                                   });
      case 1:
        return pageEnum<LOCALGROUP_MEMBERS_INFO_1>(buf, mem.size(), prefmaxlen, entriesread,
                                                   totalentries, resume, [&](std::size_t i) {
                                                     auto v = view(i);
                                                     return LOCALGROUP_MEMBERS_INFO_1{v.sid, v.use, v.name};
                                                   });
      case 2:
        return pageEnum<LOCALGROUP_MEMBERS_INFO_2>(buf, mem.size(), prefmaxlen, entriesread,
                                                   totalentries, resume, [&](std::size_t i) {
                                                     auto v = view(i);
                                                     return LOCALGROUP_MEMBERS_INFO_2{
                                                         std::move(v.sid), v.use,
                                                         std::move(v.domainAndName)};
                                                   });
      default:
        return pageEnum<LOCALGROUP_MEMBERS_INFO_3>(buf, mem.size(), prefmaxlen, entriesread,
                                                   totalentries, resume, [&](std::size_t i) {
                                                     return LOCALGROUP_MEMBERS_INFO_3{view(i).domainAndName};
                                                   });
    }
  });
}

DWORD LabAccounts::NetLocalGroupAddMembers(std::string_view server, std::string_view group,
                                          DWORD level, std::span<const SID> sids,
                                          std::span<const std::string> names) {
  if (level != 0 && level != 3) return ERROR_INVALID_LEVEL;
  return change([&](Network& net, ChangeSet& changes) -> DWORD {
    WriteTarget t;
    if (DWORD st = writeTarget(net, server, "NetLocalGroupAddMembers", &t)) return st;
    LocalGroup* g = t.sam->findLocalGroup(group);
    if (!g) return NERR_GroupNotFound;
    if (!mayChange(t, *g)) return ERROR_ACCESS_DENIED;
    // All or nothing: check every new member before adding any.
    std::vector<SID> adding;
    const std::size_t count = level == 0 ? sids.size() : names.size();
    for (std::size_t i = 0; i < count; ++i) {
      const AccountRef r = level == 0 ? findSid(net, *t.machine, sids[i])
                                      : findAccount(net, *t.machine, names[i]);
      if (!r.sam || r.deleted) return ERROR_NO_SUCH_MEMBER;
      if (r.kind == AccountKind::LocalGroup) return ERROR_INVALID_MEMBER;
      if (!acceptable(net, *t.machine, r)) return ERROR_NO_SUCH_MEMBER;
      if (std::find(g->members.begin(), g->members.end(), r.sid) != g->members.end() ||
          std::find(adding.begin(), adding.end(), r.sid) != adding.end()) {
        return ERROR_MEMBER_IN_ALIAS;
      }
      adding.push_back(r.sid);
    }
    g->members.insert(g->members.end(), adding.begin(), adding.end());
    if (!adding.empty()) changes.localGroup(*t.sam, g->rid);
    return NERR_Success;
  });
}

DWORD LabAccounts::NetLocalGroupDelMembers(std::string_view server, std::string_view group,
                                          DWORD level, std::span<const SID> sids,
                                          std::span<const std::string> names) {
  if (level != 0 && level != 3) return ERROR_INVALID_LEVEL;
  return change([&](Network& net, ChangeSet& changes) -> DWORD {
    WriteTarget t;
    if (DWORD st = writeTarget(net, server, "NetLocalGroupDelMembers", &t)) return st;
    LocalGroup* g = t.sam->findLocalGroup(group);
    if (!g) return NERR_GroupNotFound;
    if (!mayChange(t, *g)) return ERROR_ACCESS_DENIED;
    std::vector<SID> removing;
    const std::size_t count = level == 0 ? sids.size() : names.size();
    for (std::size_t i = 0; i < count; ++i) {
      SID sid;
      if (level == 0) {
        sid = sids[i];  // a deleted account's SID can still be removed
      } else {
        const AccountRef r = findAccount(net, *t.machine, names[i]);
        if (!r.sam) return ERROR_NO_SUCH_MEMBER;
        sid = r.sid;
      }
      if (std::find(g->members.begin(), g->members.end(), sid) == g->members.end()) {
        return ERROR_MEMBER_NOT_IN_ALIAS;
      }
      removing.push_back(sid);
    }
    for (const auto& s : removing) std::erase(g->members, s);
    if (!removing.empty()) changes.localGroup(*t.sam, g->rid);
    return NERR_Success;
  });
}

}  // namespace lab
