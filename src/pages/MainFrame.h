// The main window's frame: title and bottom bars, system buttons, the tab column, the page
// containers, the home page with the device list, and the shell of the application settings
// panel. Building creates every control with an empty rectangle; layout places them for a
// client size. The pages fill their containers with builders of their own.
#pragma once

#include "common/dui/DuiTypes.h"

namespace DUI {
class MWindow;
}

namespace cursorial {

class LanguageTexts;
struct DeviceMainDef;

// Control ids of the frame, the containers and the home page.
namespace frame_id {
inline constexpr int kBackground = 30;
inline constexpr int kMousePicture = 31;
inline constexpr int kTitleBar = 32;
inline constexpr int kBottomBar = 33;
inline constexpr int kLogo = 34;
inline constexpr int kWindowTitle = 35;
inline constexpr int kLogoLink = 37;
inline constexpr int kClose = 38;
inline constexpr int kMinimize = 39;
inline constexpr int kSettings = 40;
inline constexpr int kMaximize = 41;
inline constexpr int kBattery = 43;
inline constexpr int kDeviceState = 44;
inline constexpr int kProfileButton = 45;
inline constexpr int kResetButton = 46;
inline constexpr int kTabBackground = 47;
inline constexpr int kPageTabs = 48;
inline constexpr int kHomePage = 49;
inline constexpr int kButtonPage = 50;
inline constexpr int kKeyPanel = 51;
inline constexpr int kPerformancePage = 52;
inline constexpr int kMacroPage = 53;
inline constexpr int kLightingPage = 54;
inline constexpr int kDevicePage = 55;
inline constexpr int kSettingsPanel = 56;
inline constexpr int kDeviceList = 57;
inline constexpr int kNoDevicePicture = 58;
inline constexpr int kNoDeviceText = 59;
inline constexpr int kPreviousDevice = 60;
inline constexpr int kNextDevice = 61;
inline constexpr int kSettingsBackground = 272;
inline constexpr int kSettingsReturn = 273;
inline constexpr int kSettingsVersion = 274;
}  // namespace frame_id

// Tab ids, in the order of the tab column (the position of a tab counts from 0).
namespace tab_id {
inline constexpr int kHome = 1;
inline constexpr int kButtons = 2;
inline constexpr int kPerformance = 3;
inline constexpr int kMacros = 4;
inline constexpr int kLighting = 5;
inline constexpr int kDevice = 7;
}  // namespace tab_id

struct PageTab {
    int tabId;
    int textId;
    const char16_t* icon;
    int containerId;
};
inline constexpr PageTab kPageTabs[] = {
    {tab_id::kHome, 71, u"icon\\tab_home.png", frame_id::kHomePage},
    {tab_id::kButtons, 72, u"icon\\tab_key.png", frame_id::kButtonPage},
    {tab_id::kPerformance, 73, u"icon\\tab_dpi.png", frame_id::kPerformancePage},
    {tab_id::kMacros, 74, u"icon\\tab_macro.png", frame_id::kMacroPage},
    {tab_id::kLighting, 75, u"icon\\tab_light.png", frame_id::kLightingPage},
    {tab_id::kDevice, 76, u"icon\\tab_set.png", frame_id::kDevicePage},
};
// Position of the buttons page, which the tab column selects when a mouse is connected.
inline constexpr int kFirstDevicePagePosition = 1;
// Text of the factory-reset button (46).
inline constexpr int kResetButtonTextId = 558;

// The window is designed for a client of this size; pages scale with its height.
inline constexpr int kDesignWidth = 1300;
inline constexpr int kDesignHeight = 788;

// The scale of a client: s = height / 788, and the second factor height / 780 that some page
// layouts use. Page controls are placed from the page origin (230, 80) in design pixels times s.
struct PageScale {
    double s = 1.0;
    double s780 = 1.0;

    static PageScale For(const DUI::MRect& client);
    // A design rectangle relative to the page origin, scaled and moved to client coordinates.
    DUI::MRect Page(int left, int top, int right, int bottom) const;
    int Scaled(int designPixels) const;
};

// Where a frame control goes for a client rectangle (ids of frame_id). Empty for the maximize
// button, which is never given a rectangle, and for unknown ids.
DUI::MRect FrameControlRect(int controlId, const DUI::MRect& client);

// Creates the frame's controls in `window` and records them in `def`. Texts come from `texts`,
// the window title from the kit's device name. Containers 49 and 50 start visible, the others
// hidden; the tab column selects position 1.
void BuildMainFrame(DUI::MWindow& window, DeviceMainDef& def, const LanguageTexts& texts);

// Places every frame control of `def` for the client rectangle and shows the maximize button's
// image for the window's state (restore while maximized).
void LayoutMainFrame(DUI::MWindow& window, DeviceMainDef& def, const DUI::MRect& client);

// The maximize button's image for a window state.
const char16_t* MaximizeButtonImage(bool maximized);

}  // namespace cursorial
