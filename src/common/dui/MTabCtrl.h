// A column (or row) of tabs, each an icon and a text with a value of the caller's (the tab id).
// A tab may be bound to a page control: selecting the tab shows its page and hides the pages of
// the other tabs. A click on another tab selects it and reports 2 with the new position as
// value1; Up/Down (Left/Right in a row) do the same from the keyboard. SetSelectItem selects
// without reporting. Hidden tabs take no room; positions count all tabs, hidden or not.
// Item images have four frames: normal, hover, selected, disabled.
#pragma once

#include "common/dui/MControl.h"

#include <vector>

namespace DUI {

class MTabCtrl : public MControlFont {
public:
    static constexpr const char* kClassName = "MTabCtrl";
    MTabCtrl();

    // Appends a tab; answers its position.
    int AddItem(std::u16string_view text, std::u16string_view icon = {},
                std::intptr_t itemData = 0);
    void DeleteAllItems();
    int GetItemCount() const { return int(items_.size()); }

    void SetItemText(int pos, std::u16string_view text);
    std::u16string GetItemText(int pos) const;
    void SetItemIcon(int pos, std::u16string_view icon);
    void SetItemData(int pos, std::intptr_t itemData);
    std::intptr_t GetItemData(int pos) const;
    // Position of the first tab with this value, or -1.
    int FindItemByData(std::intptr_t data) const;
    void SetItemVisible(int pos, bool visible);
    bool IsItemVisible(int pos) const;
    void SetItemEnabled(int pos, bool enabled);
    void SetItemPage(int pos, MControl* page);

    void SetSelectItem(int pos);
    int GetSelectItem() const { return selected_; }

    // Size of one tab (default: the control's width by 60, or 120 by its height in a row).
    void SetItemSize(int width, int height);
    void SetVertical(bool vertical);

    // Tab under a point of the control's own coordinates, or -1; and a tab's rectangle there.
    int HitTest(QPoint pos) const;
    QRect GetItemRect(int pos) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void OnClick(QPoint pos) override;

private:
    struct Item {
        std::u16string text;
        std::u16string icon;
        std::intptr_t data = 0;
        bool visible = true;
        bool enabled = true;
        QPointer<MControl> page;
    };
    bool Valid(int pos) const { return pos >= 0 && pos < int(items_.size()); }
    void Choose(int pos);
    void ShowPages();

    std::vector<Item> items_;
    int selected_ = -1;
    int hovered_ = -1;
    QSize itemSize_;
    bool vertical_ = true;
};

}  // namespace DUI
