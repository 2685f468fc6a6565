// The list inside the kit's pop-up windows (drop-down lists and menus), and the pop-up window
// that carries it. A pop-up closes when the user clicks outside it or presses Escape.
#pragma once

#include "common/dui/MListBase.h"
#include "common/dui/MWindow.h"

#include <functional>
#include <vector>

namespace DUI {

class PopupList : public MListBase {
public:
    struct Row {
        std::u16string text;
        int id = 0;
        bool enabled = true;
    };

    PopupList();
    std::vector<Row> rows;
    int checked = -1;                   // the row shown as current (a drop-down's selection)
    std::function<void(int)> onChoose;  // a row was chosen (index)
    std::function<void()> onCancel;     // Escape

    int GetCount() const override { return int(rows.size()); }
    // Chooses a row as a click would (tests, keyboard).
    void Choose(int index);

protected:
    void PaintRow(QPainter& painter, const QRect& rect, int index, bool selected,
                  bool hover) override;
    void OnRowClick(int index, QPoint pos) override;
    void OnRowRightClick(int, QPoint) override {}
    void OnKeySelect(int) override {}
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};

// A pop-up window holding one PopupList that fills it.
class PopupWindow : public MWindow {
public:
    PopupList* List() const { return list_; }
    std::function<void()> onClosed;  // closed without a choice (click outside, Escape)

protected:
    void InitUI(const MRect& client) override;
    void UISize(const MRect& client) override;
    void OnCreateFlags(Qt::WindowFlags& flags) override;
    void OnWidgetClosed() override;

private:
    PopupList* list_ = nullptr;
};

}  // namespace DUI
