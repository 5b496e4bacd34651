// Reading XInput's four slots while a controller is there, and waking on Windows' device notices.
#include "ui/win32/win32_controllers.h"

#include "ui/app/errors.h"
#include "ui/win32/win32_window_class.h"

#include <algorithm>

namespace win32 {
namespace {

constexpr wchar_t kSinkClass[] = L"GloutoControllers";
constexpr UINT_PTR kReadTimer = 1;
// 60 readings a second at most, as a display's frames.
constexpr UINT kReadMs = 16;
// About three seconds of readings after a device notice.
constexpr int kSettlingReads = 3000 / kReadMs;
constexpr USHORT kGenericDesktopPage = 0x01;
constexpr USHORT kJoystickUsage = 0x04;
constexpr USHORT kGamePadUsage = 0x05;

app::ControllerState stateOf(const XINPUT_GAMEPAD& pad)
{
    const auto button = [&pad](WORD mask) { return (pad.wButtons & mask) != 0; };
    // XInput's stick is up-positive; the input's, as the screen's rows, down-positive.
    return {.up = button(XINPUT_GAMEPAD_DPAD_UP),
            .down = button(XINPUT_GAMEPAD_DPAD_DOWN),
            .left = button(XINPUT_GAMEPAD_DPAD_LEFT),
            .right = button(XINPUT_GAMEPAD_DPAD_RIGHT),
            .stickX = static_cast<float>(pad.sThumbLX) / 32767.0f,
            .stickY = -static_cast<float>(pad.sThumbLY) / 32767.0f,
            .faceButton = button(XINPUT_GAMEPAD_A)};
}

XInputGetStateCall loadXInput(HMODULE& library)
{
    // xinput1_4.dll comes with Windows 8 and later; xinput9_1_0.dll with every Windows since Vista.
    for (const wchar_t* name : {L"xinput1_4.dll", L"xinput9_1_0.dll"}) {
        if ((library = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))) {
            // Through a function type of no arguments, as entry points are cast in C.
            const auto entry = reinterpret_cast<void (*)()>(GetProcAddress(library, "XInputGetState"));
            if (auto* call = reinterpret_cast<XInputGetStateCall>(entry))
                return call;
            FreeLibrary(library);
            library = nullptr;
        }
    }
    return nullptr;
}

} // namespace

Controllers::Controllers(HINSTANCE instance, XInputGetStateCall getState)
    : m_getState(getState ? getState : loadXInput(m_library))
{
    if (!m_getState)
        return;
    registerWindowClass(instance, kSinkClass, windowProc);
    m_sink = CreateWindowExW(0, kSinkClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    if (!m_sink)
        throw app::internalError("CreateWindowEx controllers");
    SetWindowLongPtrW(m_sink, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    // Game pads and joysticks coming and going, told to the sink whichever window has the focus.
    const std::array<RAWINPUTDEVICE, 2> devices{{{kGenericDesktopPage, kGamePadUsage, RIDEV_DEVNOTIFY, m_sink},
                                                 {kGenericDesktopPage, kJoystickUsage, RIDEV_DEVNOTIFY, m_sink}}};
    RegisterRawInputDevices(devices.data(), static_cast<UINT>(devices.size()), sizeof(RAWINPUTDEVICE));
    // Those connected already.
    deviceChanged();
}

Controllers::~Controllers()
{
    if (m_sink)
        DestroyWindow(m_sink);
    if (m_library)
        FreeLibrary(m_library);
}

void Controllers::deviceChanged() const
{
    if (m_sink)
        PostMessageW(m_sink, WM_INPUT_DEVICE_CHANGE, 0, 0);
}

void Controllers::read()
{
    // Before the message loop runs there is nobody to tell; its first notice reads them all.
    if (!m_input)
        return;
    bool connected = false;
    for (DWORD slot = 0; slot < XUSER_MAX_COUNT; ++slot) {
        XINPUT_STATE raw{};
        std::optional<app::ControllerState>& last = m_slots[slot];
        if (m_getState(slot, &raw) != ERROR_SUCCESS) {
            if (last)
                m_input->controllerGone(static_cast<int>(slot));
            last.reset();
            continue;
        }
        connected = true;
        const app::ControllerState state = stateOf(raw.Gamepad);
        if (last != state)
            m_input->controllerRead(static_cast<int>(slot), state);
        last = state;
    }
    const bool keepReading = connected || --m_settlingReads > 0;
    if (keepReading && !m_reading)
        SetTimer(m_sink, kReadTimer, kReadMs, nullptr);
    else if (!keepReading && m_reading)
        KillTimer(m_sink, kReadTimer);
    m_reading = keepReading;
}

LRESULT CALLBACK Controllers::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<Controllers*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_INPUT_DEVICE_CHANGE:
        self->m_settlingReads = kSettlingReads;
        self->read();
        return 0;
    case WM_TIMER:
        if (wParam == kReadTimer)
            self->read();
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace win32
