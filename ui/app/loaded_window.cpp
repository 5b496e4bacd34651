// A loaded window's view and timers, made from its definition.
#include "ui/app/loaded_window.h"

#include "ui/app/errors.h"

namespace app {

LoadedWindow::LoadedWindow(FormId id, const forms::FormDef& form, FrontEnd& frontEnd, Input& input)
    : m_form(form), m_view(frontEnd.makeWindow(id, form, input))
{
}

void LoadedWindow::addTimer(FrontEnd& frontEnd, const forms::TimerDef& timer, std::function<void()> tick)
{
    m_timers.push_back({timer, frontEnd.makeTimer(timer, std::move(tick))});
}

TimerView& LoadedWindow::timer(std::string_view name)
{
    for (const Timer& timer : m_timers)
        if (timer.definition.name == name)
            return *timer.view;
    throw objectRequired(name);
}

void LoadedWindow::startTimers()
{
    for (const Timer& timer : m_timers)
        if (timer.definition.enabled)
            timer.view->start();
}

void LoadedWindow::stopTimers()
{
    for (const Timer& timer : m_timers)
        timer.view->stop();
}

} // namespace app
