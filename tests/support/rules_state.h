// The rules' own state of a main-window control, by name, for tests that set a scene or look at it.
#pragma once

#include "game/controls.h"
#include "ui/app/app.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace support {

inline game::ControlId controlId(std::string_view name)
{
    for (std::size_t i = 0; i < game::kControlCount; ++i)
        if (game::controlName(static_cast<game::ControlId>(i)) == name)
            return static_cast<game::ControlId>(i);
    throw std::logic_error("the rules touch no control named " + std::string(name));
}

// Throws when the main window is not loaded: a test that looks then has a bug.
inline game::Form1& rules(app::App& app)
{
    if (game::Form1* rules = app.rules())
        return *rules;
    throw std::logic_error("the test looked at the rules after the main window was unloaded");
}

inline game::ControlState& ruleControl(app::App& app, std::string_view name) { return rules(app).controls[controlId(name)]; }

} // namespace support
