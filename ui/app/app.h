// The program above the rules and below any toolkit: its three windows, their handlers, keys and errors.
#pragma once

#include "game/form1.h"
#include "ui/app/arrow_key_latch.h"
#include "ui/app/form1_view.h"
#include "ui/app/front_end.h"
#include "ui/app/input.h"
#include "ui/app/loaded_window.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace app {

const forms::FormDef& definitionOf(FormId id);

// Each window exists at most once and is loaded afresh from its definition when shown again; the
// program ends when the last loaded window is unloaded. Every handler runs through one guard: the
// first runtime error is reported and ends the program, and nothing runs after it.
class App final : public Input {
public:
    // `keys` replaces the arrow-key latch as the rules' key source, for tests that script it.
    App(FrontEnd& frontEnd, game::RandomSource& random, game::KeySource* keys = nullptr);
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // Loads and shows the main window; the game runs from here on.
    void start();

    void menuItemChosen(FormId window, std::string_view item) override;
    void buttonClicked(FormId window, std::string_view control) override;
    void closeBoxClicked(FormId window) override;
    void keyDown(ArrowKey key, bool autoRepeat) override;
    void keyUp(ArrowKey key) override;
    void focusChanged(bool focused) override;
    void controllerRead(int controller, const ControllerState& state) override;
    void controllerGone(int controller) override;
    void failed(std::string_view report) override;

    // The five handlers of the menu and the small windows' buttons.
    void quitter_Click();
    void commandes_Click();
    void apropos_Click();
    void Command5_Click();
    void Command1_Click();

    bool loaded(FormId id) const { return window(id) != nullptr; }
    // The loaded window, or nullptr.
    LoadedWindow* window(FormId id) const { return m_windows[index(id)].get(); }
    // The main window's rules while it is loaded, or nullptr.
    game::Form1* rules() { return loaded(FormId::Form1) ? &*m_rules : nullptr; }
    ArrowKeyLatch& latch() { return m_latch; }

private:
    static std::size_t index(FormId id) { return static_cast<std::size_t>(id); }

    // The main window and its game (app_main_window.cpp).
    void loadForm1();
    std::function<void()> tickHandler(game::ControlId timer);
    void pelletTick();

    void show(FormId id);
    void unload(FormId id);

    // The controllers (app_controllers.cpp).
    struct Controller {
        int id;
        // Its holder in the latch.
        int holder;
        ControllerKeys keys;
        ControllerKeys::Reading last;
    };
    std::vector<Controller>::iterator withId(int id);
    void holdAsRead(const Controller& controller);

    // The guard (app_guard.cpp): runs a handler; its runtime error ends the program.
    void run(const std::function<void()>& handler);
    void fail(std::string_view report);

    FrontEnd& m_frontEnd;
    game::RandomSource& m_random;
    ArrowKeyLatch m_latch;
    game::KeySource& m_keys;
    std::array<std::unique_ptr<LoadedWindow>, 3> m_windows;
    // The main window's rules and what shows them; kept after its unloading, when nothing reads them.
    std::optional<game::Form1> m_rules;
    std::optional<Form1View> m_form1View;
    // Unloaded windows wait here until no handler they started can still be running.
    std::vector<std::unique_ptr<LoadedWindow>> m_unloaded;
    std::vector<Controller> m_controllers;
    bool m_focused = true;
    int m_running = 0;
    bool m_failed = false;
};

} // namespace app
