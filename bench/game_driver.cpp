// The game's own windows, built by GameApp as the game builds them, with a scripted player and a
// monster that keeps to the far side of the board, so that a measured play never ends in a capture.
#include "ui/qt/desktop_identity.h"
#include "tests/support/watched_game.h"
#include "bench/play_probe.h"
#include "bench/scripted_play.h"

#include <QApplication>

#include <cstdio>
#include <memory>

int main(int argc, char* argv[])
{
    const auto options = bench::parseProbeOptions(argc, argv);
    if (!options)
        return 2;
    QApplication application(argc, argv);
    // As the game starts, so that its set-up is measured too.
    setUpDesktopIdentity();
    QApplication::setQuitOnLastWindowClosed(false);

    support::WatchedGame game(std::make_unique<bench::FarSideRandom>());
    game.start();
    FormWindow* form1 = game.mainWindow();
    if (!form1) {
        std::fprintf(stderr, "glouto_game_driver: the main window did not load\n");
        return 1;
    }
    bench::ScriptedPlayer player(game.app().rules()->module, game.app());
    bench::PlayProbe probe(*form1, form1->client(), *options, [&player](int timer) {
        if (timer == 1)
            player.beforePlayerTick();
    });
    const int status = QApplication::exec();
    // A capture or a runtime error would have closed the window before the probe reported.
    if (!game.mainWindow()) {
        std::fprintf(stderr, "glouto_game_driver: the game ended during the play\n");
        return 1;
    }
    return status;
}
