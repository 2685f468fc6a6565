#include "program/StartUp.h"

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>

#include <time.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "app/AppConfig.h"
#include "app/LanguageChoice.h"
#include "app/LanguageTexts.h"
#include "app/StartupRules.h"
#include "app/gui/ActivationListener.h"
#include "app/gui/HighDpi.h"
#include "app/gui/ProcessExit.h"
#include "catalogue/DeviceCatalogue.h"
#include "common/dui/Manager.h"
#include "controller/DeviceMainDlg.h"
#include "device/DeviceLink.h"
#include "hid/BackendSelect.h"
#include "platform/KeyValueStore.h"
#include "platform/Paths.h"
#include "platform/SingleInstance.h"
#include "platform/SystemLanguage.h"

namespace cursorial {

namespace {

// Hooks for our own tests and benchmarks, off unless their variable is set to 1. They only
// print to standard output; the program behaves the same with or without them.
//   CURSORIAL_REPORT_WINDOW      "started <normal|minimized|hidden>" once the modal run has
//                                begun, then "shown" or "not shown" after every activation
//                                request (tests of the single-instance guard).
//   CURSORIAL_BENCH_FIRST_PAINT  "first-paint <ns>" after the main window's first paint, the
//                                time in CLOCK_REALTIME nanoseconds (the start-up benchmark).
bool HookOn(const char* name) {
    return qEnvironmentVariable(name) == QLatin1String("1");
}

const char* WindowStateName(const DUI::MWindow& window) {
    if (!window.IsWindowVisible())
        return "hidden";
    return window.IsMinimized() ? "minimized" : "normal";
}

void PrintLine(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

class FirstPaintReporter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !reported_) {
            reported_ = true;
            // Printed once this paint pass, children included, has finished.
            QTimer::singleShot(0, [] {
                timespec now{};
                clock_gettime(CLOCK_REALTIME, &now);
                PrintLine("first-paint " + std::to_string(now.tv_sec * 1000000000LL + now.tv_nsec));
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool reported_ = false;
};

}  // namespace

int RunCursorial(int argc, char** argv) {
    DeviceLink::InstallBackendFactory([] { return hid::CreateBackendFromEnvironment("cursorial"); });
    // The command line as it was given, before Qt takes its own options out of it.
    const bool hide = HasHideSwitch(CommandLineAfterProgram(argc, argv));

    // The application configuration: the languages offered and the application name.
    const std::filesystem::path dataFolder = ExecutableFolder();
    AppConfig config;
    ReadAppConfig(CatalogueFilePath(dataFolder), config);
    const std::u16string& appName = config.application_name;
    DUI::Manager::SetDeviceName(appName);

    // One instance per user: a later start asks the first to show itself and ends.
    std::optional<SingleInstance> instance = SingleInstance::Start(appName);
    if (instance->GetOutcome() == SingleInstance::Outcome::kNoGuard) {
        std::fprintf(stderr, "cursorial: cannot make sure that only one copy runs: %s\n",
                     instance->Problem().c_str());
        return 1;
    }
    if (instance->GetOutcome() != SingleInstance::Outcome::kFirstInstance)
        return 0;

    // DPI awareness. On the desktop it is decided first of all; here it needs a connection to
    // the display, so it comes after the single-instance check and a later start never opens
    // one.
    ApplyHighDpiMode(DecideHighDpiMode(ProbePrimaryScreen(argc, argv)));
    QApplication application(argc, argv);
    ForgetHighDpiEnvironment();
    QGuiApplication::setDesktopFileName(QStringLiteral("cursorial"));
    // The window hides into the tray; only the program's own exits end it.
    QApplication::setQuitOnLastWindowClosed(false);

    // The interface language, the kit's folder, the data folders.
    const KeyValueStore settings(SettingsFolder(appName));
    LanguageTexts texts(dataFolder);
    ChooseLanguage(texts, settings, config.languages, SystemUiLanguage());
    DUI::Manager::SetInstance(dataFolder);
    CreateFolderTree(DatabaseFolder(appName));

    MainWindowContext context;
    context.dataFolder = dataFolder;
    context.texts = &texts;
    context.settings = &settings;
    context.languages = config.languages;
    context.appDataFolder = ApplicationDataFolder(appName);
    auto window = std::make_unique<DeviceMainDlg>(std::move(context));

    // Created without WS_VISIBLE: the modal run shows it, or keeps it hidden with "-hide".
    window->Create(nullptr, appName, DUI::WS_POPUP | DUI::WS_CLIPSIBLINGS | DUI::WS_CLIPCHILDREN, 0,
                   {0, 0, DeviceMainDlg::kWidth, DeviceMainDlg::kHeight});
    window->CenterWindow();

    const bool reportWindow = HookOn("CURSORIAL_REPORT_WINDOW");
    ActivationListener listener(*instance, [&](const ActivationRequest& request) {
        window->BringToFront(request.activation_token);
        if (reportWindow)
            PrintLine(std::string(WindowStateName(*window)) == "normal" ? "shown" : "not shown");
    });
    // The socket file goes with the process, however it ends.
    AddLastStep([&instance] { instance.reset(); });

    FirstPaintReporter paintReporter;
    if (HookOn("CURSORIAL_BENCH_FIRST_PAINT") && window->GetWidget())
        window->GetWidget()->installEventFilter(&paintReporter);
    if (reportWindow) {
        QTimer::singleShot(
            0, [&window] { PrintLine(std::string("started ") + WindowStateName(*window)); });
    }

    window->ShowModal(window->InitialShowCommand(hide));
    window.reset();
    return 1;
}

}  // namespace cursorial
