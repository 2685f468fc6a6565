#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "catalogue/DeviceCatalogue.h"
#include "common/text/WideText.h"

namespace cursorial {
namespace {

const std::filesystem::path kSkin = "/opt/cursorial/skins/dark/device/";

SoftwareInfo Software(std::u16string version, std::u16string website = {},
                      std::u16string feedback = {}, std::u16string qa = {},
                      std::u16string store = {}, std::u16string upgrade = {},
                      std::u16string copyright = {}) {
    SoftwareInfo info;
    info.version = std::move(version);
    info.website = std::move(website);
    info.feedback = std::move(feedback);
    info.qa = std::move(qa);
    info.store = std::move(store);
    info.upgradeUrl = std::move(upgrade);
    info.copyright = std::move(copyright);
    return info;
}

// Records what a load hands to the window and the device link, in order.
class RecordingSink : public CatalogueSink {
public:
    void OnClear() override { calls.push_back("clear"); }
    void OnModel(const DeviceEntry& model) override {
        calls.push_back("model " + ToUtf8(model.name));
    }
    void OnConnection(const DeviceEntry& connection) override {
        calls.push_back(Format("connection %s %d %04x:%04x %s", ToUtf8(connection.name).c_str(),
                               connection.connectionKind, connection.vendorId, connection.productId,
                               ToUtf8(connection.deviceId).c_str()));
    }
    std::vector<std::string> calls;
};

constexpr char16_t kCatalogue[] =
    uR"(<?xml version="1.0" encoding="UTF-8"?>
<config>
  <language.info default_lan="1033"><lan value="1033"/><lan value="2052"/></language.info>
  <device>
    <mouse name="Aero" device_type="201" device_attr="AERO" image="aero.png">
      <mode value="0" desc="USB" vid="1209" pid="0001" dev_id="AE01" hid_interface="2"/>
      <note text="skipped"/>
      <mode value="1" desc="2.4G" vid="1209" pid="00a2" dev_id="AE02" hid_interface="3"/>
    </mouse>
    <other/>
    <mouse name="Terra" device_type="202" device_attr="TERRA" image="terra.png">
      <mode value="0" desc="USB" vid="1209" pid="0003" dev_id="TR01" hid_interface="2"/>
    </mouse>
  </device>
  <software caption="Cursorial" version="1.2.3">
    <website url="https://w/"/>
    <feedback url="https://f/"/>
    <qa url="https://q/"/>
    <store url="https://s/"/>
    <upgrade url="https://u/"/>
    <copyright info="(c) us &amp; them"/>
  </software>
</config>
)";

TEST(DeviceCatalogue, BuildsModelAndConnectionListsInFileOrder) {
    DeviceCatalogue catalogue;
    RecordingSink sink;
    ASSERT_EQ(catalogue.LoadText(kCatalogue, kSkin, &sink), DataFileStatus::kOk);

    DeviceEntry aero;
    aero.name = u"Aero";
    aero.deviceType = 201;
    aero.modelKey = u"AERO";
    aero.picture = "/opt/cursorial/skins/dark/device/aero.png";
    ASSERT_EQ(catalogue.Models().size(), 2u);
    EXPECT_EQ(catalogue.Models()[0], aero);  // connection fields stay at their defaults
    EXPECT_EQ(catalogue.Models()[1].modelKey, u"TERRA");

    DeviceEntry receiver = aero;
    receiver.connectionKind = kConnectionReceiver;
    receiver.vendorId = 0x1209;
    receiver.productId = 0xA2;
    receiver.deviceId = u"AE02";
    receiver.description = u"2.4G";
    receiver.hidInterface = u"3";
    ASSERT_EQ(catalogue.Connections().size(), 3u);
    EXPECT_EQ(catalogue.Connections()[1], receiver);
    EXPECT_EQ(catalogue.Connections()[0].description, u"USB");
    EXPECT_EQ(catalogue.Connections()[2].deviceType, 202);

    EXPECT_EQ(sink.calls, (std::vector<std::string>{
                              "clear",
                              "model Aero",
                              "connection Aero 0 1209:0001 AE01",
                              "connection Aero 1 1209:00a2 AE02",
                              "model Terra",
                              "connection Terra 0 1209:0003 TR01",
                          }));

    const SoftwareInfo expected{u"Cursorial",  u"1.2.3",      u"https://w/", u"https://f/",
                                u"https://q/", u"https://s/", u"https://u/", u"(c) us & them"};
    EXPECT_EQ(catalogue.Software(), expected);
}

// Each element is searched for after the one found last at its level; one not found leaves
// the position where it was.
TEST(DeviceCatalogue, SiblingOrderDecidesWhatIsFound) {
    struct Case {
        const char* what;
        std::u16string body;  // children of config
        size_t models;
        SoftwareInfo software;
    };
    const std::u16string device =
        u"<device><mouse name='A' device_type='1'><mode pid='1'/></mouse></device>";
    const Case cases[] = {
        {"software before device is not found", u"<software version='1'/>" + device, 1, {}},
        {"language list after device does not hide software",
         device + u"<language.info/><software version='9'/>", 1, Software(u"9")},
        {"no device: software still found", u"<software version='2'/>", 0, Software(u"2")},
        {"children out of order: qa before website is skipped",
         device + u"<software><qa url='q'/><website url='w'/><feedback url='f'/>"
                  u"<store url='s'/></software>",
         1, Software(u"", u"w", u"f", u"", u"s")},
        {"a missing upgrade leaves its address empty, copyright still found",
         device + u"<software><store url='s'/><copyright info='c'/></software>", 1,
         Software(u"", u"", u"", u"", u"s", u"", u"c")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeviceCatalogue catalogue;
        ASSERT_EQ(catalogue.LoadText(u"<config>" + c.body + u"</config>", kSkin),
                  DataFileStatus::kOk);
        EXPECT_EQ(catalogue.Models().size(), c.models);
        EXPECT_EQ(catalogue.Software(), c.software);
    }
}

TEST(DeviceCatalogue, ReadsNumbersAsFarAsTheyGoAndModesOverwriteEachOther) {
    DeviceCatalogue catalogue;
    ASSERT_EQ(catalogue.LoadText(uR"(<config><device>
        <mouse name="X" device_type=" 77abc" image="">
          <mode value="1x" vid=" 12G9" pid="zz" dev_id="D1" desc="first"/>
          <mode vid="FFFF" pid="&#9;&#13; a2"/>
        </mouse>
        <mouse/>
      </device></config>)",
                                 kSkin),
              DataFileStatus::kOk);
    ASSERT_EQ(catalogue.Models().size(), 2u);
    EXPECT_EQ(catalogue.Models()[0].deviceType, 77);
    EXPECT_EQ(catalogue.Models()[0].picture, kSkin);  // empty image: the folder itself
    DeviceEntry bare;                                 // all attributes missing
    bare.picture = kSkin;
    EXPECT_EQ(catalogue.Models()[1], bare);

    ASSERT_EQ(catalogue.Connections().size(), 2u);
    const DeviceEntry& first = catalogue.Connections()[0];
    EXPECT_EQ(first.connectionKind, 1);
    EXPECT_EQ(first.vendorId, 0x12);
    EXPECT_EQ(first.productId, 0);
    // The second mode sets every connection field again: what it lacks becomes empty or 0.
    const DeviceEntry& second = catalogue.Connections()[1];
    EXPECT_EQ(second.connectionKind, 0);
    EXPECT_EQ(second.vendorId, 0xFFFF);
    EXPECT_EQ(second.productId, 0xA2);  // leading blanks skipped, as in decimal numbers
    EXPECT_EQ(second.deviceId, u"");
    EXPECT_EQ(second.description, u"");
    EXPECT_EQ(second.name, u"X");
}

TEST(DeviceCatalogue, FindModelReturnsTheFirstOfAType) {
    DeviceCatalogue catalogue;
    ASSERT_EQ(catalogue.LoadText(uR"(<config><device>
        <mouse name="first" device_type="5"/><mouse name="second" device_type="5"/>
      </device></config>)",
                                 kSkin),
              DataFileStatus::kOk);
    ASSERT_NE(catalogue.FindModel(5), nullptr);
    EXPECT_EQ(catalogue.FindModel(5)->name, u"first");
    EXPECT_EQ(catalogue.FindModel(kInitialDeviceType), nullptr);
}

TEST(DeviceCatalogue, UnusableFilesLeaveEverythingEmpty) {
    const std::filesystem::path folder =
        std::filesystem::path(CURSORIAL_BINARY_DIR) / "tests/tmp/catalogue/unusable";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);

    DeviceCatalogue catalogue;
    RecordingSink sink;
    ASSERT_EQ(catalogue.LoadText(kCatalogue, kSkin), DataFileStatus::kOk);
    EXPECT_EQ(catalogue.Load(folder, u"dark", &sink), DataFileStatus::kMissing);
    EXPECT_TRUE(catalogue.Models().empty());
    EXPECT_TRUE(catalogue.Connections().empty());
    EXPECT_EQ(catalogue.Software(), SoftwareInfo{});
    EXPECT_EQ(sink.calls, std::vector<std::string>{"clear"});

    const struct {
        const char* text;
        DataFileStatus status;
    } cases[] = {
        {"<config><device><mouse name='A'></device></config>", DataFileStatus::kMalformed},
        {"<config/><config/>", DataFileStatus::kMalformed},
        {"<catalogue><device><mouse name='A'/></device></catalogue>", DataFileStatus::kWrongRoot},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::ofstream(folder / "config.xml", std::ios::binary | std::ios::trunc) << c.text;
        ASSERT_EQ(catalogue.LoadText(kCatalogue, kSkin), DataFileStatus::kOk);
        EXPECT_EQ(catalogue.Load(folder, u"dark"), c.status);
        EXPECT_TRUE(catalogue.Models().empty());
        EXPECT_TRUE(catalogue.Connections().empty());
    }

    std::ofstream(folder / "config.xml", std::ios::binary | std::ios::trunc)
        << "<config><device><mouse name='A' image='a.png'/></device></config>";
    ASSERT_EQ(catalogue.Load(folder, u"light"), DataFileStatus::kOk);
    ASSERT_EQ(catalogue.Models().size(), 1u);
    EXPECT_EQ(catalogue.Models()[0].picture, folder / "skins/light/device/a.png");
}

TEST(DeviceCatalogue, FilePathsJoinTheExecutableFolder) {
    for (const char* exe : {"/opt/cursorial", "/opt/cursorial/"}) {
        SCOPED_TRACE(exe);
        EXPECT_EQ(SkinDeviceFolder(exe, u"dark").native(), "/opt/cursorial/skins/dark/device/");
        EXPECT_EQ(DescriptionFilePath(exe, u"AERO").native(), "/opt/cursorial/device/AERO.xml");
        EXPECT_EQ(CatalogueFilePath(exe).native(), "/opt/cursorial/config.xml");
    }
}

}  // namespace
}  // namespace cursorial
