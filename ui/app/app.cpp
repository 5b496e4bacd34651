// Window lifetimes, the five handlers, and what the player and the platform tell the program.
#include "ui/app/app.h"

#include "ui/app/errors.h"

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
    : m_frontEnd(frontEnd), m_random(random), m_keys(keys ? *keys : m_latch)
{
}

void App::start()
{
    run([this] { loadForm1(); });
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
        slot = std::make_unique<LoadedWindow>(id, definitionOf(id), m_frontEnd, *this);
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
    m_latch.releaseAll(ArrowKeyLatch::kKeyboard);
    if (!loaded(FormId::Form1) && !loaded(FormId::Form2) && !loaded(FormId::Form3))
        m_frontEnd.endProgram(0);
}

void App::menuItemChosen(FormId window, std::string_view item)
{
    if (!loaded(window) || window != FormId::Form1)
        return;
    // "liens internet" and the separator have no command behind them.
    if (item == "quitter")
        run([this] { quitter_Click(); });
    else if (item == "commandes")
        run([this] { commandes_Click(); });
    else if (item == "apropos")
        run([this] { apropos_Click(); });
}

void App::buttonClicked(FormId window, std::string_view control)
{
    if (!loaded(window))
        return;
    // Only the "Quitter" buttons have a handler; the arrow pictures do nothing.
    if (window == FormId::Form2 && control == "Command5")
        run([this] { Command5_Click(); });
    else if (window == FormId::Form3 && control == "Command1")
        run([this] { Command1_Click(); });
}

void App::closeBoxClicked(FormId window)
{
    if (!loaded(window))
        return;
    // The close box unloads its window, as "quitter" or the window's "Quitter" button does.
    run([this, window] { unload(window); });
}

void App::keyDown(ArrowKey key, bool autoRepeat) { m_latch.keyDown(key, autoRepeat); }
void App::keyUp(ArrowKey key) { m_latch.release(key); }
void App::failed(std::string_view report) { fail(report); }

} // namespace app
