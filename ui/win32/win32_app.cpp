// Loading, showing and unloading the three windows, the message loop and the runtime-error report.
#include "win32_app.h"

#include "runtime_error.h"
#include "win32_keys.h"
#include "win32_text.h"

#include <cstdio>

namespace win32 {

App::App(HINSTANCE instance) : m_instance(instance), m_pictures(instance)
{
    FormWindow::registerClass(instance, LoadIconW(instance, MAKEINTRESOURCEW(GLOUTO_ICON_ID)));
    // Never shown: it only owns the main window, which keeps that one out of the task bar.
    m_hiddenOwner = CreateWindowExW(0, L"STATIC", kProgramName, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                                    nullptr);
}

App::~App()
{
    // Windows first: their destruction may still talk to the owner.
    m_form1.reset();
    m_form2.reset();
    m_form3.reset();
    m_unloaded.clear();
    if (m_hiddenOwner)
        DestroyWindow(m_hiddenOwner);
}

int App::run()
{
    start();
    MSG message{};
    int status = 0;
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            status = static_cast<int>(message.wParam);
            break;
        }
        if (got < 0) {
            status = kRuntimeErrorExit;
            break;
        }
        // The keys are seen for every window of the game, whichever has the focus.
        if (isGameWindow(message.hwnd))
            feedArrowKey(message, m_keys);
        if (!preTranslate(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        // Back at the top of the loop no handler is running: unloaded windows can go.
        m_unloaded.clear();
    }
    return m_failed ? kRuntimeErrorExit : status;
}

void App::start()
{
    guard([this] {
        m_form1 = std::make_unique<MainWindow>(
            m_instance, m_pictures, m_hiddenOwner, m_module, m_keys, m_random,
            MainWindow::Callbacks{.guard = [this](const std::function<void()>& handler) { guard(handler); },
                                  .command = [this](std::string_view name) { menuCommand(name); },
                                  .unload = [this] { unloadForm1(); },
                                  .appDeactivated = [this] { m_keys.releaseAll(); }});
        m_form1->show();
    });
}

void App::menuCommand(std::string_view item)
{
    if (item == "quitter")
        quitter_Click();
    else if (item == "commandes")
        commandes_Click();
    else if (item == "apropos")
        apropos_Click();
    // "liens internet" has no command behind it.
}

void App::quitter_Click() { unloadForm1(); }

void App::commandes_Click()
{
    if (!m_form2)
        m_form2 = loadSmallWindow(forms::form2(), "Command5", &App::Command5_Click);
    m_form2->showAndActivate();
}

void App::apropos_Click()
{
    if (!m_form3)
        m_form3 = loadSmallWindow(forms::form3(), "Command1", &App::Command1_Click);
    m_form3->showAndActivate();
}

void App::Command5_Click() { unload(m_form2); }

void App::Command1_Click() { unload(m_form3); }

std::unique_ptr<FormWindow> App::loadSmallWindow(const forms::FormDef& definition, std::string_view quitButton,
                                                 void (App::*quit)())
{
    // Modeless and without owner; its "Quitter" button and its close box both unload it.
    return std::make_unique<FormWindow>(
        definition, m_instance, m_pictures, nullptr, [this](const std::function<void()>& handler) { guard(handler); },
        FormWindow::Callbacks{.command =
                                  [this, quitButton, quit](std::string_view name) {
                                      if (name == quitButton)
                                          (this->*quit)();
                                  },
                              .close = [this, quit] { (this->*quit)(); },
                              .appDeactivated = [this] { m_keys.releaseAll(); },
                              .message = {}});
}

void App::unloadForm1()
{
    if (!m_form1)
        return;
    m_form1->unload();
    m_unloaded.push_back(std::shared_ptr<MainWindow>(std::move(m_form1)));
    quitIfNoWindowLeft();
}

void App::unload(std::unique_ptr<FormWindow>& window)
{
    if (!window)
        return;
    window->destroy();
    m_unloaded.push_back(std::shared_ptr<FormWindow>(std::move(window)));
    quitIfNoWindowLeft();
}

void App::quitIfNoWindowLeft()
{
    if (!m_form1 && !m_form2 && !m_form3)
        PostQuitMessage(0);
}

bool App::isGameWindow(HWND hwnd) const
{
    if (!hwnd)
        return false;
    HWND root = GetAncestor(hwnd, GA_ROOT);
    return (m_form1 && root == m_form1->window().hwnd()) || (m_form2 && root == m_form2->hwnd()) ||
           (m_form3 && root == m_form3->hwnd());
}

bool App::preTranslate(const MSG& message)
{
    return (m_form1 && m_form1->window().preTranslate(message)) || (m_form2 && m_form2->preTranslate(message)) ||
           (m_form3 && m_form3->preTranslate(message));
}

void App::guard(const std::function<void()>& handler)
{
    if (m_failed)
        return;
    if (const auto report = game::runHandler(handler))
        fail(*report);
}

void App::fail(const std::string& report)
{
    m_failed = true;
    if (m_form1)
        m_form1->stopTimers();
    std::fprintf(stderr, "glouto: %s\n", report.c_str());
    MessageBoxW(nullptr, widen(report).c_str(), kProgramName, MB_ICONSTOP | MB_OK);
    PostQuitMessage(kRuntimeErrorExit);
}

} // namespace win32
