// One clock of a window, as the application layer starts and stops it.
#pragma once

#include "ui/app/front_end.h"
#include "ui/win32/win32_tick_thread.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <type_traits>

namespace win32 {

// Each clock has a tick thread and a message-only window of its own: its ticks run on the window
// thread in any of its loops, and a tick still queued when the clock is gone finds no window and is
// dropped.
class TickTimer final : public app::TimerView {
public:
    // `failed` takes the report of a clock whose ticks can no longer reach the window thread.
    TickTimer(HINSTANCE instance, int periodMs, std::function<void()> tick,
              std::function<void(const std::string&)> failed);
    TickTimer(const TickTimer&) = delete;
    TickTimer& operator=(const TickTimer&) = delete;

    static void registerClass(HINSTANCE instance);

    void start() override { m_clock.setEnabled(true); }
    void stop() override { m_clock.setEnabled(false); }
    bool highResolution() const { return m_clock.highResolution(); }

private:
    struct WindowDestroyer {
        void operator()(HWND hwnd) const { DestroyWindow(hwnd); }
    };
    using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    UniqueWindow makeSink(HINSTANCE instance);
    DWORD post() const;
    void broken(const char* call, DWORD error) const;
    std::string report(const char* call, DWORD error) const;

    const int m_periodMs;
    const std::function<void()> m_tick;
    const std::function<void(const std::string&)> m_failed;
    // Destroyed after the clock, whose thread posts to it.
    UniqueWindow m_sink;
    TickThread m_clock;
};

} // namespace win32
