// Key presses and releases in the kit's windows, offered to one hook before the focused
// control sees them: the program's keyboard capture (macro recording, key fields) builds its
// key records from these.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace DUI {

class MWindow;

struct KeyInput {
    bool down = false;        // press (true) or release
    bool autoRepeat = false;  // a press repeated by holding the key
    int qtKey = 0;            // Qt::Key
    int modifiers = 0;        // Qt::KeyboardModifiers
    // As the platform reports them (on X11 and Wayland: the evdev code + 8, the keysym, the
    // modifier state).
    std::uint32_t nativeScanCode = 0;
    std::uint32_t nativeVirtualKey = 0;
    std::uint32_t nativeModifiers = 0;
    std::u16string text;
};

// Called on the window thread with the window the key went to (nullptr when it is not the
// kit's); answering true consumes the key, so the focused control never sees it. An empty
// function removes the hook.
using KeyInputHook = std::function<bool(MWindow* window, const KeyInput& key)>;
void SetKeyInputHook(KeyInputHook hook);

}  // namespace DUI
