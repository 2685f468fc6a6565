// The shell's small decisions: DPI awareness as Qt scaling, the tray tip, the desktop's mouse
// settings tool, and the process end with its last steps.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QIcon>
#include <QPixmap>
#include <QtGlobal>

#include <signal.h>

#include <cstdio>
#include <set>

#include "app/gui/HighDpi.h"
#include "app/gui/NotificationIcon.h"
#include "app/gui/ProcessExit.h"
#include "app/gui/ShellOpen.h"

namespace cursorial {
namespace {

TEST(HighDpi, SmallAndDenseScreensDrawUnscaled) {
    const struct {
        ScreenFacts screen;
        HighDpiMode expected;
    } cases[] = {
        {{false, 0, 0, 96}, HighDpiMode::kScaled},
        {{true, 1366, 768, 96}, HighDpiMode::kUnscaled},
        {{true, 1366, 768, 144}, HighDpiMode::kUnscaled},
        {{true, 1600, 900, 96}, HighDpiMode::kScaled},
        {{true, 2560, 1440, 192}, HighDpiMode::kScaled},
        {{true, 1920, 1080, 96}, HighDpiMode::kScaled},
        {{true, 1920, 1080, 120}, HighDpiMode::kScaled},
        {{true, 1920, 1080, 144}, HighDpiMode::kUnscaled},
        {{true, 1920, 1080, 192}, HighDpiMode::kUnscaled},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecideHighDpiMode(c.screen), c.expected)
            << c.screen.width << "x" << c.screen.height << " at " << c.screen.effectiveDpi;
    }
}

TEST(HighDpi, UnscaledTurnsQtScalingOffOnlyUntilTheApplicationExists) {
    qunsetenv("QT_ENABLE_HIGHDPI_SCALING");
    qunsetenv("QT_SCALE_FACTOR");
    qunsetenv("QT_SCREEN_SCALE_FACTORS");
    ApplyHighDpiMode(HighDpiMode::kUnscaled);
    EXPECT_EQ(qgetenv("QT_ENABLE_HIGHDPI_SCALING"), "0");
    ForgetHighDpiEnvironment();
    EXPECT_FALSE(qEnvironmentVariableIsSet("QT_ENABLE_HIGHDPI_SCALING"))
        << "programs we start must not inherit our choice";

    // A scaling the user set up is theirs.
    qputenv("QT_SCALE_FACTOR", "1.5");
    ApplyHighDpiMode(HighDpiMode::kUnscaled);
    EXPECT_FALSE(qEnvironmentVariableIsSet("QT_ENABLE_HIGHDPI_SCALING"));
    ForgetHighDpiEnvironment();
    EXPECT_EQ(qgetenv("QT_SCALE_FACTOR"), "1.5");
    qunsetenv("QT_SCALE_FACTOR");
}

TEST(TrayIcon, TipIsTheApplicationNameCutTo127Characters) {
    EXPECT_EQ(IconTip(u"Cursorial"), u"Cursorial");
    const std::u16string exact(127, u'a');
    EXPECT_EQ(IconTip(exact), exact);
    EXPECT_EQ(IconTip(exact + u"bc"), exact);
    // A cut through a surrogate pair drops its first half as well.
    const std::u16string pairAtTheCut = std::u16string(126, u'a') + u"\U0001F5B1" + u"z";
    EXPECT_EQ(IconTip(pairAtTheCut), std::u16string(126, u'a'));
}

TEST(TrayIcon, GoesUpWhenATrayTurnsUpAfterTheStart) {
    bool tray = false;
    SystemTrayIcon icon([&tray] { return tray; });
    QPixmap image(16, 16);
    image.fill(Qt::yellow);
    icon.Add(QIcon(image), u"Cursorial", u"Exit");
    EXPECT_FALSE(icon.IsShown());

    tray = true;
    icon.CheckTray();
    EXPECT_TRUE(icon.IsShown());

    icon.Remove();
    icon.CheckTray();
    EXPECT_FALSE(icon.IsShown()) << "a removed icon waits no longer";
}

TEST(MouseSettings, TheRunningDesktopsToolComesFirst) {
    const auto installed = [](std::set<std::string> programs) {
        return [programs](const char* program) { return programs.contains(program); };
    };
    const auto chosen = [](const SettingsCommand* c) {
        return c ? std::string(c->program) : std::string("(none)");
    };
    const std::set<std::string> both = {"gnome-control-center", "systemsettings"};
    EXPECT_EQ(chosen(ChooseMouseSettingsCommand("KDE", installed(both))), "systemsettings");
    EXPECT_EQ(chosen(ChooseMouseSettingsCommand("ubuntu:GNOME", installed(both))),
              "gnome-control-center");
    EXPECT_EQ(chosen(ChooseMouseSettingsCommand("gnome", installed(both))), "gnome-control-center");
    // Another desktop, or none named: the first tool that is there.
    EXPECT_EQ(chosen(ChooseMouseSettingsCommand("Sway", installed({"xfce4-mouse-settings"}))),
              "xfce4-mouse-settings");
    EXPECT_EQ(chosen(ChooseMouseSettingsCommand("", installed({}))), "(none)");
    const SettingsCommand* gnome =
        ChooseMouseSettingsCommand("GNOME", installed({"gnome-control-center"}));
    ASSERT_NE(gnome, nullptr);
    ASSERT_EQ(gnome->arguments.size(), 1u);
    EXPECT_STREQ(gnome->arguments[0], "mouse");
}

TEST(ProcessEnd, RunsTheLastStepsInOrderAndEndsWithTheCode) {
    EXPECT_EXIT(
        {
            AddLastStep([] { std::fputs("first ", stderr); });
            AddLastStep([] { std::fputs("second", stderr); });
            EndProcess(0);
        },
        ::testing::ExitedWithCode(0), "first second");
    EXPECT_EXIT(EndProcess(7), ::testing::ExitedWithCode(7), "");
}

TEST(ProcessEnd, TerminationSignalsEndThroughTheLastSteps) {
    for (const int signo : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signo);
        EXPECT_EXIT(
            {
                EndOnTerminationSignals();
                AddLastStep([] { std::fputs("last step ran", stderr); });
                ::raise(signo);
                // The window thread ends the process once it handles events.
                for (;;)
                    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            },
            ::testing::ExitedWithCode(128 + signo), "last step ran");
    }
}

}  // namespace
}  // namespace cursorial
