#include "platform/netsize.h"

#include "platform/wnet.h"

#include <algorithm>

namespace platform {
namespace {

constexpr DWORD kField = 4;

DWORD strings(std::initializer_list<std::string_view> texts) {
  DWORD total = 0;
  for (auto t : texts) total += netStringSize(t);
  return total;
}

}  // namespace

DWORD utf16Units(std::string_view utf8) {
  DWORD units = 0;
  for (unsigned char c : utf8) {
    if ((c & 0xC0) == 0x80) continue;  // continuation byte
    units += (c >= 0xF0) ? 2 : 1;      // four-byte sequences become surrogate pairs
  }
  return units;
}

DWORD netStringSize(std::string_view utf8) { return (utf16Units(utf8) + 1) * 2; }

DWORD netSidSize(const SID& sid) {
  if (sid.empty()) return 0;
  // "S-1-5-21-a-b-c-r": the sub-authorities are the parts after the authority.
  const auto dashes = static_cast<DWORD>(std::count(sid.value.begin(), sid.value.end(), '-'));
  const DWORD subAuthorities = dashes >= 2 ? dashes - 2 : 0;
  return 8 + 4 * subAuthorities;
}

DWORD netEntrySize(const USER_INFO_0& e) { return 1 * kField + strings({e.usri0_name}); }

DWORD netEntrySize(const USER_INFO_1& e) {
  return 8 * kField + strings({e.usri1_name, e.usri1_password, e.usri1_home_dir,
                               e.usri1_comment, e.usri1_script_path});
}

DWORD netEntrySize(const USER_INFO_3& e) {
  return 29 * kField +
         strings({e.usri3_name, e.usri3_password, e.usri3_home_dir, e.usri3_comment,
                  e.usri3_script_path, e.usri3_full_name, e.usri3_usr_comment, e.usri3_parms,
                  e.usri3_workstations, e.usri3_logon_server, e.usri3_profile,
                  e.usri3_home_dir_drive}) +
         static_cast<DWORD>(e.usri3_logon_hours.size());
}

DWORD netEntrySize(const GROUP_INFO_0& e) { return 1 * kField + strings({e.grpi0_name}); }
DWORD netEntrySize(const GROUP_INFO_1& e) {
  return 2 * kField + strings({e.grpi1_name, e.grpi1_comment});
}
DWORD netEntrySize(const GROUP_INFO_2& e) {
  return 4 * kField + strings({e.grpi2_name, e.grpi2_comment});
}
DWORD netEntrySize(const GROUP_USERS_INFO_0& e) { return 1 * kField + strings({e.grui0_name}); }
DWORD netEntrySize(const GROUP_USERS_INFO_1& e) { return 2 * kField + strings({e.grui1_name}); }
DWORD netEntrySize(const LOCALGROUP_INFO_0& e) { return 1 * kField + strings({e.lgrpi0_name}); }
DWORD netEntrySize(const LOCALGROUP_INFO_1& e) {
  return 2 * kField + strings({e.lgrpi1_name, e.lgrpi1_comment});
}
DWORD netEntrySize(const LOCALGROUP_MEMBERS_INFO_0& e) {
  return 1 * kField + netSidSize(e.lgrmi0_sid);
}
DWORD netEntrySize(const LOCALGROUP_MEMBERS_INFO_1& e) {
  return 3 * kField + netSidSize(e.lgrmi1_sid) + strings({e.lgrmi1_name});
}
DWORD netEntrySize(const LOCALGROUP_MEMBERS_INFO_2& e) {
  return 3 * kField + netSidSize(e.lgrmi2_sid) + strings({e.lgrmi2_domainandname});
}
DWORD netEntrySize(const LOCALGROUP_MEMBERS_INFO_3& e) {
  return 1 * kField + strings({e.lgrmi3_domainandname});
}
DWORD netEntrySize(const LOCALGROUP_USERS_INFO_0& e) {
  return 1 * kField + strings({e.lgrui0_name});
}
DWORD netEntrySize(const NET_DISPLAY_USER& e) {
  return 6 * kField + strings({e.usri1_name, e.usri1_comment, e.usri1_full_name});
}
DWORD netEntrySize(const NET_DISPLAY_MACHINE& e) {
  return 5 * kField + strings({e.usri2_name, e.usri2_comment});
}
DWORD netEntrySize(const NET_DISPLAY_GROUP& e) {
  return 5 * kField + strings({e.grpi3_name, e.grpi3_comment});
}
DWORD netEntrySize(const SERVER_INFO_100& e) { return 2 * kField + strings({e.sv100_name}); }
DWORD netEntrySize(const SERVER_INFO_101& e) {
  return 6 * kField + strings({e.sv101_name, e.sv101_comment});
}

DWORD netEntrySize(const SESSION_INFO_2& e) {
  return 7 * kField + strings({e.sesi2_cname, e.sesi2_username, e.sesi2_cltype_name});
}

DWORD netEntrySize(const FILE_INFO_3& e) {
  return 5 * kField + strings({e.fi3_pathname, e.fi3_username});
}

DWORD netEntrySize(const SHARE_INFO_1& e) {
  return 3 * kField + strings({e.shi1_netname, e.shi1_remark});
}

DWORD netEntrySize(const SHARE_INFO_2& e) {
  return 8 * kField + strings({e.shi2_netname, e.shi2_remark, e.shi2_path, e.shi2_passwd});
}

DWORD netEntrySize(const NETRESOURCE& e) {
  return 8 * kField + strings({e.lpLocalName, e.lpRemoteName, e.lpComment, e.lpProvider});
}

}  // namespace platform
