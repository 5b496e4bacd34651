// The main window's rules bound to what its window shows: design-time state in, writes out.
#pragma once

#include "game/form1.h"
#include "ui/app/loaded_window.h"

#include <array>

namespace app {

// The rules' controls as the window definition loads them.
game::Form1Controls designTimeControls(const forms::FormDef& form);

// Shows the rules' writes on the loaded main window, in the order they were made: a position or
// visibility on its control, the score on the label, Enabled as the timer's start or stop.
class Form1View {
public:
    // Binds every control the rules touch once, by name; the object-required error for a missing one.
    explicit Form1View(LoadedWindow& window);

    void show(const game::Form1& rules, const game::Writes& writes);

private:
    struct Timer {
        TimerView* view = nullptr;
        bool running = false;
    };
    std::array<StoredControl*, game::kControlCount> m_controls{};
    std::array<Timer, game::kControlCount> m_timers{};
};

} // namespace app
