// The main window's game code: its members, the controls it touches, and its load and timer handlers.
#pragma once

#include "game/controls.h"
#include "game/module1.h"
#include "game/sources.h"
#include "game/writes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace game {

// The monster stands on the character: the game-over box is due, then the main window's unloading.
struct Capture {
    std::string prompt;
    std::string_view title;
};

// What the pellet tick tells its caller besides its writes.
struct PelletTick {
    Writes writes;
    std::optional<Capture> capture;
};

// The whole game as one value: copy it to keep a state, compare two to see what a tick did.
// Each handler reports its writes; whoever shows the window repaints from them.
class Form1 {
public:
    // The controls as the window definition loads them, before Form_Load runs.
    explicit Form1(Form1Controls designTime) : controls(std::move(designTime)) {}

    [[nodiscard]] Writes Form_Load();
    [[nodiscard]] Writes Timer1_Timer(KeySource& keys); // arrow keys, character step
    [[nodiscard]] PelletTick Timer2_Timer();            // pellets, score label, capture
    [[nodiscard]] Writes Timer3_Timer(RandomSource& random); // monster step

    // The shared module-level state.
    Module1 module;
    // Members of the main window; all start at zero and are never reset.
    std::int16_t points{};
    std::int16_t distTop{};
    std::int16_t distLeft{};
    std::int16_t sideTop{};
    std::int16_t sideLeft{};
    std::int16_t savedTop{};
    std::int16_t savedLeft{};
    Form1Controls controls;

    friend bool operator==(const Form1&, const Form1&) = default;

private:
    template <typename Property>
    void write(Writes& writes, ControlId id, const Property& value);
};

} // namespace game
