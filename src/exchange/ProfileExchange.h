// The profile exchange file: one profile's button assignments, lighting (models with lighting),
// DPI stages and colours and performance settings as XML, written from and read into the store.
//
// Layout (UTF-8 without a byte-order mark, one tag per line, CR LF, no indentation):
//   <?xml version="1.0" encoding="UTF-8"?>
//   <profile>
//   <profileinfo name="…">
//   <keyitems>                       (<keyitems/> when the profile has no stored assignment)
//   <item key_code macro_type macro_value macro_value2 macro_value3 macro_desc/>
//   </keyitems>
//   <Lightitems lightmode>           (models with lighting only)
//   <item light_mode brightness speed direction colorful colorindex color_value1..7/>
//   </Lightitems>
//   <Mouse_DPI dpi_flag dpi_index dpi_count>  with <DPI1 value color/> .. <DPI6 …/>
//   <Mouse>  with <button_respondtime value/> <report_rate/> <sensor_flag/> <liftoff_height/>
//            <scroll_flag/> <e-sports_flag/> <sleep_light/> <move_wakeup/> <move_closelight/>
//   </profileinfo>
//   </profile>
//
// Reading searches each level after the element found last, so elements are recognised only in
// this order; a missing element is skipped. Setting texts are copied unchanged both ways.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/DescriptionRules.h"
#include "exchange/ExchangeResult.h"
#include "exchange/LightingRows.h"
#include "store/Records.h"

namespace cursorial {

class ConfigDatabase;
class XmlDocument;

// The setting keys of the Mouse element, in file order.
inline constexpr std::u16string_view kProfileFileMouseKeys[] = {
    u"button_respondtime", u"report_rate", u"sensor_flag", u"liftoff_height",  u"scroll_flag",
    u"e-sports_flag",      u"sleep_light", u"move_wakeup", u"move_closelight",
};

// What an import found in a file, before anything is changed.
struct ProfileFile {
    // Key items (profile and layer are filled in when they are stored).
    std::vector<KeyAssignment> keyItems;
    // Lightitems: the active mode and one record per item (mode and the twelve parameters from
    // brightness to color_value7); absent when the file has none or the model has no lighting.
    std::optional<int> lightMode;
    std::vector<LightSetting> lightItems;
    // Mouse_DPI and Mouse values in the order they are written to the store.
    std::vector<SettingWrite> settings;
};

// The profile's name after an import: the file's name without its folder and without its
// last four characters (".xml"); empty when the name is shorter.
std::u16string ProfileNameFromFile(const std::filesystem::path& file);

// Reads a profile document loaded into `doc` (navigation at the top). kWrongRoot when
// the root is not "profile", kTooLarge beyond the item limits.
ExchangeResult ParseProfileFile(XmlDocument& doc, bool hasLighting, ProfileFile& out);

// The document text of a profile (what ExportProfile writes), read in one consistent view of
// the store. kStoreBusy or kReadFailed (with an empty text) when the store cannot be read.
ExchangeResult BuildProfileDocument(ConfigDatabase& db, int profile,
                                    std::u16string_view displayName, bool hasLighting,
                                    std::u16string& text);

// Writes `profile` to `file`; `displayName` is the name shown for it. kStoreBusy or kReadFailed
// when the store cannot be read (no file is written), kWriteFailed when the file cannot be
// written. A caller that wants the lighting rows of a profile never shown creates them first.
ExchangeResult ExportProfile(ConfigDatabase& db, int profile, std::u16string_view displayName,
                             bool hasLighting, const std::filesystem::path& file);

// Reads `file` into `profile` (the current one). The whole file is read and checked first, so a
// missing, unreadable, ill-formed, wrongly rooted or oversized file changes nothing. Then, in
// one transaction under the store's lock: the profile is renamed after the file, its button
// assignments are cleared and the file's stored, the lighting (with lighting) and the settings
// found are written. With `lightEffects` (models with lighting) a profile without lighting rows
// first gets them, inside the same transaction, so the file's lighting is not dropped. A store
// failure rolls everything back (kWriteFailed, or kStoreBusy when another program holds the
// database). On kOk `newName` receives the profile's new name. The caller then writes the
// profile to the mouse.
ExchangeResult ImportProfile(ConfigDatabase& db, int profile, const std::filesystem::path& file,
                             bool hasLighting, std::u16string* newName = nullptr,
                             const LightEffectSet* lightEffects = nullptr);

}  // namespace cursorial
