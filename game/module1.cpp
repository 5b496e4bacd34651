// ComputeCellCode and ScoreDirections.
#include "game/module1.h"

#include "game/cell_map.h"
#include "game/checked16.h"

#include <cmath>

namespace game {
namespace {

constexpr std::int16_t kMomentumBonus = 3;
constexpr std::int16_t kChaseBonus = 4;

std::int16_t randomWeight(RandomSource& random)
{
    random.reseedFromClock();
    return checked::round(std::floor(random.draw() * 10.0));
}

std::int16_t* weightFor(Module1& m, std::uint8_t direction)
{
    switch (direction) {
    case kDown: return &m.scoreDown;
    case kUp: return &m.scoreUp;
    case kRight: return &m.scoreRight;
    case kLeft: return &m.scoreLeft;
    default: return nullptr;
    }
}

void addBonus(Module1& m, std::uint8_t direction, std::int16_t bonus)
{
    if (std::int16_t* weight = weightFor(m, direction))
        *weight = checked::add(*weight, bonus);
}

// The monster's own blocking: as the map's refused steps, except that a closed cell (code 0)
// only blocks right and left, so a monster there may still leave up or down.
bool blocksMonster(std::uint16_t code, Step step)
{
    if (code == 0)
        return step == Step::Right || step == Step::Left;
    return refuses(code, step);
}

} // namespace

void Module1::ComputeCellCode()
{
    if (const auto code = cellCodeAt(actorTop, actorLeft))
        cellCode = *code;
}

void Module1::ScoreDirections(RandomSource& random)
{
    scoreRight = randomWeight(random);
    scoreLeft = randomWeight(random);
    scoreUp = randomWeight(random);
    scoreDown = randomWeight(random);

    addBonus(*this, monsterLastDir, kMomentumBonus);
    addBonus(*this, monsterChaseDir, kChaseBonus);

    if (blocksMonster(cellCode, Step::Down))
        scoreDown = 0;
    if (blocksMonster(cellCode, Step::Up))
        scoreUp = 0;
    if (blocksMonster(cellCode, Step::Right))
        scoreRight = 0;
    if (blocksMonster(cellCode, Step::Left))
        scoreLeft = 0;
}

} // namespace game
