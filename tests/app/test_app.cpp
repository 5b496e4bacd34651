// The application layer through the null front end: window lifetimes, handlers, the game-over
// sequence, key policy, game controllers and the error guard.
#include "game/cell_map.h"
#include "ui/app/app.h"
#include "ui/app/controller.h"
#include "ui/app/layout.h"
#include "ui/app/null_front_end.h"
#include "tests/support/rules_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

namespace {

using app::ControllerKeys;
using app::FormId;
using game::ArrowKey;

// Draws that always give the monster the same weights, so that only momentum and the chase steer it.
class SteadyDice final : public game::RandomSource {
public:
    void reseedFromClock() override {}
    double draw() override { return 0.0; }
};

int period(std::string_view timer) { return forms::findTimer(forms::form1Definition(), timer)->intervalMs; }
int playerBeat() { return period("Timer1"); }

struct Program {
    app::NullFrontEnd frontEnd;
    SteadyDice dice;
    app::App app{frontEnd, dice};

    Program() { app.start(); }

    void choose(std::string_view item) { app.menuItemChosen(FormId::Form1, item); }
    void click(FormId form, std::string_view button) { app.buttonClicked(form, button); }
    void close(FormId form) { app.closeBoxClicked(form); }
    long count(std::string_view line) const { return std::ranges::count(frontEnd.log, std::string(line)); }
    // Puts the monster on the character's cell: the next pellet tick is a capture.
    void meet()
    {
        game::Form1& rules = support::rules(app);
        rules.controls[game::ControlId::Picture5].top = rules.module.actorTop;
        rules.controls[game::ControlId::Picture5].left = rules.module.actorLeft;
    }
};

TEST(WindowLifetimes, EachSmallWindowExistsOnceAndComesToTheFrontWhenAskedAgain)
{
    Program p;
    p.choose("commandes");
    const app::LoadedWindow* first = p.app.window(FormId::Form2);
    p.choose("commandes");
    EXPECT_EQ(p.app.window(FormId::Form2), first);
    EXPECT_EQ(p.count("Show Form2"), 2);
    p.choose("liensinter");
    p.choose("apropos");
    EXPECT_TRUE(p.app.loaded(FormId::Form3));
    p.click(FormId::Form3, "Command1");
    EXPECT_FALSE(p.app.loaded(FormId::Form3));
    // Loaded afresh: a new window, not the old one shown again.
    p.choose("apropos");
    EXPECT_TRUE(p.app.loaded(FormId::Form3));
    EXPECT_EQ(p.count("Unload Form3"), 1);
}

TEST(WindowLifetimes, TheProgramEndsWithItsLastWindowWhicheverCloses)
{
    struct Case {
        const char* item;
        FormId form;
        const char* quitButton;
    };
    for (const Case c : {Case{"apropos", FormId::Form3, "Command1"}, Case{"commandes", FormId::Form2, "Command5"}}) {
        for (const bool byCloseBox : {false, true}) {
            Program p;
            p.choose(c.item);
            if (byCloseBox)
                p.close(FormId::Form1);
            else
                p.choose("quitter");
            EXPECT_FALSE(p.app.loaded(FormId::Form1)) << c.item;
            EXPECT_FALSE(p.frontEnd.running("Timer1")) << c.item;
            EXPECT_FALSE(p.frontEnd.endStatus) << c.item << " keeps the program";
            // The game is over without a message: time passing changes nothing.
            p.frontEnd.advance(1000);
            EXPECT_EQ(p.frontEnd.messageBoxes, 0);
            if (byCloseBox)
                p.close(c.form);
            else
                p.click(c.form, c.quitButton);
            EXPECT_EQ(p.frontEnd.endStatus, 0) << c.item;
        }
    }
}

TEST(WindowLifetimes, OnlyTheQuitButtonsAndCloseBoxesUnloadAndStaleEventsAreIgnored)
{
    Program p;
    p.choose("commandes");
    for (const char* arrow : {"Command1", "Command2", "Command3", "Command4"})
        p.click(FormId::Form2, arrow);
    // The about window's quit button has the name of an arrow here: it must not unload Form2.
    EXPECT_TRUE(p.app.loaded(FormId::Form2));
    p.close(FormId::Form2);
    EXPECT_FALSE(p.app.loaded(FormId::Form2));
    // A click that the toolkit still delivers to the window it is taking down changes nothing.
    p.close(FormId::Form2);
    p.click(FormId::Form2, "Command5");
    EXPECT_EQ(p.count("Unload Form2"), 1);
    EXPECT_TRUE(p.app.loaded(FormId::Form1));
}

TEST(Timers, EachHandlerTicksOnItsOwnPeriodFromTheLoadOn)
{
    Program p;
    p.frontEnd.log.clear();
    p.frontEnd.advance(1000);
    const auto writes = [&](std::string_view prefix) {
        return std::ranges::count_if(p.frontEnd.log, [&](const std::string& l) { return l.starts_with(prefix); });
    };
    EXPECT_EQ(writes("Label2.Caption="), 1000 / period("Timer2"));  // pellets
    EXPECT_EQ(writes("Picture5.Left=") + writes("Picture5.Top="), 1000 / period("Timer3"));  // monster
    p.app.keyDown(ArrowKey::Down, false);
    p.frontEnd.advance(1000);
    // The player, one step a beat while the key is held.
    EXPECT_EQ(support::rules(p.app).module.actorTop, game::gridValue(1000 / playerBeat()));
}

TEST(GameOver, OneBoxThenTheMainWindowIsUnloadedAndTheSmallWindowsKeepTheProgram)
{
    Program p;
    p.choose("commandes");
    p.meet();
    int ticksDuringBox = 0;
    p.frontEnd.whileBoxIsOpen = [&] {
        // Time goes on while the player reads the box: no second capture, no step.
        p.frontEnd.advance(1000);
        ticksDuringBox = static_cast<int>(p.frontEnd.log.size());
    };
    p.frontEnd.advance(period("Timer2"));
    EXPECT_EQ(p.frontEnd.messageBoxes, 1);
    const auto box = std::ranges::find_if(p.frontEnd.log, [](const std::string& l) { return l.starts_with("MsgBox("); });
    const auto unload = std::ranges::find(p.frontEnd.log, "Unload Form1");
    ASSERT_NE(box, p.frontEnd.log.end());
    EXPECT_LT(box, unload);
    EXPECT_EQ(static_cast<int>(std::distance(p.frontEnd.log.begin(), box)) + 1, ticksDuringBox);
    EXPECT_FALSE(p.frontEnd.endStatus);
    p.click(FormId::Form2, "Command5");
    EXPECT_EQ(p.frontEnd.endStatus, 0);
}

TEST(GameOver, ABoxClosedAfterItsTickReturnedUnloadsTheMainWindowThenAndNothingTicksMeanwhile)
{
    Program p;
    p.frontEnd.holdBoxes = true;
    p.meet();
    p.frontEnd.advance(period("Timer2"));
    ASSERT_EQ(p.frontEnd.heldBoxes.size(), 1u);
    const std::size_t logged = p.frontEnd.log.size();
    p.frontEnd.advance(1000);
    EXPECT_EQ(p.frontEnd.log.size(), logged) << "a clock ticked while the box waited";
    EXPECT_TRUE(p.app.loaded(FormId::Form1));
    p.frontEnd.heldBoxes.front()();
    EXPECT_FALSE(p.app.loaded(FormId::Form1));
    EXPECT_EQ(p.frontEnd.endStatus, 0);
}

TEST(Keys, AutoRepeatOfAHeldKeyAddsNoStepAndATapCountsOnce)
{
    Program p;
    p.app.keyDown(ArrowKey::Right, false);
    p.frontEnd.advance(playerBeat());
    EXPECT_EQ(support::rules(p.app).module.actorLeft, 670);
    // Let go between two ticks, just after a repeat: no step for the repeat.
    p.app.keyDown(ArrowKey::Right, true);
    p.app.keyUp(ArrowKey::Right);
    p.frontEnd.advance(2 * playerBeat());
    EXPECT_EQ(support::rules(p.app).module.actorLeft, 670);
    // A tap between two ticks still counts, once.
    p.app.keyDown(ArrowKey::Right, false);
    p.app.keyUp(ArrowKey::Right);
    p.frontEnd.advance(2 * playerBeat());
    EXPECT_EQ(support::rules(p.app).module.actorLeft, 1290);
}

TEST(Keys, UnloadsAndALostKeyboardLetGoButAKeyStillDownIsHeldAgainByItsRepeat)
{
    Program p;
    p.choose("apropos");
    p.app.keyDown(ArrowKey::Right, false);
    p.frontEnd.advance(playerBeat());
    EXPECT_EQ(support::rules(p.app).module.actorLeft, 670);
    // Its release may have gone to the unloaded window: let go, and no repeat says otherwise.
    p.click(FormId::Form3, "Command1");
    p.frontEnd.advance(playerBeat());
    EXPECT_EQ(support::rules(p.app).module.actorLeft, 670);
    // Still down on the keyboard: its next repeat walks on.
    p.app.keyDown(ArrowKey::Right, true);
    p.frontEnd.advance(2 * playerBeat());
    EXPECT_EQ(support::rules(p.app).module.actorLeft, 1910);

    p.app.focusChanged(false);
    p.app.focusChanged(true);
    p.frontEnd.advance(playerBeat());
    EXPECT_EQ(support::rules(p.app).module.actorLeft, 1910);
    p.app.keyDown(ArrowKey::Right, true);
    p.frontEnd.advance(playerBeat());
    EXPECT_EQ(support::rules(p.app).module.actorLeft, 2530);
}

TEST(Errors, TheFirstRuntimeErrorIsReportedOnceAndEndsTheProgram)
{
    Program p;
    support::ruleControl(p.app, "Picture5").top = 40000.0f;
    p.frontEnd.advance(1000);
    ASSERT_EQ(p.frontEnd.errors.size(), 1u);
    EXPECT_NE(p.frontEnd.errors[0].find("'6'"), std::string::npos);
    EXPECT_EQ(p.frontEnd.endStatus, app::kRuntimeErrorStatus);
    EXPECT_FALSE(p.frontEnd.running("Timer1"));
    p.choose("commandes");
    EXPECT_FALSE(p.app.loaded(FormId::Form2));
    EXPECT_EQ(p.count("End 1"), 1);
}

std::vector<std::string_view> names(const forms::FormDef& form, const std::vector<std::size_t>& indices)
{
    std::vector<std::string_view> result;
    for (const std::size_t i : indices)
        result.push_back(form.controls[i].name);
    return result;
}

TEST(Layout, TabOrderFollowsTabIndexAndStackingPutsWindowedControlsAboveLightweightOnes)
{
    using Names = std::vector<std::string_view>;
    EXPECT_EQ(names(forms::form2Definition(), app::tabOrder(forms::form2Definition())),
              (Names{"Command1", "Command2", "Command3", "Command4", "Command5"}));
    EXPECT_EQ(names(forms::form3Definition(), app::tabOrder(forms::form3Definition())), (Names{"Text1", "Command1"}));
    const Names stack = names(forms::form1Definition(), app::stackingOrder(forms::form1Definition()));
    ASSERT_EQ(stack.size(), forms::form1Definition().controls.size());
    EXPECT_EQ(stack.front(), "Image1");
    EXPECT_EQ(stack[stack.size() - 6], "Image20");
    EXPECT_EQ(stack[stack.size() - 5], "Picture5");
    EXPECT_EQ(stack.back(), "Picture4");
}

// A game controller as a second keyboard: the stick's dead zone and hysteresis, diagonals, the face
// button as Enter, and keyboard and controllers holding keys together.

// The held keys as letters: left, up, right, down, as ControllerKeys orders them.
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

bool held(Program& p, ArrowKey key) { return p.app.latch().held(key); }

TEST(Controllers, HoldKeysWithTheKeyboardAsTwoKeyboardsWould)
{
    Program p;
    p.app.keyDown(ArrowKey::Right, false);
    p.app.controllerRead(7, {.right = true});
    p.app.keyUp(ArrowKey::Right);
    EXPECT_TRUE(held(p, ArrowKey::Right)) << "the controller still holds it";
    p.app.controllerRead(7, {});
    EXPECT_FALSE(held(p, ArrowKey::Right));

    // A second controller, and the first unplugged while both hold down.
    p.app.controllerRead(7, {.down = true});
    p.app.controllerRead(9, {.down = true});
    p.app.controllerGone(7);
    EXPECT_TRUE(held(p, ArrowKey::Down));
    p.app.controllerGone(9);
    EXPECT_FALSE(held(p, ArrowKey::Down));
}

TEST(Controllers, LetGoWithTheFocusAndHoldAgainWhenItComesBack)
{
    Program p;
    p.app.controllerRead(1, {.stickX = -1});
    p.app.keyDown(ArrowKey::Up, false);
    p.app.focusChanged(false);
    EXPECT_FALSE(held(p, ArrowKey::Left));
    // Read without the focus: neither held nor Enter.
    p.app.controllerRead(1, {.stickX = -1, .faceButton = true});
    EXPECT_FALSE(held(p, ArrowKey::Left));
    EXPECT_EQ(p.count("Enter"), 0);
    p.app.focusChanged(true);
    EXPECT_TRUE(held(p, ArrowKey::Left));
    EXPECT_FALSE(held(p, ArrowKey::Up)) << "the keyboard's key comes back with its own repeat";
    // Closing a window lets go of the keyboard's keys, not a controller's.
    p.app.keyDown(ArrowKey::Up, false);
    p.choose("apropos");
    p.click(FormId::Form3, "Command1");
    EXPECT_FALSE(held(p, ArrowKey::Up));
    EXPECT_TRUE(held(p, ArrowKey::Left));
    p.app.controllerRead(1, {.faceButton = false});
    p.app.controllerRead(1, {.faceButton = true});
    EXPECT_EQ(p.count("Enter"), 1);
}

} // namespace
