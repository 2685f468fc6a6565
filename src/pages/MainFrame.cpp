#include "pages/MainFrame.h"

#include <algorithm>
#include <cmath>

#include "app/LanguageTexts.h"
#include "app/TextIds.h"
#include "common/dui/CDeviceList.h"
#include "common/dui/ControlFactory.h"
#include "common/dui/MButton.h"
#include "common/dui/MPicture.h"
#include "common/dui/MTabCtrl.h"
#include "common/dui/MTabLayout.h"
#include "common/dui/MWindow.h"
#include "common/dui/Manager.h"
#include "controller/DeviceMainDef.h"

namespace cursorial {

using namespace DUI;

namespace {

constexpr int kPageOriginX = 230;
constexpr int kPageOriginY = 80;
constexpr int kBarHeight = 50;
constexpr int kTabItemWidth = 190;
constexpr int kTabItemHeight = 60;
constexpr const char16_t* kBatteryBackground = u"icon\\icon_battery_bkg.png";
constexpr const char16_t* kBatteryCharge = u"icon\\icon_charge.png";
constexpr const char16_t* kBatteryValue = u"icon\\icon_batteryvalue.png";

template <class T>
T* Make(MControlHost& host, int id, std::u16string_view text = {}, bool visible = true) {
    return dynamic_cast<T*>(host.CreateControl(T::kClassName, id, {}, text, visible ? 1 : 0));
}

template <class T>
T* MakeArea(MControlHost& host, int id, bool visible) {
    return dynamic_cast<T*>(host.CreateArea(T::kClassName, id, {}, {}, visible ? 1 : 0));
}

CImageButton* SystemButton(MControlHost& host, int id, const char16_t* image, int tipId,
                           const LanguageTexts& texts) {
    auto* button = Make<CImageButton>(host, id);
    if (button) {
        button->SetImage(image, 4);
        button->SetTooltip(texts.Text(tipId));
    }
    return button;
}

// A clickable area that draws nothing: the logo's link lies over the logo picture.
class CLinkArea : public MControl {
public:
    static constexpr const char* kClassName = "CLinkArea";
    CLinkArea() { setCursor(Qt::PointingHandCursor); }
};

void RegisterFrameClasses() {
    static const bool registered = [] {
        RegisterControlClass(CLinkArea::kClassName, [] { return new CLinkArea; });
        return true;
    }();
    (void)registered;
}

void Place(MControl* control, const MRect& client) {
    if (control)
        control->SetRect(FrameControlRect(control->GetId(), client));
}

}  // namespace

PageScale PageScale::For(const MRect& client) {
    return {client.Height() / double(kDesignHeight), client.Height() / 780.0};
}

int PageScale::Scaled(int designPixels) const {
    return static_cast<int>(std::lround(designPixels * s));
}

MRect PageScale::Page(int left, int top, int right, int bottom) const {
    return {kPageOriginX + Scaled(left), kPageOriginY + Scaled(top), kPageOriginX + Scaled(right),
            kPageOriginY + Scaled(bottom)};
}

MRect FrameControlRect(int id, const MRect& client) {
    const int w = client.Width();
    const int h = client.Height();
    const PageScale scale = PageScale::For(client);
    const int c = w / 2;
    const auto systemButton = [](int right) { return MRect{right - 30, 10, right, 40}; };
    const int listMiddle = (200 + h - 100) / 2;
    switch (id) {
        case frame_id::kBackground:
            return {0, 0, w, h};
        case frame_id::kMousePicture:
            return {11, 490, 191, std::max(490, h - 60)};
        case frame_id::kTitleBar:
            return {1, 1, w - 1, kBarHeight};
        case frame_id::kBottomBar:
            return {1, h - kBarHeight, w - 1, h - 1};
        case frame_id::kLogo:
        case frame_id::kLogoLink:
            return {16, 5, 276, 45};
        case frame_id::kWindowTitle:
            return {c - 130, 10, c + 130, 40};
        case frame_id::kClose:
            return systemButton(w - 20);
        case frame_id::kMinimize:
            return systemButton(w - 52);
        case frame_id::kSettings:
            return systemButton(w - 84);
        case frame_id::kBattery:
            return {w - 170, 15, w - 124, 35};
        case frame_id::kDeviceState:
            return {20, h - 45, 320, h - 5};
        case frame_id::kProfileButton:
            return {w - 380, h - 43, w - 210, h - 7};
        case frame_id::kResetButton:
            return {w - 190, h - 43, w - 20, h - 7};
        case frame_id::kTabBackground:
            return {1, kBarHeight, 201, h - kBarHeight};
        case frame_id::kPageTabs:
            return {1, 120, 191, 480};
        case frame_id::kHomePage:
            return {20, 80, w - 20, h - kBarHeight};
        case frame_id::kButtonPage:
        case frame_id::kPerformancePage:
        case frame_id::kMacroPage:
        case frame_id::kLightingPage:
        case frame_id::kDevicePage:
            return {200, 80, w - 20, h - kBarHeight};
        case frame_id::kKeyPanel: {
            const int left = kPageOriginX + scale.Scaled(250);
            return {left, kPageOriginY + scale.Scaled(50), left + 600, h - kBarHeight};
        }
        case frame_id::kSettingsPanel:
        case frame_id::kSettingsBackground:
            return {1, kBarHeight, w - 1, h - 40};
        case frame_id::kDeviceList:
            return {200, 200, w - 200, h - 100};
        case frame_id::kNoDevicePicture:
            return {c - scale.Scaled(220), 80 + scale.Scaled(110), c + scale.Scaled(220),
                    80 + scale.Scaled(440)};
        case frame_id::kNoDeviceText:
            return {40, 80 + scale.Scaled(460), w - 40, 80 + scale.Scaled(520)};
        case frame_id::kPreviousDevice:
            return {140, listMiddle - 25, 180, listMiddle + 25};
        case frame_id::kNextDevice:
            return {w - 180, listMiddle - 25, w - 140, listMiddle + 25};
        case frame_id::kSettingsReturn:
            return {21, 60, 61, 100};
        case frame_id::kSettingsVersion:
            return {w - 440, 60, w - 40, 100};
        case frame_id::kMaximize:
        default:
            return {};
    }
}

const char16_t* MaximizeButtonImage(bool maximized) {
    return maximized ? u"sysbtn_restore.png" : u"sysbtn_maximize.png";
}

void BuildMainFrame(MWindow& window, DeviceMainDef& def, const LanguageTexts& texts) {
    def.background = Make<MPicture>(window, frame_id::kBackground);
    if (def.background) {
        def.background->SetImage(u"main_bkg.png");
        def.background->SetImageMode(kDrawBorders, 4);
    }
    def.titleBar = Make<MPicture>(window, frame_id::kTitleBar);
    def.bottomBar = Make<MPicture>(window, frame_id::kBottomBar);
    for (MPicture* bar : {def.titleBar, def.bottomBar}) {
        if (bar)
            bar->SetImage(u"img_area_caption.png");
    }
    def.windowTitle = Make<MText>(window, frame_id::kWindowTitle, Manager::GetDeviceName());
    if (def.windowTitle) {
        def.windowTitle->SetFontName(u"黑体");
        def.windowTitle->SetFont(18, true);
        def.windowTitle->SetAlign(kAlignCenter);
    }
    def.logo = Make<MPicture>(window, frame_id::kLogo);
    if (def.logo) {
        def.logo->SetImage(u"logo.png");
        def.logo->SetImageMode(kDrawCenter);
    }
    RegisterFrameClasses();
    def.logoLink = window.CreateControl(CLinkArea::kClassName, frame_id::kLogoLink);
    def.closeButton =
        SystemButton(window, frame_id::kClose, u"sysbtn_close.png", text_id::kClose, texts);
    def.maximizeButton = SystemButton(window, frame_id::kMaximize, MaximizeButtonImage(false),
                                      text_id::kMaximize, texts);
    def.minimizeButton =
        SystemButton(window, frame_id::kMinimize, u"sysbtn_min.png", text_id::kMinimize, texts);
    def.settingsButton =
        SystemButton(window, frame_id::kSettings, u"sysbtn_setting.png", text_id::kSettings, texts);

    def.battery = Make<BatteryCtrl>(window, frame_id::kBattery);
    if (def.battery) {
        def.battery->SetBatteryImages(kBatteryBackground, kBatteryCharge, kBatteryValue);
        window.AddMTimer(def.battery);
    }
    def.deviceState =
        Make<CDeviceState>(window, frame_id::kDeviceState, texts.Text(text_id::kNotConnected));
    if (def.deviceState)
        def.deviceState->SetImage(u"img_area.png");
    def.profileButton = Make<CIconButton>(window, frame_id::kProfileButton);
    if (def.profileButton) {
        def.profileButton->SetImage(u"img_button.png", 4);
        def.profileButton->SetIcon(u"icon\\icon_arrow_up.png");
    }
    def.resetButton = Make<MButton>(window, frame_id::kResetButton, texts.Text(kResetButtonTextId));
    if (def.resetButton) {
        def.resetButton->SetImage(u"img_button.png", 4);
        def.resetButton->SetAlign(kAlignCenter);
    }

    // Mouse picture and tab column.
    def.mousePicture = Make<MPicture>(window, frame_id::kMousePicture);
    if (def.mousePicture)
        def.mousePicture->SetImageMode(kDrawCenter);
    def.tabBackground = Make<MPicture>(window, frame_id::kTabBackground);
    if (def.tabBackground)
        def.tabBackground->SetImage(u"img_tab_bkg.png");
    def.pageTabs = Make<MTabCtrl>(window, frame_id::kPageTabs);

    // Containers: the home page and the button page start visible.
    def.homePage = MakeArea<MTabLayout>(window, frame_id::kHomePage, true);
    def.buttonPage = MakeArea<MTabLayout>(window, frame_id::kButtonPage, true);
    def.keyPanel = MakeArea<MTabLayout>(window, frame_id::kKeyPanel, false);
    def.performancePage = MakeArea<MTabLayout>(window, frame_id::kPerformancePage, false);
    def.macroPage = MakeArea<MTabLayout>(window, frame_id::kMacroPage, false);
    def.lightingPage = MakeArea<MTabLayout>(window, frame_id::kLightingPage, false);
    def.devicePage = MakeArea<MTabLayout>(window, frame_id::kDevicePage, false);
    def.settingsPanel = MakeArea<MTabLayout>(window, frame_id::kSettingsPanel, false);

    if (def.pageTabs) {
        def.pageTabs->SetImage(u"img_tabitem_bkg.png", 4);
        def.pageTabs->SetItemSize(kTabItemWidth, kTabItemHeight);
        for (const PageTab& tab : kPageTabs) {
            const int pos = def.pageTabs->AddItem(texts.Text(tab.textId), tab.icon, tab.tabId);
            def.pageTabs->SetItemPage(pos, window.GetControl(tab.containerId));
        }
        def.pageTabs->SetSelectItem(kFirstDevicePagePosition);
    }

    // Home page: the device list with its arrows, and the picture and hint shown without a mouse.
    if (MControlHost* home = def.homePage) {
        def.deviceList = Make<CDeviceList>(*home, frame_id::kDeviceList);
        if (def.deviceList) {
            def.deviceList->SetImage(u"area_device.png");
            def.deviceList->SetBatteryImages(kBatteryBackground, kBatteryCharge, kBatteryValue);
            def.deviceList->SetModeImage(u"device_mode.png");
            def.deviceList->SetVersionDesc(texts.Text(text_id::kDeviceListVersion));
        }
        def.noDevicePicture = Make<MPicture>(*home, frame_id::kNoDevicePicture, {}, false);
        if (def.noDevicePicture) {
            def.noDevicePicture->SetImage(u"img_area3.png");
            def.noDevicePicture->SetImageMode(kDrawCenter);
        }
        def.noDeviceText =
            Make<MText>(*home, frame_id::kNoDeviceText, texts.Text(text_id::kHomeHint), false);
        if (def.noDeviceText) {
            def.noDeviceText->SetFont(16);
            def.noDeviceText->SetAlign(kAlignCenter | kAlignWrap);
        }
        def.previousDevice = SystemButton(*home, frame_id::kPreviousDevice, u"img_btn_pre.png",
                                          text_id::kPreviousDevice, texts);
        def.nextDevice = SystemButton(*home, frame_id::kNextDevice, u"img_btn_next.png",
                                      text_id::kNextDevice, texts);
    }

    // The application settings panel's own frame; its settings come with the panel's builder.
    if (MControlHost* panel = def.settingsPanel) {
        def.settingsBackground = Make<MPicture>(*panel, frame_id::kSettingsBackground);
        if (def.settingsBackground) {
            def.settingsBackground->SetImage(u"img_area_bkg.png");
            def.settingsBackground->SetImageMode(kDrawBorders, 10, 50, 260, 10);
        }
        def.settingsReturn = Make<CImageButton>(*panel, frame_id::kSettingsReturn);
        if (def.settingsReturn)
            def.settingsReturn->SetImage(u"img_return.png", 4);
        def.settingsVersion = Make<MText>(*panel, frame_id::kSettingsVersion);
        if (def.settingsVersion)
            def.settingsVersion->SetAlign(kAlignRight);
    }
}

void LayoutMainFrame(MWindow& window, DeviceMainDef& def, const MRect& client) {
    if (def.maximizeButton)
        def.maximizeButton->SetImage(MaximizeButtonImage(window.IsMaximized()), 4);
    MControl* const controls[] = {def.background,         def.titleBar,       def.bottomBar,
                                  def.windowTitle,        def.logo,           def.logoLink,
                                  def.closeButton,        def.maximizeButton, def.minimizeButton,
                                  def.settingsButton,     def.battery,        def.deviceState,
                                  def.profileButton,      def.resetButton,    def.mousePicture,
                                  def.tabBackground,      def.pageTabs,       def.homePage,
                                  def.buttonPage,         def.keyPanel,       def.performancePage,
                                  def.macroPage,          def.lightingPage,   def.devicePage,
                                  def.settingsPanel,      def.deviceList,     def.noDevicePicture,
                                  def.noDeviceText,       def.previousDevice, def.nextDevice,
                                  def.settingsBackground, def.settingsReturn, def.settingsVersion};
    for (MControl* control : controls)
        Place(control, client);
}

}  // namespace cursorial
