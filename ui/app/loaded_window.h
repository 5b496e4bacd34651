// One loaded window: its on-screen view, its controls and timers as the rules see them.
#pragma once

#include "game/form1.h"
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
    // A control or timer by its definition's name; the object-required error for any other name.
    StoredControl& control(std::string_view name);

    // Makes the definition's timers, each calling `tick` with its index in the definition.
    void makeTimers(FrontEnd& frontEnd, const std::function<void(std::size_t)>& tick);
    // Starts the timers that are enabled.
    void startTimers();
    void stopTimers();

    // Form1's game code, for the main window only; it lives and dies with the window.
    std::unique_ptr<game::Form1> rules;

private:
    // Starts and stops a timer as the rules enable and disable it.
    class TimerBinding final : public ControlWatcher {
    public:
        TimerBinding(WindowView& view, std::unique_ptr<TimerView> timer) : m_view(view), m_timer(std::move(timer)) {}
        void changed(const StoredControl& control, Property property) override;
        void written(const StoredControl& control, Property property) override { m_view.written(control, property); }
        TimerView& timer() { return *m_timer; }

    private:
        WindowView& m_view;
        std::unique_ptr<TimerView> m_timer;
    };

    const forms::FormDef& m_form;
    std::unique_ptr<WindowView> m_view;
    // Stable addresses: the rules bind to them once.
    std::deque<StoredControl> m_controls;
    std::deque<StoredControl> m_timerControls;
    std::deque<TimerBinding> m_timers;
};

} // namespace app
