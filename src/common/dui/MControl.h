// The base of every control, the host of controls (a window or a container control), and the
// font-bearing control base.
//
// Controls are created by class name and id through a host (CreateControl). Rectangles are in
// the window's client coordinates whatever the container; a container clips its controls to its
// own rectangle. A control reports what the user did to its window's OnMessage (id, code,
// value1, value2) with the codes of DuiTypes.h. Window thread only.
#pragma once

#include "common/dui/DuiTypes.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QPainter;

namespace DUI {

class MWindow;
class MControl;
class SkinImage;

namespace detail {
class WindowFrame;
}

// Something that holds controls: a window, or a container control (MTabLayout, CArea).
class MControlHost {
public:
    virtual ~MControlHost();

    // Creates a control of a registered class (see ControlFactory.h) with the given id, rectangle
    // and text (its title); `visible` and `enabled` (1 or 0) give its first state. Ids need not be
    // unique; GetControl answers the first one created. nullptr for an unknown class name or
    // when the host has no window yet.
    MControl* CreateControl(std::string_view className, int id, const MRect& rect = {},
                            std::u16string_view text = {}, int visible = 1, int enabled = 1);
    // The same for container classes (controls that hold controls); nullptr for other classes.
    MControl* CreateArea(std::string_view className, int id, const MRect& rect = {},
                         std::u16string_view text = {}, int visible = 1, int enabled = 1);

    template <class T>
    T* Create(int id, const MRect& rect = {}, std::u16string_view text = {}, int visible = 1,
              int enabled = 1) {
        return dynamic_cast<T*>(CreateControl(T::kClassName, id, rect, text, visible, enabled));
    }

    // The first control with this id in creation order, searching nested containers too.
    MControl* GetControl(int id) const;
    template <class T>
    T* GetControl(int id) const {
        return dynamic_cast<T*>(GetControl(id));
    }
    // Controls created directly in this host, in creation order.
    std::vector<MControl*> GetChildControls() const;

protected:
    friend class MControl;
    virtual QWidget* HostWidget() const = 0;
    // Position of the host widget's top-left corner in the window's client coordinates.
    virtual QPoint HostOrigin() const = 0;
    virtual detail::WindowFrame* HostFrame() const = 0;
    // Places every child again after the host moved.
    void RelayoutChildren();

private:
    MControl* Make(std::string_view className, int id, const MRect& rect, std::u16string_view text,
                   int visible, int enabled, bool areaOnly);
    std::vector<QPointer<MControl>> children_;
};

class MControl : public QWidget {
public:
    static constexpr const char* kClassName = "MControl";

    MControl();
    ~MControl() override;

    int GetId() const { return id_; }
    const std::string& GetClassName() const { return className_; }
    // The window the control belongs to; nullptr once that window is destroyed.
    MWindow* GetWindow() const;
    MControlHost* GetHost() const { return host_; }
    // This control as a host when it is a container, else nullptr.
    virtual MControlHost* AsHost() { return nullptr; }

    void SetRect(const MRect& rect);
    MRect GetRect() const { return rect_; }
    // Own visibility: a control inside a hidden container still answers true.
    void SetVisible(bool visible);
    bool IsVisible() const;
    void SetEnabled(bool enabled);
    bool IsEnabled() const { return enabled_; }

    virtual void SetTitle(std::u16string_view title);
    std::u16string GetTitle() const { return title_; }
    void SetTooltip(std::u16string_view tip);
    std::u16string GetTooltip() const;

    // Skin image (a file name below the skin folder) made of `frames` frames side by side.
    // Four-frame images hold normal, hover, pressed, disabled; eight-frame images hold those four
    // unchecked and then checked. A missing file draws the control's own placeholder.
    void SetImage(std::u16string_view name, int frames = 1);
    std::u16string GetImage() const { return imageName_; }
    int GetImageFrames() const { return imageFrames_; }
    // Draw mode of the image (kDrawStretch...) and its fixed borders; a single border value
    // (top, right, bottom < 0) applies to all four sides.
    void SetImageMode(int mode, int left = 0, int top = -1, int right = -1, int bottom = -1);
    int GetImageMode() const { return imageMode_; }
    // Natural size of one frame of the image; {0, 0} when there is none.
    MSize GetImageSize() const;

    // Free value kept for the caller.
    void SetData(std::intptr_t value) { data_ = value; }
    std::intptr_t GetData() const { return data_; }

    void SetFocus();
    // Takes the keyboard focus away (an edit then ends its editing turn).
    void KillFocus();
    bool HasFocus() const;
    void Invalidate() { update(); }

    // One animation tick (Manager::AddMTimer). Return false to be removed from the tick.
    virtual bool OnMTimer() { return false; }

protected:
    // Reports to the window's OnMessage; answers its result, 0 without a window. The control may
    // be destroyed by the handler: callers check a QPointer to themselves before going on.
    int Notify(int code, WPARAM value1 = 0, LPARAM value2 = 0);

    // Passive controls (pictures, labels, areas) let a press in the window's caption move it.
    virtual bool IsDragThrough() const { return false; }
    // A left click released inside the control; default: notification 2.
    virtual void OnClick(QPoint pos);
    // A right click released inside; default: notification 5.
    virtual void OnRightClick(QPoint pos);
    virtual void OnTitleChanged() { update(); }
    // After SetRect placed the control (containers place their controls again).
    virtual void OnRectChanged() {}
    detail::WindowFrame* Frame() const;

    bool IsHover() const { return hover_; }
    bool IsPressed() const { return pressed_ && hover_; }
    // 0 normal, 1 hover, 2 pressed, 3 disabled: the frame of a four-frame image.
    int StateFrame() const;
    bool HasSkin() const;
    const SkinImage* Skin() const;
    // Draws frame `index` of the image in the image mode; false (nothing drawn) when missing.
    bool DrawSkin(QPainter& painter, const QRectF& target, int index) const;
    // The same for another image of this control (icons, thumbs).
    static bool DrawImage(QPainter& painter, std::u16string_view name, const QRectF& target,
                          int index = 0, int frames = 1, int mode = kDrawStretch,
                          const QMargins& borders = {});

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class MControlHost;
    void Attach(MControlHost* host, detail::WindowFrame* frame, int id, std::string className);
    void ApplyGeometry();

    int id_ = 0;
    std::string className_;
    MControlHost* host_ = nullptr;
    QPointer<QWidget> frame_;  // the window's detail::WindowFrame
    MRect rect_;
    bool enabled_ = true;
    std::u16string title_;
    std::u16string imageName_;
    int imageFrames_ = 1;
    int imageMode_ = kDrawStretch;
    QMargins imageBorders_;
    mutable std::shared_ptr<const SkinImage> skin_;
    mutable int skinGeneration_ = -1;
    std::intptr_t data_ = 0;
    bool hover_ = false;
    bool pressed_ = false;
    bool rightPressed_ = false;
    bool captionDrag_ = false;
};

// A control that draws text: font, colour and alignment.
class MControlFont : public MControl {
public:
    static constexpr const char* kClassName = "MControlFont";

    // Family of this control's font; empty uses Manager::GetFontName.
    void SetFontName(std::u16string_view name);
    std::u16string GetFontName() const { return fontName_; }
    void SetFontSize(int pixelSize);
    int GetFontSize() const { return fontSize_; }
    void SetFontBold(bool bold);
    bool GetFontBold() const { return bold_; }
    void SetFont(int pixelSize, bool bold = false);
    void SetTextColor(ARGB colour);
    ARGB GetTextColor() const { return textColor_; }
    void SetAlign(int align);  // kAlign... flags
    int GetAlign() const { return align_; }

    QFont Font() const;
    // The text colour, dimmed when the control is disabled.
    QColor TextColor() const;

protected:
    // After the font, the text colour or the alignment changed.
    virtual void OnFontChanged() { update(); }
    // Draws `text` (the title when null) in `rect` with this control's font and alignment.
    void DrawText(QPainter& painter, const QRectF& rect, const std::u16string* text = nullptr,
                  const QColor* colour = nullptr, int align = -1) const;

private:
    std::u16string fontName_;
    int fontSize_ = 14;
    bool bold_ = false;
    ARGB textColor_ = 0xFFFFFFFF;
    int align_ = kAlignLeft;
};

// Qt text-alignment flags for kAlign... flags.
int ToQtAlign(int align);

// Calls `fn` for every control of the host, nested containers included, in creation order.
void ForEachControl(const MControlHost& host, const std::function<void(MControl*)>& fn);

// A control with a check state that may belong to a named group: checking one member unchecks
// the others of that group in the same window (radio buttons, colour buttons, the function
// lists with a group check mark).
class CheckGroupMember {
public:
    virtual ~CheckGroupMember() = default;
    void SetGroup(std::u16string_view name) { group_ = name; }
    const std::u16string& GetGroup() const { return group_; }
    // Sets the state without notifying; checking unchecks the group's other members.
    void SetCheck(bool checked);
    bool GetCheck() const { return checked_; }

protected:
    // The control itself (for finding its window).
    virtual MControl* GroupControl() = 0;
    virtual void OnCheckChanged() {}

private:
    std::u16string group_;
    bool checked_ = false;
};

}  // namespace DUI
