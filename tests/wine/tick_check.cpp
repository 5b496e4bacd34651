// Runs the main window's three clocks, made as the game makes them, for a few seconds and checks their
// periods against the goals: mean within 0.5 % of the period, 99th percentile of a tick's deviation
// at most 2 ms. Only a quiet machine can promise those (a busy one drops a tick now and then), so by
// default the run fails only on a mean off by more than 5 %: a wrong period, a stalled or runaway
// clock, or a broken one. --strict fails on the goals.
#include "ui/forms/form_definition.h"
#include "ui/win32/win32_tick_timer.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string_view>
#include <vector>

namespace {

constexpr double kMaxMeanError = 0.005;
constexpr double kMaxMeanErrorLoose = 0.05;
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

int main(int argc, char* argv[])
{
    const bool strict = argc > 1 && std::string_view(argv[1]) == "--strict";
    const auto& definitions = forms::form1Definition().timers;
    std::vector<int> periods;
    for (const forms::TimerDef& timer : definitions)
        periods.push_back(timer.intervalMs);

    const HINSTANCE instance = GetModuleHandleW(nullptr);
    win32::TickTimer::registerClass(instance);
    std::vector<std::vector<double>> ticks(periods.size());
    bool failed = false;
    std::vector<std::unique_ptr<win32::TickTimer>> clocks;
    for (std::size_t i = 0; i < periods.size(); ++i)
        clocks.push_back(std::make_unique<win32::TickTimer>(
            instance, periods[i], [&ticks, i] { ticks[i].push_back(nowMs()); },
            [&failed](const std::string& report) {
                std::printf("%s\n", report.c_str());
                failed = true;
            }));
    for (const auto& clock : clocks)
        clock->start();

    const double end = nowMs() + kRunMs;
    MSG message;
    while (nowMs() < end && !failed) {
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT) == WAIT_TIMEOUT)
            continue;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }

    bool ok = !failed;
    std::printf("clock: %s\n",
                clocks.front()->highResolution() ? "high-resolution waitable timers" : "waitable timers at 1 ms");
    for (std::size_t i = 0; i < periods.size(); ++i) {
        const std::vector<double>& t = ticks[i];
        const double period = periods[i];
        if (t.size() < 3) {
            std::printf("%.*s: only %zu ticks\n", static_cast<int>(definitions[i].name.size()),
                        definitions[i].name.data(), t.size());
            ok = false;
            continue;
        }
        // The slope of a least-squares line through the tick times: one late tick at either end
        // moves it far less than it moves (last - first) / count.
        double sumK = 0, sumT = 0, sumKK = 0, sumKT = 0;
        for (std::size_t k = 0; k < t.size(); ++k) {
            const double kd = static_cast<double>(k);
            sumK += kd;
            sumT += t[k];
            sumKK += kd * kd;
            sumKT += kd * t[k];
        }
        const double n = static_cast<double>(t.size());
        const double mean = (n * sumKT - sumK * sumT) / (n * sumKK - sumK * sumK);
        std::vector<double> deviations;
        for (std::size_t k = 1; k < t.size(); ++k)
            deviations.push_back(std::abs(t[k] - t[k - 1] - period));
        std::ranges::sort(deviations);
        const double p99 = deviations[static_cast<std::size_t>(std::ceil(0.99 * deviations.size())) - 1];
        const double meanError = std::abs(mean - period) / period;
        const bool meanMet = meanError <= kMaxMeanError;
        const bool p99Met = p99 <= kMaxP99DeviationMs;
        ok = ok && (strict ? meanMet && p99Met : meanError <= kMaxMeanErrorLoose);
        std::printf("%.*s %4.0f ms: %3zu ticks, mean %8.3f ms (%+.3f %%%s), p99 deviation %.3f ms%s, max %.3f ms\n",
                    static_cast<int>(definitions[i].name.size()), definitions[i].name.data(), period, t.size(), mean,
                    (mean - period) / period * 100.0, meanMet ? "" : ", over 0.5 %", p99, p99Met ? "" : " (over 2 ms)",
                    deviations.back());
    }
    return ok ? 0 : 1;
}
