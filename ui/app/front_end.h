// What a front end gives the application layer: windows, timers, a modal box, an error report, the end.
#pragma once

#include "game/writes.h"
#include "ui/app/input.h"
#include "ui/app/layout.h"
#include "ui/forms/form_definition.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string_view>

namespace app {

// The program's name, wherever a platform shows one: the runtime-error box's title, the application name.
inline constexpr std::string_view kProgramName = "glouto";
// Exit status of a run ended by a runtime error.
inline constexpr int kRuntimeErrorStatus = 1;

// The icon of a message box, which always has a single OK button. Its value is the box style the
// game's code passes, which a log shows.
enum class BoxIcon { Stop = 16 };

// One on-screen window, made from its definition with every control in its design-time state. A
// control is named by its index in the definition's controls; each call says all it changes.
class WindowView {
public:
    // Destroys the on-screen window. The application layer never destroys a view while a handler
    // that its window started may still be running.
    virtual ~WindowView() = default;
    // Shows the window (centred, the first time) or brings it to the front, and activates it.
    virtual void showAndActivate() = 0;
    // The window is unloaded: off the screen now, taking no more input; destroyed later.
    virtual void unload() = 0;

    virtual void moveControl(std::size_t control, PixelPoint at) = 0;
    virtual void setControlVisible(std::size_t control, bool visible) = 0;
    virtual void setControlCaption(std::size_t control, std::string_view text) = 0;
    // Every write the rules made on the window, in order, changed or not, each just before what it
    // changed is shown: only a front end that records them cares.
    virtual void written(const game::Write& /*write*/) {}
};

// A periodic timer whose ticks arrive on the window thread. Made stopped.
class TimerView {
public:
    virtual ~TimerView() = default;
    // Starting begins a fresh period.
    virtual void start() = 0;
    // No tick comes after this, not even one that was already due.
    virtual void stop() = 0;
};

class FrontEnd {
public:
    virtual ~FrontEnd() = default;
    // The window tells `input` what the player does in it, naming itself by `id`.
    virtual std::unique_ptr<WindowView> makeWindow(FormId id, const forms::FormDef& form, Input& input) = 0;
    virtual std::unique_ptr<TimerView> makeTimer(const forms::TimerDef& timer, std::function<void()> tick) = 0;
    // Modal to every window of the game; `closed` runs once the player has closed it. Most platforms
    // show the box at once and run `closed` before returning; one that must first let an open menu
    // go shows it as soon as the menu is gone, after returning.
    virtual void messageBox(std::string_view prompt, BoxIcon icon, std::string_view title,
                            std::function<void()> closed) = 0;
    // A runtime error ended the program: tells the player with the platform's error box, as above.
    virtual void reportError(std::string_view report, std::function<void()> closed) = 0;
    // Does what the Enter key does in the window or box that has the keyboard focus: a controller's
    // face button closes the game-over box so.
    virtual void pressEnter() = 0;
    // The event loop is to return this exit status.
    virtual void endProgram(int status) = 0;
};

} // namespace app
