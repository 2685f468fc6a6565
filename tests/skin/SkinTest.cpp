// The baked dark skin against its manifest, the shipped catalogue and descriptions, and the
// image names the program's sources use.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QSvgRenderer>
#include <QTextStream>
#include <QXmlStreamReader>

#include <vector>

namespace {

const QString kSkin = QStringLiteral(CURSORIAL_OUTPUT_DIR "/skins/dark/");
const QString kManifest = QStringLiteral(CURSORIAL_SOURCE_DIR "/data/skins/dark/manifest.txt");

struct Entry {
    QString name;
    int frames = 0;
    QSize frame;
};

std::vector<Entry> Manifest() {
    std::vector<Entry> entries;
    QFile file(kManifest);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        ADD_FAILURE() << "cannot read " << kManifest.toStdString();
        return entries;
    }
    QTextStream in(&file);
    while (!in.atEnd()) {
        QString line = in.readLine();
        line = line.left(line.indexOf(QLatin1Char('#'))).trimmed();
        if (line.isEmpty()) {
            continue;
        }
        const QStringList f = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const QStringList size = f.value(2).split(QLatin1Char('x'));
        entries.push_back(
            {f.value(0), f.value(1).toInt(), QSize(size.value(0).toInt(), size.value(1).toInt())});
    }
    return entries;
}

QString SvgBeside(const QString& name) {
    const QFileInfo info(name);
    const QString folder =
        info.path() == QLatin1String(".") ? QString() : info.path() + QLatin1Char('/');
    return kSkin + folder + info.completeBaseName() + QLatin1String(".svg");
}

bool HasInk(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) > 0) {
                return true;
            }
        }
    }
    return false;
}

QImage Frame(const QImage& strip, int frames, int index) {
    const int w = strip.width() / frames;
    return strip.copy(w * index, 0, w, strip.height());
}

// The attribute values of every `element` in an XML file.
QStringList Attributes(const QString& path, const QString& element, const QString& attribute) {
    QStringList values;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return values;
    }
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == element) {
            values << xml.attributes().value(attribute).toString();
        }
    }
    EXPECT_FALSE(xml.hasError()) << path.toStdString() << ": " << xml.errorString().toStdString();
    return values;
}

TEST(Skin, EveryManifestImageIsBakedWithItsFramesAndSource) {
    const std::vector<Entry> entries = Manifest();
    ASSERT_GT(entries.size(), 40u);
    for (const Entry& e : entries) {
        SCOPED_TRACE(e.name.toStdString());
        ASSERT_GE(e.frames, 1);
        QImageReader reader(kSkin + e.name);
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
        if (e.name.endsWith(QLatin1String(".ico"))) {
            // The largest icon comes first when it is read; the smaller ones must be there too.
            QSet<int> sizes;
            do {
                sizes << reader.read().width();
            } while (reader.jumpToNextImage());
            sizes << image.width();
            for (int s : {16, 32, 48, 256}) {
                EXPECT_TRUE(sizes.contains(s)) << "no " << s << " pixel icon";
            }
        } else {
            EXPECT_EQ(image.width() % e.frames, 0);
            EXPECT_EQ(image.size(), QSize(e.frame.width() * e.frames, e.frame.height()));
        }
        EXPECT_TRUE(HasInk(image)) << "nothing drawn";

        // The kit prefers the SVG beside the raster: it must load and have the same size.
        QSvgRenderer svg(SvgBeside(e.name));
        ASSERT_TRUE(svg.isValid()) << "no valid " << SvgBeside(e.name).toStdString();
        EXPECT_EQ(svg.defaultSize(), QSize(e.frame.width() * e.frames, e.frame.height()));

        // State strips: the hover frame differs from the normal one, checked from unchecked.
        if (e.frames >= 2) {
            EXPECT_NE(Frame(image, e.frames, 0), Frame(image, e.frames, 1))
                << "frames 0 and 1 alike";
        }
        if (e.frames == 8) {
            EXPECT_NE(Frame(image, 8, 0), Frame(image, 8, 4)) << "checked looks unchecked";
        }
    }
}

TEST(Skin, PicturesNamedByTheShippedDataExist) {
    const QString bin = QStringLiteral(CURSORIAL_OUTPUT_DIR "/");
    const QStringList images =
        Attributes(bin + "config.xml", QStringLiteral("mouse"), QStringLiteral("image"));
    const QStringList models =
        Attributes(bin + "config.xml", QStringLiteral("mouse"), QStringLiteral("device_attr"));
    ASSERT_FALSE(images.isEmpty());
    ASSERT_EQ(images.size(), models.size());
    for (int i = 0; i < images.size(); ++i) {
        SCOPED_TRACE(models[i].toStdString());
        EXPECT_FALSE(QImage(kSkin + "device/" + images[i]).isNull()) << images[i].toStdString();
        const QStringList top =
            Attributes(bin + "device/" + models[i] + ".xml", QStringLiteral("image_file"),
                       QStringLiteral("mouse_img"));
        ASSERT_EQ(top.size(), 1);
        EXPECT_FALSE(QImage(kSkin + "device/" + top[0]).isNull()) << top[0].toStdString();
    }
}

// Every callout starts on the mouse: its anchor (x1, y) is inside the picture, on an opaque
// pixel of the drawn body, and its label end (x2, y) is inside the picture too.
TEST(Skin, CalloutsOfEveryModelPointAtTheDrawnMouse) {
    const QString bin = QStringLiteral(CURSORIAL_OUTPUT_DIR "/");
    for (const QString& model :
         Attributes(bin + "config.xml", QStringLiteral("mouse"), QStringLiteral("device_attr"))) {
        const QString description = bin + "device/" + model + ".xml";
        const QStringList top =
            Attributes(description, QStringLiteral("image_file"), QStringLiteral("mouse_img"));
        ASSERT_EQ(top.size(), 1);
        const QImage picture(kSkin + "device/" + top[0]);
        ASSERT_FALSE(picture.isNull());
        const QStringList rects =
            Attributes(description, QStringLiteral("key"), QStringLiteral("rect"));
        const QStringList names =
            Attributes(description, QStringLiteral("key"), QStringLiteral("name"));
        ASSERT_FALSE(rects.isEmpty());
        for (int i = 0; i < rects.size(); ++i) {
            SCOPED_TRACE((model + " key " + names.value(i) + " rect " + rects[i]).toStdString());
            const QStringList p = rects[i].split(QLatin1Char('#'));
            ASSERT_EQ(p.size(), 3);
            const QPoint anchor(p[0].toInt(), p[2].toInt());
            const QPoint end(p[1].toInt(), p[2].toInt());
            ASSERT_TRUE(picture.rect().contains(anchor));
            EXPECT_TRUE(picture.rect().contains(end));
            EXPECT_GE(qAlpha(picture.pixel(anchor)), 250) << "the anchor is not on the mouse";
        }
    }
}

// Image names written in the program's sources ("img_x.png", "icon\\x.png") are in the
// manifest, so a control never asks for an image the skin does not draw. A bare model picture
// name ("aero.png") counts when the device folder has it.
TEST(Skin, ImagesNamedInTheSourcesAreInTheManifest) {
    QSet<QString> known;
    for (const Entry& e : Manifest()) {
        known << e.name;
    }
    static const QRegularExpression literal(
        QStringLiteral(R"re("((?:[A-Za-z0-9_]+(?:\\\\|/)+)*[A-Za-z0-9_]+\.(?:png|ico))")re"));
    QDirIterator it(QStringLiteral(CURSORIAL_SOURCE_DIR "/src"), {"*.cpp", "*.h"}, QDir::Files,
                    QDirIterator::Subdirectories);
    int found = 0;
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        // Comment lines may show example names; only code counts.
        QString code;
        for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
            const QString t = line.trimmed();
            if (!t.startsWith(QLatin1String("//")) && !t.startsWith(QLatin1Char('*'))) {
                code += line + QLatin1Char('\n');
            }
        }
        for (auto m = literal.globalMatch(code); m.hasNext();) {
            QString name = m.next().captured(1);
            name.replace(QLatin1String("\\\\"), QLatin1String("/"));
            name.replace(QRegularExpression(QStringLiteral("/+")), QStringLiteral("/"));
            ++found;
            EXPECT_TRUE(known.contains(name) || known.contains("device/" + name))
                << name.toStdString() << " (" << path.toStdString() << ")";
        }
    }
    RecordProperty("image_literals", found);
}

}  // namespace
