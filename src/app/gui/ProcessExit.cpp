#include "app/gui/ProcessExit.h"

#include <unistd.h>

#include <cstdio>
#include <utility>
#include <vector>

namespace cursorial {

namespace {

std::vector<std::function<void()>>& LastSteps() {
    static std::vector<std::function<void()>> steps;
    return steps;
}

}  // namespace

void AddLastStep(std::function<void()> step) {
    LastSteps().push_back(std::move(step));
}

void EndProcess(int code) {
    // A step that ends the process itself must not run the others twice.
    std::vector<std::function<void()>> steps = std::exchange(LastSteps(), {});
    for (auto& step : steps) {
        if (step)
            step();
    }
    std::fflush(stdout);
    std::fflush(stderr);
    ::_exit(code);
}

}  // namespace cursorial
