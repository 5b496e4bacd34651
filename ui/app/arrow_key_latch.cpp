// The key latch's bookkeeping.
#include "ui/app/arrow_key_latch.h"

#include <stdexcept>

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

std::uint32_t ArrowKeyLatch::bit(int holder)
{
    if (holder < 0 || holder >= kHolders)
        throw std::out_of_range("no such key holder");
    return std::uint32_t{1} << holder;
}

void ArrowKeyLatch::press(game::ArrowKey key, int holder)
{
    KeyState& state = m_keys[index(key)];
    state.holders |= bit(holder);
    state.pressedSinceQuery = true;
}

void ArrowKeyLatch::keyDown(game::ArrowKey key, bool autoRepeat)
{
    if (!autoRepeat || !heldBy(key, kKeyboard))
        press(key, kKeyboard);
}

void ArrowKeyLatch::release(game::ArrowKey key, int holder)
{
    m_keys[index(key)].holders &= ~bit(holder);
}

void ArrowKeyLatch::releaseAll(int holder)
{
    for (KeyState& state : m_keys)
        state.holders &= ~bit(holder);
}

void ArrowKeyLatch::releaseAll()
{
    for (KeyState& state : m_keys)
        state.holders = 0;
}

std::int16_t ArrowKeyLatch::GetAsyncKeyState(game::ArrowKey key)
{
    KeyState& state = m_keys[index(key)];
    const bool down = state.holders != 0;
    const bool reported = state.pressedSinceQuery || down;
    state.pressedSinceQuery = false;
    // Bit 15 says "down now", as the platform's query does; the rules read only bit 0.
    return static_cast<std::int16_t>((down ? 0x8000 : 0) | (reported ? 1 : 0));
}

} // namespace app
