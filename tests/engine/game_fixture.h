// A main window wired to the fakes, plus small helpers shared by the engine tests.
#pragma once

#include "fakes.h"
#include "form1.h"
#include "module1.h"
#include "runtime_error.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace fixture {

// Top or Left of grid index i.
constexpr std::int16_t grid(int i) { return static_cast<std::int16_t>(50 + 620 * i); }

inline const char* kFacings[] = {"Picture1", "Picture2", "Picture3", "Picture4"};

struct Game {
    game::Module1 module;
    fakes::FakeForm1Host host;
    fakes::ScriptedKeys keys;
    fakes::ScriptedRandom random;
    game::Form1 form{module, host, keys, random};

    // Starts a game and forgets the start's writes, so a test sees only what its ticks write.
    void start()
    {
        form.Form_Load();
        host.log.clear();
    }

    void placeCharacter(std::int16_t top, std::int16_t left)
    {
        module.actorTop = top;
        module.actorLeft = left;
    }

    void placeMonster(float top, float left) { host.at("Picture5").place(top, left); }
    float monsterTop() { return host.at("Picture5").top(); }
    float monsterLeft() { return host.at("Picture5").left(); }

    // With the character on the monster's cell no gap is measured, so a fresh window keeps the
    // chase at "none": the scripted draws alone decide the vote.
    void monsterAloneAt(std::int16_t top, std::int16_t left)
    {
        placeMonster(top, left);
        placeCharacter(top, left);
    }

    // The facing pictures that are visible, by name.
    std::vector<std::string> visibleFacings()
    {
        std::vector<std::string> shown;
        for (const char* name : kFacings)
            if (host.at(name).visible())
                shown.emplace_back(name);
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
