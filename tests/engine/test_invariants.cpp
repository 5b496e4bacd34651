// Long randomised games: the rules' invariants hold after every tick of every timer, and each
// tick's writes account for every change it made to the controls.
#include "game/controls.h"
#include "game/form1.h"
#include "game/runtime_error.h"
#include "tests/engine/game_fixture.h"
#include "ui/forms/form_definition.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

using game::ControlId;

constexpr int kTicksPerRun = 20000;
constexpr std::array kPellets{ControlId::Image3,  ControlId::Image4,  ControlId::Image5,  ControlId::Image6,
                              ControlId::Image7,  ControlId::Image8,  ControlId::Image9,  ControlId::Image10,
                              ControlId::Image11, ControlId::Image12, ControlId::Image13, ControlId::Image14,
                              ControlId::Image15, ControlId::Image16, ControlId::Image17};
constexpr std::array kTimers{ControlId::Timer1, ControlId::Timer2, ControlId::Timer3};

bool onGrid(float value, int lastIndex)
{
    return value >= 50 && value <= 50 + 620 * lastIndex && std::fmod(value - 50, 620.f) == 0;
}

// Uniform draws from a seeded generator; reseeding is the clock's business, not the rules'.
class SeededDice final : public game::RandomSource {
public:
    explicit SeededDice(unsigned seed) : m_dice(seed) {}
    void reseedFromClock() override {}
    double draw() override { return std::uniform_real_distribution<double>(0.0, 1.0)(m_dice); }

private:
    std::mt19937 m_dice;
};

// Reports every key as pressed now and then, with noise in the bits the rules ignore.
class RandomKeyBits final : public game::KeySource {
public:
    explicit RandomKeyBits(unsigned seed) : m_dice(seed) {}
    std::int16_t GetAsyncKeyState(game::ArrowKey) override
    {
        const unsigned noise = m_dice() & 0xFFFEu;
        return static_cast<std::int16_t>(noise | (m_dice() % 4 == 0 ? 1u : 0u));
    }

private:
    std::mt19937 m_dice;
};

// Keys held down for a while and let go, so the character runs along corridors: a held key
// reports on every query, a tap between two queries once.
class HeldKeys final : public game::KeySource {
public:
    explicit HeldKeys(unsigned seed) : m_dice(seed) {}

    // Between ticks: some keys go down, some come up, some are tapped.
    void fidget()
    {
        for (Key& key : m_keys) {
            const unsigned roll = m_dice() % 100;
            if (roll < 8)
                key = {true, true};
            else if (roll < 30)
                key.held = false;
        }
    }

    std::int16_t GetAsyncKeyState(game::ArrowKey arrow) override
    {
        Key& key = m_keys[static_cast<std::size_t>(static_cast<int>(arrow) - static_cast<int>(game::ArrowKey::Left))];
        const bool report = key.held || key.tapped;
        key.tapped = false;
        return static_cast<std::int16_t>((key.held ? 0x8000 : 0) | (report ? 1 : 0));
    }

private:
    struct Key {
        bool held = false;
        bool tapped = false;
    };
    std::array<Key, 4> m_keys{};
    std::mt19937 m_dice;
};

int periodMs(std::string_view timer) { return forms::findTimer(forms::form1Definition(), timer)->intervalMs; }

int hiddenPellets(const game::Form1& form)
{
    return static_cast<int>(std::ranges::count_if(kPellets, [&](ControlId p) { return !form.controls[p].visible; }));
}

void checkTick(int timer, const game::Form1& before, const game::Form1& after, const game::Writes& writes,
               bool captured)
{
    game::Form1Controls shown = before.controls;
    for (const game::Write& w : writes)
        ASSERT_EQ(game::store(shown, w.control, w.value), w.changed) << game::describe(w);
    ASSERT_EQ(shown, after.controls) << "a change the writes do not report";
    const game::ControlState& monster = after.controls[ControlId::Picture5];
    const game::Module1& m = after.module;
    ASSERT_TRUE(onGrid(m.actorTop, 10) && onGrid(m.actorLeft, 17)) << "character at " << m.actorTop << "," << m.actorLeft;
    ASSERT_TRUE(onGrid(monster.top, 10) && onGrid(monster.left, 17)) << "monster at " << monster.top << "," << monster.left;

    for (const ControlId pellet : kPellets)
        ASSERT_FALSE(after.controls[pellet].visible && !before.controls[pellet].visible)
            << game::controlName(pellet) << " came back";
    ASSERT_EQ(after.points, hiddenPellets(after));
    ASSERT_LE(after.points, 15);

    if (captured) { // only the pellet tick ends a game
        ASSERT_EQ(timer, 2);
        ASSERT_EQ(monster.top, static_cast<float>(m.actorTop));
        ASSERT_EQ(monster.left, static_cast<float>(m.actorLeft));
        for (const ControlId facing : fixture::kFacings)
            ASSERT_FALSE(after.controls[facing].visible);
        for (const ControlId t : kTimers)
            ASSERT_FALSE(after.controls[t].enabled);
        return;
    }
    for (const ControlId t : kTimers)
        ASSERT_TRUE(after.controls[t].enabled);

    int visible = 0;
    for (const ControlId facing : fixture::kFacings) {
        const game::ControlState& picture = after.controls[facing];
        if (!picture.visible)
            continue;
        ++visible;
        ASSERT_EQ(picture.top, static_cast<float>(m.actorTop)) << game::controlName(facing);
        ASSERT_EQ(picture.left, static_cast<float>(m.actorLeft)) << game::controlName(facing);
    }
    ASSERT_EQ(visible, 1);

    const game::ControlState& monsterBefore = before.controls[ControlId::Picture5];
    const bool characterStill = m.actorTop == before.module.actorTop && m.actorLeft == before.module.actorLeft;
    const bool monsterStill = monster.top == monsterBefore.top && monster.left == monsterBefore.left;
    switch (timer) {
    case 1: {
        ASSERT_TRUE(monsterStill);
        const int dTop = std::abs(m.actorTop - before.module.actorTop);
        const int dLeft = std::abs(m.actorLeft - before.module.actorLeft);
        ASSERT_TRUE(dTop % 620 == 0 && dTop <= 620 && dLeft % 620 == 0 && dLeft <= 620);
        ASSERT_EQ(after.points, before.points);
        break;
    }
    case 2:
        ASSERT_TRUE(characterStill && monsterStill);
        ASSERT_EQ(after.controls.label2Caption, "nombres de points: " + std::to_string(after.points));
        break;
    case 3: {
        ASSERT_TRUE(characterStill) << "the monster tick kept the character's position";
        const float moved = std::fabs(monster.top - monsterBefore.top) + std::fabs(monster.left - monsterBefore.left);
        ASSERT_EQ(moved, 620.f) << "one step a tick, along one axis";
        ASSERT_EQ(after.points, before.points);
        break;
    }
    }
}

struct RunStats { int games = 1; int maxPoints = 0; };

// Plays games back to back on the timers' periods, a new game after each capture.
template <typename Keys>
RunStats playLongRun(Keys& keys, unsigned seed)
{
    RunStats stats;
    std::mt19937 dice(seed);
    SeededDice random(seed + 1);
    game::Form1 form(fixture::designTime());
    (void)form.Form_Load();
    int ticks = 0;
    const int playerMs = periodMs("Timer1"), pelletMs = periodMs("Timer2"), monsterMs = periodMs("Timer3");
    for (int ms = 0; ticks < kTicksPerRun; ms += pelletMs) {
        if constexpr (requires { keys.fidget(); })
            keys.fidget();
        // Timers due at the same moment may tick in any order.
        std::vector<int> due{2};
        if (ms % monsterMs == 0)
            due.push_back(3);
        if (ms % playerMs == 0)
            due.push_back(1);
        std::shuffle(due.begin(), due.end(), dice);
        for (const int timer : due) {
            if (!form.controls[kTimers[static_cast<std::size_t>(timer - 1)]].enabled)
                continue;
            const game::Form1 before = form;
            game::PelletTick tick;
            try {
                switch (timer) {
                case 1: tick.writes = form.Timer1_Timer(keys); break;
                case 2: tick = form.Timer2_Timer(); break;
                default: tick.writes = form.Timer3_Timer(random); break;
                }
            } catch (const game::RuntimeError& error) {
                ADD_FAILURE() << error.report() << " after " << ticks << " ticks, timer " << timer;
                return stats;
            }
            ++ticks;
            checkTick(timer, before, form, tick.writes, tick.capture.has_value());
            if (::testing::Test::HasFatalFailure()) {
                ADD_FAILURE() << "after " << ticks << " ticks, timer " << timer << ", game " << stats.games;
                return stats;
            }
            stats.maxPoints = std::max<int>(stats.maxPoints, form.points);
            if (tick.capture) {
                form = game::Form1(fixture::designTime());
                (void)form.Form_Load();
                ++stats.games;
                break;
            }
        }
    }
    return stats;
}

TEST(LongRun, RandomKeyBitsKeepEveryRule)
{
    RandomKeyBits keys(2024);
    const RunStats stats = playLongRun(keys, 1);
    EXPECT_GT(stats.games, 1) << "the monster never caught anyone";
    EXPECT_GT(stats.maxPoints, 0);
}

TEST(LongRun, HeldAndTappedKeysKeepEveryRule)
{
    HeldKeys keys(77);
    const RunStats stats = playLongRun(keys, 77);
    EXPECT_GT(stats.games, 1) << "the monster never caught anyone";
    EXPECT_GT(stats.maxPoints, 0);
}

} // namespace
