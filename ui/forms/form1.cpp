// The main window: board pictures, pellets, character, monster, score label, timers and menu.
#include "ui/forms/form_definition.h"

#include <array>

namespace forms {
namespace {

using enum ControlKind;

constexpr std::string_view kPellet = "pellet";
constexpr std::string_view kWallBar = "wall_bar";

// In the order of the window definition.
constexpr std::array kControls{
    ControlDef{.name = "Picture4", .kind = PictureBox, .left = 50, .top = 50, .width = 620, .height = 620, .picture = "character_up", .tabIndex = 4},
    ControlDef{.name = "Picture3", .kind = PictureBox, .left = 2070, .top = 1860, .width = 620, .height = 620, .picture = "character_left", .tabIndex = 3},
    ControlDef{.name = "Picture1", .kind = PictureBox, .left = 2070, .top = 3060, .width = 620, .height = 620, .picture = "character_right", .tabIndex = 0},
    ControlDef{.name = "Picture2", .kind = PictureBox, .left = 2880, .top = 3030, .width = 620, .height = 620, .picture = "character_down", .tabIndex = 2},
    ControlDef{.name = "Picture5", .kind = PictureBox, .left = 4650, .top = 1230, .width = 585, .height = 645, .picture = "monster", .tabIndex = 1},
    ControlDef{.name = "Image20", .kind = Image, .left = 2910, .top = 5460, .width = 1560, .height = 915, .picture = "wall_foot"},
    ControlDef{.name = "Image19", .kind = Image, .left = 4440, .top = 3870, .width = 1695, .height = 2550, .picture = "wall_arch"},
    ControlDef{.name = "Image18", .kind = Image, .left = 2700, .top = 2460, .width = 1935, .height = 780, .picture = kWallBar},
    ControlDef{.name = "Label2", .kind = Label, .left = 0, .top = 7170, .width = 11445, .height = 765, .tabIndex = 5},
    ControlDef{.name = "Image17", .kind = Image, .left = 2230, .top = 5325, .width = 150, .height = 150, .picture = kPellet},
    ControlDef{.name = "Image16", .kind = Image, .left = 1610, .top = 5325, .width = 150, .height = 150, .picture = kPellet},
    ControlDef{.name = "Image15", .kind = Image, .left = 990, .top = 5325, .width = 150, .height = 150, .picture = kPellet},
    ControlDef{.name = "Image14", .kind = Image, .left = 370, .top = 5325, .width = 150, .height = 150, .picture = kPellet},
    ControlDef{.name = "Image13", .kind = Image, .left = 370, .top = 4710, .width = 150, .height = 150, .picture = kPellet},
    ControlDef{.name = "Image12", .kind = Image, .left = 370, .top = 4095, .width = 150, .height = 150, .picture = kPellet},
    ControlDef{.name = "Image11", .kind = Image, .left = 375, .top = 3465, .width = 150, .height = 150, .picture = kPellet},
    ControlDef{.name = "Image10", .kind = Image, .left = 370, .top = 2850, .width = 150, .height = 150, .picture = kPellet},
    ControlDef{.name = "Image9", .kind = Image, .left = 370, .top = 2230, .width = 150, .height = 150, .picture = kPellet},
    ControlDef{.name = "Image8", .kind = Image, .left = 370, .top = 1610, .width = 150, .height = 150, .picture = kPellet},
    ControlDef{.name = "Image7", .kind = Image, .left = 2850, .top = 330, .width = 150, .height = 150, .picture = kPellet},
    ControlDef{.name = "Image6", .kind = Image, .left = 370, .top = 990, .width = 150, .height = 150, .picture = kPellet},
    ControlDef{.name = "Image5", .kind = Image, .left = 2230, .top = 330, .width = 150, .height = 150, .picture = kPellet},
    ControlDef{.name = "Image3", .kind = Image, .left = 1610, .top = 330, .width = 150, .height = 150, .picture = kPellet},
    ControlDef{.name = "Image4", .kind = Image, .left = 990, .top = 330, .width = 150, .height = 150, .picture = kPellet},
    ControlDef{.name = "Image2", .kind = Image, .left = 690, .top = 5580, .width = 1935, .height = 780, .picture = kWallBar},
    ControlDef{.name = "Image1", .kind = Image, .left = -210, .top = 630, .width = 4500, .height = 4500, .picture = "wall_block"},
};

// Timers in the order of the window definition.
constexpr std::array kTimers{
    TimerDef{"Timer3", 200, true},
    TimerDef{"Timer2", 50, true},
    TimerDef{"Timer1", 250, true},
};

constexpr std::array kMenuItems{
    MenuItemDef{"commandes", "commandes"},
    MenuItemDef{"apropos", "a propos"},
    MenuItemDef{"liensinter", "liens internet"},
    MenuItemDef{"barre", "-", true},
    MenuItemDef{"quitter", "quitter"},
};

constexpr std::array kMenus{MenuDef{"menu", "menu", kMenuItems}};

const std::string& caption()
{
    static const std::string text = std::string(79, ' ') + "GLOUTO" + std::string(55, ' ') + std::string(kSiteAddress);
    return text;
}

} // namespace

const FormDef& form1Definition()
{
    static const FormDef form{
        .name = "Form1",
        .caption = caption(),
        .border = BorderStyle::FixedDialog,
        .showInTaskbar = false,
        .centred = true,
        .clientWidth = 11430,
        .clientHeight = 7860,
        .background = SystemColour::WindowFrame,
        .font = FontChoice::PlatformDefault,
        .controls = kControls,
        .timers = kTimers,
        .menus = kMenus,
    };
    return form;
}

} // namespace forms
