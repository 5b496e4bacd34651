// The measured play must last: a capture would end a run early and close the window being measured.
#include "bench/scripted_play.h"

#include "game/cell_map.h"
#include "ui/app/app.h"
#include "ui/app/null_front_end.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace {

int timerPeriodMs(std::string_view name) { return forms::findTimer(forms::form1Definition(), name)->intervalMs; }

int column(float left) { return static_cast<int>(std::lround((left - game::kGridOrigin) / game::kGridStep)); }

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
    app::NullFrontEnd frontEnd(app::NullFrontEnd::Recording::Off);
    bench::FarSideRandom random;
    app::App program(frontEnd, random);
    program.start();
    const game::Form1& rules = *program.rules();
    const game::Module1& module = rules.module;
    bench::ScriptedPlayer player(module, program);
    const float& monsterLeft = rules.controls[game::ControlId::Picture5].left;
    const int playerBeat = timerPeriodMs("Timer1");
    const int pelletBeat = timerPeriodMs("Timer2");

    int nearest = 99;
    int steps = 0;
    // The three timers start together; at a shared instant they tick in their start order.
    for (int ms = pelletBeat; ms <= 120'000; ms += pelletBeat) {
        const bool playerTick = ms % playerBeat == 0;
        const auto before = std::make_pair(module.actorTop, module.actorLeft);
        if (playerTick)
            player.beforePlayerTick();
        frontEnd.advance(pelletBeat);
        if (playerTick)
            steps += before != std::make_pair(module.actorTop, module.actorLeft);
        nearest = std::min(nearest, column(monsterLeft) - column(module.actorLeft));
        if (ms >= 5'000) {
            EXPECT_GE(column(monsterLeft), 16) << "at " << ms << " ms";
        }
    }
    EXPECT_EQ(frontEnd.messageBoxes, 0);
    EXPECT_TRUE(frontEnd.errors.empty());
    ASSERT_TRUE(program.loaded(app::FormId::Form1));
    EXPECT_EQ(program.rules()->points, 15);
    // Every player tick moved, so every measured frame has the same motion.
    EXPECT_EQ(steps, 120'000 / playerBeat);
    EXPECT_GE(nearest, 3);
}

} // namespace
