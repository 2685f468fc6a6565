// The report-rate chooser: a row of segments, each a text with a value and a colour dot
// (Windows colour value). A click on another segment selects it and reports 2 with its index as
// value1; Left/Right do the same. The selected segment wears the highlight. Segment images have
// four frames: normal, hover, selected, disabled.
#pragma once

#include "common/dui/MControl.h"

#include <vector>

namespace DUI {

class ReporteCtrl : public MControlFont {
public:
    static constexpr const char* kClassName = "ReporteCtrl";
    ReporteCtrl();

    int AddItem(std::u16string_view text, int value, COLORREF colour = 0xFFFFFF);
    void DeleteAllItems();
    int GetItemCount() const { return int(items_.size()); }
    void SetItemText(int index, std::u16string_view text);
    std::u16string GetItemText(int index) const;
    int GetItemValue(int index) const;

    void SetSelectItem(int index);  // -1: none
    int GetSelectItem() const { return selected_; }
    // Selects the first item with this value; none (false) when there is no such item.
    bool SetSelectItemValue(int value);
    // Value of the selected item; -1 when none is selected.
    int GetSelectItemValue() const;

    int HitTest(QPoint pos) const;
    QRect GetItemRect(int index) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void OnClick(QPoint pos) override;

private:
    struct Item {
        std::u16string text;
        int value;
        COLORREF colour;
    };
    bool Valid(int index) const { return index >= 0 && index < int(items_.size()); }
    void Choose(int index);

    std::vector<Item> items_;
    int selected_ = -1;
    int hover_ = -1;
};

}  // namespace DUI
