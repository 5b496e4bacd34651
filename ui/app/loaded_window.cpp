// Building a loaded window's controls and timers from its definition.
#include "ui/app/loaded_window.h"

#include "game/runtime_error.h"

#include <string>

namespace app {

LoadedWindow::LoadedWindow(const forms::FormDef& form, FrontEnd& frontEnd, WindowEvents& events)
    : m_form(form), m_view(frontEnd.makeWindow(form, events))
{
    for (const forms::ControlDef& def : form.controls)
        m_controls.emplace_back(def).watch(*m_view);
}

StoredControl& LoadedWindow::control(std::string_view name)
{
    for (StoredControl& control : m_controls)
        if (control.name() == name)
            return control;
    for (StoredControl& timer : m_timerControls)
        if (timer.name() == name)
            return timer;
    throw game::RuntimeError::objectRequired(std::string(name));
}

void LoadedWindow::makeTimers(FrontEnd& frontEnd, const std::function<void(std::size_t)>& tick)
{
    for (std::size_t i = 0; i < m_form.timers.size(); ++i) {
        const forms::TimerDef& def = m_form.timers[i];
        m_timers.emplace_back(*m_view, frontEnd.makeTimer(def, [tick, i] { tick(i); }));
        m_timerControls.emplace_back(def).watch(m_timers.back());
    }
}

void LoadedWindow::startTimers()
{
    for (std::size_t i = 0; i < m_timers.size(); ++i)
        if (m_timerControls[i].enabled())
            m_timers[i].timer().start();
}

void LoadedWindow::stopTimers()
{
    for (TimerBinding& binding : m_timers)
        binding.timer().stop();
}

void LoadedWindow::TimerBinding::changed(const StoredControl& control, Property property)
{
    if (property != Property::Enabled)
        return;
    if (control.enabled())
        m_timer->start();
    else
        m_timer->stop();
}

} // namespace app
