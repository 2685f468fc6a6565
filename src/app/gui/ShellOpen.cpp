#include "app/gui/ShellOpen.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QUrl>

#include "common/text/WideText.h"

namespace cursorial {

bool OpenAddress(std::u16string_view address) {
    const QString text = QString::fromUtf16(address.data(), qsizetype(address.size()));
    return QDesktopServices::openUrl(QUrl(text, QUrl::TolerantMode));
}

const std::vector<SettingsCommand>& MouseSettingsCommands() {
    static const std::vector<SettingsCommand> commands{
        {"GNOME", "gnome-control-center", {"mouse"}},
        {"KDE", "systemsettings", {"kcm_mouse"}},
        {"KDE", "kcmshell6", {"kcm_mouse"}},
        {"KDE", "kcmshell5", {"kcm_mouse"}},
        {"XFCE", "xfce4-mouse-settings", {}},
        {"X-Cinnamon", "cinnamon-settings", {"mouse"}},
        {"MATE", "mate-mouse-properties", {}},
        {"LXQt", "lxqt-config-input", {}},
    };
    return commands;
}

const SettingsCommand* ChooseMouseSettingsCommand(
    std::string_view currentDesktop, const std::function<bool(const char* program)>& exists) {
    const auto runsOn = [currentDesktop](std::string_view desktop) {
        for (size_t start = 0; start <= currentDesktop.size();) {
            size_t end = currentDesktop.find(':', start);
            if (end == std::string_view::npos)
                end = currentDesktop.size();
            if (EqualsIgnoreAsciiCase(currentDesktop.substr(start, end - start), desktop))
                return true;
            start = end + 1;
        }
        return false;
    };
    for (const SettingsCommand& command : MouseSettingsCommands()) {
        if (runsOn(command.desktop) && exists(command.program))
            return &command;
    }
    for (const SettingsCommand& command : MouseSettingsCommands()) {
        if (exists(command.program))
            return &command;
    }
    return nullptr;
}

bool OpenMouseSettings() {
    const SettingsCommand* command = ChooseMouseSettingsCommand(
        qEnvironmentVariable("XDG_CURRENT_DESKTOP").toStdString(), [](const char* program) {
            return !QStandardPaths::findExecutable(QString::fromUtf8(program)).isEmpty();
        });
    if (!command)
        return false;
    QStringList arguments;
    for (const char* a : command->arguments)
        arguments << QString::fromUtf8(a);
    return QProcess::startDetached(QString::fromUtf8(command->program), arguments);
}

}  // namespace cursorial
