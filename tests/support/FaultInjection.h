// Fault injection over a command sequence: the simulated device fails the n-th command it
// receives, in each of the ways a mouse can fail (no answer, refused, unplugged, a late answer),
// for every n the sequence reaches. Each run starts from a fresh world and checks that the code
// under test neither crashes nor hangs past a bound, and never reports success for a step the
// mouse did not carry out.
//
// A sequence reports its steps as StepOutcome: what the code under test said (reportedOk) and
// what the mouse shows (verifiedOk: the answer or the mouse's state is the expected one). Any
// level can use it: the link's transport, a write-all, a synchronisation.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "sim/Simulator.h"

namespace cursorial::testing {

struct StepOutcome {
    std::string name;
    bool reportedOk = false;  // the code under test said it worked
    bool verifiedOk = false;  // the mouse's answer or state says it did
};

// One run: a fresh world, the device whose commands fail, and the sequence (which owns
// whatever else it needs, such as a link).
struct FaultRun {
    std::shared_ptr<sim::Simulator> world;
    std::string device;
    std::function<std::vector<StepOutcome>()> sequence;
};

inline const char* CommandFaultName(sim::CommandFault fault) {
    switch (fault) {
        case sim::CommandFault::kNoAnswer:
            return "no answer";
        case sim::CommandFault::kRefused:
            return "refused";
        case sim::CommandFault::kUnplugged:
            return "unplugged";
        case sim::CommandFault::kLateAnswer:
            return "late answer";
    }
    return "?";
}

struct FaultMatrixOptions {
    std::chrono::milliseconds bound{2000};  // longest a single run may take
    int lateByMs = 50;                      // lateness of a late answer; longer than any wait
};

// Runs the sequence once without faults (every step must work, and the number of commands it
// writes is counted), then once per fault kind and per n from 1 to that count. Returns the
// number of faulted runs.
inline int RunFaultMatrix(const std::function<FaultRun()>& make,
                          const FaultMatrixOptions& options = {}) {
    int commands = 0;
    {
        FaultRun run = make();
        run.world->ClearReceived(run.device);
        for (const StepOutcome& step : run.sequence()) {
            EXPECT_TRUE(step.reportedOk && step.verifiedOk) << "clean run: " << step.name;
        }
        commands = static_cast<int>(run.world->Received(run.device).size());
    }
    EXPECT_GT(commands, 0);
    int runs = 0;
    for (sim::CommandFault fault :
         {sim::CommandFault::kNoAnswer, sim::CommandFault::kRefused, sim::CommandFault::kUnplugged,
          sim::CommandFault::kLateAnswer}) {
        for (int n = 1; n <= commands; ++n) {
            SCOPED_TRACE(std::string(CommandFaultName(fault)) + " at command " + std::to_string(n));
            FaultRun run = make();
            sim::DeviceFaults faults = run.world->Faults(run.device);
            faults.failAt = n;
            faults.failWith = fault;
            faults.lateByMs = options.lateByMs;
            run.world->SetFaults(run.device, faults);
            const auto start = std::chrono::steady_clock::now();
            const std::vector<StepOutcome> steps = run.sequence();
            const auto took = std::chrono::steady_clock::now() - start;
            EXPECT_LE(took, options.bound);
            bool anyFailed = false;
            for (const StepOutcome& step : steps) {
                anyFailed = anyFailed || !step.reportedOk;
                if (step.reportedOk) {
                    EXPECT_TRUE(step.verifiedOk) << step.name << " reported done but was not";
                }
            }
            // A late answer may still be read in time by a later wait of the same command; every
            // other fault loses that command for good.
            if (fault != sim::CommandFault::kLateAnswer) {
                EXPECT_TRUE(anyFailed) << "the failed command went unnoticed";
            }
            ++runs;
        }
    }
    return runs;
}

}  // namespace cursorial::testing
