// Painting of the client area and of frames: background colour and lines.
#include "ui/qt/form_painting.h"

#include "ui/qt/qt_text.h"

#include <QPaintEvent>
#include <QPainter>

namespace {

QColor systemColour(forms::SystemColour colour)
{
    switch (colour) {
    case forms::SystemColour::WindowFrame:
        // X11 has no window-frame colour of its own.
        return qColour(forms::kBoardColour);
    case forms::SystemColour::ButtonFace:
        break;
    }
    return QPalette().color(QPalette::Window);
}

void paintLines(QPainter& painter, std::span<const forms::LineDef> lines, std::string_view container)
{
    for (const forms::LineDef& line : lines) {
        if (line.container != container)
            continue;
        painter.setPen(QPen(painter.pen().color(), line.borderWidthPixels));
        painter.drawLine(QPointF(forms::pixelsFromTwips(line.x1), forms::pixelsFromTwips(line.y1)),
                         QPointF(forms::pixelsFromTwips(line.x2), forms::pixelsFromTwips(line.y2)));
    }
}

} // namespace

ClientArea::ClientArea(const forms::FormDef& form, QWidget* parent) : QWidget(parent), m_form(form)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ClientArea::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), systemColour(m_form.background));
    painter.setPen(palette().color(QPalette::WindowText));
    paintLines(painter, m_form.lines, {});
}

FrameBox::FrameBox(const QString& title, std::span<const forms::LineDef> lines, std::string_view name, QWidget* parent)
    : QGroupBox(title, parent), m_lines(lines), m_name(name)
{
}

void FrameBox::paintEvent(QPaintEvent* event)
{
    QGroupBox::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    paintLines(painter, m_lines, m_name);
}
