// The play the process benchmark measures: a player lapping every pellet, and a monster kept on
// the far side of the board, so that no run ends in a capture.
#pragma once

#include "game/module1.h"
#include "game/sources.h"
#include "ui/app/clock_random.h"
#include "ui/app/input.h"

#include <array>
#include <cstddef>

namespace bench {

// The real clock-seeded generator, its draws bent so that the monster runs to the right edge and
// stays in the last two columns: right always draws 9 and left 0, which at column 16 outweighs
// everything but a run up or down, and at column 17 (right closed) allows only back, up or down.
class FarSideRandom final : public game::RandomSource {
public:
    void reseedFromClock() override;
    double draw() override;

private:
    app::ClockRandom m_random;
    unsigned m_draws = 0;
};

struct Cell {
    int row;
    int column;
    friend bool operator==(const Cell&, const Cell&) = default;
};

class ScriptedPlayer {
public:
    // Corners of one lap: the top row, the left column and the row at Top 5010, all reached by
    // single steps and at least twelve columns away from the monster.
    static constexpr std::array<Cell, 6> kRoute{{{0, 4}, {0, 0}, {8, 0}, {8, 3}, {8, 0}, {0, 0}}};

    // Reads where the character is from the rules, and presses keys as the keyboard does.
    ScriptedPlayer(const game::Module1& module, app::Input& keys) : m_module(module), m_keys(keys) {}

    // Before each player tick: one tap toward the next corner, so that every tick takes a step.
    void beforePlayerTick();

private:
    const game::Module1& m_module;
    app::Input& m_keys;
    std::size_t m_next = 0;
};

} // namespace bench
