// A game controller as a second keyboard: its cross and left stick hold arrow keys, its face button is Enter.
#pragma once

#include "game/sources.h"

#include <array>

namespace app {

// What a front end reads off a controller: the cross, the left stick and the bottom face button.
struct ControllerState {
    bool up = false;
    bool down = false;
    bool left = false;
    bool right = false;
    // The left stick: -1 (left, up) to 1 (right, down) on each axis.
    float stickX = 0;
    float stickY = 0;
    bool faceButton = false;
    friend bool operator==(const ControllerState&, const ControllerState&) = default;
};

// The arrow keys a controller holds and its Enter presses, as a keyboard would give them.
class ControllerKeys {
public:
    // The stick points a way once past about half its travel, and lets go only once back well
    // inside it, so a stick resting near that point does not chatter.
    static constexpr float kEngage = 0.6f;
    static constexpr float kRelease = 0.4f;

    struct Reading {
        // By key, in the order of kKeys.
        std::array<bool, 4> held{};
        // The face button went down since the last reading.
        bool enter = false;
    };
    static constexpr std::array kKeys{game::ArrowKey::Left, game::ArrowKey::Up, game::ArrowKey::Right,
                                      game::ArrowKey::Down};

    Reading read(const ControllerState& state);

private:
    // Each stick axis's way: -1, 0 or 1.
    int m_wayX = 0;
    int m_wayY = 0;
    bool m_faceDown = false;
};

} // namespace app
