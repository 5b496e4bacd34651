// The main window: Form1's widgets and timers bound to the engine's game code.
#pragma once

#include "control_table.h"
#include "form1.h"
#include "form_window.h"
#include "widget_controls.h"

#include <QTimer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class MainWindow final : public game::Form1Host {
public:
    struct Callbacks {
        // Runs a handler; reports and ends the program on a runtime error.
        std::function<void(const std::function<void()>&)> guard;
        std::function<void()> unload;
    };

    MainWindow(game::Module1& module, game::KeySource& keys, game::RandomSource& random, Callbacks callbacks);
    ~MainWindow() override;

    // Shows the window and starts the enabled timers: the game runs from here on.
    void show();
    void stopTimers();
    // Stops every timer and hides the window; the owner destroys it once the current handler is done.
    void unload();

    FormWindow& window() { return *m_window; }
    game::Form1& game() { return m_game; }

    game::Control& control(std::string_view name) override;
    void messageBox(std::string_view prompt, int style, std::string_view title) override;
    void unloadForm1() override;

private:
    Callbacks m_callbacks;
    // Filled while the window is built, so declared before it.
    std::vector<std::unique_ptr<QTimer>> m_timers;
    game::ControlTable m_controls;
    std::unique_ptr<FormWindow> m_window;
    game::Form1 m_game;
};
