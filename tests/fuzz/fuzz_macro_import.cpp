// Fuzz target: a macro or macro-set exchange file from outside, imported into a scratch store.
// A refused import must add nothing; an accepted one is cleared again for the next input.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "exchange/MacroExchange.h"
#include "store/ConfigDatabase.h"

namespace {

using namespace cursorial;

struct Scratch {
    Scratch() {
        folder = std::filesystem::temp_directory_path() /
                 ("cursorial-fuzz-macro-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder / "db");
        if (!db.OpenForDevice(folder, u"FUZZ"))
            std::abort();
        file = folder / "input.xml";
    }
    ~Scratch() {
        db.Close();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    int Rows() {
        std::vector<Macro> macros;
        return db.ListMacros(macros);
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
    const bool set = (size & 1) != 0;  // odd sizes read the macro-set layout
    std::vector<Macro> added;
    const ExchangeResult result = set ? ImportMacroSet(scratch.db, scratch.file, &added)
                                      : ImportMacro(scratch.db, scratch.file, &added);
    if (result != ExchangeResult::kOk && (scratch.Rows() != 0 || !added.empty()))
        std::abort();
    if (result == ExchangeResult::kOk && scratch.Rows() != static_cast<int>(added.size())) {
        std::abort();
    }
    scratch.db.Exec("DELETE FROM t_macro_data; DELETE FROM t_macrorecord;");
    return 0;
}
