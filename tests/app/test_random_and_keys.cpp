// The clock-seeded random source and the arrow-key latch that stand in for the platform.
#include "game/module1.h"
#include "ui/app/arrow_key_latch.h"
#include "ui/app/clock_random.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <set>

namespace {

using app::ArrowKeyLatch;
using app::ClockRandom;
using game::ArrowKey;

constexpr double kChiSquare9At001 = 27.88;   // 9 degrees of freedom, p = 0.001
constexpr double kChiSquare99At001 = 148.2;  // 99 degrees of freedom, p = 0.001

template <std::size_t N>
double chiSquare(const std::array<long, N>& counts, long total)
{
    const double expected = static_cast<double>(total) / N;
    double sum = 0;
    for (const long c : counts)
        sum += (c - expected) * (c - expected) / expected;
    return sum;
}

int tenth(double r) { return static_cast<int>(std::floor(r * 10.0)); }

TEST(ClockRandom, WeightsAreUniformWhenReseededFromAStoppedClock)
{
    // A coarse clock reads the same value for all four reseeds of a scoring, and often for many.
    ClockRandom random([] { return std::uint64_t{1234567}; }, 99);
    game::Module1 m;
    m.cellCode = 1;
    std::array<std::array<long, 10>, 4> perDirection{};
    std::array<long, 10> all{};
    for (int call = 0; call < 25000; ++call) {
        m.ScoreDirections(random);
        const int w[] = {m.scoreRight, m.scoreLeft, m.scoreUp, m.scoreDown};
        for (std::size_t d = 0; d < 4; ++d) {
            ASSERT_GE(w[d], 0);
            ASSERT_LE(w[d], 9);
            ++perDirection[d][static_cast<std::size_t>(w[d])];
            ++all[static_cast<std::size_t>(w[d])];
        }
    }
    EXPECT_LT(chiSquare(all, 100000), kChiSquare9At001);
    for (const auto& counts : perDirection)
        EXPECT_LT(chiSquare(counts, 25000), kChiSquare9At001);
}

TEST(ClockRandom, SuccessiveDrawsAreIndependentAcrossReseeds)
{
    std::uint64_t now = 5;
    ClockRandom random([&now] { return now; }, 0);
    std::array<long, 100> pairs{};
    std::array<long, 10> singles{};
    int previous = -1;
    for (int i = 0; i < 200000; ++i) {
        if (i % 64 == 0)
            ++now; // the clock ticks now and then, as a real one does between scorings
        random.reseedFromClock();
        const int w = tenth(random.draw());
        ++singles[static_cast<std::size_t>(w)];
        if (previous >= 0 && i % 2 == 1)
            ++pairs[static_cast<std::size_t>(previous * 10 + w)];
        previous = w;
    }
    EXPECT_LT(chiSquare(singles, 200000), kChiSquare9At001);
    EXPECT_LT(chiSquare(pairs, 100000), kChiSquare99At001);
}

TEST(ClockRandom, ReseedingWithTheSameReadingDoesNotRestartTheSequence)
{
    ClockRandom random([] { return std::uint64_t{42}; }, 0);
    std::set<double> seen;
    for (int i = 0; i < 4; ++i) {
        random.reseedFromClock();
        seen.insert(random.draw());
    }
    EXPECT_EQ(seen.size(), 4u) << "four reseeds within one clock reading gave repeated draws";
    for (int i = 0; i < 4000; ++i) {
        random.reseedFromClock();
        seen.insert(random.draw());
    }
    EXPECT_EQ(seen.size(), 4004u);
}

TEST(ClockRandom, DrawsStayInTheUnitInterval)
{
    constexpr std::uint64_t kReadings[] = {0, 1, std::numeric_limits<std::uint64_t>::max()};
    for (const std::uint64_t reading : kReadings) {
        ClockRandom random([reading] { return reading; }, reading);
        for (int i = 0; i < 100000; ++i) {
            if (i % 3 == 0)
                random.reseedFromClock();
            const double r = random.draw();
            ASSERT_GE(r, 0.0);
            ASSERT_LT(r, 1.0);
            ASSERT_LE(tenth(r), 9);
        }
    }
    ClockRandom system; // the real steady clock
    for (int i = 0; i < 1000; ++i) {
        system.reseedFromClock();
        const double r = system.draw();
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
    }
}

bool reported(ArrowKeyLatch& latch, ArrowKey key) { return (latch.GetAsyncKeyState(key) & 1) != 0; }

TEST(ArrowKeyLatch, ATapBetweenTwoQueriesIsReportedOnce)
{
    ArrowKeyLatch latch;
    latch.press(ArrowKey::Right);
    latch.release(ArrowKey::Right);
    EXPECT_TRUE(reported(latch, ArrowKey::Right));
    EXPECT_FALSE(reported(latch, ArrowKey::Right));
    EXPECT_FALSE(reported(latch, ArrowKey::Left));
    EXPECT_FALSE(reported(latch, ArrowKey::Up));
    EXPECT_FALSE(reported(latch, ArrowKey::Down));
}

TEST(ArrowKeyLatch, AHeldKeyIsReportedOnEveryQueryUntilReleased)
{
    ArrowKeyLatch latch;
    latch.press(ArrowKey::Down);
    for (int i = 0; i < 5; ++i) {
        const std::int16_t state = latch.GetAsyncKeyState(ArrowKey::Down);
        EXPECT_EQ(state & 1, 1);
        EXPECT_LT(state, 0) << "bit 15 says the key is down now";
    }
    latch.release(ArrowKey::Down);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(latch.GetAsyncKeyState(ArrowKey::Down), 0);
}

TEST(ArrowKeyLatch, ReleaseAllLetsGoOfHeldKeysWithoutLosingATap)
{
    ArrowKeyLatch latch;
    latch.press(ArrowKey::Up);
    latch.press(ArrowKey::Left);
    EXPECT_TRUE(reported(latch, ArrowKey::Up));
    latch.releaseAll();
    EXPECT_FALSE(reported(latch, ArrowKey::Up));
    EXPECT_TRUE(reported(latch, ArrowKey::Left)); // pressed since its last query
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(reported(latch, ArrowKey::Up));
        EXPECT_FALSE(reported(latch, ArrowKey::Left));
    }
    latch.press(ArrowKey::Up);
    EXPECT_TRUE(reported(latch, ArrowKey::Up));
}

TEST(ArrowKeyLatch, KnowsTheArrowKeysVirtualCodes)
{
    EXPECT_EQ(ArrowKeyLatch::fromVirtualKey(37), ArrowKey::Left);
    EXPECT_EQ(ArrowKeyLatch::fromVirtualKey(38), ArrowKey::Up);
    EXPECT_EQ(ArrowKeyLatch::fromVirtualKey(39), ArrowKey::Right);
    EXPECT_EQ(ArrowKeyLatch::fromVirtualKey(40), ArrowKey::Down);
    for (const int other : {36, 41, 0, -1, 65, 0x25 + 0x100})
        EXPECT_FALSE(ArrowKeyLatch::fromVirtualKey(other).has_value()) << other;
}

} // namespace
