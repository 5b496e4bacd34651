// Which steps may leave each grid cell: the board's walls as the rules know them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace game {

inline constexpr std::int16_t kGridOrigin = 50;
inline constexpr std::int16_t kGridStep = 620;
inline constexpr int kMapRows = 12;
inline constexpr int kMapColumns = 20;

// The playing area: the cells an actor may stand on in normal play.
inline constexpr int kLastPlayRow = 10;
inline constexpr int kLastPlayColumn = 17;
inline constexpr std::int16_t kPlayTopMin = kGridOrigin;
inline constexpr std::int16_t kPlayTopMax = kGridOrigin + kGridStep * kLastPlayRow;
inline constexpr std::int16_t kPlayLeftMin = kGridOrigin;
inline constexpr std::int16_t kPlayLeftMax = kGridOrigin + kGridStep * kLastPlayColumn;

constexpr std::int16_t gridValue(int index) { return static_cast<std::int16_t>(kGridOrigin + kGridStep * index); }

// The cell code of the exact grid position (top, left), or nothing when the position is off the table.
std::optional<std::uint16_t> cellCodeAt(std::int16_t top, std::int16_t left);

// Steps refused out of a cell, by cell code (bit set = refused). Codes above 12 refuse nothing.
enum class Step { Down, Right, Up, Left };
bool refuses(std::uint16_t cellCode, Step step);

} // namespace game
