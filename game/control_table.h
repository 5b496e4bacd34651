// The main window's controls by name, as a front end binds them for the rules.
#pragma once

#include "platform.h"
#include "runtime_error.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace game {

class ControlTable {
public:
    void add(std::string_view name, std::unique_ptr<Control> control)
    {
        m_controls.insert_or_assign(std::string(name), std::move(control));
    }

    // Throws the object-required error for a name the window does not have.
    Control& at(std::string_view name) const
    {
        const auto found = m_controls.find(name);
        if (found == m_controls.end())
            throw RuntimeError::objectRequired(std::string(name));
        return *found->second;
    }

private:
    std::map<std::string, std::unique_ptr<Control>, std::less<>> m_controls;
};

} // namespace game
