// The monster's vote: weights, momentum, chase, blocking, and the step it takes on each tick.
#include "tests/engine/game_fixture.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

using fixture::Game;
using fixture::grid;
using Log = std::vector<std::string>;
using Weights = std::array<int, 4>; // right, left, up, down

Weights weights(const game::Module1& m) { return {m.scoreRight, m.scoreLeft, m.scoreUp, m.scoreDown}; }

TEST(MonsterTick, FirstTickAfterTheStartChasesLeft)
{
    Game g;
    g.random.addWeights(0, 0, 0, 0);
    EXPECT_EQ(g.monsterTick(), Log{"Picture5.Left=3770"});
    EXPECT_EQ(g.form.distTop, 3100);
    EXPECT_EQ(g.form.sideTop, 1);
    EXPECT_EQ(g.form.distLeft, 4340);
    EXPECT_EQ(g.form.sideLeft, 1);
    EXPECT_EQ(g.module.monsterChaseDir, game::kLeft);
    EXPECT_EQ(weights(g.module), (Weights{0, 4, 0, 0}));
    EXPECT_EQ(g.module.monsterLastDir, game::kLeft);
}

TEST(MonsterTick, FirstTickNeverStepsDownWhateverTheDraws)
{
    std::mt19937 dice(7);
    std::uniform_int_distribution<int> weight(0, 9);
    for (int run = 0; run < 300; ++run) {
        Game g;
        const Weights drawn{weight(dice), weight(dice), weight(dice), weight(dice)};
        g.random.addWeights(drawn[0], drawn[1], drawn[2], drawn[3]);
        g.monsterTick();
        // No momentum yet, chase left, and the start cell's wall below clears down.
        EXPECT_EQ(weights(g.module), (Weights{drawn[0], drawn[1] + 4, drawn[2], 0}));
        EXPECT_NE(g.module.monsterLastDir, game::kDown);
        const float moved = g.monsterTop() + g.monsterLeft() - (3150.f + 4390.f);
        EXPECT_EQ(moved, g.module.monsterLastDir == game::kRight ? 620.f : -620.f); // right, or left or up
    }
}

TEST(MonsterTick, HeaviestDirectionWinsTiesGoRightLeftUpDown)
{
    struct Case { Weights w; float top; float left; std::uint8_t dir; };
    // On an open cross, no bonus: the draws alone vote.
    const Case cases[] = {
        {{5, 5, 2, 0}, 1290, 8110, game::kRight},
        {{4, 7, 7, 1}, 1290, 6870, game::kLeft},
        {{3, 2, 9, 9}, 670, 7490, game::kUp},
        {{0, 0, 0, 1}, 1910, 7490, game::kDown},
    };
    for (const Case& c : cases) {
        Game g;
        g.monsterAloneAt(grid(2), grid(12));
        g.random.addWeights(c.w[0], c.w[1], c.w[2], c.w[3]);
        EXPECT_EQ(g.monsterTick().size(), 1u); // exactly one step
        EXPECT_EQ(weights(g.module), c.w);
        EXPECT_EQ(g.monsterTop(), c.top);
        EXPECT_EQ(g.monsterLeft(), c.left);
        EXPECT_EQ(g.module.monsterLastDir, c.dir);
    }
}

TEST(MonsterTick, AllZeroVoteStepsRightThroughAnInnerWall)
{
    {   // Vertical corridor on the left edge: right is walled but the cell beyond is on the board.
        Game g;
        g.monsterAloneAt(670, 50);
        g.random.addWeights(9, 9, 0, 0);
        EXPECT_EQ(g.monsterTick(), Log{"Picture5.Left=670"});
        EXPECT_EQ(weights(g.module), (Weights{0, 0, 0, 0}));
    }
    {   // Out of the dead end sideways, into a closed cell.
        Game g;
        g.monsterAloneAt(4390, 5010);
        g.random.addWeights(5, 5, 5, 0);
        EXPECT_EQ(g.monsterTick(), Log{"Picture5.Left=5630"});
    }
}

TEST(MonsterTick, MomentumFollowsALeftStep)
{
    Game g;
    g.monsterAloneAt(grid(2), grid(12));
    g.random.addWeights(0, 5, 0, 0);
    g.monsterTick();
    ASSERT_EQ(g.module.monsterLastDir, game::kLeft);

    g.placeCharacter(grid(2), grid(11)); // keep the chase out of it
    g.random.addWeights(0, 0, 0, 0);
    g.monsterTick();
    EXPECT_EQ(weights(g.module), (Weights{0, 3, 0, 0}));
    EXPECT_EQ(g.monsterLeft(), grid(10));
}

TEST(MonsterTick, MomentumAndChaseTogetherReachSixteen)
{
    Game g;
    g.placeMonster(grid(2), grid(11));
    g.placeCharacter(grid(2), grid(16));
    g.module.monsterLastDir = game::kRight;
    g.random.addWeights(9, 9, 9, 9);
    g.monsterTick();
    EXPECT_EQ(g.module.monsterChaseDir, game::kRight);
    EXPECT_EQ(weights(g.module), (Weights{16, 9, 9, 9}));
    EXPECT_EQ(g.monsterLeft(), grid(12));
}

TEST(MonsterTick, ChasePointsAlongTheWiderGap)
{
    struct Case { int top; int left; std::uint8_t chase; Weights w; };
    const Case cases[] = {
        {grid(8), grid(13), game::kDown, {0, 0, 0, 4}},
        {grid(0), grid(12), game::kUp, {0, 0, 4, 0}},
        {grid(3), grid(16), game::kRight, {4, 0, 0, 0}},
        {grid(4), grid(6), game::kLeft, {0, 4, 0, 0}},
        {grid(4), grid(13), game::kUp, {0, 0, 4, 0}}, // equal gaps: the old chase stays
    };
    for (const Case& c : cases) {
        Game g;
        g.module.monsterChaseDir = game::kUp;
        g.placeMonster(grid(3), grid(12));
        g.placeCharacter(static_cast<std::int16_t>(c.top), static_cast<std::int16_t>(c.left));
        g.random.addWeights(0, 0, 0, 0);
        g.monsterTick();
        EXPECT_EQ(g.module.monsterChaseDir, c.chase) << c.top << "," << c.left;
        EXPECT_EQ(weights(g.module), c.w) << c.top << "," << c.left;
    }
}

TEST(MonsterTick, OnAClosedCellOnlyRightAndLeftAreCleared)
{
    Game g;
    g.monsterAloneAt(2530, 3150);
    g.random.addWeights(9, 9, 5, 7);
    EXPECT_EQ(g.monsterTick(), Log{"Picture5.Top=3150"});
    EXPECT_EQ(weights(g.module), (Weights{0, 0, 5, 7}));
}

TEST(MonsterTick, SharingTheCharactersCellKeepsGapsAndChaseAndStillSteps)
{
    Game g;
    g.random.addWeights(0, 0, 0, 0);
    g.monsterTick(); // measures 3100 / 4340, chases left, steps to Left 3770
    g.placeCharacter(3150, 3770);
    g.random.addWeights(0, 0, 0, 0);
    EXPECT_EQ(g.monsterTick(), Log{"Picture5.Left=3150"});
    EXPECT_EQ(g.form.distTop, 3100);
    EXPECT_EQ(g.form.sideTop, 1);
    EXPECT_EQ(g.form.distLeft, 4340);
    EXPECT_EQ(g.form.sideLeft, 1);
    EXPECT_EQ(g.module.monsterChaseDir, game::kLeft);
    EXPECT_EQ(weights(g.module), (Weights{0, 7, 0, 0})); // momentum 3 + chase 4
}

TEST(MonsterTick, OffTheTableTheLastCodeLookedUpStillBlocks)
{
    Game g;
    g.playerTick(); // the character's cell (code 6) is the last lookup
    ASSERT_EQ(g.module.cellCode, 6);
    g.placeMonster(3150, 4400);
    g.random.addWeights(0, 9, 9, 5);
    g.monsterTick();
    EXPECT_EQ(g.module.cellCode, 6);
    EXPECT_EQ(weights(g.module), (Weights{0, 0, 0, 5})); // up and left blocked by the stale code
    EXPECT_EQ(g.monsterTop(), 3770.f);

    // A Top a fraction off the grid rounds onto it and does get its own cell's code.
    Game h;
    h.monsterAloneAt(2530, 2530);
    h.placeMonster(2529.6f, 2530);
    h.module.cellCode = 6;
    h.random.addWeights(9, 9, 2, 1);
    h.monsterTick();
    EXPECT_EQ(h.module.cellCode, 0);
    EXPECT_EQ(weights(h.module), (Weights{0, 0, 2, 1}));
}

TEST(MonsterTick, GivesTheCharactersPositionBack)
{
    std::mt19937 dice(11);
    std::uniform_int_distribution<int> row(0, 10), column(0, 17), weight(0, 9);
    for (int run = 0; run < 200; ++run) {
        Game g;
        g.placeMonster(grid(row(dice)), grid(column(dice)));
        const std::int16_t top = grid(row(dice)), left = grid(column(dice));
        g.placeCharacter(top, left);
        g.random.addWeights(weight(dice), weight(dice), weight(dice), weight(dice));
        g.monsterTick();
        EXPECT_EQ(g.module.actorTop, top);
        EXPECT_EQ(g.module.actorLeft, left);
    }
}

TEST(ScoreDirections, ReseedsBeforeEachOfItsFourDraws)
{
    Game g;
    g.random.addWeights(1, 2, 3, 4);
    g.module.cellCode = 1;
    g.module.ScoreDirections(g.random);
    EXPECT_EQ(g.random.events, "SDSDSDSD");
    EXPECT_EQ(weights(g.module), (Weights{1, 2, 3, 4}));

    g.monsterAloneAt(grid(2), grid(12));
    for (int i = 0; i < 3; ++i)
        g.random.addWeights(0, 0, 0, 0);
    for (int i = 0; i < 3; ++i)
        g.monsterTick();
    EXPECT_EQ(g.random.reseeds, 16);
    EXPECT_EQ(g.random.draws, 16);
}

TEST(ScoreDirections, BonusesLandOnTheirOwnDirection)
{
    struct Case { std::uint8_t dir; Weights momentum; Weights chase; };
    const Case cases[] = {
        {game::kDown, {0, 0, 0, 3}, {0, 0, 0, 4}}, {game::kUp, {0, 0, 3, 0}, {0, 0, 4, 0}},
        {game::kRight, {3, 0, 0, 0}, {4, 0, 0, 0}}, {game::kLeft, {0, 3, 0, 0}, {0, 4, 0, 0}},
        {0, {0, 0, 0, 0}, {0, 0, 0, 0}}, {5, {0, 0, 0, 0}, {0, 0, 0, 0}}, {255, {0, 0, 0, 0}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        game::Module1 m;
        m.cellCode = 1;
        scripted::ScriptedRandom random;
        random.addWeights(0, 0, 0, 0);
        random.addWeights(0, 0, 0, 0);
        m.monsterLastDir = c.dir;
        m.ScoreDirections(random);
        EXPECT_EQ(weights(m), c.momentum) << int{c.dir};
        m.monsterLastDir = 0;
        m.monsterChaseDir = c.dir;
        m.ScoreDirections(random);
        EXPECT_EQ(weights(m), c.chase) << int{c.dir};
    }
}

TEST(ScoreDirections, BlockingByCellCodeComesAfterTheBonuses)
{
    // Weights left standing per code, R L U D; code 0 keeps up and down for the monster.
    constexpr const char* kKept[] = {"..UD", "RLUD", "RL.D", "RLU.", "R.UD", ".LUD", "R..D",
                                     ".L.D", "RL..", "R.U.", "..UD", ".LU.", "...D"};
    struct Bonus { std::uint8_t last; std::uint8_t chase; Weights extra; };
    const Bonus bonuses[] = {{0, 0, {0, 0, 0, 0}}, {game::kRight, game::kLeft, {3, 4, 0, 0}},
                             {game::kUp, game::kDown, {0, 0, 3, 4}}};
    for (std::uint16_t code = 0; code <= 12; ++code) {
        for (const Bonus& b : bonuses) {
            game::Module1 m;
            m.cellCode = code;
            m.monsterLastDir = b.last;
            m.monsterChaseDir = b.chase;
            scripted::ScriptedRandom random;
            random.addWeights(9, 9, 9, 9);
            m.ScoreDirections(random);
            const Weights w = weights(m);
            for (std::size_t i = 0; i < 4; ++i)
                EXPECT_EQ(w[i], kKept[code][i] == '.' ? 0 : 9 + b.extra[i]) << "code " << code << " slot " << i;
        }
    }
}

TEST(ScoreDirections, AFaultAtADrawStopsTheScoringThere)
{
    game::Module1 m;
    m.scoreRight = m.scoreLeft = m.scoreUp = m.scoreDown = 7;
    m.monsterLastDir = game::kRight;
    m.monsterChaseDir = game::kLeft;
    m.cellCode = 0; // would clear right and left
    scripted::ScriptedRandom random;
    random.add({0.55, 0.35, std::numeric_limits<double>::quiet_NaN()});
    fixture::expectRuntimeError(game::ErrorNumber::Overflow, [&] { m.ScoreDirections(random); });
    EXPECT_EQ(weights(m), (Weights{5, 3, 7, 7}));
}

} // namespace
