// Focus and game controllers: each controller holds keys in the latch as a keyboard of its own.
#include "ui/app/app.h"

#include <algorithm>

namespace app {

void App::focusChanged(bool focused)
{
    m_focused = focused;
    if (!focused) {
        m_latch.releaseAll();
        return;
    }
    // The keyboard's keys come back with their repeats; a controller's as it is held now.
    for (const Controller& controller : m_controllers)
        holdAsRead(controller);
}

void App::controllerRead(int id, const ControllerState& state)
{
    auto found = withId(id);
    if (found == m_controllers.end()) {
        int holder = 1;
        while (holder < ArrowKeyLatch::kHolders &&
               std::any_of(m_controllers.begin(), m_controllers.end(), [holder](const Controller& c) { return c.holder == holder; }))
            ++holder;
        // More controllers than the latch has holders: the extra ones are not heard.
        if (holder == ArrowKeyLatch::kHolders)
            return;
        found = m_controllers.insert(m_controllers.end(), {id, holder, {}, {}});
    }
    found->last = found->keys.read(state);
    if (!m_focused)
        return;
    holdAsRead(*found);
    if (found->last.enter)
        m_frontEnd.pressEnter();
}

void App::controllerGone(int id)
{
    const auto found = withId(id);
    if (found == m_controllers.end())
        return;
    m_latch.releaseAll(found->holder);
    m_controllers.erase(found);
}

std::vector<App::Controller>::iterator App::withId(int id)
{
    // Not std::ranges: Emscripten's C++ library has no ranges algorithms yet.
    return std::find_if(m_controllers.begin(), m_controllers.end(), [id](const Controller& c) { return c.id == id; });
}

void App::holdAsRead(const Controller& controller)
{
    for (std::size_t i = 0; i < ControllerKeys::kKeys.size(); ++i) {
        const ArrowKey key = ControllerKeys::kKeys[i];
        // Held already stays as it is: only a new hold is a press.
        if (controller.last.held[i] && !m_latch.heldBy(key, controller.holder))
            m_latch.press(key, controller.holder);
        else if (!controller.last.held[i])
            m_latch.release(key, controller.holder);
    }
}

} // namespace app
