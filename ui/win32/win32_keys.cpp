// Arrow key presses and releases to the latch.
#include "win32_keys.h"

namespace win32 {

bool feedArrowKey(const MSG& message, game::ArrowKeyLatch& latch)
{
    const bool press = message.message == WM_KEYDOWN;
    // A release comes as a system key while Alt is down; it must not leave the key held.
    const bool release = message.message == WM_KEYUP || message.message == WM_SYSKEYUP;
    if (!press && !release)
        return false;
    const auto key = game::ArrowKeyLatch::fromVirtualKey(static_cast<int>(message.wParam));
    if (!key)
        return false;
    // Bit 30 of lParam: the key was already down, an auto-repeat.
    const bool repeat = (message.lParam & (1L << 30)) != 0;
    if (press && !repeat)
        latch.press(*key);
    else if (release)
        latch.release(*key);
    return true;
}

} // namespace win32
