#include "common/dui/MProgress.h"

#include "common/dui/Look.h"
#include "common/dui/Manager.h"
#include "common/text/WideText.h"

#include <QPainter>

#include <algorithm>

namespace DUI {

MProgress::MProgress() {
    SetAlign(kAlignCenter);
}

void MProgress::SetRange(int minimum, int maximum) {
    min_ = std::min(minimum, maximum);
    max_ = std::max(minimum, maximum);
    pos_ = std::clamp(pos_, min_, max_);
    update();
}

void MProgress::SetPos(int pos) {
    pos_ = std::clamp(pos, min_, max_);
    update();
}

void MProgress::SetShowText(bool show) {
    showText_ = show;
    update();
}

void MProgress::SetBarImage(std::u16string_view name) {
    barImage_ = name;
    update();
}

QRectF MProgress::FillRect(const QRectF& track) const {
    const qreal span = max_ > min_ ? qreal(pos_ - min_) / (max_ - min_) : 0;
    return QRectF(track.left(), track.top(), track.width() * span, track.height());
}

void MProgress::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = rect();
    const qreal radius = std::min<qreal>(r.height() / 2, 6);
    if (!DrawSkin(p, r, 0)) {
        DrawPanel(p, r, ToQColor(kColorPanelLight), QColor(), radius);
    }
    const QRectF fill = FillRect(r).intersected(r);
    if (fill.width() > 0) {
        if (!DrawImage(p, barImage_, fill, 0, 1, kDrawBorders,
                       QMargins(int(radius), 0, int(radius), 0))) {
            QLinearGradient gradient(fill.topLeft(), fill.topRight());
            const QColor c = isEnabled() ? SelectColor() : ToQColor(kColorTextDisabled);
            gradient.setColorAt(0, c.darker(130));
            gradient.setColorAt(1, c);
            p.setPen(Qt::NoPen);
            p.setBrush(gradient);
            p.drawRoundedRect(fill, radius, radius);
        }
    }
    if (showText_) {
        std::u16string text = GetTitle();
        if (text.empty()) {
            const int percent =
                GetMax() > GetMin() ? (GetPos() - GetMin()) * 100 / (GetMax() - GetMin()) : 0;
            text = cursorial::FormatW("%d%%", percent);
        }
        DrawText(p, r, &text);
    }
}

// --- MProgress2 ------------------------------------------------------------------------------

void MProgress2::Start() {
    SetPos(GetMin());
    running_ = true;
    if (isVisible()) {
        Manager::AddMTimer(this);
    }
    update();
}

void MProgress2::Stop() {
    running_ = false;
    Manager::RemoveMTimer(this);
    update();
}

bool MProgress2::OnMTimer() {
    if (!running_ || !isVisible()) {
        return false;
    }
    const int span = std::max(1, GetMax() - GetMin());
    const int step = step_ > 0 ? step_ : std::max(1, span / 100);
    int next = GetPos() + step;
    if (next > GetMax()) {
        next = GetMin();
    }
    SetPos(next);
    return true;
}

QRectF MProgress2::FillRect(const QRectF& track) const {
    if (!running_) {
        return MProgress::FillRect(track);
    }
    // A segment a third of the track wide that enters from the left and leaves on the right.
    const qreal span = GetMax() > GetMin() ? qreal(GetPos() - GetMin()) / (GetMax() - GetMin()) : 0;
    const qreal segment = track.width() / 3;
    const qreal left = track.left() - segment + (track.width() + segment) * span;
    return QRectF(left, track.top(), segment, track.height());
}

void MProgress2::hideEvent(QHideEvent* event) {
    Manager::RemoveMTimer(this);
    MProgress::hideEvent(event);
}

void MProgress2::showEvent(QShowEvent* event) {
    MProgress::showEvent(event);
    if (running_) {
        Manager::AddMTimer(this);
    }
}

}  // namespace DUI
