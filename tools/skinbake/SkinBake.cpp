// skinbake: renders the skin's SVG sources to the files the program names.
//
//   skinbake MANIFEST SVGDIR OUTDIR [ICONDIR]
//
// For every manifest line `name frames WxH borders source` it reads SVGDIR/<base>.svg, checks
// that its natural size is the whole strip (frames * W by H), and writes OUTDIR/<name> (a PNG,
// or an ICO for a .ico name) plus OUTDIR/<base>.svg, which the kit prefers because it stays
// sharp at every scale. With ICONDIR, each .ico entry also yields the freedesktop icon theme
// files (ICONDIR/hicolor/<n>x<n>/apps/cursorial.png and scalable/apps/cursorial.svg).
// Any problem is reported with the manifest line and ends the run with status 1.
//
//   skinbake --sheet MANIFEST SKINDIR OUT.png
//
// draws every baked image of SKINDIR on the window background, strips frame by frame, into one
// contact sheet (the preview in docs/skin-preview.png).
#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QString>
#include <QStringList>
#include <QSvgRenderer>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct Entry {
    int line = 0;
    QString name;
    int frames = 1;
    QSize frame;
};

[[noreturn]] void Fail(const QString& message) {
    std::fprintf(stderr, "skinbake: %s\n", qPrintable(message));
    std::exit(1);
}

std::vector<Entry> ReadManifest(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        Fail(QStringLiteral("cannot read %1").arg(path));
    }
    std::vector<Entry> entries;
    QTextStream in(&file);
    int number = 0;
    while (!in.atEnd()) {
        ++number;
        QString line = in.readLine();
        line = line.left(line.indexOf(QLatin1Char('#'))).trimmed();
        if (line.isEmpty()) {
            continue;
        }
        const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const QStringList size = fields.value(2).toLower().split(QLatin1Char('x'));
        Entry e;
        e.line = number;
        e.name = fields.value(0);
        bool okFrames = false, okW = false, okH = false;
        e.frames = fields.value(1).toInt(&okFrames);
        e.frame = QSize(size.value(0).toInt(&okW), size.value(1).toInt(&okH));
        if (fields.size() != 5 || size.size() != 2 || !okFrames || !okW || !okH || e.frames < 1 ||
            e.frame.isEmpty()) {
            Fail(QStringLiteral("%1:%2: malformed line").arg(path).arg(number));
        }
        entries.push_back(e);
    }
    return entries;
}

QImage Render(QSvgRenderer& svg, QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    svg.render(&painter, QRectF(QPointF(0, 0), size));
    painter.end();
    return image;
}

QByteArray Png(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

void Write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        Fail(QStringLiteral("cannot write %1").arg(path));
    }
}

void PutLe16(QByteArray& out, int v) {
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}

void PutLe32(QByteArray& out, quint32 v) {
    PutLe16(out, int(v & 0xFFFF));
    PutLe16(out, int(v >> 16));
}

// An ICO file whose entries are PNG images (allowed since the 256-pixel icons came in).
//
//   offset  size  field
//   0       2     reserved, 0
//   2       2     type, 1 = icon
//   4       2     number of images n
//   6       16*n  directory: width, height (0 = 256), colours 0, reserved 0, planes 1,
//                 bits per pixel 32, data size, data offset
//   ...           the PNG data of each image in directory order
QByteArray Ico(QSvgRenderer& svg, const std::vector<int>& sizes) {
    std::vector<QByteArray> images;
    for (int s : sizes) {
        images.push_back(Png(Render(svg, QSize(s, s))));
    }
    QByteArray out;
    PutLe16(out, 0);
    PutLe16(out, 1);
    PutLe16(out, int(sizes.size()));
    quint32 offset = 6 + 16 * quint32(sizes.size());
    for (size_t i = 0; i < sizes.size(); ++i) {
        const int s = sizes[i] >= 256 ? 0 : sizes[i];
        out.append(char(s));
        out.append(char(s));
        out.append(char(0));
        out.append(char(0));
        PutLe16(out, 1);
        PutLe16(out, 32);
        PutLe32(out, quint32(images[i].size()));
        PutLe32(out, offset);
        offset += quint32(images[i].size());
    }
    for (const QByteArray& image : images) {
        out.append(image);
    }
    return out;
}

// The contact sheet: images in manifest order, flowing left to right in rows, each scaled down
// to fit a cell; strips keep their frames side by side with a small gap between frames.
int Sheet(const QString& manifest, const QDir& skinDir, const QString& outPath) {
    constexpr int kWidth = 1600, kPad = 16, kGap = 4, kMaxH = 120, kMaxW = 520;
    struct Item {
        QImage image;
        int frames;
        QSizeF cell;
    };
    std::vector<Item> items;
    for (const Entry& e : ReadManifest(manifest)) {
        const QFileInfo info(e.name);
        const QString base =
            (info.path() == QLatin1String(".") ? QString() : info.path() + QLatin1Char('/')) +
            info.completeBaseName();
        QSvgRenderer svg(skinDir.filePath(base + QLatin1String(".svg")));
        if (!svg.isValid()) {
            Fail(QStringLiteral("%1: not baked in %2").arg(e.name, skinDir.path()));
        }
        const qreal scale = std::min(
            {1.0, qreal(kMaxH) / e.frame.height(), qreal(kMaxW) / (e.frame.width() * e.frames)});
        const QSize strip(qRound(e.frame.width() * e.frames * scale),
                          qRound(e.frame.height() * scale));
        items.push_back({Render(svg, strip * 2), e.frames,
                         QSizeF(strip.width() + kGap * (e.frames - 1), strip.height())});
    }
    // Lay out rows first to learn the height.
    std::vector<QPointF> at;
    qreal x = kPad, y = kPad, rowH = 0;
    for (const Item& it : items) {
        if (x + it.cell.width() > kWidth - kPad && x > kPad) {
            x = kPad;
            y += rowH + kPad;
            rowH = 0;
        }
        at.emplace_back(x, y);
        x += it.cell.width() + kPad;
        rowH = std::max(rowH, it.cell.height());
    }
    const int height = int(y + rowH + kPad);
    QImage sheet(QSize(kWidth, height) * 2, QImage::Format_ARGB32_Premultiplied);
    sheet.setDevicePixelRatio(2);
    sheet.fill(QColor(0x1A, 0x1A, 0x1A));
    QPainter p(&sheet);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    for (size_t i = 0; i < items.size(); ++i) {
        const Item& it = items[i];
        const qreal fw = it.image.width() / 2.0 / it.frames;
        for (int f = 0; f < it.frames; ++f) {
            const QRectF source(f * fw * 2, 0, fw * 2, it.image.height());
            const QRectF target(at[i].x() + f * (fw + kGap), at[i].y(), fw,
                                it.image.height() / 2.0);
            p.drawImage(target, it.image, source);
        }
    }
    p.end();
    sheet.setDevicePixelRatio(1);
    Write(outPath, Png(sheet));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && QLatin1String(argv[1]) == QLatin1String("--sheet")) {
        return Sheet(QString::fromLocal8Bit(argv[2]), QDir(QString::fromLocal8Bit(argv[3])),
                     QString::fromLocal8Bit(argv[4]));
    }
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: skinbake MANIFEST SVGDIR OUTDIR [ICONDIR]\n");
        return 2;
    }
    const QString manifest = QString::fromLocal8Bit(argv[1]);
    const QDir svgDir(QString::fromLocal8Bit(argv[2]));
    const QDir outDir(QString::fromLocal8Bit(argv[3]));
    const QString iconDir = argc == 5 ? QString::fromLocal8Bit(argv[4]) : QString();

    for (const Entry& e : ReadManifest(manifest)) {
        const QString where = QStringLiteral("%1:%2: %3").arg(manifest).arg(e.line).arg(e.name);
        const QFileInfo info(e.name);
        const QString base =
            (info.path() == QLatin1String(".") ? QString() : info.path() + QLatin1Char('/')) +
            info.completeBaseName();
        const QString svgPath = svgDir.filePath(base + QLatin1String(".svg"));
        QFile source(svgPath);
        if (!source.open(QIODevice::ReadOnly)) {
            Fail(QStringLiteral("%1: no source %2").arg(where, svgPath));
        }
        const QByteArray svgBytes = source.readAll();
        QSvgRenderer svg(svgBytes);
        const QSize strip(e.frame.width() * e.frames, e.frame.height());
        if (!svg.isValid()) {
            Fail(QStringLiteral("%1: %2 is not a valid SVG").arg(where, svgPath));
        }
        if (svg.defaultSize() != strip) {
            Fail(QStringLiteral("%1: the drawing is %2x%3, the manifest says %4x%5")
                     .arg(where)
                     .arg(svg.defaultSize().width())
                     .arg(svg.defaultSize().height())
                     .arg(strip.width())
                     .arg(strip.height()));
        }

        const QString suffix = info.suffix().toLower();
        if (suffix == QLatin1String("png")) {
            Write(outDir.filePath(e.name), Png(Render(svg, strip)));
        } else if (suffix == QLatin1String("ico")) {
            Write(outDir.filePath(e.name), Ico(svg, {16, 24, 32, 48, 64, 256}));
            if (!iconDir.isEmpty()) {
                for (int s : {16, 24, 32, 48, 64, 128, 256, 512}) {
                    Write(QStringLiteral("%1/hicolor/%2x%2/apps/cursorial.png").arg(iconDir).arg(s),
                          Png(Render(svg, QSize(s, s))));
                }
                Write(iconDir + QLatin1String("/hicolor/scalable/apps/cursorial.svg"), svgBytes);
            }
        } else {
            Fail(QStringLiteral("%1: only .png and .ico names can be baked").arg(where));
        }
        Write(outDir.filePath(base + QLatin1String(".svg")), svgBytes);
    }
    return 0;
}
