// The controller core against the simulated mouse: device selection and the three reload
// sequences on the wire, the first-run synchronisation, unasked reports, the write tasks and
// the refresh after a failed write.
#include "ControllerFixture.h"

#include "device/ButtonCommands.h"
#include "store/SettingKeys.h"

#include <thread>

namespace cursorial::testing {
namespace {

using V = std::vector<int>;
// The information command, then 0x11 to 0x17 in order.
const V kFullRead{0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17};

struct StartCase {
    const char* name;
    std::vector<const char*> devices;
    const char* wire;  // the device that carries the commands
    WindowState state;
    int selected;
    V commands;  // after the enumeration's identification
    const char* databaseModel;
};

class StartTest : public ControllerTest, public ::testing::WithParamInterface<StartCase> {};

// Task 1 at start: what is selected, what the window shows, what goes to the mouse.
TEST_P(StartTest, SelectsAndSynchronises) {
    const StartCase& c = GetParam();
    sim::SimConfig config = ShippedWorld();
    std::erase_if(config.devices, [&](const sim::DeviceConfig& d) {
        return std::find_if(c.devices.begin(), c.devices.end(),
                            [&](const char* n) { return d.name == n; }) == c.devices.end();
    });
    Build(config);
    controller->RunTask(task::kSelectAndReload);
    ASSERT_FALSE(view.states.empty());
    EXPECT_EQ(view.states.back(), c.state);
    EXPECT_EQ(controller->IsPolling(), c.state != WindowState::kNoDevice);
    EXPECT_EQ(controller->IsDevicePresent(), ShowsDevice(c.state));
    if (c.wire) {
        V wire = Wire(c.wire);
        // The selection's and the refresh's enumerations identify the mouse first.
        ASSERT_GE(wire.size(), 2u);
        EXPECT_EQ(V(wire.begin(), wire.begin() + 2), (V{0x10, 0x10}));
        wire.erase(wire.begin(), wire.begin() + 2);
        EXPECT_EQ(wire, c.commands);
        EXPECT_EQ(ReadSelectedType(settings), c.selected);
        EXPECT_EQ(controller->SelectedType(), c.selected);
    }
    if (c.databaseModel) {
        EXPECT_NE(db.Path().find(c.databaseModel), std::string::npos) << db.Path();
    }
}

V Concat(V a, const V& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

INSTANTIATE_TEST_SUITE_P(
    Worlds, StartTest,
    ::testing::Values(StartCase{"NoMouse", {}, nullptr, WindowState::kNoDevice, 0, {}, nullptr},
                      // Over the receiver the firmware version is asked with 0x20.
                      StartCase{"Receiver",
                                {"aero-receiver"},
                                "aero-receiver",
                                WindowState::kReceiver,
                                201,
                                Concat(kFullRead, {0x20}),
                                "AERO"},
                      // The cable is preferred and the version comes from its release number.
                      StartCase{"CableAndReceiver",
                                {"aero-cable", "aero-receiver"},
                                "aero-cable",
                                WindowState::kCable,
                                201,
                                kFullRead,
                                "AERO"},
                      // Stored type 101 is not shown: the list's own choice is the second model.
                      StartCase{"SecondModelOnly",
                                {"terra-cable"},
                                "terra-cable",
                                WindowState::kCable,
                                202,
                                kFullRead,
                                "TERRA"}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(ControllerTest, FirstRunReadsTheMouseIntoTheProfileAndLaterOnlyItsInformation) {
    Build(WorldOf({"aero-receiver"}));
    controller->RunTask(task::kSelectAndReload);
    const int p = controller->CurrentProfile();
    EXPECT_EQ(p, 1);
    // The simulated mouse's factory state, decoded for sensor 150.
    EXPECT_EQ(Setting(p, setting_key::kDpiCount), "4");
    EXPECT_EQ(Setting(p, setting_key::kDpiIndex), "1");
    EXPECT_EQ(Setting(p, setting_key::kReportRate), "1");
    EXPECT_EQ(Setting(p, setting_key::kSleepLight), "10");
    EXPECT_EQ(Setting(p, setting_key::kButtonRespondTime), "4");
    EXPECT_EQ(controller->Limits().lowest, 100);
    EXPECT_EQ(controller->Limits().highest, 38000);
    EXPECT_EQ(controller->RateClass(), 7);
    EXPECT_EQ(view.battery, (std::pair<int, int>{80, 0}));
    EXPECT_EQ(view.receiverFirmware, u"105");
    EXPECT_EQ(controller->FirmwareVersionText(), u"105");
    EXPECT_TRUE(controller->IsSynchronised(201));

    // Found again (arrival): the settings are not read a second time in this run.
    Wire("aero-receiver");
    controller->RunTask(task::kDeviceArrived);
    V wire = Wire("aero-receiver");
    EXPECT_EQ(wire, (V{0x10, 0x10, 0x10}))
        << "two identifications, then the information command only";
    // A removal refreshes and asks again, without a profile reload.
    controller->RunTask(task::kDeviceRemoved);
    EXPECT_EQ(Wire("aero-receiver"), (V{0x10, 0x10}));
    // The device-list click on a receiver queues sequence C: information only.
    EXPECT_EQ(controller->DeviceListClick(201), Controller::ClickResult::kReceiver);
    controller->RunTask(task::kResynchronise);
    EXPECT_EQ(Wire("aero-receiver"), V{0x10});
    // A factory reset confirmed on the settings page makes the next one read everything again.
    controller->ForgetSynchronised();
    controller->RunTask(task::kResynchronise);
    EXPECT_EQ(Wire("aero-receiver"), Concat(kFullRead, {0x20}));
}

TEST_F(ControllerTest, MouseSwitchedOffBehindItsReceiverAndOnAgain) {
    Build(WorldOf({"aero-receiver"}));
    controller->RunTask(task::kSelectAndReload);
    Wire("aero-receiver");

    ASSERT_TRUE(world->SetSwitchedOn("aero", false));  // C0 00 00 00
    controller->NotificationStep();
    EXPECT_FALSE(controller->IsDevicePresent());
    EXPECT_EQ(view.disconnects, 1);
    EXPECT_EQ(view.battery, (std::pair<int, int>{80, 0})) << "no battery news in the report";

    ASSERT_TRUE(world->SetSwitchedOn("aero", true));  // C0 01 battery charge
    ASSERT_TRUE(world->SetBattery("aero", 0x5A, 1));
    for (int i = 0; i < 5 && view.connectedKinds.empty(); ++i)
        controller->NotificationStep();
    EXPECT_TRUE(controller->IsDevicePresent());
    ASSERT_FALSE(view.connectedKinds.empty());
    EXPECT_EQ(view.connectedKinds.back(), kKindReceiver);
    for (int i = 0; i < 5 && view.battery.first != 0x5A; ++i)
        controller->NotificationStep();
    EXPECT_EQ(view.battery, (std::pair<int, int>{0x5A, 1}));
    // The reconnect reload asked the mouse for its information.
    const V wire = Wire("aero-receiver");
    EXPECT_NE(std::find(wire.begin(), wire.end(), 0x10), wire.end());
}

TEST_F(ControllerTest, DpiButtonOnTheMouseIsStoredAndShownOnce) {
    Build(WorldOf({"terra-cable"}));
    controller->RunTask(task::kSelectAndReload);
    Wire("terra-cable");
    ASSERT_TRUE(world->PressDpiButton("terra"));  // factory stage 1 of 4 -> stage 2 of 4
    controller->NotificationStep();
    const int p = controller->CurrentProfile();
    EXPECT_EQ(Setting(p, setting_key::kDpiIndex), "2");
    EXPECT_EQ(Setting(p, setting_key::kDpiCount), "4");
    EXPECT_EQ(view.dpiChanges, (std::vector<std::pair<int, int>>{{4, -1}, {-1, 2}}));
    EXPECT_TRUE(Wire("terra-cable").empty()) << "the mouse changed itself: nothing is sent";

    // A report of what the page already shows changes nothing.
    view.dpiChanges.clear();
    controller->SetLastStages(4, 3);
    ASSERT_TRUE(world->PressDpiButton("terra"));  // stage 3 of 4
    controller->NotificationStep();
    EXPECT_TRUE(view.dpiChanges.empty());
}

TEST_F(ControllerTest, WriteTasksReachTheWireInOrder) {
    Build(WorldOf({"aero-cable"}));
    controller->RunTask(task::kSelectAndReload);
    Wire("aero-cable");
    for (int code : {task::kWriteDpiStages, task::kWriteDpiStages, task::kWriteDpiStages, 7, 99,
                     task::kWriteReportRate, task::kWriteLiftSensor, task::kWritePower,
                     task::kWriteDpiColours})
        controller->RunTask(code);
    EXPECT_EQ(Wire("aero-cable"), (V{0x03, 0x03, 0x03, 0x02, 0x06, 0x07, 0x04}));

    // A profile switch writes the whole profile.
    controller->SwitchProfile(2);
    EXPECT_EQ(controller->CurrentProfile(), 2);
    int active = 0;
    ASSERT_EQ(db.GetActiveProfile(active), StoreStatus::kOk);
    EXPECT_EQ(active, 2);
    controller->RunTask(task::kWriteProfile);
    EXPECT_EQ(Wire("aero-cable"), (V{0x09, 0x05, 0x03, 0x04, 0x02, 0x06, 0x07}));
    // What the mouse now holds is profile 2's report rate.
    EXPECT_EQ(world->Mouse("aero")->state.reportRate,
              std::stoi(Setting(2, setting_key::kReportRate)));
}

TEST_F(ControllerTest, FailureInTheMiddleOfWriteAllGoesOnAndRefreshesTheWindow) {
    Build(WorldOf({"aero-receiver"}));
    controller->RunTask(task::kSelectAndReload);
    Wire("aero-receiver");
    view.deviceStates.clear();
    sim::DeviceFaults faults;
    faults.failAt = 3;  // 0x03, after 0x09 and 0x05
    faults.failWith = sim::CommandFault::kRefused;
    ASSERT_TRUE(world->SetFaults("aero-receiver", faults));
    controller->RunTask(task::kWriteProfile);
    EXPECT_EQ(Wire("aero-receiver"), (V{0x09, 0x05, 0x03, 0x04, 0x02, 0x06, 0x07}));
    // Over the receiver the refresh marks the model online in the list.
    EXPECT_EQ(view.deviceStates, (std::vector<std::array<int, 3>>{{201, kKindReceiver, 1}}));
}

TEST_F(ControllerTest, FactoryResetOfMouseAndStore) {
    Build(WorldOf({"aero-cable"}));
    controller->RunTask(task::kSelectAndReload);
    KeyAssignment key;
    key.profile = 2;
    key.keyCode = 3;
    key.type = function_type::kDisabled;
    key.value = 1;
    ASSERT_NE(db.SaveKeyAssignment(key), 0);
    controller->SwitchProfile(2);
    Wire("aero-cable");
    controller->RunTask(task::kFactoryReset);
    // 0x0F, the lighting factory reset and its read-back (the mouse went to mode 4 itself).
    EXPECT_EQ(Wire("aero-cable"), (V{0x0F, 0x0E, 0x15}));
    EXPECT_EQ(controller->CurrentProfile(), 1);
    EXPECT_EQ(controller->LightMode(), 4);
    EXPECT_EQ(db.GetActiveLightMode(1), 4);
    std::vector<KeyAssignment> keys;
    for (int p = 1; p <= 5; ++p) {
        db.ListKeyAssignments(p, keys);
        EXPECT_TRUE(keys.empty()) << p;
    }
}

TEST_F(ControllerTest, HotplugQueuesArrivalAndRemovalOnlyWhileItMatters) {
    Build(WorldOf({"aero-cable"}));
    HotplugEvent add{HotplugEvent::Kind::kAdd, "n", 0x1209, 0x0001, 2, 0xFF01, 0x0010};
    HotplugEvent remove = add;
    remove.kind = HotplugEvent::Kind::kRemove;
    controller->OnHotplug(remove);  // not polling: nothing
    controller->OnHotplug(add);
    controller->RunTask(task::kSelectAndReload);  // now polling
    controller->OnHotplug(remove);
    // The queue holds 2 then 3: the worker runs them, the arrival with its selection's and its
    // refresh's identification and the information command, the removal with two more.
    Wire("aero-cable");
    ASSERT_TRUE(controller->Start());
    for (int i = 0; i < 400 && world->Received("aero-cable").size() < 5; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_TRUE(controller->Stop());
    EXPECT_EQ(Wire("aero-cable"), (V{0x10, 0x10, 0x10, 0x10, 0x10}));
}

}  // namespace
}  // namespace cursorial::testing
