#pragma once
// Every setting the program keeps, under its registry value name. Flags are
// 32-bit words (1 on, 0 off), numbers 32-bit words, texts strings. The member
// initialisers are the defaults a fresh user gets.

#include <cstdint>
#include <string>

namespace settings {

using Word = std::uint32_t;

inline constexpr const char* kReleaseLabel = "Release 2.20 QV";
inline constexpr const char* kBuildLabel = "Build210";

struct SettingsValues {
  // Users display
  Word u_disabled = 1;
  Word u_expires = 1;
  Word u_user_id = 1;
  Word u_last_logon = 1;
  Word u_num_logons = 1;
  Word u_user_name = 1;
  Word u_pw_check = 1;
  Word u_max_storage = 1;
  Word u_script_check = 1;
  Word u_profile_check = 1;
  Word u_pass_expires = 1;
  Word u_locked_out = 1;
  Word u_description = 1;
  Word u_change_pwd_next = 1;
  Word u_nopwd_change = 1;
  Word u_home_drive = 1;
  Word u_home_dir = 1;
  Word u_last_pwdchange = 1;
  Word u_ras_allow = 1;
  Word u_quick_viewing = 0;
  Word traverse_search = 0;
  // "Is Active Now": held only while the program runs, never stored.
  Word u_is_active_now = 1;

  // Groups display
  Word g_comments = 1;
  Word g_groupname = 1;
  Word g_show_members = 0;
  Word g_show_domain_name = 1;

  // Servers display
  Word s_AFP = 1;
  Word s_BKB = 1;
  Word s_BKDC = 1;
  Word s_comments = 1;
  Word s_DC = 1;
  Word s_DM = 1;
  Word s_DOMMEM = 1;
  Word s_MB = 1;
  Word s_MFPN = 1;
  Word s_Server_Name = 1;
  Word s_NOVELL = 1;
  Word s_NT = 1;
  Word s_NTS = 1;
  Word s_DSF = 1;
  Word s_PB = 1;
  Word s_PQS = 1;
  Word s_SERV = 1;
  Word s_DIALIN = 1;
  Word s_SQL = 1;
  Word s_TIMESRV = 1;
  Word s_TYPE = 1;
  Word s_UNIX = 1;
  Word s_VMS = 1;
  Word s_WFW = 1;
  Word s_WORKS = 1;
  Word s_version_number = 1;
  Word s_build = 1;
  Word s_service_pack = 1;
  Word s_extra_info = 1;
  Word s_show_extra_entries = 0;

  // Files display
  Word f_user_name = 1;
  Word f_storage = 1;
  Word f_files_in_use = 1;
  Word f_file_denial = 0;
  Word f_directory_denial = 0;
  Word f_directories_only = 0;
  Word f_display_type = 0;  // 0 size per user, 1 access rights, 2 rights dump
  std::string f_root_path = "C:\\";

  // Network display
  Word n_Net_Types = 1;
  Word n_Domains = 1;
  Word n_Domain_Members = 1;
  Word n_Shares_Disk = 1;
  Word n_Shares_Printer = 1;

  // Export and general
  Word x_export_type = 0;  // 0 tab-delimited, 1 comma-separated, 2 database
  Word x_date_as_integer = 0;
  Word always_browse = 0;
  Word browse_priority = 2;  // 0 lowest … 4 highest; other values act as normal
  Word e_logging_onoff = 0;
  Word big_buttons = 0;
  std::string servers_file;
  std::string Version = kReleaseLabel;
  std::string Build = kBuildLabel;

  // Quotas (the check rate and warning level live under the quota service's key)
  Word q_default_quota_size = 10000;
  Word SleepTime = 15;      // quota check rate, whole seconds in memory
  Word WarningLevel = 81;   // quota warning percentage
};

}  // namespace settings
