// A virtual game controller plugged into the running game through SDL: the cross steps once per
// press, walks while held and goes diagonally, unplugging lets go, and the face button closes the
// game-over box.
#include "tests/qt/qt_test_support.h"

#include <QElapsedTimer>

#include <SDL.h>

namespace {

class VirtualPad {
public:
    // Plugged in once the game has started SDL's controllers (one SDL in the process, the test's).
    void plugIn()
    {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
        desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
        desc.name = "virtual pad";
        m_index = SDL_JoystickAttachVirtualEx(&desc);
        m_joystick = SDL_JoystickOpen(m_index);
    }
    ~VirtualPad() { unplug(); }

    bool plugged() const { return m_joystick != nullptr; }
    void press(SDL_GameControllerButton button, bool down) { SDL_JoystickSetVirtualButton(m_joystick, button, down); }
    void unplug()
    {
        if (!m_joystick)
            return;
        SDL_JoystickClose(m_joystick);
        SDL_JoystickDetachVirtual(m_index);
        m_joystick = nullptr;
    }

private:
    int m_index = -1;
    SDL_Joystick* m_joystick = nullptr;
};

class Controller : public qtt::GameFixture {
protected:
    void SetUp() override
    {
        startGame();
        ASSERT_TRUE(qtt::waitFor([this] { return app->controllers() != nullptr; })) << "no controllers after the first frame";
        // A virtual pad has no device node: start SDL's controllers and look for it as the device
        // watcher would.
        ASSERT_TRUE(app->controllers()->look());
        pad.plugIn();
        ASSERT_TRUE(pad.plugged()) << SDL_GetError();
        app->controllers()->look();
    }
    std::pair<int, int> cell() const
    {
        const game::Module1& m = app->app().rules()->module;
        return {(m.actorTop - 50) / 620, (m.actorLeft - 50) / 620};
    }
    // Lets the game read the pad, then a player tick or more go by.
    static void ticks(int count) { QTest::qWait(count * 250 + 40); }

    VirtualPad pad;
};

TEST_F(Controller, OnePressStepsOnceAHoldWalksAndTwoArrowsGoDiagonally)
{
    pad.press(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
    pad.press(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    QTest::qWait(40);
    pad.press(SDL_CONTROLLER_BUTTON_DPAD_DOWN, false);
    pad.press(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false);
    ticks(2);
    EXPECT_EQ(cell(), std::make_pair(1, 1)) << "one press of both arrows, one diagonal step";
    pad.press(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    ASSERT_TRUE(qtt::waitFor([&] { return cell().second >= 4; }, 3000)) << "a held arrow walks";
    pad.unplug();
    app->controllers()->look();
    const auto stopped = cell();
    ticks(3);
    EXPECT_EQ(cell(), stopped) << "unplugged while held, the pad let go";
}

TEST_F(Controller, TheFaceButtonClosesTheGameOverBox)
{
    qtt::TimerSpy spy;
    boxes.closes = false;
    boxes.whileShown = [this] {
        pad.press(SDL_CONTROLLER_BUTTON_A, true);
        QTimer::singleShot(50, [this] { pad.press(SDL_CONTROLLER_BUTTON_A, false); });
    };
    catchCharacterAfterNextMonsterStep(spy);
    QElapsedTimer elapsed;
    elapsed.start();
    // The loop's own end would close the box too: it must end well before.
    EXPECT_EQ(qtt::runEventLoop({}, 5000), 0);
    EXPECT_LT(elapsed.elapsed(), 4000) << "the face button did not close the box";
    EXPECT_EQ(boxes.seen().size(), 1u);
    EXPECT_EQ(app->mainWindow(), nullptr);
}

} // namespace
