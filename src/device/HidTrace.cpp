#include "device/HidTrace.h"

#include <utility>

namespace cursorial {

std::string FormatTraceLine(double milliseconds, char direction, const std::string& path,
                            const std::uint8_t* data, std::size_t length) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%.3f", milliseconds);
    std::string line;
    line.reserve(path.size() + 40 + 3 * length);
    line += stamp;
    line += ' ';
    line += direction;
    line += ' ';
    line += path;
    for (std::size_t i = 0; i < length; ++i) {
        line += ' ';
        line += kHex[data[i] >> 4];
        line += kHex[data[i] & 0x0F];
    }
    return line;
}

std::shared_ptr<HidTrace> HidTrace::Open(const std::filesystem::path& file) {
    std::FILE* f = std::fopen(file.c_str(), "a");
    if (!f)
        return nullptr;
    std::setvbuf(f, nullptr, _IOLBF, 0);
    return std::shared_ptr<HidTrace>(new HidTrace(f));
}

HidTrace::HidTrace(std::FILE* file) : file_(file), start_(std::chrono::steady_clock::now()) {}

HidTrace::~HidTrace() {
    std::fclose(file_);
}

void HidTrace::Record(char direction, const std::string& path, const std::uint8_t* data,
                      std::size_t length) {
    const auto elapsed = std::chrono::steady_clock::now() - start_;
    const double ms = std::chrono::duration<double, std::milli>(elapsed).count();
    std::string line = FormatTraceLine(ms, direction, path, data, length);
    line += '\n';
    std::lock_guard lock(mutex_);
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fflush(file_);
}

namespace {

class TracedHandle final : public HidHandle {
public:
    TracedHandle(std::unique_ptr<HidHandle> inner, std::shared_ptr<HidTrace> trace)
        : inner_(std::move(inner)), trace_(std::move(trace)) {}

    int Write(const std::uint8_t* data, std::size_t length) override {
        const int n = inner_->Write(data, length);
        trace_->Record(n > 0 ? 'W' : 'F', inner_->Path(), data, length);
        return n;
    }
    int Read(std::uint8_t* data, std::size_t length, int timeoutMs) override {
        const int n = inner_->Read(data, length, timeoutMs);
        if (n > 0)
            trace_->Record('R', inner_->Path(), data, static_cast<std::size_t>(n));
        return n;
    }
    const std::string& Path() const override { return inner_->Path(); }

private:
    std::unique_ptr<HidHandle> inner_;
    std::shared_ptr<HidTrace> trace_;
};

class TracedBackend final : public HidBackend {
public:
    TracedBackend(std::unique_ptr<HidBackend> inner, std::shared_ptr<HidTrace> trace)
        : inner_(std::move(inner)), trace_(std::move(trace)) {}

    std::vector<HidInterfaceInfo> Enumerate() override { return inner_->Enumerate(); }
    std::unique_ptr<HidHandle> Open(const std::string& path, HidOpenError* error) override {
        auto handle = inner_->Open(path, error);
        if (!handle)
            return nullptr;
        return std::make_unique<TracedHandle>(std::move(handle), trace_);
    }
    std::unique_ptr<HotplugSource> CreateHotplugSource() override {
        return inner_->CreateHotplugSource();
    }
    const char* Name() const override { return inner_->Name(); }

private:
    std::unique_ptr<HidBackend> inner_;
    std::shared_ptr<HidTrace> trace_;
};

}  // namespace

std::unique_ptr<HidBackend> WrapWithTrace(std::unique_ptr<HidBackend> inner,
                                          std::shared_ptr<HidTrace> trace) {
    if (!trace)
        return inner;
    return std::make_unique<TracedBackend>(std::move(inner), std::move(trace));
}

}  // namespace cursorial
