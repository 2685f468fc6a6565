// The task queue: the only hand-over from the window thread to the worker. First in, first out,
// unbounded; the same code may be queued several times and every occurrence runs. Each append
// and removal holds the lock only for the list operation, and a worker waiting for work sleeps
// on a condition instead of polling.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

namespace cursorial {

class TaskQueue {
public:
    void Push(int code);
    std::optional<int> TryPop();
    bool Empty() const;
    // Waits until a code is queued or Interrupt is called. True when a code is waiting.
    bool WaitForTask();
    // Waits at most `timeout`; returns early as WaitForTask does.
    bool WaitForTaskFor(std::chrono::milliseconds timeout);
    // Releases every wait now and makes later waits return at once (the worker is stopping).
    void Interrupt();

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<int> codes_;
    bool interrupted_ = false;
};

}  // namespace cursorial
