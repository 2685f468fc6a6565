#include "controller/core/CThreadBasic.h"

#include <ctime>
#include <system_error>
#include <thread>

namespace cursorial {

namespace {

std::uint32_t TickCount() {
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<std::uint32_t>(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

}  // namespace

void CThreadBasic::DoneEvent::Signal() {
    {
        std::lock_guard lock(mutex);
        done = true;
    }
    signalled.notify_all();
}

bool CThreadBasic::DoneEvent::WaitFor(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex);
    return signalled.wait_for(lock, timeout, [&] { return done; });
}

bool CThreadBasic::StartWorker(int periodMs) {
    if (running_.load() != 0)
        return false;
    period_ = periodMs;
    loop_ = 1;
    startTick_ = TickCount();
    done_ = std::make_shared<DoneEvent>();
    running_ = 1;
    try {
        std::thread(ThreadProc, shared_from_this(), done_).detach();
    } catch (const std::system_error&) {
        running_ = 0;
        done_.reset();
        return false;
    }
    return true;
}

bool CThreadBasic::StopWorker(std::chrono::milliseconds timeout) {
    if (running_.exchange(0) != 1)
        return true;
    WakeWorkStep();
    const bool ended = done_ && done_->WaitFor(timeout);
    done_.reset();
    return ended;
}

void CThreadBasic::ThreadProc(std::shared_ptr<CThreadBasic> self, std::shared_ptr<DoneEvent> done) {
    if (self->loop_ == 0) {
        self->WorkStep();
    } else {
        while (self->running_.load() != 0) {
            self->WorkStep();
            if (const int period = self->period_.load(); period > 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(period));
        }
    }
    done->Signal();
}

}  // namespace cursorial
