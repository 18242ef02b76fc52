#include "settings/settings_table.h"

namespace settings {
namespace {

constexpr SettingEntry flag(const char* name, Word SettingsValues::*member) {
  return {name, Form::Flag, member, nullptr};
}
constexpr SettingEntry number(const char* name, Word SettingsValues::*member) {
  return {name, Form::Number, member, nullptr};
}
constexpr SettingEntry text(const char* name, std::string SettingsValues::*member) {
  return {name, Form::Text, nullptr, member};
}

#define FLAG(n) flag(#n, &SettingsValues::n)
#define NUMBER(n) number(#n, &SettingsValues::n)
#define TEXT(n) text(#n, &SettingsValues::n)

const SettingEntry kEntries[] = {
    // Users
    FLAG(u_disabled), FLAG(u_expires), FLAG(u_user_id), FLAG(u_last_logon),
    FLAG(u_num_logons), FLAG(u_user_name), FLAG(u_pw_check), FLAG(u_max_storage),
    FLAG(u_script_check), FLAG(u_profile_check), FLAG(u_pass_expires), FLAG(u_locked_out),
    FLAG(u_description), FLAG(u_change_pwd_next), FLAG(u_nopwd_change), FLAG(u_home_drive),
    FLAG(u_home_dir), FLAG(u_last_pwdchange), FLAG(u_ras_allow), FLAG(u_quick_viewing),
    FLAG(traverse_search),
    // Groups
    FLAG(g_comments), FLAG(g_groupname), FLAG(g_show_members), FLAG(g_show_domain_name),
    // Servers
    FLAG(s_AFP), FLAG(s_BKB), FLAG(s_BKDC), FLAG(s_comments), FLAG(s_DC), FLAG(s_DM),
    FLAG(s_DOMMEM), FLAG(s_MB), FLAG(s_MFPN), FLAG(s_Server_Name), FLAG(s_NOVELL), FLAG(s_NT),
    FLAG(s_NTS), FLAG(s_DSF), FLAG(s_PB), FLAG(s_PQS), FLAG(s_SERV), FLAG(s_DIALIN), FLAG(s_SQL),
    FLAG(s_TIMESRV), FLAG(s_TYPE), FLAG(s_UNIX), FLAG(s_VMS), FLAG(s_WFW), FLAG(s_WORKS),
    FLAG(s_version_number), FLAG(s_build), FLAG(s_service_pack), FLAG(s_extra_info),
    FLAG(s_show_extra_entries),
    // Files
    FLAG(f_user_name), FLAG(f_storage), FLAG(f_file_denial), FLAG(f_directory_denial),
    FLAG(f_files_in_use), TEXT(f_root_path), FLAG(f_directories_only), NUMBER(f_display_type),
    // Network
    FLAG(n_Net_Types), FLAG(n_Domains), FLAG(n_Domain_Members), FLAG(n_Shares_Disk),
    FLAG(n_Shares_Printer),
    // Export and general
    NUMBER(x_export_type), NUMBER(x_date_as_integer), FLAG(always_browse),
    NUMBER(browse_priority), NUMBER(e_logging_onoff), TEXT(servers_file), FLAG(big_buttons),
};

#undef FLAG
#undef NUMBER
#undef TEXT

}  // namespace

std::span<const SettingEntry> programKeyEntries() { return kEntries; }

}  // namespace settings
