// Form_Load and the three timer handlers of the main window.
#include "game/form1.h"

#include "game/cell_map.h"
#include "game/checked16.h"
#include "game/texts.h"

#include <string>

namespace game {
namespace {

constexpr std::int16_t kStartTop = gridValue(0);
constexpr std::int16_t kStartLeft = gridValue(0);
constexpr float kMonsterStartTop = gridValue(5);
constexpr float kMonsterStartLeft = gridValue(7);

// Facing indices into Form1::m_facings.
constexpr std::size_t kFacingRight = 0, kFacingDown = 1, kFacingLeft = 2, kFacingUp = 3;

struct PlayerStep {
    ArrowKey key;
    Step step;
    std::int16_t deltaTop;
    std::int16_t deltaLeft;
    std::size_t facing;
};

// The order in which each player tick handles the keys.
constexpr std::array<PlayerStep, 4> kPlayerSteps{{
    {ArrowKey::Down, Step::Down, kGridStep, 0, kFacingDown},
    {ArrowKey::Right, Step::Right, 0, kGridStep, kFacingRight},
    {ArrowKey::Up, Step::Up, -kGridStep, 0, kFacingUp},
    {ArrowKey::Left, Step::Left, 0, -kGridStep, kFacingLeft},
}};

struct PelletPlace {
    const char* image;
    std::int16_t left;
    std::int16_t top;
};

constexpr std::array<PelletPlace, 15> kPelletPlaces{{
    {"Image4", gridValue(1), gridValue(0)},
    {"Image3", gridValue(2), gridValue(0)},
    {"Image5", gridValue(3), gridValue(0)},
    {"Image7", gridValue(4), gridValue(0)},
    {"Image6", gridValue(0), gridValue(1)},
    {"Image8", gridValue(0), gridValue(2)},
    {"Image9", gridValue(0), gridValue(3)},
    {"Image10", gridValue(0), gridValue(4)},
    {"Image11", gridValue(0), gridValue(5)},
    {"Image12", gridValue(0), gridValue(6)},
    {"Image13", gridValue(0), gridValue(7)},
    {"Image14", gridValue(0), gridValue(8)},
    {"Image15", gridValue(1), gridValue(8)},
    {"Image16", gridValue(2), gridValue(8)},
    {"Image17", gridValue(3), gridValue(8)},
}};

std::array<Form1::Pellet, 15> bindPellets(Form1Host& host)
{
    std::array<Form1::Pellet, 15> pellets{};
    for (std::size_t i = 0; i < pellets.size(); ++i)
        pellets[i] = {&host.control(kPelletPlaces[i].image), kPelletPlaces[i].left, kPelletPlaces[i].top};
    return pellets;
}

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

Form1::Form1(Module1& module, Form1Host& host, KeySource& keys, RandomSource& random)
    : m_module(module)
    , m_host(host)
    , m_keys(keys)
    , m_random(random)
    , m_facings{&host.control("Picture1"), &host.control("Picture2"), &host.control("Picture3"),
                &host.control("Picture4")}
    , m_monster(host.control("Picture5"))
    , m_scoreLabel(host.control("Label2"))
    , m_timers{&host.control("Timer1"), &host.control("Timer2"), &host.control("Timer3")}
    , m_pellets(bindPellets(host))
{
}

Form1::Handler Form1::timerHandler(std::string_view timerName)
{
    if (timerName == "Timer1")
        return &Form1::Timer1_Timer;
    if (timerName == "Timer2")
        return &Form1::Timer2_Timer;
    if (timerName == "Timer3")
        return &Form1::Timer3_Timer;
    throw RuntimeError::objectRequired(std::string(timerName));
}

void Form1::Form_Load()
{
    m_module.actorTop = kStartTop;
    m_module.actorLeft = kStartLeft;
    m_monster.setTop(kMonsterStartTop);
    m_monster.setLeft(kMonsterStartLeft);
    for (std::size_t i = 0; i < m_facings.size(); ++i) {
        m_facings[i]->setTop(m_module.actorTop);
        m_facings[i]->setLeft(m_module.actorLeft);
        m_facings[i]->setVisible(i == kFacingRight);
    }
    points = 0;
}

void Form1::Timer1_Timer()
{
    // The monster tick leaves its own cell's code behind, so look ours up once, here. Every key of
    // the tick is then judged on the cell where the tick began.
    m_module.ComputeCellCode();
    for (const PlayerStep& s : kPlayerSteps) {
        // Every key is queried on every tick; a refused key's press is consumed and lost.
        const bool pressed = (m_keys.GetAsyncKeyState(s.key) & 1) != 0;
        if (!pressed || refuses(m_module.cellCode, s.step))
            continue;
        if (s.deltaTop != 0)
            m_module.actorTop = checked::add(m_module.actorTop, s.deltaTop);
        else
            m_module.actorLeft = checked::add(m_module.actorLeft, s.deltaLeft);
        Control& facing = *m_facings[s.facing];
        facing.setTop(m_module.actorTop);
        facing.setLeft(m_module.actorLeft);
        for (std::size_t i = 0; i < m_facings.size(); ++i)
            m_facings[i]->setVisible(i == s.facing);
    }
}

void Form1::Timer2_Timer()
{
    for (const Pellet& pellet : m_pellets) {
        if (pellet.image->visible() && m_module.actorLeft == pellet.left && m_module.actorTop == pellet.top) {
            pellet.image->setVisible(false);
            points = checked::add(points, 1);
        }
    }

    m_scoreLabel.setCaption(std::string(texts::kScorePrefix) + std::to_string(points));

    const float monsterLeft = m_monster.left();
    const float monsterTop = m_monster.top();
    if (monsterLeft != static_cast<float>(m_module.actorLeft) || monsterTop != static_cast<float>(m_module.actorTop))
        return;

    // One capture, one box: no tick may find it again while the box is open.
    for (Control* timer : m_timers)
        timer->setEnabled(false);
    for (Control* facing : {m_facings[kFacingRight], m_facings[kFacingDown], m_facings[kFacingLeft], m_facings[kFacingUp]})
        facing->setVisible(false);
    m_host.messageBox(std::string(texts::kGameOverPrompt) + std::to_string(points), texts::kStopIconOkOnly,
                      texts::kGameOverTitle);
    m_host.unloadForm1();
}

void Form1::Timer3_Timer()
{
    savedTop = m_module.actorTop;
    savedLeft = m_module.actorLeft;
    const float top = m_monster.top();
    const float left = m_monster.left();
    m_module.actorTop = checked::round(top);
    m_module.actorLeft = checked::round(left);
    m_module.ComputeCellCode();

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
        m_module.monsterChaseDir = kDown;
    if (distTop > distLeft && sideTop == 1)
        m_module.monsterChaseDir = kUp;
    if (distTop < distLeft && sideLeft == 0)
        m_module.monsterChaseDir = kRight;
    if (distTop < distLeft && sideLeft == 1)
        m_module.monsterChaseDir = kLeft;

    m_module.ScoreDirections(m_random);

    constexpr float step = kGridStep;
    const int right = rank(m_module.scoreRight, top, left + step);
    const int leftward = rank(m_module.scoreLeft, top, left - step);
    const int up = rank(m_module.scoreUp, top - step, left);
    const int down = rank(m_module.scoreDown, top + step, left);

    // The heaviest direction wins; ties go to right, then left, then up, then down. A closed
    // direction only weighs 0, so the step may still go that way.
    if (right >= leftward && right >= up && right >= down) {
        m_monster.setLeft(m_monster.left() + step);
        m_module.monsterLastDir = kRight;
    } else if (leftward > right && leftward >= up && leftward >= down) {
        m_monster.setLeft(m_monster.left() - step);
        m_module.monsterLastDir = kLeft;
    } else if (up > leftward && up > right && up >= down) {
        m_monster.setTop(m_monster.top() - step);
        m_module.monsterLastDir = kUp;
    } else {
        m_monster.setTop(m_monster.top() + step);
        m_module.monsterLastDir = kDown;
    }

    m_module.actorTop = savedTop;
    m_module.actorLeft = savedLeft;
}

} // namespace game
