// The far-side monster's draws and the lapping player's taps.
#include "bench/scripted_play.h"

#include "game/cell_map.h"

namespace bench {

void FarSideRandom::reseedFromClock() { m_random.reseedFromClock(); }

double FarSideRandom::draw()
{
    const double r = m_random.draw();
    // ScoreDirections draws right, left, up, down, in that order, four per call.
    switch (m_draws++ % 4) {
    case 0: return 0.9 + r * 0.0999;
    case 1: return 0.0;
    default: return r;
    }
}

void ScriptedPlayer::beforePlayerTick()
{
    const Cell here{(m_module.actorTop - game::kGridOrigin) / game::kGridStep,
                    (m_module.actorLeft - game::kGridOrigin) / game::kGridStep};
    if (here == kRoute[m_next])
        m_next = (m_next + 1) % kRoute.size();
    const Cell target = kRoute[m_next];
    game::ArrowKey key = game::ArrowKey::Left;
    if (target.row > here.row)
        key = game::ArrowKey::Down;
    else if (target.row < here.row)
        key = game::ArrowKey::Up;
    else if (target.column > here.column)
        key = game::ArrowKey::Right;
    // Pressed and let go before the tick: the tick still sees it once.
    m_keys.keyDown(key, false);
    m_keys.keyUp(key);
}

} // namespace bench
