// Texts across the Win32 boundary: UTF-8 to UTF-16, the boxes' style, and the last-resort error box.
#pragma once

#include "ui/app/front_end.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace win32 {

// The definitions and the engine write UTF-8; every Win32 call here takes UTF-16.
std::wstring widen(std::string_view utf8);

// MessageBoxW's style for a box with that icon and a single OK button.
UINT boxStyle(app::BoxIcon icon);

// For a failure that no handler's guard could take: shows the report and ends the process
// with the runtime-error status.
[[noreturn]] void fatal(std::string_view report);

} // namespace win32
