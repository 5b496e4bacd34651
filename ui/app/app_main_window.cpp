// The main window's game: its load, its timers bound to the rules' handlers, and the capture's end.
#include "ui/app/app.h"

#include "ui/app/errors.h"

namespace app {

void App::loadForm1()
{
    const forms::FormDef& definition = forms::form1Definition();
    auto window = std::make_unique<LoadedWindow>(FormId::Form1, definition, m_frontEnd, *this);
    for (const forms::TimerDef& timer : definition.timers) {
        const std::optional<game::ControlId> id = game::controlNamed(timer.name);
        if (!id)
            throw objectRequired(timer.name);
        window->addTimer(m_frontEnd, timer, [this, handler = tickHandler(*id)] { run(handler); });
    }
    m_rules.emplace(designTimeControls(definition));
    m_form1View.emplace(*window);
    LoadedWindow& form1 = *(m_windows[index(FormId::Form1)] = std::move(window));
    m_form1View->show(*m_rules, m_rules->Form_Load());
    form1.view().showAndActivate();
    form1.startTimers();
}

std::function<void()> App::tickHandler(game::ControlId timer)
{
    // A tick that was already due may still come after the window was unloaded: it does nothing.
    switch (timer) {
    case game::ControlId::Timer1:
        return [this] {
            if (loaded(FormId::Form1))
                m_form1View->show(*m_rules, m_rules->Timer1_Timer(m_keys));
        };
    case game::ControlId::Timer2:
        return [this] {
            if (loaded(FormId::Form1))
                pelletTick();
        };
    case game::ControlId::Timer3:
        return [this] {
            if (loaded(FormId::Form1))
                m_form1View->show(*m_rules, m_rules->Timer3_Timer(m_random));
        };
    default:
        throw objectRequired(game::controlName(timer));
    }
}

void App::pelletTick()
{
    const game::PelletTick tick = m_rules->Timer2_Timer();
    // The character is hidden and the timers stopped before the box shows.
    m_form1View->show(*m_rules, tick.writes);
    if (!tick.capture)
        return;
    m_frontEnd.messageBox(tick.capture->prompt, BoxIcon::Stop, tick.capture->title,
                          [this] { run([this] { unload(FormId::Form1); }); });
}

} // namespace app
