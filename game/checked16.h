// 16-bit signed arithmetic that traps on overflow, the way the game's integers behave.
#pragma once

#include "game/runtime_error.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace game::checked {

inline constexpr int kMin = std::numeric_limits<std::int16_t>::min();
inline constexpr int kMax = std::numeric_limits<std::int16_t>::max();

// Narrows an int that is known to be the exact result of 16-bit operands.
inline std::int16_t narrow(int value)
{
    if (value < kMin || value > kMax)
        throw RuntimeError::overflow();
    return static_cast<std::int16_t>(value);
}

inline std::int16_t add(std::int16_t a, std::int16_t b) { return narrow(int{a} + int{b}); }
inline std::int16_t sub(std::int16_t a, std::int16_t b) { return narrow(int{a} - int{b}); }

// Float to 16 bits: round to nearest, halves to even, as the runtime's conversion does.
// NaN and infinities are overflows too, never undefined behaviour.
inline std::int16_t round(double value)
{
    if (!std::isfinite(value))
        throw RuntimeError::overflow();
    const double rounded = std::nearbyint(value);
    if (rounded < kMin || rounded > kMax)
        throw RuntimeError::overflow();
    return static_cast<std::int16_t>(rounded);
}

} // namespace game::checked
