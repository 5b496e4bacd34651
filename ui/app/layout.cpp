// Pixels, stacking and tab order of a window definition.
#include "ui/app/layout.h"

#include <algorithm>
#include <cmath>

namespace app {

int pixels(double twips) { return static_cast<int>(std::lround(forms::pixelsFromTwips(twips))); }

std::optional<PixelPoint> pixelPosition(float top, float left)
{
    // Legal twips, but beyond what window systems take as a child's position.
    constexpr double kLimit = 30'000;
    const double x = std::round(forms::pixelsFromTwips(left));
    const double y = std::round(forms::pixelsFromTwips(top));
    if (!(std::abs(x) < kLimit && std::abs(y) < kLimit))
        return std::nullopt;
    return PixelPoint{static_cast<int>(x), static_cast<int>(y)};
}

PixelRect pixelRect(const forms::ControlDef& control)
{
    return {pixels(control.left), pixels(control.top), pixels(control.width), pixels(control.height)};
}

bool isLightweight(forms::ControlKind kind)
{
    return kind == forms::ControlKind::Image || kind == forms::ControlKind::Label;
}

bool takesFocus(forms::ControlKind kind)
{
    using enum forms::ControlKind;
    return kind == Button || kind == PictureButton || kind == TextBox;
}

std::vector<std::size_t> stackingOrder(const forms::FormDef& form)
{
    std::vector<std::size_t> order;
    const std::size_t count = form.controls.size();
    for (const bool lightweight : {true, false})
        for (std::size_t i = count; i-- > 0;)
            if (isLightweight(form.controls[i].kind) == lightweight)
                order.push_back(i);
    return order;
}

std::vector<std::size_t> tabOrder(const forms::FormDef& form)
{
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < form.controls.size(); ++i)
        if (form.controls[i].tabIndex >= 0 && takesFocus(form.controls[i].kind))
            order.push_back(i);
    // Not std::ranges: Emscripten's C++ library has no ranges algorithms yet.
    std::stable_sort(order.begin(), order.end(),
                     [&form](std::size_t a, std::size_t b) { return form.controls[a].tabIndex < form.controls[b].tabIndex; });
    return order;
}

} // namespace app
