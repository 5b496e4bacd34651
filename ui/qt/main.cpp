// Glouto: starts the application with the main window, and ends when the last window is gone.
#include "ui/qt/desktop_identity.h"
#include "ui/qt/game_app.h"
#include "ui/qt/qt_startup.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    preferX11Platform();
    QtArguments qtArguments(argc, argv);
    QApplication application(qtArguments.argc(), qtArguments.argv());
    setUpDesktopIdentity();
    // The game decides when it ends: when its last window is unloaded, tool windows included.
    QApplication::setQuitOnLastWindowClosed(false);
    GameApp game;
    return game.exec();
}
