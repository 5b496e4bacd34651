// What the application layer does around the rules' writes: the load before the main window
// shows, the game-over box after a capture, and where a control lands for any position.
#include "game/form1.h"
#include "ui/app/app.h"
#include "ui/app/layout.h"
#include "ui/app/null_front_end.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

using app::FormId;
using game::ControlId;
using Log = std::vector<std::string>;

class MiddleDice final : public game::RandomSource {
public:
    void reseedFromClock() override {}
    double draw() override { return 0.5; }
};

TEST(CaptureSequence, TheLoadPlacesTheBoardBeforeTheWindowShows)
{
    app::NullFrontEnd frontEnd;
    MiddleDice dice;
    app::App program(frontEnd, dice);
    program.start();
    ASSERT_FALSE(frontEnd.log.empty());
    EXPECT_EQ(frontEnd.log.back(), "Show Form1");
    EXPECT_EQ(frontEnd.log.size(), 15u) << "the load's fourteen writes, then the window";
}

TEST(CaptureSequence, TheCharacterGoesTheBoxShowsOverTheStoppedBoardThenTheLastWindowEndsTheProgram)
{
    for (const int points : {0, 7, 15}) {
        app::NullFrontEnd frontEnd;
        MiddleDice dice;
        app::App program(frontEnd, dice);
        program.start();
        game::Form1& rules = *program.rules();
        rules.points = static_cast<std::int16_t>(points);
        rules.controls[ControlId::Picture5].top = rules.module.actorTop;
        rules.controls[ControlId::Picture5].left = rules.module.actorLeft;

        int facingsShown = -1;
        bool monsterShown = false;
        int timersRunning = -1;
        frontEnd.whileBoxIsOpen = [&] {
            facingsShown = 0;
            for (const ControlId facing : {ControlId::Picture1, ControlId::Picture2, ControlId::Picture3, ControlId::Picture4})
                facingsShown += rules.controls[facing].visible ? 1 : 0;
            monsterShown = rules.controls[ControlId::Picture5].visible;
            timersRunning = 0;
            for (const char* timer : {"Timer1", "Timer2", "Timer3"})
                timersRunning += frontEnd.running(timer) ? 1 : 0;
        };
        frontEnd.log.clear();
        frontEnd.tick("Timer2");

        ASSERT_EQ(frontEnd.boxes.size(), 1u) << points;
        const std::string prompt = "Niark Niark !!!!!! GAME OVER !!!!!!    points:" + std::to_string(points);
        EXPECT_EQ(frontEnd.boxes[0].prompt, prompt);
        EXPECT_EQ(frontEnd.boxes[0].style, 16);
        EXPECT_EQ(frontEnd.boxes[0].title, "Tu t'est fait manger ^^");
        EXPECT_EQ(facingsShown, 0) << "the character is hidden before the box shows";
        EXPECT_TRUE(monsterShown);
        EXPECT_EQ(timersRunning, 0) << "a clock still ran under the box";
        // The main window was the last one loaded: the program ends with it.
        EXPECT_EQ(frontEnd.log, (Log{"Label2.Caption=nombres de points: " + std::to_string(points),
                                     "Timer1.Enabled=False", "Timer2.Enabled=False", "Timer3.Enabled=False",
                                     "Picture1.Visible=False", "Picture2.Visible=False", "Picture3.Visible=False",
                                     "Picture4.Visible=False", "MsgBox(" + prompt + "|16|Tu t'est fait manger ^^)",
                                     "Unload Form1", "End 0"}));
        EXPECT_FALSE(program.loaded(FormId::Form1));
        EXPECT_EQ(frontEnd.endStatus, 0);
    }
}

// Legal twips (any float) beyond what a window system places are never shown; every other
// position lands within half a pixel of its twips. NaN and huge values included, never
// undefined behaviour.
void expectPlacedOrWithheld(float top, float left)
{
    const double x = left / 15.0;
    const double y = top / 15.0;
    const std::optional<app::PixelPoint> shown = app::pixelPosition(top, left);
    if (!shown) {
        EXPECT_FALSE(std::fabs(x) < 29999.0 && std::fabs(y) < 29999.0) << top << "," << left << " has no place";
        return;
    }
    EXPECT_LT(std::abs(shown->x), 30000) << top << "," << left;
    EXPECT_LT(std::abs(shown->y), 30000) << top << "," << left;
    EXPECT_LE(std::fabs(shown->x - x), 0.5) << top << "," << left;
    EXPECT_LE(std::fabs(shown->y - y), 0.5) << top << "," << left;
}

TEST(PixelPosition, AnyFloatIsPlacedWithinHalfAPixelOrWithheld)
{
    using limits = std::numeric_limits<float>;
    const float extremes[] = {0.f, -0.f, 7.5f, -7.5f, 22.5f, 3150.f, 449'977.f, 449'985.f, 450'000.f, -449'985.f,
                              -450'000.f, 32767.5f, -32768.5f, 1e9f, -1e9f, limits::max(), limits::lowest(),
                              limits::min(), limits::denorm_min(), limits::infinity(), -limits::infinity(),
                              limits::quiet_NaN()};
    for (const float top : extremes)
        for (const float left : extremes)
            expectPlacedOrWithheld(top, left);

    std::mt19937 dice(5);
    for (int i = 0; i < 20000 && !::testing::Test::HasFailure(); ++i)
        expectPlacedOrWithheld(std::bit_cast<float>(static_cast<std::uint32_t>(dice())),
                               std::bit_cast<float>(static_cast<std::uint32_t>(dice())));
}

} // namespace
