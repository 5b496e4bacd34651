// Keys held when the keyboard leaves the game must not stay held: their releases go elsewhere.
#include "tests/support/watched_game.h"

#include <qpa/qwindowsysteminterface.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>

#include <gtest/gtest.h>

namespace {

void processFor(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

// The window system takes the keyboard to another program. Offscreen there is none to do it, so
// tell Qt what a desktop would; under X11 the server's own focus change does it.
void keyboardGoesElsewhere()
{
    if (QGuiApplication::platformName() == QStringLiteral("offscreen"))
        QWindowSystemInterface::handleWindowActivated<QWindowSystemInterface::SynchronousDelivery>(nullptr);
    processFor(1000);
}

bool held(support::WatchedGame& game, game::ArrowKey key) { return (game.app().latch().GetAsyncKeyState(key) & 0x8000) != 0; }

void pressRight(QWidget& target)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    QApplication::sendEvent(&target, &press);
}

// Closing the about window while an arrow key is held, with the keyboard then going to another
// program, leaves Qt without a focus window but still "active": no deactivation reaches the latch.
TEST(FocusLoss, KeyHeldWhileTheFocusedWindowClosesIsReleased)
{
    support::WatchedGame game;
    game.start();
    game.app().apropos_Click();
    processFor(300);
    ASSERT_NE(game.aboutWindow(), nullptr);
    pressRight(game.aboutWindow()->control("Text1"));
    ASSERT_TRUE(held(game, game::ArrowKey::Right));

    static_cast<QAbstractButton&>(game.aboutWindow()->control("Command1")).click();
    // The window is gone by the time the window system reports where the keyboard went.
    processFor(300);
    keyboardGoesElsewhere();
    EXPECT_FALSE(held(game, game::ArrowKey::Right)) << "state " << QGuiApplication::applicationState() << ", focus window "
                                                    << QGuiApplication::focusWindow();
    game.app().quitter_Click();
}

TEST(FocusLoss, KeyHeldInTheMainWindowIsReleased)
{
    support::WatchedGame game;
    game.start();
    processFor(300);
    pressRight(*game.mainWindow());
    ASSERT_TRUE(held(game, game::ArrowKey::Right));
    keyboardGoesElsewhere();
    EXPECT_FALSE(held(game, game::ArrowKey::Right));
    game.app().quitter_Click();
}

} // namespace

int main(int argc, char* argv[])
{
    testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    return RUN_ALL_TESTS();
}
