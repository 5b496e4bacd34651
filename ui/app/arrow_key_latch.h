// Arrow-key state fed by a front end's key events and read by the player tick.
#pragma once

#include "game/sources.h"

#include <array>
#include <cstdint>
#include <optional>

namespace app {

using game::ArrowKey;

// A key reports "pressed since the last query" when it went down since then or is still held, so
// a tap between two ticks is never lost and a held key walks one cell per tick.
class ArrowKeyLatch final : public game::KeySource {
public:
    void press(game::ArrowKey key);
    // A key event: a repeat of a key still held adds nothing, while one of a key that an unload or a
    // lost keyboard let go holds it again.
    void keyDown(game::ArrowKey key, bool autoRepeat);
    void release(game::ArrowKey key);
    // The keyboard went elsewhere: nothing stays held, so the character cannot run away.
    void releaseAll();
    bool held(ArrowKey key) const { return m_keys[index(key)].held; }

    std::int16_t GetAsyncKeyState(game::ArrowKey key) override;

    // The arrow key of a virtual-key code, if it is one.
    static std::optional<game::ArrowKey> fromVirtualKey(int code);

private:
    struct KeyState {
        bool held = false;
        bool pressedSinceQuery = false;
    };
    static std::size_t index(game::ArrowKey key);
    std::array<KeyState, 4> m_keys{};
};

} // namespace app
