// The engine's only doors to the outside: named controls, key state, random draws, message box, unload.
#pragma once

#include "game/runtime_error.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace game {

// The properties of a window control that the rules touch. Positions are twips, single precision.
// A control that lacks a property raises the runtime's "property not supported" error when the rules
// touch it, as the original toolkit does; a control may also throw RuntimeError when it rejects an access.
class Control {
public:
    virtual ~Control() = default;
    virtual float top() const { throw RuntimeError::propertyNotSupported(); }
    virtual float left() const { throw RuntimeError::propertyNotSupported(); }
    virtual void setTop(float /*twips*/) { throw RuntimeError::propertyNotSupported(); }
    virtual void setLeft(float /*twips*/) { throw RuntimeError::propertyNotSupported(); }
    virtual bool visible() const { throw RuntimeError::propertyNotSupported(); }
    virtual void setVisible(bool /*visible*/) { throw RuntimeError::propertyNotSupported(); }
    virtual void setCaption(std::string_view /*caption*/) { throw RuntimeError::propertyNotSupported(); }
    virtual void setEnabled(bool /*enabled*/) { throw RuntimeError::propertyNotSupported(); }
};

// The main window as the rules see it: its controls by name, its message box and its unloading.
class Form1Host {
public:
    virtual ~Form1Host() = default;
    // Throws RuntimeError (object required) for a name the window does not have.
    virtual Control& control(std::string_view name) = 0;
    // Modal: returns when the player has closed the box.
    virtual void messageBox(std::string_view prompt, int style, std::string_view title) = 0;
    virtual void unloadForm1() = 0;
};

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
