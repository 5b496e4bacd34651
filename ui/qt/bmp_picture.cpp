// Uncompressed 24-bit BMP files to pixmaps, a whole row at a time.
#include "ui/qt/bmp_picture.h"

#include <QImage>
#include <QPixmapCache>
#include <QResource>

#include <cstdint>
#include <cstdlib>

namespace {

std::uint32_t littleEndian(const uchar* bytes, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | bytes[i];
    return value;
}

} // namespace

QPixmap bmpPicture(const QString& path)
{
    // Fifteen pellets share one picture: each file is read once.
    QPixmap cached;
    if (QPixmapCache::find(path, &cached))
        return cached;
    // Qt's own BMP reader goes pixel by pixel through colour masks and a conversion: for the
    // game's pictures that was most of its start-up work beyond a bare window's.
    const QByteArray contents = QResource(path).uncompressedData();
    const auto* bytes = reinterpret_cast<const uchar*>(contents.constData());
    constexpr qsizetype kHeaderSize = 54;
    if (contents.size() < kHeaderSize || bytes[0] != 'B' || bytes[1] != 'M' || littleEndian(bytes + 28, 2) != 24 ||
        littleEndian(bytes + 30, 4) != 0)
        return {};
    const auto width = static_cast<std::int32_t>(littleEndian(bytes + 18, 4));
    const auto signedHeight = static_cast<std::int32_t>(littleEndian(bytes + 22, 4));
    const int height = std::abs(signedHeight);
    const qsizetype offset = littleEndian(bytes + 10, 4);
    const qsizetype stride = (qsizetype{width} * 3 + 3) / 4 * 4;
    if (width <= 0 || height == 0 || offset < kHeaderSize || offset + stride * height > contents.size())
        return {};
    // Straight into the format the screen's pixmaps use, so that no conversion follows.
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        // A positive height means the bottom row comes first.
        const uchar* in = bytes + offset + stride * (signedHeight > 0 ? height - 1 - y : y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x, in += 3)
            out[x] = qRgb(in[2], in[1], in[0]);
    }
    const QPixmap picture = QPixmap::fromImage(std::move(image));
    QPixmapCache::insert(path, picture);
    return picture;
}
