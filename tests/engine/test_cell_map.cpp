// The cell-code map: every cell of the board, what each code refuses, and lookups off the table.
#include "game/cell_map.h"
#include "game/module1.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string_view>

namespace {

using game::Step;

constexpr std::int16_t grid(int i) { return static_cast<std::int16_t>(50 + 620 * i); }

// The board written out by hand, one string per row (Top 50 to 6870), one hex digit per column
// (Left 50 to 11830). Kept apart from the engine's own table so that a slip in either shows.
constexpr std::array<std::string_view, 12> kBoard{
    "68888822222222222700", // row 0
    "a1111141111111111500", // row 1
    "a1111141111111111500", // row 2
    "a1168831111111111500", // row 3
    "a11a0004111111111500", // row 4
    "a1198823331111111500", // row 5
    "a11111a0004111111500", // row 6
    "a11111a0c04111111500", // row 7
    "488828b0a04111111500", // row 8
    "a111a000a04111111500", // row 9
    "98883888383333333b00", // row 10
    "11111111111111111111", // row 11
};

int boardCode(int row, int column)
{
    const char c = kBoard[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    return c <= '9' ? c - '0' : c - 'a' + 10;
}

constexpr std::uint16_t kUntouched = 0xBEEF;

// cellCode after looking up (top, left), starting from `before`.
std::uint16_t lookup(int top, int left, std::uint16_t before = kUntouched)
{
    game::Module1 m;
    m.cellCode = before;
    m.actorTop = static_cast<std::int16_t>(top);
    m.actorLeft = static_cast<std::int16_t>(left);
    m.ComputeCellCode();
    return m.cellCode;
}

bool inPlayingArea(int row, int column) { return row >= 0 && row <= 10 && column >= 0 && column <= 17; }

struct Move { Step step; int dRow; int dColumn; Step back; };
constexpr Move kMoves[] = {
    {Step::Down, 1, 0, Step::Up},
    {Step::Right, 0, 1, Step::Left},
    {Step::Up, -1, 0, Step::Down},
    {Step::Left, 0, -1, Step::Right},
};

TEST(CellMap, NamedPositionsHaveTheirCodes)
{
    EXPECT_EQ(lookup(50, 50), 6);       // character's start
    EXPECT_EQ(lookup(3150, 4390), 3);   // monster's start
    EXPECT_EQ(lookup(50, 10590), 7);    // corners of the playing area
    EXPECT_EQ(lookup(6250, 50), 9);
    EXPECT_EQ(lookup(6250, 10590), 11);
    EXPECT_EQ(lookup(4390, 5010), 12);  // the dead end
    EXPECT_EQ(lookup(2530, 2530), 0);
    EXPECT_EQ(lookup(5010, 50), 4);
    EXPECT_EQ(lookup(670, 670), 1);     // up is open from here ...
    EXPECT_EQ(lookup(50, 670), 8);      // ... but down is refused on the way back
}

TEST(CellMap, EveryCellOfTheTableMatchesTheBoard)
{
    for (int row = 0; row < 12; ++row)
        for (int column = 0; column < 20; ++column)
            EXPECT_EQ(lookup(grid(row), grid(column)), boardCode(row, column))
                << "Top " << grid(row) << ", Left " << grid(column);
}

TEST(CellMap, OutsideColumnsClosedAndBottomRowOpen)
{
    for (int row = 0; row <= 10; ++row) {
        EXPECT_EQ(lookup(grid(row), 11210), 0) << "Top " << grid(row);
        EXPECT_EQ(lookup(grid(row), 11830), 0) << "Top " << grid(row);
    }
    for (int column = 0; column < 20; ++column)
        EXPECT_EQ(lookup(6870, grid(column)), 1) << "Left " << grid(column);
}

TEST(CellMap, BorderOfThePlayingAreaRefusesEveryOutwardStep)
{
    for (int row = 0; row <= 10; ++row) {
        EXPECT_TRUE(game::refuses(lookup(grid(row), grid(0)), Step::Left)) << "row " << row;
        EXPECT_TRUE(game::refuses(lookup(grid(row), grid(17)), Step::Right)) << "row " << row;
    }
    for (int column = 0; column <= 17; ++column) {
        EXPECT_TRUE(game::refuses(lookup(grid(0), grid(column)), Step::Up)) << "column " << column;
        EXPECT_TRUE(game::refuses(lookup(grid(10), grid(column)), Step::Down)) << "column " << column;
    }
}

TEST(CellMap, EachCodeRefusesExactlyItsClosedSides)
{
    // Open sides per code 0..12, D = down, R = right, U = up, L = left.
    constexpr std::string_view kOpen[] = {"", "DRUL", "DRL", "RUL", "DRU", "DUL", "DR",
                                          "DL", "RL", "RU", "DU", "UL", "D"};
    constexpr std::pair<Step, char> kLetters[] = {
        {Step::Down, 'D'}, {Step::Right, 'R'}, {Step::Up, 'U'}, {Step::Left, 'L'}};
    for (std::uint16_t code = 0; code <= 12; ++code)
        for (const auto& [step, letter] : kLetters)
            EXPECT_EQ(game::refuses(code, step), kOpen[code].find(letter) == std::string_view::npos)
                << "code " << code << " side " << letter;
}

TEST(CellMap, PositionsOffTheTableLeaveTheCodeAlone)
{
    const std::uint16_t eight = lookup(50, 670);
    ASSERT_EQ(eight, 8);
    const std::pair<int, int> offTable[] = {
        {51, 50}, {49, 50}, {50, 51}, {50, 49},     // one twip off the grid
        {7490, 50}, {8110, 670}, {-570, 50},        // below the table, above it
        {50, 12450}, {50, -570}, {-32768, -32768}, {32767, 32767}, {0, 0},
        {3150, 4400}, {6870, 12450},
    };
    for (const auto& [top, left] : offTable)
        EXPECT_EQ(lookup(top, left, eight), 8) << "Top " << top << ", Left " << left;
}

TEST(CellMap, OneWayStepsInsideThePlayingArea)
{
    int oneWay = 0;
    for (int row = 0; row <= 10; ++row)
        for (int column = 0; column <= 17; ++column)
            for (const Move& m : kMoves) {
                const int toRow = row + m.dRow;
                const int toColumn = column + m.dColumn;
                if (!inPlayingArea(toRow, toColumn))
                    continue;
                const std::uint16_t from = lookup(grid(row), grid(column));
                const std::uint16_t to = lookup(grid(toRow), grid(toColumn));
                if (game::refuses(from, m.step))
                    continue;
                EXPECT_NE(to, 0) << "an open step leads into the closed cell at row " << toRow << ", column "
                                 << toColumn;
                if (game::refuses(to, m.back))
                    ++oneWay;
            }
    EXPECT_EQ(oneWay, 38);

    // Row 11 lets every column step up into row 10, which never lets it back down.
    for (int column = 0; column < 20; ++column) {
        EXPECT_FALSE(game::refuses(lookup(6870, grid(column)), Step::Up));
        EXPECT_TRUE(game::refuses(lookup(6250, grid(column)), Step::Down));
    }
}

} // namespace
