// The about window: a word from the author and his web site.
#include "ui/forms/form_definition.h"

#include <array>

namespace forms {
namespace {

using enum ControlKind;

constexpr std::string_view kAboutText =
    "Voici une vesion beta de mon Glouto.Elle n'est donc pas totallement finie et reste malgré tout "
    "imparfaite et n'est qu'une variante du jeux glouto... Remerciement a tout ceux qui m'ont aidé pour "
    "faire ce petit soft et bon amusement.               Amicalement Mister Kalo";

constexpr std::array kControls{
    ControlDef{.name = "Command1", .kind = Button, .left = 1140, .top = 2070, .width = 2235, .height = 345, .caption = "Quitter", .tabIndex = 3},
    ControlDef{.name = "Text1", .kind = TextBox, .left = 2010, .top = 1530, .width = 1725, .height = 345, .caption = kSiteAddress, .tabIndex = 2},
    ControlDef{.name = "Label5", .kind = Label, .left = 870, .top = 1590, .width = 975, .height = 255, .caption = "site internet:", .tabIndex = 1},
    ControlDef{.name = "Label6", .kind = Label, .left = -30, .top = 150, .width = 4725, .height = 1275, .caption = kAboutText, .tabIndex = 0, .align = TextAlign::Centre, .wordWrap = true},
};

} // namespace

const FormDef& form3Definition()
{
    static const FormDef form{
        .name = "Form3",
        .caption = "A propos",
        .border = BorderStyle::FixedToolWindow,
        .showInTaskbar = false,
        .centred = true,
        .clientWidth = 4665,
        .clientHeight = 2580,
        .background = SystemColour::ButtonFace,
        .font = FontChoice::Design,
        .controls = kControls,
    };
    return form;
}

} // namespace forms
