// Window lifetimes, the five handlers, the game-over box's side, key policy and the error guard.
#include "ui/app/app.h"

#include "game/texts.h"
#include "ui/app/errors.h"

#include <cstdio>
#include <optional>

namespace app {

const forms::FormDef& definitionOf(FormId id)
{
    switch (id) {
    case FormId::Form1: return forms::form1Definition();
    case FormId::Form2: return forms::form2Definition();
    case FormId::Form3: return forms::form3Definition();
    }
    throw internalError("unknown window");
}

App::App(FrontEnd& frontEnd, game::RandomSource& random, game::KeySource* keys)
    : m_frontEnd(frontEnd)
    , m_random(random)
    , m_keys(keys ? *keys : m_latch)
    , m_events{Events{*this, FormId::Form1}, Events{*this, FormId::Form2}, Events{*this, FormId::Form3}}
{
}

void App::start()
{
    run([this] { loadForm1(); });
}

void App::loadForm1()
{
    const forms::FormDef& definition = forms::form1Definition();
    auto window = std::make_unique<LoadedWindow>(definition, m_frontEnd, m_events[index(FormId::Form1)]);
    for (const forms::TimerDef& timer : definition.timers)
        window->addTimer(m_frontEnd, timer, [this, handler = timerHandler(timer.name)] { run(handler); });
    m_rules.emplace(designTimeControls(definition));
    m_form1View.emplace(*window);
    m_windows[index(FormId::Form1)] = std::move(window);
    m_form1View->show(*m_rules, m_rules->Form_Load());
    LoadedWindow& form1 = *m_windows[index(FormId::Form1)];
    form1.view().showAndActivate();
    form1.startTimers();
}

std::function<void()> App::timerHandler(std::string_view timer)
{
    // A tick that was already due may still come after the window was unloaded: it does nothing.
    if (timer == "Timer1")
        return [this] {
            if (loaded(FormId::Form1))
                m_form1View->show(*m_rules, m_rules->Timer1_Timer(m_keys));
        };
    if (timer == "Timer2")
        return [this] {
            if (loaded(FormId::Form1))
                pelletTick();
        };
    if (timer == "Timer3")
        return [this] {
            if (loaded(FormId::Form1))
                m_form1View->show(*m_rules, m_rules->Timer3_Timer(m_random));
        };
    throw objectRequired(timer);
}

void App::pelletTick()
{
    const game::PelletTick tick = m_rules->Timer2_Timer();
    // The character is hidden and the timers stopped before the box shows.
    m_form1View->show(*m_rules, tick.writes);
    if (!tick.captured)
        return;
    m_frontEnd.messageBox(m_rules->gameOverPrompt(), BoxIcon::Stop, game::texts::kGameOverTitle,
                          [this] { run([this] { unload(FormId::Form1); }); });
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
    if (id == FormId::Form1)
        m_form1View.reset();
    // The unloaded window may have had the keyboard, and a key held there would never be let go.
    m_latch.releaseAll();
    if (!loaded(FormId::Form1) && !loaded(FormId::Form2) && !loaded(FormId::Form3))
        m_frontEnd.endProgram(0);
}

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
        report = runHandler(handler);
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
    std::fprintf(stderr, "%s: %s\n", std::string(kProgramName).c_str(), report.c_str());
    m_frontEnd.reportError(report, [this] { m_frontEnd.endProgram(kRuntimeErrorExit); });
}

} // namespace app
