// Runs the main window's three clocks for a few seconds and checks their periods: mean within
// 0.5 %, 99th percentile of the deviation from the period at most 2 ms. Exit status 0 when met.
#include "form_definition.h"
#include "win32_timers.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr UINT kTick = WM_APP + 1;
constexpr double kMaxMeanError = 0.005;
constexpr double kMaxP99DeviationMs = 2.0;
constexpr DWORD kRunMs = 6000;

double nowMs()
{
    static const LONGLONG frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency);
}

} // namespace

int main()
{
    const auto& definitions = forms::form1().timers;
    std::vector<int> periods;
    for (const forms::TimerDef& timer : definitions)
        periods.push_back(timer.intervalMs);

    HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    win32::TickTimers timers(window, kTick, periods);
    std::vector<std::vector<double>> ticks(periods.size());
    for (std::size_t i = 0; i < periods.size(); ++i)
        timers.setEnabled(i, true);

    const double end = nowMs() + kRunMs;
    MSG message;
    while (nowMs() < end) {
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT) == WAIT_TIMEOUT)
            continue;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == kTick && timers.takeTick(message.wParam))
                ticks[message.wParam].push_back(nowMs());
            DispatchMessageW(&message);
        }
    }

    bool ok = true;
    std::printf("clock: %s\n", timers.highResolution() ? "high-resolution waitable timers" : "waitable timers at 1 ms");
    for (std::size_t i = 0; i < periods.size(); ++i) {
        const std::vector<double>& t = ticks[i];
        const double period = periods[i];
        if (t.size() < 3) {
            std::printf("%.*s: only %zu ticks\n", static_cast<int>(definitions[i].name.size()),
                        definitions[i].name.data(), t.size());
            ok = false;
            continue;
        }
        const double mean = (t.back() - t.front()) / static_cast<double>(t.size() - 1);
        std::vector<double> deviations;
        for (std::size_t k = 1; k < t.size(); ++k)
            deviations.push_back(std::abs(t[k] - t[k - 1] - period));
        std::ranges::sort(deviations);
        const double p99 = deviations[static_cast<std::size_t>(std::ceil(0.99 * deviations.size())) - 1];
        const double meanError = std::abs(mean - period) / period;
        const bool met = meanError <= kMaxMeanError && p99 <= kMaxP99DeviationMs;
        ok = ok && met;
        std::printf("%.*s %4.0f ms: %3zu ticks, mean %8.3f ms (%+.3f %%), p99 deviation %.3f ms, max %.3f ms %s\n",
                    static_cast<int>(definitions[i].name.size()), definitions[i].name.data(), period, t.size(), mean,
                    (mean - period) / period * 100.0, p99, deviations.back(), met ? "ok" : "TOO IMPRECISE");
    }
    DestroyWindow(window);
    return ok ? 0 : 1;
}
