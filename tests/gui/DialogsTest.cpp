// The message box, the saving notice and the About dialog, driven as the user would.
#include <gtest/gtest.h>

#include <QWidget>

#include "GuiTestSupport.h"
#include "app/LanguageTexts.h"
#include "common/dui/MButton.h"
#include "common/dui/MPicture.h"
#include "common/dui/MProgress.h"
#include "dialogs/AboutDlg.h"
#include "dialogs/CUIMessageBox.h"
#include "dialogs/SaveWaitDlg.h"

namespace cursorial {
namespace {

using namespace DUI;
using testing::Click;
using testing::ManualTimers;
using testing::Pump;
using testing::WhileModal;

const LanguageTexts& English() {
    static const LanguageTexts texts(CURSORIAL_OUTPUT_DIR, 1033);
    return texts;
}

MWindow* OpenMessageBox() {
    return MWindow::FindWindowByTitle(CUIMessageBox::kWindowTitle);
}

// How the box ends: a click on one of its buttons, or a close request from outside with the
// first parameter 2 (as the main window closes open pop-ups).
enum class Action { kClickConfirm, kClickCancel, kCloseFromOutside };

struct MessageBoxCase {
    int style;
    Action action;
    int expected;
};

class MessageBoxResult : public ::testing::TestWithParam<MessageBoxCase> {};

TEST_P(MessageBoxResult, EndsWithTheResultOfWhatEndedIt) {
    const MessageBoxCase c = GetParam();
    WhileModal([c] {
        MWindow* box = OpenMessageBox();
        ASSERT_NE(box, nullptr);
        switch (c.action) {
            case Action::kClickConfirm:
                Click(*box, CUIMessageBox::kConfirmId);
                break;
            case Action::kClickCancel:
                Click(*box, CUIMessageBox::kCancelId);
                break;
            case Action::kCloseFromOutside:
                box->PostMessage(WM_CLOSE, 2, 0);
                break;
        }
    });
    EXPECT_EQ(CUIMessageBox::Show(nullptr, English(), u"message", u"title", c.style), c.expected);
    EXPECT_EQ(OpenMessageBox(), nullptr) << "the box is destroyed after its run";
}

INSTANTIATE_TEST_SUITE_P(Styles, MessageBoxResult,
                         ::testing::Values(MessageBoxCase{0, Action::kClickConfirm, 1},
                                           MessageBoxCase{4, Action::kClickConfirm, 1},
                                           MessageBoxCase{4, Action::kClickCancel, 2},
                                           MessageBoxCase{0, Action::kCloseFromOutside, 2},
                                           MessageBoxCase{4, Action::kCloseFromOutside, 2},
                                           MessageBoxCase{7, Action::kCloseFromOutside, 2}));

TEST(MessageBox, ButtonsTextsAndPlacesFollowTheStyle) {
    struct Expect {
        int style;
        std::u16string confirmText;  // empty: no button 33
        MRect confirm;
        bool cancel;
        MRect cancelRect;
    };
    // Client 430 x 230, centre 215.
    const Expect cases[] = {
        {0, English().Text(20), {60, 180, 370, 216}, false, {}},
        {4, English().Text(23), {95, 180, 195, 216}, true, {235, 180, 335, 216}},
        {1, u"", {}, false, {}},
    };
    for (const Expect& e : cases) {
        SCOPED_TRACE(e.style);
        WhileModal([&e] {
            MWindow* box = OpenMessageBox();
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->GetClientRect(), (MRect{0, 0, 430, 230}));
            EXPECT_TRUE(box->GetWidget()->windowFlags() & Qt::WindowStaysOnTopHint);
            EXPECT_EQ(box->GetControl(CUIMessageBox::kTitleId)->GetTitle(), u"Saving");
            EXPECT_EQ(box->GetControl(CUIMessageBox::kTitleId)->GetRect(),
                      (MRect{20, 15, 410, 45}));
            EXPECT_EQ(box->GetControl(CUIMessageBox::kMessageId)->GetRect(),
                      (MRect{20, 50, 410, 180}));
            MControl* confirm = box->GetControl(CUIMessageBox::kConfirmId);
            MControl* cancel = box->GetControl(CUIMessageBox::kCancelId);
            if (e.confirmText.empty()) {
                EXPECT_EQ(confirm, nullptr);
            } else {
                ASSERT_NE(confirm, nullptr);
                EXPECT_EQ(confirm->GetTitle(), e.confirmText);
                EXPECT_EQ(confirm->GetRect(), e.confirm);
            }
            if (e.cancel) {
                ASSERT_NE(cancel, nullptr);
                EXPECT_EQ(cancel->GetTitle(), English().Text(25));
                EXPECT_EQ(cancel->GetRect(), e.cancelRect);
            } else {
                EXPECT_EQ(cancel, nullptr);
            }
            box->PostMessage(WM_CLOSE, 2, 0);
        });
        CUIMessageBox::Show(nullptr, English(), u"Your settings are kept.", u"Saving", e.style);
    }
}

// --- saving notice ------------------------------------------------------------------------

class SavingNotice : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(notice_.CreateFor(nullptr)); }
    bool Visible() const { return notice_.IsWindowVisible(); }

    ManualTimers clock_;
    SaveWaitDlg notice_{English(), clock_};
};

TEST_F(SavingNotice, IsHiddenTwoSecondsAfterItWasShown) {
    notice_.Start();
    clock_.Advance(1999);
    EXPECT_TRUE(Visible());
    clock_.Advance(1);
    EXPECT_FALSE(Visible());
}

TEST_F(SavingNotice, ASecondChangeKeepsItUntilTwoSecondsAfterThatChange) {
    notice_.Start();
    clock_.Advance(1500);
    notice_.Start();  // the second change, 1.5 s after the first
    clock_.Advance(1999);
    EXPECT_TRUE(Visible()) << "at " << clock_.Now() << " ms";
    clock_.Advance(1);
    EXPECT_FALSE(Visible()) << "at " << clock_.Now() << " ms";
}

TEST_F(SavingNotice, ComesBackAfterItHidAndRestartsItsProgress) {
    notice_.Start();
    clock_.Advance(2000);
    ASSERT_FALSE(Visible());
    auto* progress = notice_.GetControl<MProgress2>(SaveWaitDlg::kProgressId);
    ASSERT_NE(progress, nullptr);
    progress->SetPos(70);
    notice_.Start();
    EXPECT_TRUE(Visible());
    EXPECT_TRUE(progress->IsRunning());
    EXPECT_EQ(progress->GetPos(), 0);
    EXPECT_EQ(notice_.GetClientRect(), (MRect{0, 0, 500, 200}));
    EXPECT_EQ(notice_.GetControl(SaveWaitDlg::kTextId)->GetTitle(), English().Text(630));
    EXPECT_EQ(notice_.GetControl(SaveWaitDlg::kTextId)->GetRect(), (MRect{10, 100, 490, 130}));
    EXPECT_EQ(progress->GetRect(), (MRect{10, 130, 480, 150}));
}

// --- About --------------------------------------------------------------------------------

TEST(About, ReleaseSplitsIntoFirstDigitAndLastTwoDigits) {
    const struct {
        unsigned release;
        std::u16string major, minor;
    } cases[] = {{0, u"0", u"0"},       {0x105, u"1", u"05"}, {0x130, u"1", u"30"},
                 {0x1234, u"1", u"34"}, {0x9, u"9", u"9"},    {0xab, u"a", u"ab"}};
    for (const auto& c : cases) {
        const ReleaseParts parts = SplitRelease(c.release);
        EXPECT_EQ(parts.major, c.major) << std::hex << c.release;
        EXPECT_EQ(parts.minor, c.minor) << std::hex << c.release;
    }
    EXPECT_EQ(FirmwareLine(English(), 0x105), English().Text(16) + u": v1.05");
}

TEST(About, ShowsTheFirmwareLineTwiceAndClosesWithItsButton) {
    bool checked = false;
    WhileModal([&checked] {
        MWindow* about = MWindow::FindWindowByTitle(AboutDlg::kWindowTitle);
        ASSERT_NE(about, nullptr);
        EXPECT_EQ(about->GetClientRect(), (MRect{0, 0, 500, 300}));
        const std::u16string line = English().Text(16) + u": v2.07";
        EXPECT_EQ(about->GetControl(AboutDlg::kFirmwareLineId)->GetTitle(), line);
        EXPECT_EQ(about->GetControl(AboutDlg::kFirmwareLine2Id)->GetTitle(), line);
        EXPECT_EQ(about->GetControl(AboutDlg::kFirmwareLineId)->GetRect(),
                  (MRect{150, 150, 350, 185}));
        EXPECT_EQ(about->GetControl(AboutDlg::kFirmwareLine2Id)->GetRect(),
                  (MRect{150, 185, 350, 220}));
        EXPECT_EQ(about->GetControl(AboutDlg::kNoticeId)->GetTitle(), English().Text(2));
        EXPECT_EQ(about->GetControl(AboutDlg::kCloseId)->GetRect(), (MRect{460, 15, 479, 34}));
        EXPECT_EQ(about->GetControl(AboutDlg::kCloseId)->GetTooltip(), English().Text(5));
        checked = true;
        Click(*about, AboutDlg::kCloseId);
    });
    AboutDlg::Show(nullptr, English(), [] { return 0x207u; });
    EXPECT_TRUE(checked);
    EXPECT_EQ(MWindow::FindWindowByTitle(AboutDlg::kWindowTitle), nullptr);
}

}  // namespace
}  // namespace cursorial
