// The list of the mouse's buttons: per row the button's name and its function (description),
// with the button's key value. A click on a row selects it and reports 2 with its index as
// value1; a click on the selected row clears the selection and reports 2 with -1 (as does
// Escape); Up/Down move the selection and report the new index.
#pragma once

#include "common/dui/MListBase.h"

#include <vector>

namespace DUI {

class MouseKeyCtrl : public MListBase {
public:
    static constexpr const char* kClassName = "MouseKeyCtrl";
    MouseKeyCtrl();

    void DeleteAllItems();
    int AddItem(std::u16string_view name, std::u16string_view desc, int keyValue);
    int GetCount() const override { return int(items_.size()); }
    int GetItemCount() const { return GetCount(); }

    // Name of a row.
    void SetItemText(int index, std::u16string_view name);
    std::u16string GetItemKeyName(int index) const;
    void SetItemDesc(int index, std::u16string_view desc);
    std::u16string GetItemDesc(int index) const;
    // Description of the row with this key value; false when there is none.
    bool SetItemKeyDesc(int keyValue, std::u16string_view desc);
    int GetItemKeyValue(int index) const;
    int FindItemByKeyValue(int keyValue) const;

protected:
    void PaintRow(QPainter& painter, const QRect& rect, int index, bool selected,
                  bool hover) override;
    void OnRowClick(int index, QPoint pos) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Item {
        std::u16string name;
        std::u16string desc;
        int keyValue;
    };
    bool Valid(int index) const { return index >= 0 && index < GetCount(); }
    std::vector<Item> items_;
};

}  // namespace DUI
