// The guard every handler runs through: the first runtime error is reported and ends the program.
#include "ui/app/app.h"

#include "ui/app/errors.h"

#include <cstdio>
#include <optional>
#include <string>

namespace app {

void App::run(const std::function<void()>& handler)
{
    if (m_failed)
        return;
    // Entered from the event loop itself, not from inside a modal box: no handler of an unloaded
    // window is on the stack any more.
    if (m_running == 0)
        m_unloaded.clear();
    struct Depth {
        int& running;
        explicit Depth(int& r) : running(r) { ++running; }
        ~Depth() { --running; }
    };
    std::optional<std::string> report;
    {
        const Depth depth(m_running);
        report = runHandler(handler);
    }
    if (report)
        fail(*report);
}

void App::fail(std::string_view report)
{
    if (m_failed)
        return;
    m_failed = true;
    for (const auto& window : m_windows)
        if (window)
            window->stopTimers();
    std::fprintf(stderr, "%s: %.*s\n", std::string(kProgramName).c_str(), static_cast<int>(report.size()), report.data());
    m_frontEnd.reportError(report, [this] { m_frontEnd.endProgram(kRuntimeErrorStatus); });
}

} // namespace app
