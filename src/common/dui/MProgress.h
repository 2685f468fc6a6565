// Progress bars. The image (if any) is the track; the filled part is drawn in the highlight
// colour, or with the image set by SetBarImage.
#pragma once

#include "common/dui/MControl.h"

namespace DUI {

// A bar that shows a position in a range (default 0..100).
class MProgress : public MControlFont {
public:
    static constexpr const char* kClassName = "MProgress";
    MProgress();

    void SetRange(int minimum, int maximum);
    void SetMax(int maximum) { SetRange(min_, maximum); }
    int GetMin() const { return min_; }
    int GetMax() const { return max_; }
    void SetPos(int pos);
    int GetPos() const { return pos_; }
    // Writes the percentage (or the title, when it has one) over the bar.
    void SetShowText(bool show);
    void SetBarImage(std::u16string_view name);

protected:
    void paintEvent(QPaintEvent* event) override;
    // The filled part of the track.
    virtual QRectF FillRect(const QRectF& track) const;

private:
    int min_ = 0;
    int max_ = 100;
    int pos_ = 0;
    bool showText_ = false;
    std::u16string barImage_;
};

// A bar that runs without end: a highlight sweeps across the track, driven by the kit's
// animation tick, while running. Start begins a run from 0.
class MProgress2 : public MProgress {
public:
    static constexpr const char* kClassName = "MProgress2";

    void Start();
    void Stop();
    bool IsRunning() const { return running_; }
    // Track positions the sweep advances per tick (default: a hundredth of the range).
    void SetStep(int step) { step_ = step; }

    bool OnMTimer() override;

protected:
    QRectF FillRect(const QRectF& track) const override;
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool running_ = false;
    int step_ = 0;
};

}  // namespace DUI
