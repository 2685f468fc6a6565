// The window side of the profile exchange file: the file dialogs, the notices, and the calls
// into the exchange code that reads and writes the file. Runs on the window thread.
#pragma once

#include <filesystem>
#include <functional>
#include <string_view>

#include "app/TextIds.h"
#include "exchange/ExchangeResult.h"

namespace DUI {
class MWindow;
}

namespace cursorial {

class ConfigDatabase;
class LanguageTexts;

// Which file dialog is asked for.
enum class ProfileFileDialog {
    kOpen,  // an existing file to import
    kSave,  // a file to export to (an existing one is replaced after confirmation)
};

// Answers the path the user chose, or an empty path when they cancelled.
using ProfilePathChooser =
    std::function<std::filesystem::path(DUI::MWindow* owner, ProfileFileDialog dialog)>;

// The platform's file dialog: "MouseKey (*.xml)" to open, "Profile (*.xml)" to save (with the
// extension added to a typed name that has none).
std::filesystem::path ChooseProfilePath(DUI::MWindow* owner, ProfileFileDialog dialog);

class ProfileFiles {
public:
    // The notices (title: the notice title, 576).
    static constexpr int kImportFailedText = UsedTextId(28);
    static constexpr int kExportFailedText = UsedTextId(29);

    // `choosePath` null: ChooseProfilePath.
    ProfileFiles(DUI::MWindow* owner, const LanguageTexts& texts, ConfigDatabase& store,
                 ProfilePathChooser choosePath = {});

    // Asks for a file and reads it into `currentProfile`. True when the profile was replaced:
    // the caller then shows its new name and writes it to the mouse. A cancelled dialog changes
    // nothing and says nothing; a file that cannot be imported changes nothing and says so.
    bool Import(int currentProfile, bool hasLighting);

    // Asks for a file and writes `profile` to it, named `displayName` inside. True when the file
    // was written; a file that cannot be written is reported.
    bool Export(int profile, std::u16string_view displayName, bool hasLighting);

    // The result of the last Import or Export (kCancelled when the dialog was cancelled).
    ExchangeResult LastResult() const { return last_; }

private:
    void Tell(int textId) const;

    DUI::MWindow* owner_;
    const LanguageTexts& texts_;
    ConfigDatabase& store_;
    ProfilePathChooser choosePath_;
    ExchangeResult last_ = ExchangeResult::kCancelled;
};

}  // namespace cursorial
