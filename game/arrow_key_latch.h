// Arrow-key state fed by a front end's key events and read by the player tick.
#pragma once

#include "game/platform.h"

#include <array>
#include <cstdint>
#include <optional>

namespace game {

// A key reports "pressed since the last query" when it went down since then or is still held, so
// a tap between two ticks is never lost and a held key walks one cell per tick.
class ArrowKeyLatch final : public KeySource {
public:
    void press(ArrowKey key);
    void release(ArrowKey key);
    // The keyboard went elsewhere: nothing stays held, so the character cannot run away.
    void releaseAll();
    bool held(ArrowKey key) const { return m_keys[index(key)].held; }

    std::int16_t GetAsyncKeyState(ArrowKey key) override;

    // The arrow key of a virtual-key code, if it is one.
    static std::optional<ArrowKey> fromVirtualKey(int code);

private:
    struct KeyState {
        bool held = false;
        bool pressedSinceQuery = false;
    };
    static std::size_t index(ArrowKey key);
    std::array<KeyState, 4> m_keys{};
};

} // namespace game
