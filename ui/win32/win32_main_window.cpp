// Building Form1, binding its timers to their handlers, and the game-over box.
#include "win32_main_window.h"

#include "runtime_error.h"
#include "win32_text.h"

#include <vector>

namespace win32 {
namespace {

// Posted by the tick thread, with the timer's index in the definition in wParam.
constexpr UINT kTickMessage = WM_APP + 1;

std::vector<int> periods(const forms::FormDef& form)
{
    std::vector<int> result;
    for (const forms::TimerDef& timer : form.timers)
        result.push_back(timer.intervalMs);
    return result;
}

// The engine binds to its controls by name when it is constructed, so they exist before it.
game::ControlTable bindControls(FormWindow& window, TickTimers& timers)
{
    game::ControlTable controls;
    const forms::FormDef& form = window.definition();
    for (const forms::ControlDef& def : form.controls)
        controls.add(def.name, std::make_unique<WindowControl>(window.control(def.name), def));
    for (std::size_t i = 0; i < form.timers.size(); ++i)
        controls.add(form.timers[i].name, std::make_unique<TimerControl>(timers, i));
    return controls;
}

} // namespace

MainWindow::MainWindow(HINSTANCE instance, PictureCache& pictures, HWND hiddenOwner, game::Module1& module,
                       game::KeySource& keys, game::RandomSource& random, Callbacks callbacks)
    : m_callbacks(std::move(callbacks))
    , m_window(std::make_unique<FormWindow>(
          forms::form1(), instance, pictures, hiddenOwner, m_callbacks.guard,
          FormWindow::Callbacks{.command = m_callbacks.command,
                                .close = m_callbacks.unload,
                                .appDeactivated = m_callbacks.appDeactivated,
                                .message = [this](UINT message, WPARAM wParam, LPARAM) {
                                    return onMessage(message, wParam);
                                }}))
    , m_timers(std::make_unique<TickTimers>(m_window->hwnd(), kTickMessage, periods(forms::form1())))
    , m_controls(bindControls(*m_window, *m_timers))
    , m_game(module, *this, keys, random)
{
    m_game.Form_Load();
}

MainWindow::~MainWindow() = default;

bool MainWindow::onMessage(UINT message, WPARAM wParam)
{
    if (message != kTickMessage)
        return false;
    const std::span<const forms::TimerDef> timers = forms::form1().timers;
    if (wParam >= timers.size() || !m_timers->takeTick(wParam))
        return true;
    (m_game.*game::Form1::timerHandler(timers[wParam].name))();
    return true;
}

void MainWindow::show()
{
    m_window->showAndActivate();
    const std::span<const forms::TimerDef> timers = forms::form1().timers;
    for (std::size_t i = 0; i < timers.size(); ++i)
        if (timers[i].enabled)
            m_timers->setEnabled(i, true);
}

void MainWindow::stopTimers()
{
    for (std::size_t i = 0; i < forms::form1().timers.size(); ++i)
        m_timers->setEnabled(i, false);
}

void MainWindow::unload()
{
    stopTimers();
    m_window->destroy();
}

game::Control& MainWindow::control(std::string_view name) { return m_controls.at(name); }

void MainWindow::messageBox(std::string_view prompt, int style, std::string_view title)
{
    // Owned by the main window, which stays disabled until the box is closed.
    MessageBoxW(m_window->hwnd(), widen(prompt).c_str(), widen(title).c_str(), static_cast<UINT>(style));
}

void MainWindow::unloadForm1() { m_callbacks.unload(); }

} // namespace win32
