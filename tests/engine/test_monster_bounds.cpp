// The monster never leaves the playing area, and 16-bit overflow traps instead of wrapping.
#include "game/checked16.h"
#include "tests/engine/game_fixture.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

using fixture::expectRuntimeError;
using fixture::Game;
using fixture::grid;
using game::ErrorNumber;
using Log = std::vector<std::string>;
using Weights = std::array<int, 4>; // right, left, up, down

Weights weights(const game::Module1& m) { return {m.scoreRight, m.scoreLeft, m.scoreUp, m.scoreDown}; }

TEST(MonsterBounds, AllZeroVoteOnTheBorderStepsAlongOrInward)
{
    std::vector<std::pair<int, int>> border; // row, column
    for (int column = 0; column <= 17; ++column)
        border.insert(border.end(), {{0, column}, {10, column}});
    for (int row = 1; row <= 9; ++row)
        border.insert(border.end(), {{row, 0}, {row, 17}});

    for (const auto& [row, column] : border) {
        Game g;
        g.monsterAloneAt(grid(row), grid(column));
        g.random.addWeights(0, 0, 0, 0);
        g.monsterTick();
        // Right comes first in a tie unless it leads off the board; then left, always on it.
        const bool right = column < 17;
        EXPECT_EQ(g.monsterTop(), grid(row)) << row << "," << column;
        EXPECT_EQ(g.monsterLeft(), grid(right ? column + 1 : column - 1)) << row << "," << column;
        EXPECT_EQ(g.module.monsterLastDir, right ? game::kRight : game::kLeft);
        EXPECT_EQ(weights(g.module), (Weights{0, 0, 0, 0})) << "the shared weights keep the vote as drawn";
    }
}

TEST(MonsterBounds, RightColumnWithNothingDrawnGoesBackLeft)
{
    Game g;
    g.monsterAloneAt(3150, 10590);
    g.random.addWeights(0, 0, 0, 0);
    EXPECT_EQ(g.monsterTick(), Log{"Picture5.Left=9970"});

    // Up and down still beat left on their weights there.
    Game h;
    h.monsterAloneAt(3150, 10590);
    h.random.addWeights(9, 0, 2, 3);
    EXPECT_EQ(h.monsterTick(), Log{"Picture5.Top=3770"});
}

TEST(MonsterBounds, StepsInsideTheBoardAreUnchanged)
{
    Game g; // column 16: right leads to column 17, still on the board
    g.monsterAloneAt(3150, 9970);
    g.random.addWeights(0, 0, 0, 0);
    EXPECT_EQ(g.monsterTick(), Log{"Picture5.Left=10590"});
}

TEST(MonsterBounds, AWayOffTheBoardLosesEvenToZeroWeights)
{
    // Off the grid the last looked-up code (an open cross) stands, so the outward weight survives.
    struct Case { float top; float left; Weights w; Log step; };
    const Case cases[] = {
        {3150, 10500, {9, 0, 0, 0}, {"Picture5.Left=9880"}},
        {60, 3150, {0, 0, 9, 0}, {"Picture5.Left=3770"}},
        {6240, 3150, {0, 0, 0, 9}, {"Picture5.Left=3770"}},
        {3150, 60, {0, 9, 0, 0}, {"Picture5.Left=680"}},
    };
    for (const Case& c : cases) {
        Game g;
        g.placeMonster(c.top, c.left);
        g.placeCharacter(static_cast<std::int16_t>(c.top), static_cast<std::int16_t>(c.left));
        g.module.cellCode = 1;
        g.random.addWeights(c.w[0], c.w[1], c.w[2], c.w[3]);
        EXPECT_EQ(g.monsterTick(), c.step) << c.top << "," << c.left;
        EXPECT_EQ(weights(g.module), c.w);
    }
}

TEST(Checked16, AddAndSubtractTrapPastTheLimits)
{
    using namespace game::checked;
    EXPECT_EQ(add(32766, 1), 32767);
    EXPECT_EQ(add(-32768, 32767), -1);
    EXPECT_EQ(sub(-32767, 1), -32768);
    expectRuntimeError(ErrorNumber::Overflow, [] { add(32767, 1); });
    expectRuntimeError(ErrorNumber::Overflow, [] { add(-32768, -1); });
    expectRuntimeError(ErrorNumber::Overflow, [] { sub(-32768, 1); });
    expectRuntimeError(ErrorNumber::Overflow, [] { sub(32767, -1); });
    expectRuntimeError(ErrorNumber::Overflow, [] { sub(0, -32768); });
}

TEST(Checked16, RoundingIsHalfToEvenAndTrapsOutOfRange)
{
    namespace checked = game::checked;
    EXPECT_EQ(checked::round(2.5), 2);
    EXPECT_EQ(checked::round(3.5), 4);
    EXPECT_EQ(checked::round(-2.5), -2);
    EXPECT_EQ(checked::round(-0.5), 0);
    EXPECT_EQ(checked::round(3100.4), 3100);
    EXPECT_EQ(checked::round(32766.5), 32766);
    EXPECT_EQ(checked::round(32767.4), 32767);
    EXPECT_EQ(checked::round(-32768.5), -32768);
    for (const double bad : {32767.5, 32768.0, -32768.6, -32769.0, 1e300, std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()})
        expectRuntimeError(ErrorNumber::Overflow, [bad] { checked::round(bad); });
}

TEST(MonsterBounds, FarOffTheBoardItWandersRightUntilTheOverflowTraps)
{
    Game g;
    g.placeMonster(3150, 32000);
    g.random.addWeights(0, 9, 9, 9);
    g.random.addWeights(0, 9, 9, 9);
    g.monsterTick();
    EXPECT_EQ(g.monsterLeft(), 32620.f);
    g.monsterTick();
    EXPECT_EQ(g.monsterLeft(), 33240.f);
    expectRuntimeError(ErrorNumber::Overflow, [&] { (void)g.form.Timer3_Timer(g.random); });
    EXPECT_EQ(g.random.remaining(), 0u);
    EXPECT_EQ(g.monsterLeft(), 33240.f); // no step on the tick that traps

    // The gap to the character is a 16-bit value too.
    Game h;
    h.placeCharacter(3150, 10590);
    h.placeMonster(3150, -32000);
    expectRuntimeError(ErrorNumber::Overflow, [&] { (void)h.form.Timer3_Timer(h.random); });
}

} // namespace
