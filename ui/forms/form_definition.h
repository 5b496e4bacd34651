// Toolkit-free window definitions: every control, line, timer and menu item with its design-time properties.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace forms {

// 15 twips per logical pixel: every front end converts with these.
inline constexpr int kTwipsPerPixel = 15;
constexpr double pixelsFromTwips(double twips) { return twips / kTwipsPerPixel; }

enum class ControlKind { PictureBox, Image, Label, Button, PictureButton, Frame, TextBox };
enum class BorderStyle { FixedDialog, FixedToolWindow };
enum class SystemColour { WindowFrame, ButtonFace };
enum class TextAlign { Left, Centre };
// The design font is the small system font the small windows were laid out for; the main window's
// score label and menu use the platform's own.
enum class FontChoice { Design, PlatformDefault };

struct ControlDef {
    std::string_view name;
    ControlKind kind;
    int left;
    int top;
    int width;
    int height;
    bool visible = true;
    // Resource name of the picture shown at natural size (and, for a picture button, while pressed).
    std::string_view picture = {};
    std::string_view pressedPicture = {};
    std::string_view caption = {};
    int tabIndex = -1;
    // Name of the frame holding this control; positions are then relative to that frame.
    std::string_view container = {};
    TextAlign align = TextAlign::Left;
    bool wordWrap = false;
};

struct LineDef {
    std::string_view name;
    std::string_view container;
    int x1, y1, x2, y2;
    int borderWidthPixels;
};

struct TimerDef {
    std::string_view name;
    int intervalMs;
    bool enabled;
};

struct MenuItemDef {
    std::string_view name;
    std::string_view caption;
    bool separator = false;
};

struct MenuDef {
    std::string_view name;
    std::string_view caption;
    std::span<const MenuItemDef> items;
};

struct FormDef {
    std::string_view name;
    std::string_view caption;
    BorderStyle border;
    bool showInTaskbar;
    bool centred;
    int clientWidth;
    int clientHeight;
    SystemColour background;
    FontChoice font;
    std::span<const ControlDef> controls;
    std::span<const LineDef> lines = {};
    std::span<const TimerDef> timers = {};
    std::span<const MenuDef> menus = {};
};

// The design font: the small windows' labels were fitted to a narrow sans-serif system font.
// Liberation Sans has Arial's metrics and keeps every caption whole; larger default fonts would cut
// them short.
inline constexpr std::string_view kDesignFontFamily = "Liberation Sans";
inline constexpr int kFontPoints = 8;

struct Rgb {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};
// The board: the window-frame colour of the usual schemes, black on every system, and the same
// black behind every picture, so that the pictures and the window make one surface.
inline constexpr Rgb kBoardColour{0, 0, 0};

// The author's web site, shown in the main window's title and in the about window.
inline constexpr std::string_view kSiteAddress = "http://glouto.example.org";

const FormDef& form1Definition();
const FormDef& form2Definition();
const FormDef& form3Definition();

// The definition's control or timer of that name, or nullptr.
const ControlDef* findControl(const FormDef& form, std::string_view name);
const TimerDef* findTimer(const FormDef& form, std::string_view name);

} // namespace forms
