// Periodic ticks to one window, about a millisecond precise, delivered as posted messages.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <vector>

namespace win32 {

// SetTimer is quantised to the system tick (about 15.6 ms), which would stretch the 50 ms clock to
// 62.5 ms. Instead one worker thread waits on a high-resolution periodic waitable timer per clock
// and posts a message to the window for each expiry, so the handlers still run on the window thread,
// also inside modal loops (menus, window moves). Periodic kernel timers are re-armed from their due
// time, so the mean period does not drift. Where high-resolution timers are missing (before
// Windows 10 1803), the system timer resolution is raised to 1 ms instead.
class TickTimers {
public:
    // Ticks arrive as `message` with the timer's index in wParam. All timers start disabled.
    TickTimers(HWND target, UINT message, std::vector<int> periodsMs);
    ~TickTimers();
    TickTimers(const TickTimers&) = delete;
    TickTimers& operator=(const TickTimers&) = delete;

    // Enabling starts a fresh period, also when already enabled; disabling drops any tick not yet
    // handled.
    void setEnabled(std::size_t timer, bool enabled);
    bool enabled(std::size_t timer) const { return m_enabled.at(timer); }

    // The window took a tick message: the timer may post again. True when the tick is to be
    // handled, false for a late tick of a timer disabled meanwhile.
    bool takeTick(std::size_t timer);

    // Which clock ended up in use, for diagnostics.
    bool highResolution() const { return m_highResolution; }

private:
    static DWORD WINAPI run(void* self);

    HWND m_target;
    UINT m_message;
    std::vector<int> m_periods;
    std::vector<bool> m_enabled;
    // One timer handle per clock, then the stop event.
    std::vector<HANDLE> m_handles;
    // A tick is posted only when the previous one was taken, so a busy window gets one late tick
    // per clock instead of a backlog.
    std::unique_ptr<std::atomic<bool>[]> m_pending;
    bool m_highResolution = true;
    bool m_raisedResolution = false;
    HANDLE m_thread = nullptr;
};

} // namespace win32
