// Form_Load and the three timer handlers of the main window.
#include "game/form1.h"

#include "game/cell_map.h"
#include "game/checked16.h"
#include "game/texts.h"

#include <array>
#include <utility>

namespace game {
namespace {

constexpr std::int16_t kStartTop = gridValue(0);
constexpr std::int16_t kStartLeft = gridValue(0);
constexpr float kMonsterStartTop = gridValue(5);
constexpr float kMonsterStartLeft = gridValue(7);

// Character facings in the order their visibility is written.
constexpr std::array kFacings{ControlId::Picture1, ControlId::Picture2, ControlId::Picture3, ControlId::Picture4};
constexpr ControlId kMonster = ControlId::Picture5;
constexpr std::array kTimers{ControlId::Timer1, ControlId::Timer2, ControlId::Timer3};

struct PlayerStep {
    ArrowKey key;
    Step step;
    std::int16_t deltaTop;
    std::int16_t deltaLeft;
    ControlId facing;
};

// The order in which each player tick handles the keys.
constexpr std::array<PlayerStep, 4> kPlayerSteps{{
    {ArrowKey::Down, Step::Down, kGridStep, 0, ControlId::Picture2},
    {ArrowKey::Right, Step::Right, 0, kGridStep, ControlId::Picture1},
    {ArrowKey::Up, Step::Up, -kGridStep, 0, ControlId::Picture4},
    {ArrowKey::Left, Step::Left, 0, -kGridStep, ControlId::Picture3},
}};

struct Pellet {
    ControlId image;
    std::int16_t left;
    std::int16_t top;
};

// In the order they are tested.
constexpr std::array<Pellet, 15> kPellets{{
    {ControlId::Image4, gridValue(1), gridValue(0)},
    {ControlId::Image3, gridValue(2), gridValue(0)},
    {ControlId::Image5, gridValue(3), gridValue(0)},
    {ControlId::Image7, gridValue(4), gridValue(0)},
    {ControlId::Image6, gridValue(0), gridValue(1)},
    {ControlId::Image8, gridValue(0), gridValue(2)},
    {ControlId::Image9, gridValue(0), gridValue(3)},
    {ControlId::Image10, gridValue(0), gridValue(4)},
    {ControlId::Image11, gridValue(0), gridValue(5)},
    {ControlId::Image12, gridValue(0), gridValue(6)},
    {ControlId::Image13, gridValue(0), gridValue(7)},
    {ControlId::Image14, gridValue(0), gridValue(8)},
    {ControlId::Image15, gridValue(1), gridValue(8)},
    {ControlId::Image16, gridValue(2), gridValue(8)},
    {ControlId::Image17, gridValue(3), gridValue(8)},
}};

bool insidePlayArea(float top, float left)
{
    return top >= kPlayTopMin && top <= kPlayTopMax && left >= kPlayLeftMin && left <= kPlayLeftMax;
}

// A step that would leave the playing area ranks below every real weight, so the monster stays
// on the board; every other ranking is the plain weight.
int rank(std::int16_t weight, float targetTop, float targetLeft)
{
    return insidePlayArea(targetTop, targetLeft) ? weight : -1;
}

} // namespace

template <typename Property>
void Form1::write(Writes& writes, ControlId id, const Property& value)
{
    const bool changed = store(controls, id, value);
    writes.add({id, value, changed});
}

Writes Form1::Form_Load()
{
    Writes writes;
    module.actorTop = kStartTop;
    module.actorLeft = kStartLeft;
    write(writes, kMonster, Top{kMonsterStartTop});
    write(writes, kMonster, Left{kMonsterStartLeft});
    for (const ControlId facing : kFacings) {
        write(writes, facing, Top{static_cast<float>(module.actorTop)});
        write(writes, facing, Left{static_cast<float>(module.actorLeft)});
        write(writes, facing, Visible{facing == ControlId::Picture1});
    }
    points = 0;
    return writes;
}

Writes Form1::Timer1_Timer(KeySource& keys)
{
    Writes writes;
    // The monster tick leaves its own cell's code behind, so look ours up once, here. Every key of
    // the tick is then judged on the cell where the tick began.
    module.ComputeCellCode();
    for (const PlayerStep& s : kPlayerSteps) {
        // Every key is queried on every tick; a refused key's press is consumed and lost.
        const bool pressed = (keys.GetAsyncKeyState(s.key) & 1) != 0;
        if (!pressed || refuses(module.cellCode, s.step))
            continue;
        if (s.deltaTop != 0)
            module.actorTop = checked::add(module.actorTop, s.deltaTop);
        else
            module.actorLeft = checked::add(module.actorLeft, s.deltaLeft);
        write(writes, s.facing, Top{static_cast<float>(module.actorTop)});
        write(writes, s.facing, Left{static_cast<float>(module.actorLeft)});
        for (const ControlId facing : kFacings)
            write(writes, facing, Visible{facing == s.facing});
    }
    return writes;
}

PelletTick Form1::Timer2_Timer()
{
    PelletTick tick;
    for (const Pellet& pellet : kPellets) {
        if (controls[pellet.image].visible && module.actorLeft == pellet.left && module.actorTop == pellet.top) {
            write(tick.writes, pellet.image, Visible{false});
            points = checked::add(points, 1);
        }
    }

    write(tick.writes, ControlId::Label2, Caption{CaptionText(texts::kScorePrefix).appendNumber(points)});

    const ControlState& monster = controls[kMonster];
    if (monster.left != static_cast<float>(module.actorLeft) || monster.top != static_cast<float>(module.actorTop))
        return tick;

    // One capture, one box: no tick may find it again while the box is open.
    for (const ControlId timer : kTimers)
        write(tick.writes, timer, Enabled{false});
    for (const ControlId facing : kFacings)
        write(tick.writes, facing, Visible{false});
    tick.capture = Capture{std::string(texts::kGameOverPrompt) + std::to_string(points), texts::kGameOverTitle};
    return tick;
}

Writes Form1::Timer3_Timer(RandomSource& random)
{
    Writes writes;
    savedTop = module.actorTop;
    savedLeft = module.actorLeft;
    const float top = controls[kMonster].top;
    const float left = controls[kMonster].left;
    module.actorTop = checked::round(top);
    module.actorLeft = checked::round(left);
    module.ComputeCellCode();

    // Gaps are remembered from the last tick in which the coordinates differed.
    if (savedTop > top) {
        distTop = checked::round(static_cast<float>(savedTop) - top);
        sideTop = 0;
    } else if (savedTop < top) {
        distTop = checked::round(top - static_cast<float>(savedTop));
        sideTop = 1;
    }
    if (savedLeft > left) {
        distLeft = checked::round(static_cast<float>(savedLeft) - left);
        sideLeft = 0;
    } else if (savedLeft < left) {
        distLeft = checked::round(left - static_cast<float>(savedLeft));
        sideLeft = 1;
    }

    if (distTop > distLeft && sideTop == 0)
        module.monsterChaseDir = kDown;
    if (distTop > distLeft && sideTop == 1)
        module.monsterChaseDir = kUp;
    if (distTop < distLeft && sideLeft == 0)
        module.monsterChaseDir = kRight;
    if (distTop < distLeft && sideLeft == 1)
        module.monsterChaseDir = kLeft;

    module.ScoreDirections(random);

    constexpr float step = kGridStep;
    const int right = rank(module.scoreRight, top, left + step);
    const int leftward = rank(module.scoreLeft, top, left - step);
    const int up = rank(module.scoreUp, top - step, left);
    const int down = rank(module.scoreDown, top + step, left);

    // The heaviest direction wins; ties go to right, then left, then up, then down. A closed
    // direction only weighs 0, so the step may still go that way.
    if (right >= leftward && right >= up && right >= down) {
        write(writes, kMonster, Left{controls[kMonster].left + step});
        module.monsterLastDir = kRight;
    } else if (leftward > right && leftward >= up && leftward >= down) {
        write(writes, kMonster, Left{controls[kMonster].left - step});
        module.monsterLastDir = kLeft;
    } else if (up > leftward && up > right && up >= down) {
        write(writes, kMonster, Top{controls[kMonster].top - step});
        module.monsterLastDir = kUp;
    } else {
        write(writes, kMonster, Top{controls[kMonster].top + step});
        module.monsterLastDir = kDown;
    }

    module.actorTop = savedTop;
    module.actorLeft = savedLeft;
    return writes;
}

} // namespace game
