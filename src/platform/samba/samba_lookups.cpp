// Account look-ups by name and SID, from the controller's directory
// (libnetapi has no LSA calls); well-known accounts from a table.
#include <cctype>

#include "platform/samba/samba_backend.h"
#include "platform/samba/same_text.h"
#include "platform/samba/well_known.h"

namespace platform::samba {
namespace {

constexpr long long kAccountTypeGroup = 0x10000000;       // SAM_GROUP_OBJECT
constexpr long long kAccountTypeAlias = 0x20000000;       // SAM_ALIAS_OBJECT
constexpr long long kAccountTypeNonSecurityAlias = 0x20000001;

SID_NAME_USE useOf(long long accountType) {
  if (accountType == kAccountTypeGroup) return SidTypeGroup;
  if (accountType == kAccountTypeAlias || accountType == kAccountTypeNonSecurityAlias)
    return SidTypeAlias;
  return SidTypeUser;
}

}  // namespace

DWORD SambaBackend::lookupName(const std::string& address, std::string_view account, SID* sid,
                               std::string* domain, SID_NAME_USE* use) {
  std::string_view wantedDomain;
  std::string_view name = account;
  if (const auto slash = account.find('\\'); slash != std::string_view::npos) {
    wantedDomain = account.substr(0, slash);
    name = account.substr(slash + 1);
  }
  if (const WellKnownAccount* known = wellKnownByName(wantedDomain, name)) {
    sid->value = std::string(known->sid);
    *domain = std::string(known->domain);
    *use = known->use;
    return ERROR_SUCCESS;
  }
  Directory* dir = directory(address);
  if (!dir) return ERROR_NOT_SUPPORTED;
  const std::string domainHere = domainName(address);
  std::vector<DirectoryEntry> entries;
  if (!dir->search("(sAMAccountName=" + ldapEscape(name) + ")",
                   {"sAMAccountName", "objectSid", "sAMAccountType"}, &entries))
    return ERROR_BAD_NETPATH;
  for (const DirectoryEntry& e : entries) {
    const std::string sidText = e.sid();
    const std::string entryDomain = sidText.starts_with("S-1-5-32-") ? "BUILTIN" : domainHere;
    if (!wantedDomain.empty() && !sameText(wantedDomain, entryDomain)) continue;
    sid->value = sidText;
    *domain = entryDomain;
    *use = useOf(e.number("sAMAccountType"));
    return ERROR_SUCCESS;
  }
  return ERROR_NONE_MAPPED;
}

DWORD SambaBackend::LookupAccountName(std::string_view systemname, std::string_view accountname,
                                      SID* sid, std::string* domain, SID_NAME_USE* use) {
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(systemname, &at, lock)) return reached;
  SID found;
  std::string foundDomain;
  SID_NAME_USE foundUse = SidTypeUnknown;
  const DWORD status = lookupName(at, accountname, &found, &foundDomain, &foundUse);
  if (status != ERROR_SUCCESS) return status;
  if (sid) *sid = std::move(found);
  if (domain) *domain = std::move(foundDomain);
  if (use) *use = foundUse;
  return ERROR_SUCCESS;
}

DWORD SambaBackend::LookupAccountSid(std::string_view systemname, const SID& sid,
                                     std::string* name, std::string* domain, SID_NAME_USE* use) {
  if (const WellKnownAccount* known = wellKnownBySid(sid.value)) {
    if (name) *name = std::string(known->name);
    if (domain) *domain = std::string(known->domain);
    if (use) *use = known->use;
    return ERROR_SUCCESS;
  }
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(systemname, &at, lock)) return reached;
  Directory* dir = directory(at);
  if (!dir) return ERROR_NOT_SUPPORTED;
  if (sid.value.empty() || sid.value.find_first_not_of("S-0123456789") != std::string::npos)
    return ERROR_NONE_MAPPED;
  std::vector<DirectoryEntry> entries;
  // Samba's directory takes a SID in text form in a filter.
  if (!dir->search("(objectSid=" + sid.value + ")", {"sAMAccountName", "sAMAccountType"},
                   &entries))
    return ERROR_BAD_NETPATH;
  if (entries.empty()) return ERROR_NONE_MAPPED;
  if (name) *name = std::string(entries.front().text("sAMAccountName"));
  if (domain) *domain = sid.value.starts_with("S-1-5-32-") ? "BUILTIN" : domainName(at);
  if (use) *use = useOf(entries.front().number("sAMAccountType"));
  return ERROR_SUCCESS;
}

}  // namespace platform::samba
