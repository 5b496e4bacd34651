// The tick thread: high-resolution waitable timers turned into posted window messages.
#include "ui/win32/win32_timers.h"

#include "game/runtime_error.h"

#include <mmsystem.h>

namespace win32 {
namespace {

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
constexpr DWORD CREATE_WAITABLE_TIMER_HIGH_RESOLUTION = 0x00000002;
#endif

// 100-nanosecond units per millisecond, the unit of a waitable timer's due time.
constexpr LONGLONG kUnitsPerMs = 10'000;

HANDLE createTimer(bool& highResolution)
{
    if (highResolution) {
        if (HANDLE timer = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                                  TIMER_ALL_ACCESS))
            return timer;
        highResolution = false;
    }
    return CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
}

void fail(const char* what)
{
    throw game::RuntimeError(game::ErrorNumber::Internal, what);
}

} // namespace

TickTimers::TickTimers(HWND target, UINT message, std::vector<int> periodsMs)
    : m_target(target), m_message(message), m_periods(std::move(periodsMs)), m_enabled(m_periods.size(), false)
    , m_pending(std::make_unique<std::atomic<bool>[]>(m_periods.size()))
{
    if (m_periods.size() + 1 > MAXIMUM_WAIT_OBJECTS)
        fail("too many timers");
    for (std::size_t i = 0; i < m_periods.size(); ++i) {
        HANDLE timer = createTimer(m_highResolution);
        if (!timer)
            fail("CreateWaitableTimerEx");
        m_handles.push_back(timer);
    }
    if (!m_highResolution)
        m_raisedResolution = timeBeginPeriod(1) == TIMERR_NOERROR;
    HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!stop)
        fail("CreateEvent");
    m_handles.push_back(stop);
    m_thread = CreateThread(nullptr, 0, run, this, 0, nullptr);
    if (!m_thread) {
        for (HANDLE handle : m_handles)
            CloseHandle(handle);
        fail("CreateThread");
    }
    // Ticks that come late are felt in play; the thread does nearly nothing else.
    SetThreadPriority(m_thread, THREAD_PRIORITY_TIME_CRITICAL);
}

TickTimers::~TickTimers()
{
    SetEvent(m_handles.back());
    WaitForSingleObject(m_thread, INFINITE);
    CloseHandle(m_thread);
    for (HANDLE handle : m_handles)
        CloseHandle(handle);
    if (m_raisedResolution)
        timeEndPeriod(1);
}

void TickTimers::setEnabled(std::size_t timer, bool enabled)
{
    m_enabled.at(timer) = enabled;
    if (!enabled) {
        CancelWaitableTimer(m_handles[timer]);
        return;
    }
    // Re-arming an armed timer starts its period afresh. A negative due time is relative: the
    // first tick comes one period from now.
    LARGE_INTEGER due;
    due.QuadPart = -m_periods[timer] * kUnitsPerMs;
    if (!SetWaitableTimer(m_handles[timer], &due, m_periods[timer], nullptr, nullptr, FALSE))
        fail("SetWaitableTimer");
}

bool TickTimers::takeTick(std::size_t timer)
{
    m_pending[timer].store(false);
    return m_enabled.at(timer);
}

DWORD WINAPI TickTimers::run(void* self)
{
    auto& timers = *static_cast<TickTimers*>(self);
    const auto count = static_cast<DWORD>(timers.m_handles.size());
    const DWORD stop = count - 1;
    for (;;) {
        const DWORD woken = WaitForMultipleObjects(count, timers.m_handles.data(), FALSE, INFINITE);
        if (woken >= WAIT_OBJECT_0 + count || woken - WAIT_OBJECT_0 == stop)
            return 0;
        const DWORD timer = woken - WAIT_OBJECT_0;
        if (!timers.m_pending[timer].exchange(true))
            PostMessageW(timers.m_target, timers.m_message, timer, 0);
    }
}

} // namespace win32
