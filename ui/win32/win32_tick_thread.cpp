// A clock's thread: a high-resolution waitable timer turned into ticks posted to the window thread.
#include "ui/win32/win32_tick_thread.h"

#include "ui/app/errors.h"

#include <mmsystem.h>

namespace win32 {
namespace {

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
constexpr DWORD CREATE_WAITABLE_TIMER_HIGH_RESOLUTION = 0x00000002;
#endif

// 100-nanosecond units per millisecond, the unit of a waitable timer's due time.
constexpr LONGLONG kUnitsPerMs = 10'000;

[[noreturn]] void fail(const char* what)
{
    throw app::internalError(what);
}

} // namespace

TickThread::RaisedResolution::~RaisedResolution()
{
    if (m_raised)
        timeEndPeriod(1);
}

void TickThread::RaisedResolution::raise()
{
    m_raised = timeBeginPeriod(1) == TIMERR_NOERROR;
}

TickThread::TickThread(int periodMs, Post post, Broken broken)
    : m_periodMs(periodMs), m_post(std::move(post)), m_broken(std::move(broken))
    , m_timer(CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS))
{
    if (!m_timer) {
        m_highResolution = false;
        m_timer.reset(CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS));
        if (!m_timer)
            fail("CreateWaitableTimerEx");
        m_resolution.raise();
    }
    m_stop.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!m_stop)
        fail("CreateEvent");
    m_thread.reset(CreateThread(nullptr, 0, run, this, 0, nullptr));
    if (!m_thread)
        fail("CreateThread");
    // Ticks that come late are felt in play; the thread does nearly nothing else.
    SetThreadPriority(m_thread.get(), THREAD_PRIORITY_TIME_CRITICAL);
}

TickThread::~TickThread()
{
    // The thread first: it uses everything else.
    SetEvent(m_stop.get());
    WaitForSingleObject(m_thread.get(), INFINITE);
}

void TickThread::setEnabled(bool enabled)
{
    m_enabled = enabled;
    if (!enabled) {
        CancelWaitableTimer(m_timer.get());
        return;
    }
    // Re-arming an armed timer starts its period afresh. A negative due time is relative: the
    // first tick comes one period from now.
    LARGE_INTEGER due;
    due.QuadPart = -m_periodMs * kUnitsPerMs;
    if (!SetWaitableTimer(m_timer.get(), &due, m_periodMs, nullptr, nullptr, FALSE))
        fail("SetWaitableTimer");
}

bool TickThread::takeTick()
{
    m_pending.store(false);
    return m_enabled;
}

DWORD WINAPI TickThread::run(void* self)
{
    auto& clock = *static_cast<TickThread*>(self);
    // The stop event first: when both are signalled, stopping wins.
    const HANDLE waits[] = {clock.m_stop.get(), clock.m_timer.get()};
    // The failures in a row after which the posts have failed for kGiveUpMs.
    const int giveUp = kGiveUpMs / clock.m_periodMs + 1;
    int failures = 0;
    for (;;) {
        const DWORD woken = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
        if (woken == WAIT_OBJECT_0)
            return 0;
        if (woken != WAIT_OBJECT_0 + 1) {
            clock.m_broken("WaitForMultipleObjects", GetLastError());
            return 0;
        }
        if (clock.m_pending.exchange(true))
            continue;
        const DWORD error = clock.m_post();
        if (error == 0) {
            failures = 0;
            continue;
        }
        // Nothing was queued, so nothing will clear the flag: the next expiry tries again.
        clock.m_pending.store(false);
        if (++failures == giveUp) {
            clock.m_broken("PostMessage", error);
            return 0;
        }
    }
}

} // namespace win32
