// The least Qt Widgets program doing the game's outer work: a fixed window with the game's client
// size under a menu bar, a label, and three precise timers at the game's periods doing nothing.
// With --sprites, the Timer1 and Timer3 slots each move one 41x41 sprite by one cell instead: the
// least any widget program pays to show the game's motion, for telling that cost from the game's.
#include "bench/play_probe.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QMenuBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>
#include <array>
#include <memory>
#include <string_view>
#include <vector>

namespace {

class Sprite final : public QWidget {
public:
    explicit Sprite(QWidget* parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        resize(41, 41);
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), Qt::yellow); }
};

// Paces between two neighbouring cells, one step per call.
void step(QWidget& sprite)
{
    sprite.move(sprite.x() == 3 ? 44 : 3, sprite.y());
}

} // namespace

int main(int argc, char* argv[])
{
    // --sprites is ours; the probe reads the rest.
    std::vector<char*> args(argv, argv + argc);
    const auto spritesFlag = std::find_if(args.begin() + 1, args.end(), [](const char* a) { return std::string_view(a) == "--sprites"; });
    const bool sprites = spritesFlag != args.end();
    if (sprites)
        args.erase(spritesFlag);
    const auto options = bench::parseProbeOptions(static_cast<int>(args.size()), args.data());
    if (!options)
        return 2;
    QApplication application(argc, argv);

    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto* bar = new QMenuBar(&window);
    bar->addMenu(QStringLiteral("menu"))->addAction(QStringLiteral("quitter"));
    layout->setMenuBar(bar);
    auto* client = new QWidget(&window);
    client->setFixedSize(762, 524);
    layout->addWidget(client);
    auto* label = new QLabel(client);
    label->setGeometry(0, 478, 763, 51);

    QWidget* player = nullptr;
    QWidget* monster = nullptr;
    if (sprites) {
        player = new Sprite(client);
        player->move(3, 3);
        monster = new Sprite(client);
        monster->move(3, 210);
    }

    constexpr std::array<std::pair<const char*, int>, 3> kTimers{{{"Timer1", 250}, {"Timer2", 50}, {"Timer3", 200}}};
    std::array<std::unique_ptr<QTimer>, 3> timers;
    for (std::size_t i = 0; i < timers.size(); ++i) {
        timers[i] = std::make_unique<QTimer>();
        timers[i]->setObjectName(QString::fromLatin1(kTimers[i].first));
        timers[i]->setTimerType(Qt::PreciseTimer);
        timers[i]->setInterval(kTimers[i].second);
        QWidget* sprite = i == 0 ? player : i == 2 ? monster : nullptr;
        QObject::connect(timers[i].get(), &QTimer::timeout, &window, [sprite] {
            if (sprite)
                step(*sprite);
        });
    }

    window.show();
    for (auto& timer : timers)
        timer->start();
    bench::PlayProbe probe(window, *client, *options);
    return QApplication::exec();
}
