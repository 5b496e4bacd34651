// Long randomised games: the rules' invariants hold after every tick of every timer.
#include "ui/app/app.h"
#include "game/clock_random.h"
#include "ui/app/null_front_end.h"
#include "tests/engine/scripted_sources.h"
#include "ui/app/stored_control.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
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

struct Facing {
    bool shown;
    float top;
    float left;
};

struct Snapshot {
    int top, left;
    float monsterTop, monsterLeft;
    std::array<bool, 15> shown;
    std::array<Facing, 4> facings;
    int points;
    std::string label;
};

struct Session;
Snapshot snapshot(Session& s);

// One run of the program on the null front end, its dice reading a shared fake clock. Without
// `keys` the arrow keys come from the program's own key events.
struct Session {
    Session(game::KeySource* keys, const std::uint64_t& nowNs)
        : random([&nowNs] { return nowNs; }), app(frontEnd, random, keys)
    {
        frontEnd.whileBoxIsOpen = [this] { atBox = snapshot(*this); };
        app.start();
    }
    app::NullFrontEnd frontEnd{app::NullFrontEnd::Recording::Off};
    game::ClockRandom random;
    app::App app;
    // The board under the game-over box: the window is gone once the box is closed.
    std::optional<Snapshot> atBox;
};

Snapshot snapshot(Session& s)
{
    app::LoadedWindow& form1 = *s.app.window(app::FormId::Form1);
    Snapshot snap{s.app.module().actorTop, s.app.module().actorLeft, form1.control("Picture5").top(),
                  form1.control("Picture5").left(), {}, {}, s.app.rules()->points,
                  std::string(form1.control("Label2").caption())};
    for (std::size_t i = 0; i < 15; ++i)
        snap.shown[i] = form1.control(kPellets[i]).visible();
    for (std::size_t i = 0; i < 4; ++i) {
        const app::StoredControl& facing = form1.control(kFacings[i]);
        snap.facings[i] = {facing.visible(), facing.top(), facing.left()};
    }
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
void fidget(app::App& program, std::mt19937& dice)
{
    for (const game::ArrowKey key : scripted::ScriptedKeys::kAll) {
        const unsigned roll = dice() % 100;
        if (roll < 8)
            program.keyDown(key, false);
        else if (roll < 30)
            program.keyUp(key);
    }
    if (dice() % 500 == 0)
        program.keyboardLost();
}

void checkTick(Session& s, int timer, const Snapshot& before, Snapshot& after)
{
    ASSERT_TRUE(s.frontEnd.errors.empty()) << s.frontEnd.errors.front();
    const bool captured = !s.app.loaded(app::FormId::Form1);
    if (captured) { // only the pellet tick ends a game
        ASSERT_EQ(timer, 2);
        ASSERT_TRUE(s.atBox.has_value()) << "the main window went without the game-over box";
        after = *s.atBox;
    } else {
        after = snapshot(s);
    }
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

    if (captured) {
        ASSERT_EQ(after.monsterTop, static_cast<float>(after.top));
        ASSERT_EQ(after.monsterLeft, static_cast<float>(after.left));
        ASSERT_EQ(s.frontEnd.messageBoxes, 1);
        for (const Facing& facing : after.facings)
            ASSERT_FALSE(facing.shown);
        return;
    }

    int visible = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const Facing& facing = after.facings[i];
        if (!facing.shown)
            continue;
        ++visible;
        ASSERT_EQ(facing.top, static_cast<float>(after.top)) << kFacings[i];
        ASSERT_EQ(facing.left, static_cast<float>(after.left)) << kFacings[i];
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
        ASSERT_EQ(after.label, "nombres de points: " + std::to_string(after.points));
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

RunStats playLongRun(game::KeySource* keys, bool fidgeting, unsigned seed)
{
    RunStats stats;
    std::mt19937 dice(seed);
    std::uint64_t nowNs = 1000000;
    auto session = std::make_unique<Session>(keys, nowNs);
    int ticks = 0;
    for (int ms = 0; ticks < kTicksPerRun; ms += 50) {
        nowNs += 50000000;
        if (fidgeting)
            fidget(session->app, dice);
        // Timers due at the same moment may tick in any order.
        std::vector<int> due{2};
        if (ms % 200 == 0)
            due.push_back(3);
        if (ms % 250 == 0)
            due.push_back(1);
        std::shuffle(due.begin(), due.end(), dice);
        for (const int timer : due) {
            const std::string name = "Timer" + std::to_string(timer);
            if (!session->frontEnd.running(name))
                continue;
            const Snapshot before = snapshot(*session);
            session->frontEnd.tick(name);
            ++ticks;
            Snapshot after{};
            checkTick(*session, timer, before, after);
            if (::testing::Test::HasFatalFailure()) {
                ADD_FAILURE() << "after " << ticks << " ticks, timer " << timer << ", game " << stats.games;
                return stats;
            }
            stats.maxPoints = std::max(stats.maxPoints, after.points);
            if (!session->app.loaded(app::FormId::Form1)) {
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
    const RunStats stats = playLongRun(&keys, false, 1);
    EXPECT_GT(stats.games, 1) << "the monster never caught anyone";
    EXPECT_GT(stats.maxPoints, 0);
}

TEST(LongRun, KeyboardPressesAndReleasesKeepEveryRule)
{
    const RunStats stats = playLongRun(nullptr, true, 77);
    EXPECT_GT(stats.games, 1) << "the monster never caught anyone";
    EXPECT_GT(stats.maxPoints, 0);
}

} // namespace
