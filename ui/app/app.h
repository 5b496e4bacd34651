// The program above the rules and below any toolkit: its three windows, their handlers, keys and errors.
#pragma once

#include "game/arrow_key_latch.h"
#include "ui/app/front_end.h"
#include "ui/app/loaded_window.h"
#include "game/module1.h"
#include "game/platform.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace app {

enum class FormId { Form1, Form2, Form3 };

const forms::FormDef& definitionOf(FormId id);

// Each window exists at most once and is loaded afresh from its definition when shown again; the
// program ends when the last loaded window is unloaded. Every handler runs through one guard: the
// first runtime error is reported and ends the program, and nothing runs after it.
class App final : private game::Form1Host {
public:
    // Exit status of a run ended by a runtime error.
    static constexpr int kRuntimeErrorExit = 1;

    // `keys` replaces the arrow-key latch as the rules' key source, for tests that script it.
    App(FrontEnd& frontEnd, game::RandomSource& random, game::KeySource* keys = nullptr);
    ~App() override;
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // Loads and shows the main window; the game runs from here on.
    void start();

    // The five handlers of the menu and the small windows' buttons.
    void quitter_Click();
    void commandes_Click();
    void apropos_Click();
    void Command5_Click();
    void Command1_Click();

    // Arrow keys from whichever of the game's windows has the focus. Auto-repeat of a held key adds
    // nothing (it already reports on every query); of a key let go by an unload or a lost keyboard,
    // it holds the key again, since the platform still reports it down.
    void keyDown(game::ArrowKey key, bool autoRepeat);
    void keyUp(game::ArrowKey key);
    // The keyboard went to another program: nothing stays held.
    void keyboardLost();

    bool loaded(FormId id) const { return window(id) != nullptr; }
    // The loaded window, or nullptr.
    LoadedWindow* window(FormId id) const { return m_windows[index(id)].get(); }
    // The main window's game code while it is loaded, or nullptr.
    game::Form1* form1() const;
    game::Module1& module() { return m_module; }
    game::ArrowKeyLatch& latch() { return m_latch; }
    bool failed() const { return m_failed; }

private:
    class Events final : public WindowEvents {
    public:
        Events(App& app, FormId id) : m_app(app), m_id(id) {}
        void menuItemChosen(std::string_view item) override;
        void buttonClicked(std::string_view control) override;
        void closeBoxClicked() override;

    private:
        App& m_app;
        FormId m_id;
    };

    static std::size_t index(FormId id) { return static_cast<std::size_t>(id); }

    // The main window as the rules see it.
    game::Control& control(std::string_view name) override;
    void messageBox(std::string_view prompt, int style, std::string_view title) override;
    void unloadForm1() override;

    void loadForm1();
    void show(FormId id);
    void unload(FormId id);
    void onTimer(std::size_t timer);
    void run(const std::function<void()>& handler);
    void fail(const std::string& report);

    FrontEnd& m_frontEnd;
    game::RandomSource& m_random;
    game::Module1 m_module;
    game::ArrowKeyLatch m_latch;
    game::KeySource& m_keys;
    std::array<Events, 3> m_events;
    std::array<std::unique_ptr<LoadedWindow>, 3> m_windows;
    // Form1's timer handlers, bound once when it loads, in the order of its definition.
    std::vector<game::Form1::Handler> m_timerHandlers;
    // Unloaded windows wait here until no handler they started can still be running.
    std::vector<std::unique_ptr<LoadedWindow>> m_unloaded;
    int m_running = 0;
    bool m_failed = false;
};

} // namespace app
