#include "device/HotplugMonitor.h"

#include <libudev.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "device/HidDescriptor.h"

namespace cursorial {

namespace {

struct UdevDeleter {
    void operator()(udev* u) const { udev_unref(u); }
    void operator()(udev_monitor* m) const { udev_monitor_unref(m); }
    void operator()(udev_device* d) const { udev_device_unref(d); }
    void operator()(udev_enumerate* e) const { udev_enumerate_unref(e); }
};
template <typename T>
using UdevPtr = std::unique_ptr<T, UdevDeleter>;

std::vector<std::uint8_t> ReadBinaryFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                     std::istreambuf_iterator<char>());
}

// What the parents of a hidraw node say about it; false when it is not a HID device with ids.
bool Describe(udev_device* node, HotplugEvent& event) {
    udev_device* hid = udev_device_get_parent_with_subsystem_devtype(node, "hid", nullptr);
    if (!hid)
        return false;
    const char* hidId = udev_device_get_property_value(hid, "HID_ID");
    auto ids = hidId ? ParseHidId(hidId) : std::nullopt;
    if (!ids)
        return false;
    event.vendorId = ids->vendorId;
    event.productId = ids->productId;
    if (const char* syspath = udev_device_get_syspath(hid)) {
        const auto descriptor = ReadBinaryFile(std::string(syspath) + "/report_descriptor");
        if (auto usage = TopLevelUsage(descriptor.data(), descriptor.size())) {
            event.usagePage = usage->usagePage;
            event.usage = usage->usage;
        }
    }
    udev_device* intf = udev_device_get_parent_with_subsystem_devtype(node, "usb", "usb_interface");
    if (intf) {
        if (const char* number = udev_device_get_sysattr_value(intf, "bInterfaceNumber"))
            event.interfaceNumber = ParseInterfaceNumber(number);
    }
    return true;
}

class UdevHotplugMonitor final : public HotplugSource {
public:
    bool Start() {
        udev_.reset(udev_new());
        if (!udev_)
            return false;
        monitor_.reset(udev_monitor_new_from_netlink(udev_.get(), "udev"));
        if (!monitor_)
            return false;
        if (udev_monitor_filter_add_match_subsystem_devtype(monitor_.get(), "hidraw", nullptr) <
                0 ||
            udev_monitor_enable_receiving(monitor_.get()) < 0)
            return false;
        RememberPresentNodes();
        return true;
    }

    int Fd() const override { return monitor_ ? udev_monitor_get_fd(monitor_.get()) : -1; }

    std::vector<HotplugEvent> ReadPendingEvents() override {
        std::vector<HotplugEvent> events;
        if (!monitor_)
            return events;
        // The monitor's socket is non-blocking: this ends when nothing more is queued.
        while (UdevPtr<udev_device> device{udev_monitor_receive_device(monitor_.get())}) {
            const char* action = udev_device_get_action(device.get());
            const char* node = udev_device_get_devnode(device.get());
            if (!action || !node)
                continue;
            const std::string action_text = action;
            if (action_text == "add") {
                HotplugEvent event;
                event.kind = HotplugEvent::Kind::kAdd;
                event.node = node;
                if (!Describe(device.get(), event))
                    continue;
                known_[event.node] = event;
                events.push_back(event);
            } else if (action_text == "remove") {
                auto it = known_.find(node);
                if (it == known_.end())
                    continue;  // never described: nothing to decide on
                HotplugEvent event = it->second;
                event.kind = HotplugEvent::Kind::kRemove;
                known_.erase(it);
                events.push_back(event);
            }
        }
        return events;
    }

private:
    void RememberPresentNodes() {
        UdevPtr<udev_enumerate> scan{udev_enumerate_new(udev_.get())};
        if (!scan)
            return;
        udev_enumerate_add_match_subsystem(scan.get(), "hidraw");
        if (udev_enumerate_scan_devices(scan.get()) < 0)
            return;
        udev_list_entry* entry = nullptr;
        udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(scan.get())) {
            UdevPtr<udev_device> device{
                udev_device_new_from_syspath(udev_.get(), udev_list_entry_get_name(entry))};
            const char* node = device ? udev_device_get_devnode(device.get()) : nullptr;
            if (!node)
                continue;
            HotplugEvent event;
            event.node = node;
            if (Describe(device.get(), event))
                known_[event.node] = event;
        }
    }

    UdevPtr<udev> udev_;
    UdevPtr<udev_monitor> monitor_;
    std::map<std::string, HotplugEvent> known_;
};

}  // namespace

std::unique_ptr<HotplugSource> CreateUdevHotplugMonitor() {
    auto monitor = std::make_unique<UdevHotplugMonitor>();
    if (!monitor->Start())
        return nullptr;
    return monitor;
}

}  // namespace cursorial
