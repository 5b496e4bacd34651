// A button that shows a picture instead of a caption, and another picture while pressed.
#pragma once

#include <QAbstractButton>
#include <QPixmap>

class PictureButton final : public QAbstractButton {
public:
    PictureButton(const QPixmap& picture, const QPixmap& pressedPicture, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_picture;
    QPixmap m_pressedPicture;
};
