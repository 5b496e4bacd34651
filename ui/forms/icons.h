// The game's icon sizes in pixels: each is drawn at its own size, never scaled from another.
#pragma once

#include <array>

namespace forms {

// The desktop's icons, as BMP and PNG: the windows' icon, the task bar, the menu entry.
inline constexpr std::array kDesktopIconSizes{16, 32, 48, 64, 128, 256};
// The installed browser app's large icons, as PNG only.
inline constexpr std::array kAppIconSizes{192, 512};

} // namespace forms
