#include "controller/ProfileDlg.h"

#include <algorithm>

#include <QCoreApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QObject>
#include <QPointer>

#include "app/LanguageTexts.h"
#include "app/TextIds.h"
#include "common/dui/DListBox.h"
#include "common/dui/MButton.h"
#include "common/dui/MPicture.h"
#include "controller/WindowMessages.h"
#include "exchange/ProfileManager.h"
#include "store/ConfigDatabase.h"

namespace cursorial {

using namespace DUI;

namespace {

constexpr int kListFontSize = 14;
constexpr int kBackgroundMargin = 10;

// Ends an in-place edit of `list` that is still open, storing its text: the list does that when
// its field loses the focus, so the field is told so, whether or not the pop-up holds the
// keyboard.
void EndInPlaceEdit(DListBox& list) {
    if (!list.IsEditing())
        return;
    if (auto* field = list.findChild<QLineEdit*>()) {
        QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
        QCoreApplication::sendEvent(field, &out);
    }
}

bool IsEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// The list's keys and mouse buttons as the pop-up needs them: Enter chooses, Escape closes, and
// a click notification counts as a choice only when a mouse release caused it (the list reports
// keyboard moves with the same code). Enter in the in-place field only ends the edit: the field
// would pass the key on to the list, where it would choose.
class ListInput : public QObject {
public:
    ListInput(ProfileDlg& dialog, DListBox& list)
        : dialog_(dialog), list_(list), field_(list.findChild<QLineEdit*>()) {
        list.installEventFilter(this);
        // Runs before the list's own filter on the field, so the key never reaches the field.
        if (field_)
            field_->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == field_.data()) {
            if (event->type() == QEvent::KeyPress &&
                IsEnter(static_cast<QKeyEvent*>(event)->key()) && list_.IsEditing()) {
                EndInPlaceEdit(list_);
                return true;
            }
            return false;
        }
        if (watched != &list_)
            return false;
        switch (event->type()) {
            case QEvent::MouseButtonPress:
                dialog_.SetMouseClick(false);
                break;
            case QEvent::MouseButtonRelease:
                dialog_.SetMouseClick(static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton);
                break;
            case QEvent::KeyPress: {
                dialog_.SetMouseClick(false);
                const int key = static_cast<QKeyEvent*>(event)->key();
                if (list_.IsEditing())
                    break;
                if (IsEnter(key)) {
                    dialog_.ChooseSelected();
                    return true;
                }
                if (key == Qt::Key_Escape) {
                    dialog_.Dismiss();
                    return true;
                }
                break;
            }
            default:
                break;
        }
        return false;
    }

private:
    ProfileDlg& dialog_;
    DListBox& list_;
    // Held as an object: the filter also sees the field while it is being destroyed, when it
    // is no longer a line edit.
    QPointer<QObject> field_;
};

}  // namespace

ProfileDlg::ProfileDlg(ProfilePopupContext context)
    : context_(context), renamedProfile_(context.currentProfile) {}

ProfileDlg::~ProfileDlg() = default;

MRect ProfileDlg::PopupRect(const MRect& button) {
    return {button.left, button.top - kRiseAbove, button.right, button.top - kGapAbove};
}

int ProfileDlg::Run(const MRect& button, const ProfilePopupContext& context) {
    MRect rect = PopupRect(button);
    if (context.owner)
        rect = context.owner->ClientToScreen(rect);
    ProfileDlg dialog(context);
    // A pop-up of the kit: a click outside closes it, and it hears of that first.
    if (!dialog.Create(context.owner, kWindowTitle,
                       WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, WS_EX_DUI_POPUP,
                       rect))
        return -1;
    const int result = dialog.ShowModal(SW_SHOW);
    dialog.DestroyWindow();
    return result;
}

std::vector<ProfileDlg::Entry> ProfileDlg::LoadProfiles() {
    std::vector<Entry> entries;
    if (!context_.store)
        return entries;
    std::vector<ProfileRecord> records;
    // A busy or failed store leaves the list empty: the pop-up then offers only its buttons.
    if (context_.store->GetProfiles(records) != StoreStatus::kOk)
        return entries;
    for (const ProfileRecord& r : records)
        entries.push_back({r.id, r.name});
    return entries;
}

std::u16string ProfileDlg::ShownName(const std::u16string& stored) const {
    return ProfileDisplayName(stored,
                              context_.texts ? context_.texts->Text(text_id::kProfileWord) : u"");
}

int ProfileDlg::OnInitDialog() {
    MDialog::OnInitDialog();
    if (list_) {
        // Owned by the list, so it goes with the window's controls.
        auto* input = new ListInput(*this, *list_);
        input->setParent(list_);
    }
    return 1;
}

void ProfileDlg::InitUI(const MRect&) {
    if (auto* background = MControlHost::Create<MPicture>(kBackgroundId)) {
        background->SetImage(u"img_area_content.png");
        background->SetImageMode(kDrawBordersFit, kBackgroundMargin);
    }
    list_ = MControlHost::Create<DListBox>(kListId);
    if (list_) {
        list_->SetFontSize(kListFontSize);
        list_->SetAlign(kAlignCenter);
        list_->SetImage(u"img_list_bkg.png");
        list_->SetEditable(true);
        profiles_ = LoadProfiles();
        for (const Entry& e : profiles_)
            list_->AddItem(ShownName(e.storedName), e.id);
        list_->SetSelectItem(list_->FindItemByData(context_.currentProfile));
    }
    const auto button = [this](int id, int textId) {
        if (auto* b = MControlHost::Create<MButton>(
                id, {}, context_.texts ? context_.texts->Text(textId) : std::u16string()))
            b->SetImage(u"img_button.png", 4);
    };
    button(kImportId, text_id::kImport);
    button(kExportId, text_id::kExport);
}

void ProfileDlg::UISize(const MRect& client) {
    const int w = client.Width();
    const int h = client.Height();
    const int mid = w / 2;
    const auto place = [this](int id, const MRect& r) {
        if (MControl* control = GetControl(id))
            control->SetRect(r);
    };
    place(kBackgroundId, {0, 0, w, h});
    place(kListId, {10, 10, w - 10, h - 45});
    place(kImportId, {10, h - 35, mid - 5, h - 7});
    place(kExportId, {mid + 5, h - 35, w - 10, h - 7});
}

int ProfileDlg::OnMessage(int controlId, int code, WPARAM value1, LPARAM) {
    if (finished_)
        return 0;
    if (controlId == kListId && code == kNotifyEditFinished) {
        OnEditFinished(static_cast<int>(value1));
        return 1;
    }
    if (controlId == kListId && code == kNotifyClick) {
        if (!mouseClick_)
            return 1;  // the keys moved the selection: no choice yet
        mouseClick_ = false;
        CommitEdit();
        // The profile clicked is the one to switch to; a rename before it is stored already.
        finished_ = true;
        Post(kSwitch, static_cast<int>(list_->GetItemData(static_cast<int>(value1))));
        EndDialog(IDOK);
        return 1;
    }
    if ((controlId == kImportId || controlId == kExportId) && code == kNotifyClick) {
        Finish(true, controlId == kImportId ? kImport : kExport, SelectedProfile());
        return 1;
    }
    return 0;
}

int ProfileDlg::OnNcActivate(bool active) {
    if (active) {
        if (list_)
            list_->SetFocus();
    } else if (IsModal()) {
        Finish(false, 0, 0);
    }
    return 1;
}

void ProfileDlg::ChooseSelected() {
    if (finished_ || !list_)
        return;
    const int index = list_->GetSelectItem();
    if (index < 0)
        return;
    finished_ = true;
    Post(kSwitch, static_cast<int>(list_->GetItemData(index)));
    EndDialog(IDOK);
}

void ProfileDlg::Dismiss() {
    Finish(false, 0, 0);
}

void ProfileDlg::CommitEdit() {
    if (list_)
        EndInPlaceEdit(*list_);
}

void ProfileDlg::OnEditFinished(int index) {
    const int id = static_cast<int>(list_->GetItemData(index));
    const std::u16string typed = list_->GetEditText();
    auto entry = std::find_if(profiles_.begin(), profiles_.end(),
                              [id](const Entry& e) { return e.id == id; });
    if (entry == profiles_.end())
        return;
    if (!typed.empty() && context_.store && context_.store->RenameProfile(id, typed)) {
        entry->storedName = typed;
        renamedProfile_ = id;
        nameChanged_ = true;
    }
    // The list took the typed text as it is; show what the store now holds, in this language.
    list_->SetItemText(index, ShownName(entry->storedName));
}

void ProfileDlg::Finish(bool withAction, WPARAM action, int profile) {
    if (finished_)
        return;
    CommitEdit();
    finished_ = true;
    if (nameChanged_)
        Post(kSwitch, renamedProfile_);
    if (withAction)
        Post(action, profile);
    EndDialog(withAction ? IDOK : IDCANCEL);
}

void ProfileDlg::Post(WPARAM action, int profile) const {
    if (context_.owner)
        context_.owner->PostMessage(msg::kProfileChoice, action, profile);
}

int ProfileDlg::SelectedProfile() const {
    const int index = list_ ? list_->GetSelectItem() : -1;
    return index >= 0 ? static_cast<int>(list_->GetItemData(index)) : context_.currentProfile;
}

}  // namespace cursorial
