// Process-wide settings of the widget kit: the program's folder and name, the theme and its
// skin folder, the default font, the colours of the dark look, the image cache and the
// animation tick. Window thread only, except where a function says otherwise.
#pragma once

#include "common/dui/DuiTypes.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace DUI {

class MControl;
class SkinImage;

// Colours of the look (ARGB). The highlight colour is Manager::m_select_color.
constexpr ARGB kColorBackground = 0xFF1A1A1A;
constexpr ARGB kColorPanel = 0xFF232323;
constexpr ARGB kColorPanelLight = 0xFF2D2D2D;
constexpr ARGB kColorBorder = 0xFF3A3A3A;
constexpr ARGB kColorText = 0xFFFFFFFF;
constexpr ARGB kColorTextSecondary = 0xFF969696;
constexpr ARGB kColorTextDisabled = 0xFF5C5C5C;
constexpr ARGB kDefaultSelectColor = 0xFFF5A623;  // warm amber

QColor ToQColor(ARGB argb);
QColor FromColorRef(COLORREF colour);
COLORREF ToColorRef(const QColor& colour);

class Manager {
public:
    // The program instance: the folder of its executable and data. When never set, the kit uses
    // the running executable's folder, or <exe dir>/../share/cursorial/ when config.xml is not
    // beside the executable (the installed layout).
    static void SetInstance(const std::filesystem::path& exeFolder);
    static std::filesystem::path GetInstance();

    // The application name ("caption" of config.xml).
    static void SetDeviceName(std::u16string_view name);
    static std::u16string GetDeviceName();

    static void SetTheme(std::u16string_view theme);  // clears the image cache
    static std::u16string GetTheme();                 // "dark" unless set

    // Default font family of every control that has none of its own.
    static void SetFontName(std::u16string_view name);
    static std::u16string GetFontName();

    // Highlight colour (ARGB): selections, focus, progress, the active stage.
    static ARGB m_select_color;

    // <instance folder>/skins/<theme>/
    static std::filesystem::path GetSkinFolder();

    // The image of a skin file name relative to the skin folder. Backslashes count as folder
    // separators and doubled separators collapse ("icon\\a.png", "icon//a.png"). A same-named
    // .svg beside a raster name is preferred, so vector sources stay sharp at every scale.
    // Never null as a pointer; SkinImage::IsNull() tells a missing file.
    static std::shared_ptr<const SkinImage> GetImage(std::u16string_view name);
    static std::shared_ptr<const SkinImage> GetImage(const QString& name);
    static void ClearImageCache();
    // Changes whenever the cache is cleared, so holders of an image know to fetch it again.
    static int GetImageGeneration();

    // A font of the given pixel size in `family` (the default family when empty).
    static QFont MakeFont(std::u16string_view family, int pixelSize, bool bold);

    // The animation tick shared by every animated control. SetMTimer sets its period in ms
    // (0 stops all animation); it runs only while a control is registered with AddMTimer.
    static void SetMTimer(int periodMs);
    static int GetMTimer();
    static void AddMTimer(MControl* control);
    static void RemoveMTimer(MControl* control);
    // Advances every registered control by one tick now (tests drive animation with this).
    static void AnimationTick();
};

}  // namespace DUI
