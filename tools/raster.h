// A tiny raster with shape painting and 24-bit BMP output, enough for the
// game's small pictures.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct Rgb {
    std::uint8_t r, g, b;
};

struct Point {
    double x, y;
};

// A shape answers whether a point lies inside it. Pixel (i, j) covers the
// square [i, i+1) x [j, j+1), so its centre is (i + 0.5, j + 0.5).
using Shape = std::function<bool(Point)>;

class Raster {
public:
    Raster(int width, int height, Rgb background);

    int width() const { return width_; }
    int height() const { return height_; }
    Rgb at(int x, int y) const { return pixels_[index(x, y)]; }

    // With samples == 1 only the pixel centre is tested, giving hard
    // pixel-art edges; with more, a samples x samples grid sets how much of
    // the colour is blended in, giving smooth edges.
    void paint(const Shape& shape, Rgb colour, int samples = 1);

private:
    std::size_t index(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }

    int width_, height_;
    std::vector<Rgb> pixels_;
};

Shape rect(double x0, double y0, double x1, double y1);
// Corner radii go clockwise from the top-left; 0 leaves a corner square.
Shape roundedRect(double x0, double y0, double x1, double y1,
                  double topLeft, double topRight, double bottomRight, double bottomLeft);
Shape disc(Point centre, double radius);
Shape ellipse(Point centre, double rx, double ry);
// Filled polygon (even-odd rule), vertices in order.
Shape polygon(std::vector<Point> vertices);
// Fills the inside of a concave corner at (x, y) with a quarter-round of the
// given radius; (sx, sy) = (+1 or -1, +1 or -1) points into the open space.
Shape fillet(Point corner, double radius, int sx, int sy);

Shape operator|(Shape a, Shape b);
Shape operator-(Shape a, Shape b);

// Writes an uncompressed 24-bit BMP (bottom-up rows). Returns false on I/O failure.
bool writeBmp(const Raster& raster, const std::string& path);
