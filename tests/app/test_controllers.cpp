// A game controller as a second keyboard: the stick's dead zone and hysteresis, diagonals, the face
// button as Enter, and keyboard and controllers holding keys together.
#include "ui/app/app.h"
#include "ui/app/controller.h"
#include "ui/app/null_front_end.h"
#include "tests/support/rules_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

using app::ControllerKeys;
using app::ControllerState;
using game::ArrowKey;

// Left, up, right, down as ControllerKeys orders them.
std::string heldKeys(const ControllerKeys::Reading& reading)
{
    std::string held;
    for (std::size_t i = 0; i < reading.held.size(); ++i)
        if (reading.held[i])
            held += "LURD"[i];
    return held;
}

TEST(ControllerKeys, TheStickPointsPastHalfItsTravelAndLetsGoOnlyWellInside)
{
    struct Step {
        float x, y;
        const char* held;
    };
    // One stick's travel, each reading after the one before it.
    const Step travel[] = {
        {0.3f, 0, ""},   {0.59f, 0, ""},   {0.6f, 0, "R"},    {0.45f, 0, "R"}, {0.55f, 0, "R"},
        {0.39f, 0, ""},  {0.5f, 0, ""},    {-0.8f, 0, "L"},   {-0.41f, 0, "L"}, {0.45f, 0, ""},
        {0.7f, 0.7f, "RD"}, {0.5f, -0.5f, "R"}, {0, -1, "U"}, {std::numeric_limits<float>::quiet_NaN(), 0, ""},
    };
    ControllerKeys keys;
    for (const Step& step : travel)
        EXPECT_EQ(heldKeys(keys.read({.stickX = step.x, .stickY = step.y})), step.held) << step.x << "," << step.y;
    // The cross holds whatever the stick does, and two of its arrows make a diagonal.
    EXPECT_EQ(heldKeys(keys.read({.up = true, .left = true, .stickX = 0.9f})), "LUR");
}

TEST(ControllerKeys, TheFaceButtonIsOneEnterPerPress)
{
    ControllerKeys keys;
    std::string enters;
    for (const bool down : {false, true, true, false, true})
        enters += keys.read({.faceButton = down}).enter ? 'E' : '.';
    EXPECT_EQ(enters, ".E..E");
}

struct Program {
    app::NullFrontEnd frontEnd;
    class NoDice final : public game::RandomSource {
        void reseedFromClock() override {}
        double draw() override { return 0; }
    } dice;
    app::App app{frontEnd, dice};
    Program() { app.start(); }
    bool held(ArrowKey key) { return app.latch().held(key); }
};

TEST(Controllers, HoldKeysWithTheKeyboardAsTwoKeyboardsWould)
{
    Program p;
    p.app.keyDown(ArrowKey::Right, false);
    p.app.controllerRead(7, {.right = true});
    p.app.keyUp(ArrowKey::Right);
    EXPECT_TRUE(p.held(ArrowKey::Right)) << "the controller still holds it";
    p.app.controllerRead(7, {});
    EXPECT_FALSE(p.held(ArrowKey::Right));

    // A second controller, and the first unplugged while both hold down.
    p.app.controllerRead(7, {.down = true});
    p.app.controllerRead(9, {.down = true});
    p.app.controllerGone(7);
    EXPECT_TRUE(p.held(ArrowKey::Down));
    p.app.controllerGone(9);
    EXPECT_FALSE(p.held(ArrowKey::Down));
}

TEST(Controllers, LetGoWithTheFocusAndHoldAgainWhenItComesBack)
{
    Program p;
    p.app.controllerRead(1, {.stickX = -1});
    p.app.keyDown(ArrowKey::Up, false);
    p.app.focusChanged(false);
    EXPECT_FALSE(p.held(ArrowKey::Left));
    // Read without the focus: neither held nor Enter.
    p.app.controllerRead(1, {.stickX = -1, .faceButton = true});
    EXPECT_FALSE(p.held(ArrowKey::Left));
    EXPECT_EQ(std::count(p.frontEnd.log.begin(), p.frontEnd.log.end(), "Enter"), 0);
    p.app.focusChanged(true);
    EXPECT_TRUE(p.held(ArrowKey::Left));
    EXPECT_FALSE(p.held(ArrowKey::Up)) << "the keyboard's key comes back with its own repeat";
    // Closing a window lets go of the keyboard's keys, not a controller's.
    p.app.keyDown(ArrowKey::Up, false);
    p.app.menuItemChosen(app::FormId::Form1, "apropos");
    p.app.buttonClicked(app::FormId::Form3, "Command1");
    EXPECT_FALSE(p.held(ArrowKey::Up));
    EXPECT_TRUE(p.held(ArrowKey::Left));
    p.app.controllerRead(1, {.faceButton = false});
    p.app.controllerRead(1, {.faceButton = true});
    EXPECT_EQ(std::count(p.frontEnd.log.begin(), p.frontEnd.log.end(), "Enter"), 1);
}

} // namespace
