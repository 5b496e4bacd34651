// The game's windows and their lifetimes: at most one of each, the program ending with the last.
#pragma once

#include "arrow_key_latch.h"
#include "clock_random.h"
#include "module1.h"
#include "win32_form.h"
#include "win32_main_window.h"
#include "win32_pictures.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace win32 {

class App {
public:
    explicit App(HINSTANCE instance);
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // Loads and shows the main window, then runs the message loop until no window is left.
    // Returns the exit status: 0, or kRuntimeErrorExit after a reported runtime error.
    int run();

    // Menu and button handlers.
    void quitter_Click();
    void commandes_Click();
    void apropos_Click();
    void Command5_Click();
    void Command1_Click();

private:
    void start();
    // A menu item of the main window was chosen.
    void menuCommand(std::string_view item);
    void unloadForm1();
    void unload(std::unique_ptr<FormWindow>& window);
    std::unique_ptr<FormWindow> loadSmallWindow(const forms::FormDef& definition, std::string_view quitButton,
                                                void (App::*quit)());
    void quitIfNoWindowLeft();
    bool isGameWindow(HWND hwnd) const;
    bool preTranslate(const MSG& message);
    // Runs a handler; a runtime error is reported to the player and ends the program.
    void guard(const std::function<void()>& handler);
    void fail(const std::string& report);

    HINSTANCE m_instance;
    game::Module1 m_module;
    game::ArrowKeyLatch m_keys;
    game::ClockRandom m_random;
    PictureCache m_pictures;
    HWND m_hiddenOwner = nullptr;
    std::unique_ptr<MainWindow> m_form1;
    std::unique_ptr<FormWindow> m_form2;
    std::unique_ptr<FormWindow> m_form3;
    // Unloaded windows wait here until the handler that unloaded them has returned.
    std::vector<std::shared_ptr<void>> m_unloaded;
    bool m_failed = false;
};

} // namespace win32
