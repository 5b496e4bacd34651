// The cell-code table and the refused steps of each code.
#include "game/cell_map.h"

namespace game {
namespace {

constexpr std::array<std::array<std::uint8_t, kMapColumns>, kMapRows> kCellCodes{{
    {6, 8, 8, 8, 8, 8, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 7, 0, 0},
    {10, 1, 1, 1, 1, 1, 4, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 5, 0, 0},
    {10, 1, 1, 1, 1, 1, 4, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 5, 0, 0},
    {10, 1, 1, 6, 8, 8, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 5, 0, 0},
    {10, 1, 1, 10, 0, 0, 0, 4, 1, 1, 1, 1, 1, 1, 1, 1, 1, 5, 0, 0},
    {10, 1, 1, 9, 8, 8, 2, 3, 3, 3, 1, 1, 1, 1, 1, 1, 1, 5, 0, 0},
    {10, 1, 1, 1, 1, 1, 10, 0, 0, 0, 4, 1, 1, 1, 1, 1, 1, 5, 0, 0},
    {10, 1, 1, 1, 1, 1, 10, 0, 12, 0, 4, 1, 1, 1, 1, 1, 1, 5, 0, 0},
    {4, 8, 8, 8, 2, 8, 11, 0, 10, 0, 4, 1, 1, 1, 1, 1, 1, 5, 0, 0},
    {10, 1, 1, 1, 10, 0, 0, 0, 10, 0, 4, 1, 1, 1, 1, 1, 1, 5, 0, 0},
    {9, 8, 8, 8, 3, 8, 8, 8, 3, 8, 3, 3, 3, 3, 3, 3, 3, 11, 0, 0},
    {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
}};

constexpr std::uint16_t bits(std::initializer_list<int> codes)
{
    std::uint16_t mask = 0;
    for (const int code : codes)
        mask = static_cast<std::uint16_t>(mask | (1u << code));
    return mask;
}

// Indexed by Step.
constexpr std::array<std::uint16_t, 4> kRefused{
    bits({0, 3, 8, 9, 11}),
    bits({0, 5, 7, 10, 11, 12}),
    bits({0, 2, 6, 7, 8, 12}),
    bits({0, 4, 6, 9, 10, 12}),
};

// Grid index of an exact grid value within [0, count), or -1. Exact equality only: no rounding.
constexpr int gridIndex(std::int16_t value, int count)
{
    const int offset = value - kGridOrigin;
    if (offset < 0 || offset % kGridStep != 0)
        return -1;
    const int index = offset / kGridStep;
    return index < count ? index : -1;
}

} // namespace

std::optional<std::uint16_t> cellCodeAt(std::int16_t top, std::int16_t left)
{
    const int row = gridIndex(top, kMapRows);
    if (row < 0)
        return std::nullopt;
    const int column = gridIndex(left, kMapColumns);
    if (column < 0)
        return std::nullopt;
    return kCellCodes[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

bool refuses(std::uint16_t cellCode, Step step)
{
    return cellCode < 16 && (kRefused[static_cast<std::size_t>(step)] >> cellCode & 1u) != 0;
}

} // namespace game
