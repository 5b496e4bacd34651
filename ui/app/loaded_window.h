// One loaded window: its on-screen view, its controls as shown and its timers.
#pragma once

#include "ui/app/front_end.h"
#include "ui/app/stored_control.h"

#include <deque>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

namespace app {

class LoadedWindow {
public:
    // Makes the view, then the controls in their design-time state, watched by it.
    LoadedWindow(const forms::FormDef& form, FrontEnd& frontEnd, WindowEvents& events);
    LoadedWindow(const LoadedWindow&) = delete;
    LoadedWindow& operator=(const LoadedWindow&) = delete;

    const forms::FormDef& definition() const { return m_form; }
    WindowView& view() { return *m_view; }
    // A control by its definition's name; the object-required error for any other name.
    StoredControl& control(std::string_view name);

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
    // Stable addresses: the application layer binds to them once.
    std::deque<StoredControl> m_controls;
    std::vector<Timer> m_timers;
};

} // namespace app
