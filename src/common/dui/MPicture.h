// Passive controls: a picture and a text label. Both let a press in the window's caption move
// the window, and both report a click (2) and a right click (5), which their window may ignore.
#pragma once

#include "common/dui/MControl.h"

namespace DUI {

// Draws its skin image in the image mode (stretched unless SetImageMode says otherwise). A
// multi-frame image shows the frame chosen with SetFrame. Without an image file it draws a
// neutral placeholder.
class MPicture : public MControlFont {
public:
    static constexpr const char* kClassName = "MPicture";
    MPicture();

    void SetFrame(int index);
    int GetFrame() const { return frame_; }

protected:
    bool IsDragThrough() const override { return true; }
    void paintEvent(QPaintEvent* event) override;

private:
    int frame_ = 0;
};

// A text label: font, colour, alignment, wrapping (kAlignWrap). A link label (SetLink) shows a
// hand cursor and takes the highlight colour under the mouse.
class MText : public MControlFont {
public:
    static constexpr const char* kClassName = "MText";
    MText();

    void SetLink(bool link);
    bool IsLink() const { return link_; }

protected:
    bool IsDragThrough() const override { return !link_; }
    void paintEvent(QPaintEvent* event) override;

private:
    bool link_ = false;
};

}  // namespace DUI
