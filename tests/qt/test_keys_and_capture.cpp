// The game through its real front end: arrow keys from the keyboard, pellets, the score label,
// and the capture with its game-over box.
#include "tests/qt/qt_test_support.h"

#include <QAbstractButton>
#include <QLabel>
#include <QProxyStyle>
#include <QStyle>

namespace {

using qtt::kStillRunning;

// A quick tap, delivered the way the keyboard delivers it: to the window, then its focused widget.
void tap(QWidget& window, Qt::Key key)
{
    ASSERT_NE(window.windowHandle(), nullptr);
    QTest::keyPress(window.windowHandle(), key);
    QTest::keyRelease(window.windowHandle(), key);
}

class KeysAndCapture : public qtt::GameFixture {
protected:
    QString labelText() { return static_cast<QLabel&>(widget("Label2")).text(); }

    struct Behind {
        bool seen = false;
        bool characterHidden = false;
        bool monsterShown = false;
        QString label;
    };
    // What the board looks like while the game-over box is open.
    void watchBoardBehindTheBox(Behind& behind)
    {
        boxes.whileShown = [this, &behind] {
            if (!app->mainWindow())
                return;
            behind.seen = true;
            behind.characterHidden = true;
            for (const char* facing : {"Picture1", "Picture2", "Picture3", "Picture4"})
                behind.characterHidden = behind.characterHidden && !widget(facing).isVisible() && !control(facing).visible;
            behind.monsterShown = widget("Picture5").isVisible();
            behind.label = labelText();
        };
    }
};

TEST_F(KeysAndCapture, RightArrowStepsOnceThenThePelletIsEatenAndCounted)
{
    startGame();
    FormWindow& main = *app->mainWindow();
    const int status = qtt::runEventLoop([&] {
        tap(main, Qt::Key_Right);
        ASSERT_TRUE(qtt::waitFor([&] { return control("Picture1").left == 670.0f; }, 1000));
        EXPECT_EQ(control("Picture1").top, 50.0f);
        EXPECT_EQ(widget("Picture1").pos(), QPoint(45, 3));
        EXPECT_TRUE(widget("Picture1").isVisible());
        for (const char* other : {"Picture2", "Picture3", "Picture4"})
            EXPECT_FALSE(widget(other).isVisible()) << other;
        EXPECT_EQ(app->app().rules()->module.actorLeft, 670);
        EXPECT_EQ(app->app().rules()->module.actorTop, 50);

        ASSERT_TRUE(qtt::waitFor([&] { return !control("Image4").visible; }, 500));
        EXPECT_FALSE(widget("Image4").isVisible());
        ASSERT_TRUE(qtt::waitFor([&] { return labelText() == "nombres de points: 1"; }, 500));
        EXPECT_EQ(app->app().rules()->points, 1);

        const QImage board = qtt::grabImage(main.client());
        qtt::keepGrab(board, "board_after_right_arrow");
        EXPECT_GT(qtt::countPixels(board, QRect(45, 3, 41, 41), qtt::isYellow), 41 * 41 / 3);
        EXPECT_EQ(qtt::countPixels(board, QRect(3, 3, 41, 41), qtt::isYellow), 0) << "nothing left at the start cell";
        EXPECT_GE(qtt::countPixels(board, QRect(107, 22, 10, 10), qtt::isYellow), 12) << "Image3 is still there";

        // One tap, one step: the next ticks leave the character where it is.
        QTest::qWait(700);
        EXPECT_EQ(control("Picture1").left, 670.0f);
        EXPECT_EQ(labelText(), "nombres de points: 1");
    });
    EXPECT_EQ(status, kStillRunning);
}

TEST_F(KeysAndCapture, ArrowKeysSteerWhileTheKeyHelpOrAboutWindowHasTheFocus)
{
    startGame();
    app->app().commandes_Click();
    FormWindow* keyHelp = app->keyHelpWindow();
    ASSERT_NE(keyHelp, nullptr);
    ASSERT_TRUE(qtt::waitFor([&] { return QApplication::activeWindow() == keyHelp; }));
    tap(*keyHelp, Qt::Key_Down);
    ASSERT_TRUE(qtt::waitFor([&] { return control("Picture2").top == 670.0f; }, 1000));
    EXPECT_EQ(control("Picture2").left, 50.0f);
    EXPECT_TRUE(widget("Picture2").isVisible());
    EXPECT_FALSE(widget("Picture1").isVisible());

    app->app().apropos_Click();
    FormWindow* about = app->aboutWindow();
    ASSERT_NE(about, nullptr);
    ASSERT_TRUE(qtt::waitFor([&] { return QApplication::activeWindow() == about; }));
    tap(*about, Qt::Key_Down);
    ASSERT_TRUE(qtt::waitFor([&] { return control("Picture2").top == 1290.0f; }, 1000));
    EXPECT_EQ(app->app().rules()->module.actorTop, 1290);
    // Both pellets on the way were eaten, though the main window never had the keyboard.
    ASSERT_TRUE(qtt::waitFor([&] { return labelText() == "nombres de points: 2"; }, 500));
    EXPECT_FALSE(control("Image6").visible);
    EXPECT_FALSE(control("Image8").visible);
}

TEST_F(KeysAndCapture, ClickingTheKeyHelpArrowsChangesNothingInTheGame)
{
    startGame();
    app->app().commandes_Click();
    FormWindow* keyHelp = app->keyHelpWindow();
    ASSERT_NE(keyHelp, nullptr);
    ASSERT_TRUE(qtt::waitFor([&] { return labelText() == "nombres de points: 0"; }));

    for (const char* arrow : {"Command1", "Command2", "Command3", "Command4"})
        QTest::mouseClick(&keyHelp->control(arrow), Qt::LeftButton);
    // Long enough for two player ticks and several pellet ticks.
    QTest::qWait(600);

    EXPECT_EQ(control("Picture1").left, 50.0f);
    EXPECT_EQ(control("Picture1").top, 50.0f);
    EXPECT_TRUE(control("Picture1").visible);
    for (const char* other : {"Picture2", "Picture3", "Picture4"})
        EXPECT_FALSE(control(other).visible) << other;
    EXPECT_EQ(app->app().rules()->points, 0);
    EXPECT_EQ(labelText(), "nombres de points: 0");
    for (int i = 3; i <= 17; ++i)
        EXPECT_TRUE(control("Image" + std::to_string(i)).visible) << i;
    EXPECT_EQ(app->keyHelpWindow(), keyHelp);
    EXPECT_TRUE(keyHelp->isVisible());
    EXPECT_EQ(app->aboutWindow(), nullptr);
    EXPECT_TRUE(boxes.seen().empty());
    EXPECT_FALSE(qtt::strayExitRequested());
}

TEST_F(KeysAndCapture, CaptureShowsOneGameOverBoxThenTheProgramEnds)
{
    startGame();
    qtt::TimerSpy spy;
    catchCharacterAfterNextMonsterStep(spy);
    Behind behind;
    watchBoardBehindTheBox(behind);

    const int status = qtt::runEventLoop({}, 3000);
    EXPECT_EQ(status, 0) << "the game over closed the only window, so the program ends";

    ASSERT_EQ(boxes.seen().size(), 1u);
    const qtt::SeenBox& box = boxes.seen().front();
    EXPECT_TRUE(box.isMessageBox);
    EXPECT_EQ(box.text, "Niark Niark !!!!!! GAME OVER !!!!!!    points:0");
    EXPECT_EQ(box.title, "Tu t'est fait manger ^^");
    EXPECT_EQ(box.icon, QMessageBox::Critical);
    EXPECT_EQ(box.buttonCount, 1);
    EXPECT_EQ(box.standardButtons, QMessageBox::StandardButtons(QMessageBox::Ok));

    // Behind the open box: the character gone, the monster on its cell, the score already written.
    ASSERT_TRUE(behind.seen);
    EXPECT_TRUE(behind.characterHidden);
    EXPECT_TRUE(behind.monsterShown);
    EXPECT_EQ(behind.label, "nombres de points: 0");

    EXPECT_EQ(app->mainWindow(), nullptr);
    QTest::qWait(300);
    EXPECT_EQ(boxes.seen().size(), 1u) << "one capture, one box";
    EXPECT_EQ(qtt::visibleWindowsTitled(qtt::qs(forms::form1Definition().caption)), 0);
    for (const char* name : {"Timer1", "Timer2", "Timer3"})
        EXPECT_TRUE(!spy.timer(name) || !spy.timer(name)->isActive()) << name;
}

// Some desktop themes put an icon on every dialog button; the game-over box keeps one plain OK.
class ButtonsWithIcons final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override
    {
        if (hint == SH_DialogButtonBox_ButtonsHaveIcons)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

TEST_F(KeysAndCapture, GameOverBoxKeepsAPlainOkButtonUnderAThemeThatDecoratesButtons)
{
    const QString usualStyle = QApplication::style()->name();
    QApplication::setStyle(new ButtonsWithIcons);
    startGame();
    qtt::TimerSpy spy;
    catchCharacterAfterNextMonsterStep(spy);
    const int status = qtt::runEventLoop({}, 3000);
    QApplication::setStyle(usualStyle);
    EXPECT_EQ(status, 0);
    ASSERT_EQ(boxes.seen().size(), 1u);
    EXPECT_EQ(boxes.seen().front().icon, QMessageBox::Critical);
    EXPECT_EQ(boxes.seen().front().buttonCount, 1);
    EXPECT_FALSE(boxes.seen().front().okHasIcon);
}

TEST_F(KeysAndCapture, CaptureAfterAPelletPutsTheScoreInTheBox)
{
    startGame();
    tap(*app->mainWindow(), Qt::Key_Right);
    ASSERT_TRUE(qtt::waitFor([&] { return app->app().rules()->points == 1; }, 1500));
    qtt::TimerSpy spy;
    catchCharacterAfterNextMonsterStep(spy);

    EXPECT_EQ(qtt::runEventLoop({}, 3000), 0);
    ASSERT_EQ(boxes.seen().size(), 1u);
    EXPECT_EQ(boxes.seen().front().text, "Niark Niark !!!!!! GAME OVER !!!!!!    points:1");
    EXPECT_EQ(app->mainWindow(), nullptr);
}

} // namespace
