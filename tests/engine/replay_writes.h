// The controls as whoever shows the window would have them after following a handler's writes.
#pragma once

#include "game/controls.h"

#include <string>

namespace replaying {

// `caption` is the label's text after the handler: a write says the caption changed, not to what.
inline game::Form1Controls replay(game::Form1Controls shown, const game::Writes& writes, const std::string& caption)
{
    for (const game::Write& w : writes) {
        game::ControlState& state = shown[w.control];
        switch (w.property) {
        case game::Property::Top: state.top = w.value; break;
        case game::Property::Left: state.left = w.value; break;
        case game::Property::Visible: state.visible = w.value != 0; break;
        case game::Property::Enabled: state.enabled = w.value != 0; break;
        case game::Property::Caption: shown.label2Caption = caption; break;
        }
    }
    return shown;
}

} // namespace replaying
