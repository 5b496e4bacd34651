// One clock's thread: periodic ticks, about a millisecond precise, handed to the window thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>

namespace win32 {

// A kernel handle closed with its owner, also when a constructor fails half-way.
struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

// SetTimer is quantised to the system tick (about 15.6 ms), which would stretch the 50 ms clock to
// 62.5 ms. Instead a thread of the clock's own waits on a high-resolution periodic waitable timer
// and hands each expiry to the window thread, as a posted message, so the handlers run there, also
// inside modal loops (menus, window moves). Periodic kernel timers are re-armed from their due time,
// so the mean period does not drift. Where high-resolution timers are missing (before Windows 10
// 1803), the system timer resolution is raised to 1 ms for the clock's lifetime instead.
class TickThread {
public:
    // Puts one tick in the window thread's queue: 0, or the system's error code when it could not.
    using Post = std::function<DWORD()>;
    // Called on the tick thread, once, when posts have kept failing (or the wait failed): the clock
    // ticks no more. Takes the failing call's name, a literal, and the system's error code.
    using Broken = std::function<void(const char* call, DWORD error)>;

    // Posts fail for this long in a row before the clock counts as broken: a queue that is full for
    // a moment drops a tick or two, one that stays full (or a window that is gone) is a fault.
    static constexpr int kGiveUpMs = 2000;

    // Made disabled.
    TickThread(int periodMs, Post post, Broken broken);
    ~TickThread();
    TickThread(const TickThread&) = delete;
    TickThread& operator=(const TickThread&) = delete;

    // Enabling starts a fresh period, also when already enabled; disabling drops any tick not yet
    // handled.
    void setEnabled(bool enabled);

    // The window thread took a tick: the clock may post again. True when the tick is to be handled,
    // false for a late tick of a clock disabled meanwhile.
    bool takeTick();

    // Which clock ended up in use, for diagnostics.
    bool highResolution() const { return m_highResolution; }

private:
    // timeBeginPeriod(1) for the clock's lifetime, when it was granted.
    class RaisedResolution {
    public:
        RaisedResolution() = default;
        RaisedResolution(const RaisedResolution&) = delete;
        RaisedResolution& operator=(const RaisedResolution&) = delete;
        ~RaisedResolution();
        void raise();

    private:
        bool m_raised = false;
    };

    static DWORD WINAPI run(void* self);

    const int m_periodMs;
    const Post m_post;
    const Broken m_broken;
    bool m_enabled = false;
    // A tick is posted only when the previous one was taken, so a busy window gets one late tick
    // instead of a backlog.
    std::atomic<bool> m_pending = false;
    bool m_highResolution = true;
    // Released in reverse on any failure of the set-up, the thread joined first on destruction.
    UniqueHandle m_timer;
    RaisedResolution m_resolution;
    UniqueHandle m_stop;
    UniqueHandle m_thread;
};

} // namespace win32
