// Inside the kit only: the top-level widget of an MWindow. It paints the window background,
// turns widget events (resize, activation, close, posted messages) into the window's virtual
// operations, and moves or resizes the frameless window from its caption and edges.
#pragma once

#include "common/dui/DuiTypes.h"

#include <QEvent>
#include <QMargins>
#include <QPoint>
#include <QWidget>

#include <string>

namespace DUI {

class MWindow;

namespace detail {

// A message queued by PostMessage.
class WindowMessageEvent : public QEvent {
public:
    WindowMessageEvent(UINT message, WPARAM wParam, LPARAM lParam);
    static QEvent::Type EventType();

    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class WindowFrame : public QWidget {
public:
    WindowFrame(MWindow* owner, QWidget* parent, Qt::WindowFlags flags);
    ~WindowFrame() override;

    MWindow* Owner() const { return owner_; }
    // Cuts the tie to the window object (it is being destroyed).
    void Detach() { owner_ = nullptr; }

    void SetBkImage(std::u16string_view image) {
        bkImage_ = image;
        update();
    }
    void SetBkMode(int mode, QMargins borders) {
        bkMode_ = mode;
        bkBorders_ = borders;
        update();
    }
    void SetBkColors(QColor fill, QColor border) {
        fill_ = fill;
        border_ = border;
        update();
    }
    void SetCaption(const MRect& rect) { caption_ = rect; }
    void SetResizeBorder(int width) { resizeBorder_ = width; }
    int ResizeBorder() const { return resizeBorder_; }
    void SetClosing(bool closing) { closing_ = closing; }
    void SetUiReady(bool ready);

    // Caption handling for presses that reach the frame or a passive control. `pos` is in the
    // frame's coordinates. Press answers true when it took the press (caption or edge).
    bool CaptionPress(QPoint pos, QPointF globalPos);
    // True once the press has turned into a move of the window.
    bool CaptionMove(QPointF globalPos);
    void CaptionRelease();
    bool CaptionDoubleClick(QPoint pos);
    bool CaptionMoved() const { return moved_; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    Qt::Edges EdgesAt(QPoint pos) const;

    MWindow* owner_;
    std::u16string bkImage_;
    int bkMode_ = 0;
    QMargins bkBorders_;
    QColor fill_;
    QColor border_;
    MRect caption_;
    int resizeBorder_ = 0;
    bool closing_ = false;
    bool uiReady_ = false;
    QSize lastUiSize_;

    bool armed_ = false;
    bool moved_ = false;
    QPointF pressGlobal_;
    QPoint pressFramePos_;
};

}  // namespace detail
}  // namespace DUI
