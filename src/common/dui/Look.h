// The kit's own drawing of the dark look: what a control shows where its skin image is missing,
// and the parts no image covers (focus rings, check marks, glyphs of the frame buttons).
// Everything is vector drawing, so it is sharp at any scale.
#pragma once

#include <QColor>
#include <QRectF>

#include <string_view>

class QFont;
class QLineEdit;
class QPainter;

namespace DUI {

// Highlight colour (Manager::m_select_color) as a QColor.
QColor SelectColor();

enum class Glyph {
    None,
    Close,
    Minimize,
    Maximize,
    Restore,
    Settings,
    Help,
    Reset,
    ArrowUp,
    ArrowDown,
    ArrowLeft,
    ArrowRight,
    More,
    Check,
    Record,
    Stop,
    Return,
    Edit,
};

// The glyph a frame button shows when its image ("sysbtn_close.png", "btn_reset.png", ...) is
// missing, chosen by words in the file name.
Glyph GlyphForImage(std::u16string_view imageName);
void DrawGlyph(QPainter& painter, const QRectF& rect, Glyph glyph, const QColor& colour);

// A button face for state 0 normal, 1 hover, 2 pressed, 3 disabled.
void DrawButtonFace(QPainter& painter, const QRectF& rect, int state);
// The face of a text field or drop-down list for state 0 normal, 1 hover, 2 focused or open,
// 3 disabled.
void DrawFieldFace(QPainter& painter, const QRectF& rect, int state);
// Gives an editor that opens over a list row or a cell the kit's dark colours and `font`.
void StyleInPlaceEditor(QLineEdit& editor, const QFont& font);
// A rounded panel.
void DrawPanel(QPainter& painter, const QRectF& rect, const QColor& fill, const QColor& border,
               qreal radius = 6);
// Over an item skin with fewer than three frames (no hover or selected frame of its own): a
// highlight ring for state 2 (selected), a light ring for state 1 (hover).
void DrawStateOverlay(QPainter& painter, const QRectF& rect, int state, int frames,
                      qreal radius = 6);
// A one-pixel ring in the highlight colour around a focused control.
void DrawFocusRing(QPainter& painter, const QRectF& rect, qreal radius = 5);
// Check box (round = radio button) of state 0..3, checked or not.
void DrawCheckBox(QPainter& painter, const QRectF& box, int state, bool checked, bool round);
// Placeholder of a picture whose image is missing: a flat fill for backgrounds, a soft panel for
// the rest, the application name for a logo.
void DrawPicturePlaceholder(QPainter& painter, const QRectF& rect, std::u16string_view imageName);

}  // namespace DUI
