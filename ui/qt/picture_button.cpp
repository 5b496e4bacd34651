// Painting of picture buttons: the platform's button face with the picture centred and clipped.
#include "ui/qt/picture_button.h"

#include <QPainter>
#include <QStyleOptionButton>

PictureButton::PictureButton(const QPixmap& picture, const QPixmap& pressedPicture, QWidget* parent)
    : QAbstractButton(parent), m_picture(picture), m_pressedPicture(pressedPicture.isNull() ? picture : pressedPicture)
{
}

void PictureButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionButton option;
    option.initFrom(this);
    if (isDown())
        option.state |= QStyle::State_Sunken;
    else
        option.state |= QStyle::State_Raised;
    style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);

    const QPixmap& picture = (isDown() || !isEnabled()) ? m_pressedPicture : m_picture;
    const QSize size = picture.deviceIndependentSize().toSize();
    const QPoint topLeft((width() - size.width()) / 2, (height() - size.height()) / 2);
    // The pictures are a little larger than the buttons: keep the bevel's edge visible.
    painter.setClipRect(rect().adjusted(2, 2, -2, -2));
    painter.drawPixmap(topLeft, picture);
}
