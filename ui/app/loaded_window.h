// One loaded window: its on-screen view and its timers.
#pragma once

#include "ui/app/front_end.h"

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

namespace app {

class LoadedWindow {
public:
    // Makes the view, every control in its design-time state, telling `input` of the player's doings.
    LoadedWindow(FormId id, const forms::FormDef& form, FrontEnd& frontEnd, Input& input);
    LoadedWindow(const LoadedWindow&) = delete;
    LoadedWindow& operator=(const LoadedWindow&) = delete;

    const forms::FormDef& definition() const { return m_form; }
    WindowView& view() { return *m_view; }

    // Makes the timer of that definition, stopped, ticking into `tick`.
    void addTimer(FrontEnd& frontEnd, const forms::TimerDef& timer, std::function<void()> tick);
    // A timer by its definition's name; the object-required error for any other name.
    TimerView& timer(std::string_view name);
    // Starts the timers whose definition enables them.
    void startTimers();
    void stopTimers();

private:
    struct Timer {
        const forms::TimerDef& definition;
        std::unique_ptr<TimerView> view;
    };

    const forms::FormDef& m_form;
    std::unique_ptr<WindowView> m_view;
    std::vector<Timer> m_timers;
};

} // namespace app
