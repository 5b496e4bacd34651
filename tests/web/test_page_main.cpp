// The page under test: the monster's dice repeat one pattern that walks it onto the waiting character.
#include "program.h"

#include <array>
#include <cstddef>

namespace {

// Draws for right, left, up and down in turn: up always weighs most, then the chase decides. From
// the start, the monster reaches a character that never moved in about two and a half seconds.
class CapturingDice final : public game::RandomSource {
public:
    void reseedFromClock() override {}
    double draw() override { return kDraws[m_next++ % kDraws.size()]; }

private:
    static constexpr std::array kDraws{0.0, 0.0, 0.95, 0.0};
    std::size_t m_next = 0;
};

} // namespace

int main()
{
    web::runProgram(std::make_unique<CapturingDice>());
    return 0;
}
