// The key latch's bookkeeping.
#include "ui/app/arrow_key_latch.h"

namespace app {

std::size_t ArrowKeyLatch::index(game::ArrowKey key)
{
    return static_cast<std::size_t>(static_cast<int>(key) - static_cast<int>(game::ArrowKey::Left));
}

std::optional<game::ArrowKey> ArrowKeyLatch::fromVirtualKey(int code)
{
    if (code < static_cast<int>(game::ArrowKey::Left) || code > static_cast<int>(game::ArrowKey::Down))
        return std::nullopt;
    return static_cast<game::ArrowKey>(code);
}

void ArrowKeyLatch::press(game::ArrowKey key)
{
    KeyState& state = m_keys[index(key)];
    state.held = true;
    state.pressedSinceQuery = true;
}

void ArrowKeyLatch::keyDown(game::ArrowKey key, bool autoRepeat)
{
    if (!autoRepeat || !held(key))
        press(key);
}

void ArrowKeyLatch::release(game::ArrowKey key)
{
    m_keys[index(key)].held = false;
}

void ArrowKeyLatch::releaseAll()
{
    for (KeyState& state : m_keys)
        state.held = false;
}

std::int16_t ArrowKeyLatch::GetAsyncKeyState(game::ArrowKey key)
{
    KeyState& state = m_keys[index(key)];
    const bool reported = state.pressedSinceQuery || state.held;
    state.pressedSinceQuery = false;
    // Bit 15 says "down now", as the platform's query does; the rules read only bit 0.
    return static_cast<std::int16_t>((state.held ? 0x8000 : 0) | (reported ? 1 : 0));
}

} // namespace app
