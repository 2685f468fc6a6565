// Helpers shared by the store and exchange tests: a scratch data folder and SQL read-back.
#pragma once

#include <sqlite3.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "store/SQLiteDB.h"

namespace cursorial::test {

// A fresh folder with a "db" subfolder, removed again at the end of the test.
class ScratchFolder {
public:
    ScratchFolder() {
        static std::atomic<int> counter{0};
        const char* base = std::getenv("XDG_DATA_HOME");
        std::filesystem::path root = base ? base : std::filesystem::temp_directory_path();
        path_ = root / ("scratch-" + std::to_string(::getpid()) + "-" +
                        std::to_string(counter.fetch_add(1)));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_ / "db");
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

using Rows = std::vector<std::vector<std::string>>;

// Every row of `sql` as texts ("NULL" for SQL NULL).
inline Rows Query(SQLiteDB& db, const std::string& sql) {
    Rows rows;
    db.Exec(
        sql.c_str(),
        [](void* out, int count, char** values, char**) {
            auto& list = *static_cast<Rows*>(out);
            auto& row = list.emplace_back();
            for (int i = 0; i < count; ++i)
                row.emplace_back(values[i] ? values[i] : "NULL");
            return 0;
        },
        &rows);
    return rows;
}

inline std::string QueryOne(SQLiteDB& db, const std::string& sql) {
    const Rows rows = Query(db, sql);
    return rows.empty() || rows[0].empty() ? std::string("<none>") : rows[0][0];
}

}  // namespace cursorial::test
