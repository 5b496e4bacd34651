// The rules' value bound to the main window: what the window shows follows the rules' own state.
#include "tests/support/rules_state.h"
#include "ui/app/app.h"
#include "ui/app/errors.h"
#include "ui/app/form1_view.h"
#include "ui/app/null_front_end.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Dice that walk the monster about: every draw a different weight.
class WanderingDice final : public game::RandomSource {
public:
    void reseedFromClock() override {}
    double draw() override
    {
        m_next = (m_next * 7 + 3) % 10;
        return m_next / 10.0;
    }

private:
    int m_next = 0;
};

void expectWindowShowsTheRules(app::App& app)
{
    const game::Form1& rules = support::rules(app);
    app::LoadedWindow& window = *app.window(app::FormId::Form1);
    for (std::size_t i = 0; i < game::kControlCount; ++i) {
        const auto id = static_cast<game::ControlId>(i);
        if (id >= game::ControlId::Timer1)
            continue;
        const std::string_view name = game::controlName(id);
        const app::StoredControl& shown = window.control(name);
        EXPECT_EQ(shown.visible(), rules.controls[id].visible) << name;
        if (id <= game::ControlId::Picture5) {
            EXPECT_EQ(shown.top(), rules.controls[id].top) << name;
            EXPECT_EQ(shown.left(), rules.controls[id].left) << name;
        }
    }
    EXPECT_EQ(window.control("Label2").caption(), rules.controls.label2Caption);
}

TEST(RulesBinding, TheWindowShowsExactlyTheRulesStateThroughoutAGame)
{
    app::NullFrontEnd frontEnd(app::NullFrontEnd::Recording::Off);
    WanderingDice dice;
    app::App app(frontEnd, dice);
    app.start();
    expectWindowShowsTheRules(app);
    const game::ArrowKey path[] = {game::ArrowKey::Right, game::ArrowKey::Right, game::ArrowKey::Down,
                                   game::ArrowKey::Left, game::ArrowKey::Down};
    for (const game::ArrowKey key : path) {
        app.keyDown(key, false);
        app.keyUp(key);
        frontEnd.advance(250);
        if (!app.loaded(app::FormId::Form1))
            break;
        expectWindowShowsTheRules(app);
    }
    // Whatever happened, nothing failed on the way.
    EXPECT_TRUE(frontEnd.errors.empty());
}

TEST(RulesBinding, ADefinitionLackingAControlOrTimerTheRulesTouchFailsByName)
{
    const forms::FormDef& form1 = forms::form1Definition();
    std::vector<forms::ControlDef> withoutPellet;
    for (const forms::ControlDef& control : form1.controls)
        if (control.name != "Image9")
            withoutPellet.push_back(control);
    std::vector<forms::TimerDef> withoutTimer(form1.timers.begin() + 1, form1.timers.end());

    forms::FormDef broken = form1;
    broken.controls = withoutPellet;
    try {
        (void)app::designTimeControls(broken);
        ADD_FAILURE() << "no error for a missing pellet";
    } catch (const game::RuntimeError& error) {
        EXPECT_EQ(error.number(), game::ErrorNumber::ObjectRequired);
        EXPECT_NE(std::string(error.what()).find("Image9"), std::string::npos) << error.what();
    }
    broken = form1;
    broken.timers = withoutTimer;
    EXPECT_THROW((void)app::designTimeControls(broken), game::RuntimeError);
}

} // namespace
