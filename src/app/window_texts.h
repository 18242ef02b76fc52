#pragma once
// Fixed texts of the main window, the browse controller and start-up.

#include <string_view>

namespace app {

inline constexpr std::string_view kWindowTitle = "Veltrane  v.2.20 QV";
inline constexpr std::string_view kTextReady = "Ready";
inline constexpr std::string_view kTextBrowsing = "Browsing....";
inline constexpr std::string_view kTextUserUnknownName = "ERROR";
inline constexpr std::string_view kTextUserTerminated = "User terminated browse.";
inline constexpr std::string_view kTextTerminatedCount = "0 ";
inline constexpr std::string_view kTextUserNameLabel = "Username:";

inline constexpr std::string_view kMsgIllegalTab = "Illegal TAB selection value";
inline constexpr std::string_view kMsgUnsupportedDisplay = "Unsupported Display Type.";
inline constexpr std::string_view kMsgPriorityFailed = "Failed to set thread priority.";
inline constexpr std::string_view kMsgNoTimer = "Could not assign a timer.";
inline constexpr std::string_view kMsgUserUnknown = "User unknown";
inline constexpr std::string_view kMsgNoPopup = "Could not create pop-up menu.";
inline constexpr std::string_view kMsgNoToolbar = "Failed to create toolbar!";
inline constexpr std::string_view kMsgNoBitmapButton = "Cannot create Bitmapped button!";
inline constexpr std::string_view kMsgEditMenuMissing =
    "An error occurred while retrieving a menu\nor sub-menu handle.";
inline constexpr std::string_view kPopupCannotAdd = "Cannot add this type to server list.";

// Captions.
inline constexpr std::string_view kCaptionRefusal = "Brisle's Veltrane";
inline constexpr std::string_view kCaptionProduct = "Veltrane";

// String-table ids of start-up messages.
inline constexpr unsigned kStrNoDomainController = 59270;
inline constexpr unsigned kStrUnsupportedPlatform = 59289;

// About box.
inline constexpr std::string_view kProductName = "Veltrane";
inline constexpr std::string_view kVersionText = "v.2.20QV (Build 210)";

}  // namespace app
