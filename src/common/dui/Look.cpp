#include "common/dui/Look.h"

#include "common/dui/Manager.h"

#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

namespace DUI {

namespace {

bool Has(std::u16string_view haystack, std::u16string_view needle) {
    return haystack.find(needle) != std::u16string_view::npos;
}

std::u16string Lower(std::u16string_view s) {
    std::u16string out(s);
    for (char16_t& c : out) {
        if (c >= u'A' && c <= u'Z') {
            c = char16_t(c - u'A' + u'a');
        }
    }
    return out;
}

}  // namespace

QColor SelectColor() {
    return ToQColor(Manager::m_select_color);
}

Glyph GlyphForImage(std::u16string_view imageName) {
    const std::u16string n = Lower(imageName);
    if (Has(n, u"close"))
        return Glyph::Close;
    if (Has(n, u"min"))
        return Glyph::Minimize;
    if (Has(n, u"restore"))
        return Glyph::Restore;
    if (Has(n, u"max"))
        return Glyph::Maximize;
    if (Has(n, u"setting"))
        return Glyph::Settings;
    if (Has(n, u"help"))
        return Glyph::Help;
    if (Has(n, u"reset"))
        return Glyph::Reset;
    if (Has(n, u"return") || Has(n, u"back"))
        return Glyph::Return;
    if (Has(n, u"arrow_up") || Has(n, u"_up"))
        return Glyph::ArrowUp;
    if (Has(n, u"arrow_down") || Has(n, u"_down"))
        return Glyph::ArrowDown;
    if (Has(n, u"pre") || Has(n, u"left"))
        return Glyph::ArrowLeft;
    if (Has(n, u"next") || Has(n, u"right"))
        return Glyph::ArrowRight;
    if (Has(n, u"more"))
        return Glyph::More;
    if (Has(n, u"stop"))
        return Glyph::Stop;
    if (Has(n, u"rec"))
        return Glyph::Record;
    return Glyph::None;
}

void DrawGlyph(QPainter& p, const QRectF& rect, Glyph glyph, const QColor& colour) {
    if (glyph == Glyph::None) {
        return;
    }
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = std::min(rect.width(), rect.height()) * 0.42;
    const QPointF c = rect.center();
    QPen pen(colour, std::max<qreal>(1.2, s / 6.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const qreal h = s / 2;
    switch (glyph) {
        case Glyph::Close:
            p.drawLine(QPointF(c.x() - h, c.y() - h), QPointF(c.x() + h, c.y() + h));
            p.drawLine(QPointF(c.x() + h, c.y() - h), QPointF(c.x() - h, c.y() + h));
            break;
        case Glyph::Minimize:
            p.drawLine(QPointF(c.x() - h, c.y() + h / 2), QPointF(c.x() + h, c.y() + h / 2));
            break;
        case Glyph::Maximize:
            p.drawRect(QRectF(c.x() - h, c.y() - h, s, s));
            break;
        case Glyph::Restore:
            p.drawRect(QRectF(c.x() - h, c.y() - h / 2, s * 0.8, s * 0.8));
            p.drawPolyline(QPolygonF({QPointF(c.x() - h / 2, c.y() - h / 2 - s * 0.2),
                                      QPointF(c.x() - h / 2, c.y() - h - s * 0.1),
                                      QPointF(c.x() + h + s * 0.1, c.y() - h - s * 0.1),
                                      QPointF(c.x() + h + s * 0.1, c.y() + h / 2)}));
            break;
        case Glyph::Settings: {
            p.drawEllipse(c, h * 0.45, h * 0.45);
            for (int i = 0; i < 8; ++i) {
                const qreal a = i * std::numbers::pi / 4;
                p.drawLine(QPointF(c.x() + std::cos(a) * h * 0.75, c.y() + std::sin(a) * h * 0.75),
                           QPointF(c.x() + std::cos(a) * h * 1.05, c.y() + std::sin(a) * h * 1.05));
            }
            p.drawEllipse(c, h * 0.8, h * 0.8);
            break;
        }
        case Glyph::Help: {
            p.drawEllipse(c, h * 1.1, h * 1.1);
            QFont f = p.font();
            f.setPixelSize(std::max(6, int(s * 0.9)));
            f.setBold(true);
            p.setFont(f);
            p.drawText(rect, Qt::AlignCenter, QStringLiteral("?"));
            break;
        }
        case Glyph::Reset: {
            const QRectF arc(c.x() - h, c.y() - h, s, s);
            p.drawArc(arc, 60 * 16, 280 * 16);
            const QPointF tip(c.x() + h * std::cos(std::numbers::pi / 3),
                              c.y() - h * std::sin(std::numbers::pi / 3));
            p.drawLine(tip, tip + QPointF(-s * 0.3, -s * 0.05));
            p.drawLine(tip, tip + QPointF(s * 0.02, s * 0.3));
            break;
        }
        case Glyph::ArrowUp:
            p.drawPolyline(
                QPolygonF({QPointF(c.x() - h, c.y() + h / 2), QPointF(c.x(), c.y() - h / 2),
                           QPointF(c.x() + h, c.y() + h / 2)}));
            break;
        case Glyph::ArrowDown:
            p.drawPolyline(
                QPolygonF({QPointF(c.x() - h, c.y() - h / 2), QPointF(c.x(), c.y() + h / 2),
                           QPointF(c.x() + h, c.y() - h / 2)}));
            break;
        case Glyph::ArrowLeft:
            p.drawPolyline(
                QPolygonF({QPointF(c.x() + h / 2, c.y() - h), QPointF(c.x() - h / 2, c.y()),
                           QPointF(c.x() + h / 2, c.y() + h)}));
            break;
        case Glyph::ArrowRight:
            p.drawPolyline(
                QPolygonF({QPointF(c.x() - h / 2, c.y() - h), QPointF(c.x() + h / 2, c.y()),
                           QPointF(c.x() - h / 2, c.y() + h)}));
            break;
        case Glyph::More:
            p.setBrush(colour);
            p.setPen(Qt::NoPen);
            for (int i = -1; i <= 1; ++i) {
                p.drawEllipse(QPointF(c.x() + i * h * 0.8, c.y()), s * 0.1, s * 0.1);
            }
            break;
        case Glyph::Check:
            p.drawPolyline(
                QPolygonF({QPointF(c.x() - h, c.y()), QPointF(c.x() - h / 4, c.y() + h * 0.7),
                           QPointF(c.x() + h, c.y() - h * 0.6)}));
            break;
        case Glyph::Record:
            p.setBrush(QColor(0xE0, 0x40, 0x40));
            p.setPen(Qt::NoPen);
            p.drawEllipse(c, h * 0.8, h * 0.8);
            break;
        case Glyph::Stop:
            p.setBrush(colour);
            p.setPen(Qt::NoPen);
            p.drawRoundedRect(QRectF(c.x() - h * 0.7, c.y() - h * 0.7, h * 1.4, h * 1.4), 2, 2);
            break;
        case Glyph::Return:
            p.drawPolyline(
                QPolygonF({QPointF(c.x() - h * 0.2, c.y() - h), QPointF(c.x() - h, c.y() - h * 0.3),
                           QPointF(c.x() - h * 0.2, c.y() + h * 0.4)}));
            p.drawLine(QPointF(c.x() - h, c.y() - h * 0.3), QPointF(c.x() + h, c.y() - h * 0.3));
            break;
        case Glyph::Edit: {
            const QPointF a(c.x() - h * 0.8, c.y() + h * 0.8);
            const QPointF b(c.x() + h * 0.6, c.y() - h * 0.6);
            p.drawLine(a, b);
            p.drawLine(b + QPointF(-h * 0.25, -h * 0.25), b + QPointF(h * 0.25, h * 0.25));
            p.drawLine(a, a + QPointF(h * 0.45, 0));
            break;
        }
        case Glyph::None:
            break;
    }
    p.restore();
}

void DrawPanel(QPainter& p, const QRectF& rect, const QColor& fill, const QColor& border,
               qreal radius) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(fill.isValid() ? QBrush(fill) : QBrush(Qt::NoBrush));
    p.setPen(border.isValid() ? QPen(border, 1) : QPen(Qt::NoPen));
    p.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    p.restore();
}

void DrawButtonFace(QPainter& p, const QRectF& rect, int state) {
    QColor fill = ToQColor(kColorPanelLight);
    QColor border = ToQColor(kColorBorder);
    switch (state) {
        case 1:
            fill = fill.lighter(125);
            border = SelectColor();
            break;
        case 2:
            fill = SelectColor().darker(160);
            border = SelectColor();
            break;
        case 3:
            fill = ToQColor(kColorPanel);
            border = ToQColor(kColorPanelLight);
            break;
        default:
            break;
    }
    DrawPanel(p, rect, fill, border, std::min<qreal>(6, rect.height() / 3));
}

void DrawFieldFace(QPainter& p, const QRectF& rect, int state) {
    QColor border = ToQColor(kColorBorder);
    if (state == 1) {
        border = ToQColor(kColorTextSecondary);
    } else if (state == 2) {
        border = SelectColor();
    }
    DrawPanel(p, rect, ToQColor(state == 3 ? kColorBackground : kColorPanel), border,
              std::min<qreal>(5, rect.height() / 3));
}

void StyleInPlaceEditor(QLineEdit& editor, const QFont& font) {
    editor.setFont(font);
    QPalette pal = editor.palette();
    pal.setColor(QPalette::Base, ToQColor(kColorBackground));
    pal.setColor(QPalette::Text, ToQColor(kColorText));
    pal.setColor(QPalette::Highlight, SelectColor());
    pal.setColor(QPalette::HighlightedText, ToQColor(kColorBackground));
    editor.setPalette(pal);
}

void DrawStateOverlay(QPainter& p, const QRectF& rect, int state, int frames, qreal radius) {
    if (frames >= 3 || (state != 1 && state != 2)) {
        return;
    }
    DrawPanel(p, rect, QColor(), state == 2 ? SelectColor() : ToQColor(kColorTextSecondary),
              radius);
}

void DrawFocusRing(QPainter& p, const QRectF& rect, qreal radius) {
    QColor c = SelectColor();
    c.setAlpha(200);
    DrawPanel(p, rect.adjusted(1, 1, -1, -1), QColor(), c, radius);
}

void DrawCheckBox(QPainter& p, const QRectF& box, int state, bool checked, bool round) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = box.adjusted(1, 1, -1, -1);
    QColor border =
        state == 3 ? ToQColor(kColorTextDisabled)
                   : (state == 1 || state == 2 ? SelectColor() : ToQColor(kColorTextSecondary));
    QColor accent = state == 3 ? ToQColor(kColorTextDisabled) : SelectColor();
    p.setPen(QPen(checked ? accent : border, 1.5));
    p.setBrush(ToQColor(kColorPanel));
    if (round) {
        p.drawEllipse(r);
        if (checked) {
            p.setPen(Qt::NoPen);
            p.setBrush(accent);
            p.drawEllipse(r.center(), r.width() * 0.25, r.height() * 0.25);
        }
    } else {
        p.drawRoundedRect(r, 3, 3);
        if (checked) {
            p.setBrush(accent);
            p.setPen(Qt::NoPen);
            p.drawRoundedRect(r, 3, 3);
            DrawGlyph(p, r, Glyph::Check, ToQColor(kColorBackground));
        }
    }
    p.restore();
}

void DrawPicturePlaceholder(QPainter& p, const QRectF& rect, std::u16string_view imageName) {
    const std::u16string n = Lower(imageName);
    if (Has(n, u"logo")) {
        QFont f = Manager::MakeFont({}, std::max(10, int(rect.height() * 0.55)), true);
        p.save();
        p.setFont(f);
        p.setPen(SelectColor());
        std::u16string name = Manager::GetDeviceName();
        if (name.empty()) {
            name = u"Cursorial";
        }
        p.drawText(rect, Qt::AlignCenter, QString::fromUtf16(name.data(), qsizetype(name.size())));
        p.restore();
        return;
    }
    if (Has(n, u"main_bkg")) {
        p.fillRect(rect, ToQColor(kColorBackground));
        p.setPen(ToQColor(kColorBorder));
        p.drawRect(rect.adjusted(0, 0, -1, -1));
        return;
    }
    if (Has(n, u"caption")) {
        p.fillRect(rect, ToQColor(0xFF151515));
        return;
    }
    if (Has(n, u"tab_bkg")) {
        p.fillRect(rect, ToQColor(0xFF141414));
        return;
    }
    if (Has(n, u"bkg") || Has(n, u"area")) {
        DrawPanel(p, rect, ToQColor(kColorPanel), ToQColor(0xFF2A2A2A), 8);
        return;
    }
    if (Has(n, u"device/") || Has(n, u"mouse")) {
        // A mouse seen from above, so the device pages read sensibly without their pictures.
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        const qreal w = std::min(rect.width() * 0.6, rect.height() * 0.42);
        const QRectF body(rect.center().x() - w / 2, rect.center().y() - w * 0.85, w, w * 1.7);
        p.setPen(QPen(ToQColor(0xFF5A5A5A), 2));
        p.setBrush(ToQColor(0xFF2A2A2A));
        p.drawRoundedRect(body, w / 2, w / 2);
        p.drawLine(QPointF(body.center().x(), body.top()),
                   QPointF(body.center().x(), body.top() + body.height() * 0.35));
        p.restore();
        return;
    }
    DrawPanel(p, rect, ToQColor(kColorPanelLight), ToQColor(kColorBorder), 4);
}

}  // namespace DUI
