// Painting of picture boxes and images.
#include "ui/qt/picture_widget.h"

#include "ui/qt/qt_text.h"

#include <QPainter>

PictureWidget::PictureWidget(const QPixmap& picture, QWidget* parent)
    : QWidget(parent), m_picture(picture)
{
    // Every pixel is painted here, so Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void PictureWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // A box larger than its picture shows the board's black, never a frame.
    painter.fillRect(rect(), qColour(forms::kBoardColour));
    // No smooth transform: on a scaled screen the pixel art stays sharp.
    painter.drawPixmap(0, 0, m_picture);
}
