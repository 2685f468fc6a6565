// The worker thread: it sleeps on the queue when there is nothing to poll, starts a queued task
// while it reads notifications, runs tasks in order, and stops within its bound, also while the
// window thread keeps queuing and reading the controller's state.
#include "ControllerFixture.h"

#include <atomic>
#include <thread>

namespace cursorial::testing {
namespace {

using namespace std::chrono_literals;

template <typename Pred>
bool WaitUntil(Pred done, std::chrono::milliseconds limit = 3s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

TEST(TaskQueueTest, FirstInFirstOutAndAWaitThatEnds) {
    TaskQueue q;
    EXPECT_FALSE(q.TryPop());
    for (int c : {9, 9, 9, 5})
        q.Push(c);
    EXPECT_EQ(*q.TryPop(), 9);
    EXPECT_EQ(*q.TryPop(), 9);
    EXPECT_EQ(*q.TryPop(), 9);
    EXPECT_EQ(*q.TryPop(), 5);
    EXPECT_FALSE(q.WaitForTaskFor(1ms));
    std::thread waker([&] {
        std::this_thread::sleep_for(5ms);
        q.Push(1);
    });
    EXPECT_TRUE(q.WaitForTask());
    waker.join();
    q.Interrupt();
    EXPECT_FALSE(q.TryPop() && q.WaitForTask());
}

TEST_F(ControllerTest, WorkerRunsQueuedTasksWhileTheWindowThreadQueriesAndQueues) {
    Build(WorldOf({"aero-receiver"}));
    controller->QueueTask(task::kSelectAndReload);
    ASSERT_TRUE(controller->Start());
    ASSERT_TRUE(WaitUntil([&] {
        std::lock_guard lock(view.mutex);
        return view.versions.connectionMode == kKindReceiver;  // the end of sequence A
    }));
    world->ClearReceived("aero-receiver");

    // The window thread queues writes and reads the state the worker writes.
    std::atomic<bool> reading{true};
    std::thread window([&] {
        while (reading) {
            (void)controller->Description();
            (void)controller->Limits();
            (void)link->ConnectionMode();
            std::vector<ConnectedDeviceInfo> listed;
            link->ListDevices(listed);
        }
    });
    for (int i = 0; i < 3; ++i)
        controller->QueueTask(task::kWriteDpiStages);
    controller->QueueTask(task::kWriteReportRate);
    // The worker is inside its notification read between the tasks; each starts anyway.
    EXPECT_TRUE(WaitUntil([&] { return world->Received("aero-receiver").size() >= 4; }));
    reading = false;
    window.join();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(controller->Stop());
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_EQ(Wire("aero-receiver"), (std::vector<int>{0x03, 0x03, 0x03, 0x02}));
}

TEST_F(ControllerTest, WorkerWithoutAMouseTouchesNoDeviceAndStopsAtOnce) {
    Build(WorldOf({}));
    controller->QueueTask(task::kSelectAndReload);
    ASSERT_TRUE(controller->Start());
    ASSERT_TRUE(WaitUntil([&] {
        std::lock_guard lock(view.mutex);
        return !view.states.empty();
    }));
    EXPECT_FALSE(controller->IsPolling());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(controller->Stop());
    EXPECT_LT(std::chrono::steady_clock::now() - start, 200ms)
        << "the idle worker waits on the queue";
}

// A worker still inside a long task is not waited for past the bound, and the controller it
// runs stays alive until it is done.
TEST_F(ControllerTest, StopGivesUpOnALongTaskWithoutFreeingWhatItUses) {
    Build(WorldOf({"aero-cable"}));
    controller->RunTask(task::kSelectAndReload);
    sim::DeviceFaults silent;
    silent.dropAnswers = 1;
    ASSERT_TRUE(world->SetFaults("aero-cable", silent));
    LinkTiming timing = FastTiming();
    timing.answerReads = 100;
    timing.answerReadMs = 30;  // waits 3 s for the answer that never comes
    link->SetTiming(timing);
    world->ClearReceived("aero-cable");
    controller->QueueTask(task::kWriteReportRate);
    ASSERT_TRUE(controller->Start());
    ASSERT_TRUE(WaitUntil([&] { return !world->Received("aero-cable").empty(); }));
    std::weak_ptr<Controller> alive = controller;
    EXPECT_FALSE(controller->Stop());
    controller->DetachView();
    controller.reset();
    EXPECT_FALSE(alive.expired()) << "the worker holds the controller while its task runs";
    EXPECT_TRUE(WaitUntil([&] { return alive.expired(); }, 5s));
}

}  // namespace
}  // namespace cursorial::testing
