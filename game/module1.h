// The shared game state of Module1 and its two procedures.
#pragma once

#include "game/sources.h"

#include <cstdint>

namespace game {

// Direction codes of the monster's memory.
enum DirectionCode : std::uint8_t { kNone = 0, kDown = 1, kUp = 2, kRight = 3, kLeft = 4 };

// The module-level variables through which the handlers talk. All start at zero when the main
// window's rules are made, and its handlers are the only writers.
struct Module1 {
    std::uint16_t cellCode{};
    std::int16_t actorTop{};
    std::int16_t actorLeft{};
    std::int16_t scoreRight{};
    std::int16_t scoreLeft{};
    std::int16_t scoreUp{};
    std::int16_t scoreDown{};
    std::uint8_t monsterLastDir{};
    std::uint8_t monsterChaseDir{};

    // cellCode = code of (actorTop, actorLeft); untouched when that position is off the table.
    void ComputeCellCode();

    // The monster's four weights: random 0-9 each, momentum +3, chase +4, closed directions 0.
    void ScoreDirections(RandomSource& random);

    friend bool operator==(const Module1&, const Module1&) = default;
};

} // namespace game
