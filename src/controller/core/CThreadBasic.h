// The worker thread's base: a running flag, a loop flag, the pause between two work steps, the
// start tick, and a done event the thread signals when it ends. The derived object implements
// the work step.
//
// The thread shares ownership of the object it runs, so a worker that is still inside a long
// task when StopWorker gives up waiting keeps everything it uses alive until it returns; the
// owner may drop its reference at once.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

namespace cursorial {

class CThreadBasic : public std::enable_shared_from_this<CThreadBasic> {
public:
    virtual ~CThreadBasic() = default;

    // Starts the thread when none runs: loop flag 1, the given pause between steps. False when
    // one already runs or the thread could not be created.
    bool StartWorker(int periodMs);
    // Asks the thread to stop, wakes a step that waits and waits for the done event at most
    // `timeout`. True when the thread has ended.
    bool StopWorker(std::chrono::milliseconds timeout = std::chrono::milliseconds(1000));
    bool IsRunning() const { return running_.load() != 0; }
    // Milliseconds since boot when the thread was started.
    std::uint32_t StartTick() const { return startTick_; }

protected:
    // One unit of work; called again and again while the running flag is set.
    virtual void WorkStep() = 0;
    // Wakes a work step that waits for work; StopWorker calls it after clearing the flag.
    virtual void WakeWorkStep() {}

private:
    struct DoneEvent {
        std::mutex mutex;
        std::condition_variable signalled;
        bool done = false;
        void Signal();
        bool WaitFor(std::chrono::milliseconds timeout);
    };

    static void ThreadProc(std::shared_ptr<CThreadBasic> self, std::shared_ptr<DoneEvent> done);

    std::atomic<int> running_{0};
    int loop_ = 1;
    std::atomic<int> period_{0};
    std::uint32_t startTick_ = 0;
    std::shared_ptr<DoneEvent> done_;
};

}  // namespace cursorial
