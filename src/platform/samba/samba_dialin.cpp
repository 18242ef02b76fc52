// Dial-in permissions: the msNPAllowDialin and RADIUS call-back attributes
// of the user in the directory (no Samba library serves them). The Users
// browse's answers come from what its enumeration read along.
#include "platform/samba/samba_backend.h"

namespace platform::samba {
namespace {

bool findUser(Directory& dir, std::string_view account, DirectoryEntry* out, bool* failed) {
  std::vector<DirectoryEntry> entries;
  std::vector<std::string> attributes = dialinAttributes();
  attributes.push_back("sAMAccountName");
  *failed = !dir.search("(&(objectClass=user)(sAMAccountName=" + ldapEscape(account) + "))",
                        attributes, &entries);
  if (*failed || entries.empty()) return false;
  *out = std::move(entries.front());
  return true;
}

}  // namespace

int SambaBackend::GetRASQuick(std::string_view server, std::string_view account,
                              DWORD* permission, std::string* callbackNumber,
                              DWORD* callbackType) {
  {
    auto lock = m_session->lock();
    std::string at;
    if (reach(server, &at, lock) != NERR_Success) return 0;
    if (auto it = m_dialin.find(std::pair(at, std::string(account))); it != m_dialin.end()) {
      if (permission) *permission = it->second.allowed;
      if (callbackNumber) *callbackNumber = it->second.callbackNumber;
      if (callbackType) *callbackType = it->second.callbackType;
      return 1;
    }
  }
  return GetRAS(server, account, permission, callbackNumber, callbackType);
}

int SambaBackend::GetRAS(std::string_view server, std::string_view account, DWORD* allowed,
                         std::string* callbackNumber, DWORD* callbackType) {
  auto lock = m_session->lock();
  std::string at;
  if (reach(server, &at, lock) != NERR_Success) return 0;
  Directory* dir = directory(at);
  if (!dir) return 0;
  DirectoryEntry user;
  bool failed = false;
  if (!findUser(*dir, account, &user, &failed)) return 0;
  const DialinState state = dialinFromEntry(user);
  m_dialin.insert_or_assign({at, std::string(account)}, state);
  if (allowed) *allowed = state.allowed;
  if (callbackNumber) *callbackNumber = state.callbackNumber;
  if (callbackType) *callbackType = state.callbackType;
  return 1;
}

int SambaBackend::DoRAS(std::string_view server, std::string_view account, DWORD allowed,
                        std::string_view callbackNumber, DWORD callbackType) {
  auto lock = m_session->lock();
  std::string at;
  if (reach(server, &at, lock) != NERR_Success) return 0;
  Directory* dir = directory(at);
  if (!dir) return 0;
  DirectoryEntry user;
  bool failed = false;
  if (!findUser(*dir, account, &user, &failed)) return 0;
  // The library keeps only the three types it knows; others mean none.
  if (callbackType > RAS_CALLBACK_USER_SET) callbackType = RAS_CALLBACK_NONE;
  const std::string number(callbackType == RAS_CALLBACK_PRESET ? callbackNumber : "");
  const std::vector<std::string> none;
  const std::vector<std::string> numbers =
      number.empty() ? none : std::vector<std::string>{number};
  const std::vector<std::string> service =
      callbackType == RAS_CALLBACK_NONE ? none : std::vector<std::string>{"4"};
  if (dir->replace(user.dn, "msNPAllowDialin", {allowed ? "TRUE" : "FALSE"}) != 0 ||
      dir->replace(user.dn, "msRADIUSServiceType", service) != 0 ||
      dir->replace(user.dn, "msRADIUSCallbackNumber", numbers) != 0)
    return 0;
  m_dialin.insert_or_assign({at, std::string(account)},
                            DialinState{allowed ? 1u : 0u, number, callbackType});
  return 1;
}

}  // namespace platform::samba
