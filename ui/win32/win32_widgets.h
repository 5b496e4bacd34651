// The child windows Win32 has no ready class or look for: pictures, frames with lines, picture buttons.
#pragma once

#include "ui/forms/form_definition.h"

#include <windows.h>

#include <span>
#include <string_view>

namespace win32 {

// Registers the picture window class once per process.
void registerPictureClass(HINSTANCE instance);

// A picture box or image: the bitmap at its natural size from the top-left corner, on the board's
// colour, clipped to the window.
HWND createPicture(HWND parent, HBITMAP bitmap, const RECT& bounds, DWORD style, int id, HINSTANCE instance);

// Makes a group box the parent of the controls inside it: their notifications go on to `form`,
// the inside is painted with the face colour, and the frame's own lines are drawn on it.
void makeFrameContainer(HWND groupBox, HWND form, std::span<const forms::LineDef> lines, std::string_view frameName);

// The lines of one container (an empty name: the window's client area itself).
void paintLines(HDC dc, std::span<const forms::LineDef> lines, std::string_view container);

// An owner-drawn picture button: the platform's button face with the picture centred on it.
// The pressed picture is shown while the button is held down and when it is disabled.
void drawPictureButton(const DRAWITEMSTRUCT& item, HBITMAP picture, HBITMAP pressedPicture);

// The board's colour, behind the main window and every picture.
HBRUSH boardBrush();

// The brush of a window's background colour.
HBRUSH backgroundBrush(forms::SystemColour colour);

} // namespace win32
