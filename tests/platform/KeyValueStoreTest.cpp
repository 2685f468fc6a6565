#include "platform/KeyValueStore.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "TestFolders.h"

namespace cursorial {
namespace {

using testing::ReadFile;
using testing::ScratchFolder;
using testing::WriteFile;

TEST(KeyValueStoreTest, ReadsTheNumberAtTheStartOfTheFirst255Bytes) {
    ScratchFolder scratch;
    const KeyValueStore store(scratch / "key");
    const struct {
        std::string stored;
        int expected;
    } cases[] = {
        {"", 0},
        {"abc", 0},
        {"1033", 1033},
        {"  42", 42},
        {"-5", -5},
        {"12abc", 12},
        {"99999999999", 2147483647},
        {std::string(254, ' ') + "7", 7},  // the 255th byte is the digit
        {std::string(255, ' ') + "7", 0},  // the digit is the 256th byte
        {"2052" + std::string(400, '9'), 2147483647},
    };
    std::string content;
    for (size_t i = 0; i < std::size(cases); ++i) {
        content += "v" + std::to_string(i) + "=" + cases[i].stored + "\n";
    }
    WriteFile(store.ValuesFile(), content);
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(store.ReadNumber("v" + std::to_string(i), false), cases[i].expected)
            << "stored '" << cases[i].stored.substr(0, 20) << "'";
    }
    EXPECT_EQ(store.ReadNumber("absent", false), 0);
}

TEST(KeyValueStoreTest, ReadersCreateTheEmptyKeyOnlyWhenAsked) {
    ScratchFolder scratch;
    const KeyValueStore store(scratch / "config" / "Cursorial");
    EXPECT_EQ(store.Open(), KeyValueStore::KeyStatus::kMissing);
    EXPECT_EQ(store.ReadNumber("DeviceType", false), 0);
    EXPECT_FALSE(std::filesystem::exists(store.Folder()));

    EXPECT_EQ(store.ReadNumber("exit_mode", true), 0);
    EXPECT_TRUE(std::filesystem::is_directory(store.Folder()));
    EXPECT_FALSE(std::filesystem::exists(store.ValuesFile()));  // an empty key has no values
}

TEST(KeyValueStoreTest, WritesOnlyIntoAnExistingKey) {
    ScratchFolder scratch;
    const KeyValueStore store(scratch / "Cursorial");
    EXPECT_FALSE(store.WriteNumber("LCID", 1031));
    EXPECT_FALSE(std::filesystem::exists(store.Folder()));

    std::filesystem::create_directory(store.Folder());
    EXPECT_TRUE(store.WriteNumber("LCID", 1031));
    EXPECT_TRUE(store.WriteNumber("DeviceType", 201));
    EXPECT_TRUE(
        store.WriteNumber("lcid", 1033));  // names ignore ASCII case; the first spelling stays
    EXPECT_EQ(store.ReadNumber("LCID", false), 1033);
    EXPECT_EQ(ReadFile(store.ValuesFile()),
              "; Program settings. One value per line: name=text\n"
              "LCID=1033\n"
              "DeviceType=201\n");
    // Replaced by rename: nothing but the values and the lock file is left in the folder.
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(store.Folder())) {
        names.push_back(entry.path().filename());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"settings.ini", "settings.lock"}));

    EXPECT_TRUE(store.DeleteValue("devicetype"));
    EXPECT_FALSE(store.DeleteValue("DeviceType"));
    EXPECT_EQ(store.ReadText("DeviceType"), std::nullopt);
}

TEST(KeyValueStoreTest, RefusesWhatALineCannotHold) {
    ScratchFolder scratch;
    const KeyValueStore store(scratch.Path());
    for (const char* name : {"", "a=b", "two\nlines", " padded", ";comment", "#comment", "[x]"}) {
        EXPECT_FALSE(store.WriteText(name, "1")) << name;
    }
    EXPECT_FALSE(store.WriteText("name", "two\nlines"));
    EXPECT_FALSE(store.WriteText("name", std::string_view("nul\0", 4)));
    EXPECT_TRUE(store.WriteText("name", "text with = and ; inside"));
    EXPECT_EQ(store.ReadText("NAME"), "text with = and ; inside");
}

TEST(KeyValueStoreTest, ReadsHandEditedFiles) {
    ScratchFolder scratch;
    const KeyValueStore store(scratch.Path());
    WriteFile(store.ValuesFile(),
              "; comment\r\n# another\r\n\r\n  exit_mode = 1\r\nno equals sign\r\n"
              "LCID=1049\r\nlcid=1033\r\n=5\r\n");
    EXPECT_EQ(store.ReadNumber("exit_mode", false), 1);
    EXPECT_EQ(store.ReadNumber("LCID", false), 1049);  // the first of duplicates
    EXPECT_TRUE(store.WriteNumber("autorun_minimize", 1));
    EXPECT_EQ(ReadFile(store.ValuesFile()),
              "; Program settings. One value per line: name=text\n"
              "exit_mode= 1\n"
              "LCID=1049\n"
              "lcid=1033\n"
              "autorun_minimize=1\n");
}

// A key that cannot be opened: a regular file where the folder should be, or below it.
TEST(KeyValueStoreTest, UnreachableKeyReadsAsZeroAndTheLanguageAs2052) {
    ScratchFolder scratch;
    WriteFile(scratch / "file", "x");
    const KeyValueStore key_is_file(scratch / "file");
    const KeyValueStore parent_is_file(scratch / "file" / "Cursorial");
    const KeyValueStore creatable(scratch / "new" / "Cursorial");

    for (const KeyValueStore* store : {&key_is_file, &parent_is_file}) {
        EXPECT_EQ(store->Open(), KeyValueStore::KeyStatus::kUnreachable);
        EXPECT_EQ(store->ReadNumber("exit_mode", true), 0);
        EXPECT_EQ(store->ReadLanguageNumber("LCID"), 2052);
        EXPECT_FALSE(store->WriteNumber("LCID", 1033));
    }
    EXPECT_EQ(ReadFile(scratch / "file"), "x");

    EXPECT_EQ(creatable.ReadLanguageNumber("LCID"), 0);  // missing, created on the way
    EXPECT_EQ(creatable.Open(), KeyValueStore::KeyStatus::kOpened);
    EXPECT_TRUE(creatable.WriteNumber("LCID", 1066));
    EXPECT_EQ(creatable.ReadLanguageNumber("LCID"), 1066);
}

// Two processes that keep rewriting their own value: without the lock around reread and
// rename, one would regularly write back the other's older file and lose its value.
TEST(KeyValueStoreTest, ConcurrentWritersKeepEachOthersValues) {
    ScratchFolder scratch;
    const KeyValueStore store(scratch.Path());
    constexpr int kRounds = 60;
    std::vector<pid_t> children;
    for (const char* name : {"first", "second", "third"}) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            bool ok = true;
            for (int i = 1; i <= kRounds; ++i)
                ok = store.WriteNumber(name, i) && ok;
            ::_exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (const char* name : {"first", "second", "third"}) {
        EXPECT_EQ(store.ReadNumber(name, false), kRounds) << name;
    }
}

}  // namespace
}  // namespace cursorial

namespace cursorial {
namespace {

// A rewrite starts from what it read; when the existing file cannot be read whole, writing would
// drop the values it did not see, so nothing is written.
TEST(KeyValueStoreTest, WriteLeavesAnUnreadableFileAlone) {
    testing::ScratchFolder scratch;
    const KeyValueStore store(scratch / "key");
    store.ReadNumber("exit_mode", true);  // creates the key
    ASSERT_TRUE(store.WriteNumber("LCID", 2052));

    const std::string big = "LCID=2052\nDeviceType=201\n" + std::string(2 << 20, ';');
    testing::WriteFile(store.ValuesFile(), big);
    EXPECT_FALSE(store.WriteNumber("exit_mode", 1));
    EXPECT_EQ(testing::ReadFile(store.ValuesFile()), big);

    std::filesystem::remove(store.ValuesFile());
    std::filesystem::create_directory(store.ValuesFile());  // read fails with EISDIR
    EXPECT_FALSE(store.WriteNumber("exit_mode", 1));
    EXPECT_TRUE(std::filesystem::is_directory(store.ValuesFile()));
}

}  // namespace
}  // namespace cursorial
