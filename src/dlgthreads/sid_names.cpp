#include "dlgthreads/sid_names.h"

#include "platform/security.h"

namespace dlgthreads {

const SidName& SidNames::lookUp(const platform::SID& sid) {
  if (auto it = m_names.find(sid.value); it != m_names.end()) return it->second;
  SidName n;
  n.found = platform::LookupAccountSid(m_server, sid, &n.name, &n.domain, &n.use) ==
            platform::ERROR_SUCCESS;
  if (!n.found && !m_server.empty())
    n.found = platform::LookupAccountSid("", sid, &n.name, &n.domain, &n.use) ==
              platform::ERROR_SUCCESS;
  if (!n.found || n.name.empty()) n.account = sid.value;
  else if (n.domain.empty()) n.account = n.name;
  else n.account = n.domain + "\\" + n.name;
  return m_names.emplace(sid.value, std::move(n)).first->second;
}

}  // namespace dlgthreads
