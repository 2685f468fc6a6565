#include "app/gui/ProcessExit.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <utility>
#include <vector>

namespace cursorial {

namespace {

std::vector<std::function<void()>>& LastSteps() {
    static std::vector<std::function<void()>> steps;
    return steps;
}

// The self-pipe from the signal handler to the window thread: the handler may only do
// async-signal-safe things, so it writes the signal number and the window thread does the rest.
int gSignalPipe[2] = {-1, -1};
std::atomic<bool> gSignalsWatched{false};
std::atomic<int> gSignalsPending{0};

void DefaultAction(int signo) {
    ::signal(signo, SIG_DFL);
    ::raise(signo);
}

void OnTerminationSignal(int signo) {
    if (!gSignalsWatched.load() || gSignalsPending.fetch_add(1) > 0) {
        DefaultAction(signo);
        return;
    }
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signo);
    if (::write(gSignalPipe[1], &byte, 1) != 1)
        DefaultAction(signo);
    errno = saved;
}

// Runs inside the application object's constructor, once its thread has an event dispatcher.
void WatchSignalPipe() {
    auto* notifier =
        new QSocketNotifier(gSignalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        unsigned char signo = 0;
        if (::read(gSignalPipe[0], &signo, 1) == 1)
            EndProcess(128 + signo);
    });
    gSignalsWatched.store(true);
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

void EndOnTerminationSignals() {
    if (gSignalPipe[0] >= 0 || ::pipe2(gSignalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    qAddPreRoutine(WatchSignalPipe);
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

}  // namespace cursorial
