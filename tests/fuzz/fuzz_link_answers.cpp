// Fuzz target: what the mouse sends while the link waits for an answer. The input is a script of
// reads (each a length byte, then that many bytes; a length of 0 is a read that times out, 0xFF
// a failed read; the link drains what waits before each request, up to the first timeout); the
// link asks for the device information over a handle that plays it. Unasked
// reports and stray answers may come in any order: an accepted answer must be one of the
// information command with status 0, and what the link keeps for the notification step stays
// within its bound.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "device/CommandReport.h"
#include "device/DeviceLink.h"
#include "device/HidBackend.h"

namespace {

using namespace cursorial;

void Require(bool condition) {
    if (!condition)
        std::abort();
}

class ScriptHandle : public HidHandle {
public:
    ScriptHandle(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    int Write(const std::uint8_t*, std::size_t length) override { return static_cast<int>(length); }
    int Read(std::uint8_t* out, std::size_t length, int) override {
        if (pos_ >= size_)
            return 0;
        const std::uint8_t n = data_[pos_++];
        if (n == 0xFF)
            return -1;
        const std::size_t take = std::min<std::size_t>({n, size_ - pos_, length});
        std::copy_n(data_ + pos_, take, out);
        pos_ += take;
        return static_cast<int>(take);
    }
    const std::string& Path() const override { return path_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
    std::string path_ = "/dev/fuzz";
};

class NoBackend : public HidBackend {
public:
    std::vector<HidInterfaceInfo> Enumerate() override { return {}; }
    std::unique_ptr<HidHandle> Open(const std::string&, HidOpenError* error) override {
        if (error)
            *error = HidOpenError::kGone;
        return nullptr;
    }
    std::unique_ptr<HotplugSource> CreateHotplugSource() override { return nullptr; }
    const char* Name() const override { return "fuzz"; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DeviceLink link(std::make_unique<NoBackend>());
    LinkTiming timing;
    timing.answerReads = 8;
    timing.answerReadMs = 1;
    timing.identifyRetryMs = 0;
    timing.notifyCommandMs = 0;
    timing.notifyReceiverMs = 0;
    timing.notifySliceMs = 0;
    link.SetTiming(timing);

    ScriptHandle handle(data, size);
    for (int round = 0; round < 3; ++round) {
        CommandReport information;  // the link fills in the request
        const SendStatus status = link.QueryStatus(information, &handle);
        if (status == SendStatus::kOk)
            Require(information.bytes[kAnswerCommandByte] == command::kInfo &&
                    information.bytes[kAnswerStatusByte] == 0);
        Require(link.PendingNotifications() <= DeviceLink::kUnaskedKept);
    }
    return 0;
}
