// A started game on the null front end with scripted keys and dice, plus helpers shared by the engine tests.
#pragma once

#include "ui/app/app.h"
#include "game/form1.h"
#include "game/module1.h"
#include "ui/app/null_front_end.h"
#include "game/runtime_error.h"
#include "tests/engine/scripted_sources.h"
#include "ui/app/stored_control.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fixture {

// Top or Left of grid index i.
constexpr std::int16_t grid(int i) { return static_cast<std::int16_t>(50 + 620 * i); }

inline const char* kFacings[] = {"Picture1", "Picture2", "Picture3", "Picture4"};

// The program with its main window loaded: Form_Load has run and the timers are running, but the
// clock only moves when a test advances it, so tests call the handlers themselves and a runtime
// error reaches them. The log starts empty: a test sees only what its ticks write.
struct Game {
    app::NullFrontEnd frontEnd;
    scripted::ScriptedKeys keys;
    scripted::ScriptedRandom random;
    app::App app{frontEnd, random, &keys};
    game::Module1& module = app.module();
    // What loading the main window wrote.
    std::vector<std::string> startLog;
    game::Form1& form = started();

    // A control of the main window while it is loaded.
    app::StoredControl& control(std::string_view name) const
    {
        app::LoadedWindow* form1 = app.window(app::FormId::Form1);
        if (!form1)
            throw std::logic_error("the test looked into the main window after it was unloaded");
        return form1->control(name);
    }

    bool unloaded() const { return !app.loaded(app::FormId::Form1); }

    // The test's own writes set the scene; they stay out of the log.
    void arrange(const std::function<void()>& write)
    {
        const std::size_t logged = frontEnd.log.size();
        write();
        frontEnd.log.resize(logged);
    }

    void placeCharacter(std::int16_t top, std::int16_t left)
    {
        module.actorTop = top;
        module.actorLeft = left;
    }

    void placeMonster(float top, float left)
    {
        arrange([&] {
            control("Picture5").setTop(top);
            control("Picture5").setLeft(left);
        });
    }
    float monsterTop() const { return control("Picture5").top(); }
    float monsterLeft() const { return control("Picture5").left(); }

    // With the character on the monster's cell no gap is measured, so a fresh window keeps the
    // chase at "none": the scripted draws alone decide the vote.
    void monsterAloneAt(std::int16_t top, std::int16_t left)
    {
        placeMonster(top, left);
        placeCharacter(top, left);
    }

    // The facing pictures that are visible, by name.
    std::vector<std::string> visibleFacings() const
    {
        std::vector<std::string> shown;
        for (const char* name : kFacings)
            if (control(name).visible())
                shown.emplace_back(name);
        return shown;
    }

private:
    game::Form1& started()
    {
        app.start();
        startLog = std::exchange(frontEnd.log, {});
        return *app.rules();
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
