#include "common/dui/MWindow.h"

#include "common/dui/Manager.h"
#include "common/dui/SkinImage.h"
#include "common/dui/WindowFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyleHints>
#include <QTimer>
#include <QToolTip>
#include <QWindow>

#include <algorithm>
#include <mutex>
#include <vector>

namespace DUI {

namespace {

QString ToQ(std::u16string_view s) {
    return QString::fromUtf16(s.data(), qsizetype(s.size()));
}

// Live windows, in creation order. The lock makes lookups and posting safe from any thread:
// a window leaves the list (under the lock) before its widget can be deleted.
struct RegistryEntry {
    MWindow* window;
    detail::WindowFrame* frame;
};

std::mutex& RegistryMutex() {
    static std::mutex m;
    return m;
}

std::vector<RegistryEntry>& Registry() {
    static std::vector<RegistryEntry> entries;
    return entries;
}

void Register(MWindow* window, detail::WindowFrame* frame) {
    std::lock_guard lock(RegistryMutex());
    Registry().push_back({window, frame});
}

void Unregister(MWindow* window) {
    std::lock_guard lock(RegistryMutex());
    auto& entries = Registry();
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [&](const RegistryEntry& e) { return e.window == window; }),
                  entries.end());
}

bool PostToHandle(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    std::lock_guard lock(RegistryMutex());
    for (const RegistryEntry& e : Registry()) {
        if (reinterpret_cast<HWND>(e.window) == handle) {
            QCoreApplication::postEvent(e.frame,
                                        new detail::WindowMessageEvent(message, wParam, lParam));
            return true;
        }
    }
    return false;
}

// The offscreen platform (tests, rendering) cannot raise windows and says so on every call.
void Raise(QWidget* w) {
    static const bool canRaise = QGuiApplication::platformName() != QLatin1String("offscreen");
    if (canRaise) {
        w->raise();
    }
}

// Tooltips in the dark look, set once for the whole program.
void ApplyToolTipLook() {
    static bool done = false;
    if (done) {
        return;
    }
    done = true;
    QPalette pal = QToolTip::palette();
    pal.setColor(QPalette::ToolTipBase, ToQColor(kColorPanelLight));
    pal.setColor(QPalette::ToolTipText, ToQColor(kColorText));
    pal.setColor(QPalette::Window, ToQColor(kColorPanelLight));
    pal.setColor(QPalette::WindowText, ToQColor(kColorText));
    QToolTip::setPalette(pal);
}

QMargins Borders(int left, int top, int right, int bottom) {
    if (top < 0 && right < 0 && bottom < 0) {
        return {left, left, left, left};
    }
    return {left, std::max(0, top), std::max(0, right), std::max(0, bottom)};
}

}  // namespace

// ---------------------------------------------------------------------------------------------

namespace detail {

WindowMessageEvent::WindowMessageEvent(UINT msg, WPARAM w, LPARAM l)
    : QEvent(EventType()), message(msg), wParam(w), lParam(l) {}

QEvent::Type WindowMessageEvent::EventType() {
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

WindowFrame::WindowFrame(MWindow* owner, QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), owner_(owner) {
    fill_ = ToQColor(kColorBackground);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setMouseTracking(false);
    setFocusPolicy(Qt::ClickFocus);
}

WindowFrame::~WindowFrame() {
    // A parent window's destruction takes its owned windows with it.
    if (owner_) {
        Unregister(owner_);
    }
}

void WindowFrame::SetUiReady(bool ready) {
    uiReady_ = ready;
    lastUiSize_ = size();
}

bool WindowFrame::event(QEvent* e) {
    if (e->type() == WindowMessageEvent::EventType()) {
        auto* m = static_cast<WindowMessageEvent*>(e);
        if (owner_) {
            owner_->OnWindowMessage(m->message, m->wParam, m->lParam);
        }
        return true;
    }
    return QWidget::event(e);
}

void WindowFrame::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRectF r = rect();
    if (testAttribute(Qt::WA_TranslucentBackground)) {
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.fillRect(r, Qt::transparent);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    auto image = bkImage_.empty() ? nullptr : Manager::GetImage(bkImage_);
    if (!image || image->IsNull() || testAttribute(Qt::WA_TranslucentBackground) == false) {
        p.fillRect(r, fill_);
    }
    if (image && !image->IsNull()) {
        image->Draw(p, r, 0, 1, bkMode_, bkBorders_);
    } else if (border_.isValid()) {
        p.setPen(QPen(border_, 1));
        p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
    }
}

void WindowFrame::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    if (uiReady_ && owner_ && size() != lastUiSize_) {
        lastUiSize_ = size();
        owner_->HandleResize();
    }
}

void WindowFrame::closeEvent(QCloseEvent* e) {
    if (closing_ || !owner_) {
        e->accept();
        return;
    }
    if (windowType() == Qt::Popup) {
        // Qt closes pop-ups itself on a click outside; let it, then tell the window.
        e->accept();
        owner_->OnWidgetClosed();
        return;
    }
    // A close from outside (window manager, keyboard) becomes WM_CLOSE for the window to decide.
    e->ignore();
    owner_->SendMessage(WM_CLOSE, 0, 0);
}

void WindowFrame::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && owner_) {
        // A hidden window has nothing to tell: its deactivation was reported when it closed.
        if (isVisible() || !isActiveWindow()) {
            owner_->HandleActivation(isActiveWindow());
        }
    } else if (e->type() == QEvent::WindowStateChange && owner_) {
        // Maximize and restore change the size; UISize follows through resizeEvent.
        update();
    }
}

Qt::Edges WindowFrame::EdgesAt(QPoint pos) const {
    Qt::Edges edges;
    if (resizeBorder_ <= 0 || isMaximized()) {
        return edges;
    }
    if (pos.x() < resizeBorder_)
        edges |= Qt::LeftEdge;
    if (pos.x() >= width() - resizeBorder_)
        edges |= Qt::RightEdge;
    if (pos.y() < resizeBorder_)
        edges |= Qt::TopEdge;
    if (pos.y() >= height() - resizeBorder_)
        edges |= Qt::BottomEdge;
    return edges;
}

bool WindowFrame::CaptionPress(QPoint pos, QPointF globalPos) {
    armed_ = false;
    moved_ = false;
    if (const Qt::Edges edges = EdgesAt(pos); edges && windowHandle()) {
        windowHandle()->startSystemResize(edges);
        return true;
    }
    if (!caption_.Contains({pos.x(), pos.y()})) {
        return false;
    }
    armed_ = true;
    pressGlobal_ = globalPos;
    pressFramePos_ = this->pos();
    return true;
}

bool WindowFrame::CaptionMove(QPointF globalPos) {
    if (!armed_) {
        return moved_;
    }
    const QPointF delta = globalPos - pressGlobal_;
    if (!moved_ && delta.manhattanLength() < QGuiApplication::styleHints()->startDragDistance()) {
        return false;
    }
    if (!moved_) {
        moved_ = true;
        if (isMaximized()) {
            return true;  // a maximized window stays put
        }
        // The window manager moves the window when it can; otherwise we follow the mouse.
        if (windowHandle() && windowHandle()->startSystemMove()) {
            armed_ = false;
            return true;
        }
    }
    if (!isMaximized()) {
        move(pressFramePos_ + delta.toPoint());
    }
    return true;
}

void WindowFrame::CaptionRelease() {
    armed_ = false;
}

bool WindowFrame::CaptionDoubleClick(QPoint pos) {
    if (!caption_.Contains({pos.x(), pos.y()}) || !owner_ || resizeBorder_ <= 0) {
        return false;
    }
    owner_->Maximize();
    return true;
}

void WindowFrame::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        CaptionPress(e->position().toPoint(), e->globalPosition());
    }
    QWidget::mousePressEvent(e);
}

void WindowFrame::mouseMoveEvent(QMouseEvent* e) {
    if (e->buttons() & Qt::LeftButton) {
        CaptionMove(e->globalPosition());
    }
    QWidget::mouseMoveEvent(e);
}

void WindowFrame::mouseReleaseEvent(QMouseEvent* e) {
    CaptionRelease();
    QWidget::mouseReleaseEvent(e);
}

void WindowFrame::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        CaptionDoubleClick(e->position().toPoint());
    }
    QWidget::mouseDoubleClickEvent(e);
}

}  // namespace detail

// ---------------------------------------------------------------------------------------------

MWindow::MWindow() : alive_(std::make_shared<bool>(true)) {}

detail::WindowFrame* MWindow::Frame() const {
    return static_cast<detail::WindowFrame*>(frame_.data());
}

MWindow::~MWindow() {
    *alive_ = false;
    DestroyWindow();
}

LRESULT MWindow::OnWindowMessage(UINT message, WPARAM, LPARAM) {
    if (message == WM_CLOSE) {
        ShowWindow(SW_HIDE);
    }
    return 0;
}

int MWindow::OnInitDialog() {
    const MRect client = GetClientRect();
    InitUI(client);
    UISize(client);
    return 1;
}

void MWindow::InitUI(const MRect&) {}
void MWindow::UISize(const MRect&) {}
int MWindow::OnMessage(int, int, WPARAM, LPARAM) {
    return 0;
}
int MWindow::OnNcActivate(bool) {
    return 1;
}
void MWindow::OnTimer(UINT) {}
int MWindow::OnDestroy() {
    return DestroyWindow() ? 1 : 0;
}

void MWindow::OnCreateFlags(Qt::WindowFlags&) {}
void MWindow::OnWidgetClosed() {
    ShowWindow(SW_HIDE);
}

bool MWindow::Create(MWindow* parent, std::u16string_view title, std::uint32_t style,
                     std::uint32_t exStyle, const MRect& rect) {
    if (frame_) {
        return false;
    }
    ApplyToolTipLook();
    parent_ = parent;
    title_ = title;
    style_ = style;
    exStyle_ = exStyle;

    Qt::WindowFlags flags = Qt::Window | Qt::FramelessWindowHint;
    if (exStyle & WS_EX_TOOLWINDOW) {
        flags = Qt::Tool | Qt::FramelessWindowHint;
    }
    if (exStyle & WS_EX_TOPMOST) {
        flags |= Qt::WindowStaysOnTopHint;
    }
    if (exStyle & WS_EX_DUI_POPUP) {
        flags = Qt::Popup | Qt::FramelessWindowHint;
    }
    OnCreateFlags(flags);
    QWidget* parentWidget = parent ? parent->GetWidget() : nullptr;
    auto* frame = new detail::WindowFrame(this, parentWidget, flags);
    frame_ = frame;
    frame->setWindowTitle(ToQ(title));
    frame->setObjectName(QStringLiteral("MWindow"));
    if (exStyle & WS_EX_LAYERED) {
        frame->setAttribute(Qt::WA_TranslucentBackground);
    }
    frame->setGeometry(rect.left, rect.top, std::max(1, rect.Width()), std::max(1, rect.Height()));
    if (style & WS_THICKFRAME) {
        frame->SetResizeBorder(5);
    }
    Register(this, frame);

    const std::shared_ptr<bool> alive = alive_;
    OnInitDialog();
    if (!*alive || !frame_) {
        return false;
    }
    Frame()->SetUiReady(true);
    if (style & WS_VISIBLE) {
        ShowWindow(SW_SHOW);
    }
    return true;
}

bool MWindow::IsCreated() const {
    return frame_ != nullptr;
}

bool MWindow::DestroyWindow() {
    if (modalLoop_) {
        modalResult_ = IDCANCEL;
        modalLoop_->exit(IDCANCEL);
    }
    for (auto& [id, timer] : timers_) {
        if (timer) {
            timer->stop();
            timer->deleteLater();
        }
    }
    timers_.clear();
    if (!frame_) {
        return false;
    }
    Unregister(this);
    detail::WindowFrame* frame = Frame();
    frame_ = nullptr;
    frame->Detach();
    frame->SetClosing(true);
    frame->hide();
    // Later, not now: the call may come from inside an event handler of one of its controls.
    frame->deleteLater();
    return true;
}

HWND MWindow::GetSafeHwnd() const {
    return frame_ ? reinterpret_cast<HWND>(const_cast<MWindow*>(this)) : nullptr;
}

MWindow* MWindow::FromHandle(HWND handle) {
    std::lock_guard lock(RegistryMutex());
    for (const RegistryEntry& e : Registry()) {
        if (reinterpret_cast<HWND>(e.window) == handle) {
            return e.window;
        }
    }
    return nullptr;
}

HWND MWindow::FindWindow(std::u16string_view className, std::u16string_view title) {
    if (!className.empty() && className != std::u16string_view(kClassName)) {
        return nullptr;
    }
    std::lock_guard lock(RegistryMutex());
    for (const RegistryEntry& e : Registry()) {
        if (e.window->title_ == title) {
            return reinterpret_cast<HWND>(e.window);
        }
    }
    return nullptr;
}

MWindow* MWindow::FindWindowByTitle(std::u16string_view title) {
    return FromHandle(FindWindow(kClassName, title));
}

HWND MWindow::FindWindowWithProp(std::u16string_view name) {
    std::lock_guard lock(RegistryMutex());
    for (const RegistryEntry& e : Registry()) {
        if (e.window->props_.count(std::u16string(name))) {
            return reinterpret_cast<HWND>(e.window);
        }
    }
    return nullptr;
}

void MWindow::SetWindowTitle(std::u16string_view title) {
    {
        std::lock_guard lock(RegistryMutex());
        title_ = title;
    }
    if (frame_) {
        frame_->setWindowTitle(ToQ(title));
    }
}

MWindow* MWindow::GetParent() const {
    return parent_;
}

QWidget* MWindow::GetWidget() const {
    return frame_;
}
QWidget* MWindow::HostWidget() const {
    return frame_;
}
detail::WindowFrame* MWindow::HostFrame() const {
    return Frame();
}

MRect MWindow::GetClientRect() const {
    if (!frame_) {
        return {};
    }
    return {0, 0, frame_->width(), frame_->height()};
}

MRect MWindow::GetWindowRect() const {
    if (!frame_) {
        return {};
    }
    const QRect g = frame_->geometry();
    return {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

MPoint MWindow::ClientToScreen(MPoint p) const {
    if (!frame_) {
        return p;
    }
    const QPoint q = frame_->mapToGlobal(QPoint(p.x, p.y));
    return {q.x(), q.y()};
}

MRect MWindow::ClientToScreen(const MRect& r) const {
    const MPoint tl = ClientToScreen(MPoint{r.left, r.top});
    return {tl.x, tl.y, tl.x + r.Width(), tl.y + r.Height()};
}

MPoint MWindow::ScreenToClient(MPoint p) const {
    if (!frame_) {
        return p;
    }
    const QPoint q = frame_->mapFromGlobal(QPoint(p.x, p.y));
    return {q.x(), q.y()};
}

void MWindow::CenterWindow(MWindow* relativeTo) {
    if (!frame_) {
        return;
    }
    MWindow* around = relativeTo ? relativeTo : parent_;
    QRect area;
    if (around && around->frame_ && around->frame_->isVisible()) {
        area = around->frame_->geometry();
    } else {
        QScreen* screen = frame_->screen() ? frame_->screen() : QGuiApplication::primaryScreen();
        area = screen ? screen->availableGeometry() : QRect(0, 0, 1920, 1080);
    }
    QRect g = frame_->geometry();
    g.moveCenter(area.center());
    frame_->move(g.topLeft());
}

bool MWindow::ShowWindow(int cmd) {
    if (!frame_) {
        return false;
    }
    const bool wasVisible = frame_->isVisible();
    switch (cmd) {
        case SW_HIDE:
            frame_->hide();
            break;
        case SW_SHOWNORMAL:
        case SW_RESTORE:
            frame_->showNormal();
            Raise(frame_);
            frame_->activateWindow();
            break;
        case SW_SHOWMINIMIZED:
        case SW_MINIMIZE:
        case SW_SHOWMINNOACTIVE:
            frame_->showMinimized();
            break;
        case SW_SHOWMAXIMIZED:
            frame_->showMaximized();
            Raise(frame_);
            frame_->activateWindow();
            break;
        case SW_SHOWNOACTIVATE:
        case SW_SHOWNA:
            frame_->setAttribute(Qt::WA_ShowWithoutActivating);
            frame_->show();
            frame_->setAttribute(Qt::WA_ShowWithoutActivating, false);
            break;
        case SW_SHOW:
        default:
            frame_->show();
            Raise(frame_);
            frame_->activateWindow();
            break;
    }
    return wasVisible;
}

bool MWindow::IsWindowVisible() const {
    return frame_ && frame_->isVisible();
}
bool MWindow::IsMaximized() const {
    return frame_ && frame_->isMaximized();
}
bool MWindow::IsMinimized() const {
    return frame_ && frame_->isMinimized();
}

void MWindow::Minimize() {
    if (frame_) {
        frame_->showMinimized();
    }
}

void MWindow::Maximize() {
    if (!frame_) {
        return;
    }
    if (frame_->isMaximized()) {
        frame_->showNormal();
    } else {
        frame_->showMaximized();
    }
}

void MWindow::Restore() {
    if (frame_) {
        frame_->showNormal();
    }
}

bool MWindow::MoveWindow(int x, int y, int width, int height, bool repaint) {
    if (!frame_) {
        return false;
    }
    frame_->setGeometry(x, y, std::max(1, width), std::max(1, height));
    if (repaint) {
        frame_->update();
    }
    return true;
}

bool MWindow::MoveWindow(const MRect& r, bool repaint) {
    return MoveWindow(r.left, r.top, r.Width(), r.Height(), repaint);
}

bool MWindow::SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    if (!frame_) {
        return false;
    }
    if (!(flags & SWP_NOZORDER)) {
        const bool wasVisible = frame_->isVisible();
        const bool onTop = frame_->windowFlags() & Qt::WindowStaysOnTopHint;
        if (insertAfter == HWND_TOPMOST && !onTop) {
            frame_->setWindowFlag(Qt::WindowStaysOnTopHint, true);
            exStyle_ |= WS_EX_TOPMOST;
        } else if (insertAfter == HWND_NOTOPMOST && onTop) {
            frame_->setWindowFlag(Qt::WindowStaysOnTopHint, false);
            exStyle_ &= ~WS_EX_TOPMOST;
        }
        // Changing window flags hides a widget; bring it back as it was.
        if (wasVisible && !frame_->isVisible()) {
            frame_->setAttribute(Qt::WA_ShowWithoutActivating, (flags & SWP_NOACTIVATE) != 0);
            frame_->show();
            frame_->setAttribute(Qt::WA_ShowWithoutActivating, false);
        }
        if (insertAfter == HWND_BOTTOM) {
            frame_->lower();
        } else {
            Raise(frame_);
        }
    }
    if (!(flags & SWP_NOMOVE)) {
        frame_->move(x, y);
    }
    if (!(flags & SWP_NOSIZE)) {
        frame_->resize(std::max(1, cx), std::max(1, cy));
    }
    if (flags & SWP_SHOWWINDOW) {
        ShowWindow((flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
    }
    if (flags & SWP_HIDEWINDOW) {
        frame_->hide();
    }
    return true;
}

void MWindow::InvalidateRect(const MRect* rect, bool) {
    if (!frame_) {
        return;
    }
    if (rect) {
        frame_->update(QRect(rect->left, rect->top, rect->Width(), rect->Height()));
        for (MControl* c : GetChildControls()) {
            c->update();
        }
    } else {
        frame_->update();
        for (QWidget* w : frame_->findChildren<QWidget*>()) {
            w->update();
        }
    }
}

void MWindow::SetActiveWindow() {
    if (frame_) {
        frame_->activateWindow();
    }
}

void MWindow::SetCaptionRect(const MRect& rect) {
    caption_ = rect;
    if (frame_) {
        Frame()->SetCaption(rect);
    }
}

void MWindow::SetResizable(int borderWidth, MSize minimum) {
    if (!frame_) {
        return;
    }
    Frame()->SetResizeBorder(std::max(0, borderWidth));
    if (minimum.cx > 0 || minimum.cy > 0) {
        frame_->setMinimumSize(std::max(1, minimum.cx), std::max(1, minimum.cy));
    }
}

void MWindow::SetBkImage(std::u16string_view name) {
    if (frame_) {
        Frame()->SetBkImage(name);
    }
}

void MWindow::SetBkMode(int mode, int left, int top, int right, int bottom) {
    if (frame_) {
        Frame()->SetBkMode(mode, Borders(left, top, right, bottom));
    }
}

void MWindow::SetBkColor(COLORREF fill, COLORREF border) {
    if (frame_) {
        Frame()->SetBkColors(FromColorRef(fill), FromColorRef(border));
    }
}

void MWindow::SetIcon(std::u16string_view name) {
    if (!frame_) {
        return;
    }
    const auto path = Manager::GetSkinFolder() / std::filesystem::path(std::u16string(name));
    QIcon icon(QString::fromStdString(path.string()));
    if (!icon.isNull()) {
        frame_->setWindowIcon(icon);
    }
}

void MWindow::SetProp(std::u16string_view name, std::intptr_t value) {
    std::lock_guard lock(RegistryMutex());
    props_[std::u16string(name)] = value;
}

std::intptr_t MWindow::GetProp(std::u16string_view name) const {
    std::lock_guard lock(RegistryMutex());
    auto it = props_.find(std::u16string(name));
    return it == props_.end() ? 0 : it->second;
}

bool MWindow::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return PostToHandle(reinterpret_cast<HWND>(const_cast<MWindow*>(this)), message, wParam,
                        lParam);
}

LRESULT MWindow::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return OnWindowMessage(message, wParam, lParam);
}

bool MWindow::SetTimer(UINT id, int ms) {
    if (!frame_) {
        return false;
    }
    QPointer<QTimer>& timer = timers_[id];
    if (!timer) {
        timer = new QTimer(frame_);
        QObject::connect(timer, &QTimer::timeout, frame_, [this, id] {
            if (frame_) {
                OnTimer(id);
            }
        });
    }
    timer->start(std::max(0, ms));
    return true;
}

bool MWindow::KillTimer(UINT id) {
    auto it = timers_.find(id);
    if (it == timers_.end()) {
        return false;
    }
    if (it->second) {
        it->second->stop();
        it->second->deleteLater();
    }
    timers_.erase(it);
    return true;
}

void MWindow::SetMTimer(int periodMs) {
    Manager::SetMTimer(periodMs);
}

void MWindow::AddMTimer(MControl* control) {
    Manager::AddMTimer(control);
}

void MWindow::HandleResize() {
    UISize(GetClientRect());
}

void MWindow::HandleActivation(bool active) {
    OnNcActivate(active);
}

// ---------------------------------------------------------------------------------------------

int MDialog::ShowModal(int showCommand) {
    if (!IsCreated() || modalLoop_) {
        return -1;
    }
    const std::shared_ptr<bool> alive = alive_;
    QPointer<QWidget> frame = GetWidget();
    if (showCommand != SW_HIDE) {
        // Modality is fixed while a window is hidden; an owned dialog blocks its owner chain.
        if (frame->isVisible()) {
            frame->hide();
        }
        frame->setWindowModality(GetParent() ? Qt::WindowModal : Qt::NonModal);
    }
    ShowWindow(showCommand);

    QEventLoop loop;
    modalLoop_ = &loop;
    modalResult_ = IDCANCEL;
    modalEnding_ = false;
    loop.exec(QEventLoop::DialogExec);
    if (!*alive) {
        return IDCANCEL;  // the dialog object itself was deleted during its run
    }
    modalLoop_ = nullptr;
    if (frame) {
        frame->hide();
        frame->setWindowModality(Qt::NonModal);
    }
    return modalResult_;
}

void MDialog::EndDialog(int result) {
    if (modalLoop_) {
        modalResult_ = result;
        modalEnding_ = true;
        modalLoop_->exit(result);
    }
}

void MDialog::OnWidgetClosed() {
    const std::shared_ptr<bool> alive = alive_;
    OnNcActivate(false);
    if (!*alive) {
        return;
    }
    if (modalLoop_ && !modalEnding_) {
        EndDialog(IDCANCEL);
    } else if (!modalLoop_) {
        ShowWindow(SW_HIDE);
    }
}

void MDialog::DoOK() {
    if (modalLoop_) {
        EndDialog(IDOK);
    } else {
        ShowWindow(SW_HIDE);
    }
}

void MDialog::DoCancel() {
    if (modalLoop_) {
        EndDialog(IDCANCEL);
    } else {
        ShowWindow(SW_HIDE);
    }
}

LRESULT MDialog::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        if (modalLoop_) {
            EndDialog(wParam ? static_cast<int>(wParam) : IDCANCEL);
        } else {
            ShowWindow(SW_HIDE);
        }
        return 0;
    }
    if (message == WM_COMMAND && (wParam & 0xFFFF) == IDOK) {
        DoOK();
        return 0;
    }
    if (message == WM_COMMAND && (wParam & 0xFFFF) == IDCANCEL) {
        DoCancel();
        return 0;
    }
    return MWindow::OnWindowMessage(message, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------

bool PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return PostToHandle(window, message, wParam, lParam);
}

MPoint GetCursorPos() {
    const QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

bool ShowWindow(HWND window, int showCommand) {
    MWindow* w = MWindow::FromHandle(window);
    return w ? w->ShowWindow(showCommand) : false;
}

}  // namespace DUI
