// The program above the rules and below any toolkit: its three windows, their handlers, keys and errors.
#pragma once

#include "game/form1.h"
#include "ui/app/arrow_key_latch.h"
#include "ui/app/form1_view.h"
#include "ui/app/front_end.h"
#include "ui/app/loaded_window.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace app {

enum class FormId { Form1, Form2, Form3 };

const forms::FormDef& definitionOf(FormId id);

// Each window exists at most once and is loaded afresh from its definition when shown again; the
// program ends when the last loaded window is unloaded. Every handler runs through one guard: the
// first runtime error is reported and ends the program, and nothing runs after it.
class App final {
public:
    // Exit status of a run ended by a runtime error.
    static constexpr int kRuntimeErrorExit = 1;

    // `keys` replaces the arrow-key latch as the rules' key source, for tests that script it.
    App(FrontEnd& frontEnd, game::RandomSource& random, game::KeySource* keys = nullptr);
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
    // The main window's rules while it is loaded, or nullptr.
    game::Form1* rules() { return loaded(FormId::Form1) ? &*m_rules : nullptr; }
    ArrowKeyLatch& latch() { return m_latch; }
    bool failed() const { return m_failed; }

    // Ends the program with a runtime error's report, as the handlers' guard does: for a failure
    // the platform finds outside any handler, such as a clock that broke for good.
    void fail(const std::string& report);

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

    void loadForm1();
    // The main window's tick handler for the timer of that name.
    std::function<void()> timerHandler(std::string_view timer);
    void pelletTick();
    void show(FormId id);
    void unload(FormId id);
    void run(const std::function<void()>& handler);

    FrontEnd& m_frontEnd;
    game::RandomSource& m_random;
    ArrowKeyLatch m_latch;
    game::KeySource& m_keys;
    std::array<Events, 3> m_events;
    std::array<std::unique_ptr<LoadedWindow>, 3> m_windows;
    // The main window's rules and what shows them; kept after its unloading, when nothing reads them.
    std::optional<game::Form1> m_rules;
    std::optional<Form1View> m_form1View;
    // Unloaded windows wait here until no handler they started can still be running.
    std::vector<std::unique_ptr<LoadedWindow>> m_unloaded;
    int m_running = 0;
    bool m_failed = false;
};

} // namespace app
