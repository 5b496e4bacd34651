// A clock's tick thread against a queue that refuses posts: a refused tick is tried again at the next
// expiry, posts that keep failing are reported once, and an untaken tick holds back the next one.
#include "ui/win32/win32_tick_thread.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string_view>

namespace {

constexpr int kPeriodMs = 10;
// Far above any expected wait, so that only a stalled clock runs out of it.
constexpr DWORD kPatienceMs = 3000;

int g_failures = 0;

void check(bool ok, const char* what)
{
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what);
    g_failures += ok ? 0 : 1;
}

template <class Condition>
bool waitFor(Condition done, DWORD timeoutMs = kPatienceMs)
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!done()) {
        if (GetTickCount64() >= end)
            return false;
        Sleep(1);
    }
    return true;
}

// The window thread's side: takes each tick that was posted, `count` of them.
bool takeTicks(win32::TickThread& clock, const std::atomic<int>& posted, int count)
{
    for (int taken = 0; taken < count; ++taken) {
        if (!waitFor([&] { return posted > taken; }))
            return false;
        clock.takeTick();
    }
    return true;
}

void fullQueueForAMoment()
{
    std::atomic<int> attempts = 0, posted = 0, broken = 0;
    win32::TickThread clock(
        kPeriodMs,
        [&]() -> DWORD {
            if (++attempts <= 3)
                return ERROR_NOT_ENOUGH_QUOTA;
            ++posted;
            return 0;
        },
        [&](const char*, DWORD) { ++broken; });
    clock.setEnabled(true);
    check(takeTicks(clock, posted, 5), "ticks come again after three refused posts");
    check(broken == 0, "a queue full for a moment is no failure");
}

void untakenTick()
{
    std::atomic<int> posted = 0;
    win32::TickThread clock(
        kPeriodMs, [&]() -> DWORD { return ++posted, 0; }, [](const char*, DWORD) {});
    clock.setEnabled(true);
    waitFor([&] { return posted > 0; });
    Sleep(10 * kPeriodMs);
    check(posted == 1, "no tick is posted while the last one waits to be taken");
    check(takeTicks(clock, posted, 3), "taking the tick lets the next come");
}

void postsKeepFailing()
{
    std::atomic<int> attempts = 0, broken = 0;
    std::atomic<DWORD> reported = 0;
    win32::TickThread clock(
        kPeriodMs, [&]() -> DWORD { return ++attempts, ERROR_INVALID_WINDOW_HANDLE; },
        [&](const char* call, DWORD error) {
            reported = std::string_view(call) == "PostMessage" ? error : 0;
            ++broken;
        });
    clock.setEnabled(true);
    check(waitFor([&] { return broken > 0; }, win32::TickThread::kGiveUpMs + kPatienceMs),
          "posts failing on end are reported");
    check(attempts > win32::TickThread::kGiveUpMs / kPeriodMs, "every expiry tried again before giving up");
    check(reported == ERROR_INVALID_WINDOW_HANDLE, "the report names the call and its error");
    const int afterReport = attempts;
    Sleep(10 * kPeriodMs);
    check(broken == 1 && attempts == afterReport, "a broken clock is reported once and posts no more");
}

} // namespace

int main()
{
    fullQueueForAMoment();
    untakenTick();
    postsKeepFailing();
    return g_failures == 0 ? 0 : 1;
}
