// Window lifetimes, the five handlers, the game-over box's side, key policy and the error guard.
#include "ui/app/app.h"

#include "game/runtime_error.h"

#include <cstdio>
#include <optional>

namespace app {

const forms::FormDef& definitionOf(FormId id)
{
    switch (id) {
    case FormId::Form1: return forms::form1();
    case FormId::Form2: return forms::form2();
    case FormId::Form3: return forms::form3();
    }
    throw game::RuntimeError(game::ErrorNumber::Internal, "unknown window");
}

App::App(FrontEnd& frontEnd, game::RandomSource& random, game::KeySource* keys)
    : m_frontEnd(frontEnd)
    , m_random(random)
    , m_keys(keys ? *keys : m_latch)
    , m_events{Events{*this, FormId::Form1}, Events{*this, FormId::Form2}, Events{*this, FormId::Form3}}
{
}

App::~App() = default;

void App::start()
{
    run([this] { loadForm1(); });
}

void App::loadForm1()
{
    auto window = std::make_unique<LoadedWindow>(forms::form1(), m_frontEnd, m_events[index(FormId::Form1)]);
    m_timerHandlers.clear();
    for (const forms::TimerDef& timer : forms::form1().timers)
        m_timerHandlers.push_back(game::Form1::timerHandler(timer.name));
    window->makeTimers(m_frontEnd, [this](std::size_t timer) { onTimer(timer); });
    m_windows[index(FormId::Form1)] = std::move(window);
    LoadedWindow& form1 = *m_windows[index(FormId::Form1)];
    game::Form1Host& host = *this;
    form1.rules = std::make_unique<game::Form1>(m_module, host, m_keys, m_random);
    form1.rules->Form_Load();
    form1.view().showAndActivate();
    form1.startTimers();
}

game::Form1* App::form1() const
{
    const LoadedWindow* form1 = window(FormId::Form1);
    return form1 ? form1->rules.get() : nullptr;
}

void App::quitter_Click() { unload(FormId::Form1); }
void App::commandes_Click() { show(FormId::Form2); }
void App::apropos_Click() { show(FormId::Form3); }
void App::Command5_Click() { unload(FormId::Form2); }
void App::Command1_Click() { unload(FormId::Form3); }

void App::show(FormId id)
{
    // Modeless and without owner; never a second copy.
    auto& slot = m_windows[index(id)];
    if (!slot)
        slot = std::make_unique<LoadedWindow>(definitionOf(id), m_frontEnd, m_events[index(id)]);
    slot->view().showAndActivate();
}

void App::unload(FormId id)
{
    auto& slot = m_windows[index(id)];
    if (!slot)
        return;
    slot->stopTimers();
    slot->view().unload();
    m_unloaded.push_back(std::move(slot));
    // The unloaded window may have had the keyboard, and a key held there would never be let go.
    m_latch.releaseAll();
    if (!loaded(FormId::Form1) && !loaded(FormId::Form2) && !loaded(FormId::Form3))
        m_frontEnd.endProgram(0);
}

void App::onTimer(std::size_t timer)
{
    run([this, timer] {
        // A tick may still come from a window that was unloaded meanwhile.
        if (game::Form1* rules = form1(); rules && timer < m_timerHandlers.size())
            (rules->*m_timerHandlers[timer])();
    });
}

game::Control& App::control(std::string_view name)
{
    LoadedWindow* form1 = window(FormId::Form1);
    if (!form1)
        throw game::RuntimeError::objectRequired(std::string(name));
    return form1->control(name);
}

void App::messageBox(std::string_view prompt, int style, std::string_view title)
{
    m_frontEnd.messageBox(prompt, style, title);
}

void App::unloadForm1() { unload(FormId::Form1); }

void App::keyDown(game::ArrowKey key, bool autoRepeat)
{
    if (!autoRepeat || !m_latch.held(key))
        m_latch.press(key);
}

void App::keyUp(game::ArrowKey key) { m_latch.release(key); }

void App::keyboardLost() { m_latch.releaseAll(); }

void App::Events::menuItemChosen(std::string_view item)
{
    if (!m_app.loaded(m_id) || m_id != FormId::Form1)
        return;
    // "liens internet" and the separator have no command behind them.
    if (item == "quitter")
        m_app.run([this] { m_app.quitter_Click(); });
    else if (item == "commandes")
        m_app.run([this] { m_app.commandes_Click(); });
    else if (item == "apropos")
        m_app.run([this] { m_app.apropos_Click(); });
}

void App::Events::buttonClicked(std::string_view control)
{
    if (!m_app.loaded(m_id))
        return;
    // Only the "Quitter" buttons have a handler; the arrow pictures do nothing.
    if (m_id == FormId::Form2 && control == "Command5")
        m_app.run([this] { m_app.Command5_Click(); });
    else if (m_id == FormId::Form3 && control == "Command1")
        m_app.run([this] { m_app.Command1_Click(); });
}

void App::Events::closeBoxClicked()
{
    if (!m_app.loaded(m_id))
        return;
    // The close box unloads its window, as "quitter" or the window's "Quitter" button does.
    m_app.run([this] { m_app.unload(m_id); });
}

void App::run(const std::function<void()>& handler)
{
    if (m_failed)
        return;
    // Entered from the event loop itself, not from inside a modal box: no handler of an unloaded
    // window is on the stack any more.
    if (m_running == 0)
        m_unloaded.clear();
    struct Depth {
        int& running;
        explicit Depth(int& r) : running(r) { ++running; }
        ~Depth() { --running; }
    };
    std::optional<std::string> report;
    {
        const Depth depth(m_running);
        report = game::runHandler(handler);
    }
    if (report)
        fail(*report);
}

void App::fail(const std::string& report)
{
    if (m_failed)
        return;
    m_failed = true;
    for (const auto& window : m_windows)
        if (window)
            window->stopTimers();
    std::fprintf(stderr, "glouto: %s\n", report.c_str());
    m_frontEnd.reportError(report);
    m_frontEnd.endProgram(kRuntimeErrorExit);
}

} // namespace app
