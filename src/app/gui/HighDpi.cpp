#include "app/gui/HighDpi.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>
#include <string>
#include <vector>

#include "app/StartupRules.h"

namespace cursorial {

namespace {

constexpr char kScalingVariable[] = "QT_ENABLE_HIGHDPI_SCALING";
bool g_setScalingVariable = false;

bool UserChoseScaling() {
    return qEnvironmentVariableIsSet("QT_ENABLE_HIGHDPI_SCALING") ||
           qEnvironmentVariableIsSet("QT_SCALE_FACTOR") ||
           qEnvironmentVariableIsSet("QT_SCREEN_SCALE_FACTORS");
}

}  // namespace

ScreenFacts ProbePrimaryScreen(int argc, char** argv) {
    // Qt takes its own options out of argv; the real application must still see them.
    std::vector<std::string> copies(argv, argv + argc);
    std::vector<char*> args;
    for (std::string& a : copies)
        args.push_back(a.data());
    args.push_back(nullptr);
    int probeArgc = argc;

    ScreenFacts facts;
    {
        QGuiApplication probe(probeArgc, args.data());
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            // geometry() is in scaled pixels; the ratio turns it back into device pixels, and
            // logical DPI times the ratio is the desktop's effective DPI whether Qt scales or not.
            const qreal ratio = screen->devicePixelRatio();
            facts.found = true;
            facts.width = static_cast<int>(std::lround(screen->geometry().width() * ratio));
            facts.height = static_cast<int>(std::lround(screen->geometry().height() * ratio));
            facts.effectiveDpi =
                static_cast<int>(std::lround(screen->logicalDotsPerInchX() * ratio));
        }
    }
    return facts;
}

HighDpiMode DecideHighDpiMode(const ScreenFacts& screen) {
    if (!screen.found)
        return HighDpiMode::kScaled;
    return HighDpiModeFor(ShouldBeDpiAware(screen.width, screen.height, screen.effectiveDpi));
}

void ApplyHighDpiMode(HighDpiMode mode) {
    if (UserChoseScaling())
        return;
    if (mode == HighDpiMode::kUnscaled) {
        qputenv(kScalingVariable, "0");
        g_setScalingVariable = true;
    } else {
        QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
            Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    }
}

void ForgetHighDpiEnvironment() {
    if (g_setScalingVariable) {
        qunsetenv(kScalingVariable);
        g_setScalingVariable = false;
    }
}

}  // namespace cursorial
