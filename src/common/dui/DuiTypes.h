// Plain types and numbers shared by every part of the widget kit: rectangles and points in the
// window's client coordinates, the window-message vocabulary the program speaks (the numbers
// are the familiar desktop ones, so posted messages keep their meaning), show commands, window
// styles, notification codes and text alignment flags.
#pragma once

#include <cstdint>

namespace DUI {

using UINT = unsigned int;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

// A Windows colour value: red in the low byte, green in the second, blue in the third.
using COLORREF = std::uint32_t;
constexpr COLORREF RGB(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(COLORREF c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GetGValue(COLORREF c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int GetBValue(COLORREF c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

// Control text colours are ARGB (0xAARRGGBB). An ARGB value whose alpha byte is 0 but whose
// colour is not black is taken as opaque, so 0x969696 and 0xFF969696 draw alike.
using ARGB = std::uint32_t;

// Opaque handle of a window. It stays comparable after the window is gone; MWindow::FromHandle
// answers nullptr for a handle whose window no longer exists, so a stale handle is harmless.
struct HWND__;
using HWND = HWND__*;

struct MPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const MPoint&, const MPoint&) = default;
};

struct MSize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const MSize&, const MSize&) = default;
};

// Rectangle as the desktop API has it: right and bottom are exclusive.
struct MRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(MPoint p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    MRect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    friend bool operator==(const MRect&, const MRect&) = default;
};

// Window messages.
constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_SHOWWINDOW = 0x0018;
constexpr UINT WM_NCACTIVATE = 0x0086;
constexpr UINT WM_INPUT = 0x00FF;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
constexpr UINT WM_DEVICECHANGE = 0x0219;
constexpr UINT WM_USER = 0x0400;
constexpr UINT WM_APP = 0x8000;

// Dialog results and the WM_COMMAND ids that end a dialog.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

// Show commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_MAXIMIZE = 3;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_SHOWMINNOACTIVE = 7;
constexpr int SW_SHOWNA = 8;
constexpr int SW_RESTORE = 9;

// Window styles. Of these the kit honours WS_VISIBLE (show after creation); the others are
// accepted so creation calls read as they always have.
constexpr std::uint32_t WS_POPUP = 0x80000000u;
constexpr std::uint32_t WS_VISIBLE = 0x10000000u;
constexpr std::uint32_t WS_CLIPSIBLINGS = 0x04000000u;
constexpr std::uint32_t WS_CLIPCHILDREN = 0x02000000u;
constexpr std::uint32_t WS_MINIMIZEBOX = 0x00020000u;
constexpr std::uint32_t WS_MAXIMIZEBOX = 0x00010000u;
constexpr std::uint32_t WS_THICKFRAME = 0x00040000u;  // resizable by its edges

// Extended styles: tool window (no task-bar entry, stays above its owner), topmost, layered
// (per-pixel transparency of the background image).
constexpr std::uint32_t WS_EX_TOPMOST = 0x00000008u;
constexpr std::uint32_t WS_EX_TOOLWINDOW = 0x00000080u;
constexpr std::uint32_t WS_EX_LAYERED = 0x00080000u;
// The kit's own: a pop-up dialog that closes when the user clicks outside it. It then gets
// OnNcActivate(false), and a modal run ends with IDCANCEL unless the dialog ended it itself.
constexpr std::uint32_t WS_EX_DUI_POPUP = 0x80000000u;

// SetWindowPos.
constexpr HWND HWND_TOP = nullptr;
inline const HWND HWND_BOTTOM = reinterpret_cast<HWND>(std::intptr_t{1});
inline const HWND HWND_TOPMOST = reinterpret_cast<HWND>(std::intptr_t{-1});
inline const HWND HWND_NOTOPMOST = reinterpret_cast<HWND>(std::intptr_t{-2});
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
constexpr UINT SWP_HIDEWINDOW = 0x0080;

// Notification codes a control sends to its window's OnMessage.
constexpr int kNotifyClick = 2;          // click, or a value committed
constexpr int kNotifyRightClick = 5;     // right click
constexpr int kNotifySliderMoving = 8;   // slider moving (the button is still down)
constexpr int kNotifySecondary = 9;      // the secondary button of an item (colour dot, "more")
constexpr int kNotifyEditChanged = 26;   // the user changed an edit's text
constexpr int kNotifyColorPicked = 27;   // the palette's colour changed while picking
constexpr int kNotifyEditFinished = 29;  // editing ended: Enter or focus lost
constexpr int kNotifyFocus = 30;         // focus gained, or a stage chosen by keyboard

// Text alignment flags of MControlFont::SetAlign. Horizontal: bits 0-1; vertical: bits 2-3
// (default vertically centred); wrap and elide are independent.
constexpr int kAlignLeft = 0x00;
constexpr int kAlignCenter = 0x01;
constexpr int kAlignRight = 0x02;
constexpr int kAlignVCenter = 0x00;
constexpr int kAlignTop = 0x04;
constexpr int kAlignBottom = 0x08;
constexpr int kAlignWrap = 0x10;
constexpr int kAlignElide = 0x20;

// How a skin image fills its control (MControl::SetImageMode, MWindow::SetBkMode).
constexpr int kDrawStretch = 0;     // the frame is scaled to the rectangle
constexpr int kDrawBorders = 1;     // nine-slice: the borders keep their size, the middle stretches
constexpr int kDrawCenter = 2;      // natural size, centred (scaled down when it does not fit)
constexpr int kDrawBordersFit = 3;  // nine-slice with one margin all round (pop-up frames)
constexpr int kDrawTile = 4;        // repeated from the top-left corner

}  // namespace DUI
