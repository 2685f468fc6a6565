#include "catalogue/DeviceCatalogue.h"

#include "common/text/WideText.h"
#include "common/xml/XmlDocument.h"

namespace cursorial {

namespace {

// A text joined to a path's text as it stands, with no separator added.
std::filesystem::path JoinText(const std::filesystem::path& folder, std::u16string_view tail) {
    return std::filesystem::path(folder.native() + ToUtf8(tail));
}

std::filesystem::path WithTrailingSeparator(const std::filesystem::path& folder) {
    if (folder.empty() || folder.native().back() == '/')
        return folder;
    return std::filesystem::path(folder.native() + '/');
}

// The text of `attribute` of `element`, searched after the last element found at this level;
// empty when the element is not there (the search position then stays where it was).
std::u16string FindAttribute(XmlDocument& doc, std::u16string_view element,
                             std::u16string_view attribute) {
    if (!doc.FindElement(element))
        return {};
    return doc.GetAttribute(attribute);
}

// A USB id: hexadecimal digits without prefix after the same leading white space that the
// decimal numbers of the file may have (" 1A2B" is 0x1A2B, as " 1" is 1).
int HexId(std::u16string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    return HexTextToInt(text.substr(i));
}

}  // namespace

std::filesystem::path CatalogueFilePath(const std::filesystem::path& exeFolder) {
    return exeFolder / "config.xml";
}

std::filesystem::path SkinDeviceFolder(const std::filesystem::path& exeFolder,
                                       std::u16string_view theme) {
    return JoinText(WithTrailingSeparator(exeFolder),
                    u"skins/" + std::u16string(theme) + u"/device/");
}

std::filesystem::path DescriptionFilePath(const std::filesystem::path& exeFolder,
                                          std::u16string_view modelKey) {
    return JoinText(WithTrailingSeparator(exeFolder),
                    u"device/" + std::u16string(modelKey) + u".xml");
}

DataFileStatus DeviceCatalogue::Load(const std::filesystem::path& exeFolder,
                                     std::u16string_view theme, CatalogueSink* sink) {
    Reset(sink);
    XmlDocument doc;
    const DataFileStatus status = OpenDataFile(doc, CatalogueFilePath(exeFolder), u"config");
    if (status == DataFileStatus::kOk)
        Read(doc, SkinDeviceFolder(exeFolder, theme), sink);
    return status;
}

DataFileStatus DeviceCatalogue::LoadText(std::u16string_view text,
                                         const std::filesystem::path& skinDeviceFolder,
                                         CatalogueSink* sink) {
    Reset(sink);
    XmlDocument doc;
    const DataFileStatus status = OpenDataText(doc, text, u"config");
    if (status == DataFileStatus::kOk)
        Read(doc, skinDeviceFolder, sink);
    return status;
}

const DeviceEntry* DeviceCatalogue::FindModel(int deviceType) const {
    for (const DeviceEntry& model : models_) {
        if (model.deviceType == deviceType)
            return &model;
    }
    return nullptr;
}

void DeviceCatalogue::Reset(CatalogueSink* sink) {
    models_.clear();
    connections_.clear();
    software_ = {};
    if (sink)
        sink->OnClear();
}

// `doc` stands inside `config`, before its first child.
void DeviceCatalogue::Read(XmlDocument& doc, const std::filesystem::path& skinDeviceFolder,
                           CatalogueSink* sink) {
    if (doc.FindElement(u"device")) {
        doc.EnterElement();
        while (doc.FindElement(u"mouse")) {
            DeviceEntry entry;
            entry.name = doc.GetAttribute(u"name");
            entry.deviceType = TextToInt(doc.GetAttribute(u"device_type"));
            entry.modelKey = doc.GetAttribute(u"device_attr");
            entry.picture = JoinText(skinDeviceFolder, doc.GetAttribute(u"image"));
            models_.push_back(entry);
            if (sink)
                sink->OnModel(entry);

            // Each mode overwrites what the previous mode of the same mouse set.
            doc.EnterElement();
            while (doc.FindElement(u"mode")) {
                entry.connectionKind = TextToInt(doc.GetAttribute(u"value"));
                entry.description = doc.GetAttribute(u"desc");
                entry.vendorId = HexId(doc.GetAttribute(u"vid"));
                entry.productId = HexId(doc.GetAttribute(u"pid"));
                entry.deviceId = doc.GetAttribute(u"dev_id");
                entry.hidInterface = doc.GetAttribute(u"hid_interface");
                connections_.push_back(entry);
                if (sink)
                    sink->OnConnection(entry);
            }
            doc.LeaveElement();
        }
        doc.LeaveElement();
    }

    if (doc.FindElement(u"software")) {
        software_.caption = doc.GetAttribute(u"caption");
        software_.version = doc.GetAttribute(u"version");
        doc.EnterElement();
        software_.website = FindAttribute(doc, u"website", u"url");
        software_.feedback = FindAttribute(doc, u"feedback", u"url");
        software_.qa = FindAttribute(doc, u"qa", u"url");
        software_.store = FindAttribute(doc, u"store", u"url");
        software_.upgradeUrl = FindAttribute(doc, u"upgrade", u"url");
        software_.copyright = FindAttribute(doc, u"copyright", u"info");
        doc.LeaveElement();
    }
}

}  // namespace cursorial
