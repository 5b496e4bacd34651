// The monster's random source: uniform draws, reseeded from a clock without restarting the sequence.
#pragma once

#include "game/sources.h"

#include <cstdint>
#include <functional>

namespace app {

class ClockRandom final : public game::RandomSource {
public:
    using Clock = std::function<std::uint64_t()>;

    // Reads the system's steady clock in nanoseconds.
    static std::uint64_t systemClock();

    explicit ClockRandom(Clock clock = systemClock, std::uint64_t initialState = 0);

    // Mixes the clock reading into the running state, so that several reseeds within one clock
    // reading still give fresh draws instead of replaying the same one.
    void reseedFromClock() override;
    double draw() override;

private:
    Clock m_clock;
    std::uint64_t m_state;
};

} // namespace app
