// Soak of the real windows, offscreen: one game after another, each with a fresh GameApp, driven
// by random input for a bounded time. Checks every step that nothing leaks, sticks or ends early,
// and prints the figures at the end.
//
//   glouto_soak [--seconds N] [--seed S] [--max-growth-kb K]
//
// --max-growth-kb: fail when resident memory grows by more than K kB per 1,000 window open/close
// cycles after warm-up (ignored under AddressSanitizer, whose quarantine holds freed memory).
#include "tests/support/rules_state.h"
#include "tests/support/watched_game.h"

#include <qpa/qwindowsysteminterface.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <set>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
#define GLOUTO_SOAK_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define GLOUTO_SOAK_ASAN 1
#endif
#endif

namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void fail(const std::string& what)
{
    std::fprintf(stderr, "soak: FAILED: %s\n", what.c_str());
    std::fflush(stderr);
    std::_Exit(2);
}

void check(bool ok, const std::string& what)
{
    if (!ok)
        fail(what);
}

long residentKb()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Steers the monster: mostly zero draws, so the chase and momentum bonuses decide the step and the
// monster hunts the character down; now and then a real draw, so it does not run on rails.
class SteeringRandom final : public game::RandomSource {
public:
    explicit SteeringRandom(std::uint32_t seed) : m_rng(seed) {}
    void reseedFromClock() override {}
    double draw() override
    {
        std::uniform_real_distribution<double> uniform(0.0, 1.0);
        return uniform(m_rng) < 0.7 ? 0.0 : uniform(m_rng);
    }

private:
    std::mt19937 m_rng;
};

struct Figures {
    long steps = 0;
    long keyPresses = 0;
    long keyReleases = 0;
    long deactivations = 0;
    long focusChanges = 0;
    long menuCommands = 0;
    long buttonClicks = 0;
    long closeBoxes = 0;
    long charactersTyped = 0;
    long windowCycles = 0; // a key-help or about window opened and closed again
    long games = 0;
    long captures = 0;
    long quits = 0;
};

constexpr std::array<Qt::Key, 4> kArrows{Qt::Key_Left, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down};
constexpr std::array<game::ArrowKey, 4> kArrowKeys{game::ArrowKey::Left, game::ArrowKey::Up, game::ArrowKey::Right,
                                                   game::ArrowKey::Down};

// One game, from start() until GameApp asks the application to exit.
class GameDriver {
public:
    GameDriver(std::mt19937& rng, Figures& figures, Clock::time_point deadline)
        : m_rng(rng), m_figures(figures), m_deadline(deadline), m_game(std::make_unique<SteeringRandom>(rng()))
    {
    }

    void play()
    {
        QTimer driver;
        driver.setInterval(0);
        QObject::connect(&driver, &QTimer::timeout, [this] { step(); });
        m_game.start();
        check(m_game.mainWindow() != nullptr, "the main window did not load");
        m_gameStart = Clock::now();
        m_endAfter = std::chrono::milliseconds(500 + pick(4500));
        m_quitInstead = chance(0.2);
        driver.start();
        const int status = QApplication::exec();
        check(status == 0, "the game ended with status " + std::to_string(status));
        check(!anyWindow(), "the program ended while a window was still loaded");
        check(m_boxes == (m_captured ? 1 : 0), "game-over boxes: " + std::to_string(m_boxes));
        ++m_figures.games;
    }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }
    bool chance(double p) { return std::uniform_real_distribution<double>(0.0, 1.0)(m_rng) < p; }

    bool anyWindow() const { return m_game.mainWindow() || m_game.keyHelpWindow() || m_game.aboutWindow(); }

    void step()
    {
        ++m_figures.steps;
        // GameApp asks to exit in the very handler that unloads the last window, so no later step
        // may find the program still running without one.
        check(anyWindow(), "still running after the last window was unloaded");
        // Every game is brought to its end within seconds; a minute means it cannot end.
        check(Clock::now() - m_gameStart < std::chrono::minutes(1), "a game did not end within a minute");
        if (QWidget* modal = QApplication::activeModalWidget()) {
            handleModal(modal);
            return;
        }
        check(!m_captured || m_game.mainWindow() == nullptr, "main window still loaded after the game-over box");
        trackSmallWindows();
        act();
        trackSmallWindows();
    }

    void handleModal(QWidget* modal)
    {
        auto* box = qobject_cast<QMessageBox*>(modal);
        check(box != nullptr, "unexpected modal window");
        if (box->windowTitle() != QStringLiteral("Tu t'est fait manger ^^"))
            fail("unexpected message box: " + box->windowTitle().toStdString() + ": " + box->text().toStdString());
        if (m_boxSeen.data() != box) {
            m_boxSeen = box;
            ++m_boxes;
            ++m_figures.captures;
            m_captured = true;
            check(m_boxes == 1, "a second game-over box for one capture");
            app::LoadedWindow* form1 = m_game.app().window(app::FormId::Form1);
            check(form1 != nullptr, "game-over box without a main window");
            const QString expected = QStringLiteral("Niark Niark !!!!!! GAME OVER !!!!!!    points:") +
                                     QString::number(support::rules(m_game.app()).points);
            check(box->text() == expected, "game-over text: " + box->text().toStdString());
            const game::Form1& rules = support::rules(m_game.app());
            const game::ControlState& monster = rules.controls[game::ControlId::Picture5];
            check(monster.top == rules.module.actorTop && monster.left == rules.module.actorLeft,
                  "game over while the monster is away from the character");
            m_boxOpenedAt = Clock::now();
            m_boxReadFor = std::chrono::milliseconds(pick(150));
        }
        // Keys pressed while the box is up still reach the latch.
        if (chance(0.05))
            sendArrow(box);
        if (Clock::now() - m_boxOpenedAt < m_boxReadFor)
            return;
        if (chance(0.5))
            box->button(QMessageBox::Ok)->click();
        else
            box->close();
    }

    void trackSmallWindows()
    {
        // A window cycle ends when a window that was loaded is gone.
        if (m_hadForm2 && !m_game.keyHelpWindow())
            ++m_figures.windowCycles;
        if (m_hadForm3 && !m_game.aboutWindow())
            ++m_figures.windowCycles;
        m_hadForm2 = m_game.keyHelpWindow() != nullptr;
        m_hadForm3 = m_game.aboutWindow() != nullptr;
    }

    void act()
    {
        FormWindow* form1 = m_game.mainWindow();
        // Past the deadline, or once the main window is gone, wind the game down: close whatever
        // is left so that the program ends.
        const bool windDown = !form1 || Clock::now() > m_deadline;
        switch (pick(12)) {
        case 0:
        case 1:
        case 2: pressOrRelease(); break;
        case 3:
            if (chance(0.3))
                deactivate();
            else
                changeFocus();
            break;
        case 4:
            if (form1)
                menu(*form1);
            break;
        case 5:
        case 6: smallWindow(windDown); break;
        case 7: typeIntoText1(); break;
        case 8:
            if (form1 && Clock::now() - m_gameStart > m_endAfter) {
                if (m_quitInstead) {
                    quit(*form1);
                } else {
                    // The monster onto the character: a capture at the pellet tick unless it steps
                    // away first.
                    game::Form1& rules = support::rules(m_game.app());
                    rules.controls[game::ControlId::Picture5].top = rules.module.actorTop;
                    rules.controls[game::ControlId::Picture5].left = rules.module.actorLeft;
                }
            }
            break;
        case 9:
            if (form1 && windDown && chance(0.05))
                quit(*form1);
            break;
        default:
            if (windDown)
                smallWindow(true);
            break;
        }
    }

    void quit(FormWindow& form1)
    {
        ++m_figures.quits;
        if (chance(0.5)) {
            ++m_figures.menuCommands;
            form1.menuItem("quitter").trigger();
        } else {
            ++m_figures.closeBoxes;
            form1.close();
        }
        check(m_game.mainWindow() == nullptr, "the main window stayed loaded after quitting");
    }

    QWidget* keyTarget()
    {
        if (QWidget* focus = QApplication::focusWidget())
            return focus;
        return QApplication::activeWindow();
    }

    void sendArrow(QWidget* target)
    {
        const int i = pick(4);
        const bool release = m_held.count(i) != 0 && chance(0.6);
        QKeyEvent event(release ? QEvent::KeyRelease : QEvent::KeyPress, kArrows[static_cast<std::size_t>(i)],
                        Qt::NoModifier, QString(), /*autorep=*/!release && m_held.count(i) != 0);
        QApplication::sendEvent(target, &event);
        if (release) {
            m_held.erase(i);
            ++m_figures.keyReleases;
        } else {
            m_held.insert(i);
            ++m_figures.keyPresses;
        }
    }

    void pressOrRelease()
    {
        if (QWidget* target = keyTarget())
            sendArrow(target);
        // With every key up, nothing may stay held.
        if (m_held.empty())
            for (const game::ArrowKey key : kArrowKeys)
                check((m_game.app().latch().GetAsyncKeyState(key) & 0x8000) == 0, "key held after its release");
    }

    void deactivate()
    {
        // The keyboard goes to another program: releases made there never reach us.
        ++m_figures.deactivations;
        using Sync = QWindowSystemInterface::SynchronousDelivery;
        if (!QGuiApplication::focusWindow()) {
            // Closing the focused window leaves Qt with no focus window yet still active, and then a
            // deactivation changes nothing (test_focus_loss.cpp). A desktop hands the focus to one of
            // our remaining windows first; do the same.
            const auto shown = windows();
            if (shown.empty())
                return;
            QWindowSystemInterface::handleWindowActivated<Sync>(shown.front()->windowHandle());
        }
        QWindowSystemInterface::handleWindowActivated<Sync>(nullptr);
        check(QGuiApplication::applicationState() != Qt::ApplicationActive, "the application stayed active");
        m_held.clear();
        for (const game::ArrowKey key : kArrowKeys) {
            check((m_game.app().latch().GetAsyncKeyState(key) & 0x8000) == 0, "key stuck after focus loss");
            check(m_game.app().latch().GetAsyncKeyState(key) == 0, "key still reported after focus loss");
        }
    }

    std::vector<FormWindow*> windows()
    {
        std::vector<FormWindow*> shown;
        if (m_game.mainWindow())
            shown.push_back(m_game.mainWindow());
        for (FormWindow* w : {m_game.keyHelpWindow(), m_game.aboutWindow()})
            if (w)
                shown.push_back(w);
        return shown;
    }

    void changeFocus()
    {
        const auto shown = windows();
        if (shown.empty())
            return;
        ++m_figures.focusChanges;
        FormWindow* window = shown[static_cast<std::size_t>(pick(static_cast<int>(shown.size())))];
        window->activateWindow();
        // And now and then a control of it.
        const auto children = window->findChildren<QWidget*>();
        if (!children.isEmpty() && chance(0.5))
            children[pick(static_cast<int>(children.size()))]->setFocus(Qt::OtherFocusReason);
    }

    void menu(FormWindow& form1)
    {
        static constexpr std::array<const char*, 3> kItems{"commandes", "apropos", "liensinter"};
        ++m_figures.menuCommands;
        const char* item = kItems[static_cast<std::size_t>(pick(3))];
        const bool wasOpen = (item == std::string("commandes") ? m_game.keyHelpWindow() : m_game.aboutWindow()) != nullptr;
        FormWindow* before = item == std::string("commandes") ? m_game.keyHelpWindow() : m_game.aboutWindow();
        form1.menuItem(item).trigger();
        if (item == std::string("liensinter"))
            return;
        FormWindow* after = item == std::string("commandes") ? m_game.keyHelpWindow() : m_game.aboutWindow();
        check(after != nullptr && after->isVisible(), std::string(item) + " did not show its window");
        check(!wasOpen || after == before, std::string(item) + " made a second window");
        if (!wasOpen && item == std::string("apropos"))
            checkFreshText1(*after);
    }

    // Nothing typed into the about window survives its closing.
    void checkFreshText1(FormWindow& form3)
    {
        const QString text = qobject_cast<QLineEdit*>(&form3.control("Text1"))->text();
        if (m_text1.isNull())
            m_text1 = text;
        check(text == m_text1, "Text1 kept an old edit: " + text.toStdString());
    }

    void smallWindow(bool closeOnly)
    {
        const bool keyHelp = chance(0.5);
        FormWindow* window = keyHelp ? m_game.keyHelpWindow() : m_game.aboutWindow();
        if (!window) {
            if (!closeOnly && m_game.mainWindow())
                menu(*m_game.mainWindow());
            return;
        }
        if (!closeOnly && chance(0.6)) {
            // Something harmless inside it first: an arrow button of the key help does nothing.
            if (keyHelp) {
                static constexpr std::array<const char*, 4> kArrowButtons{"Command1", "Command2", "Command3", "Command4"};
                ++m_figures.buttonClicks;
                static_cast<QAbstractButton&>(window->control(kArrowButtons[static_cast<std::size_t>(pick(4))])).click();
            }
            return;
        }
        if (chance(0.5)) {
            ++m_figures.buttonClicks;
            static_cast<QPushButton&>(window->control(keyHelp ? "Command5" : "Command1")).click();
        } else {
            ++m_figures.closeBoxes;
            window->close();
        }
        check((keyHelp ? m_game.keyHelpWindow() : m_game.aboutWindow()) == nullptr, "window not unloaded by its close");
    }

    void typeIntoText1()
    {
        FormWindow* form3 = m_game.aboutWindow();
        if (!form3)
            return;
        auto* text1 = qobject_cast<QLineEdit*>(&form3->control("Text1"));
        const QChar c(QLatin1Char(static_cast<char>('a' + pick(26))));
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A + (c.unicode() - 'a'), Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_A + (c.unicode() - 'a'), Qt::NoModifier, QString(c));
        QApplication::sendEvent(text1, &press);
        QApplication::sendEvent(text1, &release);
        ++m_figures.charactersTyped;
    }

    std::mt19937& m_rng;
    Figures& m_figures;
    Clock::time_point m_deadline;
    support::WatchedGame m_game;
    Clock::time_point m_gameStart;
    // Until then the steered monster hunts on its own; after it, it is put onto the character, or
    // the player quits.
    std::chrono::milliseconds m_endAfter{};
    bool m_quitInstead = false;
    std::set<int> m_held;
    bool m_hadForm2 = false;
    bool m_hadForm3 = false;
    bool m_captured = false;
    int m_boxes = 0;
    QPointer<QMessageBox> m_boxSeen;
    Clock::time_point m_boxOpenedAt;
    std::chrono::milliseconds m_boxReadFor{};
    QString m_text1;
};

} // namespace

int main(int argc, char* argv[])
{
    int seconds = 60;
    std::uint32_t seed = static_cast<std::uint32_t>(Clock::now().time_since_epoch().count());
    double maxGrowthKb = -1;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--seconds")
            seconds = std::atoi(argv[i + 1]);
        else if (option == "--seed")
            seed = static_cast<std::uint32_t>(std::strtoul(argv[i + 1], nullptr, 10));
        else if (option == "--max-growth-kb")
            maxGrowthKb = std::atof(argv[i + 1]);
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    std::printf("soak: %d s, seed %u\n", seconds, seed);
    std::fflush(stdout);

    std::mt19937 rng(seed);
    Figures figures;
    const auto start = Clock::now();
    const auto deadline = start + std::chrono::seconds(seconds);
    // Memory is read between games, once a quarter of the time (at most a minute) has gone by.
    const auto warmUpEnd = start + std::min(std::chrono::seconds(seconds) / 4, std::chrono::seconds(60));
    long warmKb = -1;
    long warmCycles = 0;
    while (Clock::now() < deadline) {
        GameDriver(rng, figures, deadline).play();
        // Let the deferred deletions run, then no window of a finished game may remain.
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
        check(QApplication::topLevelWidgets().isEmpty(),
              std::to_string(QApplication::topLevelWidgets().size()) + " top-level widgets left after a game");
        if (warmKb < 0 && Clock::now() >= warmUpEnd) {
            warmKb = residentKb();
            warmCycles = figures.windowCycles + figures.games;
        }
    }
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    const long endKb = residentKb();
    const long cycles = figures.windowCycles + figures.games - warmCycles;
    const double growthPer1000 = cycles > 0 && warmKb >= 0 ? (endKb - warmKb) * 1000.0 / cycles : 0.0;
    const long events = figures.keyPresses + figures.keyReleases + figures.deactivations + figures.focusChanges +
                        figures.menuCommands + figures.buttonClicks + figures.closeBoxes + figures.charactersTyped;

    std::printf("soak: %.1f s, %ld driver steps, %ld input events\n", elapsed, figures.steps, events);
    std::printf("soak: keys %ld pressed / %ld released, %ld deactivations, %ld focus changes\n",
                figures.keyPresses, figures.keyReleases, figures.deactivations, figures.focusChanges);
    std::printf("soak: %ld menu commands, %ld button clicks, %ld close boxes, %ld characters typed\n",
                figures.menuCommands, figures.buttonClicks, figures.closeBoxes, figures.charactersTyped);
    std::printf("soak: %ld games (%ld captures, %ld quits), %ld small-window cycles\n", figures.games,
                figures.captures, figures.quits, figures.windowCycles);
    std::printf("soak: resident %ld kB after warm-up, %ld kB at the end: %+.1f kB per 1000 window cycles\n",
                warmKb, endKb, growthPer1000);
    check(figures.games > 0 && figures.captures > 0, "no game reached a capture");
#ifndef GLOUTO_SOAK_ASAN
    if (maxGrowthKb >= 0)
        check(growthPer1000 <= maxGrowthKb, "resident memory grows");
#else
    (void)maxGrowthKb;
#endif
    std::printf("soak: passed\n");
    return 0;
}
