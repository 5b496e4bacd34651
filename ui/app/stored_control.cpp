// Property storage and change notices of a shown control.
#include "ui/app/stored_control.h"

#include <cmath>

namespace app {

StoredControl::StoredControl(const forms::ControlDef& definition)
    : m_definition(&definition)
    , m_top(static_cast<float>(definition.top))
    , m_left(static_cast<float>(definition.left))
    , m_visible(definition.visible)
    , m_caption(definition.caption)
{
}

void StoredControl::setTop(float twips) { store(m_top, twips, Property::Top); }
void StoredControl::setLeft(float twips) { store(m_left, twips, Property::Left); }
void StoredControl::setVisible(bool visible) { store(m_visible, visible, Property::Visible); }

void StoredControl::setCaption(std::string_view caption)
{
    // The score is rewritten on every pellet tick: an unchanged text must not repaint.
    const bool changed = caption != m_caption;
    if (changed)
        m_caption = caption;
    wrote(Property::Caption, changed);
}

std::optional<PixelPoint> StoredControl::pixelPosition() const
{
    // Legal twips (any float) but beyond what window systems take as a child's position.
    constexpr double kLimit = 30'000;
    const double x = std::round(forms::pixelsFromTwips(m_left));
    const double y = std::round(forms::pixelsFromTwips(m_top));
    if (!(std::abs(x) < kLimit && std::abs(y) < kLimit))
        return std::nullopt;
    return PixelPoint{static_cast<int>(x), static_cast<int>(y)};
}

template <typename T>
void StoredControl::store(T& field, T value, Property property)
{
    // A NaN never equals itself: storing one always counts as a change, which is only safe.
    const bool changed = !(value == field);
    field = value;
    wrote(property, changed);
}

void StoredControl::wrote(Property property, bool changed)
{
    if (!m_watcher)
        return;
    m_watcher->written(*this, property);
    if (changed)
        m_watcher->changed(*this, property);
}

} // namespace app
