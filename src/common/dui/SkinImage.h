// One skin image: a raster file or an SVG drawing, holding one or more equal frames side by side
// (left to right). Drawing picks a frame and fills a rectangle in one of the kit's draw modes.
// SVG images are rendered at the device's pixel density, so they stay sharp at any scale.
#pragma once

#include <QHash>
#include <QImage>
#include <QMargins>
#include <QPixmap>
#include <QRectF>
#include <QSize>
#include <QString>

#include <memory>

class QPainter;
class QSvgRenderer;

namespace DUI {

class SkinImage {
public:
    SkinImage();  // a null image
    explicit SkinImage(const QString& path);
    ~SkinImage();
    SkinImage(const SkinImage&) = delete;
    SkinImage& operator=(const SkinImage&) = delete;

    bool IsNull() const { return !svg_ && raster_.isNull(); }
    bool IsSvg() const { return svg_ != nullptr; }
    const QString& Path() const { return path_; }

    // Natural size of the whole strip in logical pixels ({0, 0} when null).
    QSize Size() const;
    // Natural size of one frame when the strip holds `frames` frames.
    QSize FrameSize(int frames) const;

    // Draws frame `index` (0-based) of `frames` into `target`. `borders` are the fixed borders of
    // the nine-slice modes in logical pixels. Does nothing for a null image.
    void Draw(QPainter& painter, const QRectF& target, int index, int frames, int mode,
              const QMargins& borders = {}) const;

    // The frame as a pixmap of `logicalSize` at `dpr` (cached).
    QPixmap FramePixmap(int index, int frames, QSize logicalSize, qreal dpr) const;

private:
    QString path_;
    QImage raster_;
    std::unique_ptr<QSvgRenderer> svg_;
    mutable QHash<QString, QPixmap> cache_;
};

}  // namespace DUI
