#include "exchange/ProfileExchange.h"

#include <array>

#include "common/text/WideText.h"
#include "common/xml/XmlDocument.h"
#include "exchange/ExchangeFile.h"
#include "exchange/LightingRows.h"
#include "store/ConfigDatabase.h"

namespace cursorial {

namespace {

constexpr std::array<std::u16string_view, 7> kColorAttributes = {
    u"color_value1", u"color_value2", u"color_value3", u"color_value4",
    u"color_value5", u"color_value6", u"color_value7",
};

int IntAttribute(const XmlDocument& doc, std::u16string_view name) {
    return TextToInt(doc.GetAttribute(name));
}

std::u16string Setting(ConfigDatabase& db, int profile, std::u16string_view key) {
    std::u16string value;
    db.GetConfigValue(profile, key, value);
    return value;
}

std::u16string DpiKey(int stage, const char* what) {
    return FormatW("dpi_group%d_%s", stage, what);
}

// Reads the children of profileinfo (or of profile when the file has no profileinfo), each
// search continuing after the element found last.
ExchangeResult ReadProfileBody(XmlDocument& doc, bool hasLighting, ProfileFile& out) {
    if (doc.FindElement(u"keyitems")) {
        doc.EnterElement();
        while (doc.FindElement(u"item")) {
            if (static_cast<int>(out.keyItems.size()) >= ExchangeLimits::kMaxKeyItems) {
                return ExchangeResult::kTooLarge;
            }
            KeyAssignment& key = out.keyItems.emplace_back();
            key.keyCode = IntAttribute(doc, u"key_code");
            key.type = IntAttribute(doc, u"macro_type");
            key.value = IntAttribute(doc, u"macro_value");
            key.value2 = IntAttribute(doc, u"macro_value2");
            key.value3 = IntAttribute(doc, u"macro_value3");
            key.description = doc.GetAttribute(u"macro_desc");
        }
        doc.LeaveElement();
    }
    // A model without lighting does not even look, so the search position stays put.
    if (hasLighting && doc.FindElement(u"Lightitems")) {
        out.lightMode = IntAttribute(doc, u"lightmode");
        doc.EnterElement();
        while (doc.FindElement(u"item")) {
            if (static_cast<int>(out.lightItems.size()) >= ExchangeLimits::kMaxLightItems) {
                return ExchangeResult::kTooLarge;
            }
            LightSetting& light = out.lightItems.emplace_back();
            light.mode = IntAttribute(doc, u"light_mode");
            light.brightness = IntAttribute(doc, u"brightness");
            light.speed = IntAttribute(doc, u"speed");
            light.direction = IntAttribute(doc, u"direction");
            light.colorful = IntAttribute(doc, u"colorful");
            light.colorIndex = IntAttribute(doc, u"colorindex");
            for (size_t i = 0; i < kColorAttributes.size(); ++i) {
                light.colors[i] = IntAttribute(doc, kColorAttributes[i]);
            }
        }
        doc.LeaveElement();
    }
    if (doc.FindElement(u"Mouse_DPI")) {
        for (std::u16string_view key : {u"dpi_flag", u"dpi_index", u"dpi_count"}) {
            out.settings.push_back({std::u16string(key), doc.GetAttribute(key)});
        }
        doc.EnterElement();
        for (int stage = 0; stage < 6; ++stage) {
            if (!doc.FindElement(FormatW("DPI%d", stage + 1)))
                continue;
            out.settings.push_back({DpiKey(stage, "value"), doc.GetAttribute(u"value")});
            out.settings.push_back({DpiKey(stage, "rgb"), doc.GetAttribute(u"color")});
        }
        doc.LeaveElement();
    }
    if (doc.FindElement(u"Mouse")) {
        doc.EnterElement();
        for (std::u16string_view key : kProfileFileMouseKeys) {
            if (doc.FindElement(key)) {
                out.settings.push_back({std::u16string(key), doc.GetAttribute(u"value")});
            }
        }
        doc.LeaveElement();
    }
    return ExchangeResult::kOk;
}

// Writes what the file holds into `profile`, in the order the program always has. False at the
// first change the store refuses. Runs inside the import's transaction.
bool StoreProfile(ConfigDatabase& db, int profile, const std::u16string& name,
                  const ProfileFile& file, const LightEffectSet* lightEffects) {
    // The profile a file is read into has its lighting rows (the lighting page makes them on
    // load); without them the file's lighting would be dropped.
    if (lightEffects && file.lightMode && EnsureLightSettings(db, profile, *lightEffects) < 0)
        return false;
    if (!db.RenameProfile(profile, name))
        return false;
    if (!db.DeleteKeyAssignments(profile))
        return false;
    for (KeyAssignment key : file.keyItems) {
        key.profile = profile;
        key.layer = 0;
        // An item whose values are both 0 leaves the button on its default: no row, id 0.
        if (db.SaveKeyAssignment(key) == 0 && (key.value != 0 || key.value2 != 0))
            return false;
    }
    if (file.lightMode) {
        if (!db.SetActiveLightMode(profile, *file.lightMode))
            return false;
        for (const LightSetting& item : file.lightItems) {
            LightSetting row;
            if (!db.GetLightSetting(profile, item.mode, row))
                continue;  // no such mode here
            row.brightness = item.brightness;
            row.speed = item.speed;
            row.direction = item.direction;
            row.colorful = item.colorful;
            row.colorIndex = item.colorIndex;
            row.colors = item.colors;
            if (!db.UpdateLightSetting(item.mode, row))
                return false;
        }
    }
    for (const SettingWrite& setting : file.settings) {
        if (!db.SetConfigValue(profile, setting.key, setting.value))
            return false;
    }
    return true;
}

}  // namespace

std::u16string ProfileNameFromFile(const std::filesystem::path& file) {
    std::u16string name = FromUtf8(file.filename().string());
    // Characters, not UTF-16 units: a name ending in a character beyond the BMP is not split.
    for (int removed = 0; removed < 4 && !name.empty(); ++removed) {
        const bool pair = name.size() >= 2 && (name.back() & 0xFC00) == 0xDC00 &&
                          (name[name.size() - 2] & 0xFC00) == 0xD800;
        name.resize(name.size() - (pair ? 2 : 1));
    }
    return name;
}

ExchangeResult ParseProfileFile(XmlDocument& doc, bool hasLighting, ProfileFile& out) {
    out = ProfileFile();
    if (!doc.FindElement(u"profile"))
        return ExchangeResult::kWrongRoot;
    doc.EnterElement();
    // Without profileinfo its children are looked for among the children of profile.
    if (doc.FindElement(u"profileinfo"))
        doc.EnterElement();
    return ReadProfileBody(doc, hasLighting, out);
}

ExchangeResult BuildProfileDocument(ConfigDatabase& db, int profile,
                                    std::u16string_view displayName, bool hasLighting,
                                    std::u16string& text) {
    text.clear();
    auto hold = db.Hold();
    // One consistent view of the profile; once it is taken, the reads cannot meet another
    // program's lock, so a busy file cannot turn into an empty element.
    SQLiteReadTransaction snapshot(db);
    if (!snapshot.Ok())
        return StoreFailure(snapshot.Status(), ExchangeResult::kReadFailed);
    XmlDocument doc;
    doc.SetText(kXmlDeclaration);
    doc.AddElement(u"profile");
    doc.EnterElement();
    doc.AddElement(u"profileinfo");
    doc.SetAttribute(u"name", displayName);
    doc.EnterElement();

    doc.AddElement(u"keyitems");
    doc.EnterElement();
    std::vector<KeyAssignment> keys;
    db.ListKeyAssignments(profile, keys);
    for (const KeyAssignment& key : keys) {
        doc.AddElement(u"item");
        doc.SetAttribute(u"key_code", key.keyCode);
        doc.SetAttribute(u"macro_type", key.type);
        doc.SetAttribute(u"macro_value", key.value);
        doc.SetAttribute(u"macro_value2", key.value2);
        doc.SetAttribute(u"macro_value3", key.value3);
        doc.SetAttribute(u"macro_desc", key.description);
    }
    doc.LeaveElement();

    if (hasLighting) {
        doc.AddElement(u"Lightitems");
        doc.SetAttribute(u"lightmode", db.GetActiveLightMode(profile));
        doc.EnterElement();
        std::vector<LightSetting> lights;
        db.ListLightSettings(profile, lights);
        for (const LightSetting& light : lights) {
            doc.AddElement(u"item");
            doc.SetAttribute(u"light_mode", light.mode);
            doc.SetAttribute(u"brightness", light.brightness);
            doc.SetAttribute(u"speed", light.speed);
            doc.SetAttribute(u"direction", light.direction);
            doc.SetAttribute(u"colorful", light.colorful);
            doc.SetAttribute(u"colorindex", light.colorIndex);
            for (size_t i = 0; i < kColorAttributes.size(); ++i) {
                doc.SetAttribute(kColorAttributes[i], light.colors[i]);
            }
        }
        doc.LeaveElement();
    }
    // Every profile has its settings rows; reading none means the store failed.
    std::u16string probe;
    if (!db.GetConfigValue(profile, u"dpi_count", probe))
        return ExchangeResult::kReadFailed;

    doc.AddElement(u"Mouse_DPI");
    for (std::u16string_view key : {u"dpi_flag", u"dpi_index", u"dpi_count"}) {
        doc.SetAttribute(key, Setting(db, profile, key));
    }
    doc.EnterElement();
    for (int stage = 0; stage < 6; ++stage) {
        doc.AddElement(FormatW("DPI%d", stage + 1));
        doc.SetAttribute(u"value", Setting(db, profile, DpiKey(stage, "value")));
        doc.SetAttribute(u"color", Setting(db, profile, DpiKey(stage, "rgb")));
    }
    doc.LeaveElement();

    doc.AddElement(u"Mouse");
    doc.EnterElement();
    for (std::u16string_view key : kProfileFileMouseKeys) {
        doc.AddElement(key);
        doc.SetAttribute(u"value", Setting(db, profile, key));
    }
    doc.LeaveElement();
    text = doc.GetText();
    return ExchangeResult::kOk;
}

ExchangeResult ExportProfile(ConfigDatabase& db, int profile, std::u16string_view displayName,
                             bool hasLighting, const std::filesystem::path& file) {
    std::u16string text;
    const ExchangeResult built = BuildProfileDocument(db, profile, displayName, hasLighting, text);
    if (built != ExchangeResult::kOk)
        return built;
    XmlDocument doc;
    doc.SetText(text);
    return doc.SaveFile(file) ? ExchangeResult::kOk : ExchangeResult::kWriteFailed;
}

ExchangeResult ImportProfile(ConfigDatabase& db, int profile, const std::filesystem::path& file,
                             bool hasLighting, std::u16string* newName,
                             const LightEffectSet* lightEffects) {
    // The whole file is read and checked before anything changes.
    XmlDocument doc;
    ExchangeResult result = OpenExchangeFile(doc, file);
    if (result != ExchangeResult::kOk)
        return result;
    ProfileFile parsed;
    result = ParseProfileFile(doc, hasLighting, parsed);
    if (result != ExchangeResult::kOk)
        return result;

    const std::u16string name = ProfileNameFromFile(file);
    if (!hasLighting)
        lightEffects = nullptr;
    result =
        ApplyAtomically(db, [&] { return StoreProfile(db, profile, name, parsed, lightEffects); });
    if (result == ExchangeResult::kOk && newName)
        *newName = name;
    return result;
}

}  // namespace cursorial
