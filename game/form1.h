// The main window's game code: its members and its load and timer handlers.
#pragma once

#include "game/module1.h"
#include "game/platform.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace game {

class Form1 {
public:
    // Binds the rules to the window's controls, looked up once by name.
    Form1(Module1& module, Form1Host& host, KeySource& keys, RandomSource& random);

    using Handler = void (Form1::*)();
    // The tick handler bound to the timer of that name; object required for any other name.
    static Handler timerHandler(std::string_view timerName);

    void Form_Load();
    void Timer1_Timer(); // arrow keys, character step
    void Timer2_Timer(); // pellets, score label, capture
    void Timer3_Timer(); // monster step

    // Members of the main window; all start at zero and are never reset.
    std::int16_t points{};
    std::int16_t distTop{};
    std::int16_t distLeft{};
    std::int16_t sideTop{};
    std::int16_t sideLeft{};
    std::int16_t savedTop{};
    std::int16_t savedLeft{};

    struct Pellet {
        Control* image;
        std::int16_t left;
        std::int16_t top;
    };

private:
    Module1& m_module;
    Form1Host& m_host;
    KeySource& m_keys;
    RandomSource& m_random;

    // Character facings, in the order their visibility is written: right, down, left, up.
    std::array<Control*, 4> m_facings;
    Control& m_monster;
    Control& m_scoreLabel;
    std::array<Control*, 3> m_timers;
    // In the order they are tested.
    std::array<Pellet, 15> m_pellets;
};

} // namespace game
