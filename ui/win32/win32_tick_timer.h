// One clock of a window, as the application layer starts and stops it.
#pragma once

#include "ui/app/front_end.h"
#include "ui/win32/win32_timers.h"

#include <windows.h>

#include <functional>
#include <memory>

namespace win32 {

// Its ticks go to a message-only window of its own, so they run on the window thread in any of
// its loops, and a tick still queued when the clock is gone finds no window and is dropped.
class TickTimer final : public app::TimerView {
public:
    TickTimer(HINSTANCE instance, int periodMs, std::function<void()> tick);
    ~TickTimer() override;
    TickTimer(const TickTimer&) = delete;
    TickTimer& operator=(const TickTimer&) = delete;

    static void registerClass(HINSTANCE instance);

    void start() override { m_clock->setEnabled(0, true); }
    void stop() override { m_clock->setEnabled(0, false); }

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    std::function<void()> m_tick;
    HWND m_sink;
    std::unique_ptr<TickTimers> m_clock;
};

} // namespace win32
