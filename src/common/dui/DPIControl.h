// The DPI stages: a row of cells, one per stage shown, each with its number, its DPI and a bar
// in its colour. The control keeps a DPI and a colour (Windows colour value) for each of
// kMaxStages stages; the first GetItemCount() of them are shown.
//   click on a cell: selects it, reports 2 (value1 = stage) — also for the selected one;
//   Left/Right: select the neighbour, report 30 (value1 = stage);
//   click on a colour bar: reports 9 (value1 = stage), the selection stays;
//   double click on a cell, or Enter/F2: selects it (30 when it changes) and edits its DPI in
//   place; Enter or leaving the field ends the edit and reports 29 (value1 = stage, value2 = the
//   typed number, 0 when none; the text stays readable with GetEditText); Escape cancels.
#pragma once

#include "common/dui/MControl.h"

#include <array>

class QLineEdit;

namespace DUI {

class DPIControl : public MControlFont {
public:
    static constexpr const char* kClassName = "DPIControl";
    static constexpr int kMaxStages = 8;

    enum class Part { None, Cell, Color };
    struct Hit {
        int stage = -1;
        Part part = Part::None;
    };

    DPIControl();

    void SetDPIValue(int stage, int dpi);
    int GetDPIValue(int stage) const;
    void SetDPIColorValue(int stage, COLORREF colour);
    COLORREF GetDPIColorValue(int stage) const;

    // Shows no stage (the stored values stay).
    void DeleteAllItems();
    // Shows one more stage with this DPI and colour; answers its index (-1 when full).
    int AddItem(int dpi, COLORREF colour);
    int GetItemCount() const { return count_; }

    void SetSelectItem(int stage);  // -1: none
    int GetSelectItem() const { return selected_; }

    void EditItem(int stage);
    bool IsEditing() const;
    std::u16string GetEditText() const { return editText_; }
    void SetEditText(std::u16string_view text);

    Hit HitTest(QPoint pos) const;
    QRect GetCellRect(int stage) const;
    QRect GetColorRect(int stage) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void OnClick(QPoint pos) override;

private:
    bool Valid(int stage) const { return stage >= 0 && stage < kMaxStages; }
    void EndEdit(bool commit);

    std::array<int, kMaxStages> dpi_{};
    std::array<COLORREF, kMaxStages> colour_{};
    int count_ = 0;
    int selected_ = -1;
    Hit hover_;
    QLineEdit* edit_;
    int editing_ = -1;
    std::u16string editText_;
};

}  // namespace DUI
