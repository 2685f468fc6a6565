// Fuzz target: config.xml and a model description file from outside. The bytes are read as
// files, with encoding detection, by every reader the program runs on them at start-up and on
// device selection. Besides not crashing, a refused catalogue leaves nothing behind.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/AppConfig.h"
#include "catalogue/DeviceCatalogue.h"
#include "catalogue/DeviceDescription.h"

namespace {

using namespace cursorial;

void Require(bool condition) {
    if (!condition)
        std::abort();
}

struct Scratch {
    Scratch() {
        folder = std::filesystem::temp_directory_path() /
                 ("cursorial-fuzz-catalogue-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        config = CatalogueFilePath(folder);
    }
    ~Scratch() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    std::filesystem::path folder;
    std::filesystem::path config;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Scratch scratch;
    {
        std::ofstream out(scratch.config, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }

    AppConfig app;
    if (!ReadAppConfig(scratch.config, app))
        Require(app.languages.empty());

    DeviceCatalogue catalogue;
    if (catalogue.Load(scratch.folder, u"default") != DataFileStatus::kOk)
        Require(catalogue.Models().empty() && catalogue.Connections().empty());
    for (const DeviceEntry& model : catalogue.Models())
        Require(catalogue.FindModel(model.deviceType) != nullptr);

    // The same file as a description of a model.
    DescriptionLoad load;
    ReadDescriptionLoad(scratch.config, load);
    DescriptionState state;
    state.Apply(load);
    DescriptionDefaults defaults;
    ReadDescriptionDefaults(scratch.config, defaults);
    std::u16string rate;
    ReadDefaultReportRate(scratch.config, rate);
    return 0;
}
