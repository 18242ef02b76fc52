// Global and local groups: libnetapi for the groups themselves and for
// membership changes; the directory for member lists, where libnetapi
// answers 50 (local groups) or leaves out the members whose primary group
// it is (global groups).
#include <algorithm>
#include <optional>

#include "platform/paging.h"
#include "platform/samba/account_fields.h"
#include "platform/samba/samba_backend.h"
#include "platform/samba/same_text.h"
#include "platform/samba/status_codes.h"
#include "platform/samba/well_known.h"

#include "platform/samba/libnetapi.h"

namespace platform::samba {
namespace {

std::string text(const char* s) { return s ? std::string(s) : std::string(); }

constexpr long long kGlobalGroupType = 0x2;
constexpr long long kUniversalGroupType = 0x8;

// A group of the directory by name: its entry, or false.
bool findGroup(Directory& dir, std::string_view name, DirectoryEntry* out, bool* failed) {
  std::vector<DirectoryEntry> entries;
  const std::string filter = "(&(objectClass=group)(sAMAccountName=" + ldapEscape(name) + "))";
  *failed = !dir.search(filter, {"sAMAccountName", "objectSid", "groupType"}, &entries);
  if (*failed || entries.empty()) return false;
  *out = std::move(entries.front());
  return true;
}

struct Member {
  SID sid;
  SID_NAME_USE use = SidTypeUnknown;
  std::string domain;
  std::string name;
};

}  // namespace

NET_API_STATUS SambaBackend::NetGroupEnum(std::string_view servername, DWORD level,
                                          NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread,
                                          DWORD* totalentries, DWORD* resume) {
  clearEnum(buf, entriesread, totalentries);
  if (level > 2) return ERROR_INVALID_LEVEL;
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(servername, &at, lock)) return reached;
  std::vector<GROUP_INFO_2> groups;
  const DWORD status = enumerateAll<::GROUP_INFO_2>(
      [&](std::uint8_t** b, std::uint32_t* r, std::uint32_t* t, std::uint32_t* h) {
        return static_cast<DWORD>(::NetGroupEnum(at.c_str(), 2, b, MAX_PREFERRED_LENGTH, r, t, h));
      },
      [&](const ::GROUP_INFO_2& g) {
        groups.push_back({text(g.grpi2_name), text(g.grpi2_comment), g.grpi2_group_id,
                          g.grpi2_attributes});
      });
  if (status != NERR_Success) return answer(status, Family::Group, at);
  const std::size_t total = groups.size();
  if (level == 0) {
    return pageEnum<GROUP_INFO_0>(buf, total, prefmaxlen, entriesread, totalentries, resume,
                                       [&](std::size_t i) { return GROUP_INFO_0{groups[i].grpi2_name}; });
  }
  if (level == 1) {
    return pageEnum<GROUP_INFO_1>(
        buf, total, prefmaxlen, entriesread, totalentries, resume,
        [&](std::size_t i) { return GROUP_INFO_1{groups[i].grpi2_name, groups[i].grpi2_comment}; });
  }
  return pageEnum<GROUP_INFO_2>(buf, total, prefmaxlen, entriesread, totalentries, resume,
                                     [&](std::size_t i) { return std::move(groups[i]); });
}

NET_API_STATUS SambaBackend::NetGroupGetInfo(std::string_view servername,
                                             std::string_view groupname, DWORD level,
                                             NetBuffer& buf) {
  buf.reset();
  if (level > 2) return ERROR_INVALID_LEVEL;
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(servername, &at, lock)) return reached;
  // From the enumeration: libnetapi's own NetGroupGetInfo hands back a
  // buffer whose name and comment point into memory it has already freed.
  std::optional<GROUP_INFO_2> found;
  const DWORD status = enumerateAll<::GROUP_INFO_2>(
      [&](std::uint8_t** b, std::uint32_t* r, std::uint32_t* t, std::uint32_t* h) {
        return static_cast<DWORD>(::NetGroupEnum(at.c_str(), 2, b, MAX_PREFERRED_LENGTH, r, t, h));
      },
      [&](const ::GROUP_INFO_2& g) {
        if (!found && g.grpi2_name && sameText(g.grpi2_name, groupname))
          found = GROUP_INFO_2{text(g.grpi2_name), text(g.grpi2_comment), g.grpi2_group_id,
                               g.grpi2_attributes};
      });
  if (status != NERR_Success) return answer(status, Family::Group, at);
  if (!found) return NERR_GroupNotFound;
  if (level == 0) {
    buf.emplace<GROUP_INFO_0>().push_back({found->grpi2_name});
  } else if (level == 1) {
    buf.emplace<GROUP_INFO_1>().push_back({found->grpi2_name, found->grpi2_comment});
  } else {
    buf.emplace<GROUP_INFO_2>().push_back(std::move(*found));
  }
  return NERR_Success;
}

NET_API_STATUS SambaBackend::NetGroupSetInfo(std::string_view servername,
                                             std::string_view groupname, DWORD level,
                                             const NetInfo& info, DWORD* parm_err) {
  if (parm_err) *parm_err = 0;
  // Level 0 renames. Levels 1, 2 and 1002 set the comment (the directory's
  // description): the name they carry is not a rename, and level 2's
  // attributes are accepted though the directory keeps none, as the lab
  // answers them. libnetapi's level 1002 serves all three.
  const std::string* comment = nullptr;
  const std::string* rename = nullptr;
  if (const auto* c = std::get_if<GROUP_INFO_1002>(&info); c && level == 1002) {
    comment = &c->grpi1002_comment;
  } else if (const auto* n = std::get_if<GROUP_INFO_0>(&info); n && level == 0) {
    rename = &n->grpi0_name;
  } else if (const auto* one = std::get_if<GROUP_INFO_1>(&info); one && level == 1) {
    comment = &one->grpi1_comment;
  } else if (const auto* two = std::get_if<GROUP_INFO_2>(&info); two && level == 2) {
    comment = &two->grpi2_comment;
  } else {
    return ERROR_INVALID_LEVEL;
  }
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(servername, &at, lock)) return reached;
  const std::string group(groupname);
  std::uint32_t err = 0;
  DWORD status = 0;
  if (rename) {
    ::GROUP_INFO_0 raw{rename->c_str()};
    status = ::NetGroupSetInfo(at.c_str(), group.c_str(), 0, reinterpret_cast<std::uint8_t*>(&raw),
                               &err);
  } else {
    ::GROUP_INFO_1002 raw{comment->c_str()};
    status = ::NetGroupSetInfo(at.c_str(), group.c_str(), 1002,
                               reinterpret_cast<std::uint8_t*>(&raw), &err);
  }
  if (parm_err) *parm_err = err;
  return answer(status, Family::Group, at);
}

NET_API_STATUS SambaBackend::NetGroupAdd(std::string_view servername, DWORD level,
                                         const NetInfo& info, DWORD* parm_err) {
  if (parm_err) *parm_err = 0;
  std::string name;
  std::string comment;
  if (const auto* g0 = std::get_if<GROUP_INFO_0>(&info); g0 && level == 0) {
    name = g0->grpi0_name;
  } else if (const auto* g1 = std::get_if<GROUP_INFO_1>(&info); g1 && level == 1) {
    name = g1->grpi1_name;
    comment = g1->grpi1_comment;
  } else if (const auto* g2 = std::get_if<GROUP_INFO_2>(&info); g2 && level == 2) {
    name = g2->grpi2_name;
    comment = g2->grpi2_comment;
  } else {
    return level > 2 ? ERROR_INVALID_LEVEL : ERROR_INVALID_PARAMETER;
  }
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(servername, &at, lock)) return reached;
  ::GROUP_INFO_1 raw{name.c_str(), comment.c_str()};
  std::uint32_t err = 0;
  const DWORD status =
      ::NetGroupAdd(at.c_str(), 1, reinterpret_cast<std::uint8_t*>(&raw), &err);
  if (parm_err) *parm_err = err;
  return answer(status, Family::Group, at);
}

NET_API_STATUS SambaBackend::NetGroupDel(std::string_view servername, std::string_view groupname) {
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(servername, &at, lock)) return reached;
  const std::string group(groupname);
  return answer(::NetGroupDel(at.c_str(), group.c_str()), Family::Group, at);
}

NET_API_STATUS SambaBackend::NetGroupGetUsers(std::string_view servername,
                                              std::string_view groupname, DWORD level,
                                              NetBuffer& buf, DWORD prefmaxlen,
                                              DWORD* entriesread, DWORD* totalentries,
                                              DWORD* resume) {
  clearEnum(buf, entriesread, totalentries);
  if (level > 1) return ERROR_INVALID_LEVEL;
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(servername, &at, lock)) return reached;
  std::vector<std::string> names;
  if (Directory* dir = directory(at)) {
    DirectoryEntry group;
    bool failed = false;
    if (!findGroup(*dir, groupname, &group, &failed)) {
      return failed ? ERROR_BAD_NETPATH : NERR_GroupNotFound;
    }
    const long long type = group.number("groupType") & 0xF;
    if (type != kGlobalGroupType && type != kUniversalGroupType) return NERR_GroupNotFound;
    // Members by the member attribute and those whose primary group it is,
    // which SAMR leaves out. A global group nested in this one is listed
    // too, as every member the group holds is (the directory keeps the
    // nesting; a member list without it would hide who belongs).
    std::vector<DirectoryEntry> members;
    const std::string filter = "(&(|(objectClass=user)(objectClass=group))(|(memberOf=" +
                               ldapEscape(group.dn) + ")(primaryGroupID=" +
                               std::to_string(ridOf(group.sid())) + ")))";
    if (!dir->search(filter, {"sAMAccountName", "objectSid"}, &members)) return ERROR_BAD_NETPATH;
    std::sort(members.begin(), members.end(), [](const auto& a, const auto& b) {
      return ridOf(a.sid()) < ridOf(b.sid());
    });
    for (const auto& m : members) names.emplace_back(m.text("sAMAccountName"));
  } else {
    const std::string group(groupname);
    const DWORD status = enumerateAll<::GROUP_USERS_INFO_0>(
        [&](std::uint8_t** b, std::uint32_t* r, std::uint32_t* t, std::uint32_t* h) {
          return static_cast<DWORD>(
              ::NetGroupGetUsers(at.c_str(), group.c_str(), 0, b, MAX_PREFERRED_LENGTH, r, t, h));
        },
        [&](const ::GROUP_USERS_INFO_0& u) { names.push_back(text(u.grui0_name)); });
    if (status != NERR_Success) return answer(status, Family::Group, at);
  }
  if (level == 0) {
    return pageEnum<GROUP_USERS_INFO_0>(buf, names.size(), prefmaxlen, entriesread,
                                             totalentries, resume,
                                             [&](std::size_t i) { return GROUP_USERS_INFO_0{names[i]}; });
  }
  return pageEnum<GROUP_USERS_INFO_1>(
      buf, names.size(), prefmaxlen, entriesread, totalentries, resume, [&](std::size_t i) {
        return GROUP_USERS_INFO_1{names[i], SE_GROUP_MANDATORY | SE_GROUP_ENABLED_BY_DEFAULT |
                                                SE_GROUP_ENABLED};
      });
}

NET_API_STATUS SambaBackend::NetGroupAddUser(std::string_view servername,
                                             std::string_view groupname,
                                             std::string_view username) {
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(servername, &at, lock)) return reached;
  const std::string group(groupname);
  const std::string user(username);
  return answer(::NetGroupAddUser(at.c_str(), group.c_str(), user.c_str()), Family::Group, at);
}

NET_API_STATUS SambaBackend::NetGroupDelUser(std::string_view servername,
                                             std::string_view groupname,
                                             std::string_view username) {
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(servername, &at, lock)) return reached;
  const std::string group(groupname);
  const std::string user(username);
  return answer(::NetGroupDelUser(at.c_str(), group.c_str(), user.c_str()), Family::Group, at);
}

NET_API_STATUS SambaBackend::NetLocalGroupEnum(std::string_view servername, DWORD level,
                                               NetBuffer& buf, DWORD prefmaxlen,
                                               DWORD* entriesread, DWORD* totalentries,
                                               DWORD* resume) {
  clearEnum(buf, entriesread, totalentries);
  if (level > 1) return ERROR_INVALID_LEVEL;
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(servername, &at, lock)) return reached;
  std::vector<LOCALGROUP_INFO_1> groups;
  const DWORD status = enumerateAll<::LOCALGROUP_INFO_1>(
      [&](std::uint8_t** b, std::uint32_t* r, std::uint32_t* t, std::uint32_t* h) {
        return static_cast<DWORD>(
            ::NetLocalGroupEnum(at.c_str(), 1, b, MAX_PREFERRED_LENGTH, r, t, h));
      },
      [&](const ::LOCALGROUP_INFO_1& g) {
        groups.push_back({text(g.lgrpi1_name), text(g.lgrpi1_comment)});
      });
  if (status != NERR_Success) return answer(status, Family::LocalGroup, at);
  if (level == 0) {
    return pageEnum<LOCALGROUP_INFO_0>(
        buf, groups.size(), prefmaxlen, entriesread, totalentries, resume,
        [&](std::size_t i) { return LOCALGROUP_INFO_0{groups[i].lgrpi1_name}; });
  }
  return pageEnum<LOCALGROUP_INFO_1>(buf, groups.size(), prefmaxlen, entriesread,
                                          totalentries, resume,
                                          [&](std::size_t i) { return std::move(groups[i]); });
}

NET_API_STATUS SambaBackend::NetLocalGroupGetInfo(std::string_view servername,
                                                  std::string_view groupname, DWORD level,
                                                  NetBuffer& buf) {
  buf.reset();
  if (level != 1) return ERROR_INVALID_LEVEL;
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(servername, &at, lock)) return reached;
  const std::string group(groupname);
  NetapiBuffer raw;
  const DWORD status = ::NetLocalGroupGetInfo(at.c_str(), group.c_str(), 1, raw.out());
  if (status != NERR_Success) return answer(status, Family::LocalGroup, at);
  const auto* g = raw.as<::LOCALGROUP_INFO_1>();
  if (!g) return NERR_GroupNotFound;
  buf.emplace<LOCALGROUP_INFO_1>().push_back({text(g->lgrpi1_name), text(g->lgrpi1_comment)});
  return NERR_Success;
}

NET_API_STATUS SambaBackend::NetLocalGroupSetInfo(std::string_view servername,
                                                  std::string_view groupname, DWORD level,
                                                  const NetInfo& info, DWORD* parm_err) {
  if (parm_err) *parm_err = 0;
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(servername, &at, lock)) return reached;
  const std::string group(groupname);
  std::uint32_t err = 0;
  DWORD status = ERROR_INVALID_LEVEL;
  if (const auto* c = std::get_if<LOCALGROUP_INFO_1002>(&info); c && level == 1002) {
    ::LOCALGROUP_INFO_1002 raw{c->lgrpi1002_comment.c_str()};
    status = ::NetLocalGroupSetInfo(at.c_str(), group.c_str(), 1002,
                                    reinterpret_cast<std::uint8_t*>(&raw), &err);
  } else if (const auto* n = std::get_if<LOCALGROUP_INFO_0>(&info); n && level == 0) {
    ::LOCALGROUP_INFO_0 raw{n->lgrpi0_name.c_str()};
    status = ::NetLocalGroupSetInfo(at.c_str(), group.c_str(), 0,
                                    reinterpret_cast<std::uint8_t*>(&raw), &err);
  } else if (const auto* one = std::get_if<LOCALGROUP_INFO_1>(&info); one && level == 1) {
    ::LOCALGROUP_INFO_1 raw{one->lgrpi1_name.c_str(), one->lgrpi1_comment.c_str()};
    status = ::NetLocalGroupSetInfo(at.c_str(), group.c_str(), 1,
                                    reinterpret_cast<std::uint8_t*>(&raw), &err);
  }
  if (parm_err) *parm_err = err;
  return answer(status, Family::LocalGroup, at);
}

NET_API_STATUS SambaBackend::NetLocalGroupAdd(std::string_view servername, DWORD level,
                                              const NetInfo& info, DWORD* parm_err) {
  if (parm_err) *parm_err = 0;
  std::string name;
  std::string comment;
  if (const auto* g0 = std::get_if<LOCALGROUP_INFO_0>(&info); g0 && level == 0) {
    name = g0->lgrpi0_name;
  } else if (const auto* g1 = std::get_if<LOCALGROUP_INFO_1>(&info); g1 && level == 1) {
    name = g1->lgrpi1_name;
    comment = g1->lgrpi1_comment;
  } else {
    return level > 1 ? ERROR_INVALID_LEVEL : ERROR_INVALID_PARAMETER;
  }
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(servername, &at, lock)) return reached;
  ::LOCALGROUP_INFO_1 raw{name.c_str(), comment.c_str()};
  std::uint32_t err = 0;
  const DWORD status =
      ::NetLocalGroupAdd(at.c_str(), 1, reinterpret_cast<std::uint8_t*>(&raw), &err);
  if (parm_err) *parm_err = err;
  return answer(status, Family::LocalGroup, at);
}

NET_API_STATUS SambaBackend::NetLocalGroupDel(std::string_view servername,
                                              std::string_view groupname) {
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(servername, &at, lock)) return reached;
  const std::string group(groupname);
  return answer(::NetLocalGroupDel(at.c_str(), group.c_str()), Family::LocalGroup, at);
}

NET_API_STATUS SambaBackend::NetLocalGroupGetMembers(std::string_view servername,
                                                     std::string_view groupname, DWORD level,
                                                     NetBuffer& buf, DWORD prefmaxlen,
                                                     DWORD* entriesread, DWORD* totalentries,
                                                     DWORD* resume) {
  clearEnum(buf, entriesread, totalentries);
  if (level > 3) return ERROR_INVALID_LEVEL;
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(servername, &at, lock)) return reached;
  // libnetapi answers 50 at every level: the directory holds the members.
  Directory* dir = directory(at);
  if (!dir) return ERROR_NOT_SUPPORTED;
  DirectoryEntry group;
  bool failed = false;
  if (!findGroup(*dir, groupname, &group, &failed)) {
    return failed ? ERROR_BAD_NETPATH : NERR_GroupNotFound;
  }
  std::vector<DirectoryEntry> entries;
  if (!dir->search("(memberOf=" + ldapEscape(group.dn) + ")",
                   {"sAMAccountName", "objectSid", "objectClass", "groupType"}, &entries))
    return ERROR_BAD_NETPATH;
  const std::string domain = domainName(at);
  std::vector<Member> members;
  for (const DirectoryEntry& e : entries) {
    Member m;
    m.sid.value = e.sid();
    const auto classes = e.values.find("objectClass");
    const auto is = [&](std::string_view c) {
      return classes != e.values.end() &&
             std::find(classes->second.begin(), classes->second.end(), c) != classes->second.end();
    };
    if (is("foreignSecurityPrincipal")) {
      const WellKnownAccount* known = wellKnownBySid(m.sid.value);
      m.use = SidTypeWellKnownGroup;
      m.domain = known ? std::string(known->domain) : std::string();
      m.name = known ? std::string(known->name) : m.sid.value;
    } else {
      m.name = std::string(e.text("sAMAccountName"));
      m.domain = m.sid.value.starts_with("S-1-5-32-") ? "BUILTIN" : domain;
      if (is("group")) {
        m.use = (e.number("groupType") & 0x5) ? SidTypeAlias : SidTypeGroup;
      } else {
        m.use = SidTypeUser;
      }
    }
    members.push_back(std::move(m));
  }
  std::sort(members.begin(), members.end(),
            [](const Member& a, const Member& b) { return a.name < b.name; });
  const auto qualified = [](const Member& m) {
    return m.domain.empty() ? m.name : m.domain + "\\" + m.name;
  };
  const std::size_t total = members.size();
  switch (level) {
    case 0:
      return pageEnum<LOCALGROUP_MEMBERS_INFO_0>(
          buf, total, prefmaxlen, entriesread, totalentries, resume,
          [&](std::size_t i) { return LOCALGROUP_MEMBERS_INFO_0{members[i].sid}; });
    case 1:
      return pageEnum<LOCALGROUP_MEMBERS_INFO_1>(
          buf, total, prefmaxlen, entriesread, totalentries, resume, [&](std::size_t i) {
            return LOCALGROUP_MEMBERS_INFO_1{members[i].sid, members[i].use, members[i].name};
          });
    case 2:
      return pageEnum<LOCALGROUP_MEMBERS_INFO_2>(
          buf, total, prefmaxlen, entriesread, totalentries, resume, [&](std::size_t i) {
            return LOCALGROUP_MEMBERS_INFO_2{members[i].sid, members[i].use,
                                             qualified(members[i])};
          });
    default:
      return pageEnum<LOCALGROUP_MEMBERS_INFO_3>(
          buf, total, prefmaxlen, entriesread, totalentries, resume,
          [&](std::size_t i) { return LOCALGROUP_MEMBERS_INFO_3{qualified(members[i])}; });
  }
}

namespace {

// A SID in text form as libnetapi's structure; false when malformed.
bool toDomsid(const std::string& text, ::domsid* out) {
  *out = {};
  if (!text.starts_with("S-1-")) return false;
  std::vector<unsigned long long> parts;
  std::size_t at = 2;
  while (at < text.size()) {
    const std::size_t dash = text.find('-', at);
    const std::string part = text.substr(at, dash == std::string::npos ? std::string::npos : dash - at);
    if (part.empty() || part.find_first_not_of("0123456789") != std::string::npos) return false;
    parts.push_back(std::stoull(part));
    if (dash == std::string::npos) break;
    at = dash + 1;
  }
  // revision, authority, then the sub-authorities
  if (parts.size() < 2 || parts.size() - 2 > MAXSUBAUTHS) return false;
  out->sid_rev_num = static_cast<std::uint8_t>(parts[0]);
  out->num_auths = static_cast<std::uint8_t>(parts.size() - 2);
  for (int i = 0; i < 6; ++i) out->id_auth[i] = static_cast<std::uint8_t>(parts[1] >> (8 * (5 - i)));
  for (std::size_t i = 2; i < parts.size(); ++i)
    out->sub_auths[i - 2] = static_cast<std::uint32_t>(parts[i]);
  return true;
}

// Members go to libnetapi by SID (level 0) only: its level 3 aborts the
// process. Names of a level-3 call are looked up first. Answers libnetapi's
// status.
DWORD changeMembers(bool add, const std::string& at, const std::string& group,
                           const std::vector<std::string>& sids) {
  std::vector<::domsid> raw(sids.size());
  std::vector<::LOCALGROUP_MEMBERS_INFO_0> entries(sids.size());
  for (std::size_t i = 0; i < sids.size(); ++i) {
    if (!toDomsid(sids[i], &raw[i])) return ERROR_INVALID_PARAMETER;
    entries[i].lgrmi0_sid = &raw[i];
  }
  auto* buffer = reinterpret_cast<std::uint8_t*>(entries.data());
  const auto count = static_cast<std::uint32_t>(entries.size());
  return add ? ::NetLocalGroupAddMembers(at.c_str(), group.c_str(), 0, buffer, count)
             : ::NetLocalGroupDelMembers(at.c_str(), group.c_str(), 0, buffer, count);
}

}  // namespace

DWORD SambaBackend::changeLocalGroupMembers(bool add, std::string_view servername,
                                            std::string_view groupname, DWORD level,
                                            std::span<const SID> sids,
                                            std::span<const std::string> names) {
  if (level != 0 && level != 3) return ERROR_INVALID_LEVEL;
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(servername, &at, lock)) return reached;
  std::vector<std::string> members;
  if (level == 0) {
    for (const SID& s : sids) members.push_back(s.value);
  } else {
    for (const std::string& n : names) {
      SID sid;
      std::string domain;
      SID_NAME_USE use = SidTypeUnknown;
      if (lookupName(at, n, &sid, &domain, &use) != ERROR_SUCCESS) return ERROR_NO_SUCH_MEMBER;
      members.push_back(sid.value);
    }
  }
  return answer(changeMembers(add, at, std::string(groupname), members), Family::LocalGroup, at);
}

NET_API_STATUS SambaBackend::NetLocalGroupAddMembers(std::string_view servername,
                                                     std::string_view groupname, DWORD level,
                                                     std::span<const SID> sids,
                                                     std::span<const std::string> names) {
  return changeLocalGroupMembers(true, servername, groupname, level, sids, names);
}

NET_API_STATUS SambaBackend::NetLocalGroupDelMembers(std::string_view servername,
                                                     std::string_view groupname, DWORD level,
                                                     std::span<const SID> sids,
                                                     std::span<const std::string> names) {
  return changeLocalGroupMembers(false, servername, groupname, level, sids, names);
}

}  // namespace platform::samba
