// A splitmix64 generator with clock reseeding.
#include "ui/app/clock_random.h"

#include <chrono>
#include <utility>

namespace app {
namespace {

constexpr std::uint64_t kGolden = 0x9E3779B97F4A7C15ULL;

constexpr std::uint64_t mix(std::uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

} // namespace

std::uint64_t ClockRandom::systemClock()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
}

ClockRandom::ClockRandom(Clock clock, std::uint64_t initialState)
    : m_clock(std::move(clock)), m_state(initialState)
{
}

void ClockRandom::reseedFromClock()
{
    m_state = mix(m_state ^ mix(m_clock() + kGolden));
}

double ClockRandom::draw()
{
    m_state += kGolden;
    // The top 53 bits make an exact double in [0, 1).
    return static_cast<double>(mix(m_state) >> 11) * 0x1.0p-53;
}

} // namespace app
