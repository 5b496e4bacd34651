// Which windows exist when, and when the program ends: menu commands, "Quitter" buttons, close
// boxes, the game over and a runtime error.
#include "tests/qt/qt_test_support.h"

#include <QLabel>
#include <QLineEdit>

namespace {

using qtt::kStillRunning;
using qtt::runEventLoop;
using qtt::visibleWindowsTitled;

const QString kMainTitle = qtt::qs(forms::form1Definition().caption);

class WindowLifetime : public qtt::GameFixture {
protected:
    QAction& menuItem(std::string_view name) { return app->mainWindow()->menuItem(name); }

    // The game's visible state: where the character is, what it faces, the score and the pellets.
    std::string gameState()
    {
        std::string state = std::to_string(control("Picture1").left) + "," + std::to_string(control("Picture1").top);
        for (const char* facing : {"Picture1", "Picture2", "Picture3", "Picture4"})
            state += control(facing).visible ? "1" : "0";
        state += " points " + std::to_string(app->app().rules()->points);
        for (int i = 3; i <= 17; ++i)
            state += control("Image" + std::to_string(i)).visible ? "+" : "-";
        return state;
    }
};

TEST_F(WindowLifetime, EachSmallWindowOpensOnceAndComesToTheFrontWhenChosenAgain)
{
    startGame();
    struct Case {
        const char* item;
        QString title;
        FormWindow* (support::WatchedGame::*loaded)() const;
    };
    for (const Case& c : {Case{"commandes", "commandes", &support::WatchedGame::keyHelpWindow}, Case{"apropos", "A propos", &support::WatchedGame::aboutWindow}}) {
        SCOPED_TRACE(c.item);
        menuItem(c.item).trigger();
        FormWindow* first = (app.get()->*c.loaded)();
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(visibleWindowsTitled(c.title), 1);

        // The player goes back to the board, then chooses the command again.
        app->mainWindow()->activateWindow();
        ASSERT_TRUE(qtt::waitFor([&] { return QApplication::activeWindow() == app->mainWindow(); }));
        menuItem(c.item).trigger();
        EXPECT_EQ((app.get()->*c.loaded)(), first);
        EXPECT_EQ(visibleWindowsTitled(c.title), 1);
        EXPECT_TRUE(qtt::waitFor([&] { return QApplication::activeWindow() == first; })) << "brought to the front";
    }
    // Both stay open side by side, and the game goes on behind them.
    EXPECT_EQ(visibleWindowsTitled("commandes"), 1);
    EXPECT_EQ(visibleWindowsTitled("A propos"), 1);
    EXPECT_EQ(visibleWindowsTitled(kMainTitle), 1);
    const float monsterLeft = control("Picture5").left, monsterTop = control("Picture5").top;
    EXPECT_TRUE(qtt::waitFor([&] { return control("Picture5").left != monsterLeft || control("Picture5").top != monsterTop; }))
        << "the monster keeps moving while the small windows are open";
    EXPECT_FALSE(qtt::strayExitRequested());
}

TEST_F(WindowLifetime, SmallWindowsCloseByTheirQuitterButtonOrCloseBox)
{
    startGame();
    const int status = runEventLoop([&] {
        struct Case {
            const char* item;
            QString title;
            FormWindow* (support::WatchedGame::*loaded)() const;
            const char* quitter;
        };
        for (const Case& c : {Case{"commandes", "commandes", &support::WatchedGame::keyHelpWindow, "Command5"},
                              Case{"apropos", "A propos", &support::WatchedGame::aboutWindow, "Command1"}}) {
            SCOPED_TRACE(c.item);
            menuItem(c.item).trigger();
            QPointer<FormWindow> byButton = (app.get()->*c.loaded)();
            ASSERT_TRUE(byButton);
            QTest::mouseClick(&byButton->control(c.quitter), Qt::LeftButton);
            EXPECT_EQ((app.get()->*c.loaded)(), nullptr);
            EXPECT_EQ(visibleWindowsTitled(c.title), 0);
            EXPECT_TRUE(qtt::waitFor([&] { return byButton.isNull(); }, 500)) << "an unloaded window is destroyed";

            menuItem(c.item).trigger();
            QPointer<FormWindow> byCloseBox = (app.get()->*c.loaded)();
            ASSERT_TRUE(byCloseBox);
            EXPECT_EQ(visibleWindowsTitled(c.title), 1);
            byCloseBox->close();
            EXPECT_EQ((app.get()->*c.loaded)(), nullptr);
            EXPECT_EQ(visibleWindowsTitled(c.title), 0);
            EXPECT_TRUE(qtt::waitFor([&] { return byCloseBox.isNull(); }, 500));
        }
        EXPECT_NE(app->mainWindow(), nullptr);
    }, 300);
    EXPECT_EQ(status, kStillRunning) << "the main window is still open";
}

TEST_F(WindowLifetime, TextTypedIntoTheAddressBoxIsGoneAfterReopening)
{
    startGame();
    app->app().apropos_Click();
    auto* address = qobject_cast<QLineEdit*>(&app->aboutWindow()->control("Text1"));
    ASSERT_NE(address, nullptr);
    QTest::keyClicks(address, "perdu");
    ASSERT_NE(address->text(), qtt::qs(forms::kSiteAddress));
    ASSERT_TRUE(address->text().contains("perdu"));

    QTest::mouseClick(&app->aboutWindow()->control("Command1"), Qt::LeftButton);
    ASSERT_EQ(app->aboutWindow(), nullptr);
    app->app().apropos_Click();
    ASSERT_NE(app->aboutWindow(), nullptr);
    EXPECT_EQ(static_cast<QLineEdit&>(app->aboutWindow()->control("Text1")).text(), qtt::qs(forms::kSiteAddress));

    // Choosing "a propos" while the window is open only brings it forward: the edit stays.
    static_cast<QLineEdit&>(app->aboutWindow()->control("Text1")).setText("garde");
    app->app().commandes_Click();
    app->app().apropos_Click();
    EXPECT_EQ(static_cast<QLineEdit&>(app->aboutWindow()->control("Text1")).text(), "garde");
}

TEST_F(WindowLifetime, QuitterAloneEndsTheProgram)
{
    startGame();
    EXPECT_EQ(runEventLoop([&] { menuItem("quitter").trigger(); }, 2000), 0);
    EXPECT_EQ(app->mainWindow(), nullptr);
    EXPECT_EQ(visibleWindowsTitled(kMainTitle), 0);
    EXPECT_TRUE(boxes.seen().empty()) << "quitting shows no message";
}

TEST_F(WindowLifetime, QuitterLeavesTheAboutWindowRunningUntilItIsClosed)
{
    startGame();
    qtt::TimerSpy spy;
    ASSERT_TRUE(qtt::waitFor([&] { return spy.foundAll(); }));
    app->app().apropos_Click();
    FormWindow* about = app->aboutWindow();

    EXPECT_EQ(runEventLoop([&] { menuItem("quitter").trigger(); }, 500), kStillRunning);
    EXPECT_EQ(app->mainWindow(), nullptr);
    EXPECT_EQ(visibleWindowsTitled(kMainTitle), 0);
    EXPECT_EQ(app->aboutWindow(), about);
    EXPECT_TRUE(about->isVisible());
    // The game stopped with its window.
    for (const char* name : {"Timer1", "Timer2", "Timer3"})
        EXPECT_TRUE(!spy.timer(name) || !spy.timer(name)->isActive()) << name;
    const int ticks = spy.totalTicks();
    EXPECT_EQ(runEventLoop({}, 300), kStillRunning);
    EXPECT_EQ(spy.totalTicks(), ticks);

    // Its close box ends the program.
    EXPECT_EQ(runEventLoop([&] { about->close(); }, 2000), 0);
    EXPECT_EQ(app->aboutWindow(), nullptr);
}

TEST_F(WindowLifetime, MainWindowCloseBoxUnloadsItLikeQuitter)
{
    startGame();
    app->app().commandes_Click();
    EXPECT_EQ(runEventLoop([&] { app->mainWindow()->close(); }, 500), kStillRunning);
    EXPECT_EQ(app->mainWindow(), nullptr);
    EXPECT_EQ(visibleWindowsTitled(kMainTitle), 0);
    ASSERT_NE(app->keyHelpWindow(), nullptr);
    EXPECT_TRUE(app->keyHelpWindow()->isVisible());
    EXPECT_TRUE(boxes.seen().empty());

    // The key-help window's "Quitter" closes the last window.
    EXPECT_EQ(runEventLoop([&] { QTest::mouseClick(&app->keyHelpWindow()->control("Command5"), Qt::LeftButton); }, 2000), 0);
    EXPECT_EQ(app->keyHelpWindow(), nullptr);
}

TEST_F(WindowLifetime, MainWindowCloseBoxAloneEndsTheProgram)
{
    startGame();
    EXPECT_EQ(runEventLoop([&] { app->mainWindow()->close(); }, 2000), 0);
    EXPECT_EQ(app->mainWindow(), nullptr);
}

TEST_F(WindowLifetime, GameOverLeavesTheAboutWindowOpenUntilItsQuitter)
{
    startGame();
    app->app().apropos_Click();
    qtt::TimerSpy spy;
    catchCharacterAfterNextMonsterStep(spy);

    EXPECT_EQ(runEventLoop({}, 1500), kStillRunning);
    ASSERT_EQ(boxes.seen().size(), 1u);
    EXPECT_EQ(boxes.seen().front().title, "Tu t'est fait manger ^^");
    EXPECT_EQ(app->mainWindow(), nullptr);
    ASSERT_NE(app->aboutWindow(), nullptr);
    EXPECT_TRUE(app->aboutWindow()->isVisible());

    EXPECT_EQ(runEventLoop([&] { QTest::mouseClick(&app->aboutWindow()->control("Command1"), Qt::LeftButton); }, 2000), 0);
    EXPECT_EQ(app->aboutWindow(), nullptr);
    EXPECT_EQ(boxes.seen().size(), 1u);
}

TEST_F(WindowLifetime, LiensInternetDoesNothing)
{
    startGame();
    ASSERT_TRUE(qtt::waitFor([&] { return static_cast<QLabel&>(widget("Label2")).text() == "nombres de points: 0"; }));
    QList<QWidget*> before;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            before << w;
    const std::string state = gameState();

    EXPECT_EQ(runEventLoop([&] { menuItem("liensinter").trigger(); }, 300), kStillRunning);

    QList<QWidget*> after;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            after << w;
    EXPECT_EQ(after, before) << "no window opened or closed";
    EXPECT_EQ(app->keyHelpWindow(), nullptr);
    EXPECT_EQ(app->aboutWindow(), nullptr);
    EXPECT_EQ(gameState(), state);
    EXPECT_TRUE(boxes.seen().empty());
}

TEST_F(WindowLifetime, RuntimeErrorIsReportedAndEndsTheProgramWithStatusOne)
{
    startGame();
    // Far off the board the monster's next steps no longer fit in sixteen bits.
    const int status = runEventLoop([&] { control("Picture5").left = 32000; }, 3000);
    EXPECT_EQ(status, app::kRuntimeErrorStatus);
    EXPECT_EQ(app::kRuntimeErrorStatus, 1);
    ASSERT_EQ(boxes.seen().size(), 1u);
    const qtt::SeenBox& box = boxes.seen().front();
    EXPECT_EQ(box.icon, QMessageBox::Critical);
    EXPECT_TRUE(box.text.contains(QString::fromUtf8("Erreur d'exécution '6'"))) << box.text.toStdString();
    EXPECT_TRUE(box.text.contains(QString::fromUtf8("Dépassement de capacité"))) << box.text.toStdString();
    EXPECT_EQ(box.buttonCount, 1);
}

} // namespace
