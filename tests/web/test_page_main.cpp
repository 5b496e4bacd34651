// The page under test: the monster's dice repeat one pattern that walks it onto the waiting character.
#include "ui/web/program.h"

#include <emscripten.h>

#include <array>
#include <cstddef>

namespace {

// The page opened with "#overflow" draws a number no weight can hold: the runtime error path.
EM_JS(int, pageWantsOverflow, (), { return location.hash === "#overflow"; });

// Draws for right, left, up and down in turn: up always weighs most, then the chase decides. From
// the start, the monster reaches a character that never moved in about two and a half seconds.
class CapturingDice final : public game::RandomSource {
public:
    void reseedFromClock() override {}
    double draw() override { return m_overflow ? kTooLarge : kDraws[m_next++ % kDraws.size()]; }

private:
    static constexpr std::array kDraws{0.0, 0.0, 0.95, 0.0};
    static constexpr double kTooLarge = 1e6;
    const bool m_overflow = pageWantsOverflow() != 0;
    std::size_t m_next = 0;
};

} // namespace

int main()
{
    web::runProgram(std::make_unique<CapturingDice>());
    return 0;
}
