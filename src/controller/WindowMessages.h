// Window messages the program defines (all above WM_USER), and the command ids and parameter
// values that travel with them.
#pragma once

#include "common/dui/DuiTypes.h"

namespace cursorial::msg {

// The tray icon reports a mouse message on it (last parameter).
inline constexpr DUI::UINT kTrayCallback = 1690;
// Ends the program when the last parameter is kExitRequestParam.
inline constexpr DUI::UINT kExitRequest = 1691;
inline constexpr DUI::LPARAM kExitRequestParam = 610;
// An update is available: first parameter 1 software, 2 firmware.
inline constexpr DUI::UINT kUpdateAvailable = 1692;
// Download progress (last parameter).
inline constexpr DUI::UINT kDownloadProgress = 1694;
// A choice in the profile pop-up: first parameter 0 select, 1 import, 2 export.
inline constexpr DUI::UINT kProfileChoice = 1705;
// Choices in the macro page's pop-up menus.
inline constexpr DUI::UINT kMacroMenuFirst = 1709;
inline constexpr DUI::UINT kMacroMenuLast = 1711;
// Apply every text of the main window again.
inline constexpr DUI::UINT kReapplyTexts = 2022;

// WM_COMMAND ids: the tray menu's exit item, and the About dialog.
inline constexpr DUI::WPARAM kExitCommand = 100;
inline constexpr DUI::WPARAM kAboutCommand = 102;

}  // namespace cursorial::msg
