#pragma once
// The lab's accounts part: users and account policy (backend_accounts.cpp),
// global and local groups (backend_groups.cpp).

#include <span>
#include <string>
#include <thread>

#include "platform/lab/hash_ahead.h"
#include "platform/lab/lab_part.h"

namespace lab {

class LabAccounts : public platform::AccountsPart, protected LabPart {
 public:
  using LabPart::LabPart;

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

  // account policy
  DWORD NetUserModalsGet(std::string_view server, DWORD level, NetBuffer& buf) override;
  DWORD NetUserModalsSet(std::string_view server, DWORD level, const NetInfo& info,
                         DWORD* parm_err) override;

 private:
  HashAhead m_hashAhead{std::thread::hardware_concurrency()};
};

}  // namespace lab
