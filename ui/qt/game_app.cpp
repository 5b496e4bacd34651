// Wiring the Qt front end to the application layer, and running it.
#include "ui/qt/game_app.h"

#include "ui/qt/after_first_frame.h"

#include <QApplication>

GameApp::GameApp(std::unique_ptr<game::RandomSource> random)
    : m_random(std::move(random)), m_app(m_frontEnd, *m_random)
{
    afterFirstFrame(&m_lifetime, [this] { m_controllers = std::make_unique<SdlControllers>(m_app); });
}

int GameApp::exec()
{
    start();
    // The program may have ended before the loop runs (an error while loading), and an exit asked
    // for outside the loop would be lost.
    if (const auto status = m_frontEnd.endStatus())
        return *status;
    return QApplication::exec();
}
