#include <gtest/gtest.h>

#include "catalogue/DeviceCatalogue.h"
#include "catalogue/SelectedDeviceType.h"
#include "platform/KeyValueStore.h"

namespace cursorial {
namespace {

TEST(SelectedDeviceType, ReadsAndWritesTheStoredNumber) {
    const std::filesystem::path folder =
        std::filesystem::path(CURSORIAL_BINARY_DIR) / "tests/tmp/catalogue/selected/Cursorial";
    std::filesystem::remove_all(folder);
    const KeyValueStore store(folder);

    // No store yet: reading gives 0 and creates nothing; writing is dropped silently.
    EXPECT_EQ(ReadSelectedType(store), 0);
    WriteSelectedType(store, 201);
    EXPECT_FALSE(std::filesystem::exists(folder));

    ASSERT_EQ(store.OpenOrCreate(), KeyValueStore::KeyStatus::kOpened);
    EXPECT_EQ(ReadSelectedType(store), 0);
    WriteSelectedType(store, kInitialDeviceType);
    EXPECT_EQ(store.ReadText("DeviceType"), "101");
    WriteSelectedType(store, 202);
    EXPECT_EQ(ReadSelectedType(store), 202);

    ASSERT_TRUE(store.WriteText("DeviceType", "201 and more"));
    EXPECT_EQ(ReadSelectedType(store), 201);
    ASSERT_TRUE(store.WriteText("DeviceType", "none"));
    EXPECT_EQ(ReadSelectedType(store), 0);
}

}  // namespace
}  // namespace cursorial
