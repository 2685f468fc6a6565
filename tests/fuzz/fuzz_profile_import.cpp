// Fuzz target: a profile exchange file from outside, imported into a scratch store. An import
// that is refused must leave the store exactly as it was.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "exchange/ProfileExchange.h"
#include "store/ConfigDatabase.h"

namespace {

using namespace cursorial;

struct Scratch {
    Scratch() {
        folder = std::filesystem::temp_directory_path() /
                 ("cursorial-fuzz-profile-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder / "db");
        if (!db.OpenForDevice(folder, u"FUZZ"))
            std::abort();
        ProfileRecord record;
        record.name = u"Profile 1";
        db.AddProfile(record);
        LightSetting light;
        light.profile = 1;
        light.mode = 1;
        db.AddLightSetting(light);
        file = folder / "Input.xml";
    }
    ~Scratch() {
        db.Close();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    std::string Dump() {
        std::string dump;
        db.Exec(
            "SELECT name FROM t_profile_data UNION ALL SELECT value FROM t_configdata UNION ALL "
            "SELECT key_code || macro_desc FROM t_key_macro_data UNION ALL SELECT brightness || "
            "status FROM t_light_data",
            [](void* out, int count, char** values, char**) {
                for (int i = 0; i < count; ++i) {
                    *static_cast<std::string*>(out) += values[i] ? values[i] : "-";
                    *static_cast<std::string*>(out) += '|';
                }
                return 0;
            },
            &dump);
        return dump;
    }

    std::filesystem::path folder;
    std::filesystem::path file;
    ConfigDatabase db;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Scratch scratch;
    {
        std::ofstream out(scratch.file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const bool hasLighting = (size & 1) != 0;  // odd sizes model a mouse with lighting
    const std::string before = scratch.Dump();
    const ExchangeResult result = ImportProfile(scratch.db, 1, scratch.file, hasLighting);
    if (result != ExchangeResult::kOk && scratch.Dump() != before)
        std::abort();
    if (scratch.db.InTransaction())
        std::abort();
    return 0;
}
