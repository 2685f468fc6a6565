// The catalogue and description files we ship are tested like code: they parse, they pass an
// independent XML checker, and everything they refer to exists.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <tuple>

#include "catalogue/DescriptionRules.h"
#include "catalogue/DeviceCatalogue.h"
#include "catalogue/DeviceDescription.h"
#include "common/text/WideText.h"
#include "common/xml/XmlDocument.h"

namespace cursorial {
namespace {

const std::filesystem::path kData = std::filesystem::path(CURSORIAL_SOURCE_DIR) / "data";

// Size of the button-page pictures the callouts are drawn on (docs/adding-a-model.md).
constexpr int kPictureSize = 520;

std::vector<std::filesystem::path> ShippedXmlFiles() {
    std::vector<std::filesystem::path> files{kData / "config.xml"};
    for (const auto& entry : std::filesystem::directory_iterator(kData / "device")) {
        if (entry.path().extension() == ".xml")
            files.push_back(entry.path());
    }
    return files;
}

// The text ids of a language file: the keys of its [LAN] section, as written (the reader looks an
// id up by its plain decimal text). The file is UTF-8 (a mark is allowed) or UTF-16LE with its
// mark.
std::set<std::string> LanguageIds(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    std::u16string text;
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
            text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                 static_cast<unsigned char>(bytes[i + 1]) << 8));
        }
    } else {
        text = FromUtf8(bytes.rfind("\xEF\xBB\xBF", 0) == 0 ? bytes.substr(3) : bytes);
    }
    std::set<std::string> ids;
    bool inLan = false;
    std::istringstream lines(ToUtf8(text));
    for (std::string line; std::getline(lines, line);) {
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos)
            continue;
        line.erase(0, first);
        if (line[0] == '[') {
            inLan = EqualsIgnoreAsciiCase(std::string_view(line).substr(0, 5), "[LAN]");
        } else if (inLan && line[0] != ';' && line.find('=') != line.npos) {
            std::string key = line.substr(0, line.find('='));
            key.erase(key.find_last_not_of(" \t") + 1);
            ids.insert(key);
        }
    }
    return ids;
}

TEST(ShippedData, EveryXmlFileParses) {
    const bool haveXmllint = std::system("xmllint --version >/dev/null 2>&1") == 0;
    for (const auto& file : ShippedXmlFiles()) {
        SCOPED_TRACE(file.string());
        XmlDocument doc;
        EXPECT_TRUE(doc.LoadFile(file)) << ToUtf8(doc.GetResult());
        if (haveXmllint) {
            const std::string command = "xmllint --noout '" + file.string() + "'";
            EXPECT_EQ(std::system(command.c_str()), 0) << command;
        }
    }
    if (!haveXmllint)
        GTEST_SKIP() << "xmllint not installed (scripts/deps.sh adds libxml2-utils)";
}

TEST(ShippedData, CatalogueIsConsistent) {
    DeviceCatalogue catalogue;
    ASSERT_EQ(catalogue.Load(kData, u"dark"), DataFileStatus::kOk);
    ASSERT_FALSE(catalogue.Models().empty());

    std::set<int> types;
    std::set<std::u16string> keys;
    for (const DeviceEntry& model : catalogue.Models()) {
        SCOPED_TRACE(ToUtf8(model.name));
        EXPECT_FALSE(model.name.empty());
        EXPECT_NE(model.deviceType, kInitialDeviceType);
        EXPECT_TRUE(types.insert(model.deviceType).second) << "device type used twice";
        EXPECT_TRUE(keys.insert(model.modelKey).second) << "model key used twice";
        EXPECT_TRUE(std::filesystem::is_regular_file(DescriptionFilePath(kData, model.modelKey)));
    }

    std::set<std::tuple<int, int, std::u16string, int>> rows;
    for (const DeviceEntry& c : catalogue.Connections()) {
        SCOPED_TRACE(ToUtf8(c.name + u" " + c.description));
        EXPECT_TRUE(rows.insert({c.vendorId, c.productId, c.deviceId, c.connectionKind}).second)
            << "duplicate connection";
        EXPECT_TRUE(c.connectionKind == kConnectionCable ||
                    c.connectionKind == kConnectionReceiver);
        EXPECT_NE(c.vendorId, 0);
        EXPECT_NE(c.productId, 0);
        EXPECT_FALSE(c.deviceId.empty());
    }

    const SoftwareInfo& software = catalogue.Software();
    EXPECT_EQ(software.caption, u"Cursorial");
    EXPECT_FALSE(software.version.empty());
    for (const std::u16string* url : {&software.website, &software.feedback, &software.qa,
                                      &software.store, &software.upgradeUrl}) {
        EXPECT_EQ(url->rfind(u"https://", 0), 0u) << ToUtf8(*url);
    }
    // The update check appends "version" directly to this address.
    EXPECT_EQ(software.upgradeUrl.back(), u'/');
}

TEST(ShippedData, DescriptionsAreCompleteAndTheirTextsExist) {
    DeviceCatalogue catalogue;
    ASSERT_EQ(catalogue.Load(kData, u"dark"), DataFileStatus::kOk);

    XmlDocument config;
    ASSERT_TRUE(config.LoadFile(CatalogueFilePath(kData)));
    std::vector<std::pair<int, std::set<std::string>>> languages;
    config.FindElement(u"config");
    config.EnterElement();
    ASSERT_TRUE(config.FindElement(u"language.info"));
    config.EnterElement();
    while (config.FindElement(u"lan")) {
        const int id = TextToInt(config.GetAttribute(u"value"));
        const auto file = kData / "language" / Format("%d.lan", id);
        EXPECT_TRUE(std::filesystem::is_regular_file(file)) << file;
        languages.emplace_back(id, LanguageIds(file));
    }
    ASSERT_GE(languages.size(), 2u);

    for (const DeviceEntry& model : catalogue.Models()) {
        SCOPED_TRACE(ToUtf8(model.modelKey));
        const auto path = DescriptionFilePath(kData, model.modelKey);

        // Every element the window takes is there, so no model inherits another's state.
        DescriptionLoad load;
        ASSERT_EQ(ReadDescriptionLoad(path, load), DataFileStatus::kOk);
        EXPECT_TRUE(load.mouseImage && !load.mouseImage->empty());
        EXPECT_TRUE(load.lighting);
        EXPECT_TRUE(load.show);
        EXPECT_TRUE(load.firmwareUrl && !load.firmwareUrl->empty());
        for (const auto& effect : load.lightEffects)
            EXPECT_TRUE(effect);
        ASSERT_TRUE(load.keys);
        ASSERT_FALSE(load.keys->empty());

        std::set<int> codes;
        for (const DescriptionKey& key : *load.keys) {
            SCOPED_TRACE(key.keyValue);
            EXPECT_TRUE(codes.insert(key.keyValue).second) << "key code used twice";
            EXPECT_GE(key.keyValue, 0);
            EXPECT_LT(key.keyValue, 21);  // the mouse's button table has 21 entries
            for (int v : {key.x1, key.x2, key.y}) {
                EXPECT_GE(v, 0);
                EXPECT_LE(v, kPictureSize);
            }
            for (const auto& [language, ids] : languages) {
                EXPECT_TRUE(ids.count(std::to_string(key.nameId)))
                    << "name " << key.nameId << " in " << language;
                EXPECT_TRUE(ids.count(std::to_string(key.funcDescId)))
                    << "func_desc " << key.funcDescId << " in " << language;
            }
        }
        EXPECT_EQ(codes.count(0), 1u) << "key code 0 (the locked left button) is listed";

        DescriptionDefaults defaults;
        ASSERT_EQ(ReadDescriptionDefaults(path, defaults), DataFileStatus::kOk);
        ASSERT_TRUE(defaults.dpi);
        const int count = TextToInt(defaults.dpi->dpiCount);
        EXPECT_GE(count, 1);
        EXPECT_LE(count, kDescriptionDpiStages);
        EXPECT_GE(TextToInt(defaults.dpi->defaultDpi), 0);
        EXPECT_LT(TextToInt(defaults.dpi->defaultDpi), count);
        for (const auto& stage : defaults.dpi->stages) {
            ASSERT_TRUE(stage);
            const int dpi = TextToInt(stage->value);
            EXPECT_GE(dpi, 100);
            EXPECT_LE(dpi, 24000);  // within both shipped sensors' ranges
            EXPECT_EQ(dpi % 50, 0);
            EXPECT_NE(stage->color, 0);
        }
        const DefaultSettingPlan plan = PlanDefaultSettings(defaults, false);
        EXPECT_EQ(plan.writes.size(), 3u + 2u * kDescriptionDpiStages + 6u);
        EXPECT_EQ(plan.highestReportRate, 1);  // 1000 Hz

        std::u16string rate;
        EXPECT_EQ(ReadDefaultReportRate(path, rate), DataFileStatus::kOk);
        EXPECT_EQ(rate, *defaults.reportRate);
    }
}

}  // namespace
}  // namespace cursorial
