// Loading, showing and unloading the three windows, and the runtime-error report.
#include "game_app.h"

#include "runtime_error.h"

#include <QAction>
#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

GameApp::GameApp(std::unique_ptr<game::RandomSource> random) : m_random(std::move(random)) {}

GameApp::~GameApp() = default;

void GameApp::start()
{
    guard([this] {
        m_form1 = std::make_unique<MainWindow>(m_module, m_keys, *m_random,
                                               MainWindow::Callbacks{[this](const auto& h) { guard(h); },
                                                                     [this] { unloadForm1(); }});
        FormWindow& window = m_form1->window();
        connect(&window.menuItem("quitter"), &QAction::triggered, this, [this] { guard([this] { quitter_Click(); }); });
        connect(&window.menuItem("commandes"), &QAction::triggered, this, [this] { guard([this] { commandes_Click(); }); });
        connect(&window.menuItem("apropos"), &QAction::triggered, this, [this] { guard([this] { apropos_Click(); }); });
        // "liens internet" has no command behind it.
        m_form1->show();
    });
}

void GameApp::quitter_Click() { unloadForm1(); }

void GameApp::commandes_Click()
{
    if (!m_form2) {
        m_form2 = loadSmallWindow(forms::form2(), &GameApp::Command5_Click);
        connect(static_cast<QPushButton*>(&m_form2->control("Command5")), &QPushButton::clicked, this,
                [this] { guard([this] { Command5_Click(); }); });
    }
    m_form2->showAndActivate();
}

void GameApp::apropos_Click()
{
    if (!m_form3) {
        m_form3 = loadSmallWindow(forms::form3(), &GameApp::Command1_Click);
        connect(static_cast<QPushButton*>(&m_form3->control("Command1")), &QPushButton::clicked, this,
                [this] { guard([this] { Command1_Click(); }); });
    }
    m_form3->showAndActivate();
}

void GameApp::Command5_Click() { unload(m_form2); }

void GameApp::Command1_Click() { unload(m_form3); }

std::unique_ptr<FormWindow> GameApp::loadSmallWindow(const forms::FormDef& definition, void (GameApp::*closeHandler)())
{
    auto window = std::make_unique<FormWindow>(definition);
    // The close box does what the window's "Quitter" button does.
    window->setCloseHandler([this, closeHandler] { guard([this, closeHandler] { (this->*closeHandler)(); }); });
    return window;
}

void GameApp::unloadForm1()
{
    if (!m_form1)
        return;
    m_form1->unload();
    destroyLater(std::shared_ptr<MainWindow>(std::move(m_form1)));
}

void GameApp::unload(std::unique_ptr<FormWindow>& window)
{
    if (!window)
        return;
    window->hide();
    destroyLater(std::shared_ptr<FormWindow>(std::move(window)));
}

void GameApp::destroyLater(std::shared_ptr<void> window)
{
    // The unloaded window may have had the keyboard: Qt then keeps the application "active" with no
    // focus window, and no deactivation would ever let go of a key held in it.
    m_keys.releaseAll();
    // The unloading handler may still be running inside that window.
    m_unloaded.push_back(std::move(window));
    QTimer::singleShot(0, this, [this] { m_unloaded.clear(); });
    quitIfNoWindowLeft();
}

void GameApp::quitIfNoWindowLeft()
{
    // Counted by us, not by Qt: Qt's own rule ignores tool windows such as the about window.
    if (!m_form1 && !m_form2 && !m_form3)
        QCoreApplication::exit(0);
}

void GameApp::guard(const std::function<void()>& handler)
{
    if (m_failed)
        return;
    if (const auto report = game::runHandler(handler))
        fail(*report);
}

void GameApp::fail(const std::string& report)
{
    m_failed = true;
    if (m_form1)
        m_form1->stopTimers();
    std::fprintf(stderr, "glouto: %s\n", report.c_str());
    QMessageBox::critical(nullptr, QStringLiteral("glouto"), QString::fromStdString(report));
    QCoreApplication::exit(kRuntimeErrorExit);
}
