// Where keys and random draws come into the rules from: two small interfaces the caller supplies.
#pragma once

#include <cstdint>

namespace game {

// Virtual-key codes of the arrow keys, as the key-state query knows them.
enum class ArrowKey : int { Left = 37, Up = 38, Right = 39, Down = 40 };

// Asynchronous key state: bit 0 of the result is set when the key was pressed since the previous
// query of that key; the query reads and clears that indication.
class KeySource {
public:
    virtual ~KeySource() = default;
    virtual std::int16_t GetAsyncKeyState(ArrowKey key) = 0;
};

class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void reseedFromClock() = 0;
    // Uniform in [0, 1).
    virtual double draw() = 0;
};

} // namespace game
