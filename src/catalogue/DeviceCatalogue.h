// DeviceCatalogue: the supported models as config.xml names them.
//
// Reading follows the file's sibling order: each element is searched for after the element
// found last at the same level, and one that is not found leaves the position where it was.
// So `software` is looked for after `device`, and its children only in the order website,
// feedback, qa, store, upgrade, copyright. Numbers are read as far as they go (decimal;
// vid and pid hexadecimal); a missing attribute is the empty text and a missing number 0.
#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

#include "catalogue/CatalogueSink.h"
#include "catalogue/DataFile.h"
#include "catalogue/DeviceEntry.h"

namespace cursorial {

// Device type given to the initial selection and to a device known by vendor and product only.
inline constexpr int kInitialDeviceType = 101;

// <exe folder>/config.xml
std::filesystem::path CatalogueFilePath(const std::filesystem::path& exeFolder);
// <exe folder>/skins/<theme>/device/ (with the trailing separator; pictures are appended to it
// as text, so an image name is used exactly as the catalogue gives it).
std::filesystem::path SkinDeviceFolder(const std::filesystem::path& exeFolder,
                                       std::u16string_view theme);
// <exe folder>/device/<model key>.xml, the model key used verbatim.
std::filesystem::path DescriptionFilePath(const std::filesystem::path& exeFolder,
                                          std::u16string_view modelKey);

class DeviceCatalogue {
public:
    // Rebuilds both lists and the software information from <exeFolder>/config.xml, with the
    // pictures below the skin device folder of `theme`. The sink (optional) hears OnClear
    // first, then every model and connection in file order. Any status but kOk leaves both
    // lists and the software information empty.
    DataFileStatus Load(const std::filesystem::path& exeFolder, std::u16string_view theme,
                        CatalogueSink* sink = nullptr);
    // The same from a catalogue given as text, pictures below `skinDeviceFolder`.
    DataFileStatus LoadText(std::u16string_view text, const std::filesystem::path& skinDeviceFolder,
                            CatalogueSink* sink = nullptr);

    // One entry per `mouse`, connection fields at their defaults.
    const std::vector<DeviceEntry>& Models() const { return models_; }
    // One entry per `mode`: its model's fields together with the connection's.
    const std::vector<DeviceEntry>& Connections() const { return connections_; }
    const SoftwareInfo& Software() const { return software_; }

    // The first model-list entry with this device type, or nullptr.
    const DeviceEntry* FindModel(int deviceType) const;

private:
    void Reset(CatalogueSink* sink);
    void Read(XmlDocument& doc, const std::filesystem::path& skinDeviceFolder, CatalogueSink* sink);

    std::vector<DeviceEntry> models_;
    std::vector<DeviceEntry> connections_;
    SoftwareInfo software_;
};

}  // namespace cursorial
