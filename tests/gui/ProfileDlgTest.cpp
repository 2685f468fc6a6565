// The profile pop-up driven as the user would, with its owner recording what it was told, and
// the profile file dialogs with the chosen path handed in.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include <utility>
#include <vector>

#include "../exchange/ExchangeTestSupport.h"
#include "GuiTestSupport.h"
#include "app/LanguageTexts.h"
#include "common/dui/DListBox.h"
#include "controller/ProfileDlg.h"
#include "controller/ProfileFiles.h"
#include "controller/WindowMessages.h"
#include "dialogs/CUIMessageBox.h"
#include "store/ConfigDatabase.h"

namespace cursorial {
namespace {

using namespace DUI;
using testing::Click;
using testing::Pump;
using testing::WhileModal;

// German, so that the shown names visibly take the language's word ("Profil").
const LanguageTexts& German() {
    static const LanguageTexts texts(CURSORIAL_OUTPUT_DIR, 1031);
    return texts;
}

using Choice = std::pair<WPARAM, LPARAM>;

// The main window's part: it hears the pop-up's choices.
class Owner : public MDialog {
public:
    LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == msg::kProfileChoice)
            choices.emplace_back(wParam, lParam);
        return MDialog::OnWindowMessage(message, wParam, lParam);
    }
    std::vector<Choice> choices;
};

// Where the owner's profile button sits (owner client coordinates), and the owner's place.
constexpr MRect kButton{20, 250, 220, 280};
constexpr MRect kOwnerRect{100, 400, 600, 700};

void ClickRow(DListBox& list, int row) {
    QTest::mouseClick(&list, Qt::LeftButton, {}, list.GetItemRect(row).center());
}

void Rename(DListBox& list, int row, const QString& text) {
    list.EditItem(row);
    auto* field = list.findChild<QLineEdit*>();
    ASSERT_NE(field, nullptr);
    ASSERT_TRUE(field->isVisible());
    field->setText(text);
}

// What Qt does to a pop-up on a click outside it.
void ClickOutside(MWindow& popup) {
    popup.GetWidget()->close();
}

class ProfilePopup : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(db_.OpenForDevice(folder_.path(), u"TEST"));
        for (const char16_t* name : {u"Profile 1", u"配置2", u"Gaming", u"Profile 4"}) {
            ProfileRecord record;
            record.name = name;
            ASSERT_GT(db_.AddProfile(record), 0);
        }
        ASSERT_TRUE(owner_.Create(nullptr, u"Owner", WS_POPUP | WS_VISIBLE, 0, kOwnerRect));
    }

    // Opens the pop-up with profile `current`, runs `step` on it, and answers the run's result
    // once the posted choices have reached the owner.
    int Run(int current, const std::function<void(MWindow&, DListBox&)>& step) {
        bool ran = false;
        WhileModal([&] {
            MWindow* popup = MWindow::FindWindowByTitle(ProfileDlg::kWindowTitle);
            ASSERT_NE(popup, nullptr);
            auto* list = popup->GetControl<DListBox>(ProfileDlg::kListId);
            ASSERT_NE(list, nullptr);
            ran = true;
            step(*popup, *list);
        });
        const int result = ProfileDlg::Run(kButton, {&owner_, &German(), &db_, current});
        Pump();
        EXPECT_TRUE(ran);
        EXPECT_EQ(MWindow::FindWindowByTitle(ProfileDlg::kWindowTitle), nullptr)
            << "the pop-up is gone after its run";
        return result;
    }

    std::u16string StoredName(int profile) {
        std::u16string name;
        db_.GetProfileName(profile, name);
        return name;
    }

    test::ScratchFolder folder_;
    ConfigDatabase db_;
    Owner owner_;
};

TEST_F(ProfilePopup, SitsAboveTheButtonAndListsTheShownNamesWithTheCurrentSelected) {
    Run(3, [](MWindow& popup, DListBox& list) {
        // 210 to 5 pixels above the button, as wide as it, in screen coordinates.
        EXPECT_EQ(popup.GetWindowRect(), (MRect{120, 440, 320, 645}));
        const MRect client = popup.GetClientRect();
        EXPECT_EQ(client, (MRect{0, 0, 200, 205}));
        EXPECT_EQ(list.GetRect(), (MRect{10, 10, 190, 160}));
        EXPECT_EQ(popup.GetControl(ProfileDlg::kImportId)->GetRect(), (MRect{10, 170, 95, 198}));
        EXPECT_EQ(popup.GetControl(ProfileDlg::kExportId)->GetRect(), (MRect{105, 170, 190, 198}));
        EXPECT_EQ(popup.GetControl(ProfileDlg::kImportId)->GetTitle(), German().Text(26));
        EXPECT_EQ(popup.GetControl(ProfileDlg::kExportId)->GetTitle(), German().Text(27));
        EXPECT_EQ(popup.GetControl(ProfileDlg::kBackgroundId)->GetImage(), u"img_area_content.png");
        EXPECT_TRUE(list.IsEditable());

        const std::u16string word = German().Text(61);
        ASSERT_EQ(word, u"Profil");
        const std::vector<std::pair<std::u16string, std::intptr_t>> expected = {
            {word + u"  1", 1},  // the rest keeps its own space
            {word + u" 2", 2},
            {u"Gaming", 3},
            {word + u"  4", 4},
        };
        ASSERT_EQ(list.GetCount(), 4);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(list.GetItemText(i), expected[i].first) << i;
            EXPECT_EQ(list.GetItemData(i), expected[i].second) << i;
        }
        EXPECT_EQ(list.GetSelectItem(), 2);
        ClickOutside(popup);
    });
    EXPECT_TRUE(owner_.choices.empty());
}

// Each way of leaving the pop-up, and what the owner is told.
struct LeaveCase {
    const char* name;
    std::function<void(MWindow&, DListBox&)> act;
    std::vector<Choice> expected;
    int result;
};

class LeavingThePopup : public ProfilePopup, public ::testing::WithParamInterface<LeaveCase> {};

TEST_P(LeavingThePopup, TellsTheOwnerWhatWasChosen) {
    const LeaveCase& c = GetParam();
    EXPECT_EQ(Run(2, c.act), c.result);
    EXPECT_EQ(owner_.choices, c.expected);
    EXPECT_EQ(StoredName(3), u"Gaming") << "nothing was renamed";
}

INSTANTIATE_TEST_SUITE_P(
    Ways, LeavingThePopup,
    ::testing::Values(
        LeaveCase{"ClickOnAProfile",
                  [](MWindow&, DListBox& list) { ClickRow(list, 3); },
                  {{ProfileDlg::kSwitch, 4}},
                  IDOK},
        LeaveCase{"KeysMoveThenEnterChooses",
                  [](MWindow&, DListBox& list) {
                      QTest::keyClick(&list, Qt::Key_Down);
                      EXPECT_TRUE(list.isVisible()) << "moving the selection chooses nothing";
                      QTest::keyClick(&list, Qt::Key_Return);
                  },
                  {{ProfileDlg::kSwitch, 3}},
                  IDOK},
        LeaveCase{"EscapeClosesWithoutAChoice",
                  [](MWindow&, DListBox& list) { QTest::keyClick(&list, Qt::Key_Escape); },
                  {},
                  IDCANCEL},
        LeaveCase{"ClickOutsideWithoutARename",
                  [](MWindow& popup, DListBox&) { ClickOutside(popup); },
                  {},
                  IDCANCEL},
        LeaveCase{"ImportTheSelected",
                  [](MWindow& popup, DListBox&) { Click(popup, ProfileDlg::kImportId); },
                  {{ProfileDlg::kImport, 2}},
                  IDOK},
        LeaveCase{"ExportTheOneSelectedByKeys",
                  [](MWindow& popup, DListBox& list) {
                      QTest::keyClick(&list, Qt::Key_Up);
                      Click(popup, ProfileDlg::kExportId);
                  },
                  {{ProfileDlg::kExport, 1}},
                  IDOK}),
    [](const auto& p) { return std::string(p.param.name); });

// A rename is stored at once; the pop-up then also switches to the renamed profile, so the owner
// shows the new name, before the action that closed it.
struct RenameCase {
    const char* name;
    std::function<void(MWindow&)> close;
    std::vector<Choice> expected;
};

class RenamingAProfile : public ProfilePopup, public ::testing::WithParamInterface<RenameCase> {};

TEST_P(RenamingAProfile, StoresTheNameAndSwitchesToIt) {
    const RenameCase& c = GetParam();
    Run(1, [&c](MWindow& popup, DListBox& list) {
        Rename(list, 2, QStringLiteral("Arbeit"));
        c.close(popup);
    });
    EXPECT_EQ(owner_.choices, c.expected);
    EXPECT_EQ(StoredName(3), u"Arbeit");
    EXPECT_EQ(StoredName(1), u"Profile 1");
}

INSTANTIATE_TEST_SUITE_P(
    Closes, RenamingAProfile,
    ::testing::Values(RenameCase{"ClickOutside",
                                 [](MWindow& popup) { ClickOutside(popup); },
                                 {{ProfileDlg::kSwitch, 3}}},
                      RenameCase{"Import",
                                 [](MWindow& popup) { Click(popup, ProfileDlg::kImportId); },
                                 {{ProfileDlg::kSwitch, 3}, {ProfileDlg::kImport, 3}}},
                      RenameCase{"Export",
                                 [](MWindow& popup) { Click(popup, ProfileDlg::kExportId); },
                                 {{ProfileDlg::kSwitch, 3}, {ProfileDlg::kExport, 3}}}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(ProfilePopup, RenamedNameShowsInTheLanguageAndAnEmptyNameKeepsTheOld) {
    Run(1, [](MWindow& popup, DListBox& list) {
        Rename(list, 0, QString());
        QTest::keyClick(list.findChild<QLineEdit*>(), Qt::Key_Return);
        EXPECT_FALSE(list.IsEditing());
        EXPECT_EQ(list.GetItemText(0), German().Text(61) + u"  1") << "the old name is shown";

        Rename(list, 2, QStringLiteral("Profile X"));
        QTest::keyClick(list.findChild<QLineEdit*>(), Qt::Key_Return);
        EXPECT_EQ(list.GetItemText(2), German().Text(61) + u"  X") << "shown as the store has it";
        EXPECT_TRUE(list.isVisible()) << "ending an edit does not close the pop-up";
        ClickOutside(popup);
    });
    EXPECT_EQ(StoredName(1), u"Profile 1");
    EXPECT_EQ(StoredName(3), u"Profile X");
    EXPECT_EQ(owner_.choices, (std::vector<Choice>{{ProfileDlg::kSwitch, 3}}));
}

// --- profile files ------------------------------------------------------------------------

class ProfileFileDialogs : public ProfilePopup {
protected:
    // The file dialog's stand-in: answers `path` and remembers which dialog was asked for.
    ProfileFiles Files(std::filesystem::path path) {
        return ProfileFiles(&owner_, German(), db_,
                            [this, path](MWindow* owner, ProfileFileDialog dialog) {
                                EXPECT_EQ(owner, &owner_);
                                asked_.push_back(dialog);
                                return path;
                            });
    }

    // Runs `work` and answers the message of every notice it showed (each is confirmed).
    std::vector<std::u16string> Notices(const std::function<void()>& work) {
        std::vector<std::u16string> messages;
        std::function<void()> answer = [&] {
            if (MWindow* box = MWindow::FindWindowByTitle(CUIMessageBox::kWindowTitle)) {
                messages.push_back(box->GetControl(CUIMessageBox::kMessageId)->GetTitle());
                EXPECT_EQ(box->GetControl(CUIMessageBox::kTitleId)->GetTitle(), German().Text(576));
                Click(*box, CUIMessageBox::kConfirmId);
            }
        };
        WhileModal(answer);
        work();
        Pump();
        return messages;
    }

    std::vector<ProfileFileDialog> asked_;
};

TEST_F(ProfileFileDialogs, ExportWritesTheChosenFileAndImportReadsItBack) {
    const std::filesystem::path file = folder_.path() / "Büro.xml";
    ASSERT_TRUE(db_.SetConfigValue(2, u"report_rate", u"3"));
    EXPECT_TRUE(Notices([&] { EXPECT_TRUE(Files(file).Export(2, u"Profil 2", false)); }).empty());
    EXPECT_NE(test::ReadFile(file).find(R"(<profileinfo name="Profil 2">)"), std::string::npos);
    EXPECT_NE(test::ReadFile(file).find(R"(<report_rate value="3"/>)"), std::string::npos);

    EXPECT_TRUE(Notices([&] { EXPECT_TRUE(Files(file).Import(1, false)); }).empty());
    EXPECT_EQ(StoredName(1), u"Büro") << "named after the file";
    std::u16string rate;
    db_.GetConfigValue(1, u"report_rate", rate);
    EXPECT_EQ(rate, u"3");
    EXPECT_EQ(asked_, (std::vector{ProfileFileDialog::kSave, ProfileFileDialog::kOpen}));
}

TEST_F(ProfileFileDialogs, AFileThatCannotBeImportedChangesNothingAndSaysSo) {
    const struct {
        const char* file;
        const char* bytes;
    } cases[] = {
        {"broken.xml", "<profile><profileinfo"},
        {"other.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<macros/>\r\n"},
        {"missing.xml", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::filesystem::path file = folder_.path() / c.file;
        if (c.bytes)
            test::WriteFile(file, c.bytes);
        const std::string before = test::DumpDatabase(db_);
        ProfileFiles files = Files(file);
        const auto notices = Notices([&] { EXPECT_FALSE(files.Import(1, false)); });
        EXPECT_EQ(notices, (std::vector<std::u16string>{German().Text(28)}));
        EXPECT_NE(files.LastResult(), ExchangeResult::kOk);
        EXPECT_EQ(test::DumpDatabase(db_), before);
    }
}

TEST_F(ProfileFileDialogs, CancelledDialogsDoNothingAndAFailedWriteIsReported) {
    const std::string before = test::DumpDatabase(db_);
    EXPECT_TRUE(Notices([&] {
                    EXPECT_FALSE(Files({}).Import(1, false));
                    EXPECT_FALSE(Files({}).Export(1, u"Profil  1", false));
                }).empty());
    EXPECT_EQ(test::DumpDatabase(db_), before);

    const std::filesystem::path unwritable = folder_.path() / "no" / "such" / "folder.xml";
    EXPECT_EQ(Notices([&] { EXPECT_FALSE(Files(unwritable).Export(1, u"Profil  1", false)); }),
              (std::vector<std::u16string>{German().Text(29)}));
    EXPECT_FALSE(std::filesystem::exists(unwritable));
}

}  // namespace
}  // namespace cursorial
