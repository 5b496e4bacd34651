// The whole program on Qt: its front end, its dice, the application layer, the keys and the controllers.
#pragma once

#include "ui/app/app.h"
#include "ui/app/clock_random.h"
#include "ui/qt/key_state_filter.h"
#include "ui/qt/qt_front_end.h"
#include "ui/qt/sdl_controllers.h"

#include <memory>

class GameApp {
public:
    explicit GameApp(std::unique_ptr<game::RandomSource> random = std::make_unique<app::ClockRandom>());

    // Loads and shows the main window; the game runs from here on.
    void start() { m_app.start(); }
    // Starts the program and runs the event loop until it ends; returns the exit status.
    int exec();

    // For tests and benchmarks, which look at the application's state.
    app::App& app() { return m_app; }
    const app::App& app() const { return m_app; }
    QtFrontEnd& frontEnd() { return m_frontEnd; }
    // The game controllers, once the first frame is on the screen; nullptr before.
    SdlControllers* controllers() { return m_controllers.get(); }

private:
    std::unique_ptr<game::RandomSource> m_random;
    QtFrontEnd m_frontEnd;
    app::App m_app;
    KeyStateFilter m_keys{m_app};
    // Made after the first frame: starting SDL's controllers takes a few milliseconds.
    std::unique_ptr<SdlControllers> m_controllers;
    // Cancels start-up work still waiting for the first frame when the program goes first.
    QObject m_lifetime;
};
