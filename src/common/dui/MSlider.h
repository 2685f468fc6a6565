// Horizontal sliders over a range of integer positions. While the user drags (or clicks the
// track) the slider reports 8 with the position as value1 at every change; releasing reports 2
// with the final position. Keys (arrows one step, Page Up/Down ten, Home/End the ends) report 8
// and then 2. The wheel moves one step per notch and reports 8 at once and 2 when the wheel
// has rested for a moment (SetWheelCommitDelay). SetPos moves without reporting. The image is
// the thumb (four frames: normal, hover, pressed, disabled); SetBkImage sets the track.
#pragma once

#include "common/dui/MControl.h"
#include "common/dui/WheelNotches.h"

class QTimer;

namespace DUI {

class MSlider : public MControlFont {
public:
    MSlider();

    void SetRange(int minimum, int maximum);
    void SetMinPos(int minimum) { SetRange(minimum, max_); }
    void SetMaxPos(int maximum) { SetRange(min_, maximum); }
    int GetMin() const { return min_; }
    int GetMax() const { return max_; }
    // Clamped to the range.
    void SetPos(int pos);
    int GetPos() const { return pos_; }
    void SetPageStep(int step) { pageStep_ = std::max(1, step); }
    void SetBkImage(std::u16string_view name);
    void SetWheelCommitDelay(int ms);

    // Position under an x coordinate of the control, and the centre of the thumb's track x
    // for a position.
    int PosFromX(qreal x) const;
    qreal XFromPos(int pos) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void OnClick(QPoint) override {}

    // The band in which track and thumb are drawn (the whole height, unless a subclass keeps
    // room for texts).
    virtual QRectF TrackBand() const { return rect(); }
    virtual void PaintExtras(QPainter&) {}
    qreal ThumbSize() const;

private:
    // Moves to `pos` and reports 8 when it changed; false when the control went away.
    bool MoveTo(int pos);
    void Commit();

    int min_ = 0;
    int max_ = 100;
    int pos_ = 0;
    int pageStep_ = 10;
    bool dragging_ = false;
    bool keyboardFocus_ = false;
    std::u16string bkImage_;
    QTimer* wheelTimer_;
    WheelNotches wheel_;
};

// The DPI slider: texts under its two ends (SetDPIDesc) for the lowest and highest DPI.
class DPISlider : public MSlider {
public:
    static constexpr const char* kClassName = "DPISlider";

    void SetDPIDesc(std::u16string_view low, std::u16string_view high);
    std::u16string GetLowDesc() const { return low_; }
    std::u16string GetHighDesc() const { return high_; }

protected:
    QRectF TrackBand() const override;
    void PaintExtras(QPainter& painter) override;

private:
    std::u16string low_;
    std::u16string high_;
};

// A short slider with a mark at every position (brightness, speed: 0..4).
class LightSlider : public MSlider {
public:
    static constexpr const char* kClassName = "LightSlider";
    LightSlider();

protected:
    void PaintExtras(QPainter& painter) override;
};

}  // namespace DUI
