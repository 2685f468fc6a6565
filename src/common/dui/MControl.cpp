#include "common/dui/MControl.h"

#include "common/dui/ControlFactory.h"
#include "common/dui/MWindow.h"
#include "common/dui/Manager.h"
#include "common/dui/SkinImage.h"
#include "common/dui/WindowFrame.h"

#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace DUI {

namespace {

QString ToQ(std::u16string_view s) {
    return QString::fromUtf16(s.data(), qsizetype(s.size()));
}

}  // namespace

int ToQtAlign(int align) {
    int flags = 0;
    switch (align & 0x03) {
        case kAlignCenter:
            flags |= Qt::AlignHCenter;
            break;
        case kAlignRight:
            flags |= Qt::AlignRight;
            break;
        default:
            flags |= Qt::AlignLeft;
            break;
    }
    if (align & kAlignTop) {
        flags |= Qt::AlignTop;
    } else if (align & kAlignBottom) {
        flags |= Qt::AlignBottom;
    } else {
        flags |= Qt::AlignVCenter;
    }
    if (align & kAlignWrap) {
        flags |= Qt::TextWordWrap;
    }
    return flags;
}

// --- MControlHost ----------------------------------------------------------------------------

MControlHost::~MControlHost() = default;

MControl* MControlHost::CreateControl(std::string_view className, int id, const MRect& rect,
                                      std::u16string_view text, int visible, int enabled) {
    return Make(className, id, rect, text, visible, enabled, false);
}

MControl* MControlHost::CreateArea(std::string_view className, int id, const MRect& rect,
                                   std::u16string_view text, int visible, int enabled) {
    return Make(className, id, rect, text, visible, enabled, true);
}

MControl* MControlHost::Make(std::string_view className, int id, const MRect& rect,
                             std::u16string_view text, int visible, int enabled, bool areaOnly) {
    QWidget* parent = HostWidget();
    if (!parent) {
        return nullptr;
    }
    bool container = false;
    MControl* control = MakeControl(className, &container);
    if (!control) {
        return nullptr;
    }
    if (areaOnly && !container) {
        delete control;
        return nullptr;
    }
    control->setParent(parent);
    control->Attach(this, HostFrame(), id, std::string(className));
    children_.emplace_back(control);
    control->SetTitle(text);
    control->SetRect(rect);
    control->SetEnabled(enabled != 0);
    control->setVisible(visible != 0);
    return control;
}

MControl* MControlHost::GetControl(int id) const {
    for (const QPointer<MControl>& c : children_) {
        if (!c) {
            continue;
        }
        if (c->GetId() == id) {
            return c;
        }
        if (MControlHost* host = c->AsHost()) {
            if (MControl* found = host->GetControl(id)) {
                return found;
            }
        }
    }
    return nullptr;
}

std::vector<MControl*> MControlHost::GetChildControls() const {
    std::vector<MControl*> out;
    for (const QPointer<MControl>& c : children_) {
        if (c) {
            out.push_back(c);
        }
    }
    return out;
}

void MControlHost::RelayoutChildren() {
    for (const QPointer<MControl>& c : children_) {
        if (c) {
            c->ApplyGeometry();
        }
    }
}

// --- MControl --------------------------------------------------------------------------------

MControl::MControl() {
    setAttribute(Qt::WA_Hover, false);
    setFocusPolicy(Qt::NoFocus);
}

MControl::~MControl() {
    Manager::RemoveMTimer(this);
}

void MControl::Attach(MControlHost* host, detail::WindowFrame* frame, int id,
                      std::string className) {
    host_ = host;
    frame_ = frame;
    id_ = id;
    className_ = std::move(className);
    setObjectName(QString::fromStdString(className_));
}

detail::WindowFrame* MControl::Frame() const {
    return static_cast<detail::WindowFrame*>(frame_.data());
}

MWindow* MControl::GetWindow() const {
    return frame_ ? Frame()->Owner() : nullptr;
}

void MControl::SetRect(const MRect& rect) {
    rect_ = rect;
    ApplyGeometry();
    OnRectChanged();
}

void MControl::ApplyGeometry() {
    QPoint origin;
    if (host_) {
        origin = host_->HostOrigin();
    }
    setGeometry(rect_.left - origin.x(), rect_.top - origin.y(), std::max(0, rect_.Width()),
                std::max(0, rect_.Height()));
}

void MControl::SetVisible(bool visible) {
    setVisible(visible);
}

bool MControl::IsVisible() const {
    return !isHidden();
}

void MControl::SetEnabled(bool enabled) {
    enabled_ = enabled;
    setEnabled(enabled);
    update();
}

void MControl::SetTitle(std::u16string_view title) {
    if (title_ == title) {
        return;
    }
    title_ = title;
    OnTitleChanged();
}

void MControl::SetTooltip(std::u16string_view tip) {
    setToolTip(ToQ(tip));
}

std::u16string MControl::GetTooltip() const {
    return toolTip().toStdU16String();
}

void MControl::SetImage(std::u16string_view name, int frames) {
    imageName_ = name;
    imageFrames_ = std::max(1, frames);
    skin_.reset();
    update();
}

void MControl::SetImageMode(int mode, int left, int top, int right, int bottom) {
    imageMode_ = mode;
    if (top < 0 && right < 0 && bottom < 0) {
        imageBorders_ = QMargins(left, left, left, left);
    } else {
        imageBorders_ = QMargins(left, std::max(0, top), std::max(0, right), std::max(0, bottom));
    }
    update();
}

const SkinImage* MControl::Skin() const {
    if (imageName_.empty()) {
        return nullptr;
    }
    if (!skin_ || skinGeneration_ != Manager::GetImageGeneration()) {
        skin_ = Manager::GetImage(imageName_);
        skinGeneration_ = Manager::GetImageGeneration();
    }
    return skin_.get();
}

bool MControl::HasSkin() const {
    const SkinImage* s = Skin();
    return s && !s->IsNull();
}

MSize MControl::GetImageSize() const {
    const SkinImage* s = Skin();
    if (!s || s->IsNull()) {
        return {};
    }
    const QSize size = s->FrameSize(imageFrames_);
    return {size.width(), size.height()};
}

bool MControl::DrawSkin(QPainter& painter, const QRectF& target, int index) const {
    const SkinImage* s = Skin();
    if (!s || s->IsNull()) {
        return false;
    }
    s->Draw(painter, target, std::min(index, imageFrames_ - 1), imageFrames_, imageMode_,
            imageBorders_);
    return true;
}

bool MControl::DrawImage(QPainter& painter, std::u16string_view name, const QRectF& target,
                         int index, int frames, int mode, const QMargins& borders) {
    if (name.empty()) {
        return false;
    }
    auto image = Manager::GetImage(name);
    if (image->IsNull()) {
        return false;
    }
    image->Draw(painter, target, std::min(index, std::max(1, frames) - 1), frames, mode, borders);
    return true;
}

int MControl::StateFrame() const {
    if (!isEnabled()) {
        return 3;
    }
    if (IsPressed()) {
        return 2;
    }
    return hover_ ? 1 : 0;
}

void MControl::SetFocus() {
    setFocus(Qt::OtherFocusReason);
}

bool MControl::HasFocus() const {
    return hasFocus() || (focusProxy() && focusProxy()->hasFocus());
}

int MControl::Notify(int code, WPARAM value1, LPARAM value2) {
    MWindow* window = GetWindow();
    if (!window) {
        return 0;
    }
    return window->OnMessage(id_, code, value1, value2);
}

void MControl::OnClick(QPoint) {
    Notify(kNotifyClick);
}

void MControl::OnRightClick(QPoint) {
    Notify(kNotifyRightClick);
}

void MControl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    DrawSkin(p, rect(), imageFrames_ >= 4 ? StateFrame() : 0);
}

void MControl::mousePressEvent(QMouseEvent* e) {
    e->accept();
    if (e->button() == Qt::LeftButton) {
        pressed_ = true;
        hover_ = rect().contains(e->position().toPoint());
        captionDrag_ = false;
        if (IsDragThrough() && frame_) {
            captionDrag_ = Frame()->CaptionPress(mapTo(frame_.data(), e->position().toPoint()),
                                                 e->globalPosition());
        }
        update();
    } else if (e->button() == Qt::RightButton) {
        rightPressed_ = true;
    }
}

void MControl::mouseMoveEvent(QMouseEvent* e) {
    e->accept();
    if (captionDrag_ && (e->buttons() & Qt::LeftButton) && frame_) {
        Frame()->CaptionMove(e->globalPosition());
    }
    const bool inside = rect().contains(e->position().toPoint());
    if (inside != hover_ && (pressed_ || rightPressed_)) {
        hover_ = inside;
        update();
    }
}

void MControl::mouseReleaseEvent(QMouseEvent* e) {
    e->accept();
    const QPoint pos = e->position().toPoint();
    const bool inside = rect().contains(pos);
    if (e->button() == Qt::LeftButton && pressed_) {
        pressed_ = false;
        bool moved = false;
        if (captionDrag_ && frame_) {
            moved = Frame()->CaptionMoved();
            Frame()->CaptionRelease();
        }
        captionDrag_ = false;
        update();
        if (inside && !moved) {
            OnClick(pos);
        }
    } else if (e->button() == Qt::RightButton && rightPressed_) {
        rightPressed_ = false;
        if (inside) {
            OnRightClick(pos);
        }
    }
}

void MControl::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && IsDragThrough() && frame_ &&
        Frame()->CaptionDoubleClick(mapTo(frame_.data(), e->position().toPoint()))) {
        e->accept();
        return;
    }
    // Otherwise a double click counts as a second press.
    mousePressEvent(e);
}

void MControl::enterEvent(QEnterEvent*) {
    hover_ = true;
    update();
}

void MControl::leaveEvent(QEvent*) {
    hover_ = false;
    update();
}

void MControl::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() == QEvent::EnabledChange) {
        if (!isEnabled()) {
            hover_ = false;
            pressed_ = false;
        }
        update();
    }
}

// --- groups --------------------------------------------------------------------------------

void ForEachControl(const MControlHost& host, const std::function<void(MControl*)>& fn) {
    for (MControl* c : host.GetChildControls()) {
        fn(c);
        if (MControlHost* inner = c->AsHost()) {
            ForEachControl(*inner, fn);
        }
    }
}

void CheckGroupMember::SetCheck(bool checked) {
    const bool changed = checked_ != checked;
    checked_ = checked;
    if (changed) {
        OnCheckChanged();
    }
    if (!checked || group_.empty()) {
        return;
    }
    MControl* self = GroupControl();
    MWindow* window = self ? self->GetWindow() : nullptr;
    if (!window) {
        return;
    }
    ForEachControl(*window, [&](MControl* c) {
        auto* member = dynamic_cast<CheckGroupMember*>(c);
        if (member && member != this && member->group_ == group_ && member->checked_) {
            member->checked_ = false;
            member->OnCheckChanged();
        }
    });
}

// --- MControlFont ----------------------------------------------------------------------------

void MControlFont::SetFontName(std::u16string_view name) {
    fontName_ = name;
    OnFontChanged();
}

void MControlFont::SetFontSize(int pixelSize) {
    fontSize_ = std::max(1, pixelSize);
    OnFontChanged();
}

void MControlFont::SetFontBold(bool bold) {
    bold_ = bold;
    OnFontChanged();
}

void MControlFont::SetFont(int pixelSize, bool bold) {
    fontSize_ = std::max(1, pixelSize);
    bold_ = bold;
    OnFontChanged();
}

void MControlFont::SetTextColor(ARGB colour) {
    textColor_ = colour;
    OnFontChanged();
}

void MControlFont::SetAlign(int align) {
    align_ = align;
    OnFontChanged();
}

QFont MControlFont::Font() const {
    return Manager::MakeFont(fontName_, fontSize_, bold_);
}

QColor MControlFont::TextColor() const {
    if (!isEnabled()) {
        return ToQColor(kColorTextDisabled);
    }
    return ToQColor(textColor_);
}

void MControlFont::DrawText(QPainter& painter, const QRectF& rect, const std::u16string* text,
                            const QColor* colour, int align) const {
    const std::u16string& t = text ? *text : GetTitle();
    if (t.empty()) {
        return;
    }
    if (align < 0) {
        align = align_;
    }
    painter.save();
    painter.setFont(Font());
    painter.setPen(colour ? *colour : TextColor());
    QString s = ToQ(t);
    if ((align & kAlignElide) && !(align & kAlignWrap)) {
        s = painter.fontMetrics().elidedText(s, Qt::ElideRight, int(rect.width()));
    }
    painter.drawText(rect, ToQtAlign(align), s);
    painter.restore();
}

}  // namespace DUI
