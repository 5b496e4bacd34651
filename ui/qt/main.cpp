// Glouto: starts the application with the main window, and ends when the last window is gone.
#include "game_app.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("glouto"));
    // The game decides when it ends: when its last window is unloaded, tool windows included.
    QApplication::setQuitOnLastWindowClosed(false);
    GameApp game;
    game.start();
    return QApplication::exec();
}
