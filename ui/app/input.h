// Everything the player and the platform tell the program: the one way in for every front end.
#pragma once

#include "game/sources.h"
#include "ui/app/controller.h"

#include <string_view>

namespace app {

using game::ArrowKey;

enum class FormId { Form1, Form2, Form3 };

class Input {
public:
    virtual ~Input() = default;

    // What the player did in a window, by the definition's names. Each window exists at most once,
    // so its id names it; events of a window that is no longer loaded are dropped.
    virtual void menuItemChosen(FormId window, std::string_view item) = 0;
    virtual void buttonClicked(FormId window, std::string_view control) = 0;
    virtual void closeBoxClicked(FormId window) = 0;

    // Arrow keys from whichever of the game's windows has the focus. Auto-repeat of a held key adds
    // nothing (it already reports on every query); of a key let go by an unload or a lost keyboard,
    // it holds the key again, since the platform still reports it down.
    virtual void keyDown(ArrowKey key, bool autoRepeat) = 0;
    virtual void keyUp(ArrowKey key) = 0;
    // The program's windows lost the keyboard to another program, or got it back: while they have
    // not, nothing stays held and no controller steers.
    virtual void focusChanged(bool focused) = 0;

    // A game controller, named by the front end's own number for it, read anew: a second keyboard
    // (its cross and left stick hold the arrow keys, its face button presses Enter). Reading one
    // that is unchanged changes nothing. A controller unplugged lets go of every key it held.
    virtual void controllerRead(int controller, const ControllerState& state) = 0;
    virtual void controllerGone(int controller) = 0;

    // A failure the platform found outside any handler, such as a clock that broke for good: it is
    // reported and ends the program, as a handler's runtime error does.
    virtual void failed(std::string_view report) = 0;
};

} // namespace app
