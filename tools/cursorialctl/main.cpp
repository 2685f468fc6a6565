// cursorialctl: the command-line tool over the core. Each command group contributes a table of
// commands; main only dispatches. To add a group, write its table in its own file and list it
// in kGroups.
#include <algorithm>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "Cli.h"
#include "DeviceCommands.h"
#include "StoreCommands.h"
#include "device/DeviceLink.h"
#include "hid/BackendSelect.h"

namespace cursorial::cli {
namespace {

using GroupFn = std::span<const CommandSpec> (*)();
constexpr GroupFn kGroups[] = {
    DeviceCommands,
    StoreCommands,
};

void PrintUsage(std::FILE* out) {
    std::fprintf(out, "usage: cursorialctl COMMAND [ARGS]\n\ncommands:\n");
    for (GroupFn group : kGroups) {
        for (const CommandSpec& c : group()) {
            const std::string head =
                std::string(c.name) + (c.synopsis.empty() ? "" : " ") + std::string(c.synopsis);
            std::fprintf(out, "  %-44s %.*s\n", head.c_str(), static_cast<int>(c.summary.size()),
                         c.summary.data());
        }
    }
    std::fprintf(out,
                 "\nthe store commands take --data-dir DIR, --model KEY or --type T anywhere, "
                 "also before the command\n");
    std::fprintf(out,
                 "\nexit status: 0 success, 1 device not reachable or no answer (or a file or "
                 "the store refused the change), 2 bad arguments, 3 program data unreadable\n");
}

const CommandSpec* FindCommand(std::string_view name) {
    for (GroupFn group : kGroups) {
        for (const CommandSpec& c : group())
            if (c.name == name)
                return &c;
    }
    return nullptr;
}

}  // namespace
}  // namespace cursorial::cli

int main(int argc, char** argv) {
    using namespace cursorial::cli;
    cursorial::DeviceLink::InstallBackendFactory(
        [] { return cursorial::hid::CreateBackendFromEnvironment("cursorialctl"); });
    std::vector<std::string> args(argv + 1, argv + argc);
    // Options that choose the data folder or the model may stand before the command, as
    // "--name VALUE" or "--name=VALUE"; they are moved to the end, where the command reads them
    // like its own.
    std::size_t leading = 0;
    while (leading < args.size()) {
        const std::string& word = args[leading];
        const std::string name = word.substr(0, word.find('='));
        if (name != "--data-dir" && name != "--model" && name != "--type")
            break;
        const std::size_t width = name.size() < word.size() ? 1 : 2;
        if (leading + width >= args.size())
            break;
        leading += width;
    }
    if (leading < args.size())
        std::rotate(args.begin(), args.begin() + static_cast<std::ptrdiff_t>(leading), args.end());
    if (args.empty())
        return (PrintUsage(stderr), kExitUsage);
    if (args[0] == "help" || args[0] == "--help" || args[0] == "-h") {
        PrintUsage(stdout);
        return kExitOk;
    }
    const CommandSpec* command = FindCommand(args[0]);
    if (!command)
        return Fail(kExitUsage, "unknown command \"%s\" (try cursorialctl help)", args[0].c_str());
    return command->run(std::span<const std::string>(args).subspan(1));
}
