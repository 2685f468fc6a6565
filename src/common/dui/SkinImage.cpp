#include "common/dui/SkinImage.h"

#include "common/dui/DuiTypes.h"

#include <QImageReader>
#include <QPaintDevice>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>

namespace DUI {

namespace {

// Rendered pixmaps kept per image; a handful of sizes is all a control ever asks for.
constexpr int kMaxCachedPixmaps = 24;

qreal DevicePixelRatio(const QPainter& painter) {
    const QPaintDevice* device = painter.device();
    return device ? std::max<qreal>(1.0, device->devicePixelRatioF()) : 1.0;
}

// The nine pieces of a nine-slice drawing. `pm` is the frame at its natural size; `m` the
// borders in logical pixels, already clamped to fit both the frame and the target.
void DrawNineSlice(QPainter& painter, const QRectF& t, const QPixmap& pm, const QMargins& m) {
    const qreal dpr = pm.devicePixelRatio();
    const qreal sw = pm.width() / dpr;
    const qreal sh = pm.height() / dpr;
    const qreal xs[4] = {0, qreal(m.left()), sw - m.right(), sw};
    const qreal ys[4] = {0, qreal(m.top()), sh - m.bottom(), sh};
    const qreal xt[4] = {t.left(), t.left() + m.left(), t.right() - m.right(), t.right()};
    const qreal yt[4] = {t.top(), t.top() + m.top(), t.bottom() - m.bottom(), t.bottom()};
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const QRectF target(xt[col], yt[row], xt[col + 1] - xt[col], yt[row + 1] - yt[row]);
            const QRectF source(xs[col] * dpr, ys[row] * dpr, (xs[col + 1] - xs[col]) * dpr,
                                (ys[row + 1] - ys[row]) * dpr);
            if (target.width() <= 0 || target.height() <= 0 || source.width() <= 0 ||
                source.height() <= 0) {
                continue;
            }
            painter.drawPixmap(target, pm, source);
        }
    }
}

}  // namespace

SkinImage::SkinImage() = default;

SkinImage::SkinImage(const QString& path) : path_(path) {
    if (path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
        auto renderer = std::make_unique<QSvgRenderer>(path);
        if (renderer->isValid() && !renderer->defaultSize().isEmpty()) {
            svg_ = std::move(renderer);
        }
        return;
    }
    QImageReader reader(path);
    reader.setAutoTransform(true);
    QImage image = reader.read();
    if (!image.isNull()) {
        raster_ = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
}

SkinImage::~SkinImage() = default;

QSize SkinImage::Size() const {
    if (svg_) {
        return svg_->defaultSize();
    }
    return raster_.size();
}

QSize SkinImage::FrameSize(int frames) const {
    const QSize whole = Size();
    frames = std::max(1, frames);
    return {whole.width() / frames, whole.height()};
}

QPixmap SkinImage::FramePixmap(int index, int frames, QSize logicalSize, qreal dpr) const {
    if (IsNull() || logicalSize.isEmpty()) {
        return {};
    }
    frames = std::max(1, frames);
    index = std::clamp(index, 0, frames - 1);
    const QSize pixelSize(std::max(1, int(std::ceil(logicalSize.width() * dpr))),
                          std::max(1, int(std::ceil(logicalSize.height() * dpr))));
    const QString key = QStringLiteral("%1/%2/%3x%4")
                            .arg(index)
                            .arg(frames)
                            .arg(pixelSize.width())
                            .arg(pixelSize.height());
    if (auto it = cache_.constFind(key); it != cache_.constEnd()) {
        return *it;
    }

    QPixmap result;
    if (svg_) {
        // Render the whole strip so that the frame's share of the drawing lands on the pixmap.
        QImage image(pixelSize, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        const QRectF whole(-qreal(index) * pixelSize.width(), 0, qreal(pixelSize.width()) * frames,
                           pixelSize.height());
        svg_->render(&p, whole);
        p.end();
        result = QPixmap::fromImage(image);
    } else {
        const int fw = raster_.width() / frames;
        const QRect source(fw * index, 0, fw, raster_.height());
        QImage frame = raster_.copy(source);
        if (frame.size() != pixelSize) {
            frame = frame.scaled(pixelSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
        result = QPixmap::fromImage(frame);
    }
    result.setDevicePixelRatio(dpr);
    if (cache_.size() >= kMaxCachedPixmaps) {
        cache_.clear();
    }
    cache_.insert(key, result);
    return result;
}

void SkinImage::Draw(QPainter& painter, const QRectF& target, int index, int frames, int mode,
                     const QMargins& borders) const {
    if (IsNull() || target.width() <= 0 || target.height() <= 0) {
        return;
    }
    const qreal dpr = DevicePixelRatio(painter);
    const QSize natural = FrameSize(frames);
    if (natural.isEmpty()) {
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    switch (mode) {
        case kDrawBorders:
        case kDrawBordersFit: {
            // Borders that do not fit the frame or the target shrink so the pieces never overlap.
            QMargins m = borders;
            auto fit = [](int a, int b, qreal room) {
                const qreal sum = a + b;
                if (sum <= room || sum <= 0) {
                    return std::pair<int, int>(a, b);
                }
                return std::pair<int, int>(int(a * room / sum), int(b * room / sum));
            };
            const qreal roomW = std::min<qreal>(natural.width(), target.width());
            const qreal roomH = std::min<qreal>(natural.height(), target.height());
            auto [l, r] = fit(m.left(), m.right(), roomW);
            auto [t, b] = fit(m.top(), m.bottom(), roomH);
            m = QMargins(l, t, r, b);
            DrawNineSlice(painter, target, FramePixmap(index, frames, natural, dpr), m);
            break;
        }
        case kDrawCenter: {
            QSizeF size = natural;
            if (size.width() > target.width() || size.height() > target.height()) {
                size.scale(target.size(), Qt::KeepAspectRatio);
            }
            const QRectF r(target.center().x() - size.width() / 2,
                           target.center().y() - size.height() / 2, size.width(), size.height());
            const QPixmap pm = FramePixmap(index, frames, r.size().toSize(), dpr);
            painter.drawPixmap(r.topLeft(), pm);
            break;
        }
        case kDrawTile: {
            painter.drawTiledPixmap(target, FramePixmap(index, frames, natural, dpr));
            break;
        }
        case kDrawStretch:
        default: {
            if (svg_) {
                painter.drawPixmap(target.topLeft(),
                                   FramePixmap(index, frames, target.size().toSize(), dpr));
            } else {
                const int fw = raster_.width() / std::max(1, frames);
                const QRectF source(fw * std::clamp(index, 0, std::max(1, frames) - 1), 0, fw,
                                    raster_.height());
                painter.drawImage(target, raster_, source);
            }
            break;
        }
    }
    painter.restore();
}

}  // namespace DUI
