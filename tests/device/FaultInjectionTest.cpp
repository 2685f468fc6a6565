// The transport under every single-command fault: the simulated mouse fails the n-th command of
// a full settings read and of a macro upload with its button table, for every n. The waits are
// short but the late answer is later than a wait, so it lands in the next command's.
#include <gtest/gtest.h>

#include <map>

#include "../support/FaultInjection.h"
#include "LinkFixture.h"
#include "device/ButtonCommands.h"
#include "device/MacroCommands.h"

namespace cursorial::testing {
namespace {

constexpr std::uint8_t kReads[] = {
    command::kInfo,           command::kReadPrepare,    command::kReadReportRate,
    command::kReadDpiStages,  command::kReadDpiColours, command::kReadLighting,
    command::kReadLiftSensor, command::kReadPower,      command::kReadFirmware,
};

struct Rig {
    std::shared_ptr<sim::Simulator> world;
    std::shared_ptr<DeviceLink> link;
};

Rig MakeRig() {
    sim::SimConfig config = WorldOf({"aero-cable"});
    config.latencyMs = 1;
    Rig rig;
    rig.world = std::make_shared<sim::Simulator>(config);
    rig.link = std::make_shared<DeviceLink>(std::make_unique<sim::SimBackend>(rig.world));
    LinkTiming timing = FastTiming();
    timing.answerReads = 4;
    timing.answerReadMs = 3;
    rig.link->SetTiming(timing);
    AddShippedModels(*rig.link);
    rig.link->EnumerateDevice();
    rig.link->SetOpen(true);
    rig.link->SetCurrentType(kAero);
    return rig;
}

FaultMatrixOptions Options() {
    FaultMatrixOptions options;
    options.lateByMs = 15;  // after the 12 ms wait, while the next commands go out
    options.bound = std::chrono::milliseconds(1500);
    return options;
}

using Answers = std::map<std::uint8_t, Bytes>;

Answers ReadAll(DeviceLink& link, std::vector<StepOutcome>* steps, const Answers* expected) {
    Answers answers;
    for (std::uint8_t c : kReads) {
        Command read = MakeReadCommand(c);
        const bool ok = link.Send(read);
        const Bytes answer(read.report.bytes.begin(), read.report.bytes.begin() + 33);
        if (ok)
            answers[c] = answer;
        if (steps) {
            const bool same = expected && expected->count(c) && expected->at(c) == answer;
            steps->push_back({"read " + std::to_string(c), ok, same});
        }
    }
    return answers;
}

TEST(FaultInjectionTest, SettingsReadNeverTakesAWrongAnswer) {
    Answers expected;
    {
        Rig clean = MakeRig();
        expected = ReadAll(*clean.link, nullptr, nullptr);
        ASSERT_EQ(expected.size(), std::size(kReads));
    }
    const int runs = RunFaultMatrix(
        [&] {
            Rig rig = MakeRig();
            FaultRun run;
            run.world = rig.world;
            run.device = "aero-cable";
            run.sequence = [rig, &expected] {
                std::vector<StepOutcome> steps;
                ReadAll(*rig.link, &steps, &expected);
                return steps;
            };
            return run;
        },
        Options());
    EXPECT_EQ(runs, 4 * static_cast<int>(std::size(kReads)));
}

std::vector<MacroStep> LongMacro() {
    std::vector<MacroStep> steps;
    for (int i = 0; i < 12; ++i) {
        steps.push_back({macro_event::kKeyDown, 0x41 + i});
        steps.push_back({macro_event::kDelay, 10 + i});
        steps.push_back({macro_event::kKeyUp, 0x41 + i});
    }
    return steps;
}

// Packets in order, stopping at the first that fails (the mouse drops a partial macro), then
// the button table that plays it.
std::vector<StepOutcome> UploadMacroAndTable(DeviceLink& link, sim::Simulator& world,
                                             const std::vector<std::uint8_t>& expectedEvents) {
    constexpr int kButton = 3;
    const std::vector<MacroStep> macro = LongMacro();
    MacroCommands packets = BuildMacroCommands(kButton, macro);
    bool uploaded = true;
    for (Command& packet : packets.commands) {
        if (!link.Send(packet)) {
            uploaded = false;
            break;
        }
    }
    std::vector<StepOutcome> steps;
    const auto mouse = world.Mouse("aero");
    const auto stored = mouse->state.macros.find(kButton);
    steps.push_back({"macro upload", uploaded,
                     stored != mouse->state.macros.end() && stored->second == expectedEvents});

    const MacroPlayback playback{7, 1, 1};
    const ButtonAssignment assignment{kButton, function_type::kMacro, 7, 0};
    const ButtonTable table = BuildButtonTable({&assignment, 1}, {&playback, 1});
    Command tableCommand = BuildButtonTableCommand(table);
    const bool sent = link.Send(tableCommand);
    const auto after = world.Mouse("aero");
    steps.push_back({"button table", sent,
                     std::equal(table.begin(), table.begin() + 3 * kButtonEntriesSent,
                                after->state.buttonTable.begin())});
    return steps;
}

TEST(FaultInjectionTest, MacroUploadAndButtonTableNeverReportAFailedStepDone) {
    ASSERT_GT(BuildMacroCommands(3, LongMacro()).commands.size(), 1u);
    std::vector<std::uint8_t> expectedEvents;
    {
        Rig clean = MakeRig();
        UploadMacroAndTable(*clean.link, *clean.world, {});
        expectedEvents = clean.world->Mouse("aero")->state.macros.at(3);
    }
    RunFaultMatrix(
        [&] {
            Rig rig = MakeRig();
            FaultRun run;
            run.world = rig.world;
            run.device = "aero-cable";
            run.sequence = [rig, &expectedEvents] {
                return UploadMacroAndTable(*rig.link, *rig.world, expectedEvents);
            };
            return run;
        },
        Options());
}

}  // namespace
}  // namespace cursorial::testing
