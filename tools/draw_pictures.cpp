// Draws the game's pictures and writes them as BMP files into the directory
// given on the command line, plus the icons as PNG for the desktop's icon
// theme and the browser app. The outputs are committed under ui/pictures.
#include "tools/raster.h"
#include "ui/forms/icons.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kYellow{255, 255, 0};
constexpr Rgb kGhostBlue{40, 70, 255};
constexpr Rgb kPupilBlue{0, 0, 150};
constexpr Rgb kKeyGrey{222, 222, 222};

enum class Facing { Right, Down, Left, Up };

// The round chomping character of an n x n picture. It is described in its own
// frame (u forward along the facing, v across it, eye on the v < 0 side) so
// all four facings come from one drawing; left and down are mirror images of
// right and up, which keeps the eye on top or on the same side.
Shape character(int n, Facing facing) {
    const double c = n / 2.0, radius = (n - 2) / 2.0;
    const double mouthSlope = std::tan(38.0 * 3.14159265358979 / 180.0);  // 76 degree mouth
    return [=](Point p) {
        const double dx = p.x - c, dy = p.y - c;
        double u = dx, v = dy;
        switch (facing) {
            case Facing::Right: u = dx; v = dy; break;
            case Facing::Left: u = -dx; v = dy; break;
            case Facing::Up: u = -dy; v = dx; break;
            case Facing::Down: u = dy; v = dx; break;
        }
        const bool inDisc = u * u + v * v <= radius * radius;
        const bool inMouth = u > 0 && std::abs(v) <= u * mouthSlope;
        const double eu = u - 0.1 * radius, ev = v + 0.5 * radius, eyeRadius = 0.13 * radius;
        const bool inEye = eu * eu + ev * ev <= eyeRadius * eyeRadius;
        return inDisc && !inMouth && !inEye;
    };
}

Raster drawCharacter(Facing facing) {
    Raster r(41, 41, kBlack);
    r.paint(character(41, facing), kYellow);
    return r;
}

// Icons are drawn at each size with smooth edges rather than scaled.
Raster drawIcon(int n) {
    Raster r(n, n, kBlack);
    r.paint(character(n, Facing::Right), kYellow, 4);
    return r;
}

Raster drawMonster() {
    Raster r(40, 45, kBlack);
    // Dome, straight sides, and a wavy hem: full-depth at both sides so the
    // sides run straight down, with three notches between.
    const double pi = 3.14159265358979;
    const Shape body = (disc({20, 19}, 18) - rect(0, 19, 40, 45)) | [=](Point p) {
        return p.x >= 2 && p.x < 38 && p.y >= 19 && p.y < 40 + 3.2 * std::cos(2 * pi * (p.x - 2) / 12);
    };
    r.paint(body, kGhostBlue);
    for (double eyeX : {13.0, 27.0}) {
        r.paint(ellipse({eyeX, 17}, 4.2, 5.2), kWhite);
        r.paint(disc({eyeX + 2, 18}, 2.2), kPupilBlue);  // looking right
    }
    return r;
}

Raster drawPellet() {
    Raster r(10, 10, kBlack);
    r.paint(disc({5, 5}, 2.8), kYellow);
    return r;
}

// The wall pictures are white on black. Their extents come from where the
// board places them (15 twips to a pixel); bars end in half-rounds.

Raster drawWallBlock() {
    Raster r(300, 300, kBlack);
    const Shape topBar = roundedRect(68, 17, 240, 83, 30, 33, 33, 0);
    const Shape upright = rect(68, 60, 139, 240);
    const Shape bottomBar = roundedRect(68, 214, 240, 280, 0, 33, 33, 30);
    r.paint(topBar | upright | bottomBar | fillet({139, 83}, 14, 1, 1) | fillet({139, 214}, 14, 1, -1), kWhite);
    return r;
}

Raster drawWallBar() {
    Raster r(129, 52, kBlack);
    r.paint(roundedRect(6, 8, 112, 37, 14.5, 14.5, 14.5, 14.5), kWhite);
    return r;
}

Raster drawWallArch() {
    Raster r(113, 170, kBlack);
    const Shape top = roundedRect(0, 4, 113, 36, 24, 24, 0, 0);
    // The left foot stays square: the foot bar joins it there.
    const Shape leftUpright = rect(0, 28, 39, 156);
    const Shape rightUpright = roundedRect(79, 28, 113, 156, 0, 0, 17, 17);
    r.paint(top | leftUpright | rightUpright | fillet({39, 36}, 8, 1, 1) | fillet({79, 36}, 8, -1, 1), kWhite);
    return r;
}

Raster drawWallFoot() {
    Raster r(104, 61, kBlack);
    // The last two columns lie under the arch's left upright on the board: they carry its white,
    // so the foot never cuts a notch into the arch, whichever is drawn on top.
    const Shape archUpright = rect(102, 0, 104, 50);
    r.paint(roundedRect(21, 14, 104, 50, 18, 0, 0, 18) | archUpright, kWhite);
    return r;
}

// A key-cap arrow in an n x n picture: triangle head plus shaft, laid out on a
// 40-unit square and scaled. It is drawn pointing up and turned for the rest.
Raster drawArrow(int n, Facing facing) {
    const double c = n / 2.0, unit = n / 40.0;
    const Shape up = polygon({{0, -16}, {15, 0}, {-15, 0}}) | rect(-6, -0.5, 6, 16);
    Raster r(n, n, kKeyGrey);
    r.paint([=](Point p) {
        const double dx = (p.x - c) / unit, dy = (p.y - c) / unit;
        switch (facing) {
            case Facing::Up: return up({dx, dy});
            case Facing::Down: return up({dx, -dy});
            case Facing::Right: return up({dy, -dx});
            case Facing::Left: return up({dy, dx});
        }
        return false;
    }, kBlack);
    return r;
}

// The black of a picture drawn on black becomes transparent: each pixel's
// brightest channel is its coverage, so a desktop icon sits on any panel and
// still looks exactly like the BMP when laid over black.
bool writePngOnTransparent(const Raster& raster, const std::string& path) {
    std::vector<std::uint8_t> rgba;
    rgba.reserve(static_cast<std::size_t>(raster.width()) * raster.height() * 4);
    for (int y = 0; y < raster.height(); ++y) {
        for (int x = 0; x < raster.width(); ++x) {
            const Rgb c = raster.at(x, y);
            const int alpha = std::max({c.r, c.g, c.b});
            auto unblend = [&](int v) { return static_cast<std::uint8_t>(alpha ? (v * 255 + alpha / 2) / alpha : 0); };
            rgba.insert(rgba.end(), {unblend(c.r), unblend(c.g), unblend(c.b), static_cast<std::uint8_t>(alpha)});
        }
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(raster.width());
    image.height = static_cast<png_uint_32>(raster.height());
    image.format = PNG_FORMAT_RGBA;
    const bool written = png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), 0, nullptr) != 0;
    if (!written)
        std::cerr << "draw_pictures: " << image.message << '\n';
    png_image_free(&image);
    return written;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: draw_pictures OUTPUT_DIRECTORY\n";
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);

    std::vector<std::pair<std::string, Raster>> pictures;
    pictures.emplace_back("character_right.bmp", drawCharacter(Facing::Right));
    pictures.emplace_back("character_down.bmp", drawCharacter(Facing::Down));
    pictures.emplace_back("character_left.bmp", drawCharacter(Facing::Left));
    pictures.emplace_back("character_up.bmp", drawCharacter(Facing::Up));
    pictures.emplace_back("monster.bmp", drawMonster());
    pictures.emplace_back("pellet.bmp", drawPellet());
    pictures.emplace_back("wall_block.bmp", drawWallBlock());
    pictures.emplace_back("wall_bar.bmp", drawWallBar());
    pictures.emplace_back("wall_arch.bmp", drawWallArch());
    pictures.emplace_back("wall_foot.bmp", drawWallFoot());
    pictures.emplace_back("arrow_up.bmp", drawArrow(40, Facing::Up));
    pictures.emplace_back("arrow_down.bmp", drawArrow(40, Facing::Down));
    pictures.emplace_back("arrow_left.bmp", drawArrow(40, Facing::Left));
    pictures.emplace_back("arrow_right.bmp", drawArrow(40, Facing::Right));
    pictures.emplace_back("arrow_up_pressed.bmp", drawArrow(45, Facing::Up));
    for (const int n : forms::kDesktopIconSizes) {
        pictures.emplace_back("icon_" + std::to_string(n) + ".bmp", drawIcon(n));
        pictures.emplace_back("icon_" + std::to_string(n) + ".png", drawIcon(n));
    }
    // The installed browser app's icons; no desktop icon format takes them as BMP.
    for (const int n : forms::kAppIconSizes)
        pictures.emplace_back("icon_" + std::to_string(n) + ".png", drawIcon(n));

    for (const auto& [name, raster] : pictures) {
        const std::string path = (dir / name).string();
        const bool png = name.ends_with(".png");
        if (!(png ? writePngOnTransparent(raster, path) : writeBmp(raster, path))) {
            std::cerr << "draw_pictures: cannot write " << path << '\n';
            return 1;
        }
    }
    return 0;
}
