// The main window: Form1's child windows and tick timers bound to the engine's game code.
#pragma once

#include "control_table.h"
#include "form1.h"
#include "win32_controls.h"
#include "win32_form.h"
#include "win32_timers.h"

#include <functional>
#include <memory>
#include <string>

namespace win32 {

class MainWindow final : public game::Form1Host {
public:
    struct Callbacks {
        FormWindow::Guard guard;
        std::function<void(std::string_view name)> command;
        std::function<void()> unload;
        std::function<void()> appDeactivated;
    };

    // Builds the window and runs its load handler; the window is not shown yet.
    MainWindow(HINSTANCE instance, PictureCache& pictures, HWND hiddenOwner, game::Module1& module,
               game::KeySource& keys, game::RandomSource& random, Callbacks callbacks);
    ~MainWindow() override;

    // Shows the window and starts the enabled timers: the game runs from here on.
    void show();
    void stopTimers();
    // Stops every timer and destroys the on-screen window.
    void unload();

    FormWindow& window() { return *m_window; }
    game::Form1& game() { return m_game; }

    game::Control& control(std::string_view name) override;
    void messageBox(std::string_view prompt, int style, std::string_view title) override;
    void unloadForm1() override;

private:
    bool onMessage(UINT message, WPARAM wParam);

    Callbacks m_callbacks;
    std::unique_ptr<FormWindow> m_window;
    std::unique_ptr<TickTimers> m_timers;
    game::ControlTable m_controls;
    game::Form1 m_game;
};

} // namespace win32
