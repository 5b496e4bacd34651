// The start of a game and the character's steps on the player tick.
#include "tests/engine/game_fixture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using fixture::ControlId;
using fixture::Game;
using fixture::grid;
using game::ArrowKey;
using Log = std::vector<std::string>;
using Facings = std::vector<ControlId>;

constexpr ArrowKey kDown = ArrowKey::Down, kRight = ArrowKey::Right, kUp = ArrowKey::Up, kLeft = ArrowKey::Left;

// The facing writes of a step: the picture's Top and Left, then Visible of Picture1..4.
Log stepWrites(ControlId picture, int top, int left)
{
    const std::string name(game::controlName(picture));
    Log log{name + ".Top=" + std::to_string(top), name + ".Left=" + std::to_string(left)};
    for (const ControlId facing : fixture::kFacings)
        log.push_back(std::string(game::controlName(facing)) + ".Visible=" + (picture == facing ? "True" : "False"));
    return log;
}

Log operator+(Log a, const Log& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

using Cell = std::pair<int, int>; // Top, Left

TEST(FormLoad, WritesTheStartInOrder)
{
    Game g;
    EXPECT_EQ(fixture::describe(g.startWrites),
              (Log{"Picture5.Top=3150", "Picture5.Left=4390",
                   "Picture1.Top=50", "Picture1.Left=50", "Picture1.Visible=True",
                   "Picture2.Top=50", "Picture2.Left=50", "Picture2.Visible=False",
                   "Picture3.Top=50", "Picture3.Left=50", "Picture3.Visible=False",
                   "Picture4.Top=50", "Picture4.Left=50", "Picture4.Visible=False"}));
    EXPECT_EQ(g.module.actorTop, 50);
    EXPECT_EQ(g.module.actorLeft, 50);
    EXPECT_EQ(g.visibleFacings(), Facings{ControlId::Picture1});
}

TEST(FormLoad, LeavesEverythingElseAsItWas)
{
    Game g;
    g.placeCharacter(3150, 3150);
    g.placeMonster(40, 40);
    g.module.cellCode = 9;
    g.module.scoreRight = 1, g.module.scoreLeft = 2, g.module.scoreUp = 3, g.module.scoreDown = 4;
    g.module.monsterLastDir = 3, g.module.monsterChaseDir = 2;
    g.form.points = 5;
    g.form.distTop = 6, g.form.distLeft = 7, g.form.sideTop = 1, g.form.sideLeft = 1;
    g.form.savedTop = 8, g.form.savedLeft = 9;
    g.control(ControlId::Image7).visible = false;
    g.control(ControlId::Timer2).enabled = false;
    g.control(ControlId::Picture3).visible = true;
    game::Form1 expected = g.form;
    expected.module.actorTop = 50;
    expected.module.actorLeft = 50;
    expected.points = 0;
    expected.controls = fixture::Game().form.controls; // positions and facings as a fresh load sets them
    expected.controls[ControlId::Image7].visible = false;
    expected.controls[ControlId::Timer2].enabled = false;

    (void)g.form.Form_Load();

    EXPECT_EQ(g.form, expected);
    EXPECT_EQ(g.form.controls.label2Caption, "design caption");
}

TEST(PlayerTick, QueriesAllFourKeysEveryTickDownRightUpLeft)
{
    Game g;
    g.keys.nextTick({});
    g.keys.nextTick({kDown, kRight, kUp, kLeft});
    g.keys.nextTick({kUp, kLeft});
    for (int i = 0; i < 3; ++i)
        g.playerTick();
    std::vector<ArrowKey> expected;
    for (int i = 0; i < 3; ++i)
        expected.insert(expected.end(), {kDown, kRight, kUp, kLeft});
    EXPECT_EQ(g.keys.queries, expected);
}

TEST(PlayerTick, SingleKeysAtTheStart)
{
    struct Case { ArrowKey key; Cell end; Log writes; };
    const Case cases[] = {
        {kDown, {670, 50}, stepWrites(ControlId::Picture2, 670, 50)},
        {kRight, {50, 670}, stepWrites(ControlId::Picture1, 50, 670)},
        {kUp, {50, 50}, {}},
        {kLeft, {50, 50}, {}},
    };
    for (const Case& c : cases) {
        Game g;
        g.keys.nextTick({c.key});
        EXPECT_EQ(g.playerTick(), c.writes) << static_cast<int>(c.key);
        EXPECT_EQ(Cell(g.module.actorTop, g.module.actorLeft), c.end) << static_cast<int>(c.key);
        EXPECT_EQ(g.visibleFacings().size(), 1u);
    }
}

TEST(PlayerTick, TwoKeysInOneTick)
{
    {   // Diagonal from the start: ends facing right, the down picture left behind mid-way.
        Game g;
        g.keys.nextTick({kDown, kRight});
        EXPECT_EQ(g.playerTick(), stepWrites(ControlId::Picture2, 670, 50) + stepWrites(ControlId::Picture1, 670, 670));
        EXPECT_EQ(Cell(g.module.actorTop, g.module.actorLeft), Cell(670, 670));
        EXPECT_EQ(g.visibleFacings(), Facings{ControlId::Picture1});
        EXPECT_EQ(g.control(ControlId::Picture2).top, 670.f);
        EXPECT_EQ(g.control(ControlId::Picture2).left, 50.f);
    }
    {   // Down and up cancel on the vertical corridor, facing up.
        Game g;
        g.placeCharacter(670, 50);
        g.keys.nextTick({kUp, kDown});
        EXPECT_EQ(g.playerTick(), stepWrites(ControlId::Picture2, 1290, 50) + stepWrites(ControlId::Picture4, 670, 50));
        EXPECT_EQ(Cell(g.module.actorTop, g.module.actorLeft), Cell(670, 50));
    }
    {   // Right and left cancel on an open cross, facing left.
        Game g;
        g.placeCharacter(670, 670);
        g.keys.nextTick({kLeft, kRight});
        EXPECT_EQ(g.playerTick(), stepWrites(ControlId::Picture1, 670, 1290) + stepWrites(ControlId::Picture3, 670, 670));
        EXPECT_EQ(Cell(g.module.actorTop, g.module.actorLeft), Cell(670, 670));
    }
}

TEST(PlayerTick, DiagonalOntoAClosedCellStrandsTheCharacter)
{
    Game g;
    g.placeCharacter(1910, 1910);
    g.keys.nextTick({kDown, kRight});
    g.playerTick();
    EXPECT_EQ(Cell(g.module.actorTop, g.module.actorLeft), Cell(2530, 2530));
    EXPECT_EQ(g.module.cellCode, 6); // judged on the start cell only

    game::Form1 stranded = g.form;
    stranded.module.cellCode = 0; // the next tick looks up the closed cell
    for (int i = 0; i < 5; ++i) {
        g.keys.nextTick({kDown, kRight, kUp, kLeft});
        EXPECT_EQ(g.playerTick(), Log{});
    }
    EXPECT_EQ(g.form, stranded);
}

TEST(PlayerTick, ARefusedPressIsUsedUpNotSaved)
{
    Game g;
    // Each report waits for its key's next query, as a latched press does.
    g.keys.push(kUp, 1); // refused at the start
    g.playerTick();
    g.keys.push(kDown, 1);
    g.playerTick();
    ASSERT_EQ(Cell(g.module.actorTop, g.module.actorLeft), Cell(670, 50)); // up is open here
    g.playerTick();
    EXPECT_EQ(Cell(g.module.actorTop, g.module.actorLeft), Cell(670, 50));
    EXPECT_EQ(g.visibleFacings(), Facings{ControlId::Picture2});
}

TEST(PlayerTick, NothingReportedMeansNothingWritten)
{
    Game g;
    g.placeCharacter(670, 670);
    g.playerTick();
    const game::Form1 idle = g.form;
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(g.playerTick(), Log{});
    // Held-now (bit 15) and other bits without bit 0 are not a press.
    constexpr std::int16_t kHeldNow = INT16_MIN;
    for (const std::int16_t bits : {kHeldNow, std::int16_t{2}, std::int16_t{0x7FFE}})
        for (const ArrowKey key : scripted::ScriptedKeys::kAll)
            g.keys.push(key, bits);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(g.playerTick(), Log{});
    EXPECT_EQ(g.form, idle);

    g.keys.push(kRight, kHeldNow | 1); // bit 0 with bit 15: a press
    g.playerTick();
    EXPECT_EQ(g.module.actorLeft, 1290);
}

TEST(PlayerTick, BorderCellsHoldTheCharacterIn)
{
    std::vector<std::pair<ArrowKey, Cell>> outward;
    for (int i = 0; i <= 17; ++i) {
        outward.push_back({kUp, {grid(0), grid(i)}});
        outward.push_back({kDown, {grid(10), grid(i)}});
    }
    for (int i = 0; i <= 10; ++i) {
        outward.push_back({kLeft, {grid(i), grid(0)}});
        outward.push_back({kRight, {grid(i), grid(17)}});
    }
    for (const auto& [key, cell] : outward) {
        Game g;
        g.placeCharacter(static_cast<std::int16_t>(cell.first), static_cast<std::int16_t>(cell.second));
        g.keys.nextTick({key});
        EXPECT_EQ(g.playerTick(), Log{});
        EXPECT_EQ(Cell(g.module.actorTop, g.module.actorLeft), cell) << "key " << static_cast<int>(key);
    }
}

TEST(PlayerTick, LooksUpItsOwnCellAfterTheMonsterLeftAnotherCode)
{
    Game g;
    g.placeMonster(2530, 2530); // a closed cell: code 0 refuses every player step
    g.random.addWeights(0, 0, 0, 5);
    g.monsterTick();
    ASSERT_EQ(g.module.cellCode, 0);
    g.keys.nextTick({kRight});
    g.playerTick();
    EXPECT_EQ(Cell(g.module.actorTop, g.module.actorLeft), Cell(50, 670));
}

// Every cell the character can reach from the start, one tick per key set in `keySets`.
std::set<Cell> reachable(const std::vector<std::vector<ArrowKey>>& keySets)
{
    std::set<Cell> seen{{50, 50}};
    std::vector<Cell> todo{{50, 50}};
    while (!todo.empty()) {
        const Cell from = todo.back();
        todo.pop_back();
        for (const auto& keys : keySets) {
            Game g;
            g.placeCharacter(static_cast<std::int16_t>(from.first), static_cast<std::int16_t>(from.second));
            for (const ArrowKey k : scripted::ScriptedKeys::kAll) {
                bool pressed = false;
                for (const ArrowKey p : keys)
                    pressed = pressed || p == k;
                g.keys.push(k, pressed ? 1 : 0);
            }
            g.playerTick();
            const Cell to(g.module.actorTop, g.module.actorLeft);
            if (seen.insert(to).second)
                todo.push_back(to);
        }
    }
    return seen;
}

TEST(PlayerTick, OneKeyATickCannotEnterTheOneWayPockets)
{
    const std::set<Cell> seen = reachable({{kDown}, {kRight}, {kUp}, {kLeft}});
    for (int row = 1; row <= 7; ++row) {
        for (int column = 1; column <= 5; ++column) {
            if (row < 3 || row > 5 || column < 3) {
                EXPECT_EQ(seen.count({grid(row), grid(column)}), 0u) << row << "," << column;
            }
        }
    }
    for (int column = 1; column <= 3; ++column)
        EXPECT_EQ(seen.count({grid(9), grid(column)}), 0u);
    EXPECT_EQ(seen.count({grid(2), grid(6)}), 1u);
    EXPECT_EQ(seen.count({grid(7), grid(8)}), 1u); // the dead end
    // 198 cells, less the 14 closed ones, less the 29 pocket cells.
    EXPECT_EQ(seen.size(), 155u);
}

TEST(PlayerTick, NoKeyCombinationLeavesThePlayingArea)
{
    std::vector<std::vector<ArrowKey>> all;
    for (int mask = 1; mask < 16; ++mask) {
        std::vector<ArrowKey> keys;
        for (int bit = 0; bit < 4; ++bit)
            if (mask >> bit & 1)
                keys.push_back(scripted::ScriptedKeys::kAll[bit]);
        all.push_back(keys);
    }
    const std::set<Cell> seen = reachable(all);
    for (const auto& [top, left] : seen) {
        EXPECT_TRUE(top >= 50 && top <= 6250 && (top - 50) % 620 == 0) << top;
        EXPECT_TRUE(left >= 50 && left <= 10590 && (left - 50) % 620 == 0) << left;
    }
    EXPECT_EQ(seen.count({grid(1), grid(1)}), 1u);  // diagonals open the pockets
    EXPECT_EQ(seen.count({2530, 2530}), 1u);        // and strand on closed cells
}

TEST(PlayerTick, AStepPastSixteenBitsTrapsBeforeStoringAnything)
{
    Game g;
    g.placeCharacter(3150, 32500); // off the table, so the last code (open cross) still stands
    g.module.cellCode = 1;
    const game::Form1 before = g.form;
    g.keys.nextTick({kRight});
    fixture::expectRuntimeError(game::ErrorNumber::Overflow, [&] { (void)g.form.Timer1_Timer(g.keys); });
    EXPECT_EQ(g.form, before);
}

} // namespace
