#include "tools/raster.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <utility>

Raster::Raster(int width, int height, Rgb background)
    : width_(width), height_(height),
      pixels_(static_cast<std::size_t>(width) * height, background) {}

void Raster::paint(const Shape& shape, Rgb colour, int samples) {
    const int total = samples * samples;
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            int hits = 0;
            for (int sy = 0; sy < samples; ++sy)
                for (int sx = 0; sx < samples; ++sx)
                    hits += shape({x + (sx + 0.5) / samples, y + (sy + 0.5) / samples});
            if (hits == 0)
                continue;
            // Integer blending keeps the output identical from build to build.
            Rgb& p = pixels_[index(x, y)];
            auto mix = [&](std::uint8_t under, std::uint8_t over) {
                return static_cast<std::uint8_t>((over * hits + under * (total - hits) + total / 2) / total);
            };
            p = {mix(p.r, colour.r), mix(p.g, colour.g), mix(p.b, colour.b)};
        }
    }
}

Shape rect(double x0, double y0, double x1, double y1) {
    return [=](Point p) { return p.x >= x0 && p.x < x1 && p.y >= y0 && p.y < y1; };
}

Shape roundedRect(double x0, double y0, double x1, double y1,
                  double topLeft, double topRight, double bottomRight, double bottomLeft) {
    return [=](Point p) {
        if (p.x < x0 || p.x >= x1 || p.y < y0 || p.y >= y1)
            return false;
        // Inside a corner's square the point must also lie within its arc.
        auto arc = [&](double r, double cx, double cy, bool inCorner) {
            return !inCorner || std::hypot(p.x - cx, p.y - cy) <= r;
        };
        return arc(topLeft, x0 + topLeft, y0 + topLeft, p.x < x0 + topLeft && p.y < y0 + topLeft) &&
               arc(topRight, x1 - topRight, y0 + topRight, p.x > x1 - topRight && p.y < y0 + topRight) &&
               arc(bottomRight, x1 - bottomRight, y1 - bottomRight,
                   p.x > x1 - bottomRight && p.y > y1 - bottomRight) &&
               arc(bottomLeft, x0 + bottomLeft, y1 - bottomLeft,
                   p.x < x0 + bottomLeft && p.y > y1 - bottomLeft);
    };
}

Shape disc(Point c, double radius) {
    return [=](Point p) { return std::hypot(p.x - c.x, p.y - c.y) <= radius; };
}

Shape ellipse(Point c, double rx, double ry) {
    return [=](Point p) {
        const double u = (p.x - c.x) / rx, v = (p.y - c.y) / ry;
        return u * u + v * v <= 1.0;
    };
}

Shape polygon(std::vector<Point> vertices) {
    return [v = std::move(vertices)](Point p) {
        bool inside = false;
        for (std::size_t i = 0, j = v.size() - 1; i < v.size(); j = i++) {
            if ((v[i].y > p.y) != (v[j].y > p.y) &&
                p.x < (v[j].x - v[i].x) * (p.y - v[i].y) / (v[j].y - v[i].y) + v[i].x)
                inside = !inside;
        }
        return inside;
    };
}

Shape fillet(Point corner, double radius, int sx, int sy) {
    const double xa = std::min(corner.x, corner.x + sx * radius), xb = std::max(corner.x, corner.x + sx * radius);
    const double ya = std::min(corner.y, corner.y + sy * radius), yb = std::max(corner.y, corner.y + sy * radius);
    const Point centre{corner.x + sx * radius, corner.y + sy * radius};
    return rect(xa, ya, xb, yb) - disc(centre, radius);
}

Shape operator|(Shape a, Shape b) {
    return [a = std::move(a), b = std::move(b)](Point p) { return a(p) || b(p); };
}

Shape operator-(Shape a, Shape b) {
    return [a = std::move(a), b = std::move(b)](Point p) { return a(p) && !b(p); };
}

namespace {

void putLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace

bool writeBmp(const Raster& raster, const std::string& path) {
    const std::uint32_t w = raster.width(), h = raster.height();
    const std::uint32_t stride = (w * 3 + 3) / 4 * 4;
    const std::uint32_t headers = 14 + 40;
    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    putLe(out, headers + stride * h, 4);
    putLe(out, 0, 4);        // reserved
    putLe(out, headers, 4);  // pixel data offset
    putLe(out, 40, 4);       // BITMAPINFOHEADER
    putLe(out, w, 4);
    putLe(out, h, 4);        // positive: rows stored bottom-up
    putLe(out, 1, 2);        // planes
    putLe(out, 24, 2);       // bits per pixel
    putLe(out, 0, 4);        // BI_RGB
    putLe(out, stride * h, 4);
    putLe(out, 2835, 4);     // 72 dpi
    putLe(out, 2835, 4);
    putLe(out, 0, 4);
    putLe(out, 0, 4);
    for (int y = raster.height() - 1; y >= 0; --y) {
        for (int x = 0; x < raster.width(); ++x) {
            const Rgb c = raster.at(x, y);
            out.insert(out.end(), {c.b, c.g, c.r});
        }
        out.resize(out.size() + (stride - w * 3), 0);
    }
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return static_cast<bool>(file);
}
