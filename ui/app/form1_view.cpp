// Design-time state of the rules' controls, and their writes shown on the main window.
#include "ui/app/form1_view.h"

#include "ui/app/errors.h"

namespace app {
namespace {

bool isTimer(game::ControlId id) { return id >= game::ControlId::Timer1; }

template <typename F>
void forEachControl(F&& f)
{
    for (std::size_t i = 0; i < game::kControlCount; ++i)
        f(static_cast<game::ControlId>(i));
}

const forms::TimerDef* findTimer(const forms::FormDef& form, std::string_view name)
{
    for (const forms::TimerDef& timer : form.timers)
        if (timer.name == name)
            return &timer;
    return nullptr;
}

} // namespace

game::Form1Controls designTimeControls(const forms::FormDef& form)
{
    game::Form1Controls controls;
    forEachControl([&](game::ControlId id) {
        const std::string_view name = game::controlName(id);
        if (isTimer(id)) {
            const forms::TimerDef* timer = findTimer(form, name);
            if (!timer)
                throw objectRequired(name);
            controls[id].enabled = timer->enabled;
            return;
        }
        const forms::ControlDef* control = forms::findControl(form, name);
        if (!control)
            throw objectRequired(name);
        controls[id] = {static_cast<float>(control->top), static_cast<float>(control->left), control->visible, false};
        if (id == game::ControlId::Label2)
            controls.label2Caption = control->caption;
    });
    return controls;
}

Form1View::Form1View(LoadedWindow& window)
{
    forEachControl([&](game::ControlId id) {
        const auto index = static_cast<std::size_t>(id);
        // Timers run from the load on exactly when their definition enables them.
        if (isTimer(id))
            m_timers[index] = {&window.timer(game::controlName(id)), findTimer(window.definition(), game::controlName(id))->enabled};
        else
            m_controls[index] = &window.control(game::controlName(id));
    });
}

void Form1View::show(const game::Form1& rules, const game::Writes& writes)
{
    for (const game::Write& write : writes) {
        const auto index = static_cast<std::size_t>(write.control);
        switch (write.property) {
        case game::Property::Top: m_controls[index]->setTop(write.value); break;
        case game::Property::Left: m_controls[index]->setLeft(write.value); break;
        case game::Property::Visible: m_controls[index]->setVisible(write.value != 0); break;
        case game::Property::Caption: m_controls[index]->setCaption(rules.controls.label2Caption); break;
        case game::Property::Enabled: {
            // Enabling a running timer keeps its period; only a real change starts or stops it.
            Timer& timer = m_timers[index];
            const bool enabled = write.value != 0;
            if (enabled != timer.running) {
                timer.running = enabled;
                enabled ? timer.view->start() : timer.view->stop();
            }
            break;
        }
        }
    }
}

} // namespace app
