// The controller core against the simulated world: a private link and store, the shipped
// catalogue of the build, short waits, and a view that records what the window was told.
#pragma once

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "../device/LinkFixture.h"
#include "../exchange/ExchangeTestSupport.h"
#include "catalogue/DeviceCatalogue.h"
#include "catalogue/SelectedDeviceType.h"
#include "common/text/WideText.h"
#include "controller/core/Controller.h"
#include "controller/core/TaskCode.h"
#include "platform/KeyValueStore.h"
#include "store/ConfigDatabase.h"

namespace cursorial::testing {

// Records the calls a window would act on.
class RecordingView : public HeadlessView {
public:
    int ShowDeviceList(const std::vector<DeviceListRow>& rows, int requestedType) override {
        std::lock_guard lock(mutex);
        listed = rows;
        return HeadlessView::ShowDeviceList(rows, requestedType);
    }
    void ShowWindowState(WindowState s, bool accessProblem) override {
        std::lock_guard lock(mutex);
        states.push_back(s);
        access = accessProblem;
    }
    void RefreshPages(const PageRefresh&) override {
        std::lock_guard lock(mutex);
        ++refreshes;
    }
    void ShowBattery(int, int level, int charge) override {
        std::lock_guard lock(mutex);
        battery = {level, charge};
    }
    void ShowVersions(const VersionDisplay& v) override {
        std::lock_guard lock(mutex);
        versions = v;
    }
    void ShowReceiverFirmware(const std::u16string& text) override {
        std::lock_guard lock(mutex);
        receiverFirmware = text;
    }
    void SetDeviceState(int type, int kind, int state) override {
        std::lock_guard lock(mutex);
        deviceStates.push_back({type, kind, state});
    }
    void ShowMouseConnected(int kind) override {
        std::lock_guard lock(mutex);
        connectedKinds.push_back(kind);
    }
    int ShowMouseDisconnected() override {
        std::lock_guard lock(mutex);
        ++disconnects;
        return 0;
    }
    void ShowDpiChange(std::optional<int> count, std::optional<int> stage) override {
        std::lock_guard lock(mutex);
        dpiChanges.push_back({count.value_or(-1), stage.value_or(-1)});
    }

    std::mutex mutex;
    std::vector<DeviceListRow> listed;
    std::vector<WindowState> states;
    bool access = false;
    int refreshes = 0;
    std::pair<int, int> battery{-1, -1};
    VersionDisplay versions;
    std::u16string receiverFirmware;
    std::vector<std::array<int, 3>> deviceStates;
    std::vector<int> connectedKinds;
    int disconnects = 0;
    std::vector<std::pair<int, int>> dpiChanges;
};

// The build's data, the given folder and objects, the profile word, and no pauses.
inline ControllerContext TestContext(const std::filesystem::path& appDataFolder,
                                     const KeyValueStore& settings, DeviceLink& link,
                                     ConfigDatabase& db) {
    ControllerContext context;
    context.dataFolder = CURSORIAL_OUTPUT_DIR;
    context.appDataFolder = appDataFolder;
    context.settings = &settings;
    context.link = &link;
    context.db = &db;
    context.text = [](int id) { return id == 61 ? std::u16string(u"Profile") : u""; };
    context.timing = {0, 0, 0, 0, 0};
    return context;
}

class ControllerTest : public ::testing::Test {
protected:
    void Build(sim::SimConfig config) {
        world = std::make_shared<sim::Simulator>(std::move(config));
        link = std::make_unique<DeviceLink>(std::make_unique<sim::SimBackend>(world));
        link->SetTiming(FastTiming());
        ASSERT_EQ(settings.OpenOrCreate(), KeyValueStore::KeyStatus::kOpened);
        std::filesystem::create_directories(folder.path() / "db");
        ASSERT_EQ(catalogue.Load(CURSORIAL_OUTPUT_DIR, u"dark"), DataFileStatus::kOk);
        controller = Controller::Create(TestContext(folder.path(), settings, *link, db));
        controller->AttachView(&view);
        controller->SetCatalogue(catalogue.Models(), catalogue.Connections());
        WriteSelectedType(settings, kInitialDeviceType);
    }

    // Command ids the device's command interface received since the last call.
    std::vector<int> Wire(const char* device) {
        std::vector<int> ids;
        for (const auto& r : world->Received(device))
            ids.push_back(r.size() > 1 ? r[1] : -1);
        world->ClearReceived(device);
        return ids;
    }

    std::string Setting(int profile, std::u16string_view key) {
        std::u16string value;
        db.GetConfigValue(profile, key, value);
        return ToUtf8(value);
    }

    test::ScratchFolder folder;
    KeyValueStore settings{folder.path() / "settings"};
    DeviceCatalogue catalogue;
    ConfigDatabase db;
    std::shared_ptr<sim::Simulator> world;
    std::unique_ptr<DeviceLink> link;
    RecordingView view;
    std::shared_ptr<Controller> controller;
};

}  // namespace cursorial::testing
