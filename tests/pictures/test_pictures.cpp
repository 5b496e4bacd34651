// Checks the committed pictures: their BMP format, what each one shows, and
// that the drawing program still produces these files.
#include "ui/forms/icons.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};
constexpr Rgb kBlack{0, 0, 0}, kWhite{255, 255, 255}, kYellow{255, 255, 0}, kGrey{222, 222, 222};

struct Picture {
    int width = 0, height = 0, bits = 0;
    std::uint32_t compression = ~0u;
    std::vector<Rgb> pixels;  // top row first
    Rgb at(int x, int y) const { return pixels.at(static_cast<std::size_t>(y) * width + x); }
};

std::vector<std::uint8_t> readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Reads the header fields the game relies on; pixels only for 24-bit BI_RGB.
Picture load(const std::string& name) {
    const auto bytes = readFile(fs::path(PICTURES_DIR) / name);
    auto le = [&](std::size_t at, int n) {
        std::uint32_t v = 0;
        for (int i = n - 1; i >= 0; --i) v = v << 8 | bytes.at(at + i);
        return v;
    };
    Picture p;
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M' || le(14, 4) < 40) return p;
    p = {static_cast<int>(le(18, 4)), static_cast<int>(le(22, 4)), static_cast<int>(le(28, 2)), le(30, 4), {}};
    const std::size_t stride = (p.width * 3 + 3) / 4 * 4;
    for (int y = 0; p.bits == 24 && p.compression == 0 && y < p.height; ++y) {
        const std::size_t row = le(10, 4) + stride * (p.height - 1 - y);  // bottom-up rows
        for (int x = 0; x < p.width; ++x)
            p.pixels.push_back({bytes.at(row + 3 * x + 2), bytes.at(row + 3 * x + 1), bytes.at(row + 3 * x)});
    }
    return p;
}

// A PNG's size and 8-bit RGBA pixels as libpng decodes them; empty if it does not decode.
struct Decoded {
    std::uint32_t width = 0, height = 0;
    std::vector<std::uint8_t> rgba;
    bool operator==(const Decoded&) const = default;
};

Decoded decodePng(const fs::path& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    Decoded out;
    if (!png_image_begin_read_from_file(&image, path.string().c_str())) return out;
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> rgba(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) out = {image.width, image.height, std::move(rgba)};
    png_image_free(&image);
    return out;
}

struct Expected { const char* name; int width, height; };
const std::vector<Expected> kPictures = {
    {"character_right.bmp", 41, 41}, {"character_down.bmp", 41, 41}, {"character_left.bmp", 41, 41},
    {"character_up.bmp", 41, 41},    {"monster.bmp", 40, 45},        {"pellet.bmp", 10, 10},
    {"wall_block.bmp", 300, 300},    {"wall_bar.bmp", 129, 52},      {"wall_arch.bmp", 113, 170},
    {"wall_foot.bmp", 104, 61},      {"arrow_up.bmp", 40, 40},       {"arrow_down.bmp", 40, 40},
    {"arrow_left.bmp", 40, 40},      {"arrow_right.bmp", 40, 40},    {"arrow_up_pressed.bmp", 45, 45},
    {"icon_16.bmp", 16, 16},         {"icon_32.bmp", 32, 32},        {"icon_48.bmp", 48, 48},
    {"icon_64.bmp", 64, 64},         {"icon_128.bmp", 128, 128},     {"icon_256.bmp", 256, 256},
};
// The same icons as PNG for the desktop's icon theme, checked against the BMPs by the packaging tests,
// and two larger ones for the browser app.
constexpr std::size_t kPngIcons = 8;

int count(const Picture& p, Rgb c) {
    int n = 0;
    for (const Rgb& px : p.pixels) n += px == c;
    return n;
}

// Maps (along, across) offsets from the picture's centre, "along" counted in
// the direction a picture faces, to a pixel.
struct Frame {
    int cx, cy, ax, ay;  // centre pixel and facing unit vector
    Rgb at(const Picture& p, int along, int across) const {
        return p.at(cx + ax * along - ay * across, cy + ay * along + ax * across);
    }
};

}  // namespace

TEST(PictureFiles, AreUncompressed24BitAtTheirSizes) {
    for (const auto& e : kPictures) {
        const Picture p = load(e.name);
        EXPECT_EQ(p.bits, 24) << e.name;
        EXPECT_EQ(p.compression, 0u) << e.name;
        EXPECT_EQ(p.width, e.width) << e.name;
        EXPECT_EQ(p.height, e.height) << e.name;
    }
}

TEST(Character, MouthOpensOnTheFacingSideOfAYellowDisc) {
    const std::vector<std::pair<const char*, Frame>> facings = {
        {"character_right.bmp", {20, 20, 1, 0}}, {"character_down.bmp", {20, 20, 0, 1}},
        {"character_left.bmp", {20, 20, -1, 0}}, {"character_up.bmp", {20, 20, 0, -1}}};
    const int yellow = count(load("character_right.bmp"), kYellow);
    for (const auto& [name, f] : facings) {
        const Picture p = load(name);
        EXPECT_EQ(f.at(p, 16, 0), kBlack) << name << ": mouth";
        EXPECT_EQ(f.at(p, -16, 0), kYellow) << name << ": back";
        EXPECT_EQ(f.at(p, 0, 16), kYellow) << name;
        EXPECT_EQ(f.at(p, -5, 0), kYellow) << name;
        EXPECT_TRUE(p.at(0, 0) == kBlack && p.at(40, 40) == kBlack) << name;
        int across = 0;  // disc diameter, measured behind the mouth
        for (int i = -20; i <= 20; ++i) across += f.at(p, -2, i) == kYellow;
        EXPECT_GE(across, 37) << name;
        EXPECT_EQ(count(p, kYellow), yellow) << name << ": one drawing, turned";
    }
}

TEST(Character, IconsAreTheRightFacingCharacterAtEverySize) {
    for (const int n : forms::kDesktopIconSizes) {
        const Picture p = load("icon_" + std::to_string(n) + ".bmp");
        const Rgb back = p.at(n / 5, n / 2), mouth = p.at(n - 1 - n / 8, n / 2);
        EXPECT_TRUE(back.r > 200 && back.g > 200 && back.b < 60) << n;
        EXPECT_TRUE(mouth.r < 40 && mouth.g < 40) << n;
        EXPECT_TRUE(p.at(0, 0) == kBlack && p.at(n - 1, n - 1) == kBlack) << n;
    }
}

TEST(Monster, BlueGhostWithWavyHemAndEyesLookingRight) {
    const Picture p = load("monster.bmp");
    const Rgb body = p.at(20, 30);
    EXPECT_TRUE(body.b > 200 && body.r < 100 && body.g < 120);
    for (auto [x, y] : {std::pair{0, 0}, {39, 0}, {0, 44}, {39, 44}}) EXPECT_EQ(p.at(x, y), kBlack);
    // Each eye: white with a darker blue pupil on its right side.
    for (int x0 : {0, 20}) {
        double whiteX = 0, pupilX = 0;
        int whites = 0, pupils = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = x0; x < x0 + 20; ++x) {
                const Rgb c = p.at(x, y);
                if (c == kWhite) whiteX += x, ++whites;
                if (c.b > 100 && c.r < 60 && c.g < 60 && !(c == body)) pupilX += x, ++pupils;
            }
        ASSERT_GT(whites, 10);
        ASSERT_GT(pupils, 2);
        EXPECT_GT(pupilX / pupils, whiteX / whites + 1);
    }
    int feet = 0;  // separate blue runs along a row through the hem
    for (int x = 0; x < 40; ++x) feet += p.at(x, 41) == body && (x == 0 || !(p.at(x - 1, 41) == body));
    EXPECT_GE(feet, 3);
}

TEST(Pellet, SmallYellowDotInTheMiddle) {
    const Picture p = load("pellet.bmp");
    EXPECT_TRUE(p.at(4, 4) == kYellow && p.at(5, 5) == kYellow);
    EXPECT_TRUE(p.at(0, 0) == kBlack && p.at(9, 9) == kBlack);
    int across = 0;
    for (int x = 0; x < 10; ++x) across += p.at(x, 5) == kYellow;
    EXPECT_GE(across, 4);
    EXPECT_LE(across, 6);
}

TEST(Walls, WhiteShapesWhereTheBoardNeedsThem) {
    struct Wall {
        const char* name;
        int x0, y0, x1, y1;  // white extent, inclusive
        std::vector<std::pair<int, int>> white, black;
    };
    const std::vector<Wall> walls = {
        // bracket: top bar, upright, bottom bar; open on the right
        {"wall_block.bmp", 68, 17, 239, 279, {{150, 45}, {100, 150}, {150, 250}, {235, 50}},
         {{200, 150}, {145, 150}, {68, 17}, {20, 150}}},
        {"wall_bar.bmp", 6, 8, 111, 36, {{60, 22}, {6, 22}, {111, 22}}, {{6, 8}, {111, 36}}},
        // arch: uprights, top, and the open corridor between the uprights
        {"wall_arch.bmp", 0, 4, 112, 155, {{20, 100}, {95, 100}, {56, 20}, {0, 155}},
         {{58, 100}, {58, 160}, {45, 40}, {0, 4}}},
        // foot: runs out of the right edge to meet the arch, whose upright its last columns carry
        {"wall_foot.bmp", 21, 0, 103, 49, {{60, 30}, {103, 14}, {103, 49}, {102, 0}}, {{21, 14}, {21, 49}, {100, 5}}},
    };
    for (const Wall& w : walls) {
        const Picture p = load(w.name);
        ASSERT_EQ(count(p, kWhite) + count(p, kBlack), p.width * p.height) << w.name;
        int x0 = p.width, y0 = p.height, x1 = -1, y1 = -1;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x)
                if (p.at(x, y) == kWhite) x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
        EXPECT_EQ((std::vector{x0, y0, x1, y1}), (std::vector{w.x0, w.y0, w.x1, w.y1})) << w.name;
        for (auto [x, y] : w.white) EXPECT_EQ(p.at(x, y), kWhite) << w.name << " at " << x << "," << y;
        for (auto [x, y] : w.black) EXPECT_EQ(p.at(x, y), kBlack) << w.name << " at " << x << "," << y;
    }
}

TEST(Arrows, BlackArrowOnKeyGreyPointingItsWay) {
    const std::vector<std::tuple<const char*, int, Frame>> arrows = {
        {"arrow_up.bmp", 40, {20, 20, 0, -1}}, {"arrow_down.bmp", 40, {20, 20, 0, 1}},
        {"arrow_left.bmp", 40, {20, 20, -1, 0}}, {"arrow_right.bmp", 40, {20, 20, 1, 0}},
        {"arrow_up_pressed.bmp", 45, {22, 22, 0, -1}}};
    for (const auto& [name, n, f] : arrows) {
        const Picture p = load(name);
        EXPECT_EQ(count(p, kGrey) + count(p, kBlack), n * n) << name;
        for (auto [x, y] : {std::pair{0, 0}, {n - 1, 0}, {0, n - 1}, {n - 1, n - 1}}) EXPECT_EQ(p.at(x, y), kGrey) << name;
        for (int along = -12; along <= 12; ++along) EXPECT_EQ(f.at(p, along, 0), kBlack) << name << " " << along;
        EXPECT_EQ(f.at(p, 2, 12), kBlack) << name << ": head";
        EXPECT_EQ(f.at(p, -10, 12), kGrey) << name << ": shaft";
    }
    EXPECT_GT(count(load("arrow_up_pressed.bmp"), kBlack), count(load("arrow_up.bmp"), kBlack));
}

// BMPs byte for byte; PNGs pixel for pixel, since the compressor's bytes may change between libpng
// and zlib versions.
TEST(DrawingProgram, RedrawsTheCommittedPictures) {
    const fs::path out = fs::temp_directory_path() / ("pictures-" + std::to_string(std::random_device{}()));
    const std::string command = std::string("\"") + DRAW_PICTURES + "\" \"" + out.string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::size_t drawn = 0;
    for (const auto& entry : fs::directory_iterator(out)) {
        ++drawn;
        const std::string name = entry.path().filename().string();
        const fs::path committed = fs::path(PICTURES_DIR) / name;
        if (name.ends_with(".png")) {
            const Decoded drawnPng = decodePng(entry.path());
            EXPECT_FALSE(drawnPng.rgba.empty()) << name << " does not decode";
            EXPECT_TRUE(drawnPng == decodePng(committed)) << name << ": pixels differ";
        } else {
            EXPECT_TRUE(readFile(entry.path()) == readFile(committed)) << name << " differs";
        }
    }
    EXPECT_EQ(drawn, kPictures.size() + kPngIcons);
    fs::remove_all(out);
}
