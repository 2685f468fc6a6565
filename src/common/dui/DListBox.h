// A list of texts, each with a value of the caller's, whose items can be renamed in place.
//   click on a row: selects it, reports 2 (value1 = index);
//   right click: selects the row under the mouse, reports 5 (value1 = index, -1 off the rows);
//   in-place edit (editable lists): started by the edit mark at the right of the hovered or
//   selected row, by a double click or by F2; Enter or leaving the field ends it, stores the
//   typed text as the item's text and reports 29 (value1 = index); Escape cancels. The edit
//   mark starts editing without reporting a click.
#pragma once

#include "common/dui/MListBase.h"

#include <vector>

class QLineEdit;

namespace DUI {

class DListBox : public MListBase {
public:
    static constexpr const char* kClassName = "DListBox";
    DListBox();

    int AddItem(std::u16string_view text, std::intptr_t itemData = 0);
    int InsertItem(int index, std::u16string_view text, std::intptr_t itemData = 0);
    void DeleteItem(int index);
    void DeleteAllItems();
    int GetCount() const override { return int(items_.size()); }

    std::u16string GetItemText(int index) const;
    void SetItemText(int index, std::u16string_view text);
    std::intptr_t GetItemData(int index) const;
    void SetItemData(int index, std::intptr_t itemData);
    int FindItemByData(std::intptr_t itemData) const;

    void SetEditable(bool editable);
    bool IsEditable() const { return editable_; }
    // The image of the edit mark (four frames); without it a pen is drawn.
    void SetEditImage(std::u16string_view name);
    void EditItem(int index);
    bool IsEditing() const { return editing_ >= 0; }
    // The text typed in the last in-place edit.
    std::u16string GetEditText() const { return editText_; }
    QRect GetEditMarkRect(int index) const;

protected:
    void PaintRow(QPainter& painter, const QRect& rect, int index, bool selected,
                  bool hover) override;
    void OnRowClick(int index, QPoint pos) override;
    void OnRowDoubleClick(int index, QPoint pos) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    struct Item {
        std::u16string text;
        std::intptr_t data;
    };
    bool Valid(int index) const { return index >= 0 && index < GetCount(); }
    void EndEdit(bool commit);

    std::vector<Item> items_;
    bool editable_ = false;
    std::u16string editImage_;
    QLineEdit* edit_ = nullptr;
    int editing_ = -1;
    std::u16string editText_;
};

// The macro list: an editable DListBox whose edit mark is its "more" image.
class MacroList : public DListBox {
public:
    static constexpr const char* kClassName = "MacroList";
    MacroList();
};

}  // namespace DUI
