// Helpers for driving the real front end offscreen: scripted dice, a catcher for modal boxes, a
// spy on the game's timers, a bounded event loop, and pixel tests for grabbed windows.
#pragma once

#include "tests/support/rules_state.h"
#include "tests/support/watched_game.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QImage>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qtt {

// Draws repeat a fixed cycle; each monster tick makes four draws (right, left, up, down).
class ScriptedRandom final : public game::RandomSource {
public:
    explicit ScriptedRandom(std::vector<double> cycle) : m_cycle(std::move(cycle)) {}
    void reseedFromClock() override {}
    double draw() override { return m_cycle[m_next++ % m_cycle.size()]; }

private:
    std::vector<double> m_cycle;
    std::size_t m_next = 0;
};

// The right-hand weight always draws 9: the monster runs off along its row to the far right edge
// and paces there, well away from the character's corner, so no test is ended by a stray capture.
inline std::unique_ptr<game::RandomSource> monsterStaysFarRight()
{
    return std::make_unique<ScriptedRandom>(std::vector<double>{0.99, 0.0, 0.0, 0.0});
}

// A modal box as the player saw it.
struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttonCount = 0;
    QMessageBox::StandardButtons standardButtons;
    bool okHasIcon = false;
    bool isMessageBox = false;
};

// Closes every modal window as soon as it shows, the way a player clicks OK, after noting what it
// said. `whileShown` runs first, with the box still open, to look at the game behind it.
class ModalBoxCatcher final : public QObject {
public:
    ModalBoxCatcher()
    {
        m_poll.setInterval(10);
        connect(&m_poll, &QTimer::timeout, this, &ModalBoxCatcher::poll);
        m_poll.start();
    }

    const std::vector<SeenBox>& seen() const { return m_seen; }
    std::function<void()> whileShown;
    // Whether the catcher closes the box itself; a test that closes it another way says no.
    bool closes = true;

private:
    void poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal->property("qttSeen").toBool())
            return;
        modal->setProperty("qttSeen", true);
        SeenBox seen;
        seen.title = modal->windowTitle();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            seen.isMessageBox = true;
            seen.text = box->text();
            seen.icon = box->icon();
            seen.buttonCount = static_cast<int>(box->buttons().size());
            seen.standardButtons = box->standardButtons();
            seen.okHasIcon = box->button(QMessageBox::Ok) && !box->button(QMessageBox::Ok)->icon().isNull();
        }
        m_seen.push_back(seen);
        if (whileShown)
            whileShown();
        if (!closes)
            return;
        if (auto* box = qobject_cast<QMessageBox*>(modal); box && box->button(QMessageBox::Ok))
            box->button(QMessageBox::Ok)->click();
        else
            modal->close();
    }

    QTimer m_poll;
    std::vector<SeenBox> m_seen;
};

// Finds the game's timers by the timer events Qt delivers to them, and counts their ticks.
class TimerSpy final : public QObject {
public:
    TimerSpy() { qApp->installEventFilter(this); }
    ~TimerSpy() override { qApp->removeEventFilter(this); }

    QTimer* timer(const QString& name) const
    {
        const auto found = m_timers.find(name);
        return found == m_timers.end() ? nullptr : found->second.data();
    }
    int ticks(const QString& name) const
    {
        const auto found = m_ticks.find(name);
        return found == m_ticks.end() ? 0 : found->second;
    }
    int totalTicks() const
    {
        int total = 0;
        for (const auto& [name, count] : m_ticks)
            total += count;
        return total;
    }
    bool foundAll() const { return timer("Timer1") && timer("Timer2") && timer("Timer3"); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Timer) {
            if (auto* t = qobject_cast<QTimer*>(watched); t && t->objectName().startsWith(QLatin1String("Timer"))) {
                m_timers[t->objectName()] = t;
                ++m_ticks[t->objectName()];
            }
        }
        return false;
    }

private:
    std::map<QString, QPointer<QTimer>> m_timers;
    std::map<QString, int> m_ticks;
};

// Status of a loop that nothing in the game ended.
inline constexpr int kStillRunning = -1000;
// Status of a loop ended by the safety net.
inline constexpr int kTimedOut = -2000;

// Runs the application's own event loop, as the program's main() does: `steps` runs on its first
// turn, the way a handler would, then the loop goes on for `settleMs`. Returns the status the game
// ended the loop with, or kStillRunning. Bounded by a safety net whatever happens inside.
inline int runEventLoop(const std::function<void()>& steps, int settleMs = 0)
{
    QTimer settle;
    settle.setSingleShot(true);
    QObject::connect(&settle, &QTimer::timeout, [] { QCoreApplication::exit(kStillRunning); });
    QTimer kick;
    kick.setSingleShot(true);
    QObject::connect(&kick, &QTimer::timeout, [&] {
        if (steps)
            steps();
        settle.start(settleMs);
    });
    QTimer safety;
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, [] { QCoreApplication::exit(kTimedOut); });
    safety.start(30000);
    kick.start(0);
    return QApplication::exec();
}

// True when something asked the application to exit while no event loop was running (such a
// request makes the next local loop return at once). Clears the request.
inline bool strayExitRequested()
{
    QEventLoop probe;
    QTimer tick;
    tick.setSingleShot(true);
    QObject::connect(&tick, &QTimer::timeout, &probe, [&] { probe.exit(0); });
    tick.start(0);
    const bool stray = probe.exec() == -1;
    if (stray)
        runEventLoop({});
    return stray;
}

inline bool waitFor(const std::function<bool()>& condition, int timeoutMs = 2000)
{
    return QTest::qWaitFor(condition, timeoutMs);
}

// Visible top-level windows with that title.
inline int visibleWindowsTitled(const QString& title)
{
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowTitle() == title)
            ++count;
    return count;
}

inline QString qs(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// Twips to the front end's logical pixels, rounded to the nearest.
inline int px(int twips) { return static_cast<int>(std::lround(twips / 15.0)); }

// Colour tests for the board's flat colours.
inline int luminance(QRgb c) { return (qRed(c) * 299 + qGreen(c) * 587 + qBlue(c) * 114) / 1000; }
inline bool isYellow(QRgb c) { return qRed(c) > 180 && qGreen(c) > 160 && qBlue(c) < 110; }
inline bool isBlue(QRgb c) { return qBlue(c) > 160 && qRed(c) < 130 && qGreen(c) < 170; }
inline bool isWhite(QRgb c) { return qRed(c) > 220 && qGreen(c) > 220 && qBlue(c) > 220; }
inline bool isBlack(QRgb c) { return qRed(c) < 40 && qGreen(c) < 40 && qBlue(c) < 40; }

inline int countPixels(const QImage& image, const QRect& area, const std::function<bool(QRgb)>& test)
{
    int count = 0;
    const QRect clipped = area.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y)
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            if (test(image.pixel(x, y)))
                ++count;
    return count;
}

inline QImage grabImage(QWidget& widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Keeps a grab for a person to look at when GLOUTO_TEST_GRABS names a folder.
inline void keepGrab(const QImage& image, const QString& name)
{
    const QString folder = qEnvironmentVariable("GLOUTO_TEST_GRABS");
    if (!folder.isEmpty())
        image.save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

// Each test gets its own game, a catcher for any modal box, and a clean application afterwards.
class GameFixture : public ::testing::Test {
protected:
    void TearDown() override
    {
        app.reset();
        // Windows the game unloaded are destroyed on a later turn: let that happen now.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        // A leftover exit request would end the next test's loops at once.
        strayExitRequested();
    }

    support::WatchedGame& startGame(std::unique_ptr<game::RandomSource> random = monsterStaysFarRight())
    {
        app = std::make_unique<support::WatchedGame>(std::move(random));
        app->start();
        return *app;
    }

    // Puts the monster onto the character right after one of its own steps, so the pellet tick,
    // not another monster step, is the next to look at the board.
    void catchCharacterAfterNextMonsterStep(TimerSpy& spy)
    {
        ASSERT_TRUE(waitFor([&] { return spy.timer("Timer3") != nullptr; }));
        QObject::connect(spy.timer("Timer3"), &QTimer::timeout, app->mainWindow(), [this, done = false]() mutable {
            if (done || !app->mainWindow())
                return;
            done = true;
            control("Picture5").top = control("Picture1").top;
            control("Picture5").left = control("Picture1").left;
        });
    }

    // The rules' state of a main window control.
    game::ControlState& control(std::string_view name) { return support::ruleControl(app->app(), name); }
    QWidget& widget(std::string_view name) { return app->mainWindow()->control(name); }

    ModalBoxCatcher boxes;
    std::unique_ptr<support::WatchedGame> app;
};

} // namespace qtt
