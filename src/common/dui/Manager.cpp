#include "common/dui/Manager.h"

#include "common/dui/MControl.h"
#include "common/dui/SkinImage.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace DUI {

namespace {

struct State {
    std::filesystem::path instance;
    std::u16string deviceName;
    std::u16string theme = u"dark";
    std::u16string fontName;
    std::unordered_map<std::u16string, std::shared_ptr<const SkinImage>> images;
    int tickMs = 10;
    int generation = 0;
    std::vector<QPointer<MControl>> animated;
    QPointer<QTimer> ticker;
};

State& S() {
    static State state;
    return state;
}

QString ToQ(std::u16string_view s) {
    return QString::fromUtf16(s.data(), qsizetype(s.size()));
}

// "icon\\a.png", "icon//a.png" and "/icon/a.png" all name icon/a.png below the skin folder.
std::u16string NormaliseName(std::u16string_view name) {
    std::u16string out;
    out.reserve(name.size());
    for (char16_t c : name) {
        if (c == u'\\') {
            c = u'/';
        }
        if (c == u'/' && (out.empty() || out.back() == u'/')) {
            continue;
        }
        out.push_back(c);
    }
    return out;
}

void UpdateTicker() {
    State& s = S();
    s.animated.erase(std::remove_if(s.animated.begin(), s.animated.end(),
                                    [](const QPointer<MControl>& c) { return c.isNull(); }),
                     s.animated.end());
    const bool run = s.tickMs > 0 && !s.animated.empty() && QCoreApplication::instance();
    if (!run) {
        if (s.ticker) {
            s.ticker->stop();
        }
        return;
    }
    if (!s.ticker) {
        s.ticker = new QTimer(QCoreApplication::instance());
        QObject::connect(s.ticker, &QTimer::timeout, [] { Manager::AnimationTick(); });
    }
    if (s.ticker->interval() != s.tickMs || !s.ticker->isActive()) {
        s.ticker->start(s.tickMs);
    }
}

}  // namespace

ARGB Manager::m_select_color = kDefaultSelectColor;

QColor ToQColor(ARGB argb) {
    unsigned alpha = (argb >> 24) & 0xFF;
    if (alpha == 0 && (argb & 0xFFFFFF) != 0) {
        alpha = 0xFF;
    }
    return QColor((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF, alpha);
}

QColor FromColorRef(COLORREF c) {
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

COLORREF ToColorRef(const QColor& c) {
    return RGB(c.red(), c.green(), c.blue());
}

void Manager::SetInstance(const std::filesystem::path& exeFolder) {
    S().instance = exeFolder;
}

std::filesystem::path Manager::GetInstance() {
    State& s = S();
    if (!s.instance.empty()) {
        return s.instance;
    }
    if (!QCoreApplication::instance()) {
        return std::filesystem::current_path();
    }
    const std::filesystem::path exe = QCoreApplication::applicationDirPath().toStdString();
    if (!std::filesystem::exists(exe / "config.xml")) {
        const std::filesystem::path shared = exe / ".." / "share" / "cursorial";
        if (std::filesystem::exists(shared / "config.xml")) {
            return shared.lexically_normal();
        }
    }
    return exe;
}

void Manager::SetDeviceName(std::u16string_view name) {
    S().deviceName = name;
}
std::u16string Manager::GetDeviceName() {
    return S().deviceName;
}

void Manager::SetTheme(std::u16string_view theme) {
    S().theme = theme;
    ClearImageCache();
}

std::u16string Manager::GetTheme() {
    return S().theme;
}

void Manager::SetFontName(std::u16string_view name) {
    S().fontName = name;
}
std::u16string Manager::GetFontName() {
    return S().fontName;
}

std::filesystem::path Manager::GetSkinFolder() {
    return GetInstance() / "skins" / std::filesystem::path(S().theme) / "";
}

std::shared_ptr<const SkinImage> Manager::GetImage(const QString& name) {
    return GetImage(
        std::u16string_view(reinterpret_cast<const char16_t*>(name.utf16()), size_t(name.size())));
}

std::shared_ptr<const SkinImage> Manager::GetImage(std::u16string_view name) {
    State& s = S();
    // A full path (the catalogue hands the device list one) is taken as it is; any other name
    // is relative to the skin folder.
    const bool absolute = !name.empty() && name.front() == u'/';
    const std::u16string key = (absolute ? u"/" : u"") + NormaliseName(name);
    if (auto it = s.images.find(key); it != s.images.end()) {
        return it->second;
    }
    std::shared_ptr<const SkinImage> image;
    if (key.empty()) {
        image = std::make_shared<SkinImage>();
    } else {
        const QString folder = QString::fromStdString(GetSkinFolder().string());
        const QString path = absolute ? ToQ(key) : folder + ToQ(key);
        QString chosen = path;
        // A vector source beside a raster name wins: it renders sharp at every scale.
        if (!path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
            const QFileInfo info(path);
            const QString svg =
                info.path() + QLatin1Char('/') + info.completeBaseName() + QLatin1String(".svg");
            if (QFileInfo::exists(svg)) {
                chosen = svg;
            }
        }
        image = QFileInfo::exists(chosen) ? std::make_shared<SkinImage>(chosen)
                                          : std::make_shared<SkinImage>();
    }
    s.images.emplace(key, image);
    return image;
}

void Manager::ClearImageCache() {
    S().images.clear();
    ++S().generation;
}

int Manager::GetImageGeneration() {
    return S().generation;
}

QFont Manager::MakeFont(std::u16string_view family, int pixelSize, bool bold) {
    QFont font;
    const std::u16string& name = family.empty() ? S().fontName : std::u16string(family);
    if (!name.empty()) {
        font.setFamilies({ToQ(name), font.defaultFamily()});
    }
    font.setPixelSize(std::max(1, pixelSize));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

void Manager::SetMTimer(int periodMs) {
    S().tickMs = std::max(0, periodMs);
    UpdateTicker();
}

int Manager::GetMTimer() {
    return S().tickMs;
}

void Manager::AddMTimer(MControl* control) {
    if (!control) {
        return;
    }
    State& s = S();
    if (std::find(s.animated.begin(), s.animated.end(), control) == s.animated.end()) {
        s.animated.emplace_back(control);
    }
    UpdateTicker();
}

void Manager::RemoveMTimer(MControl* control) {
    State& s = S();
    s.animated.erase(std::remove(s.animated.begin(), s.animated.end(), control), s.animated.end());
    UpdateTicker();
}

void Manager::AnimationTick() {
    State& s = S();
    // Copy: a control may leave (or others join) during its tick.
    const std::vector<QPointer<MControl>> controls = s.animated;
    for (const QPointer<MControl>& c : controls) {
        if (c && !c->OnMTimer()) {
            s.animated.erase(std::remove(s.animated.begin(), s.animated.end(), c),
                             s.animated.end());
        }
    }
    UpdateTicker();
}

}  // namespace DUI
