#include "controller/core/TaskQueue.h"

namespace cursorial {

void TaskQueue::Push(int code) {
    {
        std::lock_guard lock(mutex_);
        codes_.push_back(code);
    }
    changed_.notify_all();
}

std::optional<int> TaskQueue::TryPop() {
    std::lock_guard lock(mutex_);
    if (codes_.empty())
        return std::nullopt;
    const int code = codes_.front();
    codes_.pop_front();
    return code;
}

bool TaskQueue::Empty() const {
    std::lock_guard lock(mutex_);
    return codes_.empty();
}

bool TaskQueue::WaitForTask() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return interrupted_ || !codes_.empty(); });
    return !codes_.empty();
}

bool TaskQueue::WaitForTaskFor(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, timeout, [&] { return interrupted_ || !codes_.empty(); });
    return !codes_.empty();
}

void TaskQueue::Interrupt() {
    {
        std::lock_guard lock(mutex_);
        interrupted_ = true;
    }
    changed_.notify_all();
}

}  // namespace cursorial
