#include "common/dui/UiThread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <set>

namespace DUI {

namespace {

enum class CallState { Pending, Running, Done, Dropped };

struct Call {
    std::function<void()> work;
    std::mutex mutex;
    std::condition_variable cv;
    CallState state = CallState::Pending;
};

struct Gate {
    std::mutex mutex;
    bool closed = false;
    bool hooked = false;
    std::set<std::shared_ptr<Call>> pending;
};

Gate& TheGate() {
    static Gate gate;
    return gate;
}

void Finish(const std::shared_ptr<Call>& call, CallState state) {
    {
        std::lock_guard lock(call->mutex);
        call->state = state;
    }
    call->cv.notify_all();
    Gate& gate = TheGate();
    std::lock_guard lock(gate.mutex);
    gate.pending.erase(call);
}

// Drops the call when its queued event is discarded without running (the application went away).
struct DropGuard {
    explicit DropGuard(std::shared_ptr<Call> c) : call(std::move(c)) {}
    DropGuard(const DropGuard&) = delete;
    DropGuard& operator=(const DropGuard&) = delete;
    std::shared_ptr<Call> call;
    ~DropGuard() {
        bool pending;
        {
            std::lock_guard lock(call->mutex);
            pending = call->state == CallState::Pending;
        }
        if (pending) {
            Finish(call, CallState::Dropped);
        }
    }
};

void HookApplication(QCoreApplication* app) {
    Gate& gate = TheGate();
    {
        std::lock_guard lock(gate.mutex);
        if (gate.hooked) {
            return;
        }
        gate.hooked = true;
    }
    QObject::connect(app, &QCoreApplication::aboutToQuit, [] { ShutdownUiThreadCalls(); });
    QObject::connect(app, &QObject::destroyed, [] {
        ShutdownUiThreadCalls();
        std::lock_guard lock(TheGate().mutex);
        TheGate().hooked = false;
    });
}

}  // namespace

bool IsUiThread() {
    QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

bool RunOnUiThread(std::function<void()> work) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || !work) {
        return false;
    }
    if (QThread::currentThread() == app->thread()) {
        work();
        return true;
    }
    HookApplication(app);

    auto call = std::make_shared<Call>();
    call->work = std::move(work);
    {
        Gate& gate = TheGate();
        std::lock_guard lock(gate.mutex);
        if (gate.closed) {
            return false;
        }
        gate.pending.insert(call);
    }
    auto guard = std::make_shared<DropGuard>(call);
    QMetaObject::invokeMethod(
        app,
        [guard] {
            const std::shared_ptr<Call>& c = guard->call;
            {
                std::lock_guard lock(c->mutex);
                if (c->state != CallState::Pending) {
                    return;  // dropped at shutdown
                }
                c->state = CallState::Running;
            }
            c->work();
            Finish(c, CallState::Done);
        },
        Qt::QueuedConnection);
    guard.reset();

    std::unique_lock lock(call->mutex);
    call->cv.wait(
        lock, [&] { return call->state == CallState::Done || call->state == CallState::Dropped; });
    return call->state == CallState::Done;
}

void ShutdownUiThreadCalls() {
    Gate& gate = TheGate();
    std::set<std::shared_ptr<Call>> pending;
    {
        std::lock_guard lock(gate.mutex);
        gate.closed = true;
        pending.swap(gate.pending);
    }
    for (const std::shared_ptr<Call>& call : pending) {
        bool drop;
        {
            std::lock_guard lock(call->mutex);
            drop = call->state == CallState::Pending;
            if (drop) {
                call->state = CallState::Dropped;
            }
        }
        // A running call finishes by itself; its caller is released then.
        if (drop) {
            call->cv.notify_all();
        } else {
            std::lock_guard lock(gate.mutex);
            gate.pending.insert(call);
        }
    }
}

void ResumeUiThreadCalls() {
    Gate& gate = TheGate();
    std::lock_guard lock(gate.mutex);
    gate.closed = false;
}

}  // namespace DUI
