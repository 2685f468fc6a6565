// Controls driven as a user drives them (synthesized mouse and keys) and the notifications
// their window receives.
#include "DuiTestSupport.h"

#include "common/dui/DUI.h"
#include "common/dui/Look.h"
#include "common/dui/PopupList.h"
#include "common/text/WideText.h"

#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace DUI;
using dui_test::Click;
using dui_test::Note;
using dui_test::RecordingDialog;

namespace {

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(window.Make(u"Controls"));
        window.MoveWindow(50, 50, 600, 400);
        window.ShowWindow(SW_SHOW);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.GetWidget()));
    }
    template <class T>
    T* Make(int id, MRect rect, std::u16string_view text = {}) {
        T* control = window.Create<T>(id, rect, text);
        EXPECT_NE(control, nullptr);
        return control;
    }
    // A wheel turned by `notches` (120 each); WheelBy sends any angle, as fine wheels do.
    void Wheel(QWidget* w, int notches) { WheelBy(w, 120 * notches); }
    void WheelBy(QWidget* w, int angle) {
        QWheelEvent event(QPointF(w->rect().center()), QPointF(w->mapToGlobal(w->rect().center())),
                          QPoint(), QPoint(0, angle), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(w, &event);
    }
    // The notifications received since the last call.
    std::vector<Note> Take() { return std::exchange(window.notes, {}); }

    RecordingDialog window;
};

}  // namespace

TEST_F(ControlsTest, ClicksAndRightClicksReportTheirCodes) {
    auto* button = Make<MButton>(46, {10, 10, 110, 40}, u"Reset");
    auto* picture = Make<MPicture>(37, {120, 10, 220, 40});
    Click(button);
    Click(button, {}, Qt::RightButton);
    Click(picture);
    EXPECT_EQ(Take(), (std::vector<Note>{{46, kNotifyClick, 0, 0},
                                         {46, kNotifyRightClick, 0, 0},
                                         {37, kNotifyClick, 0, 0}}));

    // Released outside: no click. Disabled: nothing at all.
    QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseRelease(button, Qt::LeftButton, Qt::NoModifier, QPoint(300, 300));
    button->SetEnabled(false);
    Click(button);
    EXPECT_TRUE(Take().empty());
    button->SetEnabled(true);

    // Keyboard: Space clicks the focused button.
    button->SetFocus();
    QTest::keyClick(button, Qt::Key_Space);
    EXPECT_EQ(Take(), (std::vector<Note>{{46, kNotifyClick, 0, 0}}));
}

TEST_F(ControlsTest, EditReportsFocusChangesEndAndCommit) {
    auto* edit = Make<MEdit>(178, {10, 10, 110, 40});
    auto* other = Make<MButton>(1, {10, 60, 110, 90});
    edit->SetTitle(u"10");
    EXPECT_TRUE(Take().empty()) << "SetTitle reports nothing";

    edit->SetFocus();
    QTest::keyClick(edit->LineEdit(), Qt::Key_End);
    QTest::keyClicks(edit->LineEdit(), "5");
    EXPECT_EQ(edit->GetTitle(), u"105");
    QTest::keyClick(edit->LineEdit(), Qt::Key_Return);
    EXPECT_EQ(Take(), (std::vector<Note>{{178, kNotifyFocus, 0, 0},
                                         {178, kNotifyEditChanged, 0, 0},
                                         {178, kNotifyEditFinished, 0, 0},
                                         {178, kNotifyClick, 0, 0}}));

    // Leaving without a change ends the edit without a commit.
    other->SetFocus();
    EXPECT_EQ(Take(), (std::vector<Note>{{178, kNotifyEditFinished, 0, 0}}));

    // Number entry takes digits only.
    edit->SetNumberOnly(true);
    edit->SetFocus();
    edit->LineEdit()->selectAll();
    QTest::keyClicks(edit->LineEdit(), "x7y");
    EXPECT_EQ(edit->GetTitle(), u"7");
    EXPECT_EQ(edit->GetNumber(), 7);
}

TEST_F(ControlsTest, NumberEditStepsWithinItsRange) {
    auto* edit = Make<NumberEdit>(139, {10, 10, 110, 40});
    edit->SetRange(4, 20);
    edit->SetNumber(19);
    edit->SetFocus();
    Take();
    QTest::keyClick(edit->LineEdit(), Qt::Key_Up);
    QTest::keyClick(edit->LineEdit(), Qt::Key_Up);
    EXPECT_EQ(edit->GetNumber(), 20);
    EXPECT_EQ(Take(), (std::vector<Note>{{139, kNotifyEditChanged, 0, 0}}))
        << "a step past the end changes nothing";
}

TEST_F(ControlsTest, SliderReportsMovingThenTheReleasedPosition) {
    auto* slider = Make<DPISlider>(117, {0, 0, 212, 40});
    slider->SetRange(0, 100);
    slider->SetPos(10);
    EXPECT_TRUE(Take().empty());

    const int y = 20;
    QTest::mousePress(slider, Qt::LeftButton, Qt::NoModifier, QPoint(int(slider->XFromPos(20)), y));
    QTest::mouseMove(slider, QPoint(int(slider->XFromPos(30)), y));
    QTest::mouseRelease(slider, Qt::LeftButton, Qt::NoModifier,
                        QPoint(int(slider->XFromPos(30)), y));
    EXPECT_EQ(Take(), (std::vector<Note>{{117, kNotifySliderMoving, 20, 0},
                                         {117, kNotifySliderMoving, 30, 0},
                                         {117, kNotifyClick, 30, 0}}));
    EXPECT_EQ(slider->GetPos(), 30);

    // The wheel moves at once and commits once it rests.
    slider->SetWheelCommitDelay(5);
    Wheel(slider, 1);
    Wheel(slider, 1);
    EXPECT_EQ(Take(), (std::vector<Note>{{117, kNotifySliderMoving, 31, 0},
                                         {117, kNotifySliderMoving, 32, 0}}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.notes.empty(); }, 2000));
    EXPECT_EQ(Take(), (std::vector<Note>{{117, kNotifyClick, 32, 0}}));
    // A fine wheel (a touchpad) moves one step once its fractions make up a notch.
    for (int i = 0; i < 5; ++i)
        WheelBy(slider, 30);
    EXPECT_EQ(Take(), (std::vector<Note>{{117, kNotifySliderMoving, 33, 0}}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.notes.empty(); }, 2000));
    EXPECT_EQ(Take(), (std::vector<Note>{{117, kNotifyClick, 33, 0}}));

    // Keys step and commit; the ends hold.
    slider->SetFocus();
    QTest::keyClick(slider, Qt::Key_End);
    QTest::keyClick(slider, Qt::Key_Right);
    EXPECT_EQ(Take(),
              (std::vector<Note>{{117, kNotifySliderMoving, 100, 0}, {117, kNotifyClick, 100, 0}}));
}

TEST_F(ControlsTest, GroupsKeepOneChecked) {
    auto* lod1 = Make<CRadioButton>(129, {0, 0, 100, 30}, u"1.0mm");
    auto* lod2 = Make<CRadioButton>(130, {0, 30, 100, 60}, u"2.0mm");
    auto* other = Make<CRadioButton>(174, {0, 60, 100, 90}, u"none");
    for (CRadioButton* r : {lod1, lod2}) {
        r->SetGroup(u"IDC_PER_STC_LOD");
    }
    other->SetGroup(u"IDC_MACRO_STC_DELAYSET");
    other->SetCheck(true);

    lod1->SetCheck(true);
    Click(lod2);
    EXPECT_FALSE(lod1->GetCheck());
    EXPECT_TRUE(lod2->GetCheck());
    EXPECT_TRUE(other->GetCheck()) << "another group is untouched";
    Click(lod2);
    EXPECT_TRUE(lod2->GetCheck()) << "a radio button stays checked";
    lod1->SetCheck(true);
    EXPECT_FALSE(lod2->GetCheck()) << "SetCheck also keeps the group to one";
    EXPECT_EQ(Take(), (std::vector<Note>{{130, kNotifyClick, 0, 0}, {130, kNotifyClick, 0, 0}}));

    auto* box = Make<CCheckButton>(134, {0, 90, 100, 120}, u"option");
    Click(box);
    Click(box);
    EXPECT_FALSE(box->GetCheck());

    auto* red = Make<CColorButton>(209, {200, 0, 226, 26});
    auto* green = Make<CColorButton>(210, {235, 0, 261, 26});
    red->SetGroup(u"DEFAULTCOLOR");
    green->SetGroup(u"DEFAULTCOLOR");
    red->SetColor(RGB(255, 0, 0));
    green->SetColor(RGB(0, 255, 0));
    Click(red);
    Click(green);
    EXPECT_FALSE(red->GetCheck());
    EXPECT_TRUE(green->GetCheck());
    EXPECT_EQ(green->GetColor(), 0x00FF00u);

    // The function lists share one check mark: choosing from a list moves it there.
    auto* mouseList = Make<MComboBox2>(93, {300, 0, 500, 30});
    auto* mediaList = Make<MComboBox2>(94, {300, 40, 500, 70});
    mouseList->SetGroup(u"FUNC");
    mediaList->SetGroup(u"FUNC");
    mediaList->AddItem(u"Play", 1);
    mediaList->AddItem(u"Stop", 2);
    mouseList->SetCheck(true);
    Take();
    Click(mediaList, {100, 15});
    ASSERT_NE(mediaList->DropDown(), nullptr);
    auto* list = mediaList->DropDown()->List();
    Click(list, list->GetItemRect(1).center());
    EXPECT_TRUE(mediaList->GetCheck());
    EXPECT_FALSE(mouseList->GetCheck());
    EXPECT_EQ(mediaList->GetCurData(), 2);
    EXPECT_EQ(Take(), (std::vector<Note>{{94, kNotifyClick, 1, 0}}));
}

TEST_F(ControlsTest, ComboBoxPicksFromItsPopUpWindow) {
    auto* combo = Make<MComboBox>(120, {10, 10, 200, 40});
    for (int i = 1; i <= 6; ++i) {
        combo->AddItem(cursorial::IntToText(i), i);
    }
    EXPECT_TRUE(combo->SelectData(3));
    EXPECT_EQ(combo->GetCurSel(), 2);
    EXPECT_FALSE(combo->SelectData(9));
    EXPECT_EQ(combo->GetCurSel(), -1);
    EXPECT_EQ(combo->GetCurData(), 0);
    combo->SetCurSel(0);

    Click(combo);
    const HWND popup = MWindow::FindWindow(u"MWindow", u"ComboWnd");
    ASSERT_NE(popup, nullptr);
    auto* list = combo->DropDown()->List();
    Click(list, list->GetItemRect(4).center());
    EXPECT_EQ(MWindow::FindWindow(u"MWindow", u"ComboWnd"), nullptr);
    EXPECT_EQ(combo->GetCurData(), 5);
    EXPECT_EQ(combo->GetCurText(), u"5");
    EXPECT_EQ(Take(), (std::vector<Note>{{120, kNotifyClick, 4, 0}}));

    // Keyboard on the closed list, and an outside close of the open one.
    combo->SetFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(Take(), (std::vector<Note>{{120, kNotifyClick, 5, 0}}));
    combo->ShowDropDown(true);
    ASSERT_TRUE(ShowWindow(MWindow::FindWindow(u"MWindow", u"ComboWnd"), SW_HIDE) ||
                !combo->IsDroppedDown());
    EXPECT_FALSE(combo->IsDroppedDown());
    EXPECT_TRUE(Take().empty());
}

TEST_F(ControlsTest, TabControlSelectsAndShowsItsPages) {
    auto* tabs = Make<MTabCtrl>(48, {0, 0, 190, 360});
    auto* home = window.CreateArea("MTabLayout", 49, {200, 0, 600, 400});
    auto* keys = window.CreateArea("MTabLayout", 50, {200, 0, 600, 400});
    auto* light = window.CreateArea("MTabLayout", 54, {200, 0, 600, 400});
    ASSERT_TRUE(home && keys && light);
    EXPECT_EQ(window.CreateArea("MButton", 1, {}), nullptr) << "not a container";
    tabs->AddItem(u"Home", u"icon\\tab_home.png", 1);
    tabs->AddItem(u"Key", u"icon\\tab_key.png", 2);
    tabs->AddItem(u"Light", u"icon\\tab_light.png", 5);
    tabs->AddItem(u"Set", u"icon\\tab_set.png", 7);
    tabs->SetItemSize(190, 60);
    tabs->SetItemPage(0, home);
    tabs->SetItemPage(1, keys);
    tabs->SetItemPage(2, light);
    tabs->SetSelectItem(1);
    EXPECT_TRUE(keys->IsVisible());
    EXPECT_FALSE(home->IsVisible());
    EXPECT_TRUE(Take().empty()) << "SetSelectItem reports nothing";

    Click(tabs, tabs->GetItemRect(2).center());
    EXPECT_EQ(tabs->GetSelectItem(), 2);
    EXPECT_TRUE(light->IsVisible());
    EXPECT_FALSE(keys->IsVisible());
    Click(tabs, tabs->GetItemRect(2).center());  // the selected tab again: nothing
    EXPECT_EQ(Take(), (std::vector<Note>{{48, kNotifyClick, 2, 0}}));

    // A hidden tab takes no room: the next one moves up into its place.
    const QRect lightRect = tabs->GetItemRect(2);
    tabs->SetItemVisible(2, false);
    EXPECT_TRUE(tabs->GetItemRect(2).isEmpty());
    EXPECT_EQ(tabs->GetItemRect(3), lightRect);
    EXPECT_EQ(tabs->HitTest(lightRect.center()), 3);
    EXPECT_EQ(tabs->GetItemData(3), 7);
    tabs->SetItemText(3, u"Settings");
    EXPECT_EQ(tabs->GetItemText(3), u"Settings");
}

TEST_F(ControlsTest, ContainersPlaceTheirControlsInWindowCoordinates) {
    auto* page = window.CreateArea("MTabLayout", 52, {200, 80, 580, 380})->AsHost();
    ASSERT_NE(page, nullptr);
    auto* inner = page->Create<MButton>(118, {230, 100, 330, 130}, u"Send");
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->GetRect(), (MRect{230, 100, 330, 130}));
    EXPECT_EQ(inner->geometry(), QRect(30, 20, 100, 30)) << "placed relative to the page";
    EXPECT_EQ(window.GetControl(118), inner) << "found from the window through the page";
    window.GetControl(52)->SetRect({100, 50, 580, 380});
    EXPECT_EQ(inner->geometry(), QRect(130, 50, 100, 30)) << "stays put when the page moves";

    Click(inner);
    EXPECT_EQ(Take(), (std::vector<Note>{{118, kNotifyClick, 0, 0}}));
    window.GetControl(52)->SetVisible(false);
    EXPECT_TRUE(inner->IsVisible()) << "own visibility is kept";
    EXPECT_FALSE(inner->isVisible());
}

TEST(DeviceList, SelectionRuleWhenTheRequestedTypeIsNotShown) {
    RecordingDialog window;
    ASSERT_TRUE(window.Make(u"Devices"));
    auto* list = window.Create<CDeviceList>(57, {0, 0, 400, 200});
    list->AddDevice(u"Cursorial Aero", 201, u"device/aero.png");
    list->AddDevice(u"Cursorial Terra", 202, u"device/terra.png");
    struct Case {
        const char* name;
        int aeroCable, aeroReceiver, terraCable;
        int requested;
        int expected;
    };
    const Case cases[] = {
        {"requested and shown", 1, 0, 1, 202, 202},
        {"shown through its receiver", 0, 1, 1, 201, 201},
        {"initial type 101 picks the first shown", 0, 0, 1, 101, 202},
        {"requested offline picks the first shown", 0, 0, 1, 201, 202},
        {"first in catalogue order", 1, 0, 1, 101, 201},
        {"nothing shown keeps the request", 0, 0, 0, 201, 201},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        list->SetAllDeviceState(0);
        list->SetDeviceState(201, 0, c.aeroCable);
        list->SetDeviceState(201, 1, c.aeroReceiver);
        list->SetDeviceState(202, 0, c.terraCable);
        list->SetSelectDevice(c.requested);
        EXPECT_EQ(list->GetSelectDevice(), c.expected);
        EXPECT_EQ(list->GetOnlineDevCount(),
                  c.aeroCable + c.aeroReceiver > 0 ? 1 + c.terraCable : c.terraCable);
    }

    // A click on a card selects its device and reports its type.
    list->SetDeviceState(201, 0, 1);
    list->SetDeviceState(202, 0, 1);
    window.ShowWindow(SW_SHOW);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.GetWidget()));
    list->SetSelectDevice(201);
    Click(list, list->GetCardRect(1).center());
    EXPECT_EQ(list->GetSelectDevice(), 202);
    EXPECT_EQ(window.notes, (std::vector<Note>{{57, kNotifyClick, 202, 0}}));
    EXPECT_EQ(FormatReleaseVersion(0x105), u"1.05");
    EXPECT_EQ(FormatReleaseVersion(0x5), u"5.5");
}

TEST_F(ControlsTest, CalloutsAreHitByLabelAndLine) {
    auto* mouse = Make<MouseCtrl>(31, {0, 0, 600, 300});
    // Labels sit beyond the outer end of their line; the picture leaves room for them.
    mouse->AddItem(u"Left button", 0, 0, {150, 60}, {250, 60}, false);
    mouse->AddItem(u"Right button", 1, 1, {350, 60}, {450, 60}, true);
    mouse->AddItem(u"Middle button", 2, 0, {150, 200}, {300, 200}, false);
    EXPECT_EQ(mouse->GetItemCount(), 3);
    EXPECT_EQ(mouse->GetItemKeyValue(1), 1);

    const QRectF left = mouse->GetLabelRect(0);
    const QRectF right = mouse->GetLabelRect(1);
    EXPECT_LE(left.right(), 150.5) << "direction 0: label at the left end";
    EXPECT_GE(right.left(), 449.5) << "direction 1: label at the right end";
    EXPECT_EQ(mouse->HitTest(left.center().toPoint()), 0);
    EXPECT_EQ(mouse->HitTest(right.center().toPoint()), 1);
    EXPECT_EQ(mouse->HitTest({200, 62}), 0) << "near the line";
    EXPECT_EQ(mouse->HitTest({200, 120}), -1);

    Click(mouse, mouse->GetLabelRect(2).center().toPoint());
    EXPECT_EQ(mouse->GetSelectItem(), 2);
    Click(mouse, {200, 120});
    EXPECT_EQ(Take(), (std::vector<Note>{{31, kNotifyClick, 2, 0}}));
    mouse->SetItemText(2, u"Wheel");
    EXPECT_EQ(mouse->GetItemText(2), u"Wheel");
}

TEST_F(ControlsTest, KeyListSelectsAndClearsByClicks) {
    auto* keys = Make<MouseKeyCtrl>(93, {0, 0, 300, 300});
    keys->AddItem(u"Left button", u"Left click", 0);
    keys->AddItem(u"Right button", u"Right click", 1);
    EXPECT_TRUE(keys->SetItemKeyDesc(1, u"Macro 1"));
    EXPECT_FALSE(keys->SetItemKeyDesc(9, u"none"));
    EXPECT_EQ(keys->GetItemDesc(1), u"Macro 1");
    Click(keys, keys->GetItemRect(1).center());
    Click(keys, keys->GetItemRect(1).center());
    EXPECT_EQ(Take(),
              (std::vector<Note>{{93, kNotifyClick, 1, 0}, {93, kNotifyClick, WPARAM(-1), 0}}));
    EXPECT_EQ(keys->GetItemKeyName(1), u"Right button");
}

TEST_F(ControlsTest, InPlaceEditsCommitOrCancel) {
    auto* macros = Make<MacroList>(156, {0, 0, 250, 200});
    macros->AddItem(u"Custom 1", 11);
    macros->AddItem(u"Custom 2", 12);

    macros->EditItem(1);
    ASSERT_TRUE(macros->IsEditing());
    auto* field = macros->findChild<QLineEdit*>();
    field->selectAll();
    QTest::keyClicks(field, "Combo");
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_FALSE(macros->IsEditing());
    EXPECT_EQ(macros->GetItemText(1), u"Combo");
    EXPECT_EQ(macros->GetItemData(1), 12);
    EXPECT_EQ(Take(), (std::vector<Note>{{156, kNotifyEditFinished, 1, 0}}));

    macros->EditItem(0);
    QTest::keyClicks(field, "zzz");
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_EQ(macros->GetItemText(0), u"Custom 1");
    EXPECT_TRUE(Take().empty());

    // The edit mark starts editing without a click report; a plain click reports 2.
    Click(macros, macros->GetEditMarkRect(0).center());
    EXPECT_TRUE(macros->IsEditing());
    QTest::keyClick(field, Qt::Key_Escape);
    Click(macros, macros->GetItemRect(1).center() - QPoint(60, 0));
    EXPECT_EQ(Take(), (std::vector<Note>{{156, kNotifyClick, 1, 0}}));

    // The DPI stages edit their number in place.
    auto* stages = Make<DPIControl>(116, {260, 0, 600, 100});
    stages->AddItem(800, RGB(255, 0, 0));
    stages->AddItem(1600, RGB(0, 255, 0));
    stages->SetSelectItem(0);
    stages->EditItem(1);
    EXPECT_EQ(stages->GetSelectItem(), 1);
    auto* dpiField = stages->findChild<QLineEdit*>();
    dpiField->selectAll();
    QTest::keyClicks(dpiField, "3200");
    QTest::keyClick(dpiField, Qt::Key_Return);
    EXPECT_EQ(Take(),
              (std::vector<Note>{{116, kNotifyFocus, 1, 0}, {116, kNotifyEditFinished, 1, 3200}}));
    EXPECT_EQ(stages->GetEditText(), u"3200");
}

TEST_F(ControlsTest, StagesReportChoiceAndColourClicks) {
    auto* stages = Make<DPIControl>(116, {0, 0, 600, 100});
    for (int i = 0; i < 7; ++i) {
        stages->SetDPIValue(i, 400 * (i + 1));
    }
    stages->DeleteAllItems();
    for (int i = 0; i < 3; ++i) {
        stages->AddItem(stages->GetDPIValue(i), RGB(0, 0, 255));
    }
    EXPECT_EQ(stages->GetItemCount(), 3);
    EXPECT_EQ(stages->GetDPIValue(5), 2400) << "stages not shown keep their values";
    Click(stages, stages->GetCellRect(2).topLeft() + QPoint(10, 10));
    Click(stages, stages->GetColorRect(0).center());
    EXPECT_EQ(stages->GetSelectItem(), 2);
    EXPECT_EQ(Take(),
              (std::vector<Note>{{116, kNotifyClick, 2, 0}, {116, kNotifySecondary, 0, 0}}));
}

TEST_F(ControlsTest, RecordListFindsMovesAndOffersMore) {
    auto* events = Make<CRecordList>(166, {0, 0, 300, 200});
    events->AddItem(u"\u2193  A", 2, 65, 100);
    events->AddItem(u"10 ms", 1, 10, 101);
    events->AddItem(u"\u2191  A", 3, 65, 100);
    EXPECT_EQ(events->FindItem(100, 3), 2);
    EXPECT_EQ(events->FindItem(100, 1), -1);
    events->SetSelectItem(2);
    EXPECT_TRUE(events->MoveItem(2, 0));
    EXPECT_EQ(events->GetSelectItem(), 0);
    EXPECT_EQ(events->GetItemKind(0), 3);
    EXPECT_FALSE(events->SwapItems(0, 3));
    EXPECT_EQ(events->InsertItem(1, u"10 ms", 1, 10, 7), 1);
    EXPECT_EQ(events->GetEventCount(), 4);

    Click(events, events->GetMoreRect(2).center());
    EXPECT_EQ(Take(),
              (std::vector<Note>{{166, kNotifyClick, 2, 0}, {166, kNotifySecondary, 2, 0}}));
}

TEST_F(ControlsTest, PaletteAndRateChooserReport) {
    auto* palette = Make<MPalette>(226, {0, 0, 170, 160});
    const QPoint centre(palette->width() / 2, palette->height() / 2);
    QTest::mousePress(palette, Qt::LeftButton, Qt::NoModifier, centre);
    QTest::mouseRelease(palette, Qt::LeftButton, Qt::NoModifier, centre);
    const auto notes = Take();
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].code, kNotifyColorPicked);
    EXPECT_EQ(notes[1].code, kNotifyClick);
    EXPECT_EQ(palette->GetColor(), 0xFFFFFFu) << "the centre of the wheel is white";
    EXPECT_EQ(notes[1].value1, 0xFFFFFFu);

    auto* rates = Make<ReporteCtrl>(125, {200, 0, 600, 40});
    const int codes[] = {8, 4, 2, 1};
    for (int code : codes) {
        rates->AddItem(u"Hz", code, RGB(255, 255, 255));
    }
    EXPECT_TRUE(rates->SetSelectItemValue(2));
    EXPECT_EQ(rates->GetSelectItem(), 2);
    EXPECT_FALSE(rates->SetSelectItemValue(64));
    Click(rates, rates->GetItemRect(3).center());
    EXPECT_EQ(rates->GetSelectItemValue(), 1);
    EXPECT_EQ(Take(), (std::vector<Note>{{125, kNotifyClick, 3, 0}}));
}

TEST(Menu, ChoiceArrivesAsTheWindowMessage) {
    struct Owner : RecordingDialog {
        LRESULT OnWindowMessage(UINT m, WPARAM w, LPARAM l) override {
            if (m == 1710) {
                chosen.push_back(l);
                wparams.push_back(w);
            }
            return MDialog::OnWindowMessage(m, w, l);
        }
        std::vector<LPARAM> chosen;
        std::vector<WPARAM> wparams;
    } owner;
    ASSERT_TRUE(owner.Make(u"Owner"));
    owner.ShowWindow(SW_SHOW);

    auto* menu = new MenuWnd;
    ASSERT_TRUE(menu->Create(&owner, {100, 100}, 1710, 170));
    menu->AddMenu(u"Left click", 105);
    menu->AddMenu(u"Key", 101);
    menu->AddMenu(u"Delay", 103, false);
    menu->ShowWindow(SW_SHOW);
    EXPECT_EQ(MWindow::FindWindowByTitle(u"Menu Window"), menu);
    auto* list = menu->GetWidget()->findChild<PopupList*>();
    ASSERT_NE(list, nullptr);
    Click(list, list->GetItemRect(1).center());
    EXPECT_TRUE(owner.chosen.empty()) << "posted, not sent";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !owner.chosen.empty(); }, 2000));
    EXPECT_EQ(owner.chosen, std::vector<LPARAM>{101});
    EXPECT_EQ(owner.wparams, std::vector<WPARAM>{101});
    EXPECT_EQ(MWindow::FindWindowByTitle(u"Menu Window"), nullptr);

    // Closed from outside (the pop-up sweep posts WM_CLOSE): no choice.
    auto* second = new MenuWnd;
    ASSERT_TRUE(second->Create(&owner, {100, 100}, 1710, 170));
    second->AddMenu(u"Left click", 105);
    second->ShowWindow(SW_SHOW);
    PostMessage(MWindow::FindWindow(u"MWindow", u"Menu Window"), WM_CLOSE, 0, 0);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return MWindow::FindWindowByTitle(u"Menu Window") == nullptr; }, 2000));
    QTest::qWait(5);
    EXPECT_EQ(owner.chosen.size(), 1u);
}

TEST(Render, EveryClassDrawsWithoutItsSkinAndRendersToPng) {
    RecordingDialog window;
    ASSERT_TRUE(window.Make(u"Render"));
    window.SetBkImage(u"missing_bkg.png");
    int x = 0;
    for (const std::string& name : ControlClassNames()) {
        MControl* c = window.CreateControl(name, 1000 + x,
                                           {x * 20 % 380, 10, x * 20 % 380 + 60, 60}, u"Text");
        ASSERT_NE(c, nullptr) << name;
        c->SetImage(u"no such image.png", 4);
        ++x;
    }
    QTemporaryDir dir;
    const std::filesystem::path path = dir.path().toStdString() + "/window.png";
    ASSERT_TRUE(RenderToPng(window, path));
    QImage image(QString::fromStdString(path.string()));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(400, 300));
    // The background is painted, not left transparent.
    EXPECT_EQ(QColor(image.pixel(399, 299)).alpha(), 255);

    const QImage sharp = RenderToImage(window, 2.0);
    EXPECT_EQ(sharp.size(), QSize(800, 600));
    const QImage control = RenderToImage(*window.GetControl(1000));
    EXPECT_EQ(control.size(), QSize(60, 50));
}

TEST_F(ControlsTest, AnimationAdvancesOnTheTick) {
    auto* battery = Make<BatteryCtrl>(43, {0, 0, 80, 20});
    auto* progress = Make<MProgress2>(33, {0, 30, 200, 40});
    battery->SetBatteryInfo(40, 1);
    progress->SetRange(0, 100);
    progress->Start();
    EXPECT_EQ(battery->ShownLevel(), 40);
    for (int i = 0; i < 60; ++i) {
        Manager::AnimationTick();
    }
    EXPECT_EQ(battery->ShownLevel(), 40 + 60 * 60 / 120) << "rises towards full while charging";
    EXPECT_EQ(progress->GetPos(), 60);
    for (int i = 0; i < 41; ++i) {
        Manager::AnimationTick();
    }
    EXPECT_EQ(progress->GetPos(), 0) << "an endless run starts over";

    battery->SetBatteryInfo(40, 0);
    progress->Stop();
    Manager::AnimationTick();
    EXPECT_EQ(battery->ShownLevel(), 40);
    EXPECT_EQ(progress->GetPos(), 0);
    progress->Start();
    EXPECT_EQ(progress->GetPos(), 0) << "every start runs from 0";
    progress->Stop();
}

TEST(Battery, LowAndChargingShowInTheirColoursOverTheSkinsBar) {
    QTemporaryDir dir;
    const QString bar = dir.filePath(QStringLiteral("bar.png"));
    QImage white(24, 10, QImage::Format_ARGB32);
    white.fill(Qt::white);
    ASSERT_TRUE(white.save(bar));
    const struct {
        int level;
        bool charging;
        QColor expected;
    } cases[] = {
        {80, false, Qt::white},
        {21, false, Qt::white},
        {20, false, QColor(0xE0, 0x48, 0x48)},
        {80, true, SelectColor()},
    };
    for (const auto& c : cases) {
        QImage canvas(80, 40, QImage::Format_ARGB32_Premultiplied);
        canvas.fill(Qt::black);
        QPainter painter(&canvas);
        DrawBattery(painter, QRectF(0, 0, 80, 40), c.level, c.charging, u"", bar.toStdU16String(),
                    u"");
        painter.end();
        // Inside the fill, left of the charging bolt.
        EXPECT_EQ(QColor(canvas.pixel(6, 20)).name().toStdString(), c.expected.name().toStdString())
            << c.level << "% charging " << c.charging;
    }
}

TEST_F(ControlsTest, KeyHookSeesKeysOnceAndMayConsumeThem) {
    auto* edit = Make<MEdit>(34, {10, 10, 200, 40});
    std::vector<std::pair<bool, int>> seen;
    MWindow* target = nullptr;
    SetKeyInputHook([&](MWindow* w, const KeyInput& key) {
        seen.emplace_back(key.down, key.qtKey);
        target = w;
        return key.qtKey == Qt::Key_A;  // a capture field keeps A for itself
    });
    edit->SetFocus();
    QTest::keyClick(edit->LineEdit(), Qt::Key_A);
    QTest::keyClick(edit->LineEdit(), Qt::Key_B);
    SetKeyInputHook({});
    QTest::keyClick(edit->LineEdit(), Qt::Key_C);
    EXPECT_EQ(seen,
              (std::vector<std::pair<bool, int>>{
                  {true, Qt::Key_A}, {false, Qt::Key_A}, {true, Qt::Key_B}, {false, Qt::Key_B}}));
    EXPECT_EQ(target, &window);
    EXPECT_EQ(edit->GetTitle(), u"bc");
}
