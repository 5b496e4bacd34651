// Long randomised games: the rules' invariants hold after every tick of every timer.
#include "arrow_key_latch.h"
#include "clock_random.h"
#include "fakes.h"
#include "form1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kTicksPerRun = 20000;
constexpr const char* kPellets[] = {"Image3", "Image4", "Image5", "Image6", "Image7", "Image8", "Image9", "Image10",
                                    "Image11", "Image12", "Image13", "Image14", "Image15", "Image16", "Image17"};
constexpr const char* kFacings[] = {"Picture1", "Picture2", "Picture3", "Picture4"};

bool onGrid(float value, int lastIndex)
{
    return value >= 50 && value <= 50 + 620 * lastIndex && std::fmod(value - 50, 620.f) == 0;
}

// One run of the program: a fresh window on fresh state, dice reading a shared fake clock.
struct Session {
    Session(game::KeySource& keys, const std::uint64_t& nowNs)
        : random([&nowNs] { return nowNs; }), form(module, host, keys, random)
    {
        form.Form_Load();
    }
    game::Module1 module;
    fakes::FakeForm1Host host;
    game::ClockRandom random;
    game::Form1 form;
};

struct Snapshot {
    int top, left;
    float monsterTop, monsterLeft;
    std::array<bool, 15> shown;
    int points;
};

Snapshot snapshot(Session& s)
{
    Snapshot snap{s.module.actorTop, s.module.actorLeft, s.host.at("Picture5").top(), s.host.at("Picture5").left(), {},
                  s.form.points};
    for (std::size_t i = 0; i < 15; ++i)
        snap.shown[i] = s.host.at(kPellets[i]).visible();
    return snap;
}

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

// Presses and releases arrow keys at random between ticks, now and then losing the keyboard.
void fidget(game::ArrowKeyLatch& latch, std::mt19937& dice)
{
    for (const game::ArrowKey key : fakes::ScriptedKeys::kAll) {
        const unsigned roll = dice() % 100;
        if (roll < 8)
            latch.press(key);
        else if (roll < 30)
            latch.release(key);
    }
    if (dice() % 500 == 0)
        latch.releaseAll();
}

void checkTick(Session& s, int timer, const Snapshot& before)
{
    const Snapshot after = snapshot(s);
    ASSERT_TRUE(onGrid(static_cast<float>(after.top), 10) && onGrid(static_cast<float>(after.left), 17))
        << "character at " << after.top << "," << after.left;
    ASSERT_TRUE(onGrid(after.monsterTop, 10) && onGrid(after.monsterLeft, 17))
        << "monster at " << after.monsterTop << "," << after.monsterLeft;

    int hidden = 0;
    for (std::size_t i = 0; i < 15; ++i) {
        ASSERT_FALSE(after.shown[i] && !before.shown[i]) << kPellets[i] << " came back";
        hidden += after.shown[i] ? 0 : 1;
    }
    ASSERT_EQ(after.points, hidden);
    ASSERT_LE(after.points, 15);

    if (s.host.unloaded) { // captured: only the pellet tick ends a game
        ASSERT_EQ(timer, 2);
        ASSERT_EQ(after.monsterTop, static_cast<float>(after.top));
        ASSERT_EQ(after.monsterLeft, static_cast<float>(after.left));
        ASSERT_EQ(s.host.messageBoxes, 1);
        for (const char* name : kFacings)
            ASSERT_FALSE(s.host.at(name).visible());
        return;
    }

    int visible = 0;
    for (const char* name : kFacings) {
        fakes::FakeControl& facing = s.host.at(name);
        if (!facing.visible())
            continue;
        ++visible;
        ASSERT_EQ(facing.top(), static_cast<float>(after.top)) << name;
        ASSERT_EQ(facing.left(), static_cast<float>(after.left)) << name;
    }
    ASSERT_EQ(visible, 1);

    const bool characterStill = after.top == before.top && after.left == before.left;
    const bool monsterStill = after.monsterTop == before.monsterTop && after.monsterLeft == before.monsterLeft;
    switch (timer) {
    case 1:
        ASSERT_TRUE(monsterStill);
        ASSERT_TRUE(std::abs(after.top - before.top) % 620 == 0 && std::abs(after.top - before.top) <= 620);
        ASSERT_TRUE(std::abs(after.left - before.left) % 620 == 0 && std::abs(after.left - before.left) <= 620);
        ASSERT_EQ(after.points, before.points);
        break;
    case 2:
        ASSERT_TRUE(characterStill && monsterStill);
        ASSERT_EQ(s.host.at("Label2").caption(), "nombres de points: " + std::to_string(after.points));
        break;
    case 3:
        ASSERT_TRUE(characterStill) << "the monster tick kept the character's position";
        const float moved = std::fabs(after.monsterTop - before.monsterTop) +
                            std::fabs(after.monsterLeft - before.monsterLeft);
        ASSERT_EQ(moved, 620.f) << "one step a tick, along one axis";
        ASSERT_EQ(after.points, before.points);
        break;
    }
}

struct RunStats { int games = 1; int maxPoints = 0; };

RunStats playLongRun(game::KeySource& keys, game::ArrowKeyLatch* latch, unsigned seed)
{
    RunStats stats;
    std::mt19937 dice(seed);
    std::uint64_t nowNs = 1000000;
    auto session = std::make_unique<Session>(keys, nowNs);
    int ticks = 0;
    for (int ms = 0; ticks < kTicksPerRun; ms += 50) {
        nowNs += 50000000;
        if (latch)
            fidget(*latch, dice);
        std::vector<int> due{2};
        if (ms % 200 == 0)
            due.push_back(3);
        if (ms % 250 == 0)
            due.push_back(1);
        std::shuffle(due.begin(), due.end(), dice);
        for (const int timer : due) {
            if (!session->host.at("Timer" + std::to_string(timer)).enabled())
                continue;
            const Snapshot before = snapshot(*session);
            switch (timer) {
            case 1: session->form.Timer1_Timer(); break;
            case 2: session->form.Timer2_Timer(); break;
            default: session->form.Timer3_Timer(); break;
            }
            ++ticks;
            checkTick(*session, timer, before);
            if (::testing::Test::HasFatalFailure()) {
                ADD_FAILURE() << "after " << ticks << " ticks, timer " << timer << ", game " << stats.games;
                return stats;
            }
            stats.maxPoints = std::max<int>(stats.maxPoints, session->form.points);
            if (session->host.unloaded) {
                session = std::make_unique<Session>(keys, nowNs);
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
    const RunStats stats = playLongRun(keys, nullptr, 1);
    EXPECT_GT(stats.games, 1) << "the monster never caught anyone";
    EXPECT_GT(stats.maxPoints, 0);
}

TEST(LongRun, KeyboardPressesAndReleasesKeepEveryRule)
{
    game::ArrowKeyLatch latch;
    const RunStats stats = playLongRun(latch, &latch, 77);
    EXPECT_GT(stats.games, 1) << "the monster never caught anyone";
    EXPECT_GT(stats.maxPoints, 0);
}

} // namespace
