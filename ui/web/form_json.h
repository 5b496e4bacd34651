// A window definition as the page's script reads it: every place already in whole pixels.
#pragma once

#include "ui/forms/form_definition.h"

#include <string>

namespace web {

// Folder of the pictures beside the page, as the build ships them.
inline constexpr std::string_view kPictureFolder = "pictures/";

// JSON of the window: caption, client size, colours, font, menus, controls (in definition order,
// with stacking and tab order as index lists) and lines.
std::string formJson(const forms::FormDef& form);

} // namespace web
