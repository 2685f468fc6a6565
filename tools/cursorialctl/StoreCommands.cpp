#include "StoreCommands.h"

#include "StoreDevice.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/AppConfig.h"
#include "app/LanguageChoice.h"
#include "app/LanguageTexts.h"
#include "app/ProgramSettings.h"
#include "catalogue/DescriptionRules.h"
#include "catalogue/DeviceCatalogue.h"
#include "catalogue/DeviceDescription.h"
#include "catalogue/SelectedDeviceType.h"
#include "common/text/WideText.h"
#include "exchange/LightingRows.h"
#include "exchange/MacroExchange.h"
#include "exchange/ProfileExchange.h"
#include "exchange/ProfileManager.h"
#include "platform/KeyValueStore.h"
#include "platform/Paths.h"
#include "platform/SystemLanguage.h"
#include "store/ConfigDatabase.h"
#include "store/SQLiteWriteTransaction.h"
#include "store/StoreSchema.h"

namespace cursorial::cli {

namespace {

namespace fs = std::filesystem;

constexpr int kProfileWordText = 61;
constexpr int kCustomMacroText = 351;
constexpr int kCopyText = 31;

std::string Utf8(std::u16string_view text) {
    return ToUtf8(text);
}

// What every store command starts from: the model, its database opened (or created) with its
// profiles ensured, as loading the device in the program would.
struct StoreContext {
    fs::path exeFolder;
    AppConfig app;
    DeviceEntry model;
    fs::path descriptionFile;
    DescriptionState description;
    int language = kFallbackLanguage;
    int activeProfile = 0;
    ConfigDatabase* db = nullptr;

    std::u16string Text(int id) const {
        return LangText(exeFolder, language, kLanguageSection, id);
    }
    DeviceTarget Target(int waitMs) const { return {model.deviceType, waitMs}; }
    std::u16string MacroName(const std::u16string& stored) const {
        return MacroDisplayName(stored, Text(kCustomMacroText), Text(kCopyText));
    }
};

// Options of every store command.
struct StoreOptions {
    std::optional<std::string> dataDir;
    std::optional<std::string> model;
    std::optional<int> type;
    std::optional<int> profile;
    int waitMs = 1500;
};

// Takes the store options (and --profile, --wait when `withProfile` / `withWait`); false with
// the reader's error set on a malformed value.
bool ReadStoreOptions(ArgReader& args, StoreOptions& options, bool withProfile, bool withWait) {
    options.dataDir = args.TakeValue("--data-dir");
    options.model = args.TakeValue("--model");
    options.type = args.TakeInt("--type", 1, 1 << 30);
    if (withProfile)
        options.profile = args.TakeInt("--profile", 1, 1 << 30);
    if (withWait) {
        if (auto wait = args.TakeInt("--wait", 1, 600000))
            options.waitMs = *wait;
    }
    return args.Ok();
}

int OpenStore(const StoreOptions& options, StoreContext& ctx) {
    ctx.exeFolder = ExecutableFolder();
    const fs::path configFile = CatalogueFilePath(ctx.exeFolder);
    if (!ReadAppConfig(configFile, ctx.app))
        return Fail(kExitSetup, "cannot read %s", configFile.c_str());
    DeviceCatalogue catalogue;
    const DataFileStatus status = catalogue.Load(ctx.exeFolder, u"dark");
    if (status != DataFileStatus::kOk)
        return Fail(kExitSetup, "cannot read the device catalogue %s (%s)", configFile.c_str(),
                    DataFileStatusName(status));
    if (catalogue.Models().empty())
        return Fail(kExitSetup, "the device catalogue %s names no model", configFile.c_str());

    const KeyValueStore settings(SettingsFolder(ctx.app.application_name));
    const DeviceEntry* model = nullptr;
    if (options.model) {
        for (const DeviceEntry& m : catalogue.Models()) {
            if (Utf8(m.modelKey) == *options.model) {
                model = &m;
                break;
            }
        }
        if (!model)
            return Fail(kExitUsage, "no model \"%s\" in the catalogue", options.model->c_str());
    } else if (options.type) {
        model = catalogue.FindModel(*options.type);
        if (!model)
            return Fail(kExitUsage, "no model of type %d in the catalogue", *options.type);
    } else {
        model = catalogue.FindModel(ReadSelectedType(settings));
        if (!model)
            model = &catalogue.Models().front();
    }
    ctx.model = *model;

    const fs::path dataFolder = options.dataDir ? fs::path(*options.dataDir)
                                                : ApplicationDataFolder(ctx.app.application_name);
    if (!CreateFolderTree(dataFolder / "db"))
        return Fail(kExitSetup, "cannot create the folder %s", (dataFolder / "db").c_str());
    ctx.descriptionFile = DescriptionFilePath(ctx.exeFolder, ctx.model.modelKey);
    DescriptionLoad load;
    ReadDescriptionLoad(ctx.descriptionFile, load);  // without a file the defaults stay
    ctx.description.Apply(load);
    ctx.language = ShownLanguage(settings, ctx.app.languages, SystemUiLanguage());
    // The file, its schema and its profiles are made complete in one transaction.
    ctx.db = &ConfigDatabase::Instance();
    const EnsureProfilesResult profiles = OpenProfileStore(
        *ctx.db, dataFolder, ctx.model.modelKey, ctx.Text(kProfileWordText), ctx.descriptionFile);
    if (profiles.status != StoreStatus::kOk)
        return Fail(kExitSetup, "cannot open the database %s: %s; nothing was changed",
                    ctx.db->Path().c_str(), StoreStatusName(profiles.status));
    ctx.activeProfile = profiles.currentProfile;
    if (ctx.activeProfile < 1)
        return Fail(kExitSetup, "the database %s has no usable profile", ctx.db->Path().c_str());
    return kExitOk;
}

// A failure to read or write the store, printed: kExitDevice.
int StoreFailed(const char* what, StoreStatus status) {
    return Fail(kExitDevice, "cannot %s: %s", what, StoreStatusName(status));
}

// The lighting rows of `profile`, made when it has none (as the lighting page does on its first
// visit of a profile). kExitOk or the printed failure.
int EnsureLighting(StoreContext& ctx, int profile) {
    StoreStatus status = StoreStatus::kOk;
    if (EnsureLightSettings(*ctx.db, profile, ctx.description.lightEffects, &status) < 0) {
        return Fail(kExitDevice, "cannot create the lighting rows of profile %d: %s", profile,
                    StoreStatusName(status));
    }
    return kExitOk;
}

// OpenStore, then the profile the command works on: --profile N when it exists, else the
// active one.
int OpenStoreProfile(const StoreOptions& options, StoreContext& ctx, int& profile) {
    if (int code = OpenStore(options, ctx); code != kExitOk)
        return code;
    profile = options.profile.value_or(ctx.activeProfile);
    // A list that cannot be read is not a missing profile.
    std::vector<ProfileRecord> profiles;
    if (const StoreStatus status = ctx.db->GetProfiles(profiles); status != StoreStatus::kOk)
        return StoreFailed("read the profiles", status);
    if (std::none_of(profiles.begin(), profiles.end(),
                     [profile](const ProfileRecord& p) { return p.id == profile; }))
        return Fail(kExitUsage, "there is no profile %d", profile);
    return kExitOk;
}

// A whole decimal number, or hexadecimal with 0x.
std::optional<int> ParseNumber(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

// A colour as a colour value (red in the low byte): a number, or "#RRGGBB".
std::optional<int> ParseColour(std::string_view text) {
    if (!text.empty() && text[0] == '#') {
        if (text.size() != 7 || !std::all_of(text.begin() + 1, text.end(),
                                             [](unsigned char c) { return std::isxdigit(c) != 0; }))
            return std::nullopt;
        return ColorTextToValue(FromUtf8(text));
    }
    auto value = ParseNumber(text);
    if (!value || *value < 0 || *value > 0xFFFFFF)
        return std::nullopt;
    return value;
}

int UsageError(std::string_view command, const ArgReader& args, const char* fallback) {
    return Fail(kExitUsage, "%.*s: %s", static_cast<int>(command.size()), command.data(),
                args.Error().empty() ? fallback : args.Error().c_str());
}

// A subcommand with a fixed number of words after it.
struct Subcommand {
    const char* name;
    std::size_t words;
    const char* synopsis;
};

// kExitOk when `sub` is one of `table` and `words` words follow it; else the printed usage error.
int CheckSubcommand(const char* group, const std::string& sub, std::span<const Subcommand> table,
                    std::size_t words) {
    const auto shape = std::find_if(table.begin(), table.end(),
                                    [&](const Subcommand& s) { return sub == s.name; });
    if (shape == table.end())
        return Fail(kExitUsage, "%s: unknown subcommand \"%s\"", group, sub.c_str());
    if (words != shape->words)
        return Fail(kExitUsage, "usage: cursorialctl %s", shape->synopsis);
    return kExitOk;
}

int ExchangeFailure(const char* what, const std::string& file, ExchangeResult result) {
    return Fail(kExitDevice, "cannot %s %s: %s", what, file.c_str(), ExchangeResultName(result));
}

// --- profile -----------------------------------------------------------------------------------

int RunProfile(std::span<const std::string> argv) {
    if (argv.empty())
        return Fail(kExitUsage, "profile: give list, activate, rename, export or import");
    const std::string& sub = argv[0];
    ArgReader args(argv.subspan(1));
    StoreOptions options;
    if (!ReadStoreOptions(args, options, sub == "import", false))
        return UsageError("profile", args, "");
    const std::vector<std::string>& rest = args.Rest();
    static constexpr Subcommand kShapes[] = {{"list", 0, "profile list"},
                                             {"activate", 1, "profile activate N"},
                                             {"rename", 2, "profile rename N NAME"},
                                             {"export", 2, "profile export N FILE"},
                                             {"import", 1, "profile import FILE"}};
    if (int code = CheckSubcommand("profile", sub, kShapes, rest.size()); code != kExitOk)
        return code;
    std::optional<int> number;
    if (sub == "activate" || sub == "rename" || sub == "export") {
        number = ParseNumber(rest[0]);
        if (!number)
            return Fail(kExitUsage, "profile %s: \"%s\" is not a profile number", sub.c_str(),
                        rest[0].c_str());
        options.profile = number;
    }
    if (sub == "rename" && rest[1].empty())
        return Fail(kExitUsage, "profile rename: the name may not be empty");

    StoreContext ctx;
    int profile = 0;
    if (int code = OpenStoreProfile(options, ctx, profile); code != kExitOk)
        return code;
    ConfigDatabase& db = *ctx.db;
    const std::u16string word = ctx.Text(kProfileWordText);
    // In the program the profile a file is written from has its lighting rows (the lighting
    // page makes them on load). Without them an export would write mode 0, which turns the
    // lights off when the file is read back. An import makes them inside its own transaction,
    // after the file has been checked.
    if (sub == "export" && ctx.description.lighting) {
        if (int code = EnsureLighting(ctx, profile); code != kExitOk)
            return code;
    }

    if (sub == "list") {
        std::vector<ProfileRecord> profiles;
        if (const StoreStatus status = db.GetProfiles(profiles); status != StoreStatus::kOk)
            return StoreFailed("read the profiles", status);
        for (const ProfileRecord& p : profiles) {
            std::printf("%d %c %s\n", p.id, p.id == ctx.activeProfile ? '*' : '-',
                        Utf8(ProfileDisplayName(p.name, word)).c_str());
        }
        return kExitOk;
    }
    if (sub == "activate") {
        if (!ActivateProfile(db, profile))
            return Fail(kExitDevice, "cannot store the active profile");
        return kExitOk;
    }
    if (sub == "rename") {
        if (!db.RenameProfile(profile, FromUtf8(rest[1])))
            return Fail(kExitDevice, "cannot store the name");
        return kExitOk;
    }
    if (sub == "export") {
        std::u16string stored;
        db.GetProfileName(profile, stored);
        const ExchangeResult result = ExportProfile(db, profile, ProfileDisplayName(stored, word),
                                                    ctx.description.lighting, rest[1]);
        if (result != ExchangeResult::kOk)
            return ExchangeFailure("write", rest[1], result);
        return kExitOk;
    }
    // import
    std::u16string name;
    const ExchangeResult result = ImportProfile(db, profile, rest[0], ctx.description.lighting,
                                                &name, &ctx.description.lightEffects);
    if (result != ExchangeResult::kOk)
        return ExchangeFailure("import", rest[0], result);
    std::printf("%d %s\n", profile, Utf8(ProfileDisplayName(name, word)).c_str());
    return kExitOk;
}

// --- get / set ---------------------------------------------------------------------------------

int RunGet(std::span<const std::string> argv) {
    ArgReader args(argv);
    StoreOptions options;
    if (!ReadStoreOptions(args, options, true, false))
        return UsageError("get", args, "");
    if (args.Rest().empty())
        return Fail(kExitUsage, "usage: cursorialctl get [--profile N] KEY...");
    for (const std::string& key : args.Rest()) {
        if (!IsSettingKey(key))
            return Fail(kExitUsage, "get: \"%s\" is not a setting", key.c_str());
    }
    StoreContext ctx;
    int profile = 0;
    if (int code = OpenStoreProfile(options, ctx, profile); code != kExitOk)
        return code;
    auto hold = ctx.db->Hold();
    SQLiteReadTransaction snapshot(*ctx.db);
    if (!snapshot.Ok())
        return StoreFailed("read the settings", snapshot.Status());
    int result = kExitOk;
    for (const std::string& key : args.Rest()) {
        std::u16string value;
        if (!ctx.db->GetConfigValue(profile, FromUtf8(key), value)) {
            result = Fail(kExitDevice, "profile %d has no value for %s", profile, key.c_str());
            continue;
        }
        std::printf("%s=%s\n", key.c_str(), Utf8(value).c_str());
    }
    return result;
}

int RunSet(std::span<const std::string> argv) {
    ArgReader args(argv);
    StoreOptions options;
    if (!ReadStoreOptions(args, options, true, false))
        return UsageError("set", args, "");
    if (args.Rest().empty())
        return Fail(kExitUsage, "usage: cursorialctl set [--profile N] KEY=VALUE...");
    std::vector<std::pair<std::string, std::string>> writes;
    for (const std::string& word : args.Rest()) {
        const std::size_t equals = word.find('=');
        if (equals == std::string::npos)
            return Fail(kExitUsage, "set: \"%s\" is not KEY=VALUE", word.c_str());
        writes.emplace_back(word.substr(0, equals), word.substr(equals + 1));
        if (!IsSettingKey(writes.back().first))
            return Fail(kExitUsage, "set: \"%s\" is not a setting", writes.back().first.c_str());
    }
    StoreContext ctx;
    int profile = 0;
    if (int code = OpenStoreProfile(options, ctx, profile); code != kExitOk)
        return code;
    // All the values or none.
    auto hold = ctx.db->Hold();
    SQLiteWriteTransaction transaction(*ctx.db);
    if (!transaction.Ok())
        return StoreFailed("store the settings", transaction.Status());
    for (const auto& [key, value] : writes) {
        if (!ctx.db->SetConfigValue(profile, FromUtf8(key), FromUtf8(value)))
            return Fail(kExitDevice, "cannot store %s; nothing was changed", key.c_str());
    }
    if (const StoreStatus committed = transaction.Commit(); committed != StoreStatus::kOk)
        return StoreFailed("store the settings", committed);
    return kExitOk;
}

// --- buttons -----------------------------------------------------------------------------------

int RunButtons(std::span<const std::string> argv) {
    if (argv.empty())
        return Fail(kExitUsage, "buttons: give list, set or reset");
    const std::string& sub = argv[0];
    if (sub != "list" && sub != "set" && sub != "reset")
        return Fail(kExitUsage, "buttons: unknown subcommand \"%s\"", sub.c_str());
    ArgReader args(argv.subspan(1));
    StoreOptions options;
    const bool send = sub != "list" && args.TakeFlag("--send");
    if (!ReadStoreOptions(args, options, true, sub != "list"))
        return UsageError("buttons", args, "");
    const std::vector<std::string>& rest = args.Rest();
    std::vector<int> numbers;
    const std::size_t numberCount =
        sub == "set" ? std::min<std::size_t>(rest.size(), 4) : rest.size();
    for (std::size_t i = 0; i < numberCount; ++i) {
        // In "set", the fourth word is VALUE2 when it is a number, else the description.
        auto n = ParseNumber(rest[i]);
        if (!n) {
            if (sub == "set" && i == 3)
                break;
            return Fail(kExitUsage, "buttons %s: \"%s\" is not a number", sub.c_str(),
                        rest[i].c_str());
        }
        numbers.push_back(*n);
    }
    if ((sub == "list" && !rest.empty()) || (sub == "reset" && rest.size() > 1) ||
        (sub == "set" && (numbers.size() < 3 || rest.size() > numbers.size() + 1))) {
        return Fail(kExitUsage,
                    "usage: cursorialctl buttons list [--profile N] | buttons set "
                    "[--profile N] KEYCODE TYPE VALUE [VALUE2] [DESC] [--send] | "
                    "buttons reset [--profile N] [KEYCODE] [--send]");
    }

    StoreContext ctx;
    int profile = 0;
    if (int code = OpenStoreProfile(options, ctx, profile); code != kExitOk)
        return code;
    ConfigDatabase& db = *ctx.db;
    const std::vector<KeyAssignment>& defaults = ctx.description.defaultAssignments;
    auto isButton = [&](int keyCode) {
        return std::any_of(defaults.begin(), defaults.end(),
                           [&](const KeyAssignment& d) { return d.keyCode == keyCode; });
    };

    if (sub == "list") {
        auto hold = db.Hold();
        SQLiteReadTransaction snapshot(db);
        if (!snapshot.Ok())
            return StoreFailed("read the assignments", snapshot.Status());
        std::vector<KeyAssignment> stored;
        db.ListKeyAssignments(profile, stored);
        auto print = [](const KeyAssignment& k, const char* source, const std::u16string& text) {
            std::printf("%d %d %d %d %s %s\n", k.keyCode, k.type, k.value, k.value2, source,
                        Utf8(text).c_str());
        };
        for (const KeyAssignment& d : defaults) {
            auto own = std::find_if(stored.begin(), stored.end(),
                                    [&](const KeyAssignment& s) { return s.keyCode == d.keyCode; });
            if (own != stored.end())
                print(*own, "stored", own->description);
            else
                print(d, "default", ctx.Text(TextToInt(d.description)));
        }
        // Rows for key codes the description does not list (kept by the store, sent if < 9).
        std::sort(stored.begin(), stored.end(),
                  [](const auto& a, const auto& b) { return a.keyCode < b.keyCode; });
        for (const KeyAssignment& s : stored) {
            if (!isButton(s.keyCode))
                print(s, "stored", s.description);
        }
        return kExitOk;
    }

    int pendingKey = -1;
    if (sub == "set") {
        KeyAssignment record;
        record.profile = profile;
        record.keyCode = numbers[0];
        record.type = numbers[1];
        record.value = numbers[2];
        record.value2 = numbers.size() > 3 ? numbers[3] : 0;
        if (!isButton(record.keyCode))
            return Fail(kExitUsage, "buttons set: the %s has no button %d",
                        Utf8(ctx.model.name).c_str(), record.keyCode);
        if (record.type < 1 || record.type > 9)
            return Fail(kExitUsage, "buttons set: the type is a number from 1 to 9");
        if (rest.size() > numbers.size())
            record.description = FromUtf8(rest.back());
        if (record.type == 4) {
            Macro macro;
            if (!db.GetMacro(record.value, macro))
                return Fail(kExitUsage, "buttons set: there is no macro %d", record.value);
            if (rest.size() == numbers.size())
                record.description = ctx.MacroName(macro.name);
            pendingKey = record.keyCode;
        }
        if (db.SaveKeyAssignment(record) == 0 && (record.value != 0 || record.value2 != 0))
            return Fail(kExitDevice, "cannot store the assignment");
    } else if (!numbers.empty()) {
        // One button back on its default: a record with both values 0 only deletes.
        if (!isButton(numbers[0]))
            return Fail(kExitUsage, "buttons reset: the %s has no button %d",
                        Utf8(ctx.model.name).c_str(), numbers[0]);
        KeyAssignment record;
        record.profile = profile;
        record.keyCode = numbers[0];
        db.SaveKeyAssignment(record);
    } else if (!db.DeleteKeyAssignments(profile)) {
        return Fail(kExitDevice, "cannot reset the assignments");
    }
    return send ? SendButtonChange(db, ctx.Target(options.waitMs), profile, pendingKey,
                                   ctx.description.defaultAssignments)
                : kExitOk;
}

// --- macro -------------------------------------------------------------------------------------

int RunMacro(std::span<const std::string> argv) {
    if (argv.empty())
        return Fail(kExitUsage, "macro: give list, show, export, export-all, import or import-set");
    const std::string& sub = argv[0];
    ArgReader args(argv.subspan(1));
    StoreOptions options;
    if (!ReadStoreOptions(args, options, false, false))
        return UsageError("macro", args, "");
    const std::vector<std::string>& rest = args.Rest();
    static constexpr Subcommand kShapes[] = {{"list", 0, "macro list"},
                                             {"show", 1, "macro show ID"},
                                             {"export", 2, "macro export ID FILE"},
                                             {"export-all", 1, "macro export-all FILE"},
                                             {"import", 1, "macro import FILE"},
                                             {"import-set", 1, "macro import-set FILE"}};
    if (int code = CheckSubcommand("macro", sub, kShapes, rest.size()); code != kExitOk)
        return code;
    std::optional<int> id;
    if (sub == "show" || sub == "export") {
        id = ParseNumber(rest[0]);
        if (!id)
            return Fail(kExitUsage, "macro %s: \"%s\" is not a macro id", sub.c_str(),
                        rest[0].c_str());
    }

    StoreContext ctx;
    if (int code = OpenStore(options, ctx); code != kExitOk)
        return code;
    ConfigDatabase& db = *ctx.db;
    std::vector<MacroEvent> events;

    // Once the view is taken the reads cannot meet another program's lock.
    auto hold = db.Hold();
    std::optional<SQLiteReadTransaction> snapshot;
    if (sub == "list" || sub == "show") {
        snapshot.emplace(db);
        if (!snapshot->Ok())
            return StoreFailed("read the macros", snapshot->Status());
    }
    if (sub == "list") {
        std::vector<Macro> macros;
        db.ListMacros(macros);
        for (const Macro& m : macros) {
            std::printf("%d %d %s\n", m.id, db.ListMacroEvents(m.id, events),
                        Utf8(ctx.MacroName(m.name)).c_str());
        }
        return kExitOk;
    }
    if (sub == "show") {
        Macro m;
        if (!db.GetMacro(*id, m))
            return Fail(kExitUsage, "there is no macro %d", *id);
        std::printf("id=%d\nname=%s\nplay_type=%d\nplay_count=%d\ndelay_type=%d\ndelay_time=%d\n",
                    m.id, Utf8(ctx.MacroName(m.name)).c_str(), m.playType, m.playCount, m.delayType,
                    m.delayTime);
        db.ListMacroEvents(m.id, events);
        for (const MacroEvent& e : events) {
            std::printf("event %d %d %d %d %s\n", e.position, e.kind, e.value, e.timestamp,
                        Utf8(e.description).c_str());
        }
        return kExitOk;
    }
    if (sub == "export") {
        Macro m;
        if (!db.GetMacro(*id, m))
            return Fail(kExitUsage, "there is no macro %d", *id);
        const ExchangeResult result = ExportMacro(db, *id, ctx.MacroName(m.name), rest[1]);
        return result == ExchangeResult::kOk ? kExitOk : ExchangeFailure("write", rest[1], result);
    }
    if (sub == "export-all") {
        const ExchangeResult result = ExportAllMacros(db, rest[0]);
        return result == ExchangeResult::kOk ? kExitOk : ExchangeFailure("write", rest[0], result);
    }
    std::vector<Macro> added;
    const ExchangeResult result =
        sub == "import" ? ImportMacro(db, rest[0], &added) : ImportMacroSet(db, rest[0], &added);
    if (result != ExchangeResult::kOk)
        return ExchangeFailure("import", rest[0], result);
    for (const Macro& m : added)
        std::printf("%d %s\n", m.id, Utf8(ctx.MacroName(m.name)).c_str());
    return kExitOk;
}

// --- lighting ----------------------------------------------------------------------------------

int RunLighting(std::span<const std::string> argv) {
    if (argv.empty())
        return Fail(kExitUsage, "lighting: give list or set");
    const std::string& sub = argv[0];
    if (sub != "list" && sub != "set")
        return Fail(kExitUsage, "lighting: unknown subcommand \"%s\"", sub.c_str());
    ArgReader args(argv.subspan(1));
    StoreOptions options;
    if (!ReadStoreOptions(args, options, true, false))
        return UsageError("lighting", args, "");
    const std::vector<std::string>& rest = args.Rest();
    if ((sub == "list" && !rest.empty()) || (sub == "set" && rest.empty()))
        return Fail(kExitUsage,
                    "usage: cursorialctl lighting list [--profile N] | lighting set "
                    "[--profile N] MODE [brightness=B] [speed=S] [colors=C1,...]");
    std::optional<int> mode, brightness, speed;
    std::vector<int> colours;
    if (sub == "set") {
        mode = ParseNumber(rest[0]);
        if (!mode)
            return Fail(kExitUsage, "lighting set: \"%s\" is not a mode", rest[0].c_str());
        for (std::size_t i = 1; i < rest.size(); ++i) {
            const std::string& word = rest[i];
            const std::size_t equals = word.find('=');
            const std::string name = word.substr(0, equals);
            const std::string value = equals == std::string::npos ? "" : word.substr(equals + 1);
            if (name == "brightness" || name == "speed") {
                auto n = ParseNumber(value);
                if (!n || *n < 0 || *n > 4)
                    return Fail(kExitUsage, "lighting set: %s is a number from 0 to 4",
                                name.c_str());
                (name == "brightness" ? brightness : speed) = n;
            } else if (name == "colors") {
                std::size_t start = 0;
                while (start <= value.size()) {
                    const std::size_t comma = std::min(value.find(',', start), value.size());
                    auto c = ParseColour(std::string_view(value).substr(start, comma - start));
                    if (!c || colours.size() == std::tuple_size_v<decltype(LightSetting::colors)>)
                        return Fail(kExitUsage,
                                    "lighting set: colors wants up to 7 colours, "
                                    "each a number or #RRGGBB");
                    colours.push_back(*c);
                    start = comma + 1;
                }
            } else {
                return Fail(kExitUsage, "lighting set: unknown parameter \"%s\"", word.c_str());
            }
        }
    }

    StoreContext ctx;
    int profile = 0;
    if (int code = OpenStoreProfile(options, ctx, profile); code != kExitOk)
        return code;
    if (!ctx.description.lighting)
        return Fail(kExitUsage, "the %s has no lighting", Utf8(ctx.model.name).c_str());
    ConfigDatabase& db = *ctx.db;
    if (int code = EnsureLighting(ctx, profile); code != kExitOk)
        return code;

    if (sub == "list") {
        auto hold = db.Hold();
        SQLiteReadTransaction snapshot(db);
        if (!snapshot.Ok())
            return StoreFailed("read the lighting", snapshot.Status());
        std::vector<LightSetting> rows;
        db.ListLightSettings(profile, rows);
        for (const LightSetting& row : rows) {
            std::string colourList;
            for (int c : row.colors)
                colourList += (colourList.empty() ? "" : ",") + std::to_string(c);
            std::printf("%d %c %d %d %s %s\n", row.mode, row.status == 1 ? '*' : '-',
                        row.brightness, row.speed, colourList.c_str(),
                        Utf8(ctx.Text(row.reserved)).c_str());
        }
        return kExitOk;
    }
    LightSetting row;
    if (!db.GetLightSetting(profile, *mode, row))
        return Fail(kExitUsage, "lighting set: the %s does not offer mode %d",
                    Utf8(ctx.model.name).c_str(), *mode);
    if (brightness)
        row.brightness = *brightness;
    if (speed)
        row.speed = *speed;
    std::copy(colours.begin(), colours.end(), row.colors.begin());
    if (!db.UpdateLightSetting(*mode, row) || !db.SetActiveLightMode(profile, *mode))
        return Fail(kExitDevice, "cannot store the lighting");
    return kExitOk;
}

// --- defaults, apply ---------------------------------------------------------------------------

int RunDefaults(std::span<const std::string> argv) {
    ArgReader args(argv);
    StoreOptions options;
    const bool dpiOnly = args.TakeFlag("--dpi-only");
    if (!ReadStoreOptions(args, options, true, false) || !args.Rest().empty())
        return UsageError("defaults", args, "unexpected argument");
    StoreContext ctx;
    int profile = 0;
    if (int code = OpenStoreProfile(options, ctx, profile); code != kExitOk)
        return code;
    const DefaultsResult result =
        ApplyDescriptionDefaults(*ctx.db, ctx.descriptionFile, profile, dpiOnly);
    if (result.store != StoreStatus::kOk)
        return StoreFailed("store the defaults", result.store);
    if (result.status != DataFileStatus::kOk)
        return Fail(kExitSetup, "cannot read the description %s (%s)", ctx.descriptionFile.c_str(),
                    DataFileStatusName(result.status));
    return kExitOk;
}

int RunApply(std::span<const std::string> argv) {
    ArgReader args(argv);
    StoreOptions options;
    if (!ReadStoreOptions(args, options, true, true) || !args.Rest().empty())
        return UsageError("apply", args, "unexpected argument");
    StoreContext ctx;
    int profile = 0;
    if (int code = OpenStoreProfile(options, ctx, profile); code != kExitOk)
        return code;
    // As the pages' refresh before the write: a profile without lighting rows gets them.
    if (ctx.description.lighting) {
        if (int code = EnsureLighting(ctx, profile); code != kExitOk)
            return code;
    }
    return ApplyProfile(*ctx.db, ctx.Target(options.waitMs), profile, ctx.description.lighting,
                        ctx.description.lightEffects, ctx.description.defaultAssignments);
}

constexpr CommandSpec kCommands[] = {
    {"profile", "list|activate N|rename N NAME|export N FILE|import FILE",
     "the model's four profiles (store only)", RunProfile},
    {"get", "[--profile N] KEY...", "print settings of a profile", RunGet},
    {"set", "[--profile N] KEY=VALUE...", "store settings of a profile", RunSet},
    {"buttons", "list|set KEYCODE TYPE VALUE [VALUE2] [DESC]|reset [KEYCODE] [--send]",
     "button assignments of a profile", RunButtons},
    {"macro", "list|show ID|export ID FILE|export-all FILE|import FILE|import-set FILE",
     "macros and macro files", RunMacro},
    {"lighting", "list|set MODE [brightness=B] [speed=S] [colors=C1,...]",
     "lighting of a profile (store only)", RunLighting},
    {"defaults", "[--profile N] [--dpi-only]", "write the model's defaults into a profile",
     RunDefaults},
    {"apply", "[--profile N]", "write a stored profile to the mouse", RunApply},
};

}  // namespace

std::span<const CommandSpec> StoreCommands() {
    return kCommands;
}

}  // namespace cursorial::cli
