// The game's pictures, read straight from their embedded 24-bit BMP files.
#pragma once

#include <QPixmap>
#include <QString>

// The picture in the file at `path`, or a null pixmap when it is missing or is not an uncompressed
// 24-bit BMP (the only kind the game's pictures are).
QPixmap bmpPicture(const QString& path);
