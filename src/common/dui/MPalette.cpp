#include "common/dui/MPalette.h"

#include "common/dui/Look.h"
#include "common/dui/Manager.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace DUI {

MPalette::MPalette() {
    setCursor(Qt::CrossCursor);
}

void MPalette::SetColor(COLORREF colour) {
    colour_ = colour & 0xFFFFFF;
    update();
}

QRectF MPalette::Wheel() const {
    const qreal side = std::min(width(), height()) - 4;
    return QRectF((width() - side) / 2, (height() - side) / 2, side, side);
}

bool MPalette::ColorAt(QPointF pos, COLORREF* colour) const {
    const QRectF wheel = Wheel();
    const qreal radius = wheel.width() / 2;
    if (radius <= 0) {
        return false;
    }
    const QPointF d = pos - wheel.center();
    const qreal distance = std::hypot(d.x(), d.y());
    if (distance > radius) {
        return false;
    }
    qreal hue = std::atan2(-d.y(), d.x()) / (2 * std::numbers::pi);
    if (hue < 0) {
        hue += 1;
    }
    const QColor c = QColor::fromHsvF(float(std::clamp(hue, 0.0, 1.0)),
                                      float(std::clamp(distance / radius, 0.0, 1.0)), 1.0f);
    if (colour) {
        *colour = ToColorRef(c);
    }
    return true;
}

QPointF MPalette::MarkerPos() const {
    const QColor c = FromColorRef(colour_);
    const QRectF wheel = Wheel();
    const qreal radius = wheel.width() / 2;
    const qreal hue = std::max(0.0f, c.hsvHueF());
    const qreal angle = hue * 2 * std::numbers::pi;
    const qreal r = c.hsvSaturationF() * radius;
    return wheel.center() + QPointF(std::cos(angle) * r, -std::sin(angle) * r);
}

void MPalette::resizeEvent(QResizeEvent* e) {
    cache_ = QImage();
    MControl::resizeEvent(e);
}

void MPalette::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal dpr = devicePixelRatioF();
    const QRectF wheel = Wheel();
    const QSize pixels(int(wheel.width() * dpr), int(wheel.height() * dpr));
    if (cache_.size() != pixels && !pixels.isEmpty()) {
        cache_ = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        cache_.fill(Qt::transparent);
        const qreal radius = pixels.width() / 2.0;
        for (int y = 0; y < pixels.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(cache_.scanLine(y));
            for (int x = 0; x < pixels.width(); ++x) {
                const qreal dx = x + 0.5 - radius;
                const qreal dy = y + 0.5 - radius;
                const qreal distance = std::hypot(dx, dy);
                if (distance > radius) {
                    continue;
                }
                qreal hue = std::atan2(-dy, dx) / (2 * std::numbers::pi);
                if (hue < 0) {
                    hue += 1;
                }
                // Soften the rim over one device pixel.
                const qreal alpha = std::clamp(radius - distance, 0.0, 1.0);
                QColor c = QColor::fromHsvF(float(hue), float(distance / radius), 1.0f);
                c.setAlphaF(float(alpha));
                line[x] = qPremultiply(c.rgba());
            }
        }
        cache_.setDevicePixelRatio(dpr);
    }
    if (!DrawSkin(p, rect(), 0) && !cache_.isNull()) {
        if (!isEnabled()) {
            p.setOpacity(0.35);
        }
        p.drawImage(wheel.topLeft(), cache_);
        p.setOpacity(1);
    }
    const QPointF marker = MarkerPos();
    p.setBrush(FromColorRef(colour_));
    p.setPen(QPen(ToQColor(kColorBackground), 3));
    p.drawEllipse(marker, 7, 7);
    p.setPen(QPen(ToQColor(kColorText), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(marker, 7, 7);
}

void MPalette::Pick(QPointF pos, int code) {
    // Outside the wheel the nearest point of the rim counts, so a drag can leave it.
    const QRectF wheel = Wheel();
    QPointF d = pos - wheel.center();
    const qreal radius = wheel.width() / 2 - 0.5;
    const qreal distance = std::hypot(d.x(), d.y());
    if (distance > radius && distance > 0) {
        d *= radius / distance;
    }
    COLORREF c = colour_;
    if (ColorAt(wheel.center() + d, &c)) {
        colour_ = c;
        update();
    }
    Notify(code, WPARAM(colour_), 0);
}

void MPalette::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) {
        MControl::mousePressEvent(e);
        return;
    }
    e->accept();
    COLORREF c;
    if (!ColorAt(e->position(), &c)) {
        return;
    }
    picking_ = true;
    Pick(e->position(), kNotifyColorPicked);
}

void MPalette::mouseMoveEvent(QMouseEvent* e) {
    if (picking_) {
        e->accept();
        Pick(e->position(), kNotifyColorPicked);
        return;
    }
    MControl::mouseMoveEvent(e);
}

void MPalette::mouseReleaseEvent(QMouseEvent* e) {
    if (picking_ && e->button() == Qt::LeftButton) {
        e->accept();
        picking_ = false;
        Pick(e->position(), kNotifyClick);
        return;
    }
    MControl::mouseReleaseEvent(e);
}

}  // namespace DUI
