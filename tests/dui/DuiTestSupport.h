// Small helpers shared by the widget kit's tests.
#pragma once

#include "common/dui/MWindow.h"

#include <QPoint>
#include <QTest>

#include <vector>

namespace dui_test {

struct Note {
    int id;
    int code;
    DUI::WPARAM value1;
    DUI::LPARAM value2;
    bool operator==(const Note&) const = default;
};

// A dialog that records every notification and every window message it receives.
class RecordingDialog : public DUI::MDialog {
public:
    int OnMessage(int id, int code, DUI::WPARAM v1, DUI::LPARAM v2) override {
        notes.push_back({id, code, v1, v2});
        return 1;
    }
    std::vector<Note> notes;

    // Creates a hidden 400 x 300 window.
    bool Make(const char16_t* title = u"Test") {
        return Create(nullptr, title, DUI::WS_POPUP, 0, {0, 0, 400, 300});
    }
};

inline void Click(QWidget* w, QPoint pos = {}, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(w, button, Qt::NoModifier, pos.isNull() ? w->rect().center() : pos);
}

}  // namespace dui_test
