// Game controllers on Windows through XInput, loaded at run time: the program runs where it is missing.
#pragma once

#include "ui/app/controller.h"
#include "ui/app/input.h"

#include <windows.h>
#include <xinput.h>

#include <array>
#include <optional>

namespace win32 {

// XInputGetState's signature: a slot's state, or ERROR_DEVICE_NOT_CONNECTED.
using XInputGetStateCall = DWORD(WINAPI*)(DWORD slot, XINPUT_STATE* state);

// XInput has no events: while a controller is connected, its four slots are read 60 times a
// second and a changed reading is told to the input. While none is, nothing runs until Windows
// says a game controller came (raw input's device notifications), and then the slots are read
// for a few seconds while the new device settles.
class Controllers {
public:
    // `getState` stands in for XInputGetState (a test scripts a controller so); by default the
    // entry point of xinput1_4.dll, else of xinput9_1_0.dll, else there are no controllers.
    explicit Controllers(HINSTANCE instance, XInputGetStateCall getState = nullptr);
    ~Controllers();
    Controllers(const Controllers&) = delete;
    Controllers& operator=(const Controllers&) = delete;

    // Who hears the controllers; nobody before the first call or after nullptr.
    void feedTo(app::Input* input) { m_input = input; }
    // A device came or went; safe from any thread.
    void deviceChanged() const;

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void read();

    HMODULE m_library = nullptr;
    XInputGetStateCall m_getState = nullptr;
    HWND m_sink = nullptr;
    app::Input* m_input = nullptr;
    // Readings left before the slots are no longer read, when no controller is connected.
    int m_settlingReads = 0;
    bool m_reading = false;
    std::array<std::optional<app::ControllerState>, XUSER_MAX_COUNT> m_slots{};
};

} // namespace win32
