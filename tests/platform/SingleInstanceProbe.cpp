// A second program for the single-instance tests: claims the instance named by argv[1] in the
// runtime folder of its environment and prints the outcome. With "hold" as argv[2] a first
// instance stays alive until its standard input closes.
#include <unistd.h>

#include <cstdio>

#include "common/text/WideText.h"
#include "platform/SingleInstance.h"

int main(int argc, char** argv) {
    using cursorial::SingleInstance;
    if (argc < 2)
        return 2;
    const SingleInstance instance = SingleInstance::Start(cursorial::FromUtf8(argv[1]));
    int code = 0;
    switch (instance.GetOutcome()) {
        case SingleInstance::Outcome::kFirstInstance:
            std::puts(instance.ListenFd() >= 0 ? "first" : "first-unguarded");
            break;
        case SingleInstance::Outcome::kActivated:
            std::puts("activated");
            code = 10;
            break;
        case SingleInstance::Outcome::kNotReachable:
            std::puts("unreachable");
            code = 11;
            break;
        case SingleInstance::Outcome::kNoGuard:
            std::puts("no-guard");
            code = 12;
            break;
    }
    std::fflush(stdout);
    if (argc > 2 && std::string_view(argv[2]) == "hold") {
        char c;
        while (::read(STDIN_FILENO, &c, 1) > 0) {
        }
    }
    return code;
}
