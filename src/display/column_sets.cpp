#include "display/column_sets.h"

#include <array>

namespace display {
namespace {

using settings::SettingsValues;

constexpr std::array<ColumnSpec, 4> kFilesSizePerUser = {{
    {"UserName", 120},
    {"Filesize in use", 120},
    {"Number of files", 120},
    {"RAW filesize", 120},
}};

constexpr std::array<ColumnSpec, 3> kFilesRightsDump = {{
    {"Filename", 120},
    {"UserName", 120},
    {"Rights", 120},
}};

constexpr std::array<ColumnSpec, kGroupsColumnCount> kGroups = {{
    {"GroupName", 120},
    {"Comment", 240, &SettingsValues::g_comments},
    {"UserName", 120, &SettingsValues::g_show_members},
}};

constexpr std::array<ColumnSpec, kQuotasColumnCount> kQuotas = {{
    {"Directory", 120},
    {"Quota size KB", 120},
    {"Status", 120},
    {"Usage", 120},
    {"Usage KB", 120},
}};

constexpr std::array<ColumnSpec, kServersColumnCount> kServers = {{
    {"ServerName", 150},
    {"Description", 150},
    {"Wkst", 40, &SettingsValues::s_WORKS},
    {"Srv", 40, &SettingsValues::s_TYPE},
    {"SQL", 40, &SettingsValues::s_SQL},
    {"DC", 40, &SettingsValues::s_DC},
    {"BDC", 40, &SettingsValues::s_BKDC},
    {"AFP", 40, &SettingsValues::s_AFP},
    {"Novell", 40, &SettingsValues::s_NOVELL},
    {"Dmem", 40, &SettingsValues::s_DOMMEM},
    {"PQs", 40, &SettingsValues::s_PQS},
    {"Dial", 40, &SettingsValues::s_DIALIN},
    {"Unix", 40, &SettingsValues::s_UNIX},
    {"NT", 40, &SettingsValues::s_NT},
    {"W95/WFW", 40, &SettingsValues::s_WFW},
    {"MFPN", 40, &SettingsValues::s_MFPN},
    {"NTS", 40, &SettingsValues::s_NTS},
    {"PB", 40, &SettingsValues::s_PB},
    {"BkB", 40, &SettingsValues::s_BKB},
    {"MB", 40, &SettingsValues::s_MB},
    {"DM", 40, &SettingsValues::s_DM},
    {"OSF", 40, &SettingsValues::s_DSF},
    {"VMS", 40, &SettingsValues::s_VMS},
    {"Time", 40, &SettingsValues::s_TIMESRV},
    {"Version", 75, &SettingsValues::s_version_number},
    {"Build", 75, &SettingsValues::s_build},
    {"Service Pack", 150, &SettingsValues::s_service_pack},
    {"Install date", 150, &SettingsValues::s_extra_info},
    {"ExtraInfo1", 150, &SettingsValues::s_show_extra_entries},
    {"ExtraInfo2", 150, &SettingsValues::s_show_extra_entries},
    {"ExtraInfo3", 150, &SettingsValues::s_show_extra_entries},
    {"ExtraInfo4", 150, &SettingsValues::s_show_extra_entries},
    {"ExtraInfo5", 150, &SettingsValues::s_show_extra_entries},
}};

constexpr std::array<ColumnSpec, kUsersColumnCount> kUsers = {{
    {"UserName", 100},
    {"Full Name", 200, &SettingsValues::u_user_name},
    {"Logons", 60, &SettingsValues::u_num_logons},
    {"Last Logon", 150, &SettingsValues::u_last_logon},
    {"Acct.Expires", 50, &SettingsValues::u_expires},
    {"Disabled", 50, &SettingsValues::u_disabled},
    {"Has PW", 50, &SettingsValues::u_pw_check},
    {"Max.Stg.", 50, &SettingsValues::u_max_storage},
    {"Profile", 80, &SettingsValues::u_profile_check},
    {"Script", 50, &SettingsValues::u_script_check},
    {"PW Expires", 50, &SettingsValues::u_pass_expires},
    {"Locked out", 50, &SettingsValues::u_locked_out},
    {"cPWDnxt", 80, &SettingsValues::u_change_pwd_next},
    {"nocPWD", 80, &SettingsValues::u_nopwd_change},
    {"Description", 200, &SettingsValues::u_description},
    {"Drive", 50, &SettingsValues::u_home_drive},
    {"Home", 200, &SettingsValues::u_home_dir},
    {"Active", 50, &SettingsValues::u_is_active_now},
    {"PWD Age", 200, &SettingsValues::u_last_pwdchange},
    {"RAS", 50, &SettingsValues::u_ras_allow},
    {"Callback#", 100, &SettingsValues::u_ras_allow},
    {"RAS type", 100, &SettingsValues::u_ras_allow},
}};

FilesForm filesFormOf(const SettingsValues& values) {
  switch (values.f_display_type) {
    case 1: return FilesForm::AccessTree;
    case 2: return FilesForm::RightsDump;
    default: return FilesForm::SizePerUser;
  }
}

}  // namespace

std::span<const ColumnSpec> columnSpecs(DisplayType type, FilesForm filesForm) {
  switch (type) {
    case DisplayType::Files:
      switch (filesForm) {
        case FilesForm::SizePerUser: return kFilesSizePerUser;
        case FilesForm::RightsDump: return kFilesRightsDump;
        case FilesForm::AccessTree: return {};
      }
      return {};
    case DisplayType::Groups: return kGroups;
    case DisplayType::Quotas: return kQuotas;
    case DisplayType::Servers: return kServers;
    case DisplayType::Users: return kUsers;
    case DisplayType::Network:
    case DisplayType::Licenses:
    case DisplayType::Trusts:
    case DisplayType::Performance:
    case DisplayType::None: break;
  }
  return {};
}

std::vector<ColumnLayout> columnLayout(DisplayType type, const SettingsValues& values) {
  std::vector<ColumnLayout> layout;
  for (const ColumnSpec& column : columnSpecs(type, filesFormOf(values))) {
    const bool shown = column.setting == nullptr || values.*column.setting == 1;
    layout.push_back({std::string(column.header), shown ? column.width : 0});
  }
  return layout;
}

bool hasColumnSet(DisplayType type, const SettingsValues& values) {
  return !columnSpecs(type, filesFormOf(values)).empty();
}

}  // namespace display
