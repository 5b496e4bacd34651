// The pellet tick: eating, the score label, and the capture that ends a game.
#include "tests/engine/game_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using fixture::ControlId;
using fixture::Game;
using fixture::grid;
using Log = std::vector<std::string>;

struct PelletPlace { ControlId image; int left; int top; };

// Where each pellet lies, in the order the tick tests them.
constexpr PelletPlace kPellets[] = {
    {ControlId::Image4, 670, 50},    {ControlId::Image3, 1290, 50},   {ControlId::Image5, 1910, 50},
    {ControlId::Image7, 2530, 50},   {ControlId::Image6, 50, 670},    {ControlId::Image8, 50, 1290},
    {ControlId::Image9, 50, 1910},   {ControlId::Image10, 50, 2530},  {ControlId::Image11, 50, 3150},
    {ControlId::Image12, 50, 3770},  {ControlId::Image13, 50, 4390},  {ControlId::Image14, 50, 5010},
    {ControlId::Image15, 670, 5010}, {ControlId::Image16, 1290, 5010}, {ControlId::Image17, 1910, 5010},
};

Log operator+(Log a, const Log& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::string label(int points) { return "Label2.Caption=nombres de points: " + std::to_string(points); }
std::string hidden(ControlId image) { return std::string(game::controlName(image)) + ".Visible=False"; }

int hiddenPellets(Game& g)
{
    int count = 0;
    for (const PelletPlace& p : kPellets)
        count += g.control(p.image).visible ? 0 : 1;
    return count;
}

// After the score: every timer stopped, then the character hidden, before anyone shows a box.
const Log kCaptureTail = {
    "Timer1.Enabled=False",   "Timer2.Enabled=False",   "Timer3.Enabled=False",   "Picture1.Visible=False",
    "Picture2.Visible=False", "Picture3.Visible=False", "Picture4.Visible=False",
};

TEST(Pellets, NothingToEatAtTheStartButTheLabelIsWritten)
{
    Game g;
    const game::PelletTick tick = g.form.Timer2_Timer();
    EXPECT_EQ(fixture::describe(tick.writes), Log{label(0)});
    EXPECT_FALSE(tick.capture);
    EXPECT_EQ(g.form.controls.label2Caption, "nombres de points: 0");
}

TEST(Pellets, EatenOnceThenOnlyTheLabelIsRewritten)
{
    Game g;
    g.placeCharacter(50, 670);
    EXPECT_EQ(g.pelletTick(), (Log{"Image4.Visible=False", label(1)}));
    EXPECT_EQ(g.form.points, 1);

    const game::Form1 after = g.form;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(g.pelletTick(), Log{label(1)});
    EXPECT_EQ(g.form, after);
}

TEST(Pellets, AnAlreadyHiddenPelletIsNotCounted)
{
    Game g;
    g.control(ControlId::Image3).visible = false;
    g.placeCharacter(50, 1290);
    EXPECT_EQ(g.pelletTick(), Log{label(0)});
    EXPECT_EQ(g.form.points, 0);
}

TEST(Pellets, EachPelletBelongsToItsOwnPosition)
{
    for (const PelletPlace& p : kPellets) {
        Game g;
        g.placeCharacter(static_cast<std::int16_t>(p.top), static_cast<std::int16_t>(p.left));
        EXPECT_EQ(g.pelletTick(), (Log{hidden(p.image), label(1)})) << game::controlName(p.image);
    }
    // Top and Left are not interchangeable.
    Game g;
    g.placeCharacter(2530, 50);
    g.pelletTick();
    EXPECT_FALSE(g.control(ControlId::Image10).visible);
    EXPECT_TRUE(g.control(ControlId::Image7).visible);
}

TEST(Pellets, NoOtherPositionHoldsAPellet)
{
    Game g;
    g.placeMonster(-1000, -1000); // off every position, so that no visit is a capture
    for (int row = 0; row < 12; ++row)
        for (int column = 0; column < 20; ++column) {
            bool isPellet = false;
            for (const PelletPlace& p : kPellets)
                isPellet = isPellet || (p.top == grid(row) && p.left == grid(column));
            if (isPellet)
                continue;
            g.placeCharacter(grid(row), grid(column));
            g.pelletTick();
        }
    EXPECT_EQ(g.form.points, 0);
    EXPECT_EQ(hiddenPellets(g), 0);
}

TEST(Pellets, AllFifteenEatenAndTheGameGoesOn)
{
    Game g;
    for (int i = 14; i >= 0; --i) { // any order will do
        g.placeCharacter(static_cast<std::int16_t>(kPellets[i].top), static_cast<std::int16_t>(kPellets[i].left));
        EXPECT_FALSE(g.form.Timer2_Timer().capture);
        EXPECT_FALSE(g.form.Timer2_Timer().capture);
    }
    EXPECT_EQ(g.form.points, 15);
    EXPECT_EQ(hiddenPellets(g), 15);
    EXPECT_EQ(g.form.controls.label2Caption, "nombres de points: 15");
    for (const ControlId timer : {ControlId::Timer1, ControlId::Timer2, ControlId::Timer3})
        EXPECT_TRUE(g.control(timer).enabled);
}

TEST(Pellets, ScorePastSixteenBitsTrapsAfterHidingThePellet)
{
    Game g;
    g.form.points = 32767;
    g.placeCharacter(50, 670);
    game::Form1 expected = g.form;
    expected.controls[ControlId::Image4].visible = false; // hidden first, then counted
    fixture::expectRuntimeError(game::ErrorNumber::Overflow, [&] { (void)g.form.Timer2_Timer(); });
    EXPECT_EQ(g.form, expected);
}

TEST(Capture, SameRowOrSameColumnIsNoCapture)
{
    Game g;
    g.placeCharacter(3150, 3150);
    const std::pair<float, float> nearMisses[] = {{3150, 4390}, {3770, 3150}, {50, 3150}, {3150, 50}};
    for (const auto& [top, left] : nearMisses) {
        g.placeMonster(top, left);
        const game::PelletTick tick = g.form.Timer2_Timer();
        EXPECT_FALSE(tick.capture) << top << "," << left;
        EXPECT_EQ(fixture::describe(tick.writes), Log{label(0)});
    }
}

TEST(Capture, OnlyAnExactMatchOfPositionsCounts)
{
    Game g;
    const std::pair<float, float> offGrid[] = {{50.5f, 50}, {50, 49.99f}, {50, 50.01f}, {3150.25f, 4390}};
    for (const auto& [top, left] : offGrid) {
        g.placeMonster(top, left);
        EXPECT_FALSE(g.form.Timer2_Timer().capture) << top << "," << left;
    }
    g.placeMonster(50.f, 50.f);
    EXPECT_TRUE(g.form.Timer2_Timer().capture);
}

TEST(Capture, StopsEveryTimerThenHidesTheCharacterAndNothingElse)
{
    Game g;
    g.placeMonster(50, 50);
    game::Form1 expected = g.form;
    expected.controls.label2Caption = "nombres de points: 0";
    for (const ControlId timer : {ControlId::Timer1, ControlId::Timer2, ControlId::Timer3})
        expected.controls[timer].enabled = false;
    for (const ControlId facing : fixture::kFacings)
        expected.controls[facing].visible = false;

    const game::PelletTick tick = g.form.Timer2_Timer();
    ASSERT_TRUE(tick.capture);
    EXPECT_EQ(fixture::describe(tick.writes), Log{label(0)} + kCaptureTail);
    EXPECT_EQ(g.form, expected); // the monster stays on the board
}

TEST(Capture, APelletEatenOnTheCaptureTickIsInTheScore)
{
    Game g;
    g.placeCharacter(5010, 1910);
    g.placeMonster(5010, 1910);
    const game::PelletTick tick = g.form.Timer2_Timer();
    ASSERT_TRUE(tick.capture);
    EXPECT_EQ(fixture::describe(tick.writes), (Log{"Image17.Visible=False", label(1)} + kCaptureTail));
    EXPECT_EQ(tick.capture->prompt, "Niark Niark !!!!!! GAME OVER !!!!!!    points:1");
    EXPECT_EQ(tick.capture->title, "Tu t'est fait manger ^^");
}

TEST(Capture, TheScoreIsPlainDecimalAfterTheColon)
{
    for (const int points : {0, 7, 12, 15}) {
        Game g;
        g.form.points = static_cast<std::int16_t>(points);
        g.placeMonster(50, 50);
        const game::PelletTick tick = g.form.Timer2_Timer();
        EXPECT_EQ(fixture::describe(tick.writes), Log{label(points)} + kCaptureTail);
        ASSERT_TRUE(tick.capture);
        EXPECT_EQ(tick.capture->prompt, "Niark Niark !!!!!! GAME OVER !!!!!!    points:" + std::to_string(points));
    }
}

} // namespace
