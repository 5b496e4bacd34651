// The game as shipped but for its random source: the monster's draws come from the command line,
// cycled, so that a session knows where the monster walks.
//
//   glouto_scripted <draw> [<draw>...]     each draw in [0, 1)
#include "tests/support/command_line_draws.h"
#include "ui/qt/desktop_identity.h"
#include "ui/qt/game_app.h"
#include "ui/qt/qt_startup.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    auto draws = std::make_unique<support::CommandLineDraws>(argc, argv);
    if (draws->empty())
        return 2;
    preferX11Platform();
    QtArguments qtArguments(argc, argv);
    QApplication application(qtArguments.argc(), qtArguments.argv());
    setUpDesktopIdentity();
    QApplication::setQuitOnLastWindowClosed(false);
    GameApp game(std::move(draws));
    return game.exec();
}
