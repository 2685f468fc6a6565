#include "common/dui/KeyInput.h"

#include "common/dui/WindowFrame.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace DUI {

namespace {

class KeyFilter : public QObject {
public:
    KeyInputHook hook;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) || !hook) {
            return false;
        }
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget) {
            return false;
        }
        // A key a widget ignores travels on to its parents; the hook sees it once.
        auto* key = static_cast<QKeyEvent*>(event);
        if (key == last_ && key->timestamp() == lastTime_ && type == lastType_) {
            return false;
        }
        last_ = key;
        lastTime_ = key->timestamp();
        lastType_ = type;

        auto* frame = dynamic_cast<detail::WindowFrame*>(widget->window());
        KeyInput input;
        input.down = type == QEvent::KeyPress;
        input.autoRepeat = key->isAutoRepeat();
        input.qtKey = key->key();
        input.modifiers = int(key->modifiers());
        input.nativeScanCode = key->nativeScanCode();
        input.nativeVirtualKey = key->nativeVirtualKey();
        input.nativeModifiers = key->nativeModifiers();
        input.text = key->text().toStdU16String();
        auto handler = hook;
        return handler(frame ? frame->Owner() : nullptr, input);
    }

private:
    const QKeyEvent* last_ = nullptr;
    quint64 lastTime_ = 0;
    QEvent::Type lastType_ = QEvent::None;
};

QPointer<KeyFilter>& Filter() {
    static QPointer<KeyFilter> filter;
    return filter;
}

}  // namespace

void SetKeyInputHook(KeyInputHook hook) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) {
        return;
    }
    QPointer<KeyFilter>& filter = Filter();
    if (!hook) {
        if (filter) {
            app->removeEventFilter(filter);
            delete filter.data();
        }
        return;
    }
    if (!filter) {
        filter = new KeyFilter();
        filter->setParent(app);
        app->installEventFilter(filter);
    }
    filter->hook = std::move(hook);
}

}  // namespace DUI
