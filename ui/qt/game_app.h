// The game's windows and their lifetimes: at most one of each, the program ending with the last.
#pragma once

#include "arrow_key_latch.h"
#include "clock_random.h"
#include "form_window.h"
#include "key_state_filter.h"
#include "main_window.h"
#include "module1.h"

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

class GameApp final : public QObject {
public:
    // Exit status of a run ended by a runtime error.
    static constexpr int kRuntimeErrorExit = 1;

    explicit GameApp(std::unique_ptr<game::RandomSource> random = std::make_unique<game::ClockRandom>());
    ~GameApp() override;

    // Loads and shows the main window; the game runs from here on.
    void start();

    // Menu and button handlers.
    void quitter_Click();
    void commandes_Click();
    void apropos_Click();
    void Command5_Click();
    void Command1_Click();

    // The loaded windows, or nullptr.
    MainWindow* form1() const { return m_form1.get(); }
    FormWindow* form2() const { return m_form2.get(); }
    FormWindow* form3() const { return m_form3.get(); }

    game::Module1& module() { return m_module; }
    game::ArrowKeyLatch& keys() { return m_keys; }

    // Runs a handler; a runtime error is reported to the player and ends the program.
    void guard(const std::function<void()>& handler);

private:
    void unloadForm1();
    std::unique_ptr<FormWindow> loadSmallWindow(const forms::FormDef& definition, void (GameApp::*closeHandler)());
    void unload(std::unique_ptr<FormWindow>& window);
    void destroyLater(std::shared_ptr<void> window);
    void quitIfNoWindowLeft();
    void fail(const std::string& report);

    game::Module1 m_module;
    game::ArrowKeyLatch m_keys;
    std::unique_ptr<game::RandomSource> m_random;
    KeyStateFilter m_keyFilter{m_keys};
    std::unique_ptr<MainWindow> m_form1;
    std::unique_ptr<FormWindow> m_form2;
    std::unique_ptr<FormWindow> m_form3;
    // Unloaded windows wait here until the handler that unloaded them has returned.
    std::vector<std::shared_ptr<void>> m_unloaded;
    bool m_failed = false;
};
