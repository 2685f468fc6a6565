// The common part of the kit's lists: rows of one height that scroll (wheel, keyboard, a thin
// scroll bar that can be dragged), one selected row, hover, hit testing. Subclasses hold the
// items and paint a row. The list's image is its background, drawn with fixed borders of 8.
#pragma once

#include "common/dui/MControl.h"

namespace DUI {

class MListBase : public MControlFont {
public:
    MListBase();

    void SetItemHeight(int height);
    int GetItemHeight() const { return itemHeight_; }
    virtual int GetCount() const = 0;

    // Selects a row (or none with -1) without reporting, and scrolls it into view.
    void SetSelectItem(int index);
    int GetSelectItem() const { return selected_; }

    // Row under a point of the control's own coordinates, or -1; a row's rectangle there.
    int HitTest(QPoint pos) const;
    QRect GetItemRect(int index) const;
    void EnsureVisible(int index);
    int GetScrollOffset() const { return scroll_; }

protected:
    virtual void PaintRow(QPainter& painter, const QRect& rect, int index, bool selected,
                          bool hover) = 0;
    // A left click on a row (pos in the row's rectangle); default: select it and report 2.
    virtual void OnRowClick(int index, QPoint pos);
    // A right click on a row; default: select it and report 5. Outside the rows: 5 with -1.
    virtual void OnRowRightClick(int index, QPoint pos);
    virtual void OnRowDoubleClick(int, QPoint) {}
    // The keyboard moved the selection; default: report 2.
    virtual void OnKeySelect(int index);
    // Call after rows were added or removed.
    void RowsChanged();
    // Call after the row at `index` was removed: the selection follows its row (none when that
    // was the removed one), then RowsChanged.
    void RowRemoved(int index);
    int HoverRow() const { return hover_; }
    QRect ContentRect() const;

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void OnClick(QPoint pos) override;
    void OnRightClick(QPoint pos) override;

    // The scroll bar (only while the rows do not fit).
    bool HasScrollBar() const;
    QRectF ScrollThumb() const;
    void ScrollTo(int offset);

private:
    int MaxScroll() const;

    int itemHeight_ = 36;
    int selected_ = -1;
    int hover_ = -1;
    int scroll_ = 0;
    bool draggingThumb_ = false;
    int dragStartY_ = 0;
    int dragStartScroll_ = 0;
};

}  // namespace DUI
