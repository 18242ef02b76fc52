#include "transfer/import/account_lookup.h"

namespace transfer {

namespace {

template <class Info, class Call>
Lookup<Info> ask(Call call) {
  platform::NetBuffer buffer;
  Lookup<Info> answer;
  answer.status = call(buffer);
  if (answer.status == 0) {
    if (const auto* info = buffer.one<Info>()) answer.info = *info;
  }
  return answer;
}

}  // namespace

Lookup<platform::USER_INFO_3> ServerLookup::user(std::string_view name) {
  return ask<platform::USER_INFO_3>(
      [&](platform::NetBuffer& b) { return platform::NetUserGetInfo(m_server, name, 3, b); });
}

Lookup<platform::GROUP_INFO_2> ServerLookup::globalGroup(std::string_view name) {
  return ask<platform::GROUP_INFO_2>(
      [&](platform::NetBuffer& b) { return platform::NetGroupGetInfo(m_server, name, 2, b); });
}

Lookup<platform::LOCALGROUP_INFO_1> ServerLookup::localGroup(std::string_view name) {
  return ask<platform::LOCALGROUP_INFO_1>(
      [&](platform::NetBuffer& b) { return platform::NetLocalGroupGetInfo(m_server, name, 1, b); });
}

}  // namespace transfer
