// Windows of the kit. MWindow is a frameless, skinned top-level window with its own message
// handling; MDialog adds the modal run. Every window the program shows is a subclass that
// overrides some of the virtual operations below (listed in their slot order).
//
// Life: construct, Create (which runs OnInitDialog, and through it InitUI and UISize), use,
// then DestroyWindow (or OnDestroy, the window's close operation, whose default destroys it)
// and delete. A window exists between Create and DestroyWindow; timers and posted messages
// need it to exist. Window thread only, except PostMessage and the handle functions, which any
// thread may call.
#pragma once

#include "common/dui/DuiTypes.h"
#include "common/dui/MControl.h"

#include <QPointer>

#include <map>
#include <memory>
#include <string>
#include <string_view>

class QEventLoop;
class QTimer;
class QWidget;

namespace DUI {

class MObject {
public:
    virtual ~MObject() = default;
};

class MWindow : public MObject, public MControlHost {
public:
    static constexpr const char16_t* kClassName = u"MWindow";

    MWindow();
    ~MWindow() override;
    MWindow(const MWindow&) = delete;
    MWindow& operator=(const MWindow&) = delete;

    // --- virtual operations (slot order) ---
    // Window messages: posted ones, WM_CLOSE, WM_COMMAND IDOK/IDCANCEL. The default handles
    // WM_CLOSE (see MDialog; a plain window hides) and answers 0.
    virtual LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Runs once at the end of Create. The default builds the contents: InitUI, then UISize,
    // with the client rectangle. Answers 1.
    virtual int OnInitDialog();
    // Creates the controls (client rectangle).
    virtual void InitUI(const MRect& client);
    // Places the controls; called after InitUI and on every resize.
    virtual void UISize(const MRect& client);
    // A control's notification; answer 1 when handled.
    virtual int OnMessage(int controlId, int code, WPARAM value1, LPARAM value2);
    // The window became active (true) or lost activation (false).
    virtual int OnNcActivate(bool active);
    virtual void OnTimer(UINT timerId);
    // The window's close operation; the default destroys the window and answers the result.
    virtual int OnDestroy();

    // --- the window ---
    // Creates the window: owner `parent` (may be null), title, styles (WS_VISIBLE shows it,
    // WS_EX_TOOLWINDOW keeps it off the task bar and above its owner, WS_EX_TOPMOST, and
    // WS_EX_LAYERED for per-pixel transparency), rectangle in screen coordinates. False when it
    // already exists.
    bool Create(MWindow* parent, std::u16string_view title, std::uint32_t style,
                std::uint32_t exStyle, const MRect& rect);
    using MControlHost::Create;  // Create<MButton>(id, rect, text): a control of this window
    bool IsCreated() const;
    // Removes the window (its controls with it); the object stays. Idempotent. A modal run in
    // progress ends with IDCANCEL.
    bool DestroyWindow();

    HWND GetSafeHwnd() const;
    // The live window of a handle, or nullptr (window thread).
    static MWindow* FromHandle(HWND handle);
    // The first live window of this class name ("MWindow") and title, or nullptr. An empty
    // class name matches any class.
    static HWND FindWindow(std::u16string_view className, std::u16string_view title);
    static MWindow* FindWindowByTitle(std::u16string_view title);

    std::u16string GetWindowTitle() const { return title_; }
    void SetWindowTitle(std::u16string_view title);
    MWindow* GetParent() const;
    QWidget* GetWidget() const;  // the top-level widget (rendering, tests)

    MRect GetClientRect() const;
    MRect GetWindowRect() const;  // screen coordinates
    MPoint ClientToScreen(MPoint p) const;
    MRect ClientToScreen(const MRect& r) const;
    MPoint ScreenToClient(MPoint p) const;
    void CenterWindow(MWindow* relativeTo = nullptr);
    bool ShowWindow(int showCommand);
    bool IsWindowVisible() const;
    bool IsMaximized() const;
    bool IsMinimized() const;
    void Minimize();
    // Maximizes a normal window and restores a maximized one.
    void Maximize();
    void Restore();
    bool MoveWindow(int x, int y, int width, int height, bool repaint = true);
    bool MoveWindow(const MRect& rect, bool repaint = true);
    bool SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
    void InvalidateRect(const MRect* rect = nullptr, bool erase = true);
    void SetActiveWindow();

    // The caption: a press there (on the window background or a passive control) and a drag
    // move the window; a double click maximizes or restores a resizable window.
    void SetCaptionRect(const MRect& rect);
    MRect GetCaptionRect() const { return caption_; }
    // Resizable by its edges (border width in pixels; 0 = fixed size) with a minimum size.
    void SetResizable(int borderWidth, MSize minimum = {});

    // Background when no control covers it: an image (draw mode and borders) over a fill colour
    // with a border line (Windows colour values).
    void SetBkImage(std::u16string_view name);
    void SetBkMode(int mode, int left = 0, int top = -1, int right = -1, int bottom = -1);
    void SetBkColor(COLORREF fill, COLORREF border);
    // The window's icon (a skin file name).
    void SetIcon(std::u16string_view name);

    // A named value on the window (window properties).
    void SetProp(std::u16string_view name, std::intptr_t value);
    std::intptr_t GetProp(std::u16string_view name) const;
    static HWND FindWindowWithProp(std::u16string_view name);

    // --- messages and timers ---
    // Queues a message for OnWindowMessage on the window thread. Any thread. False when the
    // window does not exist.
    bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    // Calls OnWindowMessage now (window thread).
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Starts (or restarts) timer `id`; OnTimer(id) follows every `ms` milliseconds.
    bool SetTimer(UINT id, int ms);
    bool KillTimer(UINT id);
    // The kit's animation tick (Manager::SetMTimer) and one control on it.
    void SetMTimer(int periodMs);
    void AddMTimer(MControl* control);

protected:
    QWidget* HostWidget() const override;
    QPoint HostOrigin() const override { return {0, 0}; }
    detail::WindowFrame* HostFrame() const override;

    // Hooks for subclasses inside the kit (pop-ups).
    virtual void OnCreateFlags(Qt::WindowFlags& flags);
    virtual void OnWidgetClosed();

private:
    friend class detail::WindowFrame;
    void HandleResize();
    void HandleActivation(bool active);

    detail::WindowFrame* Frame() const;
    QPointer<QWidget> frame_;  // a detail::WindowFrame
    MWindow* parent_ = nullptr;
    std::u16string title_;
    std::uint32_t style_ = 0;
    std::uint32_t exStyle_ = 0;
    MRect caption_;
    std::map<UINT, QPointer<QTimer>> timers_;
    std::map<std::u16string, std::intptr_t> props_;

protected:
    // False once the object is destroyed; a modal run checks it after its loop returns.
    std::shared_ptr<bool> alive_;

protected:
    // Set by MDialog while a modal run is going on.
    QEventLoop* modalLoop_ = nullptr;
    int modalResult_ = 0;
    bool modalEnding_ = false;
};

class MDialog : public MWindow {
public:
    // Shows the window with `showCommand` and runs a nested event loop until EndDialog. Answers
    // the result: IDOK (1) after DoOK, IDCANCEL (2) after DoCancel, the first parameter of a
    // WM_CLOSE received meanwhile (IDCANCEL when it is 0), IDCANCEL when the window is destroyed
    // during the run; -1 when the window does not exist. The window is hidden afterwards.
    int ShowModal(int showCommand = SW_SHOW);
    bool IsModal() const { return modalLoop_ != nullptr; }
    void EndDialog(int result);
    // End the modal run with IDOK / IDCANCEL; a window that is not running modally hides.
    void DoOK();
    void DoCancel();

    // WM_CLOSE: ends a modal run (see ShowModal) or hides; WM_COMMAND IDOK / IDCANCEL: DoOK /
    // DoCancel.
    LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // A WS_EX_DUI_POPUP dialog closed by a click outside it.
    void OnWidgetClosed() override;
};

// Queues a message for a window by handle. Any thread; false when the window is gone.
bool PostMessage(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// Shows or hides a window by handle (window thread).
bool ShowWindow(HWND window, int showCommand);
// The mouse cursor's position in screen coordinates (pop-up menus open there).
MPoint GetCursorPos();

}  // namespace DUI
