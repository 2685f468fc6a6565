// Write-all through the controller with the mouse failing its n-th command in every way, for
// every n: no hang past the bound, every command still tried, and nothing reported done that
// the mouse does not hold; a macro the mouse did not take whole is not played by its button.
#include "../support/FaultInjection.h"
#include "ControllerFixture.h"
#include "device/ButtonCommands.h"

namespace cursorial::testing {
namespace {

// A controller on a fresh world (the Aero on its cable), its first run synchronised, and a
// profile whose button 3 plays a four-packet macro.
struct WriteAllRig {
    WriteAllRig() {
        world = std::make_shared<sim::Simulator>(WorldOf({"aero-cable"}));
        link = std::make_unique<DeviceLink>(std::make_unique<sim::SimBackend>(world));
        link->SetTiming(FastTiming());
        settings.OpenOrCreate();
        catalogue.Load(CURSORIAL_OUTPUT_DIR, u"dark");
        controller = Controller::Create(TestContext(folder.path(), settings, *link, db));
        controller->AttachView(&view);
        controller->SetCatalogue(catalogue.Models(), catalogue.Connections());
        WriteSelectedType(settings, kInitialDeviceType);
        controller->RunTask(task::kSelectAndReload);
        const int profile = controller->CurrentProfile();
        const int macro = db.AddMacro(u"Long");
        std::vector<MacroEvent> events;
        for (int i = 0; i < 24; ++i)
            events.push_back({0, macro, kMacroEventKeyDown, i, 0x41 + i % 20, 1, u""});
        db.AddMacroEvents(events);
        KeyAssignment key;
        key.profile = profile;
        key.keyCode = 3;
        key.type = function_type::kMacro;
        key.value = macro;
        db.SaveKeyAssignment(key);
        db.SetConfigValue(profile, u"report_rate", u"2");
        db.SetConfigValue(profile, u"liftoff_height", u"2");
        controller->SetSendObserver([this](const Command& c, SendStatus status) {
            sent.push_back({c.report[kCommandByte], status == SendStatus::kOk});
        });
    }

    test::ScratchFolder folder;
    KeyValueStore settings{folder.path() / "settings"};
    DeviceCatalogue catalogue;
    ConfigDatabase db;
    std::shared_ptr<sim::Simulator> world;
    std::unique_ptr<DeviceLink> link;
    HeadlessView view;
    std::shared_ptr<Controller> controller;
    std::vector<std::pair<int, bool>> sent;  // command id, went through
};

// The part of the mouse's state each command writes.
bool Holds(int command, const sim::MouseState& mouse, const sim::MouseState& expected) {
    switch (command) {
        case 0x02:
            return mouse.reportRate == expected.reportRate;
        case 0x03:
            return mouse.dpiStages == expected.dpiStages && mouse.dpiCodes == expected.dpiCodes;
        case 0x04:
            return mouse.dpiColours == expected.dpiColours;
        case 0x05:
            return mouse.lightMode == expected.lightMode &&
                   mouse.lightLevels == expected.lightLevels;
        case 0x06:
            return mouse.liftoff == expected.liftoff &&
                   mouse.sensorOption1 == expected.sensorOption1 &&
                   mouse.sensorOption2 == expected.sensorOption2;
        case 0x07:
            return mouse.power == expected.power;
        case 0x08:
            return mouse.macros == expected.macros;
        default:
            return true;
    }
}

TEST(WriteAllFaults, EveryCommandFailingInEveryWay) {
    sim::MouseState expected;
    {
        WriteAllRig clean;
        clean.controller->RunTask(task::kWriteProfile);
        expected = clean.world->Mouse("aero")->state;
        ASSERT_EQ(expected.macros.count(3), 1u);
    }
    FaultMatrixOptions options;
    options.bound = std::chrono::milliseconds(1500);
    RunFaultMatrix(
        [&] {
            auto rig = std::make_shared<WriteAllRig>();
            FaultRun run;
            run.world = rig->world;
            run.device = "aero-cable";
            run.sequence = [rig, &expected] {
                rig->sent.clear();
                rig->controller->RunTask(task::kWriteProfile);
                const sim::MouseState mouse = rig->world->Mouse("aero")->state;
                std::vector<StepOutcome> steps;
                bool macroWhole = true;
                for (const auto& [id, ok] : rig->sent) {
                    if (id == 0x08) {
                        macroWhole = macroWhole && ok;
                        continue;
                    }
                    steps.push_back({Format("command 0x%02X", id), ok, Holds(id, mouse, expected)});
                }
                steps.push_back({"macro", macroWhole, Holds(0x08, mouse, expected)});
                // The table names the macro only when the mouse took it whole.
                const bool tableOk = std::any_of(rig->sent.begin(), rig->sent.end(), [](auto& s) {
                    return s.first == 0x09 && s.second;
                });
                if (tableOk) {
                    const bool playsMacro = mouse.buttonTable[3 * 3] == 0x90;
                    steps.push_back({"button 3", true, playsMacro == macroWhole});
                }
                // Every command of the write is tried, whatever failed before it (an unplugged
                // mouse takes no more).
                std::vector<int> ids;
                for (const auto& s : rig->sent)
                    if (s.first != 0x08)
                        ids.push_back(s.first);
                steps.push_back(
                    {"all tried", true,
                     ids == std::vector<int>{0x09, 0x05, 0x03, 0x04, 0x02, 0x06, 0x07}});
                return steps;
            };
            return run;
        },
        options);
}

}  // namespace
}  // namespace cursorial::testing
