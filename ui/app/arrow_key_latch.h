// Arrow-key state fed by a front end's key events and read by the player tick.
#pragma once

#include "game/sources.h"

#include <array>
#include <cstdint>
#include <optional>

namespace app {

using game::ArrowKey;

// A key reports "pressed since the last query" when it went down since then or is still held, so
// a tap between two ticks is never lost and a held key walks one cell per tick. Several holders
// (the keyboard, game controllers) hold keys as several keyboards would: a key is up only when
// none of them holds it.
class ArrowKeyLatch final : public game::KeySource {
public:
    // A holder is the keyboard or a controller's slot, 1 to kHolders - 1.
    static constexpr int kKeyboard = 0;
    static constexpr int kHolders = 32;

    void press(game::ArrowKey key, int holder = kKeyboard);
    // A key event: a repeat of a key still held adds nothing, while one of a key that an unload or a
    // lost keyboard let go holds it again.
    void keyDown(game::ArrowKey key, bool autoRepeat);
    void release(game::ArrowKey key, int holder = kKeyboard);
    // Lets go of every key that holder holds.
    void releaseAll(int holder);
    // The program lost the keyboard: nothing stays held, so the character cannot run away.
    void releaseAll();
    bool held(ArrowKey key) const { return m_keys[index(key)].holders != 0; }
    bool heldBy(ArrowKey key, int holder) const { return (m_keys[index(key)].holders & bit(holder)) != 0; }

    std::int16_t GetAsyncKeyState(game::ArrowKey key) override;

    // The arrow key of a virtual-key code, if it is one.
    static std::optional<game::ArrowKey> fromVirtualKey(int code);

private:
    struct KeyState {
        std::uint32_t holders = 0;
        bool pressedSinceQuery = false;
    };
    static std::size_t index(game::ArrowKey key);
    static std::uint32_t bit(int holder);
    std::array<KeyState, 4> m_keys{};
};

} // namespace app
