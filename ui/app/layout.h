// Geometry every front end takes the same way: pixels of twips, stacking order and tab order.
#pragma once

#include "ui/forms/form_definition.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace app {

struct PixelRect {
    int x;
    int y;
    int width;
    int height;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

struct PixelPoint {
    int x;
    int y;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// Whole logical pixels of a length in twips, rounded to nearest.
int pixels(double twips);
// A position in twips (any float, as the rules store it) in whole logical pixels, or nothing when
// it is too far off for any window system to place a window there.
std::optional<PixelPoint> pixelPosition(float top, float left);
// A control's design-time place, relative to its container.
PixelRect pixelRect(const forms::ControlDef& control);

// Images and labels are drawn on their container, with no window of their own.
bool isLightweight(forms::ControlKind kind);
// Buttons and text boxes take the keyboard focus; nothing else does.
bool takesFocus(forms::ControlKind kind);

// Indices into form.controls from the bottom of the stack to its top. A definition lists its
// controls front to back, and every windowed control lies above every lightweight one.
std::vector<std::size_t> stackingOrder(const forms::FormDef& form);
// Indices into form.controls of the controls that take the focus, in tab order.
std::vector<std::size_t> tabOrder(const forms::FormDef& form);

} // namespace app
