#include "common/dui/RenderToPng.h"

#include "common/dui/MControl.h"
#include "common/dui/MWindow.h"

#include <QPainter>
#include <QWidget>

#include <algorithm>

namespace DUI {

namespace {

QImage Render(QWidget* widget, double scale) {
    if (!widget || widget->width() <= 0 || widget->height() <= 0) {
        return {};
    }
    scale = std::clamp(scale, 0.1, 8.0);
    widget->ensurePolished();
    QImage image(QSize(int(widget->width() * scale + 0.5), int(widget->height() * scale + 0.5)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    widget->render(&painter, QPoint(), QRegion(),
                   QWidget::DrawWindowBackground | QWidget::DrawChildren);
    painter.end();
    return image;
}

bool Save(const QImage& image, const std::filesystem::path& path) {
    if (image.isNull()) {
        return false;
    }
    std::error_code ec;
    if (path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path(), ec);
    }
    return image.save(QString::fromStdString(path.string()), "PNG");
}

}  // namespace

QImage RenderToImage(const MWindow& window, double scale) {
    return Render(window.GetWidget(), scale);
}

QImage RenderToImage(const MControl& control, double scale) {
    return Render(const_cast<MControl*>(&control), scale);
}

bool RenderToPng(const MWindow& window, const std::filesystem::path& path, double scale) {
    return Save(RenderToImage(window, scale), path);
}

bool RenderToPng(const MControl& control, const std::filesystem::path& path, double scale) {
    return Save(RenderToImage(control, scale), path);
}

}  // namespace DUI
