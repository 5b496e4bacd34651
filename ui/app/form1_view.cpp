// Design-time state of the rules' controls, and their writes shown on the main window.
#include "ui/app/form1_view.h"

#include "ui/app/errors.h"

#include <variant>

namespace app {
namespace {

const forms::TimerDef& timerOf(const forms::FormDef& form, std::string_view name)
{
    if (const forms::TimerDef* timer = forms::findTimer(form, name))
        return *timer;
    throw objectRequired(name);
}

const forms::ControlDef& controlOf(const forms::FormDef& form, std::string_view name)
{
    if (const forms::ControlDef* control = forms::findControl(form, name))
        return *control;
    throw objectRequired(name);
}

} // namespace

game::Form1Controls designTimeControls(const forms::FormDef& form)
{
    game::Form1Controls controls;
    for (std::size_t i = 0; i < game::kControlCount; ++i) {
        const game::ControlId id = game::controlAt(i);
        const std::string_view name = game::controlName(id);
        if (game::controlKind(id) == game::ControlKind::Timer) {
            controls[id].enabled = timerOf(form, name).enabled;
            continue;
        }
        const forms::ControlDef& control = controlOf(form, name);
        controls[id] = {static_cast<float>(control.top), static_cast<float>(control.left), control.visible, false};
        if (game::controlKind(id) == game::ControlKind::Label)
            controls.label2Caption = control.caption;
    }
    return controls;
}

Form1View::Form1View(LoadedWindow& window) : m_view(window.view())
{
    const forms::FormDef& form = window.definition();
    for (std::size_t i = 0; i < game::kControlCount; ++i) {
        const game::ControlId id = game::controlAt(i);
        const std::string_view name = game::controlName(id);
        if (game::controlKind(id) == game::ControlKind::Timer)
            m_timers[i] = &window.timer(name);
        else
            m_controls[i] = static_cast<std::size_t>(&controlOf(form, name) - form.controls.data());
    }
}

void Form1View::show(const game::Form1& rules, const game::Writes& writes)
{
    for (const game::Write& write : writes) {
        m_view.written(write);
        // An unchanged value has nothing new to show: the score is rewritten on every pellet tick.
        if (!write.changed)
            continue;
        const std::size_t i = game::indexOf(write.control);
        const game::ControlState& state = rules.controls[write.control];
        std::visit(game::Overloaded{
                       [&](game::Top v) { place(i, pixelPosition(v.twips, state.left)); },
                       [&](game::Left v) { place(i, pixelPosition(state.top, v.twips)); },
                       [&](game::Visible v) { m_view.setControlVisible(m_controls[i], v.shown); },
                       [&](const game::Caption& v) { m_view.setControlCaption(m_controls[i], v.text.view()); },
                       [&](game::Enabled v) { v.running ? m_timers[i]->start() : m_timers[i]->stop(); },
                   },
                   write.value);
    }
}

void Form1View::place(std::size_t control, std::optional<PixelPoint> at)
{
    // A control too far off for the window system stays where it was last shown.
    if (at)
        m_view.moveControl(m_controls[control], *at);
}

} // namespace app
