// Control lookup by name.
#include "game/controls.h"

namespace game {

std::optional<ControlId> controlNamed(std::string_view name)
{
    for (std::size_t i = 0; i < kControlCount; ++i)
        if (kControls[i].name == name)
            return controlAt(i);
    return std::nullopt;
}

} // namespace game
