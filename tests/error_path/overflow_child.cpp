// The game as main() starts it, with one difference: the monster is put where its next steps take
// it past the 16-bit limit. Run by test_error_path.cpp as a child process; it reports on stdout
// what the player would see, and ends with the game's own exit status.
//
//   overflow_child position   monster off the board at Left 31000: it steps right until its Left
//                             no longer converts to 16 bits
//   overflow_child gap        monster at Left -32720: the gap to the character exceeds 16 bits
#include "tests/support/rules_state.h"
#include "tests/support/watched_game.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <cstring>

int main(int argc, char* argv[])
{
    const bool gap = argc > 1 && std::strcmp(argv[1], "gap") == 0;
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(app::kProgramName.data(), static_cast<qsizetype>(app::kProgramName.size())));
    QApplication::setQuitOnLastWindowClosed(false);
    support::WatchedGame game;
    game.start();
    game::ControlState& monster = support::ruleControl(game.app(), "Picture5");
    monster.top = 3150;
    monster.left = gap ? -32720 : 31000;

    // Reads the report box the way a player would, then closes it.
    int boxes = 0;
    QTimer player;
    player.setInterval(10);
    QObject::connect(&player, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        ++boxes;
        std::printf("box title: %s\nbox icon: %s\nbox text: %s\n", qPrintable(box->windowTitle()),
                    box->icon() == QMessageBox::Critical ? "critical" : "other", qPrintable(box->text()));
        box->button(QMessageBox::Ok)->click();
    });
    player.start();
    // Should the error never come, stop rather than hang; the status tells the test.
    QTimer::singleShot(20000, [] { QCoreApplication::exit(124); });

    const int status = QApplication::exec();
    std::printf("boxes: %d\nmonster left: %g\n", boxes, monster.left);
    std::fflush(stdout);
    return status;
}
