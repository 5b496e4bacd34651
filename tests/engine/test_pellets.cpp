// The pellet tick: eating, the score label, and the capture that ends a game.
#include "tests/engine/game_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using fixture::Game;
using fixture::grid;
using Log = std::vector<std::string>;

struct PelletPlace { const char* image; int left; int top; };

// Where each pellet lies, in the order the tick tests them.
constexpr PelletPlace kPellets[] = {
    {"Image4", 670, 50},   {"Image3", 1290, 50},  {"Image5", 1910, 50},  {"Image7", 2530, 50},
    {"Image6", 50, 670},   {"Image8", 50, 1290},  {"Image9", 50, 1910},  {"Image10", 50, 2530},
    {"Image11", 50, 3150}, {"Image12", 50, 3770}, {"Image13", 50, 4390}, {"Image14", 50, 5010},
    {"Image15", 670, 5010}, {"Image16", 1290, 5010}, {"Image17", 1910, 5010},
};

Log operator+(Log a, const Log& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::string label(int points) { return "Label2.Caption=nombres de points: " + std::to_string(points); }

int hiddenPellets(Game& g)
{
    int hidden = 0;
    for (const PelletPlace& p : kPellets)
        hidden += g.control(p.image).visible() ? 0 : 1;
    return hidden;
}

const std::string kCaptureTail[] = {
    "Timer1.Enabled=False",  "Timer2.Enabled=False",  "Timer3.Enabled=False",  "Picture1.Visible=False",
    "Picture2.Visible=False", "Picture3.Visible=False", "Picture4.Visible=False",
};

Log captureLog(int points)
{
    Log log(std::begin(kCaptureTail), std::end(kCaptureTail));
    log.push_back("MsgBox(Niark Niark !!!!!! GAME OVER !!!!!!    points:" + std::to_string(points) +
                  "|16|Tu t'est fait manger ^^)");
    // The main window was the last one loaded: the program ends with it.
    log.insert(log.end(), {"Unload Form1", "End 0"});
    return log;
}

TEST(Pellets, NothingToEatAtTheStartButTheLabelIsWritten)
{
    Game g;
    g.form.Timer2_Timer();
    EXPECT_EQ(g.frontEnd.log, Log{label(0)});
    EXPECT_EQ(g.control("Label2").caption(), "nombres de points: 0");
}

TEST(Pellets, EatenOnceThenOnlyTheLabelIsRewritten)
{
    Game g;
    g.placeCharacter(50, 670);
    g.form.Timer2_Timer();
    EXPECT_EQ(g.frontEnd.log, (Log{"Image4.Visible=False", label(1)}));
    EXPECT_EQ(g.form.points, 1);

    g.frontEnd.log.clear();
    for (int i = 0; i < 3; ++i)
        g.form.Timer2_Timer();
    EXPECT_EQ(g.frontEnd.log, (Log{label(1), label(1), label(1)}));
    EXPECT_EQ(g.form.points, 1);
}

TEST(Pellets, AnAlreadyHiddenPelletIsNotCounted)
{
    Game g;
    g.arrange([&] { g.control("Image3").setVisible(false); });
    g.placeCharacter(50, 1290);
    g.form.Timer2_Timer();
    EXPECT_EQ(g.form.points, 0);
    EXPECT_EQ(g.frontEnd.log, Log{label(0)});
}

TEST(Pellets, EachPelletBelongsToItsOwnPosition)
{
    for (const PelletPlace& p : kPellets) {
        Game g;
        g.placeCharacter(static_cast<std::int16_t>(p.top), static_cast<std::int16_t>(p.left));
        g.form.Timer2_Timer();
        EXPECT_EQ(g.frontEnd.log, (Log{std::string(p.image) + ".Visible=False", label(1)})) << p.image;
    }
    // Top and Left are not interchangeable.
    Game g;
    g.placeCharacter(2530, 50);
    g.form.Timer2_Timer();
    EXPECT_FALSE(g.control("Image10").visible());
    EXPECT_TRUE(g.control("Image7").visible());
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
            g.form.Timer2_Timer();
        }
    EXPECT_EQ(g.form.points, 0);
    EXPECT_EQ(hiddenPellets(g), 0);
}

TEST(Pellets, AllFifteenEatenAndTheGameGoesOn)
{
    Game g;
    for (int i = 14; i >= 0; --i) { // any order will do
        g.placeCharacter(static_cast<std::int16_t>(kPellets[i].top), static_cast<std::int16_t>(kPellets[i].left));
        g.form.Timer2_Timer();
        g.form.Timer2_Timer();
    }
    EXPECT_EQ(g.form.points, 15);
    EXPECT_EQ(hiddenPellets(g), 15);
    EXPECT_EQ(g.control("Label2").caption(), "nombres de points: 15");
    for (const char* wall : {"Image1", "Image2", "Image18", "Image19", "Image20"})
        EXPECT_TRUE(g.control(wall).visible()) << wall;
    EXPECT_EQ(g.frontEnd.messageBoxes, 0);
    EXPECT_FALSE(g.unloaded());
}

TEST(Capture, SameRowOrSameColumnIsNoCapture)
{
    Game g;
    g.placeCharacter(3150, 3150);
    const std::pair<float, float> nearMisses[] = {{3150, 4390}, {3770, 3150}, {50, 3150}, {3150, 50}};
    for (const auto& [top, left] : nearMisses) {
        g.placeMonster(top, left);
        g.form.Timer2_Timer();
    }
    EXPECT_EQ(g.frontEnd.messageBoxes, 0);
    EXPECT_EQ(g.frontEnd.log, Log(4, label(0)));
}

TEST(Capture, OnlyAnExactMatchOfPositionsCounts)
{
    Game g;
    const std::pair<float, float> offGrid[] = {{50.5f, 50}, {50, 49.99f}, {50, 50.01f}, {3150.25f, 4390}};
    for (const auto& [top, left] : offGrid) {
        g.placeMonster(top, left);
        g.form.Timer2_Timer();
    }
    EXPECT_EQ(g.frontEnd.messageBoxes, 0);
    g.placeMonster(50.f, 50.f);
    g.form.Timer2_Timer();
    EXPECT_EQ(g.frontEnd.messageBoxes, 1);
}

TEST(Capture, StopsTheClocksHidesTheCharacterShowsTheBoxThenUnloads)
{
    Game g;
    g.placeMonster(50, 50);
    // Behind the box: the monster alone on the board.
    std::vector<std::string> facingsDuringBox{"none looked at"};
    bool monsterDuringBox = false;
    g.frontEnd.whileBoxIsOpen = [&] {
        facingsDuringBox = g.visibleFacings();
        monsterDuringBox = g.control("Picture5").visible();
    };
    g.form.Timer2_Timer();
    EXPECT_EQ(g.frontEnd.log, Log{label(0)} + captureLog(0));
    EXPECT_TRUE(facingsDuringBox.empty());
    EXPECT_TRUE(monsterDuringBox);
    EXPECT_TRUE(g.unloaded());
}

TEST(Capture, APelletEatenOnTheCaptureTickIsInTheScore)
{
    Game g;
    g.placeCharacter(5010, 1910);
    g.placeMonster(5010, 1910);
    g.form.Timer2_Timer();
    EXPECT_EQ(g.frontEnd.log, (Log{"Image17.Visible=False", label(1)} + captureLog(1)));
}

TEST(Capture, TheScoreIsPlainDecimalAfterTheColon)
{
    for (const int points : {7, 12, 15}) {
        Game g;
        g.form.points = static_cast<std::int16_t>(points);
        g.placeMonster(50, 50);
        g.form.Timer2_Timer();
        EXPECT_EQ(g.frontEnd.log, Log{label(points)} + captureLog(points));
    }
}

TEST(Capture, OneCaptureOneBoxWithEveryClockStopped)
{
    Game g;
    g.placeMonster(50, 50);
    std::vector<bool> enabledDuringBox;
    std::vector<bool> runningDuringBox;
    std::size_t loggedBeforeTime = 0;
    std::size_t loggedAfterTime = 0;
    g.frontEnd.whileBoxIsOpen = [&] {
        for (const char* timer : {"Timer1", "Timer2", "Timer3"}) {
            enabledDuringBox.push_back(g.control(timer).enabled());
            runningDuringBox.push_back(g.frontEnd.running(timer));
        }
        // The player takes a second to read the box: no tick comes meanwhile.
        loggedBeforeTime = g.frontEnd.log.size();
        g.frontEnd.advance(1000);
        loggedAfterTime = g.frontEnd.log.size();
    };
    g.form.Timer2_Timer();
    EXPECT_EQ(enabledDuringBox, (std::vector<bool>{false, false, false}));
    EXPECT_EQ(runningDuringBox, (std::vector<bool>{false, false, false}));
    EXPECT_EQ(loggedAfterTime, loggedBeforeTime);
    EXPECT_EQ(g.frontEnd.messageBoxes, 1);
}

TEST(Pellets, ScorePastSixteenBitsTraps)
{
    Game g;
    g.form.points = 32767;
    g.placeCharacter(50, 670);
    fixture::expectRuntimeError(game::ErrorNumber::Overflow, [&] { g.form.Timer2_Timer(); });
    EXPECT_EQ(g.frontEnd.log, Log{"Image4.Visible=False"}); // hidden first, then counted
    EXPECT_EQ(g.form.points, 32767);
}

} // namespace
