// Building Form1, binding its timers to their handlers, and the game-over box.
#include "main_window.h"

#include "runtime_error.h"

#include <QMessageBox>

namespace {

QMessageBox::Icon iconOf(int style)
{
    // Only the icon part of the style matters here: every box of the game has a single OK button.
    switch (style & 0x70) {
    case 16: return QMessageBox::Critical;
    case 32: return QMessageBox::Question;
    case 48: return QMessageBox::Warning;
    case 64: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

QString qText(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// Builds the window and the adapters before the engine binds to them by name.
std::unique_ptr<FormWindow> buildWindow(game::ControlTable& controls, std::vector<std::unique_ptr<QTimer>>& timers)
{
    auto window = std::make_unique<FormWindow>(forms::form1());
    for (const forms::ControlDef& def : forms::form1().controls)
        controls.add(def.name, std::make_unique<WidgetControl>(window->control(def.name), def));
    for (const forms::TimerDef& def : forms::form1().timers) {
        auto timer = std::make_unique<QTimer>();
        // Gameplay clocks: the default coarse timer may stretch a period by up to 5 %.
        timer->setTimerType(Qt::PreciseTimer);
        timer->setInterval(def.intervalMs);
        timer->setObjectName(qText(def.name));
        controls.add(def.name, std::make_unique<TimerControl>(*timer));
        timers.push_back(std::move(timer));
    }
    return window;
}

} // namespace

MainWindow::MainWindow(game::Module1& module, game::KeySource& keys, game::RandomSource& random, Callbacks callbacks)
    : m_callbacks(std::move(callbacks))
    , m_window(buildWindow(m_controls, m_timers))
    , m_game(module, *this, keys, random)
{
    for (std::size_t i = 0; i < m_timers.size(); ++i) {
        const game::Form1::Handler handler = game::Form1::timerHandler(forms::form1().timers[i].name);
        QObject::connect(m_timers[i].get(), &QTimer::timeout, m_window.get(),
                         [this, handler] { m_callbacks.guard([this, handler] { (m_game.*handler)(); }); });
    }
    m_window->setCloseHandler([this] { m_callbacks.guard(m_callbacks.unload); });
    m_game.Form_Load();
}

MainWindow::~MainWindow() = default;

void MainWindow::show()
{
    m_window->showAndActivate();
    for (std::size_t i = 0; i < m_timers.size(); ++i)
        if (forms::form1().timers[i].enabled)
            m_timers[i]->start();
}

void MainWindow::stopTimers()
{
    for (auto& timer : m_timers)
        timer->stop();
}

void MainWindow::unload()
{
    stopTimers();
    m_window->hide();
}

game::Control& MainWindow::control(std::string_view name) { return m_controls.at(name); }

void MainWindow::messageBox(std::string_view prompt, int style, std::string_view title)
{
    QMessageBox box(iconOf(style), qText(title), qText(prompt), QMessageBox::Ok, m_window.get());
    box.exec();
}

void MainWindow::unloadForm1() { m_callbacks.unload(); }
