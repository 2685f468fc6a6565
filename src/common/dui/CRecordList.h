// The event list of a macro: one row per event (text, kind, value, time stamp), each with an
// icon, and a "more" button on the hovered or selected row.
//   click on a row: selects it, reports 2 (value1 = index);
//   click on the "more" button: selects the row (reporting 2 first when it was not selected),
//   then reports 9 (value1 = index);
//   Up/Down move the selection and report 2.
// Rows added at the end scroll into view, so a recording stays visible.
#pragma once

#include "common/dui/MListBase.h"

#include <vector>

namespace DUI {

struct RecordItem {
    std::u16string text;
    int kind = 0;
    int value = 0;
    int timeStamp = 0;
    bool operator==(const RecordItem&) const = default;
};

class CRecordList : public MListBase {
public:
    static constexpr const char* kClassName = "CRecordList";
    CRecordList();

    int AddItem(std::u16string_view text, int kind, int value, int timeStamp);
    // Inserts before `index`; an index outside the list appends. Answers the row's index.
    int InsertItem(int index, std::u16string_view text, int kind, int value, int timeStamp);
    void DeleteItem(int index);
    void DeleteAllItems();
    int GetCount() const override { return int(items_.size()); }
    int GetItemCount() const { return GetCount(); }
    // Events in the list: every row is one event.
    int GetEventCount() const { return GetCount(); }

    RecordItem GetItem(int index) const;
    void SetItem(int index, const RecordItem& item);
    std::u16string GetItemText(int index) const;
    void SetItemText(int index, std::u16string_view text);
    int GetItemKind(int index) const;
    int GetItemValue(int index) const;
    int GetItemTimeStamp(int index) const;
    // First row with this time stamp and kind, or -1.
    int FindItem(int timeStamp, int kind) const;
    // Swaps two rows; the selection follows the row it was on.
    bool SwapItems(int first, int second);
    // Moves a row to another index; the selection follows it.
    bool MoveItem(int from, int to);

    void SetItemImage(std::u16string_view name);
    void SetMoreImage(std::u16string_view name);
    QRect GetMoreRect(int index) const;

protected:
    void PaintRow(QPainter& painter, const QRect& rect, int index, bool selected,
                  bool hover) override;
    void OnRowClick(int index, QPoint pos) override;

private:
    bool Valid(int index) const { return index >= 0 && index < GetCount(); }

    std::vector<RecordItem> items_;
    std::u16string itemImage_;
    std::u16string moreImage_;
};

}  // namespace DUI
