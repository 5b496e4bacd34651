// Arrow keys from every message loop on the game's thread to the application layer.
#pragma once

#include "ui/app/input.h"

#include <windows.h>

#include <optional>


namespace win32 {

struct ArrowKeyEvent {
    app::ArrowKey key;
    bool down;
    bool autoRepeat;
};

// An arrow key's press or release in a keyboard message; Alt held makes it a system key, which
// still counts.
std::optional<ArrowKeyEvent> arrowKeyEvent(const MSG& message);

// Menus, window moves and message boxes run loops of their own that the game's loop never sees,
// so a hook on this thread alone (never system-wide) watches every message any loop takes from
// the queue. Only the game's own windows live on this thread.
class Keyboard {
public:
    Keyboard();
    ~Keyboard();
    Keyboard(const Keyboard&) = delete;
    Keyboard& operator=(const Keyboard&) = delete;

    // Who hears the keys; nobody before the first call or after nullptr.
    void feedTo(app::Input* input) { m_input = input; }
    // The program's windows lost the keyboard to another program, or got it back.
    void focusChanged(bool focused);

private:
    static LRESULT CALLBACK onMessage(int code, WPARAM removal, LPARAM message);

    HHOOK m_hook;
    app::Input* m_input = nullptr;
};

} // namespace win32
