// The main window's rules bound to what its window shows: design-time state in, writes out.
#pragma once

#include "game/form1.h"
#include "ui/app/loaded_window.h"

#include <array>
#include <cstddef>
#include <optional>

namespace app {

// The rules' controls as the window definition loads them; the object-required error, by name, for
// a control or timer the rules touch that the definition lacks.
game::Form1Controls designTimeControls(const forms::FormDef& form);

// Shows the rules' writes on the loaded main window, in the order they were made: each change of a
// position, visibility or caption on its control, of Enabled as its timer's start or stop.
class Form1View {
public:
    // Binds every control the rules touch once, by name.
    explicit Form1View(LoadedWindow& window);

    void show(const game::Form1& rules, const game::Writes& writes);

private:
    void place(std::size_t control, std::optional<PixelPoint> at);

    WindowView& m_view;
    // By control id: its index in the definition, or its timer.
    std::array<std::size_t, game::kControlCount> m_controls{};
    std::array<TimerView*, game::kControlCount> m_timers{};
};

} // namespace app
