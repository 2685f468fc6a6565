// Drop-down lists. A click (or Space, Enter, F4, Alt+Down) opens the list in a pop-up window
// titled "ComboWnd"; choosing an item selects it and reports 2 with its index as value1, also
// when it was already selected. Up/Down/Home/End change the selection from the keyboard and
// report the same. SetCurSel and SelectData select without reporting. The image has four
// frames: normal, hover, open, disabled. The title is shown while nothing is selected.
#pragma once

#include "common/dui/MControl.h"

#include <memory>
#include <vector>

namespace DUI {

class PopupWindow;

class MComboBox : public MControlFont {
public:
    static constexpr const char* kClassName = "MComboBox";
    MComboBox();
    ~MComboBox() override;

    // Appends an item; answers its index.
    int AddItem(std::u16string_view text, std::intptr_t itemData = 0);
    int InsertItem(int index, std::u16string_view text, std::intptr_t itemData = 0);
    void DeleteItem(int index);
    void DeleteAllItems();
    int GetCount() const { return int(items_.size()); }

    void SetCurSel(int index);  // -1: none
    int GetCurSel() const { return current_; }
    // Selects the first item carrying this value; with none, the selection becomes -1 and the
    // answer is false.
    bool SelectData(std::intptr_t itemData);
    // Value of the selected item; 0 when none is selected.
    std::intptr_t GetCurData() const;
    std::u16string GetCurText() const;

    std::u16string GetItemText(int index) const;
    void SetItemText(int index, std::u16string_view text);
    std::intptr_t GetItemData(int index) const;
    void SetItemData(int index, std::intptr_t itemData);
    int FindItemByData(std::intptr_t itemData) const;

    // Rows shown at most before the list scrolls (default 8).
    void SetDropRows(int rows);
    void ShowDropDown(bool show);
    bool IsDroppedDown() const;
    // The open pop-up (tests), or nullptr.
    PopupWindow* DropDown() const { return popup_.get(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void OnClick(QPoint pos) override;
    // The user picked an item (list or keyboard).
    virtual void OnPick(int index);
    // Room taken on the left before the text (MComboBox2's check mark).
    virtual qreal LeadingWidth() const { return 0; }
    virtual void PaintLeading(QPainter&, const QRectF&) {}

private:
    struct Item {
        std::u16string text;
        std::intptr_t data = 0;
    };
    bool Valid(int index) const { return index >= 0 && index < int(items_.size()); }
    void ClosePopup();

    std::vector<Item> items_;
    int current_ = -1;
    int dropRows_ = 8;
    // When the list last closed by a click outside: that click, landing on this control, must
    // not open it again.
    qint64 closedOutsideAt_ = -1;
    bool keyboardFocus_ = false;
    std::unique_ptr<PopupWindow> popup_;
};

// A drop-down list with a group check mark on its left: of the lists sharing a group, the one
// last chosen from (or SetCheck) wears the mark. Choosing an item checks it; a click on the mark
// checks it and reports 2 with the current index without opening the list.
class MComboBox2 : public MComboBox, public CheckGroupMember {
public:
    static constexpr const char* kClassName = "MComboBox2";

protected:
    void OnPick(int index) override;
    void OnClick(QPoint pos) override;
    qreal LeadingWidth() const override;
    void PaintLeading(QPainter& painter, const QRectF& rect) override;
    MControl* GroupControl() override { return this; }
    void OnCheckChanged() override { update(); }
};

}  // namespace DUI
