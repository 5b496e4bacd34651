// Property storage and change notices of the rules' controls.
#include "ui/app/stored_control.h"

#include "ui/app/layout.h"
#include "game/runtime_error.h"

#include <cmath>

namespace app {
namespace {

bool hasCaption(forms::ControlKind kind)
{
    using enum forms::ControlKind;
    return kind == Label || kind == Button || kind == Frame;
}

} // namespace

StoredControl::StoredControl(const forms::ControlDef& definition)
    : m_name(definition.name)
    , m_definition(&definition)
    , m_top(static_cast<float>(definition.top))
    , m_left(static_cast<float>(definition.left))
    , m_visible(definition.visible)
    , m_caption(definition.caption)
{
}

StoredControl::StoredControl(const forms::TimerDef& definition)
    : m_name(definition.name), m_definition(nullptr), m_visible(false), m_enabled(definition.enabled)
{
}

void StoredControl::requirePlaced() const
{
    if (isTimer())
        throw game::RuntimeError::propertyNotSupported();
}

float StoredControl::top() const
{
    requirePlaced();
    return m_top;
}

float StoredControl::left() const
{
    requirePlaced();
    return m_left;
}

void StoredControl::setTop(float twips)
{
    requirePlaced();
    store(m_top, twips, Property::Top);
}

void StoredControl::setLeft(float twips)
{
    requirePlaced();
    store(m_left, twips, Property::Left);
}

bool StoredControl::visible() const
{
    requirePlaced();
    return m_visible;
}

void StoredControl::setVisible(bool visible)
{
    requirePlaced();
    store(m_visible, visible, Property::Visible);
}

void StoredControl::setCaption(std::string_view caption)
{
    if (isTimer() || !hasCaption(m_definition->kind))
        throw game::RuntimeError::propertyNotSupported();
    // The score is rewritten on every pellet tick: an unchanged text must not repaint.
    const bool changed = caption != m_caption;
    if (changed)
        m_caption = caption;
    wrote(Property::Caption, changed);
}

void StoredControl::setEnabled(bool enabled) { store(m_enabled, enabled, Property::Enabled); }

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
