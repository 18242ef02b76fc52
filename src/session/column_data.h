#pragma once
// The columns of every result list: header text, width when shown, and the
// setting that shows the column. The display traits name each display's set.

#include <array>

#include "session/column_sets.h"

namespace display::columns {

using settings::SettingsValues;

inline constexpr std::array<ColumnSpec, 4> kFilesSizePerUser = {{
    {"UserName", 120},
    {"Filesize in use", 120},
    {"Number of files", 120},
    {"RAW filesize", 120},
}};

inline constexpr std::array<ColumnSpec, 3> kFilesRightsDump = {{
    {"Filename", 120},
    {"UserName", 120},
    {"Rights", 120},
}};

inline constexpr std::array<ColumnSpec, kGroupsColumnCount> kGroups = {{
    {"GroupName", 120},
    {"Comment", 240, &SettingsValues::g_comments},
    {"UserName", 120, &SettingsValues::g_show_members},
}};

inline constexpr std::array<ColumnSpec, kQuotasColumnCount> kQuotas = {{
    {"Directory", 120},
    {"Quota size KB", 120},
    {"Status", 120},
    {"Usage", 120},
    {"Usage KB", 120},
}};

inline constexpr std::array<ColumnSpec, kTrustsColumnCount> kTrusts = {{
    {"Domain", 120},
    {"DNS Name", 150},
    {"Relationship", 90},
    {"Type", 110},
    {"Transitive", 70},
}};

inline constexpr std::array<ColumnSpec, kServersColumnCount> kServers = {{
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

inline constexpr std::array<ColumnSpec, kUsersColumnCount> kUsers = {{
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

}  // namespace display::columns
