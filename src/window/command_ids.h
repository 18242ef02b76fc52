#pragma once
// Command ids of the main window's menu, toolbar and keys, and the ids of its
// controls and dialog templates. The ids here are the ones the string table
// (their help texts and tool tips), the pop-ups and the tests know by number;
// a later command may declare its id beside the feature that owns it (the
// command table refuses an id that two features register for one display).

namespace window {

// File
inline constexpr int kIdCopyToClipboard = 32789;
inline constexpr int kIdImport = 32797;
inline constexpr int kIdExport = 32775;
inline constexpr int kIdExit = 32771;
// Edit
inline constexpr int kIdPropertiesCyclic = 32801;
inline constexpr int kIdPropertiesCombined = 32817;
inline constexpr int kIdAdd = 32792;
inline constexpr int kIdCopy = 32795;
inline constexpr int kIdDelete = 32794;
inline constexpr int kIdFind = 57636;
inline constexpr int kIdFilter = 32828;
// Tools
inline constexpr int kIdBrowse = 32773;
inline constexpr int kIdAddServer = 32796;
inline constexpr int kIdRemoveServer = 32816;
inline constexpr int kIdShowColumns = 32788;
inline constexpr int kIdManageShares = 32827;
inline constexpr int kIdUnhideServer = 32825;
inline constexpr int kIdAccountPolicies = 32812;
inline constexpr int kIdSettings = 32774;
// Window
inline constexpr int kIdWindowFiles = 32802;
inline constexpr int kIdWindowGroups = 32803;
inline constexpr int kIdWindowNetwork = 32804;
inline constexpr int kIdWindowQuotas = 32819;
inline constexpr int kIdWindowServers = 32805;
inline constexpr int kIdWindowUsers = 32806;
inline constexpr int kIdSelectQuotasTab = 32821;
inline constexpr int kIdSelectUsersTab = 32829;
// Help
inline constexpr int kIdHelpContents = 32776;
inline constexpr int kIdAbout = 32772;
inline constexpr int kIdContact = 32785;
// The About item the window adds beside the menu's own (string 101).
inline constexpr int kIdAboutBox = 0x10;
inline constexpr unsigned kStrAboutBoxItem = 101;
// Print: a hidden toolbar button, no menu item.
inline constexpr int kIdPrint = 57607;
// Context menu items without a menu command of their own. The Servers and
// Network pop-ups' "&Add to server list" and "&Properties" act on the pop-up
// target, not on the menu's idea of the selection: Edit > Properties
// (Cyclic) on the Network display opens that very pop-up.
inline constexpr int kIdPopupAddToServerList = 59328;
inline constexpr int kIdPopupProperties = 32900;
inline constexpr int kIdUserLegend = 216;

// Controls of the main dialog.
inline constexpr int kCtlServerCombo = 1228;
inline constexpr int kCtlBrowseButton = 1172;
inline constexpr int kCtlTabs = 1112;
inline constexpr int kCtlFilesList = 1115;
inline constexpr int kCtlLicensesList = 1116;
inline constexpr int kCtlNetworkTree = 1117;
inline constexpr int kCtlGroupsList = 1118;
inline constexpr int kCtlServersList = 1119;
inline constexpr int kCtlUsersList = 1120;
inline constexpr int kCtlQuotasList = 1259;
inline constexpr int kCtlTrustsList = 1260;
inline constexpr int kCtlAccessTree = 1262;
inline constexpr int kCtlPerformanceTree = 1266;
inline constexpr int kCtlUserNameEdit = 1270;
inline constexpr int kCtlUserNameLabel = 1271;
inline constexpr int kCtlToolbar = 40001;

// Dialog templates.
inline constexpr int kDlgAbout = 100;
inline constexpr int kDlgMain = 102;
inline constexpr int kDlgSplash = 104;
inline constexpr int kDlgContact = 148;
inline constexpr int kDlgUserLegend = 216;

// The help file every help request opens, at its contents.
inline constexpr const char* kHelpFile = "VeltraneHelp";
inline constexpr int kHelpContents = 3;  // HELP_CONTENTS

}  // namespace window
