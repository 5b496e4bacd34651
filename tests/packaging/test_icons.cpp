// The desktop icons: compressed PNG files that a real decoder reads (checksums included), at their
// sizes, with a transparent background, and the very character of the BMP icons once laid over black.
#include "ui/forms/icons.h"

#include <QFileInfo>
#include <QImage>
#include <QString>

#include <gtest/gtest.h>

namespace {

QImage load(int size, const char* extension)
{
    return QImage(QStringLiteral(PICTURES_DIR "/icon_%1.%2").arg(size).arg(QLatin1String(extension)));
}


TEST(DesktopIcons, DecodeAtTheirSizesWithAlpha)
{
    for (const int n : forms::kDesktopIconSizes) {
        const QImage png = load(n, "png");
        ASSERT_FALSE(png.isNull()) << n << ": not a valid PNG";
        EXPECT_EQ(png.size(), QSize(n, n));
        EXPECT_TRUE(png.hasAlphaChannel()) << n;
        // Deflate does squeeze these flat shapes: stored blocks would take all n * n * 4 bytes.
        const qint64 bytes = QFileInfo(QStringLiteral(PICTURES_DIR "/icon_%1.png").arg(n)).size();
        EXPECT_LT(bytes, n * n) << n << ": hardly compressed";
    }
}

TEST(DesktopIcons, AreTheBmpIconsOnATransparentBackground)
{
    for (const int n : forms::kDesktopIconSizes) {
        const QImage png = load(n, "png").convertToFormat(QImage::Format_ARGB32);
        const QImage bmp = load(n, "bmp").convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(png.size(), bmp.size()) << n;
        QImage overBlack(png.size(), QImage::Format_RGB32);
        int different = 0, transparent = 0;
        for (int y = 0; y < n; ++y)
            for (int x = 0; x < n; ++x) {
                const QRgb p = png.pixel(x, y);
                const auto over = [&](int channel) { return (channel * qAlpha(p) + 127) / 255; };
                different += qRgb(over(qRed(p)), over(qGreen(p)), over(qBlue(p))) != bmp.pixel(x, y);
                transparent += qAlpha(p) == 0;
            }
        EXPECT_EQ(different, 0) << n << ": pixels that differ from the BMP over black";
        // The corners, the mouth and the eye are see-through; the disc is solid.
        EXPECT_EQ(qAlpha(png.pixel(0, 0)), 0) << n;
        EXPECT_EQ(qAlpha(png.pixel(n - 1 - n / 8, n / 2)), 0) << n << ": mouth";
        EXPECT_EQ(png.pixel(n / 5, n / 2), qRgba(255, 255, 0, 255)) << n << ": back of the disc";
        EXPECT_GT(transparent, n * n / 5) << n;
    }
}

} // namespace
