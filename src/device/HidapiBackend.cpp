#include "device/HidapiBackend.h"

#include <dlfcn.h>
#include <hidapi.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <utility>

#include "device/HotplugMonitor.h"

namespace cursorial {

HidOpenError ClassifyOpenFailure(const char* node) {
    if (::access(node, R_OK | W_OK) == 0)
        return HidOpenError::kOther;
    switch (errno) {
        case EACCES:
        case EPERM:
        case EROFS:
            return HidOpenError::kPermission;
        case ENOENT:
        case ENODEV:
        case ENXIO:
            return HidOpenError::kGone;
        default:
            return HidOpenError::kOther;
    }
}

namespace {

// The resolved entry points. Handles keep the library alive through a shared_ptr, so closing a
// handle after the backend is gone is still safe.
struct HidapiLibrary {
    void* module = nullptr;
    decltype(&hid_init) init = nullptr;
    decltype(&hid_exit) exit = nullptr;
    decltype(&hid_enumerate) enumerate = nullptr;
    decltype(&hid_free_enumeration) freeEnumeration = nullptr;
    decltype(&hid_open_path) openPath = nullptr;
    decltype(&hid_write) write = nullptr;
    decltype(&hid_read_timeout) readTimeout = nullptr;
    decltype(&hid_close) close = nullptr;

    HidapiLibrary() = default;
    HidapiLibrary(const HidapiLibrary&) = delete;
    HidapiLibrary& operator=(const HidapiLibrary&) = delete;
    ~HidapiLibrary() {
        if (exit)
            exit();
        if (module)
            ::dlclose(module);
    }

    template <typename F>
    bool Resolve(F& target, const char* name) {
        target = reinterpret_cast<F>(::dlsym(module, name));
        return target != nullptr;
    }

    // Null when the library or one of its functions is missing, or hid_init fails.
    static std::shared_ptr<HidapiLibrary> Load() {
        auto lib = std::make_shared<HidapiLibrary>();
        lib->module = ::dlopen(kHidapiLibrary, RTLD_NOW | RTLD_LOCAL);
        if (!lib->module)
            return nullptr;
        const bool complete =
            lib->Resolve(lib->init, "hid_init") && lib->Resolve(lib->exit, "hid_exit") &&
            lib->Resolve(lib->enumerate, "hid_enumerate") &&
            lib->Resolve(lib->freeEnumeration, "hid_free_enumeration") &&
            lib->Resolve(lib->openPath, "hid_open_path") && lib->Resolve(lib->write, "hid_write") &&
            lib->Resolve(lib->readTimeout, "hid_read_timeout") &&
            lib->Resolve(lib->close, "hid_close");
        if (!complete || lib->init() != 0) {
            lib->exit = nullptr;  // never initialised: nothing to undo
            return nullptr;
        }
        return lib;
    }
};

class HidapiHandle final : public HidHandle {
public:
    HidapiHandle(std::shared_ptr<HidapiLibrary> lib, hid_device* device, std::string path)
        : lib_(std::move(lib)), device_(device), path_(std::move(path)) {}
    ~HidapiHandle() override { lib_->close(device_); }
    HidapiHandle(const HidapiHandle&) = delete;
    HidapiHandle& operator=(const HidapiHandle&) = delete;

    int Write(const std::uint8_t* data, std::size_t length) override {
        return lib_->write(device_, data, length);
    }
    int Read(std::uint8_t* data, std::size_t length, int timeoutMs) override {
        return lib_->readTimeout(device_, data, length, timeoutMs);
    }
    const std::string& Path() const override { return path_; }

private:
    std::shared_ptr<HidapiLibrary> lib_;
    hid_device* device_;
    std::string path_;
};

class HidapiBackend final : public HidBackend {
public:
    HidapiBackend() { Reach(); }

    std::vector<HidInterfaceInfo> Enumerate() override {
        std::vector<HidInterfaceInfo> result;
        auto lib = Reach();
        if (!lib)
            return result;
        hid_device_info* list = lib->enumerate(0, 0);
        for (const hid_device_info* d = list; d; d = d->next) {
            HidInterfaceInfo info;
            info.path = d->path ? d->path : "";
            info.vendorId = d->vendor_id;
            info.productId = d->product_id;
            info.release = d->release_number;
            info.usagePage = d->usage_page;
            info.usage = d->usage;
            info.interfaceNumber = d->interface_number;
            result.push_back(std::move(info));
        }
        lib->freeEnumeration(list);
        return result;
    }

    std::unique_ptr<HidHandle> Open(const std::string& path, HidOpenError* error) override {
        auto lib = Reach();
        if (!lib) {
            if (error)
                *error = HidOpenError::kOther;
            return nullptr;
        }
        hid_device* device = lib->openPath(path.c_str());
        if (!device) {
            if (error)
                *error = ClassifyOpenFailure(path.c_str());
            return nullptr;
        }
        if (error)
            *error = HidOpenError::kNone;
        return std::make_unique<HidapiHandle>(lib, device, path);
    }

    std::unique_ptr<HotplugSource> CreateHotplugSource() override {
        return CreateUdevHotplugMonitor();
    }

    const char* Name() const override { return "hidapi"; }

private:
    // The library, loading it when an earlier attempt failed.
    std::shared_ptr<HidapiLibrary> Reach() {
        std::lock_guard lock(mutex_);
        if (!lib_)
            lib_ = HidapiLibrary::Load();
        return lib_;
    }

    std::mutex mutex_;
    std::shared_ptr<HidapiLibrary> lib_;
};

}  // namespace

std::unique_ptr<HidBackend> CreateHidapiBackend() {
    const char* forbid = std::getenv("CURSORIAL_HID_FORBID_REAL");
    if (forbid && std::strcmp(forbid, "1") == 0) {
        std::fprintf(stderr,
                     "cursorial: the real HID backend was reached while "
                     "CURSORIAL_HID_FORBID_REAL=1; tests must use the simulator "
                     "(CURSORIAL_HID=sim or an injected backend)\n");
        std::fflush(stderr);
        std::abort();
    }
    return std::make_unique<HidapiBackend>();
}

}  // namespace cursorial
