// Property access of the engine's controls on Qt widgets.
#include "widget_controls.h"

#include "runtime_error.h"

#include <QLabel>
#include <QTimer>

#include <cmath>

WidgetControl::WidgetControl(QWidget& widget, const forms::ControlDef& definition)
    : m_widget(widget)
    , m_label(qobject_cast<QLabel*>(&widget))
    , m_top(static_cast<float>(definition.top))
    , m_left(static_cast<float>(definition.left))
    , m_visible(definition.visible)
    , m_caption(definition.caption)
{
}

void WidgetControl::place()
{
    // Far-off positions are legal twips but not pixels a widget can take; those stay unshown.
    const double x = std::round(forms::pixelsFromTwips(m_left));
    const double y = std::round(forms::pixelsFromTwips(m_top));
    if (std::abs(x) < 1e6 && std::abs(y) < 1e6)
        m_widget.move(static_cast<int>(x), static_cast<int>(y));
}

void WidgetControl::setTop(float twips)
{
    m_top = twips;
    place();
}

void WidgetControl::setLeft(float twips)
{
    m_left = twips;
    place();
}

void WidgetControl::setVisible(bool visible)
{
    m_visible = visible;
    m_widget.setVisible(visible);
}

void WidgetControl::setCaption(std::string_view caption)
{
    if (!m_label)
        throw game::RuntimeError::propertyNotSupported();
    // The score is rewritten on every pellet tick; an unchanged text must not repaint.
    if (caption == m_caption)
        return;
    m_caption = caption;
    m_label->setText(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
}

void WidgetControl::setEnabled(bool enabled) { m_widget.setEnabled(enabled); }

void TimerControl::setEnabled(bool enabled)
{
    if (enabled)
        m_timer.start();
    else
        m_timer.stop();
}
