// A picture box or image: its picture at natural size from the top-left corner, on black.
#pragma once

#include <QPixmap>
#include <QWidget>

class PictureWidget final : public QWidget {
public:
    PictureWidget(const QPixmap& picture, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_picture;
};
