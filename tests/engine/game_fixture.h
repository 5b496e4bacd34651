// A started game with scripted keys and dice, plus helpers shared by the engine tests.
#pragma once

#include "game/controls.h"
#include "game/form1.h"
#include "game/module1.h"
#include "game/runtime_error.h"
#include "tests/engine/scripted_sources.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace fixture {

using game::ControlId;

// Top or Left of grid index i.
constexpr std::int16_t grid(int i) { return static_cast<std::int16_t>(50 + 620 * i); }

inline constexpr std::array kFacings{ControlId::Picture1, ControlId::Picture2, ControlId::Picture3,
                                     ControlId::Picture4};

// The controls before the load: off-grid places the load must overwrite, everything shown, the
// timers running and a caption the load must leave alone.
inline game::Form1Controls designTime()
{
    game::Form1Controls controls;
    for (game::ControlState& state : controls.states)
        state = {111, 222, true, true};
    controls.label2Caption = "design caption";
    return controls;
}

// Each write as "Picture1.Top=670".
inline std::vector<std::string> describe(const game::Writes& writes)
{
    std::vector<std::string> lines;
    for (const game::Write& w : writes)
        lines.push_back(game::describe(w));
    return lines;
}

// The main window's rules after Form_Load; tests call the handlers themselves, so a runtime error
// reaches them.
struct Game {
    scripted::ScriptedKeys keys;
    scripted::ScriptedRandom random;
    game::Form1 form{designTime()};
    // What the load wrote.
    game::Writes startWrites = form.Form_Load();
    game::Module1& module = form.module;

    Game() = default;
    Game(const Game&) = delete;

    std::vector<std::string> playerTick() { return describe(form.Timer1_Timer(keys)); }
    std::vector<std::string> pelletTick() { return describe(form.Timer2_Timer().writes); }
    std::vector<std::string> monsterTick() { return describe(form.Timer3_Timer(random)); }

    game::ControlState& control(ControlId id) { return form.controls[id]; }

    void placeCharacter(std::int16_t top, std::int16_t left)
    {
        module.actorTop = top;
        module.actorLeft = left;
    }

    void placeMonster(float top, float left)
    {
        control(ControlId::Picture5).top = top;
        control(ControlId::Picture5).left = left;
    }
    float monsterTop() const { return form.controls[ControlId::Picture5].top; }
    float monsterLeft() const { return form.controls[ControlId::Picture5].left; }

    // With the character on the monster's cell no gap is measured, so a fresh game keeps the
    // chase at "none": the scripted draws alone decide the vote.
    void monsterAloneAt(std::int16_t top, std::int16_t left)
    {
        placeMonster(top, left);
        placeCharacter(top, left);
    }

    // The facing pictures that are visible.
    std::vector<ControlId> visibleFacings() const
    {
        std::vector<ControlId> shown;
        for (const ControlId facing : kFacings)
            if (form.controls[facing].visible)
                shown.push_back(facing);
        return shown;
    }
};

// Expects fn to raise the runtime's error with the given number.
inline void expectRuntimeError(game::ErrorNumber number, const std::function<void()>& fn)
{
    try {
        fn();
        ADD_FAILURE() << "no runtime error raised";
    } catch (const game::RuntimeError& e) {
        EXPECT_EQ(e.number(), number) << e.what();
    }
}

} // namespace fixture
