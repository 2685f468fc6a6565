#include "catalogue/DeviceDescription.h"

#include "catalogue/DescriptionRules.h"
#include "common/text/WideText.h"
#include "common/xml/XmlDocument.h"

namespace cursorial {

namespace {

bool Flag(std::u16string_view text) {
    return TextToInt(text) == 1;
}

std::u16string IndexedName(const char* prefix, int index) {
    return FormatW("%s%d", prefix, index);
}

// The readers below take a document that stands inside `mouse`, before its first child.

void ReadLoad(XmlDocument& doc, DescriptionLoad& out) {
    if (doc.FindElement(u"image_file"))
        out.mouseImage = doc.GetAttribute(u"mouse_img");
    if (doc.FindElement(u"menu"))
        out.lighting = Flag(doc.GetAttribute(u"light"));
    if (doc.FindElement(u"custom")) {
        ShowFlags show;
        show.dpiTips = Flag(doc.GetAttribute(u"show_dpitips"));
        show.saveTips = Flag(doc.GetAttribute(u"show_savetips"));
        show.lod = Flag(doc.GetAttribute(u"show_lod"));
        show.sensor = Flag(doc.GetAttribute(u"show_sensor"));
        show.respondTime = Flag(doc.GetAttribute(u"show_respondtime"));
        out.show = show;
    }
    if (doc.FindElement(u"firmware"))
        out.firmwareUrl = doc.GetAttribute(u"url");

    if (doc.FindElement(u"mouse_key")) {
        auto& keys = out.keys.emplace();
        doc.EnterElement();
        while (doc.FindElement(u"key")) {
            DescriptionKey key;
            key.nameText = doc.GetAttribute(u"name");
            key.nameId = TextToInt(key.nameText);
            key.keyValue = TextToInt(doc.GetAttribute(u"key_value"));
            key.direction = TextToInt(doc.GetAttribute(u"direction"));
            const CalloutLine line = ParseCalloutRect(doc.GetAttribute(u"rect"));
            key.x1 = line.x1;
            key.x2 = line.x2;
            key.y = line.y;
            key.funcDescText = doc.GetAttribute(u"func_desc");
            key.funcDescId = TextToInt(key.funcDescText);
            key.dashed = Flag(doc.GetAttribute(u"dashed"));
            key.funcType = TextToInt(doc.GetAttribute(u"func_type"));
            key.funcValue = TextToInt(doc.GetAttribute(u"func_value"));
            keys.push_back(std::move(key));
        }
        doc.LeaveElement();
    }

    // light_info is the first search inside mouse_info, so it may stand anywhere there.
    if (doc.FindElement(u"mouse_info")) {
        doc.EnterElement();
        if (doc.FindElement(u"light_info")) {
            doc.EnterElement();
            for (int i = 0; i < kLightEffectCount; ++i) {
                if (doc.FindElement(IndexedName("light_", i + 1))) {
                    out.lightEffects[i] = Flag(doc.GetAttribute(u"enable"));
                }
            }
        }
    }
}

std::optional<std::u16string> FindValue(XmlDocument& doc, std::u16string_view element,
                                        std::u16string_view attribute) {
    if (!doc.FindElement(element))
        return std::nullopt;
    return doc.GetAttribute(attribute);
}

DataFileStatus ReadDefaults(XmlDocument& doc, DescriptionDefaults& out) {
    if (!doc.FindElement(u"mouse_info"))
        return DataFileStatus::kNoSection;
    doc.EnterElement();
    if (doc.FindElement(u"dpi_info")) {
        DpiDefaults& dpi = out.dpi.emplace();
        dpi.defaultDpi = doc.GetAttribute(u"default_dpi");
        dpi.dpiCount = doc.GetAttribute(u"dpi_count");
        doc.EnterElement();
        for (int i = 0; i < kDescriptionDpiStages; ++i) {
            if (doc.FindElement(IndexedName("dpi_", i + 1))) {
                dpi.stages[i] = DpiStageDefault{doc.GetAttribute(u"value"),
                                                ColorTextToValue(doc.GetAttribute(u"color"))};
            }
        }
        doc.LeaveElement();
    }
    out.reportRate = FindValue(doc, u"report_rate", u"default_value");
    out.sleepLight = FindValue(doc, u"sleep_light", u"value");
    out.moveWakeup = FindValue(doc, u"move_wakeup", u"value");
    out.moveCloseLight = FindValue(doc, u"move_closelight", u"value");
    out.lod = FindValue(doc, u"lod", u"value");
    out.buttonRespondTime = FindValue(doc, u"button_respondtime", u"value");
    return DataFileStatus::kOk;
}

DataFileStatus ReadReportRate(XmlDocument& doc, std::u16string& out) {
    if (!doc.FindElement(u"mouse_info"))
        return DataFileStatus::kNoSection;
    doc.EnterElement();
    if (!doc.FindElement(u"report_rate"))
        return DataFileStatus::kNoSection;
    out = doc.GetAttribute(u"default_value");
    return DataFileStatus::kOk;
}

template <typename Out, typename Reader>
DataFileStatus FromFile(const std::filesystem::path& path, Out& out, Reader reader) {
    out = Out{};
    XmlDocument doc;
    const DataFileStatus status = OpenDataFile(doc, path, u"mouse");
    return status == DataFileStatus::kOk ? reader(doc, out) : status;
}

template <typename Out, typename Reader>
DataFileStatus FromText(std::u16string_view text, Out& out, Reader reader) {
    out = Out{};
    XmlDocument doc;
    const DataFileStatus status = OpenDataText(doc, text, u"mouse");
    return status == DataFileStatus::kOk ? reader(doc, out) : status;
}

DataFileStatus ReadLoadStatus(XmlDocument& doc, DescriptionLoad& out) {
    ReadLoad(doc, out);
    return DataFileStatus::kOk;
}

}  // namespace

KeyAssignment ToDefaultAssignment(const DescriptionKey& key) {
    KeyAssignment assignment;
    assignment.keyCode = key.keyValue;
    assignment.layoutValue = key.keyValue;
    assignment.layoutText = key.nameText;
    assignment.type = key.funcType;
    assignment.value = key.funcValue;
    assignment.description = key.funcDescText;
    return assignment;
}

void DescriptionState::Apply(const DescriptionLoad& load) {
    if (load.lighting)
        lighting = *load.lighting;
    if (load.show)
        show = *load.show;
    if (load.firmwareUrl)
        firmwareUrl = *load.firmwareUrl;
    if (load.keys) {
        defaultAssignments.clear();
        for (const DescriptionKey& key : *load.keys) {
            defaultAssignments.push_back(ToDefaultAssignment(key));
        }
    }
    for (int i = 0; i < kLightEffectCount; ++i) {
        if (load.lightEffects[i])
            lightEffects[i] = *load.lightEffects[i];
    }
}

DataFileStatus ReadDescriptionLoad(const std::filesystem::path& path, DescriptionLoad& out) {
    return FromFile(path, out, ReadLoadStatus);
}

DataFileStatus ReadDescriptionDefaults(const std::filesystem::path& path,
                                       DescriptionDefaults& out) {
    return FromFile(path, out, ReadDefaults);
}

DataFileStatus ReadDefaultReportRate(const std::filesystem::path& path, std::u16string& out) {
    return FromFile(path, out, ReadReportRate);
}

DataFileStatus ParseDescriptionLoad(std::u16string_view text, DescriptionLoad& out) {
    return FromText(text, out, ReadLoadStatus);
}

DataFileStatus ParseDescriptionDefaults(std::u16string_view text, DescriptionDefaults& out) {
    return FromText(text, out, ReadDefaults);
}

DataFileStatus ParseDefaultReportRate(std::u16string_view text, std::u16string& out) {
    return FromText(text, out, ReadReportRate);
}

}  // namespace cursorial
