// The measured play must last: a capture would end a run early and close the window being measured.
#include "plain_controls.h"
#include "scripted_play.h"

#include "form1.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

int column(float left) { return static_cast<int>(std::lround((left - 50) / 620)); }

TEST(ScriptedPlay, FarSideDrawsPinRightAndLeft)
{
    bench::FarSideRandom random;
    for (int call = 0; call < 1000; ++call) {
        std::array<double, 4> draws{};
        for (double& draw : draws) {
            random.reseedFromClock();
            draw = random.draw();
            ASSERT_GE(draw, 0.0);
            ASSERT_LT(draw, 1.0);
        }
        EXPECT_EQ(std::floor(draws[0] * 10.0), 9);
        EXPECT_EQ(draws[1], 0.0);
    }
}

TEST(ScriptedPlay, TwoMinutesOfTicksEatEveryPelletWithoutACapture)
{
    game::Module1 module;
    bench::PlainHost host;
    game::ArrowKeyLatch keys;
    bench::FarSideRandom random;
    game::Form1 form(module, host, keys, random);
    form.Form_Load();
    bench::ScriptedPlayer player(module, keys);
    const game::Control& monster = host.control("Picture5");

    int nearest = 99;
    int steps = 0;
    // The three timers start together; at a shared instant they tick in their start order.
    for (int ms = 50; ms <= 120'000; ms += 50) {
        if (ms % 200 == 0)
            form.Timer3_Timer();
        form.Timer2_Timer();
        if (ms % 250 == 0) {
            const auto before = std::make_pair(module.actorTop, module.actorLeft);
            player.beforePlayerTick();
            form.Timer1_Timer();
            steps += before != std::make_pair(module.actorTop, module.actorLeft);
        }
        nearest = std::min(nearest, column(monster.left()) - column(module.actorLeft));
        if (ms >= 5'000) {
            EXPECT_GE(column(monster.left()), 16) << "at " << ms << " ms";
        }
    }
    EXPECT_EQ(host.captures, 0);
    EXPECT_EQ(form.points, 15);
    // Every player tick moved, so every measured frame has the same motion.
    EXPECT_EQ(steps, 120'000 / 250);
    EXPECT_GE(nearest, 3);
}

} // namespace
