// The least Qt Widgets program doing the game's outer work: a fixed window with the game's client
// size under a menu bar, a label, and three precise timers at the game's periods doing nothing,
// all as the main window's definition gives them.
// With --sprites, the Timer1 and Timer3 slots each move one 41x41 sprite by one cell instead: the
// least any widget program pays to show the game's motion, for telling that cost from the game's.
#include "bench/play_probe.h"
#include "game/cell_map.h"
#include "ui/app/layout.h"
#include "ui/forms/form_definition.h"

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

// One grid step, in pixels.
const int kCell = app::pixels(game::kGridStep);

class Sprite final : public QWidget {
public:
    explicit Sprite(QWidget* parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        resize(kCell, kCell);
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), Qt::yellow); }
};

// Paces between two neighbouring cells, one step per call.
void step(QWidget& sprite)
{
    const int first = app::pixels(game::kGridOrigin);
    sprite.move(sprite.x() == first ? first + kCell : first, sprite.y());
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

    const forms::FormDef& form = forms::form1Definition();
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto* bar = new QMenuBar(&window);
    bar->addMenu(QString::fromUtf8(form.menus[0].caption))->addAction(QStringLiteral("quitter"));
    layout->setMenuBar(bar);
    auto* client = new QWidget(&window);
    client->setFixedSize(app::pixels(form.clientWidth), app::pixels(form.clientHeight));
    layout->addWidget(client);
    auto* label = new QLabel(client);
    const app::PixelRect labelRect = app::pixelRect(*forms::findControl(form, "Label2"));
    label->setGeometry(labelRect.x, labelRect.y, labelRect.width, labelRect.height);

    // The player's sprite on the top row, the monster's on its start row.
    QWidget* player = nullptr;
    QWidget* monster = nullptr;
    if (sprites) {
        player = new Sprite(client);
        player->move(app::pixels(game::gridValue(0)), app::pixels(game::gridValue(0)));
        monster = new Sprite(client);
        monster->move(app::pixels(game::gridValue(0)), app::pixels(game::gridValue(5)));
    }

    std::vector<std::unique_ptr<QTimer>> timers;
    for (const forms::TimerDef& def : form.timers) {
        auto& timer = timers.emplace_back(std::make_unique<QTimer>());
        timer->setObjectName(QString::fromUtf8(def.name));
        timer->setTimerType(Qt::PreciseTimer);
        timer->setInterval(def.intervalMs);
        QWidget* sprite = def.name == "Timer1" ? player : def.name == "Timer3" ? monster : nullptr;
        QObject::connect(timer.get(), &QTimer::timeout, &window, [sprite] {
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
