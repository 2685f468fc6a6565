// The macro exchange files: one macro, or every macro of the database, as XML.
//
// Both layouts have the root `macro`, UTF-8 without a byte-order mark, one tag per line, CR LF.
// Macro attributes, in order: macro_name, macro_type (play type), play_times, delay_type,
// delay_time. Event `item` attributes, in order: desc, index (position), type (kind), value,
// timestamp.
//   single macro:  <macro> <macroinfo …/> <macroitems> <item …/>… </macroitems> </macro>
//                  (<macroitems/> when the macro has no events)
//   macro set:     <macro> <macro_item …> <record_item> <item …/>… </record_item> </macro_item>
//                  … </macro>   (a macro without events is an empty <macro_item …/>)
// Imports always add new macros with new ids; existing macros are never replaced.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/ExchangeResult.h"
#include "store/Records.h"

namespace cursorial {

class ConfigDatabase;
class XmlDocument;

// The name the macro list shows for a stored name: a leading "Custom" or "自定义" becomes
// `customWord` (text 351), then a trailing "Copy" or "复制" becomes a space and `copyWord`
// (text 31). The store keeps the stored name; the single-macro export writes the shown one.
std::u16string MacroDisplayName(std::u16string_view stored, std::u16string_view customWord,
                                std::u16string_view copyWord);

// One macro read from a file: the macro (id 0) and its events (ids 0, macro id 0).
struct MacroFileEntry {
    Macro macro;
    std::vector<MacroEvent> events;
};

// Parsers over a loaded document (navigation at the top). kWrongRoot without the root `macro`,
// kTooLarge beyond the limits (per macro and, for the whole file, ExchangeLimits::
// kMaxEventsPerFile events). A single-macro file without macroinfo gives a macro with an
// empty name and zeros; missing numbers read 0.
ExchangeResult ParseMacroFile(XmlDocument& doc, MacroFileEntry& out);
ExchangeResult ParseMacroSetFile(XmlDocument& doc, std::vector<MacroFileEntry>& out);

// The document texts the exports write.
std::u16string BuildMacroDocument(const Macro& macro, std::u16string_view shownName,
                                  const std::vector<MacroEvent>& events);
std::u16string BuildMacroSetDocument(ConfigDatabase& db);

// Exports read the store in one consistent view: kStoreBusy or kReadFailed (no file written)
// when it cannot be taken.
// One macro under the name the macro list shows for it. kNotFound when the macro does not exist.
ExchangeResult ExportMacro(ConfigDatabase& db, int macroId, std::u16string_view shownName,
                           const std::filesystem::path& file);
// Every macro in store order.
ExchangeResult ExportAllMacros(ConfigDatabase& db, const std::filesystem::path& file);

// Imports add the file's macros with their events in one transaction (all or nothing) and hand
// back the new macros (with their ids) for the macro lists.
ExchangeResult ImportMacro(ConfigDatabase& db, const std::filesystem::path& file,
                           std::vector<Macro>* added = nullptr);
ExchangeResult ImportMacroSet(ConfigDatabase& db, const std::filesystem::path& file,
                              std::vector<Macro>* added = nullptr);

}  // namespace cursorial
