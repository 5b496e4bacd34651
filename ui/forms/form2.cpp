// The key-help window: the four arrow keys pictured, each with what it does.
#include "ui/forms/form_definition.h"

#include <array>

namespace forms {
namespace {

using enum ControlKind;

constexpr std::array kControls{
    ControlDef{.name = "Command5", .kind = Button, .left = 870, .top = 2880, .width = 2385, .height = 405, .caption = "Quitter", .tabIndex = 9},
    ControlDef{.name = "Frame1", .kind = Frame, .left = 0, .top = 0, .width = 4275, .height = 2745, .caption = "commandes", .tabIndex = 0},
    ControlDef{.name = "Command4", .kind = PictureButton, .left = 1530, .top = 870, .width = 555, .height = 525, .picture = "arrow_right", .tabIndex = 4, .container = "Frame1"},
    ControlDef{.name = "Command3", .kind = PictureButton, .left = 990, .top = 870, .width = 585, .height = 525, .picture = "arrow_down", .tabIndex = 3, .container = "Frame1"},
    ControlDef{.name = "Command2", .kind = PictureButton, .left = 420, .top = 870, .width = 585, .height = 525, .picture = "arrow_left", .tabIndex = 2, .container = "Frame1"},
    ControlDef{.name = "Command1", .kind = PictureButton, .left = 990, .top = 330, .width = 585, .height = 525, .picture = "arrow_up", .pressedPicture = "arrow_up_pressed", .tabIndex = 1, .container = "Frame1"},
    ControlDef{.name = "Label4", .kind = Label, .left = 90, .top = 1890, .width = 1575, .height = 255, .caption = "deplacement gauhe", .tabIndex = 8, .container = "Frame1"},
    ControlDef{.name = "Label3", .kind = Label, .left = 1350, .top = 2220, .width = 1425, .height = 255, .caption = "deplacement bas", .tabIndex = 7, .container = "Frame1"},
    ControlDef{.name = "Label2", .kind = Label, .left = 2490, .top = 330, .width = 1575, .height = 375, .caption = "deplacement haut", .tabIndex = 6, .container = "Frame1"},
    ControlDef{.name = "Label1", .kind = Label, .left = 2520, .top = 1680, .width = 1455, .height = 285, .caption = "deplacement droite", .tabIndex = 5, .container = "Frame1"},
};

constexpr int kLinePixels = 2;

constexpr std::array kLines{
    LineDef{"Line4", "Frame1", 690, 1170, 750, 1860, kLinePixels},
    LineDef{"Line3", "Frame1", 1260, 1230, 1950, 2190, kLinePixels},
    LineDef{"Line2", "Frame1", 1260, 630, 2430, 450, kLinePixels},
    LineDef{"Line1", "Frame1", 1800, 1170, 2430, 1680, kLinePixels},
};

} // namespace

const FormDef& form2Definition()
{
    static const FormDef form{
        .name = "Form2",
        .caption = "commandes",
        .border = BorderStyle::FixedToolWindow,
        .showInTaskbar = false,
        .centred = true,
        .clientWidth = 4260,
        .clientHeight = 3435,
        .background = SystemColour::ButtonFace,
        .font = FontChoice::Design,
        .controls = kControls,
        .lines = kLines,
    };
    return form;
}

} // namespace forms
