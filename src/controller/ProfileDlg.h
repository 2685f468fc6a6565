// ProfileDlg: the profile pop-up above the main window's profile button. It lists the model's
// profiles by their shown names, renames them in place, and tells its owner what the user chose
// by posting msg::kProfileChoice (first parameter the action, last parameter a profile id):
//   a click on a profile (or Enter)  -> (kSwitch, that profile)
//   Import / Export                  -> (kSwitch, renamed) when a name was changed, then
//                                       (kImport or kExport, the selected profile)
//   a click outside (or Escape)      -> (kSwitch, renamed) when a name was changed
// The pop-up closes after each of these. A renamed profile is switched to so that the owner
// shows its new name.
#pragma once

#include <string>
#include <vector>

#include <QPointer>

#include "common/dui/DListBox.h"
#include "common/dui/MWindow.h"

namespace cursorial {

class ConfigDatabase;
class LanguageTexts;

// What the pop-up works with: the window it reports to, the texts, the model's store and the
// profile the owner has current.
struct ProfilePopupContext {
    DUI::MWindow* owner = nullptr;
    const LanguageTexts* texts = nullptr;
    ConfigDatabase* store = nullptr;
    int currentProfile = 0;
};

class ProfileDlg : public DUI::MDialog {
public:
    static constexpr const char16_t* kWindowTitle = u"ProfileDlg";

    // Actions, the first parameter of msg::kProfileChoice.
    static constexpr DUI::WPARAM kSwitch = 0;
    static constexpr DUI::WPARAM kImport = 1;
    static constexpr DUI::WPARAM kExport = 2;

    static constexpr int kBackgroundId = 30;
    static constexpr int kListId = 31;
    static constexpr int kImportId = 32;
    static constexpr int kExportId = 33;

    // Height of the pop-up's room above the button, and its gap to the button.
    static constexpr int kRiseAbove = 210;
    static constexpr int kGapAbove = 5;

    explicit ProfileDlg(ProfilePopupContext context);
    ~ProfileDlg() override;

    // The pop-up's rectangle in the owner's client coordinates for a profile button at
    // `button` (owner client coordinates): as wide as the button, from 210 to 5 pixels above it.
    static DUI::MRect PopupRect(const DUI::MRect& button);

    // Opens the pop-up above `button` (context.owner's client coordinates) and runs it until it
    // closes. Its choice arrives at the owner as posted messages.
    static int Run(const DUI::MRect& button, const ProfilePopupContext& context);

    int OnInitDialog() override;
    void InitUI(const DUI::MRect& client) override;
    void UISize(const DUI::MRect& client) override;
    int OnMessage(int controlId, int code, DUI::WPARAM value1, DUI::LPARAM value2) override;
    int OnNcActivate(bool active) override;

    // Keyboard (called by the list's key filter): Enter chooses the selected profile, Escape
    // closes as a click outside does.
    void ChooseSelected();
    void Dismiss();
    // The list saw a mouse press (false) or release (true): only a release makes its next
    // click notification a choice, so moving the selection with the keys chooses nothing.
    void SetMouseClick(bool released) { mouseClick_ = released; }

private:
    struct Entry {
        int id;
        std::u16string storedName;
    };
    // The store's profiles, in id order. The one place the pop-up reads them.
    std::vector<Entry> LoadProfiles();
    std::u16string ShownName(const std::u16string& stored) const;
    // Ends an in-place edit still open, storing its text (as leaving the field does).
    void CommitEdit();
    void OnEditFinished(int index);
    // Posts (kSwitch, renamed) when a name was changed, then `action` when given, and closes.
    void Finish(bool withAction, DUI::WPARAM action, int profile);
    void Post(DUI::WPARAM action, int profile) const;
    int SelectedProfile() const;

    ProfilePopupContext context_;
    QPointer<DUI::DListBox> list_;
    std::vector<Entry> profiles_;
    int renamedProfile_;
    bool nameChanged_ = false;
    bool mouseClick_ = false;
    bool finished_ = false;
};

}  // namespace cursorial
