// Glouto: starts the application with the main window, and ends when the last window is gone.
#include "ui/qt/game_app.h"
#include "ui/qt/qt_startup.h"
#include "ui/qt/qt_text.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[])
{
    preferX11Platform();
    QtArguments qtArguments(argc, argv);
    QApplication application(qtArguments.argc(), qtArguments.argv());
    QApplication::setApplicationName(qText(app::kProgramName));
    // Lets desktops match the windows to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.glouto"));
    // Every window carries the game's icon, drawn at each size rather than scaled.
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/pictures/icon_%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
    // The game decides when it ends: when its last window is unloaded, tool windows included.
    QApplication::setQuitOnLastWindowClosed(false);
    GameApp game;
    return game.exec();
}
