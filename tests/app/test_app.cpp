// The application layer through the null front end: window lifetimes, handlers, the game-over
// sequence, key policy and the error guard.
#include "app.h"
#include "layout.h"
#include "null_front_end.h"
#include "runtime_error.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using app::FormId;
using game::ArrowKey;

// Draws that always give the monster the same weights: it walks right, row 5, from column 7.
class SteadyDice final : public game::RandomSource {
public:
    void reseedFromClock() override {}
    double draw() override { return 0.0; }
};

struct Program {
    app::NullFrontEnd frontEnd;
    SteadyDice dice;
    app::App app{frontEnd, dice};

    Program() { app.start(); }

    void choose(std::string_view item) { frontEnd.events("Form1")->menuItemChosen(item); }
    void click(std::string_view form, std::string_view button) { frontEnd.events(form)->buttonClicked(button); }
    void close(std::string_view form) { frontEnd.events(form)->closeBoxClicked(); }
    long count(std::string_view line) const { return std::ranges::count(frontEnd.log, std::string(line)); }
    // Puts the monster on the character's cell: the next pellet tick is a capture.
    void meet()
    {
        app.window(FormId::Form1)->control("Picture5").setTop(app.module().actorTop);
        app.window(FormId::Form1)->control("Picture5").setLeft(app.module().actorLeft);
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
    p.click("Form3", "Command1");
    EXPECT_FALSE(p.app.loaded(FormId::Form3));
    // Loaded afresh: a new window, not the old one shown again.
    p.choose("apropos");
    EXPECT_TRUE(p.app.loaded(FormId::Form3));
    EXPECT_EQ(p.count("Unload Form3"), 1);
}

TEST(WindowLifetimes, TheProgramEndsWithItsLastWindowWhicheverCloses)
{
    Program p;
    p.choose("apropos");
    p.choose("quitter");
    EXPECT_FALSE(p.app.loaded(FormId::Form1));
    EXPECT_FALSE(p.frontEnd.running("Timer1"));
    EXPECT_FALSE(p.frontEnd.endStatus);
    p.close("Form3");
    EXPECT_EQ(p.frontEnd.endStatus, 0);
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
    p.frontEnd.advance(50);
    EXPECT_EQ(p.frontEnd.messageBoxes, 1);
    const auto box = std::ranges::find_if(p.frontEnd.log, [](const std::string& l) { return l.starts_with("MsgBox("); });
    const auto unload = std::ranges::find(p.frontEnd.log, "Unload Form1");
    ASSERT_NE(box, p.frontEnd.log.end());
    EXPECT_LT(box, unload);
    EXPECT_EQ(static_cast<int>(std::distance(p.frontEnd.log.begin(), box)) + 1, ticksDuringBox);
    EXPECT_FALSE(p.frontEnd.endStatus);
    p.click("Form2", "Command5");
    EXPECT_EQ(p.frontEnd.endStatus, 0);
}

TEST(Keys, HeldKeysAreLetGoWhenAnyWindowUnloadsOrTheKeyboardGoesAway)
{
    Program p;
    p.choose("apropos");
    p.app.keyDown(ArrowKey::Right, false);
    p.frontEnd.advance(250);
    EXPECT_EQ(p.app.module().actorLeft, 670);
    p.click("Form3", "Command1");
    p.frontEnd.advance(250);
    EXPECT_EQ(p.app.module().actorLeft, 670);

    // The press still counts once; the hold ends with the keyboard.
    p.app.keyDown(ArrowKey::Right, false);
    p.app.keyboardLost();
    p.frontEnd.advance(750);
    EXPECT_EQ(p.app.module().actorLeft, 1290);
}

TEST(Errors, TheFirstRuntimeErrorIsReportedOnceAndEndsTheProgram)
{
    Program p;
    p.app.window(FormId::Form1)->control("Picture5").setTop(40000.0f);
    p.frontEnd.advance(1000);
    ASSERT_EQ(p.frontEnd.errors.size(), 1u);
    EXPECT_NE(p.frontEnd.errors[0].find("'6'"), std::string::npos);
    EXPECT_EQ(p.frontEnd.endStatus, app::App::kRuntimeErrorExit);
    EXPECT_FALSE(p.frontEnd.running("Timer1"));
    p.choose("commandes");
    EXPECT_FALSE(p.app.loaded(FormId::Form2));
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
    EXPECT_EQ(names(forms::form2(), app::tabOrder(forms::form2())),
              (Names{"Command1", "Command2", "Command3", "Command4", "Command5"}));
    EXPECT_EQ(names(forms::form3(), app::tabOrder(forms::form3())), (Names{"Text1", "Command1"}));
    const Names stack = names(forms::form1(), app::stackingOrder(forms::form1()));
    ASSERT_EQ(stack.size(), forms::form1().controls.size());
    EXPECT_EQ(stack.front(), "Image1");
    EXPECT_EQ(stack[stack.size() - 6], "Image20");
    EXPECT_EQ(stack[stack.size() - 5], "Picture5");
    EXPECT_EQ(stack.back(), "Picture4");
}

} // namespace
