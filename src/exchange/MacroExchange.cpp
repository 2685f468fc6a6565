#include "exchange/MacroExchange.h"

#include "common/text/WideText.h"
#include "common/xml/XmlDocument.h"
#include "exchange/ExchangeFile.h"
#include "store/ConfigDatabase.h"

namespace cursorial {

namespace {

int IntAttribute(const XmlDocument& doc, std::u16string_view name) {
    return TextToInt(doc.GetAttribute(name));
}

void ReadMacroAttributes(const XmlDocument& doc, Macro& macro) {
    macro.name = doc.GetAttribute(u"macro_name");
    macro.playType = IntAttribute(doc, u"macro_type");
    macro.playCount = IntAttribute(doc, u"play_times");
    macro.delayType = IntAttribute(doc, u"delay_type");
    macro.delayTime = IntAttribute(doc, u"delay_time");
}

void WriteMacroAttributes(XmlDocument& doc, const Macro& macro, std::u16string_view name) {
    doc.SetAttribute(u"macro_name", name);
    doc.SetAttribute(u"macro_type", macro.playType);
    doc.SetAttribute(u"play_times", macro.playCount);
    doc.SetAttribute(u"delay_type", macro.delayType);
    doc.SetAttribute(u"delay_time", macro.delayTime);
}

// The `item` children of the current element's level (already entered). `fileEvents` counts
// the events of the whole file.
ExchangeResult ReadEvents(XmlDocument& doc, std::vector<MacroEvent>& events, int& fileEvents) {
    while (doc.FindElement(u"item")) {
        if (static_cast<int>(events.size()) >= ExchangeLimits::kMaxEventsPerMacro ||
            fileEvents >= ExchangeLimits::kMaxEventsPerFile) {
            return ExchangeResult::kTooLarge;
        }
        ++fileEvents;
        MacroEvent& event = events.emplace_back();
        event.description = doc.GetAttribute(u"desc");
        event.position = IntAttribute(doc, u"index");
        event.kind = IntAttribute(doc, u"type");
        event.value = IntAttribute(doc, u"value");
        event.timestamp = IntAttribute(doc, u"timestamp");
    }
    return ExchangeResult::kOk;
}

void WriteEvents(XmlDocument& doc, const std::vector<MacroEvent>& events) {
    for (const MacroEvent& event : events) {
        doc.AddElement(u"item");
        doc.SetAttribute(u"desc", event.description);
        doc.SetAttribute(u"index", event.position);
        doc.SetAttribute(u"type", event.kind);
        doc.SetAttribute(u"value", event.value);
        doc.SetAttribute(u"timestamp", event.timestamp);
    }
}

ExchangeResult SaveDocument(std::u16string_view text, const std::filesystem::path& file) {
    XmlDocument doc;
    doc.SetText(text);
    return doc.SaveFile(file) ? ExchangeResult::kOk : ExchangeResult::kWriteFailed;
}

// Adds the entries as new macros; false at the first refused insert.
bool StoreMacros(ConfigDatabase& db, const std::vector<MacroFileEntry>& entries,
                 std::vector<Macro>& added) {
    for (const MacroFileEntry& entry : entries) {
        Macro macro = entry.macro;
        macro.id = db.InsertMacro(macro);
        if (macro.id <= 0)
            return false;
        for (MacroEvent event : entry.events) {
            event.macroId = macro.id;
            if (db.AddMacroEvent(event) == 0)
                return false;
        }
        added.push_back(macro);
    }
    return true;
}

template <class Parse>
ExchangeResult ImportEntries(ConfigDatabase& db, const std::filesystem::path& file, Parse parse,
                             std::vector<Macro>* added) {
    XmlDocument doc;
    ExchangeResult result = OpenExchangeFile(doc, file);
    if (result != ExchangeResult::kOk)
        return result;
    std::vector<MacroFileEntry> entries;
    result = parse(doc, entries);
    if (result != ExchangeResult::kOk)
        return result;
    std::vector<Macro> stored;
    result = ApplyAtomically(db, [&] {
        stored.clear();
        return StoreMacros(db, entries, stored);
    });
    if (result == ExchangeResult::kOk && added)
        *added = std::move(stored);
    return result;
}

}  // namespace

std::u16string MacroDisplayName(std::u16string_view stored, std::u16string_view customWord,
                                std::u16string_view copyWord) {
    std::u16string shown(stored);
    for (std::u16string_view prefix :
         {std::u16string_view(u"Custom"), std::u16string_view(u"自定义")}) {
        if (shown.starts_with(prefix)) {
            shown = std::u16string(customWord) + shown.substr(prefix.size());
            break;
        }
    }
    for (std::u16string_view suffix :
         {std::u16string_view(u"Copy"), std::u16string_view(u"复制")}) {
        if (shown.ends_with(suffix)) {
            shown.resize(shown.size() - suffix.size());
            shown += u' ';
            shown += copyWord;
            break;
        }
    }
    return shown;
}

ExchangeResult ParseMacroFile(XmlDocument& doc, MacroFileEntry& out) {
    out = MacroFileEntry();
    if (!doc.FindElement(u"macro"))
        return ExchangeResult::kWrongRoot;
    doc.EnterElement();
    // Without macroinfo the macro is created with an empty name and zeros, and macroitems is
    // still looked for among the root's children.
    if (doc.FindElement(u"macroinfo"))
        ReadMacroAttributes(doc, out.macro);
    if (doc.FindElement(u"macroitems")) {
        doc.EnterElement();
        int fileEvents = 0;
        const ExchangeResult result = ReadEvents(doc, out.events, fileEvents);
        if (result != ExchangeResult::kOk)
            return result;
        doc.LeaveElement();
    }
    return ExchangeResult::kOk;
}

ExchangeResult ParseMacroSetFile(XmlDocument& doc, std::vector<MacroFileEntry>& out) {
    out.clear();
    if (!doc.FindElement(u"macro"))
        return ExchangeResult::kWrongRoot;
    doc.EnterElement();
    int fileEvents = 0;
    while (doc.FindElement(u"macro_item")) {
        if (static_cast<int>(out.size()) >= ExchangeLimits::kMaxMacros) {
            return ExchangeResult::kTooLarge;
        }
        MacroFileEntry& entry = out.emplace_back();
        ReadMacroAttributes(doc, entry.macro);
        doc.EnterElement();
        if (doc.FindElement(u"record_item")) {
            doc.EnterElement();
            const ExchangeResult result = ReadEvents(doc, entry.events, fileEvents);
            if (result != ExchangeResult::kOk)
                return result;
            doc.LeaveElement();
        }
        doc.LeaveElement();
    }
    return ExchangeResult::kOk;
}

std::u16string BuildMacroDocument(const Macro& macro, std::u16string_view shownName,
                                  const std::vector<MacroEvent>& events) {
    XmlDocument doc;
    doc.SetText(kXmlDeclaration);
    doc.AddElement(u"macro");
    doc.EnterElement();
    doc.AddElement(u"macroinfo");
    WriteMacroAttributes(doc, macro, shownName);
    doc.AddElement(u"macroitems");
    doc.EnterElement();
    WriteEvents(doc, events);
    doc.LeaveElement();
    return doc.GetText();
}

std::u16string BuildMacroSetDocument(ConfigDatabase& db) {
    auto hold = db.Hold();
    XmlDocument doc;
    doc.SetText(kXmlDeclaration);
    doc.AddElement(u"macro");
    doc.EnterElement();
    std::vector<Macro> macros;
    std::vector<MacroEvent> events;
    db.ListMacros(macros);
    for (const Macro& macro : macros) {
        doc.AddElement(u"macro_item");
        WriteMacroAttributes(doc, macro, macro.name);
        if (db.ListMacroEvents(macro.id, events) > 0) {
            doc.EnterElement();
            doc.AddElement(u"record_item");
            doc.EnterElement();
            WriteEvents(doc, events);
            doc.LeaveElement();
            doc.LeaveElement();
        }
    }
    return doc.GetText();
}

ExchangeResult ExportMacro(ConfigDatabase& db, int macroId, std::u16string_view shownName,
                           const std::filesystem::path& file) {
    std::u16string text;
    {
        auto hold = db.Hold();
        SQLiteReadTransaction snapshot(db);
        if (!snapshot.Ok())
            return StoreFailure(snapshot.Status(), ExchangeResult::kReadFailed);
        Macro macro;
        if (!db.GetMacro(macroId, macro))
            return ExchangeResult::kNotFound;
        std::vector<MacroEvent> events;
        db.ListMacroEvents(macroId, events);
        text = BuildMacroDocument(macro, shownName, events);
    }
    return SaveDocument(text, file);
}

ExchangeResult ExportAllMacros(ConfigDatabase& db, const std::filesystem::path& file) {
    std::u16string text;
    {
        auto hold = db.Hold();
        // Once the view is taken the reads cannot meet another program's lock, so a busy file
        // cannot turn into a file without macros.
        SQLiteReadTransaction snapshot(db);
        if (!snapshot.Ok())
            return StoreFailure(snapshot.Status(), ExchangeResult::kReadFailed);
        text = BuildMacroSetDocument(db);
    }
    return SaveDocument(text, file);
}

ExchangeResult ImportMacro(ConfigDatabase& db, const std::filesystem::path& file,
                           std::vector<Macro>* added) {
    return ImportEntries(
        db, file,
        [](XmlDocument& doc, std::vector<MacroFileEntry>& entries) {
            entries.resize(1);
            return ParseMacroFile(doc, entries[0]);
        },
        added);
}

ExchangeResult ImportMacroSet(ConfigDatabase& db, const std::filesystem::path& file,
                              std::vector<Macro>* added) {
    return ImportEntries(db, file, ParseMacroSetFile, added);
}

}  // namespace cursorial
