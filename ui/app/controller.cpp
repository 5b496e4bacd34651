// A controller's readings turned into held arrow keys and Enter presses.
#include "ui/app/controller.h"

#include <cmath>

namespace app {
namespace {

int stickWay(int way, float value)
{
    // A reading that is no number (a faulty driver) lets go.
    if (!std::isfinite(value) || std::fabs(value) < ControllerKeys::kRelease)
        return 0;
    if (std::fabs(value) >= ControllerKeys::kEngage)
        return value < 0 ? -1 : 1;
    // Between the two thresholds a way already taken holds, unless the stick crossed over.
    return (way < 0) == (value < 0) ? way : 0;
}

} // namespace

ControllerKeys::Reading ControllerKeys::read(const ControllerState& state)
{
    m_wayX = stickWay(m_wayX, state.stickX);
    m_wayY = stickWay(m_wayY, state.stickY);
    Reading reading;
    reading.held = {state.left || m_wayX < 0, state.up || m_wayY < 0, state.right || m_wayX > 0,
                    state.down || m_wayY > 0};
    reading.enter = state.faceButton && !m_faceDown;
    m_faceDown = state.faceButton;
    return reading;
}

} // namespace app
