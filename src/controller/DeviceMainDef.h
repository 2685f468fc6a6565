// DeviceMainDef: the pointers to the main window's controls, in one plain base of the main
// window. The page builders fill it while the window builds its contents and read it when they
// lay the window out; every pointer is null until then, and a control a builder did not create
// stays null. The window owns the controls, not this holder.
#pragma once

namespace DUI {
class BatteryCtrl;
class CDeviceList;
class CDeviceState;
class CIconButton;
class CImageButton;
class MButton;
class MControl;
class MPicture;
class MTabCtrl;
class MTabLayout;
class MText;
}  // namespace DUI

namespace cursorial {

struct DeviceMainDef {
    // Frame.
    DUI::MPicture* background = nullptr;          // 30
    DUI::MPicture* mousePicture = nullptr;        // 31
    DUI::MPicture* titleBar = nullptr;            // 32
    DUI::MPicture* bottomBar = nullptr;           // 33
    DUI::MPicture* logo = nullptr;                // 34
    DUI::MText* windowTitle = nullptr;            // 35
    DUI::MControl* logoLink = nullptr;            // 37
    DUI::CImageButton* closeButton = nullptr;     // 38
    DUI::CImageButton* minimizeButton = nullptr;  // 39
    DUI::CImageButton* settingsButton = nullptr;  // 40
    DUI::CImageButton* maximizeButton = nullptr;  // 41
    DUI::BatteryCtrl* battery = nullptr;          // 43
    DUI::CDeviceState* deviceState = nullptr;     // 44
    DUI::CIconButton* profileButton = nullptr;    // 45
    DUI::MButton* resetButton = nullptr;          // 46
    DUI::MPicture* tabBackground = nullptr;       // 47
    DUI::MTabCtrl* pageTabs = nullptr;            // 48

    // Page containers: home 49, buttons 50, key-editing panel 51, performance 52, macros 53,
    // lighting 54, device settings 55, application settings 56.
    DUI::MTabLayout* homePage = nullptr;
    DUI::MTabLayout* buttonPage = nullptr;
    DUI::MTabLayout* keyPanel = nullptr;
    DUI::MTabLayout* performancePage = nullptr;
    DUI::MTabLayout* macroPage = nullptr;
    DUI::MTabLayout* lightingPage = nullptr;
    DUI::MTabLayout* devicePage = nullptr;
    DUI::MTabLayout* settingsPanel = nullptr;

    // Home page.
    DUI::CDeviceList* deviceList = nullptr;       // 57
    DUI::MPicture* noDevicePicture = nullptr;     // 58
    DUI::MText* noDeviceText = nullptr;           // 59
    DUI::CImageButton* previousDevice = nullptr;  // 60
    DUI::CImageButton* nextDevice = nullptr;      // 61

    // Application settings panel (its other controls come with the panel's own builder).
    DUI::MPicture* settingsBackground = nullptr;  // 272
    DUI::CImageButton* settingsReturn = nullptr;  // 273
    DUI::MText* settingsVersion = nullptr;        // 274
};

}  // namespace cursorial
