// The picture of the mouse with a callout per button: a line from the button to a label with
// the button's function. A click on a label, its line or its end dot selects the item and
// reports 2 with its index as value1; Up/Down move the selection and report the same.
//
// Points are in the picture's own pixels; when the control is drawn at another size than the
// picture's, the callouts scale with it. Direction 0 puts the label at the left end of the line,
// 1 at the right end; any other code puts it at the end farther from the picture's centre. The
// other end carries a dot on the button.
#pragma once

#include "common/dui/MPicture.h"

#include <vector>

namespace DUI {

class MouseCtrl : public MPicture {
public:
    static constexpr const char* kClassName = "MouseCtrl";
    MouseCtrl();

    void DeleteAllItems();
    int AddItem(std::u16string_view text, int keyValue, int direction, MPoint first, MPoint second,
                bool dashed);
    int GetItemCount() const { return int(items_.size()); }
    void SetItemText(int index, std::u16string_view text);
    std::u16string GetItemText(int index) const;
    int GetItemKeyValue(int index) const;
    int FindItemByKeyValue(int keyValue) const;

    void SetSelectItem(int index);  // -1: none
    int GetSelectItem() const { return selected_; }

    // Item under a point of the control, or -1.
    int HitTest(QPoint pos) const;
    QRectF GetLabelRect(int index) const;

protected:
    bool IsDragThrough() const override { return false; }
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void OnClick(QPoint pos) override;

private:
    struct Item {
        std::u16string text;
        int keyValue = 0;
        int direction = 0;
        MPoint first;
        MPoint second;
        bool dashed = false;
    };
    bool Valid(int index) const { return index >= 0 && index < int(items_.size()); }
    QPointF Map(MPoint p) const;
    // Label end and button end of an item's line, in control coordinates.
    void Ends(const Item& item, QPointF* labelEnd, QPointF* buttonEnd, bool* labelLeft) const;

    std::vector<Item> items_;
    int selected_ = -1;
    int hover_ = -1;
};

}  // namespace DUI
