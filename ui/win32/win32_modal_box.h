// Message boxes modal to every window of the game, never opened inside a menu's loop.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>

namespace win32 {

// A box asked for while the thread tracks a menu first ends the menu, then opens once the menu's
// loop has returned: that loop keeps the mouse until it returns (under Wine, an X pointer grab on
// the menu's window), so a box opened inside it could never be clicked.
class ModalBoxes {
public:
    explicit ModalBoxes(HINSTANCE instance);
    ~ModalBoxes();
    ModalBoxes(const ModalBoxes&) = delete;
    ModalBoxes& operator=(const ModalBoxes&) = delete;

    // Shows the box, then runs `closed`: before returning, or later when a menu had to end first.
    void show(std::wstring text, std::wstring title, UINT style, std::function<void()> closed);

private:
    struct Pending {
        std::wstring text;
        std::wstring title;
        UINT style;
        std::function<void()> closed;
    };

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    // Takes the deferred boxes once the menu's loop has let them through.
    HWND m_sink;
    std::deque<Pending> m_pending;
};

} // namespace win32
