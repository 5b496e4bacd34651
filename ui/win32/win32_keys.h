// The arrow-key latch fed from the keyboard messages the message loop takes for the game's windows.
#pragma once

#include "arrow_key_latch.h"

#include <windows.h>

namespace win32 {

// Looks at a message before it is translated and dispatched, and never consumes it: the focused
// control still gets its keys. Returns true when it was an arrow key's press or release.
// Auto-repeat adds nothing, since a held key already reports on every query.
bool feedArrowKey(const MSG& message, game::ArrowKeyLatch& latch);

} // namespace win32
